// Engine_Rating_Panel: the engine rating panel and power management.
//
// Six lit buttons select the rating: TO, GA, FLX, CLB, CRZ, MCT. The panel
// turns the rating into a torque target for both engines (the marker on the
// torque gauges), shows the flexible take-off temperature in FLX, and, once
// a power lever has been pushed fully forward with a rating selected, moves
// that lever itself so that its engine holds the target. A propeller
// governor moves the propeller levers to hold take-off or normal propeller
// speed. After a touchdown GA is held for 16 seconds, then TO. The rating
// is kept between flights; without power the lamps go out and the rating is
// lost.
#include <cmath>
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ ratings

enum RatingMode : int32_t { MODE_NONE, MODE_TO, MODE_GA, MODE_FLX, MODE_CLB, MODE_CRZ, MODE_MCT };

// The lamps in mode order (TO first).
static double* const mode_lamps[6] = {
    &quillmar.engine_rating.erp_to,  &quillmar.engine_rating.erp_ga,
    &quillmar.engine_rating.erp_flx, &quillmar.engine_rating.erp_clb,
    &quillmar.engine_rating.erp_crz, &quillmar.engine_rating.erp_mct,
};

// The first lit lamp's mode, or none.
static RatingMode lit_mode() {
    for (int i = 0; i < 6; ++i)
        if (*mode_lamps[i] != 0) return static_cast<RatingMode>(i + 1);
    return MODE_NONE;
}

static void select_alone(RatingMode mode) {
    for (int i = 0; i < 6; ++i) *mode_lamps[i] = i + 1 == mode ? 1 : 0;
}

static void all_lamps_off() { select_alone(MODE_NONE); }

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_FACE = BITMAPS_Engine_Rating_Panel,
    BMP_LIT_OVERLAY = BMP_FACE + 1,
    BMP_LAMP_TO = BMP_LIT_OVERLAY + 1,       // each lamp: dark, then lit
    BMP_LAMP_GA = BMP_LAMP_TO + 2,
    BMP_LAMP_FLX = BMP_LAMP_GA + 2,
    BMP_LAMP_CLB = BMP_LAMP_FLX + 2,
    BMP_LAMP_CRZ = BMP_LAMP_CLB + 2,
    BMP_LAMP_MCT = BMP_LAMP_CRZ + 2,
};

static char flex_text[6];

// The outside temperature (its element's host variable) plus the flex offset.
static double FS_CALL flex_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    double oat = host_variable_value(&e->variable) * 256;
    double flex = std::trunc(oat + quillmar.engine_rating.flex_temp_offset);
    if (!(flex > -999)) flex = -999;      // a readout of three digits and a sign
    if (!(flex < 9999)) flex = 9999;
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "%3d", static_cast<int>(flex));
    return flex;
}

static constexpr GaugeHeader* GAUGE = &gauge_Engine_Rating_Panel.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle FLEX_STYLE = {21, 12, 0x50F050, 0x000000, "Quartz", 400, STRING_ALIGN_RIGHT};

static constinit StaticImageElement lit_overlay =
    static_image(GAUGE, {.bitmap = BMP_LIT_OVERLAY, .flags = IMAGE_LIT});
// Each lamp is a pair of pictures at the button: dark, and lit while its
// rating is selected.
struct Lamp {
    StaticImageElement dark, lit;
};

static constexpr Lamp lamp(int32_t bitmap, int32_t x, int32_t y) {
    return Lamp{static_image(GAUGE, {.bitmap = bitmap, .x = x, .y = y, .flags = IMAGE_LIT}),
                static_image(GAUGE, {.bitmap = bitmap + 1, .x = x, .y = y, .flags = IMAGE_LIT})};
}

static constinit Lamp lamp_to = lamp(BMP_LAMP_TO, 12, 21);
static constinit Lamp lamp_ga = lamp(BMP_LAMP_GA, 33, 21);
static constinit Lamp lamp_flx = lamp(BMP_LAMP_FLX, 54, 21);
static constinit Lamp lamp_clb = lamp(BMP_LAMP_CLB, 12, 40);
static constinit Lamp lamp_crz = lamp(BMP_LAMP_CRZ, 33, 40);
static constinit Lamp lamp_mct = lamp(BMP_LAMP_MCT, 54, 40);
static constinit StringElement flex_temperature =
    readout(GAUGE, {.x = 76, .y = 17, .variable = 350}, flex_readout, flex_text, FLEX_STYLE);

