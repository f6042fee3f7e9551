// Drawing on Windows: a DirectDraw object, an off-screen 16-bit surface in
// system memory with the 5-5-5 masks, and GDI drawing through the surface's
// device context. The drawing objects are the GDI objects themselves.
#include "platform/draw.h"

#include <windows.h>
#include <ddraw.h>

#include <cstring>

static IDirectDraw* direct_draw(DrawDevice* device) { return reinterpret_cast<IDirectDraw*>(device); }
static IDirectDrawSurface* dd_surface(DrawSurface* surface) {
    return reinterpret_cast<IDirectDrawSurface*>(surface);
}
static HDC dc(DrawContext* context) { return reinterpret_cast<HDC>(context); }

// ------------------------------------------------------------ device and surface

DrawDevice* draw_device_create() {
    IDirectDraw* device = nullptr;
    if (DirectDrawCreate(nullptr, &device, nullptr) != DD_OK || !device) return nullptr;
    device->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    DDSURFACEDESC mode;
    std::memset(&mode, 0, sizeof mode);
    mode.dwSize = sizeof mode;
    device->GetDisplayMode(&mode);
    return reinterpret_cast<DrawDevice*>(device);
}

void draw_device_release(DrawDevice* device) {
    if (device) direct_draw(device)->Release();
}

DrawSurface* draw_surface_create(DrawDevice* device, int32_t width, int32_t height) {
    if (!device || width <= 0 || height <= 0) return nullptr;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = DWORD(width);
    desc.dwHeight = DWORD(height);
    desc.ddpfPixelFormat.dwSize = sizeof desc.ddpfPixelFormat;
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = 0x7C00;
    desc.ddpfPixelFormat.dwGBitMask = 0x03E0;
    desc.ddpfPixelFormat.dwBBitMask = 0x001F;
    IDirectDrawSurface* surface = nullptr;
    if (direct_draw(device)->CreateSurface(&desc, &surface, nullptr) != DD_OK) return nullptr;
    return reinterpret_cast<DrawSurface*>(surface);
}

void draw_surface_release(DrawSurface* surface) {
    if (surface) dd_surface(surface)->Release();
}

bool draw_surface_is_lost(DrawSurface* surface) {
    return surface && dd_surface(surface)->IsLost() == DDERR_SURFACELOST;
}

void draw_surface_restore(DrawSurface* surface) {
    if (surface) dd_surface(surface)->Restore();
}

// The objects a context came with, put back before it is released so that
// no pen, brush or font of ours stays selected into it (a selected object
// cannot be deleted). A module holds one context at a time.
static HGDIOBJ original_pen, original_brush, original_font;

DrawContext* draw_get_context(DrawSurface* surface) {
    HDC hdc = nullptr;
    if (!surface || dd_surface(surface)->GetDC(&hdc) != DD_OK) return nullptr;
    original_pen = GetCurrentObject(hdc, OBJ_PEN);
    original_brush = GetCurrentObject(hdc, OBJ_BRUSH);
    original_font = GetCurrentObject(hdc, OBJ_FONT);
    return reinterpret_cast<DrawContext*>(hdc);
}

void draw_release_context(DrawSurface* surface, DrawContext* context) {
    if (!surface || !context) return;
    HDC hdc = dc(context);
    SelectClipRgn(hdc, nullptr);
    if (original_pen) SelectObject(hdc, original_pen);
    if (original_brush) SelectObject(hdc, original_brush);
    if (original_font) SelectObject(hdc, original_font);
    dd_surface(surface)->ReleaseDC(hdc);
}

uint8_t* draw_surface_lock(DrawSurface* surface, int32_t* pitch, int32_t* width, int32_t* height) {
    if (!surface) return nullptr;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    if (dd_surface(surface)->Lock(nullptr, &desc, 0, nullptr) != DD_OK) return nullptr;
    if (pitch) *pitch = desc.lPitch;
    if (width) *width = int32_t(desc.dwWidth);
    if (height) *height = int32_t(desc.dwHeight);
    return static_cast<uint8_t*>(desc.lpSurface);
}

void draw_surface_unlock(DrawSurface* surface) {
    if (surface) dd_surface(surface)->Unlock(nullptr);
}

// ------------------------------------------------------------ drawing objects

