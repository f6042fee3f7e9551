// The live viewer without its window: SDL events, synthesised and taken from
// SDL's queue, reach the host's mouse dispatch and key state; a script hands
// over a loaded panel; the viewer's host offers no sound device of its own.
#if defined(QUILLMAR_HAVE_VIEWER)
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <vector>

#include "frame/elements.h"
#include "host/host.h"
#include "host/render.h"
#include "host/script.h"
#include "host/viewer.h"
#include "platform/host_services.h"

namespace fs = std::filesystem;

namespace {

constexpr int VK_SPACE = 0x20;

struct EventQueue : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }

    // Through SDL's own queue, as the viewer's loop takes them.
    static void deliver(Host& host, ViewerInput& input, SDL_Event event) {
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) viewer_event(host, input, taken);
    }
    static SDL_Event button(bool down, int x, int y, Uint8 which = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = which;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    static SDL_Event motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = x;
        e.motion.y = y;
        return e;
    }
    static SDL_Event key(bool down, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        return e;
    }
    static SDL_Event window_event(Uint8 what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        return e;
    }
    static int16_t space_state() { return host_platform_services()->key_state(VK_SPACE); }
};

// ------------------------------------------------ gauges made here, calls counted

struct Call {
    int rect;
    int x, y;
};
std::vector<Call> calls;

template <int N>
int32_t FS_CALL record(const MousePoint* point, uint32_t) {
    calls.push_back(Call{N, point->x, point->y});
    return 1;
}

struct MadeGauges : EventQueue {
    // Gauge "lower" at 10,20 (100 by 50), "upper" at 60,20 (40 by 40) drawn
    // over it; "lower" has a rectangle reaching past its right edge.
    MouseRect lower_rects[6] = {
        mouse_parent(0, 0, 100, 50),
        mouse_child(0, 0, 20, 20, 1, MOUSE_CLICK, record<1>),
        mouse_child(20, 0, 20, 20, 1, MOUSE_REPEAT, record<2>),
        mouse_child(0, 25, 30, 20, 1, MOUSE_DRAG, record<3>),
        mouse_child(100, 0, 30, 10, 1, MOUSE_CLICK, record<4>),
        mouse_end(),
    };
    MouseRect upper_rects[3] = {mouse_parent(0, 0, 40, 40), mouse_child(0, 0, 40, 40, 1, MOUSE_CLICK, record<5>),
                                mouse_end()};
    HostOptions options;
    std::unique_ptr<Host> host;
    ViewerInput input;

    void SetUp() override {
        EventQueue::SetUp();
        calls.clear();
        host = std::make_unique<Host>(options);
        host->gauges().push_back(made("lower", 10, 20, 100, 50, lower_rects));
        host->gauges().push_back(made("upper", 60, 20, 40, 40, upper_rects));
    }
    static GaugeInstance made(const char* name, int x, int y, int w, int h, MouseRect* rects) {
        GaugeInstance g;
        g.module = "Test";
        g.name = name;
        g.x = x;
        g.y = y;
        g.width = w;
        g.height = h;
        g.mouse = rects;
        g.mouse_active = true;
        g.installed = true;
        return g;
    }
    // A window pixel from a pixel of the "lower" gauge.
    static int wx(int gx) { return 10 + gx; }
    static int wy(int gy) { return WINDOW_TITLE_HEIGHT + 20 + gy; }
};

}  // namespace