// Children of the panel face, in drawing order.
enum RatingPanelElement : int {
    ERP_LIT_OVERLAY,
    ERP_LAMP_TO,    // the six lamps in mode order, each dark then lit
    ERP_FLEX_READOUT = ERP_LAMP_TO + 12,
};
static ElementHead* rating_panel_children[] = {
    &lit_overlay.head,
    &lamp_to.dark.head,  &lamp_to.lit.head,  &lamp_ga.dark.head,  &lamp_ga.lit.head,
    &lamp_flx.dark.head, &lamp_flx.lit.head, &lamp_clb.dark.head, &lamp_clb.lit.head,
    &lamp_crz.dark.head, &lamp_crz.lit.head, &lamp_mct.dark.head, &lamp_mct.lit.head,
    &flex_temperature.head, nullptr,
};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = rating_panel_children});
static ElementHead* rating_panel_elements[] = {&face.head, nullptr};

static ElementHead* element(GaugeHeader* gauge, int which) { return gauge_element(gauge, {which}); }

// ------------------------------------------------------------ mouse

// A mode button puts its own lamp out if it is lit, else lights it alone.
template <RatingMode MODE>
static int32_t FS_CALL click_mode(const MousePoint*, uint32_t) {
    if (*mode_lamps[MODE - 1] != 0) *mode_lamps[MODE - 1] = 0;
    else select_alone(MODE);
    return 1;
}

static int32_t FS_CALL click_flex_decrease(const MousePoint*, uint32_t) {
    double& offset = quillmar.engine_rating.flex_temp_offset;
    if (offset > -99) offset -= 1;
    return 1;
}

static int32_t FS_CALL click_flex_increase(const MousePoint*, uint32_t) {
    double& offset = quillmar.engine_rating.flex_temp_offset;
    if (offset < 99) offset += 1;
    return 1;
}

