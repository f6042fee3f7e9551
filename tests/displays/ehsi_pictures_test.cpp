// The horizontal situation display module driven as the host drives it, its
// picture checked by pixel probes at places the geometry fixes. The tests
// also leave PNGs of the states they check in the picture folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "display_host.h"
#include "ehsi/ehsi_state.h"
#include "platform/shared_memory.h"

namespace {

constexpr Rgb CYAN{70, 150, 255}, YELLOW{255, 230, 0}, GREEN{0, 255, 0};

// Host variable ids.
constexpr uint32_t HEADING = 81, SELECTED_HEADING = 107, NAV1_COURSE = 45, NAV2_COURSE = 54,
                   NAV1_FLAGS = 42, NAV2_FLAGS = 51, NAV1_TO_FROM = 43, NAV2_TO_FROM = 52,
                   DME1_DISTANCE = 31, DME1_SPEED = 32, NAV1_RADIAL = 25, ADF_BEARING = 39;

class EhsiPicture : public ::testing::Test {
protected:
    void start(int32_t width, int32_t height) {
        display_host_reset(width, height);
        display_install();
        display_set_channel(CHANNEL_EL_PWR_AVAIL, 2);
        display_set_channel(CHANNEL_AVIONICS, 1);
        display_set_channel(CHANNEL_EFISCP_NAV_SEL, 1);
        display_set_channel(CHANNEL_EFISCP_GSPD_TTS_SEL, 1);
        display_set_channel(CHANNEL_EFISCP_EHSI_MODE, 0);
        display_set_variable(DME1_DISTANCE, -1);
        display_set_variable(DME1_SPEED, -1);
    }
    void SetUp() override { start(214, 173); }
    void TearDown() override { display_kill(); }
};

TEST_F(EhsiPicture, BlankWithoutPowerOrSymbolGenerator) {
    display_set_channel(CHANNEL_EL_PWR_AVAIL, 1);
    display_frame();
    EXPECT_EQ(lit_pixels(), 0);
    display_set_channel(CHANNEL_EL_PWR_AVAIL, 2);
    display_frame();
    EXPECT_GT(lit_pixels(), 1000);
    display_set_channel(CHANNEL_AVIONICS, 0);
    display_frame();
    EXPECT_EQ(lit_pixels(), 0);
}

TEST_F(EhsiPicture, RoseTurnsWithTheHeading) {
    display_frame();
    save("ehsi_full_rose");
    // Heading 0: the long north tick stands straight up, radius 55 to 63.
    EXPECT_TRUE(is(107, 30, WHITE));
    EXPECT_TRUE(is(107, 25, WHITE));
    // Heading 2.5: the long north tick moves left of the top, the short
    // tick of 5 degrees stands right of it (only long ticks reach below radius 59).
    auto turn_to = [](double heading) {
        display_set_variable(HEADING, heading);
        display_set_variable(NAV1_COURSE, heading);
        display_set_variable(SELECTED_HEADING, heading);
        display_frame();
    };
    turn_to(2.5);
    EXPECT_FALSE(is(107, 30, WHITE));
    EXPECT_GT(count(102, 28, 107, 32, WHITE), 2);
    EXPECT_EQ(count(107, 28, 112, 32, WHITE), 0);
    // Heading 357.5: north right of the top.
    turn_to(357.5);
    EXPECT_EQ(count(102, 28, 107, 32, WHITE), 0);
    EXPECT_GT(count(107, 28, 112, 32, WHITE), 2);
}

TEST_F(EhsiPicture, CoursePointerAndHeadingMarkerFollowTheirAngles) {
    display_set_variable(NAV1_COURSE, 90);      // course 90 right of the heading
    display_set_variable(SELECTED_HEADING, 0);
    display_frame();
    EXPECT_GT(count(140, 84, 158, 90, YELLOW), 20);   // pointer head to the right
    EXPECT_EQ(count(104, 36, 111, 60, YELLOW), 0);    // nothing straight up
    EXPECT_GT(count(100, 15, 115, 22, CYAN), 5);      // heading marker at the top
}

TEST_F(EhsiPicture, ToFromTriangleOnlyForAVor) {
    display_set_variable_int(NAV1_FLAGS, 1);
    display_set_variable_int(NAV1_TO_FROM, 1);
    display_frame();
    EXPECT_GT(count(102, 72, 105, 74, WHITE), 0);
    // NAV 2 shown, a localizer: "LOC2" and no triangle.
    display_set_channel(CHANNEL_EFISCP_NAV_SEL, 2);
    display_set_variable_int(NAV2_FLAGS, 2 | 1);
    display_set_variable_int(NAV2_TO_FROM, 1);
    display_frame();
    EXPECT_EQ(count(100, 60, 106, 75, WHITE), 0);
    EXPECT_EQ(count(100, 100, 114, 114, WHITE), 0);
    display_set_variable_int(NAV2_FLAGS, 1);
    display_set_variable_int(NAV2_TO_FROM, 2);
    display_frame();
    EXPECT_GT(count(102, 101, 105, 103, WHITE), 0);   // from: below the aircraft
}

TEST_F(EhsiPicture, BearingNeedlesOnlyWhenSelected) {
    display_set_variable(ADF_BEARING, 270);   // both needles to the left
    display_frame();
    EXPECT_EQ(count(40, 80, 80, 93, CYAN), 0);
    EXPECT_EQ(count(40, 80, 80, 93, GREEN), 0);
    display_set_channel(CHANNEL_EFISCP_NEEDLE1_SEL, 2);
    display_frame();
    EXPECT_GT(count(50, 80, 75, 93, CYAN), 10);
    display_set_channel(CHANNEL_EFISCP_NEEDLE1_SEL, 1);   // VOR 1 without a signal: no needle
    display_set_variable_int(NAV1_FLAGS, 0);
    display_frame();
    EXPECT_EQ(count(50, 80, 75, 93, CYAN), 0);
    display_set_variable_int(NAV1_FLAGS, 1);
    display_set_variable(NAV1_RADIAL, 16384);              // radial 90: station to the west
    display_frame();
    EXPECT_GT(count(50, 80, 75, 93, CYAN), 10);
    display_set_channel(CHANNEL_EFISCP_NEEDLE2_SEL, 2);
    display_frame();
    EXPECT_GT(count(50, 80, 75, 93, GREEN), 10);
    save("ehsi_needles");
}

TEST_F(EhsiPicture, ArcModeHeadingBoxAndOffArcArrows) {
    display_set_channel(CHANNEL_EFISCP_EHSI_MODE, 1);
    display_set_variable(HEADING, 40);
    display_set_variable(NAV1_COURSE, 20);
    display_set_variable(SELECTED_HEADING, 40);
    display_frame();
    EXPECT_TRUE(is(92, 8, WHITE));      // box sides
    EXPECT_TRUE(is(122, 8, WHITE));
    EXPECT_TRUE(is(100, 12, WHITE));    // box bottom (13 x sy, a hair under 13)
    EXPECT_TRUE(is(107, 13, WHITE));    // lubber line, above the heading marker
    EXPECT_GT(count(93, 0, 122, 13, WHITE), 10);   // the heading digits
    EXPECT_EQ(count(18, 40, 32, 56, CYAN), 0);
    EXPECT_EQ(count(182, 40, 196, 56, CYAN), 0);

    display_set_variable(SELECTED_HEADING, 130);   // 90 right: off the arc
    display_frame();
    save("ehsi_arc_heading_off_arc");
    EXPECT_GT(count(182, 40, 196, 56, CYAN), 5);
    EXPECT_EQ(count(18, 40, 32, 56, CYAN), 0);

    display_set_variable(SELECTED_HEADING, 300);   // 100 left
    display_frame();
    EXPECT_GT(count(18, 40, 32, 56, CYAN), 5);
    EXPECT_EQ(count(182, 40, 196, 56, CYAN), 0);
}

TEST_F(EhsiPicture, ArcModeIsClippedToTheDisplayWindow) {
    display_set_channel(CHANNEL_EFISCP_EHSI_MODE, 1);
    display_frame();
    // The ticks 60 degrees either side of the heading fall outside the window.
    EXPECT_EQ(count(0, 40, 18, 135, WHITE), 0);
    EXPECT_EQ(count(197, 40, 214, 135, WHITE), 0);
    // The tick 40 degrees left of the heading lies inside it.
    EXPECT_GT(count(30, 52, 38, 60, WHITE), 0);
}

TEST_F(EhsiPicture, HalfSizeGaugeHalvesEveryCoordinate) {
    display_kill();
    start(107, 86);
    display_set_channel(CHANNEL_EFISCP_EHSI_MODE, 1);
    display_frame();
    save("ehsi_arc_half_size");
    EXPECT_TRUE(is(46, 4, WHITE));   // heading box side at (92, 8) halved
    EXPECT_TRUE(is(61, 4, WHITE));   // right side at (122, 8) halved
}

// The reference picture was drawn by the Linux build. Under Windows the same
// scene is drawn by GDI: shapes must agree, the fonts differ a little. The
// test prints how many pixels differ and leaves the picture it drew in the
// picture folder (copy it into tests/displays/reference/ to renew the reference).
TEST_F(EhsiPicture, MatchesTheReferencePicture) {
    display_set_channel(CHANNEL_EFISCP_EHSI_MODE, 1);
    display_set_channel(CHANNEL_EFISCP_NEEDLE1_SEL, 2);
    display_set_channel(CHANNEL_EFISCP_NEEDLE2_SEL, 1);
    display_set_variable(HEADING, 40);
    display_set_variable(NAV1_COURSE, 20);
    display_set_variable(SELECTED_HEADING, 130);
    display_set_variable(ADF_BEARING, 300);
    display_set_variable(59, 30);
    display_set_variable(40, 30);
    display_set_variable_int(NAV1_FLAGS, 1);
    display_set_variable_int(NAV1_TO_FROM, 1);
    display_set_variable(DME1_DISTANCE, 12.3);
    display_set_variable(DME1_SPEED, 240);
    display_frame();
    save("ehsi_reference_scene");
    display_check_reference("EHSI", "ehsi");
}

TEST_F(EhsiPicture, DrawsOnEverySecondCallOnly) {
    ElementHead* element = display_gauge()->elements[0];
    display_gauge()->update();
    if (ehsi.draw_flag == 0) display_gauge()->draw();
    display_gauge()->draw();
    EXPECT_EQ(element->image_flags, 4u);
    display_gauge()->draw();
    EXPECT_EQ(element->image_flags, 4u | IMAGE_UNCHANGED);
    std::fill(display_host.pixels.begin(), display_host.pixels.end(), 0);
    display_gauge()->draw();
    EXPECT_EQ(element->image_flags, 4u);
    EXPECT_GT(lit_pixels(), 1000);
}

TEST_F(EhsiPicture, NeverPreparesHostVariables) {
    display_frame();
    EXPECT_TRUE(display_host.initialized.empty());
    EXPECT_EQ(display_host.mouse_size, &display_host.image.width);
    EXPECT_EQ(display_host.mouse_registers, 1);
}

TEST_F(EhsiPicture, KillReleasesEveryChannelAndDrawingResource) {
    for (int i = 0; i < ehsi_channels.count; ++i)
        EXPECT_NE(ehsi.channels.at[ehsi_channels.ids[i]].view, nullptr);
    display_kill();
    EXPECT_EQ(display_host.mouse_unregisters, 1);
    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        EXPECT_EQ(ehsi.channels.at[id].handle, nullptr) << id;
        EXPECT_EQ(ehsi.channels.at[id].view, nullptr) << id;
    }
    for (int i = 0; i < ehsi_channels.count; ++i) {
        SharedSection* section = shared_section_create(channel_table[ehsi_channels.ids[i]].name, 6);
        EXPECT_FALSE(shared_section_existed()) << channel_table[ehsi_channels.ids[i]].name;
        shared_section_close(section);
    }
    EXPECT_EQ(ehsi.surface, nullptr);
    EXPECT_EQ(ehsi.letter_font, nullptr);
    for (DrawPen* pen : ehsi.pens) EXPECT_EQ(pen, nullptr);
    for (DrawBrush* brush : ehsi.brushes) EXPECT_EQ(brush, nullptr);
    start(214, 173);
}

}  // namespace
