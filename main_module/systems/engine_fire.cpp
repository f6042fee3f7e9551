// EngineFire1, EngineFire2: the engine fire panels, one per engine.
//
// Each holds the engine's fire handle, turned left to discharge agent 1 or
// right to discharge agent 2, and the LOOP 1 and LOOP 2 buttons of its
// detection loops. A handle off centre shuts the engine's fuel off: the
// simulator cycle cuts the fuel and the fuel panel shows SHUT. Without power
// the loops return to normal; the handles keep their position across
// flights.
#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ bindings

// What makes each gauge of the family its engine's.
struct EngineFireBinding {
    GaugeHeader* gauge;
    EngineFireState* state;
    double* fuel_shutoff;
    PanelStateKey loop1_key, loop2_key, handle_key;
};

static const EngineFireBinding engine_fire_bindings[2] = {
    {&gauge_EngineFire1.h, &quillmar.engine_fire[0], &quillmar.panels.engine1_fuel_shutoff,
     KEY_ENGINE_FIRE_ENGFIRE1_LOOP1_POS, KEY_ENGINE_FIRE_ENGFIRE1_LOOP2_POS,
     KEY_ENGINE_FIRE_ENGFIRE1_HANDLE_POS},
    {&gauge_EngineFire2.h, &quillmar.engine_fire[1], &quillmar.panels.engine2_fuel_shutoff,
     KEY_ENGINE_FIRE_ENGFIRE2_LOOP1_POS, KEY_ENGINE_FIRE_ENGFIRE2_LOOP2_POS,
     KEY_ENGINE_FIRE_ENGFIRE2_HANDLE_POS},
};

static const EngineFireBinding& binding_of(const GaugeHeader* gauge) {
    return gauge == engine_fire_bindings[1].gauge ? engine_fire_bindings[1]
                                                  : engine_fire_bindings[0];
}

// ------------------------------------------------------------ elements

// The loop legends look the same on both panels; the overlay and the
// handle of engine 2 are mirrored.
enum : int32_t {
    BMP_LEGENDS_1 = BITMAPS_EngineFire1,
    BMP_LOOP = BMP_LEGENDS_1 + 1,             // dark, OFF lit
    BMP_HANDLE_1 = BMP_LOOP + 2,              // turned left, centre, turned right
    BMP_LEGENDS_2 = BITMAPS_EngineFire2,
    BMP_HANDLE_2 = BMP_LEGENDS_2 + 1,
};

static double FS_CALL loop1_image(ElementHead* e) { return binding_of(e->gauge).state->loop1_pos; }
static double FS_CALL loop2_image(ElementHead* e) { return binding_of(e->gauge).state->loop2_pos; }
static double FS_CALL handle_image(ElementHead* e) {
    return binding_of(e->gauge).state->handle_pos;
}

constexpr uint32_t T = IMAGE_TRANSPARENT;

// One element set per panel. The panels have no mask: the loops and the
// handle hang from the lettering overlay.
static constexpr GaugeHeader* GAUGE_1 = &gauge_EngineFire1.h;
static constinit IconElement loop1_1 =
    icon(GAUGE_1, {.bitmap = BMP_LOOP, .x = 29, .y = 70, .flags = IMAGE_LIT}, loop1_image, 2);
static constinit IconElement loop2_1 =
    icon(GAUGE_1, {.bitmap = BMP_LOOP, .x = 55, .y = 70, .flags = IMAGE_LIT}, loop2_image, 2);
static constinit IconElement handle_1 =
    icon(GAUGE_1, {.bitmap = BMP_HANDLE_1, .x = 86, .y = 16, .flags = T}, handle_image, 3);
static ElementHead* legend_children_1[] = {&loop1_1.head, &loop2_1.head, &handle_1.head, nullptr};
static constinit StaticImageElement legends_1 = static_image(
    GAUGE_1, {.bitmap = BMP_LEGENDS_1, .flags = IMAGE_LIT, .children = legend_children_1});
static ElementHead* engine_fire1_elements[] = {&legends_1.head, nullptr};

static constexpr GaugeHeader* GAUGE_2 = &gauge_EngineFire2.h;
static constinit IconElement loop1_2 =
    icon(GAUGE_2, {.bitmap = BMP_LOOP, .x = 101, .y = 70, .flags = IMAGE_LIT}, loop1_image, 2);
static constinit IconElement loop2_2 =
    icon(GAUGE_2, {.bitmap = BMP_LOOP, .x = 127, .y = 70, .flags = IMAGE_LIT}, loop2_image, 2);
static constinit IconElement handle_2 =
    icon(GAUGE_2, {.bitmap = BMP_HANDLE_2, .x = 24, .y = 16, .flags = T}, handle_image, 3);
