// The simulator cycle of System_Simulator, step by step and as a whole.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fake_host.h"
#include "frame/channel.h"
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/simulator_keys.h"
#include "main_module/state.h"
#include "platform/keyboard.h"
#if !defined(_WIN32)
#include "main_module/simulator/sound_bank.h"
#include "tests/unit/fake_sound_device.h"
#include "tests/unit/wave_builder.h"
#endif

namespace {

class Cycle : public ::testing::Test {
protected:
    void SetUp() override {
        reset_module_state();
        host.set(VAR_ON_GROUND, 1);
        host.set(VAR_PARKING_BRAKE, 1);
        host.set(363, 1);
        host.set(364, 1);
        host.set(740, 1);
        quillmar.panels.flight_controls_locked = 0;
    }

    // One frame of the whole cycle, the tick counter advanced by one first.
    void frame() {
        host.set(VAR_TICKS, host.get(VAR_TICKS) + 1);
        simulator_update();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    void set_clock(int h, int m, int s) {
        host.set(VAR_CLOCK_HOURS, h);
        host.set(VAR_CLOCK_MINUTES, m);
        host.set(VAR_CLOCK_SECONDS, s);
    }

    FakeHost host;
    ElectricState& el = quillmar.electric;
    PanelInputs& in = quillmar.panels;
    SystemOutputs& sys = quillmar.systems;
    CycleState& c = quillmar.cycle;
};

// ------------------------------------------------------------ power state

using PowerState = Cycle;

TEST_F(PowerState, BatteryShowsTransferForEighteenTicksThenPower) {
    host.set(VAR_TICKS, 100);
    cycle_generators_and_power();
    EXPECT_EQ(el.elec_power_state, 0);
    el.batt_switch = 1;
    host.set(VAR_TICKS, 101);
    cycle_generators_and_power();
    EXPECT_EQ(el.power_source, 1);
    EXPECT_EQ(el.elec_power_state, 1);
    for (int tick = 102; tick <= 119; ++tick) {
        host.set(VAR_TICKS, tick);
        cycle_generators_and_power();
        ASSERT_EQ(el.elec_power_state, 1) << "tick " << tick;
    }
    host.set(VAR_TICKS, 120);
    cycle_generators_and_power();
    EXPECT_EQ(el.elec_power_state, 2);
}

TEST_F(PowerState, ChangingSourceBlanksAgainAndRemovingAllGivesZeroAtOnce) {
    el.batt_switch = 1;
    frames(30);
    ASSERT_EQ(el.elec_power_state, 2);
    el.ext_pwr = 1;
    frame();
    EXPECT_EQ(el.power_source, 3);
    EXPECT_EQ(el.elec_power_state, 1);
    double start = host.get(VAR_TICKS);
    while (el.elec_power_state == 1 && host.get(VAR_TICKS) < start + 40) frame();
    EXPECT_EQ(host.get(VAR_TICKS), start + 19);
    EXPECT_EQ(el.elec_power_state, 2);

    el.batt_switch = 0;
    el.ext_pwr = 0;
    frame();
    EXPECT_EQ(el.elec_power_state, 0);
}

TEST_F(PowerState, LosingEverySourceDuringATransferWaitsForItsEnd) {
    el.batt_switch = 1;
    frame();
    el.batt_switch = 0;
    frame();
    EXPECT_EQ(el.power_source, 0);
    EXPECT_EQ(el.elec_power_state, 1);
    frames(20);
    EXPECT_EQ(el.elec_power_state, 0);
}

TEST_F(PowerState, SourcePrecedenceLaterWins) {
    el.batt_switch = 1;
    in.apu_gen = 1;
    cycle_generators_and_power();
    EXPECT_EQ(el.power_source, 2);
    el.ext_pwr = 1;
    cycle_generators_and_power();
    EXPECT_EQ(el.power_source, 3);
    host.set(VAR_GENERATOR_2, 0.6);
    cycle_generators_and_power();
    EXPECT_EQ(el.power_source, 4);
    // A generator the crew took off line does not count as a source.
    el.generators_online = 0;
    cycle_generators_and_power();
    EXPECT_EQ(el.power_source, 3);
}

TEST_F(PowerState, GeneratorLineUpFollowsEngineStartsAndStops) {
    host.set(VAR_GENERATOR_1, 0.9);
    cycle_generators_and_power();
    EXPECT_EQ(el.generators_online, 1);
    host.set(VAR_GENERATOR_2, 0.9);
    cycle_generators_and_power();
    EXPECT_EQ(el.generators_online, 3);
    // Switched off by the crew: stays off while the engine keeps running...
    el.generators_online = 2;
    cycle_generators_and_power();
    EXPECT_EQ(el.generators_online, 2);
    // ...and an engine stop takes its generator off line.
    host.set(VAR_GENERATOR_2, 0.5);
    cycle_generators_and_power();
    EXPECT_EQ(el.generators_online, 0);
    // The next start of engine 1 puts generator 1 back on line.
    host.set(VAR_GENERATOR_1, 0.0);
    cycle_generators_and_power();
    host.set(VAR_GENERATOR_1, 0.7);
    cycle_generators_and_power();
    EXPECT_EQ(el.generators_online, 1);
}

TEST_F(PowerState, PublishedOnTheChannelEveryFrame) {
    channel_open(&quillmar.channels, CHANNEL_EL_PWR_AVAIL);
    int value = -1;
    el.batt_switch = 1;
    frame();
    ASSERT_TRUE(channel_read(&quillmar.channels, CHANNEL_EL_PWR_AVAIL, &value));
    EXPECT_EQ(value, 1);
    frames(19);
    channel_read(&quillmar.channels, CHANNEL_EL_PWR_AVAIL, &value);
    EXPECT_EQ(value, 2);
    el.batt_switch = 0;
    frame();
    channel_read(&quillmar.channels, CHANNEL_EL_PWR_AVAIL, &value);
    EXPECT_EQ(value, 0);
    channel_release(&quillmar.channels, CHANNEL_EL_PWR_AVAIL);
}

// ------------------------------------------------------------ clock and pressurization

class Pressurization : public Cycle {
protected:
    void SetUp() override {
        Cycle::SetUp();
        el.elec_power_state = 2;
        host.set(VAR_ALTITUDE_FEET, 12000);
        set_clock(10, 0, 0);
        cycle_clock_and_pressurization();  // first step from the install's clock 0
        sys.cabin_altitude = 1000;
    }
};

TEST_F(Pressurization, OneLimitedStepPerClockSecond) {
    // Target (12000 - 2000) x 0.3478 = 3478 ft: climbs at most 25 ft a second.
    for (int i = 0; i < 5; ++i) cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 1000);  // clock frozen: no step
    set_clock(10, 0, 1);
    cycle_clock_and_pressurization();
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 1025);
    EXPECT_EQ(sys.cabin_rate, 25);
    sys.cabin_altitude = 3470;
    set_clock(10, 0, 2);
    cycle_clock_and_pressurization();
    EXPECT_NEAR(sys.cabin_altitude, 10000 * 0.347826086957, 1e-9);
    EXPECT_NEAR(sys.cabin_rate, 10000 * 0.347826086957 - 3470, 1e-9);
}

