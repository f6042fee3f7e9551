// Real sound output through SDL2. Every buffer is a block of PCM bytes in
// its own format; SDL's audio thread mixes all playing buffers, each
// resampled to the output rate and scaled by its volume. Operations from the
// host's thread take the device lock, so the mixer never sees a buffer half
// changed.
#include "platform/sdl_sound.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#if QUILLMAR_HAVE_SDL2
#include <SDL.h>

namespace {

constexpr int OUTPUT_RATE = 44100;
constexpr int OUTPUT_CHANNELS = 2;
constexpr int OUTPUT_FRAMES = 1024;

struct SdlBuffer;

struct SdlDevice {
    SDL_AudioDeviceID id;
    int rate;
    SdlBuffer* buffers;   // every buffer made from this device
    float* mix;           // OUTPUT_CHANNELS floats per output frame
    int mix_frames;
};

struct SdlBuffer {
    SdlDevice* device;
    SdlBuffer* next;
    SoundFormat format;
    uint8_t* data;
    uint32_t bytes;
    uint32_t frames;
    double position;      // in frames of the buffer
    bool playing;
    bool looping;
    float gain;
};

float sample_at(const SdlBuffer* b, uint32_t frame, int channel) {
    const uint8_t* p = b->data + size_t(frame) * b->format.block_align;
    if (b->format.channels == 2) p += channel * (b->format.bits_per_sample / 8);
    if (b->format.bits_per_sample == 8) return (float(p[0]) - 128.0f) / 128.0f;
    return float(int16_t(uint16_t(p[0] | p[1] << 8))) / 32768.0f;
}

// Adds `frames` output frames of one playing buffer to the mix.
void mix_buffer(SdlBuffer* b, float* out, int frames, int rate) {
    const double step = double(b->format.samples_per_second) / rate;
    for (int i = 0; i < frames; ++i) {
        uint32_t whole = uint32_t(b->position);
        if (whole >= b->frames) {
            if (!b->looping) {
                b->playing = false;
                b->position = 0;
                return;
            }
            b->position = std::fmod(b->position, double(b->frames));
            whole = uint32_t(b->position);
        }
        const float t = float(b->position - whole);
        uint32_t after = whole + 1;
        bool has_after = true;
        if (after >= b->frames) {
            after = 0;
            has_after = b->looping;
        }
        for (int c = 0; c < OUTPUT_CHANNELS; ++c) {
            float a = sample_at(b, whole, c);
            float z = has_after ? sample_at(b, after, c) : 0.0f;
            out[i * OUTPUT_CHANNELS + c] += (a + (z - a) * t) * b->gain;
        }
        b->position += step;
    }
}

void SDLCALL mix(void* userdata, Uint8* stream, int length) {
    SdlDevice* d = static_cast<SdlDevice*>(userdata);
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    int frames = length / int(sizeof(int16_t) * OUTPUT_CHANNELS);
    while (frames > 0) {
        int chunk = frames < d->mix_frames ? frames : d->mix_frames;
        std::memset(d->mix, 0, sizeof(float) * size_t(chunk) * OUTPUT_CHANNELS);
        for (SdlBuffer* b = d->buffers; b; b = b->next)
            if (b->playing) mix_buffer(b, d->mix, chunk, d->rate);
        for (int i = 0; i < chunk * OUTPUT_CHANNELS; ++i) {
            float v = d->mix[i];
            if (v > 1.0f) v = 1.0f;
            if (v < -1.0f) v = -1.0f;
            *out++ = int16_t(std::lrint(v * 32767.0f));
        }
        frames -= chunk;
    }
}

struct Guard {
    SdlDevice* d;
    explicit Guard(SdlDevice* device) : d(device) { SDL_LockAudioDevice(d->id); }
    ~Guard() { SDL_UnlockAudioDevice(d->id); }
};

SdlBuffer* as_buffer(void* b) { return static_cast<SdlBuffer*>(b); }

void* create_buffer(void* device, const SoundFormat* format, uint32_t bytes) {
    SdlDevice* d = static_cast<SdlDevice*>(device);
    if (!d || !sound_buffer_acceptable(format, bytes)) return nullptr;
    SdlBuffer* b = static_cast<SdlBuffer*>(std::calloc(1, sizeof(SdlBuffer)));
    if (!b) return nullptr;
    b->data = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (!b->data) {
        std::free(b);
        return nullptr;
    }
    if (format->bits_per_sample == 8) std::memset(b->data, 0x80, bytes);
    b->device = d;
    b->format = *format;
    b->bytes = bytes;
    b->frames = bytes / format->block_align;
    b->gain = 1.0f;
    if (b->frames == 0) {
        std::free(b->data);
        std::free(b);
        return nullptr;
    }
    Guard lock(d);
    b->next = d->buffers;
    d->buffers = b;
    return b;
}

void unlink_buffer(SdlBuffer* b) {
    for (SdlBuffer** p = &b->device->buffers; *p; p = &(*p)->next)
        if (*p == b) {
            *p = b->next;
            return;
        }
}

void release_buffer(void* buffer) {
    SdlBuffer* b = as_buffer(buffer);
    {
        Guard lock(b->device);
        unlink_buffer(b);
    }
    std::free(b->data);
    std::free(b);
}

uint8_t* lock(void* buffer, uint32_t* bytes) {
    SdlBuffer* b = as_buffer(buffer);
    SDL_LockAudioDevice(b->device->id);
    *bytes = b->bytes;
    return b->data;
}

void unlock(void* buffer) { SDL_UnlockAudioDevice(as_buffer(buffer)->device->id); }

void play(void* buffer, bool looping) {
    SdlBuffer* b = as_buffer(buffer);
    Guard lock(b->device);
    b->playing = true;
    b->looping = looping;
}

void stop(void* buffer) {
    SdlBuffer* b = as_buffer(buffer);
    Guard lock(b->device);
    b->playing = false;
}

void set_position(void* buffer, uint32_t byte_offset) {
    SdlBuffer* b = as_buffer(buffer);
    Guard lock(b->device);
    uint32_t frame = byte_offset / b->format.block_align;
    b->position = frame < b->frames ? frame : 0;
}

uint32_t status(void* buffer) {
    SdlBuffer* b = as_buffer(buffer);
    Guard lock(b->device);
    if (!b->playing) return 0;
    return b->looping ? SOUND_PLAYING | SOUND_LOOPING : SOUND_PLAYING;
}

void set_volume(void* buffer, int32_t hundredths_of_db) {
    SdlBuffer* b = as_buffer(buffer);
    if (hundredths_of_db > 0) hundredths_of_db = 0;
    if (hundredths_of_db < -10000) hundredths_of_db = -10000;
    Guard lock(b->device);
    b->gain = hundredths_of_db <= -10000 ? 0.0f : std::pow(10.0f, hundredths_of_db / 2000.0f);
}

const SoundDeviceOps sdl_ops = {create_buffer, release_buffer, nullptr, lock,    unlock,
                                play,          stop,           set_position, status, set_volume};

}  // namespace

