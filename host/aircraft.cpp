// Every effect of every host event is in the one table EVENTS below; the
// continuous motion (engines, gear legs, fuel burn, hydraulics, the tug) is
// in aircraft_step.
#include "host/aircraft.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double FULL = 16384.0;          // full travel of a lever event
constexpr double GEAR_DOWN = 16383.0;
// The flap handle's seven detents are whole multiples of 2730 with full
// extension at 16383: 0, 2730, 5460, 8190, 10920, 13650, 16383. The cockpit's
// flap dial and its flap motor sounds recognise exactly these values.
constexpr double FLAP_STEP = 2730.0;
constexpr double RANKINE_OFFSET = 491.67;
constexpr double HYD_SCALE = 130.0;       // pressure terms: psi x 130
constexpr double METRES_TO_LONGITUDE = 1.0 / 7.10667098941774e-08;
constexpr double FEET_PER_METRE = 3.280833;   // the cockpit's own factor for heights

using Effect = void (*)(AircraftModel&, VariableStore&, uint32_t value, int arg);

struct EventEntry {
    EventInfo info;
    Effect effect;
    int arg;      // variable id, engine index or step, as the effect needs
};

int32_t as_int(uint32_t value) { return static_cast<int32_t>(value); }

void toggle(AircraftModel&, VariableStore& v, uint32_t, int id) { v.set(id, v.get(id) != 0 ? 0 : 1); }
void set_on(AircraftModel&, VariableStore& v, uint32_t, int id) { v.set(id, 1); }
void set_off(AircraftModel&, VariableStore& v, uint32_t, int id) { v.set(id, 0); }
void set_value(AircraftModel&, VariableStore& v, uint32_t value, int id) { v.set(id, as_int(value)); }
void nothing(AircraftModel&, VariableStore&, uint32_t, int) {}

void starter(AircraftModel& m, VariableStore&, uint32_t, int engine) { m.engine[engine].starter_time = 0.5; }
void fuel_control(AircraftModel& m, VariableStore&, uint32_t value, int engine) {
    m.engine[engine].fuel_control = std::clamp(as_int(value) / FULL, 0.0, 1.0);
}

void flaps_step(AircraftModel&, VariableStore& v, uint32_t, int step) {
    int position = static_cast<int>(std::lround(v.get(328) / FLAP_STEP)) + step;
    position = std::clamp(position, 0, 6);
    v.set(328, position == 6 ? GEAR_DOWN : position * FLAP_STEP);
}

void gear_set(AircraftModel&, VariableStore& v, uint32_t, int down) { v.set(331, down ? GEAR_DOWN : 0); }
void gear_toggle(AircraftModel&, VariableStore& v, uint32_t, int) { v.set(331, v.get(331) != 0 ? 0 : GEAR_DOWN); }

void step_value(AircraftModel&, VariableStore& v, uint32_t, int packed) {
    // packed: variable id * 1000 + step + 500 (steps of -500..499)
    v.set(packed / 1000, v.get(packed / 1000) + (packed % 1000 - 500));
}
void step_angle(AircraftModel&, VariableStore& v, uint32_t, int packed) {
    int id = packed / 1000;
    double a = std::fmod(v.get(id) + (packed % 1000 - 500) + 360.0, 360.0);
    v.set(id, a);
}
void trim(AircraftModel&, VariableStore& v, uint32_t, int packed) {
    int id = packed / 10;
    double step = packed % 10 == 1 ? 0.01 : -0.01;
    v.set(id, std::clamp(v.get(id) + step, -1.0, 1.0));
}

void clock_step(AircraftModel& m, VariableStore&, uint32_t, int seconds) { m.clock_offset += seconds; }

void baro(AircraftModel&, VariableStore& v, uint32_t, int up) {
    double inhg = std::clamp(v.get(75) + (up ? 0.01 : -0.01), 28.0, 31.0);
    v.set(75, std::round(inhg * 100) / 100);
    v.set(76, std::round(inhg * 33.8639));
}

void adf_frequency(AircraftModel&, VariableStore& v, uint32_t value, int) { v.set(16, value & 0xFFF); }

void approach(AircraftModel&, VariableStore& v, uint32_t, int on) {
    v.set(112, on);
    v.set(111, on && v.get(44) == 1 ? 1 : 0);
}

void autopilot_off(AircraftModel&, VariableStore& v, uint32_t, int) {
    v.set(103, 0);
    v.set(114, 0);
}

