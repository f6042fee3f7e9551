// Drawing on Linux: the platform's device-context drawing rebuilt on Cairo.
//
// The surface is a Cairo image (24-bit colour); locking it converts the
// picture into a 16-bit 5-5-5 buffer, as the platform's 16-bit surface holds
// it. Drawing keeps to the device-context rules the displays rely on:
//  - no smoothing anywhere, text included;
//  - pen strokes are whole pixels: a 1-pixel pen steps along the line pixel
//    by pixel and leaves out the end point; a wider pen sets a square of its
//    width at every step;
//  - fills cover the pixels whose centres lie inside the outline traced
//    through the pixels' top-left corners, so right and bottom edges fall
//    outside, and the pen outline then covers the edge pixels;
//  - rectangles and ellipses stay inside the box left..right-1, top..bottom-1;
//  - text cells are ascent plus descent high; the opaque box covers the cell
//    over the text's advance; escapement turns the baseline about the
//    reference point.
// Every pixel goes through Cairo, so the clipping region applies to all of it.
#include "platform/draw.h"

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

struct DrawDevice {
    int unused;
};

struct DrawPen {
    int32_t width;
    DrawColour colour;
};

struct DrawBrush {
    DrawColour colour;
};

struct DrawFont {
    cairo_font_face_t* face;
    double size;             // em size in pixels
    double ascent;           // whole pixels above the baseline
    double cell;             // cell height in whole pixels
    int32_t escapement;      // tenths of a degree, counterclockwise
};

struct DrawContext {
    cairo_t* cr;
    DrawPen* pen;
    DrawBrush* brush;
    DrawFont* font;
    DrawColour text;
    DrawColour background;
    DrawAlign align;
    int32_t x, y;            // current position
};

struct DrawSurface {
    cairo_surface_t* image;
    int32_t width, height;
    uint16_t* pixels;        // the 16-bit picture handed out by a lock
    int32_t pitch;           // bytes per row of `pixels`
    DrawContext context;
    bool context_taken;
    DrawFont* default_font;  // the font of a fresh context, owned by the surface
};

// Defaults of a fresh device context.
static DrawPen default_pen = {1, draw_rgb(0, 0, 0)};
static DrawBrush default_brush = {draw_rgb(255, 255, 255)};


static void set_colour(cairo_t* cr, DrawColour colour) {
    cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
}

// ------------------------------------------------------------ device and surface

DrawDevice* draw_device_create() {
    return static_cast<DrawDevice*>(std::calloc(1, sizeof(DrawDevice)));
}

void draw_device_release(DrawDevice* device) { std::free(device); }

DrawSurface* draw_surface_create(DrawDevice* device, int32_t width, int32_t height) {
    if (!device || width <= 0 || height <= 0 || width > 8192 || height > 8192) return nullptr;
    auto* surface = static_cast<DrawSurface*>(std::calloc(1, sizeof(DrawSurface)));
    if (!surface) return nullptr;
    surface->image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    surface->width = width;
    surface->height = height;
    surface->pitch = (width * 2 + 3) & ~3;
    surface->pixels = static_cast<uint16_t*>(std::calloc(size_t(surface->pitch) * height, 1));
    if (cairo_surface_status(surface->image) != CAIRO_STATUS_SUCCESS || !surface->pixels) {
        draw_surface_release(surface);
        return nullptr;
    }
    surface->context.cr = cairo_create(surface->image);
    DrawFontSpec system = draw_arial(16, 700);
    surface->default_font = draw_font_create(&system);
    return surface;
}

void draw_surface_release(DrawSurface* surface) {
    if (!surface) return;
    draw_font_delete(surface->default_font);
    if (surface->context.cr) cairo_destroy(surface->context.cr);
    if (surface->image) cairo_surface_destroy(surface->image);
    std::free(surface->pixels);
    std::free(surface);
}

// A system-memory surface on this platform is never taken away.
bool draw_surface_is_lost(DrawSurface*) { return false; }
void draw_surface_restore(DrawSurface*) {}

DrawContext* draw_get_context(DrawSurface* surface) {
    if (!surface || surface->context_taken) return nullptr;
    DrawContext* context = &surface->context;
    cairo_t* cr = context->cr;
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    context->pen = &default_pen;
    context->brush = &default_brush;
    context->font = surface->default_font;
    context->text = draw_rgb(0, 0, 0);
    context->background = draw_rgb(255, 255, 255);
    context->align = DRAW_ALIGN_LEFT;
    context->x = context->y = 0;
    surface->context_taken = true;
    return context;
}

void draw_release_context(DrawSurface* surface, DrawContext* context) {
    if (!surface || context != &surface->context) return;
    cairo_surface_flush(surface->image);
    surface->context_taken = false;
}

