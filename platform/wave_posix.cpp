// The Linux wave reader: a buffered RIFF reader that behaves like the
// platform's multimedia file reader for everything the sound bank does with
// it: chunk headers are read through an 8 KB buffer, a chunk search skips
// each chunk by its size rounded up to an even number of bytes and stays
// inside the parent chunk, and reads stop at the end of the file.
//
// Unlike a reader that keeps file positions in 32 bits, every position here
// is a 64-bit number, so a chunk size near 4 GB skips past the end of the
// file instead of wrapping round to an earlier chunk; every chunk search
// therefore ends.
#include "platform/wave.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t READ_BUFFER_BYTES = 8192;
constexpr uint32_t FOURCC_RIFF = wave_fourcc('R', 'I', 'F', 'F');
constexpr uint32_t FOURCC_LIST = wave_fourcc('L', 'I', 'S', 'T');
constexpr uint32_t FOURCC_WAVE = wave_fourcc('W', 'A', 'V', 'E');
constexpr uint32_t FOURCC_FMT = wave_fourcc('f', 'm', 't', ' ');
constexpr uint32_t FOURCC_DATA = wave_fourcc('d', 'a', 't', 'a');

}  // namespace

struct WaveFile {
    int fd;
    uint64_t buffer_offset;  // file offset of buffer[0]
    uint32_t buffer_fill;    // bytes of buffer that hold file data
    uint32_t next;           // read position inside buffer
    uint8_t buffer[READ_BUFFER_BYTES];
};

