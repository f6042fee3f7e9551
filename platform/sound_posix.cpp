// The Linux sound device: the one a substitute host offers (its buffers
// play in the host's simulated time and appear in its trace), else real
// output through SDL2, else none. Either way the buffers are reached
// through the same table of operations.
#include <cstdlib>

#include "platform/host_services.h"
#include "platform/sdl_sound.h"
#include "platform/sound.h"

struct SoundDevice {
    const SoundDeviceOps* ops;
    void* device;
    bool own_output;   // opened here through SDL2, closed here
};

struct SoundBuffer {
    const SoundDeviceOps* ops;
    void* buffer;
};

SoundDevice* sound_device_open() {
    SoundDevice device{};
    const PlatformHostServices* services = platform_host_services();
    if (services && services->sound) {
        device.ops = services->sound;
        device.device = services->sound_device;
    } else {
        device.ops = sdl_sound_ops();
        device.device = sdl_sound_open();
        device.own_output = true;
        if (!device.device) return nullptr;
    }
    SoundDevice* opened = static_cast<SoundDevice*>(std::malloc(sizeof(SoundDevice)));
    if (!opened) {
        if (device.own_output) sdl_sound_close(device.device);
        return nullptr;
    }
    *opened = device;
    return opened;
}

void sound_device_close(SoundDevice* device) {
    if (!device) return;
    if (device->own_output) sdl_sound_close(device->device);
    std::free(device);
}

SoundBuffer* sound_buffer_create(SoundDevice* device, const WaveFormat* format, uint32_t bytes) {
    if (!device || !device->ops->create_buffer) return nullptr;
    SoundFormat f{format->format_tag,       format->channels,    format->samples_per_second,
                  format->average_bytes_per_second, format->block_align, format->bits_per_sample};
    if (!sound_buffer_acceptable(&f, bytes)) return nullptr;
    SoundBuffer* buffer = static_cast<SoundBuffer*>(std::malloc(sizeof(SoundBuffer)));
    if (!buffer) return nullptr;
    buffer->ops = device->ops;
    buffer->buffer = device->ops->create_buffer(device->device, &f, bytes);
    if (!buffer->buffer) {
        std::free(buffer);
        return nullptr;
    }
    return buffer;
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (!buffer) return;
    buffer->ops->release_buffer(buffer->buffer);
    std::free(buffer);
}

void sound_buffer_set_name(SoundBuffer* buffer, const char* name) {
    if (buffer->ops->set_name) buffer->ops->set_name(buffer->buffer, name);
}

bool sound_buffer_lock(SoundBuffer* buffer, uint8_t** data, uint32_t* bytes) {
    *bytes = 0;
    *data = buffer->ops->lock(buffer->buffer, bytes);
    return *data != nullptr;
}

void sound_buffer_unlock(SoundBuffer* buffer, uint8_t*, uint32_t) {
    buffer->ops->unlock(buffer->buffer);
}

uint32_t sound_buffer_status(SoundBuffer* buffer) { return buffer->ops->status(buffer->buffer); }

void sound_buffer_play(SoundBuffer* buffer, bool looping) {
    buffer->ops->play(buffer->buffer, looping);
}

void sound_buffer_stop(SoundBuffer* buffer) { buffer->ops->stop(buffer->buffer); }

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    buffer->ops->set_position(buffer->buffer, byte_offset);
}

void sound_buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_of_db) {
    buffer->ops->set_volume(buffer->buffer, hundredths_of_db);
}
