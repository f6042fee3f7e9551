// The take-off power call's re-arming and its silence without a rating set
// on the rating panel; the ground proximity minimums voiced once per
// approach however long it holds; the lamp's flash rhythm.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "tests/unit/fake_sound_device.h"
#include "tests/unit/wave_builder.h"

namespace {

class Crew : public ::testing::Test {
protected:
    void SetUp() override {
        reset_module_state();
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() / ("quillmar_crew_" + std::to_string(stamp));
        std::filesystem::create_directories(folder_ / "Sound");
        before_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        for (const SoundInfo& info : sound_table)
            write_file(std::string("Sound/kT93_") + info.name + ".wav",
                       pcm_wave({1, 1, 11025, 16}, pattern(4000)));
        sound_bank_install();
        host.set(VAR_ON_GROUND, 1);
        host.set(VAR_GEAR_NOSE, 16383);
        host.set(VAR_GEAR_LEFT, 16383);
        host.set(VAR_GEAR_RIGHT, 16383);
        cycle_initial_state();
    }
    void TearDown() override {
        sound_bank_kill();
        std::filesystem::current_path(before_);
        std::filesystem::remove_all(folder_);
    }
    // How often the sound has been started; a started sound is finished at
    // once so that the next start can be seen.
    int plays(const char* name) {
        auto found = device_.named(name);
        if (found.size() != 1) return -1;
        FakeSoundDevice::finish(found[0]);
        return found[0]->plays;
    }
    void height(double feet) {
        host.set(VAR_ALTITUDE_METRES, feet / 3.280833);
        host.set(VAR_GROUND_ELEVATION, 0);
    }

    FakeHost host;
    FakeSoundDevice device_;
    std::filesystem::path folder_, before_;
    PanelInputs& in = quillmar.panels;
};

// ------------------------------------------------------------ calls

TEST_F(Crew, TakeoffPowerCallNeedsASettingBothEnginesAndReArmsBelowPointTwo) {
    host.set(VAR_TORQUE_1, 0.9);
    host.set(VAR_TORQUE_2, 0.9);
    in.torque_target = 0.8;
    voice_callouts();
    EXPECT_EQ(plays("Takeoff_1"), 0);                // latched since install
    host.set(VAR_TORQUE_1, 0.1);
    host.set(VAR_TORQUE_2, 0.1);
    voice_callouts();
    host.set(VAR_TORQUE_1, 0.85);
    voice_callouts();
    EXPECT_EQ(plays("Takeoff_1"), 0);                // one engine only
    host.set(VAR_TORQUE_2, 0.81);
    voice_callouts();
    voice_callouts();
    EXPECT_EQ(plays("Takeoff_1"), 1);
    // Without a setting (no rating panel) there is no call at all.
    host.set(VAR_TORQUE_1, 0.1);
    host.set(VAR_TORQUE_2, 0.1);
    voice_callouts();
    in.torque_target = 0;
    host.set(VAR_TORQUE_1, 0.9);
    host.set(VAR_TORQUE_2, 0.9);
    voice_callouts();
    EXPECT_EQ(plays("Takeoff_1"), 1);
}

// ------------------------------------------------------------ GPWS

class Gpws : public Crew {
protected:
    void SetUp() override {
        Crew::SetUp();
        quillmar.electric.elec_power_state = 2;
        in.decision_height = 200;
        host.set(VAR_ON_GROUND, 0);
        host.set(VAR_GEAR_HANDLE, 16383);
        host.set(VAR_FLAPS_HANDLE, 16383);
        host.set(VAR_AIRSPEED, 120);
        gauge_GPWS.h.callback(&gauge_GPWS.h, SERVICE_INSTALL, 0);
    }
    // One update at `feet`, `seconds` of host time later.
    void at(double feet, double seconds = 0.1) {
        host.set(VAR_SIM_TIME, host.get(VAR_SIM_TIME) + seconds);
        height(feet);
        gauge_GPWS.h.callback(&gauge_GPWS.h, SERVICE_UPDATE, 0);
    }
};

TEST_F(Gpws, MinimumsOncePerApproachReArmedByAClimbAbove700Feet) {
    at(800);                               // armed
    at(210);
    EXPECT_EQ(plays("GPWS_Mode_60"), 0);
    at(190);
    EXPECT_EQ(quillmar.gpws.gpws_code, 60);
    EXPECT_EQ(quillmar.gpws.gpws_lamp, 1);
    EXPECT_EQ(plays("GPWS_Mode_60"), 1);
    at(150, 6);                            // the 5-second memory clears: still once
    at(120, 6);
    EXPECT_EQ(quillmar.gpws.gpws_code, 60);
    EXPECT_EQ(plays("GPWS_Mode_60"), 1);
    at(750);                               // go-around
    at(190);
    EXPECT_EQ(plays("GPWS_Mode_60"), 2);
    // Without power nothing changes at all.
    quillmar.electric.elec_power_state = 0;
    at(800);
    EXPECT_EQ(quillmar.gpws.radio_height, 190);
}

TEST(GpwsLight, DarkForOneUpdateInSixWhileLitAndOffWithoutPower) {
    FakeHost host;
    reset_module_state();
    quillmar.electric.elec_power_state = 2;
    GaugeHeader* light = &gauge_GPWS_Light.h;
    light->callback(light, SERVICE_INSTALL, 0);
    std::string seen;
    for (int tick = 1; tick <= 13; ++tick) {
        host.set(VAR_TICKS, tick);
        quillmar.gpws.gpws_lamp = 1;        // the computer's alert, every update
        light->callback(light, SERVICE_UPDATE, 0);
        seen += static_cast<char>('0' + quillmar.gpws.gpws_lamp);
    }
    EXPECT_EQ(seen, "1111011111011");
    EXPECT_FALSE(element_hidden(gauge_base(light)));
    quillmar.electric.elec_power_state = 0;
    light->callback(light, SERVICE_UPDATE, 0);
    EXPECT_EQ(quillmar.gpws.gpws_lamp, 0);
    EXPECT_TRUE(element_hidden(gauge_base(light)));
}

}  // namespace
#endif
