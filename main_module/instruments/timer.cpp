// Timer: the clock of the main panel, with its date page, a chronometer
// and an elapsed time counter.
//
// The upper readout shows the time of day, or on the date page the day and
// month and the year, one after the other each second. The lower readout
// shows the chronometer (minutes and seconds) while it runs or is stopped,
// otherwise the elapsed time counter (hours and minutes). The chronometer's
// seconds hand sweeps while it is in use. The button at the upper left
// starts, stops and resets the chronometer; the two at the lower left run
// the elapsed time counter; the upper right one turns to the date page; the
// four areas across the clock set its hours and minutes.
#include <cstdio>

#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// ------------------------------------------------------------ the clock

static HostVariable clock_hours = host_variable(3);
static HostVariable clock_minutes = host_variable(4);
static HostVariable clock_seconds = host_variable(5);
static HostVariable day_of_year = host_variable(8);
static HostVariable year = host_variable(9);

constexpr uint32_t EVENT_CLOCK_HOURS_DOWN = 0x10079;
constexpr uint32_t EVENT_CLOCK_HOURS_UP = 0x1007A;
constexpr uint32_t EVENT_CLOCK_MINUTES_DOWN = 0x1007B;
constexpr uint32_t EVENT_CLOCK_MINUTES_UP = 0x1007C;

enum CounterState : int32_t { COUNTER_RESET = 0, COUNTER_RUNNING = 1, COUNTER_STOPPED = 2 };

// Seconds since the start of the year.
static double now() {
    return host_variable_value(&day_of_year) * 86400 + host_variable_value(&clock_hours) * 3600 +
           host_variable_value(&clock_minutes) * 60 + host_variable_value(&clock_seconds);
}

// Day of the month and month of a day of the year (no leap years).
static const int month_starts[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

static void day_and_month(int day, int* day_of_month, int* month) {
    *month = 1;
    for (int m = 11; m >= 0; --m)
        if (month_starts[m] < day) {
            *month = m + 1;
            break;
        }
    *day_of_month = day - month_starts[*month - 1];
}

// A counter's time in whole seconds: running from its start (never below
// 0, should the clock be set back), or frozen at its stop.
static int counter_seconds(int32_t state, double start, double frozen) {
    if (state == COUNTER_RUNNING) {
        double t = now() - start;
        return t > 0 ? static_cast<int>(t) : 0;
    }
    return state == COUNTER_STOPPED ? static_cast<int>(frozen) : 0;
}

static int chrono_seconds() {
    const NavigationInstrumentState& nav = quillmar.navigation;
    return counter_seconds(nav.chrono_state, nav.chrono_start, nav.chrono_time);
}

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_TIMER_FACE = BITMAPS_Timer,
    BMP_TIMER_FACE_LIT = BMP_TIMER_FACE + 1,
    BMP_TIMER_HAND = BMP_TIMER_FACE_LIT + 1,
    BMP_TIMER_HAND_LIT = BMP_TIMER_HAND + 1,
    BMP_TIMER_ELAPSED_STATE = BMP_TIMER_HAND_LIT + 1,   // reset, running, stopped
};

constexpr int32_t DIAL_CENTRE = 59;
constexpr double HAND_UP = 270;

static char upper_text[24], lower_text[24];

static double FS_CALL upper_readout(ElementHead*) {
    int second = static_cast<int>(host_variable_value(&clock_seconds));
    if (quillmar.navigation.timer_show_date == 0) {
        int hour = static_cast<int>(host_variable_value(&clock_hours));
        if (hour > 24) hour -= 24;
        std::snprintf(upper_text, sizeof upper_text, "%02d:%02d", hour,
                      static_cast<int>(host_variable_value(&clock_minutes)));
    } else if (second % 2 != 0) {
        std::snprintf(upper_text, sizeof upper_text, "%5d", static_cast<int>(host_variable_value(&year)));
    } else {
        int day, month;
        day_and_month(static_cast<int>(host_variable_value(&day_of_year)), &day, &month);
        std::snprintf(upper_text, sizeof upper_text, "%02d.%02d", day, month);
    }
    return second;
}

