// The settings file format as the Linux reader and writer handle it, on the
// bytes of one file held in memory. profile_posix.cpp adds the file itself
// (loading, and replacing it whole); the format lives here on its own so
// that the Windows tests can hold it against the Win32 profile functions on
// the very same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// What profile_read answers for a file holding `bytes` (`size` of them);
// `bytes` NULL for a file that is missing or cannot be read.
uint32_t profile_text_read(const char* bytes, size_t size, const char* section, const char* key,
                           const char* default_text, char* buffer, uint32_t buffer_size);

enum ProfileTextWrite {
    PROFILE_TEXT_REFUSED,   // nothing can be stored (see profile_write)
    PROFILE_TEXT_SAME,      // the file already says it: leave it as it is
    PROFILE_TEXT_CHANGED,   // *out holds the new bytes of the whole file
};

// The change profile_write makes to a file holding `bytes` (NULL for a
// missing file). For PROFILE_TEXT_CHANGED, *out is allocated with malloc and
// the caller frees it.
ProfileTextWrite profile_text_write(const char* bytes, size_t size, const char* section,
                                    const char* key, const char* value, char** out,
                                    size_t* out_size);
