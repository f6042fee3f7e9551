// The round engine dials, one per engine: propeller speed (Np1, Np2), core
// speed (Nh1, Nh2), low-pressure spool speed (Nl1, Nl2), inter-turbine
// temperature (ITT1, ITT2), oil pressure (Oil_Pressure1, Oil_Pressure2) and
// oil temperature (Oil_Temperature1, Oil_Temperature2).
//
// Each dial is a face and a pointer, both in a normal and a lit version;
// Np, Nh and ITT also have a digital readout. The two dials of a pair share
// everything but the host variable named in their elements, which the
// pointer and readout laws read. Without power the pointers rest at zero and
// the readouts are blank.
#include <cmath>
#include <cstdio>

#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ shared

bool instruments_powered() { return quillmar.electric.elec_power_state == 2; }

double rankine_to_celsius(double rankine) { return (rankine - 491.67) * 5 * 0.1111111111111111; }

void format_tenths(char* text, size_t size, double tenths) {
    // Four digits are all the readout has room for.
    double v = std::fmin(std::fmax(tenths, 0), 9999);
    int n = static_cast<int>(v);
    if (v > 10) std::snprintf(text, size, "%4d", n);
    else std::snprintf(text, size, "  0%d", n);
}

void FS_CALL dial_instrument_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    auto at = [gauge](DialElement which) { return gauge_element(gauge, {which}); };
    const LightingPair pairs[] = {
        {gauge_base(gauge), at(DIAL_FACE_LIT)},
        {at(DIAL_POINTER), at(DIAL_POINTER_LIT)},
    };
    apply_panel_lighting(pairs);
    bool powered = instruments_powered();
    show_element_if(at(DIAL_READOUT), powered);
    show_element_if(at(DIAL_DECIMAL_POINT), powered);
}

// The value of an element's own host variable, as the host last delivered it.
static double own_value(ElementHead* e) { return e->variable.value; }

// ------------------------------------------------------------ pointer laws

static double FS_CALL propeller_speed_pointer(ElementHead* e) {
    double v = own_value(e);
    return instruments_powered() && v > 0 ? v * 100 : 0;
}

static double FS_CALL spool_speed_pointer(ElementHead* e) {
    double v = own_value(e);
    return instruments_powered() && v > 0 ? v : 0;
}

static double FS_CALL itt_pointer(ElementHead* e) {
    if (!instruments_powered()) return 0;
    return std::fmin(rankine_to_celsius(std::fmax(own_value(e), 0)), 1200);
}

static double FS_CALL oil_pressure_pointer(ElementHead* e) {
    return instruments_powered() ? own_value(e) : 0;
}

static double FS_CALL oil_temperature_pointer(ElementHead* e) {
    if (!instruments_powered()) return 0;
    return std::fmin(rankine_to_celsius(own_value(e)), 150);
}

// ------------------------------------------------------------ readouts

static StringElement* text_of(ElementHead* e) { return reinterpret_cast<StringElement*>(e); }

// Propeller speed in tenths of a percent.
static double FS_CALL propeller_speed_readout(ElementHead* e) {
    double tenths = own_value(e) * 1000;
    format_tenths(text_of(e)->text, static_cast<size_t>(text_of(e)->text_size), tenths);
    return tenths;
}

// Core speed in tenths of a percent.
static double FS_CALL core_speed_readout(ElementHead* e) {
    double tenths = own_value(e) * 10;
    format_tenths(text_of(e)->text, static_cast<size_t>(text_of(e)->text_size), tenths);
    return tenths;
}

// Whole degrees Celsius, at most 999; a cold or missing value reads -273.
static double FS_CALL itt_readout(ElementHead* e) {
    double celsius = std::fmin(rankine_to_celsius(std::fmax(own_value(e), 0)), 999);
    std::snprintf(text_of(e)->text, static_cast<size_t>(text_of(e)->text_size), "%3d",
                  static_cast<int>(celsius));
    return celsius;
}

// ------------------------------------------------------------ scales

