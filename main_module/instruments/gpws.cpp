// GPWS: the ground proximity warning computer with its control panel, and
// GPWS_Light, its warning lamp.
//
// Every update the computer takes the radio height, evaluates the warning
// modes in order of priority (excessive sink rate, excessive terrain
// closure, height loss after take-off, too low at high speed, too low with
// the gear up, too low with the flaps up, below the glideslope, minimums)
// and speaks the first one that applies, lighting the ground proximity lamp
// or, below the glideslope, the glideslope lamp. It warns only once armed
// by a climb through 700 ft and only between 50 and 2450 ft. A voice is not
// repeated while the same alert (or, after a more severe stage, a milder
// one) holds, until the memory of the last alert is cleared every 5
// seconds. Without power the computer stands still.
//
// The panel carries a three-position selector and the glideslope override
// push-button, which silences the soft glideslope warning.
#include <cstdint>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

enum GpwsCode : int32_t {
    CODE_SINK_RATE = 11,          // 11..14, four stages
    CODE_TERRAIN_CLOSURE = 21,    // 21..24, four stages
    CODE_HEIGHT_LOSS = 30,
    CODE_TOO_LOW_SPEED = 41,
    CODE_TOO_LOW_GEAR = 42,
    CODE_TOO_LOW_FLAPS = 43,
    CODE_GLIDESLOPE_HARD = 51,
    CODE_GLIDESLOPE_SOFT = 52,
    CODE_MINIMUMS = 60,
    CODE_NONE = 90,
    CODE_OUTSIDE_BAND = 91,
};

enum GpwsLamp : int32_t { LAMP_OFF = 0, LAMP_GROUND_PROXIMITY = 1, LAMP_GLIDESLOPE = 2 };

constexpr double ARMING_HEIGHT = 700;
constexpr double BAND_TOP = 2450, BAND_BOTTOM = 50;
constexpr double SAMPLE_SECONDS = 5;
constexpr double GEAR_LEVER_DOWN = 16383;
constexpr double FLAPS_LANDING = 13650;
constexpr double SELECTOR_FLAPS_OVERRIDE = 3;

// ------------------------------------------------------------ the voices

struct GpwsVoice {
    int32_t code;
    SoundSlot sound;
};
static const GpwsVoice gpws_voices[] = {
    {11, SOUND_GPWS_MODE_11}, {12, SOUND_GPWS_MODE_12}, {13, SOUND_GPWS_MODE_13},
    {14, SOUND_GPWS_MODE_14}, {21, SOUND_GPWS_MODE_21}, {22, SOUND_GPWS_MODE_22},
    {23, SOUND_GPWS_MODE_23}, {24, SOUND_GPWS_MODE_24}, {30, SOUND_GPWS_MODE_30},
    {41, SOUND_GPWS_MODE_41}, {42, SOUND_GPWS_MODE_42}, {43, SOUND_GPWS_MODE_43},
    {51, SOUND_GPWS_MODE_51}, {52, SOUND_GPWS_MODE_51},  // both glideslope alerts say the same
    {60, SOUND_GPWS_MODE_60},
};

static SoundSlot voice_of(int32_t code) {
    for (const GpwsVoice& v : gpws_voices)
        if (v.code == code) return v.sound;
    return SOUND_NONE;
}

// The alert of this update: its voice starts when the alert is entered; the
// alert is remembered as the last one either way.
static void alert(int32_t code, int32_t lamp, bool entered) {
    GpwsState& g = quillmar.gpws;
    if (entered) sound_start(voice_of(code));
    g.gpws_last_code = code;
    g.gpws_code = code;
    g.gpws_lamp = lamp;
}

// A stage of a staged alert is entered unless the last alert was the same
// stage or a more severe one of the same alert (`first`..`first` + 3): a
// warning that eases says nothing, one that grows speaks again.
static void staged_alert(int32_t first, int32_t stage) {
    int32_t last = quillmar.gpws.gpws_last_code;
    bool voiced = last >= first + stage && last <= first + 3;
    alert(first + stage, LAMP_GROUND_PROXIMITY, !voiced);
}

static void simple_alert(int32_t code, int32_t lamp) {
    alert(code, lamp, quillmar.gpws.gpws_last_code != code);
}

// ------------------------------------------------------------ the computer

static HostVariable sim_time = host_variable(557);
static HostVariable altitude_metres = host_variable(73);
static HostVariable ground_elevation = host_variable(2);
static HostVariable gear_lever = host_variable(331);
static HostVariable on_ground = host_variable(60);
static HostVariable vertical_speed = host_variable(65);   // 1/256 m/s, negative descending
static HostVariable airspeed = host_variable(61);
static HostVariable flaps = host_variable(328);
static HostVariable glideslope_valid = host_variable(44);
static HostVariable glideslope_deviation = host_variable(41);   // negative below the beam

