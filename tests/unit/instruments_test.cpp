// The brake pressure dials at system pressures the host's hydraulics never
// hold (its pumps give 2713 psi or follow the engines).
#include <gtest/gtest.h>

#include "main_module/gauge_table.h"
#include "main_module/state.h"

namespace {

double pointer(GaugeHeader* gauge) {
    auto* needle = reinterpret_cast<NeedleElement*>(gauge_element(gauge, {1}));
    return needle->value(&needle->head);
}

}  // namespace

TEST(BrakePressure, TheSystemPressureLessEachAccumulatorsLoss) {
    reset_module_state();
    quillmar.electric.elec_power_state = 2;
    quillmar.systems.hyd_pressure = 3000;
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Normal.h), 2900);
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Alternate.h), 2750);
    quillmar.systems.hyd_pressure = 200;
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Normal.h), 100);
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Alternate.h), 0);
    quillmar.systems.hyd_pressure = 90;
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Normal.h), 0);
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Alternate.h), 0);
    // A source transfer shows nothing either.
    quillmar.systems.hyd_pressure = 3000;
    quillmar.electric.elec_power_state = 1;
    EXPECT_EQ(pointer(&gauge_Brake_Pressure_Normal.h), 0);
    reset_module_state();
}