// Propeller and core speed, percent; ITT uses the same dial points for 0 to
// 1200 degrees.
static const ScalePoint speed_scale[] = {
    {0, 15, 61},  {10, 13, 50},  {20, 15, 39},  {30, 20, 28},  {40, 28, 20},
    {50, 39, 15}, {60, 50, 13},  {70, 61, 15},  {80, 71, 20},  {90, 80, 28},
    {100, 85, 38}, {110, 87, 50}, {120, 85, 61},
};
static const ScalePoint itt_scale[] = {
    {0, 15, 61},   {100, 13, 50},  {200, 15, 39},   {300, 20, 28},   {400, 28, 20},
    {500, 39, 15}, {600, 50, 13},  {700, 61, 15},   {800, 71, 20},   {900, 80, 28},
    {1000, 85, 38}, {1100, 87, 50}, {1200, 85, 61},
};
// The last row (105) follows the row for 110, as the dial is marked.
static const ScalePoint low_spool_scale[] = {
    {0, 15, 50},  {10, 14, 42}, {20, 16, 35}, {30, 20, 29},  {40, 25, 22},
    {50, 31, 18}, {60, 39, 15}, {70, 46, 13}, {80, 54, 13},  {90, 61, 15},
    {95, 83, 33}, {100, 85, 61}, {105, 67, 83}, {110, 39, 85}, {105, 31, 82},
};
static const ScalePoint oil_pressure_scale[] = {
    {-99999, 21, 29}, {0, 21, 29},     {2714, 32, 19},  {5429, 46, 14},  {8142, 61, 16},
    {10857, 74, 22},  {13571, 83, 35}, {16285, 86, 50}, {19000, 83, 65}, {21714, 74, 77},
    {24429, 61, 84},  {27143, 46, 89}, {99999, 39, 84},
};
static const ScalePoint oil_temperature_scale[] = {
    {-99999, 32, 19}, {0, 32, 19},  {10, 39, 16},  {20, 46, 14},  {30, 54, 14},  {40, 61, 16},
    {50, 68, 19},     {60, 74, 23}, {70, 79, 29},  {80, 83, 35},  {90, 85, 42},  {100, 86, 60},
    {110, 85, 57},    {120, 83, 64}, {130, 79, 71}, {140, 74, 77}, {150, 68, 82},
};

// ------------------------------------------------------------ elements

constexpr int32_t DIAL_CENTRE = 50;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr uint32_t READOUT_GREEN = 0x50F050;
constexpr TextStyle READOUT_STYLE = {33, 12, READOUT_GREEN, 0x000000, "Quartz", 400,
                                     STRING_ALIGN_RIGHT};
// Where the readout sits under the dial centre, and its decimal point
// before the last digit.
constexpr int32_t READOUT_X = 34, READOUT_Y = 66;
constexpr int32_t DECIMAL_X = 58, DECIMAL_Y = 75;

// A family's bitmaps, numbered from the block of its engine 1 gauge: face,
// lit face, pointer, lit pointer, decimal point.
enum : int32_t { BMP_FACE, BMP_FACE_LIT, BMP_POINTER, BMP_POINTER_LIT, BMP_DECIMAL_POINT };

// What hangs under a dial's face: the lit face and the pointer pair.
struct Dial {
    StaticImageElement face_lit;
    NeedleElement pointer, pointer_lit;
};

template <size_t N>
constexpr Dial dial(GaugeHeader* gauge, int32_t bitmaps, uint32_t variable, ValueCallback* law,
                    const ScalePoint (&scale)[N], double rate_limit) {
    ElementSpec pointer{.bitmap = bitmaps + BMP_POINTER, .x = DIAL_CENTRE, .y = DIAL_CENTRE,
                        .flags = T, .variable = variable};
    ElementSpec pointer_lit = pointer;
    pointer_lit.bitmap = bitmaps + BMP_POINTER_LIT;
    pointer_lit.flags = IMAGE_LIT;
    return Dial{
        static_image(gauge, {.bitmap = bitmaps + BMP_FACE_LIT, .flags = IMAGE_LIT}),
        needle(gauge, pointer, law, scale, rate_limit),
        needle(gauge, pointer_lit, law, scale, rate_limit),
    };
}

