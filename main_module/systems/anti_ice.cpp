// Anti-ice: the ice protection panel on the overhead.
//
// ENGINE ANTI-ICEING (left and right), PROBE HEAT (the four pitot heads and
// the angle-of-attack vane), the AIRFRAME DE-ICEING selector with its
// MANUAL 1/2 switch, and WINDOW HEAT. The engine anti-ice and the probe heat
// drive the simulator's own engine anti-ice and pitot heat, restated on
// every update; the airframe and window controls are shown and kept only.
// Without power every heat button drops out, and with it the simulator's
// anti-ice and pitot heat.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

static constexpr uint32_t EVENT_ENGINE_ANTI_ICE_OFF = 0x101ED;
static constexpr uint32_t EVENT_ENGINE_ANTI_ICE_ON = 0x101EE;
static constexpr uint32_t EVENT_PITOT_HEAT_ON = 0x10218;
static constexpr uint32_t EVENT_PITOT_HEAT_OFF = 0x10219;

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Anti_ice,
    BMP_ENGINE_LEGENDS = BMP_PANEL_MASK + 1,    // ENGINE ANTI-ICEING, AIRFRAME DE-ICEING
    BMP_AIRFRAME_LEGENDS = BMP_ENGINE_LEGENDS + 1,  // OFF LIGHT HEAVY, MANUAL 1 2
    BMP_HEAT_LEGENDS = BMP_AIRFRAME_LEGENDS + 1,    // PROBE HEAT, WINDOW HEAT
    BMP_ON_BUTTON = BMP_HEAT_LEGENDS + 1,       // dark, ON lit
    BMP_OFF_BUTTON = BMP_ON_BUTTON + 2,         // OFF lit, dark
    BMP_AIRFRAME_SELECTOR = BMP_OFF_BUTTON + 2, // OFF, LIGHT, HEAVY
    BMP_MANUAL_SWITCH = BMP_AIRFRAME_SELECTOR + 3,  // lever down, centre, up
};

enum AntiIceElement : int {
    ANTI_ICE_ENGINE_LEGENDS,
    ANTI_ICE_AIRFRAME_LEGENDS,
    ANTI_ICE_HEAT_LEGENDS,
    ANTI_ICE_ENGINE_LEFT,
    ANTI_ICE_ENGINE_RIGHT,
    ANTI_ICE_PITOT_1,
    ANTI_ICE_PITOT_2,
    ANTI_ICE_PITOT_3,
    ANTI_ICE_PITOT_4,
    ANTI_ICE_VANE,
    ANTI_ICE_WINDOW_LEFT,
    ANTI_ICE_WINDOW_RIGHT,
    ANTI_ICE_AIRFRAME_SELECTOR,
    ANTI_ICE_MANUAL_SWITCH,
};

// The heat buttons, in the order of their legends; all fall off without power.
enum Button : int {
    ENGINE_LEFT, ENGINE_RIGHT, PITOT_1, PITOT_2, PITOT_3, PITOT_4, VANE, WINDOW_LEFT,
    WINDOW_RIGHT, BUTTON_COUNT
};
static double* const buttons[BUTTON_COUNT] = {
    &quillmar.anti_ice.engine_anti_ice_left, &quillmar.anti_ice.engine_anti_ice_right,
    &quillmar.anti_ice.pitot_1_pos,          &quillmar.anti_ice.pitot_2_pos,
    &quillmar.anti_ice.pitot_3_pos,          &quillmar.anti_ice.pitot_4_pos,
    &quillmar.anti_ice.vane_pos,             &quillmar.anti_ice.window_heat_left_pos,
    &quillmar.anti_ice.window_heat_right_pos,
};

template <Button B>
static double FS_CALL button_image(ElementHead*) { return *buttons[B]; }
static double FS_CALL airframe_selector_image(ElementHead*) { return quillmar.anti_ice.heater_switch_pos; }
static double FS_CALL manual_switch_image(ElementHead*) { return quillmar.anti_ice.manual_heater_pos; }

static constexpr GaugeHeader* GAUGE = &gauge_Anti_ice.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement engine_legends =
    static_image(GAUGE, {.bitmap = BMP_ENGINE_LEGENDS, .flags = IMAGE_LIT});
static constinit StaticImageElement airframe_legends =
    static_image(GAUGE, {.bitmap = BMP_AIRFRAME_LEGENDS, .y = 54, .flags = IMAGE_LIT});
