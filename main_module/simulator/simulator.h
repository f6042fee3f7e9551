// The systems simulator run by System_Simulator: install, one cycle per
// frame, kill.
//
// The cycle is eighteen steps run in a fixed order on every update; each is
// a plain function over the module state so that it can be exercised on its
// own. The order matters: the clock step sees the power state of the last
// frame, the power step runs before the ground power step that may take
// external power away, the hydraulic pressure is computed before the flaps
// and gear hold uses it.
#pragma once

#include <cstdint>

void simulator_install();
void simulator_update();
void simulator_kill();

// The steps, in the order the cycle runs them.
void cycle_clock_and_pressurization();   //  1
void cycle_engine_start();               //  2
void cycle_space_bar();                  //  3
void cycle_checklist_voice();            //  4
void cycle_generators_and_power();       //  5
void cycle_ground_power();               //  6
void cycle_fuel_control();               //  7
void cycle_engine_running_latches();     //  8
void cycle_temperatures();               //  9
void cycle_ventilation_sound();          // 10
void cycle_ground_crew();                // 11
void cycle_system_sounds();              // 12
void cycle_held_host_states();           // 13
void cycle_hydraulic_pressure();         // 14
void cycle_flaps_and_gear_hold();        // 15
void cycle_fd_cancel();                  // 16
void cycle_flap_motor_and_callouts();    // 17
void cycle_controls_lock();              // 18

using CycleStep = void();
struct CycleStepEntry {
    const char* name;
    CycleStep* run;
};
extern const CycleStepEntry cycle_steps[18];

// Sets the initial state of the steps (part of System_Simulator's install).
void cycle_initial_state();
// The ventilation, APU and electrical system sounds back to off (with the
// sound bank built anew at install).
void ambient_sounds_reset();

// The checklist stepping on a release of the space bar.
void checklist_step();

// The calls of step 17, after the flap motor sound.
void voice_callouts();

// Host events the cycle sends.
enum : uint32_t {
    EVENT_STARTER_1 = 0x102FC,
    EVENT_STARTER_2 = 0x102FD,
    EVENT_FUEL_CONTROL_1 = 0x1017F,
    EVENT_FUEL_CONTROL_2 = 0x10180,
    EVENT_FLAPS_EXTEND_STEP = 0x100DE,
    EVENT_FLAPS_RETRACT_STEP = 0x100DF,
    EVENT_GEAR_DOWN = 0x10220,
    EVENT_GEAR_UP = 0x1021F,
    EVENT_HOLD_STATE_363 = 0x102C2,
    EVENT_HOLD_STATE_364 = 0x102C1,
    EVENT_HOLD_STATE_740 = 0x102F5,
    EVENT_CONTROLS_LOCK_1 = 0x1009E,
    EVENT_CONTROLS_LOCK_2 = 0x1009F,
    // Ground crew and pushback
    EVENT_PUSH_AND_START_WINDOW = 0x10176,  // opens or closes the Push & Start page
    EVENT_PUSHBACK_START = 0x100C3,
    EVENT_PUSHBACK_STOP = 0x100C2,
    EVENT_PUSHBACK_FASTER = 0x100D1,
    EVENT_PUSHBACK_SLOWER = 0x100CB,
    EVENT_PUSHBACK_STEER_LEFT = 0x100D0,
    EVENT_PUSHBACK_STEER_RIGHT = 0x100D2,
};

// Host variables the cycle reads.
enum : uint32_t {
    VAR_TICKS = 1,
    VAR_GROUND_ELEVATION = 2,
    VAR_CLOCK_HOURS = 3,
    VAR_CLOCK_MINUTES = 4,
    VAR_CLOCK_SECONDS = 5,
    VAR_ON_GROUND = 60,
    VAR_AIRSPEED = 61,
    VAR_VERTICAL_SPEED = 65,
    VAR_LATITUDE = 71,
    VAR_LONGITUDE = 72,
    VAR_ALTITUDE_METRES = 73,
    VAR_HEADING = 86,
    VAR_ENGINE_RUNNING_1 = 130,
    VAR_ENGINE_RUNNING_2 = 165,
    VAR_PITCH = 77,
    VAR_BANK = 79,
    VAR_ALTITUDE_FEET = 74,
    VAR_PARKING_BRAKE = 323,
    VAR_FLAPS_HANDLE = 328,
    VAR_GEAR_HANDLE = 331,
    VAR_GEAR_NOSE = 332,
    VAR_GEAR_LEFT = 333,
    VAR_GEAR_RIGHT = 334,
    VAR_OUTSIDE_TEMPERATURE = 350,
    VAR_FUEL_CUT_VALUE = 351,
    VAR_HELD_STATE_363 = 363,
    VAR_HELD_STATE_364 = 364,
    VAR_HELD_STATE_740 = 740,
    VAR_GROUND_SPEED = 551,
    VAR_SIM_TIME = 557,
    VAR_CORE_SPEED_1 = 624,
    VAR_TORQUE_1 = 629,
    VAR_CORE_SPEED_2 = 643,
    VAR_TORQUE_2 = 648,
    VAR_GENERATOR_1 = 701,
    VAR_GENERATOR_2 = 709,
    VAR_HYD_PRESSURE_1 = 732,
    VAR_HYD_FLOW_1 = 733,
    VAR_HYD_PRESSURE_2 = 734,
    VAR_HYD_FLOW_2 = 735,
};

// Refreshes and returns a host variable the cycle reads (one record per id).
double cycle_read(uint32_t variable_id);
