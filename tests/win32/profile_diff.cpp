// Runs the settings file steps of profile_script.h through the Win32
// profile functions (GetPrivateProfileStringA and WritePrivateProfileStringA,
// which are what profile_read and profile_write call in the Windows build),
// prints one line per step and compares them with the expected results,
// the same file the Linux reader and writer are checked against. A step
// may name the answer Wine is known to give instead of the documented one;
// it is reported, not counted.
//
//   profile_diff <expected.txt>
//
// The files are written into profile_diff_work in the current folder.
// Exit code 0 when every line agrees.
#include <cstdio>
#include <iterator>

#include "tests/win32/profile_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: profile_diff <expected.txt>\n");
        return 2;
    }
    std::vector<std::string> got = profile_script::run("profile_diff_work", ".\\profile_diff_work");
    std::vector<std::string> expected = profile_script::expected_lines(argv[1]);
    if (expected.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    int differences = 0, known = 0;
    size_t n = got.size() > expected.size() ? got.size() : expected.size();
    for (size_t i = 0; i < n; ++i) {
        const std::string& g = i < got.size() ? got[i] : std::string("(no line)");
        const std::string& e = i < expected.size() ? expected[i] : std::string("(no line)");
        std::printf("%s\n", g.c_str());
        if (g == e) continue;
        const char* wine = i < std::size(profile_script::steps) ? profile_script::steps[i].known_wine_answer : nullptr;
        size_t answer = e.rfind(" -> ");
        if (wine && answer != std::string::npos && g == e.substr(0, answer + 4) + wine) {
            std::printf("   known Wine difference; Windows documents: %s\n", e.c_str());
            ++known;
            continue;
        }
        std::printf("   expected: %s\n", e.c_str());
        ++differences;
    }
    std::printf("%d of %zu lines differ (%d more are the known Wine difference: a quoted value one "
                "character shorter than the buffer comes back one shorter still)\n",
                differences, n, known);
    return differences == 0 ? 0 : 1;
}
