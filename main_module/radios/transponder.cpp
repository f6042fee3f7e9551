// Transponder1, Transponder2: the two transponder heads of the pedestal.
// One transponder answers for the aircraft; the head made active with its
// button sets its code.
//
// Each head keeps its own four code digits (0 to 7) and mode knob. Knob 1
// shows the pressure altitude the transponder reports; 2, 3 and 4 show the
// code, which the active head sets in the transponder on every update; 5
// shows the VFR code 1200 and sets nothing.
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/radios/radio_head.h"

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_TPR_FACE = BITMAPS_Transponder1,
    BMP_TPR_WINDOW = BMP_TPR_FACE + 1,
    BMP_TPR_MODE_LEGEND = BMP_TPR_WINDOW + 1,         // by knob: -, ALT, ON, ON, ON, VFR
    BMP_TPR_ACTIVE_LEGEND = BMP_TPR_MODE_LEGEND + 6,  // -, ACTIVE
    BMP_TPR_KNOB = BMP_TPR_ACTIVE_LEGEND + 2,         // OFF and positions 1 to 5
};
constexpr RadioHeadBitmaps TPR_BITMAPS = {BMP_TPR_FACE,          BMP_TPR_WINDOW, BMP_TPR_MODE_LEGEND, 6,
                                          BMP_TPR_ACTIVE_LEGEND, 2,              BMP_TPR_KNOB,        6};

static HostVariable transponder_code = host_variable(38);  // BCD word
static HostVariable altitude = host_variable(74);          // feet
constexpr uint32_t EVENT_TRANSPONDER_CODE = 0x100B3;

// The two heads: their gauges and the keys each keeps (the first head also
// keeps which head is active).
struct TransponderHead {
    GaugeHeader* gauge;
    PanelStateKey knob, code;
};
static const TransponderHead tpr_heads[2] = {
    {&gauge_Transponder1.h, KEY_TPR_TPR1_KNOB, KEY_TPR_TPR1_NONACTIVE_FREQ},
    {&gauge_Transponder2.h, KEY_TPR_TPR2_KNOB, KEY_TPR_TPR2_NONACTIVE_FREQ},
};

static int head_index(const GaugeHeader* gauge) { return gauge == tpr_heads[1].gauge ? 1 : 0; }

static bool sets_code(int32_t knob) { return knob >= 2 && knob <= 4; }

static double FS_CALL tpr_upper(ElementHead* e) {
    const TransponderHeadState& head = quillmar.radios.transponder[head_index(e->gauge)];
    char* text = reinterpret_cast<StringElement*>(e)->text;
    if (head.knob == 1) text[0] = '\0';
    else if (sets_code(head.knob))
        std::snprintf(text, RADIO_TEXT_SIZE, "%d%d%d%d", head.digits[0], head.digits[1], head.digits[2],
                      head.digits[3]);
    else if (head.knob == 5) std::snprintf(text, RADIO_TEXT_SIZE, "1200");
    return head.knob;
}

static double FS_CALL tpr_lower(ElementHead* e) {
    const TransponderHeadState& head = quillmar.radios.transponder[head_index(e->gauge)];
    char* text = reinterpret_cast<StringElement*>(e)->text;
    if (head.knob == 1)
        std::snprintf(text, RADIO_TEXT_SIZE, "%6d", static_cast<int>(host_variable_value(&altitude)));
    else text[0] = '\0';
    return head.knob;
}

static double FS_CALL tpr_knob(ElementHead* e) {
    return quillmar.radios.transponder[head_index(e->gauge)].knob;
}

static double FS_CALL tpr_active(ElementHead* e) {
    return quillmar.radios.transponder_active_head == head_index(e->gauge) ? 1 : 0;
}

RADIO_HEAD_ELEMENTS(Transponder1, TPR_BITMAPS, RADIO_TRANSPONDER_UPPER_X, tpr_upper, tpr_lower, tpr_knob,
                    tpr_active, tpr_knob)
RADIO_HEAD_ELEMENTS(Transponder2, TPR_BITMAPS, RADIO_TRANSPONDER_UPPER_X, tpr_upper, tpr_lower, tpr_knob,
                    tpr_active, tpr_knob)

// ------------------------------------------------------------ mouse