DrawPen* draw_pen_create(int32_t width, DrawColour colour) {
    return reinterpret_cast<DrawPen*>(CreatePen(PS_SOLID, width, colour));
}

DrawBrush* draw_brush_create(DrawColour colour) {
    return reinterpret_cast<DrawBrush*>(CreateSolidBrush(colour));
}

DrawFont* draw_font_create(const DrawFontSpec* spec) {
    if (!spec) return nullptr;
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = spec->height;
    font.lfWidth = spec->width;
    font.lfEscapement = spec->escapement;
    font.lfOrientation = spec->orientation;
    font.lfWeight = spec->weight;
    font.lfItalic = spec->italic;
    font.lfUnderline = spec->underline;
    font.lfStrikeOut = spec->strike_out;
    font.lfCharSet = spec->char_set;
    font.lfOutPrecision = spec->out_precision;
    font.lfClipPrecision = spec->clip_precision;
    font.lfQuality = spec->quality;
    font.lfPitchAndFamily = spec->pitch_and_family;
    static_assert(sizeof font.lfFaceName == sizeof spec->face);
    std::memcpy(font.lfFaceName, spec->face, sizeof font.lfFaceName);
    font.lfFaceName[sizeof font.lfFaceName - 1] = 0;
    return reinterpret_cast<DrawFont*>(CreateFontIndirectA(&font));
}

void draw_pen_delete(DrawPen* pen) {
    if (pen) DeleteObject(reinterpret_cast<HGDIOBJ>(pen));
}

void draw_brush_delete(DrawBrush* brush) {
    if (brush) DeleteObject(reinterpret_cast<HGDIOBJ>(brush));
}

void draw_font_delete(DrawFont* font) {
    if (font) DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}

DrawFontSpec* draw_font_spec_alloc() {
    return static_cast<DrawFontSpec*>(LocalAlloc(LPTR, sizeof(DrawFontSpec)));
}

void draw_font_spec_free(DrawFontSpec* spec) {
    if (spec) LocalFree(spec);
}

// ------------------------------------------------------------ state of a context

void draw_select_pen(DrawContext* context, DrawPen* pen) {
    if (context && pen) SelectObject(dc(context), reinterpret_cast<HGDIOBJ>(pen));
}

void draw_select_brush(DrawContext* context, DrawBrush* brush) {
    if (context && brush) SelectObject(dc(context), reinterpret_cast<HGDIOBJ>(brush));
}

void draw_select_font(DrawContext* context, DrawFont* font) {
    if (context && font) SelectObject(dc(context), reinterpret_cast<HGDIOBJ>(font));
}

void draw_set_text_colour(DrawContext* context, DrawColour colour) {
    if (context) SetTextColor(dc(context), colour);
}

void draw_set_background_colour(DrawContext* context, DrawColour colour) {
    if (context) SetBkColor(dc(context), colour);
}

void draw_set_text_align(DrawContext* context, DrawAlign align) {
    if (context) SetTextAlign(dc(context), align == DRAW_ALIGN_RIGHT ? (TA_TOP | TA_RIGHT) : (TA_TOP | TA_LEFT));
}

// ------------------------------------------------------------ drawing

static_assert(sizeof(DrawPoint) == sizeof(POINT));

void draw_move_to(DrawContext* context, int32_t x, int32_t y) {
    if (context) MoveToEx(dc(context), x, y, nullptr);
}

void draw_line_to(DrawContext* context, int32_t x, int32_t y) {
    if (context) LineTo(dc(context), x, y);
}

void draw_polyline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (context && points && count >= 2)
        Polyline(dc(context), reinterpret_cast<const POINT*>(points), count);
}

void draw_polygon(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (context && points && count >= 2)
        Polygon(dc(context), reinterpret_cast<const POINT*>(points), count);
}

void draw_rectangle(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (context) Rectangle(dc(context), left, top, right, bottom);
}

void draw_ellipse(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (context) Ellipse(dc(context), left, top, right, bottom);
}

void draw_text(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t length) {
    if (context && text && length > 0) TextOutA(dc(context), x, y, text, length);
}

void draw_clip_to_outline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 3) return;
    HDC hdc = dc(context);
    BeginPath(hdc);
    Polyline(hdc, reinterpret_cast<const POINT*>(points), count);
    EndPath(hdc);
    SelectClipPath(hdc, RGN_COPY);
}