TEST_F(MadeGauges, APressReachesTheRectangleUnderItInGaugePixels) {
    deliver(*host, input, button(true, wx(5), wy(7)));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rect, 1);
    EXPECT_EQ(calls[0].x, 5);
    EXPECT_EQ(calls[0].y, 7);
    // Single clicks are not held: no more calls until the next press.
    viewer_before_frame(*host, input);
    deliver(*host, input, button(false, wx(5), wy(7)));
    deliver(*host, input, button(true, wx(5), wy(7), SDL_BUTTON_RIGHT));
    EXPECT_EQ(calls.size(), 1u);
    // The title bar and empty window take nothing.
    deliver(*host, input, button(true, wx(5), 3));
    deliver(*host, input, button(true, 500, 500));
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(MadeGauges, TheGaugeDrawnLastIsOnTopAndOverhangingRectanglesCount) {
    deliver(*host, input, button(true, wx(55), wy(5)));   // inside both boxes
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rect, 5);
    EXPECT_EQ(calls[0].x, 5);
    // Right of both boxes, on the lower gauge's rectangle that reaches past it.
    deliver(*host, input, button(true, wx(110), wy(5)));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].rect, 4);
    EXPECT_EQ(calls[1].x, 110);
    // Another window shows other gauges.
    host->gauges()[1].window = 1;
    input.window = 0;
    deliver(*host, input, button(true, wx(55), wy(5)));
    EXPECT_EQ(calls.size(), 2u);   // the lower gauge has no rectangle at 55,5
    int gx = -1, gy = -1;
    EXPECT_EQ(viewer_gauge_at(*host, 0, wx(55), wy(5), &gx, &gy), &host->gauges()[0]);
    EXPECT_EQ(gx, 55);
}

TEST_F(MadeGauges, HoldingARepeatingRectangleCallsItEveryFrameWhileThePointerStaysOnIt) {
    deliver(*host, input, button(true, wx(25), wy(5)));
    for (int i = 0; i < 3; ++i) viewer_before_frame(*host, input);
    ASSERT_EQ(calls.size(), 4u);
    for (const Call& c : calls) EXPECT_EQ(c.rect, 2);
    deliver(*host, input, motion(wx(35), wy(10)));      // still on it: moves are not calls
    EXPECT_EQ(calls.size(), 4u);
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.back().x, 35);
    deliver(*host, input, motion(wx(45), wy(10)));      // off it: the repeat pauses
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.size(), 5u);
    deliver(*host, input, motion(wx(30), wy(10)));      // back on
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.size(), 6u);
    deliver(*host, input, button(false, wx(30), wy(10)));
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.size(), 6u);
}

