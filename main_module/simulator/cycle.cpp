// The simulator cycle of System_Simulator: its steps in order, the host
// variables it reads, and its install and kill.
#include <cstddef>

#include "frame/elements.h"
#include "frame/host_ops.h"
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/simulator_keys.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "platform/keyboard.h"

const CycleStepEntry cycle_steps[18] = {
    {"clock and pressurization", cycle_clock_and_pressurization},
    {"engine start", cycle_engine_start},
    {"space bar", cycle_space_bar},
    {"checklist voice", cycle_checklist_voice},
    {"generators and power", cycle_generators_and_power},
    {"ground power", cycle_ground_power},
    {"fuel control", cycle_fuel_control},
    {"engine running latches", cycle_engine_running_latches},
    {"temperatures", cycle_temperatures},
    {"ventilation sound", cycle_ventilation_sound},
    {"ground crew", cycle_ground_crew},
    {"system sounds", cycle_system_sounds},
    {"held host states", cycle_held_host_states},
    {"hydraulic pressure", cycle_hydraulic_pressure},
    {"flaps and gear hold", cycle_flaps_and_gear_hold},
    {"flight director cancel", cycle_fd_cancel},
    {"flap motor and callouts", cycle_flap_motor_and_callouts},
    {"controls lock", cycle_controls_lock},
};

void simulator_update() {
    for (const CycleStepEntry& step : cycle_steps) step.run();
}

// ------------------------------------------------------------ host variables

// One record per variable the cycle reads; the host fills each on reading.
static HostVariable cycle_variables[] = {
    host_variable(VAR_TICKS),         host_variable(VAR_CLOCK_HOURS),
    host_variable(VAR_CLOCK_MINUTES), host_variable(VAR_CLOCK_SECONDS),
    host_variable(VAR_ON_GROUND),     host_variable(VAR_PITCH),
    host_variable(VAR_BANK),          host_variable(VAR_ALTITUDE_FEET),
    host_variable(VAR_PARKING_BRAKE), host_variable(VAR_FLAPS_HANDLE),
    host_variable(VAR_GEAR_HANDLE),   host_variable(VAR_OUTSIDE_TEMPERATURE),
    host_variable(VAR_FUEL_CUT_VALUE), host_variable(VAR_HELD_STATE_363),
    host_variable(VAR_HELD_STATE_364), host_variable(VAR_HELD_STATE_740),
    host_variable(VAR_GROUND_SPEED),  host_variable(VAR_SIM_TIME),
    host_variable(VAR_CORE_SPEED_1),  host_variable(VAR_CORE_SPEED_2),
    host_variable(VAR_GENERATOR_1),   host_variable(VAR_GENERATOR_2),
    host_variable(VAR_HYD_PRESSURE_1), host_variable(VAR_HYD_FLOW_1),
    host_variable(VAR_HYD_PRESSURE_2), host_variable(VAR_HYD_FLOW_2),
    // Calls, flap motor and ground crew
    host_variable(VAR_GROUND_ELEVATION), host_variable(VAR_AIRSPEED),
    host_variable(VAR_VERTICAL_SPEED),  host_variable(VAR_LATITUDE),
    host_variable(VAR_LONGITUDE),       host_variable(VAR_ALTITUDE_METRES),
    host_variable(VAR_HEADING),         host_variable(VAR_ENGINE_RUNNING_1),
    host_variable(VAR_ENGINE_RUNNING_2), host_variable(VAR_GEAR_NOSE),
    host_variable(VAR_GEAR_LEFT),       host_variable(VAR_GEAR_RIGHT),
    host_variable(VAR_TORQUE_1),        host_variable(VAR_TORQUE_2),
};

double cycle_read(uint32_t variable_id) {
    for (HostVariable& variable : cycle_variables)
        if (variable.id == variable_id) return host_variable_value(&variable);
    return 0.0;  // not a variable of the cycle
}

// ------------------------------------------------------------ install and kill

void cycle_initial_state() {
    CycleState& c = quillmar.cycle;
    SystemOutputs& sys = quillmar.systems;

    double altitude = cycle_read(VAR_ALTITUDE_FEET);
    sys.cabin_altitude = altitude > 2000 ? (altitude - 2000) * 0.347826086957 : 0.0;
    sys.cabin_rate = 0;
    c.last_clock = 0;
    c.elapsed_clock = 0;

    quillmar.panels.checklist_section = 0;
    quillmar.panels.checklist_item = 0;
    c.previous_checklist_section = 0;
    c.previous_checklist_item = 0;
    c.previous_space_key = platform_key_state(KEY_SPACE);

    quillmar.electric.ext_pwr_available = 1;
    c.ground_crew_busy = 0;
    c.ground_power_wait = 0;

    c.temperature_step_time = 0;

    c.remembered_flaps = cycle_read(VAR_FLAPS_HANDLE);
    c.previous_flaps_handle = c.remembered_flaps;  // no motor sound for where the handle already is
    c.remembered_gear = cycle_read(VAR_GEAR_HANDLE);

    // No call sounds until its re-arming condition has been met once.
    c.start_calls_armed = 0;
    for (int32_t& latch : c.start_call_latches) latch = 0;
    for (int32_t& latch : c.takeoff_latches) latch = 1;
    c.gear_down_latch = 1;
    c.minimums_latch = 1;
    c.height_call_state = 0;
}

void simulator_install() {
    channels_open_all_for_simulator(&quillmar.channels);
    simulator_read_keys();
    sound_bank_install();
    ambient_sounds_reset();
    cycle_initial_state();
}

void simulator_kill() {
    simulator_write_keys();
    channels_release_all_for_simulator(&quillmar.channels);
    sound_bank_kill();
}
