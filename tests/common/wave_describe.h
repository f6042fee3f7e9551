// One line that says everything the four wave operations make of a file:
// the open result and format, the data chunk search, and what a read of the
// whole data chunk (and a little more) gives. The Linux reader test and the
// Windows reader program both compare these lines with the corpus's
// expected results, so the two readers are held to the same answers.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/wave.h"

inline uint32_t wave_fnv1a(const uint8_t* bytes, size_t count) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < count; ++i) h = (h ^ bytes[i]) * 16777619u;
    return h;
}

// The line for `path`; `name` is what the line calls the file.
inline std::string describe_wave_file(const char* path, const std::string& name) {
    char text[256];
    std::string line = name + ":";
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff{};
    uint32_t error = open_wave_file(path, &file, &format, &riff);
    std::snprintf(text, sizeof text, " open=%" PRIu32, error);
    line += text;
    if (error != 0) return line;
    const uint8_t* extra = reinterpret_cast<const uint8_t*>(format + 1);
    std::snprintf(text, sizeof text,
                  " fmt=%u/%u/%" PRIu32 "/%" PRIu32 "/%u/%u extra=%u/%08" PRIx32,
                  unsigned(format->format_tag), unsigned(format->channels),
                  format->samples_per_second, format->average_bytes_per_second,
                  unsigned(format->block_align), unsigned(format->bits_per_sample),
                  unsigned(format->extra_size), wave_fnv1a(extra, format->extra_size));
    line += text;
    WaveChunk data{};
    error = start_wave_data(file, &riff, &data);
    std::snprintf(text, sizeof text, " data=%" PRIu32, error);
    line += text;
    if (error == 0) {
        const uint32_t size = data.size;
        const uint32_t ask = (size < (1u << 20) ? size : (1u << 20)) + 16;
        std::vector<uint8_t> bytes(ask);
        uint32_t copied = 12345;
        error = read_wave_data(file, ask, bytes.data(), &data, &copied);
        std::snprintf(text, sizeof text,
                      " size=%" PRIu32 " read=%" PRIu32 " copied=%" PRIu32 " left=%" PRIu32
                      " hash=%08" PRIx32,
                      size, error, copied, data.size, wave_fnv1a(bytes.data(), copied));
        line += text;
    }
    close_wave_file(&file, &format);
    return line;
}
