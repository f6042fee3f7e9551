#include "tools/artwork/bitmap_set.h"

#include <algorithm>

#include "main_module/bitmaps.h"
#include "main_module/gauge_list.h"

std::vector<BitmapBlock> quillmar_bitmap_blocks() {
    std::vector<BitmapBlock> blocks;
#define GAUGE_NAME(id, name, size) [[maybe_unused]] constexpr const char* name_of_##id = name;
    QUILLMAR_GAUGES(GAUGE_NAME)
#undef GAUGE_NAME
#define BLOCK(id, base) blocks.push_back(BitmapBlock{name_of_##id, base});
    QUILLMAR_BITMAP_BLOCKS(BLOCK)
#undef BLOCK
    std::sort(blocks.begin(), blocks.end(), [](const BitmapBlock& a, const BitmapBlock& b) { return a.base < b.base; });
    return blocks;
}

std::map<int, BitmapUse> collect_bitmaps(const ModuleTables& module, const std::vector<BitmapBlock>& blocks,
                                         std::vector<std::string>* problems) {
    std::map<int, BitmapUse> set;
    // What shows each number: element identity and image index, to tell a
    // shared picture from two pictures that collide.
    std::map<int, std::pair<const ElementHead*, int>> first_shown;
    for (size_t g = 0; g < module.gauges.size(); ++g) {
        const GaugeInfo& gauge = module.gauges[g];
        for (size_t i = 0; i < gauge.elements.size(); ++i) {
            const ElementInfo& e = gauge.elements[i];
            if (e.head->type == ELEMENT_STRING || e.head->resource < 0) continue;
            for (int k = 0; k < std::max(1, e.images); ++k) {
                int number = e.head->resource + k;
                auto [it, added] = set.try_emplace(number);
                BitmapUse& use = it->second;
                if (added) {
                    use.number = number;
                    use.gauge = static_cast<int>(g);
                    use.element = static_cast<int>(i);
                    use.image = k;
                    first_shown[number] = {e.head, k};
                } else {
                    // A shared picture is always the same image of elements
                    // of the same kind with the same count.
                    const ElementHead* other = first_shown[number].first;
                    int other_image = first_shown[number].second;
                    int other_count = other->type == ELEMENT_ICON
                                          ? reinterpret_cast<const IconElement*>(other)->image_count
                                          : 1;
                    if (other_image != k || other->type != e.head->type || other_count != e.images)
                        problems->push_back(gauge.name + ": bitmap " + std::to_string(number) + " is image " +
                                            std::to_string(k) + " of an element and also another picture of " +
                                            module.gauges[static_cast<size_t>(use.gauge)].name);
                }
                ++use.uses;
            }
        }
    }
    // A number belongs to the block it lies in when a gauge of that block
    // shows it (a family's second gauge, even listed first, draws from the
    // first gauge's block); the pictures of a gauge without a block of its
    // own (System_Simulator's) are named by number.
    for (auto& [number, use] : set) {
        const BitmapBlock* block = nullptr;
        for (const BitmapBlock& b : blocks)
            if (b.base <= number) block = &b;
        if (!block) continue;
        bool shown_by_its_gauge = false;
        for (const GaugeInfo& gauge : module.gauges) {
            if (gauge.name != block->gauge) continue;
            for (const ElementInfo& e : gauge.elements)
                if (e.head->type != ELEMENT_STRING && e.head->resource >= 0 && e.head->resource <= number &&
                    number < e.head->resource + std::max(1, e.images))
                    shown_by_its_gauge = true;
        }
        if (!shown_by_its_gauge) continue;
        use.block = block->gauge;
        use.block_base = block->base;
    }
    return set;
}
