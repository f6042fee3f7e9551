#include "host/os.h"

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace host_os {

void* load_module(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module && error) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* module_symbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void unload_module(void* module) {
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

bool module_bitmap(void* module, const std::string&, int number, std::vector<uint8_t>* dib) {
    HMODULE m = static_cast<HMODULE>(module);
    HRSRC found = FindResourceA(m, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(2));   // RT_BITMAP
    if (!found) return false;
    HGLOBAL loaded = LoadResource(m, found);
    DWORD size = SizeofResource(m, found);
    const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data || size < 40) return false;
    dib->assign(data, data + size);
    return true;
}

const char* module_suffix() { return ".gau"; }

std::string executable_dir() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return std::filesystem::path(path).parent_path().string();
}

// Windows needs privileges for symbolic links; a copy always works.
bool link_or_copy(const std::string& from, const std::string& to) {
    std::error_code ec;
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
}

unsigned long process_id() { return GetCurrentProcessId(); }

static const char* (*crash_context)() = nullptr;

static LONG WINAPI on_crash(EXCEPTION_POINTERS* info) {
    char line[512];
    const char* where = crash_context ? crash_context() : "in the host";
    wsprintfA(line, "quillmar-host: exception 0x%08lX %s\r\n",
              static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), where);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    ExitProcess(2);
    return EXCEPTION_EXECUTE_HANDLER;
}

void install_crash_reporter(const char* (*context)()) {
    crash_context = context;
    SetUnhandledExceptionFilter(on_crash);
}

// The modules call GetKeyState on this same thread, which reads the thread's
// keyboard state: setting it is all it takes.
void set_space_key(bool down, bool toggled) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) std::memset(keys, 0, sizeof keys);
    keys[VK_SPACE] = static_cast<BYTE>((down ? 0x80 : 0) | (toggled ? 0x01 : 0));
    SetKeyboardState(keys);
}

static LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcA(window, message, w, l);
}

void create_main_window() {
    static HWND window = nullptr;
    if (window) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = main_window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FS98MAIN";
    RegisterClassA(&wc);
    window = CreateWindowA("FS98MAIN", "Quillmar host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           320, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace host_os
