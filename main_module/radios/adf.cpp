// ADF1, ADF2: the two ADF control heads of the pedestal. Both tune the one
// ADF receiver of the aircraft.
//
// Each head keeps its own standby frequency (hundreds 2..9, tens, units and
// a tenths digit of 0 or 5) and mode knob. The upper readout shows the
// receiver's active frequency; the lower one, by knob, the standby
// frequency (1, 2, 4), the bearing to the beacon (3) or the signal level
// (5). The transfer button sends the standby frequency to the receiver and
// takes the active one into standby. A knob at 2 or more tells the radio
// magnetic indicator that an ADF is on.
#include <cmath>
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/radios/radio_head.h"

// ------------------------------------------------------------ elements

// Bitmaps of both heads; the legends and the knob take one number per image.
enum : int32_t {
    BMP_ADF_FACE = BITMAPS_ADF1,
    BMP_ADF_WINDOW = BMP_ADF_FACE + 1,
    BMP_ADF_UPPER_LEGEND = BMP_ADF_WINDOW + 1,       // by knob: -, ANT, ADF, ADF, BFO, ADF
    BMP_ADF_LOWER_LEGEND = BMP_ADF_UPPER_LEGEND + 6, // by knob: -, STBY, STBY, BRG, STBY, LVL
    BMP_ADF_KNOB = BMP_ADF_LOWER_LEGEND + 6,         // OFF and positions 1 to 5
};
constexpr RadioHeadBitmaps ADF_BITMAPS = {BMP_ADF_FACE,         BMP_ADF_WINDOW, BMP_ADF_UPPER_LEGEND, 6,
                                          BMP_ADF_LOWER_LEGEND, 6,              BMP_ADF_KNOB,         6};

// The ADF receiver as the host reports it.
static HostVariable adf_frequency = host_variable(16);  // three BCD digits in the low 12 bits
static HostVariable adf_tenths = host_variable(18);
static HostVariable adf_signal = host_variable(20);     // 0: no signal
static HostVariable adf_bearing = host_variable(39);    // relative bearing, degrees

constexpr uint32_t EVENT_ADF_FREQUENCY = 0x100B2;       // d1 x 256 + d2 x 16 + d3
constexpr uint32_t EVENT_ADF_TENTHS = 0x101FF;

constexpr unsigned char DEGREE_MARK = 0xBA;

// The two heads: their gauges and the keys each keeps.
struct AdfHead {
    GaugeHeader* gauge;
    PanelStateKey standby, knob;
};
static const AdfHead adf_heads[2] = {
    {&gauge_ADF1.h, KEY_ADF_ADF1_STBY_FREQ, KEY_ADF_ADF1_KNOB_POS},
    {&gauge_ADF2.h, KEY_ADF_ADF2_STBY_FREQ, KEY_ADF_ADF2_KNOB_POS},
};

static int head_index(const GaugeHeader* gauge) { return gauge == adf_heads[1].gauge ? 1 : 0; }

static AdfHeadState& head_of(ElementHead* e) { return quillmar.radios.adf[head_index(e->gauge)]; }

static void format_frequency(char* text, int d1, int d2, int d3, int tenths) {
    std::snprintf(text, RADIO_TEXT_SIZE, " %d%d%d.%d", d1, d2, d3, tenths);
}

static double FS_CALL adf_upper(ElementHead* e) {
    const AdfHeadState& head = head_of(e);
    format_frequency(reinterpret_cast<StringElement*>(e)->text, head.active[0], head.active[1],
                     head.active[2], head.active[3]);
    return 0;
}

// Bearing to the beacon, 1 to 360: a beacon dead ahead reads 360.
static int bearing_to_show(double relative) {
    double sum = relative + 360;
    if (sum > 360) sum -= 360;
    return static_cast<int>(sum);
}

