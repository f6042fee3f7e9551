// Fuel_Controls: the two fuel control levers. Fully forward (0) gives full
// fuel flow, the idle gate (50) ground idle, behind the gate (up to 80) the
// fuel is shut off; the simulator cycle sends the host the fuel control
// value of each lever every frame. The positions are kept between flights.
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/pedestal/pedestal.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_QUADRANT = BITMAPS_Fuel_Controls,
    BMP_LEVER = BMP_QUADRANT + 1,  // both levers
};

constexpr double LEVER_FORWARD = 0;
constexpr double LEVER_BACK = 80;
constexpr double IDLE_GATE = 50;
constexpr double POINTER_TO_LEVER = 0.47058823529411764;  // 80 units over 170 pixels

double fuel_control_lever_from_pointer(int32_t y) {
    double v = y * POINTER_TO_LEVER;
    if (v > 40 && v < 60) return IDLE_GATE;
    if (v < 20) return LEVER_FORWARD;
    if (v > 70) return LEVER_BACK;
    return v;
}

// A lever is drawn within its travel; a position out of range (from the
// panel state file) is brought back into it.
static double clamp_lever(double& lever) {
    if (lever < LEVER_FORWARD) lever = LEVER_FORWARD;
    if (lever > LEVER_BACK) lever = LEVER_BACK;
    return lever;
}

static double FS_CALL left_lever_y(ElementHead*) {
    return clamp_lever(quillmar.panels.fuel_control_left_pos);
}
static double FS_CALL right_lever_y(ElementHead*) {
    return clamp_lever(quillmar.panels.fuel_control_right_pos);
}

static constexpr GaugeHeader* GAUGE = &gauge_Fuel_Controls.h;

static constinit SliderElement left_lever = slider(
    GAUGE, {.bitmap = BMP_LEVER, .x = 52, .y = 0, .flags = IMAGE_TRANSPARENT}, nullptr,
    left_lever_y, 0, 1);
static constinit SliderElement right_lever = slider(
    GAUGE, {.bitmap = BMP_LEVER, .x = 230, .y = 0, .flags = IMAGE_TRANSPARENT}, nullptr,
    right_lever_y, 0, 1);
static ElementHead* quadrant_children[] = {&left_lever.head, &right_lever.head, nullptr};
static constinit StaticImageElement quadrant =
    static_image(GAUGE, {.bitmap = BMP_QUADRANT, .children = quadrant_children});
static ElementHead* fuel_controls_elements[] = {&quadrant.head, nullptr};

static int32_t FS_CALL drag_left(const MousePoint* point, uint32_t) {
    quillmar.panels.fuel_control_left_pos = fuel_control_lever_from_pointer(point->y);
    return 1;
}

static int32_t FS_CALL drag_right(const MousePoint* point, uint32_t) {
    quillmar.panels.fuel_control_right_pos = fuel_control_lever_from_pointer(point->y);
    return 1;
}

static MouseRect fuel_controls_rects[] = {
    mouse_parent(0, 0, 341, 180),
    mouse_child(45, 0, 50, 170, 5, MOUSE_DRAG, drag_left),
    mouse_child(220, 0, 50, 170, 5, MOUSE_DRAG, drag_right),
    mouse_close(),
    mouse_end(),
};

struct LeverKey {
    PanelStateKey key;
    double* lever;
};
static const LeverKey lever_keys[] = {
    {KEY_FUEL_CONTROL_FUEL_CONTROL_LEFT_POS, &quillmar.panels.fuel_control_left_pos},
    {KEY_FUEL_CONTROL_FUEL_CONTROL_RIGHT_POS, &quillmar.panels.fuel_control_right_pos},
};

static void FS_CALL fuel_controls_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        for (const LeverKey& k : lever_keys) *k.lever = panel_state_read_int(k.key);
        break;
    case SERVICE_KILL:
        for (const LeverKey& k : lever_keys) panel_state_write_int(k.key, *k.lever);
        break;
    default: break;
    }
}

MAIN_GAUGE(Fuel_Controls, fuel_controls_elements, fuel_controls_rects, fuel_controls_callback);
