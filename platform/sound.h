// The sound device: static sound buffers that are filled once and then
// played once or looping, mixed by the device itself.
//
// Windows: DirectSound on the simulator's main window. Linux: the device a
// substitute host offers (simulated time, traced), else real output through
// SDL2 when an audio device opens, else none.
#pragma once

#include <cstdint>

#include "platform/wave.h"

struct SoundDevice;
struct SoundBuffer;

// Status bits of a sound buffer.
constexpr uint32_t SOUND_STATUS_PLAYING = 0x1;
constexpr uint32_t SOUND_STATUS_LOOPING = 0x4;

// Volume in hundredths of a decibel: 0 is full volume, -10000 silence.
constexpr int32_t SOUND_VOLUME_FULL = 0;

// Opens the device on the simulator's main window; NULL when there is no
// window or no device.
SoundDevice* sound_device_open();
void sound_device_close(SoundDevice* device);

// A static buffer of `bytes` bytes in `format`; NULL when it cannot be made.
SoundBuffer* sound_buffer_create(SoundDevice* device, const WaveFormat* format, uint32_t bytes);
void sound_buffer_release(SoundBuffer* buffer);

// Gives the buffer a name for the host's trace (Linux only).
void sound_buffer_set_name(SoundBuffer* buffer, const char* name);

// Locks the whole buffer from offset 0 for writing; false when it cannot.
bool sound_buffer_lock(SoundBuffer* buffer, uint8_t** data, uint32_t* bytes);
void sound_buffer_unlock(SoundBuffer* buffer, uint8_t* data, uint32_t bytes);

uint32_t sound_buffer_status(SoundBuffer* buffer);
void sound_buffer_play(SoundBuffer* buffer, bool looping);
void sound_buffer_stop(SoundBuffer* buffer);
void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset);
void sound_buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_of_db);
