// Airconditioning: the air-conditioning panel on the overhead.
//
// The crew's selections for the two packs (pack 1 feeds the flight deck,
// pack 2 the cabin): FLIGHT DECK HEATER, CABIN TEMP AUTHORITY under its
// guard, the FLIGHT DECK and CABIN temperature selectors, PACK, RECIRC,
// BLEED and ECONOMY, and the supply selector that chooses which temperature
// the VALUE readout shows. The simulator cycle turns the selections into the
// flight deck and cabin temperatures; the panel shows them. Without power
// the buttons drop out; the guard and the selectors stay where they are.
#include <cstdio>
#include <cstdlib>

#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Airconditioning,
    BMP_LEGENDS = BMP_PANEL_MASK + 1,
    BMP_ON_BUTTON = BMP_LEGENDS + 1,          // dark, ON lit (heater, economy)
    BMP_AUTHORITY = BMP_ON_BUTTON + 2,        // dark, CABIN lit
    BMP_GUARD = BMP_AUTHORITY + 2,            // closed, open
    BMP_SUPPLY = BMP_GUARD + 2,               // FL DK SUPPLY, CABIN, CABIN SUPPLY
    BMP_TEMPERATURE_KNOB = BMP_SUPPLY + 3,    // 12 positions, both selectors
    BMP_OFF_BUTTON = BMP_TEMPERATURE_KNOB + 12,  // OFF lit, dark (packs, recirculation, bleeds)
};

// Elements below the panel mask, in drawing order.
enum AirconditioningElement : int {
    AIRCOND_LEGENDS,
    AIRCOND_READOUT,
    AIRCOND_HEATER,
    AIRCOND_AUTHORITY,
    AIRCOND_GUARD,
    AIRCOND_SUPPLY,
    AIRCOND_FLIGHT_DECK_KNOB,
    AIRCOND_CABIN_KNOB,
    AIRCOND_PACK_LEFT,
    AIRCOND_RECIRC_LEFT,
    AIRCOND_RECIRC_RIGHT,
    AIRCOND_PACK_RIGHT,
    AIRCOND_BLEED_LEFT,
    AIRCOND_BLEED_RIGHT,
    AIRCOND_ECONOMY,
};

// The push buttons of the panel, in the order of their mouse rectangles.
enum Button : int {
    HEATER, AUTHORITY, PACK_LEFT, RECIRC_LEFT, RECIRC_RIGHT, PACK_RIGHT, BLEED_LEFT, BLEED_RIGHT,
    ECONOMY, BUTTON_COUNT
};
static double* const buttons[BUTTON_COUNT] = {
    &quillmar.panels.flight_deck_heater_pos,   &quillmar.panels.cabin_temp_aut_pos,
    &quillmar.panels.pack_left_pos,            &quillmar.aircond.aircond_recirc_left_pos,
    &quillmar.aircond.aircond_recirc_right_pos, &quillmar.panels.pack_right_pos,
    &quillmar.aircond.bleed_left_pos,          &quillmar.aircond.bleed_right_pos,
    &quillmar.aircond.aircond_economy_pos,
};

template <Button B>
static double FS_CALL button_image(ElementHead*) { return *buttons[B]; }

static double FS_CALL guard_image(ElementHead*) {
    return quillmar.aircond.aircond_cabin_temp_aut_cover_pos;
}
static double FS_CALL supply_image(ElementHead*) { return quillmar.aircond.aircond_supply_switch_pos; }
static double FS_CALL flight_deck_knob_image(ElementHead*) { return quillmar.panels.flight_deck_temp_pos; }
static double FS_CALL cabin_knob_image(ElementHead*) { return quillmar.panels.cabin_temp_pos; }

// VALUE readout: the temperature the supply selector picks, whole degrees.
// CABIN SUPPLY shows the air let into the cabin, 12 degrees below the cabin.
static char temperature_text[5];
static double FS_CALL temperature_readout(ElementHead* e) {
    auto* readout = reinterpret_cast<StringElement*>(e);
    const SystemOutputs& sys = quillmar.systems;
    int value;
    switch (static_cast<int>(quillmar.aircond.aircond_supply_switch_pos)) {
    case 0: value = sys.temperature_flight_deck_whole; break;
    case 1: value = sys.temperature_cabin_whole; break;
    case 2: value = sys.temperature_cabin_whole - 12; break;
    default: return std::atoi(readout->text);  // the last text stays
    }
    std::snprintf(readout->text, readout->text_size, "%3d", value);
    return value;
}