static double FS_CALL lower_readout(ElementHead*) {
    const NavigationInstrumentState& nav = quillmar.navigation;
    if (nav.chrono_state != COUNTER_RESET) {
        int t = chrono_seconds();
        std::snprintf(lower_text, sizeof lower_text, "%02d:%02d", t / 60, t % 60);
        return t;
    }
    if (nav.elapsed_state != COUNTER_RESET) {
        int t = counter_seconds(nav.elapsed_state, nav.elapsed_start, nav.elapsed_time);
        std::snprintf(lower_text, sizeof lower_text, "%02d:%02d", t / 3600, t / 60 % 60);
        return t;
    }
    std::snprintf(lower_text, sizeof lower_text, "00:00");
    return 0;
}

static double FS_CALL seconds_hand(ElementHead*) {
    if (quillmar.navigation.chrono_state == COUNTER_RESET || quillmar.electric.elec_power_state != 2)
        return HAND_UP;
    return chrono_seconds() % 60 * 6 + HAND_UP;
}

static double FS_CALL elapsed_state_image(ElementHead*) { return quillmar.navigation.elapsed_state; }

static constexpr GaugeHeader* GAUGE = &gauge_Timer.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle TIMER_STYLE = {60, 15, 0xE8E8D0, 0x101010, "Quartz", 400, STRING_ALIGN_CENTRE};

static constinit StaticImageElement face_lit = static_image(GAUGE, {.bitmap = BMP_TIMER_FACE_LIT, .flags = IMAGE_LIT});
static constinit StringElement upper =
    readout(GAUGE, {.x = 29, .y = 23}, upper_readout, upper_text, TIMER_STYLE);
static constinit StringElement lower =
    readout(GAUGE, {.x = 29, .y = 71}, lower_readout, lower_text, TIMER_STYLE);
static constinit IconElement elapsed_state =
    icon(GAUGE, {.bitmap = BMP_TIMER_ELAPSED_STATE, .x = -10, .y = 101, .flags = T}, elapsed_state_image, 3);
static constinit NeedleElement hand = needle(
    GAUGE, {.bitmap = BMP_TIMER_HAND, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = T}, seconds_hand);
static constinit NeedleElement hand_lit = needle(
    GAUGE, {.bitmap = BMP_TIMER_HAND_LIT, .x = DIAL_CENTRE, .y = DIAL_CENTRE, .flags = IMAGE_LIT}, seconds_hand);

static ElementHead* timer_children[] = {&face_lit.head, &upper.head,    &lower.head,    &elapsed_state.head,
                                        &hand.head,     &hand_lit.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_TIMER_FACE, .children = timer_children});
static ElementHead* timer_elements[] = {&face.head, nullptr};

static const LightingPair timer_lighting[] = {
    {&face.head, &face_lit.head},
    {&hand.head, &hand_lit.head},
};

// ------------------------------------------------------------ mouse

// Start, stop, reset.
static int32_t FS_CALL click_chronometer(const MousePoint*, uint32_t) {
    NavigationInstrumentState& nav = quillmar.navigation;
    switch (nav.chrono_state) {
    case COUNTER_RESET:
        nav.chrono_start = now();
        nav.chrono_state = COUNTER_RUNNING;
        break;
    case COUNTER_RUNNING: {
        double t = now() - nav.chrono_start;
        nav.chrono_time = t > 0 ? t : 0;
        nav.chrono_state = COUNTER_STOPPED;
        break;
    }
    default: nav.chrono_state = COUNTER_RESET; break;
    }
    return 1;
}

