// Steps 14 and 15 of the cycle: hydraulic pressure, and the flaps and gear
// held where they were while the pressure is too low to move them.
#include <algorithm>

#include "frame/host_ops.h"
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

static constexpr double PUMP_PRESSURE_DIVISOR = 130;
static constexpr double ELECTRIC_PUMP_PRESSURE = 2713;  // psi
static constexpr double RAMP_RATE = 13;                 // psi per tick (234 psi per second)
static constexpr double HOLD_PRESSURE = 2500;           // psi needed to move flaps and gear
static constexpr double GEAR_DOWN = 16383;

// Step 14. The pressure settles on what the engine-driven pumps deliver or
// on the electric pump's fixed pressure, moving along the ramps the
// Hydraulic panel starts.
void cycle_hydraulic_pressure() {
    PanelInputs& in = quillmar.panels;
    SystemOutputs& sys = quillmar.systems;

    double pump1 = cycle_read(VAR_HYD_PRESSURE_1) / PUMP_PRESSURE_DIVISOR;
    double pump2 = cycle_read(VAR_HYD_PRESSURE_2) / PUMP_PRESSURE_DIVISOR;
    double flow1 = cycle_read(VAR_HYD_FLOW_1);
    double flow2 = cycle_read(VAR_HYD_FLOW_2);
    double ticks = cycle_read(VAR_TICKS);
    bool engine_pump = in.eng_pump_left_pos != 0 || in.eng_pump_right_pos != 0;
    bool electric_pump = in.elec_pump_pos != 0;
    double elapsed = ticks - in.hyd_ramp_start_tick;

    switch (in.hyd_ramp_mode) {
    case HYD_RAMP_STEADY:
        if (engine_pump) sys.hyd_pressure = std::max(pump1, pump2);
        else if (electric_pump) sys.hyd_pressure = ELECTRIC_PUMP_PRESSURE;
        break;
    case HYD_RAMP_FALLING:
        sys.hyd_pressure = in.hyd_ramp_start_pressure - elapsed * RAMP_RATE;
        if (sys.hyd_pressure <= 0) {
            sys.hyd_pressure = 0;
            in.hyd_ramp_mode = HYD_RAMP_FROZEN;
        }
        break;
    case HYD_RAMP_RISING: {
        sys.hyd_pressure = in.hyd_ramp_start_pressure + elapsed * RAMP_RATE;
        bool has_target = engine_pump || electric_pump;
        double target = engine_pump ? std::max(pump1, pump2) : ELECTRIC_PUMP_PRESSURE;
        if (has_target && sys.hyd_pressure > target) {
            sys.hyd_pressure = target;
            in.hyd_ramp_mode = HYD_RAMP_STEADY;
        }
        break;
    }
    default:
        break;
    }
    sys.hyd_quantity_percent = (flow2 + flow1) * 50;
}

// Step 15. Below 2500 psi the host's flaps and gear handles are driven back
// toward the positions remembered while the pressure was sufficient, one
// step event per frame; the gear only in the air.
void cycle_flaps_and_gear_hold() {
    CycleState& c = quillmar.cycle;
    double flaps = cycle_read(VAR_FLAPS_HANDLE);
    double gear = cycle_read(VAR_GEAR_HANDLE);
    bool on_ground = cycle_read(VAR_ON_GROUND) != 0;

    if (quillmar.panels.alternate_gear_extended != 0) c.remembered_gear = GEAR_DOWN;
    if (quillmar.systems.hyd_pressure >= HOLD_PRESSURE) {
        c.remembered_flaps = flaps;
        c.remembered_gear = gear;
        return;
    }
    if (flaps != c.remembered_flaps)
        send_host_event(flaps <= c.remembered_flaps ? EVENT_FLAPS_EXTEND_STEP
                                                    : EVENT_FLAPS_RETRACT_STEP, 0);
    if (gear != c.remembered_gear && !on_ground)
        send_host_event(gear <= c.remembered_gear ? EVENT_GEAR_DOWN : EVENT_GEAR_UP, 0);
}
