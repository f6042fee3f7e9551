// Calling convention and export markers shared by the three gauge modules.
//
// The simulator calls every routine, callback and mouse function with the
// standard-call convention of 32-bit Windows. On other targets the marker
// is empty and the platform's normal convention applies.
#pragma once

#if defined(_WIN32) && defined(__i386__)
#define FS_CALL __stdcall
#else
#define FS_CALL
#endif

#if defined(_WIN32)
#define FRAME_EXPORT extern "C" __declspec(dllexport)
#else
#define FRAME_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// True when the records are laid out for the simulator itself: 32-bit
// Windows, where every offset of the records is binding.
#if defined(_WIN32) && defined(__i386__)
#define FRAME_SIMULATOR_LAYOUT 1
#else
#define FRAME_SIMULATOR_LAYOUT 0
#endif
