// Real sound output on Linux through SDL2: a device with the operations of
// SoundDeviceOps that mixes every playing buffer at its volume into the
// default audio output. Used by the platform when no substitute host offers
// a device of its own, and available to a host that wants to play aloud.
#pragma once

#include "platform/host_services.h"

// Whether a static buffer of `bytes` bytes in `format` can be made: PCM,
// one or two channels of 8 or 16 bits, block size and byte rate that agree
// with them, between 4 bytes and 256 MB (the limits of the Windows sound
// device). Every Linux device is held to it, so that a file with a bogus
// header makes no buffer on Linux either.
bool sound_buffer_acceptable(const SoundFormat* format, uint32_t bytes);

// The operations of the SDL2 device.
const SoundDeviceOps* sdl_sound_ops();

// Opens the default audio output; NULL when SDL2 has no audio device (for
// example in a headless run) or the build has no SDL2.
void* sdl_sound_open();
// Closes the output and frees any buffer still made from it.
void sdl_sound_close(void* device);
