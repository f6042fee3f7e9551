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
// Cairo fills polygons, draws text and keeps the clipping region. Pen
// strokes, rectangles and ellipses are whole-pixel shapes: they are written
// straight into Cairo's image, through a mask of the clipping region that
// Cairo rasterizes once for each outline, so that they cover exactly the
// pixels a Cairo fill of them would, at a fraction of the cost.
//
// Points far outside any surface (beyond +-32767, as a value that is none
// turned into a pixel gives) are held at that limit, so that no stroke steps
// through billions of pixels and Cairo's fixed-point numbers stay in range.
#include "platform/draw.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
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
    bool pooled;             // one of the pool's below
    bool in_use;
};

constexpr int CLIP_POINTS = 256;

struct DrawContext {
    cairo_t* cr;
    DrawSurface* surface;
    DrawPen* pen;
    DrawBrush* brush;
    DrawFont* font;
    DrawColour text;
    DrawColour background;
    DrawAlign align;
    int32_t x, y;            // current position
    bool clipped;            // the clipping mask applies
    bool font_options_set;   // on this Cairo context
};

struct DrawSurface {
    cairo_surface_t* image;
    uint32_t* rgb;           // Cairo's pixels, 0x00RRGGBB
    int32_t stride;          // pixels per row of `rgb`
    int32_t width, height;
    uint16_t* pixels;        // the 16-bit picture handed out by a lock
    int32_t pitch;           // bytes per row of `pixels`
    DrawContext context;
    bool context_taken;
    DrawFont* default_font;  // the font of a fresh context, owned by the surface
    // The clipping region as Cairo rasterizes it: one byte a pixel, non-zero
    // inside; made again only for an outline other than the last one.
    cairo_surface_t* clip_image;
    cairo_t* clip_cr;
    DrawPoint clip_points[CLIP_POINTS];
    int32_t clip_count;
};

// Defaults of a fresh device context.
static DrawPen default_pen = {1, draw_rgb(0, 0, 0)};
static DrawBrush default_brush = {draw_rgb(255, 255, 255)};


static void set_colour(cairo_t* cr, DrawColour colour) {
    cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
}

// The pixel Cairo writes for a colour in its 24-bit image.
static uint32_t image_pixel(DrawColour colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

constexpr int32_t COORDINATE_LIMIT = 32767;

static int32_t held(int32_t v) {
    return v < -COORDINATE_LIMIT ? -COORDINATE_LIMIT : v > COORDINATE_LIMIT ? COORDINATE_LIMIT : v;
}

// Sets the pixels of the box left..right-1, top..bottom-1 that lie on the
// surface and inside the clipping region.
static void fill_box(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     uint32_t pixel) {
    DrawSurface* s = context->surface;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > s->width) right = s->width;
    if (bottom > s->height) bottom = s->height;
    if (left >= right || top >= bottom) return;
    const uint8_t* mask = context->clipped ? cairo_image_surface_get_data(s->clip_image) : nullptr;
    const int mask_stride = mask ? cairo_image_surface_get_stride(s->clip_image) : 0;
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = s->rgb + size_t(y) * size_t(s->stride);
        if (!mask) {
            for (int32_t x = left; x < right; ++x) row[x] = pixel;
            continue;
        }
        const uint8_t* inside = mask + size_t(y) * size_t(mask_stride);
        for (int32_t x = left; x < right; ++x)
            if (inside[x]) row[x] = pixel;
    }
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
    surface->clip_image = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    surface->width = width;
    surface->height = height;
    surface->pitch = (width * 2 + 3) & ~3;
    surface->pixels = static_cast<uint16_t*>(std::calloc(size_t(surface->pitch) * height, 1));
    if (cairo_surface_status(surface->image) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(surface->clip_image) != CAIRO_STATUS_SUCCESS || !surface->pixels) {
        draw_surface_release(surface);
        return nullptr;
    }
    surface->rgb = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface->image));
    surface->stride = cairo_image_surface_get_stride(surface->image) / 4;
    surface->context.cr = cairo_create(surface->image);
    surface->context.surface = surface;
    cairo_surface_mark_dirty(surface->image);
    surface->clip_cr = cairo_create(surface->clip_image);
    cairo_set_antialias(surface->clip_cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(surface->clip_cr, CAIRO_FILL_RULE_EVEN_ODD);
    DrawFontSpec system = draw_arial(16, 700);
    surface->default_font = draw_font_create(&system);
    return surface;
}

