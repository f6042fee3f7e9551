// Push: the pop-up page "Push & Start", on which the crew asks the ground
// crew for an engine start alone, or for a pushback (straight on, nose
// right or nose left) followed by the start, and sets the push back length.
//
// The page only records the request and the length; the ground crew
// sequence of the simulator cycle carries the request out, closes the page
// and clears the request when it is done.
#include <cstdint>
#include <cstdio>

#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

enum : int32_t { BMP_PAGE = BITMAPS_Push };

constexpr double LENGTH_MAX = 99;

static char length_text[12];

// The push back length in metres, two places.
static double FS_CALL length_readout(ElementHead* e) {
    auto* text = reinterpret_cast<StringElement*>(e);
    int length = static_cast<int>(quillmar.panels.pb_distance_value);
    std::snprintf(text->text, static_cast<size_t>(text->text_size), "%2d", length);
    return quillmar.panels.pb_distance_value;
}

static constexpr GaugeHeader* GAUGE = &gauge_Push.h;
constexpr TextStyle LENGTH_STYLE = {22, 14, 0x000000, 0xFFFFFF, "Arial", 700, STRING_ALIGN_RIGHT};

static constinit StringElement length_field =
    readout(GAUGE, {.x = 231, .y = 324}, length_readout, length_text, LENGTH_STYLE);
static ElementHead* push_children[] = {&length_field.head, nullptr};
static constinit StaticImageElement page =
    static_image(GAUGE, {.bitmap = BMP_PAGE, .children = push_children});
static ElementHead* push_elements[] = {&page.head, nullptr};

template <int32_t Request>
static int32_t FS_CALL click_request(const MousePoint*, uint32_t) {
    quillmar.panels.pushback_command = Request;
    return 1;
}

static int32_t FS_CALL click_shorter(const MousePoint*, uint32_t) {
    double& length = quillmar.panels.pb_distance_value;
    if (length > 0) length -= 1;
    return 1;
}

static int32_t FS_CALL click_longer(const MousePoint*, uint32_t) {
    double& length = quillmar.panels.pb_distance_value;
    if (length < LENGTH_MAX) length += 1;
    return 1;
}

// Held buttons repeat.
static MouseRect push_rects[] = {
    mouse_parent(0, 0, 425, 375),
    mouse_child(319, 132, 48, 17, CURSOR_HAND, MOUSE_REPEAT, click_request<1>),  // Request startup
    mouse_child(319, 219, 48, 17, CURSOR_HAND, MOUSE_REPEAT, click_request<2>),  // Straight on
    mouse_child(319, 247, 48, 17, CURSOR_HAND, MOUSE_REPEAT, click_request<3>),  // Nose right
    mouse_child(319, 275, 48, 17, CURSOR_HAND, MOUSE_REPEAT, click_request<4>),  // Nose left
    mouse_child(212, 326, 16, 13, CURSOR_DECREASE, MOUSE_REPEAT, click_shorter),
    mouse_child(265, 326, 16, 13, CURSOR_INCREASE, MOUSE_REPEAT, click_longer),
    mouse_close(),
    mouse_end(),
};

static void FS_CALL push_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL:
        quillmar.panels.pb_distance_value = panel_state_read_int(KEY_PUSHBACK_PB_DISTANCE_VALUE);
        quillmar.panels.pushback_command = 0;
        break;
    case SERVICE_KILL:
        panel_state_write_int(KEY_PUSHBACK_PB_DISTANCE_VALUE, quillmar.panels.pb_distance_value);
        break;
    default: break;
    }
}

MAIN_GAUGE(Push, push_elements, push_rects, push_callback);