void fd_commands_centred(AircraftModel&, VariableStore& v, uint32_t, int) {
    v.set(793, 0);
    v.set(794, 0);
}

void window_toggle(AircraftModel&, VariableStore& v, uint32_t, int ident) {
    uint32_t open = static_cast<uint32_t>(v.get(VAR_OPEN_WINDOWS)) ^ (1u << ident);
    v.set(VAR_OPEN_WINDOWS, open);
}

void tank_select(AircraftModel&, VariableStore& v, uint32_t, int selection) { v.set(902, selection); }

void dme_select(AircraftModel&, VariableStore& v, uint32_t, int receiver) { v.set(355, receiver); }

void pushback_start(AircraftModel& m, VariableStore& v, uint32_t, int) {
    v.set(904, 1);
    m.pushback_speed_steps = 0;
    m.pushback_steer = 0;
}
void pushback_stop(AircraftModel& m, VariableStore& v, uint32_t, int) {
    v.set(904, 0);
    m.pushback_speed_steps = 0;
    m.pushback_steer = 0;
    v.set(551, 0);
}
void pushback_speed(AircraftModel& m, VariableStore&, uint32_t, int step) {
    m.pushback_speed_steps = std::clamp(m.pushback_speed_steps + step, 0, 5);
}
void pushback_steer(AircraftModel& m, VariableStore&, uint32_t, int step) {
    m.pushback_steer = std::clamp(m.pushback_steer + step, -4, 4);
}
void controls_lock(AircraftModel&, VariableStore& v, uint32_t, int) { v.set(903, v.get(903) + 1); }

#define PACK(id, step) ((id) * 1000 + (step) + 500)

