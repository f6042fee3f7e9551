// OAT: the outside air temperature readout, whole degrees Celsius.
#include <cmath>
#include <cstdio>

#include "main_module/gauge_table.h"
#include "main_module/instruments/engine_instruments.h"

static char oat_text[6];

// The host's temperature (its element's host variable) times 256 is
// degrees Celsius; the readout holds -99 to 999.
static double FS_CALL oat_readout(ElementHead* e) {
    auto* s = reinterpret_cast<StringElement*>(e);
    double celsius = std::fmin(std::fmax(e->variable.value * 256, -99), 999);
    std::snprintf(s->text, static_cast<size_t>(s->text_size), "%3d", static_cast<int>(celsius));
    return celsius;
}

constexpr TextStyle OAT_STYLE = {25, 15, 0x50F050, 0x000000, "Quartz", 400, STRING_ALIGN_RIGHT};
static constinit StringElement oat =
    readout(&gauge_OAT.h, {.variable = 350}, oat_readout, oat_text, OAT_STYLE);
static ElementHead* oat_elements[] = {&oat.head, nullptr};

static MouseRect oat_rects[] = {mouse_parent(0, 0, 25, 15), mouse_close(), mouse_end()};

static void FS_CALL oat_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    if (service == SERVICE_UPDATE) show_element_if(gauge_base(gauge), instruments_powered());
}

MAIN_GAUGE(OAT, oat_elements, oat_rects, oat_callback);