uint8_t* draw_surface_lock(DrawSurface* surface, int32_t* pitch, int32_t* width, int32_t* height) {
    if (!surface || surface->context_taken) return nullptr;
    cairo_surface_flush(surface->image);
    const uint8_t* data = cairo_image_surface_get_data(surface->image);
    int stride = cairo_image_surface_get_stride(surface->image);
    for (int32_t y = 0; y < surface->height; ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(data + y * stride);
        auto* target = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(surface->pixels) +
                                                    y * surface->pitch);
        for (int32_t x = 0; x < surface->width; ++x) {
            uint32_t rgb = source[x];   // 0x00RRGGBB
            target[x] = static_cast<uint16_t>((((rgb >> 19) & 0x1F) << 10) |
                                              (((rgb >> 11) & 0x1F) << 5) | ((rgb >> 3) & 0x1F));
        }
    }
    if (pitch) *pitch = surface->pitch;
    if (width) *width = surface->width;
    if (height) *height = surface->height;
    return reinterpret_cast<uint8_t*>(surface->pixels);
}

void draw_surface_unlock(DrawSurface*) {}

// ------------------------------------------------------------ drawing objects

DrawPen* draw_pen_create(int32_t width, DrawColour colour) {
    auto* pen = static_cast<DrawPen*>(std::malloc(sizeof(DrawPen)));
    if (pen) *pen = DrawPen{width < 1 ? 1 : width, colour};
    return pen;
}

DrawBrush* draw_brush_create(DrawColour colour) {
    auto* brush = static_cast<DrawBrush*>(std::malloc(sizeof(DrawBrush)));
    if (brush) brush->colour = colour;
    return brush;
}

// "Arial" and the platform's other sans-serif names are drawn with the
// metric-compatible Liberation Sans.
static const char* face_family(const char* face) {
    if (!face[0] || !strcasecmp(face, "Arial") || !strcasecmp(face, "Helvetica") ||
        !strcasecmp(face, "MS Sans Serif"))
        return "Liberation Sans";
    return face;
}

DrawFont* draw_font_create(const DrawFontSpec* spec) {
    if (!spec) return nullptr;
    char face[sizeof spec->face + 1] = {};
    std::memcpy(face, spec->face, sizeof spec->face);
    cairo_font_face_t* cairo_face = cairo_toy_font_face_create(
        face_family(face), spec->italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        spec->weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    if (cairo_font_face_status(cairo_face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairo_face);
        return nullptr;
    }
    // The face's ascent and descent per unit of em size (measured large and
    // unhinted) give the em size for a cell height (positive heights) and
    // the cell for an em size (negative).
    const double measure = 1000.0;
    cairo_matrix_t large, identity;
    cairo_matrix_init_scale(&large, measure, measure);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(cairo_face, &large, &identity, options);
    cairo_font_extents_t extents{};
    cairo_scaled_font_extents(scaled, &extents);
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    extents.ascent /= measure;
    extents.descent /= measure;
    double unit_cell = extents.ascent + extents.descent;
    if (unit_cell <= 0) unit_cell = 1.0;

    auto* font = static_cast<DrawFont*>(std::malloc(sizeof(DrawFont)));
    if (!font) {
        cairo_font_face_destroy(cairo_face);
        return nullptr;
    }
    int32_t height = spec->height == 0 ? 16 : spec->height;
    font->face = cairo_face;
    font->size = height > 0 ? height / unit_cell : -double(height);
    font->ascent = std::round(extents.ascent * font->size);
    font->cell = height > 0 ? height : std::round(unit_cell * font->size);
    font->escapement = spec->escapement;
    return font;
}

void draw_pen_delete(DrawPen* pen) {
    if (pen != &default_pen) std::free(pen);
}

void draw_brush_delete(DrawBrush* brush) {
    if (brush != &default_brush) std::free(brush);
}

void draw_font_delete(DrawFont* font) {
    if (!font) return;
    cairo_font_face_destroy(font->face);
    std::free(font);
}

DrawFontSpec* draw_font_spec_alloc() {
    return static_cast<DrawFontSpec*>(std::calloc(1, sizeof(DrawFontSpec)));
}

void draw_font_spec_free(DrawFontSpec* spec) { std::free(spec); }

// ------------------------------------------------------------ state of a context

void draw_select_pen(DrawContext* context, DrawPen* pen) {
    if (context && pen) context->pen = pen;
}

void draw_select_brush(DrawContext* context, DrawBrush* brush) {
    if (context && brush) context->brush = brush;
}

void draw_select_font(DrawContext* context, DrawFont* font) {
    if (context && font) context->font = font;
}

void draw_set_text_colour(DrawContext* context, DrawColour colour) {
    if (context) context->text = colour;
}

void draw_set_background_colour(DrawContext* context, DrawColour colour) {
    if (context) context->background = colour;
}

void draw_set_text_align(DrawContext* context, DrawAlign align) {
    if (context) context->align = align;
}

// ------------------------------------------------------------ pen strokes

// Adds the square that the pen sets at pixel (x, y) to the current path.
static void pen_dot(cairo_t* cr, int32_t width, int32_t x, int32_t y) {
    int32_t half = width / 2;
    cairo_rectangle(cr, x - half, y - half, width, width);
}

// Adds the pixels of a pen stroke from A to B; a 1-pixel pen leaves out B.
static void stroke_segment(cairo_t* cr, int32_t width, int32_t x0, int32_t y0, int32_t x1,
                           int32_t y1) {
    int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int32_t step_x = x0 < x1 ? 1 : -1, step_y = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    for (;;) {
        if (x0 == x1 && y0 == y1) {
            if (width > 1) pen_dot(cr, width, x0, y0);
            return;
        }
        pen_dot(cr, width, x0, y0);
        int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += step_x;
        }
        if (twice <= dx) {
            error += dx;
            y0 += step_y;
        }
    }
}

