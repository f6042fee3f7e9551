// The records a gauge module hands to the simulator, and the ones it gets back.
//
// The simulator reads these records in place, so field order is binding.
// On 32-bit Windows (the simulator's own platform) every offset and size is
// the simulator's and is checked by the static_asserts at the end of this
// file; the records there are packed to 4 bytes because the simulator keeps
// doubles at offsets that are not multiples of 8.
// On 64-bit Linux (the substitute host) the same fields come in the same
// order, pointers are pointer-sized and every field has its natural
// alignment, so offsets differ but the meaning of each field does not.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/abi.h"

#if FRAME_SIMULATOR_LAYOUT
#pragma pack(push, 4)
#endif

struct GaugeHeader;
struct ElementHead;
struct MouseRect;
struct HostVariable;

// ---------------------------------------------------------------- routines

using ModuleRoutine = void FS_CALL();                 // module init/deinit
using QueryRoutine = void FS_CALL();
using InstallRoutine = void FS_CALL(uint32_t value);
using InitializeRoutine = void FS_CALL();
using UpdateRoutine = void FS_CALL();
using GenerateRoutine = void FS_CALL(uint32_t phase);
using DrawRoutine = void FS_CALL();
using KillRoutine = void FS_CALL();

// Gauge callback: gauge header, service code, one further value.
using GaugeCallback = void FS_CALL(GaugeHeader* gauge, int32_t service, uint32_t extra);

// Element value callback: returns the value the element shows.
using ValueCallback = double FS_CALL(ElementHead* element);

// Mouse function: the click point (two signed 32-bit pixels) and the mouse flags.
struct MousePoint {
    int32_t x;
    int32_t y;
};
using MouseFunction = int32_t FS_CALL(const MousePoint* point, uint32_t flags);

// Service codes a gauge callback acts on; every other code returns at once.
enum : int32_t {
    SERVICE_INSTALL = 2,
    SERVICE_UPDATE = 6,
    SERVICE_KILL = 12,
};

// ------------------------------------------------------------ module records

// ImportTable: entry key 0x0F whose value word is the host function table,
// filled by the host before any routine runs, then an end entry.
struct ImportTableRecord {
    uint32_t key;          // 0x0000000F
    void* host_table;      // NULL in the file
    uint32_t end_key;      // 0
    void* end_value;       // NULL
};

// Fixed head of Linkage; the NULL-ended gauge header pointers follow it.
struct LinkageHead {
    uint32_t module_id;    // 0x13
    ModuleRoutine* init;
    ModuleRoutine* deinit;
    uint32_t flags;
    uint32_t priority;
    uint32_t version;
};

template <size_t N>
struct LinkageRecord {
    LinkageHead head;
    GaugeHeader* gauges[N + 1];   // N headers and the ending NULL
};

inline GaugeHeader* const* linkage_gauges(const LinkageHead* head) {
    return reinterpret_cast<GaugeHeader* const*>(head + 1);
}

constexpr uint32_t MODULE_ID = 0x13;
constexpr uint32_t IMPORT_TABLE_KEY = 0x0F;
constexpr uint32_t GAUGE_VERSION_ROUTINES = 0x262;  // routine style, 88 bytes
constexpr uint32_t GAUGE_VERSION_CALLBACK = 0x2BC;  // callback style, 120 bytes

// Gauge header, common part (the whole header of version 0x262).
struct GaugeHeader {
    uint32_t version;
    const char* name;
    ElementHead** elements;          // element list; first entry is the base element
    QueryRoutine* query;
    InstallRoutine* install;
    InitializeRoutine* initialize;
    UpdateRoutine* update;
    GenerateRoutine* generate;
    DrawRoutine* draw;
    KillRoutine* kill;
    uint32_t reserved_40;
    uint32_t size;                   // default size of the gauge
    uint32_t reserved_48[8];
    MouseRect* mouse_rects;          // NULL when the gauge has none
    GaugeCallback* callback;         // NULL when the gauge has none
};

// Gauge header of version 0x2BC: the common part and eight more zero words.
struct GaugeHeader700 {
    GaugeHeader h;
    uint32_t reserved_88[8];
};

// ------------------------------------------------------------ host variables

struct HostVariable {
    uint32_t id;
    void* host_pointer;              // host's use
    uint32_t host_type;              // host's use
    double value;                    // current value, filled by read_host_variable
    uint32_t host_use[3];
};

// ---------------------------------------------------------------- elements

enum ElementType : uint32_t {
    ELEMENT_STATIC_IMAGE = 0,
    ELEMENT_NEEDLE = 1,
    ELEMENT_STRING = 2,
    ELEMENT_SLIDER = 3,
    ELEMENT_ICON = 4,
    ELEMENT_MOVING_IMAGE = 5,
    ELEMENT_SPRITE = 6,
};

// Image flag bit that hides an element; the low bits are the host's.
constexpr uint32_t IMAGE_HIDDEN = 0x40000000u;
// Bit 31: set by the display modules on draw calls where the image did not change.
constexpr uint32_t IMAGE_UNCHANGED = 0x80000000u;

