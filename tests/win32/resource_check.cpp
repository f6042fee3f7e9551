// The bitmaps each built .gau carries, read with the Win32 resource calls as
// the simulator reads them: every number an element of the module names (an
// icon's every image) is a bitmap resource of the module, of the size the
// artwork generator lists for it, and the module carries no other bitmap.
//   resource_check GAUGES_DIR LISTS_DIR
// LISTS_DIR holds the generator's lists (MODULE.bitmaps/bitmaps.txt). Prints each
// module's count; exit code 0 when everything holds, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "frame/records.h"

namespace {

int failures = 0;

void fail(const std::string& message) {
    std::printf("FAIL %s\n", message.c_str());
    ++failures;
}

void collect(const ElementHead* e, std::set<int>* numbers, int depth) {
    if (!e || depth > 64) return;
    if (e->type != ELEMENT_STRING && e->resource >= 0) {
        int count = e->type == ELEMENT_ICON ? reinterpret_cast<const IconElement*>(e)->image_count : 1;
        for (int k = 0; k < (count > 0 ? count : 1); ++k) numbers->insert(e->resource + k);
    }
    if (e->next)
        for (int i = 0; e->next[i]; ++i) collect(e->next[i], numbers, depth + 1);
}

BOOL CALLBACK add_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR into) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(into)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

void check(const std::string& gauges, const std::string& lists, const std::string& name) {
    HMODULE module = LoadLibraryA((gauges + "\\" + name + ".gau").c_str());
    if (!module) {
        fail(name + ": cannot load the module");
        return;
    }
    auto* linkage = reinterpret_cast<const LinkageHead*>(GetProcAddress(module, "Linkage"));
    std::set<int> named, carried;
    if (!linkage) fail(name + ": no Linkage");
    else
        for (GaugeHeader* const* g = linkage_gauges(linkage); *g; ++g)
            if ((*g)->elements)
                for (int i = 0; (*g)->elements[i]; ++i) collect((*g)->elements[i], &named, 0);
    EnumResourceNamesA(module, MAKEINTRESOURCEA(2), add_name, reinterpret_cast<LONG_PTR>(&carried));

    std::map<int, std::pair<int, int>> listed;
    std::ifstream in(lists + "/" + name + ".bitmaps/bitmaps.txt");
    int n, w, h;
    while (in >> n >> w >> h) listed[n] = {w, h};

    for (int number : named) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(2));
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const auto* info = loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
        if (!info) {
            fail(name + ": bitmap " + std::to_string(number) + " is named by an element but not carried");
            continue;
        }
        auto it = listed.find(number);
        if (it == listed.end() || info->biWidth != it->second.first || std::abs(info->biHeight) != it->second.second)
            fail(name + ": bitmap " + std::to_string(number) + " is " + std::to_string(info->biWidth) + " x " +
                 std::to_string(std::abs(info->biHeight)) + ", not the listed size");
    }
    for (int number : carried)
        if (!named.count(number)) fail(name + ": bitmap " + std::to_string(number) + " is carried but named by no element");
    std::printf("%s: %zu bitmaps carried, %zu named\n", name.c_str(), carried.size(), named.size());
    FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: resource_check GAUGES_DIR LISTS_DIR\n");
        return 2;
    }
    for (const char* name : {"Quillmar", "Quillmar_EADI", "Quillmar_EHSI"}) check(argv[1], argv[2], name);
    return failures ? 1 : 0;
}
