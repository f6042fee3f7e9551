// Drawing operations that are the same on every platform.
#include "platform/draw.h"

#include <cstring>

void draw_surface_copy_rows(DrawSurface* surface, uint8_t* pixels, int32_t pitch, int32_t width,
                            int32_t rows) {
    if (!surface || !pixels || width <= 0 || rows <= 0) return;
    int32_t surface_pitch = 0, surface_width = 0, surface_height = 0;
    const uint8_t* source = draw_surface_lock(surface, &surface_pitch, &surface_width, &surface_height);
    if (!source) return;
    if (width > surface_width) width = surface_width;
    if (rows > surface_height) rows = surface_height;
    for (int32_t row = 0; row < rows; ++row)
        std::memcpy(pixels + row * pitch, source + row * surface_pitch, size_t(width) * 2);
    draw_surface_unlock(surface);
}

DrawFontSpec draw_arial(int32_t height, int32_t weight) {
    DrawFontSpec spec{};
    spec.height = height;
    spec.weight = weight;
    spec.pitch_and_family = DRAW_VARIABLE_PITCH;
    std::strcpy(spec.face, "Arial");
    return spec;
}