struct FailureRecord {
    int32_t key;
    int32_t action;
    uint32_t reserved;
};

struct ElementHead {
    uint32_t type;                   // ElementType
    int32_t resource;                // bitmap number, -1 where none
    int32_t x, y;
    int32_t previous_x, previous_y;  // host's
    int32_t offset_x, offset_y;      // pivot offset of rotating elements
    GaugeHeader* gauge;              // owning gauge
    ElementHead* previous;           // NULL
    ElementHead** next;              // NULL-ended child array, or NULL
    FailureRecord* failures;
    uint32_t image_flags;
    uint32_t reserved_52;
    uint32_t reserved_56;
    HostVariable variable;           // the simulator value that drives the element
};

// The host's image of a drawn element: filled during the standard install of
// an image element; the display modules copy their picture into it.
struct HostImage {
    int32_t width;
    int32_t height;
    int32_t pitch;                   // bytes per row
    uint16_t* pixels;                // 5-5-5: red bits 10-14, green 5-9, blue 0-4
};

// Type bodies beyond the common head. Their layout is this host's own.

// Scale table row of a needle: value to dial point.
struct ScalePoint {
    double value;
    int32_t x, y;
};

struct StaticImageElement {          // type 0
    ElementHead head;
    HostImage* image;                // filled by the host at install
};

struct NeedleElement {               // type 1
    ElementHead head;
    ValueCallback* value;            // NULL: the element's own host variable value
    const ScalePoint* scale;         // NULL: the value is the angle (270 = up, clockwise)
    int32_t scale_count;
    int32_t centre_x, centre_y;      // dial centre the needle turns about
    double rate_limit;               // degrees per second, 0 for none
};

struct StringElement {               // type 2
    ElementHead head;
    ValueCallback* value;            // fills text as well as returning a value
    char* text;
    int32_t text_size;               // bytes of text, including the NUL
    int32_t width, height;
    uint32_t colour;                 // 0xRRGGBB
    uint32_t background;             // 0xRRGGBB
    const char* font;                // face name, NULL for the host's own
    int32_t weight;                  // 400 normal, 700 bold
    uint32_t align;                  // STRING_ALIGN_* below
};

enum : uint32_t {
    STRING_ALIGN_LEFT = 0,
    STRING_ALIGN_CENTRE = 1,
    STRING_ALIGN_RIGHT = 2,
};

struct SliderElement {               // type 3
    ElementHead head;
    ValueCallback* value_x;
    ValueCallback* value_y;
    double scale_x, scale_y;         // pixels per unit
};

struct IconElement {                 // type 4
    ElementHead head;
    ValueCallback* value;            // image n for value n
    int32_t image_count;
};

struct MovingImageElement {          // type 5
    ElementHead head;
    ValueCallback* value_x;
    ValueCallback* value_y;
    double min_x, max_x, min_y, max_y;   // value ranges
    int32_t travel_x, travel_y;          // pixels spanned by the ranges
};

struct SpriteElement {               // type 6
    ElementHead head;
    ValueCallback* offset_x;
    ValueCallback* offset_y;
    ValueCallback* rotation;         // degrees
    double texture_scale;
};

// -------------------------------------------------------- mouse rectangles

enum : int32_t {
    MOUSE_END = 0,
    MOUSE_PARENT = 1,
    MOUSE_CHILD = 2,
    MOUSE_CLOSE = 3,
};

constexpr uint32_t MOUSE_CLICK = 0x20000000u;          // single left click
constexpr uint32_t MOUSE_REPEAT = 0x20200000u;         // repeats while held
constexpr uint32_t MOUSE_DRAG = 0x00800000u;           // reports pointer while moving

struct MouseRect {
    int32_t type;
    int32_t x, y, width, height;
    int32_t cursor;                  // -1 none, 0 to 5 cursor shapes
    uint32_t help;
    uint32_t flags;
    uint32_t event;                  // always 0
    MouseFunction* function;
    uint32_t reserved;
};

// -------------------------------------------------------- host operations

// The host function table. Operations sit at fixed byte offsets on the
// simulator's platform (slot = offset / 4); unused slots are never called.
using HostElementOp = void FS_CALL(ElementHead* element);
using HostElementValueOp = void FS_CALL(ElementHead* element, uint32_t value);
using HostMouseInstallOp = void FS_CALL(MouseRect* rects, GaugeHeader* gauge, int32_t* size);
using HostMouseOp = void FS_CALL(MouseRect* rects, GaugeHeader* gauge);
using HostEventOp = void FS_CALL(uint32_t event, uint32_t value);
using HostVariableOp = void FS_CALL(HostVariable* variable);

