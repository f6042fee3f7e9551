// The attitude display's decisions: radio altitude rounding, decision
// height alert, roll pointer limit, ladder font angle, lateral deviation,
// mode annunciations and the mode change boxes.
#include <gtest/gtest.h>

#include <utility>

#include "eadi/eadi_logic.h"
#include "frame/channel.h"

TEST(EadiRadioAltitude, LimitedAndRoundedDown) {
    struct Case {
        double feet;
        int shown;
    } cases[] = {{2600, 2500}, {2500, 2500}, {10, 20}, {-35, 20}, {187, 185},
                 {199.9, 195}, {200, 200},   {209, 200}, {1234, 1230}, {1234.7, 1230}};
    for (const Case& c : cases)
        EXPECT_EQ(int(eadi_radio_altitude_rounded(c.feet)), c.shown) << c.feet;
}

TEST(EadiRadioAltitude, FromAltitudeAndGroundElevation) {
    EXPECT_NEAR(eadi_radio_altitude(1000, 0), 3280.833, 1e-6);
    // Ground 1000 ft up (in host units) over an aircraft at 1000 m.
    EXPECT_NEAR(eadi_radio_altitude(1000, 1000 / 0.0128157), 2280.833, 1e-6);
}

TEST(EadiDecisionHeight, AlertAtOrBelowItOnlyAboveTenFeet) {
    EXPECT_TRUE(eadi_decision_height_alert(195, 200));
    EXPECT_TRUE(eadi_decision_height_alert(200, 200));
    EXPECT_FALSE(eadi_decision_height_alert(215, 200));
    // 10 feet is "no decision height": never an alert, even on the ground.
    EXPECT_FALSE(eadi_decision_height_alert(0, 10));
    // Below 3000 ft the rounded-down height counts: 204 becomes 200, at the
    // decision height; the fraction stays, so 204.9 becomes 200.9, above it.
    EXPECT_TRUE(eadi_decision_height_alert(204, 200));
    EXPECT_FALSE(eadi_decision_height_alert(204.9, 200));
    // On the ground the height shows 20: an alert for any decision height from 20 up.
    EXPECT_TRUE(eadi_decision_height_alert(3, 20));
    EXPECT_FALSE(eadi_decision_height_alert(3000, 1000));
}

TEST(EadiRollPointer, FollowsBankInsideSixtyDegreesAndStopsThere) {
    EXPECT_EQ(eadi_roll_pointer_angle(0), 0);
    EXPECT_EQ(eadi_roll_pointer_angle(59.5), 59.5);
    EXPECT_EQ(eadi_roll_pointer_angle(-59.5), -59.5);
    EXPECT_EQ(eadi_roll_pointer_angle(60), 60);
    EXPECT_EQ(eadi_roll_pointer_angle(75), 60);
    EXPECT_EQ(eadi_roll_pointer_angle(179.9), 60);
    EXPECT_EQ(eadi_roll_pointer_angle(180), -60);
    EXPECT_EQ(eadi_roll_pointer_angle(-60), -60);
    EXPECT_EQ(eadi_roll_pointer_angle(-120), -60);
}

TEST(EadiLadderFont, TurnsAgainstBankAndNeverZero) {
    EXPECT_EQ(eadi_ladder_escapement(0), 1);
    EXPECT_EQ(eadi_ladder_escapement(0.05), 1);   // -0.5 truncates to 0
    EXPECT_EQ(eadi_ladder_escapement(30), -300);
    EXPECT_EQ(eadi_ladder_escapement(-12.34), 123);
}

TEST(EadiLateralDeviation, LocalizerWithGlideslopeOtherwiseLimitedAlternative) {
    EXPECT_DOUBLE_EQ(eadi_lateral_deviation(true, 40, 900), 10);
    EXPECT_DOUBLE_EQ(eadi_lateral_deviation(true, -1000, 0), -250);   // not limited
    EXPECT_DOUBLE_EQ(eadi_lateral_deviation(false, 40, 120), 10);
    EXPECT_DOUBLE_EQ(eadi_lateral_deviation(false, 40, 900), 500.0 / 12);
    EXPECT_DOUBLE_EQ(eadi_lateral_deviation(false, 40, -900), -500.0 / 12);
}

