// The panel's drawing in every frame, as the simulator does it: every shown
// element's value callbacks once in tree order, what looks at values reading
// that evaluation, and the display modules' generate and draw routines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/elements.h"
#include "host/host.h"
#include "host/render.h"

namespace {

std::string calls;   // one letter per callback call
int counts[5];

template <char Letter>
double FS_CALL counted(ElementHead*) {
    calls += Letter;
    return ++counts[Letter - 'a'];
}

// base -> a (icon), b (needle) -> c (icon), d (slider: x then y)
extern GaugeHeader700 made;
constexpr GaugeHeader* MADE = &made.h;
IconElement icon_c = icon(MADE, {.bitmap = 3, .x = 30, .y = 30}, counted<'c'>, 9);
ElementHead* b_children[] = {&icon_c.head, nullptr};
IconElement icon_a = icon(MADE, {.bitmap = 1, .x = 10, .y = 10}, counted<'a'>, 9);
NeedleElement needle_b = needle(MADE, {.bitmap = 2, .x = 20, .y = 20, .children = b_children}, counted<'b'>);
SliderElement slider_d = slider(MADE, {.bitmap = 4, .x = 40, .y = 40}, counted<'d'>, counted<'e'>, 1, 1);
ElementHead* base_children[] = {&icon_a.head, &needle_b.head, &slider_d.head, nullptr};
StaticImageElement base = static_image(MADE, {.bitmap = 100, .children = base_children});
ElementHead* made_elements[] = {&base.head, nullptr};
GaugeHeader700 made = gauge_header("Made", made_elements, 60, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr);

struct PanelDrawing : ::testing::Test {
    HostOptions options;
    std::unique_ptr<Host> host;

    void load(const std::string& panel_text) {
        options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
        host.reset();   // one host at a time
        host = std::make_unique<Host>(options);
        std::string error;
        std::vector<std::string> warnings;
        ASSERT_TRUE(host->prepare(&error)) << error;
        ASSERT_TRUE(host->load(parse_panel_config(panel_text, "p.cfg"), &warnings, &error)) << error;
    }
    GaugeInstance& add_made_gauge() {
        GaugeInstance g;
        g.module = "Test";
        g.name = "Made";
        g.header = &made.h;
        g.width = g.height = 60;
        g.installed = true;
        collect_gauge_elements(g);
        host->gauges().push_back(g);
        return host->gauges().back();
    }
    void SetUp() override {
        calls.clear();
        for (int& c : counts) c = 0;
        needle_b.head.image_flags = 0;
    }
};

}  // namespace

TEST_F(PanelDrawing, EveryShownCallbackOnceAFrameInTreeOrderAndLooksReadThatEvaluation) {
    load("[Window00]\ngauge00=Quillmar!System_Simulator, 0, 0\n");
    GaugeInstance& g = add_made_gauge();
    ASSERT_EQ(g.elements.size(), 5u);
    for (int i = 0; i < 3; ++i) host->frame();
    EXPECT_EQ(calls, "abcdeabcdeabcde");

    // Values, expectations and pictures read this frame's evaluation.
    EXPECT_EQ(host->element_value(g, 1), 3);      // a
    EXPECT_EQ(host->element_value(g, 4), 3);      // d's y
    render_gauge(*host, g);
    render_window(*host, 0);
    EXPECT_EQ(calls.size(), 15u);

    // A hidden element is not drawn; the elements below it still are. Looked
    // at, it is evaluated, once in the frame however often it is looked at.
    hide_element(&needle_b.head);
    host->frame();
    EXPECT_EQ(calls.substr(15), "acde");
    render_gauge(*host, g);
    EXPECT_EQ(calls.size(), 19u);
    EXPECT_EQ(host->element_value(g, 2), 4);
    EXPECT_EQ(host->element_value(g, 2), 4);
    EXPECT_EQ(calls.substr(19), "b");
    host->frame();
    EXPECT_EQ(calls.substr(20), "acde");
    show_element(&needle_b.head);
    host->frame();
    EXPECT_EQ(calls.substr(24), "abcde");
    EXPECT_EQ(host->element_value(g, 2), 5);
}

TEST_F(PanelDrawing, AGaugeLookedAtBeforeItsFirstFrameIsEvaluatedOnce) {
    load("[Window00]\ngauge00=Quillmar!System_Simulator, 0, 0\n");
    GaugeInstance& g = add_made_gauge();
    EXPECT_EQ(host->element_value(g, 1), 1);
    EXPECT_EQ(host->element_value(g, 2), 1);
    render_gauge(*host, g);
    EXPECT_EQ(calls, "abcde");
    host->frame();
    EXPECT_EQ(calls, "abcdeabcde");
}

TEST_F(PanelDrawing, DisplaysDrawEveryFrameUnlessTheOptionSkipsIt) {
    const char* panel = "[Window00]\ngauge00=Quillmar_EADI!Quillmar_EADI, 0, 0, 171, 138\n";
    load(panel);
    GaugeInstance* eadi = host->find_gauge("Quillmar_EADI");
    ASSERT_NE(eadi, nullptr);
    for (int i = 0; i < 5; ++i) host->frame();
    EXPECT_EQ(eadi->draw_calls, 5);
    render_gauge(*host, *eadi);                   // the picture the frames left
    EXPECT_EQ(eadi->draw_calls, 5);

    options.draw_displays = false;
    load(panel);
    eadi = host->find_gauge("Quillmar_EADI");
    for (int i = 0; i < 5; ++i) host->frame();
    EXPECT_EQ(eadi->draw_calls, 0);
    render_gauge(*host, *eadi);                   // drawn when a picture is wanted
    EXPECT_GE(eadi->draw_calls, 1);
    EXPECT_LE(eadi->draw_calls, 2);
}
