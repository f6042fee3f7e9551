// Fuel: the fuel panel on the overhead.
//
// The panel holds two booster pump buttons per wing tank, the cross-feed
// button, a SYS SHUT OFF indication per engine, each tank's quantity in
// kilograms and the LEVEL caution light. The host runs the tanks and the
// engines' fuel flow; the panel turns the pump and cross-feed selections
// into the host's tank selection, and tells the simulator cycle which
// engines have no booster pressure (they flame out in unusual attitudes).
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/fuel.h"
#include "main_module/systems/readout_style.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Fuel,
    BMP_LEGENDS = BMP_PANEL_MASK + 1,
    BMP_SHUTOFF = BMP_LEGENDS + 1,   // dark, flow bar, SHUT (both engines)
    BMP_XFEED = BMP_SHUTOFF + 3,     // dark, ON
    BMP_PUMP = BMP_XFEED + 2,        // OFF, dark (all four pumps)
    BMP_LEVEL = BMP_PUMP + 2,        // dark, LEVEL
};

enum : uint32_t {
    EVENT_TANKS_BOTH = 0x101A4,      // each tank feeds its own engine
    EVENT_TANK_LEFT_FEEDS = 0x101A5,
    EVENT_TANK_RIGHT_FEEDS = 0x101A6,
};

constexpr double KILOGRAMS_PER_POUND = 0.4536;
constexpr double LOW_QUANTITY = 41;      // kg: below it the readout blinks LO
constexpr double LEVEL_LOW = 200;        // kg in either tank
constexpr double LEVEL_IMBALANCE = 250;  // kg between the tanks

static HostVariable tick_counter = host_variable(1);
static HostVariable left_tank = host_variable(304);
static HostVariable right_tank = host_variable(303);
static HostVariable fuel_weight = host_variable(306);  // pounds per unit of quantity

static char left_text[8];
static char right_text[8];

// A tank's quantity in kilograms, kept for the LEVEL light. From 41 kg the
// readout shows the number; below, it alternates between the number and LO
// with the number on every evaluation.
static double quantity_readout(StringElement* r, HostVariable* tank, double& kilograms,
                               int32_t& blink_phase) {
    kilograms = host_variable_value(tank) * host_variable_value(&fuel_weight) * KILOGRAMS_PER_POUND;
    int whole = static_cast<int>(kilograms);
    if (kilograms >= LOW_QUANTITY) {
        std::snprintf(r->text, r->text_size, "%4d", whole);
    } else if (blink_phase == 0) {
        std::snprintf(r->text, r->text_size, "  %2d", whole);
        blink_phase = 1;
    } else {
        std::snprintf(r->text, r->text_size, "LO%2d", whole);
        blink_phase = 0;
    }
    // The value changes twice a second, so the host redraws the blinking text.
    return static_cast<int32_t>(host_variable_value(&tick_counter) * (1.0 / 9));
}

static double FS_CALL left_readout(ElementHead* e) {
    FuelPanel& f = quillmar.fuel;
    return quantity_readout(reinterpret_cast<StringElement*>(e), &left_tank, f.fuel_qty_left_kg,
                            f.blink_phase_left);
}

static double FS_CALL right_readout(ElementHead* e) {
    FuelPanel& f = quillmar.fuel;
    return quantity_readout(reinterpret_cast<StringElement*>(e), &right_tank,
                            f.fuel_qty_right_kg, f.blink_phase_right);
}

// LEVEL: a tank below 200 kg or more than 250 kg between the tanks, from
// the quantities the readouts last computed. Without power it keeps its
// last state.
static double FS_CALL level_light(ElementHead*) {
    FuelPanel& f = quillmar.fuel;
    if (quillmar.electric.elec_power_state != 0) {
        double imbalance = f.fuel_qty_left_kg - f.fuel_qty_right_kg;
        bool caution = f.fuel_qty_left_kg < LEVEL_LOW || f.fuel_qty_right_kg < LEVEL_LOW ||
                       imbalance < -LEVEL_IMBALANCE || imbalance > LEVEL_IMBALANCE;
        f.fuel_level_light = caution ? 1 : 0;
    }
    return f.fuel_level_light;
}

static double FS_CALL shutoff_1_image(ElementHead*) { return quillmar.fuel.fuel_shutoff_indication_1; }
static double FS_CALL shutoff_2_image(ElementHead*) { return quillmar.fuel.fuel_shutoff_indication_2; }
static double FS_CALL xfeed_image(ElementHead*) { return quillmar.fuel.fuel_xfeed_pos; }
static double FS_CALL pump_left_1_image(ElementHead*) { return quillmar.fuel.fuelpump_left_1_pos; }
static double FS_CALL pump_left_2_image(ElementHead*) { return quillmar.fuel.fuelpump_left_2_pos; }
static double FS_CALL pump_right_1_image(ElementHead*) { return quillmar.fuel.fuelpump_right_1_pos; }
static double FS_CALL pump_right_2_image(ElementHead*) { return quillmar.fuel.fuelpump_right_2_pos; }

