// A count of heap allocations, for showing that the gauges' update and draw
// services allocate nothing. Linking counting_allocator.cpp into a program
// puts a counting malloc family in front of the C library's (the modules'
// allocations come to it too, as the program's symbols are found first).
// Not available under AddressSanitizer, which has its own allocator, nor on
// Windows, whose C runtime has no replaceable malloc family of this kind.
#pragma once

#include <cstdint>

// Whether this program counts (false under AddressSanitizer and on Windows).
bool allocation_counting_available();

// Starts counting from zero; allocations until allocation_count_stop() count.
void allocation_count_start();
// Stops counting; returns the allocations (malloc, calloc, realloc,
// aligned and operator new through them) made since the start.
int64_t allocation_count_stop();
// Of the allocations counted by the last start and stop, those that the
// 2-D graphics libraries below the Linux drawing layer (Cairo, pixman,
// FreeType, fontconfig) made for themselves; the rest were made by the
// project's own code (modules, frame, platform layer, host).
int64_t allocation_count_in_graphics_libraries();
