#include "host/artwork.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "frame/elements.h"
#include "host/host.h"
#include "host/os.h"
#include "platform/draw.h"

// The dial point of v by linear interpolation in the needle's scale table,
// held at the table's ends; false for a needle without a table.
bool needle_dial_point(const NeedleElement* n, double v, double* px, double* py) {
    if (!n->scale || n->scale_count <= 0) return false;
    const ScalePoint* t = n->scale;
    *px = t[0].x;
    *py = t[0].y;
    for (int i = 1; i < n->scale_count; ++i) {
        if (v <= t[i].value || i == n->scale_count - 1) {
            double span = t[i].value - t[i - 1].value;
            double f = span != 0 ? std::clamp((v - t[i - 1].value) / span, 0.0, 1.0) : 1.0;
            *px = t[i - 1].x + (t[i].x - t[i - 1].x) * f;
            *py = t[i - 1].y + (t[i].y - t[i - 1].y) * f;
            break;
        }
    }
    return true;
}

namespace {

constexpr double PI = std::numbers::pi;

uint32_t read16(const std::vector<uint8_t>& d, size_t at) { return d[at] | (d[at + 1] << 8); }
uint32_t read32(const std::vector<uint8_t>& d, size_t at) { return read16(d, at) | (read16(d, at + 2) << 16); }

bool black(Rgb c) { return c.r == 0 && c.g == 0 && c.b == 0; }

Rgb from_rgb24_colour(uint32_t c) {
    return Rgb{static_cast<int>((c >> 16) & 255), static_cast<int>((c >> 8) & 255), static_cast<int>(c & 255)};
}

// ------------------------------------------------------------ what each element shows

// The direction (radians, 0 right, clockwise) of a needle showing v: towards
// the dial point of its scale table, or v degrees without one.
double needle_angle(const NeedleElement* n, double v) {
    double px = 0, py = 0;
    if (!needle_dial_point(n, v, &px, &py)) return v * PI / 180;
    return std::atan2(py - n->centre_y, px - n->centre_x);
}

bool finite_small(double v) { return std::isfinite(v) && std::abs(v) < 1e5; }

// ------------------------------------------------------------ drawing

// One element ready to be painted, in gauge pixels (before scaling).
struct Op {
    ElementHead* e = nullptr;
    const Picture* image = nullptr;
    bool transparent = false;
    bool dark = false;           // drawn with the night look
    double x = 0, y = 0;         // top left (images), dial centre (needles)
    int src_x = 0, src_y = 0, src_w = 0, src_h = 0;   // part of the image (moving images)
    double angle = 0;            // needles: radians; sprites: degrees
    double shift_x = 0, shift_y = 0;  // sprites: texture offsets
    // Sprites: the window and the picture over it whose black it shows through.
    double win_x = 0, win_y = 0, win_w = 0, win_h = 0;
    const Picture* over = nullptr;
};

class Canvas {
public:
    Canvas(double scale, int x0, int y0, int x1, int y1) : s_(scale), ox_(-x0), oy_(-y0) {
        picture.resize(x1 - x0, y1 - y0, Rgb{0, 0, 0});
    }
    Picture picture;
    int origin_x() const { return ox_; }
    int origin_y() const { return oy_; }

    void put(int x, int y, Rgb c, bool dark) {
        picture.set(x, y, dark ? night_colour(c) : c);
    }

    // An image (or a part of it) at gauge pixel (x, y), scaled.
    void blit(const Picture& img, double x, double y, int sx, int sy, int sw, int sh, bool transparent, bool dark) {
        int px0 = static_cast<int>(std::lround(x * s_)) + ox_, py0 = static_cast<int>(std::lround(y * s_)) + oy_;
        int pw = static_cast<int>(std::lround(sw * s_)), ph = static_cast<int>(std::lround(sh * s_));
        for (int j = 0; j < ph; ++j) {
            int v = sy + std::min(sh - 1, static_cast<int>(j / s_));
            for (int i = 0; i < pw; ++i) {
                int u = sx + std::min(sw - 1, static_cast<int>(i / s_));
                if (u < 0 || v < 0 || u >= img.width || v >= img.height) continue;
                Rgb c = img.get(u, v);
                if (transparent && black(c)) continue;
                put(px0 + i, py0 + j, c, dark);
            }
        }
    }

