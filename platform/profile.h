// The settings file service: read and write one value of a sectioned
// key=value file, with the behaviour of the Win32 private profile functions.
//
// On Windows both operations are GetPrivateProfileStringA and
// WritePrivateProfileStringA. On Linux the project's own reader and writer
// (profile_posix.cpp) behaves the same way for every file this cockpit
// meets, and never leaves a half-written file behind.
#pragma once

#include <cstdint>

// Copies the value of `key` in `section` of the file at `path` into
// `buffer`, or `default_text` when the file, the section or the key is
// missing; at most size - 1 characters, always terminated when size > 0.
// Returns the number of characters copied, without the terminator.
//
// As on Windows: section and key names match without regard to case and
// to surrounding blanks; the value loses its surrounding blanks and one pair
// of surrounding quotes (double or single); the default loses its trailing
// blanks and such a pair too. UTF-16 files (with their byte order mark) are
// read and written as such.
// A NULL section lists every section name and a NULL key every key name of
// the section, each name terminated, the list ended by a second
// terminator; a list cut short returns size - 2.
uint32_t profile_read(const char* section, const char* key, const char* default_text,
                      char* buffer, uint32_t size, const char* path);

// Stores `value` as the value of `key` in `section`, creating the file, the
// section or the key as needed and replacing the value of an existing key.
// A NULL value removes the key, a NULL key the whole section. Returns false
// when nothing could be stored (folder missing or not writable, file not
// readable, a name or value that cannot be stored on one line).
bool profile_write(const char* section, const char* key, const char* value, const char* path);
