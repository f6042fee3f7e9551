// Flight_Mode_Panel: the crew's flight guidance mode selector on the glare
// shield.
//
// Ten lit push-buttons in two rows (FD cancel, HDG, NAV, BC, V APP; ASEL,
// ALT, APP, VS, IAS), the altitude preselect readout with its knob, the
// autopilot engage button with its lamp, the two autopilot selector switches
// and three knobs whose clicks go straight to the host. The panel runs its
// own vertical modes (preselect capture, altitude hold, vertical speed,
// airspeed on pitch) over the host autopilot, which it steers only through
// host events, and reads the host's heading, back-course, approach and
// glideslope holds for the rest. Every update it publishes the active modes
// for the attitude display and the autopilot control panel, and keeps the
// host's flight director on exactly while a mode is active.
#include <cstdio>
#include <cstring>

#include "frame/channel.h"
#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ host events and variables

enum : uint32_t {
    EVENT_AP_ENGAGE = 0x1002C,
    EVENT_LEFT_KNOB_DECREASE = 0x1007E,
    EVENT_LEFT_KNOB_INCREASE = 0x1007F,
    EVENT_RIGHT_KNOB_DECREASE = 0x10080,
    EVENT_RIGHT_KNOB_INCREASE = 0x10081,
    EVENT_BC_HOLD_TOGGLE = 0x100C0,
    EVENT_AP_DISENGAGE = 0x100FF,
    EVENT_HDG_HOLD_TOGGLE = 0x10106,
    EVENT_LOC_HOLD_ON = 0x1010D,
    EVENT_APPROACH_HOLD_ON = 0x1010E,
    EVENT_NAV1_HOLD_ON = 0x10113,
    EVENT_LOC_HOLD_OFF = 0x10115,
    EVENT_APPROACH_HOLD_OFF = 0x10116,
    EVENT_HDG_HOLD_OFF = 0x10117,
    EVENT_BC_HOLD_OFF = 0x1011A,
    EVENT_NAV1_HOLD_OFF = 0x1011B,
    EVENT_MIDDLE_KNOB_INCREASE = 0x10157,
    EVENT_MIDDLE_KNOB_DECREASE = 0x10158,
    EVENT_SET_VERTICAL_SPEED = 0x101F4,   // feet a minute
    EVENT_SET_AIRSPEED = 0x101F5,         // knots
    EVENT_ALT_HOLD_ON = 0x10237,
    EVENT_ALT_HOLD_OFF = 0x10238,
    EVENT_ATTITUDE_HOLD_OFF = 0x10244,    // only the FD cancel button sends it
    EVENT_SET_ALTITUDE = 0x1024C,         // feet
    EVENT_FD_TOGGLE = 0x102F0,
};

static HostVariable ticks = host_variable(1);
static HostVariable panel_lights = host_variable(10);
static HostVariable nav1_signal = host_variable(42);          // 2: a localizer
static HostVariable airspeed = host_variable(61);             // knots
static HostVariable vertical_speed = host_variable(65);       // 1/256 metre a second
static HostVariable altitude = host_variable(74);             // feet
static HostVariable autopilot_engaged = host_variable(103);
static HostVariable heading_hold = host_variable(106);
static HostVariable glideslope_hold = host_variable(111);
static HostVariable approach_hold = host_variable(112);
static HostVariable backcourse_hold = host_variable(113);
static HostVariable airspeed_target = host_variable(116);     // knots
static HostVariable flight_director = host_variable(792);

constexpr uint32_t VAR_HEADING_HOLD = 106, VAR_BACKCOURSE_HOLD = 113, VAR_GLIDESLOPE_HOLD = 111,
                   VAR_AUTOPILOT_ENGAGED = 103;

// The whole number the simulator sends in a record it last refreshed
// (NAV 1's receiver state comes as a 32-bit integer).
static int32_t last_int(const HostVariable& v) {
    int32_t n;
    std::memcpy(&n, &v.value, sizeof n);
    return n;
}

static int32_t whole(double value) { return static_cast<int32_t>(value); }

