// Gear: the landing gear lever with its three green down-and-locked lamps
// (two for the nose leg). The lever picture also tells whether a leg is
// still travelling; a click moves the lever. The panel has a normal and a
// lit version, by the panel lighting rule.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_GEAR_PANEL = BITMAPS_Gear,
    BMP_GEAR_LAMP = BMP_GEAR_PANEL + 1,    // off, green
    BMP_GEAR_LEVER = BMP_GEAR_LAMP + 2,    // up, up with the nose travelling, down travelling, down
    BMP_GEAR_PANEL_LIT = BMP_GEAR_LEVER + 4,
};

constexpr double GEAR_DOWN = 16383;
constexpr uint32_t EVENT_GEAR_TOGGLE = 0x10022;

static HostVariable gear_lever = host_variable(331);   // 16383 down, 0 up
static HostVariable nose_leg = host_variable(332);     // 0 retracted .. 16383 down and locked
static HostVariable left_leg = host_variable(333);
static HostVariable right_leg = host_variable(334);

// ------------------------------------------------------------ elements

static double FS_CALL nose_lamp(ElementHead*) { return quillmar.indicators.nose_gear_locked; }
static double FS_CALL left_lamp(ElementHead*) { return quillmar.indicators.left_gear_locked; }
static double FS_CALL right_lamp(ElementHead*) { return quillmar.indicators.right_gear_locked; }
static double FS_CALL lever_image(ElementHead*) { return quillmar.indicators.gear_lever_state; }

static constexpr GaugeHeader* GAUGE = &gauge_Gear.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement lit_panel =
    static_image(GAUGE, {.bitmap = BMP_GEAR_PANEL_LIT, .flags = IMAGE_LIT});
static constinit IconElement nose_upper =
    icon(GAUGE, {.bitmap = BMP_GEAR_LAMP, .x = 22, .y = 27, .flags = IMAGE_LIT}, nose_lamp, 2);
static constinit IconElement nose_lower =
    icon(GAUGE, {.bitmap = BMP_GEAR_LAMP, .x = 22, .y = 39, .flags = IMAGE_LIT}, nose_lamp, 2);
static constinit IconElement left =
    icon(GAUGE, {.bitmap = BMP_GEAR_LAMP, .x = 5, .y = 39, .flags = IMAGE_LIT}, left_lamp, 2);
static constinit IconElement right =
    icon(GAUGE, {.bitmap = BMP_GEAR_LAMP, .x = 39, .y = 39, .flags = IMAGE_LIT}, right_lamp, 2);
static constinit IconElement lever =
    icon(GAUGE, {.bitmap = BMP_GEAR_LEVER, .x = 19, .y = 71, .flags = T}, lever_image, 4);

static ElementHead* lamps[] = {&nose_upper.head, &nose_lower.head, &left.head, &right.head};
static ElementHead* gear_children[] = {&lit_panel.head, &nose_upper.head, &nose_lower.head,
                                       &left.head,      &right.head,      &lever.head,
                                       nullptr};
static constinit StaticImageElement panel =
    static_image(GAUGE, {.bitmap = BMP_GEAR_PANEL, .children = gear_children});
static ElementHead* gear_elements[] = {&panel.head, nullptr};

static const LightingPair gear_lighting[] = {{&panel.head, &lit_panel.head}};

// ------------------------------------------------------------ mouse

static int32_t FS_CALL click_lever(const MousePoint*, uint32_t) {
    send_host_event(EVENT_GEAR_TOGGLE, 0);
    return 1;
}

static MouseRect gear_rects[] = {
    mouse_parent(0, 0, 51, 170),
    mouse_child(0, 63, 51, 104, CURSOR_HAND, MOUSE_CLICK, click_lever),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ update

static bool at_an_end(double position) { return position == 0 || position == GEAR_DOWN; }

static void gear_update() {
    IndicatorState& ind = quillmar.indicators;
    double lever_position = host_variable_value(&gear_lever);
    double nose = host_variable_value(&nose_leg);
    double left_position = host_variable_value(&left_leg);
    double right_position = host_variable_value(&right_leg);
    ind.nose_gear_locked = nose == GEAR_DOWN ? 1 : 0;
    ind.left_gear_locked = left_position == GEAR_DOWN ? 1 : 0;
    ind.right_gear_locked = right_position == GEAR_DOWN ? 1 : 0;

    // Lever down: the down picture once no leg is travelling. Lever up: only
    // the nose leg is watched.
    if (lever_position == GEAR_DOWN && at_an_end(nose) && at_an_end(left_position) && at_an_end(right_position))
        ind.gear_lever_state = 3;
    else if (lever_position == 0 && at_an_end(nose))
        ind.gear_lever_state = 0;
    else if (lever_position == 0)
        ind.gear_lever_state = 1;
    else
        ind.gear_lever_state = 2;

    bool powered = quillmar.electric.elec_power_state == 2;
    for (ElementHead* lamp : lamps) show_element_if(lamp, powered);
    apply_panel_lighting(gear_lighting);
}

static void FS_CALL gear_callback(GaugeHeader*, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) gear_update();
}

MAIN_GAUGE(Gear, gear_elements, gear_rects, gear_callback);