TEST(EadiGeometry, ScalesTheGridAndTruncates) {
    EadiGeometry full = eadi_geometry(214, 173);
    EXPECT_DOUBLE_EQ(full.cx, 107);
    EXPECT_DOUBLE_EQ(full.cy, 86.5);
    EXPECT_EQ(eadi_point(full, 158, 115).x, 158);
    EXPECT_EQ(eadi_point(full, 158, 115).y, 115);
    EadiGeometry half = eadi_geometry(107, 86);
    DrawPoint p = eadi_point(half, 63, 45);
    EXPECT_EQ(p.x, 31);                      // 31.5 truncated
    EXPECT_EQ(p.y, int(45 * 86 / 173.0));    // 22.37 truncated
}

TEST(EadiGeometry, AttitudeLowersByPitchThenTurnsByBank) {
    EadiGeometry g = eadi_geometry(214, 173);
    EadiAttitude level = eadi_attitude(g, 0, 0);
    EXPECT_EQ(eadi_sphere_point(level, 0, 0).x, 107);
    EXPECT_EQ(eadi_sphere_point(level, 0, 0).y, 86);
    // Ten degrees of (nose-down positive) pitch lifts the horizon 30 units.
    EadiAttitude nose_down = eadi_attitude(g, 10, 0);
    EXPECT_EQ(eadi_sphere_point(nose_down, 0, 0).y, 56);
    // Bank 90: a point right of the centre goes straight below it.
    EadiAttitude banked = eadi_attitude(g, 0, 90);
    DrawPoint p = eadi_sphere_point(banked, 50, 0);
    EXPECT_EQ(p.x, 107);
    EXPECT_EQ(p.y, 136);
    // Pitch applies before the turn: with bank 90 the pitch moves sideways.
    EadiAttitude both = eadi_attitude(g, 10, 90);
    EXPECT_EQ(eadi_sphere_point(both, 0, 0).x, 137);
}

TEST(EadiGeometry, LadderReadsTrueAtTheDisplaysOwnSize) {
    // The pitch moves the sphere 3 x sy x sy pixels a degree. At 171 x 138
    // the line 24 units above the horizon (labelled 10) reaches the aircraft
    // symbol's centre row at 10 degrees nose up (negative pitch); at 214 x 173
    // (sy = 1) the same line gets there at 8 degrees.
    struct Case {
        int w, h;
        double degrees;
    } cases[] = {{171, 138, 10.03}, {214, 173, 8.0}};
    for (const Case& c : cases) {
        EadiGeometry g = eadi_geometry(c.w, c.h);
        double reached = 0;
        for (int hundredths = 0; hundredths <= 2000 && reached == 0; ++hundredths) {
            double nose_up = hundredths / 100.0;
            if (eadi_sphere_point(eadi_attitude(g, -nose_up, 0), 0, -24).y >= int(g.cy)) reached = nose_up;
        }
        // Within the third of a degree one pixel row takes.
        EXPECT_NEAR(reached, c.degrees, 0.2) << c.w << " x " << c.h;
    }
    // Ten degrees nose up at 171 x 138: the horizon on row 88.
    EadiGeometry g = eadi_geometry(171, 138);
    EXPECT_EQ(eadi_sphere_point(eadi_attitude(g, -10, 0), 0, 0).y, 88);
}

TEST(EadiModes, HeadingWithArmedLateralMode) {
    EadiModes m = eadi_modes(LATERAL_HDG, VERTICAL_GS);
    EXPECT_STREQ(m.lateral, "HDG  ");
    EXPECT_EQ(m.lateral_index, 1);
    EXPECT_STREQ(m.lateral_armed, "LOC");
    EXPECT_STREQ(m.vertical, "GS");
    EXPECT_EQ(m.vertical_index, 3);
    EXPECT_FALSE(m.glideslope_armed);

    m = eadi_modes(LATERAL_HDG | LATERAL_VAPP, 0);
    EXPECT_STREQ(m.lateral_armed, "V APP");
    m = eadi_modes(LATERAL_HDG, 0);
    EXPECT_EQ(m.lateral_armed, nullptr);
    EXPECT_EQ(m.vertical, nullptr);
    EXPECT_EQ(m.vertical_index, 0);
}

