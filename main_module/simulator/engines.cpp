// Steps 2, 7 and 8 of the cycle: the starters, the fuel controls and the
// engine running latches.
#include "frame/host_ops.h"
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

// Step 2. The starter event goes to the host every frame from the request
// until the engine's core speed passes 60 percent, which ends the request.
void cycle_engine_start() {
    int32_t& request = quillmar.panels.start_request;
    if (request == 1) {
        if (cycle_read(VAR_CORE_SPEED_1) > 60) request = 0;
        send_host_event(EVENT_STARTER_1, 0);
    } else if (request == 2) {
        if (cycle_read(VAR_CORE_SPEED_2) > 60) request = 0;
        send_host_event(EVENT_STARTER_2, 0);
    }
}

// Fuel control value for a lever: full flow (16384) fully forward, 6144 at
// the idle gate (50), cut off behind the gate or with the fire handle pulled.
static uint32_t fuel_control_value(double lever, double fuel_shutoff) {
    if (fuel_shutoff != 0 || lever > 50) return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(16384 - lever * 204.8));
}

// Step 7. Both engines get their fuel control value every frame; an engine
// without booster pump pressure loses its fuel in unusual attitudes.
void cycle_fuel_control() {
    const PanelInputs& in = quillmar.panels;
    send_host_event(EVENT_FUEL_CONTROL_1,
                    fuel_control_value(in.fuel_control_left_pos, in.engine1_fuel_shutoff));
    send_host_event(EVENT_FUEL_CONTROL_2,
                    fuel_control_value(in.fuel_control_right_pos, in.engine2_fuel_shutoff));
    if (in.no_boost_pressure == 0) return;
    double bank = cycle_read(VAR_BANK);
    double pitch = cycle_read(VAR_PITCH);
    double cut_value = cycle_read(VAR_FUEL_CUT_VALUE);
    bool starved = bank < -30 || bank > 30 || pitch < -30 || pitch > 30 || cut_value < -200;
    if (!starved) return;
    if (in.no_boost_pressure == 1 || in.no_boost_pressure == 3)
        send_host_event(EVENT_FUEL_CONTROL_1, 0);
    if (in.no_boost_pressure == 2 || in.no_boost_pressure == 3)
        send_host_event(EVENT_FUEL_CONTROL_2, 0);
}

// Step 8. A running latch follows the generator output with a dead band at
// exactly 0.5, where it keeps its value.
void cycle_engine_running_latches() {
    CycleState& c = quillmar.cycle;
    double output1 = cycle_read(VAR_GENERATOR_1);
    double output2 = cycle_read(VAR_GENERATOR_2);
    if (output1 > 0.5) c.engine1_running_latch = 1;
    else if (output1 < 0.5) c.engine1_running_latch = 0;
    if (output2 > 0.5) c.engine2_running_latch = 1;
    else if (output2 < 0.5) c.engine2_running_latch = 0;
}
