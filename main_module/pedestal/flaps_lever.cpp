// Flaps_Lever: the flaps selector on the pedestal. A click on its upper half
// selects one step up, on its lower half one step down; the lever image
// follows the host's flaps handle through the quadrant's gates.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/pedestal/pedestal.h"

enum : int32_t {
    BMP_QUADRANT = BITMAPS_Flaps_Lever,
    BMP_LEVER = BMP_QUADRANT + 1,
};

// Host events sent and host variables read.
enum : uint32_t {
    EVENT_FLAPS_POSITIONS = 0x100E0,   // sent with the handle's number of positions
    EVENT_FLAPS_DOWN_STEP = 0x100DE,
    EVENT_FLAPS_UP_STEP = 0x100DF,
    VAR_FLAPS_HANDLE_POSITION = 328,  // 0 to 16383
};
constexpr uint32_t FLAPS_POSITIONS = 7;

// The lever image for each handle value the flaps stop at: the detents at
// multiples of 2730 (full flaps 16383) and the values three above them. In
// some gates the lever stands 10 pixels to the left.
struct FlapsLeverStop {
    uint16_t handle;
    FlapsLeverOffset offset;
};
static const FlapsLeverStop flaps_lever_stops[] = {
    {0, {0, 0}},        {2730, {0, 34}},   {2733, {0, 34}},    {5460, {0, 55}},
    {5463, {-10, 55}},  {8190, {-10, 71}}, {8193, {-10, 71}},  {10920, {-10, 87}},
    {10923, {0, 87}},   {13650, {-10, 109}}, {13653, {0, 109}}, {16383, {0, 137}},
};

FlapsLeverOffset flaps_lever_offset(double handle) {
    auto h = static_cast<uint16_t>(static_cast<int32_t>(handle));
    for (const FlapsLeverStop& stop : flaps_lever_stops)
        if (stop.handle == h) return stop.offset;
    return {0, 0};  // between stops the lever is drawn at the top
}

// The lever's own host variable (the flaps handle) is refreshed by the host
// before it asks for the offsets.
static double FS_CALL lever_x(ElementHead* e) { return flaps_lever_offset(e->variable.value).x; }
static double FS_CALL lever_y(ElementHead* e) { return flaps_lever_offset(e->variable.value).y; }

static constexpr GaugeHeader* GAUGE = &gauge_Flaps_Lever.h;

static constinit SliderElement lever = slider(
    GAUGE,
    {.bitmap = BMP_LEVER, .x = 5, .y = 0, .flags = IMAGE_TRANSPARENT,
     .variable = VAR_FLAPS_HANDLE_POSITION},
    lever_x, lever_y, 1, 1);
static ElementHead* quadrant_children[] = {&lever.head, nullptr};
static constinit StaticImageElement quadrant =
    static_image(GAUGE, {.bitmap = BMP_QUADRANT, .children = quadrant_children});
static ElementHead* flaps_lever_elements[] = {&quadrant.head, nullptr};

static void select_flaps(uint32_t step_event) {
    send_host_event(EVENT_FLAPS_POSITIONS, FLAPS_POSITIONS);
    send_host_event(step_event, 0);
}

static int32_t FS_CALL click_up(const MousePoint*, uint32_t) {
    select_flaps(EVENT_FLAPS_UP_STEP);
    return 1;
}

static int32_t FS_CALL click_down(const MousePoint*, uint32_t) {
    select_flaps(EVENT_FLAPS_DOWN_STEP);
    return 1;
}

static MouseRect flaps_lever_rects[] = {
    mouse_parent(0, 0, 26, 170),
    mouse_child(0, 0, 26, 85, 1, MOUSE_CLICK, click_up),
    mouse_child(0, 85, 26, 85, 2, MOUSE_CLICK, click_down),
    mouse_close(),
    mouse_end(),
};

MAIN_GAUGE(Flaps_Lever, flaps_lever_elements, flaps_lever_rects, nullptr);
