// The sound bank: loading each sound's file into a buffer of exactly its
// slot's length, and the start and stop rules.
#include "main_module/simulator/sound_bank.h"

#include <cstdio>
#include <cstring>

#include "platform/sound.h"
#include "platform/wave.h"

namespace {

// The switch clicks play quieter than everything else.
constexpr int32_t SWITCH_VOLUME = -1000;

constexpr int32_t volume_of(SoundSlot slot) {
    return slot == SOUND_SWITCH_FLIP || slot == SOUND_SWITCH_PUSH || slot == SOUND_SWITCH_TURN
               ? SWITCH_VOLUME
               : SOUND_VOLUME_FULL;
}

SoundDevice* sound_device = nullptr;
SoundBuffer* sound_slots[SOUND_COUNT] = {};

// The first line of each checklist, in checklist order; a checklist's lines
// run up to the next one's first line (the last up to the ventilation).
constexpr SoundSlot checklist_first_line[11] = {
    SOUND_CHECKLIST_PRESTART_01,      SOUND_CHECKLIST_CREW_STATIONS_01,
    SOUND_CHECKLIST_PUSH_AND_TOW_01,  SOUND_CHECKLIST_AFTER_START_01,
    SOUND_CHECKLIST_TAXI_01,          SOUND_CHECKLIST_CLIMB_01,
    SOUND_CHECKLIST_DESCENT_01,       SOUND_CHECKLIST_APPROACH_01,
    SOUND_CHECKLIST_AFTER_LANDING_01, SOUND_CHECKLIST_PARKING_01,
    SOUND_OVERHEAD_VENTILATION,
};

SoundBuffer* filled(SoundSlot slot) {
    if (slot < 0 || slot >= SOUND_COUNT) return nullptr;
    return sound_slots[slot];
}

// Fills `buffer` from the file's data: as much as fits, the rest silence.
void fill_buffer(SoundBuffer* buffer, WaveFile* file, const WaveFormat* format, WaveChunk* data) {
    uint8_t* bytes = nullptr;
    uint32_t length = 0;
    if (!sound_buffer_lock(buffer, &bytes, &length)) return;
    if (length > 0) {
        uint32_t copied = 0;
        read_wave_data(file, length, bytes, data, &copied);
        std::memset(bytes + copied, format->bits_per_sample == 8 ? 0x80 : 0, length - copied);
    }
    sound_buffer_unlock(buffer, bytes, length);
}

// One sound's buffer, or NULL when its file cannot be read, is not PCM,
// has no data, or the device makes no buffer for it.
SoundBuffer* load_sound(const SoundInfo& info) {
    char file_name[96];
    std::snprintf(file_name, sizeof file_name, "Sound\\kT93_%s.wav", info.name);
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff{};
    if (open_wave_file(file_name, &file, &format, &riff) != 0) return nullptr;
    SoundBuffer* buffer = nullptr;
    WaveChunk data{};
    if (format->format_tag == WAVE_FORMAT_PCM_TAG && start_wave_data(file, &riff, &data) == 0) {
        // Whole tenths of a second of the file's own format, in 32-bit
        // arithmetic, rounded down.
        uint32_t bytes = format->average_bytes_per_second * info.tenths / 10;
        buffer = sound_buffer_create(sound_device, format, bytes);
        if (buffer) {
            sound_buffer_set_name(buffer, info.name);
            fill_buffer(buffer, file, format, &data);
        }
    }
    close_wave_file(&file, &format);
    return buffer;
}

void start(SoundSlot slot, bool looping) {
    SoundBuffer* buffer = filled(slot);
    if (!buffer || (sound_buffer_status(buffer) & SOUND_STATUS_PLAYING)) return;
    sound_buffer_set_position(buffer, 0);
    sound_buffer_play(buffer, looping);
}

}  // namespace

const SoundInfo sound_table[SOUND_COUNT] = {
#define SOUND_INFO(id, name, tenths) {name, tenths, volume_of(id)},
    QUILLMAR_SOUNDS(SOUND_INFO)
#undef SOUND_INFO
};

void sound_bank_install() {
    sound_bank_kill();
    sound_device = sound_device_open();
    if (!sound_device) return;
    for (int slot = 0; slot < SOUND_COUNT; ++slot)
        sound_slots[slot] = load_sound(sound_table[slot]);
    for (int slot = 0; slot < SOUND_COUNT; ++slot)
        if (sound_slots[slot]) sound_buffer_set_volume(sound_slots[slot], sound_table[slot].volume);
}

void sound_bank_kill() {
    for (SoundBuffer*& buffer : sound_slots) {
        if (buffer) sound_buffer_release(buffer);
        buffer = nullptr;
    }
    sound_device_close(sound_device);
    sound_device = nullptr;
}

void sound_start(SoundSlot slot) { start(slot, false); }

void sound_start_loop(SoundSlot slot) { start(slot, true); }

void sound_stop_loop(SoundSlot slot) {
    SoundBuffer* buffer = filled(slot);
    if (!buffer || !(sound_buffer_status(buffer) & SOUND_STATUS_LOOPING)) return;
    sound_buffer_stop(buffer);
    sound_buffer_set_position(buffer, 0);
}

bool sound_playing(SoundSlot slot) {
    SoundBuffer* buffer = filled(slot);
    return buffer && (sound_buffer_status(buffer) & SOUND_STATUS_PLAYING);
}

bool sound_loaded(SoundSlot slot) { return filled(slot) != nullptr; }

int sound_checklist_lines(int checklist) {
    if (checklist < 1 || checklist > 10) return 0;
    return checklist_first_line[checklist] - checklist_first_line[checklist - 1];
}

SoundSlot sound_checklist_line(int checklist, int item) {
    if (item < 0 || item >= sound_checklist_lines(checklist)) return SOUND_NONE;
    return SoundSlot(checklist_first_line[checklist - 1] + item);
}
