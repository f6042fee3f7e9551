// Pedestal lever images that a scenario cannot read: the flaps lever's
// sideways offset and the power levers held by the engine rating panel's
// servo.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "main_module/gauge_table.h"
#include "main_module/pedestal/pedestal.h"
#include "main_module/state.h"

namespace {

TEST(FlapsLever, OffsetsAtEveryStopAndNowhereElse) {
    struct Row {
        double handle;
        int x, y;
    };
    const Row rows[] = {
        {0, 0, 0},          {2730, 0, 34},     {2733, 0, 34},    {5460, 0, 55},
        {5463, -10, 55},    {8190, -10, 71},   {8193, -10, 71},  {10920, -10, 87},
        {10923, 0, 87},     {13650, -10, 109}, {13653, 0, 109},  {16383, 0, 137},
        // Between stops the lever is drawn at the top.
        {2731, 0, 0},       {16384, 0, 0},     {-1, 0, 0},
        // The handle is truncated, and only its low 16 bits count.
        {5460.9, 0, 55},    {65536 + 5463, -10, 55},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.handle);
        FlapsLeverOffset o = flaps_lever_offset(r.handle);
        EXPECT_EQ(o.x, r.x);
        EXPECT_EQ(o.y, r.y);
    }
}

TEST(FlapsLever, TheImageTakesBothOffsetsFromTheHandle) {
    auto* lever = reinterpret_cast<SliderElement*>(gauge_element(&gauge_Flaps_Lever.h, {0}));
    ASSERT_NE(lever, nullptr);
    lever->head.variable.value = 5463;
    EXPECT_EQ(lever->value_x(&lever->head), -10);
    EXPECT_EQ(lever->value_y(&lever->head), 55);
}

// The lever images in the order the quadrant draws them: knob, shaft and
// root of lever 1, then of lever 2.
double lever_image(int index, double position) {
    auto* image = reinterpret_cast<SliderElement*>(gauge_element(&gauge_Throttles.h, {index}));
    image->head.variable.value = position;
    return image->value_y(&image->head);
}

TEST(Throttles, AServoHeldLeverIsDrawnFullyForward) {
    reset_module_state();
    const double full_forward[] = {16384 * -0.005, 16384 * -0.003703703703703704,
                                   16384 * -0.003125};
    quillmar.panels.lever_servo_1 = 1;
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(lever_image(i, 0), full_forward[i]) << i;
        EXPECT_DOUBLE_EQ(lever_image(i, -3000), full_forward[i]) << i;
    }
    // Lever 2 is not held: it is drawn where it stands.
    EXPECT_DOUBLE_EQ(lever_image(3, 8000), 8000 * -0.005);
    EXPECT_DOUBLE_EQ(lever_image(3, -3000), -3000 * -0.0125);
    quillmar.panels.lever_servo_2 = 1;
    EXPECT_DOUBLE_EQ(lever_image(5, -3000), full_forward[2]);
    quillmar.panels.lever_servo_1 = 0;
    EXPECT_DOUBLE_EQ(lever_image(0, 0), 0);
    reset_module_state();
}

}  // namespace
