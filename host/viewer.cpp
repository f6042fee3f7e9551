#include "host/viewer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>
#include <vector>

#include "host/host.h"
#include "host/render.h"
#include "host/script.h"

namespace fs = std::filesystem;

namespace {

const char* const POWER_CHANNEL = "kt93_ElPwrAvail";

bool repeating(const MouseRect& r) { return (r.flags & MOUSE_REPEAT) == MOUSE_REPEAT; }
bool dragging(const MouseRect& r) { return (r.flags & MOUSE_DRAG) != 0; }

bool takes_mouse(const GaugeInstance& g) { return g.installed && g.mouse && g.mouse_active; }

void release_button(ViewerInput& input) {
    input.gauge = nullptr;
    input.held = nullptr;
}

void release_space(Host& host, ViewerInput& input) {
    if (!input.space) return;
    input.space = false;
    host.set_space(false);
}

void show_window(Host& host, ViewerInput& input, int window) {
    int count = static_cast<int>(host.panel().windows.size());
    if (count == 0 || window < 0 || window >= count) return;
    input.window = window;
    release_button(input);
}

// The pointer in the held gauge's pixels.
void track(ViewerInput& input, int x, int y) {
    if (!input.gauge) return;
    input.x = x - input.gauge->x;
    input.y = y - WINDOW_TITLE_HEIGHT - input.gauge->y;
}

// True when a call at the pointer reaches the held rectangle itself.
bool on_held(const ViewerInput& input) {
    return input.gauge && input.held && takes_mouse(*input.gauge) &&
           find_mouse_rect(input.gauge->mouse, input.x, input.y) == input.held;
}

void press(Host& host, ViewerInput& input, int x, int y) {
    release_button(input);
    int gx = 0, gy = 0;
    GaugeInstance* g = viewer_gauge_at(host, input.window, x, y, &gx, &gy);
    if (!g) return;
    MouseRect* hit = nullptr;
    if (!host.mouse_call(*g, gx, gy, &hit) || !hit) return;
    if (!repeating(*hit) && !dragging(*hit)) return;
    input.gauge = g;
    input.held = hit;
    input.x = gx;
    input.y = gy;
}

void on_key(Host& host, ViewerInput& input, const SDL_KeyboardEvent& key, bool down) {
    SDL_Keycode sym = key.keysym.sym;
    if (sym == SDLK_SPACE) {
        if (down && !input.space) {
            input.space = true;
            host.set_space(true);
        } else if (!down) {
            release_space(host, input);
        }
        return;
    }
    if (!down) return;
    int count = static_cast<int>(host.panel().windows.size());
    if (sym == SDLK_ESCAPE) input.quit = true;
    else if (sym >= SDLK_1 && sym <= SDLK_9) show_window(host, input, static_cast<int>(sym - SDLK_1));
    else if (sym == SDLK_TAB && count > 0) {
        int step = (key.keysym.mod & KMOD_SHIFT) ? count - 1 : 1;
        show_window(host, input, (input.window + step) % count);
    }
}

bool read_text(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

int fail(const std::string& message) {
    std::cerr << "quillmar-host view: " << message << "\n";
    return 2;
}

// SDL is shut down after everything that used it (the modules' sound output
// closes when the host unloads them).
struct SdlSession {
    bool ok = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    ~SdlSession() { SDL_Quit(); }
};

// The desktop window, its renderer and the texture of the shown picture.
struct Screen {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;     // the texture's (the picture's) size
    std::string title;

    ~Screen() {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
    }

    // A window size that shows the whole picture on the desktop.
    static void fit(int* w, int* h) {
        SDL_Rect usable{};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return;
        double scale = std::min({1.0, usable.w / static_cast<double>(*w), usable.h / static_cast<double>(*h)});
        *w = std::max(1, static_cast<int>(*w * scale));
        *h = std::max(1, static_cast<int>(*h * scale));
    }

    bool open(const Picture& first, std::string* error) {
        int w = first.width, h = first.height;
        fit(&w, &h);
        window = SDL_CreateWindow("Quillmar", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_RESIZABLE);
        if (window) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
        if (window && !renderer) renderer = SDL_CreateRenderer(window, -1, 0);
        if (!window || !renderer) {
            *error = std::string("cannot open a window: ") + SDL_GetError();
            return false;
        }
        return true;
    }

    // Shows the picture; the window's contents are read back into `capture`
    // when it is given.
    bool show(const Picture& p, Picture* capture, std::string* error) {
        if (!texture || p.width != width || p.height != height) {
            if (texture) SDL_DestroyTexture(texture);
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING, p.width, p.height);
            if (!texture) {
                *error = std::string("cannot make the picture's texture: ") + SDL_GetError();
                return false;
            }
            // Pointer positions arrive in the picture's pixels from here on.
            SDL_RenderSetLogicalSize(renderer, p.width, p.height);
            if (width != 0) {
                int w = p.width, h = p.height;
                fit(&w, &h);
                SDL_SetWindowSize(window, w, h);
            }
            width = p.width;
            height = p.height;
        }
        SDL_UpdateTexture(texture, nullptr, p.rgb.data(), p.width * 3);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        if (capture) {
            int w = 0, h = 0;
            SDL_GetRendererOutputSize(renderer, &w, &h);
            capture->width = w;
            capture->height = h;
            capture->rgb.assign(static_cast<size_t>(w) * h * 3, 0);
            if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB24, capture->rgb.data(), w * 3) != 0) {
                *error = std::string("cannot read the window's contents: ") + SDL_GetError();
                return false;
            }
        }
        SDL_RenderPresent(renderer);
        return true;
    }

    void set_title(const std::string& text) {
        if (text == title) return;
        title = text;
        SDL_SetWindowTitle(window, text.c_str());
    }
};