    // A needle's image turned by `angle` about its pivot, the pivot at the
    // dial centre (cx, cy). Four samples a pixel smooth its edges.
    void rotated(const Picture& img, double pivot_x, double pivot_y, double cx, double cy, double angle,
                 bool transparent, bool dark) {
        double reach = std::hypot(std::max(pivot_x, img.width - pivot_x), std::max(pivot_y, img.height - pivot_y)) + 2;
        double ca = std::cos(angle), sa = std::sin(angle);
        int x0 = static_cast<int>(std::floor((cx - reach) * s_)) + ox_, x1 = static_cast<int>(std::ceil((cx + reach) * s_)) + ox_;
        int y0 = static_cast<int>(std::floor((cy - reach) * s_)) + oy_, y1 = static_cast<int>(std::ceil((cy + reach) * s_)) + oy_;
        static const double offsets[4][2] = {{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}};
        for (int py = std::max(0, y0); py <= std::min(picture.height - 1, y1); ++py)
            for (int px = std::max(0, x0); px <= std::min(picture.width - 1, x1); ++px) {
                int r = 0, g = 0, b = 0, n = 0;
                for (const auto& o : offsets) {
                    double gx = (px - ox_ + o[0]) / s_ - cx, gy = (py - oy_ + o[1]) / s_ - cy;
                    double u = gx * ca + gy * sa + pivot_x, v = -gx * sa + gy * ca + pivot_y;
                    int iu = static_cast<int>(std::floor(u)), iv = static_cast<int>(std::floor(v));
                    if (iu < 0 || iv < 0 || iu >= img.width || iv >= img.height) continue;
                    Rgb c = img.get(iu, iv);
                    if (transparent && black(c)) continue;
                    r += c.r, g += c.g, b += c.b, ++n;
                }
                if (n < 2) continue;
                Rgb c{r / n, g / n, b / n};
                if (n < 4) {   // an edge: blend with what lies below
                    Rgb below = picture.get(px, py);
                    c = Rgb{(c.r * n + below.r * (4 - n)) / 4, (c.g * n + below.g * (4 - n)) / 4, (c.b * n + below.b * (4 - n)) / 4};
                }
                put(px, py, c, dark);
            }
    }

    // A sprite: the texture scaled, shifted and turned about the middle of
    // its window, seen where the picture over the window is black (the
    // window of the element it hangs from).
    void sprite(const Op& op, double texture_scale) {
        const Picture& t = *op.image;
        double cx = op.win_x + op.win_w / 2, cy = op.win_y + op.win_h / 2;
        double a = op.angle * PI / 180, ca = std::cos(a), sa = std::sin(a);
        if (texture_scale <= 0) texture_scale = 1;
        int x0 = static_cast<int>(std::floor(op.win_x * s_)) + ox_, x1 = static_cast<int>(std::ceil((op.win_x + op.win_w) * s_)) + ox_;
        int y0 = static_cast<int>(std::floor(op.win_y * s_)) + oy_, y1 = static_cast<int>(std::ceil((op.win_y + op.win_h) * s_)) + oy_;
        for (int py = std::max(0, y0); py < std::min(picture.height, y1); ++py)
            for (int px = std::max(0, x0); px < std::min(picture.width, x1); ++px) {
                double gx = (px - ox_ + 0.5) / s_, gy = (py - oy_ + 0.5) / s_;
                if (op.over) {
                    int ux = static_cast<int>(gx - op.win_x), uy = static_cast<int>(gy - op.win_y);
                    if (ux >= 0 && uy >= 0 && ux < op.over->width && uy < op.over->height && !black(op.over->get(ux, uy)))
                        continue;
                }
                // Positive rotations turn the texture anticlockwise; positive
                // offsets move it up and left along its own axes.
                double dx = gx - cx, dy = gy - cy;
                double u = (dx * ca - dy * sa + op.shift_x) / texture_scale + t.width / 2.0;
                double v = (dx * sa + dy * ca + op.shift_y) / texture_scale + t.height / 2.0;
                int iu = static_cast<int>(std::floor(u)), iv = static_cast<int>(std::floor(v));
                if (iu < 0 || iv < 0 || iu >= t.width || iv >= t.height) continue;
                Rgb c = t.get(iu, iv);
                if (op.transparent && black(c)) continue;
                put(px, py, c, op.dark);
            }
    }