static constexpr GaugeHeader* GAUGE = &gauge_Fuel.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle READOUT_STYLE = system_readout_style(38, 14);

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT});
static constinit StringElement readout_left =
    readout(GAUGE, {.x = 31, .y = 146}, left_readout, left_text, READOUT_STYLE);
static constinit StringElement readout_right =
    readout(GAUGE, {.x = 109, .y = 146}, right_readout, right_text, READOUT_STYLE);
static constinit IconElement shutoff_1 =
    icon(GAUGE, {.bitmap = BMP_SHUTOFF, .x = 36, .y = 26, .flags = IMAGE_LIT}, shutoff_1_image, 3);
static constinit IconElement shutoff_2 =
    icon(GAUGE, {.bitmap = BMP_SHUTOFF, .x = 119, .y = 26, .flags = IMAGE_LIT}, shutoff_2_image, 3);
static constinit IconElement xfeed_legend =
    icon(GAUGE, {.bitmap = BMP_XFEED, .x = 78, .y = 43, .flags = IMAGE_LIT}, xfeed_image, 2);
static constinit IconElement pump_left_1 =
    icon(GAUGE, {.bitmap = BMP_PUMP, .x = 22, .y = 83, .flags = IMAGE_LIT}, pump_left_1_image, 2);
static constinit IconElement pump_left_2 =
    icon(GAUGE, {.bitmap = BMP_PUMP, .x = 56, .y = 83, .flags = IMAGE_LIT}, pump_left_2_image, 2);
static constinit IconElement pump_right_1 =
    icon(GAUGE, {.bitmap = BMP_PUMP, .x = 100, .y = 83, .flags = IMAGE_LIT}, pump_right_1_image, 2);
static constinit IconElement pump_right_2 =
    icon(GAUGE, {.bitmap = BMP_PUMP, .x = 134, .y = 83, .flags = IMAGE_LIT}, pump_right_2_image, 2);
static constinit IconElement level =
    icon(GAUGE, {.bitmap = BMP_LEVEL, .x = 74, .y = 173, .flags = IMAGE_LIT}, level_light, 2);

// Children of the panel mask, in drawing order; indexed by FuelElement. The
// readouts come before the LEVEL light, which uses what they computed.
static ElementHead* fuel_children[] = {
    &legends.head,     &readout_left.head, &readout_right.head, &shutoff_1.head,
    &shutoff_2.head,   &xfeed_legend.head, &pump_left_1.head,   &pump_left_2.head,
    &pump_right_1.head, &pump_right_2.head, &level.head,        nullptr,
};

static constinit StaticImageElement panel_mask =
    static_image(GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = fuel_children});
static ElementHead* fuel_elements[] = {&panel_mask.head, nullptr};

// Everything but the legend overlay shows only with power.
static const FuelElement powered_elements[] = {
    FUEL_READOUT_LEFT, FUEL_READOUT_RIGHT, FUEL_SHUTOFF_1,    FUEL_SHUTOFF_2,
    FUEL_XFEED_LEGEND, FUEL_PUMP_LEFT_1,   FUEL_PUMP_LEFT_2,  FUEL_PUMP_RIGHT_1,
    FUEL_PUMP_RIGHT_2, FUEL_LEVEL_LIGHT,
};

static void show_powered(GaugeHeader* gauge, bool shown) {
    for (FuelElement e : powered_elements) show_element_if(gauge_element(gauge, {e}), shown);
}

// ------------------------------------------------------------ mouse

static void press(double& button) {
    sound_start(SOUND_SWITCH_PUSH);
    button = button != 0 ? 0 : 1;
}

static int32_t FS_CALL click_xfeed(const MousePoint*, uint32_t) {
    press(quillmar.fuel.fuel_xfeed_pos);
    return 1;
}
static int32_t FS_CALL click_pump_left_1(const MousePoint*, uint32_t) {
    press(quillmar.fuel.fuelpump_left_1_pos);
    return 1;
}
static int32_t FS_CALL click_pump_left_2(const MousePoint*, uint32_t) {
    press(quillmar.fuel.fuelpump_left_2_pos);
    return 1;
}
static int32_t FS_CALL click_pump_right_1(const MousePoint*, uint32_t) {
    press(quillmar.fuel.fuelpump_right_1_pos);
    return 1;
}
static int32_t FS_CALL click_pump_right_2(const MousePoint*, uint32_t) {
    press(quillmar.fuel.fuelpump_right_2_pos);
    return 1;
}

