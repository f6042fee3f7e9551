// Two-dimensional drawing for the electronic flight displays.
//
// The displays draw into an off-screen 16-bit surface (5 bits per colour:
// red in bits 10-14, green 5-9, blue 0-4) and copy it into the host's image.
// The operations follow the platform's graphics device interface:
//  - coordinates are whole pixels, x to the right and y downwards;
//  - a line from A to B leaves out B's pixel;
//  - rectangles and ellipses are given by a bounding box whose right and
//    bottom edges lie outside the shape; the outline is drawn with the
//    selected pen, the inside filled with the selected brush;
//  - polygons are filled with the brush (alternate rule) and outlined with the pen;
//  - text is placed by its reference point: top-left or top-right corner of
//    the text cell, with an opaque box in the background colour behind it;
//  - fonts are chosen by cell height and weight and may be turned by an
//    escapement and orientation in tenths of a degree, counterclockwise;
//  - shapes are drawn without smoothing.
// Every operation accepts a null object and then does nothing, so a
// resource that could not be made simply leaves its part out.
//
// Windows: a DirectDraw object, an off-screen system-memory surface and GDI
// drawing through the surface's device context (draw_win32.cpp). Linux: the
// same operations on Cairo (draw_posix.cpp).
#pragma once

#include <cstdint>

// A colour as the platform keeps it: red in the low byte, then green, then blue.
using DrawColour = uint32_t;

constexpr DrawColour draw_rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// The 16-bit surface pixel of a colour: each channel cut to its top 5 bits.
constexpr uint16_t draw_pixel_555(DrawColour colour) {
    return static_cast<uint16_t>((((colour >> 3) & 0x1F) << 10) | (((colour >> 11) & 0x1F) << 5) |
                                 ((colour >> 19) & 0x1F));
}

struct DrawPoint {
    int32_t x;
    int32_t y;
};

// Description of a font, the fields of the platform's logical font record.
struct DrawFontSpec {
    int32_t height;          // cell height in pixels
    int32_t width;           // 0: the face's own proportions
    int32_t escapement;      // angle of the baseline, tenths of a degree counterclockwise
    int32_t orientation;     // angle of each character, tenths of a degree
    int32_t weight;          // 400 normal, 700 bold
    uint8_t italic;
    uint8_t underline;
    uint8_t strike_out;
    uint8_t char_set;        // 0: default set
    uint8_t out_precision;
    uint8_t clip_precision;
    uint8_t quality;
    uint8_t pitch_and_family; // 2: variable pitch
    char face[32];
};

constexpr uint8_t DRAW_VARIABLE_PITCH = 2;

// Text alignment: the reference point is the top-left or the top-right
// corner of the text cell.
enum DrawAlign : uint32_t {
    DRAW_ALIGN_LEFT = 0,
    DRAW_ALIGN_RIGHT = 2,
};

struct DrawDevice;   // the DirectDraw object
struct DrawSurface;  // an off-screen 16-bit surface
struct DrawContext;  // a device context on a surface
struct DrawPen;
struct DrawBrush;
struct DrawFont;

// ------------------------------------------------------------ device and surface

// The drawing device with normal cooperation and no window; null on failure.
DrawDevice* draw_device_create();
void draw_device_release(DrawDevice* device);

// An off-screen plain surface in system memory, 16 bits per pixel with the
// 5-5-5 masks; null on failure.
DrawSurface* draw_surface_create(DrawDevice* device, int32_t width, int32_t height);
void draw_surface_release(DrawSurface* surface);

bool draw_surface_is_lost(DrawSurface* surface);
void draw_surface_restore(DrawSurface* surface);

// A device context on the surface with the platform's default state (black
// 1-pixel pen, white brush, black text on white, left alignment, no clip).
DrawContext* draw_get_context(DrawSurface* surface);
void draw_release_context(DrawSurface* surface, DrawContext* context);

// The surface's pixels while locked, with its row pitch in bytes and its
// size in pixels. Null when the lock fails.
uint8_t* draw_surface_lock(DrawSurface* surface, int32_t* pitch, int32_t* width, int32_t* height);
void draw_surface_unlock(DrawSurface* surface);

// Copies the first `rows` rows of `width` pixels of the surface into a
// 16-bit pixel buffer with its own row pitch, never more than the surface
// holds. Does nothing when the lock fails.
void draw_surface_copy_rows(DrawSurface* surface, uint8_t* pixels, int32_t pitch, int32_t width,
                            int32_t rows);

// ------------------------------------------------------------ drawing objects

DrawPen* draw_pen_create(int32_t width, DrawColour colour);
DrawBrush* draw_brush_create(DrawColour colour);
DrawFont* draw_font_create(const DrawFontSpec* spec);
void draw_pen_delete(DrawPen* pen);
void draw_brush_delete(DrawBrush* brush);
void draw_font_delete(DrawFont* font);

// A zero-filled font description that outlives frames (freed with draw_font_spec_free).
DrawFontSpec* draw_font_spec_alloc();
void draw_font_spec_free(DrawFontSpec* spec);

// A description of an upright "Arial" font of the given height and weight,
// variable pitch, default character set.
DrawFontSpec draw_arial(int32_t height, int32_t weight);

// ------------------------------------------------------------ state of a context

void draw_select_pen(DrawContext* context, DrawPen* pen);
void draw_select_brush(DrawContext* context, DrawBrush* brush);
void draw_select_font(DrawContext* context, DrawFont* font);
void draw_set_text_colour(DrawContext* context, DrawColour colour);
void draw_set_background_colour(DrawContext* context, DrawColour colour);
void draw_set_text_align(DrawContext* context, DrawAlign align);

// ------------------------------------------------------------ drawing

void draw_move_to(DrawContext* context, int32_t x, int32_t y);
void draw_line_to(DrawContext* context, int32_t x, int32_t y);
void draw_polyline(DrawContext* context, const DrawPoint* points, int32_t count);
void draw_polygon(DrawContext* context, const DrawPoint* points, int32_t count);
void draw_rectangle(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom);
void draw_ellipse(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom);
void draw_text(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t length);

// Traces the outline as a path and makes its inside the clipping region,
// replacing any earlier one.
void draw_clip_to_outline(DrawContext* context, const DrawPoint* points, int32_t count);
