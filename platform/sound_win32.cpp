// The Windows sound device: DirectSound on the simulator's main window,
// static secondary buffers with pan, volume and frequency control. A
// substitute host that offers a device of its own (buffers playing in its
// simulated time, in its trace) gets the buffers instead, as on Linux.
#include "platform/sound.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdlib>

#include "platform/host_services.h"

// Exactly one of the two is set: the host's device or a DirectSound object.
struct SoundDevice {
    const SoundDeviceOps* ops;
    void* device;
    IDirectSound* direct;
};

struct SoundBuffer {
    const SoundDeviceOps* ops;
    void* buffer;
    IDirectSoundBuffer* direct;
};

namespace {

// The buffer description as the simulator's DirectSound generation knows
// it, without the 3D algorithm field of later versions: 20 bytes in the
// 32-bit modules; the 64-bit test build's format pointer makes it 24.
constexpr DWORD BUFFER_DESCRIPTION_SIZE = sizeof(DSBUFFERDESC1);
#if !defined(_WIN64)
static_assert(BUFFER_DESCRIPTION_SIZE == 20, "first DirectSound buffer description");
#endif
constexpr DWORD BUFFER_FLAGS = DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY;  // 0xE0
static_assert(BUFFER_FLAGS == 0xE0, "pan, volume and frequency control");

IDirectSound* open_direct_sound() {
    HWND window = FindWindowA("FS98MAIN", nullptr);
    if (!window) return nullptr;
    IDirectSound* sound = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &sound, nullptr)) || !sound) return nullptr;
    if (FAILED(sound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        sound->Release();
        return nullptr;
    }
    return sound;
}

IDirectSoundBuffer* create_direct_buffer(IDirectSound* sound, const WaveFormat* format, uint32_t bytes) {
    DSBUFFERDESC1 description{};
    description.dwSize = BUFFER_DESCRIPTION_SIZE;
    description.dwFlags = BUFFER_FLAGS;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = reinterpret_cast<LPWAVEFORMATEX>(const_cast<WaveFormat*>(format));
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT result =
        sound->CreateSoundBuffer(reinterpret_cast<LPCDSBUFFERDESC>(&description), &buffer, nullptr);
    if (FAILED(result)) {
        if (buffer) buffer->Release();
        return nullptr;
    }
    return buffer;
}

}  // namespace

SoundDevice* sound_device_open() {
    SoundDevice device{};
    const PlatformHostServices* services = platform_host_services();
    if (services && services->sound) {
        device.ops = services->sound;
        device.device = services->sound_device;
    } else {
        device.direct = open_direct_sound();
        if (!device.direct) return nullptr;
    }
    SoundDevice* opened = static_cast<SoundDevice*>(std::malloc(sizeof(SoundDevice)));
    if (!opened) {
        if (device.direct) device.direct->Release();
        return nullptr;
    }
    *opened = device;
    return opened;
}

void sound_device_close(SoundDevice* device) {
    if (!device) return;
    if (device->direct) device->direct->Release();
    std::free(device);
}

SoundBuffer* sound_buffer_create(SoundDevice* device, const WaveFormat* format, uint32_t bytes) {
    if (!device || !format) return nullptr;
    SoundBuffer made{};
    if (device->direct) {
        made.direct = create_direct_buffer(device->direct, format, bytes);
        if (!made.direct) return nullptr;
    } else {
        SoundFormat f{format->format_tag,       format->channels,    format->samples_per_second,
                      format->average_bytes_per_second, format->block_align, format->bits_per_sample};
        if (!device->ops->create_buffer || !sound_buffer_acceptable(&f, bytes)) return nullptr;
        made.ops = device->ops;
        made.buffer = device->ops->create_buffer(device->device, &f, bytes);
        if (!made.buffer) return nullptr;
    }
    SoundBuffer* buffer = static_cast<SoundBuffer*>(std::malloc(sizeof(SoundBuffer)));
    if (!buffer) {
        if (made.direct) made.direct->Release();
        else made.ops->release_buffer(made.buffer);
        return nullptr;
    }
    *buffer = made;
    return buffer;
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (!buffer) return;
    if (buffer->direct) buffer->direct->Release();
    else buffer->ops->release_buffer(buffer->buffer);
    std::free(buffer);
}

void sound_buffer_set_name(SoundBuffer* buffer, const char* name) {
    if (!buffer->direct && buffer->ops->set_name) buffer->ops->set_name(buffer->buffer, name);
}

bool sound_buffer_lock(SoundBuffer* buffer, uint8_t** data, uint32_t* bytes) {
    *data = nullptr;
    *bytes = 0;
    if (!buffer->direct) {
        *data = buffer->ops->lock(buffer->buffer, bytes);
        return *data != nullptr;
    }
    void* first = nullptr;
    DWORD first_bytes = 0;
    void* second = nullptr;
    DWORD second_bytes = 0;
    if (FAILED(buffer->direct->Lock(0, 0, &first, &first_bytes, &second, &second_bytes,
                                    DSBLOCK_ENTIREBUFFER)) ||
        !first)
        return false;
    *data = static_cast<uint8_t*>(first);
    *bytes = first_bytes;
    return true;
}

void sound_buffer_unlock(SoundBuffer* buffer, uint8_t* data, uint32_t bytes) {
    if (buffer->direct) buffer->direct->Unlock(data, bytes, nullptr, 0);
    else buffer->ops->unlock(buffer->buffer);
}

uint32_t sound_buffer_status(SoundBuffer* buffer) {
    if (!buffer->direct) return buffer->ops->status(buffer->buffer);
    DWORD status = 0;
    if (FAILED(buffer->direct->GetStatus(&status))) return 0;
    return status;
}

void sound_buffer_play(SoundBuffer* buffer, bool looping) {
    if (buffer->direct) buffer->direct->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
    else buffer->ops->play(buffer->buffer, looping);
}

void sound_buffer_stop(SoundBuffer* buffer) {
    if (buffer->direct) buffer->direct->Stop();
    else buffer->ops->stop(buffer->buffer);
}

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    if (buffer->direct) buffer->direct->SetCurrentPosition(byte_offset);
    else buffer->ops->set_position(buffer->buffer, byte_offset);
}

void sound_buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_of_db) {
    if (buffer->direct) buffer->direct->SetVolume(hundredths_of_db);
    else buffer->ops->set_volume(buffer->buffer, hundredths_of_db);
}
