// The bitmaps a module's elements name: every number an element shows (an
// icon's image n being its number + n), the first element in Linkage and
// tree order that shows it, and where the number lies in the module's table
// of numbers (the gauge whose block holds it and its offset there).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/artwork/module_tables.h"

struct BitmapUse {
    int number = 0;
    int gauge = 0;            // index of the first gauge that shows it
    int element = 0;          // index of that element in its gauge's tree
    int image = 0;            // its image index in that element (icons)
    int uses = 0;             // how many elements show it
    std::string block;        // gauge name of the block holding the number ("" when none)
    int block_base = 0;       // first number of that block (0 when none)
};

struct BitmapBlock {
    std::string gauge;        // gauge name as in the gauge table
    int base = 0;
};

// The blocks of Quillmar's table of numbers (main_module/bitmaps.h).
std::vector<BitmapBlock> quillmar_bitmap_blocks();

// Every number the module's elements name, by number. An element whose
// images reach into another element's different picture is reported in
// `problems` ("Gauge: ...").
std::map<int, BitmapUse> collect_bitmaps(const ModuleTables& module, const std::vector<BitmapBlock>& blocks,
                                         std::vector<std::string>* problems);
