// EFIS_Control_Panel: the crew's selections for the two flight displays.
//
// The HSI mode (full rose or arc), ground speed or time to go, the NAV
// receiver the displays follow, the sources of the two bearing needles and
// the decision height; each is published on its own channel the moment it
// changes and kept between flights. The panel also carries the flight
// director cancel button and the two engine lamps, lit while an engine's
// ignition is on or while a stopped engine has its fuel control lever
// forward.
#include "frame/channel.h"
#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_FACE = BITMAPS_EFIS_Control_Panel,
    BMP_FACE_LIT = BMP_FACE + 1,
    BMP_NEEDLE_SOURCE = BMP_FACE_LIT + 1,   // off, VOR, ADF; both knobs
    BMP_ENGINE_LAMP = BMP_NEEDLE_SOURCE + 3, // dark, lit; both lamps
};

static EfisControlPanel& efis = quillmar.efis;

static double FS_CALL needle1_image(ElementHead*) { return efis.needle1_source; }
static double FS_CALL needle2_image(ElementHead*) { return efis.needle2_source; }
static double FS_CALL engine1_lamp(ElementHead*) { return efis.engine_lamp[0]; }
static double FS_CALL engine2_lamp(ElementHead*) { return efis.engine_lamp[1]; }

static constexpr GaugeHeader* GAUGE = &gauge_EFIS_Control_Panel.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_FACE_LIT, .flags = IMAGE_LIT});
static constinit IconElement needle1_knob =
    icon(GAUGE, {.bitmap = BMP_NEEDLE_SOURCE, .x = 19, .y = 64, .flags = T}, needle1_image, 3);
static constinit IconElement needle2_knob =
    icon(GAUGE, {.bitmap = BMP_NEEDLE_SOURCE, .x = 175, .y = 64, .flags = T}, needle2_image, 3);
static constinit IconElement engine1_light =
    icon(GAUGE, {.bitmap = BMP_ENGINE_LAMP, .x = 49, .y = 12, .flags = IMAGE_LIT}, engine1_lamp, 2);
static constinit IconElement engine2_light =
    icon(GAUGE, {.bitmap = BMP_ENGINE_LAMP, .x = 138, .y = 12, .flags = IMAGE_LIT}, engine2_lamp, 2);

static ElementHead* face_children[] = {&face_lit.head,      &needle1_knob.head,
                                       &needle2_knob.head,  &engine1_light.head,
                                       &engine2_light.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* efis_elements[] = {&face.head, nullptr};

static const LightingPair lighting[] = {{&face.head, &face_lit.head}};

// ------------------------------------------------------------ selections and their channels

// Each selection with its key and channel, in the order they are read and
// written.
enum EfisSelection { SELECTED_NAV, DECISION_HEIGHT, GSPD_TTS, NEEDLE1, NEEDLE2, EHSI_MODE };
struct Selection {
    PanelStateKey key;
    ChannelId channel;
    double* value;
};
static const Selection selections[] = {
    {KEY_EFIS_CP_SELECTEDNAV, CHANNEL_EFISCP_NAV_SEL, &quillmar.efis.selected_nav},
    {KEY_EFIS_CP_SELECTEDDH, CHANNEL_DH, &quillmar.panels.decision_height},
    {KEY_EFIS_CP_SPEED_TTS_MODE, CHANNEL_EFISCP_GSPD_TTS_SEL, &quillmar.efis.gspd_tts_mode},
    {KEY_EFIS_CP_EFISCPNEEDLE1, CHANNEL_EFISCP_NEEDLE1_SEL, &quillmar.efis.needle1_source},
    {KEY_EFIS_CP_EFISCPNEEDLE2, CHANNEL_EFISCP_NEEDLE2_SEL, &quillmar.efis.needle2_source},
    {KEY_EFIS_CP_EFISCPEHSIMODE, CHANNEL_EFISCP_EHSI_MODE, &quillmar.efis.ehsi_mode},
};

// The displays see a selection the moment it changes.
static void publish(EfisSelection which) {
    const Selection& s = selections[which];
    channel_write(&quillmar.channels, s.channel, static_cast<int>(*s.value));
}

static void set(EfisSelection which, double value) {
    *selections[which].value = value;
    publish(which);
}

static void toggle(EfisSelection which) { set(which, *selections[which].value == 0 ? 1 : 0); }

// Off, VOR, ADF, off, ...
static void next_source(EfisSelection which) {
    double source = *selections[which].value;
    set(which, source >= 2 ? 0 : source + 1);
}

static int32_t FS_CALL click_ehsi_mode(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(EHSI_MODE);
    return 1;
}

static int32_t FS_CALL click_gspd_tts(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    toggle(GSPD_TTS);
    return 1;
}

// The flight director cancel here leaves the flight mode panel's lamp alone.
static int32_t FS_CALL click_fd_cancel(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    quillmar.panels.fd_cancel = quillmar.panels.fd_cancel == 0 ? 1 : 0;
    return 1;
}

static int32_t FS_CALL click_nav1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    set(SELECTED_NAV, 1);
    return 1;
}

