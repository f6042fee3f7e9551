// Flight_Controls_Lock: the gust lock handle. While the lock is in, the
// handle shows and the simulator cycle holds the control surfaces every
// frame. A click pulls or stows it; a first flight starts locked.
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_HANDLE = BITMAPS_Flight_Controls_Lock,
};

static constexpr GaugeHeader* GAUGE = &gauge_Flight_Controls_Lock.h;

static constinit StaticImageElement handle =
    static_image(GAUGE, {.bitmap = BMP_HANDLE, .flags = IMAGE_TRANSPARENT});
static ElementHead* flight_controls_lock_elements[] = {&handle.head, nullptr};

static int32_t FS_CALL click_handle(const MousePoint*, uint32_t) {
    double& locked = quillmar.panels.flight_controls_locked;
    locked = locked == 0 ? 1 : 0;
    return 1;
}

static MouseRect flight_controls_lock_rects[] = {
    mouse_parent(0, 0, 56, 100),
    mouse_child(0, 0, 56, 100, 2, MOUSE_REPEAT, click_handle),
    mouse_close(),
    mouse_end(),
};

static void FS_CALL flight_controls_lock_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    double& locked = quillmar.panels.flight_controls_locked;
    switch (service) {
    case SERVICE_INSTALL:
        locked = panel_state_read_int(KEY_PEDESTAL_HANDLES_FLTLOCK_HANDLE_POS);
        break;
    case SERVICE_UPDATE:
        show_element_if(gauge_base(gauge), locked != 0);
        break;
    case SERVICE_KILL:
        panel_state_write_int(KEY_PEDESTAL_HANDLES_FLTLOCK_HANDLE_POS, locked);
        break;
    default: break;
    }
}

MAIN_GAUGE(Flight_Controls_Lock, flight_controls_lock_elements, flight_controls_lock_rects,
           flight_controls_lock_callback);