const SoundDeviceOps* sdl_sound_ops() { return &sdl_ops; }

void* sdl_sound_open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    SdlDevice* d = static_cast<SdlDevice*>(std::calloc(1, sizeof(SdlDevice)));
    if (!d) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_AudioSpec want{};
    want.freq = OUTPUT_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = OUTPUT_CHANNELS;
    want.samples = OUTPUT_FRAMES;
    want.callback = mix;
    want.userdata = d;
    SDL_AudioSpec have{};
    d->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    d->rate = OUTPUT_RATE;
    d->mix_frames = OUTPUT_FRAMES;
    d->mix = static_cast<float*>(std::calloc(size_t(OUTPUT_FRAMES) * OUTPUT_CHANNELS, sizeof(float)));
    if (d->id == 0 || !d->mix) {
        if (d->id != 0) SDL_CloseAudioDevice(d->id);
        std::free(d->mix);
        std::free(d);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(d->id, 0);
    return d;
}

void sdl_sound_close(void* device) {
    SdlDevice* d = static_cast<SdlDevice*>(device);
    if (!d) return;
    SDL_CloseAudioDevice(d->id);
    while (d->buffers) {
        SdlBuffer* b = d->buffers;
        d->buffers = b->next;
        std::free(b->data);
        std::free(b);
    }
    std::free(d->mix);
    std::free(d);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

#else  // no SDL2 in this build: never a real device

namespace {
const SoundDeviceOps no_ops = {};
}
const SoundDeviceOps* sdl_sound_ops() { return &no_ops; }
void* sdl_sound_open() { return nullptr; }
void sdl_sound_close(void*) {}

#endif
