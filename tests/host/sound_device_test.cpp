// The simulated-time sound device.
#include <gtest/gtest.h>

#include "host/sound_device.h"

namespace {

struct Device : ::testing::Test {
    Trace trace;
    SimSoundDevice device{&trace};
    const SoundDeviceOps* ops = SimSoundDevice::ops();
    void* make(const char* name, uint32_t bytes, uint32_t bytes_per_second) {
        SoundFormat format{1, 1, bytes_per_second, bytes_per_second, 1, 8};
        void* b = ops->create_buffer(&device, &format, bytes);
        ops->set_name(b, name);
        return b;
    }
};

}  // namespace

TEST_F(Device, PlaysForExactlyItsLengthInSimulatedTime) {
    void* b = make("Switch_Flip", 2205, 22050);   // 0.1 s
    uint32_t size = 0;
    ASSERT_NE(ops->lock(b, &size), nullptr);
    EXPECT_EQ(size, 2205u);
    device.advance(1.0);
    ops->play(b, false);
    EXPECT_EQ(ops->status(b), SOUND_PLAYING);
    device.advance(1.05);
    EXPECT_TRUE(device.playing("Switch_Flip"));
    device.advance(1.1);
    EXPECT_EQ(ops->status(b), 0u);
    EXPECT_FALSE(device.playing("Switch_Flip"));
    EXPECT_NE(trace.text().find("sound start Switch_Flip"), std::string::npos);
    EXPECT_NE(trace.text().find("sound end Switch_Flip"), std::string::npos);
    // Rewound and played again it lasts the whole length again.
    ops->set_position(b, 0);
    ops->play(b, false);
    device.advance(1.15);
    EXPECT_EQ(ops->status(b), SOUND_PLAYING);
    ops->release_buffer(b);
}

TEST_F(Device, LoopsUntilStoppedAndStopIsTraced) {
    void* b = make("System_1", 100, 1000);
    ops->play(b, true);
    device.advance(100);
    EXPECT_EQ(ops->status(b), SOUND_PLAYING | SOUND_LOOPING);
    ops->stop(b);
    EXPECT_EQ(ops->status(b), 0u);
    ops->stop(b);   // a second stop is not a happening
    const std::string& t = trace.text();
    EXPECT_NE(t.find("sound loop System_1"), std::string::npos);
    EXPECT_EQ(t.find("sound stop System_1"), t.rfind("sound stop System_1"));
    ops->release_buffer(b);
    EXPECT_EQ(device.buffer_count(), 0u);
}

TEST_F(Device, UnnamedBuffersGetNumbersAndNullBuffersAreIgnored) {
    SoundFormat format{1, 1, 0, 0, 1, 8};   // a zero rate does not divide by zero
    void* b = ops->create_buffer(&device, &format, 10);
    ops->play(b, false);
    device.advance(20);
    EXPECT_EQ(ops->status(b), 0u);
    EXPECT_NE(trace.text().find("sound start buffer1"), std::string::npos);
    ops->play(nullptr, false);
    EXPECT_EQ(ops->status(nullptr), 0u);
}
