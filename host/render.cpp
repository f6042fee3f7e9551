#include "host/render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <cstdio>

#include "host/artwork.h"
#include "host/host.h"

namespace {

const Rgb BACKGROUND{36, 38, 42};
const Rgb WINDOW_BACKGROUND{20, 22, 26};
const Rgb GAUGE_FRAME{110, 110, 120};
const Rgb LABEL{200, 200, 120};
const Rgb BOX{90, 150, 220};
const Rgb ICON{110, 200, 140};
const Rgb NEEDLE{255, 255, 255};
const Rgb MOVING{220, 150, 90};
const Rgb TITLE_BAR{60, 64, 80};

// The 3 by 5 font: five rows of three pixels, left pixel first.
struct Glyph {
    char c;
    const char* rows;
};
const Glyph GLYPHS[] = {
    {'0', "111101101101111"}, {'1', "010110010010111"}, {'2', "111001111100111"}, {'3', "111001111001111"},
    {'4', "101101111001001"}, {'5', "111100111001111"}, {'6', "111100111101111"}, {'7', "111001001010010"},
    {'8', "111101111101111"}, {'9', "111101111001111"}, {'A', "010101111101101"}, {'B', "110101110101110"},
    {'C', "011100100100011"}, {'D', "110101101101110"}, {'E', "111100110100111"}, {'F', "111100110100100"},
    {'G', "011100101101011"}, {'H', "101101111101101"}, {'I', "111010010010111"}, {'J', "001001001101010"},
    {'K', "101101110101101"}, {'L', "100100100100111"}, {'M', "101111111101101"}, {'N', "110101101101101"},
    {'O', "010101101101010"}, {'P', "110101110100100"}, {'Q', "010101101110011"}, {'R', "110101110101101"},
    {'S', "011100010001110"}, {'T', "111010010010010"}, {'U', "101101101101111"}, {'V', "101101101101010"},
    {'W', "101101111111101"}, {'X', "101101010101101"}, {'Y', "101101010010010"}, {'Z', "111001010100111"},
    {' ', "000000000000000"}, {'.', "000000000000010"}, {',', "000000000010100"}, {':', "000010000010000"},
    {'-', "000000111000000"}, {'_', "000000000000111"}, {'!', "010010010000010"}, {'/', "001001010100100"},
    {'(', "001010010010001"}, {')', "100010010010100"}, {'+', "000010111010000"}, {'=', "000111000111000"},
    {'?', "111001010000010"}, {'%', "101001010100101"}, {'#', "101111101111101"}, {'\'', "010010000000000"},
    {'"', "101101000000000"}, {'*', "101010101000000"}, {'<', "001010100010001"}, {'>', "100010001010100"},
    {'[', "011010010010011"}, {']', "110010010010110"}, {'\xBA', "010101010000000"},
};

const char* glyph_rows(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : GLYPHS)
        if (g.c == c) return g.rows;
    return "111111111111111";
}

Rgb from_555(uint16_t p) {
    auto expand = [](int v) { return (v << 3) | (v >> 2); };
    return Rgb{expand((p >> 10) & 31), expand((p >> 5) & 31), expand(p & 31)};
}

Rgb from_rgb24(uint32_t c) { return Rgb{static_cast<int>((c >> 16) & 255), static_cast<int>((c >> 8) & 255), static_cast<int>(c & 255)}; }

// The picture a display module's draws left in its image. When the frames
// do not draw the displays, it is drawn now.
void draw_display(Host& host, GaugeInstance& g) {
    if (!host.draws_displays()) host.draw_display_now(g);
}

