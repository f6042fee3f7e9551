// Trim_Aileron: the aileron trim switch and its indicator. Holding the
// switch left or right trims through the host; the switch shows its
// deflection until the next whole second of the tick counter, then springs
// back to the centre.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_POINTER = BITMAPS_Trim_Aileron,
    BMP_SWITCH = BMP_POINTER + 1,       // left, centre, right
};

// Host events sent and host variables read.
enum : uint32_t {
    EVENT_AILERON_TRIM_LEFT = 0x102E4,
    EVENT_AILERON_TRIM_RIGHT = 0x102E5,
    VAR_AILERON_TRIM = 785,
    VAR_TICK_COUNTER = 1,
};

enum { SWITCH_LEFT = 0, SWITCH_CENTRE = 1, SWITCH_RIGHT = 2 };

constexpr double PIXELS_PER_TRIM = 50;
constexpr int32_t TICKS_PER_SECOND = 18;

static double FS_CALL switch_image(ElementHead*) {
    return quillmar.pedestal.aileron_trim_switch_image;
}

static constexpr GaugeHeader* GAUGE = &gauge_Trim_Aileron.h;

static constinit SliderElement pointer =
    slider(GAUGE,
           {.bitmap = BMP_POINTER, .x = 54, .y = 11, .flags = IMAGE_TRANSPARENT,
            .variable = VAR_AILERON_TRIM},
           nullptr, nullptr, PIXELS_PER_TRIM, 0);
static ElementHead* switch_children[] = {&pointer.head, nullptr};
static constinit IconElement trim_switch =
    icon(GAUGE, {.bitmap = BMP_SWITCH, .flags = IMAGE_TRANSPARENT, .children = switch_children},
         switch_image, 3);
static ElementHead* trim_aileron_elements[] = {&trim_switch.head, nullptr};

static int32_t FS_CALL hold_left(const MousePoint*, uint32_t) {
    send_host_event(EVENT_AILERON_TRIM_LEFT, 0);
    quillmar.pedestal.aileron_trim_switch_image = SWITCH_LEFT;
    return 1;
}

static int32_t FS_CALL hold_right(const MousePoint*, uint32_t) {
    send_host_event(EVENT_AILERON_TRIM_RIGHT, 0);
    quillmar.pedestal.aileron_trim_switch_image = SWITCH_RIGHT;
    return 1;
}

// The left half of the switch reaches beyond the gauge's left edge.
static MouseRect trim_aileron_rects[] = {
    mouse_parent(0, 0, 21, 21),
    mouse_child(-10, 0, 20, 20, 2, MOUSE_REPEAT, hold_left),
    mouse_child(10, 0, 20, 20, 1, MOUSE_REPEAT, hold_right),
    mouse_close(),
    mouse_end(),
};

static HostVariable tick_counter = host_variable(VAR_TICK_COUNTER);

static void FS_CALL trim_aileron_callback(GaugeHeader*, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    auto tick = static_cast<int32_t>(host_variable_value(&tick_counter));
    if (tick % TICKS_PER_SECOND == 0) quillmar.pedestal.aileron_trim_switch_image = SWITCH_CENTRE;
}

MAIN_GAUGE(Trim_Aileron, trim_aileron_elements, trim_aileron_rects, trim_aileron_callback);
