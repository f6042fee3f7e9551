// Quillmar_EHSI: the module records of the electronic attitude director
// indicator. One routine-style gauge; the module does its own work in its
// seven standard routines around the host calls.
#include "frame/elements.h"
#include "frame/host_ops.h"

static StaticImageElement ehsi_image = {element_head(ELEMENT_STATIC_IMAGE, 101, 0, 0, 4), nullptr};
static ElementHead* ehsi_elements[] = {&ehsi_image.head, nullptr};

static void FS_CALL ehsi_query() { host_gauge_query(ehsi_elements[0]); }
static void FS_CALL ehsi_install(uint32_t value) { host_gauge_install(ehsi_elements[0], value); }
static void FS_CALL ehsi_initialize() { host_gauge_initialize(ehsi_elements[0]); }
static void FS_CALL ehsi_update() { host_gauge_update(ehsi_elements[0]); }
static void FS_CALL ehsi_generate(uint32_t phase) { host_gauge_generate(ehsi_elements[0], phase); }
static void FS_CALL ehsi_draw() { host_gauge_draw(ehsi_elements[0]); }
static void FS_CALL ehsi_kill() { host_gauge_kill(ehsi_elements[0]); }

static GaugeHeader ehsi_header = {GAUGE_VERSION_ROUTINES, "Quillmar EHSI", ehsi_elements,
                                  ehsi_query, ehsi_install, ehsi_initialize, ehsi_update,
                                  ehsi_generate, ehsi_draw, ehsi_kill, 0, 171, {}, nullptr, nullptr};

static void FS_CALL module_init() {}
static void FS_CALL module_deinit() {}

FRAME_EXPORT LinkageRecord<1> Linkage;
LinkageRecord<1> Linkage = {{MODULE_ID, module_init, module_deinit, 0, 0, 0}, {&ehsi_header, nullptr}};
