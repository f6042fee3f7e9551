// The Windows wave reader (the multimedia file reader) against the same
// corpus and expected results as the Linux reader's test: every line must
// match, so both readers give the same result for every file.
//   wave_diff_win32 <folder holding expected.txt and corpus\>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/common/wave_describe.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wave_diff_win32 <wave corpus folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::ifstream expected(dir + "/expected.txt");
    if (!expected) {
        std::fprintf(stderr, "cannot read %s/expected.txt\n", dir.c_str());
        return 2;
    }
    int files = 0, differences = 0;
    std::string line;
    while (std::getline(expected, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::string name = line.substr(0, line.find(':'));
        const std::string got = describe_wave_file((dir + "/corpus/" + name).c_str(), name);
        ++files;
        if (got != line) {
            ++differences;
            std::printf("DIFFERENT %s\n  expected %s\n  mmio     %s\n", name.c_str(), line.c_str(),
                        got.c_str());
        }
    }
    std::printf("%d files, %d different\n", files, differences);
    return differences == 0 && files > 0 ? 0 : 1;
}
