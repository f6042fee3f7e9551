// Hydraulic: the hydraulic panel on the overhead.
//
// The panel holds the left and right engine-driven pump buttons, the guarded
// electric pump button and a three-position selector (QTY (%), OFF,
// PRESS (PSI)) over one readout. The aircraft has one hydraulic pressure,
// computed by the simulator cycle along the ramps this panel starts: the
// first pump switched on raises the pressure by 234 psi a second to what
// the pumps deliver, the last one switched off lets it fall at the same
// rate to 0. With power on the engines switch their own pumps: an engine
// coming up turns its pump on once, a stopped engine holds its pump off.
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/hydraulic.h"
#include "main_module/systems/readout_style.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Hydraulic,
    BMP_LEGENDS = BMP_PANEL_MASK + 1,
    BMP_SELECTOR_KNOB = BMP_LEGENDS + 1,       // left, up, right
    BMP_GUARD = BMP_SELECTOR_KNOB + 3,         // closed, open
    BMP_ELEC_PUMP = BMP_GUARD + 2,             // dark, ON
    BMP_ENG_PUMP = BMP_ELEC_PUMP + 2,          // OFF, dark (both engine pumps)
};

// Readout selector positions.
constexpr int SELECTOR_QTY = 0, SELECTOR_OFF = 1, SELECTOR_PRESS = 2;

constexpr double ENGINE_RUNNING = 0.4;  // engine value above which its pump runs

static double FS_CALL selector_image(ElementHead*) {
    return quillmar.hydraulic.readout_switch_pos;
}
static double FS_CALL guard_image(ElementHead*) { return quillmar.hydraulic.elec_pump_cover_pos; }
static double FS_CALL elec_pump_image(ElementHead*) { return quillmar.panels.elec_pump_pos; }
static double FS_CALL right_pump_image(ElementHead*) { return quillmar.panels.eng_pump_right_pos; }
static double FS_CALL left_pump_image(ElementHead*) { return quillmar.panels.eng_pump_left_pos; }

static char readout_text[8];

// The selected value: the quantity in percent with one decimal, or the
// pressure in whole psi; nothing with the selector at OFF.
static double FS_CALL readout_value(ElementHead* e) {
    auto* r = reinterpret_cast<StringElement*>(e);
    const SystemOutputs& sys = quillmar.systems;
    switch (static_cast<int>(quillmar.hydraulic.readout_switch_pos)) {
    case SELECTOR_QTY:
        std::snprintf(r->text, r->text_size, "%4.1f", sys.hyd_quantity_percent);
        return sys.hyd_quantity_percent;
    case SELECTOR_OFF:
        r->text[0] = '\0';
        return 0;
    case SELECTOR_PRESS:
        std::snprintf(r->text, r->text_size, "%4d", static_cast<int>(sys.hyd_pressure));
        return sys.hyd_pressure;
    default:
        return 0;  // the text stays as it was
    }
}

static constexpr GaugeHeader* GAUGE = &gauge_Hydraulic.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT});
static constinit StringElement readout_element = readout(
    GAUGE, {.x = 113, .y = 27}, readout_value, readout_text, system_readout_style(38, 14));
static constinit IconElement selector_knob =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_KNOB, .x = 118, .y = 67, .flags = T}, selector_image, 3);
static constinit IconElement guard =
    icon(GAUGE, {.bitmap = BMP_GUARD, .x = 73, .y = 62, .flags = T}, guard_image, 2);
static constinit IconElement elec_pump_legend =
    icon(GAUGE, {.bitmap = BMP_ELEC_PUMP, .x = 77, .y = 88, .flags = IMAGE_LIT}, elec_pump_image, 2);
static constinit IconElement right_pump_legend =
    icon(GAUGE, {.bitmap = BMP_ENG_PUMP, .x = 46, .y = 88, .flags = IMAGE_LIT}, right_pump_image, 2);
static constinit IconElement left_pump_legend =
    icon(GAUGE, {.bitmap = BMP_ENG_PUMP, .x = 21, .y = 88, .flags = IMAGE_LIT}, left_pump_image, 2);

// Children of the panel mask, in drawing order; indexed by HydraulicElement.
static ElementHead* hydraulic_children[] = {
    &legends.head,          &readout_element.head,   &selector_knob.head,
    &guard.head,            &elec_pump_legend.head,  &right_pump_legend.head,
    &left_pump_legend.head, nullptr,
};

