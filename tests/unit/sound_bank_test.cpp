// The sound bank: loading each sound into a buffer of its slot's length,
// the start and stop rules, and a bank without a device.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "main_module/simulator/sound_bank.h"
#include "tests/unit/fake_sound_device.h"
#include "tests/unit/wave_builder.h"

// The host services of the whole test program: a channel namespace of its
// own, so that test runs at the same time never share channels, and the
// sound device of whichever FakeSoundDevice exists.
// The namespace is fixed when the program starts, so that child processes
// of a test share it.
namespace {
char unit_namespace[64];
PlatformHostServices unit_services = {1, unit_namespace, nullptr, nullptr, nullptr, nullptr};
const bool unit_namespace_set = [] {
    std::snprintf(unit_namespace, sizeof unit_namespace, "unit-%d", int(getpid()));
    return true;
}();
}  // namespace

PlatformHostServices& unit_host_services() { return unit_services; }

extern "C" __attribute__((visibility("default"))) const PlatformHostServices*
quillmar_platform_services() {
    return &unit_host_services();
}

namespace {

class SoundBank : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/quillmar-sound-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
        ASSERT_EQ(mkdir((dir_ + "/Sound").c_str(), 0755), 0);
        ASSERT_NE(getcwd(previous_dir_, sizeof previous_dir_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        device_ = std::make_unique<FakeSoundDevice>();
    }
    void TearDown() override {
        sound_bank_kill();
        device_.reset();
        ASSERT_EQ(chdir(previous_dir_), 0);
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    void put(const std::string& sound, const Bytes& file) {
        ASSERT_TRUE(write_file("Sound/kT93_" + sound + ".wav", file));
    }
    FakeSoundBuffer* buffer(const std::string& sound) {
        auto found = device_->named(sound);
        return found.size() == 1 ? found[0] : nullptr;
    }

    std::string dir_;
    char previous_dir_[4096];
    std::unique_ptr<FakeSoundDevice> device_;
};

Bytes slice(const Bytes& b, size_t from, size_t count) {
    return Bytes(b.begin() + long(from), b.begin() + long(from + count));
}

// ------------------------------------------------------------ loading

TEST_F(SoundBank, BufferHoldsExactlyTheSlotLengthCutOrPaddedWithSilence) {
    const PcmFormat wide{1, 1, 22050, 16};
    const Bytes voice = pattern(66150, 3);  // 1.5 s
    put("Checklist_Prestart_02", pcm_wave(wide, voice));   // 1.0 s slot
    put("Engine_Start_Callout_1", pcm_wave(wide, voice));  // 2.0 s slot
    const PcmFormat narrow{1, 1, 11025, 8};
    const Bytes hum = pattern(16537, 5);  // 1.5 s
    put("System_1", pcm_wave(narrow, hum));                // 2.0 s slot
    sound_bank_install();

    FakeSoundBuffer* cut = buffer("Checklist_Prestart_02");
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->bytes, slice(voice, 0, 44100));
    EXPECT_EQ(cut->format.samples_per_second, 22050u);
    EXPECT_EQ(cut->format.bits_per_sample, 16u);
    EXPECT_FALSE(cut->locked);

    FakeSoundBuffer* padded = buffer("Engine_Start_Callout_1");
    ASSERT_NE(padded, nullptr);
    ASSERT_EQ(padded->bytes.size(), 88200u);
    EXPECT_EQ(slice(padded->bytes, 0, 66150), voice);
    EXPECT_EQ(slice(padded->bytes, 66150, 22050), Bytes(22050, 0x00));

    FakeSoundBuffer* eight = buffer("System_1");
    ASSERT_NE(eight, nullptr);
    ASSERT_EQ(eight->bytes.size(), 22050u);
    EXPECT_EQ(slice(eight->bytes, 0, 16537), hum);
    EXPECT_EQ(slice(eight->bytes, 16537, 22050 - 16537), Bytes(22050 - 16537, 0x80));
}

TEST_F(SoundBank, BufferLengthIsRoundedDownAndBogusHeadersMakeNoBuffer) {
    // 11025 bytes a second for a tenth of a second: 1102.5, rounded down.
    put("Switch_Flip", pcm_wave({1, 1, 11025, 8}, pattern(5000)));
    // A header whose average byte rate disagrees with its sample rate: in
    // 32-bit arithmetic 2^30 + 2205 bytes a second for 4 tenths would be 882
    // bytes, but no device makes a buffer for such a format.
    Bytes fields = fmt_fields({1, 1, 22050, 8});
    const uint32_t average = (1u << 30) + 2205;
    for (int i = 0; i < 4; ++i) fields[8 + i] = uint8_t(average >> (8 * i));
    put("Feet_07", riff({chunk("fmt ", fields), chunk("data", pattern(3000))}));
    // A sample rate of 0 would make an empty buffer.
    put("Feet_08", pcm_wave({1, 1, 0, 16}, pattern(300)));
    sound_bank_install();
    ASSERT_NE(buffer("Switch_Flip"), nullptr);
    EXPECT_EQ(buffer("Switch_Flip")->bytes.size(), 1102u);
    EXPECT_FALSE(sound_loaded(SOUND_FEET_07));
    EXPECT_FALSE(sound_loaded(SOUND_FEET_08));
    EXPECT_EQ(device_->buffers().size(), 1u);
}

TEST_F(SoundBank, UnreadableOrNonPcmFilesLeaveTheirSlotsEmpty) {
    const Bytes data = pattern(4410);
    put("Switch_Flip", pcm_wave({1, 1, 22050, 16}, data));
    // A valid header of another format (IEEE float, no extra bytes).
    put("Switch_Push", riff({chunk("fmt ", fmt_with_extra({3, 1, 22050, 32}, {})),
                             chunk("data", data)}));
    // A valid extensible header whose sub-format would be PCM.
    put("Sign", riff({chunk("fmt ", fmt_with_extra({0xFFFE, 1, 22050, 16}, pattern(22))),
                      chunk("data", data)}));
    put("Switch_Turn", riff({chunk("fmt ", fmt_fields({1, 1, 22050, 16}))}));  // no data
    put("Takeoff_1", pattern(300));                                           // not RIFF
    sound_bank_install();

    EXPECT_TRUE(sound_loaded(SOUND_SWITCH_FLIP));
    for (SoundSlot slot : {SOUND_SWITCH_PUSH, SOUND_SIGN, SOUND_SWITCH_TURN, SOUND_TAKEOFF_1,
                           SOUND_TAKEOFF_2 /* no file at all */}) {
        SCOPED_TRACE(sound_table[slot].name);
        EXPECT_FALSE(sound_loaded(slot));
        sound_start(slot);
        sound_start_loop(slot);
        sound_stop_loop(slot);
        EXPECT_FALSE(sound_playing(slot));
    }
    // Only the one good file made a buffer; nothing else was touched.
    EXPECT_EQ(device_->buffers().size(), 1u);
    EXPECT_EQ(device_->buffers()[0]->plays, 0);
}

TEST_F(SoundBank, RadioNoiseFillsTwoSeparateSlotsFromOneFile) {
    const Bytes noise = pattern(22050, 7);  // 2 s, cut to 1.1 s
    put("Radio_Noise", pcm_wave({1, 1, 11025, 8}, noise));
    sound_bank_install();
    auto both = device_->named("Radio_Noise");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NE(both[0], both[1]);
    EXPECT_EQ(both[0]->bytes, both[1]->bytes);
    EXPECT_EQ(slice(both[0]->bytes, 0, 11025 * 11 / 10), slice(noise, 0, 11025 * 11 / 10));

    sound_start(SOUND_RADIO_NOISE_1);
    EXPECT_TRUE(sound_playing(SOUND_RADIO_NOISE_1));
    EXPECT_FALSE(sound_playing(SOUND_RADIO_NOISE_2));
    sound_start(SOUND_RADIO_NOISE_2);
    EXPECT_EQ(both[0]->plays + both[1]->plays, 2);
}

TEST_F(SoundBank, SwitchClicksPlayQuieterThanEverythingElse) {
    const Bytes click = pattern(2205);
    for (const char* name : {"Switch_Flip", "Switch_Push", "Switch_Turn", "Sign", "Feet_10"})
        put(name, pcm_wave({1, 1, 22050, 16}, click));
    sound_bank_install();
    for (const char* name : {"Switch_Flip", "Switch_Push", "Switch_Turn"}) {
        ASSERT_NE(buffer(name), nullptr) << name;
        EXPECT_EQ(buffer(name)->volume, -1000) << name;
    }
    for (const char* name : {"Sign", "Feet_10"}) {
        ASSERT_NE(buffer(name), nullptr) << name;
        EXPECT_EQ(buffer(name)->volume, 0) << name;
    }
}

// ------------------------------------------------------------ start and stop rules

TEST_F(SoundBank, StartRewindsAndPlaysOnlyWhenNotAlreadyPlaying) {
    put("Switch_Flip", pcm_wave({1, 1, 22050, 16}, pattern(2205)));
    sound_bank_install();
    FakeSoundBuffer* click = buffer("Switch_Flip");
    ASSERT_NE(click, nullptr);

    click->position = 1200;  // left somewhere by an earlier stop
    sound_start(SOUND_SWITCH_FLIP);
    EXPECT_EQ(click->position, 0u);
    EXPECT_TRUE(click->playing);
    EXPECT_FALSE(click->looping);
    EXPECT_EQ(click->plays, 1);
    EXPECT_TRUE(sound_playing(SOUND_SWITCH_FLIP));

    // A second click while the first still plays is silent: no rewind, no play.
    click->position = 800;
    sound_start(SOUND_SWITCH_FLIP);
    sound_start_loop(SOUND_SWITCH_FLIP);
    EXPECT_EQ(click->position, 800u);
    EXPECT_EQ(click->plays, 1);
    EXPECT_FALSE(click->looping);

    FakeSoundDevice::finish(click);
    EXPECT_FALSE(sound_playing(SOUND_SWITCH_FLIP));
    sound_start(SOUND_SWITCH_FLIP);
    EXPECT_EQ(click->plays, 2);
    EXPECT_EQ(click->position, 0u);
}

TEST_F(SoundBank, StopLoopStopsAndRewindsOnlyALoopingSound) {
    put("System_1", pcm_wave({1, 1, 22050, 16}, pattern(44100)));
    put("System_3", pcm_wave({1, 1, 22050, 16}, pattern(22050)));
    sound_bank_install();
    FakeSoundBuffer* hum = buffer("System_1");
    FakeSoundBuffer* on = buffer("System_3");
    ASSERT_NE(hum, nullptr);
    ASSERT_NE(on, nullptr);

    sound_start_loop(SOUND_SYSTEM_1);
    EXPECT_TRUE(hum->playing);
    EXPECT_TRUE(hum->looping);
    hum->position = 3000;
    sound_stop_loop(SOUND_SYSTEM_1);
    EXPECT_FALSE(hum->playing);
    EXPECT_EQ(hum->position, 0u);
    EXPECT_EQ(hum->stops, 1);
    sound_stop_loop(SOUND_SYSTEM_1);  // no longer looping: nothing to do
    EXPECT_EQ(hum->stops, 1);

    // A sound playing once is left to finish.
    sound_start(SOUND_SYSTEM_3);
    on->position = 500;
    sound_stop_loop(SOUND_SYSTEM_3);
    EXPECT_TRUE(on->playing);
    EXPECT_EQ(on->position, 500u);
    EXPECT_EQ(on->stops, 0);
}

TEST_F(SoundBank, SlotsOutsideTheBankAreIgnored) {
    put("Sign", pcm_wave({1, 1, 22050, 16}, pattern(100)));
    sound_bank_install();
    for (SoundSlot slot : {SOUND_NONE, SOUND_COUNT, SoundSlot(1000)}) {
        sound_start(slot);
        sound_start_loop(slot);
        sound_stop_loop(slot);
        EXPECT_FALSE(sound_playing(slot));
        EXPECT_FALSE(sound_loaded(slot));
    }
    EXPECT_EQ(buffer("Sign")->plays, 0);
}

// ------------------------------------------------------------ device and lifetime

TEST_F(SoundBank, WithoutADeviceTheBankStaysEmptyAndSilent) {
    put("Switch_Flip", pcm_wave({1, 1, 22050, 16}, pattern(2205)));
    put("System_1", pcm_wave({1, 1, 22050, 16}, pattern(2205)));
    // No host device, and SDL2 asked for an audio driver that does not exist.
    device_.reset();
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "quillmar-no-such-driver", 1);
    sound_bank_install();
    if (previous) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");

