// The monkey: the whole default panel worked at random, frame after frame.
// Clicks, holds and drags land anywhere in every mouse rectangle of every
// gauge, and host variables take random values, out-of-range and NaN
// included. Nothing may crash or trip the sanitizers, and the panel state
// file written at the end must read back: every key the panel writes is
// there, in its format, and still is after the gauges read it in a new
// flight and write it again.
//
// The seed is fixed; QUILLMAR_MONKEY_SEED and QUILLMAR_MONKEY_FRAMES change
// the seed and the length for longer runs by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "frame/panel_state.h"
#include "host/host.h"
#include "tests/host/default_panel.h"
#include "host/ini_file.h"

namespace {

long env_number(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

// Every child rectangle with a mouse function, of every gauge on the panel.
struct Target {
    GaugeInstance* gauge;
    MouseRect rect;
};

std::vector<Target> mouse_targets(Host& host) {
    std::vector<Target> targets;
    for (GaugeInstance& g : host.gauges()) {
        if (!g.mouse) continue;
        for (int i = 0; i < 4096 && g.mouse[i].type != MOUSE_END; ++i)
            if (g.mouse[i].type == MOUSE_CHILD && g.mouse[i].function) targets.push_back({&g, g.mouse[i]});
    }
    return targets;
}

// A value for a host variable: mostly plausible, often not.
double monkey_value(std::mt19937& random, const VariableInfo& v) {
    switch (random() % 10) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return (random() % 2 ? 1 : -1) * std::numeric_limits<double>::infinity();
    case 2: return (random() % 2 ? 1 : -1) * 1e300;
    case 3: return -double(random() % 100000);
    case 4: return double(int32_t(random()));
    case 5: return v.seed;
    default: return std::uniform_real_distribution<double>(-2 * std::fabs(v.seed) - 100, 2 * std::fabs(v.seed) + 100)(random);
    }
}

// The text of every panel state key in the file, "" when it is not there.
std::vector<std::string> stored_keys(const std::string& ini_path) {
    std::vector<IniEntry> entries = read_ini_file(ini_path);
    std::vector<std::string> texts;
    for (const PanelStateRow& row : panel_state_rows)
        texts.push_back(ini_lookup(entries, row.section, row.key).value_or(""));
    return texts;
}

// A stored value in its row's format: "%d", or four digits one after another.
bool well_formed(const PanelStateRow& row, const std::string& text) {
    if (row.format == PANEL_STATE_FOUR_DIGITS) {
        if (text.size() != 4) return false;
        for (char c : text)
            if (c < '0' || c > '9') return false;
        return true;
    }
    size_t first = text[0] == '-' ? 1 : 0;
    if (text.size() <= first || text.size() > first + 10) return false;
    for (size_t i = first; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

TEST(Monkey, RandomMouseWorkAndWildVariablesNeitherCrashNorSpoilThePanelStateFile) {
    const unsigned seed = static_cast<unsigned>(env_number("QUILLMAR_MONKEY_SEED", 1993));
    const long frames = env_number("QUILLMAR_MONKEY_FRAMES", 3000);
    std::mt19937 random(seed);

    Host host(built_modules(false));
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(load_default_panel(host, "", &error)) << error;

    // The keys a plain load and kill writes: the monkey's file must keep them.
    host.kill();
    std::vector<std::string> first = stored_keys(host.ini_path());
    ASSERT_TRUE(host.reinstall(&warnings, &error)) << error;

    // Power up first, so that the powered panels are worked too.
    GaugeInstance* electric = host.find_gauge("Electric");
    ASSERT_NE(electric, nullptr);
    host.mouse_call(*electric, 80, 150, nullptr);

    int variable_count = 0;
    const VariableInfo* variables = variable_table(&variable_count);
    std::vector<Target> targets = mouse_targets(host);
    ASSERT_GT(targets.size(), 200u) << "the panel has its mouse rectangles";

    long clicks = 0, variable_sets = 0;
    for (long frame = 0; frame < frames;) {
        // The rectangle list of a gauge may change with its state.
        if (frame % 500 == 0) targets = mouse_targets(host);
        const Target& t = targets[random() % targets.size()];
        auto point = [&](int spread) {
            int w = std::max(1, t.rect.width), h = std::max(1, t.rect.height);
            return std::pair<int, int>(t.rect.x + int(random() % unsigned(w + 2 * spread)) - spread,
                                       t.rect.y + int(random() % unsigned(h + 2 * spread)) - spread);
        };
        int action = int(random() % 4);
        int length = action == 0 ? 1 : 1 + int(random() % 40);
        auto [x, y] = point(action == 3 ? 4 : 0);
        for (int i = 0; i < length && frame < frames; ++i, ++frame) {
            if (action == 2 || action == 3) {
                // A hold calls the same point again, a drag moves about.
                if (action == 3) std::tie(x, y) = point(t.rect.width / 2 + 4);
                host.mouse_call(*t.gauge, x, y, nullptr);
                ++clicks;
            } else if (i == 0) {
                host.mouse_call(*t.gauge, x, y, nullptr);
                ++clicks;
            }
            if (random() % 3 == 0) {
                const VariableInfo& v = variables[random() % unsigned(variable_count)];
                host.set_variable(v.id, monkey_value(random, v));
                ++variable_sets;
            }
            if (random() % 50 == 0) host.release_variable(variables[random() % unsigned(variable_count)].id);
            if (random() % 200 == 0) host.set_space(random() % 2 == 0);
            host.frame();
            host.trace.begin_window();
        }
    }
    EXPECT_GT(clicks, frames / 4);
    EXPECT_GT(variable_sets, frames / 4);

    // What the gauges wrote is in its format, and so is what they write after
    // reading it back in a new flight.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            ASSERT_TRUE(host.reload(&warnings, &error)) << error;
        }
        host.kill();
        std::vector<std::string> stored = stored_keys(host.ini_path());
        for (size_t i = 0; i < stored.size(); ++i) {
            const PanelStateRow& row = panel_state_rows[i];
            if (first[i].empty()) continue;
            EXPECT_TRUE(well_formed(row, stored[i]))
                << "round " << round << ": [" << row.section << "] " << row.key << "=\"" << stored[i] << "\"";
        }
    }
}
