// Step 5 of the cycle: generator line-up, power source and the power state
// the whole cockpit reads.
//
// A change to a new source blanks the cockpit for about one second
// (power state 1 for 18 ticks of the host's tick counter) before power is
// available again (2); losing every source gives 0 at once unless a transfer
// is still running.
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

static constexpr double TRANSFER_TICKS = 18;

// Generator line-up follows the engines: an engine start puts its generator
// on line (even one the crew switched off), a stopped engine takes it off.
static void follow_engine(bool running, int32_t& was_running, int32_t generator_bit) {
    int32_t& online = quillmar.electric.generators_online;
    if (running) {
        if (!was_running) {
            online |= generator_bit;
            was_running = 1;
        }
    } else {
        was_running = 0;
        online &= ~generator_bit;
    }
}

void cycle_generators_and_power() {
    ElectricState& el = quillmar.electric;
    CycleState& c = quillmar.cycle;

    bool engine1 = cycle_read(VAR_GENERATOR_1) > 0.5;
    bool engine2 = cycle_read(VAR_GENERATOR_2) > 0.5;
    follow_engine(engine1, c.generator1_was_running, 1);
    follow_engine(engine2, c.generator2_was_running, 2);

    // Later sources win.
    int32_t source = 0;
    if (el.batt_switch != 0) source = 1;
    if (quillmar.panels.apu_gen != 0) source = 2;
    if (el.ext_pwr != 0) source = 3;
    if ((engine1 && (el.generators_online & 1)) || (engine2 && (el.generators_online & 2)))
        source = 4;
    el.power_source = source;
    double steady = source != 0 ? 2 : 0;

    double ticks = cycle_read(VAR_TICKS);
    if (c.transfer_running && c.transfer_start_tick + TRANSFER_TICKS < ticks)
        c.transfer_running = 0;
    if (source != c.previous_power_source && source != 0 && !c.transfer_running) {
        c.transfer_running = 1;
        c.transfer_start_tick = ticks;
    }
    c.previous_power_source = source;

    el.elec_power_state = c.transfer_running ? 1 : steady;
    channel_write(&quillmar.channels, CHANNEL_EL_PWR_AVAIL,
                  static_cast<int>(el.elec_power_state));
}