TEST_F(MadeGauges, MovingWithTheButtonDownDrivesADragRectangle) {
    deliver(*host, input, button(true, wx(2), wy(30)));
    deliver(*host, input, motion(wx(12), wy(40)));
    viewer_before_frame(*host, input);                  // a drag is not repeated
    deliver(*host, input, motion(wx(50), wy(40)));      // off the rectangle
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].rect, 3);
    EXPECT_EQ(calls[1].x, 12);
    EXPECT_EQ(calls[1].y, 40);
    deliver(*host, input, button(false, wx(50), wy(40)));
    deliver(*host, input, motion(wx(5), wy(30)));       // button up: plain moves
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(MadeGauges, NothingStaysHeldWhenTheWindowLosesFocusOrTheGaugeStopsTakingClicks) {
    deliver(*host, input, button(true, wx(25), wy(5)));
    deliver(*host, input, window_event(SDL_WINDOWEVENT_FOCUS_LOST));
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.size(), 1u);
    deliver(*host, input, button(true, wx(25), wy(5)));
    host->gauges()[0].mouse_active = false;
    viewer_before_frame(*host, input);
    EXPECT_EQ(calls.size(), 2u);
    deliver(*host, input, button(true, wx(5), wy(5)));
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(MadeGauges, TheSpaceBarIsDownWhileTheKeyIsAndTogglesOncePerPress) {
    deliver(*host, input, key(true, SDLK_SPACE));
    EXPECT_NE(space_state() & 0x8000, 0);
    int16_t first = space_state() & 1;
    deliver(*host, input, key(true, SDLK_SPACE, KMOD_NONE, 1));   // the key repeating
    deliver(*host, input, key(true, SDLK_SPACE, KMOD_NONE, 1));
    EXPECT_EQ(space_state() & 1, first);
    deliver(*host, input, key(false, SDLK_SPACE));
    EXPECT_EQ(space_state() & 0x8000, 0);
    EXPECT_EQ(space_state() & 1, first);
    deliver(*host, input, key(true, SDLK_SPACE));
    EXPECT_NE(space_state() & 0x8000, 0);
    EXPECT_NE(space_state() & 1, first);
    // Released when the window loses focus, the key up never arriving.
    deliver(*host, input, window_event(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(space_state() & 0x8000, 0);
    EXPECT_FALSE(input.space);
}

TEST_F(MadeGauges, EscapeClosingAndQuittingEndTheViewer) {
    const Uint8 closing[] = {0, 1, 2};
    for (Uint8 how : closing) {
        ViewerInput fresh;
        if (how == 0) deliver(*host, fresh, key(true, SDLK_ESCAPE));
        if (how == 1) deliver(*host, fresh, window_event(SDL_WINDOWEVENT_CLOSE));
        if (how == 2) {
            SDL_Event e{};
            e.type = SDL_QUIT;
            deliver(*host, fresh, e);
        }
        EXPECT_TRUE(fresh.quit) << int(how);
    }
    deliver(*host, input, key(true, SDLK_a));
    deliver(*host, input, key(false, SDLK_ESCAPE));
    EXPECT_FALSE(input.quit);
}

TEST(ViewerSound, TheViewersHostOffersNoSoundDeviceAndTheHeadlessHostItsOwn) {
    HostOptions options;
    {
        Host headless(options);
        const PlatformHostServices* s = host_platform_services();
        EXPECT_NE(s->sound, nullptr);
        EXPECT_EQ(s->sound_device, &headless.sound);
    }
    options.simulated_sound = false;
    {
        Host viewer(options);
        const PlatformHostServices* s = host_platform_services();
        EXPECT_EQ(s->sound, nullptr);
        EXPECT_EQ(s->sound_device, nullptr);
        EXPECT_NE(s->key_state, nullptr);
    }
    options.simulated_sound = true;
    Host again(options);
    EXPECT_NE(host_platform_services()->sound, nullptr);
}

// ------------------------------------------------ the built modules

namespace {

struct BuiltPanel : EventQueue {
    std::unique_ptr<Host> host;
    ViewerInput input;

    void SetUp() override {
        EventQueue::SetUp();
        fresh();
    }
    void fresh() {
        host.reset();
        HostOptions options;
        options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
        host = std::make_unique<Host>(options);
        std::string error;
        ASSERT_TRUE(host->prepare(&error)) << error;
    }
    RunResult hand_over(const std::string& text, const std::string& ini = "") {
        Script script;
        std::string error;
        EXPECT_TRUE(parse_script(text, "v.flight", HOST_TEST_DATA, &script, &error)) << error;
        RunOptions options;
        options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
        options.out_dir = fs::temp_directory_path().string();
        return run_script_on(*host, script, options, parse_panel_config(default_panel_text(), "panel.cfg"), ini);
    }
    int window_titled(const std::string& title) {
        const auto& windows = host->panel().windows;
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].title == title) return static_cast<int>(i);
        return -1;
    }
    // Clicks a gauge pixel at its place in its window's picture.
    void click(const char* gauge, int x, int y) {
        GaugeInstance* g = host->find_gauge(gauge);
        ASSERT_NE(g, nullptr);
        deliver(*host, input, button(true, g->x + x, WINDOW_TITLE_HEIGHT + g->y + y));
        deliver(*host, input, button(false, g->x + x, WINDOW_TITLE_HEIGHT + g->y + y));
    }
};

}  // namespace

