// The electrical power control panel: its update steps, buttons, readouts
// and panel state keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"
#include "main_module/systems/electric.h"

namespace fs = std::filesystem;

namespace {

class Electric : public ::testing::Test {
protected:
    void SetUp() override {
        reset_module_state();
        host.set(10, 1);  // panel lights on
    }

    ElementHead* element(ElectricElement which) {
        return gauge_element(&gauge_Electric.h, {which});
    }
    bool shown(ElectricElement which) { return !element_hidden(element(which)); }
    int image(ElectricElement which) {
        auto* icon = reinterpret_cast<IconElement*>(element(which));
        return static_cast<int>(icon->value(&icon->head));
    }
    std::string text(ElectricElement which) {
        auto* readout = reinterpret_cast<StringElement*>(element(which));
        readout->value(&readout->head);
        return readout->text;
    }
    void update() { electric_update(&gauge_Electric.h); }

    // Clicks the first child rectangle of the panel that contains x, y.
    void click(int x, int y) {
        for (MouseRect* r = gauge_Electric.h.mouse_rects; r->type != MOUSE_END; ++r) {
            if (r->type != MOUSE_CHILD) continue;
            if (x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height) {
                MousePoint point{x, y};
                EXPECT_EQ(r->function(&point, r->flags), 1);
                return;
            }
        }
        ADD_FAILURE() << "no rectangle at " << x << "," << y;
    }

