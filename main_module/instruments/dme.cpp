// DME: the distance measuring equipment indicator of the main panel.
//
// It shows the receiver it listens to (DME 1 or 2), the slant distance to
// the station and either the ground speed or the time to the station. The
// left button switches the receiver, the right one switches between speed
// and time. A receiver whose NAV radio is off, or that has no station,
// shows dashes. The face has a normal and a lit version, by the panel
// lighting rule.
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_DME_FACE = BITMAPS_DME,
    BMP_DME_FACE_LIT = BMP_DME_FACE + 1,
};

static HostVariable dme_receiver = host_variable(355);   // 1 or 2
static HostVariable dme_distance[2] = {host_variable(31), host_variable(35)};  // nm, -1 none
static HostVariable dme_speed[2] = {host_variable(32), host_variable(36)};     // knots, -1 none

constexpr uint32_t EVENT_DME1_SELECT = 0x100FB;
constexpr uint32_t EVENT_DME2_SELECT = 0x100FC;

constexpr double DISTANCE_LIMIT = 999.9;
constexpr double SPEED_LIMIT = 999;
constexpr double TIME_LIMIT = 99 * 60 + 59;   // the longest time the readout can show

static int selected_receiver() { return host_variable_int(&dme_receiver) == 1 ? 0 : 1; }

static bool nav_on(int receiver) { return quillmar.vhf_nav.receiver[receiver].nav_on != 0; }

static char receiver_text[16], distance_text[16], speed_text[16], unit_text[16];

static double FS_CALL receiver_label(ElementHead*) {
    int receiver = selected_receiver();
    std::snprintf(receiver_text, sizeof receiver_text, receiver == 0 ? "1  NM" : " 2 NM");
    return receiver + 1;
}

static double FS_CALL distance_readout(ElementHead*) {
    int receiver = selected_receiver();
    double distance = host_variable_value(&dme_distance[receiver]);
    if (!nav_on(receiver) || distance == -1) {
        std::snprintf(distance_text, sizeof distance_text, "---.-");
        return -1;
    }
    if (distance > DISTANCE_LIMIT) distance = DISTANCE_LIMIT;
    std::snprintf(distance_text, sizeof distance_text, "%5.1f", distance);
    return distance;
}

// Time to the station needs a distance and a speed toward it; with the
// aircraft standing still (or no distance) there is no time to show.
static double FS_CALL speed_or_time_readout(ElementHead*) {
    int receiver = selected_receiver();
    double speed = host_variable_value(&dme_speed[receiver]);
    if (quillmar.navigation.dme_time_mode == 0) {
        if (speed == -1) {
            std::snprintf(speed_text, sizeof speed_text, "---.-");
            return -1;
        }
        if (speed > SPEED_LIMIT) speed = SPEED_LIMIT;
        std::snprintf(speed_text, sizeof speed_text, "%5.1f", speed);
        return speed;
    }
    double distance = host_variable_value(&dme_distance[receiver]);
    if (speed == -1 || !nav_on(receiver) || speed <= 0 || distance < 0) {
        std::snprintf(speed_text, sizeof speed_text, "--:--");
        return -1;
    }
    double seconds = distance / speed * 3600;
    if (seconds > TIME_LIMIT) seconds = TIME_LIMIT;
    int whole = static_cast<int>(seconds);
    std::snprintf(speed_text, sizeof speed_text, "%02d:%02d", whole / 60, whole % 60);
    return seconds;
}

static double FS_CALL unit_label(ElementHead*) {
    bool time = quillmar.navigation.dme_time_mode == 1;
    std::snprintf(unit_text, sizeof unit_text, time ? "  min   " : "     kts");
    return time ? 1 : 0;
}

static constexpr GaugeHeader* GAUGE = &gauge_DME.h;
constexpr TextStyle DME_STYLE = {40, 13, 0xFF3020, 0x000000, "Quartz", 400, STRING_ALIGN_LEFT};
constexpr TextStyle LABEL_STYLE = {40, 9, 0xFF3020, 0x000000, "Quartz", 400, STRING_ALIGN_LEFT};

static constinit StringElement receiver =
    readout(GAUGE, {.x = 27, .y = 31}, receiver_label, receiver_text, LABEL_STYLE);
static constinit StringElement distance =
    readout(GAUGE, {.x = 27, .y = 13}, distance_readout, distance_text, DME_STYLE);
static constinit StringElement speed_or_time =
    readout(GAUGE, {.x = 84, .y = 13}, speed_or_time_readout, speed_text, DME_STYLE);
static constinit StringElement unit =
    readout(GAUGE, {.x = 72, .y = 31}, unit_label, unit_text, LABEL_STYLE);

static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_DME_FACE_LIT, .flags = IMAGE_LIT});

static ElementHead* readouts[] = {&receiver.head, &distance.head, &speed_or_time.head, &unit.head};
static ElementHead* dme_children[] = {&face_lit.head,      &receiver.head, &distance.head,
                                      &speed_or_time.head, &unit.head,     nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_DME_FACE, .children = dme_children});
static ElementHead* dme_elements[] = {&face.head, nullptr};

static const LightingPair dme_lighting[] = {{&face.head, &face_lit.head}};

// ------------------------------------------------------------ mouse

static int32_t FS_CALL click_receiver(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    send_host_event(host_variable_int(&dme_receiver) == 2 ? EVENT_DME1_SELECT : EVENT_DME2_SELECT, 0);
    return 1;
}

static int32_t FS_CALL click_time_mode(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& mode = quillmar.navigation.dme_time_mode;
    mode = mode != 0 ? 0 : 1;
    return 1;
}

static MouseRect dme_rects[] = {
    mouse_parent(0, 0, 164, 70),
    mouse_child(36, 42, 31, 26, CURSOR_HAND, MOUSE_CLICK, click_receiver),
    mouse_child(98, 42, 31, 26, CURSOR_HAND, MOUSE_CLICK, click_time_mode),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ callback

static void FS_CALL dme_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        quillmar.navigation.dme_time_mode = panel_state_read_int(KEY_DME_TTS_MODE_POS);
        break;
    case SERVICE_UPDATE: {
        bool powered = quillmar.electric.elec_power_state == 2;
        for (ElementHead* e : readouts) show_element_if(e, powered);
        apply_panel_lighting(dme_lighting);
        break;
    }
    case SERVICE_KILL: panel_state_write_int(KEY_DME_TTS_MODE_POS, quillmar.navigation.dme_time_mode); break;
    default: break;
    }
}

MAIN_GAUGE(DME, dme_elements, dme_rects, dme_callback);