TEST_F(Pressurization, MidnightGivesOneStep) {
    set_clock(23, 59, 59);
    cycle_clock_and_pressurization();
    double before = sys.cabin_altitude;
    set_clock(0, 0, 0);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, before + 25);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, before + 25);
}

TEST_F(Pressurization, DescentIsLimitedAndLandingElevationRaisesTheTarget) {
    host.set(VAR_ALTITUDE_FEET, 3000);  // target 348 ft
    set_clock(10, 0, 1);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 975);
    EXPECT_EQ(sys.cabin_rate, -25);
    in.landing_altitude = 990;
    set_clock(10, 0, 2);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 990);
    EXPECT_EQ(sys.cabin_rate, 15);
}

TEST_F(Pressurization, NothingAtOrBelow2000FeetAndManualRateWhenEngaged) {
    host.set(VAR_ALTITUDE_FEET, 2000);
    sys.cabin_rate = 7;
    set_clock(10, 0, 1);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 1000);
    EXPECT_EQ(sys.cabin_rate, 7);
    in.manual_control_status = 1;
    in.man_rate_control_value = -12;
    set_clock(10, 0, 2);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 988);
    EXPECT_EQ(sys.cabin_rate, -12);
}

TEST_F(Pressurization, WithoutPowerTheRateIsZeroAndTheClockIsNotTaken) {
    el.elec_power_state = 0;
    sys.cabin_rate = 25;
    set_clock(10, 0, 5);
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_rate, 0);
    EXPECT_EQ(sys.cabin_altitude, 1000);
    // Power back with the clock unchanged since: the step still counts the
    // seconds since the last powered step.
    el.elec_power_state = 1;
    cycle_clock_and_pressurization();
    EXPECT_EQ(sys.cabin_altitude, 1025);
}

// ------------------------------------------------------------ engines and fuel

using Engines = Cycle;

TEST_F(Engines, StarterSentEveryFrameUntilCoreSpeedPasses60) {
    in.start_request = 2;
    host.set(VAR_CORE_SPEED_2, 30);
    cycle_engine_start();
    cycle_engine_start();
    EXPECT_EQ(host.count(EVENT_STARTER_2), 2u);
    host.set(VAR_CORE_SPEED_2, 60.5);
    cycle_engine_start();
    EXPECT_EQ(host.count(EVENT_STARTER_2), 3u);
    EXPECT_EQ(in.start_request, 0);
    cycle_engine_start();
    EXPECT_EQ(host.count(EVENT_STARTER_2), 3u);
    EXPECT_EQ(host.count(EVENT_STARTER_1), 0u);
}

TEST_F(Engines, FuelControlValueFromTheLever) {
    struct Case {
        double lever;
        uint32_t expected;
    };
    for (Case k : {Case{0, 16384}, Case{50, 6144}, Case{50.0001, 0}, Case{25, 11264},
                   Case{80, 0}, Case{10.3, 14274}}) {
        host.clear_events();
        in.fuel_control_left_pos = k.lever;
        in.fuel_control_right_pos = 0;
        cycle_fuel_control();
        EXPECT_EQ(host.values_of(EVENT_FUEL_CONTROL_1), std::vector<uint32_t>{k.expected})
            << "lever " << k.lever;
        EXPECT_EQ(host.values_of(EVENT_FUEL_CONTROL_2), std::vector<uint32_t>{16384});
    }
}

