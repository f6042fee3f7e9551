// The attitude display's decisions, apart from the drawing: what it shows
// for a set of inputs. The frame routine (eadi_draw.cpp) draws what these
// functions decide.
#pragma once

#include <cstdint>

#include "platform/draw.h"

// ------------------------------------------------------------ geometry

// The picture is laid out on a grid of 214 x 173 units scaled to the
// gauge's pixels.
constexpr double EADI_GRID_WIDTH = 214.0;
constexpr double EADI_GRID_HEIGHT = 173.0;
constexpr double EADI_PITCH_SCALE = 3.0;   // grid units per degree of pitch

struct EadiGeometry {
    double width, height;   // pixels
    double sx, sy;          // pixels per grid unit
    double cx, cy;          // centre of the attitude sphere, pixels
};

EadiGeometry eadi_geometry(int32_t width, int32_t height);

// A grid point in pixels, truncated towards zero.
DrawPoint eadi_point(const EadiGeometry& g, double x, double y);

// The movement of the sphere for one frame: points given in sphere units
// about the centre are lowered by the pitch (3 x sy units per degree), turned
// by the bank, scaled and moved to the centre.
struct EadiAttitude {
    double cos_bank, sin_bank;
    double pitch_offset;     // sphere units: 3 x pitch x sy
    const EadiGeometry* g;
};

EadiAttitude eadi_attitude(const EadiGeometry& g, double pitch_degrees, double bank_degrees);
DrawPoint eadi_sphere_point(const EadiAttitude& a, double x, double y);

// The roll pointer's angle: the bank inside (-60, +60); +60 from +60 up to
// (not including) 180; -60 otherwise.
double eadi_roll_pointer_angle(double bank_degrees);

// Escapement (and orientation) of the pitch ladder numbers' font, tenths of
// a degree: the number turns against the bank; 0 is given as 1.
int32_t eadi_ladder_escapement(double bank_degrees);

// Lateral deviation in grid units: the localizer deviation / 4 with a
// glideslope signal, otherwise the alternative deviation limited to +-500, / 12.
double eadi_lateral_deviation(bool glideslope_signal, double localizer, double alternative);

// ------------------------------------------------------------ radio altitude

constexpr double EADI_RA_SHOWN_BELOW = 3000.0;

// Radio altitude in feet from the aircraft altitude (metres) and the ground
// elevation (host units).
double eadi_radio_altitude(double altitude_metres, double ground_elevation);

// The radio altitude as the display rounds it (for heights below 3000 feet):
// limited to 20..2500, then rounded down to a multiple of 10 from 200 feet
// up and of 5 below. The fraction is kept; the readout shows its whole part.
double eadi_radio_altitude_rounded(double feet);

// True when the amber decision height alert shows: a decision height above
// 10 feet and the radio altitude (rounded below 3000 feet) at or below it.
bool eadi_decision_height_alert(double radio_altitude, double decision_height);

// ------------------------------------------------------------ mode annunciations

// Index of a lateral annunciation: 0 none, 1 HDG, 2 LOC, 3 NAV, 4 BC, 5 V APP.
// Index of a vertical annunciation: 0 none, 1 ASEL, 2 ALT, 3 GS, 4 VS, 5 IAS.
struct EadiModes {
    int lateral_index;
    const char* lateral;          // green, at the lateral place; null for none
    const char* lateral_armed;    // white, armed lateral mode beside HDG; null for none
    int vertical_index;
    const char* vertical;         // green, at the vertical place; null for none
    bool glideslope_armed;        // white "GS" beside an active vertical mode
};

EadiModes eadi_modes(int lateral_word, int vertical_word);

// The box that marks a freshly changed annunciation for 5 units of running
// time from the change to a non-zero index, whatever the index does after.
struct EadiModeBox {
    int previous_index;
    double changed_at;
    bool shown;
};

constexpr double EADI_MODE_BOX_TIME = 5.0;

// Steps the box for this frame's index and the running time; true when the
// box is drawn this frame.
bool eadi_mode_box_step(EadiModeBox* box, int index, double now);