static void send_event(uint32_t event, int32_t value = 0) {
    send_host_event(event, static_cast<uint32_t>(value));
}

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_FACE = BITMAPS_Flight_Mode_Panel,
    BMP_LIT_OVERLAY = BMP_FACE + 1,
    BMP_LEGEND_LEFT = BMP_LIT_OVERLAY + 1,
    BMP_LEGEND_RIGHT = BMP_LEGEND_LEFT + 1,
    BMP_LEGEND_MIDDLE = BMP_LEGEND_RIGHT + 1,
    BMP_LAMP_FD_CANCEL = BMP_LEGEND_MIDDLE + 1,    // every lamp: dark, lit
    BMP_LAMP_HDG = BMP_LAMP_FD_CANCEL + 2,
    BMP_LAMP_NAV = BMP_LAMP_HDG + 2,
    BMP_LAMP_BC = BMP_LAMP_NAV + 2,
    BMP_LAMP_VAPP = BMP_LAMP_BC + 2,
    BMP_LAMP_ASEL = BMP_LAMP_VAPP + 2,
    BMP_LAMP_ALT = BMP_LAMP_ASEL + 2,
    BMP_LAMP_APP = BMP_LAMP_ALT + 2,
    BMP_LAMP_VS = BMP_LAMP_APP + 2,
    BMP_LAMP_IAS = BMP_LAMP_VS + 2,
    BMP_LAMP_AP_ENGAGED = BMP_LAMP_IAS + 2,
    BMP_SELECTOR = BMP_LAMP_AP_ENGAGED + 2,        // off, on; both switches
};

// The children of the face, in drawing order.
enum FlightModeElement : int {
    FMP_LIT_OVERLAY,
    FMP_LEGEND_LEFT,
    FMP_LEGEND_RIGHT,
    FMP_LEGEND_MIDDLE,
    FMP_PRESELECT,
    FMP_LAMP_FD_CANCEL,
    FMP_LAMP_HDG,
    FMP_LAMP_NAV,
    FMP_LAMP_BC,
    FMP_LAMP_VAPP,
    FMP_LAMP_ASEL,
    FMP_LAMP_ALT,
    FMP_LAMP_APP,
    FMP_LAMP_VS,
    FMP_LAMP_IAS,
    FMP_LAMP_AP_ENGAGED,
    FMP_SELECTOR_LEFT,
    FMP_SELECTOR_RIGHT,
    FMP_ELEMENT_COUNT
};
// Shown only with power: the legends, the readout and the thirteen lamps
// and switch images, one run of children.
constexpr int FMP_POWERED_FIRST = FMP_LEGEND_LEFT, FMP_POWERED_LAST = FMP_SELECTOR_RIGHT;

static FlightModePanel& fmp = quillmar.flight_mode;

static double FS_CALL fd_cancel_lamp(ElementHead*) { return fmp.fd_cancel_lamp; }
static double FS_CALL nav_lamp(ElementHead*) { return fmp.nav_mode; }
static double FS_CALL vapp_lamp(ElementHead*) { return fmp.vapp_mode; }
static double FS_CALL asel_lamp(ElementHead*) { return fmp.asel_mode; }
static double FS_CALL alt_lamp(ElementHead*) { return fmp.alt_mode; }
static double FS_CALL vs_lamp(ElementHead*) { return fmp.vs_mode; }
static double FS_CALL ias_lamp(ElementHead*) { return fmp.ias_mode; }
static double FS_CALL left_selector(ElementHead*) { return fmp.ap_left_state; }
static double FS_CALL right_selector(ElementHead*) { return fmp.ap_right_state; }
// Lamps of the host's own holds show the element's host variable.
static double FS_CALL host_lamp(ElementHead* e) { return e->variable.value; }

static char preselect_text[16];
static double FS_CALL preselect_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "%5d", whole(fmp.ap_altitude));
    return fmp.ap_altitude;
}

static constexpr GaugeHeader* GAUGE = &gauge_Flight_Mode_Panel.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle PRESELECT_STYLE = {50, 16, 0xF0B43C, 0x141008, "Quartz", 400,
                                       STRING_ALIGN_RIGHT};