    double scale() const { return s_; }

private:
    double s_;
    int ox_, oy_;
};

// ------------------------------------------------------------ text elements

// Seven segments a character: a b c d e f g (top, upper right, lower right,
// bottom, lower left, upper left, middle).
const char* segments(char c) {
    switch (c) {
    case '0': return "1111110";
    case '1': return "0110000";
    case '2': return "1101101";
    case '3': return "1111001";
    case '4': return "0110011";
    case '5': return "1011011";
    case '6': return "1011111";
    case '7': return "1110000";
    case '8': return "1111111";
    case '9': return "1111011";
    case '-': return "0000001";
    case ' ': return "0000000";
    default: return nullptr;
    }
}

bool seven_segment_text(const std::string& t) {
    for (char c : t)
        if (!segments(c) && c != '.' && c != ':') return false;
    return true;
}

// A readout in a digital face: seven-segment digits filling the box's height.
void seven_segment(Picture& p, int x, int y, int w, int h, const std::string& t, Rgb colour, uint32_t align) {
    int ch = std::max(5, h - 4), cw = std::max(3, ch * 5 / 9), gap = std::max(1, cw / 4), th = std::max(1, ch / 9);
    int total = 0;
    for (char c : t) total += (c == '.' || c == ':') ? th + gap : cw + gap;
    int cx = align == STRING_ALIGN_LEFT ? x + 1 : align == STRING_ALIGN_RIGHT ? x + w - total : x + (w - total) / 2;
    int top = y + (h - ch) / 2, mid = top + ch / 2, bottom = top + ch - 1;
    for (char c : t) {
        if (c == '.' || c == ':') {
            if (c == '.') p.fill_rect(cx, bottom - th + 1, th, th, colour);
            else {
                p.fill_rect(cx, top + ch / 4, th, th, colour);
                p.fill_rect(cx, top + 3 * ch / 4 - th, th, th, colour);
            }
            cx += th + gap;
            continue;
        }
        const char* s = segments(c);
        auto on = [s](int k) { return s[k] == '1'; };
        if (on(0)) p.fill_rect(cx + th, top, cw - 2 * th, th, colour);
        if (on(6)) p.fill_rect(cx + th, mid - th / 2, cw - 2 * th, th, colour);
        if (on(3)) p.fill_rect(cx + th, bottom - th + 1, cw - 2 * th, th, colour);
        if (on(5)) p.fill_rect(cx, top + th, th, mid - top - th, colour);
        if (on(1)) p.fill_rect(cx + cw - th, top + th, th, mid - top - th, colour);
        if (on(4)) p.fill_rect(cx, mid + (th + 1) / 2, th, bottom - mid - th, colour);
        if (on(2)) p.fill_rect(cx + cw - th, mid + (th + 1) / 2, th, bottom - mid - th, colour);
        cx += cw + gap;
    }
}

DrawDevice* text_device() {
    static DrawDevice* device = draw_device_create();
    return device;
}

// A text element: its box in its background colour (left out where that is
// black and the element is drawn with transparency), the text in its face.
void draw_text_element(Canvas& canvas, StringElement* s, bool dark) {
    ElementHead* e = &s->head;
    double scale = canvas.scale();
    int x = static_cast<int>(std::lround(e->x * scale)) + canvas.origin_x();
    int y = static_cast<int>(std::lround(e->y * scale)) + canvas.origin_y();
    int w = std::max(1, static_cast<int>(std::lround(s->width * scale)));
    int h = std::max(1, static_cast<int>(std::lround(s->height * scale)));
    std::string text;
    if (s->text)
        for (int i = 0; i < (s->text_size > 0 ? s->text_size : 256) && s->text[i]; ++i) text += s->text[i];
    Rgb colour = from_rgb24_colour(s->colour), background = from_rgb24_colour(s->background);
    bool clear = (e->image_flags & IMAGE_TRANSPARENT) && black(background);
    Picture box;
    box.resize(w, h, background);
    const char* face = s->font ? s->font : "";
    if (std::strcmp(face, "Quartz") == 0 && seven_segment_text(text)) {
        seven_segment(box, 0, 0, w, h, text, colour, s->align);
    } else if (!text.empty()) {
        DrawSurface* surface = draw_surface_create(text_device(), w, h);
        DrawContext* dc = surface ? draw_get_context(surface) : nullptr;
        if (dc) {
            DrawBrush* brush = draw_brush_create(draw_rgb(background.r, background.g, background.b));
            DrawPen* pen = draw_pen_create(0, draw_rgb(background.r, background.g, background.b));
            draw_select_brush(dc, brush);
            draw_select_pen(dc, pen);
            draw_rectangle(dc, -1, -1, w + 1, h + 1);
            DrawFontSpec spec = draw_arial(h, s->weight > 0 ? s->weight : 400);
            if (*face && std::strcmp(face, "Quartz") != 0) {
                std::memset(spec.face, 0, sizeof spec.face);
                std::strncpy(spec.face, face, sizeof spec.face - 1);
            }
            DrawFont* font = draw_font_create(&spec);
            draw_select_font(dc, font);
            draw_set_text_colour(dc, draw_rgb(colour.r, colour.g, colour.b));
            draw_set_background_colour(dc, draw_rgb(background.r, background.g, background.b));
            // Width of the text: drawn once off to the left edge to measure.
            int tx = 1;
            if (s->align != STRING_ALIGN_LEFT) {
                // The platform aligns by the right edge; centring takes half the free room.
                draw_set_text_align(dc, DRAW_ALIGN_RIGHT);
                tx = s->align == STRING_ALIGN_RIGHT ? w - 1 : w;
            }
            if (s->align == STRING_ALIGN_CENTRE) {
                draw_set_text_align(dc, DRAW_ALIGN_LEFT);
                // Measure by drawing into a scratch surface of the same font.
                DrawSurface* scratch = draw_surface_create(text_device(), 4 * w + 8, h);
                DrawContext* sc = scratch ? draw_get_context(scratch) : nullptr;
                int used = w;
                if (sc) {
                    DrawBrush* black_brush = draw_brush_create(draw_rgb(0, 0, 0));
                    draw_select_brush(sc, black_brush);
                    draw_rectangle(sc, -1, -1, 4 * w + 9, h + 1);
                    draw_select_font(sc, font);
                    draw_set_text_colour(sc, draw_rgb(255, 255, 255));
                    draw_set_background_colour(sc, draw_rgb(0, 0, 0));
                    draw_text(sc, 0, 0, text.c_str(), static_cast<int32_t>(text.size()));
                    draw_release_context(scratch, sc);
                    int32_t pitch = 0, sw = 0, sh = 0;
                    uint8_t* px = draw_surface_lock(scratch, &pitch, &sw, &sh);
                    int right = 0;
                    if (px) {
                        for (int yy = 0; yy < sh; ++yy)
                            for (int xx = 0; xx < sw; ++xx)
                                if (reinterpret_cast<uint16_t*>(px + static_cast<size_t>(yy) * pitch)[xx]) right = std::max(right, xx + 1);
                        draw_surface_unlock(scratch);
                    }
                    used = right;
                    draw_brush_delete(black_brush);
                }
                draw_surface_release(scratch);
                tx = std::max(0, (w - used) / 2);
            }
            draw_text(dc, tx, 0, text.c_str(), static_cast<int32_t>(text.size()));
            draw_release_context(surface, dc);
            int32_t pitch = 0, sw = 0, sh = 0;
            uint8_t* px = draw_surface_lock(surface, &pitch, &sw, &sh);
            if (px) {
                for (int yy = 0; yy < std::min(h, static_cast<int>(sh)); ++yy)
                    for (int xx = 0; xx < std::min(w, static_cast<int>(sw)); ++xx) {
                        uint16_t v = reinterpret_cast<uint16_t*>(px + static_cast<size_t>(yy) * pitch)[xx];
                        auto expand = [](int c) { return (c << 3) | (c >> 2); };
                        box.set(xx, yy, Rgb{expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31)});
                    }
                draw_surface_unlock(surface);
            }
            draw_font_delete(font);
            draw_brush_delete(brush);
            draw_pen_delete(pen);
        }
        draw_surface_release(surface);
    }
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            Rgb c = box.get(i, j);
            if (clear && black(c)) continue;
            canvas.put(x + i, y + j, c, dark);
        }
}

}  // namespace

