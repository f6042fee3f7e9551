#include "host/variables.h"

#include <array>
#include <cstring>

// The cold-and-dark aircraft: parked at a gate 30 m above sea level, on the
// ground with the parking brake set, engines stopped, gear down, flaps up,
// 2.5 t of fuel in the two tanks, radios tuned, clock at 12:00:00 on day 172.
// Angles are degrees, temperatures of the engines degrees Rankine, the
// outside temperature in the host's 1/256 scale (value x 256 = Celsius).
static const VariableInfo VARIABLES[] = {
    {1, "tick", 0, false},
    {2, "ground_elevation", 30 * 256.0, false},
    {3, "clock_hours", 12, false},
    {4, "clock_minutes", 0, false},
    {5, "clock_seconds", 0, false},
    {8, "day_of_year", 172, false},
    {9, "year", 2001, false},
    {10, "panel_lights", 0, false},
    {11, "strobe_lights", 0, false},
    {14, "landing_lights", 0, false},
    {16, "adf_frequency", 0x336, true},          // three BCD digits: 336
    {18, "adf_tenths", 0, true},
    {20, "adf_signal", 0, true},
    {23, "com1_frequency", 0x2150, true},        // 121.50
    {24, "nav1_frequency", 0x1030, true},        // 110.30
    {25, "nav1_bearing", 0, false},              // 16-bit angle units
    {27, "nav2_frequency", 0x1155, true},        // 111.55
    {28, "nav2_bearing", 0, false},
    {31, "dme1_distance", -1, false},
    {32, "dme1_speed", -1, false},
    {35, "dme2_distance", -1, false},
    {36, "dme2_speed", -1, false},
    {38, "transponder_code", 0x2000, true},      // 2000
    {39, "adf_bearing", 0, false},
    {40, "localizer_deviation", 0, false},
    {41, "glideslope_deviation", 0, false},
    {42, "nav1_signal", 0, true},               // receiver flags: positive a signal, bit 1 a localizer
    {43, "nav1_to_from", 1, true},              // 1 to, 2 from
    {44, "glideslope_flag", 0, false},
    {45, "nav1_course", 90, false},
    {50, "nav2_deviation", 0, false},
    {51, "nav2_signal", 0, true},
    {52, "nav2_to_from", 1, true},
    {54, "nav2_course", 90, false},
    {59, "nav2_relative_bearing", 0, false},
    {60, "on_ground", 1, false},
    {61, "airspeed", 0, false},                  // indicated, knots
    {63, "airspeed_limit", 227 * 128.0, false},  // 1/128 knot
    {65, "vertical_speed", 0, false},            // 1/256 m/s
    {70, "lateral_deviation", 0, false},
    {71, "latitude", 0, false},                  // metres north of the gate
    {72, "longitude", 0, false},                 // 1/7.10667e-8 units per metre east
    {73, "altitude_m", 30, false},
    {74, "altitude", 98.4, false},               // feet
    {75, "baro_inhg", 29.92, false},
    {76, "baro_hpa", 1013, false},
    {77, "pitch_raw", 0, false},
    {78, "pitch", 0, false},
    {79, "bank_raw", 0, false},
    {80, "bank", 0, false},
    {81, "heading", 90, false},
    {86, "true_heading", 90, false},
    {103, "autopilot", 0, false},
    {104, "altitude_target", 6000, false},
    {105, "altitude_hold", 0, false},
    {106, "heading_hold", 0, false},
    {107, "selected_heading", 90, false},        // the heading bug
    {108, "localizer_hold", 0, false},
    {111, "glideslope_hold", 0, false},
    {112, "approach_hold", 0, false},
    {113, "backcourse_hold", 0, false},
    {114, "autopilot_button", 0, false},
    {116, "airspeed_target", 0, false},
    {120, "vertical_speed_target", 0, false},
    {128, "power_lever1", 0, false},             // 0 to 16384
    {129, "prop_lever1", 0, false},              // 0 (feather stop) to 16384
    {130, "engine1_running", 0, false},          // 0 stopped; once lit, core speed x 16384 / 100
    {138, "fuel_flow1", 0, false},               // pounds per hour
    {163, "power_lever2", 0, false},
    {164, "prop_lever2", 0, false},
    {165, "engine2_running", 0, false},
    {173, "fuel_flow2", 0, false},
    {303, "fuel_right", 411, false},             // gallons
    {304, "fuel_left", 411, false},
    {306, "fuel_weight", 6.7, false},            // pounds per gallon
    {323, "parking_brake", 1, false},
    {328, "flaps", 0, false},                    // 0 to 16383 in seven positions
    {331, "gear_handle", 16383, false},
    {332, "gear_nose", 16383, false},
    {333, "gear_left", 16383, false},
    {334, "gear_right", 16383, false},
    {350, "outside_temperature", 15 / 256.0, false},
    {351, "g_load", 0, false},
    {354, "marker", 0, true},
    {355, "dme_receiver", 1, true},
    {363, "held_state1", 1, false},
    {364, "held_state2", 1, false},
    {368, "beacon_light", 0, false},
    {369, "taxi_light", 0, false},
    {551, "ground_speed", 0, false},
    {557, "sim_time", 0, false},
    {561, "oil_temperature1", 518.67, false},
    {562, "oil_pressure1", 0, false},
    {571, "oil_temperature2", 518.67, false},
    {572, "oil_pressure2", 0, false},
    {619, "nav_lights", 0, false},
    {620, "logo_light", 0, false},
    {621, "wing_light", 0, false},
    {624, "nh1", 0, false},                      // percent
    {625, "nl1", 0, false},
    {629, "torque1", 0, false},                  // fraction
    {631, "itt1", 518.67, false},
    {643, "nh2", 0, false},
    {644, "nl2", 0, false},
    {648, "torque2", 0, false},
    {650, "itt2", 518.67, false},
    {701, "np1", 0, false},                      // fraction; above 0.5 generating
    {709, "np2", 0, false},
    {732, "hyd_pressure1", 0, false},            // psi x 130
    {733, "hyd_flow1", 0.9, false},
    {734, "hyd_pressure2", 0, false},
    {735, "hyd_flow2", 0.9, false},
    {740, "held_state3", 1, false},
    {783, "elevator_trim", 0, false},
    {785, "aileron_trim", 0, false},
    {787, "rudder_trim", 0, false},
    {792, "flight_director", 0, false},
    {793, "fd_pitch", 0, false},
    {794, "fd_bank", 0, false},
    // States the cockpit sets through events but never reads back.
    {900, "pitot_heat", 0, false},
    {901, "engine_anti_ice", 0, false},
    {902, "tank_selector", 0, false},            // 0 both, 1 left feeds, 2 right feeds
    {903, "controls_locked", 0, false},          // frames the lock events held the controls
    {904, "pushback", 0, false},                 // 1 while the tug pushes
    {905, "nav1_hold", 0, false},
    {907, "fd_mode_knob", 0, false},
    {908, "open_windows", 0, false},             // bit n: pop-up window with ident n is open
};

