#include "host/os.h"

#include <dlfcn.h>
#include <link.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

namespace host_os {

namespace {

// The shared libraries a module brings in (the drawing library, and the font
// configuration and font files below it) stay loaded when the modules are
// unloaded for a new flight, as the system libraries do on Windows. The font
// configuration keeps its caches for the life of the process and has nothing
// that frees them when it is unloaded: loaded again it would map and
// allocate them anew for every flight. Other modules in the module's folder
// are left as they are.
void keep_libraries_of(void* module, const std::string& path) {
    static std::set<std::string> kept;
    struct link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map) return;
    std::string folder = std::filesystem::path(path).parent_path().string();
    while (map->l_prev) map = map->l_prev;
    for (; map; map = map->l_next) {
        std::string name = map->l_name ? map->l_name : "";
        if (name.empty() || kept.count(name) || std::filesystem::path(name).parent_path().string() == folder)
            continue;
        if (dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE)) kept.insert(name);
    }
}

}  // namespace

void* load_module(const std::string& path, std::string* error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module) keep_libraries_of(module, path);
    if (!module && error) {
        const char* why = dlerror();
        *error = why ? why : "cannot load";
    }
    return module;
}

void* module_symbol(void* module, const char* name) { return dlsym(module, name); }

void unload_module(void* module) {
    if (module) dlclose(module);
}

bool module_bitmap(void*, const std::string& module_path, int number, std::vector<uint8_t>* dib) {
    std::filesystem::path path(module_path);
    path = path.parent_path() / (path.stem().string() + ".bitmaps") / (std::to_string(number) + ".bmp");
    FILE* f = std::fopen(path.string().c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    // The file header ("BM", size, reserved words, pixel offset) goes; the
    // rest is what a bitmap resource holds.
    if (data.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M') return false;
    dib->assign(data.begin() + 14, data.end());
    return true;
}

const char* module_suffix() { return ".so"; }

std::string executable_dir() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.parent_path().string();
}

bool link_or_copy(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::remove(to, ec);
    std::filesystem::create_symlink(std::filesystem::absolute(from), to, ec);
    if (!ec) return true;
    return std::filesystem::copy_file(from, to, ec);
}

unsigned long process_id() { return static_cast<unsigned long>(getpid()); }

static const char* (*crash_context)() = nullptr;

static void write_all(const char* text) {
    size_t n = strlen(text);
    while (n > 0) {
        ssize_t w = write(STDERR_FILENO, text, n);
        if (w <= 0) return;
        text += w;
        n -= static_cast<size_t>(w);
    }
}

static void on_crash(int signal_number) {
    write_all("quillmar-host: ");
    write_all(signal_number == SIGSEGV || signal_number == SIGBUS ? "memory fault"
              : signal_number == SIGFPE                          ? "arithmetic fault"
              : signal_number == SIGILL                          ? "illegal instruction"
                                                                 : "abort");
    write_all(" ");
    write_all(crash_context ? crash_context() : "in the host");
    write_all("\n");
    _exit(2);
}

void install_crash_reporter(const char* (*context)()) {
    crash_context = context;
    static char alternate_stack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = alternate_stack;
    ss.ss_size = sizeof alternate_stack;
    sigaltstack(&ss, nullptr);
    struct sigaction action {};
    action.sa_handler = on_crash;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(s, &action, nullptr);
}

void set_space_key(bool, bool) {}
void create_main_window() {}

}  // namespace host_os
