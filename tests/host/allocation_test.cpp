// The gauges' update and draw services allocate nothing on the heap: the
// whole default panel, powered, both displays drawing, banked and moving,
// counted frame by frame after a few seconds of flight. (Without
// AddressSanitizer only: it brings its own allocator.) On Linux the
// displays draw text and fill polygons through Cairo, whose own allocations
// are counted apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "host/host.h"
#include "tests/host/default_panel.h"
#include "tests/common/counting_allocator.h"

TEST(Allocations, UpdateAndDrawServicesOfEveryGaugeAllocateNothing) {
    if (!allocation_counting_available()) GTEST_SKIP() << "no counting allocator under the sanitizers";
    Host host(built_modules(true));
    std::string error;
    ASSERT_TRUE(load_default_panel(host, POWERED_PANEL_STATE, &error)) << error;
    host.set_variable(44, 1);   // the glideslope shown
    for (int f = 0; f < 3 * host.fps(); ++f) host.frame();
    ASSERT_EQ(host.channel_text("kt93_ElPwrAvail"), "2");

    int64_t in_updates = 0, in_draws = 0, by_graphics = 0;
    for (int f = 0; f < 200; ++f) {
        // A turn and a climb that change every frame, so that every moving
        // part of the displays is drawn anew.
        host.set_variable(80, -30 + f * 0.3);
        host.set_variable(78, -5 + f * 0.05);
        host.set_variable(81, f * 1.7);
        host.frame();
        host.trace.begin_window();
        allocation_count_start();
        host.update_gauges();
        in_updates += allocation_count_stop();
        // Twice: the displays draw their picture on every second call.
        allocation_count_start();
        host.draw_gauges();
        host.draw_gauges();
        in_draws += allocation_count_stop();
        by_graphics += allocation_count_in_graphics_libraries();
    }
    EXPECT_EQ(in_updates, 0) << "heap allocations in 200 rounds of update services";
    // The displays' drawing on Linux goes through Cairo for polygon fills and
    // text, which keeps caches and allocates for itself (GDI does not use the
    // module's heap): those are counted apart and shown, and every other
    // allocation (the modules', the platform layer's, the host's) fails.
    EXPECT_EQ(in_draws - by_graphics, 0)
        << "heap allocations of our own in 200 rounds of drawing (QUILLMAR_ALLOCATION_TRACE=1 shows where)";
    std::printf("drawing: %.1f allocations a frame, all made by the graphics libraries for themselves\n",
                double(by_graphics) / 200);
}
