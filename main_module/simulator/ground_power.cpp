// Step 6 of the cycle: the ground power unit.
//
// On the ground, standing still, with neither generator delivering and no
// ground crew at work, a ground power unit comes 15 seconds (simulation
// time) after the parking brake was last set or released. Any change of the
// brake restarts the wait; once available it stays until the aircraft moves,
// takes off, a generator delivers or the ground crew is busy.
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

static constexpr double GROUND_POWER_WAIT = 15;  // seconds

// Wait states: 0 brake just set, 1 waiting with the brake set, 2 available
// with the brake set; 3 brake just released, 4 waiting with it released,
// 5 available with it released.
void cycle_ground_power() {
    ElectricState& el = quillmar.electric;
    CycleState& c = quillmar.cycle;

    bool on_ground = cycle_read(VAR_ON_GROUND) != 0;
    double ground_speed = cycle_read(VAR_GROUND_SPEED);
    if (!on_ground) c.ground_crew_busy = 0;
    bool generating = cycle_read(VAR_GENERATOR_1) >= 0.2 || cycle_read(VAR_GENERATOR_2) >= 0.2;
    if (!on_ground || ground_speed >= 1 || generating || c.ground_crew_busy) {
        c.ground_power_wait = 0;
        el.ext_pwr_available = 0;
        el.ext_pwr = 0;
        return;
    }

    double brake = cycle_read(VAR_PARKING_BRAKE);
    double time = cycle_read(VAR_SIM_TIME);
    int32_t& wait = c.ground_power_wait;
    if (brake == 0) {
        if (wait == 3) {
            c.ground_power_deadline = time + GROUND_POWER_WAIT;
            wait = 4;
        }
        if (wait == 4 && time > c.ground_power_deadline) {
            el.ext_pwr_available = 1;
            wait = 5;
        }
        if (wait < 3) wait = 3;
    } else {
        if (wait == 0) {
            c.ground_power_deadline = time + GROUND_POWER_WAIT;
            wait = 1;
        }
        if (wait == 1 && time > c.ground_power_deadline) {
            el.ext_pwr_available = 1;
            wait = 2;
        }
        if (wait > 2) wait = 0;
    }
    if (el.ext_pwr_available == 0) el.ext_pwr = 0;
}
