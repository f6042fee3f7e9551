// Trim_Elevator: the elevator trim indicators on both sides of the pedestal.
// Both pointers follow the host's elevator trim; the trim is set in the
// simulator, not from this gauge.
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"

enum : int32_t {
    BMP_FACE = BITMAPS_Trim_Elevator,
    BMP_POINTER_RIGHT = BMP_FACE + 1,
    BMP_POINTER_LEFT = BMP_FACE + 2,
};

constexpr uint32_t VAR_ELEVATOR_TRIM = 783;
constexpr double PIXELS_PER_TRIM = 140;

static constexpr GaugeHeader* GAUGE = &gauge_Trim_Elevator.h;

static constinit SliderElement pointer_right =
    slider(GAUGE,
           {.bitmap = BMP_POINTER_RIGHT, .x = 403, .y = 50, .flags = IMAGE_TRANSPARENT,
            .variable = VAR_ELEVATOR_TRIM},
           nullptr, nullptr, 0, PIXELS_PER_TRIM);
static constinit SliderElement pointer_left =
    slider(GAUGE,
           {.bitmap = BMP_POINTER_LEFT, .x = 10, .y = 50, .flags = IMAGE_TRANSPARENT,
            .variable = VAR_ELEVATOR_TRIM},
           nullptr, nullptr, 0, PIXELS_PER_TRIM);
static ElementHead* face_children[] = {&pointer_right.head, &pointer_left.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* trim_elevator_elements[] = {&face.head, nullptr};

MAIN_GAUGE(Trim_Elevator, trim_elevator_elements, nullptr, nullptr);
