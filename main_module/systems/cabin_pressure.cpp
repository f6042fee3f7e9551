// The pressurization panels on the overhead.
//
// Cabin_Pressure_1 is the cabin indicator: cabin altitude, cabin rate of
// climb and the differential between the aircraft and the cabin, three
// needles on one dial. Cabin_Pressure_2 is the landing altitude selector
// with the altimeter setting on a second scale; the pressurization schedule
// never takes the cabin below the landing altitude. Cabin_Pressure_3 is the
// manual control: MAN engages it (with power only), the direction switch
// chooses climb, hold or descend and the rate knob the feet per second.
// The simulator cycle moves the cabin; these panels hold the selections and
// show the result. Every needle has a normal and a lit version, and each
// dial a lit scale, by the panel lighting rule; the manual control's panel
// has lit legends. The dials' cases and the manual control's mask are the
// gauges' faces, which the rest hangs from.
#include <algorithm>
#include <cmath>

#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr int32_t DIAL_CENTRE = 90;

// ------------------------------------------------------------ dial scales
//
// Value to dial point, about the dial centre 90, 90. The long altitude
// pointers sweep 300 degrees clockwise from lower left; the differential
// pointer is shorter; the rate pointer reads from the left, up for a climb.

static constexpr ScalePoint cabin_altitude_scale[] = {  // feet
    {0, 54, 152},      {1000, 34, 135},   {2000, 21, 111},   {3000, 18, 85},
    {4000, 25, 59},    {5000, 41, 37},    {6000, 64, 23},    {7000, 90, 18},
    {8000, 116, 23},   {9000, 139, 37},   {10000, 155, 59},  {11000, 162, 85},
    {12000, 159, 111}, {13000, 146, 135}, {14000, 126, 152},
};
static constexpr ScalePoint cabin_rate_scale[] = {  // feet per minute
    {-3000, 78, 133}, {-2000, 61, 124}, {-1000, 49, 109}, {0, 45, 90},
    {1000, 49, 71},   {2000, 61, 56},   {3000, 78, 47},
};
static constexpr ScalePoint differential_scale[] = {  // feet between aircraft and cabin
    {0, 61, 140},      {4000, 45, 126},   {8000, 35, 107},   {12000, 32, 86},
    {16000, 38, 65},   {20000, 51, 47},   {24000, 69, 36},   {28000, 90, 32},
    {32000, 111, 36},  {36000, 129, 47},  {40000, 142, 65},  {44000, 148, 86},
    {48000, 145, 107}, {52000, 135, 126}, {56000, 119, 140},
};
static constexpr ScalePoint landing_altitude_scale[] = {  // feet
    {-1000, 54, 152},  {0, 35, 136},      {1000, 22, 115},   {2000, 18, 90},
    {3000, 22, 65},    {4000, 35, 44},    {5000, 54, 28},    {6000, 77, 19},
    {7000, 103, 19},   {8000, 126, 28},   {9000, 145, 44},   {10000, 158, 65},
    {11000, 162, 90},  {12000, 158, 115}, {13000, 145, 136}, {14000, 126, 152},
};
static constexpr ScalePoint altimeter_setting_scale[] = {  // inches of mercury
    {28, 51, 68}, {28.5, 61, 56}, {29, 75, 48}, {29.5, 90, 45},
    {30, 105, 48}, {30.5, 119, 56}, {31, 129, 67},
};

// ------------------------------------------------------------ Cabin_Pressure_1

enum : int32_t {
    BMP_CP1_LIT_SCALE = BITMAPS_Cabin_Pressure_1,
    BMP_CP1_ALTITUDE = BMP_CP1_LIT_SCALE + 1,
    BMP_CP1_ALTITUDE_LIT = BMP_CP1_ALTITUDE + 1,
    BMP_CP1_RATE = BMP_CP1_ALTITUDE_LIT + 1,
    BMP_CP1_RATE_LIT = BMP_CP1_RATE + 1,
    BMP_CP1_DIFFERENTIAL = BMP_CP1_RATE_LIT + 1,
    BMP_CP1_DIFFERENTIAL_LIT = BMP_CP1_DIFFERENTIAL + 1,
    BMP_CP1_FACE = BMP_CP1_DIFFERENTIAL_LIT + 1,
};

