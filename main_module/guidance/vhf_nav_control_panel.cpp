// VHF_NAV_Control_Panel: one control head for both VHF NAV receivers.
//
// The head shows and tunes the receiver the EFIS control panel selects.
// Each receiver has a standby frequency and a mode knob (off, frequency,
// bearing, reciprocal bearing), kept between flights. The upper window shows
// the active frequency; the lower one, by the knob, the standby frequency or
// the bearing to or from the station. The standby frequency reaches the
// receiver with the transfer button, which swaps it with the active one.
#include <cstdint>
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ the two receivers

// What belongs to one receiver: its host variables, event and keys.
struct NavBinding {
    HostVariable active_frequency;   // BCD word, 0x1555 for 115.55
    HostVariable signal;             // not 0 while a station is received
    HostVariable bearing;            // 16-bit angle units
    uint32_t frequency_event;        // value: the standby as a BCD word
    PanelStateKey standby_key;
    PanelStateKey knob_key;
};

static NavBinding nav_bindings[2] = {
    {host_variable(24), host_variable(42), host_variable(25), 0x100AC, KEY_NAV_NAV1_STBY_FREQ,
     KEY_NAV_NAV1_KNOB},
    {host_variable(27), host_variable(51), host_variable(28), 0x100AD, KEY_NAV_NAV2_STBY_FREQ,
     KEY_NAV_NAV2_KNOB},
};

constexpr double DEGREES_PER_ANGLE_UNIT = 0.005493164062513411;
constexpr char DEGREE_MARK = '\xBA';

// The receiver the EFIS control panel selects: NAV 1 when it says 1.
static int selected_index() { return quillmar.efis.selected_nav == 1 ? 0 : 1; }
static NavReceiver& selected() { return quillmar.vhf_nav.receiver[selected_index()]; }

// Reads the receiver's active frequency and remembers its four digits.
static const int32_t* read_active_digits(int index) {
    int32_t bcd = host_variable_int(&nav_bindings[index].active_frequency);
    int32_t* digits = quillmar.vhf_nav.receiver[index].active_digits;
    for (int i = 0; i < 4; ++i) digits[i] = (bcd >> (12 - 4 * i)) & 0xF;
    return digits;
}

static uint32_t standby_bcd(const NavReceiver& r) {
    return static_cast<uint32_t>((r.standby_mhz / 10) << 12 | (r.standby_mhz % 10) << 8 |
                                 (r.standby_khz / 10) << 4 | (r.standby_khz % 10));
}

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_WINDOW = BITMAPS_VHF_NAV_Control_Panel,
    BMP_RECEIVER = BMP_WINDOW + 1,   // "1", "2"
    BMP_KNOB = BMP_RECEIVER + 2,     // off, frequency, bearing, reciprocal
    BMP_FACE = BMP_KNOB + 4,
};

static char active_text[16];
static char lower_text[16];

static void write_frequency(StringElement* s, int d1, int d2, int d3, int d4) {
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "1%d%d.%d%d", d1, d2, d3, d4);
}

static double FS_CALL active_readout(ElementHead* e) {
    const int32_t* d = read_active_digits(selected_index());
    write_frequency(reinterpret_cast<StringElement*>(e), d[0], d[1], d[2], d[3]);
    return 0;
}

static void write_bearing(StringElement* s, NavBinding& nav, bool reciprocal) {
    if (host_variable_int(&nav.signal) == 0) {
        std::snprintf(s->text, static_cast<size_t>(s->text_size), "  ---%c", DEGREE_MARK);
        return;
    }
    double degrees = host_variable_value(&nav.bearing) * DEGREES_PER_ANGLE_UNIT;
    if (reciprocal) {
        degrees -= 180;
        if (degrees < 0) degrees += 360;
    }
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "  %3d%c",
                  static_cast<int>(degrees), DEGREE_MARK);
}

static double FS_CALL lower_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    const NavReceiver& r = selected();
    switch (r.knob) {
    case 1:
        write_frequency(s, r.standby_mhz / 10, r.standby_mhz % 10, r.standby_khz / 10,
                        r.standby_khz % 10);
        break;
    case 2: write_bearing(s, nav_bindings[selected_index()], false); break;
    case 3: write_bearing(s, nav_bindings[selected_index()], true); break;
    default: break;   // off: the window is dark and keeps its text
    }
    return r.knob;
}

static double FS_CALL receiver_image(ElementHead*) { return selected_index(); }
static double FS_CALL knob_image(ElementHead*) { return selected().knob; }

static constexpr GaugeHeader* GAUGE = &gauge_VHF_NAV_Control_Panel.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle FREQUENCY_STYLE = {40, 13, 0xF0B43C, 0x141008, "Quartz", 400,
                                       STRING_ALIGN_LEFT};

static constinit StringElement upper =
    readout(GAUGE, {.x = 21, .y = 9}, active_readout, active_text, FREQUENCY_STYLE);
static constinit StringElement lower =
    readout(GAUGE, {.x = 21, .y = 25}, lower_readout, lower_text, FREQUENCY_STYLE);
static constinit IconElement receiver =
    icon(GAUGE, {.bitmap = BMP_RECEIVER, .x = 9, .y = 18, .flags = IMAGE_LIT}, receiver_image, 2);
static constinit IconElement knob =
    icon(GAUGE, {.bitmap = BMP_KNOB, .x = 14, .y = 58, .flags = T}, knob_image, 4);

