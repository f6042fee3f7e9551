// The sound bank of Quillmar: one static sound buffer per sound, loaded from
// the simulator's Sound folder when System_Simulator is installed and
// released when it is killed.
//
// Gauges play sounds only through the helpers below, which carry the rules
// every sound follows:
// - to start a sound: if its slot is filled and it is not playing, rewind it
//   and play it once (or looping);
// - to stop a loop: if it is looping, stop it and rewind it.
// A slot whose sound could not be loaded is empty and every helper does
// nothing with it, so a missing sound leaves its gauge silent.
#pragma once

#include <cstdint>

#include "main_module/simulator/sound_list.h"

enum SoundSlot : int32_t {
#define SOUND_SLOT_ID(id, name, tenths) id,
    QUILLMAR_SOUNDS(SOUND_SLOT_ID)
#undef SOUND_SLOT_ID
    SOUND_COUNT,
    SOUND_NONE = -1,
};

struct SoundInfo {
    const char* name;     // file Sound\kT93_<name>.wav
    uint32_t tenths;      // buffer length in tenths of a second
    int32_t volume;       // hundredths of a decibel
};
extern const SoundInfo sound_table[SOUND_COUNT];

// Opens the sound device and loads every sound; with no device every slot
// stays empty. Installing again first releases what the last install made.
void sound_bank_install();
// Releases every buffer and the device.
void sound_bank_kill();

void sound_start(SoundSlot slot);         // once
void sound_start_loop(SoundSlot slot);    // looping
void sound_stop_loop(SoundSlot slot);
bool sound_playing(SoundSlot slot);
bool sound_loaded(SoundSlot slot);

// The spoken line of item `item` (from 0) of checklist `checklist` (1 to
// 10): item 0 names the checklist, the last item declares it completed.
// SOUND_NONE outside the checklists or past a checklist's last line.
SoundSlot sound_checklist_line(int checklist, int item);
// How many lines checklist `checklist` (1 to 10) speaks: its title, its items
// and its completion; 0 for any other number.
int sound_checklist_lines(int checklist);
