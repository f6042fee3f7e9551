// Reading PCM wave files for the sound bank: four operations over the
// platform's buffered multimedia file reader.
//
// Windows: the real mmio functions. Linux: the project's own RIFF reader,
// which gives the same result for every file (the same error number, the
// same format record, the same data bytes).
#pragma once

#include <cstdint>

// Error numbers of the wave operations; 0 means success.
constexpr uint32_t WAVE_ERROR_OPEN = 57600;         // the file cannot be opened
constexpr uint32_t WAVE_ERROR_NOT_WAVE = 57601;     // not RIFF/WAVE, no usable "fmt " chunk,
                                                    // or its extra bytes are missing
constexpr uint32_t WAVE_ERROR_FORMAT_READ = 57602;  // the format fields are cut short
constexpr uint32_t WAVE_ERROR_DATA_READ = 57603;    // the data ends before its chunk does
constexpr uint32_t WAVE_ERROR_NO_MEMORY = 57344;    // the format record cannot be allocated
constexpr uint32_t WAVE_ERROR_NO_CHUNK = 265;       // the file reader's "chunk not found"

constexpr uint16_t WAVE_FORMAT_PCM_TAG = 1;

// The file's format record: the 16 bytes of the "fmt " chunk, the count of
// extra format bytes and those bytes right behind it (18 + extra_size bytes
// in all). Laid out as the platform's own wave format record so that it can
// be handed to the sound device as it is.
#pragma pack(push, 2)
struct WaveFormat {
    uint16_t format_tag;
    uint16_t channels;
    uint32_t samples_per_second;
    uint32_t average_bytes_per_second;
    uint16_t block_align;
    uint16_t bits_per_sample;
    uint16_t extra_size;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18, "wave format record is 18 bytes before its extra bytes");

// A chunk descriptor: id, size of its data, form type (RIFF and LIST chunks
// only), offset of its data from the file start, flags.
struct WaveChunk {
    uint32_t id;
    uint32_t size;
    uint32_t form_type;
    uint32_t data_offset;
    uint32_t flags;
};

// An open wave file (the platform's file handle).
struct WaveFile;

// Opens `file_name` for buffered reading and reads its format. On success
// (0) gives the open file, the allocated format record and the RIFF chunk;
// on failure nothing stays open or allocated and the outputs are NULL.
uint32_t open_wave_file(const char* file_name, WaveFile** file, WaveFormat** format,
                        WaveChunk* riff);

// Moves to the start of the RIFF form's content and finds the "data" chunk
// inside it. 0 on success, else the chunk search's error (WAVE_ERROR_NO_CHUNK).
uint32_t start_wave_data(WaveFile* file, const WaveChunk* riff, WaveChunk* data);

// Copies up to `count` bytes of the data chunk into `destination`, never
// more than the chunk still holds (its size is reduced by what is taken).
// `copied` gets the number of bytes copied; when the file ends before the
// chunk does, the result is WAVE_ERROR_DATA_READ and `copied` is 0.
uint32_t read_wave_data(WaveFile* file, uint32_t count, uint8_t* destination, WaveChunk* data,
                        uint32_t* copied);

// Frees the format record and closes the file; either may be NULL.
void close_wave_file(WaveFile** file, WaveFormat** format);

// Four-character chunk ids as the reader compares them.
constexpr uint32_t wave_fourcc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