TEST_F(Engines, FireHandleCutsTheFuel) {
    in.fuel_control_left_pos = in.fuel_control_right_pos = 0;
    in.engine2_fuel_shutoff = 1;
    cycle_fuel_control();
    EXPECT_EQ(host.values_of(EVENT_FUEL_CONTROL_1), std::vector<uint32_t>{16384});
    EXPECT_EQ(host.values_of(EVENT_FUEL_CONTROL_2), std::vector<uint32_t>{0});
}

TEST_F(Engines, NoBoostPressureCutsTheNamedEnginesInUnusualAttitudes) {
    in.fuel_control_left_pos = in.fuel_control_right_pos = 0;
    struct Case {
        int engines;
        double bank, pitch, cut_value;
        bool cut1, cut2;
    };
    for (Case k : {Case{1, 31, 0, 0, true, false}, Case{2, 0, -30.5, 0, false, true},
                   Case{3, 0, 0, -201, true, true}, Case{3, 30, -30, -200, false, false},
                   Case{0, 90, 90, -999, false, false}}) {
        host.clear_events();
        in.no_boost_pressure = k.engines;
        host.set(VAR_BANK, k.bank);
        host.set(VAR_PITCH, k.pitch);
        host.set(VAR_FUEL_CUT_VALUE, k.cut_value);
        cycle_fuel_control();
        std::vector<FakeHostEvent> expected = {{EVENT_FUEL_CONTROL_1, 16384},
                                               {EVENT_FUEL_CONTROL_2, 16384}};
        if (k.cut1) expected.push_back({EVENT_FUEL_CONTROL_1, 0});
        if (k.cut2) expected.push_back({EVENT_FUEL_CONTROL_2, 0});
        EXPECT_EQ(host.events(), expected) << "engines " << k.engines;
    }
}

TEST_F(Engines, RunningLatchesKeepTheirValueAtExactlyHalf) {
    host.set(VAR_GENERATOR_1, 0.5);
    cycle_engine_running_latches();
    EXPECT_EQ(c.engine1_running_latch, 0);
    host.set(VAR_GENERATOR_1, 0.51);
    host.set(VAR_GENERATOR_2, 0.8);
    cycle_engine_running_latches();
    EXPECT_EQ(c.engine1_running_latch, 1);
    EXPECT_EQ(c.engine2_running_latch, 1);
    host.set(VAR_GENERATOR_1, 0.5);
    host.set(VAR_GENERATOR_2, 0.49);
    cycle_engine_running_latches();
    EXPECT_EQ(c.engine1_running_latch, 1);
    EXPECT_EQ(c.engine2_running_latch, 0);
}

// ------------------------------------------------------------ ground power

class GroundPower : public Cycle {
protected:
    void at(double time) {
        host.set(VAR_SIM_TIME, time);
        cycle_ground_power();
    }
    void SetUp() override {
        Cycle::SetUp();
        el.ext_pwr_available = 0;
    }
};

TEST_F(GroundPower, AvailableFifteenSecondsAfterTheBrakeIsSet) {
    at(100);
    at(114.9);
    at(115);
    EXPECT_EQ(el.ext_pwr_available, 0);
    at(115.1);
    EXPECT_EQ(el.ext_pwr_available, 1);
}

TEST_F(GroundPower, BrakeChangeRestartsTheWait) {
    at(100);
    at(110);
    host.set(VAR_PARKING_BRAKE, 0);
    at(110.5);  // the release is seen; the new wait begins on the next frame
    at(111);
    at(120);    // the first wait would have run out here
    EXPECT_EQ(el.ext_pwr_available, 0);
    at(126);
    EXPECT_EQ(el.ext_pwr_available, 0);
    at(126.1);
    EXPECT_EQ(el.ext_pwr_available, 1);
    // Once available it stays through further brake changes.
    host.set(VAR_PARKING_BRAKE, 1);
    at(127);
    at(128);
    EXPECT_EQ(el.ext_pwr_available, 1);
}

TEST_F(GroundPower, MovingGeneratingOrAirborneTakesItAway) {
    struct Case {
        double on_ground, ground_speed, generator1, generator2;
        int busy;
    };
    for (Case k : {Case{0, 0, 0, 0, 0}, Case{1, 1, 0, 0, 0}, Case{1, 0, 0.2, 0, 0},
                   Case{1, 0, 0, 0.25, 0}, Case{1, 0, 0, 0, 1}}) {
        el.ext_pwr_available = 1;
        el.ext_pwr = 1;
        c.ground_power_wait = 2;
        c.ground_crew_busy = k.busy;
        host.set(VAR_ON_GROUND, k.on_ground);
        host.set(VAR_GROUND_SPEED, k.ground_speed);
        host.set(VAR_GENERATOR_1, k.generator1);
        host.set(VAR_GENERATOR_2, k.generator2);
        at(200);
        EXPECT_EQ(el.ext_pwr_available, 0);
        EXPECT_EQ(el.ext_pwr, 0);
        EXPECT_EQ(c.ground_power_wait, 0);
    }
    // Only the air clears the ground crew's busy flag.
    EXPECT_EQ(c.ground_crew_busy, 1);
    host.set(VAR_ON_GROUND, 0);
    at(201);
    EXPECT_EQ(c.ground_crew_busy, 0);
}

