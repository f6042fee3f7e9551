// quillmar-host: runs scenario scripts and the demo flight against the built
// modules, headless and deterministic.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "host/os.h"
#include "host/panel_config.h"
#include "host/script.h"
#include "host/viewer.h"

namespace fs = std::filesystem;

namespace {

const char* USAGE =
    "usage:\n"
    "  quillmar-host run SCRIPT... [--trace FILE] [--out DIR] [options]\n"
    "  quillmar-host demo [--out DIR] [options]\n"
    "  quillmar-host view [--panel FILE] [--ini FILE] [--script FILE] [--fps N]\n"
    "                     [--frames N] [--screenshot FILE.png] [options]\n"
    "                   the cockpit live in a window: keys 1..9 and Tab choose the\n"
    "                   panel window, the left button and the space bar work the\n"
    "                   gauges, Esc quits (writing the panel state file)\n"
    "  quillmar-host panel            print the built-in panel.cfg\n"
    "  quillmar-host demo-script      print the built-in demo flight\n"
    "options:\n"
    "  --gauges DIR    the built modules (default: ../sim/Gauges beside the program)\n"
    "  --sound DIR     the sounds (default: Sound beside the Gauges folder)\n"
    "  --sim-dir DIR   run in this simulator folder instead of a fresh temporary one\n"
    "  --quiet         print failures only\n"
    "  --no-display-draws  (run, demo) do not draw the flight displays every\n"
    "                  frame, only when a picture or pixel is asked for: faster\n"
    "                  batch runs that need no pictures\n"
    "view options:\n"
    "  --panel FILE    the panel configuration (default: the built-in panel.cfg)\n"
    "  --ini FILE      start from this panel state file\n"
    "  --script FILE   run a scenario script's commands first, then hand over\n"
    "  --fps N         frames a second (default 18)\n"
    "  --frames N      quit after N frames\n"
    "  --screenshot F  with --frames: save the window's contents as a PNG before quitting\n"
    "  (--sim-dir DIR keeps the panel state file after the viewer quits)\n";

int usage_error(const std::string& message) {
    std::cerr << "quillmar-host: " << message << "\n" << USAGE;
    return 2;
}

std::string default_gauges_dir() {
    std::string exe = host_os::executable_dir();
    if (!exe.empty()) {
        fs::path beside = fs::path(exe) / ".." / "sim" / "Gauges";
        std::error_code ec;
        if (fs::is_directory(beside, ec)) return fs::weakly_canonical(beside, ec).string();
    }
    return QUILLMAR_DEFAULT_GAUGES_DIR;
}

void print_messages(const RunResult& r) {
    for (const std::string& m : r.messages) std::cerr << m << "\n";
}

bool write_text(const std::string& path, const std::string& text) {
    std::error_code ec;
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage_error("no command");
    std::string command = argv[1];
    std::vector<std::string> positional;
    std::string trace_file, out_dir, gauges_dir, sound_dir, sim_dir;
    bool quiet = false, no_display_draws = false;
    ViewerOptions view;
    std::string fps_text, frames_text;
    std::vector<std::string> view_only;   // viewer options given
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string* target) {
            if (i + 1 >= argc) return false;
            *target = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--trace") ok = value(&trace_file);
        else if (a == "--out") ok = value(&out_dir);
        else if (a == "--gauges") ok = value(&gauges_dir);
        else if (a == "--sound") ok = value(&sound_dir);
        else if (a == "--sim-dir") ok = value(&sim_dir);
        else if (a == "--quiet") quiet = true;
        else if (a == "--no-display-draws") no_display_draws = true;
        else if (a == "--panel" || a == "--ini" || a == "--script" || a == "--fps" || a == "--frames" ||
                 a == "--screenshot") {
            view_only.push_back(a);
            ok = value(a == "--panel"    ? &view.panel_file
                       : a == "--ini"    ? &view.ini_file
                       : a == "--script" ? &view.script_file
                       : a == "--fps"    ? &fps_text
                       : a == "--frames" ? &frames_text
                                         : &view.screenshot);
        }
        else if (a.size() > 1 && a[0] == '-') return usage_error("unknown option " + a);
        else positional.push_back(a);
        if (!ok) return usage_error("option " + a + " needs a value");
    }

    if (command == "panel" || command == "demo-script") {
        if (!positional.empty()) return usage_error(command + " takes no arguments");
        std::cout << (command == "panel" ? default_panel_text() : demo_script_text());
        return 0;
    }
    if (command == "help" || command == "--help") {
        std::cout << USAGE;
        return 0;
    }

    if (command != "view" && !view_only.empty()) return usage_error("option " + view_only[0] + " is for view only");
    if (command == "view" && no_display_draws) return usage_error("option --no-display-draws is for run and demo only");