    FakeHost host;
    ElectricState& el = quillmar.electric;
};

// ------------------------------------------------------------ update steps

using ElectricUpdate = Electric;

TEST_F(ElectricUpdate, DeadAircraftHidesReadoutsAndKeepsTheNormalLineUp) {
    el.el_pwr_on_system = 1;
    el.batt1 = 0;
    el.dc_xfeed = 1;
    el.gen2 = 0;
    update();
    EXPECT_EQ(el.el_pwr_on_system, 0);
    EXPECT_EQ(el.batt1, 1);
    EXPECT_EQ(el.dc_xfeed, 0);
    EXPECT_EQ(el.gen2, 1);
    for (ElectricElement e : {ELECTRIC_READOUT_LEFT, ELECTRIC_READOUT_RIGHT,
                              ELECTRIC_DECIMAL_LEFT, ELECTRIC_DECIMAL_RIGHT, ELECTRIC_BAT1_LEGEND,
                              ELECTRIC_BAT_PWR_ONLY, ELECTRIC_SYNOPTIC_LEGENDS})
        EXPECT_FALSE(shown(e)) << e;
    // Always shown, whatever the power.
    for (ElectricElement e : {ELECTRIC_SELECTOR_KNOB, ELECTRIC_EXT_PWR_LEGEND,
                              ELECTRIC_BATTERY_MASTER})
        EXPECT_TRUE(shown(e)) << e;
}

TEST_F(ElectricUpdate, BatteryAloneDropsBothChargeButtonsAndLightsBatPwrOnly) {
    el.batt_switch = 1;
    el.elec_power_state = 2;
    update();  // power-up: the normal line-up, generators included
    EXPECT_EQ(el.el_pwr_on_system, 1);
    EXPECT_EQ(el.gen1, 1);
    EXPECT_EQ(el.batt1, 1);
    update();  // generators follow the (empty) line-up: nothing charges
    EXPECT_EQ(el.gen1, 0);
    EXPECT_EQ(el.gen2, 0);
    EXPECT_EQ(el.batt1, 0);
    EXPECT_EQ(el.batt2, 0);
    EXPECT_EQ(image(ELECTRIC_BAT1_LEGEND), 0);  // OFF lit
    EXPECT_TRUE(shown(ELECTRIC_BAT_PWR_ONLY));
    EXPECT_EQ(image(ELECTRIC_BAT_PWR_ONLY), 1);
    // The TRUs and the AC cross-feed keep each other on.
    EXPECT_EQ(el.tru1, 1);
    EXPECT_EQ(el.ac_xfeed, 1);
    el.ac_xfeed = 0;
    update();
    EXPECT_EQ(el.tru1, 0);
    EXPECT_EQ(el.tru2, 0);
    EXPECT_EQ(el.dc_xfeed, 0);
}

TEST_F(ElectricUpdate, PowerUpResetsTheLineUpOnlyOnTheFirstLiveUpdate) {
    el.batt_switch = 1;
    el.ext_pwr_available = 1;
    el.ext_pwr = 1;
    el.dc_xfeed = 1;
    el.tru1 = 0;
    update();
    EXPECT_EQ(el.tru1, 1);
    EXPECT_EQ(el.dc_xfeed, 0);
    el.tru1 = 0;
    update();
    EXPECT_EQ(el.tru1, 0);
    EXPECT_EQ(el.batt1, 0);  // U7: no cross-feed and TRU 1 off
    EXPECT_EQ(el.batt2, 1);
}

TEST_F(ElectricUpdate, EngineStartLinesUpItsSideOnceInOneFrame) {
    el.batt_switch = 1;
    update();
    el.ac_xfeed = 0;
    update();
    ASSERT_EQ(el.batt1, 0);
    ASSERT_EQ(el.tru1, 0);
    host.set(701, 0.9);
    el.generators_online = 1;  // the cycle puts generator 1 on line
    update();
    EXPECT_EQ(el.batt1, 1);
    EXPECT_EQ(el.gen1, 1);
    EXPECT_EQ(el.tru1, 1);
    EXPECT_EQ(el.ac_xfeed, 1);
    EXPECT_EQ(el.batt2, 0);
    EXPECT_EQ(el.tru2, 0);
    EXPECT_EQ(el.engine1_seen_running, 1);
    ElectricState after_first = el;
    // The crew's later choices stand while the engine keeps running.
    el.tru1 = 0;
    update();
    EXPECT_EQ(el.tru1, 0);
    EXPECT_EQ(el.batt1, 0);
    el.tru1 = 1;
    update();
    EXPECT_EQ(el.batt1, 0);
    EXPECT_EQ(el.gen1, after_first.gen1);
}

TEST_F(ElectricUpdate, EngineRunningAtInstallGetsNoLineUp) {
    host.set(701, 0.9);
    el.generators_online = 1;
    el.batt_switch = 1;
    electric_install();
    update();
    el.tru1 = 0;
    el.batt1 = 0;
    update();
    EXPECT_EQ(el.tru1, 0);
    EXPECT_EQ(el.batt1, 0);
    // After a stop the next start lines up again.
    host.set(701, 0.2);
    update();
    host.set(701, 0.8);
    update();
    EXPECT_EQ(el.tru1, 1);
    EXPECT_EQ(el.batt1, 1);
}

TEST_F(ElectricUpdate, ExternalPowerKeepsTheSystemLiveAndItsLossClearsTheButton) {
    el.ext_pwr_available = 1;
    el.ext_pwr = 1;
    el.batt_switch = 1;
    update();
    el.batt_switch = 0;
    update();
    EXPECT_EQ(el.el_pwr_on_system, 1);
    EXPECT_EQ(el.ext_pwr, 1);
    EXPECT_EQ(el.tru1, 1);
    el.ext_pwr_available = 0;
    update();
    EXPECT_EQ(el.ext_pwr, 0);
    EXPECT_EQ(el.el_pwr_on_system, 0);
}

TEST_F(ElectricUpdate, TrusDroppingOutStopChargingOnTheNextUpdate) {
    el.ext_pwr_available = 1;
    el.ext_pwr = 1;
    update();
    update();
    ASSERT_EQ(el.batt1, 1);
    el.ac_xfeed = 0;  // nothing left to feed the TRUs
    update();
    EXPECT_EQ(el.tru1, 0);
    EXPECT_EQ(el.tru2, 0);
    EXPECT_EQ(el.batt1, 1);  // the charge check came before the bus interlocks
    update();
    EXPECT_EQ(el.batt1, 0);
    EXPECT_EQ(el.batt2, 0);
}

TEST_F(ElectricUpdate, GroundPowerAvailableButNotConnectedDropsEveryBus) {
    el.ext_pwr_available = 1;
    update();
    update();
    EXPECT_EQ(el.el_pwr_on_system, 1);
    for (double v : {el.batt1, el.batt2, el.tru1, el.tru2, el.ac_xfeed, el.dc_xfeed, el.gen1})
        EXPECT_EQ(v, 0);
}

TEST_F(ElectricUpdate, GeneratorButtonsFollowTheLineUp) {
    el.batt_switch = 1;
    update();
    el.generators_online = 2;
    update();
    EXPECT_EQ(el.gen1, 0);
    EXPECT_EQ(el.gen2, 1);
    el.generators_online = 3;
    update();
    EXPECT_EQ(el.gen1, 1);
    EXPECT_EQ(el.gen2, 1);
}

TEST_F(ElectricUpdate, LegendsOnlyWithPowerAvailableOverlaysAlsoNeedPanelLights) {
    el.batt_switch = 1;
    el.elec_power_state = 1;  // a source is present, the transfer is running
    update();
    for (ElectricElement e : {ELECTRIC_BAT1_LEGEND, ELECTRIC_GEN2_LEGEND, ELECTRIC_READOUT_LEFT,
                              ELECTRIC_DECIMAL_RIGHT, ELECTRIC_BAT_PWR_ONLY,
                              ELECTRIC_METER_LEGENDS})
        EXPECT_FALSE(shown(e)) << e;
    el.elec_power_state = 2;
    update();
    for (int e = ELECTRIC_SYNOPTIC_LEGENDS; e < ELECTRIC_ELEMENT_COUNT; ++e)
        EXPECT_TRUE(shown(ElectricElement(e))) << e;
    host.set(10, 0);
    update();
    EXPECT_FALSE(shown(ELECTRIC_SYNOPTIC_LEGENDS));
    EXPECT_FALSE(shown(ELECTRIC_BATTERY_LEGENDS));
    EXPECT_FALSE(shown(ELECTRIC_METER_LEGENDS));
    EXPECT_TRUE(shown(ELECTRIC_TRU1_LEGEND));
}

TEST_F(ElectricUpdate, ExternalPowerLegendAndBatPwrOnlyLight) {
    EXPECT_EQ(image(ELECTRIC_EXT_PWR_LEGEND), 0);
    el.ext_pwr_available = 1;
    EXPECT_EQ(image(ELECTRIC_EXT_PWR_LEGEND), 1);
    el.ext_pwr = 1;
    EXPECT_EQ(image(ELECTRIC_EXT_PWR_LEGEND), 2);
    el.batt_switch = 1;
    el.gen1 = el.gen2 = 0;
    EXPECT_EQ(image(ELECTRIC_BAT_PWR_ONLY), 0);
    el.ext_pwr = 0;
    EXPECT_EQ(image(ELECTRIC_BAT_PWR_ONLY), 1);
    quillmar.panels.apu_gen = 1;
    EXPECT_EQ(image(ELECTRIC_BAT_PWR_ONLY), 0);
}

// ------------------------------------------------------------ readouts

class ElectricReadouts : public Electric {
protected:
    void SetUp() override {
        Electric::SetUp();
        electric_draw_readouts(1234);
    }
    std::string at(uint32_t position, ElectricElement side) {
        el.indicator_switch_pos = position;
        return text(side);
    }
};

TEST_F(ElectricReadouts, BatteryAloneShowsDashesForGeneratorsAndValuesForTheBuses) {
    el.batt_switch = 1;
    el.gen1 = el.gen2 = 0;
    el.elec_power_state = 2;
    for (uint32_t p : {0u, 1u, 2u, 3u}) {
        EXPECT_EQ(at(p, ELECTRIC_READOUT_LEFT), "---") << p;
        EXPECT_EQ(at(p, ELECTRIC_READOUT_RIGHT), "---") << p;
    }
    for (uint32_t p = 4; p <= 11; ++p) {
        std::string left = at(p, ELECTRIC_READOUT_LEFT);
        EXPECT_EQ(left.size(), 3u) << p;
        EXPECT_EQ(std::atoi(left.c_str()), el.readout_values[p][0]) << p;
        EXPECT_EQ(std::atoi(at(p, ELECTRIC_READOUT_RIGHT).c_str()), el.readout_values[p][1]);
    }
}

TEST_F(ElectricReadouts, EachPositionHasItsOwnCondition) {
    el.gen2 = 0;
    EXPECT_EQ(at(1, ELECTRIC_READOUT_LEFT), std::to_string(el.readout_values[1][0]));
    EXPECT_EQ(at(1, ELECTRIC_READOUT_RIGHT), "---");
    EXPECT_EQ(at(0, ELECTRIC_READOUT_LEFT), "550");
    EXPECT_EQ(at(3, ELECTRIC_READOUT_RIGHT), "---");
    el.ext_pwr_available = 1;
    EXPECT_EQ(at(3, ELECTRIC_READOUT_RIGHT), std::to_string(el.readout_values[3][1]));
    EXPECT_EQ(at(8, ELECTRIC_READOUT_LEFT), "---");
    el.elec_power_state = 1;  // a transfer still counts as powered here
    EXPECT_EQ(at(8, ELECTRIC_READOUT_LEFT), "550");
    EXPECT_EQ(at(10, ELECTRIC_READOUT_RIGHT), "---");
    el.batt_switch = 1;
    EXPECT_EQ(at(10, ELECTRIC_READOUT_RIGHT), "550");
}

TEST_F(ElectricReadouts, ValuesDrawnInOrderWithinTheirRanges) {
    // The draw order: position, side, base, number of values.
    struct Draw {
        int position, side, base, span;
    };
    const Draw order[] = {
        {4, 0, 114, 3}, {4, 1, 114, 3}, {11, 0, 260, 21}, {11, 1, 260, 21}, {3, 0, 113, 5},
        {3, 1, 390, 21}, {9, 0, 260, 21}, {9, 1, 260, 21}, {1, 0, 114, 3}, {1, 1, 114, 3},
        {2, 0, 390, 21}, {2, 1, 390, 21}, {7, 0, 260, 21}, {7, 1, 260, 21}, {5, 0, 114, 3},
        {5, 1, 114, 3}, {6, 0, 260, 21}, {6, 1, 260, 21},
    };
    for (unsigned seed : {1u, 77u, 4242u}) {
        electric_draw_readouts(seed);
        std::srand(seed);
        for (const Draw& d : order) {
            int value = el.readout_values[d.position][d.side];
            EXPECT_EQ(value, d.base + std::rand() % d.span) << d.position << "/" << d.side;
            EXPECT_GE(value, d.base);
            EXPECT_LT(value, d.base + d.span);
        }
        for (int p : {0, 8, 10})
            for (int side : {0, 1}) EXPECT_EQ(el.readout_values[p][side], 550);
    }
}

TEST_F(ElectricReadouts, SelectorBeyondElevenShowsDashes) {
    el.batt_switch = 1;
    el.elec_power_state = 2;
    EXPECT_EQ(at(12, ELECTRIC_READOUT_LEFT), "---");
    EXPECT_EQ(at(4000000000u, ELECTRIC_READOUT_RIGHT), "---");
}

// ------------------------------------------------------------ buttons

using ElectricButtons = Electric;

TEST_F(ElectricButtons, SelectorWrapsBothWays) {
    click(60, 50);  // anticlockwise from 0
    EXPECT_EQ(el.indicator_switch_pos, 11u);
    EXPECT_EQ(image(ELECTRIC_SELECTOR_KNOB), 11);
    click(100, 90);  // clockwise from 11
    EXPECT_EQ(el.indicator_switch_pos, 0u);
    click(100, 90);
    click(100, 90);
    EXPECT_EQ(el.indicator_switch_pos, 2u);
    el.indicator_switch_pos = 40;  // a value from the file beyond the knob
    click(88, 46);
    EXPECT_EQ(el.indicator_switch_pos, 0u);
}

TEST_F(ElectricButtons, BatteryMasterOnRestoresBatteriesAndTrus) {
    el.batt1 = el.batt2 = el.tru1 = el.tru2 = el.ac_xfeed = el.gen1 = el.gen2 = 0;
    click(80, 150);
    EXPECT_EQ(el.batt_switch, 1);
    for (double v : {el.batt1, el.batt2, el.tru1, el.tru2, el.ac_xfeed}) EXPECT_EQ(v, 1);
    EXPECT_EQ(el.gen1, 0);
    EXPECT_EQ(el.dc_xfeed, 0);
    click(80, 150);
    EXPECT_EQ(el.batt_switch, 0);
    EXPECT_EQ(el.batt1, 1);
}

TEST_F(ElectricButtons, ChargeButtonsNeedALiveSystemAndTheBatteryMaster) {
    el.batt1 = el.batt2 = 0;
    click(40, 160);
    EXPECT_EQ(el.batt1, 0);
    el.el_pwr_on_system = 1;
    click(40, 160);
    EXPECT_EQ(el.batt1, 0);
    el.batt_switch = 1;
    click(40, 160);
    click(120, 160);
    EXPECT_EQ(el.batt1, 1);
    EXPECT_EQ(el.batt2, 1);
    el.el_pwr_on_system = 0;
    click(120, 160);
    EXPECT_EQ(el.batt2, 0);  // off always works
}

TEST_F(ElectricButtons, DcCrossFeedNeedsASourceToFeedIt) {
    el.el_pwr_on_system = 1;
    el.tru1 = el.tru2 = 0;
    click(80, 200);
    EXPECT_EQ(el.dc_xfeed, 0);
    el.tru2 = 1;
    click(80, 200);
    EXPECT_EQ(el.dc_xfeed, 1);
    click(80, 200);
    EXPECT_EQ(el.dc_xfeed, 0);
    el.tru2 = 0;
    el.batt_switch = 1;
    click(80, 200);
    EXPECT_EQ(el.dc_xfeed, 1);
}

TEST_F(ElectricButtons, TruCrossFeedAndGeneratorButtonsNeedALiveSystem) {
    struct Button {
        int x, y;
        double* state;
    };
    for (Button b : {Button{40, 220, &el.tru1}, Button{120, 220, &el.tru2},
                     Button{80, 235, &el.ac_xfeed}, Button{40, 262, &el.gen1},
                     Button{120, 262, &el.gen2}}) {
        el.el_pwr_on_system = 1;
        click(b.x, b.y);
        EXPECT_EQ(*b.state, 0) << b.x << "," << b.y;
        el.el_pwr_on_system = 0;
        click(b.x, b.y);
        EXPECT_EQ(*b.state, 0) << b.x << "," << b.y;
        el.el_pwr_on_system = 1;
        click(b.x, b.y);
        EXPECT_EQ(*b.state, 1) << b.x << "," << b.y;
    }
}

TEST_F(ElectricButtons, GeneratorButtonsSetTheLineUp) {
    el.el_pwr_on_system = 1;
    click(40, 262);  // GEN 1 off
    EXPECT_EQ(el.generators_online, 2);
    click(120, 262);  // GEN 2 off
    EXPECT_EQ(el.generators_online, 0);
    click(40, 262);
    EXPECT_EQ(el.generators_online, 1);

    // A refused click (system dead) leaves the line-up as the cycle set it.
    el.el_pwr_on_system = 0;
    el.gen1 = el.gen2 = 0;
    el.generators_online = 2;
    click(40, 262);
    EXPECT_EQ(el.gen1, 0);
    EXPECT_EQ(el.generators_online, 2);
}

TEST_F(ElectricButtons, ExternalPowerOnlyWhenAvailable) {
    el.tru1 = el.batt2 = el.ac_xfeed = 0;
    click(80, 280);
    EXPECT_EQ(el.ext_pwr, 0);
    EXPECT_EQ(el.tru1, 0);
    el.ext_pwr_available = 1;
    click(80, 280);
    EXPECT_EQ(el.ext_pwr, 1);
    for (double v : {el.tru1, el.tru2, el.ac_xfeed, el.batt1, el.batt2}) EXPECT_EQ(v, 1);
    click(80, 280);
    EXPECT_EQ(el.ext_pwr, 0);
}

TEST_F(ElectricButtons, EveryRectangleIsASingleClick) {
    int children = 0;
    for (MouseRect* r = gauge_Electric.h.mouse_rects; r->type != MOUSE_END; ++r) {
        if (r->type != MOUSE_CHILD) continue;
        ++children;
        EXPECT_EQ(r->flags, MOUSE_CLICK);
        EXPECT_NE(r->function, nullptr);
    }
    EXPECT_EQ(children, 12);
}

// ------------------------------------------------------------ panel state keys

class ElectricKeys : public Electric {
protected:
    void SetUp() override {
        Electric::SetUp();
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("quillmar_electric_" + std::to_string(stamp));
        fs::create_directories(folder_ / "Gauges");
        before_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(before_);
        fs::remove_all(folder_);
    }
    void write_file(const std::string& text) {
        std::ofstream(folder_ / "Gauges" / "Quillmar.ini") << text;
    }
    std::vector<std::string> file_lines() {
        std::ifstream in(folder_ / "Gauges" / "Quillmar.ini");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line.back() == '\r') line.pop_back(), lines.push_back(line);
            else lines.push_back(line);
        return lines;
    }
    fs::path folder_, before_;
};