static constinit StaticImageElement window =
    static_image(GAUGE, {.bitmap = BMP_WINDOW, .flags = IMAGE_LIT});

// The head's face carries the window, its readouts and the two icons.
static ElementHead* face_children[] = {&window.head,   &upper.head, &lower.head,
                                       &receiver.head, &knob.head,  nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* nav_elements[] = {&face.head, nullptr};

// ------------------------------------------------------------ mouse

// Tuning acts only while the selected receiver shows its standby frequency.
static NavReceiver* tuning_receiver() {
    NavReceiver& r = selected();
    return r.knob == 1 ? &r : nullptr;
}

static int32_t FS_CALL mhz_down(const MousePoint*, uint32_t) {
    if (NavReceiver* r = tuning_receiver())
        r->standby_mhz = r->standby_mhz > 8 && r->standby_mhz <= 17 ? r->standby_mhz - 1 : 17;
    return 1;
}

static int32_t FS_CALL mhz_up(const MousePoint*, uint32_t) {
    if (NavReceiver* r = tuning_receiver()) {
        if (r->standby_mhz < 8) r->standby_mhz = 8;
        else r->standby_mhz = r->standby_mhz < 17 ? r->standby_mhz + 1 : 8;
    }
    return 1;
}

static int32_t FS_CALL khz_down(const MousePoint*, uint32_t) {
    if (NavReceiver* r = tuning_receiver())
        r->standby_khz = r->standby_khz > 0 && r->standby_khz <= 95 ? r->standby_khz - 5 : 95;
    return 1;
}

static int32_t FS_CALL khz_up(const MousePoint*, uint32_t) {
    if (NavReceiver* r = tuning_receiver())
        r->standby_khz = r->standby_khz < 95 ? r->standby_khz + 5 : 0;
    return 1;
}

// The standby frequency goes to the receiver and the active one comes back
// as the new standby. The active frequency is read afresh for the swap, so
// the swap is right also when its window has not been drawn since it last
// changed (the head just loaded, or dark).
static int32_t FS_CALL transfer(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    int index = selected_index();
    NavReceiver& r = quillmar.vhf_nav.receiver[index];
    if (r.knob == 0) return 1;
    const int32_t* active = read_active_digits(index);
    send_host_event(nav_bindings[index].frequency_event, standby_bcd(r));
    r.standby_mhz = active[0] * 10 + active[1];
    r.standby_khz = active[2] * 10 + active[3];
    return 1;
}

static int32_t FS_CALL knob_down(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    NavReceiver& r = selected();
    if (r.knob > 0) --r.knob;
    r.nav_on = r.knob != 0 ? 1 : 0;
    return 1;
}

static int32_t FS_CALL knob_up(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    NavReceiver& r = selected();
    if (r.knob < 3) ++r.knob;
    r.nav_on = r.knob != 0 ? 1 : 0;
    return 1;
}

static MouseRect nav_rects[] = {
    mouse_parent(0, 0, 80, 90),
    mouse_child(20, 25, 13, 16, CURSOR_DECREASE, MOUSE_REPEAT, mhz_down),
    mouse_child(33, 25, 16, 16, CURSOR_INCREASE, MOUSE_REPEAT, mhz_up),
    mouse_child(49, 25, 13, 16, CURSOR_DECREASE, MOUSE_REPEAT, khz_down),
    mouse_child(62, 25, 13, 16, CURSOR_INCREASE, MOUSE_REPEAT, khz_up),
    mouse_child(14, 58, 18, 18, CURSOR_HAND, MOUSE_REPEAT, transfer),
    mouse_child(0, 58, 14, 18, CURSOR_DECREASE, MOUSE_REPEAT, knob_down),
    mouse_child(32, 58, 14, 18, CURSOR_INCREASE, MOUSE_REPEAT, knob_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static void nav_install() {
    for (int i = 0; i < 2; ++i) {
        int digits[4];
        panel_state_read_digits(nav_bindings[i].standby_key, digits);
        NavReceiver& r = quillmar.vhf_nav.receiver[i];
        r.standby_mhz = digits[0] * 10 + digits[1];
        r.standby_khz = digits[2] * 10 + digits[3];
    }
    for (int i = 0; i < 2; ++i) {
        NavReceiver& r = quillmar.vhf_nav.receiver[i];
        r.knob = panel_state_read_int(nav_bindings[i].knob_key);
        r.nav_on = r.knob != 0 ? 1 : 0;
    }
}

static void nav_kill() {
    for (int i = 0; i < 2; ++i) {
        const NavReceiver& r = quillmar.vhf_nav.receiver[i];
        panel_state_write_digits(nav_bindings[i].standby_key, r.standby_mhz / 10,
                                 r.standby_mhz % 10, r.standby_khz / 10, r.standby_khz % 10);
    }
    for (int i = 0; i < 2; ++i)
        panel_state_write_int(nav_bindings[i].knob_key, quillmar.vhf_nav.receiver[i].knob);
}

// The window, its readouts and icons light up with power and the selected
// receiver's knob out of off; the face stays.
static void nav_update(GaugeHeader* gauge) {
    bool shown = quillmar.electric.elec_power_state == 2 && selected().knob != 0;
    for (ElementHead** child = gauge_base(gauge)->next; *child; ++child)
        show_element_if(*child, shown);
}

static void FS_CALL nav_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: nav_install(); break;
    case SERVICE_UPDATE: nav_update(gauge); break;
    case SERVICE_KILL: nav_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(VHF_NAV_Control_Panel, nav_elements, nav_rects, nav_callback);
