// VSI and Standby_Horizon: the vertical speed indicator and the standby
// attitude indicator of the main panel.
//
// Both carry their normal and lit images in the same places of their
// element trees, so one callback lights them: the second element is the lit
// partner of the first, the third the lit partner of the fourth. The
// standby horizon is a bezel over two textures, a pitch scale that moves
// with pitch and turns with bank and a sky-and-ground background that turns
// with bank; it needs no power of its own.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/needle_values.h"
#include "main_module/instruments/panel_lighting.h"

// ------------------------------------------------------------ VSI

enum : int32_t {
    BMP_VSI_FACE = BITMAPS_VSI,
    BMP_VSI_FACE_LIT = BMP_VSI_FACE + 1,
    BMP_VSI_POINTER_LIT = BMP_VSI_FACE_LIT + 1,
    BMP_VSI_POINTER = BMP_VSI_POINTER_LIT + 1,
};

constexpr uint32_t VAR_VERTICAL_SPEED = 65;   // 1/256 metre a second
constexpr double VSI_LIMIT = 7800;            // 6000 feet a minute

// Vertical speed to the dial: zero at nine o'clock, climbs upwards.
static constexpr ScalePoint vsi_scale[] = {
    {-7800, 157, 102}, {-7150, 155, 110}, {-6500, 151, 120}, {-5850, 145, 130},
    {-5200, 137, 140}, {-4550, 125, 148}, {-3900, 113, 154}, {-3250, 99, 156},
    {-2600, 84, 158},  {-1950, 64, 153},  {-1300, 46, 142},  {-650, 29, 120},
    {0, 22, 90},       {650, 29, 60},     {1300, 46, 38},    {1950, 64, 27},
    {2600, 84, 22},    {3250, 99, 24},    {3900, 113, 26},   {4550, 125, 32},
    {5200, 137, 40},   {5850, 145, 50},   {6500, 151, 60},   {7150, 155, 70},
    {7800, 157, 78},
};

static double FS_CALL vsi_pointer(ElementHead* e) {
    return clamped_variable(e, -VSI_LIMIT, VSI_LIMIT);
}

namespace vsi {
static constexpr GaugeHeader* GAUGE = &gauge_VSI.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_VSI_FACE_LIT, .flags = IMAGE_LIT});
static constinit NeedleElement pointer_lit =
    needle(GAUGE, {.bitmap = BMP_VSI_POINTER_LIT, .x = 90, .y = 90, .flags = IMAGE_LIT,
                   .variable = VAR_VERTICAL_SPEED},
           vsi_pointer, vsi_scale, 5);
static constinit NeedleElement pointer =
    needle(GAUGE, {.bitmap = BMP_VSI_POINTER, .x = 90, .y = 90, .flags = T,
                   .variable = VAR_VERTICAL_SPEED},
           vsi_pointer, vsi_scale, 5);

static ElementHead* face_children[] = {&face_lit.head, &pointer_lit.head, &pointer.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_VSI_FACE, .children = face_children});
static ElementHead* elements[] = {&face.head, nullptr};

static MouseRect rects[] = {mouse_parent(0, 0, 181, 181), mouse_close(), mouse_end()};
}  // namespace vsi

// ------------------------------------------------------------ standby horizon

enum : int32_t {
    BMP_BEZEL = BITMAPS_Standby_Horizon,
    BMP_PITCH_SCALE_LIT = BMP_BEZEL + 1,
    BMP_BACKGROUND_LIT = BMP_PITCH_SCALE_LIT + 1,
    BMP_PITCH_SCALE = BMP_BACKGROUND_LIT + 1,
    BMP_BACKGROUND = BMP_PITCH_SCALE + 1,
};

constexpr double PITCH_LIMIT = 65;            // degrees the scale can show
constexpr double PITCH_PIXELS = 1.2;          // scale pixels per degree

static HostVariable pitch = host_variable(78);
static HostVariable bank = host_variable(80);

static double FS_CALL pitch_scale_offset(ElementHead*) {
    double p = host_variable_value(&pitch);
    if (p > PITCH_LIMIT) p = PITCH_LIMIT;
    if (p < -PITCH_LIMIT) p = -PITCH_LIMIT;
    return p * PITCH_PIXELS;
}

static double FS_CALL bank_rotation(ElementHead*) { return -host_variable_value(&bank); }

namespace standby {
static constexpr GaugeHeader* GAUGE = &gauge_Standby_Horizon.h;

static constinit SpriteElement pitch_scale_lit = sprite(
    GAUGE, {.bitmap = BMP_PITCH_SCALE_LIT, .flags = IMAGE_LIT}, nullptr, pitch_scale_offset, bank_rotation, 0.45);
static constinit SpriteElement background_lit =
    sprite(GAUGE, {.bitmap = BMP_BACKGROUND_LIT, .flags = IMAGE_LIT}, nullptr, nullptr, bank_rotation, 1.0);
static constinit SpriteElement pitch_scale = sprite(
    GAUGE, {.bitmap = BMP_PITCH_SCALE}, nullptr, pitch_scale_offset, bank_rotation, 0.45);
static constinit SpriteElement background =
    sprite(GAUGE, {.bitmap = BMP_BACKGROUND}, nullptr, nullptr, bank_rotation, 1.0);

static ElementHead* bezel_children[] = {&pitch_scale_lit.head, &background_lit.head,
                                        &pitch_scale.head, &background.head, nullptr};
static constinit StaticImageElement bezel = static_image(
    GAUGE, {.bitmap = BMP_BEZEL, .flags = IMAGE_TRANSPARENT, .children = bezel_children});
static ElementHead* elements[] = {&bezel.head, nullptr};

static MouseRect rects[] = {mouse_parent(0, 0, 256, 256), mouse_close(), mouse_end()};
}  // namespace standby

// ------------------------------------------------------------ the shared callback

// Elements in tree order: the base element, then its children.
static ElementHead* tree_element(GaugeHeader* gauge, int index) {
    return index == 0 ? gauge_base(gauge) : element_child(gauge_base(gauge), index - 1);
}

static void FS_CALL vsi_standby_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    const LightingPair pairs[] = {
        {tree_element(gauge, 0), tree_element(gauge, 1)},
        {tree_element(gauge, 3), tree_element(gauge, 2)},
    };
    apply_panel_lighting(pairs);
}

MAIN_GAUGE(VSI, vsi::elements, vsi::rects, vsi_standby_callback);
MAIN_GAUGE(Standby_Horizon, standby::elements, standby::rects, vsi_standby_callback);
