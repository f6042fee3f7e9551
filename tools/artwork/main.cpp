// quillmar-artwork: draws every bitmap a built gauge module names.
//
//   quillmar-artwork --module Gauges/Quillmar.so --descriptions tools/artwork/descriptions
//                    --out DIR [--sounds sound_set.tsv] [--rc FILE] [--png DIR] [--strict]
//
// The module is loaded and its gauge tables walked: every bitmap number an
// element names (an icon's image n at its number + n) is drawn from the
// description of that number, written as DIR/NNN.bmp (24-bit, black where
// transparent), and listed in DIR/bitmaps.txt as "number width height".
// --rc writes a resource script that embeds them all (Windows builds).
// Without --strict a bitmap without description is drawn as a marked box
// and reported, and so is a description of a number no element shows;
// with it, both are errors.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "host/panel_config.h"
#include "tools/artwork/bitmap_set.h"
#include "tools/artwork/descriptions.h"
#include "tools/artwork/painter.h"

#include <cairo.h>

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string module, descriptions, out, sounds, rc, png, panel, panel_out;
    bool strict = false, dump = false;
};

int usage(const std::string& message) {
    std::cerr << "quillmar-artwork: " << message << "\n"
              << "usage: quillmar-artwork --module FILE --descriptions DIR --out DIR [--sounds TSV] [--rc FILE]"
                 " [--png DIR] [--strict]\n";
    return 2;
}

// The checklist rows of the sound table: name to words.
bool read_checklist_rows(const std::string& path, std::map<std::string, std::string>* rows, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Checklist_", 0) != 0) continue;
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string field;
        while (std::getline(s, field, '\t')) fields.push_back(field);
        if (fields.size() >= 3) (*rows)[fields[0]] = fields[2];
    }
    return true;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A 24-bit bottom-up BMP file.
bool write_bmp(const std::string& path, const Image& image) {
    uint32_t row = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    uint32_t pixels = row * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixels);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, pixels);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        while (out.size() - start < row) out.push_back(0);
    }
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

bool write_png(const std::string& path, const Image& image) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] =
                (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
        }
    cairo_surface_mark_dirty(s);
    bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

// A bitmap nobody has described yet: a magenta frame.
Image placeholder() {
    int w = 24, h = 12;
    Image image;
    image.width = w;
    image.height = h;
    image.rgb.assign(static_cast<size_t>(w) * h * 3, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                uint8_t* p = &image.rgb[(static_cast<size_t>(y) * w + x) * 3];
                p[0] = 255;
                p[1] = 0;
                p[2] = 255;
            }
    return image;
}

// How far a housing may reach out of its gauge's box, right and down.
constexpr int HOUSING_MARGIN = 160;

