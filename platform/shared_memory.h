// Named shared memory sections: the four operations the modules use to
// hand small values across module and process borders.
//
// The behaviour is that of a Windows page-file-backed section:
// - create-or-open: whoever comes first creates the section, zero-filled,
//   with the given size; a later call with the same name gets the existing
//   section with the size it was first created with;
// - map: a read-write view of the whole section, seen by every participant
//   in any process;
// - the section disappears when its last participant closes its handle, so a
//   new participant after that starts again from zeros.
// Every failure gives a null handle or a null view and nothing else.
//
// A substitute host gives its run a channel namespace (through the platform
// layer's host services), so that two runs at the same time never meet; the
// simulator gives none, and the sections carry the plain names. On Windows
// a namespaced section is the file mapping "quillmar.<namespace>.<name>".
// On Linux the sections are POSIX shared memory objects named
// "/quillmar.<namespace>.<name>"; see shared_memory_posix.cpp for how
// participants are counted across processes and what happens to an object
// left behind by a run that crashed.
#pragma once

#include <cstdint>

struct SharedSection;

// Creates the named section of `size` bytes or opens the existing one.
// Returns nullptr when the name cannot be created or opened.
SharedSection* shared_section_create(const char* name, uint32_t size);

// Whether the last shared_section_create on this thread found the section
// already there (as ERROR_ALREADY_EXISTS tells on Windows).
bool shared_section_existed();

// Maps a view of the whole section; nullptr on failure or for a null handle.
void* shared_section_map(SharedSection* section);

// Unmaps a view returned by shared_section_map; nullptr is ignored.
void shared_section_unmap(void* view);

// Closes the handle; the section goes away with its last handle. nullptr is
// ignored.
void shared_section_close(SharedSection* section);

// The same as shared_section_create, in an explicitly given namespace
// instead of the host's (nullptr or "" for none).
SharedSection* shared_section_create_in(const char* name_space, const char* name, uint32_t size);
