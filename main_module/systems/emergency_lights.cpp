// Emergency_Lights: the emergency lights and emergency locator panel on the
// overhead.
//
// The EMER LIGHT selector (OFF, ARMED, ON) with its NOT ARMD light, lit with
// power available while the selector is at OFF, and the ELT switch under
// its guard. The panel keeps its positions through power loss and between
// flights.
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

enum : int32_t {
    BMP_PANEL_FACE = BITMAPS_Emergency_Lights,
    BMP_LEGENDS = BMP_PANEL_FACE + 1,
    BMP_LOCATOR_SWITCH = BMP_LEGENDS + 1,     // off, on
    BMP_SELECTOR = BMP_LOCATOR_SWITCH + 2,    // OFF, ARMED, ON
    BMP_NOT_ARMED = BMP_SELECTOR + 3,         // dark, NOT ARMD lit
    BMP_LOCATOR_GUARD = BMP_NOT_ARMED + 2,    // closed, open
};

enum EmergencyLightsElement : int {
    EMER_LEGENDS,
    EMER_SELECTOR,
    EMER_NOT_ARMED,
    EMER_LOCATOR_SWITCH,
    EMER_LOCATOR_GUARD,
};

static double FS_CALL selector_image(ElementHead*) { return quillmar.emergency_lights.emer_switch_pos; }
static double FS_CALL not_armed_image(ElementHead*) { return quillmar.emergency_lights.not_armd_light; }
static double FS_CALL locator_switch_image(ElementHead*) { return quillmar.emergency_lights.elt_light_pos; }
static double FS_CALL locator_guard_image(ElementHead*) { return quillmar.emergency_lights.elt_cover_pos; }

static constexpr GaugeHeader* GAUGE = &gauge_Emergency_Lights.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .y = -1, .flags = IMAGE_LIT});
static constinit IconElement selector =
    icon(GAUGE, {.bitmap = BMP_SELECTOR, .x = 25, .y = 21, .flags = T}, selector_image, 3);
static constinit IconElement not_armed =
    icon(GAUGE, {.bitmap = BMP_NOT_ARMED, .x = 70, .y = 54, .flags = IMAGE_LIT}, not_armed_image, 2);
static constinit IconElement locator_switch =
    icon(GAUGE, {.bitmap = BMP_LOCATOR_SWITCH, .x = 132, .y = 55, .flags = T}, locator_switch_image, 2);
static constinit IconElement locator_guard =
    icon(GAUGE, {.bitmap = BMP_LOCATOR_GUARD, .x = 127, .y = 28, .flags = T}, locator_guard_image, 2);

static ElementHead* emergency_children[] = {
    &legends.head, &selector.head, &not_armed.head, &locator_switch.head, &locator_guard.head,
    nullptr,
};
static constinit StaticImageElement panel_face =
    static_image(GAUGE, {.bitmap = BMP_PANEL_FACE, .children = emergency_children});
static ElementHead* emergency_elements[] = {&panel_face.head, nullptr};

static int32_t FS_CALL click_selector_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.emergency_lights.emer_switch_pos;
    if (p > 0) p -= 1;
    return 1;
}

static int32_t FS_CALL click_selector_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.emergency_lights.emer_switch_pos;
    if (p < 2) p += 1;
    return 1;
}

// With the guard closed the switch cannot be reached: the click only sounds.
static int32_t FS_CALL click_locator_switch(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    EmergencyLightsState& e = quillmar.emergency_lights;
    if (e.elt_cover_pos != 0) toggle_switch(e.elt_light_pos);
    return 1;
}

static int32_t FS_CALL click_locator_guard(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    toggle_switch(quillmar.emergency_lights.elt_cover_pos);
    return 1;
}

static MouseRect emergency_rects[] = {
    mouse_parent(0, 0, 154, 90),
    mouse_child(20, 21, 25, 40, 2, MOUSE_CLICK, click_selector_down),
    mouse_child(46, 21, 25, 40, 1, MOUSE_CLICK, click_selector_up),
    mouse_child(128, 41, 26, 25, 5, MOUSE_CLICK, click_locator_switch),
    mouse_child(128, 0, 26, 40, 5, MOUSE_CLICK, click_locator_guard),
    mouse_close(),
    mouse_end(),
};

static const SwitchKey emergency_keys[] = {
    {KEY_EMER_LIGHT_EMER_SWITCH_POS, &quillmar.emergency_lights.emer_switch_pos},
    {KEY_EMER_LIGHT_ELT_LIGHT_POS, &quillmar.emergency_lights.elt_light_pos},
    {KEY_EMER_LIGHT_ELT_COVER_POS, &quillmar.emergency_lights.elt_cover_pos},
};

static void emergency_install() {
    read_switch_keys(emergency_keys);
    quillmar.emergency_lights.not_armd_light = 0;
}

static void emergency_update(GaugeHeader* gauge) {
    EmergencyLightsState& e = quillmar.emergency_lights;
    bool powered = quillmar.electric.elec_power_state == 2;
    e.not_armd_light = powered && e.emer_switch_pos == 0 ? 1 : 0;
    show_element_if(panel_element(gauge, EMER_LEGENDS), panel_lit());
}

static void FS_CALL emergency_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: emergency_install(); break;
    case SERVICE_UPDATE: emergency_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(emergency_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Emergency_Lights, emergency_elements, emergency_rects, emergency_callback);
