// Starter: the engine start panel on the overhead.
//
// Two IGNITION buttons with the start master button between them, and below
// them the spring-loaded start selector L, centre, R. Turning the selector
// with the start master on asks the simulator cycle to crank that engine;
// the request stands until the engine's core has spooled up or the start
// master goes off. The selector springs back to centre about a second after
// it was last turned. Without power the buttons drop out.
#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_Starter,
    BMP_ENGINE_LEGENDS = BMP_PANEL_MASK + 1,     // ENGINE, IGNITION
    BMP_IGNITION_LEGENDS = BMP_ENGINE_LEGENDS + 1,
    BMP_IGNITION_BUTTON = BMP_IGNITION_LEGENDS + 1,  // dark, ON lit
    BMP_START_MASTER = BMP_IGNITION_BUTTON + 2,      // dark, ON lit
    BMP_START_SELECTOR = BMP_START_MASTER + 2,       // L, centre, R
};

static double FS_CALL left_ignition_image(ElementHead*) {
    return quillmar.starter.starter_ignition_left_pos;
}
static double FS_CALL start_master_image(ElementHead*) {
    return quillmar.starter.starter_master_start_pos;
}
static double FS_CALL right_ignition_image(ElementHead*) {
    return quillmar.starter.starter_ignition_right_pos;
}
static double FS_CALL selector_image(ElementHead*) { return quillmar.starter.start_selector; }

static constexpr GaugeHeader* GAUGE = &gauge_Starter.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement engine_legends =
    static_image(GAUGE, {.bitmap = BMP_ENGINE_LEGENDS, .x = 26, .y = 7, .flags = IMAGE_LIT});
static constinit StaticImageElement ignition_legends =
    static_image(GAUGE, {.bitmap = BMP_IGNITION_LEGENDS, .x = 9, .y = 49, .flags = IMAGE_LIT});
static constinit IconElement left_ignition = icon(
    GAUGE, {.bitmap = BMP_IGNITION_BUTTON, .x = 30, .y = 34, .flags = IMAGE_LIT}, left_ignition_image, 2);
static constinit IconElement start_master = icon(
    GAUGE, {.bitmap = BMP_START_MASTER, .x = 79, .y = 34, .flags = IMAGE_LIT}, start_master_image, 2);
static constinit IconElement right_ignition = icon(
    GAUGE, {.bitmap = BMP_IGNITION_BUTTON, .x = 128, .y = 34, .flags = IMAGE_LIT}, right_ignition_image, 2);
static constinit IconElement start_selector = icon(
    GAUGE, {.bitmap = BMP_START_SELECTOR, .x = 68, .y = 61, .flags = T}, selector_image, 3);

// Children of the panel mask, in drawing order.
enum StarterElement : int {
    STARTER_ENGINE_LEGENDS,
    STARTER_IGNITION_LEGENDS,
    STARTER_LEFT_IGNITION,
    STARTER_START_MASTER,
    STARTER_RIGHT_IGNITION,
    STARTER_SELECTOR,
};
static ElementHead* starter_children[] = {
    &engine_legends.head, &ignition_legends.head, &left_ignition.head,
    &start_master.head,   &right_ignition.head,   &start_selector.head, nullptr,
};
static constinit StaticImageElement panel_mask =
    static_image(GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = starter_children});
static ElementHead* starter_elements[] = {&panel_mask.head, nullptr};

static const StarterElement button_legends[] = {STARTER_LEFT_IGNITION, STARTER_START_MASTER,
                                                STARTER_RIGHT_IGNITION};
static const StarterElement legend_overlays[] = {STARTER_ENGINE_LEGENDS, STARTER_IGNITION_LEGENDS};

// ------------------------------------------------------------ mouse

static HostVariable sim_time = host_variable(557);

static void toggle(double& button) { button = button != 0 ? 0 : 1; }

