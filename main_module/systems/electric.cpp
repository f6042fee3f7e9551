// Electric: the electrical power control panel ("EPCP") on the overhead.
//
// The panel holds the battery master, the battery charge, TRU, generator,
// cross-feed and external power buttons, the meter selector with its two
// readouts and the BAT PWR ONLY light. Its update keeps the buttons
// consistent with what is powered; the power state itself is evaluated by
// the simulator cycle.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/electric.h"
#include "main_module/systems/readout_style.h"
#include "frame/panel_state.h"
#include "platform/clock.h"

// ------------------------------------------------------------ elements

// Bitmaps of the panel; the icons take one number per image.
enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Electric,
    BMP_SYNOPTIC_LEGENDS = BMP_PANEL_MASK + 1,
    BMP_BATTERY_LEGENDS = BMP_SYNOPTIC_LEGENDS + 1,
    BMP_METER_LEGENDS = BMP_BATTERY_LEGENDS + 1,
    BMP_DECIMAL_POINT = BMP_METER_LEGENDS + 1,
    BMP_SELECTOR_KNOB = BMP_DECIMAL_POINT + 1,       // 12 positions
    BMP_BAT_CHARGE = BMP_SELECTOR_KNOB + 12,         // off, on
    BMP_DC_XFEED = BMP_BAT_CHARGE + 2,
    BMP_TRU = BMP_DC_XFEED + 2,
    BMP_AC_XFEED = BMP_TRU + 2,
    BMP_GEN = BMP_AC_XFEED + 2,
    BMP_EXT_PWR = BMP_GEN + 2,                       // off, available, connected
    BMP_BAT_PWR_ONLY = BMP_EXT_PWR + 3,
    BMP_BATTERY_MASTER = BMP_BAT_PWR_ONLY + 2,
};

static double FS_CALL selector_image(ElementHead*) {
    return quillmar.electric.indicator_switch_pos;
}
static double FS_CALL bat1_image(ElementHead*) { return quillmar.electric.batt1; }
static double FS_CALL bat2_image(ElementHead*) { return quillmar.electric.batt2; }
static double FS_CALL dc_xfeed_image(ElementHead*) { return quillmar.electric.dc_xfeed; }
static double FS_CALL tru1_image(ElementHead*) { return quillmar.electric.tru1; }
static double FS_CALL tru2_image(ElementHead*) { return quillmar.electric.tru2; }
static double FS_CALL ac_xfeed_image(ElementHead*) { return quillmar.electric.ac_xfeed; }
static double FS_CALL gen1_image(ElementHead*) { return quillmar.electric.gen1; }
static double FS_CALL gen2_image(ElementHead*) { return quillmar.electric.gen2; }
static double FS_CALL battery_master_image(ElementHead*) { return quillmar.electric.batt_switch; }

static double FS_CALL ext_pwr_image(ElementHead*) {
    const ElectricState& el = quillmar.electric;
    if (el.ext_pwr != 0) return 2;
    return el.ext_pwr_available != 0 ? 1 : 0;
}

static double FS_CALL bat_pwr_only_image(ElementHead*) {
    const ElectricState& el = quillmar.electric;
    bool only_battery = el.batt_switch != 0 && el.ext_pwr == 0 && quillmar.panels.apu_gen == 0 &&
                        el.gen1 == 0 && el.gen2 == 0;
    return only_battery ? 1 : 0;
}

static char readout_left_text[4];
static char readout_right_text[4];
static double FS_CALL readout_left(ElementHead* e);
static double FS_CALL readout_right(ElementHead* e);

static constexpr GaugeHeader* GAUGE = &gauge_Electric.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle READOUT_STYLE = system_readout_style(28, 15);

static constinit StaticImageElement synoptic_legends =
    static_image(GAUGE, {.bitmap = BMP_SYNOPTIC_LEGENDS, .x = -1, .y = 190, .flags = IMAGE_LIT});
static constinit StaticImageElement battery_legends =
    static_image(GAUGE, {.bitmap = BMP_BATTERY_LEGENDS, .x = -1, .y = 132, .flags = IMAGE_LIT});
static constinit StaticImageElement meter_legends =
    static_image(GAUGE, {.bitmap = BMP_METER_LEGENDS, .x = -1, .y = -2, .flags = IMAGE_LIT});
