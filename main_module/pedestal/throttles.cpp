// Throttles: the two power levers. Dragging a lever sets the host's power
// lever position, from full forward (16384) at the top of the travel into
// the reverse range (negative) near the bottom. Each lever is drawn as three
// layered images that move at different rates, faster in the reverse range.
// While the engine rating panel's servo holds a lever, the lever is drawn
// fully forward.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_QUADRANT = BITMAPS_Throttles,
    BMP_KNOB_1 = BMP_QUADRANT + 1,
    BMP_KNOB_2 = BMP_QUADRANT + 2,
    BMP_SHAFT = BMP_QUADRANT + 3,  // both levers
    BMP_ROOT = BMP_QUADRANT + 4,   // both levers
};

// Host events sent and host variables read.
enum : uint32_t {
    EVENT_POWER_LEVER_1 = 0x1011C,
    EVENT_POWER_LEVER_2 = 0x1011D,
    VAR_POWER_LEVER_1 = 128,  // host lever positions, 16384 full forward
    VAR_POWER_LEVER_2 = 163,
};

constexpr int32_t FULL_FORWARD = 16384;
constexpr int32_t LEVER_UNITS_PER_PIXEL = 137;

// Pixels per lever unit of an image: above 0 and at 0 or below (reverse).
struct LeverRate {
    double forward, reverse;
};
constexpr LeverRate KNOB_RATE{-0.005, -0.0125};
constexpr LeverRate SHAFT_RATE{-0.003703703703703704, -0.007692307692307693};
constexpr LeverRate ROOT_RATE{-0.003125, -0.008333333333333333};

// Each image's own host variable is its lever's position, refreshed by the host.
static double lever_image_offset(const ElementHead* e, LeverRate rate) {
    const PanelInputs& in = quillmar.panels;
    double servo = e->variable.id == VAR_POWER_LEVER_1 ? in.lever_servo_1 : in.lever_servo_2;
    double position = servo != 0 ? FULL_FORWARD : e->variable.value;
    return position > 0 ? position * rate.forward : position * rate.reverse;
}

static double FS_CALL knob_y(ElementHead* e) { return lever_image_offset(e, KNOB_RATE); }
static double FS_CALL shaft_y(ElementHead* e) { return lever_image_offset(e, SHAFT_RATE); }
static double FS_CALL root_y(ElementHead* e) { return lever_image_offset(e, ROOT_RATE); }

static constexpr GaugeHeader* GAUGE = &gauge_Throttles.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit SliderElement knob_1 = slider(
    GAUGE, {.bitmap = BMP_KNOB_1, .x = 0, .y = 74, .flags = T, .variable = VAR_POWER_LEVER_1},
    nullptr, knob_y, 0, 1);
static constinit SliderElement shaft_1 = slider(
    GAUGE, {.bitmap = BMP_SHAFT, .x = 15, .y = 57, .flags = T, .variable = VAR_POWER_LEVER_1},
    nullptr, shaft_y, 0, 1);
static constinit SliderElement root_1 = slider(
    GAUGE, {.bitmap = BMP_ROOT, .x = 35, .y = 60, .flags = T, .variable = VAR_POWER_LEVER_1},
    nullptr, root_y, 0, 1);
static constinit SliderElement knob_2 = slider(
    GAUGE, {.bitmap = BMP_KNOB_2, .x = 64, .y = 74, .flags = T, .variable = VAR_POWER_LEVER_2},
    nullptr, knob_y, 0, 1);
static constinit SliderElement shaft_2 = slider(
    GAUGE, {.bitmap = BMP_SHAFT, .x = 66, .y = 57, .flags = T, .variable = VAR_POWER_LEVER_2},
    nullptr, shaft_y, 0, 1);
static constinit SliderElement root_2 = slider(
    GAUGE, {.bitmap = BMP_ROOT, .x = 81, .y = 60, .flags = T, .variable = VAR_POWER_LEVER_2},
    nullptr, root_y, 0, 1);

static ElementHead* quadrant_children[] = {
    &knob_1.head, &shaft_1.head, &root_1.head, &knob_2.head, &shaft_2.head, &root_2.head, nullptr,
};
static constinit StaticImageElement quadrant =
    static_image(GAUGE, {.bitmap = BMP_QUADRANT, .children = quadrant_children});
static ElementHead* throttles_elements[] = {&quadrant.head, nullptr};

// The lever position for a pointer y pixels down the travel; below y 120 it
// is in the reverse range.
static uint32_t lever_from_pointer(int32_t y) {
    return static_cast<uint32_t>(FULL_FORWARD - LEVER_UNITS_PER_PIXEL * y);
}

static int32_t FS_CALL drag_lever_1(const MousePoint* point, uint32_t) {
    send_host_event(EVENT_POWER_LEVER_1, lever_from_pointer(point->y));
    return 1;
}

static int32_t FS_CALL drag_lever_2(const MousePoint* point, uint32_t) {
    send_host_event(EVENT_POWER_LEVER_2, lever_from_pointer(point->y));
    return 1;
}

static MouseRect throttles_rects[] = {
    mouse_parent(0, 0, 120, 150),
    mouse_child(0, 0, 60, 150, 5, MOUSE_DRAG, drag_lever_1),
    mouse_child(62, 0, 60, 150, 5, MOUSE_DRAG, drag_lever_2),
    mouse_close(),
    mouse_end(),
};

MAIN_GAUGE(Throttles, throttles_elements, throttles_rects, nullptr);