static constexpr GaugeHeader* GAUGE = &gauge_Airconditioning.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle READOUT_STYLE = {30, 15, 0xDC9632, 0x321400, "Quartz", 400, STRING_ALIGN_RIGHT};

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT});
static constinit StringElement readout_element =
    readout(GAUGE, {.x = 72, .y = 20}, temperature_readout, temperature_text, READOUT_STYLE);
static constinit IconElement heater =
    icon(GAUGE, {.bitmap = BMP_ON_BUTTON, .x = 19, .y = 53, .flags = IMAGE_LIT}, button_image<HEATER>, 2);
static constinit IconElement authority =
    icon(GAUGE, {.bitmap = BMP_AUTHORITY, .x = 135, .y = 53, .flags = IMAGE_LIT}, button_image<AUTHORITY>, 2);
static constinit IconElement guard =
    icon(GAUGE, {.bitmap = BMP_GUARD, .x = 131, .y = 27, .flags = T}, guard_image, 2);
static constinit IconElement supply =
    icon(GAUGE, {.bitmap = BMP_SUPPLY, .x = 72, .y = 53, .flags = T}, supply_image, 3);
static constinit IconElement flight_deck_knob = icon(
    GAUGE, {.bitmap = BMP_TEMPERATURE_KNOB, .x = 24, .y = 89, .flags = T}, flight_deck_knob_image, 12);
static constinit IconElement cabin_knob = icon(
    GAUGE, {.bitmap = BMP_TEMPERATURE_KNOB, .x = 106, .y = 89, .flags = T}, cabin_knob_image, 12);
static constinit IconElement pack_left =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 22, .y = 169, .flags = IMAGE_LIT}, button_image<PACK_LEFT>, 2);
static constinit IconElement recirc_left =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 57, .y = 169, .flags = IMAGE_LIT}, button_image<RECIRC_LEFT>, 2);
static constinit IconElement recirc_right = icon(
    GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 95, .y = 169, .flags = IMAGE_LIT}, button_image<RECIRC_RIGHT>, 2);
static constinit IconElement pack_right =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 130, .y = 169, .flags = IMAGE_LIT}, button_image<PACK_RIGHT>, 2);
static constinit IconElement bleed_left =
    icon(GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 22, .y = 202, .flags = IMAGE_LIT}, button_image<BLEED_LEFT>, 2);
static constinit IconElement bleed_right = icon(
    GAUGE, {.bitmap = BMP_OFF_BUTTON, .x = 130, .y = 202, .flags = IMAGE_LIT}, button_image<BLEED_RIGHT>, 2);
static constinit IconElement economy =
    icon(GAUGE, {.bitmap = BMP_ON_BUTTON, .x = 76, .y = 208, .flags = IMAGE_LIT}, button_image<ECONOMY>, 2);

static ElementHead* airconditioning_children[] = {
    &legends.head,     &readout_element.head,  &heater.head,       &authority.head,
    &guard.head,       &supply.head,           &flight_deck_knob.head, &cabin_knob.head,
    &pack_left.head,   &recirc_left.head,      &recirc_right.head, &pack_right.head,
    &bleed_left.head,  &bleed_right.head,      &economy.head,      nullptr,
};
static constinit StaticImageElement panel_mask = static_image(
    GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = airconditioning_children});
static ElementHead* airconditioning_elements[] = {&panel_mask.head, nullptr};

// Lit button legends and the readout: shown only with power available.
static const AirconditioningElement powered_elements[] = {
    AIRCOND_READOUT,    AIRCOND_HEATER,      AIRCOND_AUTHORITY,  AIRCOND_PACK_LEFT,
    AIRCOND_RECIRC_LEFT, AIRCOND_RECIRC_RIGHT, AIRCOND_PACK_RIGHT, AIRCOND_BLEED_LEFT,
    AIRCOND_BLEED_RIGHT, AIRCOND_ECONOMY,
};

