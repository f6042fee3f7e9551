// Steps of the cycle whose systems are not built yet. Each keeps its place
// in the cycle's order; until it is built the state it would write holds its
// default.
#include "main_module/simulator/simulator.h"

// Step 4: speak the current checklist line when it changes. Not built yet.
void cycle_checklist_voice() {}

// Step 10: ventilation on, loop and off sounds. Not built yet.
void cycle_ventilation_sound() {}

// Step 11: the ground crew's start and pushback sequence. Not built yet
// (the ground crew busy flag stays 0).
void cycle_ground_crew() {}

// Step 17: flap motor sound, then the engine start, takeoff, height,
// gear-down and minimums calls. Not built yet.
void cycle_flap_motor_and_callouts() {}