// The frame loop in real time until the user or the frame count ends it.
int view(Host& host, const ViewerOptions& options) {
    ViewerInput input;
    input.open_windows = static_cast<uint32_t>(host.vars.get(VAR_OPEN_WINDOWS));
    Screen screen;
    std::string error;
    if (!screen.open(render_window(host, input.window), &error)) return fail(error);

    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = std::max<Uint64>(1, frequency / static_cast<Uint64>(host.fps()));
    Uint64 due = SDL_GetPerformanceCounter();
    long long frames = 0;
    SDL_Event event;
    while (!input.quit) {
        // Events as they come until the next frame is due.
        for (Uint64 now = SDL_GetPerformanceCounter(); now < due && !input.quit; now = SDL_GetPerformanceCounter()) {
            int wait_ms = static_cast<int>((due - now) * 1000 / frequency);
            if (SDL_WaitEventTimeout(&event, std::max(wait_ms, 1))) viewer_event(host, input, event);
        }
        while (!input.quit && SDL_PollEvent(&event)) viewer_event(host, input, event);
        if (input.quit) break;
        viewer_follow_windows(host, input);
        // A frame late by more than a few (the machine stalled) is not made up.
        Uint64 now = SDL_GetPerformanceCounter();
        due = now > due + 4 * period ? now + period : due + period;

        viewer_before_frame(host, input);
        host.trace.begin_window();
        host.frame();
        ++frames;
        viewer_follow_windows(host, input);

        bool last = options.frames > 0 && frames >= options.frames;
        Picture capture;
        bool capturing = last && !options.screenshot.empty();
        if (!screen.show(render_window(host, input.window), capturing ? &capture : nullptr, &error)) return fail(error);
        screen.set_title(viewer_title(host, input.window));
        if (capturing && !write_png(options.screenshot, capture)) return fail("cannot write " + options.screenshot);
        if (last) break;
    }
    release_space(host, input);
    return 0;
}

}  // namespace

GaugeInstance* viewer_gauge_at(Host& host, int window, int x, int y, int* gauge_x, int* gauge_y) {
    // A gauge's mouse rectangles may reach beyond its box, so the topmost
    // gauge with a rectangle under the point gets it; failing that, the
    // topmost gauge whose box holds the point.
    GaugeInstance* boxed = nullptr;
    std::vector<GaugeInstance>& gauges = host.gauges();
    for (auto it = gauges.rbegin(); it != gauges.rend(); ++it) {
        GaugeInstance& g = *it;
        if (g.window != window) continue;
        int gx = x - g.x, gy = y - WINDOW_TITLE_HEIGHT - g.y;
        if (takes_mouse(g) && find_mouse_rect(g.mouse, gx, gy)) {
            *gauge_x = gx;
            *gauge_y = gy;
            return &g;
        }
        if (!boxed && gx >= 0 && gy >= 0 && gx < g.width && gy < g.height) boxed = &g;
    }
    if (boxed) {
        *gauge_x = x - boxed->x;
        *gauge_y = y - WINDOW_TITLE_HEIGHT - boxed->y;
    }
    return boxed;
}

void viewer_event(Host& host, ViewerInput& input, const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT: input.quit = true; break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) input.quit = true;
        // Releases that happen elsewhere never arrive: nothing stays held.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            release_space(host, input);
            release_button(input);
        }
        break;
    case SDL_KEYDOWN: on_key(host, input, event.key, true); break;
    case SDL_KEYUP: on_key(host, input, event.key, false); break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) press(host, input, event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) release_button(input);
        break;
    case SDL_MOUSEMOTION:
        if (!input.held) break;
        track(input, event.motion.x, event.motion.y);
        if (dragging(*input.held) && on_held(input)) host.mouse_call(*input.gauge, input.x, input.y, nullptr);
        break;
    default: break;
    }
}