static constexpr IconElement lamp(int32_t bitmap, int32_t x, int32_t y, ValueCallback* value,
                                  uint32_t variable = 0) {
    return icon(GAUGE, {.bitmap = bitmap, .x = x, .y = y, .flags = T, .variable = variable}, value,
                2);
}

static constinit StaticImageElement lit_overlay =
    static_image(GAUGE, {.bitmap = BMP_LIT_OVERLAY, .x = 1, .y = 1, .flags = IMAGE_LIT});
static constinit StaticImageElement legend_left =
    static_image(GAUGE, {.bitmap = BMP_LEGEND_LEFT, .x = 22, .y = 37, .flags = IMAGE_LIT});
static constinit StaticImageElement legend_right =
    static_image(GAUGE, {.bitmap = BMP_LEGEND_RIGHT, .x = 337, .y = 37, .flags = IMAGE_LIT});
static constinit StaticImageElement legend_middle =
    static_image(GAUGE, {.bitmap = BMP_LEGEND_MIDDLE, .x = 205, .y = 41, .flags = IMAGE_LIT});
static constinit StringElement preselect =
    readout(GAUGE, {.x = 270, .y = 21}, preselect_readout, preselect_text, PRESELECT_STYLE);
static constinit IconElement lamp_fd_cancel = lamp(BMP_LAMP_FD_CANCEL, 41, 29, fd_cancel_lamp);
static constinit IconElement lamp_hdg = lamp(BMP_LAMP_HDG, 67, 29, host_lamp, VAR_HEADING_HOLD);
static constinit IconElement lamp_nav = lamp(BMP_LAMP_NAV, 93, 29, nav_lamp);
static constinit IconElement lamp_bc = lamp(BMP_LAMP_BC, 119, 29, host_lamp, VAR_BACKCOURSE_HOLD);
static constinit IconElement lamp_vapp = lamp(BMP_LAMP_VAPP, 145, 29, vapp_lamp);
static constinit IconElement lamp_asel = lamp(BMP_LAMP_ASEL, 41, 59, asel_lamp);
static constinit IconElement lamp_alt = lamp(BMP_LAMP_ALT, 67, 59, alt_lamp);
static constinit IconElement lamp_app = lamp(BMP_LAMP_APP, 93, 59, host_lamp, VAR_GLIDESLOPE_HOLD);
static constinit IconElement lamp_vs = lamp(BMP_LAMP_VS, 119, 59, vs_lamp);
static constinit IconElement lamp_ias = lamp(BMP_LAMP_IAS, 145, 59, ias_lamp);
static constinit IconElement lamp_ap_engaged =
    lamp(BMP_LAMP_AP_ENGAGED, 230, 68, host_lamp, VAR_AUTOPILOT_ENGAGED);
static constinit IconElement selector_left = lamp(BMP_SELECTOR, 227, 14, left_selector);
static constinit IconElement selector_right = lamp(BMP_SELECTOR, 244, 14, right_selector);

static ElementHead* face_children[] = {
    &lit_overlay.head,    &legend_left.head,  &legend_right.head,    &legend_middle.head,
    &preselect.head,      &lamp_fd_cancel.head, &lamp_hdg.head,      &lamp_nav.head,
    &lamp_bc.head,        &lamp_vapp.head,    &lamp_asel.head,       &lamp_alt.head,
    &lamp_app.head,       &lamp_vs.head,      &lamp_ias.head,        &lamp_ap_engaged.head,
    &selector_left.head,  &selector_right.head, nullptr,
};
static_assert(sizeof face_children / sizeof face_children[0] == FMP_ELEMENT_COUNT + 1);

static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* flight_mode_elements[] = {&face.head, nullptr};

static ElementHead* element(GaugeHeader* gauge, FlightModeElement which) {
    return gauge_element(gauge, {which});
}

// ------------------------------------------------------------ buttons