void draw_surface_release(DrawSurface* surface) {
    if (!surface) return;
    draw_font_delete(surface->default_font);
    if (surface->context.cr) cairo_destroy(surface->context.cr);
    if (surface->clip_cr) cairo_destroy(surface->clip_cr);
    if (surface->image) cairo_surface_destroy(surface->image);
    if (surface->clip_image) cairo_surface_destroy(surface->clip_image);
    std::free(surface->pixels);
    std::free(surface);
}

// A system-memory surface on this platform is never taken away.
bool draw_surface_is_lost(DrawSurface*) { return false; }
void draw_surface_restore(DrawSurface*) {}

DrawContext* draw_get_context(DrawSurface* surface) {
    if (!surface || surface->context_taken) return nullptr;
    DrawContext* context = &surface->context;
    // A Cairo context that has gone into an error state (a matrix turned by
    // an angle that is none) draws nothing ever after: start a new one.
    if (!context->cr || cairo_status(context->cr) != CAIRO_STATUS_SUCCESS) {
        if (context->cr) cairo_destroy(context->cr);
        context->cr = cairo_create(surface->image);
        context->font_options_set = false;
    }
    cairo_t* cr = context->cr;
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (!context->font_options_set) {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(options);
        context->font_options_set = true;
    }
    cairo_surface_flush(surface->image);
    context->clipped = false;
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
    cairo_surface_mark_dirty(surface->image);
    cairo_surface_flush(surface->image);
    surface->context_taken = false;
}

// 0x00RRGGBB to 5-5-5, the top five bits of each channel; written so that
// the compiler turns it into vector instructions.
__attribute__((optimize("tree-vectorize"))) static void convert_row(const uint32_t* __restrict source,
                                                                    uint16_t* __restrict target,
                                                                    int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        uint32_t rgb = source[x];
        target[x] = static_cast<uint16_t>(((rgb >> 9) & 0x7C00) | ((rgb >> 6) & 0x03E0) | ((rgb >> 3) & 0x001F));
    }
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
        convert_row(source, target, surface->width);
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

// The face's ascent and descent per unit of em size (measured large and
// unhinted), for each face met so far: measuring makes a large scaled font,
// far too slow for the fonts the displays make every frame.
struct FaceMetrics {
    char family[sizeof(DrawFontSpec::face) + 1];
    cairo_font_slant_t slant;
    cairo_font_weight_t weight;
    double ascent, descent;
};
static FaceMetrics face_metrics[16];
static int face_metrics_count = 0;

static FaceMetrics measure_face(cairo_font_face_t* face, const char* family, cairo_font_slant_t slant,
                                cairo_font_weight_t weight) {
    for (int i = 0; i < face_metrics_count; ++i) {
        const FaceMetrics& m = face_metrics[i];
        if (m.slant == slant && m.weight == weight && std::strcmp(m.family, family) == 0) return m;
    }
    const double measure = 1000.0;
    cairo_matrix_t large, identity;
    cairo_matrix_init_scale(&large, measure, measure);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &large, &identity, options);
    cairo_font_extents_t extents{};
    cairo_scaled_font_extents(scaled, &extents);
    bool measured = cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS;
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    FaceMetrics m{};
    std::snprintf(m.family, sizeof m.family, "%s", family);
    m.slant = slant;
    m.weight = weight;
    m.ascent = extents.ascent / measure;
    m.descent = extents.descent / measure;
    if (measured && face_metrics_count < int(sizeof face_metrics / sizeof *face_metrics))
        face_metrics[face_metrics_count++] = m;
    return m;
}

// Fonts made and deleted every frame (text turned with the attitude or the
// heading) come from this pool, the others from the heap.
static DrawFont font_pool[32];

