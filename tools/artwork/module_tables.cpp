#include "tools/artwork/module_tables.h"

#include <dlfcn.h>

#include <filesystem>

namespace {

void walk(GaugeInfo& gauge, const ElementHead* e, int parent, int depth) {
    if (!e || depth > 64 || gauge.elements.size() > 4096) return;
    ElementInfo info;
    info.head = e;
    info.parent = parent;
    info.depth = depth;
    if (e->type == ELEMENT_ICON) info.images = reinterpret_cast<const IconElement*>(e)->image_count;
    int self = static_cast<int>(gauge.elements.size());
    gauge.elements.push_back(info);
    if (e->next)
        for (int i = 0; e->next[i] && i < 4096; ++i) walk(gauge, e->next[i], self, depth + 1);
}

}  // namespace

bool load_module_tables(const std::string& path, ModuleTables* tables, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        *error = "cannot load " + path + ": " + dlerror();
        return false;
    }
    auto* linkage = static_cast<const LinkageHead*>(dlsym(handle, "Linkage"));
    if (!linkage) {
        *error = path + " exports no Linkage";
        return false;
    }
    tables->name = std::filesystem::path(path).stem().string();
    GaugeHeader* const* list = linkage_gauges(linkage);
    for (int i = 0; list[i] && i < 1024; ++i) {
        const GaugeHeader* h = list[i];
        GaugeInfo gauge;
        gauge.name = h->name ? h->name : "";
        gauge.size = static_cast<int>(h->size);
        gauge.header = h;
        if (h->elements)
            for (int k = 0; h->elements[k] && k < 1024; ++k) walk(gauge, h->elements[k], -1, 0);
        if (h->mouse_rects)
            for (int k = 0; k < 4096 && h->mouse_rects[k].type != MOUSE_END; ++k)
                if (h->mouse_rects[k].type == MOUSE_CHILD) gauge.mouse.push_back(h->mouse_rects[k]);
        tables->gauges.push_back(std::move(gauge));
    }
    return true;
}

const NeedleElement* find_needle(const GaugeInfo& gauge, int bitmap) {
    for (const ElementInfo& e : gauge.elements)
        if (e.head->type == ELEMENT_NEEDLE && e.head->resource == bitmap)
            return reinterpret_cast<const NeedleElement*>(e.head);
    return nullptr;
}
