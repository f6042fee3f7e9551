// Hydraulic: the hydraulic panel.
#pragma once

#include "frame/records.h"

// The panel's elements below its panel mask, in drawing order.
enum HydraulicElement : int {
    HYDRAULIC_LEGENDS,
    HYDRAULIC_READOUT,
    HYDRAULIC_SELECTOR_KNOB,
    HYDRAULIC_GUARD,
    HYDRAULIC_ELEC_PUMP_LEGEND,
    HYDRAULIC_RIGHT_PUMP_LEGEND,
    HYDRAULIC_LEFT_PUMP_LEGEND,
    HYDRAULIC_ELEMENT_COUNT
};

void hydraulic_install();
void hydraulic_update(GaugeHeader* gauge);
void hydraulic_kill();