// Hanging from the face: the lit scale, then the needles, normal and lit
// version of each in turn.
enum CabinIndicatorElement : int {
    CP1_LIT_SCALE,
    CP1_ALTITUDE, CP1_ALTITUDE_LIT, CP1_RATE, CP1_RATE_LIT, CP1_DIFFERENTIAL, CP1_DIFFERENTIAL_LIT,
};

static constexpr double DIFFERENTIAL_LIMIT = 60000;
static HostVariable aircraft_altitude_feet = host_variable(74);

static double FS_CALL cabin_altitude_value(ElementHead*) { return quillmar.systems.cabin_altitude; }
static double FS_CALL cabin_rate_value(ElementHead*) { return quillmar.systems.cabin_rate * 60; }
static double FS_CALL differential_value(ElementHead*) {
    double difference = host_variable_value(&aircraft_altitude_feet) - quillmar.systems.cabin_altitude;
    return std::min(std::fabs(difference), DIFFERENTIAL_LIMIT);
}

static constexpr GaugeHeader* CP1 = &gauge_Cabin_Pressure_1.h;
static constexpr ElementSpec cp1_needle(int32_t bitmap) {
    return {.bitmap = bitmap, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = T};
}

static constinit NeedleElement cp1_altitude =
    needle(CP1, cp1_needle(BMP_CP1_ALTITUDE), cabin_altitude_value, cabin_altitude_scale);
static constinit NeedleElement cp1_altitude_lit =
    needle(CP1, cp1_needle(BMP_CP1_ALTITUDE_LIT), cabin_altitude_value, cabin_altitude_scale);
static constinit NeedleElement cp1_rate =
    needle(CP1, cp1_needle(BMP_CP1_RATE), cabin_rate_value, cabin_rate_scale);
static constinit NeedleElement cp1_rate_lit =
    needle(CP1, cp1_needle(BMP_CP1_RATE_LIT), cabin_rate_value, cabin_rate_scale);
static constinit NeedleElement cp1_differential =
    needle(CP1, cp1_needle(BMP_CP1_DIFFERENTIAL), differential_value, differential_scale);
static constinit NeedleElement cp1_differential_lit =
    needle(CP1, cp1_needle(BMP_CP1_DIFFERENTIAL_LIT), differential_value, differential_scale);

static constinit StaticImageElement cp1_lit_scale =
    static_image(CP1, {.bitmap = BMP_CP1_LIT_SCALE, .flags = IMAGE_LIT});
static ElementHead* cp1_children[] = {
    &cp1_lit_scale.head,
    &cp1_altitude.head,     &cp1_altitude_lit.head,     &cp1_rate.head,
    &cp1_rate_lit.head,     &cp1_differential.head,     &cp1_differential_lit.head,
    nullptr,
};
static constinit StaticImageElement cp1_face =
    static_image(CP1, {.bitmap = BMP_CP1_FACE, .children = cp1_children});
static ElementHead* cp1_elements[] = {&cp1_face.head, nullptr};

static MouseRect cp1_rects[] = {mouse_parent(0, 0, 181, 181), mouse_close(), mouse_end()};

// ------------------------------------------------------------ Cabin_Pressure_2

enum : int32_t {
    BMP_CP2_LIT_SCALE = BITMAPS_Cabin_Pressure_2,
    BMP_CP2_LANDING_ALTITUDE = BMP_CP2_LIT_SCALE + 1,
    BMP_CP2_LANDING_ALTITUDE_LIT = BMP_CP2_LANDING_ALTITUDE + 1,
    BMP_CP2_ALTIMETER_SETTING = BMP_CP2_LANDING_ALTITUDE_LIT + 1,
    BMP_CP2_ALTIMETER_SETTING_LIT = BMP_CP2_ALTIMETER_SETTING + 1,
    BMP_CP2_FACE = BMP_CP2_ALTIMETER_SETTING_LIT + 1,
};