static constinit StaticImageElement heat_legends =
    static_image(GAUGE, {.bitmap = BMP_HEAT_LEGENDS, .y = 113, .flags = IMAGE_LIT});
static constinit IconElement engine_left =
    icon(GAUGE, {.bitmap = BMP_ON_BUTTON, .x = 35, .y = 28, .flags = IMAGE_LIT}, button_image<ENGINE_LEFT>, 2);
static constinit IconElement engine_right =
    icon(GAUGE, {.bitmap = BMP_ON_BUTTON, .x = 117, .y = 28, .flags = IMAGE_LIT}, button_image<ENGINE_RIGHT>, 2);
static constinit IconElement pitot_1 =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 18, .y = 148, .flags = IMAGE_LIT}, button_image<PITOT_1>, 2);
static constinit IconElement pitot_2 =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 43, .y = 148, .flags = IMAGE_LIT}, button_image<PITOT_2>, 2);
static constinit IconElement pitot_3 =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 109, .y = 148, .flags = IMAGE_LIT}, button_image<PITOT_3>, 2);
static constinit IconElement pitot_4 =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 134, .y = 148, .flags = IMAGE_LIT}, button_image<PITOT_4>, 2);
static constinit IconElement vane =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 76, .y = 148, .flags = IMAGE_LIT}, button_image<VANE>, 2);
static constinit IconElement window_left =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 27, .y = 203, .flags = IMAGE_LIT}, button_image<WINDOW_LEFT>, 2);
static constinit IconElement window_right = icon(
    GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 125, .y = 203, .flags = IMAGE_LIT}, button_image<WINDOW_RIGHT>, 2);
static constinit IconElement airframe_selector = icon(
    GAUGE, {.bitmap = BMP_AIRFRAME_SELECTOR, .x = 16, .y = 68, .flags = T}, airframe_selector_image, 3);
static constinit IconElement manual_switch = icon(
    GAUGE, {.bitmap = BMP_MANUAL_SWITCH, .x = 138, .y = 70, .flags = T}, manual_switch_image, 3);

static ElementHead* anti_ice_children[] = {
    &engine_legends.head, &airframe_legends.head, &heat_legends.head,  &engine_left.head,
    &engine_right.head,   &pitot_1.head,          &pitot_2.head,       &pitot_3.head,
    &pitot_4.head,        &vane.head,             &window_left.head,   &window_right.head,
    &airframe_selector.head, &manual_switch.head, nullptr,
};
static constinit StaticImageElement panel_mask =
    static_image(GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = anti_ice_children});
static ElementHead* anti_ice_elements[] = {&panel_mask.head, nullptr};

static const AntiIceElement button_legends[] = {
    ANTI_ICE_ENGINE_LEFT, ANTI_ICE_ENGINE_RIGHT, ANTI_ICE_PITOT_1,    ANTI_ICE_PITOT_2,
    ANTI_ICE_PITOT_3,     ANTI_ICE_PITOT_4,      ANTI_ICE_VANE,       ANTI_ICE_WINDOW_LEFT,
    ANTI_ICE_WINDOW_RIGHT,
};
static const AntiIceElement lettering[] = {
    ANTI_ICE_ENGINE_LEGENDS, ANTI_ICE_AIRFRAME_LEGENDS, ANTI_ICE_HEAT_LEGENDS};

// ------------------------------------------------------------ mouse

static bool any_pitot_on() {
    const AntiIceState& a = quillmar.anti_ice;
    return a.pitot_1_pos != 0 || a.pitot_2_pos != 0 || a.pitot_3_pos != 0 || a.pitot_4_pos != 0;
}

template <Button B>
static int32_t FS_CALL click_button(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(*buttons[B]);
    return 1;
}

// A pitot head switched on heats at once; the last one switched off stops
// the heat at once (the vane may restart it on the next update).
template <Button B>
static int32_t FS_CALL click_pitot(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& pitot = *buttons[B];
    toggle_switch(pitot);
    if (pitot != 0) send_host_event(EVENT_PITOT_HEAT_ON, 0);
    else if (!any_pitot_on()) send_host_event(EVENT_PITOT_HEAT_OFF, 0);
    return 1;
}

static int32_t FS_CALL click_airframe_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.anti_ice.heater_switch_pos;
    if (p > 0) p -= 1;
    return 1;
}

static int32_t FS_CALL click_airframe_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.anti_ice.heater_switch_pos;
    if (p < 2) p += 1;
    return 1;
}