static constinit StaticImageElement panel_mask = static_image(
    GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = hydraulic_children});
static ElementHead* hydraulic_elements[] = {&panel_mask.head, nullptr};

static ElementHead* element(GaugeHeader* gauge, HydraulicElement which) {
    return gauge_element(gauge, {which});
}

static const HydraulicElement pump_legends[] = {
    HYDRAULIC_ELEC_PUMP_LEGEND, HYDRAULIC_RIGHT_PUMP_LEGEND, HYDRAULIC_LEFT_PUMP_LEGEND};

// ------------------------------------------------------------ ramps and mouse

static HostVariable tick_counter = host_variable(1);
static HostVariable engine_value_1 = host_variable(701);
static HostVariable engine_value_2 = host_variable(709);

// The pressure ramp starts from the present pressure at the present tick.
static void start_ramp(HydraulicRamp mode) {
    PanelInputs& in = quillmar.panels;
    in.hyd_ramp_start_pressure = quillmar.systems.hyd_pressure;
    in.hyd_ramp_start_tick = host_variable_value(&tick_counter);
    in.hyd_ramp_mode = mode;
}

static void toggle(double& button) { button = button != 0 ? 0 : 1; }

// An engine pump switched while the other engine pump is off starts a ramp
// its way; with the other engine pump running the pressure stays.
static void press_engine_pump(double& pump, double other_pump) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(pump);
    if (other_pump == 0) start_ramp(pump != 0 ? HYD_RAMP_RISING : HYD_RAMP_FALLING);
}

static int32_t FS_CALL click_left_pump(const MousePoint*, uint32_t) {
    press_engine_pump(quillmar.panels.eng_pump_left_pos, quillmar.panels.eng_pump_right_pos);
    return 1;
}

static int32_t FS_CALL click_right_pump(const MousePoint*, uint32_t) {
    press_engine_pump(quillmar.panels.eng_pump_right_pos, quillmar.panels.eng_pump_left_pos);
    return 1;
}

// The electric pump switches only under an open guard. While neither engine
// pump runs, any press starts the ramp that matches the electric pump's
// state, even with the guard closed.
static int32_t FS_CALL click_elec_pump(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    PanelInputs& in = quillmar.panels;
    if (quillmar.hydraulic.elec_pump_cover_pos != 0) toggle(in.elec_pump_pos);
    if (in.eng_pump_right_pos != 0 || in.eng_pump_left_pos != 0) return 1;
    start_ramp(in.elec_pump_pos != 0 ? HYD_RAMP_RISING : HYD_RAMP_FALLING);
    return 1;
}

static int32_t FS_CALL click_guard(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(quillmar.hydraulic.elec_pump_cover_pos);
    return 1;
}

// The selector stops at QTY (%) and at PRESS (PSI).
static int32_t FS_CALL click_selector_left(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& position = quillmar.hydraulic.readout_switch_pos;
    if (position > SELECTOR_QTY) position -= 1;
    return 1;
}

static int32_t FS_CALL click_selector_right(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& position = quillmar.hydraulic.readout_switch_pos;
    if (position < SELECTOR_PRESS) position += 1;
    return 1;
}

