// Brake_Pressure_Normal, Brake_Pressure_Alternate: the pressures of the
// normal and the alternate brake accumulators, charged from the hydraulic
// system. Each reads the system pressure less its own loss; a dial without
// power, or without pressure left after the loss, rests at 0.
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

// Both dials draw the same pictures.
enum : int32_t {
    BMP_BRAKE_FACE = BITMAPS_Brake_Pressure_Normal,
    BMP_BRAKE_FACE_LIT = BMP_BRAKE_FACE + 1,
    BMP_BRAKE_POINTER = BMP_BRAKE_FACE_LIT + 1,
    BMP_BRAKE_POINTER_LIT = BMP_BRAKE_POINTER + 1,
};

// Pressure in psi to dial point.
static const ScalePoint brake_scale[] = {
    {0, 12, 50},    {500, 17, 31},  {1000, 31, 17}, {1500, 50, 12}, {2000, 69, 17},
    {2500, 83, 31}, {3000, 88, 50}, {3500, 83, 69}, {4000, 69, 83},
};

// The two dials and what each accumulator loses against the system pressure.
struct BrakeDial {
    GaugeHeader* gauge;
    double loss;   // psi
};
static const BrakeDial brake_dials[2] = {
    {&gauge_Brake_Pressure_Normal.h, 100},
    {&gauge_Brake_Pressure_Alternate.h, 250},
};

static double FS_CALL brake_pressure(ElementHead* e) {
    const BrakeDial& dial = e->gauge == brake_dials[1].gauge ? brake_dials[1] : brake_dials[0];
    double pressure = quillmar.systems.hyd_pressure - dial.loss;
    if (pressure <= 0 || quillmar.electric.elec_power_state != 2) return 0;
    return pressure;
}

// One element set per dial, each pointing at its own gauge header.
#define BRAKE_DIAL_ELEMENTS(ID)                                                                      \
    static constexpr GaugeHeader* ID##_GAUGE = &gauge_##ID.h;                                        \
    static constinit StaticImageElement ID##_face_lit =                                              \
        static_image(ID##_GAUGE, {.bitmap = BMP_BRAKE_FACE_LIT, .flags = IMAGE_LIT});                 \
    static constinit NeedleElement ID##_pointer = needle(                                            \
        ID##_GAUGE, {.bitmap = BMP_BRAKE_POINTER, .x = 50, .y = 50, .flags = IMAGE_TRANSPARENT},     \
        brake_pressure, brake_scale, 5);                                                             \
    static constinit NeedleElement ID##_pointer_lit = needle(                                        \
        ID##_GAUGE, {.bitmap = BMP_BRAKE_POINTER_LIT, .x = 50, .y = 50, .flags = IMAGE_LIT},         \
        brake_pressure, brake_scale, 5);                                                             \
    static ElementHead* ID##_children[] = {&ID##_face_lit.head, &ID##_pointer.head,                  \
                                           &ID##_pointer_lit.head, nullptr};                         \
    static constinit StaticImageElement ID##_face =                                                  \
        static_image(ID##_GAUGE, {.bitmap = BMP_BRAKE_FACE, .children = ID##_children});             \
    static ElementHead* ID##_elements[] = {&ID##_face.head, nullptr};                                \
    static const LightingPair ID##_lighting[] = {{&ID##_face.head, &ID##_face_lit.head},             \
                                                 {&ID##_pointer.head, &ID##_pointer_lit.head}};      \
    static MouseRect ID##_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};

BRAKE_DIAL_ELEMENTS(Brake_Pressure_Normal)
BRAKE_DIAL_ELEMENTS(Brake_Pressure_Alternate)

static void FS_CALL brake_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    if (gauge == &gauge_Brake_Pressure_Alternate.h) apply_panel_lighting(Brake_Pressure_Alternate_lighting);
    else apply_panel_lighting(Brake_Pressure_Normal_lighting);
}

MAIN_GAUGE(Brake_Pressure_Normal, Brake_Pressure_Normal_elements, Brake_Pressure_Normal_rects, brake_callback);
MAIN_GAUGE(Brake_Pressure_Alternate, Brake_Pressure_Alternate_elements, Brake_Pressure_Alternate_rects,
           brake_callback);