// Any mode button but FD cancel takes the flight director cancel back.
static void clear_fd_cancel() {
    quillmar.panels.fd_cancel = 0;
    fmp.fd_cancel_lamp = 0;
}

// The host's NAV 1 capture, or its localizer capture when NAV 1 has one.
static void nav_capture_on() {
    send_event(last_int(nav1_signal) == 2 ? EVENT_LOC_HOLD_ON : EVENT_NAV1_HOLD_ON);
}

static int32_t FS_CALL click_fd_cancel(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    fmp.fd_cancel_lamp = 1;
    quillmar.panels.fd_cancel = 1;
    for (uint32_t event : {EVENT_HDG_HOLD_OFF, EVENT_BC_HOLD_OFF, EVENT_APPROACH_HOLD_OFF,
                           EVENT_LOC_HOLD_OFF, EVENT_NAV1_HOLD_OFF, EVENT_ALT_HOLD_OFF,
                           EVENT_ATTITUDE_HOLD_OFF})
        send_event(event);
    fmp.vapp_mode = fmp.nav_mode = fmp.alt_mode = fmp.asel_mode = fmp.vs_mode = fmp.ias_mode = 0;
    return 1;
}

static int32_t FS_CALL click_hdg(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    clear_fd_cancel();
    send_event(EVENT_HDG_HOLD_TOGGLE);
    return 1;
}

static int32_t FS_CALL click_nav(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (approach_hold.value != 0) {
        fmp.nav_mode = 0;
        send_event(EVENT_APPROACH_HOLD_OFF);
    } else if (fmp.nav_mode != 0) {
        clear_fd_cancel();
        fmp.nav_mode = 0;
        send_event(EVENT_LOC_HOLD_OFF);
        send_event(EVENT_NAV1_HOLD_OFF);
    } else {
        clear_fd_cancel();
        fmp.nav_mode = 1;
        nav_capture_on();
    }
    return 1;
}

static int32_t FS_CALL click_bc(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    clear_fd_cancel();
    send_event(EVENT_BC_HOLD_TOGGLE);
    return 1;
}

static int32_t FS_CALL click_vapp(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (fmp.vapp_mode != 0) {
        fmp.vapp_mode = 0;
    } else {
        fmp.nav_mode = 0;
        clear_fd_cancel();
        fmp.vapp_mode = 1;
        send_event(EVENT_NAV1_HOLD_ON);
    }
    return 1;
}

static int32_t FS_CALL click_asel(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    bool climbing_mode = fmp.vs_mode != 0 || fmp.ias_mode != 0;
    if (fmp.asel_mode != 0) {
        fmp.asel_mode = 0;
        if (!climbing_mode) send_event(EVENT_ALT_HOLD_OFF);
    } else {
        fmp.asel_mode = 1;
        fmp.alt_mode = 0;
        clear_fd_cancel();
        if (climbing_mode) send_event(EVENT_SET_ALTITUDE, whole(fmp.ap_altitude));
        else send_event(EVENT_ALT_HOLD_OFF);
    }
    return 1;
}

static int32_t FS_CALL click_alt(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (fmp.alt_mode != 0) {
        fmp.alt_mode = 0;
        send_event(EVENT_ALT_HOLD_OFF);
        return 1;
    }
    fmp.asel_mode = fmp.vs_mode = fmp.ias_mode = 0;
    clear_fd_cancel();
    fmp.alt_mode = 1;
    // Hold the whole hundred of feet nearest the present altitude.
    int32_t hold = whole(host_variable_value(&altitude)) + 50;
    hold -= hold % 100;
    send_event(EVENT_SET_VERTICAL_SPEED, 0);
    send_event(EVENT_SET_ALTITUDE, hold);
    send_event(EVENT_ALT_HOLD_ON);
    return 1;
}

static int32_t FS_CALL click_app(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (approach_hold.value != 0) {
        send_event(EVENT_APPROACH_HOLD_OFF);
        nav_capture_on();
    } else {
        fmp.nav_mode = 1;
        clear_fd_cancel();
        send_event(EVENT_APPROACH_HOLD_ON);
    }
    return 1;
}

