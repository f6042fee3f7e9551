// The horizontal situation display's decisions, apart from the drawing:
// readout texts, the NAV source title, bearing needle directions, the
// heading arrows beside the arc, the turned letter fonts and the geometry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/draw.h"

// ------------------------------------------------------------ geometry

struct EhsiGeometry {
    double width, height;   // pixels
    double sx, sy;          // pixels per grid unit (grid 214 x 173)
    double cx, cy;          // centre of the full compass rose, pixels
};

EhsiGeometry ehsi_geometry(int32_t width, int32_t height);

// A grid point in pixels, truncated towards zero.
DrawPoint ehsi_point(const EhsiGeometry& g, double x, double y);

// A symbol turned about a centre: points in local grid units are turned by
// the angle (degrees, clockwise on the display), scaled and moved to the centre.
struct EhsiTurn {
    double cos_a, sin_a;
    double centre_x, centre_y;   // pixels
    const EhsiGeometry* g;
};

EhsiTurn ehsi_turn(const EhsiGeometry& g, double angle_degrees, double centre_x, double centre_y);
DrawPoint ehsi_turned(const EhsiTurn& t, double x, double y);
// The compass ticks' way: the point is scaled first and turned afterwards.
DrawPoint ehsi_scaled_then_turned(const EhsiTurn& t, double x, double y);

// End of a compass tick: (r sin b, -r cos b) rounded to whole grid units.
struct EhsiGridPoint {
    double x, y;
};
EhsiGridPoint ehsi_tick_end(double radius, double bearing_degrees);

// Escapement (and orientation) of a compass letter's font in tenths of a
// degree: the letter at `bearing` turned upright towards the rose's centre
// for the heading; "N" (bearing 0) uses the heading alone. 0 is given as 1.
int32_t ehsi_letter_escapement(double heading, double bearing);

// ------------------------------------------------------------ readouts

// The NAV receiver shown: 1 when the selection is exactly 1, otherwise 2.
int ehsi_nav_receiver(double nav_selection);

// "LOC1"/"VOR1" or "LOC2"/"VOR2": the localizer bit (value 2) of the shown
// receiver's flags decides.
const char* ehsi_nav_title(int receiver, int32_t flags);

// Localizer bit of a receiver's flags.
bool ehsi_is_localizer(int32_t flags);

// Ground speed readout: "---.-" for an invalid (-1) speed, otherwise the
// speed limited to 999 with one decimal, five characters wide.
void ehsi_speed_text(char* text, size_t size, double knots);

// Distance readout: "---.-" for an invalid (-1) distance, otherwise one decimal.
void ehsi_distance_text(char* text, size_t size, double miles);

// Time to go at the ground speed, "MM:SS"; "--:--" when the ground speed is
// invalid (-1), and also when no time can be told (no speed, no distance,
// or 100 minutes or more, which the five-character readout cannot hold).
void ehsi_time_to_go_text(char* text, size_t size, double miles, double knots);

// ------------------------------------------------------------ needles and arrows

// Direction of bearing needle 1 on the display, degrees. Selection 1 (VOR 1)
// gives the bearing to the station from the NAV 1 radial (16-bit angle) when
// the NAV 1 flags are positive; selection 2 the ADF bearing. False when the
// needle has no direction this frame (off, or VOR 1 without a signal).
bool ehsi_needle1_angle(int selection, int32_t nav1_flags, double radial, double heading,
                        double adf_bearing, double* angle);

// Direction of bearing needle 2: selection 1 the NAV 2 bearing, 2 the ADF
// bearing. False when the needle is off.
bool ehsi_needle2_angle(int selection, double nav2_bearing, double adf_bearing, double* angle);

// Arrow beside the arc that points to a heading marker off the arc:
// -1 left, +1 right, 0 none.
int ehsi_off_arc_arrow(double selected_heading, double heading);
