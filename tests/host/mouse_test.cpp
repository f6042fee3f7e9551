// Which mouse rectangle a click reaches.
#include <gtest/gtest.h>

#include "frame/elements.h"
#include "host/host.h"

static int32_t FS_CALL first_function(const MousePoint*, uint32_t) { return 1; }
static int32_t FS_CALL second_function(const MousePoint*, uint32_t) { return 1; }

TEST(MouseRectangles, FirstContainingChildWithAFunctionInListOrder) {
    MouseRect list[] = {
        mouse_parent(0, 0, 100, 100),
        mouse_child(10, 10, 20, 20, 5, MOUSE_CLICK, nullptr),            // no function: passed over
        mouse_child(10, 10, 40, 40, 5, MOUSE_REPEAT, first_function),
        mouse_child(10, 10, 20, 20, 5, MOUSE_CLICK, second_function),    // covered by the one before
        mouse_child(60, 60, 10, 10, 5, MOUSE_DRAG, second_function),
        mouse_close(),
        mouse_end(),
    };
    EXPECT_EQ(find_mouse_rect(list, 15, 15), &list[2]);
    EXPECT_EQ(find_mouse_rect(list, 60, 60), &list[4]);
    EXPECT_EQ(find_mouse_rect(list, 5, 5), nullptr);
}

TEST(MouseRectangles, EdgesAreHalfOpen) {
    MouseRect list[] = {mouse_parent(0, 0, 50, 50), mouse_child(10, 20, 5, 4, 5, MOUSE_CLICK, first_function),
                        mouse_close(), mouse_end()};
    EXPECT_NE(find_mouse_rect(list, 10, 20), nullptr);
    EXPECT_NE(find_mouse_rect(list, 14, 23), nullptr);
    EXPECT_EQ(find_mouse_rect(list, 15, 20), nullptr);
    EXPECT_EQ(find_mouse_rect(list, 10, 24), nullptr);
    EXPECT_EQ(find_mouse_rect(list, 9, 20), nullptr);
}

TEST(MouseRectangles, ChildrenBeyondTheParentBoxAndTheGaugeSizeTakeClicks) {
    // The exterior lights panel reaches x 528 at size 425.
    MouseRect list[] = {mouse_parent(0, 0, 425, 70), mouse_child(504, 10, 25, 50, 1, MOUSE_CLICK, first_function),
                        mouse_close(), mouse_end()};
    EXPECT_EQ(find_mouse_rect(list, 520, 30), &list[1]);
}

TEST(MouseRectangles, EmptyListsAndListsWithoutAnEnd) {
    MouseRect empty[] = {mouse_parent(0, 0, 0, 0), mouse_close(), mouse_end()};
    EXPECT_EQ(find_mouse_rect(empty, 0, 0), nullptr);
    EXPECT_EQ(find_mouse_rect(nullptr, 0, 0), nullptr);
    MouseRect unended[3] = {mouse_parent(0, 0, 9, 9), mouse_close(), mouse_close()};
    EXPECT_EQ(find_mouse_rect(unended, 1, 1, 3), nullptr);   // stops at the limit
}
