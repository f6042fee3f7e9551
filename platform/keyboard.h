// The keyboard state the cockpit polls.
#pragma once

#include <cstdint>

constexpr int KEY_SPACE = 0x20;

// Like GetKeyState: bit 0x8000 set while the key is down, bit 0x0001 toggles
// with every press. On Linux the substitute host supplies the state; without
// one no key is ever down.
int16_t platform_key_state(int virtual_key);
