// Services that a substitute host process offers to the modules' platform
// layer: a channel namespace of its own, the calendar time of its simulated
// clock, a sound device that plays in simulated time and, on Linux, where
// there is no simulator keyboard, the keys.
//
// The host program exports quillmar_platform_services(); the platform layer
// finds it in the running process by name (dlsym on Linux, GetProcAddress
// on the executable on Windows). A process without it (the simulator, any
// other host) gets the platform's own behaviour: plain channel names, the
// real clock, the real sound device, no keys pressed on Linux. On Windows
// the keys are always the thread's keyboard state, which the substitute
// host sets as the simulator's window would.
#pragma once

#include <cstdint>

// Format of a sound buffer: the fields of a PCM wave format record.
struct SoundFormat {
    uint16_t format_tag;             // 1 = PCM
    uint16_t channels;
    uint32_t samples_per_second;
    uint32_t average_bytes_per_second;
    uint16_t block_align;
    uint16_t bits_per_sample;
};

// Status bits of a sound buffer.
constexpr uint32_t SOUND_PLAYING = 0x1;
constexpr uint32_t SOUND_LOOPING = 0x4;

// A sound device: secondary buffers that play once or looping, mixed by the device.
struct SoundDeviceOps {
    void* (*create_buffer)(void* device, const SoundFormat* format, uint32_t bytes);
    void (*release_buffer)(void* buffer);
    void (*set_name)(void* buffer, const char* name);   // for traces; may be NULL
    uint8_t* (*lock)(void* buffer, uint32_t* bytes);    // the whole buffer
    void (*unlock)(void* buffer);
    void (*play)(void* buffer, bool looping);
    void (*stop)(void* buffer);
    void (*set_position)(void* buffer, uint32_t byte_offset);
    uint32_t (*status)(void* buffer);
    void (*set_volume)(void* buffer, int32_t hundredths_of_db);
};

// Whether a static buffer of `bytes` bytes in `format` can be made: PCM,
// one or two channels of 8 or 16 bits, block size and byte rate that agree
// with them, between 4 bytes and 256 MB (the limits of the Windows sound
// device). Every device other than DirectSound itself is held to it, so
// that a file with a bogus header makes no buffer there either.
bool sound_buffer_acceptable(const SoundFormat* format, uint32_t bytes);

struct PlatformHostServices {
    uint32_t version;                        // 2
    // Prefix that keeps this host's shared value channels apart from every
    // other run's; NULL or "" for none.
    const char* channel_namespace;
    // Like GetKeyState: bit 0x8000 set while the key is down. May be NULL.
    int16_t (*key_state)(int virtual_key);
    // Sound device to use instead of the platform's own. May be NULL.
    const SoundDeviceOps* sound;
    void* sound_device;                      // passed to create_buffer
    // The current time in seconds since 1970, as the C library's time()
    // gives it; a headless host answers from its simulated clock so that
    // runs do not depend on the wall clock. May be NULL.
    int64_t (*time_seconds)();
};

extern "C" const PlatformHostServices* quillmar_platform_services();
using PlatformServicesLookup = const PlatformHostServices* ();

// The host process's services, or NULL.
const PlatformHostServices* platform_host_services();
