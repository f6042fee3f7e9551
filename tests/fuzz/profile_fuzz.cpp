// Fuzz target for the Linux settings file reader and writer: any bytes as the
// panel state file. Every section and key the reader lists is read back, the
// panel's own keys are read as the gauges read them at install, and one key
// is written: afterwards the written key reads back and every other key still
// reads as before (a write never loses or changes another key). Built by the
// fuzz preset; scripts/fuzz.sh runs it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/panel_state.h"
#include "platform/profile.h"

namespace {

// Relative to the current folder, which is the run's own scratch folder.
constexpr const char* FILE_PATH = ".\\Gauges\\Quillmar.ini";
constexpr int MAX_NAMES = 12;

// The run's own folder (the current folder from the first input on),
// removed when the run ends.
// In memory where there is a shared memory folder: renaming over a file on a
// disk may wait for the disk.
char scratch[64];

void enter_scratch_folder() {
    static bool entered = false;
    if (entered) return;
    std::strcpy(scratch, "/dev/shm/quillmar-profile-fuzz-XXXXXX");
    if (!mkdtemp(scratch)) {
        std::strcpy(scratch, "/tmp/quillmar-profile-fuzz-XXXXXX");
        if (!mkdtemp(scratch)) std::abort();
    }
    if (chdir(scratch) != 0 || mkdir("Gauges", 0700) != 0) std::abort();
    std::atexit([] { std::filesystem::remove_all(scratch); });
    entered = true;
}

void put_file(const uint8_t* bytes, size_t count) {
    int fd = open("Gauges/Quillmar.ini", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    if (count && write(fd, bytes, count) != ssize_t(count)) std::abort();
    close(fd);
}

// A list of names as the reader gives it: each terminated, a second
// terminator at the end, never past the buffer.
std::vector<std::string> list_names(const char* section, uint32_t size) {
    std::vector<char> buffer(size + 8, '\x7f');
    uint32_t got = profile_read(section, nullptr, "", buffer.data(), size, FILE_PATH);
    if (got >= size || buffer[size] != '\x7f') std::abort();
    std::vector<std::string> names;
    for (uint32_t at = 0; at < got && names.size() < MAX_NAMES;) {
        std::string name(buffer.data() + at);
        if (name.empty()) break;
        at += uint32_t(name.size()) + 1;
        names.push_back(name);
    }
    return names;
}

struct Entry {
    std::string section, key, value;
};

std::string read_value(const std::string& section, const std::string& key) {
    char buffer[300];
    std::memset(buffer, '\x7f', sizeof buffer);
    uint32_t got = profile_read(section.c_str(), key.c_str(), "(none)", buffer, 256, FILE_PATH);
    if (got > 255 || std::strlen(buffer) != got || buffer[256] != '\x7f') std::abort();
    return buffer;
}

// Whether a listed key name, asked for, is the key the target writes: a
// request loses the blanks around its name (a listed name may end in a
// vertical tab when a NUL in the line kept it from being trimmed there).
bool names_written_key(const std::string& key) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    size_t from = 0, to = key.size();
    while (from < to && blank(key[from])) ++from;
    while (to > from && blank(key[to - 1])) --to;
    return to - from == 8 && strncasecmp(key.c_str() + from, "fuzz_key", 8) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t count) {
    enter_scratch_folder();
    put_file(bytes, count);

    // Lists in a buffer of every size up to a few names, then in full.
    uint32_t small = count ? 2 + bytes[0] % 24 : 2;
    list_names(nullptr, small);
    std::vector<Entry> entries;
    for (const std::string& section : list_names(nullptr, 4096)) {
        list_names(section.c_str(), small);
        for (const std::string& key : list_names(section.c_str(), 4096))
            entries.push_back({section, key, read_value(section, key)});
    }

    // A few of the panel's keys (chosen by the input), as the gauges read them.
    for (size_t i = 1; i < count && i < 6; ++i) {
        PanelStateKey key = PanelStateKey(bytes[count - i] % PANEL_STATE_KEY_COUNT);
        panel_state_read_int(key);
        int digits[4];
        panel_state_read_digits(key, digits);
        for (int d : digits)
            if (d < 0 || d > 9) std::abort();
    }

    // One write into the first section (or a new one), then every key again.
    std::string section = entries.empty() ? "NEW" : entries[0].section;
    if (profile_write(section.c_str(), "fuzz_key", "1234", FILE_PATH)) {
        if (read_value(section, "fuzz_key") != "1234") std::abort();
        for (const Entry& e : entries) {
            if (names_written_key(e.key)) continue;
            if (read_value(e.section, e.key) != e.value) std::abort();
        }
    }
    return 0;
}
