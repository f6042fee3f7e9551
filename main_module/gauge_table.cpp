// Linkage of Quillmar and its standard routines.
//
// The routines do nothing but hand over to the host, passing the first
// element of the module's first gauge (the base element of
// System_Simulator); the host services the gauge it is working on and runs
// that gauge's callback.
#include "main_module/gauge_table.h"

#include "frame/host_ops.h"

static ElementHead* first_element() { return gauge_System_Simulator.h.elements[0]; }

void FS_CALL main_query() { host_gauge_query(first_element()); }
void FS_CALL main_install(uint32_t value) { host_gauge_install(first_element(), value); }
void FS_CALL main_initialize() { host_gauge_initialize(first_element()); }
void FS_CALL main_update() { host_gauge_update(first_element()); }
void FS_CALL main_generate(uint32_t phase) { host_gauge_generate(first_element(), phase); }
void FS_CALL main_draw() { host_gauge_draw(first_element()); }
void FS_CALL main_kill() { host_gauge_kill(first_element()); }

static void FS_CALL module_init() {}
static void FS_CALL module_deinit() {}

#define GAUGE_POINTER(id, name, size) &gauge_##id.h,

FRAME_EXPORT LinkageRecord<75> Linkage;
LinkageRecord<75> Linkage = {
    {MODULE_ID, module_init, module_deinit, 0, 0, 0},
    {QUILLMAR_GAUGES(GAUGE_POINTER) nullptr},
};