TEST_F(GroundPower, StandingStillBelowTheLimitsKeepsWaiting) {
    host.set(VAR_GROUND_SPEED, 0.99);
    host.set(VAR_GENERATOR_1, 0.19);
    at(0);
    at(15.5);
    EXPECT_EQ(el.ext_pwr_available, 1);
}

// ------------------------------------------------------------ temperatures

class Temperatures : public Cycle {
protected:
    void SetUp() override {
        Cycle::SetUp();
        host.set(VAR_OUTSIDE_TEMPERATURE, 5.0 / 256);  // 5 degrees outside
        sys.temperature_flight_deck = 15;
        sys.temperature_cabin = 15;
        c.temperature_step_time = 10;
    }
    void at(double time) {
        host.set(VAR_SIM_TIME, time);
        cycle_temperatures();
    }
    void packs_running() {
        in.pack_left_pos = in.pack_right_pos = 1;
        c.engine1_running_latch = c.engine2_running_latch = 1;
    }
};

TEST_F(Temperatures, WithoutPacksBothDriftTowardOutsideOncePerSecond) {
    at(11);     // exactly 1.0 s: no step yet
    EXPECT_EQ(sys.temperature_flight_deck, 15);
    at(11.05);
    EXPECT_NEAR(sys.temperature_flight_deck, 14.99, 1e-9);
    EXPECT_NEAR(sys.temperature_cabin, 14.99, 1e-9);
    at(11.5);
    EXPECT_NEAR(sys.temperature_cabin, 14.99, 1e-9);
    // A pack switched on without its engine running cannot run.
    in.pack_left_pos = 1;
    at(12.1);
    EXPECT_NEAR(sys.temperature_flight_deck, 14.98, 1e-9);
}

TEST_F(Temperatures, PositionSixDriftsTowardOutsideEvenWithPacksOn) {
    packs_running();
    in.cabin_temp_aut_pos = 1;
    host.set(VAR_OUTSIDE_TEMPERATURE, 30.0 / 256);
    for (int s = 1; s <= 10; ++s) at(10 + s * 1.01);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.1, 1e-9);
    EXPECT_NEAR(sys.temperature_cabin, 15.1, 1e-9);
}

TEST_F(Temperatures, DriftSettlesOnTheOutsideTemperature) {
    host.set(VAR_OUTSIDE_TEMPERATURE, 15.005 / 256);
    at(12);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.005, 1e-9);
    at(14);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.005, 1e-9);
}

TEST_F(Temperatures, SelectorBandsHeatAndCool) {
    packs_running();
    in.cabin_temp_aut_pos = 1;
    in.flight_deck_temp_pos = 3;  // holds 24.8..25.2
    in.cabin_temp_pos = 8;        // holds 14.8..15.2
    sys.temperature_cabin = 15.3;
    at(12);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.04, 1e-9);
    EXPECT_NEAR(sys.temperature_cabin, 15.26, 1e-9);
    at(14);
    EXPECT_NEAR(sys.temperature_cabin, 15.22, 1e-9);
    at(16);
    EXPECT_NEAR(sys.temperature_cabin, 15.18, 1e-9);
    at(18);  // inside the band: nothing
    EXPECT_NEAR(sys.temperature_cabin, 15.18, 1e-9);
    // The flight deck heater doubles every heating step.
    EXPECT_NEAR(sys.temperature_flight_deck, 15.16, 1e-9);
    in.flight_deck_heater_pos = 1;
    at(20);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.24, 1e-9);
}

TEST_F(Temperatures, HeatAndCoolToLimits) {
    packs_running();
    in.cabin_temp_aut_pos = 1;
    in.flight_deck_temp_pos = 5;  // heats below 30, never cools
    in.cabin_temp_pos = 7;        // cools above 10, never heats
    sys.temperature_flight_deck = 29.99;
    sys.temperature_cabin = 10.01;
    at(12);
    EXPECT_NEAR(sys.temperature_flight_deck, 30.03, 1e-9);
    EXPECT_NEAR(sys.temperature_cabin, 9.97, 1e-9);
    at(14);
    EXPECT_NEAR(sys.temperature_flight_deck, 30.03, 1e-9);
    EXPECT_NEAR(sys.temperature_cabin, 9.97, 1e-9);
}

TEST_F(Temperatures, CabinWithoutAuthorityAndPacksOff) {
    packs_running();
    in.pack_left_pos = 0;         // the flight deck keeps its temperature
    in.cabin_temp_pos = 4;        // ignored without authority
    in.flight_deck_heater_pos = 1;
    sys.temperature_cabin = 18.0;
    at(12);
    EXPECT_EQ(sys.temperature_flight_deck, 15);
    EXPECT_NEAR(sys.temperature_cabin, 18.04, 1e-9);
    sys.temperature_cabin = 19.3;
    at(14);
    EXPECT_NEAR(sys.temperature_cabin, 19.26, 1e-9);
}

