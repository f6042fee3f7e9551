// What the six radio control heads of the pedestal (two ADF, two COM, two
// transponder heads) have in common.
//
// Every head is a face with a display window, an upper (active) and a lower
// (standby or auxiliary) readout, two legend icons in the window, and the
// mode knob's position icon. The window, both readouts and both legends
// light only while the cockpit has power and the head's knob is not at OFF;
// the knob icon always shows the knob.
//
// A family file holds one table of its two heads (gauge, keys), declares one
// element set per head with RADIO_HEAD_ELEMENTS, each pointing at its own
// gauge header, and shares the code: value callbacks find their head from
// the element's gauge, mouse functions are instantiated per head.
#pragma once

#include <cstdint>

#include "frame/elements.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

// Children of a head's face, in drawing order.
enum RadioHeadElement : int {
    RADIO_WINDOW,
    RADIO_UPPER,
    RADIO_LOWER,
    RADIO_UPPER_LEGEND,
    RADIO_LOWER_LEGEND,
    RADIO_KNOB,
    RADIO_ELEMENT_COUNT
};

// Bitmap numbers of one kind of head (both heads of a kind share them).
struct RadioHeadBitmaps {
    int32_t face, window;
    int32_t upper_legend, upper_legend_images;
    int32_t lower_legend, lower_legend_images;
    int32_t knob, knob_images;
};

// Where the parts of a head sit; the upper readout of the transponder sits
// further right than the frequency readouts.
constexpr int32_t RADIO_UPPER_X = 22, RADIO_UPPER_Y = 7;
constexpr int32_t RADIO_LOWER_X = 22, RADIO_LOWER_Y = 21;
constexpr int32_t RADIO_TRANSPONDER_UPPER_X = 38;

constexpr uint32_t RADIO_READOUT_COLOUR = 0xFF7A1E;
constexpr TextStyle RADIO_READOUT_STYLE = {40, 13, RADIO_READOUT_COLOUR, 0x000000, "Quartz", 400,
                                           STRING_ALIGN_LEFT};

// The readouts' text buffers: six characters at most are shown.
constexpr int RADIO_TEXT_SIZE = 32;

// Declares the records of the head gauge ID: its face with the window, the
// two readouts (value callbacks upper_fn, lower_fn), the legends
// (upper_legend_fn, lower_legend_fn), the knob icon (knob_fn), and the
// element list ID##_elements.
#define RADIO_HEAD_ELEMENTS(ID, BMP, UPPER_X, upper_fn, lower_fn, upper_legend_fn,               \
                            lower_legend_fn, knob_fn)                                            \
    static constexpr GaugeHeader* ID##_GAUGE = &gauge_##ID.h;                                    \
    static char ID##_upper_text[RADIO_TEXT_SIZE];                                                \
    static char ID##_lower_text[RADIO_TEXT_SIZE];                                                \
    static constinit StaticImageElement ID##_window = static_image(                              \
        ID##_GAUGE, {.bitmap = BMP.window, .x = 20, .y = 5, .flags = IMAGE_LIT});               \
    static constinit StringElement ID##_upper =                                                  \
        readout(ID##_GAUGE, {.x = UPPER_X, .y = RADIO_UPPER_Y}, upper_fn, ID##_upper_text,       \
                RADIO_READOUT_STYLE);                                                            \
    static constinit StringElement ID##_lower =                                                  \
        readout(ID##_GAUGE, {.x = RADIO_LOWER_X, .y = RADIO_LOWER_Y}, lower_fn, ID##_lower_text, \
                RADIO_READOUT_STYLE);                                                            \
    static constinit IconElement ID##_upper_legend =                                             \
        icon(ID##_GAUGE, {.bitmap = BMP.upper_legend, .x = 64, .y = 8, .flags = IMAGE_LIT},         \
             upper_legend_fn, BMP.upper_legend_images);                                          \
    static constinit IconElement ID##_lower_legend =                                             \
        icon(ID##_GAUGE, {.bitmap = BMP.lower_legend, .x = 64, .y = 22, .flags = IMAGE_LIT},         \
             lower_legend_fn, BMP.lower_legend_images);                                          \
    static constinit IconElement ID##_knob =                                                     \
        icon(ID##_GAUGE, {.bitmap = BMP.knob, .x = 14, .y = 58, .flags = IMAGE_TRANSPARENT},     \
             knob_fn, BMP.knob_images);                                                          \
    static ElementHead* ID##_children[] = {&ID##_window.head,       &ID##_upper.head,            \
                                           &ID##_lower.head,        &ID##_upper_legend.head,     \
                                           &ID##_lower_legend.head, &ID##_knob.head,             \
                                           nullptr};                                             \
    static constinit StaticImageElement ID##_face =                                              \
        static_image(ID##_GAUGE, {.bitmap = BMP.face, .children = ID##_children});               \
    static ElementHead* ID##_elements[] = {&ID##_face.head, nullptr};

// The display rule of every head, applied on each update.
inline void radio_head_show_window(GaugeHeader* gauge, int32_t knob) {
    bool lit = quillmar.electric.elec_power_state == 2 && knob != 0;
    for (int part = RADIO_WINDOW; part <= RADIO_LOWER_LEGEND; ++part)
        show_element_if(gauge_element(gauge, {part}), lit);
}

// A mode knob one step down (not below 0) or up (not above `top`); a
// position out of range from the panel state file comes back into range.
inline void radio_knob_step(int32_t& knob, int step, int32_t top) {
    int32_t next = knob + step;
    knob = next < 0 ? 0 : next > top ? top : next;
}

// A digit one step up or down within first..last, wrapping at both ends; a
// digit outside the range (from the file or the host) wraps to the end it
// would move toward next.
inline int32_t radio_digit_step(int32_t digit, int step, int32_t first, int32_t last) {
    if (step > 0) return digit >= last || digit < first ? first : digit + 1;
    return digit <= first || digit > last ? last : digit - 1;
}
