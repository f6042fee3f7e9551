// Gauges whose panels are not built yet: each has its header, one plain
// base element and an empty mouse rectangle list, and no callback. A gauge
// leaves this file when its own file defines it.
#include "main_module/gauge_table.h"

#define PLACEHOLDER_ELEMENTS(id)                                                              \
    static constinit StaticImageElement id##_base = static_image(&gauge_##id.h, {});        \
    static ElementHead* id##_elements[] = {&id##_base.head, nullptr};

// A placeholder with an empty mouse rectangle list.
#define PLACEHOLDER(id)                                                                       \
    PLACEHOLDER_ELEMENTS(id)                                                                  \
    static MouseRect id##_rects[] = {mouse_parent(0, 0, gauge_size_##id, gauge_size_##id),    \
                                     mouse_close(), mouse_end()};                             \
    MAIN_GAUGE(id, id##_elements, id##_rects, nullptr);

// A placeholder of a gauge that has no mouse rectangle list at all.
#define PLACEHOLDER_NO_MOUSE(id) \
    PLACEHOLDER_ELEMENTS(id)     \
    MAIN_GAUGE(id, id##_elements, nullptr, nullptr);