TEST_F(ElectricKeys, DefaultsWithoutAFile) {
    el.batt1 = 0;
    el.ac_xfeed = 0;
    el.indicator_switch_pos = 5;
    electric_install();
    EXPECT_EQ(el.batt1, 1);
    EXPECT_EQ(el.ac_xfeed, 1);
    EXPECT_EQ(el.batt_switch, 0);
    EXPECT_EQ(el.indicator_switch_pos, 0u);
}

TEST_F(ElectricKeys, InstallReadsAndKillWritesTheTwelveKeysInOrder) {
    write_file("[EPCP]\nbatt_switch=1\ngen2=0\nindicator_switch_pos=7\ndc_xfeed=1x\n");
    electric_install();
    EXPECT_EQ(el.batt_switch, 1);
    EXPECT_EQ(el.gen2, 0);
    EXPECT_EQ(el.dc_xfeed, 1);
    EXPECT_EQ(el.indicator_switch_pos, 7u);
    fs::remove(folder_ / "Gauges" / "Quillmar.ini");
    el.tru2 = 0;
    el.ext_pwr = 1;
    electric_kill();
    std::vector<std::string> expected = {
        "[EPCP]",     "el_pwr_on_system=0", "batt_switch=1", "batt1=1", "batt2=1",
        "dc_xfeed=1", "tru1=1",             "tru2=0",        "ac_xfeed=1", "gen1=1",
        "gen2=0",     "ext_pwr=1",          "indicator_switch_pos=7",
    };
    EXPECT_EQ(file_lines(), expected);
}

}  // namespace
