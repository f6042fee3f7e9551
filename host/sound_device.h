// The sound device the host gives the modules on Linux: buffers that "play"
// for exactly their length in simulated time, so whether a sound is still
// playing depends only on the script. Every start, loop, stop and natural end
// goes to the trace under the buffer's name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/trace.h"
#include "platform/host_services.h"

struct SimSoundBuffer {
    std::string name;
    std::vector<uint8_t> data;
    uint32_t bytes_per_second = 1;
    uint32_t position = 0;        // play cursor in bytes
    bool playing = false;
    bool looping = false;
    double started_at = 0;        // simulated seconds
    uint32_t start_position = 0;
    int32_t volume = 0;
};

class SimSoundDevice {
public:
    explicit SimSoundDevice(Trace* trace) : trace_(trace) {}
    static const SoundDeviceOps* ops();

    // Moves to the simulated time `now`: buffers whose sound has run out stop.
    void advance(double now);
    double now() const { return now_; }
    // Buffers of this name that are playing now.
    bool playing(const std::string& name) const;
    size_t buffer_count() const { return buffers_.size(); }
    // Forgets every buffer (the modules released theirs; this is for leaks).
    void reset();

    // Operations behind ops().
    SimSoundBuffer* create(const SoundFormat* format, uint32_t bytes);
    void release(SimSoundBuffer* buffer);
    void play(SimSoundBuffer* buffer, bool looping);
    void stop(SimSoundBuffer* buffer);

private:
    Trace* trace_;
    double now_ = 0;
    std::vector<std::unique_ptr<SimSoundBuffer>> buffers_;
};
