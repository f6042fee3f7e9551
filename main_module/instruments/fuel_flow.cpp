// Fuel_Flow: the fuel flow indicator.
//
// Normally it shows each engine's fuel flow (kg/h) and, between them, the
// gross weight in hundreds of kilograms. Its keys call up for a few
// seconds the weight entry (a correction of the basic weight, kept between
// flights), the fuel used since the last refuelling, the reference speed
// for that weight, or a test of every segment. Any weight entry withdraws
// the gross weight until the indicator is next powered up from cold. Its
// face has a normal and a lit version, by the panel lighting rule.
#include <cmath>
#include <cstdio>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/state.h"

enum FuelFlowPage : int32_t {
    PAGE_FLOW_AND_WEIGHT,
    PAGE_WEIGHT_ENTRY,
    PAGE_FUEL_USED,
    PAGE_REFERENCE_SPEED,
    PAGE_DISPLAY_TEST,
};

constexpr double KG_PER_POUND = 0.4536;
constexpr double BASIC_WEIGHT = 12170;    // kg, with no correction and no fuel used
constexpr double MAXIMUM_WEIGHT = 25000;
constexpr double WEIGHT_STEP = 100;
constexpr double MAXIMUM_CORRECTION = 20000;

static HostVariable sim_time = host_variable(557);
static HostVariable fuel_right = host_variable(303);
static HostVariable fuel_left = host_variable(304);
static HostVariable fuel_weight = host_variable(306);

// Gross weight, kg.
static double gross_weight() {
    const FuelFlowState& f = quillmar.fuel_flow;
    double w = f.aircraft_weight_mod + BASIC_WEIGHT - f.fuel_used_kg;
    return std::fmin(std::fmax(w, BASIC_WEIGHT), MAXIMUM_WEIGHT);
}

// Reference speed, knots, for a gross weight.
static double reference_speed(double weight) {
    return (weight - 15000) * 0.00275862068966 + 105.5;
}

// ------------------------------------------------------------ readouts

static StringElement* text_of(ElementHead* e) { return reinterpret_cast<StringElement*>(e); }

static void write_number(ElementHead* e, const char* format, double value) {
    double v = std::trunc(std::fmin(std::fmax(value, -999), 9999));
    std::snprintf(text_of(e)->text, static_cast<size_t>(text_of(e)->text_size), format,
                  static_cast<int>(v));
}

static void write_text(ElementHead* e, const char* text) {
    std::snprintf(text_of(e)->text, static_cast<size_t>(text_of(e)->text_size), "%s", text);
}

// An engine's fuel flow (its element's host variable, pounds an hour).
static double FS_CALL engine_flow(ElementHead* e) {
    double kg_per_hour = e->variable.value * KG_PER_POUND;
    switch (quillmar.fuel_flow.fuel_display_page) {
    case PAGE_FLOW_AND_WEIGHT: write_number(e, "%4d", kg_per_hour); break;
    case PAGE_DISPLAY_TEST: write_text(e, "8888"); break;
    default: write_text(e, "    "); break;
    }
    return kg_per_hour;
}

static double FS_CALL centre_readout(ElementHead* e) {
    const FuelFlowState& f = quillmar.fuel_flow;
    double w = gross_weight();
    switch (f.fuel_display_page) {
    case PAGE_FLOW_AND_WEIGHT:
    case PAGE_WEIGHT_ENTRY:
        if (f.weight_valid == 0) write_text(e, "---");
        else write_number(e, "%3d", w * 0.01);
        break;
    case PAGE_FUEL_USED:
        write_number(e, f.fuel_used_kg > 1000 ? "%3d" : " 0%d", f.fuel_used_kg * 0.01);
        break;
    case PAGE_REFERENCE_SPEED: write_number(e, "%3d", reference_speed(w)); break;
    default: write_text(e, "888"); break;
    }
    return w;
}

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_DECIMAL_POINT = BITMAPS_Fuel_Flow,
    BMP_FACE = BMP_DECIMAL_POINT + 1,
    BMP_FACE_LIT = BMP_FACE + 1,
};

static constexpr GaugeHeader* GAUGE = &gauge_Fuel_Flow.h;
constexpr TextStyle FLOW_STYLE = {33, 13, 0xFF9A28, 0x000000, "Quartz", 400, STRING_ALIGN_RIGHT};
constexpr TextStyle WEIGHT_STYLE = {27, 13, 0xFF9A28, 0x000000, "Quartz", 400, STRING_ALIGN_RIGHT};

static char left_text[6], right_text[6], centre_text[6];
static constinit StaticImageElement face_lit =
    static_image(GAUGE, {.bitmap = BMP_FACE_LIT, .flags = IMAGE_LIT});
static constinit StringElement left_flow =
    readout(GAUGE, {.x = 11, .y = 11, .variable = 138}, engine_flow, left_text, FLOW_STYLE);
static constinit StringElement right_flow =
    readout(GAUGE, {.x = 52, .y = 11, .variable = 173}, engine_flow, right_text, FLOW_STYLE);
static constinit StringElement centre =
    readout(GAUGE, {.x = 34, .y = 39}, centre_readout, centre_text, WEIGHT_STYLE);
// Before the centre readout's last digit.
static constinit StaticImageElement decimal_point = static_image(
    GAUGE, {.bitmap = BMP_DECIMAL_POINT, .x = 52, .y = 49, .flags = IMAGE_LIT});

