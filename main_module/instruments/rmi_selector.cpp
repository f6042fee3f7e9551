// RMI_Selector: the four push-buttons beside the radio magnetic indicator
// that choose what its pointers show: VOR 1 and VOR 2 in the upper row, ADF
// to pointer 1 and ADF to pointer 2 in the lower row. Each button toggles
// and lights its lamp while the cockpit has power. The choice starts empty
// on every flight. The panel has a normal and a lit version, by the panel
// lighting rule.
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_SELECTOR_PANEL = BITMAPS_RMI_Selector,
    BMP_SELECTOR_LEGENDS = BMP_SELECTOR_PANEL + 1,
    BMP_SELECTOR_LAMP = BMP_SELECTOR_LEGENDS + 1,   // off, on
    BMP_SELECTOR_PANEL_LIT = BMP_SELECTOR_LAMP + 2,
};

static double FS_CALL vor1_lamp(ElementHead*) { return quillmar.navigation.vor_to_pointer1; }
static double FS_CALL vor2_lamp(ElementHead*) { return quillmar.navigation.vor_to_pointer2; }
static double FS_CALL adf1_lamp(ElementHead*) { return quillmar.navigation.adf_to_pointer1; }
static double FS_CALL adf2_lamp(ElementHead*) { return quillmar.navigation.adf_to_pointer2; }

static constexpr GaugeHeader* GAUGE = &gauge_RMI_Selector.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement lit_panel =
    static_image(GAUGE, {.bitmap = BMP_SELECTOR_PANEL_LIT, .flags = IMAGE_LIT});
static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_SELECTOR_LEGENDS, .flags = IMAGE_LIT});
static constinit IconElement vor1 =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_LAMP, .x = 1, .y = 10, .flags = IMAGE_LIT}, vor1_lamp, 2);
static constinit IconElement vor2 =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_LAMP, .x = 27, .y = 10, .flags = IMAGE_LIT}, vor2_lamp, 2);
static constinit IconElement adf1 =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_LAMP, .x = 1, .y = 35, .flags = IMAGE_LIT}, adf1_lamp, 2);
static constinit IconElement adf2 =
    icon(GAUGE, {.bitmap = BMP_SELECTOR_LAMP, .x = 27, .y = 35, .flags = IMAGE_LIT}, adf2_lamp, 2);

// The legends and lamps light with power.
static ElementHead* powered_parts[] = {&legends.head, &vor1.head, &vor2.head, &adf1.head, &adf2.head};
static ElementHead* selector_children[] = {&lit_panel.head, &legends.head, &vor1.head, &vor2.head,
                                           &adf1.head,      &adf2.head,    nullptr};
static constinit StaticImageElement panel =
    static_image(GAUGE, {.bitmap = BMP_SELECTOR_PANEL, .children = selector_children});
static ElementHead* selector_elements[] = {&panel.head, nullptr};

static const LightingPair selector_lighting[] = {{&panel.head, &lit_panel.head}};

// ------------------------------------------------------------ mouse

// Pointer 1 counts 1 and pointer 2 counts 2 in each sum.
static void press(double& button) {
    sound_start(SOUND_SWITCH_PUSH);
    button = button != 0 ? 0 : 1;
    NavigationInstrumentState& nav = quillmar.navigation;
    nav.vor_pointer_select = nav.vor_to_pointer1 + 2 * nav.vor_to_pointer2;
    nav.adf_pointer_select = nav.adf_to_pointer1 + 2 * nav.adf_to_pointer2;
}

static int32_t FS_CALL click_vor1(const MousePoint*, uint32_t) {
    press(quillmar.navigation.vor_to_pointer1);
    return 1;
}
static int32_t FS_CALL click_vor2(const MousePoint*, uint32_t) {
    press(quillmar.navigation.vor_to_pointer2);
    return 1;
}
static int32_t FS_CALL click_adf1(const MousePoint*, uint32_t) {
    press(quillmar.navigation.adf_to_pointer1);
    return 1;
}
static int32_t FS_CALL click_adf2(const MousePoint*, uint32_t) {
    press(quillmar.navigation.adf_to_pointer2);
    return 1;
}

static MouseRect selector_rects[] = {
    mouse_parent(0, 0, 57, 57),
    mouse_child(0, 0, 28, 28, CURSOR_HAND, MOUSE_CLICK, click_vor1),
    mouse_child(29, 0, 28, 28, CURSOR_HAND, MOUSE_CLICK, click_vor2),
    mouse_child(0, 29, 28, 28, CURSOR_HAND, MOUSE_CLICK, click_adf1),
    mouse_child(29, 29, 28, 28, CURSOR_HAND, MOUSE_CLICK, click_adf2),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ callback

static void FS_CALL selector_callback(GaugeHeader*, int32_t service, uint32_t) {
    NavigationInstrumentState& nav = quillmar.navigation;
    switch (service) {
    case SERVICE_INSTALL:
        nav.vor_to_pointer1 = nav.vor_to_pointer2 = nav.adf_to_pointer1 = nav.adf_to_pointer2 = 0;
        nav.vor_pointer_select = nav.adf_pointer_select = 0;
        break;
    case SERVICE_UPDATE: {
        bool powered = quillmar.electric.elec_power_state == 2;
        for (ElementHead* e : powered_parts) show_element_if(e, powered);
        apply_panel_lighting(selector_lighting);
        break;
    }
    default: break;
    }
}

MAIN_GAUGE(RMI_Selector, selector_elements, selector_rects, selector_callback);
