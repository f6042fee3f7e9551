// The bitmaps the modules carry, checked from the modules' own tables: every
// number an element names (an icon's every image) is drawn, at the size the
// generator lists for it, and nothing else is; the counts and the numbers
// the simulator knows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "host/artwork.h"
#include "tools/artwork/bitmap_set.h"

namespace {

struct Listed {
    int width = 0, height = 0;
};

std::map<int, Listed> read_list(const std::string& path) {
    std::map<int, Listed> list;
    std::ifstream in(path);
    int number = 0;
    Listed size;
    while (in >> number >> size.width >> size.height) list[number] = size;
    return list;
}

bool read_bitmap(const std::string& path, Picture* picture) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M') return false;
    return decode_dib(std::vector<uint8_t>(data.begin() + 14, data.end()), picture);
}

// The module's numbers, checked against its folder of bitmaps.
std::map<int, BitmapUse> check_module(const std::string& name) {
    std::string gauges = QUILLMAR_GAUGES_DIR;
    ModuleTables tables;
    std::string error;
    EXPECT_TRUE(load_module_tables(gauges + "/" + name + QUILLMAR_MODULE_SUFFIX, &tables, &error)) << error;
    std::vector<std::string> problems;
    std::map<int, BitmapUse> named =
        collect_bitmaps(tables, name == "Quillmar" ? quillmar_bitmap_blocks() : std::vector<BitmapBlock>{}, &problems);
    for (const std::string& p : problems) ADD_FAILURE() << name << ": " << p;

    std::map<int, Listed> listed = read_list(gauges + "/" + name + ".bitmaps/bitmaps.txt");
    for (const auto& [number, use] : named) {
        auto it = listed.find(number);
        if (it == listed.end()) {
            ADD_FAILURE() << name << ": bitmap " << number << " is named by an element but not drawn";
            continue;
        }
        Picture picture;
        if (!read_bitmap(gauges + "/" + name + ".bitmaps/" + std::to_string(number) + ".bmp", &picture)) {
            ADD_FAILURE() << name << ": bitmap " << number << " cannot be read";
            continue;
        }
        EXPECT_EQ(picture.width, it->second.width) << name << " bitmap " << number;
        EXPECT_EQ(picture.height, it->second.height) << name << " bitmap " << number;
    }
    for (const auto& [number, size] : listed)
        EXPECT_TRUE(named.count(number)) << name << ": bitmap " << number << " is drawn but no element names it";
    return named;
}

}  // namespace

TEST(ArtworkSet, TheDisplayModulesCarryTheirOneBlackImage) {
    for (const char* name : {"Quillmar_EADI", "Quillmar_EHSI"}) {
        std::map<int, BitmapUse> named = check_module(name);
        ASSERT_EQ(named.size(), 1u) << name;
        EXPECT_EQ(named.begin()->first, 101) << name;
        Picture picture;
        ASSERT_TRUE(read_bitmap(std::string(QUILLMAR_GAUGES_DIR) + "/" + name + ".bitmaps/101.bmp", &picture));
        EXPECT_EQ(picture.width, 171);
        EXPECT_EQ(picture.height, 138);
        int lit = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) lit += picture.get(x, y).r + picture.get(x, y).g + picture.get(x, y).b;
        EXPECT_EQ(lit, 0) << name << ": the image is black";
    }
}

// The element tables come to 464 bitmaps, numbered 100 to 1042. (The
// simulator's own copy of the module is known to carry 435: the radio heads'
// window legends and knobs, a few lamps and faces of this build take more
// images than it had; the tables, not that figure, decide what is drawn.)
TEST(ArtworkSet, TheMainModuleCarriesEveryBitmapItsElementsName) {
    std::map<int, BitmapUse> named = check_module("Quillmar");
    EXPECT_EQ(named.size(), 464u);
    EXPECT_TRUE(named.count(123)) << "System_Simulator's bitmap";
    ASSERT_FALSE(named.empty());
    EXPECT_EQ(named.begin()->first, 100);
    EXPECT_EQ(named.rbegin()->first, 1042);
}
