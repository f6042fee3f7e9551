// RMI: the radio magnetic indicator of the main panel.
//
// A compass card turning with the heading and two bearing pointers: the
// double-bar pointer 1 shows the bearing to the NAV 1 station or to the
// ADF beacon, the single-bar pointer 2 the NAV 2 station or the ADF beacon,
// as the RMI selector's buttons choose. A VOR selection wins over an ADF
// selection whenever its receiver is on; a pointer with nothing to show
// rests at 3 o'clock.
#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_RMI_FACE = BITMAPS_RMI,
    BMP_RMI_FACE_LIT = BMP_RMI_FACE + 1,
    BMP_RMI_CARD = BMP_RMI_FACE_LIT + 1,
    BMP_RMI_CARD_LIT = BMP_RMI_CARD + 1,
    BMP_RMI_POINTER1 = BMP_RMI_CARD_LIT + 1,
    BMP_RMI_POINTER1_LIT = BMP_RMI_POINTER1 + 1,
    BMP_RMI_POINTER2 = BMP_RMI_POINTER1_LIT + 1,
    BMP_RMI_POINTER2_LIT = BMP_RMI_POINTER2 + 1,
    BMP_RMI_BEZEL = BMP_RMI_POINTER2_LIT + 1,
    BMP_RMI_BEZEL_LIT = BMP_RMI_BEZEL + 1,
};

constexpr int32_t DIAL_CENTRE = 90;
constexpr double POINTER_PARKED = 0;   // 3 o'clock
constexpr double POINTER_UP = 270;     // a bearing of 0 relative to the nose

static HostVariable nav1_bearing = host_variable(25);    // 16-bit angle units
static HostVariable nav1_signal = host_variable(42);     // above 0: a station received
static HostVariable heading = host_variable(81);         // degrees
static HostVariable nav2_bearing = host_variable(59);    // relative, degrees
static HostVariable adf_bearing = host_variable(39);     // relative, degrees

constexpr double ANGLE_UNITS_TO_DEGREES = 0.005493164062513411;

static bool selects(double selection, int pointer) {
    int s = static_cast<int>(selection);
    return s == pointer || s == 3;
}

static double reduce(double angle) { return angle > 359 ? angle - 360 : angle; }

static double FS_CALL pointer1_angle(ElementHead*) {
    const NavigationInstrumentState& nav = quillmar.navigation;
    if (selects(nav.vor_pointer_select, 1) && quillmar.vhf_nav.receiver[0].nav_on != 0) {
        if (host_variable_int(&nav1_signal) <= 0) return POINTER_PARKED;
        double angle = host_variable_value(&nav1_bearing) * ANGLE_UNITS_TO_DEGREES -
                       host_variable_value(&heading) + 90;
        if (angle < 0) angle += 360;
        return reduce(angle);
    }
    if (selects(nav.adf_pointer_select, 1) && quillmar.radios.adf_any_on != 0)
        return reduce(host_variable_value(&adf_bearing) + POINTER_UP);
    return POINTER_PARKED;
}

static double FS_CALL pointer2_angle(ElementHead*) {
    const NavigationInstrumentState& nav = quillmar.navigation;
    if (selects(nav.vor_pointer_select, 2) && quillmar.vhf_nav.receiver[1].nav_on != 0)
        return reduce(host_variable_value(&nav2_bearing) + POINTER_UP);
    if (selects(nav.adf_pointer_select, 2) && quillmar.radios.adf_any_on != 0)
        return reduce(host_variable_value(&adf_bearing) + POINTER_UP);
    return POINTER_PARKED;
}

static constexpr GaugeHeader* GAUGE = &gauge_RMI.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement face_lit = static_image(GAUGE, {.bitmap = BMP_RMI_FACE_LIT, .flags = IMAGE_LIT});
// The card turns with the heading.
static constinit SpriteElement card =
    sprite(GAUGE, {.bitmap = BMP_RMI_CARD, .flags = T, .variable = 81}, nullptr, nullptr, nullptr, 1.0);
static constinit SpriteElement card_lit =
    sprite(GAUGE, {.bitmap = BMP_RMI_CARD_LIT, .flags = IMAGE_LIT, .variable = 81}, nullptr, nullptr, nullptr, 1.0);
static constinit NeedleElement pointer2 = needle(
    GAUGE, {.bitmap = BMP_RMI_POINTER2, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = T}, pointer2_angle);
static constinit NeedleElement pointer2_lit = needle(
    GAUGE, {.bitmap = BMP_RMI_POINTER2_LIT, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = IMAGE_LIT}, pointer2_angle);
static constinit NeedleElement pointer1 = needle(
    GAUGE, {.bitmap = BMP_RMI_POINTER1, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = T}, pointer1_angle);
static constinit NeedleElement pointer1_lit = needle(
    GAUGE, {.bitmap = BMP_RMI_POINTER1_LIT, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = IMAGE_LIT}, pointer1_angle);
static constinit StaticImageElement bezel = static_image(GAUGE, {.bitmap = BMP_RMI_BEZEL, .flags = T});
static constinit StaticImageElement bezel_lit = static_image(GAUGE, {.bitmap = BMP_RMI_BEZEL_LIT, .flags = IMAGE_LIT});

static ElementHead* rmi_children[] = {
    &face_lit.head,     &card.head,     &card_lit.head,     &pointer2.head, &pointer2_lit.head,
    &pointer1.head,     &pointer1_lit.head, &bezel.head,    &bezel_lit.head, nullptr,
};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_RMI_FACE, .children = rmi_children});
static ElementHead* rmi_elements[] = {&face.head, nullptr};

static const LightingPair rmi_lighting[] = {
    {&face.head, &face_lit.head},
    {&card.head, &card_lit.head},
    {&bezel.head, &bezel_lit.head},
    {&pointer1.head, &pointer1_lit.head},
    {&pointer2.head, &pointer2_lit.head},
};

// ------------------------------------------------------------ callback

static void FS_CALL rmi_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        // An ADF head left on at the end of the last flight points the ADF
        // selections from the start.
        quillmar.radios.adf_any_on = panel_state_read_int(KEY_ADF_ADF1_KNOB_POS) > 1 ||
                                             panel_state_read_int(KEY_ADF_ADF2_KNOB_POS) > 1
                                         ? 1
                                         : 0;
        break;
    case SERVICE_UPDATE: apply_panel_lighting(rmi_lighting); break;
    default: break;
    }
}

// No mouse areas: the selector is a gauge of its own.
static MouseRect rmi_rects[] = {mouse_parent(0, 0, 181, 181), mouse_close(), mouse_end()};

MAIN_GAUGE(RMI, rmi_elements, rmi_rects, rmi_callback);
