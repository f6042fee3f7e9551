// Airspeed: the airspeed indicator of the main panel.
//
// An airspeed pointer and a red-and-white maximum-speed pointer over the
// dial, both with a normal and a lit image, and three speed bugs the crew
// sets with the knob areas around the dial. The bugs are kept in the panel
// state file between flights.
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/needle_values.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_FACE = BITMAPS_Airspeed,
    BMP_FACE_LIT = BMP_FACE + 1,
    BMP_MAX_POINTER = BMP_FACE_LIT + 1,
    BMP_MAX_POINTER_LIT = BMP_MAX_POINTER + 1,
    BMP_POINTER = BMP_MAX_POINTER_LIT + 1,
    BMP_POINTER_LIT = BMP_POINTER + 1,
    BMP_BUG = BMP_POINTER_LIT + 1,                 // the three bugs look alike
};

constexpr int32_t DIAL_X = 90, DIAL_Y = 90;
constexpr double POINTER_RATE = 5;                 // degrees a second
constexpr double BUG_MIN = 0, BUG_MAX = 344;       // dial degrees the knobs reach

// Indicated airspeed in knots to the dial.
static constexpr ScalePoint airspeed_scale[] = {
    {20, 90, 23},   {40, 103, 23},  {60, 136, 40},  {80, 156, 74},
    {100, 154, 112}, {120, 126, 148}, {140, 86, 158}, {160, 55, 148},
    {180, 33, 127}, {200, 23, 101}, {250, 35, 51},  {300, 71, 25},
};
// The same dial for the airspeed limit, which the host gives in 1/128 knot.
static constexpr ScalePoint limit_scale[] = {
    {20 * 128, 90, 23},   {40 * 128, 103, 23},  {60 * 128, 136, 40},  {80 * 128, 156, 74},
    {100 * 128, 154, 112}, {120 * 128, 126, 148}, {140 * 128, 86, 158}, {160 * 128, 55, 148},
    {180 * 128, 33, 127}, {200 * 128, 23, 101}, {250 * 128, 35, 51},  {300 * 128, 71, 25},
};

static double FS_CALL limit_pointer(ElementHead* e) { return clamped_variable(e, 2560, 38400); }
static double FS_CALL airspeed_pointer(ElementHead* e) { return clamped_variable(e, 20, 300); }
static double FS_CALL bug_1_angle(ElementHead*) { return quillmar.airspeed.bug_1 + 270; }
static double FS_CALL bug_2_angle(ElementHead*) { return quillmar.airspeed.bug_2 + 270; }
static double FS_CALL bug_3_angle(ElementHead*) { return quillmar.airspeed.bug_3 + 270; }

static constexpr GaugeHeader* GAUGE = &gauge_Airspeed.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr uint32_t VAR_AIRSPEED = 61, VAR_AIRSPEED_LIMIT = 63;

static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_FACE_LIT, .flags = IMAGE_LIT});
static constinit NeedleElement limit_normal =
    needle(GAUGE, {.bitmap = BMP_MAX_POINTER, .x = DIAL_X, .y = DIAL_Y, .flags = T,
                   .variable = VAR_AIRSPEED_LIMIT},
           limit_pointer, limit_scale, POINTER_RATE);
static constinit NeedleElement limit_lit =
    needle(GAUGE, {.bitmap = BMP_MAX_POINTER_LIT, .x = DIAL_X, .y = DIAL_Y, .flags = IMAGE_LIT,
                   .variable = VAR_AIRSPEED_LIMIT},
           limit_pointer, limit_scale, POINTER_RATE);
static constinit NeedleElement pointer_normal =
    needle(GAUGE, {.bitmap = BMP_POINTER, .x = DIAL_X, .y = DIAL_Y, .flags = T,
                   .variable = VAR_AIRSPEED},
           airspeed_pointer, airspeed_scale, POINTER_RATE);
static constinit NeedleElement pointer_lit =
    needle(GAUGE, {.bitmap = BMP_POINTER_LIT, .x = DIAL_X, .y = DIAL_Y, .flags = IMAGE_LIT,
                   .variable = VAR_AIRSPEED},
           airspeed_pointer, airspeed_scale, POINTER_RATE);
