// How fast the host flies the full default panel headless: frames of
// simulated flight per second of computer time (and how many times faster
// than real time that is at 18 frames a second), the cost of one round of
// every gauge's update service and of one round of the panel's drawing.
// Each is measured cold and dark and with both displays powered, with the
// displays drawn every frame (as the simulator does) and without (the batch
// option). Then each display's cost per drawn frame, the panel's load time
// with the full sound set, the built-in demo flight as a whole, and the heap
// allocations of the update and draw services per frame. Prints figures; it
// is not a timed test.
//
// `quillmar_host_bench --callgrind-frame` instead flies one powered frame for
// callgrind, with the instrumentation on only for the update services, then
// for each display's drawing (scripts/bench.sh runs it and prints the counts).
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/script.h"
#include "tests/common/counting_allocator.h"

namespace {

// Arguments of every benchmark: {powered, draw_displays}.
void both_ways(benchmark::internal::Benchmark* b) {
    b->ArgNames({"powered", "draw_displays"})->Args({0, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMicrosecond);
}

// The default panel; powered: battery master on and the symbol generator
// switch on (from the panel state file), run until the power is up, the
// glideslope shown.
std::unique_ptr<Host> loaded_host(bool powered, bool draw_displays, bool sounds = false) {
    HostOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    if (sounds) options.sound_dir = QUILLMAR_DEFAULT_SOUND_DIR;
    options.draw_displays = draw_displays;
    auto host = std::make_unique<Host>(options);
    std::string error;
    std::vector<std::string> warnings;
    if (!host->prepare(&error)) return nullptr;
    if (powered) std::ofstream(host->ini_path(), std::ios::binary) << "[AVIONICS]\r\navionics_sg1_pos=1\r\n";
    if (!host->load(parse_panel_config(default_panel_text(), "panel.cfg"), &warnings, &error)) return nullptr;
    host->trace.set_recording(false);
    if (powered) {
        GaugeInstance* electric = host->find_gauge("Electric");
        if (!electric || !host->mouse_call(*electric, 80, 150, nullptr)) return nullptr;
        for (int i = 0; i < 3 * host->fps(); ++i) host->frame();
        if (host->channel_text("kt93_ElPwrAvail") != "2" || host->channel_text("kt93_Avionics") != "1") return nullptr;
        host->vars.set(80, 12);   // a banked climb, so the sphere is turned and moved
        host->vars.set(78, -4);
        host->set_variable(44, 1);   // the glideslope shown
    }
    return host;
}

std::unique_ptr<Host> loaded_host(const benchmark::State& state) {
    return loaded_host(state.range(0) != 0, state.range(1) != 0);
}

// Moves the attitude and heading a little, as a frame of flight does.
void turn_a_little(Host& host, int64_t n) {
    host.vars.set(80, -30 + (n % 200) * 0.3);
    host.vars.set(78, -5 + (n % 200) * 0.05);
    host.vars.set(81, (n % 200) * 1.7);
}

void full_panel_frames(benchmark::State& state) {
    auto host = loaded_host(state);
    if (!host) {
        state.SkipWithError("cannot load or power the default panel");
        return;
    }
    for (auto _ : state) {
        host->frame();
        if (host->frame_number() % 4096 == 0) host->trace.begin_window();
    }
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["times_real_time"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 18.0, benchmark::Counter::kIsRate);
}
BENCHMARK(full_panel_frames)->Apply(both_ways);

void all_update_services(benchmark::State& state) {
    auto host = loaded_host(state);
    if (!host) {
        state.SkipWithError("cannot load or power the default panel");
        return;
    }
    for (auto _ : state) {
        host->update_gauges();
        if (state.iterations() % 4096 == 0) host->trace.begin_window();
    }
    state.counters["gauges"] = static_cast<double>(host->gauges().size());
}
BENCHMARK(all_update_services)->Apply(both_ways);

// Every shown element's value callbacks, and the displays' generate and draw
// routines when they are drawn every frame.
void panel_drawing(benchmark::State& state) {
    auto host = loaded_host(state);
    if (!host) {
        state.SkipWithError("cannot load or power the default panel");
        return;
    }
    size_t elements = 0;
    for (const GaugeInstance& g : host->gauges()) elements += g.elements.size();
    for (auto _ : state) host->draw_gauges();
    state.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(panel_drawing)->Apply(both_ways);

// One drawn frame of a display (its generate and draw routines until they
// have drawn: the displays draw on every second call), after its round of
// update services: steady in a banked climb with the glideslope shown, or
// turning (attitude and heading moving every frame, so that every turned
// text is made anew).
void display_frame(benchmark::State& state, const char* gauge) {
    auto host = loaded_host(true, false);
    GaugeInstance* display = host ? host->find_gauge(gauge) : nullptr;
    if (!display) {
        state.SkipWithError("cannot load or power the default panel");
        return;
    }
    const bool turning = state.range(0) != 0;
    int64_t n = 0;
    for (auto _ : state) {
        if (turning) turn_a_little(*host, ++n);
        host->update_gauges();
        host->draw_display_now(*display);
    }
}
void display_frame_eadi(benchmark::State& state) { display_frame(state, "Quillmar_EADI"); }
void display_frame_ehsi(benchmark::State& state) { display_frame(state, "Quillmar_EHSI"); }
BENCHMARK(display_frame_eadi)->ArgName("turning")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(display_frame_ehsi)->ArgName("turning")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Heap allocations of the update services and of the panel's drawing, per
// frame, powered, banked and turning, both displays drawn every frame.
void allocations_per_frame(benchmark::State& state) {
    if (!allocation_counting_available()) {
        state.SkipWithError("no counting allocator in this build");
        return;
    }
    auto host = loaded_host(true, true);
    if (!host) {
        state.SkipWithError("cannot load or power the default panel");
        return;
    }
    int64_t n = 0, in_updates = 0, in_draws = 0, by_graphics = 0;
    for (auto _ : state) {
        turn_a_little(*host, ++n);
        host->frame();
        host->trace.begin_window();
        allocation_count_start();
        host->update_gauges();
        in_updates += allocation_count_stop();
        // Twice: the displays draw their picture on every second call.
        allocation_count_start();
        host->draw_gauges();
        host->draw_gauges();
        in_draws += allocation_count_stop();
        by_graphics += allocation_count_in_graphics_libraries();
    }
    state.counters["update_allocations_per_frame"] = static_cast<double>(in_updates) / static_cast<double>(n);
    state.counters["draw_allocations_per_frame"] = static_cast<double>(in_draws) / static_cast<double>(n);
    state.counters["of_them_cairo_and_below"] = static_cast<double>(by_graphics) / static_cast<double>(n);
}
BENCHMARK(allocations_per_frame)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Installing the whole panel with the full sound set (every sound file read
// into its buffer), warm: the panel killed and installed again, the modules
// staying loaded, as a simulator's panel reload does. The kill is not timed.
void panel_load_with_sound_set(benchmark::State& state) {
    auto host = loaded_host(false, true, true);
    if (!host) {
        state.SkipWithError("cannot load the default panel");
        return;
    }
    std::string error;
    std::vector<std::string> warnings;
    PanelConfig panel = host->panel();
    size_t buffers = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host->kill();
        state.ResumeTiming();
        if (!host->load(panel, &warnings, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        buffers = host->sound.buffer_count();
    }
    state.counters["sound_buffers"] = static_cast<double>(buffers);
}
BENCHMARK(panel_load_with_sound_set)->Unit(benchmark::kMillisecond);

// The built-in demo flight from start to end as `quillmar-host demo` flies
// it (with or without the displays drawn every frame): simulated seconds per
// second of computer time.
void demo_flight(benchmark::State& state) {
    Script script;
    std::string error;
    if (!parse_script(demo_script_text(), "demo.flight", ".", &script, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    options.sound_dir = QUILLMAR_DEFAULT_SOUND_DIR;
    options.out_dir = (std::filesystem::temp_directory_path() / "quillmar-bench-demo").string();
    options.quiet = true;
    options.draw_displays = state.range(0) != 0;
    double simulated = 0;
    for (auto _ : state) {
        RunResult result = run_script(script, options);
        if (result.exit_code != 0) {
            std::string why = "the demo flight failed: " + (result.messages.empty() ? std::string("?") : result.messages.front());
            state.SkipWithError(why.c_str());
            return;
        }
        simulated += result.seconds;
    }
    state.counters["times_real_time"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
    std::error_code ignored;
    std::filesystem::remove_all(options.out_dir, ignored);
}
BENCHMARK(demo_flight)->ArgName("draw_displays")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One powered frame under callgrind: the update services, then each
// display's drawn frame, each counted on its own.
int callgrind_frame() {
    auto host = loaded_host(true, false);
    GaugeInstance* eadi = host ? host->find_gauge("Quillmar_EADI") : nullptr;
    GaugeInstance* ehsi = host ? host->find_gauge("Quillmar_EHSI") : nullptr;
    if (!eadi || !ehsi) return 1;
    for (int n = 0; n < 4; ++n) {
        turn_a_little(*host, n);
        host->frame();
        host->draw_display_now(*eadi);
        host->draw_display_now(*ehsi);
    }
    turn_a_little(*host, 5);
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    host->update_gauges();
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT("update services of all gauges");
    CALLGRIND_START_INSTRUMENTATION;
    host->draw_display_now(*eadi);
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT("EADI drawn frame");
    CALLGRIND_START_INSTRUMENTATION;
    host->draw_display_now(*ehsi);
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT("EHSI drawn frame");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--callgrind-frame") == 0) return callgrind_frame();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
