// The horizontal situation display's frame routine: paints the whole
// picture into the off-screen surface and copies it into the host's image.
//
// Two modes: the full compass rose about the display's centre, or an
// expanded arc about a centre 54 units lower, clipped to the display window.
// The readouts around the edge are the same in both. Symbols that turn
// (rose, course pointer, bearing needles, heading marker) are given in local
// grid units about the rose's centre and turned by their angle.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "ehsi/ehsi_state.h"
#include "frame/host_ops.h"

namespace {

struct GridPoint {
    double x, y;
};

struct RoseLetter {
    const char* text;
    double bearing;
    GridPoint full, arc;   // position in the full rose and on the arc
};

const RoseLetter rose_letters[12] = {
    {"N", 0, {-3, -53}, {-3, -108}},   {"3", 30, {24, -48}, {51, -94}},
    {"6", 60, {46, -30}, {91, -56}},   {"E", 90, {53, -3}, {108, -3}},
    {"12", 120, {50, 21}, {97, 48}},   {"15", 150, {35, 44}, {60, 90}},
    {"S", 180, {5, 54}, {5, 109}},     {"21", 210, {-20, 51}, {-49, 95}},
    {"24", 240, {-42, 34}, {-90, 60}}, {"W", 270, {-53, 6}, {-108, 6}},
    {"30", 300, {-49, -20}, {-95, -49}}, {"33", 330, {-32, -43}, {-59, -90}},
};

// A bearing needle: the head line, a mark (needle 1 a circle of radius 6 at
// mark[0]; needle 2 a diamond through all five), the two side lines and the tail.
struct NeedleShape {
    GridPoint head[2];
    GridPoint mark[5];
    double side_from, side_to;   // y of both side lines at x = +-5
    GridPoint tail[2];
};

// Everything that differs between the full rose and the arc.
struct ModeShapes {
    double centre_drop;              // grid units below the display's centre
    double tick_long, tick_short, tick_outer;   // radii; long ticks every 10 degrees
    GridPoint course_head[8];
    GridPoint course_tail[6];
    NeedleShape needle1, needle2;
    GridPoint heading_marker[7];
};

const ModeShapes full_mode = {
    0,
    55, 59, 63,
    {{0, -51}, {5, -46}, {2, -46}, {2, -17}, {0, -19}, {-2, -17}, {-2, -46}, {-5, -46}},
    {{0, 49}, {2, 51}, {2, 19}, {0, 17}, {-2, 19}, {-2, 51}},
    {{{0, -53}, {0, -39}}, {{0, -34}}, -33, -18, {{0, 53}, {0, 28}}},
    {{{0, -53}, {0, -39}}, {{0, -39}, {5, -34}, {0, -29}, {-5, -34}, {0, -39}}, -33, -18, {{0, 53}, {0, 28}}},
    {{10, -65}, {10, -70}, {4, -70}, {0, -65}, {-4, -70}, {-10, -70}, {-10, -65}},
};

const ModeShapes arc_mode = {
    54,
    108, 115, 118,
    {{0, -91}, {5, -86}, {2, -86}, {2, -17}, {0, -19}, {-2, -17}, {-2, -86}, {-5, -86}},
    {{0, 39}, {2, 41}, {2, 19}, {0, 17}, {-2, 19}, {-2, 41}},
    {{{0, -105}, {0, -86}}, {{0, -81}}, -80, -65, {{0, 105}, {0, 65}}},
    {{{0, -105}, {0, -87}}, {{0, -86}, {5, -81}, {0, -76}, {-5, -81}, {0, -86}}, -80, -65, {{0, 105}, {0, 65}}},
    {{10, -120}, {10, -125}, {4, -125}, {0, -120}, {-4, -125}, {-10, -125}, {-10, -120}},
};

const GridPoint deviation_bar[6] = {{0, 15}, {2, 17}, {2, -15}, {0, -17}, {-2, -15}, {-2, 17}};
const double deviation_dots[4] = {-30, -15, 30, 15};

const GridPoint aircraft_symbol[15] = {{107, 78}, {106, 82}, {106, 85}, {98, 89},  {106, 88},
                                       {106, 93}, {103, 96}, {107, 95}, {111, 96}, {108, 93},
                                       {108, 88}, {116, 89}, {108, 85}, {108, 82}, {107, 78}};
const GridPoint to_triangle[4] = {{102, 73}, {112, 73}, {107, 63}, {102, 73}};
const GridPoint from_triangle[4] = {{102, 102}, {112, 102}, {107, 112}, {102, 102}};

const GridPoint outer_arc[20] = {{18, 62},  {29, 51},  {38, 44},  {44, 40},  {51, 36},
                                 {61, 31},  {69, 28},  {75, 26},  {83, 24},  {97, 22},
                                 {117, 22}, {131, 24}, {139, 26}, {145, 28}, {153, 31},
                                 {163, 36}, {170, 40}, {176, 44}, {185, 51}, {196, 62}};
const GridPoint inner_arc[14] = {{57, 119},  {60, 113},  {64, 107},  {74, 97},  {82, 92},
                                 {91, 88},   {100, 86},  {114, 86},  {123, 88}, {132, 92},
                                 {140, 97},  {150, 107}, {154, 113}, {157, 119}};
const GridPoint heading_box[4] = {{92, 4}, {92, 13}, {122, 13}, {122, 4}};
const GridPoint lubber_line[2] = {{107, 13}, {107, 22}};
const GridPoint left_arrow[3] = {{29, 45}, {22, 52}, {25, 52}};
const GridPoint left_arrow_barb[2] = {{22, 52}, {22, 49}};
const GridPoint right_arrow[3] = {{185, 45}, {192, 52}, {189, 52}};
const GridPoint right_arrow_barb[2] = {{192, 52}, {192, 49}};

// ------------------------------------------------------------ helpers

double variable(EhsiVariable v) { return host_variable_value(&ehsi.variables[v]); }

// Receiver flags and to/from values come as a whole number in the first
// 32 bits of the value field.
int32_t variable_int(EhsiVariable v) { return host_variable_int(&ehsi.variables[v]); }

const EhsiGeometry& geometry() { return ehsi.geometry; }

DrawPoint grid(double x, double y) { return ehsi_point(geometry(), x, y); }

void text_at(DrawContext* c, double x, double y, const char* text, size_t most = 64) {
    DrawPoint p = grid(x, y);
    size_t length = std::strlen(text);
    draw_text(c, p.x, p.y, text, int32_t(length < most ? length : most));
}

void text_style(DrawContext* c, DrawAlign align, DrawColour colour, EhsiFont font) {
    draw_set_text_align(c, align);
    draw_set_text_colour(c, colour);
    draw_select_font(c, ehsi.fonts[font]);
}

// A fixed polyline, `drop` grid units lower.
void fixed_line(DrawContext* c, const GridPoint* points, int count, double drop = 0) {
    DrawPoint pixels[20];
    for (int i = 0; i < count; ++i) pixels[i] = grid(points[i].x, points[i].y + drop);
    draw_polyline(c, pixels, count);
}

void turned_line(DrawContext* c, const EhsiTurn& t, const GridPoint* points, int count) {
    DrawPoint pixels[8];
    for (int i = 0; i < count; ++i) pixels[i] = ehsi_turned(t, points[i].x, points[i].y);
    draw_polyline(c, pixels, count);
}

void turned_polygon(DrawContext* c, const EhsiTurn& t, const GridPoint* points, int count, double shift_x = 0) {
    DrawPoint pixels[8];
    for (int i = 0; i < count; ++i) pixels[i] = ehsi_turned(t, points[i].x + shift_x, points[i].y);
    draw_polygon(c, pixels, count);
}

// A circle of `radius` grid units about a turned point.
void turned_circle(DrawContext* c, const EhsiTurn& t, GridPoint centre, double radius) {
    DrawPoint p = ehsi_turned(t, centre.x, centre.y);
    const EhsiGeometry& g = geometry();
    draw_ellipse(c, int32_t(p.x - radius * g.sx), int32_t(p.y - radius * g.sy),
                 int32_t(p.x + radius * g.sx), int32_t(p.y + radius * g.sy));
}

void copy_to_image() {
    HostImage* image = ehsi.image;
    if (!image || !image->pixels) return;
    draw_surface_copy_rows(ehsi.surface, reinterpret_cast<uint8_t*>(image->pixels), image->pitch,
                           image->width, image->height - 1);
}

void fill_black(DrawContext* c) {
    draw_select_pen(c, ehsi.pens[PEN_BLACK]);
    draw_select_brush(c, ehsi.brushes[BRUSH_BLACK]);
    draw_rectangle(c, 0, 0, int32_t(geometry().width), int32_t(geometry().height));
}

// ------------------------------------------------------------ the selected NAV

struct NavInputs {
    int receiver;         // 1 or 2
    double course;
    int32_t flags;
    int32_t to_from;
    double deviation;
    double distance;
    double ground_speed;
};

NavInputs selected_nav() {
    NavInputs n{};
    n.receiver = ehsi_nav_receiver(ehsi.nav_selection);
    bool one = n.receiver == 1;
    n.course = variable(one ? EHSI_NAV1_COURSE : EHSI_NAV2_COURSE);
    n.flags = variable_int(one ? EHSI_NAV1_FLAGS : EHSI_NAV2_FLAGS);
    n.to_from = variable_int(one ? EHSI_NAV1_TO_FROM : EHSI_NAV2_TO_FROM);
    n.deviation = variable(one ? EHSI_NAV1_DEVIATION : EHSI_NAV2_DEVIATION);
    n.distance = variable(one ? EHSI_DME1_DISTANCE : EHSI_DME2_DISTANCE);
    n.ground_speed = variable(one ? EHSI_DME1_SPEED : EHSI_DME2_SPEED);
    return n;
}

// ------------------------------------------------------------ readouts

void draw_readouts(DrawContext* c, const NavInputs& nav) {
    char text[32];
    draw_set_background_colour(c, EHSI_BLACK);

    // Ground speed or time to go, lower right.
    text_style(c, DRAW_ALIGN_RIGHT, EHSI_WHITE, FONT_LABEL);
    if (ehsi.speed_selection == 1.0) {
        text_at(c, 214, 143, "GSPD");
        text_at(c, 214, 158, "KTS");
        ehsi_speed_text(text, sizeof text, nav.ground_speed);
    } else {
        text_at(c, 214, 143, "TTG");
        text_at(c, 214, 158, "MIN");
        ehsi_time_to_go_text(text, sizeof text, nav.distance, nav.ground_speed);
    }
    text_style(c, DRAW_ALIGN_RIGHT, EHSI_CYAN, FONT_DIGITS);
    text_at(c, 190, 156, text, 5);

    // NAV source and DME distance, upper right.
    text_style(c, DRAW_ALIGN_RIGHT, EHSI_WHITE, FONT_LABEL);
    text_at(c, 196, 0, ehsi_nav_title(nav.receiver, nav.flags));
    ehsi_distance_text(text, sizeof text, nav.distance);
    text_style(c, DRAW_ALIGN_RIGHT, EHSI_CYAN, FONT_DIGITS);
    text_at(c, 196, 15, text, 5);
    text_style(c, DRAW_ALIGN_RIGHT, EHSI_WHITE, FONT_LABEL);
    text_at(c, 214, 17, "NM");

    // Course, upper left; selected heading, lower left.
    text_style(c, DRAW_ALIGN_LEFT, EHSI_WHITE, FONT_LABEL);
    text_at(c, 0, 0, "CRS");
    std::snprintf(text, sizeof text, "%03d", int(nav.course));
    text_style(c, DRAW_ALIGN_LEFT, EHSI_YELLOW, FONT_LARGE);
    text_at(c, 0, 13, text);
    text_style(c, DRAW_ALIGN_LEFT, EHSI_WHITE, FONT_LABEL);
    text_at(c, 0, 143, "HDG");
    std::snprintf(text, sizeof text, "%03d", int(variable(EHSI_SELECTED_HEADING)));
    text_style(c, DRAW_ALIGN_LEFT, EHSI_CYAN, FONT_LARGE);
    text_at(c, 0, 156, text);

    // Bearing needle legends with their symbols.
    text_style(c, DRAW_ALIGN_LEFT, EHSI_WHITE, FONT_LABEL);
    int needle2 = int(ehsi.needle2_selection), needle1 = int(ehsi.needle1_selection);
    if (ehsi.needle2_selection == 1.0 || ehsi.needle2_selection == 2.0)
        text_at(c, 0, 125, needle2 == 1 ? "VOR2" : "ADF2");
    if (ehsi.needle2_selection != 0.0) {
        DrawPoint p = grid(15, 117);
        const DrawPoint diamond[4] = {{p.x, p.y - 4}, {p.x + 4, p.y}, {p.x, p.y + 4}, {p.x - 4, p.y}};
        draw_select_pen(c, ehsi.pens[PEN_GREEN]);
        draw_select_brush(c, ehsi.brushes[BRUSH_GREEN]);
        draw_polygon(c, diamond, 4);
    }
    if (ehsi.needle1_selection == 1.0 || ehsi.needle1_selection == 2.0)
        text_at(c, 0, 95, needle1 == 1 ? "VOR1" : "ADF1");
    if (ehsi.needle1_selection != 0.0) {
        DrawPoint p = grid(15, 88);
        draw_select_pen(c, ehsi.pens[PEN_CYAN_2ND]);
        draw_select_brush(c, ehsi.brushes[BRUSH_CYAN_2ND]);
        draw_ellipse(c, p.x - 4, p.y - 4, p.x + 4, p.y + 4);
    }
}

// ------------------------------------------------------------ the rose and its symbols

void draw_rose(DrawContext* c, const ModeShapes& shapes, double heading, double centre_x, double centre_y) {
    draw_select_pen(c, ehsi.pens[PEN_WHITE]);
    EhsiTurn rose = ehsi_turn(geometry(), -heading, centre_x, centre_y);
    for (int k = 0; k < 72; ++k) {
        double inner = k % 2 == 0 ? shapes.tick_long : shapes.tick_short;
        EhsiGridPoint from = ehsi_tick_end(inner, k * 5.0), to = ehsi_tick_end(shapes.tick_outer, k * 5.0);
        DrawPoint a = ehsi_scaled_then_turned(rose, from.x, from.y);
        DrawPoint b = ehsi_scaled_then_turned(rose, to.x, to.y);
        draw_move_to(c, a.x, a.y);
        draw_line_to(c, b.x, b.y);
    }
    if (!ehsi.letter_font) return;
    draw_set_text_colour(c, EHSI_WHITE);
    draw_set_text_align(c, DRAW_ALIGN_LEFT);
    for (const RoseLetter& letter : rose_letters) {
        ehsi.letter_font->escapement = ehsi.letter_font->orientation =
            ehsi_letter_escapement(heading, letter.bearing);
        DrawFont* font = draw_font_create(ehsi.letter_font);
        draw_select_font(c, font);
        const GridPoint& at = shapes.centre_drop == 0 ? letter.full : letter.arc;
        DrawPoint p = ehsi_turned(rose, at.x, at.y);
        draw_text(c, p.x, p.y, letter.text, int32_t(std::strlen(letter.text)));
        draw_select_font(c, ehsi.fonts[FONT_SMALL]);
        draw_font_delete(font);
    }
}

void draw_deviation_dots(DrawContext* c, const EhsiTurn& course) {
    draw_select_pen(c, ehsi.pens[PEN_WHITE]);
    draw_select_brush(c, ehsi.brushes[BRUSH_BLACK]);
    for (double x : deviation_dots) turned_circle(c, course, GridPoint{x, 0}, 3);
}

void draw_course_pointer(DrawContext* c, const ModeShapes& shapes, const EhsiTurn& course, double deviation) {
    draw_select_pen(c, ehsi.pens[PEN_YELLOW]);
    draw_select_brush(c, ehsi.brushes[BRUSH_YELLOW]);
    turned_polygon(c, course, shapes.course_head, 8);
    turned_polygon(c, course, shapes.course_tail, 6);
    turned_polygon(c, course, deviation_bar, 6, deviation * 0.25);
}

void draw_needle(DrawContext* c, const NeedleShape& needle, bool circle, EhsiPen pen, const EhsiTurn& t) {
    draw_select_pen(c, ehsi.pens[pen]);
    draw_select_brush(c, ehsi.brushes[BRUSH_BLACK]);
    turned_line(c, t, needle.head, 2);
    if (circle)
        turned_circle(c, t, needle.mark[0], 6);
    else
        turned_line(c, t, needle.mark, 5);
    for (double x : {5.0, -5.0}) {
        const GridPoint side[2] = {{x, needle.side_from}, {x, needle.side_to}};
        turned_line(c, t, side, 2);
    }
    turned_line(c, t, needle.tail, 2);
}

struct Needles {
    bool one, two;
    double angle1, angle2;
};

Needles needle_directions(double heading) {
    Needles n{};
    n.one = ehsi_needle1_angle(int(ehsi.needle1_selection), variable_int(EHSI_NAV1_FLAGS),
                               variable(EHSI_NAV1_RADIAL), heading, variable(EHSI_ADF_BEARING), &n.angle1);
    n.two = ehsi_needle2_angle(int(ehsi.needle2_selection), variable(EHSI_NAV2_BEARING),
                               variable(EHSI_ADF_BEARING), &n.angle2);
    return n;
}

// The turning symbols of either mode, about the mode's centre.
void draw_symbols(DrawContext* c, const ModeShapes& shapes, const NavInputs& nav, double heading,
                  double centre_x, double centre_y) {
    const EhsiGeometry& g = geometry();
    EhsiTurn course = ehsi_turn(g, nav.course - heading, centre_x, centre_y);
    draw_course_pointer(c, shapes, course, nav.deviation);
    Needles needles = needle_directions(heading);
    if (needles.one)
        draw_needle(c, shapes.needle1, true, PEN_CYAN_WIDE, ehsi_turn(g, needles.angle1, centre_x, centre_y));
    if (needles.two)
        draw_needle(c, shapes.needle2, false, PEN_GREEN_WIDE, ehsi_turn(g, needles.angle2, centre_x, centre_y));
    draw_select_pen(c, ehsi.pens[PEN_CYAN_WIDE]);
    EhsiTurn marker = ehsi_turn(g, variable(EHSI_SELECTED_HEADING) - heading, centre_x, centre_y);
    turned_line(c, marker, shapes.heading_marker, 7);
}

void draw_aircraft_and_to_from(DrawContext* c, const NavInputs& nav, double drop) {
    draw_select_pen(c, ehsi.pens[PEN_WHITE]);
    fixed_line(c, aircraft_symbol, 15, drop);
    if (ehsi_is_localizer(nav.flags)) return;
    if (nav.to_from == 1) fixed_line(c, to_triangle, 4, drop);
    if (nav.to_from == 2) fixed_line(c, from_triangle, 4, drop);
}

void draw_full_mode(DrawContext* c, const NavInputs& nav) {
    const EhsiGeometry& g = geometry();
    double heading = variable(EHSI_HEADING);
    draw_rose(c, full_mode, heading, g.cx, g.cy);
    draw_aircraft_and_to_from(c, nav, 0);
    draw_deviation_dots(c, ehsi_turn(g, nav.course - heading, g.cx, g.cy));
    draw_symbols(c, full_mode, nav, heading, g.cx, g.cy);
}

void draw_arc_mode(DrawContext* c, const NavInputs& nav) {
    const EhsiGeometry& g = geometry();
    double heading = variable(EHSI_HEADING);
    double centre_y = g.cy + arc_mode.centre_drop * g.sy;
    char text[16];
    std::snprintf(text, sizeof text, "%03d", int(heading));
    text_style(c, DRAW_ALIGN_LEFT, EHSI_WHITE, FONT_DIGITS);
    text_at(c, 96, -5, text);
    draw_select_pen(c, ehsi.pens[PEN_WHITE]);
    fixed_line(c, heading_box, 4);
    fixed_line(c, lubber_line, 2);
    fixed_line(c, outer_arc, 20);
    fixed_line(c, inner_arc, 14);
    draw_aircraft_and_to_from(c, nav, arc_mode.centre_drop);
    draw_deviation_dots(c, ehsi_turn(g, nav.course - heading, g.cx, centre_y));

    draw_clip_to_outline(c, ehsi.window, EHSI_WINDOW_POINTS);
    draw_rose(c, arc_mode, heading, g.cx, centre_y);
    draw_symbols(c, arc_mode, nav, heading, g.cx, centre_y);

    // An arrow on the side of the arc towards a heading marker that is off it.
    int arrow = ehsi_off_arc_arrow(variable(EHSI_SELECTED_HEADING), heading);
    draw_select_pen(c, ehsi.pens[PEN_CYAN]);
    if (arrow < 0) {
        fixed_line(c, left_arrow, 3);
        fixed_line(c, left_arrow_barb, 2);
    } else if (arrow > 0) {
        fixed_line(c, right_arrow, 3);
        fixed_line(c, right_arrow_barb, 2);
    }
}

void blank_frame() {
    DrawContext* c = draw_get_context(ehsi.surface);
    fill_black(c);
    draw_release_context(ehsi.surface, c);
    copy_to_image();
}

}  // namespace

void ehsi_frame() {
    if (!ehsi.surface) return;
    if (ehsi.power_state != 2.0 || ehsi.avionics == 0.0) {
        blank_frame();
        return;
    }
    if (draw_surface_is_lost(ehsi.surface)) draw_surface_restore(ehsi.surface);
    DrawContext* c = draw_get_context(ehsi.surface);
    if (!c) return;
    fill_black(c);
    NavInputs nav = selected_nav();
    draw_readouts(c, nav);
    if (ehsi.mode == 0.0)
        draw_full_mode(c, nav);
    else
        draw_arc_mode(c, nav);
    draw_release_context(ehsi.surface, c);
    copy_to_image();
}
