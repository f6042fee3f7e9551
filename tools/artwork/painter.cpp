// The drawing commands of the descriptions.
//
// Coordinates are the image's own pixels, x right and y down; `origin gauge`
// makes them the gauge's pixels instead (for legends shared by a panel's
// mask and its lit overlay). A needle's image is drawn in the needle's own
// frame: its turning point at 0,0 and the needle pointing along +x.
// Colours are names (`colour` lines), #RRGGBB, or `clear`, which cuts the
// shape out (transparent). Angles are dial degrees: 0 up, clockwise.
//
// Shapes and text
//   size W H                     image size (default: a needle's from its
//                                pointer, a first element's the gauge's size)
//   window W H                   a moving image: the part seen at a time; the
//                                strip is that plus the element's travel
//   origin gauge | local | X Y   where 0,0 of the following lines lies
//   fill C                       the whole image
//   rect X Y W H C [r R]         filled box, corners rounded by R
//   frame X Y W H LW C [r R]     outline of a box
//   shade X Y W H C1 C2          box shaded from C1 (top) to C2 (bottom)
//   circle X Y R C, ring X Y R LW C, arc X Y R A1 A2 LW C
//   line X1 Y1 X2 Y2 LW C
//   poly C X1 Y1 X2 Y2 ...       filled polygon
//   text X Y SIZE C "T" [l|c|r] [bold] [narrow] [mono] [rot A]
//                                X by the alignment (centre by default), Y the
//                                middle of the capitals; "|" starts a new line
//   use NAME ARGS...             a define, $1... replaced by the arguments
// Dials (marks and numbers where the needle points for a value)
//   dial NEEDLE                  the needle shown by bitmap NEEDLE of this
//                                block: its dial centre and its scale table
//   dial CX CY A0 K              a needle without table: angle A0 + K * value
//                                (0 right, clockwise, as the needle law)
//   ticks V0 V1 STEP R1 R2 LW C, labels V0 V1 STEP R SIZE C [div D] [bold]
//   label V R SIZE C "T", band V0 V1 R LW C
// Needles (in the needle's frame)
//   pointer LENGTH WIDTH C [tail T] [taper|bar|bug|double]
// Panels
//   readouts [RIM]               every text element's box of the gauge cut
//                                out, with a dark rim (in gauge pixels)
//   screw X Y, cap X Y W H, lens X Y W H BG FG SIZE "T",
//   toggle X Y UP (1 up, 0 down, -1 centre), knob X Y R A [C],
//   checklist NAME X Y PITCH SIZE C FIRST [blank K]...
#include "tools/artwork/painter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <sstream>

namespace {

constexpr double PI = std::numbers::pi;

struct Failure {
    std::string message;
    bool located = false;   // already says which description line
};

[[noreturn]] void fail(const std::string& message) { throw Failure{message}; }

// ------------------------------------------------------------ numbers

class Expression {
public:
    Expression(const std::string& text, double n) : s_(text), n_(n) {}
    double value() {
        double v = sum();
        if (i_ != s_.size()) fail("cannot read the number '" + s_ + "'");
        return v;
    }

private:
    double sum() {
        double v = product();
        for (;;) {
            if (peek('+')) v += product();
            else if (peek('-')) v -= product();
            else return v;
        }
    }
    double product() {
        double v = factor();
        for (;;) {
            if (peek('*')) v *= factor();
            else if (peek('/')) {
                double d = factor();
                if (d == 0) fail("division by zero in '" + s_ + "'");
                v /= d;
            } else return v;
        }
    }
    double factor() {
        if (peek('-')) return -factor();
        if (peek('(')) {
            double v = sum();
            if (!peek(')')) fail("a '(' without ')' in '" + s_ + "'");
            return v;
        }
        if (i_ < s_.size() && s_[i_] == 'n') {
            ++i_;
            return n_;
        }
        const char* start = s_.c_str() + i_;
        char* end = nullptr;
        double v = std::strtod(start, &end);
        if (end == start) fail("cannot read the number '" + s_ + "'");
        i_ += static_cast<size_t>(end - start);
        return v;
    }
    bool peek(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::string s_;
    double n_;
    size_t i_ = 0;
};

bool is_text(const std::string& word) { return !word.empty() && word[0] == '"'; }

// ------------------------------------------------------------ the painter

struct Dial {
    bool set = false;
    double cx = 0, cy = 0;                 // in gauge pixels
    const ScalePoint* table = nullptr;
    int count = 0;
    double a0 = 0, k = 1;                  // law when there is no table
};

class Painter {
public:
    Painter(const ImageJob& job) : job_(job) {}
    ~Painter() {
        if (cr_) cairo_destroy(cr_);
        if (surface_) cairo_surface_destroy(surface_);
    }

