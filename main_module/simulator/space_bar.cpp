// Step 3 of the cycle: the space bar steps the checklist once per release.
//
// The key state is polled once per frame. A change of state that does not
// leave the key pressed is a release (the toggle bit makes a press and
// release that both fall between two frames visible too); the pressed
// states are -128 and -127 (high bit set, toggle bit either way).
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"
#include "platform/keyboard.h"

// Items of checklists 1 to 10: Prestart, Crew Stations, Push and Tow, After
// Start, Taxi, Climb, Descent, Approach, After Landing, Parking.
static const int checklist_items[10] = {25, 12, 4, 11, 12, 5, 7, 12, 9, 18};

// One step: the first step opens checklist 1; past a checklist's last item
// the next checklist begins (after the last, the first again).
void checklist_step() {
    double& number = quillmar.panels.checklist_number;
    double& item = quillmar.panels.checklist_item;
    if (number == 0) {
        number = 1;
        item = 0;
        return;
    }
    int n = static_cast<int>(number);
    if (n != number || n < 1 || n > 10) return;
    if (item >= checklist_items[n - 1] - 1) {
        number = n == 10 ? 1 : n + 1;
        item = 0;
    } else {
        item += 1;
    }
}

void cycle_space_bar() {
    CycleState& c = quillmar.cycle;
    int16_t key = platform_key_state(KEY_SPACE);
    if (key != c.previous_space_key && key != -127 && key != -128 &&
        quillmar.panels.no_spacebar_status == 0)
        checklist_step();
    c.previous_space_key = key;
}
