// The systems simulator run by System_Simulator: install, one cycle per
// frame, kill.
#pragma once

void simulator_install();
void simulator_update();
void simulator_kill();