// One element with the values it showed in this frame's drawing.
void draw_element(Picture& p, ElementHead* e, const ElementValues& values, double scale) {
    double v = values.value;
    int x = static_cast<int>(std::lround(e->x * scale));
    int y = static_cast<int>(std::lround(e->y * scale));
    char label[40];
    switch (e->type) {
    case ELEMENT_STATIC_IMAGE:
        if (e->resource >= 0) {
            std::snprintf(label, sizeof label, "%d", e->resource);
            int w = p.text(x + 2, y + 2, label, BOX) + 3;
            p.frame_rect(x, y, std::max(w, 12), 9, BOX);
        }
        break;
    case ELEMENT_ICON: {
        long long n = static_cast<long long>(v);
        std::snprintf(label, sizeof label, "%d:%lld", e->resource, n);
        int w = p.text(x + 2, y + 2, label, ICON) + 3;
        p.frame_rect(x, y, std::max(w, 12), 9, ICON);
        break;
    }
    case ELEMENT_STRING: {
        auto* s = reinterpret_cast<StringElement*>(e);
        if (s->width > 0 && s->height > 0)
            p.fill_rect(x, y, static_cast<int>(s->width * scale), static_cast<int>(s->height * scale), from_rgb24(s->background));
        std::string text;
        if (s->text)
            for (int i = 0; i < (s->text_size > 0 ? s->text_size : 256) && s->text[i]; ++i) text += s->text[i];
        // Every glyph of the built-in font is 4 pixels wide at size 1.
        int size = scale >= 1.5 ? 2 : 1;
        int box = static_cast<int>(s->width * scale), used = static_cast<int>(text.size()) * 4 * size;
        int tx = x + 1;
        if (s->align == STRING_ALIGN_CENTRE) tx = x + std::max(1, (box - used) / 2);
        else if (s->align == STRING_ALIGN_RIGHT) tx = x + std::max(1, box - used);
        p.text(tx, y + 1, text, s->colour ? from_rgb24(s->colour) : NEEDLE, size);
        break;
    }
    case ELEMENT_NEEDLE: {
        auto* n = reinterpret_cast<NeedleElement*>(e);
        int cx = static_cast<int>(std::lround(n->centre_x * scale)), cy = static_cast<int>(std::lround(n->centre_y * scale));
        double px = 0, py = 0;
        if (needle_dial_point(n, v, &px, &py)) {
            p.line(cx, cy, static_cast<int>(std::lround(px * scale)), static_cast<int>(std::lround(py * scale)), NEEDLE);
        } else {
            double radians = v * std::numbers::pi / 180;   // 270 points up, angles grow clockwise
            double length = 0.4 * std::min(p.width, p.height);
            p.line(cx, cy, cx + static_cast<int>(std::lround(std::cos(radians) * length)),
                   cy + static_cast<int>(std::lround(std::sin(radians) * length)), NEEDLE);
        }
        break;
    }
    case ELEMENT_SLIDER: {
        // The image moves by its value times its scale along each axis; an
        // axis without a callback takes the element's host variable.
        auto* s = reinterpret_cast<SliderElement*>(e);
        double vx = values.x, vy = values.y;
        // A value no picture could show (not finite, far off) leaves the image in place.
        auto shift = [scale](double value, double per_unit) {
            double pixels = value * per_unit * scale;
            return std::isfinite(pixels) && std::abs(pixels) < 1e5 ? static_cast<int>(std::lround(pixels)) : 0;
        };
        x += shift(vx, s->scale_x);
        y += shift(vy, s->scale_y);
        std::snprintf(label, sizeof label, "%d", e->resource);
        int w = p.text(x + 2, y + 2, label, MOVING) + 3;
        p.frame_rect(x, y, std::max(w, 12), 9, MOVING);
        std::snprintf(label, sizeof label, "%.1f", v);
        p.text(x + 2, y + 11, label, MOVING);
        break;
    }
    case ELEMENT_MOVING_IMAGE:
    case ELEMENT_SPRITE: {
        std::snprintf(label, sizeof label, "%d", e->resource);
        int w = p.text(x + 2, y + 2, label, MOVING) + 3;
        p.frame_rect(x, y, std::max(w, 12), 9, MOVING);
        std::snprintf(label, sizeof label, "%.1f", v);
        p.text(x + 2, y + 11, label, MOVING);
        break;
    }
    default: break;
    }
}

}  // namespace

// ------------------------------------------------ picture operations

void Picture::resize(int w, int h, Rgb fill) {
    width = std::max(w, 1);
    height = std::max(h, 1);
    rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    fill_rect(0, 0, width, height, fill);
}