// The modes in order of priority; true when one of them alerted.
static bool evaluate_modes(double height) {
    GpwsState& g = quillmar.gpws;
    bool gear_up = g.gear_down == 0;
    double vs = host_variable_value(&vertical_speed);

    // Excessive sink rate, else excessive terrain closure (the ground coming
    // up while the aircraft holds its height).
    if (gear_up && g.gpws_armed) {
        double sink = -vs;
        int stage = sink > 12 * height ? 3 : sink > 6 * height ? 2 : sink > 4 * height ? 1
                  : sink > 3 * height  ? 0 : -1;
        if (stage >= 0) {
            staged_alert(CODE_SINK_RATE, stage);
            return true;
        }
        double loss = g.height_5s_ago - height;
        if (vs > -100) {
            stage = loss >= height ? 3 : loss >= height * 0.5 ? 2
                  : loss >= height * 0.3333333333333333 ? 1 : loss >= height * 0.25 ? 0 : -1;
            if (stage >= 0) {
                staged_alert(CODE_TERRAIN_CLOSURE, stage);
                return true;
            }
        }
    }

    // Height lost in the climb after take-off.
    if (height < ARMING_HEIGHT && g.takeoff_phase && height > g.max_height_below_700)
        g.max_height_below_700 = height;
    if (g.takeoff_phase && height * 1.1 < g.max_height_below_700) {
        simple_alert(CODE_HEIGHT_LOSS, LAMP_GROUND_PROXIMITY);
        return true;
    }

    double speed = host_variable_value(&airspeed);
    if (height < 1000 && speed > 180 && g.gpws_armed) {
        simple_alert(CODE_TOO_LOW_SPEED, LAMP_GROUND_PROXIMITY);
        return true;
    }
    if (height < 500 && speed < 140 && gear_up && g.gpws_armed) {
        simple_alert(CODE_TOO_LOW_GEAR, LAMP_GROUND_PROXIMITY);
        return true;
    }
    if (g.gpws_selector != SELECTOR_FLAPS_OVERRIDE) {
        double flap_position = host_variable_value(&flaps);
        if (height < 200 && !gear_up && flap_position < FLAPS_LANDING && g.gpws_armed) {
            simple_alert(CODE_TOO_LOW_FLAPS, LAMP_GROUND_PROXIMITY);
            return true;
        }
    }

    // Below the glideslope: hard low down, soft (and silenced by the
    // override) further out.
    double valid = host_variable_value(&glideslope_valid);
    double deviation = host_variable_value(&glideslope_deviation);
    if (valid == 1) {
        if (height > 150 && height < 300 && deviation < -120 && g.gpws_armed) {
            simple_alert(CODE_GLIDESLOPE_HARD, LAMP_GLIDESLOPE);
            return true;
        }
        if (height >= 1000) return false;
        if (height > 150 && deviation < -80 && g.gpws_armed && g.gs_override == 0) {
            simple_alert(CODE_GLIDESLOPE_SOFT, LAMP_GLIDESLOPE);
            return true;
        }
    }

    // Minimums, voiced once per approach.
    if (height > 50 && height < 1000 && !gear_up && g.gpws_armed &&
        height < quillmar.panels.decision_height) {
        alert(CODE_MINIMUMS, LAMP_GROUND_PROXIMITY, g.minimums_played == 0);
        g.minimums_played = 1;
        return true;
    }
    return false;
}

static void gpws_update() {
    GpwsState& g = quillmar.gpws;
    double now = host_variable_value(&sim_time);
    if (quillmar.electric.elec_power_state == 0) return;

    double height = host_variable_value(&altitude_metres) * 3.280833 -
                    host_variable_value(&ground_elevation) * 0.0128157;
    g.radio_height = height;
    g.gear_down = host_variable_value(&gear_lever) == GEAR_LEVER_DOWN ? 1 : 0;
    if (now - g.sample_time > SAMPLE_SECONDS) {
        g.height_5s_ago = height;
        g.sample_time = now;
        g.gpws_last_code = 0;
    }

    if (host_variable_value(&on_ground) != 0) {
        g.takeoff_phase = 1;
        g.gpws_armed = 0;
    } else if (height > ARMING_HEIGHT) {
        g.takeoff_phase = 0;
        g.max_height_below_700 = 0;
        g.gpws_armed = 1;
    }

    if (height >= BAND_TOP || height <= BAND_BOTTOM) {
        g.gpws_lamp = LAMP_OFF;
        g.gpws_code = g.gpws_last_code = CODE_OUTSIDE_BAND;
        return;
    }
    if (evaluate_modes(height)) return;

    if (height < 10 || height > ARMING_HEIGHT) g.minimums_played = 0;
    g.gpws_code = g.gpws_last_code = CODE_NONE;
    g.gpws_lamp = LAMP_OFF;
}

// ------------------------------------------------------------ GPWS panel

enum : int32_t {
    BMP_GPWS_PANEL = BITMAPS_GPWS,
    BMP_GPWS_SELECTOR = BMP_GPWS_PANEL + 1,   // positions 0, 1, 2
};

