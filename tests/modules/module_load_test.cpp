// Loads the three built modules the way the simulator does (LoadLibraryA and
// GetProcAddress on Windows, dlopen and dlsym on Linux), checks their records
// and services System_Simulator through a small host function table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/records.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

std::string module_path(const char* name) {
    std::string path = std::string(QUILLMAR_GAUGES_DIR) + "/" + name + QUILLMAR_MODULE_SUFFIX;
#if defined(_WIN32)
    // The build folder is a Unix path; Wine shows the Unix root as drive Z:.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

struct Module {
    void* handle = nullptr;
    ImportTableRecord* import_table = nullptr;
    LinkageHead* linkage = nullptr;
};

Module load(const char* name) {
    Module m;
    std::string path = module_path(name);
#if defined(_WIN32)
    HMODULE h = LoadLibraryA(path.c_str());
    m.handle = h;
    if (h) {
        m.import_table = reinterpret_cast<ImportTableRecord*>(GetProcAddress(h, "ImportTable"));
        m.linkage = reinterpret_cast<LinkageHead*>(GetProcAddress(h, "Linkage"));
    }
#else
    m.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m.handle) {
        m.import_table = static_cast<ImportTableRecord*>(dlsym(m.handle, "ImportTable"));
        m.linkage = static_cast<LinkageHead*>(dlsym(m.handle, "Linkage"));
    }
#endif
    return m;
}

std::vector<GaugeHeader*> gauges_of(const LinkageHead* linkage) {
    std::vector<GaugeHeader*> out;
    for (GaugeHeader* const* g = linkage_gauges(linkage); *g; ++g) out.push_back(*g);
    return out;
}

// ------------------------------------------------ a host that serves one gauge

GaugeHeader* servicing = nullptr;
std::vector<std::string> calls;

void FS_CALL op_install(ElementHead*, uint32_t) {
    calls.push_back("install");
    if (servicing->callback) servicing->callback(servicing, SERVICE_INSTALL, 0);
}
void FS_CALL op_update(ElementHead*) {
    calls.push_back("update");
    if (servicing->callback) servicing->callback(servicing, SERVICE_UPDATE, 0);
}
void FS_CALL op_kill(ElementHead*) {
    calls.push_back("kill");
    if (servicing->callback) servicing->callback(servicing, SERVICE_KILL, 0);
}
void FS_CALL op_element(ElementHead*) { calls.push_back("other"); }
void FS_CALL op_element_value(ElementHead*, uint32_t) { calls.push_back("other"); }
void FS_CALL op_event(uint32_t, uint32_t) { calls.push_back("event"); }
void FS_CALL op_variable(HostVariable* v) { v->value = 0.0; }

HostFunctionTable make_host_table() {
    HostFunctionTable t{};
    t.gauge_query = op_element;
    t.gauge_install = op_install;
    t.gauge_initialize = op_element;
    t.gauge_update = op_update;
    t.gauge_generate = op_element_value;
    t.gauge_draw = op_element;
    t.gauge_kill = op_kill;
    t.send_event = op_event;
    t.initialize_variable = op_variable;
    t.read_variable = op_variable;
    return t;
}

// ---------------------------------------------------------------- tests

TEST(Modules, EachModuleExportsItsRecords) {
    struct Expect {
        const char* name;
        size_t gauges;
        uint32_t version;
        uint32_t size;
    } expected[] = {{"Quillmar", 75, GAUGE_VERSION_CALLBACK, 1},
                    {"Quillmar_EADI", 1, GAUGE_VERSION_ROUTINES, 171},
                    {"Quillmar_EHSI", 1, GAUGE_VERSION_ROUTINES, 171}};
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        Module m = load(e.name);
        ASSERT_NE(m.handle, nullptr) << module_path(e.name);
        ASSERT_NE(m.import_table, nullptr);
        ASSERT_NE(m.linkage, nullptr);
        EXPECT_EQ(m.import_table->key, IMPORT_TABLE_KEY);
        EXPECT_EQ(m.import_table->host_table, nullptr);
        EXPECT_EQ(m.linkage->module_id, MODULE_ID);
        std::vector<GaugeHeader*> gauges = gauges_of(m.linkage);
        ASSERT_EQ(gauges.size(), e.gauges);
        EXPECT_EQ(gauges[0]->version, e.version);
        EXPECT_EQ(gauges[0]->size, e.size);
        if (e.version == GAUGE_VERSION_ROUTINES) {
            EXPECT_EQ(gauges[0]->mouse_rects, nullptr);
            EXPECT_EQ(gauges[0]->callback, nullptr);
        }
    }
}

