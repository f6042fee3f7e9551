// The gauge table of Quillmar and the element helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/host_ops.h"
#include "main_module/gauge_table.h"

extern LinkageRecord<75> Linkage;

namespace {

struct Expected {
    const char* name;
    uint32_t size;
};

// Written out here rather than expanded from the gauge list, so that a
// change to the list shows up as a failure.
const Expected expected_gauges[] = {
    {"System_Simulator", 1}, {"Airspeed", 181}, {"Altimeter", 181}, {"VSI", 181}, {"RMI", 181},
    {"RMI_Selector", 51}, {"DME", 164}, {"Timer", 119}, {"Brake_Pressure_Alternate", 101},
    {"Brake_Pressure_Normal", 101}, {"EFIS_Control_Panel", 207}, {"VHF_NAV_Control_Panel", 80},
    {"Flight_Mode_Panel", 350}, {"Gear", 51}, {"GPWS", 127}, {"GPWS_Light", 18},
    {"Fuel_Quantity", 101}, {"Flaps", 101}, {"Torque1", 35}, {"Torque2", 35}, {"Lo_Pitch1", 22},
    {"Lo_Pitch2", 22}, {"Engine_Rating_Panel", 114}, {"OAT", 25}, {"Np1", 101}, {"Np2", 101},
    {"ITT1", 101}, {"ITT2", 101}, {"Nh1", 101}, {"Nh2", 101}, {"Nl1", 101}, {"Nl2", 101},
    {"Oil_Pressure1", 101}, {"Oil_Pressure2", 101}, {"Oil_Temperature1", 101},
    {"Oil_Temperature2", 101}, {"Fuel_Flow", 97}, {"Standby_Horizon", 256}, {"Feather", 18},
    {"Autopilot_Control_Panel", 181}, {"Cockpit_Lights", 58}, {"Flaps_Lever", 26},
    {"Fuel_Controls", 341}, {"Trim_Elevator", 420}, {"Trim_Aileron", 21}, {"Trim_Rudder", 83},
    {"Throttles", 120}, {"ADF1", 80}, {"ADF2", 80}, {"COM1", 80}, {"COM2", 80},
    {"Transponder1", 80}, {"Transponder2", 80}, {"Flight_Controls_Lock", 56},
    {"Alternate_Gear", 56}, {"External_Lights_and_Cabin", 425}, {"Airconditioning", 173},
    {"Anti-ice", 173}, {"APU", 173}, {"Cabin_Pressure_1", 181}, {"Cabin_Pressure_2", 181},
    {"Cabin_Pressure_3", 78}, {"Emergency_Lights", 114}, {"Fuel", 174}, {"Starter", 177},
    {"Hydraulic", 174}, {"Electric", 177}, {"PropEC", 175}, {"EngineFire1", 177},
    {"EngineFire2", 177}, {"Avionics", 177}, {"Checklist", 500}, {"Push", 425},
    {"Options", 500}, {"Panel_Select", 151},
};

GaugeHeader* find_gauge(const char* name) {
    for (GaugeHeader* const* g = linkage_gauges(&Linkage.head); *g; ++g)
        if (std::strcmp((*g)->name, name) == 0) return *g;
    return nullptr;
}

TEST(GaugeTable, LinkageListsTheGaugesInOrderWithTheirSizes) {
    EXPECT_EQ(Linkage.head.module_id, 0x13u);
    EXPECT_EQ(Linkage.head.flags, 0u);
    EXPECT_EQ(Linkage.head.version, 0u);
    std::vector<GaugeHeader*> gauges;
    for (GaugeHeader* const* g = linkage_gauges(&Linkage.head); *g; ++g) gauges.push_back(*g);
    ASSERT_EQ(gauges.size(), 75u);
    for (size_t i = 0; i < gauges.size(); ++i) {
        SCOPED_TRACE(expected_gauges[i].name);
        EXPECT_STREQ(gauges[i]->name, expected_gauges[i].name);
        EXPECT_EQ(gauges[i]->size, expected_gauges[i].size);
        EXPECT_EQ(gauges[i]->version, GAUGE_VERSION_CALLBACK);
        ASSERT_NE(gauges[i]->elements, nullptr);
        EXPECT_NE(gauges[i]->elements[0], nullptr);
        // Every header carries the module's seven standard routines.
        EXPECT_EQ(gauges[i]->query, gauges[0]->query);
        EXPECT_EQ(gauges[i]->install, gauges[0]->install);
        EXPECT_EQ(gauges[i]->kill, gauges[0]->kill);
        const auto* full = reinterpret_cast<const GaugeHeader700*>(gauges[i]);
        for (uint32_t word : full->reserved_88) EXPECT_EQ(word, 0u);
        for (uint32_t word : gauges[i]->reserved_48) EXPECT_EQ(word, 0u);
    }
}

TEST(GaugeTable, GaugesWithoutCallbackOrMouseList) {
    for (const char* name : {"Cockpit_Lights", "Flaps_Lever", "Trim_Elevator", "Trim_Rudder",
                             "Throttles", "Panel_Select"}) {
        GaugeHeader* g = find_gauge(name);
        ASSERT_NE(g, nullptr) << name;
        EXPECT_EQ(g->callback, nullptr) << name;
    }
    EXPECT_EQ(find_gauge("Trim_Elevator")->mouse_rects, nullptr);
    EXPECT_NE(find_gauge("Trim_Rudder")->mouse_rects, nullptr);
}

TEST(GaugeTable, SystemSimulatorHasItsElementFailuresAndEmptyParent) {
    GaugeHeader* g = find_gauge("System_Simulator");
    ASSERT_NE(g->callback, nullptr);
    ElementHead* base = gauge_base(g);
    EXPECT_EQ(base->type, ELEMENT_STATIC_IMAGE);
    EXPECT_EQ(base->resource, 123);
    EXPECT_EQ(g->elements[1], nullptr);
    ASSERT_NE(base->failures, nullptr);
    int count = 0;
    for (FailureRecord* f = base->failures; f->key != 0; ++f, ++count) {
        EXPECT_EQ(f->key, count + 2);
        EXPECT_EQ(f->action, 0);
    }
    EXPECT_EQ(count, 18);
    MouseRect* r = g->mouse_rects;
    EXPECT_EQ(r[0].type, MOUSE_PARENT);
    EXPECT_EQ(r[1].type, MOUSE_CLOSE);
    EXPECT_EQ(r[2].type, MOUSE_END);
}

TEST(GaugeTable, RoutinesDoNothingBeforeTheHostFillsTheImportTable) {
    ASSERT_EQ(ImportTable.key, 0x0Fu);
    ASSERT_EQ(ImportTable.host_table, nullptr);
    GaugeHeader* g = find_gauge("System_Simulator");
    g->query();
    g->install(0);
    g->update();
    g->draw();
    g->kill();
    SUCCEED();  // no host table: nothing was called, nothing crashed
}

// ------------------------------------------------------------ gauge shapes

// What each built gauge is made of: its elements by type (static image,
// needle, text, slider, icon, moving image, sprite), its child mouse
// rectangles (-1: no mouse rectangle list at all) and whether it has a
// callback. Every gauge of the module has a row once it is built.
struct Shape {
    const char* name;
    int elements[7];
    int rectangles;
    bool callback;
};

const Shape built_gauges[] = {
    {"System_Simulator", {1, 0, 0, 0, 0, 0, 0}, 0, true},
    {"Electric", {6, 0, 2, 0, 12, 0, 0}, 12, true},
    // Overhead systems panels: air conditioning, pressurization, anti-ice,
    // lights and avionics.
    {"Airconditioning", {2, 0, 1, 0, 13, 0, 0}, 16, true},
    {"Cabin_Pressure_1", {2, 6, 0, 0, 0, 0, 0}, 0, true},
    {"Cabin_Pressure_2", {2, 4, 0, 0, 0, 0, 0}, 4, true},
    {"Cabin_Pressure_3", {2, 0, 0, 0, 2, 0, 0}, 5, true},
    {"Anti-ice", {4, 0, 0, 0, 11, 0, 0}, 13, true},
    {"Alternate_Gear", {1, 0, 0, 0, 0, 0, 0}, 1, true},
    {"External_Lights_and_Cabin", {2, 0, 0, 0, 11, 0, 0}, 11, true},
    {"Emergency_Lights", {2, 0, 0, 0, 4, 0, 0}, 4, true},
    {"Avionics", {1, 0, 0, 0, 4, 0, 0}, 4, true},
    // Pedestal controls, fuel and hydraulic panels.
    {"Cockpit_Lights", {1, 0, 0, 0, 1, 0, 0}, 1, false},
    {"Flaps_Lever", {1, 0, 0, 1, 0, 0, 0}, 2, false},
    {"Fuel_Controls", {1, 0, 0, 2, 0, 0, 0}, 2, true},
    {"Trim_Elevator", {1, 0, 0, 2, 0, 0, 0}, -1, false},
    {"Trim_Aileron", {0, 0, 0, 1, 1, 0, 0}, 2, true},
    {"Trim_Rudder", {1, 1, 0, 0, 0, 0, 0}, 2, false},
    {"Throttles", {1, 0, 0, 6, 0, 0, 0}, 2, false},
    {"Flight_Controls_Lock", {1, 0, 0, 0, 0, 0, 0}, 1, true},
    {"Fuel", {2, 0, 2, 0, 8, 0, 0}, 5, true},
    {"Hydraulic", {2, 0, 1, 0, 5, 0, 0}, 6, true},
    // Flight guidance and air data
    {"Airspeed", {2, 7, 0, 0, 0, 0, 0}, 6, true},
    {"Altimeter", {2, 2, 2, 0, 0, 6, 0}, 2, true},
    {"VSI", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Standby_Horizon", {1, 0, 0, 0, 0, 0, 4}, 0, true},
    {"Flight_Mode_Panel", {5, 0, 1, 0, 13, 0, 0}, 21, true},
    {"EFIS_Control_Panel", {2, 0, 0, 0, 4, 0, 0}, 9, true},
    {"VHF_NAV_Control_Panel", {2, 0, 2, 0, 2, 0, 0}, 7, true},
    {"Autopilot_Control_Panel", {1, 0, 0, 0, 1, 0, 0}, 3, true},
    // Navigation instruments: the round dials with their normal/lit face,
    // card, pointer and bezel pairs.
    {"RMI", {4, 4, 0, 0, 0, 0, 2}, 0, true},
    {"RMI_Selector", {3, 0, 0, 0, 4, 0, 0}, 4, true},
    {"DME", {2, 0, 4, 0, 0, 0, 0}, 2, true},
    {"Timer", {2, 2, 2, 0, 1, 0, 0}, 8, true},
    // Gear, flaps, brake pressure and fuel quantity indicators.
    {"Gear", {2, 0, 0, 0, 5, 0, 0}, 1, true},
    {"Flaps", {2, 2, 0, 0, 0, 0, 0}, 2, true},
    {"Brake_Pressure_Normal", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Brake_Pressure_Alternate", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Fuel_Quantity", {2, 2, 1, 0, 0, 0, 0}, 0, true},
    // Radio heads: face, window, two readouts, two legends, the knob.
    {"ADF1", {2, 0, 2, 0, 3, 0, 0}, 10, true},
    {"ADF2", {2, 0, 2, 0, 3, 0, 0}, 10, true},
    {"COM1", {2, 0, 2, 0, 3, 0, 0}, 7, true},
    {"COM2", {2, 0, 2, 0, 3, 0, 0}, 7, true},
    {"Transponder1", {2, 0, 2, 0, 3, 0, 0}, 7, true},
    {"Transponder2", {2, 0, 2, 0, 3, 0, 0}, 7, true},
    // Engines: instruments, rating panel, start, propeller and fire panels.
    {"Torque1", {3, 0, 1, 2, 0, 2, 0}, 0, true},
    {"Torque2", {3, 0, 1, 2, 0, 2, 0}, 0, true},
    {"Lo_Pitch1", {1, 0, 0, 0, 0, 0, 0}, 0, true},
    {"Lo_Pitch2", {1, 0, 0, 0, 0, 0, 0}, 0, true},
    {"Engine_Rating_Panel", {14, 0, 1, 0, 0, 0, 0}, 8, true},
    {"OAT", {0, 0, 1, 0, 0, 0, 0}, 0, true},
    {"Np1", {3, 2, 1, 0, 0, 0, 0}, 0, true},
    {"Np2", {3, 2, 1, 0, 0, 0, 0}, 0, true},
    {"ITT1", {2, 2, 1, 0, 0, 0, 0}, 0, true},
    {"ITT2", {2, 2, 1, 0, 0, 0, 0}, 0, true},
    {"Nh1", {3, 2, 1, 0, 0, 0, 0}, 0, true},
    {"Nh2", {3, 2, 1, 0, 0, 0, 0}, 0, true},
    {"Nl1", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Nl2", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Oil_Pressure1", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Oil_Pressure2", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Oil_Temperature1", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Oil_Temperature2", {2, 2, 0, 0, 0, 0, 0}, 0, true},
    {"Fuel_Flow", {3, 0, 3, 0, 0, 0, 0}, 5, true},
    {"Feather", {0, 0, 0, 0, 1, 0, 0}, 0, true},
    {"Starter", {3, 0, 0, 0, 4, 0, 0}, 5, true},
    {"PropEC", {1, 0, 0, 0, 2, 0, 0}, 0, true},
    {"EngineFire1", {1, 0, 0, 0, 3, 0, 0}, 4, true},
    {"EngineFire2", {1, 0, 0, 0, 3, 0, 0}, 4, true},
    // The crew: GPWS and its lamp, the APU, the checklist, push, options and
    // panel selector pages.
    {"GPWS", {1, 0, 0, 0, 1, 0, 0}, 3, true},
    {"GPWS_Light", {0, 0, 0, 0, 1, 0, 0}, 0, true},
    {"APU", {2, 0, 0, 0, 4, 0, 0}, 4, true},
    {"Checklist", {1, 0, 0, 2, 11, 0, 0}, 11, true},
    {"Push", {1, 0, 1, 0, 0, 0, 0}, 6, true},
    {"Options", {1, 0, 0, 0, 2, 0, 0}, 2, true},
    {"Panel_Select", {1, 0, 0, 0, 0, 0, 0}, 5, false},
};

struct Counted {
    int elements[7] = {};
    int rectangles = -1;
    int parents = 0;
};

Counted count_gauge(GaugeHeader* g) {
    Counted c;
    std::vector<ElementHead*> stack;
    for (ElementHead** e = g->elements; e && *e; ++e) stack.push_back(*e);
    while (!stack.empty()) {
        ElementHead* e = stack.back();
        stack.pop_back();
        if (e->type < 7) ++c.elements[e->type];
        for (ElementHead** child = e->next; child && *child; ++child) stack.push_back(*child);
    }
    if (g->mouse_rects) {
        c.rectangles = 0;
        for (MouseRect* r = g->mouse_rects; r->type != MOUSE_END; ++r) {
            if (r->type == MOUSE_CHILD) ++c.rectangles;
            if (r->type == MOUSE_PARENT) ++c.parents;
        }
    }
    return c;
}

TEST(GaugeTable, BuiltGaugesHaveTheirElementsRectanglesAndCallback) {
    for (const Shape& shape : built_gauges) {
        SCOPED_TRACE(shape.name);
        GaugeHeader* g = find_gauge(shape.name);
        ASSERT_NE(g, nullptr);
        Counted c = count_gauge(g);
        for (int type = 0; type < 7; ++type)
            EXPECT_EQ(c.elements[type], shape.elements[type]) << "elements of type " << type;
        EXPECT_EQ(c.rectangles, shape.rectangles);
        if (c.rectangles >= 0) {
            EXPECT_EQ(c.parents, 1);
        }
        EXPECT_EQ(g->callback != nullptr, shape.callback);
    }
}

// Once every gauge is built, the module as a whole holds the simulator's
// counts: 152 static images, 60 needles, 44 texts, 18 sliders, 152 icons,
// 10 moving images and 6 sprites; 74 mouse rectangle lists with 263 child
// rectangles.
TEST(GaugeTable, EveryGaugeIsBuilt) {
    const size_t gauges = sizeof(expected_gauges) / sizeof(expected_gauges[0]);
    if (sizeof(built_gauges) / sizeof(built_gauges[0]) < gauges)
        GTEST_SKIP() << "panels still being built";
    Counted total;
    int lists = 0;
    total.rectangles = 0;
    for (const Expected& e : expected_gauges) {
        Counted c = count_gauge(find_gauge(e.name));
        for (int type = 0; type < 7; ++type) total.elements[type] += c.elements[type];
        if (c.rectangles >= 0) {
            ++lists;
            total.rectangles += c.rectangles;
        }
    }
    const int expected_types[7] = {152, 60, 44, 18, 152, 10, 6};
    for (int type = 0; type < 7; ++type)
        EXPECT_EQ(total.elements[type], expected_types[type]) << "elements of type " << type;
    EXPECT_EQ(lists, 74);
    EXPECT_EQ(total.rectangles, 263);
}

TEST(ElementHelpers, HideAndShowTouchOnlyTheHiddenBit) {
    ElementHead e = element_head(nullptr, ELEMENT_ICON, {.bitmap = 200, .x = 1, .y = 2, .flags = 7});
    hide_element(&e);
    EXPECT_EQ(e.image_flags, 7u | IMAGE_HIDDEN);
    EXPECT_TRUE(element_hidden(&e));
    hide_element(&e);
    EXPECT_EQ(e.image_flags, 7u | IMAGE_HIDDEN);
    show_element(&e);
    EXPECT_EQ(e.image_flags, 7u);
    show_element_if(&e, false);
    EXPECT_TRUE(element_hidden(&e));
}

TEST(ElementHelpers, ReachElementsThroughTheTree) {
    ElementHead leaf_a = element_head(nullptr, ELEMENT_ICON, {.bitmap = 1});
    ElementHead leaf_b = element_head(nullptr, ELEMENT_ICON, {.bitmap = 2});
    ElementHead* inner_children[] = {&leaf_a, &leaf_b, nullptr};
    ElementHead inner = element_head(nullptr, ELEMENT_STATIC_IMAGE, {.bitmap = 3, .children = inner_children});
    ElementHead* base_children[] = {&inner, nullptr};
    ElementHead base = element_head(nullptr, ELEMENT_STATIC_IMAGE, {.bitmap = 4, .children = base_children});
    ElementHead* list[] = {&base, nullptr};
    GaugeHeader700 g = main_gauge_header("t", list, 10, nullptr, nullptr);
    EXPECT_EQ(gauge_base(&g.h), &base);
    EXPECT_EQ(gauge_element(&g.h, {0}), &inner);
    EXPECT_EQ(gauge_element(&g.h, {0, 1}), &leaf_b);
    EXPECT_EQ(gauge_element(&g.h, {0, 2}), nullptr);
    EXPECT_EQ(gauge_element(&g.h, {1, 0}), nullptr);
}

}  // namespace