static constinit StringElement readout_1 =
    readout(GAUGE, {.x = 32, .y = 23}, readout_left, readout_left_text, READOUT_STYLE);
static constinit StringElement readout_2 =
    readout(GAUGE, {.x = 119, .y = 23}, readout_right, readout_right_text, READOUT_STYLE);
static constinit StaticImageElement decimal_point_1 =
    static_image(GAUGE, {.bitmap = BMP_DECIMAL_POINT, .x = 50, .y = 32, .flags = IMAGE_LIT});
static constinit StaticImageElement decimal_point_2 =
    static_image(GAUGE, {.bitmap = BMP_DECIMAL_POINT, .x = 137, .y = 32, .flags = IMAGE_LIT});

static constinit IconElement selector_knob =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_KNOB, .x = 73, .y = 53, .flags = T}, selector_image, 12);
static constinit IconElement bat1_legend =
    icon(GAUGE, {.bitmap = BMP_BAT_CHARGE, .x = 39, .y = 165, .flags = IMAGE_LIT}, bat1_image, 2);
static constinit IconElement bat2_legend =
    icon(GAUGE, {.bitmap = BMP_BAT_CHARGE, .x = 119, .y = 165, .flags = IMAGE_LIT}, bat2_image, 2);
static constinit IconElement dc_xfeed_legend =
    icon(GAUGE, {.bitmap = BMP_DC_XFEED, .x = 79, .y = 199, .flags = IMAGE_LIT}, dc_xfeed_image, 2);
static constinit IconElement tru1_legend =
    icon(GAUGE, {.bitmap = BMP_TRU, .x = 39, .y = 229, .flags = IMAGE_LIT}, tru1_image, 2);
static constinit IconElement tru2_legend =
    icon(GAUGE, {.bitmap = BMP_TRU, .x = 119, .y = 229, .flags = IMAGE_LIT}, tru2_image, 2);
static constinit IconElement ac_xfeed_legend =
    icon(GAUGE, {.bitmap = BMP_AC_XFEED, .x = 79, .y = 244, .flags = IMAGE_LIT}, ac_xfeed_image, 2);
static constinit IconElement gen1_legend =
    icon(GAUGE, {.bitmap = BMP_GEN, .x = 39, .y = 271, .flags = IMAGE_LIT}, gen1_image, 2);
static constinit IconElement gen2_legend =
    icon(GAUGE, {.bitmap = BMP_GEN, .x = 119, .y = 271, .flags = IMAGE_LIT}, gen2_image, 2);
static constinit IconElement ext_pwr_legend =
    icon(GAUGE, {.bitmap = BMP_EXT_PWR, .x = 80, .y = 268, .flags = IMAGE_LIT}, ext_pwr_image, 3);
static constinit IconElement bat_pwr_only_light =
    icon(GAUGE, {.bitmap = BMP_BAT_PWR_ONLY, .x = 75, .y = 109, .flags = IMAGE_LIT}, bat_pwr_only_image, 2);
static constinit IconElement battery_master =
    icon(GAUGE, {.bitmap = BMP_BATTERY_MASTER, .x = 85, .y = 146, .flags = T}, battery_master_image, 2);

// Children of the panel mask, in drawing order; indexed by ElectricElement.
static ElementHead* electric_children[] = {
    &synoptic_legends.head, &battery_legends.head, &meter_legends.head,
    &readout_1.head,        &readout_2.head,       &decimal_point_1.head,
    &decimal_point_2.head,  &selector_knob.head,   &bat1_legend.head,
    &bat2_legend.head,      &dc_xfeed_legend.head, &tru1_legend.head,
    &tru2_legend.head,      &ac_xfeed_legend.head, &gen1_legend.head,
    &gen2_legend.head,      &ext_pwr_legend.head,  &bat_pwr_only_light.head,
    &battery_master.head,   nullptr,
};

static constinit StaticImageElement panel_mask = static_image(
    GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = electric_children});
static ElementHead* electric_elements[] = {&panel_mask.head, nullptr};