static double FS_CALL adf_lower(ElementHead* e) {
    const AdfHeadState& head = head_of(e);
    char* text = reinterpret_cast<StringElement*>(e)->text;
    switch (head.knob) {
    case 1:
    case 2:
    case 4: format_frequency(text, head.d1, head.d2, head.d3, head.tenths); break;
    case 3:
        if (host_variable_int(&adf_signal) != 0)
            std::snprintf(text, RADIO_TEXT_SIZE, "  %3d%c", bearing_to_show(host_variable_value(&adf_bearing)),
                          DEGREE_MARK);
        else
            std::snprintf(text, RADIO_TEXT_SIZE, "  ---%c", DEGREE_MARK);
        break;
    case 5: {
        int32_t signal = host_variable_int(&adf_signal);
        if (signal != 0) {
            int level = static_cast<int>(signal * 0.001);
            std::snprintf(text, RADIO_TEXT_SIZE, "  L 1%d", level > 7 ? 7 : level < 0 ? 0 : level);
        } else {
            std::snprintf(text, RADIO_TEXT_SIZE, "  L 00");
        }
        break;
    }
    default: break;  // OFF: the window is dark, the text stays as it was
    }
    return head.knob;
}

static double FS_CALL adf_knob(ElementHead* e) { return head_of(e).knob; }

RADIO_HEAD_ELEMENTS(ADF1, ADF_BITMAPS, RADIO_UPPER_X, adf_upper, adf_lower, adf_knob, adf_knob, adf_knob)
RADIO_HEAD_ELEMENTS(ADF2, ADF_BITMAPS, RADIO_UPPER_X, adf_upper, adf_lower, adf_knob, adf_knob, adf_knob)

// ------------------------------------------------------------ mouse