// Event id, name for traces, effect, argument. Values are 0 unless the
// effect says it uses them.
const EventEntry EVENTS[] = {
    {{0x10018, "strobe_lights_toggle"}, toggle, 11},
    {{0x10022, "gear_toggle"}, gear_toggle, 0},
    {{0x1002C, "autopilot_toggle"}, toggle, 103},
    {{0x10079, "clock_hours_dec"}, clock_step, -3600},
    {{0x1007A, "clock_hours_inc"}, clock_step, 3600},
    {{0x1007B, "clock_minutes_dec"}, clock_step, -60},
    {{0x1007C, "clock_minutes_inc"}, clock_step, 60},
    {{0x1007E, "heading_bug_dec"}, step_angle, PACK(107, -1)},
    {{0x1007F, "heading_bug_inc"}, step_angle, PACK(107, 1)},
    {{0x10080, "course_dec"}, step_angle, PACK(45, -1)},
    {{0x10081, "course_inc"}, step_angle, PACK(45, 1)},
    {{0x1009E, "controls_lock_elevator"}, controls_lock, 0},
    {{0x1009F, "controls_lock_aileron"}, controls_lock, 0},
    {{0x100AB, "com1_set"}, set_value, 23},
    {{0x100AC, "nav1_set"}, set_value, 24},
    {{0x100AD, "nav2_set"}, set_value, 27},
    {{0x100B2, "adf_set"}, adf_frequency, 0},
    {{0x100B3, "transponder_set"}, set_value, 38},
    {{0x100C0, "backcourse_hold_toggle"}, toggle, 113},
    {{0x100C2, "pushback_stop"}, pushback_stop, 0},
    {{0x100C3, "pushback_start"}, pushback_start, 0},
    {{0x100CB, "pushback_slower"}, pushback_speed, -1},
    {{0x100D0, "pushback_steer_left"}, pushback_steer, -1},
    {{0x100D1, "pushback_faster"}, pushback_speed, 1},
    {{0x100D2, "pushback_steer_right"}, pushback_steer, 1},
    {{0x100D7, "landing_lights_toggle"}, toggle, 14},
    {{0x100DE, "flaps_extend_step"}, flaps_step, 1},
    {{0x100DF, "flaps_retract_step"}, flaps_step, -1},
    {{0x100E0, "flaps_positions"}, nothing, 0},     // the handle has seven positions already
    {{0x100FB, "dme1_select"}, dme_select, 1},
    {{0x100FC, "dme2_select"}, dme_select, 2},
    {{0x100FF, "autopilot_off"}, set_off, 103},
    {{0x10101, "autopilot_button"}, toggle, 114},
    {{0x10106, "heading_hold_toggle"}, toggle, 106},
    {{0x1010D, "localizer_hold_on"}, set_on, 108},
    {{0x1010E, "approach_hold_on"}, approach, 1},
    {{0x10113, "nav1_hold_on"}, set_on, 905},
    {{0x10115, "localizer_hold_off"}, set_off, 108},
    {{0x10116, "approach_hold_off"}, approach, 0},
    {{0x10117, "heading_hold_off"}, set_off, 106},
    {{0x1011A, "backcourse_hold_off"}, set_off, 113},
    {{0x1011B, "nav1_hold_off"}, set_off, 905},
    {{0x1011C, "power_lever1"}, set_value, 128},
    {{0x1011D, "power_lever2"}, set_value, 163},
    {{0x10157, "fd_knob_inc"}, step_value, PACK(907, 1)},
    {{0x10158, "fd_knob_dec"}, step_value, PACK(907, -1)},
    {{0x1015B, "baro_inc"}, baro, 1},
    {{0x1015C, "baro_dec"}, baro, 0},
    {{0x10166, "vertical_speed_inc"}, step_value, PACK(120, 100)},
    {{0x10167, "vertical_speed_dec"}, step_value, PACK(120, -100)},
    {{0x10173, "window_overhead"}, window_toggle, 1},
    {{0x10174, "window_pedestal"}, window_toggle, 2},
    {{0x10175, "window_checklist"}, window_toggle, 3},
    {{0x10176, "window_push_and_start"}, window_toggle, 4},
    {{0x10177, "window_options"}, window_toggle, 5},
    {{0x1017F, "fuel_control1"}, fuel_control, 0},
    {{0x10180, "fuel_control2"}, fuel_control, 1},
    {{0x10183, "prop_lever1"}, set_value, 129},
    {{0x10184, "prop_lever2"}, set_value, 164},
    {{0x101A4, "tanks_both"}, tank_select, 0},
    {{0x101A5, "tank_left_feeds"}, tank_select, 1},
    {{0x101A6, "tank_right_feeds"}, tank_select, 2},
    {{0x101ED, "engine_anti_ice_off"}, set_off, 901},
    {{0x101EE, "engine_anti_ice_on"}, set_on, 901},
    {{0x101F4, "vertical_speed_set"}, set_value, 120},
    {{0x101F5, "airspeed_set"}, set_value, 116},
    {{0x101FF, "adf_tenths_set"}, set_value, 18},
    {{0x10208, "panel_lights_on"}, set_on, 10},
    {{0x10209, "panel_lights_off"}, set_off, 10},
    {{0x10216, "autopilot_unpowered"}, autopilot_off, 0},
    {{0x10218, "pitot_heat_on"}, set_on, 900},
    {{0x10219, "pitot_heat_off"}, set_off, 900},
    {{0x1021F, "gear_up"}, gear_set, 0},
    {{0x10220, "gear_down"}, gear_set, 1},
    {{0x10237, "altitude_hold_on"}, set_on, 105},
    {{0x10238, "altitude_hold_off"}, set_off, 105},
    {{0x10244, "attitude_hold_off"}, fd_commands_centred, 0},
    {{0x1024C, "altitude_set"}, set_value, 104},
    {{0x102BF, "beacon_toggle"}, toggle, 368},
    {{0x102C0, "taxi_light_toggle"}, toggle, 369},
    {{0x102C1, "held_state2_on"}, set_on, 364},
    {{0x102C2, "held_state1_on"}, set_on, 363},
    {{0x102E4, "aileron_trim_left"}, trim, 7850},
    {{0x102E5, "aileron_trim_right"}, trim, 7851},
    {{0x102E6, "rudder_trim_left"}, trim, 7870},
    {{0x102E7, "rudder_trim_right"}, trim, 7871},
    {{0x102F0, "flight_director_toggle"}, toggle, 792},
    {{0x102F5, "held_state3_on"}, set_on, 740},
    {{0x102FC, "starter1"}, starter, 0},
    {{0x102FD, "starter2"}, starter, 1},
    {{0x10348, "logo_light_toggle"}, toggle, 620},
    {{0x1034A, "wing_light_toggle"}, toggle, 621},
    {{0x1034B, "nav_lights_toggle"}, toggle, 619},
};

