// Quillmar_EADI: the module records of the electronic attitude director
// indicator. One routine-style gauge; the module does its own work in its
// seven standard routines around the host calls.
#include "frame/elements.h"
#include "frame/host_ops.h"

static StaticImageElement eadi_image = {element_head(ELEMENT_STATIC_IMAGE, 101, 0, 0, 6), nullptr};
static ElementHead* eadi_elements[] = {&eadi_image.head, nullptr};

static void FS_CALL eadi_query() { host_gauge_query(eadi_elements[0]); }
static void FS_CALL eadi_install(uint32_t value) { host_gauge_install(eadi_elements[0], value); }
static void FS_CALL eadi_initialize() { host_gauge_initialize(eadi_elements[0]); }
static void FS_CALL eadi_update() { host_gauge_update(eadi_elements[0]); }
static void FS_CALL eadi_generate(uint32_t phase) { host_gauge_generate(eadi_elements[0], phase); }
static void FS_CALL eadi_draw() { host_gauge_draw(eadi_elements[0]); }
static void FS_CALL eadi_kill() { host_gauge_kill(eadi_elements[0]); }

static GaugeHeader eadi_header = {GAUGE_VERSION_ROUTINES, "Quillmar EADI", eadi_elements,
                                  eadi_query, eadi_install, eadi_initialize, eadi_update,
                                  eadi_generate, eadi_draw, eadi_kill, 0, 171, {}, nullptr, nullptr};

static void FS_CALL module_init() {}
static void FS_CALL module_deinit() {}

FRAME_EXPORT LinkageRecord<1> Linkage;
LinkageRecord<1> Linkage = {{MODULE_ID, module_init, module_deinit, 0, 0, 0}, {&eadi_header, nullptr}};
