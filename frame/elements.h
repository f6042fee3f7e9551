// Helpers to declare gauges as data and to reach their elements.
//
// A gauge is a header, an element list whose first entry is the base
// element, and a tree below it: every element's `next` points at a
// NULL-ended array of its children. Mouse rectangle lists are one parent,
// its children, the close record and the end record.
#pragma once

#include <initializer_list>

#include "frame/records.h"

// ------------------------------------------------------------ declaration

constexpr HostVariable host_variable(uint32_t id) {
    return HostVariable{id, nullptr, 0, 0.0, {0, 0, 0}};
}

// Common element head. `children` is the NULL-ended child array or nullptr.
constexpr ElementHead element_head(ElementType type, int32_t resource, int32_t x, int32_t y,
                                   uint32_t flags = 0, ElementHead** children = nullptr,
                                   uint32_t variable_id = 0, FailureRecord* failures = nullptr) {
    return ElementHead{type, resource, x, y, 0, 0, 0, 0, nullptr, nullptr,
                       children, failures, flags, 0, 0, host_variable(variable_id)};
}

constexpr MouseRect mouse_parent(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t help = 0) {
    return MouseRect{MOUSE_PARENT, x, y, w, h, -1, help, 0, 0, nullptr, 0};
}

constexpr MouseRect mouse_child(int32_t x, int32_t y, int32_t w, int32_t h, int32_t cursor,
                                uint32_t flags, MouseFunction* function) {
    return MouseRect{MOUSE_CHILD, x, y, w, h, cursor, 0, flags, 0, function, 0};
}

constexpr MouseRect mouse_close() { return MouseRect{MOUSE_CLOSE, 0, 0, 0, 0, -1, 0, 0, 0, nullptr, 0}; }
constexpr MouseRect mouse_end() { return MouseRect{MOUSE_END, 0, 0, 0, 0, -1, 0, 0, 0, nullptr, 0}; }

// Header of a callback-style gauge of the main module.
constexpr GaugeHeader700 gauge_header(const char* name, ElementHead** elements, uint32_t size,
                                      MouseRect* mouse_rects, GaugeCallback* callback,
                                      QueryRoutine* query, InstallRoutine* install,
                                      InitializeRoutine* initialize, UpdateRoutine* update,
                                      GenerateRoutine* generate, DrawRoutine* draw,
                                      KillRoutine* kill) {
    return GaugeHeader700{
        GaugeHeader{GAUGE_VERSION_CALLBACK, name, elements, query, install, initialize, update,
                    generate, draw, kill, 0, size, {}, mouse_rects, callback},
        {}};
}

// ------------------------------------------------------------ reaching elements

inline ElementHead* gauge_base(GaugeHeader* gauge) {
    return gauge && gauge->elements ? gauge->elements[0] : nullptr;
}

// The i-th child of an element, or nullptr when it has fewer children.
inline ElementHead* element_child(ElementHead* element, int index) {
    if (!element || !element->next) return nullptr;
    for (int i = 0; element->next[i]; ++i)
        if (i == index) return element->next[i];
    return nullptr;
}

// The element reached from the base element by child indices, in order.
inline ElementHead* gauge_element(GaugeHeader* gauge, std::initializer_list<int> path) {
    ElementHead* element = gauge_base(gauge);
    for (int index : path) element = element_child(element, index);
    return element;
}

// ------------------------------------------------------------ show and hide

inline void hide_element(ElementHead* element) {
    if (element) element->image_flags |= IMAGE_HIDDEN;
}

inline void show_element(ElementHead* element) {
    if (element) element->image_flags &= ~IMAGE_HIDDEN;
}

inline void show_element_if(ElementHead* element, bool shown) {
    shown ? show_element(element) : hide_element(element);
}

inline bool element_hidden(const ElementHead* element) {
    return element && (element->image_flags & IMAGE_HIDDEN) != 0;
}
