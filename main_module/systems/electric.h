// Electric: the electrical power control panel.
#pragma once

#include "frame/records.h"

// The panel's elements below its panel mask, in drawing order.
enum ElectricElement : int {
    ELECTRIC_SYNOPTIC_LEGENDS,
    ELECTRIC_BATTERY_LEGENDS,
    ELECTRIC_METER_LEGENDS,
    ELECTRIC_READOUT_LEFT,
    ELECTRIC_READOUT_RIGHT,
    ELECTRIC_DECIMAL_LEFT,
    ELECTRIC_DECIMAL_RIGHT,
    ELECTRIC_SELECTOR_KNOB,
    ELECTRIC_BAT1_LEGEND,
    ELECTRIC_BAT2_LEGEND,
    ELECTRIC_DC_XFEED_LEGEND,
    ELECTRIC_TRU1_LEGEND,
    ELECTRIC_TRU2_LEGEND,
    ELECTRIC_AC_XFEED_LEGEND,
    ELECTRIC_GEN1_LEGEND,
    ELECTRIC_GEN2_LEGEND,
    ELECTRIC_EXT_PWR_LEGEND,
    ELECTRIC_BAT_PWR_ONLY,
    ELECTRIC_BATTERY_MASTER,
    ELECTRIC_ELEMENT_COUNT
};

void electric_install();
void electric_update(GaugeHeader* gauge);
void electric_kill();

// Draws the eighteen meter readout values from the C library's generator
// seeded with `seed`; the load values are fixed.
void electric_draw_readouts(unsigned seed);
