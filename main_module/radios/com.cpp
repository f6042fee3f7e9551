// COM1, COM2: the two VHF communication heads of the pedestal. Both tune
// the aircraft's first COM radio.
//
// Each head keeps its own standby frequency, 118.00 to 136.99 MHz held as
// the BCD digits after the leading 1, and its knob: OFF, ON, and squelch
// open, which lets the receiver's noise through. The upper readout shows
// the radio's active frequency, the lower one the standby frequency; the
// transfer button swaps the two.
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/radios/radio_head.h"
#include "main_module/simulator/sound_bank.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_COM_FACE = BITMAPS_COM1,
    BMP_COM_WINDOW = BMP_COM_FACE + 1,
    BMP_COM_UPPER_LEGEND = BMP_COM_WINDOW + 1,        // by knob: -, ACT, ACT
    BMP_COM_LOWER_LEGEND = BMP_COM_UPPER_LEGEND + 3,  // by knob: -, STBY, SQ OFF
    BMP_COM_KNOB = BMP_COM_LOWER_LEGEND + 3,          // OFF, ON, SQ
};
constexpr RadioHeadBitmaps COM_BITMAPS = {BMP_COM_FACE,         BMP_COM_WINDOW, BMP_COM_UPPER_LEGEND, 3,
                                          BMP_COM_LOWER_LEGEND, 3,              BMP_COM_KNOB,         3};

static HostVariable com_frequency = host_variable(23);   // BCD word, 0x2345 = 123.45
constexpr uint32_t EVENT_COM_FREQUENCY = 0x100AB;

constexpr int COM_LOWEST_MHZ = 18, COM_HIGHEST_MHZ = 36;  // 118 and 136

// The two heads: their gauges, the keys each keeps and the noise slot its
// squelch opens.
struct ComHead {
    GaugeHeader* gauge;
    PanelStateKey standby, knob;
    SoundSlot noise;
};
static const ComHead com_heads[2] = {
    {&gauge_COM1.h, KEY_COM_COM1_STANDBY_FREQUENCY, KEY_COM_COM1_KNOB_POS, SOUND_RADIO_NOISE_1},
    {&gauge_COM2.h, KEY_COM_COM2_STBY_FREQ, KEY_COM_COM2_KNOB, SOUND_RADIO_NOISE_2},
};

static int head_index(const GaugeHeader* gauge) { return gauge == com_heads[1].gauge ? 1 : 0; }

static ComHeadState& head_of(ElementHead* e) { return quillmar.radios.com[head_index(e->gauge)]; }

static void format_frequency(char* text, uint32_t bcd) {
    std::snprintf(text, RADIO_TEXT_SIZE, "1%d%d.%d%d", (bcd >> 12) & 0xF, (bcd >> 8) & 0xF,
                  (bcd >> 4) & 0xF, bcd & 0xF);
}

static double FS_CALL com_upper(ElementHead* e) {
    format_frequency(reinterpret_cast<StringElement*>(e)->text,
                     static_cast<uint32_t>(host_variable_int(&com_frequency)));
    return 0;
}

static double FS_CALL com_lower(ElementHead* e) {
    format_frequency(reinterpret_cast<StringElement*>(e)->text, head_of(e).standby);
    return 0;
}

static double FS_CALL com_knob(ElementHead* e) { return head_of(e).knob; }

RADIO_HEAD_ELEMENTS(COM1, COM_BITMAPS, RADIO_UPPER_X, com_upper, com_lower, com_knob, com_knob, com_knob)
RADIO_HEAD_ELEMENTS(COM2, COM_BITMAPS, RADIO_UPPER_X, com_upper, com_lower, com_knob, com_knob, com_knob)

// ------------------------------------------------------------ tuning

// The whole megahertz after the leading 1 are the two upper BCD digits,
// read as one number from 18 to 36; the kilohertz digits stay as they are.
static uint16_t with_mhz(uint16_t bcd, int mhz) {
    return static_cast<uint16_t>((bcd & 0x00FF) | ((mhz / 10) << 12) | ((mhz % 10) << 8));
}

static int mhz_of(uint16_t bcd) { return ((bcd >> 12) & 0xF) * 10 + ((bcd >> 8) & 0xF); }

static uint16_t step_mhz(uint16_t bcd, int step) {
    int mhz = mhz_of(bcd);
    if (step > 0) mhz = mhz >= COM_HIGHEST_MHZ || mhz < COM_LOWEST_MHZ ? COM_LOWEST_MHZ : mhz + 1;
    else mhz = mhz <= COM_LOWEST_MHZ || mhz > COM_HIGHEST_MHZ ? COM_HIGHEST_MHZ : mhz - 1;
    return with_mhz(bcd, mhz);
}

