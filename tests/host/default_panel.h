// The built-in panel on a host made for a whole-panel test: the modules of
// this build (and the sound set where asked), the trace not recorded, and a
// panel state file to start from.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "host/host.h"

// Battery master and symbol generator on: the panel powers up and both
// displays draw.
inline constexpr const char* POWERED_PANEL_STATE = "[EPCP]\r\nbatt_switch=1\r\n[AVIONICS]\r\navionics_sg1_pos=1\r\n";

inline HostOptions built_modules(bool sounds) {
    HostOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    if (sounds) options.sound_dir = QUILLMAR_DEFAULT_SOUND_DIR;
    return options;
}

// Prepares the host's simulator folder, writes `panel_state` ("" for none)
// as its panel state file and loads the built-in panel.
inline bool load_default_panel(Host& host, const char* panel_state, std::string* error) {
    if (!host.prepare(error)) return false;
    host.trace.set_recording(false);
    if (*panel_state) std::ofstream(host.ini_path(), std::ios::binary) << panel_state;
    std::vector<std::string> warnings;
    return host.load(parse_panel_config(default_panel_text(), "panel.cfg"), &warnings, error);
}
