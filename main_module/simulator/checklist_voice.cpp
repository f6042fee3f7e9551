// Steps 3 and 4 of the cycle: the space bar steps the checklist once per
// release, and the checklist voice speaks the line of every item the
// checklist moves to, whether the space bar or the Checklist page moved it.
//
// The key state is polled once per frame. A change of state that does not
// leave the key pressed is a release (the toggle bit makes a press and
// release that both fall between two frames visible too); the pressed
// states are -128 and -127 (high bit set, toggle bit either way).
#include "main_module/crew/checklist.h"
#include "main_module/simulator/simulator.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "platform/keyboard.h"

// One step: the first step opens checklist 1 at its title; after that the
// page's Next Checklist Item step.
void checklist_step() {
    PanelInputs& in = quillmar.panels;
    if (in.checklist_section == 0) {
        in.checklist_section = 1;
        in.checklist_item = 0;
        return;
    }
    checklist_next_item();
}

void cycle_space_bar() {
    CycleState& c = quillmar.cycle;
    int16_t key = platform_key_state(KEY_SPACE);
    if (key != c.previous_space_key && key != -127 && key != -128 &&
        quillmar.panels.no_spacebar_status == 0)
        checklist_step();
    c.previous_space_key = key;
}

// A line still speaking is neither stopped nor restarted: a quick step lets
// two lines overlap.
void cycle_checklist_voice() {
    CycleState& c = quillmar.cycle;
    const PanelInputs& in = quillmar.panels;
    if (in.checklist_item != c.previous_checklist_item ||
        in.checklist_section != c.previous_checklist_section) {
        int section = static_cast<int>(in.checklist_section);
        int item = static_cast<int>(in.checklist_item);
        bool whole = section == in.checklist_section && item == in.checklist_item;
        if (whole) sound_start(sound_checklist_line(section, item));
    }
    c.previous_checklist_section = in.checklist_section;
    c.previous_checklist_item = in.checklist_item;
}