struct HostFunctionTable {
    void* unused_0[24];
    HostElementOp* gauge_query;              //  96
    HostElementValueOp* gauge_install;       // 100: element, install value
    HostElementOp* gauge_initialize;         // 104
    HostElementOp* gauge_update;             // 108
    HostElementValueOp* gauge_generate;      // 112: element, phase
    HostElementOp* gauge_draw;               // 116
    void* unused_120;
    HostElementOp* gauge_kill;               // 124
    HostMouseInstallOp* mouse_install;       // 128: list, gauge, &image width (height follows)
    HostMouseOp* mouse_register;             // 132
    HostMouseOp* mouse_unregister;           // 136
    void* unused_140;
    HostEventOp* send_event;                 // 144
    void* unused_148;
    HostVariableOp* initialize_variable;     // 152
    void* unused_156;
    HostVariableOp* read_variable;           // 160
};

#if FRAME_SIMULATOR_LAYOUT
#pragma pack(pop)

static_assert(sizeof(void*) == 4);
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(offsetof(ImportTableRecord, host_table) == 4);
static_assert(sizeof(LinkageHead) == 24);
static_assert(offsetof(LinkageHead, init) == 4);
static_assert(offsetof(LinkageHead, deinit) == 8);
static_assert(offsetof(LinkageHead, flags) == 12);
static_assert(offsetof(LinkageHead, priority) == 16);
static_assert(offsetof(LinkageHead, version) == 20);
static_assert(offsetof(LinkageRecord<75>, gauges) == 24);
static_assert(sizeof(GaugeHeader) == 88);
static_assert(sizeof(GaugeHeader700) == 120);
static_assert(offsetof(GaugeHeader, name) == 4);
static_assert(offsetof(GaugeHeader, elements) == 8);
static_assert(offsetof(GaugeHeader, query) == 12);
static_assert(offsetof(GaugeHeader, kill) == 36);
static_assert(offsetof(GaugeHeader, reserved_40) == 40);
static_assert(offsetof(GaugeHeader, size) == 44);
static_assert(offsetof(GaugeHeader, reserved_48) == 48);
static_assert(offsetof(GaugeHeader, mouse_rects) == 80);
static_assert(offsetof(GaugeHeader, callback) == 84);
static_assert(offsetof(GaugeHeader700, reserved_88) == 88);
static_assert(sizeof(HostVariable) == 32);
static_assert(offsetof(HostVariable, host_pointer) == 4);
static_assert(offsetof(HostVariable, host_type) == 8);
static_assert(offsetof(HostVariable, value) == 12);
static_assert(offsetof(HostVariable, host_use) == 20);
static_assert(sizeof(FailureRecord) == 12);
static_assert(offsetof(ElementHead, resource) == 4);
static_assert(offsetof(ElementHead, x) == 8);
static_assert(offsetof(ElementHead, y) == 12);
static_assert(offsetof(ElementHead, previous_x) == 16);
static_assert(offsetof(ElementHead, offset_x) == 24);
static_assert(offsetof(ElementHead, offset_y) == 28);
static_assert(offsetof(ElementHead, gauge) == 32);
static_assert(offsetof(ElementHead, previous) == 36);
static_assert(offsetof(ElementHead, next) == 40);
static_assert(offsetof(ElementHead, failures) == 44);
static_assert(offsetof(ElementHead, image_flags) == 48);
static_assert(offsetof(ElementHead, reserved_52) == 52);
static_assert(offsetof(ElementHead, variable) == 60);
static_assert(offsetof(ElementHead, variable) + offsetof(HostVariable, value) == 72);
static_assert(sizeof(ElementHead) == 92);
static_assert(sizeof(MouseRect) == 44);
static_assert(offsetof(MouseRect, cursor) == 20);
static_assert(offsetof(MouseRect, help) == 24);
static_assert(offsetof(MouseRect, flags) == 28);
static_assert(offsetof(MouseRect, event) == 32);
static_assert(offsetof(MouseRect, function) == 36);
static_assert(offsetof(MouseRect, reserved) == 40);
static_assert(offsetof(HostFunctionTable, gauge_query) == 96);
static_assert(offsetof(HostFunctionTable, gauge_install) == 100);
static_assert(offsetof(HostFunctionTable, gauge_initialize) == 104);
static_assert(offsetof(HostFunctionTable, gauge_update) == 108);
static_assert(offsetof(HostFunctionTable, gauge_generate) == 112);
static_assert(offsetof(HostFunctionTable, gauge_draw) == 116);
static_assert(offsetof(HostFunctionTable, gauge_kill) == 124);
static_assert(offsetof(HostFunctionTable, mouse_install) == 128);
static_assert(offsetof(HostFunctionTable, mouse_register) == 132);
static_assert(offsetof(HostFunctionTable, mouse_unregister) == 136);
static_assert(offsetof(HostFunctionTable, send_event) == 144);
static_assert(offsetof(HostFunctionTable, initialize_variable) == 152);
static_assert(offsetof(HostFunctionTable, read_variable) == 160);
#else
// Same fields in the same order; slots of the function table are pointer-sized.
static_assert(offsetof(HostFunctionTable, gauge_query) == 24 * sizeof(void*));
static_assert(offsetof(HostFunctionTable, read_variable) == 40 * sizeof(void*));
static_assert(offsetof(ElementHead, variable) % alignof(HostVariable) == 0);
#endif