TEST_F(Temperatures, TimeGoingBackwardsOnlyResetsTheStepTime) {
    at(5);
    EXPECT_EQ(sys.temperature_flight_deck, 15);
    EXPECT_EQ(c.temperature_step_time, 5);
    at(6.1);
    EXPECT_NEAR(sys.temperature_flight_deck, 14.99, 1e-9);
}

TEST_F(Temperatures, WholeDegreesPublished) {
    sys.temperature_flight_deck = 21.57;
    sys.temperature_cabin = -3.7;
    at(10.5);
    EXPECT_EQ(sys.temperature_flight_deck_whole, 21);
    EXPECT_EQ(sys.temperature_cabin_whole, -3);
}

// ------------------------------------------------------------ hydraulics

using Hydraulics = Cycle;

TEST_F(Hydraulics, SteadyPressureFromThePumps) {
    host.set(VAR_HYD_PRESSURE_1, 2600 * 130);
    host.set(VAR_HYD_PRESSURE_2, 2900 * 130);
    cycle_hydraulic_pressure();
    EXPECT_DOUBLE_EQ(sys.hyd_pressure, 2900);
    in.eng_pump_left_pos = in.eng_pump_right_pos = 0;
    in.elec_pump_pos = 1;
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 2713);
    in.elec_pump_pos = 0;
    sys.hyd_pressure = 1234;
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 1234);
}

TEST_F(Hydraulics, RampsRiseToTheTargetAndFallToFrozenZero) {
    in.eng_pump_left_pos = in.eng_pump_right_pos = 0;
    in.elec_pump_pos = 1;
    in.hyd_ramp_mode = 2;
    in.hyd_ramp_start_pressure = 100;
    in.hyd_ramp_start_tick = 50;
    host.set(VAR_TICKS, 60);
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 230);
    host.set(VAR_TICKS, 300);
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 2713);
    EXPECT_EQ(in.hyd_ramp_mode, 0);

    in.elec_pump_pos = 0;
    in.hyd_ramp_mode = 1;
    in.hyd_ramp_start_pressure = 2713;
    in.hyd_ramp_start_tick = 300;
    host.set(VAR_TICKS, 301);
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 2700);
    host.set(VAR_TICKS, 600);
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 0);
    EXPECT_EQ(in.hyd_ramp_mode, 3);
    host.set(VAR_HYD_PRESSURE_1, 3000 * 130);
    in.eng_pump_left_pos = 1;
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 0);  // frozen until the panel starts a new ramp
}

TEST_F(Hydraulics, RisingWithoutAnyPumpKeepsRising) {
    in.eng_pump_left_pos = in.eng_pump_right_pos = 0;
    in.hyd_ramp_mode = 2;
    host.set(VAR_TICKS, 1000);
    cycle_hydraulic_pressure();
    EXPECT_EQ(sys.hyd_pressure, 13000);
    EXPECT_EQ(in.hyd_ramp_mode, 2);
}

TEST_F(Hydraulics, QuantityFromBothFlowTerms) {
    host.set(VAR_HYD_FLOW_1, 0.4);
    host.set(VAR_HYD_FLOW_2, 0.5);
    cycle_hydraulic_pressure();
    EXPECT_DOUBLE_EQ(sys.hyd_quantity_percent, 45);
}

// ------------------------------------------------------------ flaps and gear hold

class FlapsAndGearHold : public Cycle {
protected:
    void SetUp() override {
        Cycle::SetUp();
        sys.hyd_pressure = 3000;
        host.set(VAR_FLAPS_HANDLE, 2730);
        host.set(VAR_GEAR_HANDLE, 16383);
        cycle_flaps_and_gear_hold();
        sys.hyd_pressure = 2499;
    }
};

TEST_F(FlapsAndGearHold, FlapsSelectionDrivenBackEveryFrameUntilPressureReturns) {
    host.set(VAR_FLAPS_HANDLE, 5460);
    cycle_flaps_and_gear_hold();
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_FLAPS_RETRACT_STEP), 2u);
    host.set(VAR_FLAPS_HANDLE, 0);
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_FLAPS_EXTEND_STEP), 1u);
    sys.hyd_pressure = 2500;
    cycle_flaps_and_gear_hold();
    sys.hyd_pressure = 0;
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_FLAPS_EXTEND_STEP), 1u);
    EXPECT_EQ(c.remembered_flaps, 0);
}

TEST_F(FlapsAndGearHold, GearHeldOnlyInTheAir) {
    host.set(VAR_GEAR_HANDLE, 0);
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_GEAR_DOWN), 0u);
    host.set(VAR_ON_GROUND, 0);
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.values_of(EVENT_GEAR_DOWN), std::vector<uint32_t>{0});
    EXPECT_EQ(host.count(EVENT_FLAPS_EXTEND_STEP) + host.count(EVENT_FLAPS_RETRACT_STEP), 0u);
}

TEST_F(FlapsAndGearHold, AlternateGearHoldsTheGearDown) {
    host.set(VAR_ON_GROUND, 0);
    sys.hyd_pressure = 3000;
    host.set(VAR_GEAR_HANDLE, 0);
    cycle_flaps_and_gear_hold();
    sys.hyd_pressure = 0;
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_GEAR_DOWN) + host.count(EVENT_GEAR_UP), 0u);
    in.alternate_gear_extended = 1;
    cycle_flaps_and_gear_hold();
    cycle_flaps_and_gear_hold();
    EXPECT_EQ(host.count(EVENT_GEAR_DOWN), 2u);
}

