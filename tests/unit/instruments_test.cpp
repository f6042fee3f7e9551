// Instrument values the host's aircraft never holds still: RMI pointers
// coming round the dial, DME values beyond the readouts, a gear leg one
// short of down, brake pressures from a system pressure of 3000 or 90.
#include <gtest/gtest.h>

#include <string>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

namespace {

class Instruments : public ::testing::Test {
public:
    void SetUp() override {
        reset_module_state();
        quillmar.electric.elec_power_state = 2;
        host.set_int(42, 1);
        host.set_int(355, 1);
    }

    static double value(GaugeHeader* gauge, int child) {
        auto* needle = reinterpret_cast<NeedleElement*>(gauge_element(gauge, {child}));
        return needle->value(&needle->head);
    }
    static std::string text(GaugeHeader* gauge, int child) {
        auto* readout = reinterpret_cast<StringElement*>(gauge_element(gauge, {child}));
        readout->value(&readout->head);
        return readout->text;
    }
    static int image(GaugeHeader* gauge, int child) {
        auto* icon = reinterpret_cast<IconElement*>(gauge_element(gauge, {child}));
        return static_cast<int>(icon->value(&icon->head));
    }
    static void update(GaugeHeader* gauge) { gauge->callback(gauge, SERVICE_UPDATE, 0); }

    FakeHost host;
    NavigationInstrumentState& nav = quillmar.navigation;
};

// RMI children: pointer 2 is the fourth, pointer 1 the sixth.
constexpr int POINTER2 = 3, POINTER1 = 5;
// DME children: receiver, distance, speed or time, unit.
constexpr int DISTANCE = 1, SPEED_OR_TIME = 2;

double pointer1() { return Instruments::value(&gauge_RMI.h, POINTER1); }
double pointer2() { return Instruments::value(&gauge_RMI.h, POINTER2); }

TEST_F(Instruments, RmiVorPointersComeRoundTheDial) {
    quillmar.radios.adf_any_on = 1;
    quillmar.vhf_nav.receiver[0].nav_on = quillmar.vhf_nav.receiver[1].nav_on = 1;
    nav.vor_pointer_select = 3;
    nav.adf_pointer_select = 3;
    // Pointer 1: radial 10, heading 120: 10 - 120 + 90 = -20 comes round to 340.
    host.set(25, 10 / 0.005493164062513411);
    host.set(81, 120);
    EXPECT_NEAR(pointer1(), 340, 1e-9);
    // Pointer 2 from NAV 2's relative bearing: 100 + 270 = 370 goes back to 10.
    host.set(59, 100);
    EXPECT_NEAR(pointer2(), 10, 1e-9);
    host.set(59, -25);
    EXPECT_NEAR(pointer2(), 245, 1e-9);
}

// Values beyond what the displays can show, with the NAV receivers on.
TEST_F(Instruments, DmeReadoutsAreCapped) {
    quillmar.vhf_nav.receiver[0].nav_on = 1;
    host.set(31, 1234.5);
    host.set(32, 1500);
    EXPECT_EQ(text(&gauge_DME.h, DISTANCE), "999.9");
    EXPECT_EQ(text(&gauge_DME.h, SPEED_OR_TIME), "999.0");
    // Time to the station: 30 nm at 240 kt is 7 min 30 s; a crawl shows the
    // longest time the readout holds, no distance shows none.
    nav.dme_time_mode = 1;
    host.set(31, 30);
    host.set(32, 240);
    EXPECT_EQ(text(&gauge_DME.h, SPEED_OR_TIME), "07:30");
    host.set(32, 2);
    EXPECT_EQ(text(&gauge_DME.h, SPEED_OR_TIME), "99:59");
    host.set(31, -1);
    EXPECT_EQ(text(&gauge_DME.h, SPEED_OR_TIME), "--:--");
}

// Gear children: nose lamps, left, right, lever. A leg one short of down is
// not locked, and with the lever down the lever shows it still travelling.
constexpr int NOSE_LAMP = 0, LEFT_LAMP = 2, LEVER = 4;

TEST_F(Instruments, GearLampNeedsExactlyDown) {
    host.set(331, 16383);
    host.set(332, 16383);
    host.set(333, 16382);
    host.set(334, 16383);
    update(&gauge_Gear.h);
    EXPECT_EQ(image(&gauge_Gear.h, NOSE_LAMP), 1);
    EXPECT_EQ(image(&gauge_Gear.h, LEFT_LAMP), 0);
    EXPECT_EQ(quillmar.indicators.left_gear_locked, 0);
    EXPECT_EQ(image(&gauge_Gear.h, LEVER), 2);
}

TEST_F(Instruments, BrakeAccumulatorsReadTheSystemPressureLessTheirLoss) {
    constexpr int POINTER = 1;
    quillmar.systems.hyd_pressure = 3000;
    EXPECT_EQ(value(&gauge_Brake_Pressure_Normal.h, POINTER), 2900);
    EXPECT_EQ(value(&gauge_Brake_Pressure_Alternate.h, POINTER), 2750);
    quillmar.systems.hyd_pressure = 200;
    EXPECT_EQ(value(&gauge_Brake_Pressure_Normal.h, POINTER), 100);
    EXPECT_EQ(value(&gauge_Brake_Pressure_Alternate.h, POINTER), 0);
    quillmar.systems.hyd_pressure = 90;
    EXPECT_EQ(value(&gauge_Brake_Pressure_Normal.h, POINTER), 0);
    EXPECT_EQ(value(&gauge_Brake_Pressure_Alternate.h, POINTER), 0);
    quillmar.systems.hyd_pressure = 3000;
    quillmar.electric.elec_power_state = 1;
    EXPECT_EQ(value(&gauge_Brake_Pressure_Normal.h, POINTER), 0);
}

}  // namespace
