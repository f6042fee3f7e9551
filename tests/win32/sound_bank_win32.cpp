// The sound bank on the real DirectSound path: the simulator's main window,
// buffers made from the generated sound set, one-shot and looping playback
// in real time, stopping, and the silent bank when DirectSound cannot be had.
//
// Run in the simulator folder of the build (Sound\ holds the generated set).
// No substitute host is in this process, so the platform layer uses
// DirectSound itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "main_module/simulator/sound_bank.h"
#include "platform/sound.h"

namespace {

HWND main_window = nullptr;

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcA(window, message, w, l);
}

// The window DirectSound is bound to, as the simulator has it.
void open_main_window() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FS98MAIN";
    RegisterClassA(&wc);
    main_window = CreateWindowA("FS98MAIN", "sound test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                                nullptr, wc.hInstance, nullptr);
}

// Waits until `done` holds, at most `ms` milliseconds; whether it did.
template <typename Done>
bool within(DWORD ms, Done done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
        if (done()) return true;
    return done();
}

class DirectSoundBank : public ::testing::Test {
protected:
    void SetUp() override {
        if (!main_window) open_main_window();
        ASSERT_NE(main_window, nullptr);
        sound_bank_install();
    }
    void TearDown() override { sound_bank_kill(); }
};

TEST_F(DirectSoundBank, EverySlotGetsABufferFromTheGeneratedSet) {
    for (int slot = 0; slot < SOUND_COUNT; ++slot)
        EXPECT_TRUE(sound_loaded(SoundSlot(slot))) << sound_table[slot].name;
}

TEST_F(DirectSoundBank, AOneShotSoundPlaysOnceAndStopsAtItsEnd) {
    ASSERT_FALSE(sound_playing(SOUND_SWITCH_FLIP));
    sound_start(SOUND_SWITCH_FLIP);                       // a tenth of a second
    EXPECT_TRUE(sound_playing(SOUND_SWITCH_FLIP));
    EXPECT_TRUE(within(2000, [] { return !sound_playing(SOUND_SWITCH_FLIP); }));
    sound_stop_loop(SOUND_SWITCH_FLIP);                   // not a loop: nothing to do
    sound_start(SOUND_SWITCH_FLIP);                       // and it plays again
    EXPECT_TRUE(sound_playing(SOUND_SWITCH_FLIP));
}

TEST_F(DirectSoundBank, ALoopPlaysPastItsEndUntilItIsStopped) {
    sound_start_loop(SOUND_APU_1);                        // 1.8 seconds long
    EXPECT_TRUE(sound_playing(SOUND_APU_1));
    Sleep(2300);
    EXPECT_TRUE(sound_playing(SOUND_APU_1));
    sound_stop_loop(SOUND_APU_1);
    EXPECT_FALSE(sound_playing(SOUND_APU_1));
}

TEST_F(DirectSoundBank, KillReleasesEverythingAndASecondInstallLoadsAgain) {
    sound_start_loop(SOUND_SYSTEM_1);
    sound_bank_kill();
    EXPECT_FALSE(sound_loaded(SOUND_SYSTEM_1));
    EXPECT_FALSE(sound_playing(SOUND_SYSTEM_1));
    sound_bank_install();
    EXPECT_TRUE(sound_loaded(SOUND_SYSTEM_1));
    EXPECT_FALSE(sound_playing(SOUND_SYSTEM_1));
}

TEST(DirectSound, BuffersAreMadeOnlyInFormatsDirectSoundTakes) {
    if (!main_window) open_main_window();
    SoundDevice* device = sound_device_open();
    ASSERT_NE(device, nullptr);
    WaveFormat mono{WAVE_FORMAT_PCM_TAG, 1, 22050, 44100, 2, 16, 0};
    SoundBuffer* buffer = sound_buffer_create(device, &mono, 4410);
    ASSERT_NE(buffer, nullptr);
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(sound_buffer_lock(buffer, &bytes, &size));
    EXPECT_EQ(size, 4410u);
    std::memset(bytes, 0, size);
    sound_buffer_unlock(buffer, bytes, size);
    EXPECT_EQ(sound_buffer_status(buffer), 0u);
    sound_buffer_play(buffer, true);
    EXPECT_EQ(sound_buffer_status(buffer), SOUND_STATUS_PLAYING | SOUND_STATUS_LOOPING);
    sound_buffer_stop(buffer);
    EXPECT_EQ(sound_buffer_status(buffer), 0u);
    sound_buffer_release(buffer);

    WaveFormat nonsense{WAVE_FORMAT_PCM_TAG, 0, 0, 0, 0, 12, 0};
    EXPECT_EQ(sound_buffer_create(device, &nonsense, 4410), nullptr);
    EXPECT_EQ(sound_buffer_create(device, &mono, 0), nullptr);
    sound_device_close(device);
}

// Last: without the simulator's window DirectSound cannot be had, and the
// bank stays empty and silent.
TEST(DirectSoundSilent, WithoutTheMainWindowEverySlotStaysEmpty) {
    if (main_window) DestroyWindow(main_window);
    main_window = nullptr;
    ASSERT_EQ(FindWindowA("FS98MAIN", nullptr), nullptr);
    sound_bank_install();
    for (int slot = 0; slot < SOUND_COUNT; ++slot) EXPECT_FALSE(sound_loaded(SoundSlot(slot)));
    sound_start(SOUND_SWITCH_FLIP);
    sound_start_loop(SOUND_APU_1);
    EXPECT_FALSE(sound_playing(SOUND_APU_1));
    sound_bank_kill();
}

}  // namespace