const EventEntry* find_entry(uint32_t id) {
    const EventEntry* end = EVENTS + sizeof EVENTS / sizeof EVENTS[0];
    const EventEntry* e = std::lower_bound(EVENTS, end, id,
                                           [](const EventEntry& a, uint32_t b) { return a.info.id < b; });
    return e != end && e->info.id == id ? e : nullptr;
}

// First-order approach of x to target with time constant tau seconds.
double approach_value(double x, double target, double tau, double dt) {
    return x + (target - x) * std::min(1.0, dt / tau);
}

double move_toward(double x, double target, double rate, double dt) {
    double step = rate * dt;
    if (x < target) return std::min(target, x + step);
    return std::max(target, x - step);
}

// An engine: a gas generator (the core, Nh) cranked by its starter and lit
// by fuel once it turns fast enough, and a free turbine driving the
// propeller (Np), whose governor holds the speed the propeller lever sets
// (fully back is the feather stop). The power lever asks for torque; below
// zero it is in the reverse range. Temperatures are degrees Rankine as the
// host delivers them.
constexpr double LIGHT_OFF_NH = 12;            // percent core speed at which the fuel lights
constexpr double CRANK_NH = 25;                // the starter alone turns the core this fast
constexpr double CRANK_RATE = 2.5;             // percent a second
constexpr double ASSISTED_RATE = 3.0;          // starter and combustion below self-sustaining speed
constexpr double HUNG_DECAY = 1.5;             // a lit core below self-sustaining speed without starter
constexpr double SELF_SUSTAINING_NH = 45;
constexpr double GROUND_IDLE_NH = 70;          // what the fuel control holds from the idle gate forward
constexpr double RUNNING_FULL = 16384;         // running state at 100 % core speed
constexpr double GOVERNOR_RANGE = 1.05;        // propeller speed fraction at the lever's full travel

double celsius_to_rankine(double c) { return c * 1.8 + RANKINE_OFFSET; }
double rankine_to_celsius(double r) { return (r - RANKINE_OFFSET) / 1.8; }

