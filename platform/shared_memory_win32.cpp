// Named sections on Windows: page-file-backed, committed, read-write file
// mappings. The handle given out is the mapping handle itself.
#include "platform/shared_memory.h"

#include <windows.h>

static thread_local bool last_create_existed = false;

SharedSection* shared_section_create(const char* name, uint32_t size) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT,
                                        0, size, name);
    last_create_existed = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    return reinterpret_cast<SharedSection*>(mapping);
}

bool shared_section_existed() { return last_create_existed; }

void* shared_section_map(SharedSection* section) {
    if (!section) return nullptr;
    return MapViewOfFile(reinterpret_cast<HANDLE>(section), FILE_MAP_ALL_ACCESS, 0, 0, 0);
}

void shared_section_unmap(void* view) {
    if (view) UnmapViewOfFile(view);
}

void shared_section_close(SharedSection* section) {
    if (section) CloseHandle(reinterpret_cast<HANDLE>(section));
}
