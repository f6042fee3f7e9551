// The attitude display's frame routine: paints the whole picture into the
// off-screen surface and copies it into the host's image. Everything is
// redrawn each frame; only the mode change boxes remember earlier frames.
//
// Positions are grid units (214 x 173) scaled to the gauge's pixels and
// truncated. Elements that move with the attitude sphere go through the
// attitude transform (eadi_sphere_point): lowered by the pitch, turned by
// the bank, scaled, moved to the sphere's centre.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "eadi/eadi_state.h"
#include "frame/host_ops.h"

namespace {

constexpr double DEGREES = 3.14159265358979323846 / 180.0;

struct GridPoint {
    double x, y;
};

// An open polyline of up to five grid points.
struct GridPolyline {
    int count;
    GridPoint points[5];
};

// The roll scale above the sphere: ticks at 10, 20, 30 and 45 degrees and
// the triangles at 0 and 60 degrees.
const GridPolyline roll_scale[] = {
    {2, {{55, 56}, {52, 55}}},
    {4, {{64, 42}, {58, 41}, {63, 36}, {64, 42}}},
    {2, {{78, 33}, {75, 27}}},
    {2, {{86, 29}, {85, 26}}},
    {2, {{97, 26}, {97, 23}}},
    {4, {{107, 25}, {103, 19}, {111, 19}, {107, 25}}},
    {2, {{117, 26}, {117, 23}}},
    {2, {{128, 29}, {129, 26}}},
    {2, {{136, 33}, {139, 27}}},
    {4, {{150, 42}, {151, 36}, {156, 41}, {150, 42}}},
    {2, {{159, 56}, {162, 55}}},
};

const GridPolyline aircraft_wings[] = {
    {5, {{56, 83}, {64, 83}, {64, 87}, {56, 87}, {56, 83}}},
    {5, {{156, 83}, {148, 83}, {148, 87}, {156, 87}, {156, 83}}},
};

const GridPolyline lateral_mode_box = {5, {{46, 8}, {85, 8}, {85, 23}, {46, 23}, {46, 8}}};
const GridPolyline vertical_mode_box = {5, {{175, 8}, {212, 8}, {212, 23}, {175, 23}, {175, 8}}};
const GridPolyline decision_height_box = {5, {{146, 154}, {146, 170}, {168, 170}, {168, 154}, {146, 154}}};
const GridPolyline marker_box = {5, {{165, 131}, {165, 147}, {180, 147}, {180, 131}, {165, 131}}};

// Red chevrons far up and down the sphere that point back to the horizon.
const GridPolyline pitch_chevrons[] = {
    {3, {{10, 116}, {0, 146}, {-10, 116}}},
    {3, {{10, 146}, {0, 176}, {-10, 146}}},
    {3, {{10, -110}, {0, -140}, {-10, -110}}},
    {3, {{10, -140}, {0, -170}, {-10, -140}}},
};

// Ladder numbers: text and sphere position of the right-hand one; the
// left-hand one sits at x = -28. Negative y is above the horizon.
const struct {
    const char* text;
    double y;
} ladder_numbers[] = {{"10", -30}, {"20", -54}, {"30", -78}, {"40", -102},
                      {"10", 17},  {"20", 41},  {"30", 65},  {"40", 89}};

const GridPoint roll_pointer[3] = {{0, -60}, {-4, -51}, {4, -51}};
const GridPoint director_left[3] = {{-3, -2}, {-35, 5}, {-33, 10}};
const GridPoint director_right[3] = {{3, -2}, {35, 5}, {33, 10}};

double variable(EadiVariable v) { return host_variable_value(&eadi.variables[v]); }

// The marker beacon comes as a whole number in the first 32 bits of the value field.
int32_t variable_int(EadiVariable v) { return host_variable_int(&eadi.variables[v]); }

const EadiGeometry& geometry() { return eadi.geometry; }

DrawPoint grid(double x, double y) { return eadi_point(geometry(), x, y); }

void text_at(DrawContext* c, double x, double y, const char* text) {
    DrawPoint p = grid(x, y);
    draw_text(c, p.x, p.y, text, int32_t(std::strlen(text)));
}

void text_style(DrawContext* c, DrawAlign align, DrawColour colour, EadiFont font) {
    draw_set_text_align(c, align);
    draw_set_text_colour(c, colour);
    draw_select_font(c, eadi.fonts[font]);
}

void outline(DrawContext* c, const GridPolyline& line, double dy = 0) {
    DrawPoint points[5];
    for (int i = 0; i < line.count; ++i) points[i] = grid(line.points[i].x, line.points[i].y + dy);
    draw_polyline(c, points, line.count);
}

void sphere_line(DrawContext* c, const EadiAttitude& a, double x1, double x2, double y) {
    DrawPoint from = eadi_sphere_point(a, x1, y), to = eadi_sphere_point(a, x2, y);
    draw_move_to(c, from.x, from.y);
    draw_line_to(c, to.x, to.y);
}

void sphere_polygon(DrawContext* c, const EadiAttitude& a, const GridPoint* points, int count) {
    DrawPoint pixels[4];
    for (int i = 0; i < count; ++i) pixels[i] = eadi_sphere_point(a, points[i].x, points[i].y);
    draw_polygon(c, pixels, count);
}

void copy_to_image() {
    HostImage* image = eadi.image;
    if (!image || !image->pixels) return;
    draw_surface_copy_rows(eadi.surface, reinterpret_cast<uint8_t*>(image->pixels), image->pitch,
                           image->width, image->height - 1);
}

void fill_black(DrawContext* c) {
    draw_select_pen(c, eadi.pens[PEN_BLACK]);
    draw_select_brush(c, eadi.brushes[BRUSH_BLACK]);
    draw_rectangle(c, 0, 0, int32_t(geometry().width), int32_t(geometry().height));
}

// ------------------------------------------------------------ fixed parts

void draw_glideslope(DrawContext* c) {
    if (variable(EADI_GS_FLAG) != 1.0) return;
    draw_select_pen(c, eadi.pens[PEN_GREEN]);
    draw_select_brush(c, eadi.brushes[BRUSH_BLACK]);
    const double dots[4][2] = {{55, 61}, {69, 75}, {95, 101}, {109, 115}};
    for (const auto& dot : dots) {
        DrawPoint a = grid(170, dot[0]), b = grid(176, dot[1]);
        draw_ellipse(c, a.x, a.y, b.x, b.y);
    }
    DrawPoint a = grid(168, 83), b = grid(178, 87);
    draw_rectangle(c, a.x, a.y, b.x, b.y);

    double v = variable(EADI_GS_DEVIATION) / 3.0;
    draw_set_text_colour(c, EADI_GREEN);
    draw_set_background_colour(c, EADI_BLACK);
    draw_select_font(c, eadi.fonts[FONT_SMALL]);
    text_at(c, 185, 78 + v, "G");
    const GridPoint shape[7] = {{181, 82}, {181, 89}, {187, 94}, {196, 94}, {196, 77}, {187, 77}, {181, 82}};
    DrawPoint points[7];
    for (int i = 0; i < 7; ++i) points[i] = grid(shape[i].x, shape[i].y + v);
    draw_polyline(c, points, 7);
}

void draw_lateral_deviation(DrawContext* c) {
    const double ticks[3] = {80, 105, 130};
    for (double x : ticks) {
        DrawPoint a = grid(x, 150), b = grid(x + 4, 160);
        draw_rectangle(c, a.x, a.y, b.x, b.y);
    }
    bool signal = variable(EADI_GS_FLAG) == 1.0;
    double d = signal ? eadi_lateral_deviation(true, variable(EADI_LOC_DEVIATION), 0)
                      : eadi_lateral_deviation(false, 0, variable(EADI_ALT_DEVIATION));
    const GridPoint shape[5] = {{104, 154}, {100, 164}, {114, 164}, {110, 154}, {104, 154}};
    DrawPoint points[5];
    for (int i = 0; i < 5; ++i) points[i] = grid(shape[i].x + d, shape[i].y);
    draw_polyline(c, points, 5);
}

// Radio altitude, decision height and its alert.
void draw_heights(DrawContext* c) {
    char text[16];
    double ra = eadi_radio_altitude(variable(EADI_ALTITUDE), variable(EADI_GROUND));
    if (ra < EADI_RA_SHOWN_BELOW) {
        ra = eadi_radio_altitude_rounded(ra);
        std::snprintf(text, sizeof text, "%4d", int(ra));
        text_style(c, DRAW_ALIGN_RIGHT, EADI_CYAN, FONT_DIGITS);
        text_at(c, 197, 155, text);
        draw_set_text_colour(c, EADI_WHITE);
        draw_select_font(c, eadi.fonts[FONT_LABEL]);
        text_at(c, 214, 157, "RA");
    }
    double dh = eadi.decision_height;
    if (dh > 10.0) {
        std::snprintf(text, sizeof text, "%4d", int(dh));
        text_style(c, DRAW_ALIGN_RIGHT, EADI_CYAN, FONT_DIGITS);
        text_at(c, 35, 155, text);
        text_style(c, DRAW_ALIGN_LEFT, EADI_WHITE, FONT_LABEL);
        text_at(c, 37, 157, "DH");
    }
    if (eadi_decision_height_alert(ra, dh)) {
        text_style(c, DRAW_ALIGN_LEFT, EADI_AMBER, FONT_MODE);
        text_at(c, 148, 154, "DH");
        if (variable(EADI_GS_FLAG) == 1.0) {
            draw_select_pen(c, eadi.pens[PEN_WHITE]);
            outline(c, decision_height_box);
        }
    }
}

void draw_reference(DrawContext* c) {
    int selection = int(eadi.air_data);
    if (selection != 1 && selection != 2) return;
    char text[16];
    std::snprintf(text, sizeof text, "%4d",
                  int(variable(selection == 1 ? EADI_IAS_REFERENCE : EADI_VS_REFERENCE)));
    text_style(c, DRAW_ALIGN_RIGHT, EADI_CYAN, FONT_DIGITS);
    text_at(c, 35, 135, text);
    text_style(c, DRAW_ALIGN_LEFT, EADI_WHITE, FONT_LABEL);
    text_at(c, 37, 137, selection == 1 ? "KTS" : "FPM");
}

void draw_modes(DrawContext* c) {
    if (variable(EADI_AP_COMMAND) != 0.0) {
        text_style(c, DRAW_ALIGN_LEFT, EADI_GREEN, FONT_LABEL);
        text_at(c, 0, 117, "CMD");
    }
    EadiModes modes = eadi_modes(eadi.lateral_mode, eadi.vertical_mode);
    text_style(c, DRAW_ALIGN_LEFT, EADI_GREEN, FONT_LABEL);
    if (modes.lateral) text_at(c, 50, 10, modes.lateral);
    if (modes.vertical) text_at(c, 180, 10, modes.vertical);
    draw_set_text_colour(c, EADI_WHITE);
    if (modes.lateral_armed) text_at(c, 0, 10, modes.lateral_armed);
    if (modes.glideslope_armed) text_at(c, 140, 10, "GS");

    double now = variable(EADI_TIME);
    draw_select_pen(c, eadi.pens[PEN_WHITE]);
    if (eadi_mode_box_step(&eadi.lateral_box, modes.lateral_index, now)) outline(c, lateral_mode_box);
    if (eadi_mode_box_step(&eadi.vertical_box, modes.vertical_index, now)) outline(c, vertical_mode_box);
}

void draw_marker(DrawContext* c) {
    int32_t marker = variable_int(EADI_MARKER);
    static const struct {
        const char* letter;
        DrawColour colour;
    } markers[3] = {{"O", EADI_CYAN}, {"M", EADI_AMBER}, {"I", EADI_WHITE}};
    draw_set_background_colour(c, EADI_BLACK);
    if (marker >= 1 && marker <= 3) {
        text_style(c, DRAW_ALIGN_LEFT, markers[marker - 1].colour, FONT_MODE);
        text_at(c, 167, 130, markers[marker - 1].letter);
    }
    if (variable(EADI_GS_FLAG) == 1.0 && marker != 0) {
        draw_select_pen(c, eadi.pens[PEN_WHITE]);
        outline(c, marker_box);
    }
}

// ------------------------------------------------------------ the sphere

void draw_sphere(DrawContext* c) {
    const double bank = variable(EADI_BANK);
    const double pitch = variable(EADI_PITCH);
    const EadiAttitude attitude = eadi_attitude(geometry(), pitch, bank);

    const GridPoint sky[4] = {{-100, -400}, {-100, 0}, {100, 0}, {100, -400}};
    const GridPoint ground[4] = {{-100, 0}, {-100, 400}, {100, 400}, {100, 0}};
    draw_select_pen(c, eadi.pens[PEN_SKY]);
    draw_select_brush(c, eadi.brushes[BRUSH_SKY]);
    sphere_polygon(c, attitude, sky, 4);
    draw_select_pen(c, eadi.pens[PEN_GROUND]);
    draw_select_brush(c, eadi.brushes[BRUSH_GROUND]);
    sphere_polygon(c, attitude, ground, 4);

    draw_select_pen(c, eadi.pens[PEN_WHITE]);
    sphere_line(c, attitude, -100, 100, 0);
    for (int step = 1; step <= 9; ++step) {
        double half = step % 2 ? 5 : 10;
        sphere_line(c, attitude, -half, half, -12.0 * step);
        sphere_line(c, attitude, -half, half, 12.0 * step);
    }

    // The roll pointer turns with the bank but stops at 60 degrees either way.
    double pointer_angle = eadi_roll_pointer_angle(bank);
    EadiAttitude pointer = attitude;
    pointer.pitch_offset = 0;
    if (pointer_angle == 60.0) {
        pointer.cos_bank = eadi.cos_plus60, pointer.sin_bank = eadi.sin_plus60;
    } else if (pointer_angle == -60.0) {
        pointer.cos_bank = eadi.cos_minus60, pointer.sin_bank = eadi.sin_minus60;
    }
    draw_select_brush(c, eadi.brushes[BRUSH_WHITE]);
    sphere_polygon(c, pointer, roll_pointer, 3);

    // Ladder numbers in a font turned with the sphere, made for this frame.
    if (eadi.ladder_font) {
        eadi.ladder_font->escapement = eadi.ladder_font->orientation = eadi_ladder_escapement(bank);
        DrawFont* font = draw_font_create(eadi.ladder_font);
        if (font) {
            draw_select_font(c, font);
            draw_set_text_colour(c, EADI_WHITE);
            draw_set_text_align(c, DRAW_ALIGN_LEFT);
            for (const auto& number : ladder_numbers) {
                draw_set_background_colour(c, number.y < 0 ? EADI_SKY : EADI_GROUND_BROWN);
                for (double x : {13.0, -28.0}) {
                    DrawPoint p = eadi_sphere_point(attitude, x, number.y);
                    draw_text(c, p.x, p.y, number.text, 2);
                }
            }
            draw_select_font(c, eadi.fonts[FONT_SMALL]);
            draw_font_delete(font);
        }
    }

    // Aircraft symbol: the two wing bars and the chevron at the centre.
    draw_select_pen(c, eadi.pens[PEN_YELLOW]);
    for (const GridPolyline& wing : aircraft_wings) outline(c, wing);
    const EadiGeometry& g = geometry();
    auto centre = [&](double dx, double dy) {
        return DrawPoint{int32_t(g.cx + dx * g.sx), int32_t(g.cy + dy * g.sy)};
    };
    const DrawPoint chevron[6] = {centre(0, 0),  centre(-25, 10), centre(0, 6),
                                  centre(0, 0),  centre(25, 10),  centre(0, 6)};
    draw_polyline(c, chevron, 6);
    const DrawPoint left_bar[2] = {centre(-25, 10), centre(-9, 10)};
    const DrawPoint right_bar[2] = {centre(25, 10), centre(9, 10)};
    draw_polyline(c, left_bar, 2);
    draw_polyline(c, right_bar, 2);

    // Flight director command bars, unless the crew has cancelled them.
    if (variable(EADI_FD_ON) != 0.0 && eadi.fd_cancel == 0) {
        draw_select_pen(c, eadi.pens[PEN_MAGENTA]);
        draw_select_brush(c, eadi.brushes[BRUSH_MAGENTA]);
        double angle = -(variable(EADI_FD_BANK) - variable(EADI_BANK)) * DEGREES;
        double lower = (variable(EADI_FD_PITCH) - variable(EADI_PITCH)) * g.sy;
        double cos_a = std::cos(angle), sin_a = std::sin(angle);
        for (const GridPoint* bar : {director_left, director_right}) {
            DrawPoint points[3];
            for (int i = 0; i < 3; ++i) {
                double x = bar[i].x * cos_a - bar[i].y * sin_a;
                double y = bar[i].x * sin_a + bar[i].y * cos_a;
                points[i] = DrawPoint{int32_t(x * g.sx + g.cx), int32_t(y * g.sy + g.cy + lower)};
            }
            draw_polygon(c, points, 3);
        }
    }

    draw_select_pen(c, eadi.pens[PEN_RED]);
    for (const GridPolyline& chevron_line : pitch_chevrons) {
        DrawPoint points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = eadi_sphere_point(attitude, chevron_line.points[i].x, chevron_line.points[i].y);
        draw_polyline(c, points, 3);
    }
}

void blank_frame() {
    DrawContext* c = draw_get_context(eadi.surface);
    fill_black(c);
    draw_release_context(eadi.surface, c);
    copy_to_image();
}

}  // namespace

void eadi_frame() {
    if (!eadi.surface) return;
    if (eadi.power_state != 2.0 || eadi.avionics == 0.0) {
        blank_frame();
        return;
    }
    if (draw_surface_is_lost(eadi.surface)) draw_surface_restore(eadi.surface);
    DrawContext* c = draw_get_context(eadi.surface);
    if (!c) return;
    fill_black(c);

    draw_select_pen(c, eadi.pens[PEN_WHITE]);
    for (const GridPolyline& tick : roll_scale) outline(c, tick);

    draw_select_pen(c, eadi.pens[PEN_GREEN]);
    draw_select_brush(c, eadi.brushes[BRUSH_BLACK]);
    draw_glideslope(c);
    draw_lateral_deviation(c);
    draw_set_background_colour(c, EADI_BLACK);
    draw_heights(c);
    draw_reference(c);
    draw_modes(c);
    draw_marker(c);

    draw_clip_to_outline(c, eadi.window, EADI_WINDOW_POINTS);
    draw_sphere(c);

    draw_release_context(eadi.surface, c);
    copy_to_image();
}
