// Torque1, Torque2: the torque indicators, one per engine.
//
// A vertical bar rises with the engine's torque (in reverse too: the bar
// shows its size), a marker beside it shows the engine rating panel's
// torque target, and a readout below gives the torque in tenths of a
// percent. Face, bar and marker each have a normal and a lit version.
#include <cmath>

#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ laws

// Torque in percent, as a size (reverse torque is negative).
static double torque_percent(ElementHead* e) { return std::fabs(e->variable.value * 100); }

static double FS_CALL bar_height(ElementHead* e) {
    return instruments_powered() ? torque_percent(e) : 0;
}

static double FS_CALL target_marker(ElementHead*) { return quillmar.panels.torque_target * 100; }

static double FS_CALL torque_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    double tenths = std::fmin(torque_percent(e), 999.9) * 10;
    format_tenths(s->text, static_cast<size_t>(s->text_size), tenths);
    return tenths;
}

// ------------------------------------------------------------ elements

// Both gauges draw from Torque1's bitmaps.
enum : int32_t {
    BMP_FACE = BITMAPS_Torque1,
    BMP_FACE_LIT = BMP_FACE + 1,
    BMP_BAR = BMP_FACE_LIT + 1,
    BMP_BAR_LIT = BMP_BAR + 1,
    BMP_MARKER = BMP_BAR_LIT + 1,
    BMP_MARKER_LIT = BMP_MARKER + 1,
    BMP_DECIMAL_POINT = BMP_MARKER_LIT + 1,
};

// The bar spans 0 to 120 % over 72 pixels, the marker moves at the same
// 0.6 pixel per percent, upwards.
constexpr double BAR_RANGE = 120;
constexpr int32_t BAR_TRAVEL = 72;
constexpr double MARKER_SCALE = -0.6;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle READOUT_STYLE = {33, 12, 0x50F050, 0x000000, "Quartz", 400,
                                     STRING_ALIGN_RIGHT};

// The elements below the (normal) face, in drawing order.
enum TorqueElement : int {
    TORQUE_FACE_LIT,
    TORQUE_BAR,
    TORQUE_BAR_LIT,
    TORQUE_MARKER,
    TORQUE_MARKER_LIT,
    TORQUE_READOUT,
    TORQUE_DECIMAL_POINT,
};

// What hangs under a torque gauge's face.
struct TorqueGauge {
    StaticImageElement face_lit;
    MovingImageElement bar, bar_lit;
    SliderElement marker, marker_lit;
    StringElement readout;
    StaticImageElement decimal_point;
};

template <size_t N>
constexpr TorqueGauge torque_gauge(GaugeHeader* gauge, uint32_t torque_variable, char (&text)[N]) {
    auto bar = [&](int32_t bitmap, uint32_t flags) {
        return moving_image(gauge, {.bitmap = bitmap, .x = 11, .y = 10, .flags = flags,
                                    .variable = torque_variable},
                            nullptr, bar_height, 0, 0, 0, BAR_RANGE, 0, BAR_TRAVEL);
    };
    auto marker = [&](int32_t bitmap, uint32_t flags) {
        return slider(gauge, {.bitmap = bitmap, .x = 6, .y = 80, .flags = flags}, nullptr,
                      target_marker, 0, MARKER_SCALE);
    };
    return TorqueGauge{
        static_image(gauge, {.bitmap = BMP_FACE_LIT, .flags = IMAGE_LIT}),
        bar(BMP_BAR, T),
        bar(BMP_BAR_LIT, IMAGE_LIT),
        marker(BMP_MARKER, T),
        marker(BMP_MARKER_LIT, IMAGE_LIT),
        readout(gauge, {.x = 1, .y = 94, .variable = torque_variable}, torque_readout, text,
                READOUT_STYLE),
        static_image(gauge, {.bitmap = BMP_DECIMAL_POINT, .x = 25, .y = 103, .flags = IMAGE_LIT}),
    };
}

static char torque1_text[6], torque2_text[6];
static constinit TorqueGauge torque1 = torque_gauge(&gauge_Torque1.h, 629, torque1_text);
static constinit TorqueGauge torque2 = torque_gauge(&gauge_Torque2.h, 648, torque2_text);

static ElementHead* torque1_children[] = {
    &torque1.face_lit.head, &torque1.bar.head,        &torque1.bar_lit.head,
    &torque1.marker.head,   &torque1.marker_lit.head, &torque1.readout.head,
    &torque1.decimal_point.head, nullptr,
};
static ElementHead* torque2_children[] = {
    &torque2.face_lit.head, &torque2.bar.head,        &torque2.bar_lit.head,
    &torque2.marker.head,   &torque2.marker_lit.head, &torque2.readout.head,
    &torque2.decimal_point.head, nullptr,
};
static constinit StaticImageElement torque1_face =
    static_image(&gauge_Torque1.h, {.bitmap = BMP_FACE, .children = torque1_children});
static constinit StaticImageElement torque2_face =
    static_image(&gauge_Torque2.h, {.bitmap = BMP_FACE, .children = torque2_children});
static ElementHead* torque1_elements[] = {&torque1_face.head, nullptr};
static ElementHead* torque2_elements[] = {&torque2_face.head, nullptr};

static MouseRect torque1_rects[] = {mouse_parent(0, 0, 35, 110), mouse_close(), mouse_end()};
static MouseRect torque2_rects[] = {mouse_parent(0, 0, 35, 110), mouse_close(), mouse_end()};

// ------------------------------------------------------------ update

static void FS_CALL torque_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    auto at = [gauge](TorqueElement which) { return gauge_element(gauge, {which}); };
    const LightingPair pairs[] = {
        {gauge_base(gauge), at(TORQUE_FACE_LIT)},
        {at(TORQUE_MARKER), at(TORQUE_MARKER_LIT)},
        {at(TORQUE_BAR), at(TORQUE_BAR_LIT)},
    };
    apply_panel_lighting(pairs);
    bool powered = instruments_powered();
    show_element_if(at(TORQUE_READOUT), powered);
    show_element_if(at(TORQUE_DECIMAL_POINT), powered);
}

MAIN_GAUGE(Torque1, torque1_elements, torque1_rects, torque_callback);
MAIN_GAUGE(Torque2, torque2_elements, torque2_rects, torque_callback);