// One kilohertz digit (shift 4: tenths, 0: hundredths) up, 9 wrapping to 0.
static uint16_t step_khz_digit(uint16_t bcd, int shift) {
    int digit = (bcd >> shift) & 0xF;
    digit = digit >= 9 ? 0 : digit + 1;
    return static_cast<uint16_t>((bcd & ~(0xF << shift)) | (digit << shift));
}

// ------------------------------------------------------------ mouse

template <int H>
static int32_t FS_CALL mhz_down(const MousePoint*, uint32_t) {
    quillmar.radios.com[H].standby = step_mhz(quillmar.radios.com[H].standby, -1);
    return 1;
}
template <int H>
static int32_t FS_CALL mhz_up(const MousePoint*, uint32_t) {
    quillmar.radios.com[H].standby = step_mhz(quillmar.radios.com[H].standby, +1);
    return 1;
}
template <int H>
static int32_t FS_CALL tenths_up(const MousePoint*, uint32_t) {
    quillmar.radios.com[H].standby = step_khz_digit(quillmar.radios.com[H].standby, 4);
    return 1;
}
template <int H>
static int32_t FS_CALL hundredths_up(const MousePoint*, uint32_t) {
    quillmar.radios.com[H].standby = step_khz_digit(quillmar.radios.com[H].standby, 0);
    return 1;
}

// The standby frequency goes to the radio and the radio's frequency comes
// into standby.
template <int H>
static int32_t FS_CALL transfer(const MousePoint*, uint32_t) {
    ComHeadState& head = quillmar.radios.com[H];
    auto active = static_cast<uint16_t>(host_variable_int(&com_frequency));
    send_host_event(EVENT_COM_FREQUENCY, head.standby);
    head.standby = active;
    return 1;
}

// Down to ON closes the squelch; up to SQ opens it.
template <int H>
static int32_t FS_CALL knob_down(const MousePoint*, uint32_t) {
    ComHeadState& head = quillmar.radios.com[H];
    radio_knob_step(head.knob, -1, 2);
    if (head.knob == 1) sound_stop_loop(com_heads[H].noise);
    return 1;
}
template <int H>
static int32_t FS_CALL knob_up(const MousePoint*, uint32_t) {
    ComHeadState& head = quillmar.radios.com[H];
    radio_knob_step(head.knob, +1, 2);
    if (head.knob == 2) sound_start_loop(com_heads[H].noise);
    return 1;
}

#define COM_RECTS(ID, H)                                                          \
    static MouseRect ID##_rects[] = {                                             \
        mouse_parent(0, 0, 80, 90),                                               \
        mouse_child(21, 25, 13, 16, CURSOR_DECREASE, MOUSE_REPEAT, mhz_down<H>),      \
        mouse_child(34, 25, 16, 16, CURSOR_INCREASE, MOUSE_REPEAT, mhz_up<H>),          \
        mouse_child(50, 25, 13, 16, CURSOR_NORMAL, MOUSE_REPEAT, tenths_up<H>),   \
        mouse_child(63, 25, 13, 16, CURSOR_NORMAL, MOUSE_REPEAT, hundredths_up<H>), \
        mouse_child(0, 39, 21, 16, CURSOR_HAND, MOUSE_CLICK, transfer<H>),        \
        mouse_child(2, 56, 21, 30, CURSOR_DECREASE, MOUSE_REPEAT, knob_down<H>),      \
        mouse_child(24, 56, 21, 30, CURSOR_INCREASE, MOUSE_REPEAT, knob_up<H>),         \
        mouse_close(),                                                            \
        mouse_end(),                                                              \
    };
COM_RECTS(COM1, 0)
COM_RECTS(COM2, 1)

// ------------------------------------------------------------ install, update, kill

static void FS_CALL com_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    int h = head_index(gauge);
    ComHeadState& head = quillmar.radios.com[h];
    switch (service) {
    case SERVICE_INSTALL:
        head.standby = static_cast<uint16_t>(panel_state_read_int(com_heads[h].standby));
        head.knob = panel_state_read_int(com_heads[h].knob);
        break;
    case SERVICE_UPDATE: radio_head_show_window(gauge, head.knob); break;
    case SERVICE_KILL:
        panel_state_write_int(com_heads[h].standby, static_cast<int>(head.standby));
        panel_state_write_int(com_heads[h].knob, head.knob);
        break;
    default: break;
    }
}

MAIN_GAUGE(COM1, COM1_elements, COM1_rects, com_callback);
MAIN_GAUGE(COM2, COM2_elements, COM2_rects, com_callback);
