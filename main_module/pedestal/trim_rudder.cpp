// Trim_Rudder: the rudder trim knob and its indicator. Holding the knob's
// left or right half trims through the host; the needle stands up at
// neutral and turns 270 degrees per unit of trim.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"

enum : int32_t {
    BMP_NEEDLE = BITMAPS_Trim_Rudder,
    BMP_FACE = BMP_NEEDLE + 1,
};

// Host events sent and host variables read.
enum : uint32_t {
    EVENT_RUDDER_TRIM_LEFT = 0x102E6,
    EVENT_RUDDER_TRIM_RIGHT = 0x102E7,
    VAR_RUDDER_TRIM = 787,
};

// The needle's own host variable (the rudder trim) is refreshed by the host.
static double FS_CALL needle_angle(ElementHead* e) { return e->variable.value * 270 + 270; }

static constexpr GaugeHeader* GAUGE = &gauge_Trim_Rudder.h;

static constinit NeedleElement needle_element =
    needle(GAUGE,
           {.bitmap = BMP_NEEDLE, .x = 40, .y = 40, .flags = IMAGE_TRANSPARENT,
            .variable = VAR_RUDDER_TRIM},
           needle_angle);
static ElementHead* face_children[] = {&needle_element.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* trim_rudder_elements[] = {&face.head, nullptr};

static int32_t FS_CALL hold_left(const MousePoint*, uint32_t) {
    send_host_event(EVENT_RUDDER_TRIM_LEFT, 0);
    return 1;
}

static int32_t FS_CALL hold_right(const MousePoint*, uint32_t) {
    send_host_event(EVENT_RUDDER_TRIM_RIGHT, 0);
    return 1;
}

static MouseRect trim_rudder_rects[] = {
    mouse_parent(0, 0, 83, 70),
    mouse_child(0, 0, 35, 69, 2, MOUSE_REPEAT, hold_left),
    mouse_child(36, 0, 35, 69, 1, MOUSE_REPEAT, hold_right),
    mouse_close(),
    mouse_end(),
};

MAIN_GAUGE(Trim_Rudder, trim_rudder_elements, trim_rudder_rects, nullptr);
