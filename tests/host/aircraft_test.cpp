// The host's aircraft model and its variables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "host/aircraft.h"

namespace {

struct Model : ::testing::Test {
    AircraftModel model;
    VariableStore vars;
    void SetUp() override { aircraft_reset(model, vars); }
    void seconds(double s, double dt = 1.0 / 18) {
        for (double t = 0; t < s - 1e-9; t += dt) aircraft_step(model, vars, dt);
    }
    void event(uint32_t id, uint32_t value = 0) { ASSERT_NE(aircraft_event(model, vars, id, value), nullptr); }
};

}  // namespace

TEST(EventTable, SortedUniqueAndNamed) {
    uint32_t previous = 0;
    int known = 0;
    for (uint32_t id = 0x10000; id < 0x10400; ++id) {
        const EventInfo* e = find_event(id);
        if (!e) continue;
        ++known;
        EXPECT_GT(id, previous);
        EXPECT_EQ(e->id, id);
        EXPECT_GT(std::strlen(e->name), 3u);
        previous = id;
    }
    EXPECT_EQ(known, event_count());
    EXPECT_GE(known, 90);
}

TEST_F(Model, ColdAndDarkAtTheGate) {
    EXPECT_EQ(vars.get(60), 1);
    EXPECT_EQ(vars.get(323), 1);
    EXPECT_EQ(vars.get(130), 0);
    EXPECT_EQ(vars.get(331), 16383);
    EXPECT_EQ(vars.get(328), 0);
    EXPECT_GT(vars.get(303) + vars.get(304), 0);
    seconds(5);   // nothing runs by itself
    EXPECT_EQ(vars.get(624), 0);
    EXPECT_EQ(vars.get(701), 0);
    EXPECT_EQ(vars.get(332), 16383);
}

TEST_F(Model, StarterAndFuelStartTheEngineAndCutOffStopsIt) {
    event(0x1017F, 16384);
    event(0x10183, 16384);   // propeller lever off the feather stop
    for (int frame = 0; frame < 18 * 30 && vars.get(624) <= 60; ++frame) {
        event(0x102FC);   // the simulator cycle sends it every frame until 60 percent
        aircraft_step(model, vars, 1.0 / 18);
    }
    EXPECT_GT(vars.get(624), 60);
    seconds(10);
    EXPECT_GT(vars.get(130), 9000);            // running on its own
    EXPECT_GT(vars.get(701), 0.5);             // generating
    EXPECT_GT(vars.get(732), 2500 * 130.0);    // engine pump pressure
    EXPECT_GT(vars.get(138), 0);
    EXPECT_GT(vars.get(631), vars.get(650));   // engine 2 stayed cold
    EXPECT_EQ(vars.get(165), 0);
    double fuel = vars.get(304);
    event(0x1011C, 16384);                     // full power raises torque
    seconds(5);
    EXPECT_GT(vars.get(629), 0.8);
    EXPECT_LT(vars.get(304), fuel);
    event(0x1017F, 0);
    seconds(30);
    EXPECT_EQ(vars.get(130), 0);
    EXPECT_LT(vars.get(624), 1);
    EXPECT_LT(vars.get(701), 0.01);
}

TEST_F(Model, StarterWithoutFuelOnlyCranks) {
    for (int frame = 0; frame < 18 * 20; ++frame) {
        event(0x102FD);
        aircraft_step(model, vars, 1.0 / 18);
    }
    EXPECT_NEAR(vars.get(643), 25, 0.5);
    EXPECT_EQ(vars.get(165), 0);
    seconds(20);
    EXPECT_EQ(vars.get(643), 0);
}

TEST_F(Model, FlapsStepThroughSevenPositions) {
    std::vector<double> positions{vars.get(328)};
    for (int i = 0; i < 8; ++i) {
        event(0x100DE);
        if (vars.get(328) != positions.back()) positions.push_back(vars.get(328));
    }
    // The detents the cockpit's flap dial and flap motor sounds recognise.
    const std::vector<double> detents{0, 2730, 5460, 8190, 10920, 13650, 16383};
    EXPECT_EQ(positions, detents);
    for (int i = 0; i < 8; ++i) event(0x100DF);
    EXPECT_EQ(vars.get(328), 0);
}