// The eight button legends shown only with power available.
static const ElectricElement button_legends[] = {
    ELECTRIC_BAT1_LEGEND,  ELECTRIC_BAT2_LEGEND,     ELECTRIC_DC_XFEED_LEGEND,
    ELECTRIC_TRU1_LEGEND,  ELECTRIC_TRU2_LEGEND,     ELECTRIC_AC_XFEED_LEGEND,
    ELECTRIC_GEN1_LEGEND,  ELECTRIC_GEN2_LEGEND,
};
static const ElectricElement legend_overlays[] = {
    ELECTRIC_SYNOPTIC_LEGENDS, ELECTRIC_BATTERY_LEGENDS, ELECTRIC_METER_LEGENDS};
static const ElectricElement readouts_and_points[] = {
    ELECTRIC_READOUT_LEFT, ELECTRIC_READOUT_RIGHT, ELECTRIC_DECIMAL_LEFT, ELECTRIC_DECIMAL_RIGHT};

static ElementHead* element(GaugeHeader* gauge, ElectricElement which) {
    return gauge_element(gauge, {which});
}

static void show_all(GaugeHeader* gauge, const ElectricElement* list, size_t count, bool shown) {
    for (size_t i = 0; i < count; ++i) show_element_if(element(gauge, list[i]), shown);
}
#define SHOW_ALL(gauge, list, shown) show_all(gauge, list, sizeof(list) / sizeof(list[0]), shown)

// ------------------------------------------------------------ readouts

// What each selector position shows on the two readouts.
enum ReadoutCondition { WHEN_GENERATOR, WHEN_GROUND_POWER, WHEN_POWERED, WHEN_BATTERY };

static const ReadoutCondition readout_conditions[12] = {
    WHEN_GENERATOR,    // 0 GEN LOAD (%)
    WHEN_GENERATOR,    // 1 GEN VOLT
    WHEN_GENERATOR,    // 2 GEN FREQ
    WHEN_GROUND_POWER, // 3 EXT PWR VOLT/FREQ
    WHEN_POWERED,      // 4 EMER AC
    WHEN_POWERED,      // 5 AC
    WHEN_POWERED,      // 6 EMER DC
    WHEN_POWERED,      // 7 DC
    WHEN_POWERED,      // 8 TRU LOAD (%)
    WHEN_POWERED,      // 9 TRU VOLT
    WHEN_BATTERY,      // 10 BAT LOAD (A)
    WHEN_BATTERY,      // 11 BAT VOLT
};

// The values drawn at install, in the order they are drawn: position, side,
// base and the number of values above the base it may take.
struct ReadoutDraw {
    uint8_t position, side;
    int16_t base, span;
};
static const ReadoutDraw readout_draws[18] = {
    {4, 0, 114, 3},  {4, 1, 114, 3},    // EMER AC bus volts
    {11, 0, 260, 21}, {11, 1, 260, 21}, // BAT VOLT
    {3, 0, 113, 5},                     // EXT PWR volts
    {3, 1, 390, 21},                    // EXT PWR frequency
    {9, 0, 260, 21}, {9, 1, 260, 21},   // TRU VOLT
    {1, 0, 114, 3},  {1, 1, 114, 3},    // GEN VOLT
    {2, 0, 390, 21}, {2, 1, 390, 21},   // GEN FREQ
    {7, 0, 260, 21}, {7, 1, 260, 21},   // DC bus volts
    {5, 0, 114, 3},  {5, 1, 114, 3},    // AC bus volts
    {6, 0, 260, 21}, {6, 1, 260, 21},   // EMER DC bus volts
};
static constexpr int32_t FIXED_LOAD = 550;        // positions 0, 8 and 10
static const uint8_t load_positions[] = {0, 8, 10};

void electric_draw_readouts(unsigned seed) {
    std::srand(seed);
    for (const ReadoutDraw& draw : readout_draws)
        quillmar.electric.readout_values[draw.position][draw.side] =
            draw.base + std::rand() % draw.span;
    for (uint8_t position : load_positions)
        quillmar.electric.readout_values[position][0] =
            quillmar.electric.readout_values[position][1] = FIXED_LOAD;
}