TEST(EadiModes, LateralPrecedenceWithoutHeading) {
    struct Case {
        int lateral, vertical;
        const char* text;
        int index;
    } cases[] = {{LATERAL_NAV | LATERAL_BC, VERTICAL_GS, "LOC", 2},
                 {LATERAL_NAV | LATERAL_BC | LATERAL_VAPP, 0, "NAV", 3},
                 {LATERAL_BC | LATERAL_VAPP, 0, "BC", 4},
                 {LATERAL_VAPP, 0, "V APP", 5}};
    for (const Case& c : cases) {
        EadiModes m = eadi_modes(c.lateral, c.vertical);
        EXPECT_STREQ(m.lateral, c.text);
        EXPECT_EQ(m.lateral_index, c.index);
        EXPECT_EQ(m.lateral_armed, nullptr);
    }
    EadiModes none = eadi_modes(0, VERTICAL_ALT);
    EXPECT_EQ(none.lateral, nullptr);
    EXPECT_EQ(none.lateral_index, 0);
}

TEST(EadiModes, VerticalPrecedenceAndArmedGlideslope) {
    EadiModes m = eadi_modes(0, VERTICAL_ALT | VERTICAL_GS);
    EXPECT_STREQ(m.vertical, "ALT");
    EXPECT_EQ(m.vertical_index, 2);
    EXPECT_TRUE(m.glideslope_armed);

    m = eadi_modes(0, VERTICAL_ASEL | VERTICAL_ALT | VERTICAL_VS | VERTICAL_IAS | VERTICAL_GS);
    EXPECT_STREQ(m.vertical, "ASEL");
    EXPECT_EQ(m.vertical_index, 1);
    m = eadi_modes(0, VERTICAL_VS | VERTICAL_IAS);
    EXPECT_STREQ(m.vertical, "VS");
    EXPECT_EQ(m.vertical_index, 4);
    EXPECT_FALSE(m.glideslope_armed);
    m = eadi_modes(0, VERTICAL_IAS | VERTICAL_GS);
    EXPECT_STREQ(m.vertical, "IAS");
    EXPECT_EQ(m.vertical_index, 5);
    EXPECT_TRUE(m.glideslope_armed);
}

TEST(EadiModeBox, ShownForFiveUnitsAfterAChangeToAMode) {
    EadiModeBox box{};
    EXPECT_FALSE(eadi_mode_box_step(&box, 0, 100));   // nothing shown, nothing changes
    EXPECT_TRUE(eadi_mode_box_step(&box, 1, 100));    // HDG engaged at 100
    EXPECT_TRUE(eadi_mode_box_step(&box, 1, 104.9));
    EXPECT_FALSE(eadi_mode_box_step(&box, 1, 105));   // 5 units later the box goes
    EXPECT_FALSE(eadi_mode_box_step(&box, 1, 106));
    EXPECT_TRUE(eadi_mode_box_step(&box, 3, 107));    // a new mode starts it again
    // The mode drops out at once: the change to none is only remembered and
    // the box stays for the rest of its 5 units.
    EXPECT_TRUE(eadi_mode_box_step(&box, 0, 108));
    EXPECT_EQ(box.previous_index, 0);
    EXPECT_TRUE(eadi_mode_box_step(&box, 0, 111.9));
    EXPECT_FALSE(eadi_mode_box_step(&box, 0, 112));
    EXPECT_FALSE(eadi_mode_box_step(&box, 0, 113));
    EXPECT_TRUE(eadi_mode_box_step(&box, 3, 113.5));  // back from none counts as a change
    EXPECT_TRUE(eadi_mode_box_step(&box, 0, 114));
    EXPECT_TRUE(eadi_mode_box_step(&box, 3, 118.4));  // none and back: a new 5 units from 118.4
    EXPECT_TRUE(eadi_mode_box_step(&box, 3, 123.3));
    EXPECT_FALSE(eadi_mode_box_step(&box, 3, 123.4));
}