static MouseRect rating_panel_rects[] = {
    mouse_parent(0, 0, 114, 65),
    mouse_child(9, 10, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_TO>),
    mouse_child(30, 10, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_GA>),
    mouse_child(51, 10, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_FLX>),
    mouse_child(9, 29, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_CLB>),
    mouse_child(30, 29, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_CRZ>),
    mouse_child(51, 29, 19, 17, CURSOR_HAND, MOUSE_CLICK, click_mode<MODE_MCT>),
    mouse_child(73, 34, 15, 20, CURSOR_HAND, MOUSE_CLICK, click_flex_decrease),
    mouse_child(89, 34, 15, 20, CURSOR_HAND, MOUSE_CLICK, click_flex_increase),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ power management

static HostVariable on_ground = host_variable(60);
static HostVariable airspeed = host_variable(61);
static HostVariable altitude = host_variable(74);
static HostVariable outside_temperature = host_variable(350);
static HostVariable sim_time = host_variable(557);

// Per engine: power lever, propeller lever, torque, propeller speed, and
// the events that move the two levers.
struct EngineBinding {
    HostVariable power_lever, prop_lever, torque, prop_speed;
    uint32_t power_lever_event, prop_lever_event;
    double* lever_servo;
    const int32_t* prop_ec_light;
};
static EngineBinding engines[2] = {
    {host_variable(128), host_variable(129), host_variable(629), host_variable(701), 0x1011C,
     0x10183, &quillmar.panels.lever_servo_1, &quillmar.prop_ec.prop_ec_light_1},
    {host_variable(163), host_variable(164), host_variable(648), host_variable(709), 0x1011D,
     0x10184, &quillmar.panels.lever_servo_2, &quillmar.prop_ec.prop_ec_light_2},
};

constexpr double FULL_FORWARD = 16384;
constexpr double LEVER_TRAVEL = 16384;
// The pilot overrides the servo by moving a lever this far from where the
// servo holds it.
constexpr double OVERRIDE_DISTANCE = 1000;

// The torque bracket of the climb and cruise ratings, percent.
static double climb_bracket(double oat, double altitude_ft, double speed) {
    double a15 = altitude_ft - 15000;
    return -0.267321428572 * oat + 69.8 - 0.00252 * a15 +
           (speed - 140) * (1.1764705882e-06 * a15 + 0.129411764706);
}

// The take-off torque, percent, at an outside temperature and altitude.
static double takeoff_torque(double oat, double altitude_ft) {
    return std::fmin(0.00176923 * altitude_ft + 0.17222222 * oat + 83.9, 102);
}

static double torque_target_percent(RatingMode mode, bool airborne) {
    double oat = host_variable_value(&outside_temperature) * 256;
    double a = host_variable_value(&altitude);
    double s = host_variable_value(&airspeed);
    double target = 0;
    switch (mode) {
    case MODE_TO: target = takeoff_torque(oat, a); break;
    case MODE_FLX: target = takeoff_torque(oat + quillmar.engine_rating.flex_temp_offset, a); break;
    case MODE_GA: target = 102; break;
    case MODE_CLB: target = std::fmin(1.2 * climb_bracket(oat, a, s), 85.5); break;
    case MODE_CRZ: target = std::fmin(climb_bracket(oat, a, s), 82.3); break;
    case MODE_MCT: target = 87.5; break;
    case MODE_NONE: break;
    }
    // In the air, with a propeller feathering, the other engine gets 5 % more.
    const PropEcState& p = quillmar.prop_ec;
    if (airborne && (p.prop_ec_light_1 == 1 || p.prop_ec_light_2 == 1)) {
        target += 5;
        if (target > 102) target = 102;
    } else {
        target = std::fmin(std::fmax(target, 0), 120);
    }
    return target;
}

static uint32_t lever_value(double position) {
    return static_cast<uint32_t>(static_cast<int32_t>(position));
}

static double clamp_travel(double position) {
    return std::fmin(std::fmax(position, 0), LEVER_TRAVEL);
}

// One step of a lever servo: a correction that grows with the square of the
// error, braked by the error's rate of change; `gain` and the step limits
// set how fast it moves.
static double servo_step(double error, double previous_error, double gain) {
    double d = (previous_error - error) - 0.3 * error;
    return d * error * gain;
}

static void manage_power(RatingMode mode, bool airborne) {
    EngineRatingState& r = quillmar.engine_rating;
    PanelInputs& in = quillmar.panels;
    in.torque_target = torque_target_percent(mode, airborne) * 0.01;

    double lever[2], prop_lever[2], torque[2], speed[2];
    for (int i = 0; i < 2; ++i) {
        EngineBinding& e = engines[i];
        lever[i] = host_variable_value(&e.power_lever);
        prop_lever[i] = host_variable_value(&e.prop_lever);
        torque[i] = host_variable_value(&e.torque);
        speed[i] = host_variable_value(&e.prop_speed);
        if (lever[i] == FULL_FORWARD && *e.lever_servo == 0) *e.lever_servo = 1;
    }

    // Capture: the servo starts from where the levers are.
    bool any_flag = in.lever_servo_1 != 0 || in.lever_servo_2 != 0;
    if (mode != MODE_NONE && in.servo_engaged == 0 && any_flag) {
        for (int i = 0; i < 2; ++i) {
            r.lever_command[i] = lever[i];
            r.torque_error[i] = torque[i] - in.torque_target;
            r.prop_command[i] = prop_lever[i];
            r.speed_error[i] = speed[i] - r.prop_speed_target;
        }
        in.servo_engaged = 1;
    }
    bool full_speed = r.erp_to != 0 || r.erp_ga != 0 || r.erp_flx != 0 || r.erp_mct != 0;
    r.prop_speed_target = full_speed ? 1.0 : 0.85;

    for (int i = 0; i < 2; ++i) {
        EngineBinding& e = engines[i];
        if (std::fabs(lever[i] - r.lever_command[i]) > OVERRIDE_DISTANCE) {
            *e.lever_servo = 0;
            in.servo_engaged = 0;
        } else if (in.servo_engaged != 0 && *e.lever_servo != 0) {
            double error = torque[i] - in.torque_target;
            double step = std::fmin(std::fmax(servo_step(error, r.torque_error[i], 5000), -13), 30);
            r.lever_command[i] += error >= 0 ? step : -step;
            r.lever_command[i] = clamp_travel(r.lever_command[i]);
            send_host_event(e.power_lever_event, lever_value(r.lever_command[i]));
            r.torque_error[i] = error;
        }
    }
    if (mode == MODE_NONE) in.servo_engaged = 0;

    // Propeller governor, for each propeller its PROP EC light leaves alone.
    for (int i = 0; i < 2; ++i) {
        EngineBinding& e = engines[i];
        if (*e.prop_ec_light != 0) continue;
        double error = speed[i] - r.prop_speed_target;
        double step = servo_step(error, r.speed_error[i], 60000);
        r.prop_command[i] += error >= 0 ? step : -step;
        r.prop_command[i] = clamp_travel(r.prop_command[i]);
        send_host_event(e.prop_lever_event, lever_value(r.prop_command[i]));
        r.speed_error[i] = error;
    }
}

// ------------------------------------------------------------ install, update, kill

static void rating_panel_install() {
    EngineRatingState& r = quillmar.engine_rating;
    int32_t mode = panel_state_read_int(KEY_ERP_ACTIVE_ERP_MODE);
    select_alone(mode >= MODE_TO && mode <= MODE_MCT ? static_cast<RatingMode>(mode) : MODE_NONE);
    r.flex_temp_offset = 0;
    r.ga_arm_state = 0;
    quillmar.panels.lever_servo_1 = quillmar.panels.lever_servo_2 = 0;
}

static void rating_panel_kill() {
    panel_state_write_int(KEY_ERP_ACTIVE_ERP_MODE, quillmar.engine_rating.active_erp_mode);
}

// Go-around automation: armed in the air; a touchdown selects GA, and 16
// seconds later TO.
static void go_around_automation(bool airborne, double time) {
    EngineRatingState& r = quillmar.engine_rating;
    if (airborne) {
        r.ga_arm_state = 2;
    } else if (r.ga_arm_state == 2) {
        select_alone(MODE_GA);
        r.ga_hold_deadline = time + 16;
        r.ga_arm_state = 1;
    }
    if (r.ga_arm_state == 1 && time > r.ga_hold_deadline) {
        select_alone(MODE_TO);
        r.ga_arm_state = 0;
    }
}

// Shows each lamp dark or lit by its rating, or hides both its pictures.
static void show_lamps(GaugeHeader* gauge, bool shown) {
    for (int i = 0; i < 6; ++i) {
        bool lit = *mode_lamps[i] != 0;
        show_element_if(element(gauge, ERP_LAMP_TO + 2 * i), shown && !lit);
        show_element_if(element(gauge, ERP_LAMP_TO + 2 * i + 1), shown && lit);
    }
}

// The lamps are shown or hidden all together.
static bool lamps_shown(GaugeHeader* gauge) {
    return !element_hidden(element(gauge, ERP_LAMP_TO)) ||
           !element_hidden(element(gauge, ERP_LAMP_TO + 1));
}

static void rating_panel_update(GaugeHeader* gauge) {
    EngineRatingState& r = quillmar.engine_rating;
    bool airborne = host_variable_value(&on_ground) == 0;
    double time = host_variable_value(&sim_time);
    go_around_automation(airborne, time);

    switch (static_cast<int>(quillmar.electric.elec_power_state)) {
    case 0:
        // The lamps go out where they are: dark if shown, still hidden after
        // a source transfer.
        all_lamps_off();
        show_lamps(gauge, lamps_shown(gauge));
        quillmar.panels.servo_engaged = 0;
        hide_element(element(gauge, ERP_FLEX_READOUT));
        break;
    case 1:
        hide_element(element(gauge, ERP_FLEX_READOUT));
        show_lamps(gauge, false);
        break;
    case 2:
        show_lamps(gauge, true);
        show_element_if(element(gauge, ERP_FLEX_READOUT), r.erp_flx != 0);
        manage_power(lit_mode(), airborne);
        break;
    default: break;
    }

    show_element_if(element(gauge, ERP_LIT_OVERLAY), panel_lit());
    r.active_erp_mode = lit_mode();
}

static void FS_CALL rating_panel_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: rating_panel_install(); break;
    case SERVICE_UPDATE: rating_panel_update(gauge); break;
    case SERVICE_KILL: rating_panel_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Engine_Rating_Panel, rating_panel_elements, rating_panel_rects, rating_panel_callback);