enum LandingAltitudeElement : int {
    CP2_LIT_SCALE,
    CP2_LANDING_ALTITUDE, CP2_LANDING_ALTITUDE_LIT, CP2_ALTIMETER_SETTING, CP2_ALTIMETER_SETTING_LIT,
};

static constexpr double LANDING_ALTITUDE_STEP = 50;
static constexpr double LANDING_ALTITUDE_LOWEST = -1000;
static constexpr double LANDING_ALTITUDE_HIGHEST = 14600;
static constexpr uint32_t EVENT_ALTIMETER_SETTING_UP = 0x1015B;
static constexpr uint32_t EVENT_ALTIMETER_SETTING_DOWN = 0x1015C;
static constexpr uint32_t VAR_ALTIMETER_SETTING = 75;

static double FS_CALL landing_altitude_value(ElementHead*) { return quillmar.panels.landing_altitude; }

static constexpr GaugeHeader* CP2 = &gauge_Cabin_Pressure_2.h;
static constexpr ElementSpec cp2_needle(int32_t bitmap, uint32_t variable = 0) {
    return {.bitmap = bitmap, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = T, .variable = variable};
}

static constinit NeedleElement cp2_landing_altitude = needle(
    CP2, cp2_needle(BMP_CP2_LANDING_ALTITUDE), landing_altitude_value, landing_altitude_scale);
static constinit NeedleElement cp2_landing_altitude_lit = needle(
    CP2, cp2_needle(BMP_CP2_LANDING_ALTITUDE_LIT), landing_altitude_value, landing_altitude_scale);
// The altimeter setting pointers show their own host variable.
static constinit NeedleElement cp2_altimeter_setting =
    needle(CP2, cp2_needle(BMP_CP2_ALTIMETER_SETTING, VAR_ALTIMETER_SETTING), nullptr,
           altimeter_setting_scale);
static constinit NeedleElement cp2_altimeter_setting_lit =
    needle(CP2, cp2_needle(BMP_CP2_ALTIMETER_SETTING_LIT, VAR_ALTIMETER_SETTING), nullptr,
           altimeter_setting_scale);

static constinit StaticImageElement cp2_lit_scale =
    static_image(CP2, {.bitmap = BMP_CP2_LIT_SCALE, .flags = IMAGE_LIT});
static ElementHead* cp2_children[] = {
    &cp2_lit_scale.head,
    &cp2_landing_altitude.head,  &cp2_landing_altitude_lit.head,
    &cp2_altimeter_setting.head, &cp2_altimeter_setting_lit.head,
    nullptr,
};
static constinit StaticImageElement cp2_face =
    static_image(CP2, {.bitmap = BMP_CP2_FACE, .children = cp2_children});
static ElementHead* cp2_elements[] = {&cp2_face.head, nullptr};

// Both knobs repeat while the button is held, silently.
static int32_t FS_CALL click_landing_altitude_down(const MousePoint*, uint32_t) {
    double& altitude = quillmar.panels.landing_altitude;
    if (altitude >= LANDING_ALTITUDE_LOWEST + LANDING_ALTITUDE_STEP) altitude -= LANDING_ALTITUDE_STEP;
    return 1;
}

static int32_t FS_CALL click_landing_altitude_up(const MousePoint*, uint32_t) {
    double& altitude = quillmar.panels.landing_altitude;
    if (altitude <= LANDING_ALTITUDE_HIGHEST - LANDING_ALTITUDE_STEP) altitude += LANDING_ALTITUDE_STEP;
    return 1;
}

static int32_t FS_CALL click_altimeter_setting_up(const MousePoint*, uint32_t) {
    send_host_event(EVENT_ALTIMETER_SETTING_UP, 0);
    return 1;
}

static int32_t FS_CALL click_altimeter_setting_down(const MousePoint*, uint32_t) {
    send_host_event(EVENT_ALTIMETER_SETTING_DOWN, 0);
    return 1;
}

