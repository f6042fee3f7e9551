// Step 9 of the cycle: flight deck and cabin temperatures.
//
// Once per second of simulation time each temperature takes one small step
// toward what its pack and temperature selector ask for; with neither pack
// able to run both drift toward the outside air.
#include <cmath>

#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

static constexpr double HEAT_STEP = 0.04;
static constexpr double HEATER_EXTRA = 0.04;
static constexpr double COOL_STEP = 0.04;
static constexpr double DRIFT_STEP = 0.01;

enum SelectorRule { HOLD_BAND, HEAT_TO_LIMIT, DRIFT_OUTSIDE, COOL_TO_LIMIT };

struct SelectorPosition {
    SelectorRule rule;
    double low, high;   // the band held, or the limit for HEAT/COOL_TO_LIMIT in low
};

// Temperature selector positions 0 to 11.
static const SelectorPosition selector_positions[12] = {
    {HOLD_BAND, 19.8, 20.2},      // 0
    {HOLD_BAND, 21.8, 22.2},      // 1
    {HOLD_BAND, 22.8, 23.2},      // 2
    {HOLD_BAND, 24.8, 25.2},      // 3
    {HOLD_BAND, 26.8, 27.2},      // 4
    {HEAT_TO_LIMIT, 30, 30},      // 5: heats while below 30, never cools
    {DRIFT_OUTSIDE, 0, 0},        // 6
    {COOL_TO_LIMIT, 10, 10},      // 7: cools while above 10, never heats
    {HOLD_BAND, 14.8, 15.2},      // 8
    {HOLD_BAND, 16.8, 17.2},      // 9
    {HOLD_BAND, 18.8, 19.2},      // 10
    {HOLD_BAND, 19.8, 20.2},      // 11
};

// Cabin band without cabin temperature authority.
static const SelectorPosition cabin_without_authority = {HOLD_BAND, 18.8, 19.2};

// One drift step toward the outside air; the last step lands on it rather
// than passing it, so the temperature settles instead of flickering around it.
static void drift(double& temperature, double outside) {
    if (std::fabs(outside - temperature) <= DRIFT_STEP) temperature = outside;
    else temperature += temperature < outside ? DRIFT_STEP : -DRIFT_STEP;
}

static void follow(double& temperature, const SelectorPosition& position, double heat_step,
                   double outside) {
    switch (position.rule) {
    case HOLD_BAND:
        if (temperature < position.low) temperature += heat_step;
        else if (temperature > position.high) temperature -= COOL_STEP;
        break;
    case HEAT_TO_LIMIT:
        if (temperature < position.low) temperature += heat_step;
        break;
    case COOL_TO_LIMIT:
        if (temperature > position.low) temperature -= COOL_STEP;
        break;
    case DRIFT_OUTSIDE:
        drift(temperature, outside);
        break;
    }
}

static const SelectorPosition* selector(double position) {
    int index = static_cast<int>(position);
    return index >= 0 && index < 12 ? &selector_positions[index] : nullptr;
}

void cycle_temperatures() {
    const PanelInputs& in = quillmar.panels;
    SystemOutputs& sys = quillmar.systems;
    CycleState& c = quillmar.cycle;

    double outside = cycle_read(VAR_OUTSIDE_TEMPERATURE) * 256;
    double time = cycle_read(VAR_SIM_TIME);
    if (time < c.temperature_step_time) {
        c.temperature_step_time = time;
    } else if (time - c.temperature_step_time > 1.0) {
        bool pack1 = in.pack_left_pos != 0;
        bool pack2 = in.pack_right_pos != 0;
        bool pack1_runs = pack1 && c.engine1_running_latch;
        bool pack2_runs = pack2 && c.engine2_running_latch;
        if (!pack1_runs && !pack2_runs) {
            drift(sys.temperature_flight_deck, outside);
            drift(sys.temperature_cabin, outside);
        } else {
            double heat = HEAT_STEP + (in.flight_deck_heater_pos != 0 ? HEATER_EXTRA : 0);
            const SelectorPosition* flight_deck = selector(in.flight_deck_temp_pos);
            if (pack1 && flight_deck) follow(sys.temperature_flight_deck, *flight_deck, heat, outside);
            if (pack2) {
                if (in.cabin_temp_aut_pos != 0) {
                    const SelectorPosition* cabin = selector(in.cabin_temp_pos);
                    if (cabin) follow(sys.temperature_cabin, *cabin, heat, outside);
                } else {
                    follow(sys.temperature_cabin, cabin_without_authority, HEAT_STEP, outside);
                }
            }
        }
        c.temperature_step_time = time;
    }
    sys.temperature_flight_deck_whole = static_cast<int32_t>(sys.temperature_flight_deck);
    sys.temperature_cabin_whole = static_cast<int32_t>(sys.temperature_cabin);
}
