// Altimeter: the pointer-and-drum altimeter of the main panel.
//
// The pointer turns once per thousand feet; three drums show the hundreds,
// thousands and ten thousands, and the thousands and ten-thousands drums
// roll through the last hundred feet before they change. Below the drums
// the barometric setting in inches and hectopascals, set with the knob at
// the lower left.
#include <cstdint>
#include <cstdio>

#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_FACE = BITMAPS_Altimeter,
    BMP_FACE_LIT = BMP_FACE + 1,
    BMP_POINTER = BMP_FACE_LIT + 1,
    BMP_POINTER_LIT = BMP_POINTER + 1,
    BMP_HUNDREDS_STRIP = BMP_POINTER_LIT + 1,
    BMP_HUNDREDS_STRIP_LIT = BMP_HUNDREDS_STRIP + 1,
    BMP_DIGIT_STRIP = BMP_HUNDREDS_STRIP_LIT + 1,       // thousands and ten thousands
    BMP_DIGIT_STRIP_LIT = BMP_DIGIT_STRIP + 1,
};

constexpr int32_t DIAL_X = 90, DIAL_Y = 90;
constexpr uint32_t VAR_ALTITUDE = 74, VAR_BARO_INHG = 75, VAR_BARO_HPA = 76;
constexpr uint32_t EVENT_BARO_UP = 0x1015B, EVENT_BARO_DOWN = 0x1015C;
// Pixels of drum strip the positions 0 to 999 span.
constexpr int32_t DRUM_TRAVEL = 140;

// The altitude in whole feet for the drums; below sea level they rest at zero.
static int32_t drum_feet(const ElementHead* e) {
    double feet = e->variable.value;
    return feet > 0 ? static_cast<int32_t>(feet) : 0;
}

// One turn per thousand feet, straight up at whole thousands.
static double FS_CALL pointer_angle(ElementHead* e) {
    double angle = e->variable.value * 0.36 + 270;
    e->variable.value = angle;
    return angle;
}

static double FS_CALL hundreds_drum(ElementHead* e) { return 999 - drum_feet(e) % 1000; }

// The thousands drum rolls with the hundreds through the last hundred feet
// before each thousand (above 900, not at it).
static double FS_CALL thousands_drum(ElementHead* e) {
    int32_t t = drum_feet(e);
    int32_t roll = t % 1000 > 900 ? t % 100 : 0;
    return 999 - ((t / 1000 % 10) * 100 + roll);
}

static double FS_CALL ten_thousands_drum(ElementHead* e) {
    int32_t t = drum_feet(e);
    int32_t roll = t % 10000 > 9900 ? t % 100 : 0;
    return 999 - (t / 10000 * 100 + roll);
}

static char inches_text[16];
static char hectopascals_text[16];

static double FS_CALL inches_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "%4.2f", e->variable.value);
    return e->variable.value;
}

static double FS_CALL hectopascals_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "%4d",
                  static_cast<int>(e->variable.value));
    return e->variable.value;
}

static constexpr GaugeHeader* GAUGE = &gauge_Altimeter.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle BARO_STYLE = {34, 12, 0xFFFFFF, 0x000000, "Arial", 400, STRING_ALIGN_RIGHT};

static constexpr MovingImageElement drum(int32_t bitmap, int32_t x, int32_t y,
                                         ValueCallback* value) {
    return moving_image(GAUGE, {.bitmap = bitmap, .x = x, .y = y, .flags = T, .variable = VAR_ALTITUDE},
                        nullptr, value, 0, 0, 0, 999, 0, DRUM_TRAVEL);
}

static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_FACE_LIT, .flags = IMAGE_LIT});
static constinit MovingImageElement hundreds = drum(BMP_HUNDREDS_STRIP, 97, 62, hundreds_drum);
static constinit MovingImageElement hundreds_lit =
    drum(BMP_HUNDREDS_STRIP_LIT, 97, 62, hundreds_drum);
static constinit MovingImageElement thousands = drum(BMP_DIGIT_STRIP, 68, 65, thousands_drum);
static constinit MovingImageElement thousands_lit =
    drum(BMP_DIGIT_STRIP_LIT, 68, 65, thousands_drum);
static constinit MovingImageElement ten_thousands =
    drum(BMP_DIGIT_STRIP, 49, 65, ten_thousands_drum);
static constinit MovingImageElement ten_thousands_lit =
    drum(BMP_DIGIT_STRIP_LIT, 49, 65, ten_thousands_drum);
static constinit NeedleElement pointer =
    needle(GAUGE, {.bitmap = BMP_POINTER, .x = DIAL_X, .y = DIAL_Y, .flags = T,
                   .variable = VAR_ALTITUDE},
           pointer_angle);
static constinit NeedleElement pointer_lit =
    needle(GAUGE, {.bitmap = BMP_POINTER_LIT, .x = DIAL_X, .y = DIAL_Y, .flags = IMAGE_LIT,
                   .variable = VAR_ALTITUDE},
           pointer_angle);
static constinit StringElement inches = readout(
    GAUGE, {.x = 98, .y = 127, .variable = VAR_BARO_INHG}, inches_readout, inches_text, BARO_STYLE);
static constinit StringElement hectopascals =
    readout(GAUGE, {.x = 49, .y = 127, .variable = VAR_BARO_HPA}, hectopascals_readout,
            hectopascals_text, BARO_STYLE);

static ElementHead* face_children[] = {
    &face_lit.head,      &hundreds.head,          &hundreds_lit.head, &thousands.head,
    &thousands_lit.head, &ten_thousands.head,     &ten_thousands_lit.head,
    &pointer.head,       &pointer_lit.head,       &inches.head,       &hectopascals.head,
    nullptr,
};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* altimeter_elements[] = {&face.head, nullptr};

static const LightingPair lighting[] = {
    {&face.head, &face_lit.head},
    {&hundreds.head, &hundreds_lit.head},
    {&thousands.head, &thousands_lit.head},
    {&ten_thousands.head, &ten_thousands_lit.head},
    {&pointer.head, &pointer_lit.head},
};

// ------------------------------------------------------------ mouse

static int32_t FS_CALL baro_down(const MousePoint*, uint32_t) {
    send_host_event(EVENT_BARO_DOWN, 0);
    return 1;
}

static int32_t FS_CALL baro_up(const MousePoint*, uint32_t) {
    send_host_event(EVENT_BARO_UP, 0);
    return 1;
}

static MouseRect altimeter_rects[] = {
    mouse_parent(0, 0, 181, 181),
    mouse_child(0, 140, 20, 40, CURSOR_DECREASE, MOUSE_REPEAT, baro_down),
    mouse_child(20, 140, 20, 40, CURSOR_INCREASE, MOUSE_REPEAT, baro_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ update

static void FS_CALL altimeter_callback(GaugeHeader*, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) apply_panel_lighting(lighting);
}

MAIN_GAUGE(Altimeter, altimeter_elements, altimeter_rects, altimeter_callback);