static int32_t FS_CALL click_nav2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    set(SELECTED_NAV, 2);
    return 1;
}

static int32_t FS_CALL click_needle1(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    next_source(NEEDLE1);
    return 1;
}

static int32_t FS_CALL click_needle2(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    next_source(NEEDLE2);
    return 1;
}

// Decision height in steps of 10 ft between 10 and 1000; the test is on the
// value before the step, so a height read from the file as 15 goes to 5.
static int32_t FS_CALL decision_height_down(const MousePoint*, uint32_t) {
    double dh = quillmar.panels.decision_height;
    set(DECISION_HEIGHT, dh > 10 ? dh - 10 : dh);
    return 1;
}

static int32_t FS_CALL decision_height_up(const MousePoint*, uint32_t) {
    double dh = quillmar.panels.decision_height;
    set(DECISION_HEIGHT, dh < 1000 ? dh + 10 : dh);
    return 1;
}

static MouseRect efis_rects[] = {
    mouse_parent(0, 0, 207, 90),
    mouse_child(14, 29, 22, 19, CURSOR_HAND, MOUSE_CLICK, click_ehsi_mode),
    mouse_child(66, 29, 22, 19, CURSOR_HAND, MOUSE_CLICK, click_gspd_tts),
    mouse_child(92, 29, 22, 19, CURSOR_HAND, MOUSE_CLICK, click_fd_cancel),
    mouse_child(144, 29, 22, 19, CURSOR_HAND, MOUSE_CLICK, click_nav1),
    mouse_child(170, 29, 22, 19, CURSOR_HAND, MOUSE_CLICK, click_nav2),
    mouse_child(0, 55, 50, 30, CURSOR_HAND, MOUSE_CLICK, click_needle1),
    mouse_child(60, 55, 17, 30, CURSOR_DECREASE, MOUSE_REPEAT, decision_height_down),
    mouse_child(77, 55, 17, 30, CURSOR_INCREASE, MOUSE_REPEAT, decision_height_up),
    mouse_child(155, 55, 50, 30, CURSOR_HAND, MOUSE_CLICK, click_needle2),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static HostVariable core_speed_1 = host_variable(624);   // percent
static HostVariable core_speed_2 = host_variable(643);

// Each selection is published as soon as it is read, so the displays
// start from the panel state file.
static void efis_install() {
    for (int i = SELECTED_NAV; i <= EHSI_MODE; ++i)
        set(EfisSelection(i), panel_state_read_int(selections[i].key));
    quillmar.panels.fd_cancel = 0;
}

static void efis_kill() {
    for (const Selection& s : selections) panel_state_write_int(s.key, *s.value);
}

// An engine's lamp: its ignition on, or its core below 60 percent with the
// fuel control lever at or ahead of the run position.
static double engine_lamp(int engine, double core_speed, double fuel_lever) {
    int32_t ignition = quillmar.panels.ignition_code;
    bool lit = ignition == engine || ignition == 3 || (core_speed < 60 && fuel_lever <= 50);
    return lit ? 1 : 0;
}

static void efis_update() {
    apply_panel_lighting(lighting);
    efis.engine_lamp[0] = engine_lamp(1, host_variable_value(&core_speed_1),
                                      quillmar.panels.fuel_control_left_pos);
    efis.engine_lamp[1] = engine_lamp(2, host_variable_value(&core_speed_2),
                                      quillmar.panels.fuel_control_right_pos);
}

static void FS_CALL efis_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: efis_install(); break;
    case SERVICE_UPDATE: efis_update(); break;
    case SERVICE_KILL: efis_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(EFIS_Control_Panel, efis_elements, efis_rects, efis_callback);
