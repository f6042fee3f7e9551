// Quillmar_EHSI: the electronic horizontal situation indicator.
//
// Built like the attitude display: one routine-style gauge whose standard
// routines make the host's standard call and do the display's own work
// around it. install builds the geometry, the drawing surface and resources
// and opens the channels; update reads the channels; draw paints the
// picture on every second call; kill releases everything install took. The
// host variables are only read, right before use; they need no preparation.
#include <cstdio>

#include "ehsi/ehsi_state.h"
#include "frame/elements.h"
#include "frame/host_ops.h"
#include "frame/panel_state.h"

EhsiState ehsi;

// Ids of the host variables, in the order of EhsiVariable.
static const uint32_t variable_ids[EHSI_VARIABLE_COUNT] = {81, 107, 45, 54, 42, 51, 43, 52, 40,
                                                           50, 31,  35, 32, 36, 25, 39, 59};

// The header is defined below, after the routines it names.
extern GaugeHeader ehsi_header;
static constinit StaticImageElement ehsi_image =
    static_image(&ehsi_header, {.bitmap = 101, .flags = 4});
static ElementHead* ehsi_elements[] = {&ehsi_image.head, nullptr};
static MouseRect ehsi_mouse[] = {mouse_parent(0, 0, 0, 0), mouse_close(), mouse_end()};

static void FS_CALL ehsi_query();
static void FS_CALL ehsi_install(uint32_t value);
static void FS_CALL ehsi_initialize();
static void FS_CALL ehsi_update();
static void FS_CALL ehsi_generate(uint32_t phase);
static void FS_CALL ehsi_draw();
static void FS_CALL ehsi_kill();

GaugeHeader ehsi_header = {GAUGE_VERSION_ROUTINES, "Quillmar EHSI - electronic horizontal situation",
                                  ehsi_elements, ehsi_query, ehsi_install, ehsi_initialize,
                                  ehsi_update, ehsi_generate, ehsi_draw, ehsi_kill, 0, 171, {},
                                  nullptr, nullptr};

// ------------------------------------------------------------ resources

// The display window of the arc mode, grid units.
static const double window_outline[EHSI_WINDOW_POINTS][2] = {{18, 0},    {196, 0},  {196, 62},
                                                             {150, 172}, {64, 172}, {18, 62}};

static const struct {
    int32_t width;
    DrawColour colour;
} pen_table[PEN_COUNT] = {{1, EHSI_WHITE},  {1, EHSI_CYAN},   {1, EHSI_BROWN}, {1, EHSI_BLACK},
                          {1, EHSI_WHITE},  {1, EHSI_YELLOW}, {1, EHSI_GREEN}, {2, EHSI_CYAN},
                          {2, EHSI_GREEN},  {1, EHSI_CYAN}};
static const DrawColour brush_colours[BRUSH_COUNT] = {EHSI_CYAN,   EHSI_BROWN, EHSI_BLACK, EHSI_WHITE,
                                                      EHSI_YELLOW, EHSI_GREEN, EHSI_CYAN};
// Height in grid units and weight of each fixed font.
static const struct {
    double height;
    int32_t weight;
} font_table[FONT_COUNT] = {{18, 400}, {20, 700}, {15, 700}, {20, 700}, {22, 700}};

static void compute_geometry() {
    ehsi.geometry = ehsi_geometry(ehsi.image ? ehsi.image->width : 0, ehsi.image ? ehsi.image->height : 0);
    for (int i = 0; i < EHSI_WINDOW_POINTS; ++i)
        ehsi.window[i] = ehsi_point(ehsi.geometry, window_outline[i][0], window_outline[i][1]);
}

static void release_drawing() {
    for (DrawPen*& pen : ehsi.pens) draw_pen_delete(pen), pen = nullptr;
    for (DrawBrush*& brush : ehsi.brushes) draw_brush_delete(brush), brush = nullptr;
    for (DrawFont*& font : ehsi.fonts) draw_font_delete(font), font = nullptr;
    draw_font_spec_free(ehsi.letter_font);
    ehsi.letter_font = nullptr;
    if (ehsi.device) {
        draw_surface_release(ehsi.surface);
        draw_device_release(ehsi.device);
    }
    ehsi.surface = nullptr;
    ehsi.device = nullptr;
}