// The backgrounds of the panel windows: each window that names a file gets
// its gauges' housings drawn where the panel places them. False and a
// message on a bad housing.
bool draw_backgrounds(const std::string& panel_path, const std::string& out_dir, const ModuleTables& module,
                      const Descriptions& d, const std::map<std::string, std::string>& rows, std::string* error) {
    std::ifstream in(panel_path);
    if (!in) {
        *error = "cannot read " + panel_path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    PanelConfig panel = parse_panel_config(text.str(), panel_path);
    std::error_code ec;
    fs::create_directories(out_dir, ec);
    Rgba background = d.colours.count("window_background") ? d.colours.at("window_background") : Rgba{0.08, 0.09, 0.1, 1};
    std::set<std::string> placed;
    for (const PanelWindow& w : panel.windows) {
        if (w.file.empty()) continue;
        struct Placed {
            const GaugePlacement* p;
            const GaugeInfo* g;
            int width, height;
        };
        std::vector<Placed> gauges;
        int width = 1, height = 1;
        for (const GaugePlacement& p : w.gauges) {
            const GaugeInfo* g = nullptr;
            for (const GaugeInfo& info : module.gauges)
                if (info.name == p.gauge || (module.gauges.size() == 1 && p.gauge == module.name)) g = &info;
            int gw = p.width > 0 ? p.width : (g ? g->size : 0), gh = p.height > 0 ? p.height : gw;
            width = std::max(width, p.x + gw);
            height = std::max(height, p.y + gh);
            // A housing may reach as far out of the gauge's box as its
            // elements do (beyond the default size).
            gw += HOUSING_MARGIN;
            gh += HOUSING_MARGIN;
            // Gauges of other modules (the displays) may have a housing too,
            // drawn without dials of their own.
            if (p.module != module.name) g = nullptr;
            if (g || p.module != module.name) gauges.push_back(Placed{&p, g, gw, gh});
        }
        int drawn_right = width, drawn_bottom = height;
        width += HOUSING_MARGIN;
        height += HOUSING_MARGIN;
        Image window;
        window.width = width;
        window.height = height;
        window.rgb.resize(static_cast<size_t>(width) * height * 3);
        for (size_t i = 0; i < window.rgb.size(); i += 3) {
            window.rgb[i] = static_cast<uint8_t>(background.r * 255);
            window.rgb[i + 1] = static_cast<uint8_t>(background.g * 255);
            window.rgb[i + 2] = static_cast<uint8_t>(background.b * 255);
        }
        for (const Placed& p : gauges) {
            for (const BitmapDescription& h : d.housings) {
                const GaugeInfo* g = p.g ? p.g : &module.gauges.front();
                if (h.gauge != p.p->gauge || g->elements.empty()) continue;
                placed.insert(h.gauge);
                ImageJob job;
                job.descriptions = &d;
                job.description = &h;
                job.gauge = g;
                job.element = &g->elements.front();
                job.housing = true;
                if (module.name == "Quillmar")
                    for (const BitmapBlock& b : quillmar_bitmap_blocks())
                        if (b.gauge == g->name) job.block_base = b.base;
                job.width = p.width;
                job.height = p.height;
                int placed_width = p.width - HOUSING_MARGIN;
                job.scale = p.g && p.g->size > 0 ? static_cast<double>(placed_width) / p.g->size : 1;
                job.checklist_rows = &rows;
                Image image;
                if (!paint_image(job, &image, error)) return false;
                for (int y = 0; y < image.height; ++y)
                    for (int x = 0; x < image.width; ++x) {
                        const uint8_t* c = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
                        int wx = p.p->x + x, wy = p.p->y + y;
                        if ((c[0] | c[1] | c[2]) == 0 || wx < 0 || wy < 0 || wx >= width || wy >= height) continue;
                        drawn_right = std::max(drawn_right, wx + 1);
                        drawn_bottom = std::max(drawn_bottom, wy + 1);
                        std::memcpy(&window.rgb[(static_cast<size_t>(wy) * width + wx) * 3], c, 3);
                    }
            }
        }
        // As large as the gauges' boxes and what their housings drew.
        Image cropped;
        cropped.width = drawn_right;
        cropped.height = drawn_bottom;
        for (int y = 0; y < drawn_bottom; ++y)
            cropped.rgb.insert(cropped.rgb.end(), window.rgb.begin() + static_cast<long>(y) * width * 3,
                               window.rgb.begin() + (static_cast<long>(y) * width + drawn_right) * 3);
        std::string path = (fs::path(out_dir) / w.file).string();
        if (!write_bmp(path, cropped)) {
            *error = "cannot write " + path;
            return false;
        }
    }
    for (const BitmapDescription& h : d.housings) {
        if (!placed.count(h.gauge))
            std::cerr << h.where << ": the housing of " << h.gauge << " lies in no window with a background\n";
    }
    return true;
}

// --dump: every gauge's elements in tree order, as the descriptions need them.
void dump(const ModuleTables& module) {
    std::vector<std::string> problems;
    std::map<int, BitmapUse> set = collect_bitmaps(module, quillmar_bitmap_blocks(), &problems);
    static const char* types[] = {"static", "needle", "text", "slider", "icon", "moving", "sprite"};
    for (const GaugeInfo& g : module.gauges) {
        std::printf("gauge %s (size %d)\n", g.name.c_str(), g.size);
        for (const ElementInfo& e : g.elements) {
            const ElementHead* h = e.head;
            std::printf("  %*s%s", e.depth * 2, "", h->type < 7 ? types[h->type] : "?");
            if (h->resource >= 0) {
                auto it = set.find(h->resource);
                if (it != set.end() && !it->second.block.empty())
                    std::printf(" %s+%d", it->second.block.c_str(), h->resource - it->second.block_base);
                else
                    std::printf(" #%d", h->resource);
            }
            std::printf(" at %d,%d flags %u", h->x, h->y, h->image_flags);
            if (e.images > 1) std::printf(" images %d", e.images);
            if (h->type == ELEMENT_NEEDLE) {
                auto* n = reinterpret_cast<const NeedleElement*>(h);
                std::printf(" centre %d,%d scale %d", n->centre_x, n->centre_y, n->scale_count);
            } else if (h->type == ELEMENT_STRING) {
                auto* s = reinterpret_cast<const StringElement*>(h);
                std::printf(" box %dx%d font %s", s->width, s->height, s->font ? s->font : "-");
            } else if (h->type == ELEMENT_SLIDER) {
                auto* s = reinterpret_cast<const SliderElement*>(h);
                std::printf(" scale %g,%g", s->scale_x, s->scale_y);
            } else if (h->type == ELEMENT_MOVING_IMAGE) {
                auto* m = reinterpret_cast<const MovingImageElement*>(h);
                std::printf(" x %g..%g y %g..%g travel %d,%d", m->min_x, m->max_x, m->min_y, m->max_y, m->travel_x, m->travel_y);
            } else if (h->type == ELEMENT_SPRITE) {
                std::printf(" texture scale %g", reinterpret_cast<const SpriteElement*>(h)->texture_scale);
            }
            std::printf("\n");
        }
        for (const MouseRect& r : g.mouse) std::printf("  mouse %d,%d %dx%d cursor %d\n", r.x, r.y, r.width, r.height, r.cursor);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string* to) {
            if (i + 1 >= argc) return false;
            *to = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--module") ok = value(&o.module);
        else if (a == "--descriptions") ok = value(&o.descriptions);
        else if (a == "--out") ok = value(&o.out);
        else if (a == "--sounds") ok = value(&o.sounds);
        else if (a == "--rc") ok = value(&o.rc);
        else if (a == "--png") ok = value(&o.png);
        else if (a == "--panel") ok = value(&o.panel);
        else if (a == "--panel-out") ok = value(&o.panel_out);
        else if (a == "--strict") o.strict = true;
        else if (a == "--dump") o.dump = true;
        else return usage("unknown option " + a);
        if (!ok) return usage(a + " needs a value");
    }
    std::string error;
    ModuleTables module;
    if (o.dump && !o.module.empty()) {
        if (!load_module_tables(o.module, &module, &error)) return usage(error);
        dump(module);
        return 0;
    }
    if (o.module.empty() || o.descriptions.empty() || o.out.empty()) return usage("--module, --descriptions and --out are needed");
    if (!load_module_tables(o.module, &module, &error)) return usage(error);
    Descriptions descriptions;
    if (!read_descriptions(o.descriptions, &descriptions, &error)) {
        std::cerr << error << "\n";
        return 1;
    }
    std::map<std::string, std::string> checklist_rows;
    if (!o.sounds.empty() && !read_checklist_rows(o.sounds, &checklist_rows, &error)) return usage(error);

    std::vector<BitmapBlock> blocks;
    if (module.name == "Quillmar") blocks = quillmar_bitmap_blocks();
    std::vector<std::string> problems;
    std::map<int, BitmapUse> set = collect_bitmaps(module, blocks, &problems);
    for (const std::string& p : problems) std::cerr << "quillmar-artwork: " << module.name << ": " << p << "\n";
    if (!problems.empty()) return 1;

    // The description of each number: a block's gauge and offset, or the
    // gauge (or the module, for a one-gauge module) and the number itself.
    auto describes = [&](const BitmapDescription& d, const BitmapUse& use) {
        if (!use.block.empty()) return d.gauge == use.block && use.block_base + d.offset == use.number - use.image;
        const GaugeInfo& g = module.gauges[static_cast<size_t>(use.gauge)];
        bool named = d.gauge == g.name || (module.gauges.size() == 1 && d.gauge == module.name);
        return named && d.offset == use.number - use.image;
    };

    std::error_code ec;
    fs::create_directories(o.out, ec);
    if (!o.png.empty()) fs::create_directories(o.png, ec);
    std::set<const BitmapDescription*> used;
    std::ostringstream list, rc;
    int failures = 0, missing = 0, unused = 0;
    for (const auto& [number, use] : set) {
        const GaugeInfo& gauge = module.gauges[static_cast<size_t>(use.gauge)];
        const ElementInfo& element = gauge.elements[static_cast<size_t>(use.element)];
        const BitmapDescription* description = nullptr;
        for (const BitmapDescription& d : descriptions.bitmaps)
            if (describes(d, use)) {
                if (description) {
                    std::cerr << d.where << ": describes bitmap " << number << " again (first at " << description->where << ")\n";
                    ++failures;
                }
                description = &d;
            }
        Image image;
        if (!description) {
            std::cerr << "quillmar-artwork: " << module.name << ": no description of bitmap " << number << " ("
                      << (use.block.empty() ? gauge.name : use.block) << " offset " << number - use.block_base - use.image
                      << (element.images > 1 ? ", image " + std::to_string(use.image) : std::string()) << ", shown by "
                      << gauge.name << " element " << use.element << ")\n";
            ++missing;
            image = placeholder();
        } else {
            used.insert(description);
            ImageJob job;
            job.descriptions = &descriptions;
            job.description = description;
            // Needles named by a face are looked up in the gauge of the block.
            job.gauge = &gauge;
            for (const GaugeInfo& g : module.gauges)
                if (g.name == use.block) job.gauge = &g;
            job.element = &element;
            job.block_base = use.block_base;
            job.image = use.image;
            job.checklist_rows = &checklist_rows;
            if (!paint_image(job, &image, &error)) {
                std::cerr << error << "\n";
                ++failures;
                continue;
            }
        }
        std::string file = std::to_string(number) + ".bmp";
        if (!write_bmp((fs::path(o.out) / file).string(), image)) {
            std::cerr << "quillmar-artwork: cannot write " << (fs::path(o.out) / file).string() << "\n";
            return 1;
        }
        if (!o.png.empty()) write_png((fs::path(o.png) / (std::to_string(number) + ".png")).string(), image);
        list << number << " " << image.width << " " << image.height << "\n";
        rc << number << " BITMAP \"" << fs::absolute(fs::path(o.out) / file).generic_string() << "\"\n";
    }
    for (const BitmapDescription& d : descriptions.bitmaps) {
        bool this_module = false;
        for (const GaugeInfo& g : module.gauges) this_module |= d.gauge == g.name;
        this_module |= module.gauges.size() == 1 && d.gauge == module.name;
        if (this_module && !used.count(&d)) {
            std::cerr << d.where << ": describes a bitmap (" << d.gauge << " offset " << d.offset
                      << ") that no element of " << module.name << " shows\n";
            ++unused;
        }
    }
    // Bitmaps of an earlier run that no element names any more go.
    for (const auto& entry : fs::directory_iterator(o.out, ec)) {
        if (entry.path().extension() != ".bmp") continue;
        std::string stem = entry.path().stem().string();
        char* end = nullptr;
        long n = std::strtol(stem.c_str(), &end, 10);
        if (*end || !set.count(static_cast<int>(n))) fs::remove(entry.path(), ec);
    }
    std::ofstream((fs::path(o.out) / "bitmaps.txt").string()) << list.str();
    if (!o.rc.empty()) {
        std::ofstream f(o.rc);
        f << "// The bitmaps of " << module.name << ", drawn by quillmar-artwork.\n" << rc.str();
        if (!f) {
            std::cerr << "quillmar-artwork: cannot write " << o.rc << "\n";
            return 1;
        }
    }
    if (!o.panel.empty() && !o.panel_out.empty() &&
        !draw_backgrounds(o.panel, o.panel_out, module, descriptions, checklist_rows, &error)) {
        std::cerr << error << "\n";
        ++failures;
    }
    if (missing) std::cerr << "quillmar-artwork: " << module.name << ": " << missing << " bitmaps without description\n";
    if (failures || (o.strict && (missing || unused))) return 1;
    return 0;
}