// On the face, in drawing order: its lit version, the readouts of engine 1,
// engine 2 and the centre, and the decimal point.
enum FuelFlowElement : int { FF_FACE_LIT, FF_LEFT, FF_RIGHT, FF_CENTRE, FF_DECIMAL_POINT };
static ElementHead* face_children[] = {&face_lit.head, &left_flow.head,     &right_flow.head,
                                       &centre.head,   &decimal_point.head, nullptr};
static constinit StaticImageElement face =
    static_image(GAUGE, {.bitmap = BMP_FACE, .children = face_children});
static ElementHead* fuel_flow_elements[] = {&face.head, nullptr};

// ------------------------------------------------------------ mouse

static void show_page(FuelFlowPage page, double seconds) {
    FuelFlowState& f = quillmar.fuel_flow;
    f.fuel_display_page = page;
    f.fuel_page_deadline = host_variable_value(&sim_time) + seconds;
}

static int32_t FS_CALL click_weight_decrease(const MousePoint*, uint32_t) {
    FuelFlowState& f = quillmar.fuel_flow;
    if (f.aircraft_weight_mod > 0) f.aircraft_weight_mod -= WEIGHT_STEP;
    f.weight_valid = 0;
    show_page(PAGE_WEIGHT_ENTRY, 2);
    return 1;
}

static int32_t FS_CALL click_weight_increase(const MousePoint*, uint32_t) {
    FuelFlowState& f = quillmar.fuel_flow;
    if (f.aircraft_weight_mod < MAXIMUM_CORRECTION) f.aircraft_weight_mod += WEIGHT_STEP;
    f.weight_valid = 0;
    show_page(PAGE_WEIGHT_ENTRY, 3);
    return 1;
}

static int32_t FS_CALL click_fuel_used(const MousePoint*, uint32_t) {
    show_page(PAGE_FUEL_USED, 3);
    return 1;
}

static int32_t FS_CALL click_reference_speed(const MousePoint*, uint32_t) {
    show_page(PAGE_REFERENCE_SPEED, 6);
    return 1;
}

static int32_t FS_CALL click_display_test(const MousePoint*, uint32_t) {
    show_page(PAGE_DISPLAY_TEST, 4);
    return 1;
}

static MouseRect fuel_flow_rects[] = {
    mouse_parent(0, 0, 97, 65),
    mouse_child(2, 36, 15, 20, CURSOR_DECREASE, MOUSE_REPEAT, click_weight_decrease),
    mouse_child(17, 36, 15, 20, CURSOR_INCREASE, MOUSE_REPEAT, click_weight_increase),
    mouse_child(70, 29, 13, 13, CURSOR_HAND, MOUSE_REPEAT, click_fuel_used),
    mouse_child(70, 48, 13, 13, CURSOR_HAND, MOUSE_REPEAT, click_reference_speed),
    mouse_child(84, 39, 13, 13, CURSOR_HAND, MOUSE_REPEAT, click_display_test),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update, kill

static void fuel_flow_install() {
    FuelFlowState& f = quillmar.fuel_flow;
    f.aircraft_weight_mod = panel_state_read_int(KEY_FUELFLOW_AIRCRAFT_WEIGHT_MOD);
    f.fuel_used_kg = 0;
    f.fuel_reset_latch = 0;
    f.weight_valid = 1;
}

static void fuel_flow_kill() {
    panel_state_write_int(KEY_FUELFLOW_AIRCRAFT_WEIGHT_MOD, quillmar.fuel_flow.aircraft_weight_mod);
}

static void fuel_flow_update(GaugeHeader* gauge) {
    FuelFlowState& f = quillmar.fuel_flow;
    double power = quillmar.electric.elec_power_state;
    if (power == 0 && f.fuel_reset_latch == 0) {
        f.fuel_reset_latch = 1;
        f.fuel_used_kg = 0;
        f.weight_valid = 1;
    }
    if (f.fuel_display_page != PAGE_FLOW_AND_WEIGHT &&
        host_variable_value(&sim_time) > f.fuel_page_deadline)
        f.fuel_display_page = PAGE_FLOW_AND_WEIGHT;

    f.fuel_on_board_kg = (host_variable_value(&fuel_right) + host_variable_value(&fuel_left)) *
                         host_variable_value(&fuel_weight) * KG_PER_POUND;
    f.fuel_used_kg = f.fuel_reference_kg - f.fuel_on_board_kg;
    if (f.fuel_used_kg < 0) {    // refuelled: counting starts again
        f.fuel_used_kg = 0;
        f.fuel_reference_kg = f.fuel_on_board_kg;
    }

    bool powered = power == 2;
    bool point = powered && f.fuel_display_page != PAGE_REFERENCE_SPEED && f.weight_valid != 0;
    show_element_if(gauge_element(gauge, {FF_DECIMAL_POINT}), point);
    show_element_if(gauge_element(gauge, {FF_LEFT}), powered);
    show_element_if(gauge_element(gauge, {FF_RIGHT}), powered);
    show_element_if(gauge_element(gauge, {FF_CENTRE}), powered);
    const LightingPair face_pair[] = {{gauge_base(gauge), gauge_element(gauge, {FF_FACE_LIT})}};
    apply_panel_lighting(face_pair);
}

static void FS_CALL fuel_flow_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: fuel_flow_install(); break;
    case SERVICE_UPDATE: fuel_flow_update(gauge); break;
    case SERVICE_KILL: fuel_flow_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(Fuel_Flow, fuel_flow_elements, fuel_flow_rects, fuel_flow_callback);