    for (int slot = 0; slot < SOUND_COUNT; ++slot) EXPECT_FALSE(sound_loaded(SoundSlot(slot)));
    sound_start(SOUND_SWITCH_FLIP);
    sound_start_loop(SOUND_SYSTEM_1);
    sound_stop_loop(SOUND_SYSTEM_1);
    EXPECT_FALSE(sound_playing(SOUND_SYSTEM_1));
    sound_bank_kill();
    sound_bank_kill();
}

TEST_F(SoundBank, ADeviceThatMakesNoBuffersLeavesEverySlotEmpty) {
    put("Switch_Flip", pcm_wave({1, 1, 22050, 16}, pattern(2205)));
    device_->refuse_buffers = true;
    sound_bank_install();
    EXPECT_FALSE(sound_loaded(SOUND_SWITCH_FLIP));
    sound_start(SOUND_SWITCH_FLIP);
    EXPECT_TRUE(device_->buffers().empty());
}

TEST_F(SoundBank, KillReleasesEveryBufferAndAnotherInstallStartsAfresh) {
    for (const char* name : {"Switch_Flip", "APU_1", "Radio_Noise", "Sign"})
        put(name, pcm_wave({1, 1, 22050, 16}, pattern(4410)));
    sound_bank_install();
    EXPECT_EQ(device_->live_buffers(), 5u);
    sound_start_loop(SOUND_APU_1);

    sound_bank_install();  // again, without a kill in between
    EXPECT_EQ(device_->buffers().size(), 10u);
    EXPECT_EQ(device_->live_buffers(), 5u);
    EXPECT_TRUE(sound_loaded(SOUND_APU_1));
    EXPECT_FALSE(sound_playing(SOUND_APU_1));  // the new buffer has not been started

    sound_bank_kill();
    EXPECT_EQ(device_->live_buffers(), 0u);
    for (int slot = 0; slot < SOUND_COUNT; ++slot) EXPECT_FALSE(sound_loaded(SoundSlot(slot)));
}

