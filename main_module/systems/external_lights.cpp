// External_Lights_and_Cabin: the exterior lights and cabin signs panel on the
// overhead.
//
// The LANDING, TAXI, LOGO, NAV and STROBE switches and the WING INSP and
// ANTI COLL push-buttons work the simulator's own lights and show the state
// the simulator reports; the panel keeps none of them. STORM (the flood
// lights of the flight deck), SEATBELT and NO SMKG are the panel's own and
// kept between flights; the cabin signs chime in the cabin when they change.
// STORM goes off with a total loss of power.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_FACE = BITMAPS_External_Lights_and_Cabin,
    BMP_LEGENDS = BMP_PANEL_FACE + 1,
    BMP_TOGGLE = BMP_LEGENDS + 1,              // down, up (TAXI, LOGO, NAV, STROBE, SEATBELT)
    BMP_LANDING_TOGGLE = BMP_TOGGLE + 2,       // down, up
    BMP_NO_SMOKING = BMP_LANDING_TOGGLE + 2,   // OFF, AUTO, ON
    BMP_ON_BUTTON = BMP_NO_SMOKING + 3,        // dark, ON lit (STORM, WING INSP)
    BMP_OFF_BUTTON = BMP_ON_BUTTON + 2,        // OFF lit, dark (ANTI COLL)
};

enum ExternalLightsElement : int {
    LIGHTS_LEGENDS,
    LIGHTS_STORM,
    LIGHTS_LANDING_LEFT,
    LIGHTS_LANDING_RIGHT,
    LIGHTS_TAXI,
    LIGHTS_WING,
    LIGHTS_LOGO,
    LIGHTS_ANTI_COLLISION,
    LIGHTS_NAV,
    LIGHTS_STROBE,
    LIGHTS_SEATBELT,
    LIGHTS_NO_SMOKING,
};

// The simulator's lights shown by the switches (1 = on).
enum : uint32_t {
    VAR_STROBE_LIGHTS = 11,
    VAR_LANDING_LIGHTS = 14,
    VAR_BEACON_LIGHT = 368,
    VAR_TAXI_LIGHT = 369,
    VAR_NAV_LIGHTS = 619,
    VAR_LOGO_LIGHT = 620,
    VAR_WING_LIGHT = 621,
};

// Events that toggle them.
enum : uint32_t {
    EVENT_STROBE_LIGHTS = 0x10018,
    EVENT_LANDING_LIGHTS = 0x100D7,
    EVENT_BEACON_LIGHT = 0x102BF,
    EVENT_TAXI_LIGHT = 0x102C0,
    EVENT_LOGO_LIGHT = 0x10348,
    EVENT_WING_LIGHT = 0x1034A,
    EVENT_NAV_LIGHTS = 0x1034B,
};

static double FS_CALL storm_image(ElementHead*) { return quillmar.external_lights.storm_lights_pos; }
static double FS_CALL seatbelt_image(ElementHead*) { return quillmar.external_lights.seatbelt_pos; }
static double FS_CALL no_smoking_image(ElementHead*) { return quillmar.external_lights.no_smoking_pos; }

static constexpr GaugeHeader* GAUGE = &gauge_External_Lights_and_Cabin.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

// A switch that shows one of the simulator's lights: its own host variable.
static constexpr IconElement light_switch(int32_t bitmap, int32_t x, int32_t y, uint32_t variable) {
    return icon(GAUGE, {.bitmap = bitmap, .x = x, .y = y, .flags = T, .variable = variable}, nullptr, 2);
}

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT});
static constinit IconElement storm =
    icon(GAUGE, {.bitmap = BMP_ON_BUTTON, .x = 25, .y = 25, .flags = IMAGE_LIT}, storm_image, 2);
static constinit IconElement landing_left = light_switch(BMP_LANDING_TOGGLE, 74, 13, VAR_LANDING_LIGHTS);
static constinit IconElement landing_right = light_switch(BMP_LANDING_TOGGLE, 117, 13, VAR_LANDING_LIGHTS);
static constinit IconElement taxi = light_switch(BMP_TOGGLE, 183, 17, VAR_TAXI_LIGHT);
static constinit IconElement wing = light_switch(BMP_ON_BUTTON, 219, 25, VAR_WING_LIGHT);
static constinit IconElement logo = light_switch(BMP_TOGGLE, 267, 17, VAR_LOGO_LIGHT);
static constinit IconElement anti_collision = light_switch(BMP_OFF_BUTTON, 303, 35, VAR_BEACON_LIGHT);
static constinit IconElement nav = light_switch(BMP_TOGGLE, 351, 17, VAR_NAV_LIGHTS);
static constinit IconElement strobe = light_switch(BMP_TOGGLE, 397, 17, VAR_STROBE_LIGHTS);
static constinit IconElement seatbelt =
    icon(GAUGE, {.bitmap = BMP_TOGGLE, .x = 444, .y = 17, .flags = T}, seatbelt_image, 2);
