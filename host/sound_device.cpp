#include "host/sound_device.h"

#include <algorithm>

namespace {

constexpr double EPSILON = 1e-9;

SimSoundDevice* device_of(void* device) { return static_cast<SimSoundDevice*>(device); }
SimSoundBuffer* buffer_of(void* buffer) { return static_cast<SimSoundBuffer*>(buffer); }

// The buffer's device is not stored in the buffer; the host has one device
// per process at a time.
SimSoundDevice* current_device = nullptr;

void* op_create(void* device, const SoundFormat* format, uint32_t bytes) {
    current_device = device_of(device);
    return current_device ? current_device->create(format, bytes) : nullptr;
}
void op_release(void* buffer) {
    if (current_device && buffer) current_device->release(buffer_of(buffer));
}
void op_set_name(void* buffer, const char* name) {
    if (buffer && name) buffer_of(buffer)->name = name;
}
uint8_t* op_lock(void* buffer, uint32_t* bytes) {
    SimSoundBuffer* b = buffer_of(buffer);
    if (!b) return nullptr;
    if (bytes) *bytes = static_cast<uint32_t>(b->data.size());
    return b->data.data();
}
void op_unlock(void*) {}
void op_play(void* buffer, bool looping) {
    if (current_device && buffer) current_device->play(buffer_of(buffer), looping);
}
void op_stop(void* buffer) {
    if (current_device && buffer) current_device->stop(buffer_of(buffer));
}
void op_set_position(void* buffer, uint32_t offset) {
    SimSoundBuffer* b = buffer_of(buffer);
    if (!b) return;
    b->position = std::min<uint32_t>(offset, static_cast<uint32_t>(b->data.size()));
    if (b->playing && current_device) {
        b->started_at = current_device->now();
        b->start_position = b->position;
    }
}
uint32_t op_status(void* buffer) {
    SimSoundBuffer* b = buffer_of(buffer);
    if (!b || !b->playing) return 0;
    return SOUND_PLAYING | (b->looping ? SOUND_LOOPING : 0);
}
void op_set_volume(void* buffer, int32_t hundredths) {
    if (buffer) buffer_of(buffer)->volume = hundredths;
}

const SoundDeviceOps OPS = {op_create, op_release, op_set_name, op_lock, op_unlock,
                            op_play,   op_stop,    op_set_position, op_status, op_set_volume};

}  // namespace

const SoundDeviceOps* SimSoundDevice::ops() { return &OPS; }

SimSoundBuffer* SimSoundDevice::create(const SoundFormat* format, uint32_t bytes) {
    current_device = this;
    auto buffer = std::make_unique<SimSoundBuffer>();
    buffer->data.assign(bytes, 0);
    uint32_t rate = format ? format->average_bytes_per_second : 0;
    buffer->bytes_per_second = rate ? rate : 1;
    buffer->name = "buffer" + std::to_string(buffers_.size() + 1);
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

void SimSoundDevice::release(SimSoundBuffer* buffer) {
    auto it = std::find_if(buffers_.begin(), buffers_.end(),
                           [buffer](const std::unique_ptr<SimSoundBuffer>& b) { return b.get() == buffer; });
    if (it == buffers_.end()) return;
    if ((*it)->playing) trace_->sound(Happening::SOUND_STOP, (*it)->name);
    buffers_.erase(it);
}

void SimSoundDevice::play(SimSoundBuffer* b, bool looping) {
    if (b->position >= b->data.size() && !looping) b->position = 0;
    b->playing = true;
    b->looping = looping;
    b->started_at = now_;
    b->start_position = b->position;
    trace_->sound(looping ? Happening::SOUND_LOOP : Happening::SOUND_START, b->name);
}

void SimSoundDevice::stop(SimSoundBuffer* b) {
    if (!b->playing) return;
    // The cursor stays where the sound had got to.
    double played = (now_ - b->started_at) * b->bytes_per_second;
    uint64_t position = b->start_position + static_cast<uint64_t>(played);
    b->position = b->data.empty() ? 0 : static_cast<uint32_t>(position % (b->data.size() + (b->looping ? 0 : 1)));
    b->playing = false;
    b->looping = false;
    trace_->sound(Happening::SOUND_STOP, b->name);
}

void SimSoundDevice::advance(double now) {
    now_ = now;
    for (auto& b : buffers_) {
        if (!b->playing || b->looping) continue;
        double length = static_cast<double>(b->data.size() - b->start_position) / b->bytes_per_second;
        if (now_ + EPSILON >= b->started_at + length) {
            b->playing = false;
            b->position = static_cast<uint32_t>(b->data.size());
            trace_->sound(Happening::SOUND_END, b->name);
        }
    }
}

bool SimSoundDevice::playing(const std::string& name) const {
    for (const auto& b : buffers_)
        if (b->playing && b->name == name) return true;
    return false;
}

void SimSoundDevice::reset() {
    buffers_.clear();
    current_device = nullptr;
}
