// How fast the host flies the full default panel headless: frames of
// simulated flight per second of computer time (and how many times faster
// than real time that is at 18 frames a second), the cost of one round of
// every gauge's update service and of one round of the panel's drawing.
// Each is measured cold and dark and with both displays powered, with the
// displays drawn every frame (as the simulator does) and without (the batch
// option). Prints figures; it is not a timed test.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace {

// Arguments of every benchmark: {powered, draw_displays}.
void both_ways(benchmark::internal::Benchmark* b) {
    b->ArgNames({"powered", "draw_displays"})->Args({0, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMicrosecond);
}

// The default panel; powered: battery master on and the symbol generator
// switch on (from the panel state file), run until the power is up.
std::unique_ptr<Host> loaded_host(const benchmark::State& state) {
    HostOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    options.draw_displays = state.range(1) != 0;
    auto host = std::make_unique<Host>(options);
    std::string error;
    std::vector<std::string> warnings;
    if (!host->prepare(&error)) return nullptr;
    bool powered = state.range(0) != 0;
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
    }
    return host;
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

}  // namespace

BENCHMARK_MAIN();
