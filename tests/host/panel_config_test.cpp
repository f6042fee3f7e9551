// The panel configuration reader and the built-in panel.
#include <gtest/gtest.h>

#include <map>

#include "host/panel_config.h"
#include "main_module/gauge_list.h"

TEST(PanelConfig, WindowsTitlesAndGaugeLines) {
    PanelConfig c = parse_panel_config(
        "[Window Titles]\nWindow00=Main Panel\n\n[Window00]\nident=7\nvisible=0\nsize_mm=640,480\n"
        "gauge00=Quillmar!Airspeed, 10, 20\ngauge01=Quillmar!DME, 1, 2, 164\n"
        "gauge02 = Quillmar_EADI!Quillmar_EADI , 3, 4, 171, 138\n// a comment\n; another\n"
        "[Window01]\ngauge00=Quillmar!Gear,0,0\n",
        "p.cfg");
    ASSERT_EQ(c.windows.size(), 2u);
    EXPECT_TRUE(c.warnings.empty());
    const PanelWindow& w = c.windows[0];
    EXPECT_EQ(w.title, "Main Panel");
    EXPECT_EQ(w.ident, 7);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.width, 640);
    ASSERT_EQ(w.gauges.size(), 3u);
    EXPECT_EQ(w.gauges[0].module, "Quillmar");
    EXPECT_EQ(w.gauges[0].gauge, "Airspeed");
    EXPECT_EQ(w.gauges[0].x, 10);
    EXPECT_EQ(w.gauges[0].width, 0);
    EXPECT_EQ(w.gauges[1].width, 164);
    EXPECT_EQ(w.gauges[1].height, 0);
    EXPECT_EQ(w.gauges[2].gauge, "Quillmar_EADI");
    EXPECT_EQ(w.gauges[2].height, 138);
    EXPECT_EQ(w.gauges[2].line, 10);
    EXPECT_EQ(c.windows[1].title, "Window01");   // no title given
}

TEST(PanelConfig, BadLinesAreSkippedWithTheirLineNumbers) {
    PanelConfig c = parse_panel_config(
        "[Window00]\n"
        "gauge00=QuillmarAirspeed, 1, 2\n"       // 2: no '!'
        "gauge01=Quillmar!Airspeed, 1\n"          // 3: too few numbers
        "gauge02=Quillmar!Airspeed, 1, x\n"       // 4: not a number
        "gauge03=Quillmar!Airspeed, 1, 2, 3, 4, 5\n"   // 5: too many
        "gauge04=Quillmar!Airspeed, 1, 2, -3\n"   // 6: negative size
        "gauge05=Quillmar!Airspeed, 1, 2\n"       // 7: good
        "no equals sign\n"                        // 8
        "[Window01\n",                            // 9
        "bad.cfg");
    ASSERT_EQ(c.windows.size(), 1u);
    ASSERT_EQ(c.windows[0].gauges.size(), 1u);
    EXPECT_EQ(c.windows[0].gauges[0].line, 7);
    ASSERT_EQ(c.warnings.size(), 7u);
    const char* prefixes[] = {"bad.cfg:2:", "bad.cfg:3:", "bad.cfg:4:", "bad.cfg:5:",
                              "bad.cfg:6:", "bad.cfg:8:", "bad.cfg:9:"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(c.warnings[i].rfind(prefixes[i], 0), 0u) << c.warnings[i];
    EXPECT_NE(c.warnings[2].find("'x'"), std::string::npos);
}

TEST(PanelConfig, BuiltInPanelPlacesEveryGaugeOnceWithSimulatorFirst) {
    PanelConfig c = parse_panel_config(default_panel_text(), "panel.cfg");
    EXPECT_TRUE(c.warnings.empty());
    std::map<std::string, int> placed;
    std::string first;
    for (const PanelWindow& w : c.windows)
        for (const GaugePlacement& g : w.gauges) {
            if (first.empty()) first = g.gauge;
            ++placed[g.module + "!" + g.gauge];
            EXPECT_GT(g.width, 0);
            EXPECT_GT(g.height, 0);
        }
    EXPECT_EQ(first, "System_Simulator");
#define CHECK_PLACED(id, name, size) EXPECT_EQ(placed[std::string("Quillmar!") + name], 1) << name;
    QUILLMAR_GAUGES(CHECK_PLACED)
#undef CHECK_PLACED
    EXPECT_EQ(placed["Quillmar_EADI!Quillmar_EADI"], 1);
    EXPECT_EQ(placed["Quillmar_EHSI!Quillmar_EHSI"], 1);
    EXPECT_EQ(placed.size(), 77u);
}
