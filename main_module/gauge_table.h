// The gauge table of Quillmar: every gauge's header, and the module's
// standard routines that every header carries.
//
// Each gauge defines its header in its own file with main_gauge_header();
// gauge_table.cpp lists them in Linkage order.
#pragma once

#include "frame/elements.h"
#include "main_module/gauge_list.h"

void FS_CALL main_query();
void FS_CALL main_install(uint32_t value);
void FS_CALL main_initialize();
void FS_CALL main_update();
void FS_CALL main_generate(uint32_t phase);
void FS_CALL main_draw();
void FS_CALL main_kill();

constexpr GaugeHeader700 main_gauge_header(const char* name, ElementHead** elements, uint32_t size,
                                           MouseRect* mouse_rects, GaugeCallback* callback) {
    return gauge_header(name, elements, size, mouse_rects, callback, main_query, main_install,
                        main_initialize, main_update, main_generate, main_draw, main_kill);
}

#define DECLARE_GAUGE(id, name, size)            \
    extern GaugeHeader700 gauge_##id;            \
    constexpr const char* gauge_name_##id = name; \
    constexpr uint32_t gauge_size_##id = size;
QUILLMAR_GAUGES(DECLARE_GAUGE)
#undef DECLARE_GAUGE

// Defines the header of gauge `id` with its name and default size from the list.
#define MAIN_GAUGE(id, elements, mouse_rects, callback) \
    GaugeHeader700 gauge_##id =                         \
        main_gauge_header(gauge_name_##id, elements, gauge_size_##id, mouse_rects, callback)