DrawFont* draw_font_create(const DrawFontSpec* spec) {
    if (!spec) return nullptr;
    char face[sizeof spec->face + 1] = {};
    std::memcpy(face, spec->face, sizeof spec->face);
    const char* family = face_family(face);
    cairo_font_slant_t slant = spec->italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL;
    cairo_font_weight_t weight = spec->weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL;
    cairo_font_face_t* cairo_face = cairo_toy_font_face_create(family, slant, weight);
    if (cairo_font_face_status(cairo_face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairo_face);
        return nullptr;
    }
    // The em size for a cell height (positive heights), the cell for an em
    // size (negative).
    FaceMetrics metrics = measure_face(cairo_face, family, slant, weight);
    double unit_cell = metrics.ascent + metrics.descent;
    if (unit_cell <= 0) unit_cell = 1.0;

    DrawFont* font = nullptr;
    for (DrawFont& f : font_pool)
        if (!f.in_use) {
            font = &f;
            break;
        }
    if (!font) font = static_cast<DrawFont*>(std::malloc(sizeof(DrawFont)));
    if (!font) {
        cairo_font_face_destroy(cairo_face);
        return nullptr;
    }
    int32_t height = spec->height == 0 ? 16 : spec->height;
    font->face = cairo_face;
    font->size = height > 0 ? height / unit_cell : -double(height);
    font->ascent = std::round(metrics.ascent * font->size);
    font->cell = height > 0 ? height : std::round(unit_cell * font->size);
    font->escapement = spec->escapement;
    font->pooled = font >= font_pool && font < font_pool + sizeof font_pool / sizeof *font_pool;
    font->in_use = true;
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
    if (font->pooled) font->in_use = false;
    else std::free(font);
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

// Sets the square that the pen sets at pixel (x, y).
static void pen_dot(DrawContext* context, int32_t width, int32_t x, int32_t y, uint32_t pixel) {
    int32_t half = width / 2;
    fill_box(context, x - half, y - half, x - half + width, y - half + width, pixel);
}

// Sets the pixels of a pen stroke from A to B; a 1-pixel pen leaves out B.
// Steps that put the pen wholly off the surface set nothing.
static void stroke_segment(DrawContext* context, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                           DrawColour colour) {
    const int32_t width = context->pen->width;
    const uint32_t pixel = image_pixel(colour);
    x0 = held(x0), y0 = held(y0), x1 = held(x1), y1 = held(y1);
    const int32_t reach = width / 2 + width;
    const int32_t right = context->surface->width + reach, bottom = context->surface->height + reach;
    int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int32_t step_x = x0 < x1 ? 1 : -1, step_y = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    for (;;) {
        bool on_surface = x0 > -reach && y0 > -reach && x0 < right && y0 < bottom;
        if (x0 == x1 && y0 == y1) {
            if (width > 1 && on_surface) pen_dot(context, width, x0, y0, pixel);
            return;
        }
        if (on_surface) pen_dot(context, width, x0, y0, pixel);
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
    stroke_segment(context, context->x, context->y, x, y, context->pen->colour);
    context->x = x;
    context->y = y;
}

void draw_polyline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 2) return;
    for (int32_t i = 1; i < count; ++i)
        stroke_segment(context, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y,
                       context->pen->colour);
}

// Traces a closed outline through the pixels' top-left corners.
static void trace_outline(cairo_t* cr, const DrawPoint* points, int32_t count) {
    cairo_new_path(cr);
    cairo_move_to(cr, held(points[0].x), held(points[0].y));
    for (int32_t i = 1; i < count; ++i) cairo_line_to(cr, held(points[i].x), held(points[i].y));
    cairo_close_path(cr);
}

