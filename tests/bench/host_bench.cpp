// How fast the host flies the full default panel headless: frames of
// simulated flight per second of computer time (and how many times faster
// than real time that is at 18 frames a second), and the cost of one round of
// every gauge's update service. Prints figures; it is not a timed test.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace {

std::unique_ptr<Host> loaded_host() {
    HostOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    auto host = std::make_unique<Host>(options);
    std::string error;
    std::vector<std::string> warnings;
    if (!host->prepare(&error) || !host->load(parse_panel_config(default_panel_text(), "panel.cfg"), &warnings, &error))
        return nullptr;
    host->trace.set_recording(false);
    return host;
}

void full_panel_frames(benchmark::State& state) {
    auto host = loaded_host();
    if (!host) {
        state.SkipWithError("cannot load the default panel");
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
BENCHMARK(full_panel_frames)->Unit(benchmark::kMicrosecond);

void all_update_services(benchmark::State& state) {
    auto host = loaded_host();
    if (!host) {
        state.SkipWithError("cannot load the default panel");
        return;
    }
    for (auto _ : state) {
        host->update_gauges();
        if (state.iterations() % 4096 == 0) host->trace.begin_window();
    }
    state.counters["gauges"] = static_cast<double>(host->gauges().size());
}
BENCHMARK(all_update_services)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