    void run(Image* out) {
        needle_ = !job_.housing && job_.element->head->type == ELEMENT_NEEDLE;
        decide_size();
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
        cr_ = cairo_create(surface_);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
        reset_origin();
        for (const Command& c : job_.description->commands) execute(c, {}, 0);
        finish(out);
    }

private:
    // -------------------------------------------------------- set-up

    // The size is read from the description's `size`/`window` line before
    // anything is drawn; a needle without one takes its pointer's length.
    void decide_size() {
        if (job_.housing) {
            width_ = job_.width;
            height_ = job_.height;
            return;
        }
        const ElementHead* e = job_.element->head;
        size_lines(job_.description->commands, {}, 0);
        if (width_ == 0 && e->x == 0 && e->y == 0 && e->type == ELEMENT_STATIC_IMAGE) {
            width_ = job_.gauge->size;
            height_ = width_;
        }
        if (width_ <= 0 || height_ <= 0 || width_ > 4096 || height_ > 4096)
            throw Failure{job_.description->where + ": the bitmap needs a size line", true};
    }

    // The size lines of the description and of the defines it uses.
    void size_lines(const std::vector<Command>& commands, const std::vector<std::string>& args, int depth) {
        const ElementHead* e = job_.element->head;
        for (const Command& c : commands) {
            std::vector<std::string> w = c.words;
            for (std::string& word : w) substitute(word, args, c.where);
            if (w[0] == "size" && w.size() == 3) {
                width_ = static_cast<int>(number(w[1]));
                height_ = static_cast<int>(number(w[2]));
            } else if (w[0] == "window" && w.size() == 3 && e->type == ELEMENT_MOVING_IMAGE) {
                auto* m = reinterpret_cast<const MovingImageElement*>(e);
                width_ = static_cast<int>(number(w[1])) + std::abs(m->travel_x);
                height_ = static_cast<int>(number(w[2])) + std::abs(m->travel_y);
            } else if (w[0] == "pointer" && needle_ && width_ == 0 && w.size() >= 2) {
                width_ = e->offset_x + static_cast<int>(std::ceil(number(w[1]))) + 2;
                height_ = 2 * e->offset_y + 1;
            } else if (w[0] == "use" && w.size() >= 2 && depth < 16) {
                auto it = job_.descriptions->defines.find(w[1]);
                if (it != job_.descriptions->defines.end())
                    size_lines(it->second, std::vector<std::string>(w.begin() + 2, w.end()), depth + 1);
            }
        }
    }

    void reset_origin() {
        cairo_identity_matrix(cr_);
        if (job_.housing) cairo_scale(cr_, job_.scale, job_.scale);
        else if (needle_) cairo_translate(cr_, job_.element->head->offset_x, job_.element->head->offset_y);
    }

    // -------------------------------------------------------- words

    double number(const std::string& word) { return Expression(word, job_.image).value(); }