TEST_F(Model, GearLegsMoveOverSecondsAndOnlyInTheAir) {
    event(0x1021F);
    EXPECT_EQ(vars.get(331), 0);
    seconds(3);
    EXPECT_EQ(vars.get(333), 16383);          // on the ground the legs stay down
    vars.set(60, 0);
    seconds(3);
    double left = vars.get(333);
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 16383);
    seconds(4);
    EXPECT_EQ(vars.get(332), 0);
    EXPECT_EQ(vars.get(334), 0);
    event(0x10022);                            // toggle: down again
    EXPECT_EQ(vars.get(331), 16383);
    seconds(7);
    EXPECT_EQ(vars.get(333), 16383);
}

TEST_F(Model, PushbackMovesBackwardsAndTurns) {
    event(0x100C3);
    for (int i = 0; i < 5; ++i) event(0x100D1);
    seconds(10);
    double heading = vars.get(86);
    EXPECT_EQ(heading, 90);                    // straight back
    EXPECT_NEAR(vars.get(72) * 7.10667098941774e-08, -20, 0.1);   // 2 m/s west for 10 s
    EXPECT_NEAR(vars.get(71), 0, 1e-6);
    event(0x100D2);
    seconds(5);
    EXPECT_NEAR(vars.get(86), 100, 0.2);
    event(0x100C2);
    double longitude = vars.get(72);
    seconds(2);
    EXPECT_EQ(vars.get(72), longitude);
    EXPECT_EQ(vars.get(551), 0);
}

TEST_F(Model, AltitudeInFeetAndMetresIsOneQuantity) {
    // At the gate the altitude is the ground's: no height above it.
    EXPECT_NEAR(vars.get(73) * 3.280833 - vars.get(2) * 0.0128157, 0, 0.05);
    vars.set(74, 1098.4);           // a script moves the feet...
    seconds(1.0 / 18);
    EXPECT_NEAR(vars.get(73), 1098.4 / 3.280833, 1e-9);
    vars.set(73, 89.5);             // ...or the metres: the other follows
    seconds(1.0 / 18);
    EXPECT_NEAR(vars.get(74), 89.5 * 3.280833, 1e-9);
    seconds(1);                     // and nothing drifts while neither moves
    EXPECT_NEAR(vars.get(74), 89.5 * 3.280833, 1e-9);
    EXPECT_EQ(vars.get(73), 89.5);
}

TEST_F(Model, SwitchesLeversRadiosAndTargets) {
    event(0x1034B);
    EXPECT_EQ(vars.get(619), 1);
    event(0x1034B);
    EXPECT_EQ(vars.get(619), 0);
    event(0x10209);
    EXPECT_EQ(vars.get(10), 0);
    event(0x10208);
    EXPECT_EQ(vars.get(10), 1);
    event(0x1011D, static_cast<uint32_t>(-1370));   // reverse region of the lever
    EXPECT_EQ(vars.get(163), -1370);
    event(0x100AB, 0x2345);
    EXPECT_EQ(vars.get(23), 0x2345);
    event(0x100B2, 0x1234);
    EXPECT_EQ(vars.get(16), 0x234);
    event(0x1024C, 12000);
    EXPECT_EQ(vars.get(104), 12000);
    event(0x101F4, static_cast<uint32_t>(-1500));
    EXPECT_EQ(vars.get(120), -1500);
    event(0x1015B);
    EXPECT_NEAR(vars.get(75), 29.93, 1e-9);
    EXPECT_EQ(vars.get(76), 1014);
    event(0x100FC);
    EXPECT_EQ(vars.get(355), 2);
    vars.set(44, 1);
    event(0x1010E);
    EXPECT_EQ(vars.get(111), 1);
    event(0x10116);
    EXPECT_EQ(vars.get(111), 0);
    vars.set(363, 0);
    event(0x102C2);
    EXPECT_EQ(vars.get(363), 1);
    EXPECT_EQ(aircraft_event(model, vars, 0x10001, 0), nullptr);
}

TEST_F(Model, ClockRunsFromNoonAndTheClockEventsSetIt) {
    aircraft_clock(model, vars, 3661.5);
    EXPECT_EQ(vars.get(3), 13);
    EXPECT_EQ(vars.get(4), 1);
    EXPECT_EQ(vars.get(5), 1);
    event(0x1007A);
    event(0x1007B);
    aircraft_clock(model, vars, 3661.5);
    EXPECT_EQ(vars.get(3), 14);
    EXPECT_EQ(vars.get(4), 0);
    aircraft_clock(model, vars, 12 * 3600);   // past midnight: next day
    EXPECT_EQ(vars.get(8), 173);
}

