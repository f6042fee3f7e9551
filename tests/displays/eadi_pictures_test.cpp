// The attitude display module driven as the host drives it, its picture
// checked by pixel probes at places the geometry fixes. The tests also leave
// PNGs of the states they check in the picture folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "display_host.h"
#include "eadi/eadi_state.h"
#include "platform/shared_memory.h"

namespace {

constexpr Rgb SKY{70, 70, 255}, GROUND{170, 130, 90}, MAGENTA{210, 0, 190}, AMBER{255, 140, 0},
    GREEN{0, 255, 0};

// Height in metres that gives the radio altitude in feet over ground 0.
double metres_for(double feet) { return feet / 3.280833; }

class EadiPicture : public ::testing::Test {
protected:
    void start(int32_t width, int32_t height) {
        display_host_reset(width, height);
        display_install();
        // Quillmar's side: power available, symbol generator on, no decision height.
        display_set_channel(CHANNEL_EL_PWR_AVAIL, 2);
        display_set_channel(CHANNEL_AVIONICS, 1);
        display_set_channel(CHANNEL_DH, 10);
        display_set_variable(73, metres_for(5000));
    }
    void SetUp() override { start(214, 173); }
    void TearDown() override { display_kill(); }
};

TEST_F(EadiPicture, WingsLevelShowsSkyAboveAndGroundBelow) {
    display_frame();
    save("eadi_wings_level");
    EXPECT_TRUE(is(140, 50, SKY));
    EXPECT_TRUE(is(80, 50, SKY));
    EXPECT_TRUE(is(140, 120, GROUND));
    EXPECT_TRUE(is(80, 120, GROUND));
    // The horizon line crosses the sphere at the centre's height.
    EXPECT_TRUE(is(140, 86, WHITE));
    // Outside the sphere's window the picture stays black.
    EXPECT_TRUE(is(20, 60, BLACK));
    EXPECT_TRUE(is(60, 30, BLACK));
}

TEST_F(EadiPicture, PitchMovesTheHorizon) {
    display_set_variable(78, -10);   // nose up: horizon 30 units lower
    display_frame();
    EXPECT_TRUE(is(140, 110, SKY));
    EXPECT_TRUE(is(140, 116, WHITE));   // horizon line at 86.5 + 30
    display_set_variable(78, 10);    // nose down: horizon 30 units higher
    display_frame();
    EXPECT_TRUE(is(140, 62, GROUND));
    EXPECT_TRUE(is(140, 50, SKY));
}

// At 171 x 138, the size the display is made for, the pitch ladder reads
// true: 10 degrees nose up puts the horizon on row 88 and brings the line
// labelled 10 onto the aircraft symbol's centre row.
TEST_F(EadiPicture, LadderReadsTrueAtTheDisplaysOwnSize) {
    display_kill();
    start(171, 138);
    display_set_variable(78, -10);
    display_frame();
    save("eadi_171_nose_up_10");
    int horizon = -1;
    for (int y = 32; y < 112 && horizon < 0; ++y)
        if (is(111, y, WHITE)) horizon = y;
    EXPECT_NEAR(horizon, 88, 1);
    EXPECT_TRUE(is(111, horizon - 2, SKY));
    EXPECT_TRUE(is(111, horizon + 2, GROUND));

    // Column 79 crosses the long ladder lines left of the symbol's centre
    // (85, 69) and clear of its chevron.
    double reached = 0;
    for (int twentieths = 140; twentieths <= 240 && reached == 0; ++twentieths) {
        display_set_variable(78, -twentieths / 20.0);
        display_frame();
        if (is(79, 69, WHITE)) reached = twentieths / 20.0;
    }
    EXPECT_NEAR(reached, 10.0, 0.5);
}

TEST_F(EadiPicture, BankTurnsTheHorizon) {
    display_set_variable(80, 30);   // horizon turns clockwise on the display
    display_frame();
    EXPECT_TRUE(is(140, 95, SKY));      // right side: horizon at 86.5 + 33 tan 30 = 105.5
    EXPECT_TRUE(is(140, 112, GROUND));
    EXPECT_TRUE(is(74, 78, GROUND));    // left side: horizon at 86.5 - 33 tan 30 = 67.5
    EXPECT_TRUE(is(74, 60, SKY));
}

TEST_F(EadiPicture, BlankWithoutPowerOrSymbolGenerator) {
    display_set_channel(CHANNEL_EL_PWR_AVAIL, 0);
    display_frame();
    save("eadi_before_power");
    EXPECT_EQ(lit_pixels(), 0);

    display_set_channel(CHANNEL_EL_PWR_AVAIL, 1);   // source transfer in progress
    display_frame();
    EXPECT_EQ(lit_pixels(), 0);

    display_set_channel(CHANNEL_EL_PWR_AVAIL, 2);
    display_frame();
    EXPECT_GT(lit_pixels(), 5000);

    display_set_channel(CHANNEL_AVIONICS, 0);
    display_frame();
    EXPECT_EQ(lit_pixels(), 0);
}

TEST_F(EadiPicture, FlightDirectorBarsOnlyWhenOnAndNotCancelled) {
    display_set_variable(80, -15);   // banked climb, director asking for a little more
    display_set_variable(78, -5);
    display_set_variable(794, -20);
    display_set_variable(793, -7);
    display_frame();
    EXPECT_EQ(count(0, 0, 214, 173, MAGENTA), 0);

    display_set_variable(792, 1);
    display_frame();
    save("eadi_banked_climb_director");
    int bars = count(60, 70, 154, 110, MAGENTA);
    EXPECT_GT(bars, 40);
    EXPECT_EQ(count(0, 0, 214, 173, MAGENTA), bars);

    display_set_channel(CHANNEL_FD_CANCEL, 1);
    display_frame();
    EXPECT_EQ(count(0, 0, 214, 173, MAGENTA), 0);
}

TEST_F(EadiPicture, FlightDirectorBarsSitOnTheCommand) {
    display_set_variable(792, 1);
    display_frame();   // command equals attitude: both bars level at the centre
    EXPECT_TRUE(is(83, 91, MAGENTA));    // inside the left bar
    EXPECT_TRUE(is(131, 91, MAGENTA));   // inside the right bar
    display_set_variable(793, 20);       // 20 degrees lower: bars 20 units down
    display_frame();
    EXPECT_FALSE(is(83, 91, MAGENTA));
    EXPECT_TRUE(is(83, 111, MAGENTA));
}

TEST_F(EadiPicture, DecisionHeightAlertAtOrBelowIt) {
    display_set_channel(CHANNEL_DH, 200);
    display_set_variable(73, metres_for(215.5));
    display_frame();
    EXPECT_EQ(count(146, 150, 214, 173, AMBER), 0);

    display_set_variable(73, metres_for(195.5));
    display_set_variable(44, 1);     // glideslope signal: box around the alert
    display_set_variable(41, 6);
    display_set_variable(40, 8);
    display_set_variable_int(354, 2);   // middle marker
    display_set_channel(CHANNEL_AP_LATERAL_MODE, LATERAL_VAPP);
    display_set_channel(CHANNEL_AP_VERTICAL_MODE, VERTICAL_GS);
    display_frame();
    save("eadi_approach_decision_height");
    EXPECT_GT(count(148, 154, 170, 172, AMBER), 15);
    EXPECT_TRUE(is(146, 160, WHITE));    // left side of the box
    EXPECT_TRUE(is(160, 170, WHITE));    // bottom of the box
    // Middle marker letter in amber, and the glideslope pointer in green.
    EXPECT_GT(count(167, 130, 180, 147, AMBER), 5);
    EXPECT_GT(count(181, 70, 200, 100, GREEN), 20);

    display_set_channel(CHANNEL_DH, 10);   // 10 means no decision height
    display_frame();
    EXPECT_EQ(count(146, 150, 214, 173, AMBER), 0);
}

TEST_F(EadiPicture, ModeBoxOutlivesAModeThatDropsOut) {
    display_set_variable(557, 100);
    display_set_channel(CHANNEL_AP_LATERAL_MODE, LATERAL_HDG);
    display_frame();
    EXPECT_TRUE(is(60, 8, WHITE));            // top of the lateral box
    display_set_variable(557, 101);
    display_set_channel(CHANNEL_AP_LATERAL_MODE, 0);
    display_frame();
    save("eadi_mode_box_after_drop_out");
    EXPECT_TRUE(is(60, 8, WHITE));            // the place is empty, the box stays
    EXPECT_EQ(count(50, 10, 85, 23, GREEN), 0);
    display_set_variable(557, 105);
    display_frame();
    EXPECT_FALSE(is(60, 8, WHITE));           // 5 units after the mode engaged
}

TEST_F(EadiPicture, HalfSizeGaugeHalvesEveryCoordinate) {
    display_kill();
    start(107, 86);
    display_frame();
    save("eadi_half_size");
    EXPECT_TRUE(is(70, 25, SKY));
    EXPECT_TRUE(is(70, 60, GROUND));
    EXPECT_TRUE(is(70, 43, WHITE));      // horizon at 43.25
    EXPECT_TRUE(is(10, 30, BLACK));
    EXPECT_EQ(display_host.image.width, 107);
}

// The reference picture was drawn by the Linux build. Under Windows the same
// scene is drawn by GDI: shapes must agree, the fonts differ a little. The
// test prints how many pixels differ and leaves the picture it drew in the
// picture folder (copy it into tests/displays/reference/ to renew the reference).
TEST_F(EadiPicture, MatchesTheReferencePicture) {
    display_set_variable(80, 10);
    display_set_variable(78, -3);
    display_set_variable(792, 1);
    display_set_variable(794, 15);
    display_set_variable(793, -4);
    display_set_variable(73, metres_for(195.5));
    display_set_variable(44, 1);
    display_set_variable(41, -9);
    display_set_variable(40, 20);
    display_set_variable_int(354, 2);
    display_set_variable(103, 1);
    display_set_variable(116, 160);
    display_set_channel(CHANNEL_DH, 200);
    display_set_channel(CHANNEL_AIR_DATA, 1);
    display_set_channel(CHANNEL_AP_LATERAL_MODE, LATERAL_HDG);
    display_set_channel(CHANNEL_AP_VERTICAL_MODE, VERTICAL_GS | VERTICAL_ALT);
    display_frame();
    save("eadi_reference_scene");
    display_check_reference("EADI", "eadi");
}

// ------------------------------------------------------------ module frame

TEST_F(EadiPicture, DrawsOnEverySecondCallOnly) {
    ElementHead* element = display_gauge()->elements[0];
    display_gauge()->update();
    int flag_before = eadi.draw_flag;
    int draws_before = display_host.draws;
    for (int call = 0; call < 4; ++call) {
        display_gauge()->draw();
        bool drew = ((flag_before + call) % 2) == 1;
        EXPECT_EQ((element->image_flags & IMAGE_UNCHANGED) == 0, drew) << call;
        EXPECT_EQ(element->image_flags & ~IMAGE_UNCHANGED, 6u);   // other flag bits kept
    }
    EXPECT_EQ(display_host.draws, draws_before + 4);   // the host draws on every call

    // A picture appears only on the drawing call.
    if (eadi.draw_flag == 0) display_gauge()->draw();   // next call draws
    std::fill(display_host.pixels.begin(), display_host.pixels.end(), 0);
    display_gauge()->draw();
    EXPECT_TRUE(is(140, 50, SKY));
    std::fill(display_host.pixels.begin(), display_host.pixels.end(), 0);
    display_gauge()->draw();
    EXPECT_TRUE(is(140, 50, BLACK));
}

TEST_F(EadiPicture, CopiesAllRowsButTheLastThroughTheImagePitch) {
    std::fill(display_host.pixels.begin(), display_host.pixels.end(), uint16_t(0x7FFF));
    display_set_channel(CHANNEL_EL_PWR_AVAIL, 0);
    display_frame();
    const HostImage& image = display_host.image;
    for (int x = 0; x < image.width; ++x) {
        EXPECT_TRUE(is(x, image.height - 2, BLACK)) << x;
        EXPECT_TRUE(is(x, image.height - 1, WHITE)) << x;   // never written
    }
    // The padding behind each row is the host's and stays untouched.
    EXPECT_EQ(display_host.pixels[image.width], 0x7FFF);
}

TEST_F(EadiPicture, InstallHandsTheHostTheMouseListAndPreparesVariables) {
    EXPECT_EQ(display_host.installs, 1);
    EXPECT_EQ(display_host.mouse_installs, 1);
    EXPECT_EQ(display_host.mouse_registers, 1);
    EXPECT_EQ(display_host.mouse_size, &display_host.image.width);
    ASSERT_NE(display_host.mouse_list, nullptr);
    EXPECT_EQ(display_host.mouse_list[0].type, MOUSE_PARENT);
    EXPECT_EQ(display_host.mouse_list[1].type, MOUSE_CLOSE);
    EXPECT_EQ(display_host.mouse_list[2].type, MOUSE_END);
    const std::vector<uint32_t> order = {80, 78, 41, 44, 40, 70, 354, 73, 2, 116, 120, 103, 792, 793, 794, 557};
    EXPECT_EQ(display_host.initialized, order);
}

TEST_F(EadiPicture, InstallPublishesTheAvionicsSwitchFromThePanelStateFile) {
    // No panel state file here: the default 0 is read and published.
    display_kill();
    display_host_reset(214, 173);
    display_set_channel(CHANNEL_AVIONICS, 1);
    display_install();
    int published = -1;
    ASSERT_TRUE(channel_read(&display_host.channels, CHANNEL_AVIONICS, &published));
    EXPECT_EQ(published, 0);
    EXPECT_EQ(eadi.avionics, 0);
}

TEST_F(EadiPicture, KillReleasesEveryChannelAndDrawingResource) {
    for (int i = 0; i < eadi_channels.count; ++i) {
        EXPECT_NE(eadi.channels.at[eadi_channels.ids[i]].view, nullptr);
    }
    display_kill();
    EXPECT_EQ(display_host.mouse_unregisters, 1);
    EXPECT_EQ(display_host.kills, 1);
    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        EXPECT_EQ(eadi.channels.at[id].handle, nullptr) << id;
        EXPECT_EQ(eadi.channels.at[id].view, nullptr) << id;
    }
    // With every participant gone the sections are gone: opening one again
    // creates it afresh.
    for (int i = 0; i < eadi_channels.count; ++i) {
        SharedSection* section = shared_section_create(channel_table[eadi_channels.ids[i]].name, 12);
        EXPECT_FALSE(shared_section_existed()) << channel_table[eadi_channels.ids[i]].name;
        shared_section_close(section);
    }
    EXPECT_EQ(eadi.surface, nullptr);
    EXPECT_EQ(eadi.device, nullptr);
    EXPECT_EQ(eadi.ladder_font, nullptr);
    for (DrawPen* pen : eadi.pens) EXPECT_EQ(pen, nullptr);
    for (DrawFont* font : eadi.fonts) EXPECT_EQ(font, nullptr);
    start(214, 173);   // TearDown kills again
}

}  // namespace
