// Step 3 of the cycle: the space bar steps the checklist once per release.
//
// The key state is polled once per frame. A change of state that does not
// leave the key pressed is a release (the toggle bit makes a press and
// release that both fall between two frames visible too); the pressed
// states are -128 and -127 (high bit set, toggle bit either way).
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"
#include "platform/keyboard.h"

void cycle_space_bar() {
    CycleState& c = quillmar.cycle;
    int16_t key = platform_key_state(KEY_SPACE);
    if (key != c.previous_space_key && key != -127 && key != -128 &&
        quillmar.panels.no_spacebar_status == 0)
        checklist_step();
    c.previous_space_key = key;
}