TEST_F(BuiltPanel, AClickInTheShownWindowWorksTheSwitchAsTheScenarioClickDoes) {
    RunResult r = hand_over("frames 2\n");
    ASSERT_EQ(r.exit_code, 0);
    ASSERT_TRUE(host->loaded());
    int overhead = window_titled("Overhead");
    ASSERT_GT(overhead, 0);
    EXPECT_EQ(host->channel_text("kt93_ElPwrAvail"), "0");

    // The battery switch's pixel while the main panel is shown: not reached.
    click("Electric", 80, 150);
    host->frame();
    EXPECT_EQ(host->channel_text("kt93_ElPwrAvail"), "0");

    deliver(*host, input, key(true, static_cast<SDL_Keycode>(SDLK_1 + overhead)));
    ASSERT_EQ(input.window, overhead);
    click("Electric", 80, 150);
    host->frame();
    EXPECT_EQ(host->channel_text("kt93_ElPwrAvail"), "1");
    EXPECT_NE(viewer_title(*host, input.window).find("Overhead"), std::string::npos);
    EXPECT_NE(viewer_title(*host, input.window).find("power 1"), std::string::npos);
}

TEST_F(BuiltPanel, KeysChooseTheWindowAndTabGoesRound) {
    ASSERT_EQ(hand_over("").exit_code, 0);
    int count = static_cast<int>(host->panel().windows.size());
    ASSERT_GE(count, 3);
    deliver(*host, input, key(true, SDLK_3));
    EXPECT_EQ(input.window, 2);
    deliver(*host, input, key(true, SDLK_9));          // past the last window: stays
    EXPECT_EQ(input.window, count >= 9 ? 8 : 2);
    deliver(*host, input, key(true, SDLK_1));
    deliver(*host, input, key(true, SDLK_TAB, KMOD_LSHIFT));
    EXPECT_EQ(input.window, count - 1);
    deliver(*host, input, key(true, SDLK_TAB));
    EXPECT_EQ(input.window, 0);
    deliver(*host, input, key(true, SDLK_TAB));
    EXPECT_EQ(input.window, 1);
}

TEST_F(BuiltPanel, WindowEventsOpenThePopUpTheyNameAndClosingItGoesBackToTheMainPanel) {
    ASSERT_EQ(hand_over("frames 1\n").exit_code, 0);
    input.open_windows = static_cast<uint32_t>(host->vars.get(VAR_OPEN_WINDOWS));
    int push = window_titled("Push and Start");
    ASSERT_GT(push, 0);
    int panel_height = render_panel(*host).height;

    click("Panel_Select", 95, 5);      // the aircraft with the tug
    viewer_follow_windows(*host, input);
    EXPECT_EQ(input.window, push);
    EXPECT_GT(render_panel(*host).height, panel_height);   // the panel picture shows it too

    deliver(*host, input, key(true, SDLK_1));
    host->op_event(0x10176, 0);        // closed while another window is shown: stay there
    viewer_follow_windows(*host, input);
    EXPECT_EQ(input.window, 0);
    host->op_event(0x10176, 0);
    viewer_follow_windows(*host, input);
    ASSERT_EQ(input.window, push);
    host->op_event(0x10176, 0);        // closed while shown: back to the main panel
    viewer_follow_windows(*host, input);
    EXPECT_EQ(input.window, 0);
    EXPECT_EQ(render_panel(*host).height, panel_height);
}

TEST_F(BuiltPanel, TheScriptLeavesThePanelLoadedInItsStateForTheUser) {
    RunResult r = hand_over("fps 9\nclick Electric 80 150\nframes 1\n");
    EXPECT_EQ(r.exit_code, 0);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("18 frames"), std::string::npos);   // the host's rate stays
    EXPECT_EQ(host->fps(), 18);
    ASSERT_TRUE(host->loaded());
    EXPECT_EQ(host->channel_text("kt93_ElPwrAvail"), "1");
    int64_t frames = host->frame_number();
    host->frame();
    EXPECT_EQ(host->frame_number(), frames + 1);

    fresh();
    r = hand_over("kill\n");
    EXPECT_FALSE(host->loaded());
}
#endif