static MouseRect hydraulic_rects[] = {
    mouse_parent(0, 0, 174, 300),
    mouse_child(22, 75, 25, 25, 5, MOUSE_CLICK, click_left_pump),
    mouse_child(48, 75, 25, 25, 5, MOUSE_CLICK, click_right_pump),
    mouse_child(74, 75, 25, 25, 5, MOUSE_CLICK, click_elec_pump),
    mouse_child(74, 55, 25, 20, 5, MOUSE_CLICK, click_guard),
    mouse_child(105, 55, 27, 54, 2, MOUSE_CLICK, click_selector_left),
    mouse_child(132, 55, 27, 54, 3, MOUSE_CLICK, click_selector_right),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

struct HydraulicKey {
    PanelStateKey key;
    double* value;
};

// The section's keys in the order they are read and written.
static const HydraulicKey hydraulic_keys[] = {
    {KEY_HYDRAULIC_HYD_ELECTRIC_POWER_INIT, &quillmar.hydraulic.hyd_electric_power_init},
    {KEY_HYDRAULIC_ENG_PUMP_LEFT_POS, &quillmar.panels.eng_pump_left_pos},
    {KEY_HYDRAULIC_ENG_PUMP_RIGHT_POS, &quillmar.panels.eng_pump_right_pos},
    {KEY_HYDRAULIC_ELEC_PUMP_POS, &quillmar.panels.elec_pump_pos},
    {KEY_HYDRAULIC_ELEC_PUMP_COVER_POS, &quillmar.hydraulic.elec_pump_cover_pos},
    {KEY_HYDRAULIC_READOUT_SWITCH_POS, &quillmar.hydraulic.readout_switch_pos},
};

void hydraulic_install() {
    HydraulicPanel& hyd = quillmar.hydraulic;
    for (const HydraulicKey& k : hydraulic_keys) *k.value = panel_state_read_int(k.key);
    hyd.hyd_engine1_pump_started = hyd.hyd_engine2_pump_started = 0;
    // Installed again with both engines last seen running, the pressure
    // stays where it is until a pump button starts a ramp.
    bool both_running = engine_value_1.value >= ENGINE_RUNNING &&
                        engine_value_2.value >= ENGINE_RUNNING;
    quillmar.panels.hyd_ramp_mode = both_running ? HYD_RAMP_FROZEN : HYD_RAMP_STEADY;
}

void hydraulic_kill() {
    for (const HydraulicKey& k : hydraulic_keys) panel_state_write_int(k.key, *k.value);
}

// An engine coming up turns its pump on once, and starts the pressure
// rising when the other engine pump is off.
static void engine_pump_comes_on(double engine, int32_t& started, double& pump, double other) {
    if (engine > ENGINE_RUNNING && started == 0) {
        pump = 1;
        started = 1;
        if (other == 0) start_ramp(HYD_RAMP_RISING);
    }
}

// A stopped engine holds its pump off; with no pump left the pressure falls
// unless it is already falling or frozen.
static void engine_pump_held_off(double engine, double& pump, double other) {
    if (engine >= ENGINE_RUNNING) return;
    pump = 0;
    int32_t mode = quillmar.panels.hyd_ramp_mode;
    if (other == 0 && quillmar.panels.elec_pump_pos == 0 && mode != HYD_RAMP_FALLING &&
        mode != HYD_RAMP_FROZEN)
        start_ramp(HYD_RAMP_FALLING);
}

void hydraulic_update(GaugeHeader* gauge) {
    PanelInputs& in = quillmar.panels;
    HydraulicPanel& hyd = quillmar.hydraulic;
    double engine1 = host_variable_value(&engine_value_1);
    double engine2 = host_variable_value(&engine_value_2);
    if (engine1 < ENGINE_RUNNING) hyd.hyd_engine1_pump_started = 0;
    if (engine2 < ENGINE_RUNNING) hyd.hyd_engine2_pump_started = 0;

    switch (static_cast<int>(quillmar.electric.elec_power_state)) {
    case 0:
        // Without power the engine pump buttons rest on, the electric pump off.
        hyd.hyd_electric_power_init = 1;
        in.eng_pump_left_pos = in.eng_pump_right_pos = 1;
        in.elec_pump_pos = 0;
        for (HydraulicElement e : pump_legends) hide_element(element(gauge, e));
        hide_element(element(gauge, HYDRAULIC_READOUT));
        break;
    case 1:
        for (HydraulicElement e : pump_legends) hide_element(element(gauge, e));
        hide_element(element(gauge, HYDRAULIC_READOUT));
        break;
    case 2:
        for (HydraulicElement e : pump_legends) show_element(element(gauge, e));
        show_element_if(element(gauge, HYDRAULIC_READOUT), hyd.readout_switch_pos != SELECTOR_OFF);
        engine_pump_comes_on(engine1, hyd.hyd_engine1_pump_started, in.eng_pump_left_pos,
                             in.eng_pump_right_pos);
        engine_pump_comes_on(engine2, hyd.hyd_engine2_pump_started, in.eng_pump_right_pos,
                             in.eng_pump_left_pos);
        engine_pump_held_off(engine1, in.eng_pump_left_pos, in.eng_pump_right_pos);
        engine_pump_held_off(engine2, in.eng_pump_right_pos, in.eng_pump_left_pos);
        break;
    default:
        break;
    }

    show_element_if(element(gauge, HYDRAULIC_LEGENDS), panel_lit());
}

static void FS_CALL hydraulic_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: hydraulic_install(); break;
    case SERVICE_UPDATE: hydraulic_update(gauge); break;
    case SERVICE_KILL: hydraulic_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Hydraulic, hydraulic_elements, hydraulic_rects, hydraulic_callback);