// ------------------------------------------------------------ the table

TEST(SoundTable, HoldsEverySoundOnceExceptTheTwoRadioNoiseSlots) {
    std::set<std::string> names;
    for (const SoundInfo& info : sound_table) {
        names.insert(info.name);
        EXPECT_GT(info.tenths, 0u) << info.name;
        EXPECT_LE(info.tenths, 54u) << info.name;
    }
    EXPECT_EQ(SOUND_COUNT, 184);
    EXPECT_EQ(names.size(), 183u);
    EXPECT_STREQ(sound_table[SOUND_RADIO_NOISE_1].name, "Radio_Noise");
    EXPECT_STREQ(sound_table[SOUND_RADIO_NOISE_2].name, "Radio_Noise");
    EXPECT_STREQ(sound_table[0].name, "Switch_Flip");
    EXPECT_STREQ(sound_table[SOUND_COUNT - 1].name, "Sign");
}

TEST(SoundTable, ChecklistLinesRunFromTheTitleToTheCompletion) {
    struct Checklist {
        const char* name;
        int lines;
    };
    const Checklist checklists[10] = {
        {"Prestart", 25}, {"Crew_Stations", 12}, {"Push_and_Tow", 4}, {"After_Start", 11},
        {"Taxi", 12},     {"Climb", 5},          {"Descent", 7},      {"Approach", 12},
        {"After_Landing", 9}, {"Parking", 18},
    };
    for (int c = 1; c <= 10; ++c) {
        const Checklist& list = checklists[c - 1];
        SCOPED_TRACE(list.name);
        for (int item = 0; item < list.lines; ++item) {
            SoundSlot slot = sound_checklist_line(c, item);
            ASSERT_NE(slot, SOUND_NONE) << item;
            char expected[64];
            std::snprintf(expected, sizeof expected, "Checklist_%s_%02d", list.name, item + 1);
            EXPECT_STREQ(sound_table[slot].name, expected);
        }
        EXPECT_EQ(sound_checklist_line(c, list.lines), SOUND_NONE);
        EXPECT_EQ(sound_checklist_line(c, -1), SOUND_NONE);
    }
    EXPECT_EQ(sound_checklist_line(0, 0), SOUND_NONE);
    EXPECT_EQ(sound_checklist_line(11, 0), SOUND_NONE);
}

}  // namespace

#endif
