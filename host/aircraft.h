// The host's aircraft model: what each host event the cockpit sends does to
// the host variables, and how engines, gear and the pushback tug move from
// frame to frame. Flight variables (airspeed, altitude, attitude, position
// in flight) are left to the scenario, except that while the autopilot is
// engaged in flight it flies pitch, vertical speed, altitude and airspeed
// itself (its altitude hold, vertical speed and pitch hold).
#pragma once

#include <cstdint>

#include "host/variables.h"

struct EngineModel {
    bool lit = false;            // burning fuel
    double starter_time = 0;     // seconds the starter stays engaged after its last event
    double fuel_control = 0;     // 0 (cut off) to 1 (full flow), from the fuel control events
};

struct AircraftModel {
    EngineModel engine[2];
    int pushback_speed_steps = 0;    // each step 0.4 m/s backwards
    int pushback_steer = 0;          // each step 2 degrees a second, + to the right
    double clock_offset = 0;         // seconds added to the clock by the clock setting events
    bool autopilot_flying = false;   // the autopilot flew the last frame
    // The ADF and NAV 1, NAV 2 receivers had a station on the last frame.
    bool adf_received = false, nav_received[2] = {false, false};
    // DME 1 and 2: the last slant distance in nm (-1 without a station), for
    // the speed toward or away from the station.
    double dme_previous_nm[2] = {-1, -1};
    // The altitude in feet (74) and in metres (73) as the last step left
    // them: whichever a script moved since is the one the other follows.
    double altitude_feet_seen = 0, altitude_metres_seen = 0;
};

struct EventInfo {
    uint32_t id;
    const char* name;
};

// The cold-and-dark aircraft (also seeds the variables).
void aircraft_reset(AircraftModel& model, VariableStore& vars);
// Carries out one host event. Returns the event's table entry, or nullptr for
// an id the model does not know (the event then has no effect).
const EventInfo* aircraft_event(AircraftModel& model, VariableStore& vars, uint32_t id, uint32_t value);
// Advances engines, gear, fuel, hydraulics, the tug and the autopilot's
// pitch channel by dt seconds.
void aircraft_step(AircraftModel& model, VariableStore& vars, double dt);
// Sets the clock and date variables for the simulation time in seconds.
void aircraft_clock(const AircraftModel& model, VariableStore& vars, double sim_time);
// The clock in seconds from midnight of the first day, fraction included.
double aircraft_clock_seconds(const AircraftModel& model, double sim_time);

const EventInfo* find_event(uint32_t id);
int event_count();

// Pop-up window idents opened and closed by the panel selector events.
constexpr uint32_t WINDOW_EVENT_FIRST = 0x10173;
constexpr uint32_t WINDOW_EVENT_LAST = 0x10177;
// Variable 908 holds one bit per panel window ident (bit n: the window with
// ident n is open). The windows a panel shows at the start, as a mask.
constexpr uint32_t VAR_OPEN_WINDOWS = 908;
bool window_open(const VariableStore& vars, int ident);