bool decode_dib(const std::vector<uint8_t>& d, Picture* picture) {
    if (d.size() < 40) return false;
    uint32_t header = read32(d, 0);
    int32_t width = static_cast<int32_t>(read32(d, 4)), height = static_cast<int32_t>(read32(d, 8));
    uint32_t bits = read16(d, 14), compression = read32(d, 16), colours = read32(d, 32);
    if (header < 40 || header > d.size() || width <= 0 || height == 0 || width > 8192 || std::abs(height) > 8192) return false;
    if (compression != 0 || (bits != 8 && bits != 24 && bits != 32)) return false;
    bool bottom_up = height > 0;
    int rows = std::abs(height);
    size_t palette = header, count = bits == 8 ? (colours ? colours : 256) : 0;
    size_t pixels = palette + count * 4;
    size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (count > 256 || pixels + stride * static_cast<size_t>(rows) > d.size()) return false;
    picture->resize(width, rows, Rgb{});
    for (int y = 0; y < rows; ++y) {
        const uint8_t* row = &d[pixels + stride * static_cast<size_t>(bottom_up ? rows - 1 - y : y)];
        for (int x = 0; x < width; ++x) {
            Rgb c;
            if (bits == 8) {
                size_t at = palette + static_cast<size_t>(row[x]) * 4;
                if (row[x] >= count) continue;
                c = Rgb{d[at + 2], d[at + 1], d[at]};
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
                c = Rgb{p[2], p[1], p[0]};
            }
            picture->set(x, y, c);
        }
    }
    return true;
}

