// The gauge tables of a built module, read as the simulator reads them: the
// module is loaded, its Linkage record found, and every gauge header's
// element tree and mouse rectangle list walked. Nothing of the module runs.
#pragma once

#include <string>
#include <vector>

#include "frame/records.h"

struct ElementInfo {
    const ElementHead* head = nullptr;
    int parent = -1;        // index of the element it hangs from, -1 for the element list
    int depth = 0;
    int images = 1;         // an icon's image count, else 1
};

struct GaugeInfo {
    std::string name;
    int size = 0;                        // default size
    const GaugeHeader* header = nullptr;
    std::vector<ElementInfo> elements;   // depth-first tree order
    std::vector<MouseRect> mouse;        // child rectangles in list order
};

struct ModuleTables {
    std::string name;                    // the module's file name without its suffix
    std::vector<GaugeInfo> gauges;       // in Linkage order
};

// Loads the module at `path` and walks its tables. The module stays loaded
// (the element records are read in place) for the life of the process.
bool load_module_tables(const std::string& path, ModuleTables* tables, std::string* error);

// The needle element of the gauge that shows `bitmap`, or nullptr.
const NeedleElement* find_needle(const GaugeInfo& gauge, int bitmap);
