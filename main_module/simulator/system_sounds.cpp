// The cockpit's system noises: the air-conditioning ventilation (step 10 of
// the cycle), the APU and the electrical system hum (step 12).
//
// Ventilation, APU and hum each run through three states: 0 off, 1 starting
// (a start-up sound plays once), 2 running (the running sound loops).
// Leaving the running condition stops the loop and plays the run-down sound
// once.
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

enum { SOUND_OFF = 0, SOUND_STARTING = 1, SOUND_RUNNING = 2 };

struct AmbientSound {
    SoundSlot start, loop, stop;
    double start_ticks;   // ticks from the start-up sound to the loop
};

static const AmbientSound ventilation_sound = {SOUND_OVERHEAD_VENTILATION_ON,
                                               SOUND_OVERHEAD_VENTILATION,
                                               SOUND_OVERHEAD_VENTILATION_OFF, 27};
static const AmbientSound apu_sound = {SOUND_APU_3, SOUND_APU_1, SOUND_APU_2, 96};
static const AmbientSound system_sound = {SOUND_SYSTEM_3, SOUND_SYSTEM_1, SOUND_SYSTEM_2, 18};

static void run_sound(const AmbientSound& sound, bool running, int32_t& state, double& since,
                      double ticks) {
    if (!running) {
        if (state != SOUND_OFF) {
            sound_stop_loop(sound.loop);
            sound_start(sound.stop);
            state = SOUND_OFF;
        }
        return;
    }
    if (state == SOUND_OFF) {
        since = ticks;
        state = SOUND_STARTING;
        sound_start(sound.start);
    } else if (state == SOUND_STARTING && ticks - since > sound.start_ticks) {
        sound_start_loop(sound.loop);
        state = SOUND_RUNNING;
    }
}

// The fans blow while there is power and a pack runs with its temperature
// selector anywhere but position 6.
void cycle_ventilation_sound() {
    CycleState& c = quillmar.cycle;
    const PanelInputs& in = quillmar.panels;
    bool running = quillmar.electric.elec_power_state == 2 &&
                   ((in.pack_left_pos != 0 && in.flight_deck_heater_pos != 6) ||
                    (in.pack_right_pos != 0 && in.cabin_temp_aut_pos != 6));
    run_sound(ventilation_sound, running, c.ventilation_sound_state, c.ventilation_sound_since,
              cycle_read(VAR_TICKS));
}

void cycle_system_sounds() {
    CycleState& c = quillmar.cycle;
    double ticks = cycle_read(VAR_TICKS);
    run_sound(apu_sound, quillmar.panels.apu_running != 0, c.apu_sound_state, c.apu_sound_since,
              ticks);
    run_sound(system_sound, quillmar.electric.elec_power_state == 2, c.system_sound_state,
              c.system_sound_since, ticks);
}

// A newly built sound bank plays nothing: the ambient sounds start over from
// off, so a panel reloaded with power on (or the APU running, or the packs
// on) plays their start-up sounds and loops again.
void ambient_sounds_reset() {
    CycleState& c = quillmar.cycle;
    c.system_sound_state = SOUND_OFF;
    c.apu_sound_state = SOUND_OFF;
    c.ventilation_sound_state = SOUND_OFF;
}
