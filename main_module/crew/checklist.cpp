// Checklist: the pop-up page of the aircraft's normal checklists.
//
// Ten tabs down the right side choose a checklist; the page shows its
// numbered items, and a dot beside the current item (red for the items that
// need the captain's check, green for the others) moves down the page as the
// crew steps through it with the Next Checklist Item bar at the bottom or
// with the space bar. The voice of the simulator cycle speaks every item the
// page moves to. The page keeps nothing in the panel state file.
#include "main_module/crew/checklist.h"

#include <cstdint>

#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// ------------------------------------------------------------ the checklists

int checklist_last_item(int section) {
    int lines = sound_checklist_lines(section);
    return lines > 0 ? lines - 1 : 0;
}

void checklist_next_item() {
    double& section = quillmar.panels.checklist_section;
    double& item = quillmar.panels.checklist_item;
    int s = static_cast<int>(section);
    if (s != section || s < 1 || s > 10) return;
    if (item < checklist_last_item(s)) {
        item += 1;
    } else {
        section = s == 10 ? 1 : s + 1;
        item = 0;
    }
}

// The items of each checklist marked with the red dot, ended by 0.
static const uint8_t red_items[10][13] = {
    {3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 22, 23},  // PRESTART
    {1, 2, 7, 8},                                // CREW AT THE STATIONS
    {1},                                         // ALWAYS BEFORE PUSH BACK/TOW
    {6, 9},                                      // AFTER START
    {5, 7, 10},                                  // TAXI
    {},                                          // CLIMB
    {1, 5},                                      // DESCENT
    {3, 10},                                     // APPROACH
    {4},                                         // AFTER LANDING
    {10, 13, 14, 16},                            // PARKING
};

bool checklist_item_red(int section, int item, bool previous) {
    if (section < 1 || section > 10 || item < 1 || item > checklist_last_item(section))
        return previous;
    for (uint8_t red : red_items[section - 1])
        if (red == item) return true;
    return false;
}

// One item a line; TAXI has a blank line after item 4, APPROACH after its
// interim completions, items 4 and 7.
constexpr double LINE_PIXELS = 24;

double checklist_marker_offset(int section, double item) {
    double lines = item;
    if (section == 8) lines += (item > 4 ? 1 : 0) + (item > 7 ? 1 : 0);
    if (section == 5 && item > 4) lines += 1;
    return LINE_PIXELS * lines;
}

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_BACKGROUND = BITMAPS_Checklist,
    BMP_PAGES = BMP_BACKGROUND + 1,         // 11: cover page, then the ten checklists
    BMP_TABS = BMP_PAGES + 11,              // 2 per tab: plain, highlighted
    BMP_RED_DOT = BMP_TABS + 2 * 10,
    BMP_GREEN_DOT = BMP_RED_DOT + 1,
};

static constexpr GaugeHeader* GAUGE = &gauge_Checklist.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static double FS_CALL page_image(ElementHead*) {
    double section = quillmar.panels.checklist_section;
    return section >= 0 && section <= 10 ? static_cast<int>(section) : 0;
}

template <int K>
static double FS_CALL tab_image(ElementHead*) {
    return quillmar.checklist.checklist_tab_lit[K - 1];
}

static double FS_CALL marker_offset(ElementHead*) {
    return checklist_marker_offset(static_cast<int>(quillmar.panels.checklist_section),
                                   quillmar.panels.checklist_item);
}

static constinit IconElement page =
    icon(GAUGE, {.bitmap = BMP_PAGES, .x = 17, .y = 102}, page_image, 11);

#define TAB(k, y_)                                                                          \
    static constinit IconElement tab_##k = icon(                                            \
        GAUGE, {.bitmap = BMP_TABS + 2 * ((k) - 1), .x = 348, .y = (y_), .flags = T}, tab_image<k>, 2);
TAB(1, 65)
TAB(2, 129)
TAB(3, 193)
TAB(4, 257)
TAB(5, 321)
TAB(6, 386)
TAB(7, 450)
TAB(8, 514)
TAB(9, 578)
TAB(10, 642)
#undef TAB

// Both dots share one place and move down by the marker offset.
static constinit SliderElement red_dot = slider(
    GAUGE, {.bitmap = BMP_RED_DOT, .x = 4, .y = 84, .flags = T}, nullptr, marker_offset, 0, 1);
static constinit SliderElement green_dot = slider(
    GAUGE, {.bitmap = BMP_GREEN_DOT, .x = 4, .y = 84, .flags = T}, nullptr, marker_offset, 0, 1);

enum ChecklistElement : int {
    CHECKLIST_PAGE,
    CHECKLIST_TAB_1,
    CHECKLIST_RED_DOT = CHECKLIST_TAB_1 + 10,
    CHECKLIST_GREEN_DOT,
};

static ElementHead* checklist_children[] = {
    &page.head,   &tab_1.head,  &tab_2.head,   &tab_3.head,    &tab_4.head,
    &tab_5.head,  &tab_6.head,  &tab_7.head,   &tab_8.head,    &tab_9.head,
    &tab_10.head, &red_dot.head, &green_dot.head, nullptr,
};

static constinit StaticImageElement background =
    static_image(GAUGE, {.bitmap = BMP_BACKGROUND, .children = checklist_children});
static ElementHead* checklist_elements[] = {&background.head, nullptr};

// ------------------------------------------------------------ mouse

static void select_section(int section) {
    quillmar.panels.checklist_section = section;
    quillmar.panels.checklist_item = 0;
}

template <int K>
static int32_t FS_CALL click_tab(const MousePoint*, uint32_t) {
    select_section(K);
    return 1;
}

static int32_t FS_CALL click_next_item(const MousePoint*, uint32_t) {
    checklist_next_item();
    return 1;
}

static MouseRect checklist_rects[] = {
    mouse_parent(0, 0, 486, 705),
    mouse_child(348, 67, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<1>),
    mouse_child(348, 129, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<2>),
    mouse_child(348, 193, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<3>),
    mouse_child(348, 257, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<4>),
    mouse_child(348, 321, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<5>),
    mouse_child(348, 386, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<6>),
    mouse_child(348, 450, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<7>),
    mouse_child(348, 514, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<8>),
    mouse_child(348, 578, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<9>),
    mouse_child(348, 642, 136, 62, CURSOR_HAND, MOUSE_CLICK, click_tab<10>),
    mouse_child(18, 681, 314, 20, CURSOR_HAND, MOUSE_CLICK, click_next_item),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install, update

static void checklist_install() {
    for (int32_t& lit : quillmar.checklist.checklist_tab_lit) lit = 0;
}

static void checklist_update(GaugeHeader* gauge) {
    ChecklistState& cl = quillmar.checklist;
    int section = static_cast<int>(quillmar.panels.checklist_section);
    double item = quillmar.panels.checklist_item;

    cl.checklist_marker_red =
        checklist_item_red(section, static_cast<int>(item), cl.checklist_marker_red != 0) ? 1 : 0;

    bool marked = item != 0;
    show_element_if(gauge_element(gauge, {CHECKLIST_RED_DOT}), marked && cl.checklist_marker_red == 1);
    show_element_if(gauge_element(gauge, {CHECKLIST_GREEN_DOT}), marked && cl.checklist_marker_red == 0);

    for (int k = 1; k <= 10; ++k) cl.checklist_tab_lit[k - 1] = k == section ? 1 : 0;
}

static void FS_CALL checklist_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: checklist_install(); break;
    case SERVICE_UPDATE: checklist_update(gauge); break;
    default: break;
    }
}

MAIN_GAUGE(Checklist, checklist_elements, checklist_rects, checklist_callback);