// The knobs reach beyond the dial on both sides.
static MouseRect cp2_rects[] = {
    mouse_parent(-40, 0, 270, 210),
    mouse_child(-40, 130, 60, 80, 2, MOUSE_REPEAT, click_landing_altitude_down),
    mouse_child(20, 130, 60, 80, 1, MOUSE_REPEAT, click_landing_altitude_up),
    mouse_child(110, 130, 60, 80, 2, MOUSE_REPEAT, click_altimeter_setting_up),
    mouse_child(170, 130, 60, 80, 1, MOUSE_REPEAT, click_altimeter_setting_down),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ Cabin_Pressure_3

enum : int32_t {
    BMP_CP3_LIT_LEGENDS = BITMAPS_Cabin_Pressure_3,
    BMP_CP3_MAN = BMP_CP3_LIT_LEGENDS + 1,        // dark, MAN lit
    BMP_CP3_DIRECTION = BMP_CP3_MAN + 2,          // three positions
    BMP_CP3_MASK = BMP_CP3_DIRECTION + 3,
};

// Hanging from the panel mask: the lit legends first, then MAN and the
// direction switch.
enum ManualControlElement : int { CP3_LIT_LEGENDS };

static constexpr double MANUAL_RATE_HIGHEST = 25;  // feet per second

// MAN is lit while manual control is engaged and power is available.
static double FS_CALL man_image(ElementHead*) {
    if (quillmar.electric.elec_power_state != 2) return 0;
    return quillmar.panels.manual_control_status;
}
static double FS_CALL direction_image(ElementHead*) {
    return quillmar.cabin_pressure.press3_direction_control_status;
}

static constexpr GaugeHeader* CP3 = &gauge_Cabin_Pressure_3.h;
static constinit IconElement cp3_man =
    icon(CP3, {.bitmap = BMP_CP3_MAN, .x = 10, .y = 32, .flags = IMAGE_LIT}, man_image, 2);
static constinit IconElement cp3_direction =
    icon(CP3, {.bitmap = BMP_CP3_DIRECTION, .x = 42, .y = 12, .flags = T}, direction_image, 3);
static constinit StaticImageElement cp3_lit_legends =
    static_image(CP3, {.bitmap = BMP_CP3_LIT_LEGENDS, .x = -80, .y = 1, .flags = IMAGE_LIT});
static ElementHead* cp3_children[] = {&cp3_lit_legends.head, &cp3_man.head, &cp3_direction.head,
                                      nullptr};
static constinit StaticImageElement cp3_mask =
    static_image(CP3, {.bitmap = BMP_CP3_MASK, .children = cp3_children});
static ElementHead* cp3_elements[] = {&cp3_mask.head, nullptr};

// The signed rate the cycle applies: climb (0) at the knob's rate, hold (1),
// descend (2) at the knob's rate.
static void recompute_manual_rate() {
    const CabinPressureState& cp = quillmar.cabin_pressure;
    double& rate = quillmar.panels.man_rate_control_value;
    if (cp.press3_direction_control_status == 0) rate = cp.rate_uint_value;
    else if (cp.press3_direction_control_status == 2) rate = -cp.rate_uint_value;
    else rate = 0;
}

// MAN engages only with power available; engaging or disengaging starts the
// manual rate from nothing.
static int32_t FS_CALL click_man(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& manual = quillmar.panels.manual_control_status;
    if (manual != 0) manual = 0;
    else if (quillmar.electric.elec_power_state == 2) manual = 1;
    quillmar.cabin_pressure.rate_uint_value = 0;
    quillmar.panels.man_rate_control_value = 0;
    return 1;
}

static int32_t FS_CALL click_direction_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& direction = quillmar.cabin_pressure.press3_direction_control_status;
    if (direction > 0) direction -= 1;
    recompute_manual_rate();
    return 1;
}

static int32_t FS_CALL click_direction_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& direction = quillmar.cabin_pressure.press3_direction_control_status;
    if (direction < 2) direction += 1;
    recompute_manual_rate();
    return 1;
}

static int32_t FS_CALL click_rate_down(const MousePoint*, uint32_t) {
    double& rate = quillmar.cabin_pressure.rate_uint_value;
    if (rate > 0) rate -= 1;
    recompute_manual_rate();
    return 1;
}

