// The panel state keys System_Simulator reads at install and writes at kill.
#pragma once

void simulator_read_keys();
void simulator_write_keys();
