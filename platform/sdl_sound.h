// Real sound output on Linux through SDL2: a device with the operations of
// SoundDeviceOps that mixes every playing buffer at its volume into the
// default audio output. Used by the platform when no substitute host offers
// a device of its own, and available to a host that wants to play aloud.
#pragma once

#include "platform/host_services.h"

// The operations of the SDL2 device.
const SoundDeviceOps* sdl_sound_ops();

// Opens the default audio output; NULL when SDL2 has no audio device (for
// example in a headless run) or the build has no SDL2.
void* sdl_sound_open();
// Closes the output and frees any buffer still made from it.
void sdl_sound_close(void* device);
