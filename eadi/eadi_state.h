// The attitude display module's one state record: geometry, drawing
// resources, channel values, host variables and the frame-to-frame state.
// eadi_module.cpp writes everything but the mode boxes, which the frame
// routine (eadi_draw.cpp) keeps.
#pragma once

#include "eadi/eadi_logic.h"
#include "frame/channel.h"
#include "frame/records.h"
#include "platform/draw.h"

// Host variables, in the order the initialize routine prepares them.
enum EadiVariable {
    EADI_BANK,                 // 80, degrees
    EADI_PITCH,                // 78, degrees
    EADI_GS_DEVIATION,         // 41, needle units
    EADI_GS_FLAG,              // 44, 1 with a glideslope signal
    EADI_LOC_DEVIATION,        // 40, needle units
    EADI_ALT_DEVIATION,        // 70, alternative lateral deviation
    EADI_MARKER,               // 354, whole number: 1 outer, 2 middle, 3 inner
    EADI_ALTITUDE,             // 73, metres
    EADI_GROUND,               // 2, ground elevation
    EADI_IAS_REFERENCE,        // 116, knots
    EADI_VS_REFERENCE,         // 120, feet per minute
    EADI_AP_COMMAND,           // 103, non-zero: "CMD"
    EADI_FD_ON,                // 792
    EADI_FD_PITCH,             // 793, degrees
    EADI_FD_BANK,              // 794, degrees
    EADI_TIME,                 // 557, running time
    EADI_VARIABLE_COUNT
};

extern const uint32_t eadi_variable_ids[EADI_VARIABLE_COUNT];

enum EadiPen { PEN_SKY, PEN_GROUND, PEN_BLACK, PEN_WHITE, PEN_YELLOW, PEN_GREEN, PEN_MAGENTA, PEN_RED, PEN_COUNT };
enum EadiBrush { BRUSH_SKY, BRUSH_GROUND, BRUSH_BLACK, BRUSH_WHITE, BRUSH_GREEN, BRUSH_MAGENTA, BRUSH_COUNT };
enum EadiFont { FONT_SMALL, FONT_MODE, FONT_LABEL, FONT_DIGITS, FONT_COUNT };

// Colours of the picture.
constexpr DrawColour EADI_SKY = draw_rgb(70, 70, 255);
constexpr DrawColour EADI_CYAN = draw_rgb(70, 150, 255);
constexpr DrawColour EADI_GROUND_BROWN = draw_rgb(170, 130, 90);
constexpr DrawColour EADI_WHITE = draw_rgb(255, 255, 255);
constexpr DrawColour EADI_YELLOW = draw_rgb(255, 230, 0);
constexpr DrawColour EADI_GREEN = draw_rgb(0, 255, 0);
constexpr DrawColour EADI_AMBER = draw_rgb(255, 140, 0);
constexpr DrawColour EADI_MAGENTA = draw_rgb(210, 0, 190);
constexpr DrawColour EADI_RED = draw_rgb(255, 0, 0);
constexpr DrawColour EADI_BLACK = draw_rgb(0, 0, 0);

constexpr int EADI_WINDOW_POINTS = 24;

struct EadiState {
    HostImage* image;                      // the host's image of the display element
    EadiGeometry geometry;
    double cos_plus60, sin_plus60, cos_minus60, sin_minus60;
    DrawPoint window[EADI_WINDOW_POINTS];  // outline of the attitude sphere, pixels

    DrawDevice* device;
    DrawSurface* surface;
    DrawPen* pens[PEN_COUNT];
    DrawBrush* brushes[BRUSH_COUNT];
    DrawFont* fonts[FONT_COUNT];
    DrawFontSpec* ladder_font;             // turned per frame for the ladder numbers

    ChannelLinks channels;
    double power_state;                    // elec_power_state: lit only at 2
    double decision_height;                // feet
    double air_data;                       // 1 airspeed, 2 vertical speed reference
    double avionics;                       // symbol generator 1 button
    int lateral_mode, vertical_mode;       // mode words
    int fd_cancel;                         // 1: flight director bars cancelled

    HostVariable variables[EADI_VARIABLE_COUNT];

    int draw_flag = 1;                     // 1: the next draw call draws; the first one does
    EadiModeBox lateral_box, vertical_box;
};

extern EadiState eadi;

// Paints the picture into the surface and copies it into the host image.
void eadi_frame();