static bool readout_condition(uint32_t position, int side) {
    const ElectricState& el = quillmar.electric;
    switch (readout_conditions[position]) {
    case WHEN_GENERATOR: return (side == 0 ? el.gen1 : el.gen2) != 0;
    case WHEN_GROUND_POWER: return el.ext_pwr_available != 0;
    case WHEN_POWERED: return el.elec_power_state != 0;
    case WHEN_BATTERY: return el.batt_switch != 0;
    }
    return false;
}

static double fill_readout(StringElement* readout, int side) {
    uint32_t position = quillmar.electric.indicator_switch_pos;
    if (position > 11) {
        std::snprintf(readout->text, readout->text_size, "---");
        return 0;
    }
    int32_t value = quillmar.electric.readout_values[position][side];
    if (readout_condition(position, side))
        std::snprintf(readout->text, readout->text_size, "%3d", static_cast<int>(value));
    else
        std::snprintf(readout->text, readout->text_size, "---");
    return value;
}

static double FS_CALL readout_left(ElementHead* e) {
    return fill_readout(reinterpret_cast<StringElement*>(e), 0);
}
static double FS_CALL readout_right(ElementHead* e) {
    return fill_readout(reinterpret_cast<StringElement*>(e), 1);
}

// ------------------------------------------------------------ mouse

static void recompute_generators_online() {
    ElectricState& el = quillmar.electric;
    el.generators_online = (el.gen1 != 0 ? 1 : 0) + (el.gen2 != 0 ? 2 : 0);
}

// M2: a charge button comes on only with the battery master on a live system.
static void press_charge_button(double& button) {
    const ElectricState& el = quillmar.electric;
    if (button != 0) button = 0;
    else if (el.el_pwr_on_system != 0 && el.batt_switch != 0) button = 1;
}

// M4: TRU and AUTO AC X-FEED come on only on a live system. Tells whether
// the button changed.
static bool press_powered_button(double& button) {
    if (button != 0) {
        button = 0;
        return true;
    }
    if (quillmar.electric.el_pwr_on_system == 0) return false;
    button = 1;
    return true;
}

static int32_t FS_CALL click_selector_anticlockwise(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    uint32_t& p = quillmar.electric.indicator_switch_pos;
    p = p == 0 ? 11 : p - 1;
    return 1;
}

static int32_t FS_CALL click_selector_clockwise(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    uint32_t& p = quillmar.electric.indicator_switch_pos;
    p = p >= 11 ? 0 : p + 1;
    return 1;
}

// M1: switching the battery master on restores the normal battery and TRU line-up.
static int32_t FS_CALL click_battery_master(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    ElectricState& el = quillmar.electric;
    if (el.batt_switch != 0) {
        el.batt_switch = 0;
    } else {
        el.batt_switch = 1;
        el.batt1 = el.batt2 = el.tru1 = el.tru2 = el.ac_xfeed = 1;
    }
    return 1;
}

static int32_t FS_CALL click_bat1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    press_charge_button(quillmar.electric.batt1);
    return 1;
}

static int32_t FS_CALL click_bat2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    press_charge_button(quillmar.electric.batt2);
    return 1;
}

// M3: DC X-FEED needs a live system and a battery or TRU to feed it.
static int32_t FS_CALL click_dc_xfeed(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    ElectricState& el = quillmar.electric;
    if (el.dc_xfeed != 0)
        el.dc_xfeed = 0;
    else if (el.el_pwr_on_system != 0 && (el.batt_switch != 0 || el.tru1 != 0 || el.tru2 != 0))
        el.dc_xfeed = 1;
    return 1;
}

static int32_t FS_CALL click_tru1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    press_powered_button(quillmar.electric.tru1);
    return 1;
}

static int32_t FS_CALL click_tru2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    press_powered_button(quillmar.electric.tru2);
    return 1;
}

static int32_t FS_CALL click_ac_xfeed(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    press_powered_button(quillmar.electric.ac_xfeed);
    return 1;
}

// M5: a generator button that changes also sets the generator line-up; a
// refused click leaves the line-up the cycle keeps alone.
static int32_t FS_CALL click_gen1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (press_powered_button(quillmar.electric.gen1)) recompute_generators_online();
    return 1;
}

static int32_t FS_CALL click_gen2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (press_powered_button(quillmar.electric.gen2)) recompute_generators_online();
    return 1;
}

