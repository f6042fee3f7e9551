// The real-output sound device (SDL2), on SDL's "dummy" audio driver, which
// consumes the mix in real time without a sound card: which buffers it
// accepts, the play state it reports, and a one-shot sound that ends.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/sdl_sound.h"

namespace {

class SdlSound : public ::testing::Test {
protected:
    void SetUp() override {
        const char* previous = std::getenv("SDL_AUDIODRIVER");
        saved_ = previous ? previous : "";
        had_ = previous != nullptr;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        device_ = sdl_sound_open();
        if (!device_) GTEST_SKIP() << "no SDL2 in this build";
        ops_ = sdl_sound_ops();
    }
    void TearDown() override {
        sdl_sound_close(device_);
        if (had_) setenv("SDL_AUDIODRIVER", saved_.c_str(), 1);
        else unsetenv("SDL_AUDIODRIVER");
    }
    void* device_ = nullptr;
    const SoundDeviceOps* ops_ = nullptr;
    std::string saved_;
    bool had_ = false;
};

SoundFormat pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    uint16_t align = uint16_t(channels * bits / 8);
    return {1, channels, rate, rate * align, align, bits};
}

TEST_F(SdlSound, AcceptsOnlyConsistentPcmBuffers) {
    const SoundFormat good[] = {pcm(1, 22050, 16), pcm(2, 44100, 16), pcm(1, 11025, 8),
                                pcm(2, 8000, 8)};
    for (const SoundFormat& f : good) {
        void* b = ops_->create_buffer(device_, &f, 4410);
        EXPECT_NE(b, nullptr) << f.channels << "/" << f.samples_per_second << "/" << f.bits_per_sample;
        if (b) ops_->release_buffer(b);
    }
    SoundFormat not_pcm = pcm(1, 22050, 16);
    not_pcm.format_tag = 3;
    SoundFormat wrong_average = pcm(1, 22050, 16);
    wrong_average.average_bytes_per_second = 1;
    SoundFormat wrong_align = pcm(2, 22050, 16);
    wrong_align.block_align = 2;
    const SoundFormat bad[] = {not_pcm, wrong_average, wrong_align, pcm(1, 22050, 24),
                               pcm(3, 22050, 16), pcm(1, 10, 16)};
    for (const SoundFormat& f : bad) EXPECT_EQ(ops_->create_buffer(device_, &f, 4410), nullptr);
    const SoundFormat f = pcm(1, 22050, 16);
    EXPECT_EQ(ops_->create_buffer(device_, &f, 0), nullptr);
    EXPECT_EQ(ops_->create_buffer(device_, &f, 0x10000000), nullptr);
}

TEST_F(SdlSound, NewBuffersAreSilentAndReportTheirPlayState) {
    const SoundFormat eight = pcm(1, 11025, 8);
    void* b = ops_->create_buffer(device_, &eight, 1000);
    ASSERT_NE(b, nullptr);
    uint32_t bytes = 0;
    uint8_t* data = ops_->lock(b, &bytes);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(bytes, 1000u);
    for (uint32_t i = 0; i < bytes; ++i) ASSERT_EQ(data[i], 0x80) << i;
    ops_->unlock(b);

    EXPECT_EQ(ops_->status(b), 0u);
    ops_->play(b, true);
    EXPECT_EQ(ops_->status(b), SOUND_PLAYING | SOUND_LOOPING);
    ops_->set_volume(b, -1000);
    ops_->stop(b);
    EXPECT_EQ(ops_->status(b), 0u);
    ops_->release_buffer(b);
}

TEST_F(SdlSound, ASoundPlayedOnceEndsAndALoopKeepsPlaying) {
    const SoundFormat f = pcm(1, 22050, 16);
    void* once = ops_->create_buffer(device_, &f, 2205);   // 50 ms
    void* loop = ops_->create_buffer(device_, &f, 2205);
    ASSERT_NE(once, nullptr);
    ASSERT_NE(loop, nullptr);
    ops_->play(once, false);
    ops_->play(loop, true);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ops_->status(once) != 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ops_->status(once), 0u);
    EXPECT_EQ(ops_->status(loop), SOUND_PLAYING | SOUND_LOOPING);
    ops_->release_buffer(once);
    ops_->release_buffer(loop);
}

}  // namespace

#endif
