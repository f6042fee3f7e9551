// The generated sound set (run by the sound_set test with QUILLMAR_SOUND_DIR
// naming the generated Sound folder): every sound of the bank has its file,
// mono PCM of exactly its slot's length, loaded by the bank into its slot;
// voices are 16-bit, loops repeat without a click, and the table the set is
// made from holds the checklists as the checklist page needs them.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "main_module/simulator/sound_bank.h"
#include "platform/wave.h"
#include "tests/unit/fake_sound_device.h"

namespace {

struct TableLine {
    std::string kind;
    std::string words;
};

std::map<std::string, TableLine> read_table() {
    std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.rfind("/tests/unit/")) + "/tools/sounds/sound_set.tsv");
    std::map<std::string, TableLine> table;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::stringstream fields(line);
        std::string name, kind, words;
        std::getline(fields, name, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, words, '\t');
        EXPECT_EQ(table.count(name), 0u) << name << " twice in the table";
        table[name] = {kind, words};
    }
    return table;
}

const char* sound_dir() { return std::getenv("QUILLMAR_SOUND_DIR"); }

struct Loaded {
    WaveFormat format{};
    std::vector<uint8_t> data;
    bool ok = false;
};

Loaded load(const std::string& path) {
    Loaded l;
    WaveFile* file = nullptr;
    WaveFormat* format = nullptr;
    WaveChunk riff{}, chunk{};
    if (open_wave_file(path.c_str(), &file, &format, &riff) != 0) return l;
    l.format = *format;
    if (start_wave_data(file, &riff, &chunk) == 0) {
        l.data.resize(chunk.size);
        uint32_t copied = 0;
        l.ok = read_wave_data(file, chunk.size, l.data.data(), &chunk, &copied) == 0 &&
               copied == l.data.size();
    }
    close_wave_file(&file, &format);
    return l;
}

std::vector<int> samples_of(const Loaded& l) {
    std::vector<int> s;
    if (l.format.bits_per_sample == 16)
        for (size_t i = 0; i + 1 < l.data.size(); i += 2)
            s.push_back(int16_t(uint16_t(l.data[i] | l.data[i + 1] << 8)));
    else
        for (uint8_t b : l.data) s.push_back((int(b) - 128) * 256);
    return s;
}

TEST(SoundSet, TableNamesEverySoundOfTheBank) {
    auto table = read_table();
    std::map<std::string, int> bank;
    for (const SoundInfo& info : sound_table) bank[info.name]++;
    EXPECT_EQ(table.size(), 183u);
    for (const auto& [name, count] : bank) EXPECT_EQ(table.count(name), 1u) << name;
    for (const auto& [name, line] : table) {
        EXPECT_EQ(bank.count(name), 1u) << name << " is no sound of the bank";
        EXPECT_TRUE(line.kind == "voice-crew" || line.kind == "voice-ground" ||
                    line.kind == "voice-gpws" || line.kind == "tone" || line.kind == "loop")
            << name << ": " << line.kind;
        EXPECT_FALSE(line.words.empty()) << name;
    }
    for (const char* looped : {"Overhead_Ventilation", "APU_1", "System_1"})
        EXPECT_EQ(table[looped].kind, "loop") << looped;
}

TEST(SoundSet, ChecklistLinesAreTitleItemsAndCompletion) {
    auto table = read_table();
    for (int c = 1; c <= 10; ++c) {
        int lines = 0;
        while (sound_checklist_line(c, lines) != SOUND_NONE) ++lines;
        for (int item = 0; item < lines; ++item) {
            const char* name = sound_table[sound_checklist_line(c, item)].name;
            SCOPED_TRACE(name);
            const std::string& words = table[name].words;
            EXPECT_EQ(table[name].kind, "voice-crew");
            const bool is_item = words.find(" ... ") != std::string::npos;
            if (item == 0) {
                EXPECT_FALSE(is_item);
                EXPECT_NE(words.find("checklist."), std::string::npos);
            } else if (item == lines - 1) {
                EXPECT_FALSE(is_item);
                EXPECT_NE(words.find("complete"), std::string::npos);
            } else if (!is_item) {
                // Only the approach checks have lines of their own in between.
                EXPECT_EQ(c, 8);
                EXPECT_NE(words.find("complete down to"), std::string::npos);
            }
            // The approach page prints its interim completions as items 4
            // and 7, followed by a blank line; the voice must say them there.
            if (c == 8 && item > 0 && item < lines - 1) {
                EXPECT_EQ(!is_item, item == 4 || item == 7) << "approach item " << item;
            }
        }
    }
}

class GeneratedSoundSet : public ::testing::Test {
protected:
    void SetUp() override {
        if (!sound_dir()) GTEST_SKIP() << "QUILLMAR_SOUND_DIR names no generated sound set";
        dir_ = sound_dir();
    }
    std::string dir_;
};

TEST_F(GeneratedSoundSet, EverySoundIsMonoPcmOfItsSlotLength) {
    auto table = read_table();
    for (const SoundInfo& info : sound_table) {
        SCOPED_TRACE(info.name);
        Loaded l = load(dir_ + "/kT93_" + info.name + ".wav");
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.format.format_tag, WAVE_FORMAT_PCM_TAG);
        EXPECT_EQ(l.format.channels, 1u);
        if (table[info.name].kind.rfind("voice", 0) == 0) {
            EXPECT_EQ(l.format.bits_per_sample, 16u);
        }
        const uint32_t slot_bytes = l.format.average_bytes_per_second * info.tenths / 10;
        EXPECT_LE(l.data.size(), slot_bytes);
        EXPECT_GE(l.data.size() + l.format.block_align, slot_bytes);
        // Not silent: something is heard.
        std::vector<int> s = samples_of(l);
        int peak = 0;
        for (int v : s) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 1000);
    }
}

TEST_F(GeneratedSoundSet, LoopsJoinTheirEndToTheirStartWithoutAClick) {
    for (const char* name : {"Overhead_Ventilation", "APU_1", "System_1"}) {
        SCOPED_TRACE(name);
        Loaded l = load(dir_ + "/kT93_" + name + ".wav");
        ASSERT_TRUE(l.ok);
        std::vector<int> s = samples_of(l);
        ASSERT_GT(s.size(), 1000u);
        std::vector<int> steps;
        for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
        std::sort(steps.begin(), steps.end());
        const int typical = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(s.front() - s.back()), typical);
        // The loop's level at its joint is its level elsewhere: no fade to silence.
        long head = 0, middle = 0;
        for (size_t i = 0; i < 2000; ++i) head += std::abs(s[i]);
        for (size_t i = s.size() / 2; i < s.size() / 2 + 2000; ++i) middle += std::abs(s[i]);
        EXPECT_GT(head, middle / 2);
        EXPECT_LT(head, middle * 2);
    }
}

TEST_F(GeneratedSoundSet, TheBankLoadsEverySlot) {
    // The bank reads Sound\kT93_<name>.wav from the simulator folder.
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir((dir_ + "/..").c_str()), 0);
    {
        FakeSoundDevice device;
        sound_bank_install();
        for (int slot = 0; slot < SOUND_COUNT; ++slot)
            EXPECT_TRUE(sound_loaded(SoundSlot(slot))) << sound_table[slot].name;
        EXPECT_EQ(device.live_buffers(), size_t(SOUND_COUNT));
        sound_bank_kill();
    }
    ASSERT_EQ(chdir(previous), 0);
}

}  // namespace

#endif