// ------------------------------------------------------------ mouse

template <Button B>
static int32_t FS_CALL click_button(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(*buttons[B]);
    return 1;
}

// CABIN TEMP AUTHORITY works only with its guard open.
static int32_t FS_CALL click_authority(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    if (quillmar.aircond.aircond_cabin_temp_aut_cover_pos != 0)
        toggle_switch(quillmar.panels.cabin_temp_aut_pos);
    return 1;
}

static int32_t FS_CALL click_guard(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(quillmar.aircond.aircond_cabin_temp_aut_cover_pos);
    return 1;
}

// The supply selector stops at both ends.
static int32_t FS_CALL click_supply_left(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.aircond.aircond_supply_switch_pos;
    if (p > 0) p -= 1;
    return 1;
}

static int32_t FS_CALL click_supply_right(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& p = quillmar.aircond.aircond_supply_switch_pos;
    if (p < 2) p += 1;
    return 1;
}

// The temperature selectors turn round: OFF/MANUAL (0) and 11 are neighbours.
static void temperature_knob_down(double& p) { p = p <= 0 ? 11 : p - 1; }
static void temperature_knob_up(double& p) { p = p >= 11 ? 0 : p + 1; }

static int32_t FS_CALL click_flight_deck_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    temperature_knob_down(quillmar.panels.flight_deck_temp_pos);
    return 1;
}
static int32_t FS_CALL click_flight_deck_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    temperature_knob_up(quillmar.panels.flight_deck_temp_pos);
    return 1;
}
static int32_t FS_CALL click_cabin_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    temperature_knob_down(quillmar.panels.cabin_temp_pos);
    return 1;
}
static int32_t FS_CALL click_cabin_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    temperature_knob_up(quillmar.panels.cabin_temp_pos);
    return 1;
}

