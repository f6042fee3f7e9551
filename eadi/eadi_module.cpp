// Quillmar_EADI: the electronic attitude director indicator.
//
// One routine-style gauge. Each of its seven standard routines makes the
// host's standard call and does the display's own work around it: install
// builds the geometry, the drawing surface and resources and opens the
// channels; initialize prepares the host variables; update reads the
// channels; draw paints the picture on every second call; kill releases
// everything install took.
#include <cmath>
#include <cstdio>

#include "eadi/eadi_state.h"
#include "frame/elements.h"
#include "frame/host_ops.h"
#include "frame/panel_state.h"

EadiState eadi;

const uint32_t eadi_variable_ids[EADI_VARIABLE_COUNT] = {80,  78,  41,  44,  40,  70,  354, 73,
                                                         2,   116, 120, 103, 792, 793, 794, 557};

// The header is defined below, after the routines it names.
extern GaugeHeader eadi_header;
static constinit StaticImageElement eadi_image =
    static_image(&eadi_header, {.bitmap = 101, .flags = 6});
static ElementHead* eadi_elements[] = {&eadi_image.head, nullptr};
static MouseRect eadi_mouse[] = {mouse_parent(0, 0, 0, 0), mouse_close(), mouse_end()};

static void FS_CALL eadi_query();
static void FS_CALL eadi_install(uint32_t value);
static void FS_CALL eadi_initialize();
static void FS_CALL eadi_update();
static void FS_CALL eadi_generate(uint32_t phase);
static void FS_CALL eadi_draw();
static void FS_CALL eadi_kill();

GaugeHeader eadi_header = {GAUGE_VERSION_ROUTINES, "Quillmar EADI - electronic attitude director",
                                  eadi_elements, eadi_query, eadi_install, eadi_initialize,
                                  eadi_update, eadi_generate, eadi_draw, eadi_kill, 0, 171, {},
                                  nullptr, nullptr};

// ------------------------------------------------------------ resources

// The window of the attitude sphere, grid units.
static const double window_outline[EADI_WINDOW_POINTS][2] = {
    {56, 55},   {63, 45},   {72, 37},   {82, 33},   {90, 28},   {100, 26}, {114, 26}, {124, 28},
    {132, 31},  {142, 37},  {151, 45},  {158, 55},  {158, 115}, {151, 125}, {142, 133}, {132, 139},
    {124, 142}, {114, 144}, {100, 144}, {90, 142},  {82, 139},  {72, 133},  {63, 125},  {56, 115}};

static const DrawColour pen_colours[PEN_COUNT] = {EADI_SKY,   EADI_GROUND_BROWN, EADI_BLACK,
                                                  EADI_WHITE, EADI_YELLOW,       EADI_GREEN,
                                                  EADI_MAGENTA, EADI_RED};
static const DrawColour brush_colours[BRUSH_COUNT] = {EADI_SKY,   EADI_GROUND_BROWN, EADI_BLACK,
                                                      EADI_WHITE, EADI_GREEN,        EADI_MAGENTA};
// Height in grid units and weight of each fixed font.
static const struct {
    double height;
    int32_t weight;
} font_table[FONT_COUNT] = {{18, 400}, {20, 700}, {15, 700}, {20, 700}};

static void compute_geometry() {
    int32_t width = eadi.image ? eadi.image->width : 0;
    int32_t height = eadi.image ? eadi.image->height : 0;
    eadi.geometry = eadi_geometry(width, height);
    const double sixty = 60.0 * 3.14159265358979323846 / 180.0;
    eadi.cos_plus60 = std::cos(sixty);
    eadi.sin_plus60 = std::sin(sixty);
    eadi.cos_minus60 = std::cos(-sixty);
    eadi.sin_minus60 = std::sin(-sixty);
    for (int i = 0; i < EADI_WINDOW_POINTS; ++i)
        eadi.window[i] = eadi_point(eadi.geometry, window_outline[i][0], window_outline[i][1]);
}

static void release_drawing() {
    for (DrawPen*& pen : eadi.pens) draw_pen_delete(pen), pen = nullptr;
    for (DrawBrush*& brush : eadi.brushes) draw_brush_delete(brush), brush = nullptr;
    for (DrawFont*& font : eadi.fonts) draw_font_delete(font), font = nullptr;
    draw_font_spec_free(eadi.ladder_font);
    eadi.ladder_font = nullptr;
    if (eadi.device) {
        draw_surface_release(eadi.surface);
        draw_device_release(eadi.device);
    }
    eadi.surface = nullptr;
    eadi.device = nullptr;
}