// Every value the model moves goes through drive(): a variable the script
// pinned keeps its value, and what follows from it is computed from the
// pinned value.
void step_engine(EngineModel& e, VariableStore& v, int index, double dt) {
    static const int NH[] = {624, 643}, NL[] = {625, 644}, NP[] = {701, 709}, TQ[] = {629, 648},
                     ITT[] = {631, 650}, OILP[] = {562, 572}, OILT[] = {561, 571}, FF[] = {138, 173},
                     RUN[] = {130, 165}, POWER[] = {128, 163}, PROP[] = {129, 164},
                     HYD_P[] = {732, 734}, TANK[] = {304, 303};
    bool starter = e.starter_time > 0;
    e.starter_time = std::max(0.0, e.starter_time - dt);
    double nh = v.get(NH[index]);
    bool fuel = e.fuel_control > 0 && (v.get(TANK[index]) > 0 || v.get(TANK[1 - index]) > 0);

    if (!fuel) e.lit = false;
    else if (!e.lit && nh >= LIGHT_OFF_NH) e.lit = true;     // light-off

    double power = std::clamp(v.get(POWER[index]) / FULL, -1.0, 1.0);
    double prop = std::clamp(v.get(PROP[index]) / FULL, 0.0, 1.0);

    // Core: cranked, accelerated through light-off, then governed: ground
    // idle wherever the fuel control lever stands from the idle gate
    // forward, more as the power lever asks for power or reverse.
    if (e.lit) {
        double target = GROUND_IDLE_NH + 30 * std::max(power, 0.0) + 20 * std::max(-power, 0.0);
        if (nh < SELF_SUSTAINING_NH) nh += (starter ? ASSISTED_RATE : -HUNG_DECAY) * dt;
        else nh = approach_value(nh, target, 2.5, dt);
    } else if (starter) {
        nh = move_toward(nh, CRANK_NH, CRANK_RATE, dt);
    } else {
        nh = move_toward(nh, 0, std::max(3.0, 0.25 * nh), dt);
    }
    nh = v.drive(NH[index], std::max(nh, 0.0));
    v.drive(NL[index], nh * 0.95);
    v.drive(RUN[index], e.lit ? nh / 100 * RUNNING_FULL : 0);

    // Propeller: the governor's speed, as far as the power turbine (or the
    // airstream, unfeathered in flight) can turn it.
    double governed = prop * GOVERNOR_RANGE;
    double turbine = e.lit ? std::clamp((nh - 40) / 25, 0.0, 1.0) * GOVERNOR_RANGE : 0;
    bool airborne = v.get(60) == 0;
    double windmill = airborne && prop > 0.05 ? std::min(v.get(61) / 250, 0.9) : 0;
    double np = approach_value(v.get(NP[index]), std::min(governed, std::max(turbine, windmill)), 1.2, dt);
    if (np < 0.001) np = 0;
    np = v.drive(NP[index], np);

    // Torque asked for by the power lever, as far as the propeller takes it:
    // 5 % at idle, 81 % at 80 % of the travel, 115 % fully forward.
    double asked = power >= 0 ? 0.05 + 0.95 * power + 0.75 * std::max(power - 0.8, 0.0)
                              : -1.2 * -power;
    double torque = e.lit ? asked * std::min(1.0, np / 0.7) : 0;
    torque = v.drive(TQ[index], approach_value(v.get(TQ[index]), torque, 1.0, dt));

    double oat = v.get(350) * 256;
    double itt_target = oat;
    if (e.lit) itt_target = nh < 50 ? 720 : 480 + 320 * std::fabs(torque);   // hot through the start
    double itt = rankine_to_celsius(v.get(ITT[index]));
    itt = approach_value(itt, itt_target, itt_target > itt ? 2.0 : 6.0, dt);
    double oil_pressure = e.lit ? 14000 + 100 * nh : 150 * nh;
    double oil_temperature = oat + (e.lit ? 45 + 0.3 * nh : 0);
    double flow = e.lit ? 300 + 1500 * std::fabs(torque) : 0;

    v.drive(ITT[index], celsius_to_rankine(itt));
    v.drive(OILP[index], approach_value(v.get(OILP[index]), oil_pressure, 2.0, dt));
    v.drive(OILT[index], celsius_to_rankine(approach_value(rankine_to_celsius(v.get(OILT[index])),
                                                           oil_temperature, 60.0, dt)));
    flow = v.drive(FF[index], flow);
    bool running = e.lit && nh >= 60;
    v.drive(HYD_P[index], approach_value(v.get(HYD_P[index]), running ? 3000 * HYD_SCALE : 0, 1.0, dt));

    // Burn: the selected tank feeds (both tanks feed their own engines by default).
    double gallons = flow / std::max(1.0, v.get(306)) / 3600 * dt;
    int selector = static_cast<int>(v.get(902));
    int tank = selector == 1 ? 304 : selector == 2 ? 303 : TANK[index];
    v.drive(tank, std::max(0.0, v.get(tank) - gallons));
}

void step_gear(VariableStore& v, double dt) {
    bool down = v.get(331) != 0;
    bool airborne = v.get(60) == 0;
    static const int LEGS[] = {332, 333, 334};
    static const double SECONDS[] = {5.0, 6.0, 6.0};
    for (int i = 0; i < 3; ++i) {
        double target = down || !airborne ? GEAR_DOWN : 0;
        v.drive(LEGS[i], move_toward(v.get(LEGS[i]), target, GEAR_DOWN / SECONDS[i], dt));
    }
}

void step_pushback(AircraftModel& m, VariableStore& v, double dt) {
    if (v.get(904) == 0) return;
    double speed = 0.4 * m.pushback_speed_steps;             // metres a second, backwards
    double heading = v.get(86) + 2.0 * m.pushback_steer * dt * (speed > 0 ? 1 : 0);
    heading = v.drive(86, std::fmod(heading + 360.0, 360.0));
    double rad = heading * std::numbers::pi / 180;
    v.drive(71, v.get(71) - std::cos(rad) * speed * dt);
    v.drive(72, v.get(72) - std::sin(rad) * speed * dt * METRES_TO_LONGITUDE);
    v.drive(81, heading);
    v.drive(551, speed * 1.943844);
}

// ------------------------------------------------ the autopilot's pitch channel
//
// While the autopilot is engaged in flight it flies the aircraft's motion in
// the vertical plane. Its altitude hold (105) flies the vertical speed
// target (120, feet a minute) until the altitude target (104) comes up,
// then levels off there; a target of 0 feet a minute holds the altitude
// target, and a vertical speed away from the target never reaches it (so a
// target of 0 feet with a climb is a pure vertical speed mode). Without the
// altitude hold it holds the pitch attitude. The nose follows its target at
// a limited rate; the flight path is the pitch less the angle of attack the
// speed needs; the airspeed follows thrust (the engines' torque), drag and
// the climb. The flight director shows the pitch the autopilot wants.