// M6: connecting ground power restores the normal battery and TRU line-up.
static int32_t FS_CALL click_ext_pwr(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    ElectricState& el = quillmar.electric;
    if (el.ext_pwr != 0) {
        el.ext_pwr = 0;
    } else if (el.ext_pwr_available != 0) {
        el.ext_pwr = 1;
        el.tru1 = el.tru2 = el.ac_xfeed = el.batt1 = el.batt2 = 1;
    }
    return 1;
}

static MouseRect electric_rects[] = {
    mouse_parent(0, 0, 177, 300),
    mouse_child(58, 46, 30, 52, 2, MOUSE_CLICK, click_selector_anticlockwise),
    mouse_child(88, 46, 30, 52, 1, MOUSE_CLICK, click_selector_clockwise),
    mouse_child(74, 140, 30, 50, 5, MOUSE_CLICK, click_battery_master),
    mouse_child(36, 152, 26, 25, 5, MOUSE_CLICK, click_bat1),
    mouse_child(116, 152, 26, 25, 5, MOUSE_CLICK, click_bat2),
    mouse_child(76, 196, 26, 25, 5, MOUSE_CLICK, click_dc_xfeed),
    mouse_child(36, 216, 26, 25, 5, MOUSE_CLICK, click_tru1),
    mouse_child(116, 216, 26, 25, 5, MOUSE_CLICK, click_tru2),
    mouse_child(76, 231, 26, 25, 5, MOUSE_CLICK, click_ac_xfeed),
    mouse_child(36, 258, 26, 25, 5, MOUSE_CLICK, click_gen1),
    mouse_child(116, 258, 26, 25, 5, MOUSE_CLICK, click_gen2),
    mouse_child(76, 264, 26, 25, 5, MOUSE_CLICK, click_ext_pwr),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static HostVariable generator_output_1 = host_variable(701);
static HostVariable generator_output_2 = host_variable(709);

struct ElectricKey {
    PanelStateKey key;
    double* value;
};

// The section's switch keys in the order they are read and written; the
// meter selector (an integer) follows them.
static const ElectricKey electric_keys[] = {
    {KEY_EPCP_EL_PWR_ON_SYSTEM, &quillmar.electric.el_pwr_on_system},
    {KEY_EPCP_BATT_SWITCH, &quillmar.electric.batt_switch},
    {KEY_EPCP_BATT1, &quillmar.electric.batt1},
    {KEY_EPCP_BATT2, &quillmar.electric.batt2},
    {KEY_EPCP_DC_XFEED, &quillmar.electric.dc_xfeed},
    {KEY_EPCP_TRU1, &quillmar.electric.tru1},
    {KEY_EPCP_TRU2, &quillmar.electric.tru2},
    {KEY_EPCP_AC_XFEED, &quillmar.electric.ac_xfeed},
    {KEY_EPCP_GEN1, &quillmar.electric.gen1},
    {KEY_EPCP_GEN2, &quillmar.electric.gen2},
    {KEY_EPCP_EXT_PWR, &quillmar.electric.ext_pwr},
};

void electric_install() {
    ElectricState& el = quillmar.electric;
    // An engine already running when the panel loads gets no start line-up.
    el.engine1_seen_running = host_variable_value(&generator_output_1) > 0.5 ? 1 : 0;
    el.engine2_seen_running = host_variable_value(&generator_output_2) > 0.5 ? 1 : 0;
    for (const ElectricKey& k : electric_keys) *k.value = panel_state_read_int(k.key);
    el.indicator_switch_pos =
        static_cast<uint32_t>(panel_state_read_int(KEY_EPCP_INDICATOR_SWITCH_POS));
    electric_draw_readouts(static_cast<unsigned>(platform_time_seconds()));
}

void electric_kill() {
    for (const ElectricKey& k : electric_keys) panel_state_write_int(k.key, *k.value);
    panel_state_write_int(KEY_EPCP_INDICATOR_SWITCH_POS,
                          static_cast<int>(quillmar.electric.indicator_switch_pos));
}

// Battery, ground power, APU generator or a running engine energise the system.
static void set_normal_line_up(ElectricState& el) {
    el.batt1 = el.batt2 = 1;
    el.dc_xfeed = 0;
    el.tru1 = el.tru2 = 1;
    el.ac_xfeed = 1;
    el.gen1 = el.gen2 = 1;
}

void electric_update(GaugeHeader* gauge) {
    ElectricState& el = quillmar.electric;
    double apu_gen = quillmar.panels.apu_gen;

    el.power_up_edge = el.el_pwr_on_system == 0 ? 1 : 0;                          // U1
    el.gen1 = (el.generators_online == 1 || el.generators_online == 3) ? 1 : 0;  // U2
    el.gen2 = (el.generators_online == 2 || el.generators_online == 3) ? 1 : 0;
    el.engine1_running = host_variable_value(&generator_output_1) > 0.5 ? 1 : 0;  // U3
    el.engine2_running = host_variable_value(&generator_output_2) > 0.5 ? 1 : 0;
    if (el.engine1_running == 0) el.engine1_seen_running = 0;                     // U4
    if (el.engine2_running == 0) el.engine2_seen_running = 0;

    bool dead = el.batt_switch == 0 && el.ext_pwr_available == 0 && apu_gen == 0 &&
                el.engine1_running == 0 && el.engine2_running == 0;
    if (dead) {                                                                   // U5
        SHOW_ALL(gauge, readouts_and_points, false);
        el.el_pwr_on_system = 0;
        set_normal_line_up(el);
    } else {
        el.el_pwr_on_system = 1;
        if (el.power_up_edge == 1) set_normal_line_up(el);
        show_element(element(gauge, ELECTRIC_READOUT_LEFT));                      // U6
        show_element(element(gauge, ELECTRIC_READOUT_RIGHT));
        // U7 (the system is live here): no charging source, no battery charging.
        bool no_ac_source = el.gen1 == 0 && el.gen2 == 0 && el.ext_pwr == 0 && apu_gen == 0;
        if (no_ac_source || (el.tru1 == 0 && el.tru2 == 0)) {
            el.batt1 = el.batt2 = 0;
        } else {
            if (el.dc_xfeed == 0 && el.tru1 == 0) el.batt1 = 0;
            if (el.dc_xfeed == 0 && el.tru2 == 0) el.batt2 = 0;
        }
    }

    // U8: an engine start puts its side on line once.
    if (el.engine1_running != 0 && el.engine1_seen_running == 0) {
        el.batt1 = el.gen1 = el.tru1 = el.ac_xfeed = 1;
        el.engine1_seen_running = 1;
    }
    if (el.engine2_running != 0 && el.engine2_seen_running == 0) {
        el.batt2 = el.gen2 = el.tru2 = el.ac_xfeed = 1;
        el.engine2_seen_running = 1;
    }

    if (el.el_pwr_on_system != 0) {                                               // U9
        if (el.gen1 == 0 && el.gen2 == 0 && el.tru1 == 0 && el.tru2 == 0 && el.ext_pwr == 0 &&
            apu_gen == 0)
            el.ac_xfeed = 0;
        if (el.batt_switch == 0 && el.tru1 == 0 && el.tru2 == 0) el.dc_xfeed = 0;
        if (el.gen1 == 0 && el.ac_xfeed == 0 && el.dc_xfeed == 0) el.tru1 = 0;
        if (el.gen2 == 0 && el.ac_xfeed == 0 && el.dc_xfeed == 0) el.tru2 = 0;
        if (el.gen1 == 0 && el.gen2 == 0 && el.batt_switch == 0 && el.ext_pwr == 0 &&
            apu_gen == 0)
            el.ac_xfeed = el.tru1 = el.tru2 = el.dc_xfeed = 0;
    }

    if (el.ext_pwr_available == 0) el.ext_pwr = 0;                                // U10

    bool powered = std::lround(el.elec_power_state) == 2;                        // U11
    SHOW_ALL(gauge, button_legends, powered);
    show_element_if(element(gauge, ELECTRIC_BAT_PWR_ONLY), powered);
    SHOW_ALL(gauge, readouts_and_points, powered);

    SHOW_ALL(gauge, legend_overlays, panel_lit());                                // U12
}

static void FS_CALL electric_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: electric_install(); break;
    case SERVICE_UPDATE: electric_update(gauge); break;
    case SERVICE_KILL: electric_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Electric, electric_elements, electric_rects, electric_callback);
