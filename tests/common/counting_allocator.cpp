// The counting malloc family: each function counts while counting is on and
// hands the call to the C library's own; the call stack tells whose
// allocation it is. QUILLMAR_ALLOCATION_TRACE=1 prints where each counted
// allocation came from.
#include "tests/common/counting_allocator.h"

#include <cstddef>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)

bool allocation_counting_available() { return false; }
void allocation_count_start() {}
int64_t allocation_count_stop() { return 0; }
int64_t allocation_count_in_graphics_libraries() { return 0; }

#else

#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>

#include <cstring>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {

bool counting = false;
bool tracing = false;
bool inside = false;   // backtrace() and dladdr() may allocate themselves
int64_t count = 0, in_graphics = 0;

bool library_is(const char* path, const char* const* names) {
    for (; *names; ++names)
        if (std::strstr(path, *names)) return true;
    return false;
}

// Whose allocation: walking out from the allocator, the first frame that is
// neither in the C and C++ runtimes nor in this program (the allocator, the
// host) belongs to a module (ours) or to a graphics library.
bool made_by_graphics_library(void* const* frames, int n) {
    static const char* const runtimes[] = {"/libc.so", "/libstdc++.so", "/libgcc_s.so", nullptr};
    static const char* const graphics[] = {"/libcairo.so", "/libpixman-1.so", "/libfreetype.so",
                                           "/libfontconfig.so", "/libpng16.so", "/libexpat.so", nullptr};
    Dl_info self{};
    dladdr(reinterpret_cast<void*>(&allocation_count_start), &self);
    for (int i = 0; i < n; ++i) {
        Dl_info info{};
        if (!dladdr(frames[i], &info) || !info.dli_fname) continue;
        if (library_is(info.dli_fname, runtimes)) continue;
        if (self.dli_fname && std::strcmp(info.dli_fname, self.dli_fname) == 0) continue;
        return library_is(info.dli_fname, graphics);
    }
    return false;
}

void counted() {
    if (!counting || inside) return;
    ++count;
    inside = true;
    void* frames[24];
    int n = backtrace(frames, 24);
    if (made_by_graphics_library(frames, n)) ++in_graphics;
    if (tracing) {
        static const char line[] = "-- allocation during counting:\n";
        ssize_t ignored = write(2, line, sizeof line - 1);
        (void)ignored;
        backtrace_symbols_fd(frames, n, 2);
    }
    inside = false;
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
    counted();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    counted();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    counted();
    return __libc_realloc(pointer, size);
}

void* memalign(size_t alignment, size_t size) {
    counted();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** result, size_t alignment, size_t size) {
    void* pointer = memalign(alignment, size);
    if (!pointer) return 12;   // ENOMEM
    *result = pointer;
    return 0;
}

void free(void* pointer) { __libc_free(pointer); }

}  // extern "C"

bool allocation_counting_available() { return true; }

void allocation_count_start() {
    const char* trace = std::getenv("QUILLMAR_ALLOCATION_TRACE");
    tracing = trace && *trace == '1';
    count = 0;
    in_graphics = 0;
    counting = true;
}

int64_t allocation_count_stop() {
    counting = false;
    return count;
}

int64_t allocation_count_in_graphics_libraries() { return in_graphics; }

#endif