static void create_drawing() {
    release_drawing();   // a second install without a kill between must not leak
    eadi.device = draw_device_create();
    if (eadi.device)
        eadi.surface = draw_surface_create(eadi.device, eadi.image ? eadi.image->width : 0,
                                           eadi.image ? eadi.image->height : 0);
    for (int i = 0; i < PEN_COUNT; ++i) eadi.pens[i] = draw_pen_create(1, pen_colours[i]);
    for (int i = 0; i < BRUSH_COUNT; ++i) eadi.brushes[i] = draw_brush_create(brush_colours[i]);
    for (int i = 0; i < FONT_COUNT; ++i) {
        DrawFontSpec spec = draw_arial(int32_t(font_table[i].height * eadi.geometry.sy), font_table[i].weight);
        eadi.fonts[i] = draw_font_create(&spec);
    }
    eadi.ladder_font = draw_font_spec_alloc();
    if (eadi.ladder_font) {
        eadi.ladder_font->height = int32_t(15 * eadi.geometry.sy);
        eadi.ladder_font->weight = 400;
        std::snprintf(eadi.ladder_font->face, sizeof eadi.ladder_font->face, "%s", "Arial");
    }
}

// ------------------------------------------------------------ channels

static void read_channel(ChannelId id) {
    switch (id) {
    case CHANNEL_EL_PWR_AVAIL: channel_read(&eadi.channels, id, &eadi.power_state); break;
    case CHANNEL_DH: channel_read(&eadi.channels, id, &eadi.decision_height); break;
    case CHANNEL_AIR_DATA: channel_read(&eadi.channels, id, &eadi.air_data); break;
    case CHANNEL_AVIONICS: channel_read(&eadi.channels, id, &eadi.avionics); break;
    case CHANNEL_AP_LATERAL_MODE: channel_read(&eadi.channels, id, &eadi.lateral_mode); break;
    case CHANNEL_AP_VERTICAL_MODE: channel_read(&eadi.channels, id, &eadi.vertical_mode); break;
    case CHANNEL_FD_CANCEL: channel_read(&eadi.channels, id, &eadi.fd_cancel); break;
    default: break;
    }
}

// Opens the channels in the module's order, reading each as it is mapped;
// the avionics switch comes from the panel state file and is published.
static void open_channels() {
    for (int i = 0; i < eadi_channels.count; ++i) {
        ChannelId id = eadi_channels.ids[i];
        channel_open(&eadi.channels, id);
        if (id != CHANNEL_AVIONICS) read_channel(id);
    }
    eadi.avionics = panel_state_read_int(KEY_AVIONICS_AVIONICS_SG1_POS);
    channel_write(&eadi.channels, CHANNEL_AVIONICS, int(eadi.avionics));
}

// ------------------------------------------------------------ routines

static void FS_CALL eadi_query() { host_gauge_query(eadi_elements[0]); }

static void FS_CALL eadi_install(uint32_t value) {
    host_gauge_install(eadi_elements[0], value);
    eadi.image = eadi_image.image;
    host_mouse_install(eadi_mouse, &eadi_header, eadi.image ? &eadi.image->width : nullptr);
    host_mouse_register(eadi_mouse, &eadi_header);
    compute_geometry();
    create_drawing();
    open_channels();
}

static void FS_CALL eadi_initialize() {
    if (eadi.image)
        eadi.geometry = eadi_geometry(eadi.image->width, eadi.image->height);
    for (int i = 0; i < EADI_VARIABLE_COUNT; ++i) {
        eadi.variables[i] = host_variable(eadi_variable_ids[i]);
        initialize_host_variable(&eadi.variables[i]);
    }
    host_gauge_initialize(eadi_elements[0]);
}

static void FS_CALL eadi_update() {
    for (int i = 0; i < eadi_channels.count; ++i) read_channel(eadi_channels.ids[i]);
    host_gauge_update(eadi_elements[0]);
}

static void FS_CALL eadi_generate(uint32_t phase) { host_gauge_generate(eadi_elements[0], phase); }

// Draws on every second call; on the others bit 31 of the element's flags
// tells the host that the image has not changed.
static void FS_CALL eadi_draw() {
    if (eadi.draw_flag == 1) {
        eadi_image.head.image_flags &= ~IMAGE_UNCHANGED;
        eadi_frame();
        eadi.draw_flag = 0;
    } else {
        eadi_image.head.image_flags |= IMAGE_UNCHANGED;
        eadi.draw_flag = 1;
    }
    host_gauge_draw(eadi_elements[0]);
}

static void FS_CALL eadi_kill() {
    channels_release(&eadi.channels, eadi_channels);
    host_mouse_unregister(eadi_mouse, &eadi_header);
    host_gauge_kill(eadi_elements[0]);
    release_drawing();
}

static void FS_CALL module_init() {}
static void FS_CALL module_deinit() {}

FRAME_EXPORT LinkageRecord<1> Linkage;
LinkageRecord<1> Linkage = {{MODULE_ID, module_init, module_deinit, 0, 0, 0}, {&eadi_header, nullptr}};
