// Cockpit_Lights: the panel lights switch on the pedestal. It shows the
// host's panel lights state and toggles it through the host.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"

enum : int32_t {
    BMP_FACE = BITMAPS_Cockpit_Lights,
    BMP_SWITCH = BMP_FACE + 1,  // off, on
};

// Host events sent and host variables read.
enum : uint32_t {
    EVENT_PANEL_LIGHTS_ON = 0x10208,
    EVENT_PANEL_LIGHTS_OFF = 0x10209,
    VAR_PANEL_LIGHTS = 10,
};

static constexpr GaugeHeader* GAUGE = &gauge_Cockpit_Lights.h;

// The switch shows the host variable itself: image 0 off, 1 on.
static constinit IconElement lights_switch = icon(
    GAUGE, {.bitmap = BMP_SWITCH, .flags = IMAGE_TRANSPARENT, .variable = VAR_PANEL_LIGHTS},
    nullptr, 2);
static ElementHead* face_children[] = {&lights_switch.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* cockpit_lights_elements[] = {&face.head, nullptr};

static HostVariable panel_lights = host_variable(VAR_PANEL_LIGHTS);

static int32_t FS_CALL click_switch(const MousePoint*, uint32_t) {
    bool on = host_variable_value(&panel_lights) == 1;
    send_host_event(on ? EVENT_PANEL_LIGHTS_OFF : EVENT_PANEL_LIGHTS_ON, 0);
    return 1;
}

static MouseRect cockpit_lights_rects[] = {
    mouse_parent(0, 0, 58, 100),
    mouse_child(0, 0, 58, 99, 5, MOUSE_CLICK, click_switch),
    mouse_close(),
    mouse_end(),
};

MAIN_GAUGE(Cockpit_Lights, cockpit_lights_elements, cockpit_lights_rects, nullptr);