namespace {

uint64_t file_position(const WaveFile* f) { return f->buffer_offset + f->next; }

void file_seek(WaveFile* f, uint64_t position) {
    if (position >= f->buffer_offset && position <= f->buffer_offset + f->buffer_fill) {
        f->next = uint32_t(position - f->buffer_offset);
        return;
    }
    f->buffer_offset = position;
    f->buffer_fill = 0;
    f->next = 0;
}

// Refills the buffer from the current position; false when nothing more
// could be read.
bool file_advance(WaveFile* f) {
    f->buffer_offset += f->next;
    f->next = 0;
    f->buffer_fill = 0;
    if (f->buffer_offset >= uint64_t(INT64_MAX)) return false;
    for (;;) {
        ssize_t got = pread(f->fd, f->buffer, READ_BUFFER_BYTES, off_t(f->buffer_offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        f->buffer_fill = uint32_t(got);
        return true;
    }
}

// Reads up to `count` bytes; returns how many were read.
uint32_t file_read(WaveFile* f, void* destination, uint32_t count) {
    uint8_t* out = static_cast<uint8_t*>(destination);
    uint32_t done = 0;
    while (done < count) {
        if (f->next == f->buffer_fill && !file_advance(f)) break;
        uint32_t take = f->buffer_fill - f->next;
        if (take > count - done) take = count - done;
        std::memcpy(out + done, f->buffer + f->next, take);
        f->next += take;
        done += take;
    }
    return done;
}

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Descends into the next chunk, or with `find_id` not 0 into the first
// chunk with that id, searching no further than the end of `parent`. The
// file is left at the chunk's data (after the form type for RIFF and LIST).
// On failure the file is back where it was.
bool descend(WaveFile* f, WaveChunk* chunk, const WaveChunk* parent, uint32_t find_id) {
    const uint64_t start = file_position(f);
    uint64_t position = start;
    uint64_t parent_end = 0;
    if (parent) {
        parent_end = uint64_t(parent->data_offset) + parent->size;
        if (position < parent->data_offset || position >= parent_end) return false;
    }
    for (;;) {
        uint8_t header[8];
        if (file_read(f, header, 8) != 8) break;
        uint32_t id = le32(header);
        uint32_t size = le32(header + 4);
        uint64_t data_offset = position + 8;
        if (data_offset > UINT32_MAX) break;
        uint32_t form_type = 0;
        bool is_form = id == FOURCC_RIFF || id == FOURCC_LIST;
        if (is_form) {
            uint8_t form[4];
            if (file_read(f, form, 4) != 4) break;
            form_type = le32(form);
        }
        if (find_id == 0 || id == find_id) {
            chunk->id = id;
            chunk->size = size;
            chunk->form_type = form_type;
            chunk->data_offset = uint32_t(data_offset);
            chunk->flags = 0;
            file_seek(f, data_offset + (is_form ? 4 : 0));
            return true;
        }
        position = data_offset + ((uint64_t(size) + 1) & ~uint64_t(1));
        if (parent && position >= parent_end) break;
        file_seek(f, position);
    }
    file_seek(f, start);
    return false;
}

void ascend(WaveFile* f, const WaveChunk* chunk) {
    file_seek(f, uint64_t(chunk->data_offset) + chunk->size + (chunk->size & 1));
}

void close_file(WaveFile* f) {
    close(f->fd);
    std::free(f);
}

}  // namespace

uint32_t open_wave_file(const char* file_name, WaveFile** file_out, WaveFormat** format_out,
                        WaveChunk* riff) {
    *file_out = nullptr;
    *format_out = nullptr;

    // File names come in the simulator's form, with backslashes.
    char path[1024];
    size_t length = std::strlen(file_name);
    if (length >= sizeof path) return WAVE_ERROR_OPEN;
    for (size_t i = 0; i <= length; ++i) path[i] = file_name[i] == '\\' ? '/' : file_name[i];

    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return WAVE_ERROR_OPEN;
    WaveFile* f = static_cast<WaveFile*>(std::malloc(sizeof(WaveFile)));
    if (!f) {
        close(fd);
        return WAVE_ERROR_OPEN;
    }
    f->fd = fd;
    f->buffer_offset = 0;
    f->buffer_fill = 0;
    f->next = 0;

    *riff = WaveChunk{};
    if (!descend(f, riff, nullptr, 0) || riff->id != FOURCC_RIFF || riff->form_type != FOURCC_WAVE) {
        close_file(f);
        return WAVE_ERROR_NOT_WAVE;
    }
    WaveChunk fmt{};
    if (!descend(f, &fmt, riff, FOURCC_FMT) || fmt.size < 16) {
        close_file(f);
        return WAVE_ERROR_NOT_WAVE;
    }
    uint8_t fields[16];
    if (file_read(f, fields, 16) != 16) {
        close_file(f);
        return WAVE_ERROR_FORMAT_READ;
    }
    WaveFormat head;
    std::memcpy(&head, fields, 16);
    head.extra_size = 0;
    if (head.format_tag != WAVE_FORMAT_PCM_TAG) {
        uint8_t count[2];
        if (file_read(f, count, 2) != 2) {
            close_file(f);
            return WAVE_ERROR_FORMAT_READ;
        }
        head.extra_size = uint16_t(count[0] | count[1] << 8);
    }
    WaveFormat* format = static_cast<WaveFormat*>(std::malloc(sizeof(WaveFormat) + head.extra_size));
    if (!format) {
        close_file(f);
        return WAVE_ERROR_NO_MEMORY;
    }
    std::memcpy(format, &head, sizeof head);
    if (file_read(f, reinterpret_cast<uint8_t*>(format) + sizeof(WaveFormat), head.extra_size) !=
        head.extra_size) {
        std::free(format);
        close_file(f);
        return WAVE_ERROR_NOT_WAVE;
    }
    ascend(f, &fmt);
    *file_out = f;
    *format_out = format;
    return 0;
}

uint32_t start_wave_data(WaveFile* file, const WaveChunk* riff, WaveChunk* data) {
    file_seek(file, uint64_t(riff->data_offset) + 4);
    *data = WaveChunk{};
    return descend(file, data, riff, FOURCC_DATA) ? 0 : WAVE_ERROR_NO_CHUNK;
}

uint32_t read_wave_data(WaveFile* file, uint32_t count, uint8_t* destination, WaveChunk* data,
                        uint32_t* copied) {
    if (count > data->size) count = data->size;
    data->size -= count;
    uint32_t done = 0;
    while (done < count) {
        if (file->next == file->buffer_fill) {
            file_advance(file);
            if (file->next == file->buffer_fill) {
                *copied = 0;
                return WAVE_ERROR_DATA_READ;
            }
        }
        uint32_t take = file->buffer_fill - file->next;
        if (take > count - done) take = count - done;
        std::memcpy(destination + done, file->buffer + file->next, take);
        file->next += take;
        done += take;
    }
    *copied = count;
    return 0;
}

void close_wave_file(WaveFile** file, WaveFormat** format) {
    if (*format) std::free(*format);
    *format = nullptr;
    if (*file) close_file(*file);
    *file = nullptr;
}