static void create_drawing() {
    release_drawing();   // a second install without a kill between must not leak
    ehsi.device = draw_device_create();
    if (ehsi.device)
        ehsi.surface = draw_surface_create(ehsi.device, ehsi.image ? ehsi.image->width : 0,
                                           ehsi.image ? ehsi.image->height : 0);
    for (int i = 0; i < PEN_COUNT; ++i) ehsi.pens[i] = draw_pen_create(pen_table[i].width, pen_table[i].colour);
    for (int i = 0; i < BRUSH_COUNT; ++i) ehsi.brushes[i] = draw_brush_create(brush_colours[i]);
    for (int i = 0; i < FONT_COUNT; ++i) {
        DrawFontSpec spec = draw_arial(int32_t(font_table[i].height * ehsi.geometry.sy), font_table[i].weight);
        ehsi.fonts[i] = draw_font_create(&spec);
    }
    ehsi.letter_font = draw_font_spec_alloc();
    if (ehsi.letter_font) {
        ehsi.letter_font->height = int32_t(15 * ehsi.geometry.sy);
        ehsi.letter_font->weight = 400;
        std::snprintf(ehsi.letter_font->face, sizeof ehsi.letter_font->face, "%s", "Arial");
    }
}

// ------------------------------------------------------------ channels

static double* channel_value(ChannelId id) {
    switch (id) {
    case CHANNEL_EL_PWR_AVAIL: return &ehsi.power_state;
    case CHANNEL_EFISCP_NAV_SEL: return &ehsi.nav_selection;
    case CHANNEL_EFISCP_GSPD_TTS_SEL: return &ehsi.speed_selection;
    case CHANNEL_EFISCP_NEEDLE1_SEL: return &ehsi.needle1_selection;
    case CHANNEL_EFISCP_NEEDLE2_SEL: return &ehsi.needle2_selection;
    case CHANNEL_EFISCP_EHSI_MODE: return &ehsi.mode;
    case CHANNEL_AVIONICS: return &ehsi.avionics;
    default: return nullptr;
    }
}

static void read_channel(ChannelId id) {
    if (double* value = channel_value(id)) channel_read(&ehsi.channels, id, value);
}

// Opens the channels in the module's order, reading each as it is mapped;
// the avionics switch comes from the panel state file and is published.
static void open_channels() {
    for (int i = 0; i < ehsi_channels.count; ++i) {
        ChannelId id = ehsi_channels.ids[i];
        channel_open(&ehsi.channels, id);
        if (id != CHANNEL_AVIONICS) read_channel(id);
    }
    ehsi.avionics = panel_state_read_int(KEY_AVIONICS_AVIONICS_SG1_POS);
    channel_write(&ehsi.channels, CHANNEL_AVIONICS, int(ehsi.avionics));
}

// ------------------------------------------------------------ routines

static void FS_CALL ehsi_query() { host_gauge_query(ehsi_elements[0]); }

static void FS_CALL ehsi_install(uint32_t value) {
    host_gauge_install(ehsi_elements[0], value);
    ehsi.image = ehsi_image.image;
    host_mouse_install(ehsi_mouse, &ehsi_header, ehsi.image ? &ehsi.image->width : nullptr);
    host_mouse_register(ehsi_mouse, &ehsi_header);
    compute_geometry();
    create_drawing();
    open_channels();
    for (int i = 0; i < EHSI_VARIABLE_COUNT; ++i) ehsi.variables[i] = host_variable(variable_ids[i]);
}

static void FS_CALL ehsi_initialize() {
    if (ehsi.image) ehsi.geometry = ehsi_geometry(ehsi.image->width, ehsi.image->height);
    host_gauge_initialize(ehsi_elements[0]);
}

static void FS_CALL ehsi_update() {
    for (int i = 0; i < ehsi_channels.count; ++i) read_channel(ehsi_channels.ids[i]);
    host_gauge_update(ehsi_elements[0]);
}

static void FS_CALL ehsi_generate(uint32_t phase) { host_gauge_generate(ehsi_elements[0], phase); }

// Draws on every second call; on the others bit 31 of the element's flags
// tells the host that the image has not changed.
static void FS_CALL ehsi_draw() {
    if (ehsi.draw_flag == 1) {
        ehsi_image.head.image_flags &= ~IMAGE_UNCHANGED;
        ehsi_frame();
        ehsi.draw_flag = 0;
    } else {
        ehsi_image.head.image_flags |= IMAGE_UNCHANGED;
        ehsi.draw_flag = 1;
    }
    host_gauge_draw(ehsi_elements[0]);
}

static void FS_CALL ehsi_kill() {
    channels_release(&ehsi.channels, ehsi_channels);
    host_mouse_unregister(ehsi_mouse, &ehsi_header);
    host_gauge_kill(ehsi_elements[0]);
    release_drawing();
}

static void FS_CALL module_init() {}
static void FS_CALL module_deinit() {}

FRAME_EXPORT LinkageRecord<1> Linkage;
LinkageRecord<1> Linkage = {{MODULE_ID, module_init, module_deinit, 0, 0, 0}, {&ehsi_header, nullptr}};