static int32_t FS_CALL click_start_master(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    StarterState& s = quillmar.starter;
    toggle(s.starter_master_start_pos);
    if (s.starter_master_start_pos == 0) quillmar.panels.start_request = 0;
    return 1;
}

static int32_t FS_CALL click_left_ignition(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(quillmar.starter.starter_ignition_left_pos);
    return 1;
}

static int32_t FS_CALL click_right_ignition(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(quillmar.starter.starter_ignition_right_pos);
    return 1;
}

// Turns the selector to L (0) or R (2); with the start master on that
// engine's start is requested.
static void turn_selector(int32_t position) {
    sound_start(SOUND_SWITCH_TURN);
    StarterState& s = quillmar.starter;
    s.start_selector = position;
    s.start_selector_time = host_variable_value(&sim_time);
    if (s.starter_master_start_pos != 0) quillmar.panels.start_request = position == 0 ? 1 : 2;
}

static int32_t FS_CALL click_selector_left(const MousePoint*, uint32_t) {
    turn_selector(0);
    return 1;
}

static int32_t FS_CALL click_selector_right(const MousePoint*, uint32_t) {
    turn_selector(2);
    return 1;
}

// The L half repeats while held (the knob stays turned); the R half takes
// single clicks.
static MouseRect starter_rects[] = {
    mouse_parent(0, 0, 177, 300),
    mouse_child(76, 20, 26, 25, CURSOR_HAND, MOUSE_CLICK, click_start_master),
    mouse_child(27, 20, 26, 25, CURSOR_HAND, MOUSE_CLICK, click_left_ignition),
    mouse_child(125, 20, 26, 25, CURSOR_HAND, MOUSE_CLICK, click_right_ignition),
    mouse_child(59, 51, 30, 60, CURSOR_DECREASE, MOUSE_REPEAT, click_selector_left),
    mouse_child(89, 51, 30, 60, CURSOR_DECREASE, MOUSE_CLICK, click_selector_right),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

struct StarterKey {
    PanelStateKey key;
    double* value;
};
static const StarterKey starter_keys[] = {
    {KEY_STARTER_STARTER_MASTER_START_POS, &quillmar.starter.starter_master_start_pos},
    {KEY_STARTER_STARTER_IGNITION_LEFT_POS, &quillmar.starter.starter_ignition_left_pos},
    {KEY_STARTER_STARTER_IGNITION_RIGHT_POS, &quillmar.starter.starter_ignition_right_pos},
};

static void starter_install() {
    for (const StarterKey& k : starter_keys) *k.value = panel_state_read_int(k.key);
    quillmar.starter.start_selector = 1;
}

static void starter_kill() {
    for (const StarterKey& k : starter_keys) panel_state_write_int(k.key, *k.value);
}

static void starter_update(GaugeHeader* gauge) {
    StarterState& s = quillmar.starter;
    double power = quillmar.electric.elec_power_state;
    // Without power the buttons drop out; the start master going off ends a
    // start in progress, as switching it off does.
    if (power == 0) {
        s.starter_master_start_pos = 0;
        s.starter_ignition_left_pos = s.starter_ignition_right_pos = 0;
        quillmar.panels.start_request = 0;
    }
    if (s.start_selector != 1 && s.start_selector_time + 1 < host_variable_value(&sim_time)) {
        s.start_selector = 1;
        sound_start(SOUND_SWITCH_TURN);
    }
    quillmar.panels.ignition_code = (s.starter_ignition_left_pos != 0 ? 1 : 0) +
                                    (s.starter_ignition_right_pos != 0 ? 2 : 0);
    for (StarterElement e : button_legends) show_element_if(gauge_element(gauge, {e}), power >= 2);
    bool lit = panel_lit();
    for (StarterElement e : legend_overlays) show_element_if(gauge_element(gauge, {e}), lit);
}

static void FS_CALL starter_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: starter_install(); break;
    case SERVICE_UPDATE: starter_update(gauge); break;
    case SERVICE_KILL: starter_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Starter, starter_elements, starter_rects, starter_callback);
