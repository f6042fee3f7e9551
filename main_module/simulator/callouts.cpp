// Step 17 of the cycle: the flap motor, then the other crew member's
// standard calls: engine start progress, the take-off calls, the height
// calls on approach, the gear-down call and the minimums call.
//
// Each call plays once when its condition is met and is then latched until
// its re-arming condition is met. Install leaves every latch set (and the
// start calls disarmed), so nothing is called before its re-arming
// condition has been met once. Calls are never stopped or queued; they may
// overlap each other and every other sound.
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

static constexpr double GEAR_DOWN = 16383;

// The flap handle's seven detents, each with the motor sound of running to it.
struct FlapDetent {
    int32_t handle;
    SoundSlot sound;
};
static const FlapDetent flap_detents[] = {
    {0, SOUND_FLAPS_1},     {2730, SOUND_FLAPS_2},  {5460, SOUND_FLAPS_3},
    {8190, SOUND_FLAPS_4},  {10920, SOUND_FLAPS_5}, {13650, SOUND_FLAPS_6},
    {16383, SOUND_FLAPS_7},
};

// The motor runs when the handle moves with hydraulic pressure to drive the
// flaps; a handle between detents makes no sound.
static void flap_motor_sound() {
    CycleState& c = quillmar.cycle;
    double handle = cycle_read(VAR_FLAPS_HANDLE);
    if (quillmar.systems.hyd_pressure > 2500 && handle != c.previous_flaps_handle) {
        int32_t detent = static_cast<int32_t>(handle);
        for (const FlapDetent& d : flap_detents)
            if (d.handle == detent) sound_start(d.sound);
    }
    c.previous_flaps_handle = handle;
}

// Height above the ground in feet.
static double height_above_ground() {
    return cycle_read(VAR_ALTITUDE_METRES) * 3.280833 -
           cycle_read(VAR_GROUND_ELEVATION) * 0.0128157;
}

// Play a call unless its latch holds it back; the latch then holds it.
static void call_once(int32_t& latch, SoundSlot call) {
    if (latch) return;
    sound_start(call);
    latch = 1;
}

// Light-up and stabilised calls of each engine while a start is in progress.
static void engine_start_calls() {
    CycleState& c = quillmar.cycle;
    double core1 = cycle_read(VAR_CORE_SPEED_1);
    double core2 = cycle_read(VAR_CORE_SPEED_2);
    if (c.start_calls_armed) {
        if (core1 > 20) call_once(c.start_call_latches[0], SOUND_ENGINE_START_CALLOUT_1);
        if (core1 > 66) call_once(c.start_call_latches[1], SOUND_ENGINE_START_CALLOUT_3);
        if (core2 > 20) call_once(c.start_call_latches[2], SOUND_ENGINE_START_CALLOUT_2);
        if (core2 > 66) call_once(c.start_call_latches[3], SOUND_ENGINE_START_CALLOUT_4);
        if (core1 > 66 && core2 > 66) c.start_calls_armed = 0;
    }
    // A start requested while an engine stands still calls that engine again.
    if (quillmar.panels.start_request == 0) return;
    if (cycle_read(VAR_ENGINE_RUNNING_1) == 0) {
        c.start_calls_armed = 1;
        c.start_call_latches[0] = c.start_call_latches[1] = 0;
    }
    if (cycle_read(VAR_ENGINE_RUNNING_2) == 0) {
        c.start_calls_armed = 1;
        c.start_call_latches[2] = c.start_call_latches[3] = 0;
    }
}

// Take-off power set, 80 knots, V1, positive climb, gear up.
static void takeoff_calls() {
    int32_t* latch = quillmar.cycle.takeoff_latches;
    bool on_ground = cycle_read(VAR_ON_GROUND) != 0;
    if (on_ground) {
        double torque1 = cycle_read(VAR_TORQUE_1), torque2 = cycle_read(VAR_TORQUE_2);
        double setting = quillmar.panels.torque_target;
        if (torque1 < 0.2 && torque2 < 0.2) latch[0] = 0;
        if (setting != 0 && torque1 > setting && torque2 > setting)
            call_once(latch[0], SOUND_TAKEOFF_1);
        double airspeed = cycle_read(VAR_AIRSPEED);
        if (airspeed < 20) latch[1] = latch[2] = 0;
        if (airspeed > 80) call_once(latch[1], SOUND_TAKEOFF_2);
        if (airspeed > 95) call_once(latch[2], SOUND_TAKEOFF_3);
        latch[3] = 0;
    }
    if (cycle_read(VAR_VERTICAL_SPEED) > 500) call_once(latch[3], SOUND_TAKEOFF_4);
    if (on_ground) latch[4] = 0;
    bool gear_up = cycle_read(VAR_GEAR_NOSE) == 0 && cycle_read(VAR_GEAR_LEFT) == 0 &&
                   cycle_read(VAR_GEAR_RIGHT) == 0;
    if (latch[3] && gear_up) call_once(latch[4], SOUND_TAKEOFF_5);
}

// Radio height calls on the way down: 500, 400, 300, 200, 100, 50, 40, 30,
// 20 and 10 feet. The state is the next call to make (0 none); it starts
// above 1000 ft and ends on the ground, so a go-around below 1000 ft
// continues with the next call on the new descent.
static const double height_thresholds[10] = {500, 400, 300, 200, 100, 50, 40, 30, 20, 10};
static const SoundSlot height_calls[10] = {
    SOUND_FEET_01, SOUND_FEET_02, SOUND_FEET_03, SOUND_FEET_04, SOUND_FEET_05,
    SOUND_FEET_06, SOUND_FEET_07, SOUND_FEET_08, SOUND_FEET_09, SOUND_FEET_10,
};

static void height_call(double height) {
    int32_t& next = quillmar.cycle.height_call_state;
    if (height > 1000) next = 1;
    if (height < 5) next = 0;
    if (next < 1 || next > 10 || height > height_thresholds[next - 1]) return;
    sound_start(height_calls[next - 1]);
    next = next == 10 ? 0 : next + 1;
}

// "Gear down", once all three legs are down after having been fully up.
static void gear_down_call() {
    CycleState& c = quillmar.cycle;
    double legs[3] = {cycle_read(VAR_GEAR_NOSE), cycle_read(VAR_GEAR_LEFT),
                      cycle_read(VAR_GEAR_RIGHT)};
    if (legs[0] == 0 && legs[1] == 0 && legs[2] == 0) c.gear_down_latch = 0;
    else if (legs[0] == GEAR_DOWN && legs[1] == GEAR_DOWN && legs[2] == GEAR_DOWN)
        call_once(c.gear_down_latch, SOUND_FO_GEAR_DOWN);
}

// "Minimums", 50 ft above the decision height; none for a decision height
// of 10 ft or less.
static void minimums_call(double height) {
    CycleState& c = quillmar.cycle;
    double decision_height = quillmar.panels.decision_height;
    if (height > decision_height + 50) c.minimums_latch = 0;
    if (height < decision_height + 50 && decision_height > 10)
        call_once(c.minimums_latch, SOUND_FO_MINIMUMS);
}

void voice_callouts() {
    engine_start_calls();
    takeoff_calls();
    double height = height_above_ground();
    height_call(height);
    gear_down_call();
    minimums_call(height);
}

void cycle_flap_motor_and_callouts() {
    flap_motor_sound();
    voice_callouts();
}