const Picture* ModuleArtwork::bitmap(int number) {
    auto it = cache_.find(number);
    if (it == cache_.end()) {
        std::vector<uint8_t> dib;
        std::optional<Picture> picture;
        Picture p;
        if (host_os::module_bitmap(handle_, path_, number, &dib) && decode_dib(dib, &p)) picture = std::move(p);
        it = cache_.emplace(number, std::move(picture)).first;
    }
    return it->second ? &*it->second : nullptr;
}

bool host_night(Host& host) {
    double hour = host.vars.get(3);
    return hour < 6 || hour >= 20;
}

bool host_night_look(Host& host) { return host_night(host) && host.vars.get(10) == 0; }

Rgb night_colour(Rgb c) { return Rgb{c.r * 26 / 100, c.g * 27 / 100, c.b * 30 / 100}; }

std::optional<int> artwork_height(Host& host, GaugeInstance& g) {
    ModuleArtwork* art = host.artwork_of(g);
    if (!art || !g.header->elements || !g.header->elements[0] || g.header->size == 0) return std::nullopt;
    ElementHead* base = g.header->elements[0];
    const Picture* p = base->resource >= 0 ? art->bitmap(base->resource) : nullptr;
    if (!p) return std::nullopt;
    double scale = static_cast<double>(g.width) / g.header->size;
    return static_cast<int>(std::lround((p->height + base->y) * scale));
}

