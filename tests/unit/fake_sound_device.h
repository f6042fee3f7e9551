// A sound device for unit tests, offered to the platform layer through the
// test program's host services: every buffer keeps its bytes, name, volume,
// position and play state, and a sound plays until the test finishes it.
//
// Construct one in a test (or fixture); while it exists the platform's
// sound device is this one; when it is destroyed the services offer no
// device again.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_services.h"

// The test program's host services (defined in sound_bank_test.cpp).
PlatformHostServices& unit_host_services();

struct FakeSoundBuffer {
    SoundFormat format{};
    std::vector<uint8_t> bytes;
    std::string name;
    uint32_t position = 0;
    bool playing = false;
    bool looping = false;
    int32_t volume = 0;
    int plays = 0;
    int stops = 0;
    int locks = 0;
    bool locked = false;
    bool released = false;
};

class FakeSoundDevice {
public:
    FakeSoundDevice() {
        unit_host_services().sound = &ops_;
        unit_host_services().sound_device = this;
    }
    ~FakeSoundDevice() {
        unit_host_services().sound = nullptr;
        unit_host_services().sound_device = nullptr;
    }
    FakeSoundDevice(const FakeSoundDevice&) = delete;
    FakeSoundDevice& operator=(const FakeSoundDevice&) = delete;

    // When set, every buffer creation fails.
    bool refuse_buffers = false;

    // Every buffer ever made, in order of creation.
    const std::vector<std::unique_ptr<FakeSoundBuffer>>& buffers() const { return buffers_; }
    size_t live_buffers() const {
        size_t n = 0;
        for (const auto& b : buffers_) n += !b->released;
        return n;
    }
    // The live buffers named `name`.
    std::vector<FakeSoundBuffer*> named(const std::string& name) const {
        std::vector<FakeSoundBuffer*> found;
        for (const auto& b : buffers_)
            if (!b->released && b->name == name) found.push_back(b.get());
        return found;
    }
    // A one-shot sound reaches its end.
    static void finish(FakeSoundBuffer* b) {
        b->playing = false;
        b->looping = false;
    }

private:
    static FakeSoundBuffer* as(void* b) { return static_cast<FakeSoundBuffer*>(b); }

    static void* create(void* device, const SoundFormat* format, uint32_t bytes) {
        FakeSoundDevice* d = static_cast<FakeSoundDevice*>(device);
        if (d->refuse_buffers) return nullptr;
        auto b = std::make_unique<FakeSoundBuffer>();
        b->format = *format;
        // Fresh bytes that are neither silence value, so that padding shows.
        b->bytes.assign(bytes, 0x5A);
        d->buffers_.push_back(std::move(b));
        return d->buffers_.back().get();
    }
    static void release(void* b) { as(b)->released = true; }
    static void set_name(void* b, const char* name) { as(b)->name = name; }
    static uint8_t* lock(void* b, uint32_t* bytes) {
        as(b)->locks++;
        as(b)->locked = true;
        *bytes = uint32_t(as(b)->bytes.size());
        return as(b)->bytes.data();
    }
    static void unlock(void* b) { as(b)->locked = false; }
    static void play(void* b, bool looping) {
        as(b)->playing = true;
        as(b)->looping = looping;
        as(b)->plays++;
    }
    static void stop(void* b) {
        as(b)->playing = false;
        as(b)->looping = false;
        as(b)->stops++;
    }
    static void set_position(void* b, uint32_t offset) { as(b)->position = offset; }
    static uint32_t status(void* b) {
        return (as(b)->playing ? SOUND_PLAYING : 0) | (as(b)->looping ? SOUND_LOOPING : 0);
    }
    static void set_volume(void* b, int32_t volume) { as(b)->volume = volume; }

    SoundDeviceOps ops_ = {create, release, set_name,     lock,   unlock,
                           play,   stop,    set_position, status, set_volume};
    std::vector<std::unique_ptr<FakeSoundBuffer>> buffers_;
};