TEST(VariableRecords, IntegersInTheFirstWordDoublesAsDoubles) {
    VariableStore vars;
    vars.seed();
    vars.set(42, 2);
    HostVariable integer{42, nullptr, 0, 1.5, {}};
    vars.fill(&integer);
    int32_t n;
    std::memcpy(&n, &integer.value, 4);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(integer.host_type, VARIABLE_TYPE_INT32);
    HostVariable bcd{24, nullptr, 0, 0, {}};
    vars.fill(&bcd);
    std::memcpy(&n, &bcd.value, 4);
    EXPECT_EQ(n, 0x1030);
    HostVariable real{61, nullptr, 0, 0, {}};
    vars.set(61, 123.25);
    vars.fill(&real);
    EXPECT_EQ(real.value, 123.25);
    HostVariable beyond{5000, nullptr, 0, 7, {}};
    vars.fill(&beyond);
    EXPECT_EQ(beyond.value, 0);
    EXPECT_EQ(variable_by_name("airspeed"), 61u);
    EXPECT_FALSE(variable_by_name("no_such_thing"));
}

// The receivers find their stations by frequency: the locator due north of
// the gate on 336.0, the VOR/DME on 112.30 east-north-east.
TEST_F(Model, RadioNavigationFromTheTunedStations) {
    vars.set(42, 7);                              // the script's, while NAV 1 has no station
    seconds(1.0 / 18);
    EXPECT_EQ(vars.get(39), -90);                 // heading 090, the locator north
    EXPECT_NEAR(vars.get(20), 10000 * (1 - 14000 / 1852.0 / 50), 0.5);
    EXPECT_EQ(vars.get(42), 7);
    EXPECT_EQ(vars.get(31), -1);

    event(0x100AC, 0x1230);
    event(0x100AD, 0x1455);
    seconds(1.0 / 18);
    EXPECT_EQ(vars.get(42), 1);
    double radial = vars.get(25) * 360 / 65536;   // from the station to the gate
    EXPECT_NEAR(radial, std::atan2(-25000.0, -8000.0) * 180 / std::numbers::pi + 360, 1e-9);
    EXPECT_NEAR(vars.get(31), std::hypot(26248.8, 30) / 1852, 0.01);
    EXPECT_EQ(vars.get(32), 0);                   // standing still
    EXPECT_EQ(vars.get(51), 1);
    EXPECT_GT(vars.get(35), 0);

    // Moving toward the station at 100 m/s: about 194 knots closing.
    for (int frame = 0; frame < 18; ++frame) {
        vars.set(71, vars.get(71) + 100.0 / 18 * 8000 / 26248.8);
        vars.set(72, vars.get(72) + 100.0 / 18 * 25000 / 26248.8 / 7.10667098941774e-08);
        aircraft_step(model, vars, 1.0 / 18);
    }
    EXPECT_NEAR(vars.get(32), 194.4, 1.0);

    // Tuned away or out of range: no signal, the ADF needle across, no DME.
    event(0x100B2, 0x999);
    event(0x100AC, 0x1380);                       // a VOR without DME
    vars.set(71, 0);
    vars.set(72, 0);
    seconds(1.0 / 18);
    EXPECT_EQ(vars.get(20), 0);
    EXPECT_EQ(vars.get(39), 90);
    EXPECT_EQ(vars.get(42), 1);
    EXPECT_EQ(vars.get(31), -1);
    EXPECT_EQ(vars.get(32), -1);
    vars.set(71, 400000);
    seconds(1.0 / 18);
    EXPECT_EQ(vars.get(42), 0);
}

TEST_F(Model, WildHeadingsAndPositionsFromAScriptEndEachStep) {
    // Bearings are brought into range by the remainder: a heading of 1e300
    // or infinity used to turn the step into an endless loop.
    event(0x100AC, 0x1230);                       // NAV 1 on a station as well
    for (double wild : {1e300, -1e300, double(INFINITY), double(NAN), 725.0}) {
        vars.set(81, wild);
        vars.set(86, wild);
        seconds(1.0 / 18);
    }
    EXPECT_NEAR(vars.get(39), -5, 1e-9);          // heading 725 is 005: the locator north 5 left
}
