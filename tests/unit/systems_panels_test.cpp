// Fuel and hydraulic panel logic that depends on other panels and on the
// engines: the shut-off indications from the fire handles, and the
// hydraulic pumps switched by running engines.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"
#include "main_module/systems/fuel.h"
#include "main_module/systems/hydraulic.h"

namespace {

// Clicks the first child rectangle of `gauge` that contains x, y.
void click(GaugeHeader* gauge, int x, int y) {
    for (MouseRect* r = gauge->mouse_rects; r->type != MOUSE_END; ++r) {
        if (r->type != MOUSE_CHILD) continue;
        if (x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height) {
            MousePoint point{x, y};
            EXPECT_EQ(r->function(&point, r->flags), 1);
            return;
        }
    }
    ADD_FAILURE() << "no rectangle at " << x << "," << y;
}

class Panels : public ::testing::Test {
protected:
    void SetUp() override {
        reset_module_state();
        quillmar.electric.elec_power_state = 2;
        host.set(1, 100);
    }
    void TearDown() override { reset_module_state(); }

    FakeHost host;
    PanelInputs& in = quillmar.panels;
};

using FuelPanelLogic = Panels;

TEST_F(FuelPanelLogic, ShutOffIndicationsFollowTheFireHandles) {
    in.engine2_fuel_shutoff = 1;
    fuel_update(&gauge_Fuel.h);
    EXPECT_EQ(quillmar.fuel.fuel_shutoff_indication_1, 1);
    EXPECT_EQ(quillmar.fuel.fuel_shutoff_indication_2, 2);
    in.engine1_fuel_shutoff = 1;
    in.engine2_fuel_shutoff = 0;
    fuel_update(&gauge_Fuel.h);
    EXPECT_EQ(quillmar.fuel.fuel_shutoff_indication_1, 2);
    EXPECT_EQ(quillmar.fuel.fuel_shutoff_indication_2, 1);
}

class HydraulicPumps : public Panels {
protected:
    void update() { hydraulic_update(&gauge_Hydraulic.h); }
    void click_at(int x, int y) { click(&gauge_Hydraulic.h, x, y); }
    void engines(double engine1, double engine2) {
        host.set(701, engine1);
        host.set(709, engine2);
    }
};

TEST_F(HydraulicPumps, AnEngineComingUpTurnsItsPumpOnOnce) {
    engines(0, 0);
    update();
    EXPECT_EQ(in.eng_pump_left_pos, 0);
    EXPECT_EQ(in.eng_pump_right_pos, 0);
    quillmar.systems.hyd_pressure = 40;
    in.hyd_ramp_mode = HYD_RAMP_FROZEN;

    // Engine 1 comes up with the right pump off: the pressure starts rising.
    engines(0.9, 0);
    host.set(1, 120);
    update();
    EXPECT_EQ(in.eng_pump_left_pos, 1);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_RISING);
    EXPECT_EQ(in.hyd_ramp_start_pressure, 40);
    EXPECT_EQ(in.hyd_ramp_start_tick, 120);

    // The crew switches it off with the engine running: it stays off, and
    // with no pump left the pressure falls.
    click_at(30, 80);
    EXPECT_EQ(in.eng_pump_left_pos, 0);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_FALLING);
    update();
    update();
    EXPECT_EQ(in.eng_pump_left_pos, 0);

    // Once the engine has been below 0.4 it turns its pump on again; the
    // exact 0.4 neither clears nor sets.
    engines(0.4, 0);
    update();
    EXPECT_EQ(in.eng_pump_left_pos, 0);
    engines(0.39, 0);
    update();
    engines(0.9, 0);
    update();
    EXPECT_EQ(in.eng_pump_left_pos, 1);
}

TEST_F(HydraulicPumps, LeftPumpOffFallsAlthoughTheElectricPumpRuns) {
    engines(0.9, 0);
    update();
    quillmar.hydraulic.elec_pump_cover_pos = 1;
    click_at(85, 85);  // electric pump on: an engine pump runs, no ramp
    EXPECT_EQ(in.elec_pump_pos, 1);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_STEADY);
    quillmar.systems.hyd_pressure = 3000;
    click_at(30, 80);
    EXPECT_EQ(in.eng_pump_left_pos, 0);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_FALLING);
    EXPECT_EQ(in.hyd_ramp_start_pressure, 3000);
    // A stopped engine does not start a fall while the electric pump runs.
    in.hyd_ramp_mode = HYD_RAMP_STEADY;
    engines(0, 0);
    update();
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_STEADY);
}

TEST_F(HydraulicPumps, ElectricPumpUnderAClosedGuardStartsTheRampOfItsState) {
    engines(0, 0);
    update();
    in.elec_pump_pos = 1;
    in.hyd_ramp_mode = HYD_RAMP_FROZEN;
    click_at(85, 85);
    EXPECT_EQ(in.elec_pump_pos, 1);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_RISING);
    // With an engine pump running the click starts nothing.
    in.eng_pump_right_pos = 1;
    in.hyd_ramp_mode = HYD_RAMP_FROZEN;
    click_at(85, 85);
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_FROZEN);
}

TEST_F(HydraulicPumps, InstalledAgainWithBothEnginesRunningThePressureIsFrozen) {
    engines(0.9, 0.9);
    update();  // the panel last saw both engines running
    in.hyd_ramp_mode = HYD_RAMP_RISING;
    quillmar.hydraulic.hyd_engine1_pump_started = 1;
    hydraulic_install();
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_FROZEN);
    EXPECT_EQ(quillmar.hydraulic.hyd_engine1_pump_started, 0);
    engines(0.9, 0.2);
    update();
    hydraulic_install();
    EXPECT_EQ(in.hyd_ramp_mode, HYD_RAMP_STEADY);
}

}  // namespace