static int32_t FS_CALL click_vs(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (fmp.vs_mode != 0) {
        fmp.vs_mode = 0;
        send_event(EVENT_ALT_HOLD_OFF);
        return 1;
    }
    fmp.vs_mode = 1;
    fmp.ias_mode = fmp.alt_mode = 0;
    clear_fd_cancel();
    if (fmp.asel_mode == 0) {
        // No altitude to level at: hold the present vertical speed, taken
        // in whole hundreds toward zero.
        send_event(EVENT_SET_ALTITUDE, 0);
        int32_t rate = whole(host_variable_value(&vertical_speed));
        send_event(EVENT_SET_VERTICAL_SPEED, rate - rate % 100);
    } else {
        send_event(EVENT_SET_ALTITUDE, whole(fmp.ap_altitude));
        bool climb = fmp.ap_altitude > host_variable_value(&altitude);
        send_event(EVENT_SET_VERTICAL_SPEED, climb ? 1800 : -1800);
    }
    send_event(EVENT_ALT_HOLD_ON);
    return 1;
}

static int32_t FS_CALL click_ias(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (fmp.ias_mode != 0) {
        fmp.ias_mode = 0;
        send_event(EVENT_ALT_HOLD_OFF);
        return 1;
    }
    fmp.vs_mode = fmp.alt_mode = 0;
    clear_fd_cancel();
    fmp.ias_mode = 1;
    send_event(EVENT_SET_AIRSPEED, whole(host_variable_value(&airspeed)));
    send_event(EVENT_SET_ALTITUDE, 0);
    send_event(EVENT_ALT_HOLD_ON);
    return 1;
}

// ------------------------------------------------------------ switches and knobs

// The two selector switches are never on together.
static void click_selector(double& clicked, double& other) {
    sound_start(SOUND_SWITCH_PUSH);
    if (clicked == 1) {
        clicked = 0;
    } else {
        clicked = 1;
        other = 0;
    }
}

static int32_t FS_CALL click_left_selector(const MousePoint*, uint32_t) {
    click_selector(fmp.ap_left_state, fmp.ap_right_state);
    return 1;
}

static int32_t FS_CALL click_right_selector(const MousePoint*, uint32_t) {
    click_selector(fmp.ap_right_state, fmp.ap_left_state);
    return 1;
}

static int32_t FS_CALL click_engage(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    send_event(EVENT_AP_ENGAGE);
    return 1;
}

// Clicks within 5 ticks of the previous one turn the preselect by 300 ft.
static void turn_preselect(bool up) {
    double tick = host_variable_value(&ticks);
    double step = fmp.preselect_repeat_deadline > tick ? 300 : 100;
    if (up) {
        if (fmp.ap_altitude < 50000) fmp.ap_altitude += step;
    } else if (fmp.ap_altitude >= 100) {
        fmp.ap_altitude -= step;
    }
    fmp.preselect_repeat_deadline = tick + 5;
}

static int32_t FS_CALL preselect_down(const MousePoint*, uint32_t) { turn_preselect(false); return 1; }
static int32_t FS_CALL preselect_up(const MousePoint*, uint32_t) { turn_preselect(true); return 1; }

static int32_t FS_CALL left_knob_down(const MousePoint*, uint32_t) { send_event(EVENT_LEFT_KNOB_DECREASE); return 1; }
static int32_t FS_CALL left_knob_up(const MousePoint*, uint32_t) { send_event(EVENT_LEFT_KNOB_INCREASE); return 1; }
static int32_t FS_CALL middle_knob_down(const MousePoint*, uint32_t) { send_event(EVENT_MIDDLE_KNOB_DECREASE); return 1; }
static int32_t FS_CALL middle_knob_up(const MousePoint*, uint32_t) { send_event(EVENT_MIDDLE_KNOB_INCREASE); return 1; }
static int32_t FS_CALL right_knob_down(const MousePoint*, uint32_t) { send_event(EVENT_RIGHT_KNOB_DECREASE); return 1; }
static int32_t FS_CALL right_knob_up(const MousePoint*, uint32_t) { send_event(EVENT_RIGHT_KNOB_INCREASE); return 1; }