TEST(Modules, MainModuleListsItsGaugesInOrder) {
    Module m = load("Quillmar");
    ASSERT_NE(m.linkage, nullptr);
    std::vector<GaugeHeader*> gauges = gauges_of(m.linkage);
    ASSERT_EQ(gauges.size(), 75u);
    const char* some[][2] = {{"System_Simulator", "1"}, {"Airspeed", "181"}, {"Anti-ice", "173"},
                             {"Panel_Select", "151"}};
    int positions[] = {0, 1, 57, 74};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(gauges[positions[i]]->name, some[i][0]);
        EXPECT_EQ(gauges[positions[i]]->size, static_cast<uint32_t>(std::stoi(some[i][1])));
    }
}

TEST(Modules, SystemSimulatorInstallsUpdatesAndKillsThroughTheHostTable) {
    Module m = load("Quillmar");
    ASSERT_NE(m.linkage, nullptr);
    static HostFunctionTable table = make_host_table();
    m.import_table->host_table = &table;
    servicing = gauges_of(m.linkage)[0];
    calls.clear();
    servicing->install(0);
    servicing->update();
    servicing->kill();
    m.import_table->host_table = nullptr;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), "install");
    EXPECT_EQ(calls.back(), "kill");
}


// The simulator reads the element records in place from the moment it loads
// a module, so every element of every gauge names its own gauge header in
// the data as built (before anything of the module has run).
TEST(Modules, EveryElementPointsBackToItsGaugeHeaderAsLoaded) {
    for (const char* name : {"Quillmar", "Quillmar_EADI", "Quillmar_EHSI"}) {
        SCOPED_TRACE(name);
        Module m = load(name);
        ASSERT_NE(m.linkage, nullptr);
        int elements = 0;
        for (GaugeHeader* gauge : gauges_of(m.linkage)) {
            SCOPED_TRACE(gauge->name);
            std::vector<ElementHead*> stack;
            for (ElementHead** e = gauge->elements; e && *e; ++e) stack.push_back(*e);
            ASSERT_FALSE(stack.empty());
            while (!stack.empty()) {
                ElementHead* e = stack.back();
                stack.pop_back();
                ++elements;
                ASSERT_EQ(e->gauge, gauge) << "element with bitmap " << e->resource;
                EXPECT_EQ(e->previous, nullptr);
                for (ElementHead** c = e->next; c && *c; ++c) stack.push_back(*c);
            }
        }
        EXPECT_GT(elements, 0);
    }
}

// ------------------------------------------------ the displays' blank face

// The bitmap (header and pixels, without a file header) of resource 101 of a
// display module: from the library's resources on Windows, from the file
// beside the library on Linux.
std::string display_face(const char* name) {
#if defined(_WIN32)
    HMODULE h = LoadLibraryA(module_path(name).c_str());
    if (!h) return {};
    HRSRC found = FindResourceA(h, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(2));   // a bitmap
    HGLOBAL loaded = found ? LoadResource(h, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(h, found)) : std::string();
#else
    std::string path = std::string(QUILLMAR_GAUGES_DIR) + "/" + name + ".bitmaps/101.bmp";
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    std::string bytes;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, n);
    std::fclose(file);
    return bytes.size() > 14 && bytes.compare(0, 2, "BM") == 0 ? bytes.substr(14) : std::string();
#endif
}

TEST(Modules, DisplaysCarryTheirBlankFaceAsBitmap101) {
    for (const char* name : {"Quillmar_EADI", "Quillmar_EHSI"}) {
        SCOPED_TRACE(name);
        std::string dib = display_face(name);
        ASSERT_GE(dib.size(), 40u);
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
        std::memcpy(&width, &dib[4], 4);
        std::memcpy(&height, &dib[8], 4);
        std::memcpy(&bits, &dib[14], 2);
        std::memcpy(&compression, &dib[16], 4);
        EXPECT_EQ(width, 171);
        EXPECT_EQ(height < 0 ? -height : height, 138);
        EXPECT_EQ(bits, 24);
        EXPECT_EQ(compression, 0u);
        const size_t row = (171 * 3 + 3) / 4 * 4;
        ASSERT_GE(dib.size(), 40 + row * 138);
        EXPECT_EQ(dib.find_first_not_of('\0', 40), std::string::npos) << "not all black";
    }
}

}  // namespace
