// The whole panel installed and killed a thousand times in a row, with the
// full sound set, the power on and both displays drawing: as a simulator
// does on every panel reload. Nothing may pile up from one cycle to the
// next: heap, open files, mapped files, channel objects, sound buffers; and
// the thousandth load must behave exactly as the first. Every hundredth
// cycle unloads the modules as well (a new flight); the first and the last
// keep them.
//
// QUILLMAR_PANEL_CYCLES changes the count (the sanitizer build's test runs a
// hundred; its leak checker looks at what is left at the end as well).
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/host.h"
#include "tests/host/default_panel.h"
#include "platform/host_services.h"

namespace fs = std::filesystem;

extern "C" __attribute__((weak)) size_t __sanitizer_get_current_allocated_bytes();

namespace {

// Bytes of heap in use now, by whichever allocator the program runs on.
size_t heap_in_use() {
    if (__sanitizer_get_current_allocated_bytes) return __sanitizer_get_current_allocated_bytes();
    return mallinfo2().uordblks;
}

size_t entries(const fs::path& folder, const std::string& prefix = "") {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().filename().string().rfind(prefix, 0) == 0) ++n;
    return n;
}

// Mappings of files (libraries, fonts, channel views); the anonymous ones
// are the allocator's own business.
size_t file_mappings() {
    std::ifstream maps("/proc/self/maps");
    size_t n = 0;
    for (std::string line; std::getline(maps, line);)
        if (line.find(" /") != std::string::npos) ++n;
    return n;
}

// The channel objects of this run's namespace in the shared memory folder.
size_t channel_objects() {
    return entries("/dev/shm", std::string("quillmar.") + host_platform_services()->channel_namespace + ".");
}

// What the cockpit did in the frames after a load, without the times.
std::vector<std::string> happenings(const Trace& trace) {
    std::vector<std::string> seen;
    for (const Happening& h : trace.window())
        seen.push_back(std::to_string(h.kind) + " " + std::to_string(h.id) + " " + std::to_string(h.value) + " " +
                       h.name + " " + h.text);
    return seen;
}

}  // namespace

TEST(PanelCycles, AThousandInstallsAndKillsLeaveNothingBehindAndBehaveAlike) {
    const char* count_text = std::getenv("QUILLMAR_PANEL_CYCLES");
    const int cycles = count_text && *count_text ? std::atoi(count_text) : 1000;

    Host host(built_modules(true));
    std::string error;
    std::vector<std::string> warnings;
    // Powered: every load powers up and draws. One flight first, so that
    // every counted load starts from the file the panel itself wrote.
    ASSERT_TRUE(load_default_panel(host, POWERED_PANEL_STATE, &error)) << error;
    for (int f = 0; f < 20; ++f) host.frame();
    host.kill();

    std::vector<std::string> first_load;
    size_t warm_heap = 0, warm_files = 0, warm_maps = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        bool new_flight = cycle % 100 == 50;
        bool ok = new_flight ? host.reload(&warnings, &error) : host.reinstall(&warnings, &error);
        ASSERT_TRUE(ok) << "cycle " << cycle << ": " << error;
        ASSERT_EQ(channel_objects(), 12u) << "cycle " << cycle;
        ASSERT_GT(host.sound.buffer_count(), 100u) << "cycle " << cycle << ": the sound set is loaded";

        // The first and the last load are watched for a second of flight, the
        // others for two frames (one drawing of each display).
        bool watched = cycle == 1 || cycle == cycles;
        host.trace.begin_window();
        for (int f = 0; f < (watched ? 20 : 2); ++f) host.frame();
        if (cycle == 1) first_load = happenings(host.trace);
        if (cycle == cycles) {
            EXPECT_FALSE(first_load.empty());
            EXPECT_EQ(happenings(host.trace), first_load) << "the last load behaves as the first";
            EXPECT_EQ(host.channel_text("kt93_ElPwrAvail"), "2");
        }

        host.kill();
        ASSERT_EQ(channel_objects(), 0u) << "cycle " << cycle << ": channels left open";
        ASSERT_EQ(host.sound.buffer_count(), 0u) << "cycle " << cycle << ": sound buffers left";
        if (cycle == 10) {
            warm_heap = heap_in_use();
            warm_files = entries("/proc/self/fd");
            warm_maps = file_mappings();
        }
    }
    if (cycles < 10) return;
    // Caches may settle a little after the tenth cycle, but nothing may grow
    // with the count: a cycle that leaked one pen would show here.
    EXPECT_LT(heap_in_use(), warm_heap + 64 * 1024) << "heap grew from " << warm_heap;
    EXPECT_EQ(entries("/proc/self/fd"), warm_files) << "open files";
    EXPECT_EQ(file_mappings(), warm_maps) << "mappings of files";
    // The panel state file was written a thousand times over: no temporary
    // file of those writes is left in the Gauges folder.
    EXPECT_EQ(entries(fs::path(host.sim_dir()) / "Gauges", "."), 0u);
}
