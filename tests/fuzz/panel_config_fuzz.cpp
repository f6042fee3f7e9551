// Fuzz target for the panel configuration parser: any bytes as panel.cfg.
// Whatever the text, every placement the parser keeps names a module and a
// gauge and has no negative size, and every skipped line has its message.
// Built by the fuzz preset; scripts/fuzz.sh runs it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/panel_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t count) {
    std::string_view text(reinterpret_cast<const char*>(bytes), count);
    PanelConfig config = parse_panel_config(text, "panel.cfg");
    for (const PanelWindow& window : config.windows)
        for (const GaugePlacement& g : window.gauges)
            if (g.module.empty() || g.gauge.empty() || g.width < 0 || g.height < 0 || g.line < 1)
                std::abort();
    for (const std::string& warning : config.warnings)
        if (warning.rfind("panel.cfg:", 0) != 0) std::abort();
    return 0;
}
