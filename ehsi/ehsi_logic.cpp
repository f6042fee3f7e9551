#include "ehsi/ehsi_logic.h"

#include <cmath>
#include <cstdio>

static constexpr double DEGREES = 3.14159265358979323846 / 180.0;

EhsiGeometry ehsi_geometry(int32_t width, int32_t height) {
    EhsiGeometry g{};
    g.width = width;
    g.height = height;
    g.sx = g.width * 0.0046728972;   // 1 / 214
    g.sy = g.height * 0.0057803468;  // 1 / 173
    g.cx = 107.0 * g.sx;
    g.cy = 86.5 * g.sy;
    return g;
}

DrawPoint ehsi_point(const EhsiGeometry& g, double x, double y) {
    return DrawPoint{int32_t(x * g.sx), int32_t(y * g.sy)};
}

EhsiTurn ehsi_turn(const EhsiGeometry& g, double angle, double centre_x, double centre_y) {
    return EhsiTurn{std::cos(angle * DEGREES), std::sin(angle * DEGREES), centre_x, centre_y, &g};
}

DrawPoint ehsi_turned(const EhsiTurn& t, double x, double y) {
    double turned_x = x * t.cos_a - y * t.sin_a;
    double turned_y = x * t.sin_a + y * t.cos_a;
    return DrawPoint{int32_t(turned_x * t.g->sx + t.centre_x), int32_t(turned_y * t.g->sy + t.centre_y)};
}

DrawPoint ehsi_scaled_then_turned(const EhsiTurn& t, double x, double y) {
    x *= t.g->sx;
    y *= t.g->sy;
    return DrawPoint{int32_t(x * t.cos_a - y * t.sin_a + t.centre_x),
                     int32_t(x * t.sin_a + y * t.cos_a + t.centre_y)};
}

EhsiGridPoint ehsi_tick_end(double radius, double bearing) {
    return EhsiGridPoint{std::round(radius * std::sin(bearing * DEGREES)),
                         std::round(-radius * std::cos(bearing * DEGREES))};
}

int32_t ehsi_letter_escapement(double heading, double bearing) {
    double angle = bearing == 0.0 ? heading : heading + 360.0 - bearing;
    int32_t escapement = int32_t(angle * 10.0);
    return escapement == 0 ? 1 : escapement;
}

int ehsi_nav_receiver(double nav_selection) { return nav_selection == 1.0 ? 1 : 2; }

bool ehsi_is_localizer(int32_t flags) { return (flags & 2) != 0; }

const char* ehsi_nav_title(int receiver, int32_t flags) {
    if (receiver == 1) return ehsi_is_localizer(flags) ? "LOC1" : "VOR1";
    return ehsi_is_localizer(flags) ? "LOC2" : "VOR2";
}

void ehsi_speed_text(char* text, size_t size, double knots) {
    if (knots == -1.0) {
        std::snprintf(text, size, "---.-");
        return;
    }
    if (knots > 999.0) knots = 999.0;
    std::snprintf(text, size, "%5.1f", knots);
}

void ehsi_distance_text(char* text, size_t size, double miles) {
    if (miles == -1.0)
        std::snprintf(text, size, "---.-");
    else
        std::snprintf(text, size, "%5.1f", miles);
}

void ehsi_time_to_go_text(char* text, size_t size, double miles, double knots) {
    double seconds = knots > 0.0 && miles >= 0.0 ? miles / knots * 3600.0 : -1.0;
    if (!(seconds >= 0.0 && seconds < 6000.0)) {
        std::snprintf(text, size, "--:--");
        return;
    }
    int whole = int(seconds);
    std::snprintf(text, size, "%02d:%02d", whole / 60, whole % 60);
}

bool ehsi_needle1_angle(int selection, int32_t nav1_flags, double radial, double heading,
                        double adf_bearing, double* angle) {
    if (selection == 1) {
        if (nav1_flags <= 0) return false;
        double a = radial * 360.0 / 65536.0 - heading + 180.0;
        if (a > 360.0) a -= 360.0;
        *angle = a;
        return true;
    }
    if (selection == 2) {
        *angle = adf_bearing;
        return true;
    }
    return false;
}

bool ehsi_needle2_angle(int selection, double nav2_bearing, double adf_bearing, double* angle) {
    if (selection == 1) {
        *angle = nav2_bearing;
        return true;
    }
    if (selection == 2) {
        *angle = adf_bearing;
        return true;
    }
    return false;
}

int ehsi_off_arc_arrow(double selected_heading, double heading) {
    double d = selected_heading - heading;
    if (d < 0) d += 360.0;
    if (d >= 180.0 && d < 313.0) return -1;
    if (d > 47.0 && d < 180.0) return 1;
    return 0;
}