static MouseRect airconditioning_rects[] = {
    mouse_parent(0, 0, 173, 300),
    mouse_child(16, 40, 26, 25, 5, MOUSE_CLICK, click_button<HEATER>),
    mouse_child(132, 15, 26, 25, 5, MOUSE_CLICK, click_guard),
    mouse_child(132, 40, 26, 25, 5, MOUSE_CLICK, click_authority),
    mouse_child(57, 42, 30, 42, 2, MOUSE_CLICK, click_supply_left),
    mouse_child(87, 42, 30, 42, 1, MOUSE_CLICK, click_supply_right),
    mouse_child(20, 85, 25, 50, 2, MOUSE_CLICK, click_flight_deck_down),
    mouse_child(46, 85, 25, 50, 1, MOUSE_CLICK, click_flight_deck_up),
    mouse_child(102, 85, 25, 50, 2, MOUSE_CLICK, click_cabin_down),
    mouse_child(128, 85, 25, 50, 1, MOUSE_CLICK, click_cabin_up),
    mouse_child(19, 156, 26, 25, 5, MOUSE_CLICK, click_button<PACK_LEFT>),
    mouse_child(54, 156, 26, 25, 5, MOUSE_CLICK, click_button<RECIRC_LEFT>),
    mouse_child(92, 156, 26, 25, 5, MOUSE_CLICK, click_button<RECIRC_RIGHT>),
    mouse_child(127, 156, 26, 25, 5, MOUSE_CLICK, click_button<PACK_RIGHT>),
    mouse_child(19, 189, 26, 25, 5, MOUSE_CLICK, click_button<BLEED_LEFT>),
    mouse_child(127, 189, 26, 25, 5, MOUSE_CLICK, click_button<BLEED_RIGHT>),
    mouse_child(73, 195, 26, 25, 5, MOUSE_CLICK, click_button<ECONOMY>),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

// Read at install; the heater, the authority and both temperatures are the
// simulator cycle's to read, at its own install.
static const SwitchKey install_keys[] = {
    {KEY_AIRCONDITIONING_AIRCOND_CABIN_TEMP_AUT_COVER_POS,
     &quillmar.aircond.aircond_cabin_temp_aut_cover_pos},
    {KEY_AIRCONDITIONING_AIRCOND_SUPPLY_SWITCH_POS, &quillmar.aircond.aircond_supply_switch_pos},
    {KEY_AIRCONDITIONING_FLIGHT_DECK_TEMP_POS, &quillmar.panels.flight_deck_temp_pos},
    {KEY_AIRCONDITIONING_CABIN_TEMP_POS, &quillmar.panels.cabin_temp_pos},
    {KEY_AIRCONDITIONING_PACK_LEFT_POS, &quillmar.panels.pack_left_pos},
    {KEY_AIRCONDITIONING_AIRCOND_RECIRC_LEFT_POS, &quillmar.aircond.aircond_recirc_left_pos},
    {KEY_AIRCONDITIONING_AIRCOND_RECIRC_RIGHT_POS, &quillmar.aircond.aircond_recirc_right_pos},
    {KEY_AIRCONDITIONING_PACK_RIGHT_POS, &quillmar.panels.pack_right_pos},
    {KEY_AIRCONDITIONING_BLEED_LEFT_POS, &quillmar.aircond.bleed_left_pos},
    {KEY_AIRCONDITIONING_BLEED_RIGHT_POS, &quillmar.aircond.bleed_right_pos},
    {KEY_AIRCONDITIONING_AIRCOND_ECONOMY_POS, &quillmar.aircond.aircond_economy_pos},
};

// Written at kill: every selection of the panel.
static const SwitchKey kill_keys[] = {
    {KEY_AIRCONDITIONING_FLIGHT_DECK_HEATER_POS, &quillmar.panels.flight_deck_heater_pos},
    {KEY_AIRCONDITIONING_CABIN_TEMP_AUT_POS, &quillmar.panels.cabin_temp_aut_pos},
    {KEY_AIRCONDITIONING_AIRCOND_CABIN_TEMP_AUT_COVER_POS,
     &quillmar.aircond.aircond_cabin_temp_aut_cover_pos},
    {KEY_AIRCONDITIONING_AIRCOND_SUPPLY_SWITCH_POS, &quillmar.aircond.aircond_supply_switch_pos},
    {KEY_AIRCONDITIONING_FLIGHT_DECK_TEMP_POS, &quillmar.panels.flight_deck_temp_pos},
    {KEY_AIRCONDITIONING_CABIN_TEMP_POS, &quillmar.panels.cabin_temp_pos},
    {KEY_AIRCONDITIONING_PACK_LEFT_POS, &quillmar.panels.pack_left_pos},
    {KEY_AIRCONDITIONING_AIRCOND_RECIRC_LEFT_POS, &quillmar.aircond.aircond_recirc_left_pos},
    {KEY_AIRCONDITIONING_AIRCOND_RECIRC_RIGHT_POS, &quillmar.aircond.aircond_recirc_right_pos},
    {KEY_AIRCONDITIONING_PACK_RIGHT_POS, &quillmar.panels.pack_right_pos},
    {KEY_AIRCONDITIONING_BLEED_LEFT_POS, &quillmar.aircond.bleed_left_pos},
    {KEY_AIRCONDITIONING_BLEED_RIGHT_POS, &quillmar.aircond.bleed_right_pos},
    {KEY_AIRCONDITIONING_AIRCOND_ECONOMY_POS, &quillmar.aircond.aircond_economy_pos},
};

static void airconditioning_update(GaugeHeader* gauge) {
    switch (static_cast<int>(quillmar.electric.elec_power_state)) {
    case 2: show_panel_elements_if(gauge, powered_elements, true); break;
    case 1: show_panel_elements_if(gauge, powered_elements, false); break;
    case 0:
        for (double* button : buttons) *button = 0;
        show_panel_elements_if(gauge, powered_elements, false);
        break;
    default: break;
    }
    show_element_if(panel_element(gauge, AIRCOND_LEGENDS), panel_lit());
}

static void FS_CALL airconditioning_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(install_keys); break;
    case SERVICE_UPDATE: airconditioning_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(kill_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Airconditioning, airconditioning_elements, airconditioning_rects, airconditioning_callback);
