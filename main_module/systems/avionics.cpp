// Avionics: the avionics switching panel on the overhead.
//
// The two symbol generator buttons (SG) and the two display unit transfer
// buttons (DU-XFR) of the flight displays. Symbol generator 1 feeds both
// displays: its position is published on kt93_Avionics, and the EADI and
// the EHSI stay blank while it is off. A total loss of power switches all
// four buttons off.
#include "frame/channel.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

enum : int32_t {
    BMP_LEGENDS = BITMAPS_Avionics,
    BMP_SG_BUTTON = BMP_LEGENDS + 1,          // OFF lit, dark
    BMP_TRANSFER_BUTTON = BMP_SG_BUTTON + 2,  // dark, ON lit
};

enum AvionicsElement : int {
    AVIONICS_SG1,
    AVIONICS_DUXFR1,
    AVIONICS_DUXFR2,
    AVIONICS_SG2,
};

enum Button : int { SG1, SG2, DUXFR1, DUXFR2, BUTTON_COUNT };
static double* const buttons[BUTTON_COUNT] = {
    &quillmar.avionics.avionics_sg1_pos,    &quillmar.avionics.avionics_sg2_pos,
    &quillmar.avionics.avionics_duxfr1_pos, &quillmar.avionics.avionics_duxfr2_pos,
};

template <Button B>
static double FS_CALL button_image(ElementHead*) { return *buttons[B]; }

static constexpr GaugeHeader* GAUGE = &gauge_Avionics.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit IconElement sg1 =
    icon(GAUGE, {.bitmap = BMP_SG_BUTTON, .x = 24, .y = 34, .flags = IMAGE_LIT}, button_image<SG1>, 2);
static constinit IconElement duxfr1 =
    icon(GAUGE, {.bitmap = BMP_TRANSFER_BUTTON, .x = 49, .y = 34, .flags = IMAGE_LIT}, button_image<DUXFR1>, 2);
static constinit IconElement duxfr2 = icon(
    GAUGE, {.bitmap = BMP_TRANSFER_BUTTON, .x = 109, .y = 34, .flags = IMAGE_LIT}, button_image<DUXFR2>, 2);
static constinit IconElement sg2 =
    icon(GAUGE, {.bitmap = BMP_SG_BUTTON, .x = 134, .y = 34, .flags = IMAGE_LIT}, button_image<SG2>, 2);

static ElementHead* avionics_children[] = {&sg1.head, &duxfr1.head, &duxfr2.head, &sg2.head, nullptr};
// The lettering is the base element; the buttons hang below it.
static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .flags = IMAGE_LIT, .children = avionics_children});
static ElementHead* avionics_elements[] = {&legends.head, nullptr};

static const AvionicsElement button_elements[] = {
    AVIONICS_SG1, AVIONICS_DUXFR1, AVIONICS_DUXFR2, AVIONICS_SG2};

// Hands symbol generator 1 to the flight displays.
static void publish_symbol_generator_1() {
    channel_write(&quillmar.channels, CHANNEL_AVIONICS,
                  static_cast<int>(quillmar.avionics.avionics_sg1_pos));
}

static int32_t FS_CALL click_sg1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(quillmar.avionics.avionics_sg1_pos);
    publish_symbol_generator_1();
    return 1;
}

template <Button B>
static int32_t FS_CALL click_button(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle_switch(*buttons[B]);
    return 1;
}

static MouseRect avionics_rects[] = {
    mouse_parent(0, 0, 177, 177),
    mouse_child(22, 22, 24, 22, 5, MOUSE_CLICK, click_sg1),
    mouse_child(132, 22, 24, 22, 5, MOUSE_CLICK, click_button<SG2>),
    mouse_child(47, 22, 24, 22, 5, MOUSE_CLICK, click_button<DUXFR1>),
    mouse_child(107, 22, 24, 22, 5, MOUSE_CLICK, click_button<DUXFR2>),
    mouse_close(),
    mouse_end(),
};

static const SwitchKey avionics_keys[] = {
    {KEY_AVIONICS_AVIONICS_SG1_POS, &quillmar.avionics.avionics_sg1_pos},
    {KEY_AVIONICS_AVIONICS_SG2_POS, &quillmar.avionics.avionics_sg2_pos},
    {KEY_AVIONICS_AVIONICS_DUXFR1_POS, &quillmar.avionics.avionics_duxfr1_pos},
    {KEY_AVIONICS_AVIONICS_DUXFR2_POS, &quillmar.avionics.avionics_duxfr2_pos},
};

// Symbol generator 1 is published as soon as it is read, before the others.
static void avionics_install() {
    quillmar.avionics.avionics_sg1_pos = panel_state_read_int(KEY_AVIONICS_AVIONICS_SG1_POS);
    publish_symbol_generator_1();
    quillmar.avionics.avionics_sg2_pos = panel_state_read_int(KEY_AVIONICS_AVIONICS_SG2_POS);
    quillmar.avionics.avionics_duxfr1_pos = panel_state_read_int(KEY_AVIONICS_AVIONICS_DUXFR1_POS);
    quillmar.avionics.avionics_duxfr2_pos = panel_state_read_int(KEY_AVIONICS_AVIONICS_DUXFR2_POS);
}

// A total loss of power switches the four buttons off. When that turns
// symbol generator 1 off the displays are told, so that they do not come
// back on with the power while the button shows OFF.
static void avionics_update(GaugeHeader* gauge) {
    double power = quillmar.electric.elec_power_state;
    if (power == 0) {
        bool sg1_was_on = quillmar.avionics.avionics_sg1_pos != 0;
        for (double* button : buttons) *button = 0;
        if (sg1_was_on) publish_symbol_generator_1();
    }
    show_panel_elements_if(gauge, button_elements, power == 2);
    // The panel lights switch as another gauge of the cockpit last read it.
    show_element_if(gauge_base(gauge), panel_lit_as_last_read());
}

static void FS_CALL avionics_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: avionics_install(); break;
    case SERVICE_UPDATE: avionics_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(avionics_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Avionics, avionics_elements, avionics_rects, avionics_callback);