// ------------------------------------------------------------ held states, lock, cancel

using HeldStates = Cycle;

TEST_F(HeldStates, EachStateThatReadsZeroIsSwitchedBackOnEveryFrame) {
    host.set(364, 0);
    host.set(740, 0);
    cycle_held_host_states();
    cycle_held_host_states();
    EXPECT_EQ(host.count(EVENT_HOLD_STATE_363), 0u);
    EXPECT_EQ(host.count(EVENT_HOLD_STATE_364), 2u);
    EXPECT_EQ(host.count(EVENT_HOLD_STATE_740), 2u);
}

TEST_F(HeldStates, ControlsLockSendsBothEventsInOrderWhileLocked) {
    cycle_controls_lock();
    EXPECT_TRUE(host.events().empty());
    in.flight_controls_locked = 1;
    cycle_controls_lock();
    std::vector<FakeHostEvent> expected = {{EVENT_CONTROLS_LOCK_1, 0}, {EVENT_CONTROLS_LOCK_2, 0}};
    EXPECT_EQ(host.events(), expected);
}

TEST_F(HeldStates, FlightDirectorCancelPublished) {
    channel_open(&quillmar.channels, CHANNEL_FD_CANCEL);
    int value = -1;
    in.fd_cancel = 1;
    cycle_fd_cancel();
    channel_read(&quillmar.channels, CHANNEL_FD_CANCEL, &value);
    EXPECT_EQ(value, 1);
    in.fd_cancel = 0;
    cycle_fd_cancel();
    channel_read(&quillmar.channels, CHANNEL_FD_CANCEL, &value);
    EXPECT_EQ(value, 0);
    channel_release(&quillmar.channels, CHANNEL_FD_CANCEL);
}

// ------------------------------------------------------------ space bar

#if !defined(_WIN32)
// The key state comes from the test program's host services (Linux only;
// on Windows the platform asks the keyboard itself).
class SpaceBar : public Cycle {
protected:
    static int16_t key_state(int virtual_key) { return virtual_key == KEY_SPACE ? key : 0; }
    void SetUp() override {
        Cycle::SetUp();
        key = 0;
        unit_host_services().key_state = key_state;
        cycle_initial_state();
    }
    void TearDown() override { unit_host_services().key_state = nullptr; }
    // Press and release between two frames: the toggle bit flips.
    void press_and_release() {
        key = static_cast<int16_t>(key ^ 1);
        cycle_space_bar();
    }
    static inline int16_t key = 0;
};

TEST_F(SpaceBar, OneStepPerRelease) {
    key = -128;  // held down
    cycle_space_bar();
    cycle_space_bar();
    EXPECT_EQ(in.checklist_section, 0);
    key = 1;     // released (toggled once)
    cycle_space_bar();
    EXPECT_EQ(in.checklist_section, 1);
    EXPECT_EQ(in.checklist_item, 0);
    cycle_space_bar();
    EXPECT_EQ(in.checklist_item, 0);
    key = -127;
    cycle_space_bar();
    key = 0;
    cycle_space_bar();
    EXPECT_EQ(in.checklist_item, 1);
}

TEST_F(SpaceBar, PressesBetweenTwoFrames) {
    press_and_release();
    EXPECT_EQ(in.checklist_section, 1);
    // Two full presses: the toggle bit is back where it was, nothing seen.
    cycle_space_bar();
    EXPECT_EQ(in.checklist_item, 0);
}

TEST_F(SpaceBar, DisabledByTheOption) {
    in.no_spacebar_status = 1;
    press_and_release();
    press_and_release();
    EXPECT_EQ(in.checklist_section, 0);
}

TEST_F(SpaceBar, ChecklistsFollowEachOther) {
    for (int i = 0; i < 25; ++i) press_and_release();
    EXPECT_EQ(in.checklist_section, 1);
    EXPECT_EQ(in.checklist_item, 24);
    press_and_release();
    EXPECT_EQ(in.checklist_section, 2);
    EXPECT_EQ(in.checklist_item, 0);
    // Through the other nine: 12 + 4 + 11 + 12 + 5 + 7 + 12 + 9 + 18 items.
    for (int i = 0; i < 12 + 4 + 11 + 12 + 5 + 7 + 12 + 9 + 17; ++i) press_and_release();
    EXPECT_EQ(in.checklist_section, 10);
    EXPECT_EQ(in.checklist_item, 17);
    press_and_release();
    EXPECT_EQ(in.checklist_section, 1);
    EXPECT_EQ(in.checklist_item, 0);
    // A number outside the checklists is left alone.
    in.checklist_section = 11;
    press_and_release();
    EXPECT_EQ(in.checklist_section, 11);
}
#endif

// ------------------------------------------------------------ system sounds

