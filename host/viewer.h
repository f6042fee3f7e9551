// The live viewer: one panel window of the cockpit at a time in a desktop
// window, the host's frames run in real time, the left mouse button and the
// space bar given to the modules as the scenario commands give them, sounds
// played through the real output. Linux build only (SDL2); the event-to-host
// mapping is plain functions that a test drives without a window.
#pragma once

#include <cstdint>
#include <string>

class Host;
struct GaugeInstance;
struct MouseRect;
union SDL_Event;

struct ViewerOptions {
    std::string panel_file;       // "" for the built-in panel
    std::string ini_file;         // panel state file to start from, "" for none
    std::string gauges_dir;
    std::string sound_dir;
    std::string sim_dir;          // "" for a fresh temporary folder
    std::string script_file;      // run first, then the user takes over; "" for none
    int fps = 18;
    long long frames = 0;         // quit after this many frames (0: run until closed)
    std::string screenshot;       // PNG of the window's contents written before quitting
};

// Opens the window and runs until Esc, the window is closed or `frames` have
// run; the panel is killed (its state file written) on the way out. Returns
// the exit code: 0, or 2 when the set-up, the script or the window failed.
int run_viewer(const ViewerOptions& options);

// What the user is doing, as the viewer hands it to the host.
struct ViewerInput {
    int window = 0;               // the panel window shown
    bool quit = false;
    bool space = false;           // the space bar as the modules see it
    // The left button while it is held on a mouse rectangle.
    GaugeInstance* gauge = nullptr;
    MouseRect* held = nullptr;
    int x = 0, y = 0;             // the pointer in the held gauge's pixels
    uint32_t open_windows = 0;    // the host's open windows as last seen
};

// The topmost gauge of panel window `window` under the window picture's pixel
// (x, y) (title bar included) and that point in the gauge's own pixels.
GaugeInstance* viewer_gauge_at(Host& host, int window, int x, int y, int* gauge_x, int* gauge_y);

// One window event: keys 1..9 and Tab (Shift+Tab back) choose the window, Esc
// and closing quit, the space bar goes to the host's key state, a left press
// goes to the host's mouse dispatch, moving with the button down drives a
// held drag rectangle. Mouse positions are pixels of the window's picture.
void viewer_event(Host& host, ViewerInput& input, const SDL_Event& event);

// Before each host frame: a held repeating rectangle is called again while
// the pointer stays on it.
void viewer_before_frame(Host& host, ViewerInput& input);

// After anything that may have sent a window event (a click, a frame): a
// window that opened since is shown; the shown window closing goes back to
// the first window (the main panel).
void viewer_follow_windows(Host& host, ViewerInput& input);

// The window title: the panel window shown, the simulated time and the
// power state channel.
std::string viewer_title(Host& host, int window);
