// The horizontal situation display's decisions: readout texts, NAV source
// title, bearing needle directions, heading arrows beside the arc, compass
// letter fonts, tick ends and the geometry.
#include <gtest/gtest.h>

#include <string>

#include "ehsi/ehsi_logic.h"

namespace {

std::string speed(double knots) {
    char text[32];
    ehsi_speed_text(text, sizeof text, knots);
    return text;
}

std::string time_to_go(double miles, double knots) {
    char text[32];
    ehsi_time_to_go_text(text, sizeof text, miles, knots);
    return text;
}

std::string distance(double miles) {
    char text[32];
    ehsi_distance_text(text, sizeof text, miles);
    return text;
}

}  // namespace

TEST(EhsiReadouts, GroundSpeedLimitedAndDashedWhenInvalid) {
    EXPECT_EQ(speed(1234), "999.0");
    EXPECT_EQ(speed(250.26), "250.3");
    EXPECT_EQ(speed(12.34), " 12.3");
    EXPECT_EQ(speed(-1), "---.-");
}

TEST(EhsiReadouts, DistanceDashedWhenInvalid) {
    EXPECT_EQ(distance(-1), "---.-");
    EXPECT_EQ(distance(7.25), "  7.2");
    EXPECT_EQ(distance(123.45), "123.5");
}

TEST(EhsiReadouts, TimeToGoInMinutesAndSeconds) {
    EXPECT_EQ(time_to_go(12, 240), "03:00");
    EXPECT_EQ(time_to_go(10, 130), "04:36");   // 276.9 s
    EXPECT_EQ(time_to_go(0, 150), "00:00");
    EXPECT_EQ(time_to_go(166.6, 100), "99:57");
    EXPECT_EQ(time_to_go(12, -1), "--:--");
}

TEST(EhsiReadouts, TimeToGoThatCannotBeToldIsDashed) {
    EXPECT_EQ(time_to_go(12, 0), "--:--");       // standing still: no time
    EXPECT_EQ(time_to_go(-1, 240), "--:--");     // no distance
    EXPECT_EQ(time_to_go(200, 100), "--:--");    // 120 minutes do not fit
    EXPECT_EQ(time_to_go(1, 1e-300), "--:--");
}

TEST(EhsiNavSource, ReceiverAndTitle) {
    EXPECT_EQ(ehsi_nav_receiver(1), 1);
    EXPECT_EQ(ehsi_nav_receiver(2), 2);
    EXPECT_EQ(ehsi_nav_receiver(0), 2);   // anything but 1 is NAV 2
    EXPECT_STREQ(ehsi_nav_title(1, 1), "VOR1");
    EXPECT_STREQ(ehsi_nav_title(1, 3), "LOC1");
    EXPECT_STREQ(ehsi_nav_title(2, 2 | 1), "LOC2");
    EXPECT_STREQ(ehsi_nav_title(2, 4 | 1), "VOR2");
    EXPECT_FALSE(ehsi_is_localizer(5));
    EXPECT_TRUE(ehsi_is_localizer(6));
}

