#include "platform/host_services.h"

bool sound_buffer_acceptable(const SoundFormat* f, uint32_t bytes) {
    if (f->format_tag != 1) return false;
    if (f->channels != 1 && f->channels != 2) return false;
    if (f->bits_per_sample != 8 && f->bits_per_sample != 16) return false;
    if (f->block_align != f->channels * f->bits_per_sample / 8) return false;
    if (f->samples_per_second < 100 || f->samples_per_second > 192000) return false;
    if (f->average_bytes_per_second != f->samples_per_second * f->block_align) return false;
    return bytes >= 4 && bytes <= 0x0FFFFFFF;
}