// The normal face, the base every other element of the dial hangs from.
constexpr StaticImageElement dial_face(GaugeHeader* gauge, int32_t bitmaps,
                                       ElementHead** children) {
    return static_image(gauge, {.bitmap = bitmaps + BMP_FACE, .children = children});
}

template <size_t N>
constexpr StringElement dial_readout(GaugeHeader* gauge, uint32_t variable, ValueCallback* law,
                                     char (&text)[N]) {
    return readout(gauge, {.x = READOUT_X, .y = READOUT_Y, .variable = variable}, law, text,
                   READOUT_STYLE);
}

constexpr StaticImageElement decimal_point(GaugeHeader* gauge, int32_t bitmaps) {
    return static_image(gauge, {.bitmap = bitmaps + BMP_DECIMAL_POINT, .x = DECIMAL_X,
                                .y = DECIMAL_Y, .flags = IMAGE_LIT});
}

// Dials have no mouse areas of their own.
static MouseRect np1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect np2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect nh1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect nh2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect nl1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect nl2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect itt1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect itt2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect oil_pressure1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect oil_pressure2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};
static MouseRect oil_temperature1_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(),
                                             mouse_end()};
static MouseRect oil_temperature2_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(),
                                             mouse_end()};

// ------------------------------------------------------------ Np1, Np2

static char np1_text[6], np2_text[6];

static constinit Dial np1 =
    dial(&gauge_Np1.h, BITMAPS_Np1, 701, propeller_speed_pointer, speed_scale, 5);
static constinit StringElement np1_readout =
    dial_readout(&gauge_Np1.h, 701, propeller_speed_readout, np1_text);
static constinit StaticImageElement np1_point = decimal_point(&gauge_Np1.h, BITMAPS_Np1);
static ElementHead* np1_children[] = {
    &np1.face_lit.head, &np1.pointer.head, &np1.pointer_lit.head, &np1_readout.head,
    &np1_point.head, nullptr,
};
static constinit StaticImageElement np1_face =
    dial_face(&gauge_Np1.h, BITMAPS_Np1, np1_children);
static ElementHead* np1_elements[] = {&np1_face.head, nullptr};

static constinit Dial np2 =
    dial(&gauge_Np2.h, BITMAPS_Np1, 709, propeller_speed_pointer, speed_scale, 5);
static constinit StringElement np2_readout =
    dial_readout(&gauge_Np2.h, 709, propeller_speed_readout, np2_text);
static constinit StaticImageElement np2_point = decimal_point(&gauge_Np2.h, BITMAPS_Np1);
static ElementHead* np2_children[] = {
    &np2.face_lit.head, &np2.pointer.head, &np2.pointer_lit.head, &np2_readout.head,
    &np2_point.head, nullptr,
};
static constinit StaticImageElement np2_face =
    dial_face(&gauge_Np2.h, BITMAPS_Np1, np2_children);
static ElementHead* np2_elements[] = {&np2_face.head, nullptr};

MAIN_GAUGE(Np1, np1_elements, np1_rects, dial_instrument_callback);
MAIN_GAUGE(Np2, np2_elements, np2_rects, dial_instrument_callback);

// ------------------------------------------------------------ Nh1, Nh2

static char nh1_text[6], nh2_text[6];

static constinit Dial nh1 =
    dial(&gauge_Nh1.h, BITMAPS_Nh1, 624, spool_speed_pointer, speed_scale, 2);
static constinit StringElement nh1_readout =
    dial_readout(&gauge_Nh1.h, 624, core_speed_readout, nh1_text);