void draw_polygon(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 2) return;
    cairo_t* cr = context->cr;
    trace_outline(cr, points, count);
    fill_alternate(cr, context->brush->colour);
    for (int32_t i = 0; i < count; ++i) {
        const DrawPoint& from = points[i];
        const DrawPoint& to = points[(i + 1) % count];
        stroke_segment(context, from.x, from.y, to.x, to.y, context->pen->colour);
    }
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
    left = held(left), top = held(top), right = held(right), bottom = held(bottom);
    order(left, right);
    order(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    fill_box(context, left, top, right, bottom, image_pixel(context->brush->colour));
    const DrawPoint corners[4] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    for (int i = 0; i < 4; ++i)
        stroke_segment(context, corners[i].x, corners[i].y, corners[(i + 1) % 4].x, corners[(i + 1) % 4].y,
                       context->pen->colour);
    pen_dot(context, context->pen->width, left, bottom - 1, image_pixel(context->pen->colour));
}

void draw_ellipse(DrawContext* context, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!context) return;
    left = held(left), top = held(top), right = held(right), bottom = held(bottom);
    order(left, right);
    order(top, bottom);
    int32_t w = right - left, h = bottom - top;
    if (w < 1 || h < 1 || w > 4096 || h > 4096) return;
    // A pixel belongs to the ellipse when its centre lies inside the ellipse
    // that fills the box; it is an outline pixel when a pixel within the
    // pen's width of it, straight across or down, lies outside. The inside
    // is filled first, then the outline over it.
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = w / 2.0, ry = h / 2.0;
    auto inside = [&](int32_t x, int32_t y) {
        double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    const int32_t pen = context->pen->width;
    const uint32_t colours[2] = {image_pixel(context->brush->colour), image_pixel(context->pen->colour)};
    for (int pass = 0; pass < 2; ++pass)
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x) {
                if (!inside(x, y)) continue;
                bool edge = false;
                for (int32_t k = 1; k <= pen && !edge; ++k)
                    edge = !inside(x - k, y) || !inside(x + k, y) || !inside(x, y - k) ||
                           !inside(x, y + k);
                if (edge == (pass == 1)) fill_box(context, x, y, x + 1, y + 1, colours[pass]);
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
    cairo_translate(cr, held(x), held(y));
    cairo_rotate(cr, -double(font->escapement) * M_PI / 1800.0);   // any escapement, INT_MIN too
    cairo_set_font_face(cr, font->face);
    cairo_set_font_size(cr, font->size);
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, buffer, &extents);
    double advance = std::round(extents.x_advance);
    double start = context->align == DRAW_ALIGN_RIGHT ? -advance : 0.0;
    if (font->escapement == 0 && std::fabs(advance) < 4 * COORDINATE_LIMIT) {
        // Upright: the opaque box is whole pixels.
        int32_t from = held(x) + int32_t(start), to = from + int32_t(advance);
        order(from, to);
        fill_box(context, from, held(y), to, held(y) + int32_t(font->cell), image_pixel(context->background));
    } else {
        cairo_rectangle(cr, start, 0, advance, font->cell);
        set_colour(cr, context->background);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    }
    cairo_move_to(cr, start, font->ascent);
    set_colour(cr, context->text);
    cairo_show_text(cr, buffer);
    cairo_restore(cr);
}

static bool same_outline(const DrawSurface* s, const DrawPoint* points, int32_t count) {
    if (count != s->clip_count) return false;
    for (int32_t i = 0; i < count; ++i)
        if (points[i].x != s->clip_points[i].x || points[i].y != s->clip_points[i].y) return false;
    return true;
}

void draw_clip_to_outline(DrawContext* context, const DrawPoint* points, int32_t count) {
    if (!context || !points || count < 3) return;
    if (count > CLIP_POINTS) count = CLIP_POINTS;
    cairo_reset_clip(context->cr);
    trace_outline(context->cr, points, count);
    cairo_set_fill_rule(context->cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(context->cr);
    // The mask of the same region, for what is written without Cairo.
    DrawSurface* s = context->surface;
    if (!same_outline(s, points, count)) {
        cairo_t* cr = s->clip_cr;
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
        cairo_paint(cr);
        trace_outline(cr, points, count);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_fill(cr);
        cairo_surface_flush(s->clip_image);
        std::memcpy(s->clip_points, points, size_t(count) * sizeof *points);
        s->clip_count = count;
    }
    context->clipped = true;
}
