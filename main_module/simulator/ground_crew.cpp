// Step 11 of the cycle: the ground crew. When the crew asks on the Push &
// Start page for an engine start, or for a pushback followed by the start,
// the ground crew answers over the interphone in a timed exchange of
// messages; for a pushback the tug is driven here until the chosen length
// has been covered.
//
// The request (pushback_command) comes from the Push page: 1 start-up
// without pushback, 2 straight pushback, 3 nose turning right, 4 nose
// turning left. The sequence sets it to 5 when the tug has stopped and to 0
// when the exchange is over. No request, being airborne or a request that
// changed since the last cycle puts the sequence back to its first step.
#include <cmath>

#include "frame/host_ops.h"
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

enum : int32_t {
    REQUEST_NONE = 0,
    REQUEST_STARTUP = 1,
    REQUEST_PUSH_STRAIGHT = 2,
    REQUEST_PUSH_NOSE_RIGHT = 3,
    REQUEST_PUSH_NOSE_LEFT = 4,
    REQUEST_PUSH_FINISHED = 5,
};

// Metres per unit of the host's longitude.
static constexpr double LONGITUDE_METRES = 7.10667098941774e-08;
// The turn of a turning push begins this many metres before its length and
// is taken off once the heading has changed by more than TURN_DEGREES.
static constexpr double TURN_LEAD = 25;
static constexpr double TURN_DEGREES = 80;
static constexpr double DRIVER_PERIOD_TICKS = 18;

// The change of heading since `start`, in degrees 0..180 either way. Across
// north (350 to 10) it is 20, not 340.
static double heading_change(double heading, double start) {
    double change = std::fmod(std::fabs(heading - start), 360.0);
    return change > 180 ? 360 - change : change;
}

// One call of the tug's driver, at most once per 18 ticks: speed up in five
// steps, for a turning push steer from 25 m before the length and
// counter-steer once the nose has swung by 80 degrees, slow down step by step
// once the length is covered, and stop.
static void pushback_driver() {
    CycleState& c = quillmar.cycle;
    int32_t& request = quillmar.panels.pushback_command;
    double latitude = cycle_read(VAR_LATITUDE);
    double longitude = cycle_read(VAR_LONGITUDE);
    double heading = cycle_read(VAR_HEADING);

    if (!c.pushback_started) {
        c.pushback_start_latitude = latitude;
        c.pushback_start_longitude = longitude;
        c.pushback_start_heading = heading;
        send_host_event(EVENT_PUSHBACK_START, 0);
        c.pushback_speed_steps = c.pushback_turn_steps = c.pushback_turn_finished = 0;
        c.pushback_started = 1;
    }
    double a = std::fabs(c.pushback_start_longitude - longitude) * LONGITUDE_METRES;
    double b = std::fabs(c.pushback_start_latitude - latitude);
    double covered = std::sqrt(a * a + b * b);
    double length = quillmar.panels.pb_distance_value;

    if (c.pushback_speed_steps < 5 && !c.pushback_turn_finished) {
        send_host_event(EVENT_PUSHBACK_FASTER, 0);
        ++c.pushback_speed_steps;
    }
    if (c.pushback_turn_steps < 4 && covered > length - TURN_LEAD && !c.pushback_turn_finished) {
        if (request == REQUEST_PUSH_NOSE_RIGHT) {
            send_host_event(EVENT_PUSHBACK_STEER_RIGHT, 0);
            ++c.pushback_turn_steps;
        } else if (request == REQUEST_PUSH_NOSE_LEFT) {
            send_host_event(EVENT_PUSHBACK_STEER_LEFT, 0);
            ++c.pushback_turn_steps;
        }
    }
    if (c.pushback_turn_steps > 0 &&
        heading_change(heading, c.pushback_start_heading) > TURN_DEGREES) {
        if (request == REQUEST_PUSH_NOSE_RIGHT) send_host_event(EVENT_PUSHBACK_STEER_LEFT, 0);
        if (request == REQUEST_PUSH_NOSE_LEFT) send_host_event(EVENT_PUSHBACK_STEER_RIGHT, 0);
        c.pushback_turn_finished = 1;
        --c.pushback_turn_steps;
    }
    if (c.pushback_speed_steps > 1 && c.pushback_turn_steps == 0 && covered >= length) {
        send_host_event(EVENT_PUSHBACK_SLOWER, 0);
        c.pushback_turn_finished = 1;
        --c.pushback_speed_steps;
    }
    if (covered >= length && c.pushback_speed_steps == 1 && c.pushback_turn_steps == 0) {
        send_host_event(EVENT_PUSHBACK_STOP, 0);
        request = REQUEST_PUSH_FINISHED;
    }
}