template <int H, int D>
static int32_t FS_CALL digit_up(const MousePoint*, uint32_t) {
    int16_t& digit = quillmar.radios.transponder[H].digits[D];
    digit = static_cast<int16_t>(radio_digit_step(digit, +1, 0, 7));
    return 1;
}
template <int H>
static int32_t FS_CALL knob_down(const MousePoint*, uint32_t) {
    radio_knob_step(quillmar.radios.transponder[H].knob, -1, 5);
    return 1;
}
template <int H>
static int32_t FS_CALL knob_up(const MousePoint*, uint32_t) {
    radio_knob_step(quillmar.radios.transponder[H].knob, +1, 5);
    return 1;
}
template <int H>
static int32_t FS_CALL make_active(const MousePoint*, uint32_t) {
    quillmar.radios.transponder_active_head = H;
    return 1;
}

#define TPR_RECTS(ID, H)                                                          \
    static MouseRect ID##_rects[] = {                                             \
        mouse_parent(0, 0, 80, 90),                                               \
        mouse_child(38, 4, 9, 20, CURSOR_INCREASE, MOUSE_REPEAT, digit_up<H, 0>),       \
        mouse_child(47, 4, 8, 20, CURSOR_INCREASE, MOUSE_REPEAT, digit_up<H, 1>),       \
        mouse_child(55, 4, 9, 20, CURSOR_INCREASE, MOUSE_REPEAT, digit_up<H, 2>),       \
        mouse_child(64, 4, 9, 20, CURSOR_INCREASE, MOUSE_REPEAT, digit_up<H, 3>),       \
        mouse_child(2, 56, 21, 30, CURSOR_DECREASE, MOUSE_REPEAT, knob_down<H>),      \
        mouse_child(23, 56, 21, 30, CURSOR_INCREASE, MOUSE_REPEAT, knob_up<H>),         \
        mouse_child(0, 39, 22, 16, CURSOR_HAND, MOUSE_REPEAT, make_active<H>),    \
        mouse_close(),                                                            \
        mouse_end(),                                                              \
    };
TPR_RECTS(Transponder1, 0)
TPR_RECTS(Transponder2, 1)

// ------------------------------------------------------------ install, update, kill

// Both heads read which one is active; the active head starts from the
// transponder's own code, the other from the code it kept.
static void tpr_install(int h) {
    TransponderHeadState& head = quillmar.radios.transponder[h];
    quillmar.radios.transponder_active_head = panel_state_read_int(KEY_TPR_ACTIVE);
    head.knob = panel_state_read_int(tpr_heads[h].knob);
    int digits[4];
    panel_state_read_digits(tpr_heads[h].code, digits);
    if (quillmar.radios.transponder_active_head == h) {
        int32_t code = host_variable_int(&transponder_code);
        for (int i = 0; i < 4; ++i) digits[i] = (code >> (12 - 4 * i)) & 0xF;
    }
    for (int i = 0; i < 4; ++i) head.digits[i] = static_cast<int16_t>(digits[i]);
}

// The active head sets the transponder's code while it shows it.
static void tpr_update(GaugeHeader* gauge, int h) {
    const TransponderHeadState& head = quillmar.radios.transponder[h];
    radio_head_show_window(gauge, head.knob);
    bool showing = !element_hidden(gauge_element(gauge, {RADIO_UPPER}));
    if (showing && sets_code(head.knob) && quillmar.radios.transponder_active_head == h) {
        const int16_t* d = head.digits;
        send_host_event(EVENT_TRANSPONDER_CODE,
                        static_cast<uint32_t>(d[0] * 4096 + d[1] * 256 + d[2] * 16 + d[3]));
    }
}

// Only the first head keeps which head is active.
static void tpr_kill(int h) {
    const TransponderHeadState& head = quillmar.radios.transponder[h];
    if (h == 0) panel_state_write_int(KEY_TPR_ACTIVE, quillmar.radios.transponder_active_head);
    panel_state_write_int(tpr_heads[h].knob, head.knob);
    panel_state_write_digits(tpr_heads[h].code, head.digits[0], head.digits[1], head.digits[2],
                             head.digits[3]);
}

static void FS_CALL tpr_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    int h = head_index(gauge);
    switch (service) {
    case SERVICE_INSTALL: tpr_install(h); break;
    case SERVICE_UPDATE: tpr_update(gauge, h); break;
    case SERVICE_KILL: tpr_kill(h); break;
    default: break;
    }
}

MAIN_GAUGE(Transponder1, Transponder1_elements, Transponder1_rects, tpr_callback);
MAIN_GAUGE(Transponder2, Transponder2_elements, Transponder2_rects, tpr_callback);