constexpr double G_KNOTS = 19.063;             // one g in knots a second
constexpr double KNOTS_TO_FPS = 1.68781;
constexpr double FPS_TO_VSI = 0.3048 * 256;    // vertical speed variable: 1/256 m/s
constexpr double LEVEL_GAIN = 8;               // feet a minute per foot from the target
constexpr double LEVEL_RATE = 1500;            // feet a minute at most while holding
constexpr double MAX_PATH_SINE = 0.35;         // steepest flight path
constexpr double PITCH_TIME = 1.0;             // seconds for the nose to follow its target
constexpr double PITCH_RATE = 3;               // degrees a second at most
constexpr double PITCH_UP_LIMIT = 20, PITCH_DOWN_LIMIT = -15;
constexpr double THRUST = 4.0;                 // knots a second at full torque on both engines
constexpr double DRAG = 3.2;                   // knots a second at DRAG_SPEED
constexpr double DRAG_SPEED = 250;
constexpr double MIN_FLYING_SPEED = 80;        // the sums take at least this speed

// Angle of attack (degrees) that level flight needs at a speed.
double angle_of_attack(double knots) {
    return std::min(12.0, 2.0 * std::pow(200.0 / std::max(knots, MIN_FLYING_SPEED), 2));
}

// The vertical speed (feet a minute) the altitude hold asks for.
double altitude_hold_rate(double altitude, double target, double commanded) {
    double to_go = target - altitude;
    double level = to_go * LEVEL_GAIN;
    if (commanded == 0) return std::clamp(level, -LEVEL_RATE, LEVEL_RATE);
    if (commanded * to_go > 0) return std::copysign(std::min(std::abs(commanded), std::abs(level)), commanded);
    return commanded;
}

void step_autopilot_pitch(AircraftModel& m, VariableStore& v, double dt) {
    if (v.get(60) != 0 || v.get(103) == 0) {
        m.autopilot_flying = false;
        return;
    }
    double knots = v.get(61);
    double speed = std::max(knots, MIN_FLYING_SPEED) * KNOTS_TO_FPS;   // feet a second
    double pitch = -v.get(78);                                          // degrees, nose up
    double path_sine = [&] {
        double climb = v.get(65) / FPS_TO_VSI;
        return std::clamp(climb / speed, -MAX_PATH_SINE, MAX_PATH_SINE);
    }();
    // Engaging keeps the flight path the aircraft is on.
    if (!m.autopilot_flying) pitch = std::asin(path_sine) * 180 / std::numbers::pi + angle_of_attack(knots);
    m.autopilot_flying = true;

    double pitch_target = pitch;
    if (v.get(105) != 0) {
        double rate = altitude_hold_rate(v.get(74), v.get(104), v.get(120));
        double sine = std::clamp(rate / 60 / speed, -MAX_PATH_SINE, MAX_PATH_SINE);
        pitch_target = std::asin(sine) * 180 / std::numbers::pi + angle_of_attack(knots);
    }
    double turn = (pitch_target - pitch) * std::min(1.0, dt / PITCH_TIME);
    pitch += std::clamp(turn, -PITCH_RATE * dt, PITCH_RATE * dt);
    pitch = std::clamp(pitch, PITCH_DOWN_LIMIT, PITCH_UP_LIMIT);

    double path = (pitch - angle_of_attack(knots)) * std::numbers::pi / 180;
    double climb = speed * std::sin(path);                               // feet a second
    double torque = (v.get(629) + v.get(648)) / 2;
    double accel = THRUST * torque - DRAG * std::pow(knots / DRAG_SPEED, 2) - G_KNOTS * std::sin(path);
    double altitude = v.get(74) + climb * dt;

    v.set(61, std::max(0.0, knots + accel * dt));
    v.set(65, climb * FPS_TO_VSI);
    v.set(74, altitude);
    v.set(73, altitude * 0.3048);
    v.set(78, -pitch);
    v.set(77, -pitch);
    v.set(793, -pitch_target);
    v.set(794, v.get(80));
}