#if !defined(_WIN32)
class SystemSounds : public Cycle {
protected:
    void SetUp() override {
        Cycle::SetUp();
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() /
                  ("quillmar_system_sounds_" + std::to_string(stamp));
        std::filesystem::create_directories(folder_ / "Sound");
        before_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        for (const char* name : {"APU_1", "APU_2", "APU_3", "System_1", "System_2", "System_3"})
            write_file(std::string("Sound/kT93_") + name + ".wav",
                       pcm_wave({1, 1, 11025, 16}, pattern(2000)));
        sound_bank_install();
    }
    void TearDown() override {
        sound_bank_kill();
        std::filesystem::current_path(before_);
        std::filesystem::remove_all(folder_);
    }
    FakeSoundBuffer* buffer(const char* name) {
        auto found = device_.named(name);
        return found.size() == 1 ? found[0] : nullptr;
    }
    void at_tick(double tick) {
        host.set(VAR_TICKS, tick);
        cycle_system_sounds();
    }
    FakeSoundDevice device_;
    std::filesystem::path folder_, before_;
};

TEST_F(SystemSounds, ApuStartsLoopsAfter96TicksAndRunsDown) {
    FakeSoundBuffer* start = buffer("APU_3");
    FakeSoundBuffer* loop = buffer("APU_1");
    FakeSoundBuffer* stop = buffer("APU_2");
    ASSERT_TRUE(start && loop && stop);
    in.apu_running = 1;
    at_tick(100);
    EXPECT_EQ(start->plays, 1);
    EXPECT_FALSE(start->looping);
    FakeSoundDevice::finish(start);
    at_tick(196);
    EXPECT_FALSE(loop->playing);
    at_tick(197);
    EXPECT_TRUE(loop->playing);
    EXPECT_TRUE(loop->looping);
    at_tick(300);
    EXPECT_EQ(loop->plays, 1);
    in.apu_running = 0;
    at_tick(301);
    EXPECT_FALSE(loop->playing);
    EXPECT_EQ(stop->plays, 1);
    at_tick(302);
    EXPECT_EQ(stop->plays, 1);
    EXPECT_EQ(start->plays, 1);
}

TEST_F(SystemSounds, HumFollowsThePowerState) {
    FakeSoundBuffer* start = buffer("System_3");
    FakeSoundBuffer* loop = buffer("System_1");
    FakeSoundBuffer* stop = buffer("System_2");
    ASSERT_TRUE(start && loop && stop);
    el.elec_power_state = 1;
    at_tick(10);
    EXPECT_EQ(start->plays + stop->plays, 0);
    el.elec_power_state = 2;
    at_tick(11);
    EXPECT_EQ(start->plays, 1);
    at_tick(29);
    EXPECT_FALSE(loop->playing);
    at_tick(30);
    EXPECT_TRUE(loop->looping);
    // A transfer stops the hum; its end starts it again from the beginning.
    el.elec_power_state = 1;
    at_tick(40);
    EXPECT_FALSE(loop->playing);
    EXPECT_EQ(stop->plays, 1);
    FakeSoundDevice::finish(start);
    el.elec_power_state = 2;
    at_tick(59);
    EXPECT_EQ(start->plays, 2);
    at_tick(78);
    EXPECT_EQ(loop->plays, 2);
}

TEST_F(SystemSounds, APanelReloadStartsTheHumAndTheApuAgain) {
    // Power on and the APU running, both loops playing; a panel reload kills
    // and installs System_Simulator while the module and its state stay.
    in.apu_running = 1;
    el.elec_power_state = 2;
    at_tick(100);
    at_tick(200);
    ASSERT_TRUE(buffer("System_1")->looping && buffer("APU_1")->looping);
    c.ventilation_sound_state = 2;
    simulator_kill();
    simulator_install();
    EXPECT_EQ(c.ventilation_sound_state, 0);
    // The new bank's sounds: start-up sounds first, then the loops.
    at_tick(300);
    EXPECT_EQ(buffer("System_3")->plays, 1);
    EXPECT_EQ(buffer("APU_3")->plays, 1);
    at_tick(400);
    EXPECT_TRUE(buffer("System_1")->looping);
    EXPECT_TRUE(buffer("APU_1")->looping);
    simulator_kill();   // the channels go with it
}
#endif

// ------------------------------------------------------------ panel state keys

class SimulatorKeys : public Cycle {
protected:
    void SetUp() override {
        Cycle::SetUp();
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() /
                  ("quillmar_simulator_keys_" + std::to_string(stamp));
        std::filesystem::create_directories(folder_ / "Gauges");
        before_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(before_);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path file() { return folder_ / "Gauges" / "Quillmar.ini"; }
    std::vector<std::string> lines() {
        std::ifstream in(file());
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) result.push_back(line);
        }
        return result;
    }
    std::filesystem::path folder_, before_;
};

TEST_F(SimulatorKeys, ReadsTheSelectionsItActsOn) {
    std::ofstream(file()) << "[AIRCONDITIONING]\ntemperature_cabin=215\n"
                             "flight_deck_temp_pos=3\ncabin_temp_aut_pos=1\n"
                             "[CABIN PRESSURE]\nmanual_control_status=1\n"
                             "man_rate_control_value=-7\n[OPTIONS]\nno_spacebar_status=100\n"
                             "[FUEL_CONTROL]\nfuel_control_right_pos=50\n";
    simulator_read_keys();
    EXPECT_NEAR(sys.temperature_cabin, 21.5, 1e-9);
    EXPECT_NEAR(sys.temperature_flight_deck, 15.0, 1e-9);
    EXPECT_EQ(in.flight_deck_temp_pos, 3);
    EXPECT_EQ(in.cabin_temp_pos, 6);
    EXPECT_EQ(in.cabin_temp_aut_pos, 1);
    EXPECT_EQ(in.manual_control_status, 1);
    EXPECT_EQ(in.man_rate_control_value, -7);
    EXPECT_EQ(in.no_spacebar_status, 10);  // two characters at most
    EXPECT_EQ(in.fuel_control_left_pos, 80);
    EXPECT_EQ(in.fuel_control_right_pos, 50);
}

