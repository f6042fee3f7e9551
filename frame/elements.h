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
//
// Elements are declared as static records with constant initialisers, so
// the records (and every pointer in them: the owning gauge header, the
// children, the callbacks) are in the module's data as built. The simulator
// reads them in place from the moment it loads the module, so declare them
// `static constinit`:
//
//   static constinit IconElement gen1 =
//       icon(GAUGE, {.bitmap = BMP_GEN, .x = 39, .y = 271, .flags = TRANSPARENT}, gen1_image, 2);
//
// where GAUGE is the owning gauge's header (`&gauge_Electric.h`, declared
// by the gauge table before the gauge file defines it).

constexpr HostVariable host_variable(uint32_t id) {
    return HostVariable{id, nullptr, 0, 0.0, {0, 0, 0}};
}

// Image flag bits the host reads: draw with black as the transparent
// colour; erase the image's old place before drawing it anew; draw it bright
// (never darkened at night: the lit versions of the panel lighting rule).
constexpr uint32_t IMAGE_TRANSPARENT = 1;
constexpr uint32_t IMAGE_ERASE = 2;
constexpr uint32_t IMAGE_BRIGHT = 4;
// The flags of a lit version: transparent, erased and bright.
constexpr uint32_t IMAGE_LIT = IMAGE_TRANSPARENT | IMAGE_ERASE | IMAGE_BRIGHT;

// A needle's image is drawn pointing right (angle 0) with its turning point
// at this pixel of the image, unless the element names another one.
constexpr int32_t NEEDLE_PIVOT = 16;

// What every element type has in common. Fields not named stay 0 / none,
// except the flags: every image of the cockpit is drawn with transparency,
// since the first element of a gauge lies on top of the ones hanging below
// it and they show through its black.
struct ElementSpec {
    int32_t bitmap = -1;              // bitmap resource number, -1 for none
    int32_t x = 0, y = 0;             // position in the gauge (a needle's: its dial centre)
    uint32_t flags = IMAGE_TRANSPARENT; // image flags (IMAGE_TRANSPARENT, ...)
    ElementHead** children = nullptr; // NULL-ended child array
    uint32_t variable = 0;            // host variable that drives the element, 0 for none
    int32_t pivot_x = 0, pivot_y = 0; // point of the image a rotating element turns about
    FailureRecord* failures = nullptr;
};

constexpr ElementHead element_head(GaugeHeader* gauge, ElementType type, const ElementSpec& s) {
    return ElementHead{type,      s.bitmap,   s.x,     s.y,     0, 0, s.pivot_x, s.pivot_y,
                       gauge,     nullptr,    s.children, s.failures, s.flags, 0, 0,
                       host_variable(s.variable)};
}

// Type 0: a picture that does not move.
constexpr StaticImageElement static_image(GaugeHeader* gauge, const ElementSpec& s) {
    return StaticImageElement{element_head(gauge, ELEMENT_STATIC_IMAGE, s), nullptr};
}

// Type 4: image n of `count` for value n (consecutive bitmap numbers from s.bitmap).
constexpr IconElement icon(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* value,
                           int32_t count) {
    return IconElement{element_head(gauge, ELEMENT_ICON, s), value, count};
}

// A needle's turning point in its image: NEEDLE_PIVOT on both axes unless given.
constexpr ElementSpec needle_spec(ElementSpec s) {
    if (s.pivot_x == 0 && s.pivot_y == 0) s.pivot_x = s.pivot_y = NEEDLE_PIVOT;
    return s;
}

// Type 1: a pointer turned about its dial centre (s.x, s.y). Without a scale
// table the value is the angle in degrees (270 up, clockwise); a NULL
// callback shows the element's own host variable.
constexpr NeedleElement needle(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* value,
                               double rate_limit = 0) {
    return NeedleElement{element_head(gauge, ELEMENT_NEEDLE, needle_spec(s)), value, nullptr, 0,
                         s.x, s.y, rate_limit};
}

// A pointer with a scale table (value to dial point).
template <size_t N>
constexpr NeedleElement needle(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* value,
                               const ScalePoint (&scale)[N], double rate_limit = 0) {
    return NeedleElement{element_head(gauge, ELEMENT_NEEDLE, needle_spec(s)), value, scale,
                         static_cast<int32_t>(N), s.x, s.y, rate_limit};
}

// How a text element looks: its box, colours and face.
struct TextStyle {
    int32_t width = 0, height = 0;    // box in pixels
    uint32_t colour = 0xFFFFFF;       // 0xRRGGBB
    uint32_t background = 0;          // 0xRRGGBB
    const char* font = nullptr;       // face name, NULL for the host's own
    int32_t weight = 400;             // 400 normal, 700 bold
    uint32_t align = STRING_ALIGN_LEFT;
};

// A readout is a lit display of its own: drawn bright, never darkened at night.
constexpr ElementSpec lit_spec(ElementSpec s) {
    s.flags |= IMAGE_LIT;
    return s;
}

// Type 2: a text the value callback writes into `text` (bitmap -1).
template <size_t N>
constexpr StringElement readout(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* value,
                                char (&text)[N], const TextStyle& style) {
    return StringElement{element_head(gauge, ELEMENT_STRING, lit_spec(s)), value, text,
                         static_cast<int32_t>(N), style.width, style.height, style.colour,
                         style.background, style.font, style.weight, style.align};
}

// Type 3: an image shifted by its values times `scale` pixels per unit.
constexpr SliderElement slider(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* value_x,
                               ValueCallback* value_y, double scale_x, double scale_y) {
    return SliderElement{element_head(gauge, ELEMENT_SLIDER, s), value_x, value_y, scale_x,
                         scale_y};
}

// Type 5: a strip seen through the element's box; the value ranges span
// `travel` pixels of the strip (a drum counter, a tape).
constexpr MovingImageElement moving_image(GaugeHeader* gauge, const ElementSpec& s,
                                          ValueCallback* value_x, ValueCallback* value_y,
                                          double min_x, double max_x, double min_y,
                                          double max_y, int32_t travel_x, int32_t travel_y) {
    return MovingImageElement{element_head(gauge, ELEMENT_MOVING_IMAGE, s),
                              value_x, value_y, min_x, max_x, min_y, max_y, travel_x, travel_y};
}

// Type 6: a texture shifted and turned inside the element's box.
constexpr SpriteElement sprite(GaugeHeader* gauge, const ElementSpec& s, ValueCallback* offset_x,
                               ValueCallback* offset_y, ValueCallback* rotation,
                               double texture_scale) {
    return SpriteElement{element_head(gauge, ELEMENT_SPRITE, s), offset_x, offset_y, rotation,
                         texture_scale};
}

// Cursor shapes the host shows over a child rectangle.
enum : int32_t {
    CURSOR_NORMAL = 0,     // the plain pointer
    CURSOR_INCREASE = 1,   // turn clockwise, step up, right arrow
    CURSOR_DECREASE = 2,   // turn anticlockwise, step down, left arrow
    CURSOR_HAND = 5,       // push-buttons and switches
};

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