void Picture::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = static_cast<uint8_t>(std::clamp(c.r, 0, 255));
    p[1] = static_cast<uint8_t>(std::clamp(c.g, 0, 255));
    p[2] = static_cast<uint8_t>(std::clamp(c.b, 0, 255));
}

Rgb Picture::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Rgb{};
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

void Picture::fill_rect(int x, int y, int w, int h, Rgb c) {
    for (int j = std::max(0, y); j < std::min(height, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(width, x + w); ++i) set(i, j, c);
}

void Picture::frame_rect(int x, int y, int w, int h, Rgb c) {
    line(x, y, x + w - 1, y, c);
    line(x, y + h - 1, x + w - 1, y + h - 1, c);
    line(x, y, x, y + h - 1, c);
    line(x + w - 1, y, x + w - 1, y + h - 1, c);
}

void Picture::line(int x0, int y0, int x1, int y1, Rgb c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (int guard = 0; guard < 100000; ++guard) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

int Picture::text(int x, int y, const std::string& s, Rgb c, int scale) {
    int start = x;
    for (char ch : s) {
        const char* rows = glyph_rows(ch);
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 3; ++i)
                if (rows[j * 3 + i] == '1') fill_rect(x + i * scale, y + j * scale, scale, scale, c);
        x += 4 * scale;
    }
    return x - start;
}

void Picture::paste(const Picture& p, int x, int y) {
    for (int j = 0; j < p.height; ++j)
        for (int i = 0; i < p.width; ++i) set(x + i, y + j, p.get(i, j));
}

// ------------------------------------------------ gauges, windows, panel

namespace {

// The plain picture of a gauge whose module carries no bitmaps: every element
// drawn as what it is, framed.
Picture render_plain(Host& host, GaugeInstance& g) {
    Picture p;
    p.resize(g.width, g.height, BACKGROUND);
    double scale = g.header->size > 0 ? static_cast<double>(g.width) / g.header->size : 1.0;
    // A hidden element is not drawn; the elements below it still are (a
    // panel's lettering overlay may be the base its buttons hang from).
    for (size_t i = 0; i < g.elements.size(); ++i)
        if (!(g.elements[i]->image_flags & IMAGE_HIDDEN))
            draw_element(p, g.elements[i], host.element_values(g, i), scale);
    p.frame_rect(0, 0, g.width, g.height, GAUGE_FRAME);
    return p;
}

bool plain(Host& host, GaugeInstance& g) {
    ModuleArtwork* art = host.artwork_of(g);
    return !art;
}

}  // namespace

GaugePicture render_gauge_area(Host& host, GaugeInstance& g) {
    GaugePicture out;
    if (g.installed && g.image_element) {
        draw_display(host, g);
        out.picture.resize(g.width, g.height, Rgb{0, 0, 0});
        for (int y = 0; y < std::min(g.height, g.image.height); ++y)
            for (int x = 0; x < std::min(g.width, g.image.width); ++x)
                out.picture.set(x, y, from_555(g.image.pixels[static_cast<size_t>(y) * (g.image.pitch / 2) + x]));
        return out;
    }
    if (!plain(host, g) && draw_gauge_artwork(host, g, &out)) return out;
    out.picture = render_plain(host, g);
    out.origin_x = out.origin_y = 0;
    return out;
}

Picture render_gauge(Host& host, GaugeInstance& g) { return render_gauge_area(host, g).picture; }

Picture render_window(Host& host, int window) {
    const PanelWindow& w = host.panel().windows[static_cast<size_t>(window)];
    std::vector<std::pair<GaugeInstance*, GaugePicture>> drawn;
    int x0 = 0, y0 = 0, x1 = w.width, y1 = w.height;
    for (GaugeInstance& g : host.gauges()) {
        if (g.window != window) continue;
        GaugePicture gp = render_gauge_area(host, g);
        x0 = std::min(x0, g.x - gp.origin_x);
        y0 = std::min(y0, g.y - gp.origin_y);
        x1 = std::max(x1, g.x - gp.origin_x + gp.picture.width);
        y1 = std::max(y1, g.y - gp.origin_y + gp.picture.height);
        drawn.emplace_back(&g, std::move(gp));
    }
    // The window grows to the left and up where elements reach out of it;
    // gauge positions stay as the panel places them below the title bar.
    const int bar = WINDOW_TITLE_HEIGHT;
    // The window's own background lies under its gauges, which are drawn
    // over it with black transparent; without one each gauge's box is black.
    const Picture* background = host.window_background(window);
    if (background) {
        x1 = std::max(x1, background->width);
        y1 = std::max(y1, background->height);
    }
    int shift_x = -x0, shift_y = -y0;
    Picture p;
    p.resize(std::max(x1 - x0, 120), y1 - y0 + bar, WINDOW_BACKGROUND);
    if (background) {
        // The panel itself takes the night look like every image without
        // the bright flag.
        bool night_look = host_night_look(host);
        for (int j = 0; j < background->height; ++j)
            for (int i = 0; i < background->width; ++i) {
                Rgb c = background->get(i, j);
                p.set(shift_x + i, shift_y + bar + j, night_look ? night_colour(c) : c);
            }
    }
    p.fill_rect(0, 0, p.width, bar, TITLE_BAR);
    p.text(3, 3, w.title, LABEL);
    for (auto& [g, gp] : drawn) {
        int left = shift_x + g->x - gp.origin_x, top = shift_y + bar + g->y - gp.origin_y;
        bool artwork = !plain(host, *g) || g->image_element;
        for (int j = 0; j < gp.picture.height; ++j)
            for (int i = 0; i < gp.picture.width; ++i) {
                Rgb c = gp.picture.get(i, j);
                // Outside the gauge's own box only what its elements draw shows.
                int gx = i - gp.origin_x, gy = j - gp.origin_y;
                bool inside = gx >= 0 && gy >= 0 && gx < g->width && gy < g->height;
                bool clear = c.r == 0 && c.g == 0 && c.b == 0;
                if (clear && (background || !inside) && !g->image_element) continue;
                p.set(left + i, top + j, c);
            }
        if (!artwork) p.text(shift_x + g->x + 2, shift_y + g->y + bar + 2, g->name, LABEL);
    }
    return p;
}

Picture render_panel(Host& host) {
    std::vector<Picture> windows;
    int width = 0, height = 0;
    for (size_t i = 0; i < host.panel().windows.size(); ++i) {
        if (!window_open(host.vars, host.panel().windows[i].ident)) continue;
        windows.push_back(render_window(host, static_cast<int>(i)));
        width = std::max(width, windows.back().width);
        height += windows.back().height + 4;
    }
    Picture p;
    p.resize(width, height, Rgb{0, 0, 0});
    int y = 0;
    for (const Picture& w : windows) {
        p.paste(w, 0, y);
        y += w.height + 4;
    }
    return p;
}

std::optional<Rgb> gauge_pixel(Host& host, GaugeInstance& g, int x, int y) {
    GaugePicture gp = render_gauge_area(host, g);
    int px = x + gp.origin_x, py = y + gp.origin_y;
    if (px < 0 || py < 0 || px >= gp.picture.width || py >= gp.picture.height) return std::nullopt;
    return gp.picture.get(px, py);
}

// ------------------------------------------------ PNG

uint32_t crc32_of(const uint8_t* data, size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32_of(const uint8_t* data, size_t size) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

static void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

static void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32_of(out.data() + start, out.size() - start));
}

std::vector<uint8_t> encode_png(const Picture& picture) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(picture.height) * (picture.width * 3 + 1));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);   // no filter
        auto row = picture.rgb.begin() + static_cast<long>(y) * picture.width * 3;
        raw.insert(raw.end(), row, row + picture.width * 3);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    put32(z, adler32_of(raw.data(), raw.size()));

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(picture.width));
    put32(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8 bits, RGB, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

bool write_png(const std::string& path, const Picture& picture) {
    std::vector<uint8_t> data = encode_png(picture);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}
