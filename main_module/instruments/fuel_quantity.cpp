// Fuel_Quantity: the fuel on board, both tanks together, as a pointer on a
// dial to 7 t and a readout in tonnes. Without power the pointer rests at
// 0 and the readout is dark. It is a dial like the engine instruments and
// shares their gauge callback.
#include <cstdio>

#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"
#include "main_module/state.h"

enum : int32_t {
    BMP_FUEL_FACE = BITMAPS_Fuel_Quantity,
    BMP_FUEL_FACE_LIT = BMP_FUEL_FACE + 1,
    BMP_FUEL_POINTER = BMP_FUEL_FACE_LIT + 1,
    BMP_FUEL_POINTER_LIT = BMP_FUEL_POINTER + 1,
};

static HostVariable fuel_right = host_variable(303);   // gallons
static HostVariable fuel_left = host_variable(304);
static HostVariable fuel_weight = host_variable(306);  // pounds per gallon

constexpr double KG_PER_POUND = 0.4536;
constexpr double DIAL_FULL_KG = 7000;

// ------------------------------------------------------------ elements

// Fuel in kg to dial point.
static const ScalePoint fuel_scale[] = {
    {0, 19, 66},    {1000, 14, 47}, {2000, 22, 27}, {3000, 39, 15},
    {4000, 60, 15}, {5000, 78, 27}, {6000, 86, 47}, {7000, 82, 68},
};

static char fuel_text[10];

// Both tanks, kg; the pointer and the readout each take it afresh.
static double refresh_fuel_total() {
    double kg = (host_variable_value(&fuel_right) + host_variable_value(&fuel_left)) *
                host_variable_value(&fuel_weight) * KG_PER_POUND;
    quillmar.indicators.fuel_total_kg = kg;
    return kg;
}

static double FS_CALL fuel_readout(ElementHead*) {
    double kg = refresh_fuel_total();
    std::snprintf(fuel_text, sizeof fuel_text, "%4.2f", kg * 0.001);
    return kg;
}

// The dial ends at 7 t; the pointer keeps what it shows as its value.
static double FS_CALL fuel_pointer(ElementHead* e) {
    double kg = refresh_fuel_total();
    double shown = quillmar.electric.elec_power_state == 2 ? (kg > DIAL_FULL_KG ? DIAL_FULL_KG : kg) : 0;
    e->variable.value = shown;
    return shown;
}

static constexpr GaugeHeader* GAUGE = &gauge_Fuel_Quantity.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;
constexpr TextStyle FUEL_STYLE = {46, 14, 0xF0F0F0, 0x101010, "Quartz", 400, STRING_ALIGN_CENTRE};

static constinit StaticImageElement face_lit = static_image(GAUGE, {.bitmap = BMP_FUEL_FACE_LIT, .flags = IMAGE_LIT});
static constinit StringElement quantity =
    readout(GAUGE, {.x = 27, .y = 70}, fuel_readout, fuel_text, FUEL_STYLE);
static constinit NeedleElement pointer =
    needle(GAUGE, {.bitmap = BMP_FUEL_POINTER, .x = 50, .y = 50, .flags = T}, fuel_pointer, fuel_scale, 5);
static constinit NeedleElement pointer_lit =
    needle(GAUGE, {.bitmap = BMP_FUEL_POINTER_LIT, .x = 50, .y = 50, .flags = IMAGE_LIT}, fuel_pointer, fuel_scale, 5);

// In the engine dials' order, which their shared callback lights and shows.
static ElementHead* fuel_children[] = {&face_lit.head, &pointer.head, &pointer_lit.head,
                                       &quantity.head, nullptr};
static_assert(DIAL_FACE_LIT == 0 && DIAL_POINTER == 1 && DIAL_POINTER_LIT == 2 && DIAL_READOUT == 3);
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FUEL_FACE, .children = fuel_children});
static ElementHead* fuel_elements[] = {&face.head, nullptr};

static MouseRect fuel_rects[] = {mouse_parent(0, 0, 101, 101), mouse_close(), mouse_end()};

MAIN_GAUGE(Fuel_Quantity, fuel_elements, fuel_rects, dial_instrument_callback);