static constinit NeedleElement bug_1 =
    needle(GAUGE, {.bitmap = BMP_BUG, .x = DIAL_X, .y = DIAL_Y, .flags = T}, bug_1_angle);
static constinit NeedleElement bug_2 =
    needle(GAUGE, {.bitmap = BMP_BUG, .x = DIAL_X, .y = DIAL_Y, .flags = T}, bug_2_angle);
static constinit NeedleElement bug_3 =
    needle(GAUGE, {.bitmap = BMP_BUG, .x = DIAL_X, .y = DIAL_Y, .flags = T}, bug_3_angle);

static ElementHead* face_children[] = {
    &face_lit.head,    &limit_normal.head, &limit_lit.head, &pointer_normal.head,
    &pointer_lit.head, &bug_1.head,        &bug_2.head,     &bug_3.head,
    nullptr,
};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* airspeed_elements[] = {&face.head, nullptr};

static const LightingPair lighting[] = {
    {&face.head, &face_lit.head},
    {&limit_normal.head, &limit_lit.head},
    {&pointer_normal.head, &pointer_lit.head},
};

// ------------------------------------------------------------ mouse

static void bug_up(double& bug) {
    if (bug < BUG_MAX) bug += 1;
}
static void bug_down(double& bug) {
    if (bug > BUG_MIN) bug -= 1;
}

static int32_t FS_CALL bug_1_up(const MousePoint*, uint32_t) { bug_up(quillmar.airspeed.bug_1); return 1; }
static int32_t FS_CALL bug_1_down(const MousePoint*, uint32_t) { bug_down(quillmar.airspeed.bug_1); return 1; }
static int32_t FS_CALL bug_2_up(const MousePoint*, uint32_t) { bug_up(quillmar.airspeed.bug_2); return 1; }
static int32_t FS_CALL bug_2_down(const MousePoint*, uint32_t) { bug_down(quillmar.airspeed.bug_2); return 1; }
static int32_t FS_CALL bug_3_up(const MousePoint*, uint32_t) { bug_up(quillmar.airspeed.bug_3); return 1; }
static int32_t FS_CALL bug_3_down(const MousePoint*, uint32_t) { bug_down(quillmar.airspeed.bug_3); return 1; }

// Bug 3's knob lies inside bug 1's decrease area; the first rectangle that
// holds a click takes it, so bug 3's two rectangles come first or bug 3
// could never be set.
static MouseRect airspeed_rects[] = {
    mouse_parent(0, 0, 181, 181),
    mouse_child(140, 0, 40, 20, CURSOR_INCREASE, MOUSE_REPEAT, bug_3_up),
    mouse_child(140, 20, 40, 20, CURSOR_DECREASE, MOUSE_REPEAT, bug_3_down),
    mouse_child(0, 0, 100, 100, CURSOR_INCREASE, MOUSE_REPEAT, bug_1_up),
    mouse_child(100, 0, 100, 100, CURSOR_DECREASE, MOUSE_REPEAT, bug_1_down),
    mouse_child(140, 140, 40, 20, CURSOR_INCREASE, MOUSE_REPEAT, bug_2_up),
    mouse_child(140, 160, 40, 20, CURSOR_DECREASE, MOUSE_REPEAT, bug_2_down),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

struct BugKey {
    PanelStateKey key;
    double* value;
};
static const BugKey bug_keys[] = {
    {KEY_AIRSPEED_BUG_1, &quillmar.airspeed.bug_1},
    {KEY_AIRSPEED_BUG_2, &quillmar.airspeed.bug_2},
    {KEY_AIRSPEED_BUG_3, &quillmar.airspeed.bug_3},
};

static void FS_CALL airspeed_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        for (const BugKey& k : bug_keys) *k.value = panel_state_read_int(k.key);
        break;
    case SERVICE_UPDATE: apply_panel_lighting(lighting); break;
    case SERVICE_KILL:
        for (const BugKey& k : bug_keys) panel_state_write_int(k.key, *k.value);
        break;
    default: break;
    }
}

MAIN_GAUGE(Airspeed, airspeed_elements, airspeed_rects, airspeed_callback);