// ------------------------------------------------ radio navigation
//
// The beacons and VOR/DME stations around the gate. The receivers find a
// station by the frequency they are tuned to; within its range they report
// the signal, the bearings and (with a DME) the slant distance and the
// speed toward or away from it. Bearings are true, from the host's position
// (latitude: metres north of the gate; longitude: METRES_TO_LONGITUDE units
// a metre east) and heading (variable 81).

enum StationKind { NDB, VOR };

struct Station {
    const char* ident;
    StationKind kind;
    int frequency;        // NDB: tenths of a kHz (3360 = 336.0); VOR: hundredths of a MHz (11030)
    double north_m, east_m;
    double range_nm;
    bool dme;
};

const Station STATIONS[] = {
    {"QL", NDB, 3360, 14000, 0, 50, false},           // the locator due north of the gate
    {"QM", NDB, 3750, -9000, 21000, 50, false},
    {"QS", NDB, 4125, 30000, -30000, 80, false},
    {"QVR", VOR, 11230, 8000, 25000, 120, true},
    {"QNE", VOR, 11455, -40000, -20000, 120, true},
    {"QNT", VOR, 11555, 60000, 3000, 150, true},      // on the NAV heads' standby frequency
    {"QWB", VOR, 11380, 15000, -45000, 120, false},   // a VOR without DME
};

constexpr double METRES_PER_NM = 1852.0;
constexpr double FEET_TO_METRES = 0.3048;
constexpr double ADF_FULL_SIGNAL = 10000;             // right over the beacon
constexpr double ADF_NO_SIGNAL_BEARING = 90;          // the needle parks across
constexpr double ANGLE_UNITS_PER_DEGREE = 65536.0 / 360.0;

int bcd_digit(int word, int digit) { return (word >> (4 * digit)) & 0xF; }

const Station* tuned_station(StationKind kind, int frequency) {
    for (const Station& s : STATIONS)
        if (s.kind == kind && s.frequency == frequency) return &s;
    return nullptr;
}

// Angles in (-180, 180]. By the remainder, not by turns taken off one at a
// time, so that a script's 1e300 ends at once (NaN and infinity give NaN).
double signed_angle(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    if (degrees > 180) degrees -= 360;
    else if (degrees <= -180) degrees += 360;
    return degrees;
}

struct StationFix {
    bool received = false;
    double bearing = 0;      // true bearing from the aircraft to the station
    double slant_nm = 0;
    double ground_nm = 0;
};

StationFix fix_station(const Station* s, const VariableStore& v) {
    StationFix f;
    if (!s) return f;
    double north = s->north_m - v.get(71);
    double east = s->east_m - v.get(72) / METRES_TO_LONGITUDE;
    double ground = std::hypot(north, east);
    double height = v.get(74) * FEET_TO_METRES;
    f.ground_nm = ground / METRES_PER_NM;
    f.slant_nm = std::hypot(ground, height) / METRES_PER_NM;
    f.received = f.ground_nm <= s->range_nm;
    f.bearing = std::atan2(east, north) * 180 / std::numbers::pi;
    return f;
}

// A NAV receiver: signal, radial from the station, relative bearing, DME.
struct NavReceiver {
    int frequency_id, signal_id, radial_id, relative_id, distance_id, speed_id;
};
const NavReceiver NAV_RECEIVERS[2] = {
    {24, 42, 25, 0, 31, 32},
    {27, 51, 28, 59, 35, 36},
};