static constinit StaticImageElement nh1_point = decimal_point(&gauge_Nh1.h, BITMAPS_Nh1);
static ElementHead* nh1_children[] = {
    &nh1.face_lit.head, &nh1.pointer.head, &nh1.pointer_lit.head, &nh1_readout.head,
    &nh1_point.head, nullptr,
};
static constinit StaticImageElement nh1_face =
    dial_face(&gauge_Nh1.h, BITMAPS_Nh1, nh1_children);
static ElementHead* nh1_elements[] = {&nh1_face.head, nullptr};

static constinit Dial nh2 =
    dial(&gauge_Nh2.h, BITMAPS_Nh1, 643, spool_speed_pointer, speed_scale, 2);
static constinit StringElement nh2_readout =
    dial_readout(&gauge_Nh2.h, 643, core_speed_readout, nh2_text);
static constinit StaticImageElement nh2_point = decimal_point(&gauge_Nh2.h, BITMAPS_Nh1);
static ElementHead* nh2_children[] = {
    &nh2.face_lit.head, &nh2.pointer.head, &nh2.pointer_lit.head, &nh2_readout.head,
    &nh2_point.head, nullptr,
};
static constinit StaticImageElement nh2_face =
    dial_face(&gauge_Nh2.h, BITMAPS_Nh1, nh2_children);
static ElementHead* nh2_elements[] = {&nh2_face.head, nullptr};

MAIN_GAUGE(Nh1, nh1_elements, nh1_rects, dial_instrument_callback);
MAIN_GAUGE(Nh2, nh2_elements, nh2_rects, dial_instrument_callback);

// ------------------------------------------------------------ Nl1, Nl2

static constinit Dial nl1 =
    dial(&gauge_Nl1.h, BITMAPS_Nl1, 625, spool_speed_pointer, low_spool_scale, 5);
static ElementHead* nl1_children[] = {
    &nl1.face_lit.head, &nl1.pointer.head, &nl1.pointer_lit.head, nullptr,
};
static constinit StaticImageElement nl1_face =
    dial_face(&gauge_Nl1.h, BITMAPS_Nl1, nl1_children);
static ElementHead* nl1_elements[] = {&nl1_face.head, nullptr};

static constinit Dial nl2 =
    dial(&gauge_Nl2.h, BITMAPS_Nl1, 644, spool_speed_pointer, low_spool_scale, 5);
static ElementHead* nl2_children[] = {
    &nl2.face_lit.head, &nl2.pointer.head, &nl2.pointer_lit.head, nullptr,
};
static constinit StaticImageElement nl2_face =
    dial_face(&gauge_Nl2.h, BITMAPS_Nl1, nl2_children);
static ElementHead* nl2_elements[] = {&nl2_face.head, nullptr};

MAIN_GAUGE(Nl1, nl1_elements, nl1_rects, dial_instrument_callback);
MAIN_GAUGE(Nl2, nl2_elements, nl2_rects, dial_instrument_callback);

// ------------------------------------------------------------ ITT1, ITT2

static char itt1_text[6], itt2_text[6];

static constinit Dial itt1 = dial(&gauge_ITT1.h, BITMAPS_ITT1, 631, itt_pointer, itt_scale, 0);
static constinit StringElement itt1_readout =
    dial_readout(&gauge_ITT1.h, 631, itt_readout, itt1_text);
static ElementHead* itt1_children[] = {
    &itt1.face_lit.head, &itt1.pointer.head, &itt1.pointer_lit.head, &itt1_readout.head, nullptr,
};
static constinit StaticImageElement itt1_face =
    dial_face(&gauge_ITT1.h, BITMAPS_ITT1, itt1_children);
static ElementHead* itt1_elements[] = {&itt1_face.head, nullptr};

static constinit Dial itt2 = dial(&gauge_ITT2.h, BITMAPS_ITT1, 650, itt_pointer, itt_scale, 0);
static constinit StringElement itt2_readout =
    dial_readout(&gauge_ITT2.h, 650, itt_readout, itt2_text);
