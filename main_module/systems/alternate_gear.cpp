// Alternate_Gear: the alternate gear extension handle on the pedestal.
//
// Pulling the handle lowers the gear without hydraulic pressure: while it
// stays pulled the gear-down command goes to the simulator on every frame,
// and the simulator cycle holds the gear handle down. The handle is seen
// only when pulled. It makes no click.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"
#include "main_module/systems/panel_switches.h"

static constexpr uint32_t EVENT_GEAR_DOWN = 0x10220;

enum : int32_t { BMP_PULLED_HANDLE = BITMAPS_Alternate_Gear };

static constinit StaticImageElement pulled_handle = static_image(
    &gauge_Alternate_Gear.h, {.bitmap = BMP_PULLED_HANDLE, .flags = IMAGE_TRANSPARENT});
static ElementHead* alternate_gear_elements[] = {&pulled_handle.head, nullptr};

// A click pulls or stows the handle; the area repeats while the button is held.
static int32_t FS_CALL click_handle(const MousePoint*, uint32_t) {
    toggle_switch(quillmar.panels.alternate_gear_extended);
    return 1;
}

static MouseRect alternate_gear_rects[] = {
    mouse_parent(0, 0, 56, 100),
    mouse_child(0, 0, 56, 100, 2, MOUSE_REPEAT, click_handle),
    mouse_close(),
    mouse_end(),
};

static const SwitchKey alternate_gear_keys[] = {
    {KEY_PEDESTAL_HANDLES_ALTGEAR_HANDLE_POS, &quillmar.panels.alternate_gear_extended},
};

static void alternate_gear_update(GaugeHeader* gauge) {
    bool pulled = quillmar.panels.alternate_gear_extended != 0;
    show_element_if(gauge_base(gauge), pulled);
    if (pulled) send_host_event(EVENT_GEAR_DOWN, 0);
}

static void FS_CALL alternate_gear_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: read_switch_keys(alternate_gear_keys); break;
    case SERVICE_UPDATE: alternate_gear_update(gauge); break;
    case SERVICE_KILL: write_switch_keys(alternate_gear_keys); break;
    default: break;
    }
}

MAIN_GAUGE(Alternate_Gear, alternate_gear_elements, alternate_gear_rects, alternate_gear_callback);
