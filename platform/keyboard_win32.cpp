#include "platform/keyboard.h"

#include <windows.h>

int16_t platform_key_state(int virtual_key) { return GetKeyState(virtual_key); }
