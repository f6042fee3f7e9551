// System_Simulator: the invisible gauge (size 1) that runs the systems
// simulator. Its one element carries the failure list of keys 2 to 19;
// its mouse rectangle list is one empty parent.
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/simulator.h"

static FailureRecord simulator_failures[] = {
    {2, 0, 0},  {3, 0, 0},  {4, 0, 0},  {5, 0, 0},  {6, 0, 0},  {7, 0, 0},  {8, 0, 0},
    {9, 0, 0},  {10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}, {14, 0, 0}, {15, 0, 0},
    {16, 0, 0}, {17, 0, 0}, {18, 0, 0}, {19, 0, 0}, {0, 0, 0},
};

static constinit StaticImageElement simulator_base = static_image(
    &gauge_System_Simulator.h, {.bitmap = BITMAP_SYSTEM_SIMULATOR, .failures = simulator_failures});
static ElementHead* simulator_elements[] = {&simulator_base.head, nullptr};

static MouseRect simulator_rects[] = {mouse_parent(0, 0, 0, 0), mouse_close(), mouse_end()};

static void FS_CALL simulator_callback(GaugeHeader*, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: simulator_install(); break;
    case SERVICE_UPDATE: simulator_update(); break;
    case SERVICE_KILL: simulator_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(System_Simulator, simulator_elements, simulator_rects, simulator_callback);