static MouseRect flight_mode_rects[] = {
    mouse_parent(0, 0, 350, 90),
    mouse_child(9, 15, 13, 52, CURSOR_DECREASE, MOUSE_REPEAT, left_knob_down),
    mouse_child(23, 15, 13, 52, CURSOR_INCREASE, MOUSE_REPEAT, left_knob_up),
    mouse_child(38, 15, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_fd_cancel),
    mouse_child(64, 15, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_hdg),
    mouse_child(90, 15, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_nav),
    mouse_child(116, 15, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_bc),
    mouse_child(142, 15, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_vapp),
    mouse_child(38, 45, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_asel),
    mouse_child(64, 45, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_alt),
    mouse_child(90, 45, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_app),
    mouse_child(116, 45, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_vs),
    mouse_child(142, 45, 22, 22, CURSOR_HAND, MOUSE_CLICK, click_ias),
    mouse_child(195, 15, 13, 52, CURSOR_DECREASE, MOUSE_REPEAT, middle_knob_down),
    mouse_child(208, 15, 13, 52, CURSOR_INCREASE, MOUSE_REPEAT, middle_knob_up),
    mouse_child(224, 11, 13, 20, CURSOR_HAND, MOUSE_CLICK, click_left_selector),
    mouse_child(241, 11, 13, 20, CURSOR_HAND, MOUSE_CLICK, click_right_selector),
    mouse_child(226, 55, 26, 22, CURSOR_HAND, MOUSE_CLICK, click_engage),
    mouse_child(265, 13, 28, 67, CURSOR_DECREASE, MOUSE_REPEAT, preselect_down),
    mouse_child(293, 13, 28, 67, CURSOR_INCREASE, MOUSE_REPEAT, preselect_up),
    mouse_child(324, 15, 13, 52, CURSOR_DECREASE, MOUSE_REPEAT, right_knob_down),
    mouse_child(337, 15, 13, 52, CURSOR_INCREASE, MOUSE_REPEAT, right_knob_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static void flight_mode_install() {
    fmp.nav_mode = 0;
    fmp.fd_cancel_lamp = 0;
    fmp.ap_altitude = panel_state_read_int(KEY_FLIGHTMODE_AP_ALTITUDE);
    fmp.ap_left_state = panel_state_read_int(KEY_FLIGHTMODE_AP_LEFT_STATE);
    fmp.ap_right_state = panel_state_read_int(KEY_FLIGHTMODE_AP_RIGHT_STATE);
}

static void flight_mode_kill() {
    panel_state_write_int(KEY_FLIGHTMODE_AP_LEFT_STATE, fmp.ap_left_state);
    panel_state_write_int(KEY_FLIGHTMODE_AP_RIGHT_STATE, fmp.ap_right_state);
    panel_state_write_int(KEY_FLIGHTMODE_AP_ALTITUDE, fmp.ap_altitude);
}

// Armed preselect: level off once the altitude is strictly within 200 ft of
// it, and keep the host's altitude target on the preselect meanwhile.
static void preselect_capture() {
    if (fmp.asel_mode == 0) return;
    double a = host_variable_value(&altitude);
    double preselect = fmp.ap_altitude;
    bool inside = (a < preselect && a + 200 > preselect) || (a >= preselect && a - 200 < preselect);
    if (inside) {
        fmp.asel_mode = 0;
        fmp.alt_mode = 1;
        fmp.vs_mode = fmp.ias_mode = 0;
        send_event(EVENT_SET_VERTICAL_SPEED, 0);
    }
    send_event(EVENT_SET_ALTITUDE, whole(preselect));
}

// Airspeed on pitch: a too-high speed raises the commanded vertical speed,
// a too-low one lowers it, by the square of the error, damped by how fast
// the error shrinks.
static void airspeed_mode() {
    double engaged = host_variable_value(&autopilot_engaged);
    if (fmp.ias_mode == 0 || engaged == 0) {
        fmp.ias_vs_command = 0;
        return;
    }
    double error = host_variable_value(&airspeed) - host_variable_value(&airspeed_target);
    double d = (fmp.ias_prev_error - error) - 0.002 * error;
    double delta = d * error * 20;
    if (error > 0) fmp.ias_vs_command -= delta;
    else fmp.ias_vs_command += delta;
    if (fmp.ias_vs_command > 6000) fmp.ias_vs_command = 6000;
    if (fmp.ias_vs_command < -6000) fmp.ias_vs_command = -6000;
    send_event(EVENT_SET_VERTICAL_SPEED, whole(fmp.ias_vs_command));
    fmp.ias_prev_error = error;
}

static void publish_modes() {
    fmp.air_data_mode = fmp.ias_mode != 0 ? 1 : fmp.vs_mode != 0 ? 2 : 0;
    channel_write(&quillmar.channels, CHANNEL_AIR_DATA, whole(fmp.air_data_mode));

    bool hdg = host_variable_value(&heading_hold) != 0;
    bool bc = host_variable_value(&backcourse_hold) != 0;
    bool gs = host_variable_value(&glideslope_hold) != 0;
    fmp.lateral_mode_bits = (hdg ? LATERAL_HDG : 0) | (fmp.nav_mode != 0 ? LATERAL_NAV : 0) |
                            (bc ? LATERAL_BC : 0) | (fmp.vapp_mode != 0 ? LATERAL_VAPP : 0);
    fmp.vertical_mode_bits = (fmp.asel_mode != 0 ? VERTICAL_ASEL : 0) |
                             (fmp.alt_mode != 0 ? VERTICAL_ALT : 0) | (gs ? VERTICAL_GS : 0) |
                             (fmp.vs_mode != 0 ? VERTICAL_VS : 0) |
                             (fmp.ias_mode != 0 ? VERTICAL_IAS : 0);
    channel_write(&quillmar.channels, CHANNEL_AP_LATERAL_MODE, fmp.lateral_mode_bits);
    channel_write(&quillmar.channels, CHANNEL_AP_VERTICAL_MODE, fmp.vertical_mode_bits);
}

// The host's flight director is on exactly while some mode is active (the
// host's approach hold counts, its glideslope hold alone does not).
static void follow_flight_director() {
    bool any = heading_hold.value != 0 || fmp.nav_mode != 0 || backcourse_hold.value != 0 ||
               fmp.vapp_mode != 0 || fmp.asel_mode != 0 || fmp.alt_mode != 0 ||
               approach_hold.value != 0 || fmp.vs_mode != 0 || fmp.ias_mode != 0;
    fmp.any_mode_active = any ? 1 : 0;
    if (fmp.any_mode_active != flight_director.value) send_event(EVENT_FD_TOGGLE);
}

static void flight_mode_update(GaugeHeader* gauge) {
    read_host_variable(&approach_hold);
    read_host_variable(&nav1_signal);
    read_host_variable(&flight_director);
    read_host_variable(&heading_hold);

    int power = whole(quillmar.electric.elec_power_state);
    for (int i = FMP_POWERED_FIRST; i <= FMP_POWERED_LAST; ++i)
        show_element_if(element(gauge, FlightModeElement(i)), power == 2);
    if (power == 0) {
        // Without power the host autopilot cannot stay engaged.
        send_event(EVENT_AP_DISENGAGE);
    } else {
        preselect_capture();
        airspeed_mode();
    }

    if (fmp.ap_left_state == 0 && fmp.ap_right_state == 0) send_event(EVENT_AP_DISENGAGE);

    publish_modes();
    show_element_if(element(gauge, FMP_LIT_OVERLAY),
                    host_variable_value(&panel_lights) == 1 && power == 2);
    follow_flight_director();
}

static void FS_CALL flight_mode_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: flight_mode_install(); break;
    case SERVICE_UPDATE: flight_mode_update(gauge); break;
    case SERVICE_KILL: flight_mode_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Flight_Mode_Panel, flight_mode_elements, flight_mode_rects, flight_mode_callback);
