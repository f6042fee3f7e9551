// Fuel: the fuel panel.
#pragma once

#include "frame/records.h"

// The panel's elements below its panel mask, in drawing order.
enum FuelElement : int {
    FUEL_LEGENDS,
    FUEL_READOUT_LEFT,
    FUEL_READOUT_RIGHT,
    FUEL_SHUTOFF_1,
    FUEL_SHUTOFF_2,
    FUEL_XFEED_LEGEND,
    FUEL_PUMP_LEFT_1,
    FUEL_PUMP_LEFT_2,
    FUEL_PUMP_RIGHT_1,
    FUEL_PUMP_RIGHT_2,
    FUEL_LEVEL_LIGHT,
    FUEL_ELEMENT_COUNT
};

void fuel_install();
void fuel_update(GaugeHeader* gauge);
void fuel_kill();
