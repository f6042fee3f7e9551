// The horizontal situation display module's one state record: geometry,
// drawing resources, channel values and host variables. ehsi_module.cpp
// writes it; the frame routine (ehsi_draw.cpp) reads it.
#pragma once

#include "ehsi/ehsi_logic.h"
#include "frame/channel.h"
#include "frame/records.h"
#include "platform/draw.h"

// Host variables the picture uses.
enum EhsiVariable {
    EHSI_HEADING,              // 81, degrees
    EHSI_SELECTED_HEADING,     // 107, degrees
    EHSI_NAV1_COURSE,          // 45, degrees
    EHSI_NAV2_COURSE,          // 54, degrees
    EHSI_NAV1_FLAGS,           // 42, integer: bit 1 localizer, positive: usable signal
    EHSI_NAV2_FLAGS,           // 51, integer
    EHSI_NAV1_TO_FROM,         // 43, integer: 1 to, 2 from
    EHSI_NAV2_TO_FROM,         // 52, integer
    EHSI_NAV1_DEVIATION,       // 40
    EHSI_NAV2_DEVIATION,       // 50
    EHSI_DME1_DISTANCE,        // 31, nautical miles, -1 invalid
    EHSI_DME2_DISTANCE,        // 35
    EHSI_DME1_SPEED,           // 32, knots, -1 invalid
    EHSI_DME2_SPEED,           // 36
    EHSI_NAV1_RADIAL,          // 25, 16-bit angle
    EHSI_ADF_BEARING,          // 39, degrees from the nose
    EHSI_NAV2_BEARING,         // 59, degrees from the nose
    EHSI_VARIABLE_COUNT
};

enum EhsiPen {
    PEN_WHITE, PEN_CYAN, PEN_BROWN, PEN_BLACK, PEN_WHITE_2ND, PEN_YELLOW, PEN_GREEN,
    PEN_CYAN_WIDE, PEN_GREEN_WIDE, PEN_CYAN_2ND, PEN_COUNT
};
enum EhsiBrush { BRUSH_CYAN, BRUSH_BROWN, BRUSH_BLACK, BRUSH_WHITE, BRUSH_YELLOW, BRUSH_GREEN, BRUSH_CYAN_2ND, BRUSH_COUNT };
enum EhsiFont { FONT_SMALL, FONT_MODE, FONT_LABEL, FONT_DIGITS, FONT_LARGE, FONT_COUNT };

constexpr DrawColour EHSI_CYAN = draw_rgb(70, 150, 255);
constexpr DrawColour EHSI_BROWN = draw_rgb(170, 130, 90);
constexpr DrawColour EHSI_WHITE = draw_rgb(255, 255, 255);
constexpr DrawColour EHSI_YELLOW = draw_rgb(255, 230, 0);
constexpr DrawColour EHSI_GREEN = draw_rgb(0, 255, 0);
constexpr DrawColour EHSI_AMBER = draw_rgb(255, 140, 0);
constexpr DrawColour EHSI_BLACK = draw_rgb(0, 0, 0);

constexpr int EHSI_WINDOW_POINTS = 6;

struct EhsiState {
    HostImage* image;                      // the host's image of the display element
    EhsiGeometry geometry;
    DrawPoint window[EHSI_WINDOW_POINTS];  // the display window of the arc mode, pixels

    DrawDevice* device;
    DrawSurface* surface;
    DrawPen* pens[PEN_COUNT];
    DrawBrush* brushes[BRUSH_COUNT];
    DrawFont* fonts[FONT_COUNT];
    DrawFontSpec* letter_font;             // turned per letter for the compass

    ChannelLinks channels;
    double power_state;                    // elec_power_state: lit only at 2
    double nav_selection;                  // 1: NAV 1, otherwise NAV 2
    double speed_selection;                // 1: ground speed, otherwise time to go
    double needle1_selection;              // 0 off, 1 VOR 1, 2 ADF
    double needle2_selection;              // 0 off, 1 VOR 2, 2 ADF
    double mode;                           // 0 full rose, otherwise arc
    double avionics;                       // symbol generator 1 button

    HostVariable variables[EHSI_VARIABLE_COUNT];

    int draw_flag = 1;                     // 1: the next draw call draws; the first one does
};

extern EhsiState ehsi;

// Paints the picture into the surface and copies it into the host image.
void ehsi_frame();