void viewer_before_frame(Host& host, ViewerInput& input) {
    if (input.held && repeating(*input.held) && on_held(input))
        host.mouse_call(*input.gauge, input.x, input.y, nullptr);
}

void viewer_follow_windows(Host& host, ViewerInput& input) {
    uint32_t open = static_cast<uint32_t>(host.vars.get(VAR_OPEN_WINDOWS));
    uint32_t before = input.open_windows;
    input.open_windows = open;
    if (open == before) return;
    const auto& windows = host.panel().windows;
    for (size_t i = 0; i < windows.size(); ++i) {
        int ident = windows[i].ident;
        if (ident < 0 || ident > 31) continue;
        uint32_t bit = 1u << ident;
        if ((open & bit) && !(before & bit)) {
            show_window(host, input, static_cast<int>(i));
            return;
        }
    }
    int shown = input.window;
    if (shown >= 0 && shown < static_cast<int>(windows.size()) && !window_open(host.vars, windows[static_cast<size_t>(shown)].ident))
        show_window(host, input, 0);
}

std::string viewer_title(Host& host, int window) {
    const auto& windows = host.panel().windows;
    std::string name = window >= 0 && window < static_cast<int>(windows.size())
                           ? windows[static_cast<size_t>(window)].title
                           : std::string("no window");
    std::string power = host.channel_text(POWER_CHANNEL);
    char text[256];
    std::snprintf(text, sizeof text, "Quillmar: %s (%d/%d), %.0f s, power %s", name.c_str(), window + 1,
                  static_cast<int>(windows.size()), host.sim_time(), power.empty() ? "-" : power.c_str());
    return text;
}

int run_viewer(const ViewerOptions& options) {
    if (options.fps <= 0) return fail("the frame rate must be at least 1");
    std::error_code ec;
    // File names are taken from where the viewer was started; the host then
    // works inside the simulator folder.
    auto absolute = [&ec](const std::string& path) { return path.empty() ? path : fs::absolute(path, ec).string(); };

    PanelConfig panel;
    if (options.panel_file.empty()) {
        panel = parse_panel_config(default_panel_text(), "panel.cfg (built in)");
    } else {
        std::string text;
        if (!read_text(options.panel_file, &text)) return fail("cannot read the panel file " + options.panel_file);
        panel = parse_panel_config(text, options.panel_file);
    }
    for (const std::string& w : panel.warnings) std::cerr << "warning: " << w << "\n";
    if (panel.windows.empty()) return fail(panel.file_name + " has no window");

    std::string ini_file = absolute(options.ini_file);
    if (!ini_file.empty() && !fs::is_regular_file(ini_file, ec)) return fail("no panel state file " + options.ini_file);

    Script script;
    script.name = "(no script)";
    if (!options.script_file.empty()) {
        std::string text, error;
        if (!read_text(options.script_file, &text)) return fail("cannot read the script " + options.script_file);
        std::string dir = fs::absolute(options.script_file, ec).parent_path().string();
        if (!parse_script(text, options.script_file, dir, &script, &error)) return fail(error);
    }
    std::string screenshot = absolute(options.screenshot);
    RunOptions run_options;
    run_options.gauges_dir = options.gauges_dir;
    run_options.sound_dir = options.sound_dir;
    run_options.sim_dir = options.sim_dir;
    run_options.out_dir = fs::current_path(ec).string();

    SdlSession sdl;
    if (!sdl.ok) return fail(std::string("cannot start SDL: ") + SDL_GetError());

    HostOptions host_options;
    host_options.gauges_dir = options.gauges_dir;
    host_options.sound_dir = options.sound_dir;
    host_options.sim_dir = options.sim_dir;
    host_options.fps = options.fps;
    host_options.simulated_sound = false;
    Host host(host_options);
    std::string error;
    if (!host.prepare(&error)) return fail(error);

    RunResult result = run_script_on(host, script, run_options, panel, ini_file);
    for (const std::string& m : result.messages) std::cerr << m << "\n";
    for (const std::string& n : result.notes) std::cout << "  " << n << "\n";
    if (result.exit_code == 2) return 2;
    if (!host.loaded()) return fail(script.name + " leaves the panel killed; there is nothing to show (reload it)");
    // A session may run for hours: the happenings are not collected.
    host.trace.set_recording(false);

    ViewerOptions resolved = options;
    resolved.screenshot = screenshot;
    int code = view(host, resolved);
    host.kill();
    return code;
}