template <int H>
static int32_t FS_CALL hundreds_up(const MousePoint*, uint32_t) {
    AdfHeadState& head = quillmar.radios.adf[H];
    head.d1 = radio_digit_step(head.d1, +1, 2, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL hundreds_down(const MousePoint*, uint32_t) {
    AdfHeadState& head = quillmar.radios.adf[H];
    head.d1 = radio_digit_step(head.d1, -1, 2, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL tens_up(const MousePoint*, uint32_t) {
    quillmar.radios.adf[H].d2 = radio_digit_step(quillmar.radios.adf[H].d2, +1, 0, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL tens_down(const MousePoint*, uint32_t) {
    quillmar.radios.adf[H].d2 = radio_digit_step(quillmar.radios.adf[H].d2, -1, 0, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL units_up(const MousePoint*, uint32_t) {
    quillmar.radios.adf[H].d3 = radio_digit_step(quillmar.radios.adf[H].d3, +1, 0, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL units_down(const MousePoint*, uint32_t) {
    quillmar.radios.adf[H].d3 = radio_digit_step(quillmar.radios.adf[H].d3, -1, 0, 9);
    return 1;
}
template <int H>
static int32_t FS_CALL tenths_toggle(const MousePoint*, uint32_t) {
    int32_t& tenths = quillmar.radios.adf[H].tenths;
    tenths = tenths == 0 ? 5 : 0;
    return 1;
}

// The standby frequency goes to the receiver and the frequency the active
// readout showed comes into standby.
template <int H>
static int32_t FS_CALL transfer(const MousePoint*, uint32_t) {
    AdfHeadState& head = quillmar.radios.adf[H];
    send_host_event(EVENT_ADF_FREQUENCY, static_cast<uint32_t>(head.d1 * 256 + head.d2 * 16 + head.d3));
    send_host_event(EVENT_ADF_TENTHS, static_cast<uint32_t>(head.tenths));
    head.d1 = head.active[0];
    head.d2 = head.active[1];
    head.d3 = head.active[2];
    head.tenths = head.active[3];
    return 1;
}

template <int H>
static int32_t FS_CALL knob_down(const MousePoint*, uint32_t) {
    RadioState& radios = quillmar.radios;
    radio_knob_step(radios.adf[H].knob, -1, 5);
    if (radios.adf[0].knob < 2 && radios.adf[1].knob < 2) radios.adf_any_on = 0;
    return 1;
}
template <int H>
static int32_t FS_CALL knob_up(const MousePoint*, uint32_t) {
    RadioState& radios = quillmar.radios;
    radio_knob_step(radios.adf[H].knob, +1, 5);
    if (radios.adf[H].knob >= 2) radios.adf_any_on = 1;
    return 1;
}

// The transfer button and the tenths knob toggle, so they act once per
// click: repeating them while the button is held would swap the
// frequencies back and forth.
#define ADF_RECTS(ID, H)                                                         \
    static MouseRect ID##_rects[] = {                                            \
        mouse_parent(0, 0, 80, 90),                                              \
        mouse_child(30, 13, 8, 15, CURSOR_INCREASE, MOUSE_REPEAT, hundreds_up<H>),     \
        mouse_child(30, 28, 8, 15, CURSOR_DECREASE, MOUSE_REPEAT, hundreds_down<H>), \
        mouse_child(38, 13, 9, 15, CURSOR_INCREASE, MOUSE_REPEAT, tens_up<H>),         \
        mouse_child(38, 28, 9, 15, CURSOR_DECREASE, MOUSE_REPEAT, tens_down<H>),     \
        mouse_child(47, 13, 8, 15, CURSOR_INCREASE, MOUSE_REPEAT, units_up<H>),        \
        mouse_child(47, 28, 8, 15, CURSOR_DECREASE, MOUSE_REPEAT, units_down<H>),    \
        mouse_child(64, 28, 16, 30, CURSOR_INCREASE, MOUSE_CLICK, tenths_toggle<H>),   \
        mouse_child(0, 39, 22, 16, CURSOR_HAND, MOUSE_CLICK, transfer<H>),       \
        mouse_child(2, 56, 21, 30, CURSOR_DECREASE, MOUSE_REPEAT, knob_down<H>),     \
        mouse_child(23, 56, 21, 30, CURSOR_INCREASE, MOUSE_REPEAT, knob_up<H>),        \
        mouse_close(),                                                           \
        mouse_end(),                                                             \
    };
ADF_RECTS(ADF1, 0)
ADF_RECTS(ADF2, 1)

// ------------------------------------------------------------ install, update, kill

// The receiver's frequency as the active readout shows it.
static void take_active_frequency(AdfHeadState& head) {
    int32_t bcd = host_variable_int(&adf_frequency);
    head.active[0] = (bcd >> 8) & 0xF;
    head.active[1] = (bcd >> 4) & 0xF;
    head.active[2] = bcd & 0xF;
    head.active[3] = host_variable_int(&adf_tenths);
}

static void adf_install(int h) {
    AdfHeadState& head = quillmar.radios.adf[h];
    int digits[4];
    panel_state_read_digits(adf_heads[h].standby, digits);
    head.d1 = digits[0];
    head.d2 = digits[1];
    head.d3 = digits[2];
    head.tenths = digits[3];
    head.knob = panel_state_read_int(adf_heads[h].knob);
    // Until the readout has shown anything, a transfer takes the frequency
    // the receiver is on.
    take_active_frequency(head);
}

static void adf_update(GaugeHeader* gauge, int h) {
    AdfHeadState& head = quillmar.radios.adf[h];
    radio_head_show_window(gauge, head.knob);
    if (!element_hidden(gauge_element(gauge, {RADIO_UPPER}))) take_active_frequency(head);
}

static void adf_kill(int h) {
    const AdfHeadState& head = quillmar.radios.adf[h];
    panel_state_write_digits(adf_heads[h].standby, head.d1, head.d2, head.d3, head.tenths);
    panel_state_write_int(adf_heads[h].knob, head.knob);
}

static void FS_CALL adf_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    int h = head_index(gauge);
    switch (service) {
    case SERVICE_INSTALL: adf_install(h); break;
    case SERVICE_UPDATE: adf_update(gauge, h); break;
    case SERVICE_KILL: adf_kill(h); break;
    default: break;
    }
}

MAIN_GAUGE(ADF1, ADF1_elements, ADF1_rects, adf_callback);
MAIN_GAUGE(ADF2, ADF2_elements, ADF2_rects, adf_callback);
