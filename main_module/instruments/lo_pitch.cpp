// Lo_Pitch1, Lo_Pitch2: the low-pitch lamps, one per engine.
//
// A lamp lights while its propeller turns between 30 and 75 percent (the
// blades near low pitch) and power is available.
#include "frame/host_ops.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"

// Both lamps draw from Lo_Pitch1's bitmap; each names its engine's
// propeller speed as its host variable.
enum : int32_t { BMP_LAMP = BITMAPS_Lo_Pitch1 };

static constinit StaticImageElement lamp1 = static_image(
    &gauge_Lo_Pitch1.h, {.bitmap = BMP_LAMP, .flags = IMAGE_TRANSPARENT, .variable = 701});
static constinit StaticImageElement lamp2 = static_image(
    &gauge_Lo_Pitch2.h, {.bitmap = BMP_LAMP, .flags = IMAGE_TRANSPARENT, .variable = 709});
static ElementHead* lo_pitch1_elements[] = {&lamp1.head, nullptr};
static ElementHead* lo_pitch2_elements[] = {&lamp2.head, nullptr};

static MouseRect lo_pitch1_rects[] = {mouse_parent(0, 0, 22, 22), mouse_close(), mouse_end()};
static MouseRect lo_pitch2_rects[] = {mouse_parent(0, 0, 22, 22), mouse_close(), mouse_end()};

// The band is open at both ends: exactly 0.3 or 0.75 leaves the lamp out.
constexpr double LOW_PITCH_FROM = 0.3, LOW_PITCH_TO = 0.75;

static void FS_CALL lo_pitch_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service != SERVICE_UPDATE) return;
    ElementHead* lamp = gauge_base(gauge);
    double speed = host_variable_value(&lamp->variable);
    show_element_if(lamp, instruments_powered() && speed > LOW_PITCH_FROM && speed < LOW_PITCH_TO);
}

MAIN_GAUGE(Lo_Pitch1, lo_pitch1_elements, lo_pitch1_rects, lo_pitch_callback);
MAIN_GAUGE(Lo_Pitch2, lo_pitch2_elements, lo_pitch2_rects, lo_pitch_callback);
