// What the host needs from the operating system: loading modules, its own
// folder, the crash reporter and, on Windows, the keyboard state and the main
// window. Implemented in os_posix.cpp and os_win32.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host_os {

// Loads a module; nullptr and a message on failure.
void* load_module(const std::string& path, std::string* error);
void* module_symbol(void* module, const char* name);
void unload_module(void* module);

// A bitmap of a module's own resources as a device-independent bitmap (the
// info header, any colour table, then the pixels); false when it has none of
// that number. Windows: the module's bitmap resources. Elsewhere: the file
// NUMBER.bmp in the folder MODULE.bitmaps beside the module.
bool module_bitmap(void* module, const std::string& module_path, int number, std::vector<uint8_t>* dib);

// File name suffix of a module on this platform (".so", ".gau").
const char* module_suffix();

// Folder of the running executable ("" when unknown).
std::string executable_dir();

// Makes `to` name the file `from`: a symbolic link where that is cheap and
// allowed, a copy otherwise.
bool link_or_copy(const std::string& from, const std::string& to);

// A unique id of this process, for names that must not meet another run's.
unsigned long process_id();

// From now on a crash inside a module prints `context()` (what the host was
// running) and ends the process with exit code 2.
void install_crash_reporter(const char* (*context)());

// The space bar as the modules poll it (Windows: the thread's keyboard
// state; elsewhere the platform layer asks the host, so this does nothing).
void set_space_key(bool down, bool toggled);

// Windows: the simulator's main window, which the sound layer looks for to
// bind DirectSound to.
void create_main_window();

}  // namespace host_os
