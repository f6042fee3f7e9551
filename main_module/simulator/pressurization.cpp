// Step 1 of the cycle: the clock and the cabin pressurization.
//
// The cabin altitude moves at most once per clock second (the host's clock
// of day), whatever the frame rate, and only while there is electrical power.
#include <algorithm>

#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

// Cabin altitude scheduled for an aircraft altitude above 2000 feet.
static constexpr double CABIN_SCHEDULE = 0.347826086957;
static constexpr double CABIN_STEP_LIMIT = 25;  // feet per clock second

void cycle_clock_and_pressurization() {
    CycleState& c = quillmar.cycle;
    SystemOutputs& sys = quillmar.systems;
    const PanelInputs& in = quillmar.panels;

    cycle_read(VAR_TICKS);
    double seconds = cycle_read(VAR_CLOCK_SECONDS);
    double minutes = cycle_read(VAR_CLOCK_MINUTES);
    double hours = cycle_read(VAR_CLOCK_HOURS);
    if (quillmar.electric.elec_power_state == 0) {
        sys.cabin_rate = 0;
        return;
    }
    double clock = hours * 3600 + minutes * 60 + seconds;
    c.elapsed_clock = clock - c.last_clock;
    if (c.elapsed_clock != 0) {
        if (in.manual_control_status != 0) {
            sys.cabin_altitude += in.man_rate_control_value;
            sys.cabin_rate = in.man_rate_control_value;
        } else {
            double altitude = cycle_read(VAR_ALTITUDE_FEET);
            if (altitude > 2000) {
                double target = std::max((altitude - 2000) * CABIN_SCHEDULE, in.landing_altitude);
                double delta = std::clamp(target - sys.cabin_altitude, -CABIN_STEP_LIMIT,
                                          CABIN_STEP_LIMIT);
                sys.cabin_rate = delta;
                sys.cabin_altitude += delta;
            }
        }
    }
    c.last_clock = clock;
}