    RunOptions options;
    options.gauges_dir = gauges_dir.empty() ? default_gauges_dir() : gauges_dir;
    options.sound_dir = sound_dir.empty() ? (fs::path(options.gauges_dir).parent_path() / "Sound").string() : sound_dir;
    options.sim_dir = sim_dir;
    options.quiet = quiet;
    options.draw_displays = !no_display_draws;
    std::error_code ec;

    if (command == "run") {
        if (positional.empty()) return usage_error("run needs at least one script");
        options.out_dir = out_dir.empty() ? "." : out_dir;
        options.out_dir = fs::absolute(options.out_dir, ec).string();
        std::string traces;
        int worst = 0;
        for (const std::string& path : positional) {
            std::ifstream in(path, std::ios::binary);
            if (!in) {
                std::cerr << path << ": cannot read the script\n";
                worst = 2;
                continue;
            }
            std::ostringstream text;
            text << in.rdbuf();
            Script script;
            std::string error;
            std::string dir = fs::absolute(fs::path(path), ec).parent_path().string();
            if (!parse_script(text.str(), path, dir, &script, &error)) {
                std::cerr << error << "\n";
                worst = 2;
                continue;
            }
            RunResult r = run_script(script, options);
            print_messages(r);
            if (!quiet)
                for (const std::string& n : r.notes) std::cout << "  " << n << "\n";
            if (positional.size() > 1) traces += "# script " + path + "\n";
            traces += r.trace;
            const char* verdict = r.exit_code == 0 ? "passed" : r.exit_code == 1 ? "FAILED" : "ERROR";
            if (!quiet || r.exit_code != 0)
                std::cout << path << ": " << verdict << " (" << r.frames << " frames, " << r.events << " host events)\n";
            worst = std::max(worst, r.exit_code);
        }
        if (!trace_file.empty() && !write_text(trace_file, traces)) {
            std::cerr << "quillmar-host: cannot write the trace " << trace_file << "\n";
            return 2;
        }
        return worst;
    }

    if (command == "demo") {
        if (!positional.empty()) return usage_error("demo takes no scripts (it flies the built-in one)");
        options.out_dir = fs::absolute(out_dir.empty() ? "quillmar-demo" : out_dir, ec).string();
        fs::create_directories(options.out_dir, ec);
        Script script;
        std::string error;
        if (!parse_script(demo_script_text(), "demo.flight", ".", &script, &error)) {
            std::cerr << error << "\n";
            return 2;
        }
        RunResult r = run_script(script, options);
        std::string trace_path = (fs::path(options.out_dir) / "trace.txt").string();
        write_text(trace_path, r.trace);
        print_messages(r);
        std::cout << "Quillmar demo flight\n";
        int n = 0;
        for (const std::string& note : r.notes) std::cout << "  " << ++n << ". " << note << "\n";
        char line[256];
        std::snprintf(line, sizeof line, "Flew %lld frames: %.1f s of simulated time at 18 frames a second.\n", r.frames,
                      r.seconds);
        std::cout << line;
        std::cout << "Host events sent by the cockpit: " << r.events << "; channel changes: " << r.channel_changes
                  << "; sounds: " << r.sounds << "; panel state writes: " << r.ini_writes << ".\n";
        std::cout << (r.exit_code == 0 ? "Every expectation of the flight held.\n"
                                       : "Some expectations failed (see the messages above).\n");
        std::cout << "Trace:    " << trace_path << "\n";
        std::cout << "Pictures:";
        for (const std::string& p : r.pictures) std::cout << "\n          " << p;
        std::cout << "\n";
        return r.exit_code;
    }
    if (command == "view") {
        if (!positional.empty()) return usage_error("view takes no scripts (give one with --script FILE)");
#if defined(QUILLMAR_HAVE_VIEWER)
        auto whole = [](const std::string& text, long long lo, long long hi, long long* out) {
            char* end = nullptr;
            long long v = std::strtoll(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || v < lo || v > hi) return false;
            *out = v;
            return true;
        };
        long long fps = 18, frames = 0;
        if (!fps_text.empty() && !whole(fps_text, 1, 1000, &fps)) return usage_error("--fps needs a whole number from 1 to 1000");
        if (!frames_text.empty() && !whole(frames_text, 1, 1000000000, &frames))
            return usage_error("--frames needs a whole number of at least 1");
        if (!view.screenshot.empty() && frames == 0) return usage_error("--screenshot needs --frames N");
        view.fps = static_cast<int>(fps);
        view.frames = frames;
        view.gauges_dir = options.gauges_dir;
        view.sound_dir = options.sound_dir;
        view.sim_dir = sim_dir;
        return run_viewer(view);
#else
        std::cerr << "quillmar-host: the viewer is not available in this build\n";
        return 2;
#endif
    }
    return usage_error("unknown command '" + command + "'");
}