// A receiver's outputs follow its station while it has one; losing it (tuned
// away, out of range) clears them once, and from then on they are left as
// the script sets them. A variable the script holds keeps its value.
void step_radio_navigation(AircraftModel& m, VariableStore& v, double dt) {
    double heading = v.get(81);

    int adf = static_cast<int>(v.get(16));
    int adf_frequency = bcd_digit(adf, 2) * 1000 + bcd_digit(adf, 1) * 100 + bcd_digit(adf, 0) * 10 +
                        static_cast<int>(v.get(18));
    const Station* ndb = tuned_station(NDB, adf_frequency);
    StationFix beacon = fix_station(ndb, v);
    if (beacon.received) {
        v.drive(20, std::lround(ADF_FULL_SIGNAL * (1 - beacon.ground_nm / ndb->range_nm)));
        v.drive(39, signed_angle(beacon.bearing - heading));
    } else if (m.adf_received) {
        v.drive(20, 0);
        v.drive(39, ADF_NO_SIGNAL_BEARING);
    }
    m.adf_received = beacon.received;

    for (int r = 0; r < 2; ++r) {
        const NavReceiver& rx = NAV_RECEIVERS[r];
        int word = static_cast<int>(v.get(rx.frequency_id));
        int frequency = 10000 + bcd_digit(word, 3) * 1000 + bcd_digit(word, 2) * 100 + bcd_digit(word, 1) * 10 +
                        bcd_digit(word, 0);
        const Station* vor = tuned_station(VOR, frequency);
        StationFix station = fix_station(vor, v);
        double& previous = m.dme_previous_nm[r];
        if (station.received) {
            double radial = std::fmod(station.bearing + 180 + 360, 360);
            v.drive(rx.signal_id, 1);
            v.drive(rx.radial_id, radial * ANGLE_UNITS_PER_DEGREE);
            if (rx.relative_id) v.drive(rx.relative_id, signed_angle(station.bearing - heading));
        } else if (m.nav_received[r]) {
            v.drive(rx.signal_id, 0);
        }
        if (station.received && vor->dme) {
            double speed = previous >= 0 && dt > 0 ? std::fabs(station.slant_nm - previous) / dt * 3600 : 0;
            v.drive(rx.distance_id, std::round(station.slant_nm * 100) / 100);
            v.drive(rx.speed_id, std::round(speed * 10) / 10);
            previous = station.slant_nm;
        } else if (previous >= 0) {
            v.drive(rx.distance_id, -1);
            v.drive(rx.speed_id, -1);
            previous = -1;
        }
        m.nav_received[r] = station.received;
    }
}

// One altitude in two units: the one a script set or ramped since the last
// step wins (metres when both moved), the other follows it. The radio height
// is then altitude less ground elevation in either unit. The model's own
// moves (the autopilot's) set both and are taken as seen at the end of the
// step.
void reconcile_altitude(const AircraftModel& m, VariableStore& v) {
    double feet = v.get(74), metres = v.get(73);
    if (metres != m.altitude_metres_seen) v.set(74, metres * FEET_PER_METRE);
    else if (feet != m.altitude_feet_seen) v.set(73, feet / FEET_PER_METRE);
}

void note_altitude(AircraftModel& m, const VariableStore& v) {
    m.altitude_feet_seen = v.get(74);
    m.altitude_metres_seen = v.get(73);
}

}  // namespace

void aircraft_reset(AircraftModel& model, VariableStore& vars) {
    model = AircraftModel{};
    vars.seed();
    model.altitude_feet_seen = vars.get(74);
    model.altitude_metres_seen = vars.get(73);
}

bool window_open(const VariableStore& vars, int ident) {
    if (ident < 0 || ident > 31) return true;   // no ident: not a window the events reach
    return (static_cast<uint32_t>(vars.get(VAR_OPEN_WINDOWS)) >> ident) & 1u;
}

const EventInfo* aircraft_event(AircraftModel& model, VariableStore& vars, uint32_t id, uint32_t value) {
    const EventEntry* e = find_entry(id);
    if (!e) return nullptr;
    e->effect(model, vars, value, e->arg);
    return &e->info;
}

void aircraft_step(AircraftModel& model, VariableStore& vars, double dt) {
    reconcile_altitude(model, vars);
    for (int i = 0; i < 2; ++i) step_engine(model.engine[i], vars, i, dt);
    step_gear(vars, dt);
    step_pushback(model, vars, dt);
    step_autopilot_pitch(model, vars, dt);
    step_radio_navigation(model, vars, dt);
    note_altitude(model, vars);
}

double aircraft_clock_seconds(const AircraftModel& model, double sim_time) {
    return 12 * 3600 + sim_time + model.clock_offset;
}

void aircraft_clock(const AircraftModel& model, VariableStore& vars, double sim_time) {
    double seconds = aircraft_clock_seconds(model, sim_time);
    double days = std::floor(seconds / 86400);
    double of_day = seconds - days * 86400;
    vars.set(3, std::floor(of_day / 3600));
    vars.set(4, std::floor(std::fmod(of_day, 3600) / 60));
    vars.set(5, std::floor(std::fmod(of_day, 60)));
    vars.set(8, std::fmod(172 - 1 + days + 365 * 4, 365) + 1);
}

const EventInfo* find_event(uint32_t id) {
    const EventEntry* e = find_entry(id);
    return e ? &e->info : nullptr;
}

int event_count() { return static_cast<int>(sizeof EVENTS / sizeof EVENTS[0]); }