TEST_F(SimulatorKeys, WritesOnlyItsFourKeys) {
    sys.temperature_cabin = 21.57;
    sys.temperature_flight_deck = -0.55;
    in.manual_control_status = 1;
    in.man_rate_control_value = -12;
    simulator_write_keys();
    std::vector<std::string> expected = {
        "[AIRCONDITIONING]", "temperature_cabin=215", "temperature_flight_deck=-5",
        "[CABIN PRESSURE]",  "manual_control_status=1", "man_rate_control_value=-12",
    };
    EXPECT_EQ(lines(), expected);
}

// ------------------------------------------------------------ the cycle as a whole

using CycleOrder = Cycle;

TEST_F(CycleOrder, EventsOfOneFrameComeInStepOrder) {
    in.start_request = 1;                  // step 2
    host.set(364, 0);                      // step 13
    host.set(VAR_ON_GROUND, 0);
    host.set(VAR_GEAR_HANDLE, 0);          // step 15: remembered gear is down
    c.remembered_gear = 16383;
    in.flight_controls_locked = 1;         // step 18
    frame();
    int starter = host.position(EVENT_STARTER_1);
    int fuel = host.position(EVENT_FUEL_CONTROL_1);
    int held = host.position(EVENT_HOLD_STATE_364);
    int gear = host.position(EVENT_GEAR_DOWN);
    int lock = host.position(EVENT_CONTROLS_LOCK_1);
    ASSERT_GE(starter, 0);
    EXPECT_LT(starter, fuel);
    EXPECT_LT(fuel, held);
    EXPECT_LT(held, gear);
    EXPECT_LT(gear, lock);
}

TEST_F(CycleOrder, PressurizationSeesThePowerStateOfThePreviousFrame) {
    host.set(VAR_ALTITUDE_FEET, 12000);
    set_clock(10, 0, 0);
    el.batt_switch = 1;
    frame();
    EXPECT_EQ(el.elec_power_state, 1);
    EXPECT_EQ(sys.cabin_altitude, 0);
    frame();
    EXPECT_EQ(sys.cabin_altitude, 25);
}

TEST_F(CycleOrder, GroundPowerLossReachesThePowerStateOnTheNextFrame) {
    el.ext_pwr_available = 1;
    el.ext_pwr = 1;
    frames(25);
    ASSERT_EQ(el.elec_power_state, 2);
    host.set(VAR_GROUND_SPEED, 3);
    frame();
    EXPECT_EQ(el.ext_pwr, 0);
    EXPECT_EQ(el.elec_power_state, 2);
    frame();
    EXPECT_EQ(el.elec_power_state, 0);
}

TEST_F(CycleOrder, HydraulicPressureIsUpToDateForTheFlapsHold) {
    host.set(VAR_HYD_PRESSURE_1, 3000 * 130);
    host.set(VAR_FLAPS_HANDLE, 2730);
    frame();
    EXPECT_EQ(host.count(EVENT_FLAPS_EXTEND_STEP) + host.count(EVENT_FLAPS_RETRACT_STEP), 0u);
    EXPECT_EQ(c.remembered_flaps, 2730);
}

TEST_F(CycleOrder, EngineLatchIsSetBeforeTheTemperatureStep) {
    in.pack_left_pos = 1;
    in.flight_deck_temp_pos = 0;  // holds 19.8..20.2: heats from 15
    host.set(VAR_OUTSIDE_TEMPERATURE, 0);
    host.set(VAR_GENERATOR_1, 0.9);
    host.set(VAR_SIM_TIME, 5);
    frame();
    EXPECT_NEAR(sys.temperature_flight_deck, 15.04, 1e-9);
}

TEST_F(CycleOrder, InitialStateFromTheHost) {
    host.set(VAR_ALTITUDE_FEET, 5000);
    host.set(VAR_FLAPS_HANDLE, 8190);
    host.set(VAR_GEAR_HANDLE, 16383);
    el.ext_pwr_available = 0;
    c.ground_power_wait = 4;
    c.temperature_step_time = 99;
    in.checklist_section = 3;
    cycle_initial_state();
    EXPECT_NEAR(sys.cabin_altitude, 3000 * 0.347826086957, 1e-9);
    EXPECT_EQ(el.ext_pwr_available, 1);
    EXPECT_EQ(c.ground_power_wait, 0);
    EXPECT_EQ(c.temperature_step_time, 0);
    EXPECT_EQ(in.checklist_section, 0);
    EXPECT_EQ(c.remembered_flaps, 8190);
    EXPECT_EQ(c.remembered_gear, 16383);
    host.set(VAR_ALTITUDE_FEET, 1500);
    cycle_initial_state();
    EXPECT_EQ(sys.cabin_altitude, 0);
}

}  // namespace
