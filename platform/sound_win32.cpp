// The Windows sound device: DirectSound on the simulator's main window,
// static secondary buffers with pan, volume and frequency control.
#include "platform/sound.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace {

IDirectSound* device_of(SoundDevice* device) { return reinterpret_cast<IDirectSound*>(device); }
IDirectSoundBuffer* buffer_of(SoundBuffer* buffer) {
    return reinterpret_cast<IDirectSoundBuffer*>(buffer);
}

// The buffer description as the simulator's DirectSound generation knows
// it, without the 3D algorithm field of later versions: 20 bytes in the
// 32-bit modules; the 64-bit test build's format pointer makes it 24.
constexpr DWORD BUFFER_DESCRIPTION_SIZE = sizeof(DSBUFFERDESC1);
#if !defined(_WIN64)
static_assert(BUFFER_DESCRIPTION_SIZE == 20, "first DirectSound buffer description");
#endif
constexpr DWORD BUFFER_FLAGS = DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY;  // 0xE0
static_assert(BUFFER_FLAGS == 0xE0, "pan, volume and frequency control");

}  // namespace

SoundDevice* sound_device_open() {
    HWND window = FindWindowA("FS98MAIN", nullptr);
    if (!window) return nullptr;
    IDirectSound* sound = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &sound, nullptr)) || !sound) return nullptr;
    if (FAILED(sound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        sound->Release();
        return nullptr;
    }
    return reinterpret_cast<SoundDevice*>(sound);
}

void sound_device_close(SoundDevice* device) {
    if (device) device_of(device)->Release();
}

SoundBuffer* sound_buffer_create(SoundDevice* device, const WaveFormat* format, uint32_t bytes) {
    if (!device) return nullptr;
    DSBUFFERDESC1 description{};
    description.dwSize = BUFFER_DESCRIPTION_SIZE;
    description.dwFlags = BUFFER_FLAGS;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = reinterpret_cast<LPWAVEFORMATEX>(const_cast<WaveFormat*>(format));
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT result = device_of(device)->CreateSoundBuffer(
        reinterpret_cast<LPCDSBUFFERDESC>(&description), &buffer, nullptr);
    if (FAILED(result)) {
        if (buffer) buffer->Release();
        return nullptr;
    }
    return reinterpret_cast<SoundBuffer*>(buffer);
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (buffer) buffer_of(buffer)->Release();
}

void sound_buffer_set_name(SoundBuffer*, const char*) {}

bool sound_buffer_lock(SoundBuffer* buffer, uint8_t** data, uint32_t* bytes) {
    void* first = nullptr;
    DWORD first_bytes = 0;
    void* second = nullptr;
    DWORD second_bytes = 0;
    if (FAILED(buffer_of(buffer)->Lock(0, 0, &first, &first_bytes, &second, &second_bytes,
                                       DSBLOCK_ENTIREBUFFER)) ||
        !first) {
        *data = nullptr;
        *bytes = 0;
        return false;
    }
    *data = static_cast<uint8_t*>(first);
    *bytes = first_bytes;
    return true;
}

void sound_buffer_unlock(SoundBuffer* buffer, uint8_t* data, uint32_t bytes) {
    buffer_of(buffer)->Unlock(data, bytes, nullptr, 0);
}

uint32_t sound_buffer_status(SoundBuffer* buffer) {
    DWORD status = 0;
    if (FAILED(buffer_of(buffer)->GetStatus(&status))) return 0;
    return status;
}

void sound_buffer_play(SoundBuffer* buffer, bool looping) {
    buffer_of(buffer)->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
}

void sound_buffer_stop(SoundBuffer* buffer) { buffer_of(buffer)->Stop(); }

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    buffer_of(buffer)->SetCurrentPosition(byte_offset);
}

void sound_buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_of_db) {
    buffer_of(buffer)->SetVolume(hundredths_of_db);
}