    Rgba colour(const std::string& word) {
        if (word == "clear") return Rgba{0, 0, 0, -1};
        if (word.size() == 7 && word[0] == '#') {
            unsigned v = 0;
            if (std::sscanf(word.c_str() + 1, "%6x", &v) == 1)
                return Rgba{((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, 1};
        }
        auto it = job_.descriptions->colours.find(word);
        if (it == job_.descriptions->colours.end()) fail("unknown colour '" + word + "'");
        return it->second;
    }

    void source(const Rgba& c) {
        if (c.a < 0) {
            cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        } else {
            cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
            cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a);
        }
    }

    // -------------------------------------------------------- commands

    void execute(const Command& c, const std::vector<std::string>& args, int depth) {
        std::vector<int> images = c.images;
        if (!c.images_text.empty()) {
            std::string text = c.images_text;
            substitute(text, args, c.where);
            if (!parse_image_list(text, &images)) throw Failure{c.where + ": bad image list @" + text, true};
        }
        if (!images.empty() && std::find(images.begin(), images.end(), job_.image) == images.end()) return;
        std::vector<std::string> w = c.words;
        for (std::string& word : w) substitute(word, args, c.where);
        try {
            command(w, c, depth);
        } catch (const Failure& f) {
            if (f.located) throw;
            throw Failure{c.where + ": " + f.message, true};
        }
    }

    void substitute(std::string& word, const std::vector<std::string>& args, const std::string& where) {
        for (size_t at = word.find('$'); at != std::string::npos; at = word.find('$', at)) {
            size_t k = at + 1;
            while (k < word.size() && std::isdigit(static_cast<unsigned char>(word[k]))) ++k;
            if (k == at + 1) {
                ++at;
                continue;
            }
            size_t index = std::stoul(word.substr(at + 1, k - at - 1));
            if (index == 0 || index > args.size()) fail(where + ": no argument $" + std::to_string(index));
            std::string arg = args[index - 1];
            if (is_text(arg)) arg = arg.substr(1);
            word.replace(at, k - at, arg);
            at += arg.size();
        }
    }

    void need(const std::vector<std::string>& w, size_t count, const char* form) {
        if (w.size() < count) fail(std::string("expected: ") + form);
    }

    void command(const std::vector<std::string>& w, const Command& c, int depth) {
        const std::string& op = w[0];
        if (op == "size" || op == "window") return;
        if (op == "origin") {
            need(w, 2, "origin gauge | local | X Y");
            reset_origin();
            if (w[1] == "gauge" && !job_.housing) cairo_translate(cr_, -job_.element->head->x, -job_.element->head->y);
            else if (w[1] != "local") {
                need(w, 3, "origin X Y");
                cairo_translate(cr_, number(w[1]), number(w[2]));
            }
        } else if (op == "fill") {
            need(w, 2, "fill C");
            cairo_save(cr_);
            cairo_identity_matrix(cr_);
            source(colour(w[1]));
            cairo_paint(cr_);
            cairo_restore(cr_);
        } else if (op == "rect") {
            need(w, 6, "rect X Y W H C [r R]");
            double r = w.size() >= 8 && w[6] == "r" ? number(w[7]) : 0;
            box_path(number(w[1]), number(w[2]), number(w[3]), number(w[4]), r);
            source(colour(w[5]));
            cairo_fill(cr_);
        } else if (op == "frame") {
            need(w, 7, "frame X Y W H LW C [r R]");
            double lw = number(w[5]);
            double r = w.size() >= 9 && w[7] == "r" ? number(w[8]) : 0;
            box_path(number(w[1]) + lw / 2, number(w[2]) + lw / 2, number(w[3]) - lw, number(w[4]) - lw, r);
            source(colour(w[6]));
            cairo_set_line_width(cr_, lw);
            cairo_stroke(cr_);
        } else if (op == "shade") {
            need(w, 7, "shade X Y W H C1 C2");
            double x = number(w[1]), y = number(w[2]), wd = number(w[3]), h = number(w[4]);
            Rgba a = colour(w[5]), b = colour(w[6]);
            cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
            cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
            cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
            cairo_rectangle(cr_, x, y, wd, h);
            cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
            cairo_set_source(cr_, p);
            cairo_fill(cr_);
            cairo_pattern_destroy(p);
        } else if (op == "circle") {
            need(w, 5, "circle X Y R C");
            cairo_new_path(cr_);
            cairo_arc(cr_, number(w[1]), number(w[2]), number(w[3]), 0, 2 * PI);
            source(colour(w[4]));
            cairo_fill(cr_);
        } else if (op == "ring") {
            need(w, 6, "ring X Y R LW C");
            cairo_new_path(cr_);
            cairo_arc(cr_, number(w[1]), number(w[2]), number(w[3]), 0, 2 * PI);
            cairo_set_line_width(cr_, number(w[4]));
            source(colour(w[5]));
            cairo_stroke(cr_);
        } else if (op == "arc") {
            need(w, 8, "arc X Y R A1 A2 LW C");
            cairo_new_path(cr_);
            cairo_arc(cr_, number(w[1]), number(w[2]), number(w[3]), (number(w[4]) - 90) * PI / 180,
                      (number(w[5]) - 90) * PI / 180);
            cairo_set_line_width(cr_, number(w[6]));
            source(colour(w[7]));
            cairo_stroke(cr_);
        } else if (op == "line") {
            need(w, 7, "line X1 Y1 X2 Y2 LW C");
            cairo_new_path(cr_);
            cairo_move_to(cr_, number(w[1]), number(w[2]));
            cairo_line_to(cr_, number(w[3]), number(w[4]));
            cairo_set_line_width(cr_, number(w[5]));
            cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
            source(colour(w[6]));
            cairo_stroke(cr_);
        } else if (op == "poly") {
            need(w, 8, "poly C X1 Y1 X2 Y2 X3 Y3 ...");
            if ((w.size() - 2) % 2) fail("poly needs pairs of coordinates");
            cairo_new_path(cr_);
            for (size_t i = 2; i + 1 < w.size(); i += 2) cairo_line_to(cr_, number(w[i]), number(w[i + 1]));
            cairo_close_path(cr_);
            source(colour(w[1]));
            cairo_fill(cr_);
        } else if (op == "text") {
            need(w, 6, "text X Y SIZE C \"T\" ...");
            if (!is_text(w[5])) fail("the text of a text line must be in quotes");
            TextStyle style = text_style(w, 6);
            text(number(w[1]), number(w[2]), number(w[3]), colour(w[4]), w[5].substr(1), style);
        } else if (op == "use") {
            need(w, 2, "use NAME ARGS...");
            auto it = job_.descriptions->defines.find(w[1]);
            if (it == job_.descriptions->defines.end()) fail("no define '" + w[1] + "'");
            if (depth > 16) fail("defines used too deep");
            std::vector<std::string> args(w.begin() + 2, w.end());
            for (const Command& inner : it->second) execute(inner, args, depth + 1);
        } else if (op == "dial") {
            set_dial(w);
        } else if (op == "ticks") {
            need(w, 8, "ticks V0 V1 STEP R1 R2 LW C");
            double v0 = number(w[1]), v1 = number(w[2]), step = number(w[3]);
            double r1 = number(w[4]), r2 = number(w[5]);
            if (step <= 0) fail("the step must be above 0");
            cairo_set_line_width(cr_, number(w[6]));
            cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
            source(colour(w[7]));
            for (double v = v0; v <= v1 + step * 1e-6; v += step) {
                double a = angle_of(v);
                cairo_move_to(cr_, dial_x() + r1 * std::cos(a), dial_y() + r1 * std::sin(a));
                cairo_line_to(cr_, dial_x() + r2 * std::cos(a), dial_y() + r2 * std::sin(a));
            }
            cairo_stroke(cr_);
        } else if (op == "labels") {
            need(w, 7, "labels V0 V1 STEP R SIZE C [div D] [bold]");
            double v0 = number(w[1]), v1 = number(w[2]), step = number(w[3]);
            double divisor = 1;
            TextStyle style = text_style(w, 7);
            for (size_t i = 7; i + 1 < w.size(); ++i)
                if (w[i] == "div") divisor = number(w[i + 1]);
            if (step <= 0) fail("the step must be above 0");
            for (double v = v0; v <= v1 + step * 1e-6; v += step) {
                char t[32];
                std::snprintf(t, sizeof t, "%g", std::round(v / divisor * 1000) / 1000);
                dial_text(v, number(w[4]), number(w[5]), colour(w[6]), t, style);
            }
        } else if (op == "label") {
            need(w, 6, "label V R SIZE C \"T\"");
            if (!is_text(w[5])) fail("the text of a label must be in quotes");
            dial_text(number(w[1]), number(w[2]), number(w[3]), colour(w[4]), w[5].substr(1), text_style(w, 6));
        } else if (op == "band") {
            need(w, 6, "band V0 V1 R LW C");
            double v0 = number(w[1]), v1 = number(w[2]), r = number(w[3]);
            cairo_new_path(cr_);
            int steps = 64;
            for (int i = 0; i <= steps; ++i) {
                double a = angle_of(v0 + (v1 - v0) * i / steps);
                cairo_line_to(cr_, dial_x() + r * std::cos(a), dial_y() + r * std::sin(a));
            }
            cairo_set_line_width(cr_, number(w[4]));
            cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
            source(colour(w[5]));
            cairo_stroke(cr_);
        } else if (op == "pointer") {
            pointer(w);
        } else if (op == "screw") {
            need(w, 3, "screw X Y");
            double x = number(w[1]), y = number(w[2]);
            circle(x, y, 3.2, colour("screw_rim"));
            circle(x, y, 2.5, colour("screw"));
            cairo_new_path(cr_);
            cairo_move_to(cr_, x - 2, y + 1.2);
            cairo_line_to(cr_, x + 2, y - 1.2);
            cairo_set_line_width(cr_, 0.9);
            source(colour("screw_rim"));
            cairo_stroke(cr_);
        } else if (op == "cap") {
            need(w, 5, "cap X Y W H");
            double x = number(w[1]), y = number(w[2]), wd = number(w[3]), h = number(w[4]);
            box_path(x, y, wd, h, 2);
            source(colour("cap_edge"));
            cairo_fill(cr_);
            box_path(x + 1, y + 1, wd - 2, h - 2, 1.5);
            source(colour("cap"));
            cairo_fill(cr_);
        } else if (op == "lens") {
            need(w, 9, "lens X Y W H BG FG SIZE \"T\"");
            double x = number(w[1]), y = number(w[2]), wd = number(w[3]), h = number(w[4]);
            box_path(x, y, wd, h, 1);
            source(colour(w[5]));
            cairo_fill(cr_);
            if (!is_text(w[8])) fail("the legend of a lens must be in quotes");
            TextStyle style = text_style(w, 9);
            style.bold = true;
            text(x + wd / 2, y + h / 2, number(w[7]), colour(w[6]), w[8].substr(1), style);
        } else if (op == "toggle") {
            need(w, 4, "toggle X Y UP");
            toggle(number(w[1]), number(w[2]), number(w[3]));
        } else if (op == "knob") {
            need(w, 5, "knob X Y R A [C] [bar]");
            bool bar = w.back() == "bar";
            size_t n = w.size() - (bar ? 1 : 0);
            knob(number(w[1]), number(w[2]), number(w[3]), number(w[4]), n > 5 ? colour(w[5]) : colour("knob"), bar);
        } else if (op == "readouts") {
            // The windows of the gauge's text elements: a dark rim, cut out.
            double rim = w.size() > 1 ? number(w[1]) : 2;
            for (const ElementInfo& e : job_.gauge->elements) {
                if (e.head->type != ELEMENT_STRING) continue;
                auto* t = reinterpret_cast<const StringElement*>(e.head);
                box_path(e.head->x - rim, e.head->y - rim, t->width + 2 * rim, t->height + 2 * rim, rim);
                source(colour("plate_edge"));
                cairo_fill(cr_);
                box_path(e.head->x, e.head->y, t->width, t->height, 0);
                source(colour("clear"));
                cairo_fill(cr_);
            }
        } else if (op == "checklist") {
            checklist(w);
        } else {
            fail("unknown command '" + op + "'");
        }
    }

    // -------------------------------------------------------- helpers

    void box_path(double x, double y, double w, double h, double r) {
        cairo_new_path(cr_);
        if (r <= 0) {
            cairo_rectangle(cr_, x, y, w, h);
            return;
        }
        r = std::min({r, w / 2, h / 2});
        cairo_arc(cr_, x + w - r, y + r, r, -PI / 2, 0);
        cairo_arc(cr_, x + w - r, y + h - r, r, 0, PI / 2);
        cairo_arc(cr_, x + r, y + h - r, r, PI / 2, PI);
        cairo_arc(cr_, x + r, y + r, r, PI, 1.5 * PI);
        cairo_close_path(cr_);
    }

    void circle(double x, double y, double r, const Rgba& c) {
        cairo_new_path(cr_);
        cairo_arc(cr_, x, y, r, 0, 2 * PI);
        source(c);
        cairo_fill(cr_);
    }

    struct TextStyle {
        char align = 'c';
        bool bold = false, narrow = false, mono = false;
        double rotation = 0;
    };

    TextStyle text_style(const std::vector<std::string>& w, size_t from) {
        TextStyle s;
        for (size_t i = from; i < w.size(); ++i) {
            const std::string& o = w[i];
            if (o == "l" || o == "c" || o == "r") s.align = o[0];
            else if (o == "bold") s.bold = true;
            else if (o == "narrow") s.narrow = true;
            else if (o == "mono") s.mono = true;
            else if (o == "rot" && i + 1 < w.size()) s.rotation = number(w[++i]);
            else if (o == "div" && i + 1 < w.size()) ++i;
        }
        return s;
    }

    // Text placed by its alignment point at x and the middle of its capitals at y.
    void text(double x, double y, double size, const Rgba& c, const std::string& t, const TextStyle& s) {
        const char* family = s.mono ? "Liberation Mono" : s.narrow ? "Liberation Sans Narrow" : "Liberation Sans";
        cairo_select_font_face(cr_, family, CAIRO_FONT_SLANT_NORMAL,
                               s.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
        cairo_text_extents_t capital;
        cairo_text_extents(cr_, "H", &capital);
        double cap = -capital.y_bearing;
        std::vector<std::string> lines;
        std::stringstream in(t);
        std::string line;
        while (std::getline(in, line, '|')) lines.push_back(line);
        if (lines.empty()) return;
        double pitch = size * 1.15;
        double top = y - pitch * (static_cast<double>(lines.size()) - 1) / 2;
        source(c);
        // Small print is drawn unsmoothed on whole pixels, as the platform's
        // own text is: crisp at panel sizes, and a legend cut out of a plate
        // and the same legend lit below it cover the same pixels.
        bool small = size < 12 && s.rotation == 0;
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, small ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, small ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
        for (size_t i = 0; i < lines.size(); ++i) {
            cairo_text_extents_t e;
            cairo_text_extents(cr_, lines[i].c_str(), &e);
            double dx = s.align == 'l' ? 0 : s.align == 'r' ? -e.x_advance : -e.x_advance / 2;
            cairo_save(cr_);
            cairo_translate(cr_, x, top + pitch * static_cast<double>(i));
            if (s.rotation != 0) cairo_rotate(cr_, s.rotation * PI / 180);
            if (small) {
                double ux = dx, uy = cap / 2;
                cairo_user_to_device(cr_, &ux, &uy);
                ux = std::round(ux);
                uy = std::round(uy);
                cairo_device_to_user(cr_, &ux, &uy);
                cairo_move_to(cr_, ux, uy);
                cairo_show_text(cr_, lines[i].c_str());
            } else {
                cairo_move_to(cr_, dx, cap / 2);
                cairo_text_path(cr_, lines[i].c_str());
                cairo_fill(cr_);
            }
            cairo_restore(cr_);
        }
    }

    // -------------------------------------------------------- dials

    void set_dial(const std::vector<std::string>& w) {
        dial_ = Dial{};
        if (w.size() == 2) {
            int bitmap = job_.block_base + static_cast<int>(number(w[1]));
            const NeedleElement* n = find_needle(*job_.gauge, bitmap);
            if (!n) fail("no needle of this gauge shows bitmap offset " + w[1]);
            dial_.cx = n->centre_x;
            dial_.cy = n->centre_y;
            dial_.table = n->scale;
            dial_.count = n->scale_count;
            if (!dial_.table) fail("the needle of offset " + w[1] + " has no scale table: give dial CX CY A0 K");
        } else if (w.size() == 5) {
            dial_.cx = number(w[1]);
            dial_.cy = number(w[2]);
            dial_.a0 = number(w[3]);
            dial_.k = number(w[4]);
        } else {
            fail("dial NEEDLE | dial CX CY A0 K");
        }
        dial_.set = true;
    }

    // The dial centre in the coordinates of the lines (a needle's is in gauge
    // pixels: a face not at 0,0 draws its marks after `origin gauge`).
    double dial_x() { return dial_.cx; }
    double dial_y() { return dial_.cy; }

    // The direction (radians, 0 right, clockwise) a needle points for value v.
    double angle_of(double v) {
        if (!dial_.set) fail("no dial line before marks");
        if (!dial_.table) return (dial_.a0 + dial_.k * v) * PI / 180;
        const ScalePoint* t = dial_.table;
        double px = t[0].x, py = t[0].y;
        for (int i = 1; i < dial_.count; ++i) {
            if (v <= t[i].value || i == dial_.count - 1) {
                double span = t[i].value - t[i - 1].value;
                double f = span != 0 ? std::clamp((v - t[i - 1].value) / span, 0.0, 1.0) : 1.0;
                px = t[i - 1].x + (t[i].x - t[i - 1].x) * f;
                py = t[i - 1].y + (t[i].y - t[i - 1].y) * f;
                break;
            }
        }
        return std::atan2(py - dial_.cy, px - dial_.cx);
    }

    void dial_text(double v, double r, double size, const Rgba& c, const std::string& t, const TextStyle& s) {
        double a = angle_of(v);
        text(dial_x() + r * std::cos(a), dial_y() + r * std::sin(a), size, c, t, s);
    }

    // -------------------------------------------------------- needles

    void pointer(const std::vector<std::string>& w) {
        need(w, 4, "pointer LENGTH WIDTH C [tail T] [taper|bar|bug|double]");
        double length = number(w[1]), width = number(w[2]);
        Rgba c = colour(w[3]);
        double tail = 0;
        std::string shape = "taper";
        for (size_t i = 4; i < w.size(); ++i) {
            if (w[i] == "tail" && i + 1 < w.size()) tail = number(w[++i]);
            else shape = w[i];
        }
        double h = width / 2;
        cairo_new_path(cr_);
        if (shape == "taper") {
            cairo_move_to(cr_, -tail, -h);
            cairo_line_to(cr_, length - width * 1.5, -h * 0.8);
            cairo_line_to(cr_, length, 0);
            cairo_line_to(cr_, length - width * 1.5, h * 0.8);
            cairo_line_to(cr_, -tail, h);
            cairo_close_path(cr_);
        } else if (shape == "bar") {
            cairo_rectangle(cr_, -tail, -h, length + tail, width);
        } else if (shape == "bug") {
            // A bug at the dial's edge: a notched block from length - width*2 out.
            double a = length - width * 1.6;
            cairo_move_to(cr_, a, -h);
            cairo_line_to(cr_, length, -h);
            cairo_line_to(cr_, length, h);
            cairo_line_to(cr_, a, h);
            cairo_line_to(cr_, a + width * 0.6, 0);
            cairo_close_path(cr_);
        } else if (shape == "double") {
            double gap = width * 0.9;
            cairo_rectangle(cr_, -tail, -gap - 1, length - 8 + tail, 2);
            cairo_rectangle(cr_, -tail, gap - 1, length - 8 + tail, 2);
            cairo_move_to(cr_, length - 10, -gap - 2);
            cairo_line_to(cr_, length, 0);
            cairo_line_to(cr_, length - 10, gap + 2);
            cairo_close_path(cr_);
        } else {
            fail("unknown pointer shape '" + shape + "'");
        }
        source(c);
        cairo_fill(cr_);
    }

    // -------------------------------------------------------- panel parts

    // A toggle lever seen from the front: its nut, and the lever pointing up
    // or down (or straight at the viewer in the centre).
    void toggle(double x, double y, double up) {
        circle(x, y, 7, colour("nut_edge"));
        circle(x, y, 5.5, colour("nut"));
        if (up < 0) {
            circle(x, y, 4, colour("lever_tip"));
            circle(x - 1, y - 1, 1.5, colour("lever_shine"));
            return;
        }
        double dir = up > 0 ? -1 : 1;
        cairo_new_path(cr_);
        cairo_move_to(cr_, x - 2.5, y);
        cairo_line_to(cr_, x - 3.5, y + dir * 13);
        cairo_line_to(cr_, x + 3.5, y + dir * 13);
        cairo_line_to(cr_, x + 2.5, y);
        cairo_close_path(cr_);
        source(colour("lever"));
        cairo_fill(cr_);
        circle(x, y + dir * 14, 4.2, colour("lever_tip"));
        circle(x - 1.2, y + dir * 14 - 1.2, 1.5, colour("lever_shine"));
    }

    // A rotary knob: skirt, grip and the white line that points at angle a;
    // a bar knob has a grip across it, turned with the line.
    void knob(double x, double y, double r, double a, const Rgba& c, bool bar) {
        circle(x, y, r, colour("knob_edge"));
        circle(x, y, r - 1.5, c);
        double rad = (a - 90) * PI / 180;
        if (bar) {
            cairo_save(cr_);
            cairo_translate(cr_, x, y);
            cairo_rotate(cr_, rad);
            box_path(-r + 0.5, -r * 0.32, 2 * r - 1, r * 0.64, r * 0.2);
            source(colour("knob_edge"));
            cairo_fill(cr_);
            box_path(-r + 1.5, -r * 0.32 + 1, 2 * r - 3, r * 0.64 - 2, r * 0.15);
            source(c);
            cairo_fill(cr_);
            cairo_restore(cr_);
        }
        cairo_new_path(cr_);
        cairo_move_to(cr_, x + 0.25 * r * std::cos(rad), y + 0.25 * r * std::sin(rad));
        cairo_line_to(cr_, x + (r - 1) * std::cos(rad), y + (r - 1) * std::sin(rad));
        cairo_set_line_width(cr_, std::max(1.5, r / 5));
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        source(colour("knob_mark"));
        cairo_stroke(cr_);
    }

    // A page of the checklist from the checklist text table: one item a line,
    // numbered from FIRST, item and setting joined by a dotted leader, the
    // completion line last; `blank K` leaves a line free after item K.
    void checklist(const std::vector<std::string>& w) {
        need(w, 8, "checklist NAME X Y PITCH SIZE C FIRST [blank K]...");
        if (!job_.checklist_rows) fail("no checklist text table given (--sounds)");
        std::string name = w[1];
        double x = number(w[2]), y = number(w[3]), pitch = number(w[4]), size = number(w[5]);
        Rgba c = colour(w[6]);
        int first = static_cast<int>(number(w[7]));
        std::vector<int> blanks;
        for (size_t i = 8; i + 1 < w.size(); i += 2)
            if (w[i] == "blank") blanks.push_back(static_cast<int>(number(w[i + 1])));
        std::vector<std::string> items;
        for (int row = 2; row < 100; ++row) {
            char key[96];
            std::snprintf(key, sizeof key, "Checklist_%s_%02d", name.c_str(), row);
            auto it = job_.checklist_rows->find(key);
            if (it == job_.checklist_rows->end()) break;
            items.push_back(it->second);
        }
        if (items.empty()) fail("no rows Checklist_" + name + "_NN in the checklist text table");
        double right = width_ - 8;
        int line = 0;
        TextStyle plain;
        plain.align = 'l';
        TextStyle number_style = plain;
        number_style.align = 'r';
        TextStyle setting = plain;
        setting.align = 'r';
        setting.bold = true;
        for (size_t i = 0; i < items.size(); ++i) {
            int item = static_cast<int>(i) + 1;
            double ly = y + pitch * line;
            char label[16];
            std::snprintf(label, sizeof label, "%d", first + item - 1);
            text(x + 14, ly, size, c, label, number_style);
            const std::string& t = items[i];
            size_t dots = t.find(" ... ");
            if (dots == std::string::npos) {
                TextStyle done = plain;
                done.bold = true;
                text(x + 22, ly, size, c, t, done);
            } else {
                std::string what = t.substr(0, dots), value = t.substr(dots + 5);
                for (char& ch : value) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
                text(x + 22, ly, size, c, what, plain);
                cairo_text_extents_t a, b;
                cairo_select_font_face(cr_, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr_, size);
                cairo_text_extents(cr_, what.c_str(), &a);
                cairo_select_font_face(cr_, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
                cairo_text_extents(cr_, value.c_str(), &b);
                double from = x + 22 + a.x_advance + 4, to = right - b.x_advance - 4;
                source(c);
                for (double dx = from; dx < to; dx += 4) {
                    cairo_rectangle(cr_, std::round(dx), std::round(ly + size * 0.3), 1, 1);
                }
                cairo_fill(cr_);
                text(right, ly, size, c, value, setting);
            }
            ++line;
            if (std::find(blanks.begin(), blanks.end(), item) != blanks.end()) ++line;
        }
    }

    // -------------------------------------------------------- out

    // Pixels at least half covered are the image; the rest is transparent
    // black. Kept colours are the drawing over black, and never quite black
    // (at least 8 in a channel), so the 5-bit colours of the simulator do not
    // turn them transparent.
    void finish(Image* out) {
        cairo_surface_flush(surface_);
        out->width = width_;
        out->height = height_;
        out->rgb.assign(static_cast<size_t>(width_) * height_ * 3, 0);
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        int stride = cairo_image_surface_get_stride(surface_);
        for (int y = 0; y < height_; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < width_; ++x) {
                uint32_t p = row[x];
                int a = static_cast<int>(p >> 24), r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
                if (a < 128) continue;
                if (r < 8 && g < 8 && b < 8) r = g = b = 8;
                uint8_t* o = &out->rgb[(static_cast<size_t>(y) * width_ + x) * 3];
                o[0] = static_cast<uint8_t>(r);
                o[1] = static_cast<uint8_t>(g);
                o[2] = static_cast<uint8_t>(b);
            }
        }
    }

    const ImageJob& job_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    int width_ = 0, height_ = 0;
    bool needle_ = false;
    Dial dial_;
};

}  // namespace

bool paint_image(const ImageJob& job, Image* image, std::string* error) {
    try {
        Painter painter(job);
        painter.run(image);
    } catch (const Failure& f) {
        *error = f.located ? f.message : job.description->where + ": " + f.message;
        return false;
    }
    return true;
}
