// The Windows wave reader: the multimedia file reader (mmio) with its own
// read buffer.
#include "platform/wave.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

static_assert(sizeof(WaveChunk) == sizeof(MMCKINFO), "chunk descriptor matches MMCKINFO");
static_assert(offsetof(WaveChunk, data_offset) == offsetof(MMCKINFO, dwDataOffset),
              "chunk descriptor matches MMCKINFO");

namespace {

HMMIO handle(WaveFile* file) { return reinterpret_cast<HMMIO>(file); }
MMCKINFO* chunk_info(WaveChunk* chunk) { return reinterpret_cast<MMCKINFO*>(chunk); }

uint32_t fail(HMMIO file, WaveFormat* format, uint32_t error) {
    if (format) GlobalFree(format);
    mmioClose(file, 0);
    return error;
}

}  // namespace

uint32_t open_wave_file(const char* file_name, WaveFile** file_out, WaveFormat** format_out,
                        WaveChunk* riff) {
    *file_out = nullptr;
    *format_out = nullptr;
    HMMIO file = mmioOpenA(const_cast<LPSTR>(file_name), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return WAVE_ERROR_OPEN;

    std::memset(riff, 0, sizeof *riff);
    if (mmioDescend(file, chunk_info(riff), nullptr, 0) != MMSYSERR_NOERROR ||
        riff->id != FOURCC_RIFF || riff->form_type != mmioFOURCC('W', 'A', 'V', 'E'))
        return fail(file, nullptr, WAVE_ERROR_NOT_WAVE);

    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &fmt, chunk_info(riff), MMIO_FINDCHUNK) != MMSYSERR_NOERROR ||
        fmt.cksize < 16)
        return fail(file, nullptr, WAVE_ERROR_NOT_WAVE);

    WaveFormat head{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&head), 16) != 16)
        return fail(file, nullptr, WAVE_ERROR_FORMAT_READ);
    head.extra_size = 0;
    if (head.format_tag != WAVE_FORMAT_PCM_TAG &&
        mmioRead(file, reinterpret_cast<HPSTR>(&head.extra_size), 2) != 2)
        return fail(file, nullptr, WAVE_ERROR_FORMAT_READ);

    WaveFormat* format =
        static_cast<WaveFormat*>(GlobalAlloc(GMEM_FIXED, sizeof(WaveFormat) + head.extra_size));
    if (!format) return fail(file, nullptr, WAVE_ERROR_NO_MEMORY);
    *format = head;
    if (mmioRead(file, reinterpret_cast<HPSTR>(format + 1), head.extra_size) != head.extra_size)
        return fail(file, format, WAVE_ERROR_NOT_WAVE);
    if (mmioAscend(file, &fmt, 0) != MMSYSERR_NOERROR)
        return fail(file, format, WAVE_ERROR_NOT_WAVE);

    *file_out = reinterpret_cast<WaveFile*>(file);
    *format_out = format;
    return 0;
}

uint32_t start_wave_data(WaveFile* file, const WaveChunk* riff, WaveChunk* data) {
    if (mmioSeek(handle(file), LONG(riff->data_offset + 4), SEEK_SET) == -1)
        return WAVE_ERROR_NO_CHUNK;
    std::memset(data, 0, sizeof *data);
    data->id = mmioFOURCC('d', 'a', 't', 'a');
    WaveChunk parent = *riff;
    return mmioDescend(handle(file), chunk_info(data), chunk_info(&parent), MMIO_FINDCHUNK);
}

uint32_t read_wave_data(WaveFile* file, uint32_t count, uint8_t* destination, WaveChunk* data,
                        uint32_t* copied) {
    HMMIO h = handle(file);
    MMIOINFO info;
    if (mmioGetInfo(h, &info, 0) != MMSYSERR_NOERROR) {
        *copied = 0;
        return WAVE_ERROR_DATA_READ;
    }
    if (count > data->size) count = data->size;
    data->size -= count;
    for (uint32_t i = 0; i < count; ++i) {
        if (info.pchNext == info.pchEndRead) {
            mmioAdvance(h, &info, MMIO_READ);
            if (info.pchNext == info.pchEndRead) {
                mmioSetInfo(h, &info, 0);
                *copied = 0;
                return WAVE_ERROR_DATA_READ;
            }
        }
        destination[i] = static_cast<uint8_t>(*info.pchNext++);
    }
    mmioSetInfo(h, &info, 0);
    *copied = count;
    return 0;
}

void close_wave_file(WaveFile** file, WaveFormat** format) {
    if (*format) GlobalFree(*format);
    *format = nullptr;
    if (*file) mmioClose(handle(*file), 0);
    *file = nullptr;
}