static int32_t FS_CALL click_manual_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& p = quillmar.anti_ice.manual_heater_pos;
    if (p < 2) p += 1;
    return 1;
}

static int32_t FS_CALL click_manual_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& p = quillmar.anti_ice.manual_heater_pos;
    if (p > 0) p -= 1;
    return 1;
}

static MouseRect anti_ice_rects[] = {
    mouse_parent(0, 0, 173, 300),
    mouse_child(32, 14, 25, 25, 5, MOUSE_CLICK, click_button<ENGINE_LEFT>),
    mouse_child(114, 14, 25, 25, 5, MOUSE_CLICK, click_button<ENGINE_RIGHT>),
    mouse_child(15, 133, 25, 25, 5, MOUSE_CLICK, click_pitot<PITOT_1>),
    mouse_child(41, 133, 25, 25, 5, MOUSE_CLICK, click_pitot<PITOT_2>),
    mouse_child(106, 133, 25, 25, 5, MOUSE_CLICK, click_pitot<PITOT_3>),
    mouse_child(132, 133, 25, 25, 5, MOUSE_CLICK, click_pitot<PITOT_4>),
    mouse_child(73, 133, 25, 25, 5, MOUSE_CLICK, click_button<VANE>),
    mouse_child(7, 58, 30, 60, 2, MOUSE_CLICK, click_airframe_down),
    mouse_child(37, 58, 30, 60, 1, MOUSE_CLICK, click_airframe_up),
    mouse_child(132, 55, 27, 27, 1, MOUSE_CLICK, click_manual_up),
    mouse_child(132, 82, 27, 27, 2, MOUSE_CLICK, click_manual_down),
    mouse_child(24, 188, 25, 25, 5, MOUSE_CLICK, click_button<WINDOW_LEFT>),
    mouse_child(122, 188, 25, 25, 5, MOUSE_CLICK, click_button<WINDOW_RIGHT>),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static const SwitchKey anti_ice_keys[] = {
    {KEY_ANTI_ICE_PITOT_1_POS, &quillmar.anti_ice.pitot_1_pos},
    {KEY_ANTI_ICE_PITOT_2_POS, &quillmar.anti_ice.pitot_2_pos},
    {KEY_ANTI_ICE_PITOT_3_POS, &quillmar.anti_ice.pitot_3_pos},
    {KEY_ANTI_ICE_PITOT_4_POS, &quillmar.anti_ice.pitot_4_pos},
    {KEY_ANTI_ICE_VANE_POS, &quillmar.anti_ice.vane_pos},
    {KEY_ANTI_ICE_HEATER_SWITCH_POS, &quillmar.anti_ice.heater_switch_pos},
    {KEY_ANTI_ICE_MANUAL_HEATER_POS, &quillmar.anti_ice.manual_heater_pos},
    {KEY_ANTI_ICE_WINDOW_HEAT_LEFT_POS, &quillmar.anti_ice.window_heat_left_pos},
    {KEY_ANTI_ICE_WINDOW_HEAT_RIGHT_POS, &quillmar.anti_ice.window_heat_right_pos},
};

static void anti_ice_update(GaugeHeader* gauge) {
    switch (static_cast<int>(quillmar.electric.elec_power_state)) {
    case 2: show_panel_elements_if(gauge, button_legends, true); break;
    case 1: show_panel_elements_if(gauge, button_legends, false); break;
    case 0:
        for (double* button : buttons) *button = 0;
        show_panel_elements_if(gauge, button_legends, false);
        break;
    default: break;
    }

    // The simulator's anti-ice and pitot heat follow the buttons every frame.
    const AntiIceState& a = quillmar.anti_ice;
    bool engines = a.engine_anti_ice_left != 0 && a.engine_anti_ice_right != 0;
    send_host_event(engines ? EVENT_ENGINE_ANTI_ICE_ON : EVENT_ENGINE_ANTI_ICE_OFF, 0);
    bool probes = any_pitot_on() || a.vane_pos != 0;
    send_host_event(probes ? EVENT_PITOT_HEAT_ON : EVENT_PITOT_HEAT_OFF, 0);

    show_panel_elements_if(gauge, lettering, panel_lit());
}

static void FS_CALL anti_ice_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(anti_ice_keys); break;
    case SERVICE_UPDATE: anti_ice_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(anti_ice_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Anti_ice, anti_ice_elements, anti_ice_rects, anti_ice_callback);
