// Flaps: the flap position indicator. Its pointer follows the flap
// handle; clicking the left half of the dial selects one step up, the right
// half one step down, as the flap lever on the pedestal does.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_FLAPS_FACE = BITMAPS_Flaps,
    BMP_FLAPS_FACE_LIT = BMP_FLAPS_FACE + 1,
    BMP_FLAPS_POINTER = BMP_FLAPS_FACE_LIT + 1,
    BMP_FLAPS_POINTER_LIT = BMP_FLAPS_POINTER + 1,
};

constexpr uint32_t EVENT_FLAPS_POSITIONS = 0x100E0;   // the handle's number of positions
constexpr uint32_t EVENT_FLAPS_DOWN = 0x100DE;        // one step toward extension
constexpr uint32_t EVENT_FLAPS_UP = 0x100DF;          // one step toward retraction
constexpr uint32_t FLAP_POSITIONS = 7;

// ------------------------------------------------------------ elements

// Flap handle value (0 to 16383, host variable 328) to dial point.
static const ScalePoint flap_scale[] = {
    {0, 51, 18},     {2730, 73, 27},  {5460, 79, 35},  {8190, 82, 45},
    {10920, 82, 54}, {13650, 73, 73}, {16383, 53, 81},
};

static constexpr GaugeHeader* GAUGE = &gauge_Flaps.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement face_lit = static_image(GAUGE, {.bitmap = BMP_FLAPS_FACE_LIT, .flags = IMAGE_LIT});
static constinit NeedleElement pointer = needle(
    GAUGE, {.bitmap = BMP_FLAPS_POINTER, .x = 50, .y = 50, .flags = T, .variable = 328}, nullptr, flap_scale, 1);
static constinit NeedleElement pointer_lit = needle(
    GAUGE, {.bitmap = BMP_FLAPS_POINTER_LIT, .x = 50, .y = 50, .flags = IMAGE_LIT, .variable = 328}, nullptr, flap_scale, 1);

static ElementHead* flaps_children[] = {&face_lit.head, &pointer.head, &pointer_lit.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FLAPS_FACE, .children = flaps_children});
static ElementHead* flaps_elements[] = {&face.head, nullptr};

static const LightingPair flaps_lighting[] = {
    {&face.head, &face_lit.head},
    {&pointer.head, &pointer_lit.head},
};

// ------------------------------------------------------------ mouse

static int32_t FS_CALL click_up(const MousePoint*, uint32_t) {
    send_host_event(EVENT_FLAPS_POSITIONS, FLAP_POSITIONS);
    send_host_event(EVENT_FLAPS_UP, 0);
    return 1;
}

static int32_t FS_CALL click_down(const MousePoint*, uint32_t) {
    send_host_event(EVENT_FLAPS_POSITIONS, FLAP_POSITIONS);
    send_host_event(EVENT_FLAPS_DOWN, 0);
    return 1;
}

static MouseRect flaps_rects[] = {
    mouse_parent(0, 0, 101, 101),
    mouse_child(0, 0, 50, 100, CURSOR_DECREASE, MOUSE_CLICK, click_up),
    mouse_child(50, 0, 50, 100, CURSOR_INCREASE, MOUSE_CLICK, click_down),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ callback

static void FS_CALL flaps_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: send_host_event(EVENT_FLAPS_POSITIONS, FLAP_POSITIONS); break;
    case SERVICE_UPDATE: apply_panel_lighting(flaps_lighting); break;
    default: break;
    }
}

MAIN_GAUGE(Flaps, flaps_elements, flaps_rects, flaps_callback);
