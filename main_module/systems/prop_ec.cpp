// PropEC: the propeller panel's PROP EC lights (legends PROPELLER, FEATHER
// PUMP, PROP EC for each engine).
//
// On the ground a propeller stays feathered until its engine runs; in the
// air the autofeather drops the propeller of an engine whose torque has
// collapsed while the annunciator is active. A lit light holds its
// propeller lever at the feather stop every frame, and the engine rating
// panel's governor leaves that propeller alone.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_LEGENDS = BITMAPS_PropEC,
    BMP_PROP_EC_LIGHT = BMP_LEGENDS + 1,     // dark, ON
};

static double light_shown(int32_t light) {
    return quillmar.electric.elec_power_state == 2 ? light : 0;
}
static double FS_CALL left_light_image(ElementHead*) {
    return light_shown(quillmar.prop_ec.prop_ec_light_1);
}
static double FS_CALL right_light_image(ElementHead*) {
    return light_shown(quillmar.prop_ec.prop_ec_light_2);
}

static constexpr GaugeHeader* GAUGE = &gauge_PropEC.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit IconElement left_light = icon(
    GAUGE, {.bitmap = BMP_PROP_EC_LIGHT, .x = 56, .y = 29, .flags = IMAGE_LIT}, left_light_image, 2);
static constinit IconElement right_light = icon(
    GAUGE, {.bitmap = BMP_PROP_EC_LIGHT, .x = 93, .y = 29, .flags = IMAGE_LIT}, right_light_image, 2);

// The panel has no mask: the two lights hang from the lettering overlay.
static ElementHead* legend_children[] = {&left_light.head, &right_light.head, nullptr};
static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT, .children = legend_children});
static ElementHead* prop_ec_elements[] = {&legends.head, nullptr};

static MouseRect prop_ec_rects[] = {mouse_parent(0, 0, 175, 300), mouse_close(), mouse_end()};

// ------------------------------------------------------------ update

static HostVariable on_ground = host_variable(60);

// Per engine: its running state and torque, its light and the event that
// holds its propeller lever.
struct PropEcBinding {
    HostVariable running, torque;
    int32_t* light;
    int32_t* autofeathered;
    uint32_t prop_lever_event;
};
static PropEcBinding prop_ec_bindings[2] = {
    {host_variable(130), host_variable(629), &quillmar.prop_ec.prop_ec_light_1,
     &quillmar.prop_ec.autofeathered_1, 0x10183},
    {host_variable(165), host_variable(648), &quillmar.prop_ec.prop_ec_light_2,
     &quillmar.prop_ec.autofeathered_2, 0x10184},
};

// Below this the engine is not yet running on its own.
constexpr double RUNNING_THRESHOLD = 9000;
// Torque below which an active autofeather drops the propeller.
constexpr double FEATHER_TORQUE = 0.25;

// A propeller the autofeather has dropped in the air stays feathered while
// its engine gives no torque. The lit light is itself a propeller control
// fault, which disarms the annunciator on the next update; the light must
// not go out with it, or it would blink every other frame, and with it the
// governor's hold on the propeller and the other engine's extra torque.
static void prop_ec_update(GaugeHeader* gauge) {
    bool ground = host_variable_value(&on_ground) != 0;
    bool autofeather_active = quillmar.feather.feather_state == 2;
    for (PropEcBinding& b : prop_ec_bindings) {
        double running = host_variable_value(&b.running);
        double torque = host_variable_value(&b.torque);
        if (ground || torque >= FEATHER_TORQUE) *b.autofeathered = 0;
        *b.light = 0;
        if (ground && running < RUNNING_THRESHOLD) *b.light = 1;
        if (autofeather_active && torque < FEATHER_TORQUE) {
            *b.light = 1;
            if (!ground) *b.autofeathered = 1;
        }
        if (*b.autofeathered != 0) *b.light = 1;
    }
    show_element_if(gauge_base(gauge), panel_lit());
    for (const PropEcBinding& b : prop_ec_bindings)
        if (*b.light == 1) send_host_event(b.prop_lever_event, 0);
}

static void FS_CALL prop_ec_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) prop_ec_update(gauge);
}

MAIN_GAUGE(PropEC, prop_ec_elements, prop_ec_rects, prop_ec_callback);