static constinit IconElement no_smoking =
    icon(GAUGE, {.bitmap = BMP_NO_SMOKING, .x = 489, .y = 21, .flags = T}, no_smoking_image, 3);

static ElementHead* lights_children[] = {
    &legends.head, &storm.head,  &landing_left.head,   &landing_right.head,
    &taxi.head,    &wing.head,   &logo.head,           &anti_collision.head,
    &nav.head,     &strobe.head, &seatbelt.head,       &no_smoking.head,
    nullptr,
};
static constinit StaticImageElement panel_face =
    static_image(GAUGE, {.bitmap = BMP_PANEL_FACE, .children = lights_children});
static ElementHead* lights_elements[] = {&panel_face.head, nullptr};

// The lit push-buttons: dark without power.
static const ExternalLightsElement push_buttons[] = {
    LIGHTS_STORM, LIGHTS_WING, LIGHTS_ANTI_COLLISION};

// ------------------------------------------------------------ mouse

static int32_t FS_CALL click_storm(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(quillmar.external_lights.storm_lights_pos);
    return 1;
}

// Each exterior light control toggles its light in the simulator.
template <uint32_t Event, SoundSlot Sound>
static int32_t FS_CALL click_light(const MousePoint*, uint32_t) {
    sound_start(Sound);
    send_host_event(Event, 0);
    return 1;
}

static int32_t FS_CALL click_seatbelt(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    sound_start(SOUND_SIGN);
    double& sign = quillmar.external_lights.seatbelt_pos;
    sign = sign == 1 ? 0 : 1;
    return 1;
}

// The cabin chimes on every click of the selector, even at the end of its travel.
static int32_t FS_CALL click_no_smoking_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    sound_start(SOUND_SIGN);
    double& sign = quillmar.external_lights.no_smoking_pos;
    if (sign > 0) sign -= 1;
    return 1;
}

static int32_t FS_CALL click_no_smoking_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    sound_start(SOUND_SIGN);
    double& sign = quillmar.external_lights.no_smoking_pos;
    if (sign < 2) sign += 1;
    return 1;
}

static MouseRect lights_rects[] = {
    mouse_parent(0, 0, 529, 70),
    mouse_child(22, 22, 26, 25, 5, MOUSE_CLICK, click_storm),
    mouse_child(77, 7, 70, 57, 5, MOUSE_CLICK, click_light<EVENT_LANDING_LIGHTS, SOUND_SWITCH_FLIP>),
    mouse_child(174, 7, 26, 57, 5, MOUSE_CLICK, click_light<EVENT_TAXI_LIGHT, SOUND_SWITCH_FLIP>),
    mouse_child(216, 22, 26, 25, 5, MOUSE_CLICK, click_light<EVENT_WING_LIGHT, SOUND_SWITCH_PUSH>),
    mouse_child(258, 7, 26, 57, 5, MOUSE_CLICK, click_light<EVENT_LOGO_LIGHT, SOUND_SWITCH_FLIP>),
    mouse_child(300, 7, 26, 57, 5, MOUSE_CLICK, click_light<EVENT_BEACON_LIGHT, SOUND_SWITCH_PUSH>),
    mouse_child(342, 7, 26, 57, 5, MOUSE_CLICK, click_light<EVENT_NAV_LIGHTS, SOUND_SWITCH_FLIP>),
    mouse_child(388, 7, 26, 57, 5, MOUSE_CLICK, click_light<EVENT_STROBE_LIGHTS, SOUND_SWITCH_FLIP>),
    mouse_child(432, 20, 42, 30, 5, MOUSE_CLICK, click_seatbelt),
    mouse_child(479, 10, 25, 50, 2, MOUSE_CLICK, click_no_smoking_down),
    mouse_child(504, 10, 25, 50, 1, MOUSE_CLICK, click_no_smoking_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static const SwitchKey cabin_keys[] = {
    {KEY_CABIN_SEATBELT_POS, &quillmar.external_lights.seatbelt_pos},
    {KEY_CABIN_NO_SMOKING_POS, &quillmar.external_lights.no_smoking_pos},
    {KEY_CABIN_STORM_LIGHTS_POS, &quillmar.external_lights.storm_lights_pos},
};

static void lights_update(GaugeHeader* gauge) {
    double power = quillmar.electric.elec_power_state;
    if (power == 0) quillmar.external_lights.storm_lights_pos = 0;
    show_panel_elements_if(gauge, push_buttons, power == 2);
    show_element_if(panel_element(gauge, LIGHTS_LEGENDS), panel_lit());
}

static void FS_CALL lights_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(cabin_keys); break;
    case SERVICE_UPDATE: lights_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(cabin_keys); break;
    default: break;
    }
}

MAIN_GAUGE(External_Lights_and_Cabin, lights_elements, lights_rects, lights_callback);