static int32_t FS_CALL click_rate_up(const MousePoint*, uint32_t) {
    double& rate = quillmar.cabin_pressure.rate_uint_value;
    if (rate < MANUAL_RATE_HIGHEST) rate += 1;
    recompute_manual_rate();
    return 1;
}

static MouseRect cp3_rects[] = {
    mouse_parent(0, 0, 78, 84),
    mouse_child(6, 18, 26, 25, 5, MOUSE_CLICK, click_man),
    mouse_child(40, 7, 18, 20, 1, MOUSE_CLICK, click_direction_up),
    mouse_child(40, 27, 18, 20, 2, MOUSE_CLICK, click_direction_down),
    mouse_child(30, 54, 18, 30, 2, MOUSE_REPEAT, click_rate_down),
    mouse_child(48, 54, 18, 30, 1, MOUSE_REPEAT, click_rate_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ the three gauges

static const SwitchKey cp2_keys[] = {
    {KEY_CABIN_PRESSURE_LANDING_ALTITUDE, &quillmar.panels.landing_altitude},
};

static const SwitchKey cp3_keys[] = {
    {KEY_CABIN_PRESSURE_MANUAL_CONTROL_STATUS, &quillmar.panels.manual_control_status},
    {KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE, &quillmar.panels.man_rate_control_value},
    {KEY_CABIN_PRESSURE_RATE_UINT_VALUE, &quillmar.cabin_pressure.rate_uint_value},
    {KEY_CABIN_PRESSURE_PRESS3_DIRECTION_CONTROL_STATUS,
     &quillmar.cabin_pressure.press3_direction_control_status},
};

// What lights up on each gauge: its normal/lit needle pairs and its lit
// scale or legends, which have no normal partner (the face stays).
static void light_cabin_indicator(GaugeHeader* g) {
    const LightingPair pairs[] = {
        {nullptr, panel_element(g, CP1_LIT_SCALE)},
        {panel_element(g, CP1_ALTITUDE), panel_element(g, CP1_ALTITUDE_LIT)},
        {panel_element(g, CP1_RATE), panel_element(g, CP1_RATE_LIT)},
        {panel_element(g, CP1_DIFFERENTIAL), panel_element(g, CP1_DIFFERENTIAL_LIT)},
    };
    apply_panel_lighting(pairs);
}

static void light_landing_altitude(GaugeHeader* g) {
    const LightingPair pairs[] = {
        {nullptr, panel_element(g, CP2_LIT_SCALE)},
        {panel_element(g, CP2_LANDING_ALTITUDE), panel_element(g, CP2_LANDING_ALTITUDE_LIT)},
        {panel_element(g, CP2_ALTIMETER_SETTING), panel_element(g, CP2_ALTIMETER_SETTING_LIT)},
    };
    apply_panel_lighting(pairs);
}

// Without power manual control drops out (MAN shows dark then, too).
static void manual_control_update(GaugeHeader* g) {
    if (quillmar.electric.elec_power_state == 0) quillmar.panels.manual_control_status = 0;
    const LightingPair pairs[] = {{nullptr, panel_element(g, CP3_LIT_LEGENDS)}};
    apply_panel_lighting(pairs);
}

static void FS_CALL cabin_indicator_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) light_cabin_indicator(gauge);
}

static void FS_CALL landing_altitude_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(cp2_keys); break;
    case SERVICE_UPDATE: light_landing_altitude(gauge); break;
    case SERVICE_KILL: write_switch_keys(cp2_keys); break;
    default: break;
    }
}

static void FS_CALL manual_control_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(cp3_keys); break;
    case SERVICE_UPDATE: manual_control_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(cp3_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Cabin_Pressure_1, cp1_elements, cp1_rects, cabin_indicator_callback);
MAIN_GAUGE(Cabin_Pressure_2, cp2_elements, cp2_rects, landing_altitude_callback);
MAIN_GAUGE(Cabin_Pressure_3, cp3_elements, cp3_rects, manual_control_callback);