bool draw_gauge_artwork(Host& host, GaugeInstance& g, GaugePicture* out) {
    ModuleArtwork* art = host.artwork_of(g);
    if (!art) return false;
    double scale = g.header->size > 0 ? static_cast<double>(g.width) / g.header->size : 1.0;
    bool night_look = host_night_look(host);

    // The elements in tree order with their parents, then the painting
    // order: the reverse, so the first element ends up on top.
    std::vector<Op> ops;
    int found = 0, named = 0;
    // The area the images cover, which may be smaller than the gauge's box
    // (a page narrower than its gauge) or reach out of it.
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    auto cover = [&](double ax, double ay, double bx, double by) {
        x0 = std::min(x0, ax), y0 = std::min(y0, ay), x1 = std::max(x1, bx), y1 = std::max(y1, by);
    };
    std::vector<ElementHead*> parents(g.elements.size(), nullptr);
    for (size_t i = 0; i < g.elements.size(); ++i) {
        ElementHead* e = g.elements[i];
        if (e->next)
            for (int k = 0; e->next[k] && k < 4096; ++k)
                for (size_t j = i + 1; j < g.elements.size(); ++j)
                    if (g.elements[j] == e->next[k]) {
                        parents[j] = e;
                        break;
                    }
    }
    for (size_t i = 0; i < g.elements.size(); ++i) {
        ElementHead* e = g.elements[i];
        if (e->type != ELEMENT_STRING && e->resource >= 0) {
            ++named;
            if (art->bitmap(e->resource)) ++found;
        }
        if (e->image_flags & IMAGE_HIDDEN) continue;
        // The values this frame's drawing of the panel gave the element.
        const ElementValues& v = host.element_values(g, i);
        Op op;
        op.e = e;
        op.transparent = (e->image_flags & IMAGE_TRANSPARENT) != 0;
        op.dark = night_look && !(e->image_flags & IMAGE_BRIGHT);
        op.x = e->x;
        op.y = e->y;
        if (e->type == ELEMENT_STRING) {
            auto* s = reinterpret_cast<StringElement*>(e);
            cover(e->x, e->y, e->x + s->width, e->y + s->height);
            ops.push_back(op);
            continue;
        }
        if (e->resource < 0) continue;
        int number = e->resource;
        if (e->type == ELEMENT_ICON) {
            auto* ic = reinterpret_cast<IconElement*>(e);
            double n = std::isfinite(v.value) ? std::trunc(v.value) : 0;
            number += static_cast<int>(std::clamp(n, 0.0, static_cast<double>(std::max(0, ic->image_count - 1))));
        }
        op.image = art->bitmap(number);
        if (!op.image) continue;
        const Picture& img = *op.image;
        op.src_w = img.width;
        op.src_h = img.height;
        switch (e->type) {
        case ELEMENT_NEEDLE: {
            auto* n = reinterpret_cast<NeedleElement*>(e);
            op.x = n->centre_x;
            op.y = n->centre_y;
            op.angle = needle_angle(n, v.value);
            // The image's corners turned about its pivot at the dial centre.
            double ca = std::cos(op.angle), sa = std::sin(op.angle);
            for (int corner = 0; corner < 4; ++corner) {
                double u = (corner & 1 ? img.width : 0) - e->offset_x, w = (corner & 2 ? img.height : 0) - e->offset_y;
                double cx = op.x + u * ca - w * sa, cy = op.y + u * sa + w * ca;
                cover(cx - 1, cy - 1, cx + 1, cy + 1);
            }
            break;
        }
        case ELEMENT_SLIDER: {
            auto* sl = reinterpret_cast<SliderElement*>(e);
            double dx = v.x * sl->scale_x, dy = v.y * sl->scale_y;
            op.x += finite_small(dx) ? dx : 0;
            op.y += finite_small(dy) ? dy : 0;
            cover(op.x, op.y, op.x + img.width, op.y + img.height);
            break;
        }
        case ELEMENT_MOVING_IMAGE: {
            // The strip is seen through a window of its size less its travel;
            // the values' ranges move the window over the travel.
            auto* m = reinterpret_cast<MovingImageElement*>(e);
            auto along = [](double value, double lo, double hi, int travel) {
                if (hi == lo || travel == 0 || !std::isfinite(value)) return 0;
                double f = std::clamp((value - lo) / (hi - lo), 0.0, 1.0);
                return static_cast<int>(std::lround(f * std::abs(travel)));
            };
            op.src_w = std::max(1, img.width - std::abs(m->travel_x));
            op.src_h = std::max(1, img.height - std::abs(m->travel_y));
            op.src_x = along(v.x, m->min_x, m->max_x, m->travel_x);
            op.src_y = along(v.y, m->min_y, m->max_y, m->travel_y);
            cover(op.x, op.y, op.x + op.src_w, op.y + op.src_h);
            break;
        }
        case ELEMENT_SPRITE: {
            // A sprite's offsets come only from its callbacks; its rotation
            // from its callback or else its host variable.
            auto* sp = reinterpret_cast<SpriteElement*>(e);
            op.angle = finite_small(v.value) ? v.value : 0;
            op.shift_x = sp->offset_x && finite_small(v.x) ? v.x : 0;
            op.shift_y = sp->offset_y && finite_small(v.y) ? v.y : 0;
            // The window is the image of the element the sprite hangs from.
            ElementHead* parent = parents[i];
            const Picture* over = parent && parent->resource >= 0 ? art->bitmap(parent->resource) : nullptr;
            if (over) {
                op.win_x = parent->x, op.win_y = parent->y, op.win_w = over->width, op.win_h = over->height;
                op.over = over;
            } else {
                op.win_x = 0, op.win_y = 0, op.win_w = g.width / scale, op.win_h = g.height / scale;
            }
            break;
        }
        default:
            cover(op.x, op.y, op.x + img.width, op.y + img.height);
            break;
        }
        ops.push_back(op);
    }
    if (named > 0 && found == 0) return false;
    if (x1 <= x0 || y1 <= y0) x0 = y0 = 0, x1 = g.width / scale, y1 = g.height / scale;

    Canvas canvas(scale, static_cast<int>(std::floor(x0 * scale)), static_cast<int>(std::floor(y0 * scale)),
                  static_cast<int>(std::ceil(x1 * scale)), static_cast<int>(std::ceil(y1 * scale)));
    for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
        const Op& op = *it;
        switch (op.e->type) {
        case ELEMENT_STRING: draw_text_element(canvas, reinterpret_cast<StringElement*>(op.e), op.dark); break;
        case ELEMENT_NEEDLE:
            canvas.rotated(*op.image, op.e->offset_x, op.e->offset_y, op.x, op.y, op.angle, op.transparent, op.dark);
            break;
        case ELEMENT_SPRITE:
            canvas.sprite(op, reinterpret_cast<SpriteElement*>(op.e)->texture_scale);
            break;
        default:
            canvas.blit(*op.image, op.x, op.y, op.src_x, op.src_y, op.src_w, op.src_h, op.transparent, op.dark);
            break;
        }
    }
    out->picture = std::move(canvas.picture);
    out->origin_x = canvas.origin_x();
    out->origin_y = canvas.origin_y();
    return true;
}