// The exchange, one step a row: the wait before it (ticks since the last
// message), the message it plays, and the step that follows. Steps 5, 7, 9
// and 12 do more than play (see ground_crew_step).
struct CrewStep {
    double wait;         // more than this many ticks since the step time; -1 none
    SoundSlot message;   // SOUND_NONE: the step plays nothing
    int32_t next;
};

static const CrewStep crew_steps[14] = {
    {-1, SOUND_NONE, 1},        // (no step 0)
    {-1, SOUND_GROUND_01, 2},   // 1 the crew calls the ground
    {29, SOUND_GROUND_02, 3},   // 2 the ground answers; the page closes (13 for a start-up)
    {28, SOUND_GROUND_03, 4},   // 3
    {33, SOUND_GROUND_04, 5},   // 4
    {60, SOUND_GROUND_05, 6},   // 5 once the parking brake is released
    {29, SOUND_GROUND_06, 7},   // 6
    {54, SOUND_NONE, 8},        // 7 the push, until the tug has stopped
    {-1, SOUND_GROUND_07, 9},   // 8
    {60, SOUND_GROUND_08, 10},  // 9 once the parking brake is set
    {92, SOUND_GROUND_09, 11},  // 10
    {42, SOUND_GROUND_10, 12},  // 11
    {96, SOUND_GROUND_11, 12},  // 12 the exchange ends
    {28, SOUND_GROUND_12, 10},  // 13 start-up without pushback
};

static void ground_crew_step(double ticks) {
    CycleState& c = quillmar.cycle;
    int32_t& request = quillmar.panels.pushback_command;
    int32_t step = c.ground_crew_step;
    if (step < 1 || step > 13) step = c.ground_crew_step = 1;
    const CrewStep& s = crew_steps[step];
    if (s.wait >= 0 && !(ticks - c.ground_crew_step_time > s.wait)) return;

    double brake = cycle_read(VAR_PARKING_BRAKE);
    if (step == 5 && brake != 0) return;
    if (step == 9 && brake == 0) return;
    if (step == 7) {
        if (!(ticks > c.pushback_next_call)) return;
        c.pushback_next_call = ticks + DRIVER_PERIOD_TICKS;
        if (request >= REQUEST_PUSH_STRAIGHT && request <= REQUEST_PUSH_NOSE_LEFT) {
            pushback_driver();
        } else if (request == REQUEST_PUSH_FINISHED) {
            c.ground_crew_step_time = ticks;
            c.ground_crew_step = s.next;
        }
        return;
    }

    sound_start(s.message);
    c.ground_crew_step_time = ticks;
    c.ground_crew_step = s.next;
    if (step == 2) {
        send_host_event(EVENT_PUSH_AND_START_WINDOW, 0);
        if (request == REQUEST_STARTUP) c.ground_crew_step = 13;
    }
    if (step == 12) request = REQUEST_NONE;
}

void cycle_ground_crew() {
    CycleState& c = quillmar.cycle;
    int32_t& request = quillmar.panels.pushback_command;
    double ticks = cycle_read(VAR_TICKS);
    bool airborne = cycle_read(VAR_ON_GROUND) == 0;

    if (request == REQUEST_NONE || airborne || request != c.previous_pushback_command) {
        c.pushback_started = 0;
        c.ground_crew_step = 1;
    } else {
        // Once the ground crew has been called, its power unit is gone until
        // the next flight.
        c.ground_crew_busy = 1;
        ground_crew_step(ticks);
    }
    c.previous_pushback_command = request;
}
