// Feather: the autofeather annunciator (off, armed, active).
//
// The autofeather is armed with the TO, GA or FLX rating selected (or the
// gear lever down) and no propeller control fault. It becomes active
// once a power lever is under the servo and an engine gives more than half
// torque, and stays active while the servo holds; an engine whose torque
// then collapses gets its propeller feathered (see the PROP EC lights).
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_ANNUNCIATOR = BITMAPS_Feather,      // off, armed, active
};

static double FS_CALL annunciator_image(ElementHead*) { return quillmar.feather.feather_state; }

static constexpr GaugeHeader* GAUGE = &gauge_Feather.h;
static constinit IconElement annunciator =
    icon(GAUGE, {.bitmap = BMP_ANNUNCIATOR, .flags = IMAGE_LIT}, annunciator_image, 3);
static ElementHead* feather_elements[] = {&annunciator.head, nullptr};

static MouseRect feather_rects[] = {mouse_parent(0, 0, 18, 18), mouse_close(), mouse_end()};

static HostVariable torque_1 = host_variable(629);
static HostVariable torque_2 = host_variable(648);
static HostVariable gear_lever = host_variable(331);

constexpr double GEAR_LEVER_DOWN = 16383;
constexpr double ACTIVATING_TORQUE = 0.5;
constexpr double RELEASING_TORQUE = 0.25;

static void feather_update(GaugeHeader* gauge) {
    FeatherState& f = quillmar.feather;
    const PanelInputs& in = quillmar.panels;
    double torque1 = host_variable_value(&torque_1);
    double torque2 = host_variable_value(&torque_2);
    bool gear_down = host_variable_value(&gear_lever) == GEAR_LEVER_DOWN;

    int32_t mode = quillmar.engine_rating.active_erp_mode;
    bool fault = quillmar.prop_ec.prop_ec_light_1 != 0 || quillmar.prop_ec.prop_ec_light_2 != 0;
    f.feather_state = 0;
    if ((mode == 1 || mode == 2 || mode == 3 || gear_down) && !fault) f.feather_state = 1;

    bool servo = in.lever_servo_1 != 0 || in.lever_servo_2 != 0;
    if (servo && f.feather_state == 1) {
        if (torque1 > ACTIVATING_TORQUE || torque2 > ACTIVATING_TORQUE) {
            f.feather_latch = 1;
            f.feather_state = 2;
        } else if (f.feather_latch != 0) {
            f.feather_state = 2;
        }
    } else {
        f.feather_latch = 0;
    }
    if (torque1 < RELEASING_TORQUE || torque2 < RELEASING_TORQUE) f.feather_latch = 0;

    show_element_if(gauge_base(gauge), quillmar.electric.elec_power_state == 2);
}

static void FS_CALL feather_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) feather_update(gauge);
}

MAIN_GAUGE(Feather, feather_elements, feather_rects, feather_callback);
