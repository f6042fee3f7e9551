// Named sections on Windows: page-file-backed, committed, read-write file
// mappings. The handle given out is the mapping handle itself.
//
// In the simulator the sections carry the plain names ("kt93_DH"). A
// substitute host's run gets "quillmar.<namespace>.<name>" instead, so that
// two runs at the same time never share a channel.
#include "platform/shared_memory.h"

#include <windows.h>

#include <cstring>

#include "platform/host_services.h"

// Whether the last create found the section there already. Not thread-local:
// the simulator calls the modules on its one thread, and thread-local data
// of a library goes through per-thread keys that outlive the library when
// it is unloaded and loaded again (a panel reload).
static bool last_create_existed = false;

SharedSection* shared_section_create_in(const char* name_space, const char* name, uint32_t size) {
    last_create_existed = false;
    if (!name || !*name) return nullptr;
    char full[MAX_PATH];
    const char* used = name;
    if (name_space && *name_space) {
        size_t ns = std::strlen(name_space), n = std::strlen(name);
        constexpr char prefix[] = "quillmar.";
        if (sizeof prefix - 1 + ns + 1 + n + 1 > sizeof full) return nullptr;
        char* at = full;
        std::memcpy(at, prefix, sizeof prefix - 1);
        at += sizeof prefix - 1;
        std::memcpy(at, name_space, ns);
        at += ns;
        *at++ = '.';
        std::memcpy(at, name, n + 1);
        used = full;
    }
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT,
                                        0, size, used);
    last_create_existed = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    return reinterpret_cast<SharedSection*>(mapping);
}

SharedSection* shared_section_create(const char* name, uint32_t size) {
    const PlatformHostServices* host = platform_host_services();
    return shared_section_create_in(host ? host->channel_namespace : nullptr, name, size);
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
