// Options: the pop-up page with the cockpit's two options, kept in the
// panel state file ("OPTIONS"):
// - Instant APU startup: every timed wait of the APU start counts as over;
// - Disable spacebar: the space bar no longer steps the checklist.
//
// Panel_Select: the strip of five picture buttons that open and close the
// pop-up windows (overhead panel, pedestal, checklist, push and start,
// options) through the host's window events.
#include <cstdint>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

// ------------------------------------------------------------ Options

enum : int32_t {
    BMP_OPTIONS_PAGE = BITMAPS_Options,
    BMP_CHECK_BOX = BMP_OPTIONS_PAGE + 1,   // empty, ticked
};

// Any value but 0 is in effect, so it shows ticked, whatever the panel state
// file held.
static double FS_CALL no_delays_box(ElementHead*) {
    return quillmar.panels.no_delays_status != 0 ? 1 : 0;
}
static double FS_CALL no_spacebar_box(ElementHead*) {
    return quillmar.panels.no_spacebar_status != 0 ? 1 : 0;
}

static constexpr GaugeHeader* OPTIONS_GAUGE = &gauge_Options.h;

static constinit IconElement no_delays_check =
    icon(OPTIONS_GAUGE, {.bitmap = BMP_CHECK_BOX, .x = 290, .y = 91}, no_delays_box, 2);
static constinit IconElement no_spacebar_check =
    icon(OPTIONS_GAUGE, {.bitmap = BMP_CHECK_BOX, .x = 290, .y = 120}, no_spacebar_box, 2);
static ElementHead* options_children[] = {&no_delays_check.head, &no_spacebar_check.head, nullptr};
static constinit StaticImageElement options_page =
    static_image(OPTIONS_GAUGE, {.bitmap = BMP_OPTIONS_PAGE, .children = options_children});
static ElementHead* options_elements[] = {&options_page.head, nullptr};

// A value that is not 1 (a file may hold anything) becomes 1 first.
static void toggle_option(double& option) { option = option == 1 ? 0 : 1; }

static int32_t FS_CALL click_no_delays(const MousePoint*, uint32_t) {
    toggle_option(quillmar.panels.no_delays_status);
    return 1;
}
static int32_t FS_CALL click_no_spacebar(const MousePoint*, uint32_t) {
    toggle_option(quillmar.panels.no_spacebar_status);
    return 1;
}

static MouseRect options_rects[] = {
    mouse_parent(0, 0, 400, 300),
    mouse_child(290, 96, 20, 20, CURSOR_HAND, MOUSE_CLICK, click_no_delays),
    mouse_child(290, 125, 20, 20, CURSOR_HAND, MOUSE_CLICK, click_no_spacebar),
    mouse_close(),
    mouse_end(),
};

static void FS_CALL options_callback(GaugeHeader*, int32_t service, uint32_t) {
    PanelInputs& in = quillmar.panels;
    switch (service) {
    case SERVICE_INSTALL:
        in.no_delays_status = panel_state_read_int(KEY_OPTIONS_NO_DELAYS_STATUS);
        in.no_spacebar_status = panel_state_read_int(KEY_OPTIONS_NO_SPACEBAR_STATUS);
        break;
    case SERVICE_KILL:
        panel_state_write_int(KEY_OPTIONS_NO_DELAYS_STATUS, in.no_delays_status);
        panel_state_write_int(KEY_OPTIONS_NO_SPACEBAR_STATUS, in.no_spacebar_status);
        break;
    default: break;
    }
}

MAIN_GAUGE(Options, options_elements, options_rects, options_callback);

// ------------------------------------------------------------ Panel_Select

enum : int32_t { BMP_SELECT_STRIP = BITMAPS_Panel_Select };

// The host's window events, one per pop-up window.
enum : uint32_t {
    EVENT_WINDOW_OVERHEAD = 0x10173,
    EVENT_WINDOW_PEDESTAL = 0x10174,
    EVENT_WINDOW_CHECKLIST = 0x10175,
    EVENT_WINDOW_PUSH_AND_START = 0x10176,
    EVENT_WINDOW_OPTIONS = 0x10177,
};

static constinit StaticImageElement select_strip =
    static_image(&gauge_Panel_Select.h, {.bitmap = BMP_SELECT_STRIP});
static ElementHead* select_elements[] = {&select_strip.head, nullptr};

template <uint32_t Event>
static int32_t FS_CALL click_window(const MousePoint*, uint32_t) {
    send_host_event(Event, 0);
    return 1;
}

static MouseRect select_rects[] = {
    mouse_parent(0, 0, 151, 30),
    mouse_child(0, 0, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_window<EVENT_WINDOW_OVERHEAD>),
    mouse_child(30, 0, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_window<EVENT_WINDOW_PEDESTAL>),
    mouse_child(60, 0, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_window<EVENT_WINDOW_CHECKLIST>),
    mouse_child(90, 0, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_window<EVENT_WINDOW_PUSH_AND_START>),
    mouse_child(120, 0, 30, 30, CURSOR_HAND, MOUSE_CLICK, click_window<EVENT_WINDOW_OPTIONS>),
    mouse_close(),
    mouse_end(),
};

// The strip has no update work: its buttons act on the click alone.
MAIN_GAUGE(Panel_Select, select_elements, select_rects, nullptr);