static ElementHead* itt2_children[] = {
    &itt2.face_lit.head, &itt2.pointer.head, &itt2.pointer_lit.head, &itt2_readout.head, nullptr,
};
static constinit StaticImageElement itt2_face =
    dial_face(&gauge_ITT2.h, BITMAPS_ITT1, itt2_children);
static ElementHead* itt2_elements[] = {&itt2_face.head, nullptr};

MAIN_GAUGE(ITT1, itt1_elements, itt1_rects, dial_instrument_callback);
MAIN_GAUGE(ITT2, itt2_elements, itt2_rects, dial_instrument_callback);

// ------------------------------------------------------------ oil pressure and temperature

static constinit Dial oil_pressure1 = dial(&gauge_Oil_Pressure1.h, BITMAPS_Oil_Pressure1, 562,
                                           oil_pressure_pointer, oil_pressure_scale, 0);
static ElementHead* oil_pressure1_children[] = {
    &oil_pressure1.face_lit.head, &oil_pressure1.pointer.head, &oil_pressure1.pointer_lit.head,
    nullptr
};
static constinit StaticImageElement oil_pressure1_face =
    dial_face(&gauge_Oil_Pressure1.h, BITMAPS_Oil_Pressure1, oil_pressure1_children);
static ElementHead* oil_pressure1_elements[] = {&oil_pressure1_face.head, nullptr};

static constinit Dial oil_pressure2 = dial(&gauge_Oil_Pressure2.h, BITMAPS_Oil_Pressure1, 572,
                                           oil_pressure_pointer, oil_pressure_scale, 0);
static ElementHead* oil_pressure2_children[] = {
    &oil_pressure2.face_lit.head, &oil_pressure2.pointer.head, &oil_pressure2.pointer_lit.head,
    nullptr
};
static constinit StaticImageElement oil_pressure2_face =
    dial_face(&gauge_Oil_Pressure2.h, BITMAPS_Oil_Pressure1, oil_pressure2_children);
static ElementHead* oil_pressure2_elements[] = {&oil_pressure2_face.head, nullptr};

static constinit Dial oil_temperature1 =
    dial(&gauge_Oil_Temperature1.h, BITMAPS_Oil_Temperature1, 561, oil_temperature_pointer,
         oil_temperature_scale, 0);
static ElementHead* oil_temperature1_children[] = {
    &oil_temperature1.face_lit.head, &oil_temperature1.pointer.head,
    &oil_temperature1.pointer_lit.head, nullptr,
};
static constinit StaticImageElement oil_temperature1_face =
    dial_face(&gauge_Oil_Temperature1.h, BITMAPS_Oil_Temperature1, oil_temperature1_children);
static ElementHead* oil_temperature1_elements[] = {&oil_temperature1_face.head, nullptr};

static constinit Dial oil_temperature2 =
    dial(&gauge_Oil_Temperature2.h, BITMAPS_Oil_Temperature1, 571, oil_temperature_pointer,
         oil_temperature_scale, 0);
static ElementHead* oil_temperature2_children[] = {
    &oil_temperature2.face_lit.head, &oil_temperature2.pointer.head,
    &oil_temperature2.pointer_lit.head, nullptr,
};
static constinit StaticImageElement oil_temperature2_face =
    dial_face(&gauge_Oil_Temperature2.h, BITMAPS_Oil_Temperature1, oil_temperature2_children);
static ElementHead* oil_temperature2_elements[] = {&oil_temperature2_face.head, nullptr};

MAIN_GAUGE(Oil_Pressure1, oil_pressure1_elements, oil_pressure1_rects, dial_instrument_callback);
MAIN_GAUGE(Oil_Pressure2, oil_pressure2_elements, oil_pressure2_rects, dial_instrument_callback);
MAIN_GAUGE(Oil_Temperature1, oil_temperature1_elements, oil_temperature1_rects,
           dial_instrument_callback);
MAIN_GAUGE(Oil_Temperature2, oil_temperature2_elements, oil_temperature2_rects,
           dial_instrument_callback);
