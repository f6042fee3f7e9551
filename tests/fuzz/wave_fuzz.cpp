// Fuzz target for the Linux wave reader: any bytes as a wave file, read the
// way the sound bank reads one (open, find the data, read it whole, close),
// and once more in small pieces. Built with libFuzzer, AddressSanitizer and
// UndefinedBehaviorSanitizer by the fuzz preset; scripts/fuzz.sh runs it.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/wave.h"

namespace {

// One in-memory file for the whole run, rewritten for every input.
int input_fd = -1;
char input_path[64];

void read_whole(const char* path) {
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff{};
    if (open_wave_file(path, &file, &format, &riff) != 0) {
        if (file || format) std::abort();
        return;
    }
    // Touch every extra format byte, so that a record shorter than its
    // count shows up.
    volatile uint8_t sum = 0;
    const uint8_t* extra = reinterpret_cast<const uint8_t*>(format + 1);
    for (uint32_t i = 0; i < format->extra_size; ++i) sum = uint8_t(sum + extra[i]);
    WaveChunk data{};
    if (start_wave_data(file, &riff, &data) == 0) {
        const uint32_t size = data.size;
        // Exactly as much room as is asked for, so a read past it is caught.
        const uint32_t ask = size < 65536 ? size : 65536;
        std::vector<uint8_t> bytes(ask ? ask : 1);
        uint32_t copied = 0;
        uint32_t error = read_wave_data(file, ask, bytes.data(), &data, &copied);
        if (copied > ask || data.size != size - ask || (error != 0 && copied != 0)) std::abort();
    }
    close_wave_file(&file, &format);
}

void read_in_pieces(const char* path) {
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff{};
    if (open_wave_file(path, &file, &format, &riff) != 0) return;
    WaveChunk data{};
    if (start_wave_data(file, &riff, &data) == 0) {
        uint8_t piece[37];
        for (int i = 0; i < 4096; ++i) {
            uint32_t copied = 0;
            if (read_wave_data(file, sizeof piece, piece, &data, &copied) != 0 || copied == 0) break;
        }
    }
    close_wave_file(&file, &format);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t count) {
    if (input_fd < 0) {
        input_fd = memfd_create("wave-fuzz", 0);
        if (input_fd < 0) std::abort();
        std::snprintf(input_path, sizeof input_path, "/proc/self/fd/%d", input_fd);
    }
    if (ftruncate(input_fd, 0) != 0) std::abort();
    if (count && pwrite(input_fd, bytes, count, 0) != ssize_t(count)) std::abort();
    read_whole(input_path);
    read_in_pieces(input_path);
    return 0;
}