// Positions outside the selector's three (from the panel state file) show
// the nearest end.
static double FS_CALL selector_image(ElementHead*) {
    double s = quillmar.gpws.gpws_selector;
    return s < 0 ? 0 : s > 2 ? 2 : static_cast<int>(s);
}

static constexpr GaugeHeader* GPWS_GAUGE = &gauge_GPWS.h;

static constinit IconElement selector = icon(
    GPWS_GAUGE, {.bitmap = BMP_GPWS_SELECTOR, .x = 56, .y = -5, .flags = IMAGE_TRANSPARENT},
    selector_image, 3);
static ElementHead* gpws_children[] = {&selector.head, nullptr};
static constinit StaticImageElement gpws_panel =
    static_image(GPWS_GAUGE, {.bitmap = BMP_GPWS_PANEL, .children = gpws_children});
static ElementHead* gpws_elements[] = {&gpws_panel.head, nullptr};

static int32_t FS_CALL click_selector_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& s = quillmar.gpws.gpws_selector;
    if (s < 2) s += 1;
    return 1;
}

static int32_t FS_CALL click_selector_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_FLIP);
    double& s = quillmar.gpws.gpws_selector;
    if (s > 0) s -= 1;
    return 1;
}

static int32_t FS_CALL click_gs_override(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& o = quillmar.gpws.gs_override;
    o = o != 0 ? 0 : 1;
    return 1;
}

static MouseRect gpws_rects[] = {
    mouse_parent(0, 0, 127, 45),
    mouse_child(45, 10, 34, 19, CURSOR_INCREASE, MOUSE_CLICK, click_selector_up),
    mouse_child(45, 30, 34, 19, CURSOR_DECREASE, MOUSE_CLICK, click_selector_down),
    mouse_child(95, 17, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_gs_override),
    mouse_close(),
    mouse_end(),
};

static void gpws_install() {
    GpwsState& g = quillmar.gpws;
    g.gpws_code = g.gpws_last_code = 0;
    g.gpws_lamp = LAMP_OFF;
    g.gear_down = g.gpws_armed = g.takeoff_phase = g.minimums_played = 0;
    g.max_height_below_700 = 0;
    g.gs_override = panel_state_read_int(KEY_GPWS_GS_OVERRIDE_POS);
    g.gpws_selector = panel_state_read_int(KEY_GPWS_FLAPS_OVERRIDE_POS);
}

// The selector's position is read but never written back.
static void gpws_kill() { panel_state_write_int(KEY_GPWS_GS_OVERRIDE_POS, quillmar.gpws.gs_override); }

static void FS_CALL gpws_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: gpws_install(); break;
    case SERVICE_UPDATE: gpws_update(); break;
    case SERVICE_KILL: gpws_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(GPWS, gpws_elements, gpws_rects, gpws_callback);

// ------------------------------------------------------------ GPWS_Light

// The lamp flashes: every third tick the phase turns over, and on each turn
// from lit to dark the lamp is dark for that update.
constexpr double FLASH_TICKS = 2;

enum : int32_t { BMP_GPWS_LAMP = BITMAPS_GPWS_Light };   // off, ground proximity, glideslope

static double FS_CALL lamp_image(ElementHead*) {
    int32_t lamp = quillmar.gpws.gpws_lamp;
    return lamp >= LAMP_OFF && lamp <= LAMP_GLIDESLOPE ? lamp : LAMP_OFF;
}

static constexpr GaugeHeader* LIGHT_GAUGE = &gauge_GPWS_Light.h;
static constinit IconElement lamp = icon(LIGHT_GAUGE, {.bitmap = BMP_GPWS_LAMP, .flags = IMAGE_LIT}, lamp_image, 3);
static ElementHead* light_elements[] = {&lamp.head, nullptr};
static MouseRect light_rects[] = {mouse_parent(0, 0, 18, 18), mouse_close(), mouse_end()};

static HostVariable ticks = host_variable(1);

static void light_update(GaugeHeader* gauge) {
    GpwsState& g = quillmar.gpws;
    double power = quillmar.electric.elec_power_state;
    if (power == 0) {
        g.gpws_lamp = LAMP_OFF;
    } else {
        double now = host_variable_value(&ticks);
        if (g.gpws_lamp != LAMP_OFF && now > g.flash_timer + FLASH_TICKS) {
            g.flash_timer = now;
            g.flash_phase = g.flash_phase ? 0 : 1;
            if (g.flash_phase == 0) g.gpws_lamp = LAMP_OFF;
        }
    }
    show_element_if(gauge_base(gauge), power == 2);
}

static void FS_CALL light_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        quillmar.gpws.flash_timer = -1;
        quillmar.gpws.flash_phase = 0;
        break;
    case SERVICE_UPDATE: light_update(gauge); break;
    default: break;
    }
}

MAIN_GAUGE(GPWS_Light, light_elements, light_rects, light_callback);
