// The simulator cycle of System_Simulator.
#include "main_module/simulator/simulator.h"

void simulator_install() {}
void simulator_update() {}
void simulator_kill() {}
