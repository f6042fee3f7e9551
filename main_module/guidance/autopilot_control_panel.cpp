// Autopilot_Control_Panel: the pitch wheel and the autopilot push-button.
//
// The wheel sets whichever air-data target the flight mode panel flies: the
// vertical speed in the host's own steps, or the airspeed target by 1 knot a
// click, 5 knots while it is turned fast. Without power the host autopilot
// is told every frame that its panel is dark.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

enum : uint32_t {
    EVENT_VERTICAL_SPEED_UP = 0x10166,
    EVENT_VERTICAL_SPEED_DOWN = 0x10167,
    EVENT_AUTOPILOT_BUTTON = 0x10101,
    EVENT_SET_AIRSPEED = 0x101F5,       // knots
    EVENT_UNPOWERED = 0x10216,
};

constexpr double AIR_DATA_IAS = 1, AIR_DATA_VS = 2;

static HostVariable ticks = host_variable(1);
static HostVariable airspeed_target = host_variable(116);   // knots

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_LAMP = BITMAPS_Autopilot_Control_Panel,   // dark, lit
    BMP_FACE = BMP_LAMP + 2,
};

static double FS_CALL lamp_image(ElementHead* e) { return e->variable.value; }

static constexpr GaugeHeader* GAUGE = &gauge_Autopilot_Control_Panel.h;

static constinit IconElement lamp =
    icon(GAUGE, {.bitmap = BMP_LAMP, .x = 62, .y = 46, .flags = IMAGE_LIT, .variable = 114},
         lamp_image, 2);
// The face with the pitch wheel and the button; the lamp sits in the button.
enum AutopilotElement : int { AP_LAMP };
static ElementHead* face_children[] = {&lamp.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* autopilot_elements[] = {&face.head, nullptr};

// ------------------------------------------------------------ mouse

static bool powered() { return quillmar.electric.elec_power_state == 2; }

static void turn_wheel(bool up) {
    if (!powered()) return;
    double mode = quillmar.flight_mode.air_data_mode;
    if (mode == AIR_DATA_VS) {
        send_host_event(up ? EVENT_VERTICAL_SPEED_DOWN : EVENT_VERTICAL_SPEED_UP, 0);
    } else if (mode == AIR_DATA_IAS) {
        double tick = host_variable_value(&ticks);
        int32_t target = static_cast<int32_t>(host_variable_value(&airspeed_target));
        int32_t step = quillmar.autopilot.wheel_repeat_deadline > tick ? 5 : 1;
        send_host_event(EVENT_SET_AIRSPEED, static_cast<uint32_t>(up ? target - step : target + step));
        quillmar.autopilot.wheel_repeat_deadline = tick + 5;
    }
}

// The upper half of the wheel lowers the target, the lower half raises it.
static int32_t FS_CALL wheel_upper(const MousePoint*, uint32_t) { turn_wheel(true); return 1; }
static int32_t FS_CALL wheel_lower(const MousePoint*, uint32_t) { turn_wheel(false); return 1; }

static int32_t FS_CALL click_button(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    send_host_event(EVENT_AUTOPILOT_BUTTON, 0);
    return 1;
}

static MouseRect autopilot_rects[] = {
    mouse_parent(0, 0, 181, 80),
    mouse_child(10, 0, 40, 39, CURSOR_DECREASE, MOUSE_REPEAT, wheel_upper),
    mouse_child(10, 40, 40, 33, CURSOR_INCREASE, MOUSE_REPEAT, wheel_lower),
    mouse_child(59, 33, 23, 22, CURSOR_HAND, MOUSE_CLICK, click_button),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ update

static void FS_CALL autopilot_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    show_element_if(gauge_element(gauge, {AP_LAMP}), powered());
    if (!powered()) send_host_event(EVENT_UNPOWERED, 0);
}

MAIN_GAUGE(Autopilot_Control_Panel, autopilot_elements, autopilot_rects, autopilot_callback);
