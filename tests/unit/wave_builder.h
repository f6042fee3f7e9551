// Building wave files byte by byte for the wave reader and sound bank tests:
// chunks, the RIFF form around them, and common PCM files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void put_id(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

// A chunk: id, the given size field (the content's length unless stated),
// the content, and a pad byte after odd content.
inline Bytes chunk(const char* id, const Bytes& content, int64_t size_field = -1) {
    Bytes b;
    put_id(b, id);
    put32(b, size_field < 0 ? uint32_t(content.size()) : uint32_t(size_field));
    b.insert(b.end(), content.begin(), content.end());
    if (content.size() % 2) b.push_back(0);
    return b;
}

// The RIFF form "WAVE" (or `form`) around `chunks`, with a true size field.
inline Bytes riff(const std::vector<Bytes>& chunks, const char* form = "WAVE") {
    Bytes content;
    put_id(content, form);
    for (const Bytes& c : chunks) content.insert(content.end(), c.begin(), c.end());
    return chunk("RIFF", content);
}

struct PcmFormat {
    uint16_t tag;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t average() const { return rate * channels * (bits / 8); }
    uint16_t align() const { return uint16_t(channels * (bits / 8)); }
};

// The 16 bytes of a format chunk (PCM needs no more).
inline Bytes fmt_fields(const PcmFormat& f) {
    Bytes b;
    put16(b, f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.average());
    put16(b, f.align());
    put16(b, f.bits);
    return b;
}

// A format chunk for a non-PCM tag: the 16 fields, the extra count, the extra bytes.
inline Bytes fmt_with_extra(const PcmFormat& f, const Bytes& extra) {
    Bytes b = fmt_fields(f);
    put16(b, uint32_t(extra.size()));
    b.insert(b.end(), extra.begin(), extra.end());
    return b;
}

// A complete PCM file of `data`.
inline Bytes pcm_wave(const PcmFormat& f, const Bytes& data) {
    return riff({chunk("fmt ", fmt_fields(f)), chunk("data", data)});
}

// `count` bytes of a pattern that is different at every offset within 251.
inline Bytes pattern(size_t count, uint8_t seed = 1) {
    Bytes b(count);
    for (size_t i = 0; i < count; ++i) b[i] = uint8_t((i * 7 + seed) % 251 + 1);
    return b;
}

inline bool write_file(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