// Start from reset, stop while running.
static int32_t FS_CALL click_elapsed_run(const MousePoint*, uint32_t) {
    NavigationInstrumentState& nav = quillmar.navigation;
    if (nav.elapsed_state == COUNTER_RESET) {
        nav.elapsed_start = now();
        nav.elapsed_state = COUNTER_RUNNING;
    } else if (nav.elapsed_state == COUNTER_RUNNING) {
        double t = now() - nav.elapsed_start;
        nav.elapsed_time = t > 0 ? t : 0;
        nav.elapsed_state = COUNTER_STOPPED;
    }
    return 1;
}

// Reset while running, start again when stopped.
static int32_t FS_CALL click_elapsed_reset(const MousePoint*, uint32_t) {
    NavigationInstrumentState& nav = quillmar.navigation;
    if (nav.elapsed_state == COUNTER_RUNNING) {
        nav.elapsed_time = 0;
        nav.elapsed_state = COUNTER_RESET;
    } else if (nav.elapsed_state == COUNTER_STOPPED) {
        nav.elapsed_start = now();
        nav.elapsed_state = COUNTER_RUNNING;
    }
    return 1;
}

static int32_t FS_CALL click_date(const MousePoint*, uint32_t) {
    double& show = quillmar.navigation.timer_show_date;
    show = show != 0 ? 0 : 1;
    return 1;
}

static int32_t FS_CALL hours_down(const MousePoint*, uint32_t) {
    send_host_event(EVENT_CLOCK_HOURS_DOWN, 0);
    return 1;
}
static int32_t FS_CALL hours_up(const MousePoint*, uint32_t) {
    send_host_event(EVENT_CLOCK_HOURS_UP, 0);
    return 1;
}
static int32_t FS_CALL minutes_down(const MousePoint*, uint32_t) {
    send_host_event(EVENT_CLOCK_MINUTES_DOWN, 0);
    return 1;
}
static int32_t FS_CALL minutes_up(const MousePoint*, uint32_t) {
    send_host_event(EVENT_CLOCK_MINUTES_UP, 0);
    return 1;
}

static MouseRect timer_rects[] = {
    mouse_parent(0, 0, 119, 119),
    mouse_child(-15, -15, 40, 40, CURSOR_HAND, MOUSE_CLICK, click_chronometer),
    mouse_child(-15, 95, 20, 40, CURSOR_INCREASE, MOUSE_CLICK, click_elapsed_run),
    mouse_child(5, 95, 20, 40, CURSOR_DECREASE, MOUSE_CLICK, click_elapsed_reset),
    mouse_child(95, 0, 40, 40, CURSOR_HAND, MOUSE_CLICK, click_date),
    mouse_child(28, 21, 15, 28, CURSOR_DECREASE, MOUSE_REPEAT, hours_down),
    mouse_child(44, 20, 15, 28, CURSOR_INCREASE, MOUSE_REPEAT, hours_up),
    mouse_child(60, 20, 15, 28, CURSOR_DECREASE, MOUSE_REPEAT, minutes_down),
    mouse_child(76, 20, 15, 28, CURSOR_INCREASE, MOUSE_REPEAT, minutes_up),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ callback

static void FS_CALL timer_callback(GaugeHeader*, int32_t service, uint32_t) {
    NavigationInstrumentState& nav = quillmar.navigation;
    switch (service) {
    case SERVICE_INSTALL:
        nav.chrono_state = nav.elapsed_state = COUNTER_RESET;
        nav.chrono_start = nav.chrono_time = nav.elapsed_start = nav.elapsed_time = 0;
        nav.timer_show_date = 0;
        break;
    case SERVICE_UPDATE: {
        bool powered = quillmar.electric.elec_power_state == 2;
        show_element_if(&upper.head, powered);
        show_element_if(&lower.head, powered);
        apply_panel_lighting(timer_lighting);
        break;
    }
    default: break;
    }
}

MAIN_GAUGE(Timer, timer_elements, timer_rects, timer_callback);