static MouseRect fuel_rects[] = {
    mouse_parent(0, 0, 174, 300),
    mouse_child(74, 39, 26, 25, 5, MOUSE_CLICK, click_xfeed),
    mouse_child(18, 69, 26, 25, 5, MOUSE_CLICK, click_pump_left_1),
    mouse_child(52, 69, 26, 25, 5, MOUSE_CLICK, click_pump_left_2),
    mouse_child(96, 69, 26, 25, 5, MOUSE_CLICK, click_pump_right_1),
    mouse_child(130, 69, 26, 25, 5, MOUSE_CLICK, click_pump_right_2),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

struct FuelKey {
    PanelStateKey key;
    double* value;
};

// The section's keys in the order they are read and written.
static const FuelKey fuel_keys[] = {
    {KEY_FUEL_FUELPUMP_LEFT_1_POS, &quillmar.fuel.fuelpump_left_1_pos},
    {KEY_FUEL_FUELPUMP_LEFT_2_POS, &quillmar.fuel.fuelpump_left_2_pos},
    {KEY_FUEL_FUELPUMP_RIGHT_1_POS, &quillmar.fuel.fuelpump_right_1_pos},
    {KEY_FUEL_FUELPUMP_RIGHT_2_POS, &quillmar.fuel.fuelpump_right_2_pos},
    {KEY_FUEL_FUEL_XFEED_POS, &quillmar.fuel.fuel_xfeed_pos},
};

void fuel_install() {
    for (const FuelKey& k : fuel_keys) *k.value = panel_state_read_int(k.key);
    quillmar.fuel.blink_phase_left = quillmar.fuel.blink_phase_right = 0;
}

void fuel_kill() {
    for (const FuelKey& k : fuel_keys) panel_state_write_int(k.key, *k.value);
}

// With the cross-feed open, the only side whose pumps run feeds both
// engines; otherwise each tank feeds its own engine.
static uint32_t tank_selection(const FuelPanel& f) {
    if (f.fuel_xfeed_pos == 0) return EVENT_TANKS_BOTH;
    bool left = f.fuelpump_left_1_pos != 0 || f.fuelpump_left_2_pos != 0;
    bool right = f.fuelpump_right_1_pos != 0 || f.fuelpump_right_2_pos != 0;
    if (left && !right) return EVENT_TANK_LEFT_FEEDS;
    if (right && !left) return EVENT_TANK_RIGHT_FEEDS;
    return EVENT_TANKS_BOTH;
}

void fuel_update(GaugeHeader* gauge) {
    FuelPanel& f = quillmar.fuel;
    const PanelInputs& in = quillmar.panels;
    switch (static_cast<int>(quillmar.electric.elec_power_state)) {
    case 0:
        // Without power the pumps and the cross-feed fall to off.
        show_powered(gauge, false);
        f.fuelpump_left_1_pos = f.fuelpump_left_2_pos = 0;
        f.fuelpump_right_1_pos = f.fuelpump_right_2_pos = 0;
        f.fuel_shutoff_indication_1 = f.fuel_shutoff_indication_2 = 0;
        f.fuel_xfeed_pos = 0;
        send_host_event(EVENT_TANKS_BOTH, 0);
        break;
    case 1:
        show_powered(gauge, false);
        send_host_event(tank_selection(f), 0);
        break;
    case 2:
        show_powered(gauge, true);
        f.fuel_shutoff_indication_1 = in.engine1_fuel_shutoff != 0 ? 2 : 1;
        f.fuel_shutoff_indication_2 = in.engine2_fuel_shutoff != 0 ? 2 : 1;
        send_host_event(tank_selection(f), 0);
        break;
    default:
        send_host_event(tank_selection(f), 0);
        break;
    }

    bool left_unboosted = f.fuelpump_left_1_pos == 0 && f.fuelpump_left_2_pos == 0 && f.fuel_xfeed_pos == 0;
    bool right_unboosted =
        f.fuelpump_right_1_pos == 0 && f.fuelpump_right_2_pos == 0 && f.fuel_xfeed_pos == 0;
    quillmar.panels.no_boost_pressure = (left_unboosted ? 1 : 0) + (right_unboosted ? 2 : 0);

    show_element_if(gauge_element(gauge, {FUEL_LEGENDS}), panel_lit());
}

static void FS_CALL fuel_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: fuel_install(); break;
    case SERVICE_UPDATE: fuel_update(gauge); break;
    case SERVICE_KILL: fuel_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Fuel, fuel_elements, fuel_rects, fuel_callback);