const VariableInfo* variable_table(int* count) {
    *count = static_cast<int>(sizeof VARIABLES / sizeof VARIABLES[0]);
    return VARIABLES;
}

const VariableInfo* find_variable(uint32_t id) {
    for (const VariableInfo& v : VARIABLES)
        if (v.id == id) return &v;
    return nullptr;
}

std::optional<uint32_t> variable_by_name(std::string_view name) {
    for (const VariableInfo& v : VARIABLES)
        if (name == v.name) return v.id;
    return std::nullopt;
}

void VariableStore::seed() {
    for (const VariableInfo& v : VARIABLES) values[v.id] = v.seed;
}

// Integer delivery by id, built once from the table.
static bool integer_variable(uint32_t id) {
    static const std::array<bool, VARIABLE_LIMIT> integer = [] {
        std::array<bool, VARIABLE_LIMIT> a{};
        for (const VariableInfo& v : VARIABLES) a[v.id] = v.integer;
        return a;
    }();
    return id < VARIABLE_LIMIT && integer[id];
}

void VariableStore::fill(HostVariable* record) const {
    double v = get(record->id);
    if (integer_variable(record->id)) {
        int32_t n = static_cast<int32_t>(v);
        std::memset(&record->value, 0, sizeof record->value);
        std::memcpy(&record->value, &n, sizeof n);
        record->host_type = VARIABLE_TYPE_INT32;
    } else {
        record->value = v;
        record->host_type = VARIABLE_TYPE_DOUBLE;
    }
}