// Fills the pen squares of a stroke (which may overlap) in the colour.
static void fill_with(cairo_t* cr, DrawColour colour) {
    set_colour(cr, colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
}

// Fills a traced outline by the alternate rule: a point is inside when a
// ray from it crosses the outline an odd number of times.
static void fill_alternate(cairo_t* cr, DrawColour colour) {
    set_colour(cr, colour);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
}

// ------------------------------------------------------------ drawing

void draw_move_to(DrawContext* context, int32_t x, int32_t y) {
    if (!context) return;
    context->x = x;
    context->y = y;
}

void draw_line_to(DrawContext* context, int32_t x, int32_t y) {
    if (!context) return;
    cairo_new_path(context->cr);
    stroke_segment(context->cr, context->pen->width, context->x, context->y, x, y);
    fill_with(context->cr, context->pen->colour);
    context->x = x;
    context->y = y;
}

void draw_polyline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 2) return;
    cairo_new_path(context->cr);
    for (int32_t i = 1; i < count; ++i)
        stroke_segment(context->cr, context->pen->width, points[i - 1].x, points[i - 1].y,
                       points[i].x, points[i].y);
    fill_with(context->cr, context->pen->colour);
}

// Traces a closed outline through the pixels' top-left corners.
static void trace_outline(cairo_t* cr, const DrawPoint* points, int32_t count) {
    cairo_new_path(cr);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
}

void draw_polygon(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 2) return;
    cairo_t* cr = context->cr;
    trace_outline(cr, points, count);
    fill_alternate(cr, context->brush->colour);
    cairo_new_path(cr);
    for (int32_t i = 0; i < count; ++i) {
        const DrawPoint& from = points[i];
        const DrawPoint& to = points[(i + 1) % count];
        stroke_segment(cr, context->pen->width, from.x, from.y, to.x, to.y);
    }
    fill_with(cr, context->pen->colour);
}

static void order(int32_t& low, int32_t& high) {
    if (low > high) {
        int32_t swap = low;
        low = high;
        high = swap;
    }
}

void draw_rectangle(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!context) return;
    order(left, right);
    order(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    cairo_t* cr = context->cr;
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    fill_with(cr, context->brush->colour);
    const DrawPoint corners[4] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i)
        stroke_segment(cr, context->pen->width, corners[i].x, corners[i].y, corners[(i + 1) % 4].x,
                       corners[(i + 1) % 4].y);
    pen_dot(cr, context->pen->width, left, bottom - 1);
    fill_with(cr, context->pen->colour);
}

void draw_ellipse(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!context) return;
    order(left, right);
    order(top, bottom);
    int32_t w = right - left, h = bottom - top;
    if (w < 1 || h < 1 || w > 4096 || h > 4096) return;
    // A pixel belongs to the ellipse when its centre lies inside the ellipse
    // that fills the box; it is an outline pixel when a pixel within the
    // pen's width of it, straight across or down, lies outside.
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = w / 2.0, ry = h / 2.0;
    auto inside = [&](int32_t x, int32_t y) {
        double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    const int32_t pen = context->pen->width;
    cairo_t* cr = context->cr;
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x) {
                if (!inside(x, y)) continue;
                bool edge = false;
                for (int32_t k = 1; k <= pen && !edge; ++k)
                    edge = !inside(x - k, y) || !inside(x + k, y) || !inside(x, y - k) ||
                           !inside(x, y + k);
                if (edge == (pass == 1)) cairo_rectangle(cr, x, y, 1, 1);
            }
        fill_with(cr, pass == 0 ? context->brush->colour : context->pen->colour);
    }
}

void draw_text(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t length) {
    if (!context || !text || length <= 0 || !context->font) return;
    char buffer[256];
    if (length > int32_t(sizeof buffer) - 1) length = sizeof buffer - 1;
    std::memcpy(buffer, text, size_t(length));
    buffer[length] = 0;

    const DrawFont* font = context->font;
    cairo_t* cr = context->cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -font->escapement * M_PI / 1800.0);
    cairo_set_font_face(cr, font->face);
    cairo_set_font_size(cr, font->size);
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, buffer, &extents);
    double advance = std::round(extents.x_advance);
    double start = context->align == DRAW_ALIGN_RIGHT ? -advance : 0.0;
    cairo_rectangle(cr, start, 0, advance, font->cell);
    fill_with(cr, context->background);
    cairo_move_to(cr, start, font->ascent);
    set_colour(cr, context->text);
    cairo_show_text(cr, buffer);
    cairo_restore(cr);
}

void draw_clip_to_outline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 3) return;
    cairo_reset_clip(context->cr);
    trace_outline(context->cr, points, count);
    cairo_set_fill_rule(context->cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(context->cr);
}