TEST(EhsiNeedles, NeedleOneFromTheRadialOrTheAdf) {
    double angle = -999;
    // Radial 0 (north of the station) at heading 0: the station lies behind, 180.
    ASSERT_TRUE(ehsi_needle1_angle(1, 1, 0, 0, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 180);
    // Radial 270 at heading 10: 270 - 10 + 180 = 440, less 360.
    ASSERT_TRUE(ehsi_needle1_angle(1, 1, 49152, 10, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 80);
    // Exactly 360 stays 360.
    ASSERT_TRUE(ehsi_needle1_angle(1, 1, 32768, 0, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 360);
    ASSERT_TRUE(ehsi_needle1_angle(2, 0, 0, 0, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 45);
}

TEST(EhsiNeedles, NoDirectionWhenOffOrWithoutSignal) {
    double angle = 123;
    EXPECT_FALSE(ehsi_needle1_angle(0, 1, 0, 0, 45, &angle));
    EXPECT_FALSE(ehsi_needle1_angle(1, 0, 0, 0, 45, &angle));
    EXPECT_FALSE(ehsi_needle1_angle(1, -4, 0, 0, 45, &angle));
    EXPECT_FALSE(ehsi_needle2_angle(0, 10, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 123);
    ASSERT_TRUE(ehsi_needle2_angle(1, 10, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 10);
    ASSERT_TRUE(ehsi_needle2_angle(2, 10, 45, &angle));
    EXPECT_DOUBLE_EQ(angle, 45);
}

TEST(EhsiOffArcArrow, ChosenByTheSelectedHeadingsSide) {
    EXPECT_EQ(ehsi_off_arc_arrow(90, 0), 1);     // 90 right of the heading
    EXPECT_EQ(ehsi_off_arc_arrow(47, 0), 0);     // still on the arc
    EXPECT_EQ(ehsi_off_arc_arrow(47.5, 0), 1);
    EXPECT_EQ(ehsi_off_arc_arrow(179.9, 0), 1);
    EXPECT_EQ(ehsi_off_arc_arrow(180, 0), -1);   // straight behind: left
    EXPECT_EQ(ehsi_off_arc_arrow(312.9, 0), -1);
    EXPECT_EQ(ehsi_off_arc_arrow(313, 0), 0);
    EXPECT_EQ(ehsi_off_arc_arrow(80, 350), 1);   // across north
    EXPECT_EQ(ehsi_off_arc_arrow(300, 10), -1);
    EXPECT_EQ(ehsi_off_arc_arrow(10, 10), 0);
}

TEST(EhsiRose, LetterFontsTurnWithTheHeading) {
    EXPECT_EQ(ehsi_letter_escapement(0, 0), 1);        // "N" at heading 0: 1, not 0
    EXPECT_EQ(ehsi_letter_escapement(45, 0), 450);
    EXPECT_EQ(ehsi_letter_escapement(0, 30), 3300);
    EXPECT_EQ(ehsi_letter_escapement(90, 90), 3600);
    EXPECT_EQ(ehsi_letter_escapement(10.57, 270), 1005);
}

TEST(EhsiRose, TickEndsRoundedToWholeUnits) {
    EhsiGridPoint top = ehsi_tick_end(55, 0);
    EXPECT_EQ(top.x, 0);
    EXPECT_EQ(top.y, -55);
    EhsiGridPoint five = ehsi_tick_end(59, 5);   // (5.14, -58.78)
    EXPECT_EQ(five.x, 5);
    EXPECT_EQ(five.y, -59);
    EhsiGridPoint east = ehsi_tick_end(118, 90);
    EXPECT_EQ(east.x, 118);
    EXPECT_EQ(east.y, 0);
}

TEST(EhsiGeometry, FullSizeWindowAndTurnedSymbols) {
    EhsiGeometry g = ehsi_geometry(214, 173);
    EXPECT_EQ(ehsi_point(g, 18, 0).x, 18);
    EXPECT_EQ(ehsi_point(g, 196, 0).x, 196);   // top edge spans the full width
    EXPECT_EQ(ehsi_point(g, 196, 62).y, 61);   // 1/173 is kept a hair short
    EhsiGeometry half = ehsi_geometry(107, 86);
    EXPECT_EQ(ehsi_point(half, 196, 62).x, 98);
    EXPECT_EQ(ehsi_point(half, 196, 62).y, 30);

    // A symbol pointing up turned by 90 degrees points right.
    EhsiTurn right = ehsi_turn(g, 90, g.cx, g.cy);
    DrawPoint tip = ehsi_turned(right, 0, -51);
    EXPECT_EQ(tip.x, 158);
    EXPECT_EQ(tip.y, 86);
    // Ticks are scaled before they are turned: on a flat gauge that differs.
    EhsiGeometry flat = ehsi_geometry(428, 173);
    EhsiTurn quarter = ehsi_turn(flat, 90, flat.cx, flat.cy);
    EXPECT_EQ(ehsi_turned(quarter, 0, -50).x - int(flat.cx), 100);
    EXPECT_NEAR(ehsi_scaled_then_turned(quarter, 0, -50).x - int(flat.cx), 50, 1);
}