static ElementHead* legend_children_2[] = {&loop1_2.head, &loop2_2.head, &handle_2.head, nullptr};
static constinit StaticImageElement legends_2 = static_image(
    GAUGE_2, {.bitmap = BMP_LEGENDS_2, .flags = IMAGE_LIT, .children = legend_children_2});
static ElementHead* engine_fire2_elements[] = {&legends_2.head, nullptr};

// ------------------------------------------------------------ mouse

static void publish_fuel_shutoff(const EngineFireBinding& b) {
    double handle = b.state->handle_pos;
    *b.fuel_shutoff = handle == 0 || handle == 2 ? 1 : 0;
}

template <int ENGINE>
static int32_t FS_CALL click_loop1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& loop = engine_fire_bindings[ENGINE].state->loop1_pos;
    loop = loop != 0 ? 0 : 1;
    return 1;
}

template <int ENGINE>
static int32_t FS_CALL click_loop2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& loop = engine_fire_bindings[ENGINE].state->loop2_pos;
    loop = loop != 0 ? 0 : 1;
    return 1;
}

// The handle's left half turns it towards agent 1, the right half towards
// agent 2; from either side it comes back through the centre.
template <int ENGINE>
static int32_t FS_CALL click_handle_left(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    const EngineFireBinding& b = engine_fire_bindings[ENGINE];
    if (b.state->handle_pos != 0) b.state->handle_pos -= 1;
    publish_fuel_shutoff(b);
    return 1;
}

template <int ENGINE>
static int32_t FS_CALL click_handle_right(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    const EngineFireBinding& b = engine_fire_bindings[ENGINE];
    if (b.state->handle_pos != 2) b.state->handle_pos += 1;
    publish_fuel_shutoff(b);
    return 1;
}

// The handle halves keep the cursors the panels have always shown: the
// increase shape over the half that turns the handle down, the decrease
// shape over the half that turns it up.
static MouseRect engine_fire1_rects[] = {
    mouse_parent(0, 0, 177, 177),
    mouse_child(26, 57, 25, 25, CURSOR_HAND, MOUSE_CLICK, click_loop1<0>),
    mouse_child(52, 57, 25, 25, CURSOR_HAND, MOUSE_CLICK, click_loop2<0>),
    mouse_child(86, 16, 33, 72, CURSOR_INCREASE, MOUSE_CLICK, click_handle_left<0>),
    mouse_child(120, 16, 33, 72, CURSOR_DECREASE, MOUSE_CLICK, click_handle_right<0>),
    mouse_close(),
    mouse_end(),
};

static MouseRect engine_fire2_rects[] = {
    mouse_parent(0, 0, 177, 177),
    mouse_child(97, 57, 25, 25, CURSOR_HAND, MOUSE_CLICK, click_loop1<1>),
    mouse_child(123, 57, 25, 25, CURSOR_HAND, MOUSE_CLICK, click_loop2<1>),
    mouse_child(24, 16, 33, 72, CURSOR_INCREASE, MOUSE_CLICK, click_handle_left<1>),
    mouse_child(57, 16, 33, 72, CURSOR_DECREASE, MOUSE_CLICK, click_handle_right<1>),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static void engine_fire_install(const EngineFireBinding& b) {
    b.state->loop1_pos = panel_state_read_int(b.loop1_key);
    b.state->loop2_pos = panel_state_read_int(b.loop2_key);
    b.state->handle_pos = panel_state_read_int(b.handle_key);
    // A handle left turned at the end of the last flight still shuts the
    // fuel off.
    publish_fuel_shutoff(b);
}

static void engine_fire_kill(const EngineFireBinding& b) {
    panel_state_write_int(b.loop1_key, b.state->loop1_pos);
    panel_state_write_int(b.loop2_key, b.state->loop2_pos);
    panel_state_write_int(b.handle_key, b.state->handle_pos);
}

static void engine_fire_update(const EngineFireBinding& b) {
    if (quillmar.electric.elec_power_state == 0) b.state->loop1_pos = b.state->loop2_pos = 0;
    show_element_if(gauge_base(b.gauge), panel_lit());
}

static void FS_CALL engine_fire_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    const EngineFireBinding& b = binding_of(gauge);
    switch (service) {
    case SERVICE_INSTALL: engine_fire_install(b); break;
    case SERVICE_UPDATE: engine_fire_update(b); break;
    case SERVICE_KILL: engine_fire_kill(b); break;
    default: break;
    }
}

MAIN_GAUGE(EngineFire1, engine_fire1_elements, engine_fire1_rects, engine_fire_callback);
MAIN_GAUGE(EngineFire2, engine_fire2_elements, engine_fire2_rects, engine_fire_callback);
