// The panel configuration in the simulator's own format: [Window Titles]
// names the windows, each [WindowNN] section places gauges with lines
// "gaugeNN=Module!Gauge, x, y[, w[, h]]" and may give "visible=0|1",
// "ident=N", "size_mm=W,H" and "file=NAME.bmp" (the window's background,
// a bitmap beside the panel file). Lines starting with "//" or ";" are
// comments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct GaugePlacement {
    std::string module;      // module file name without extension
    std::string gauge;       // gauge name inside the module
    int x = 0, y = 0;
    int width = 0, height = 0;   // 0: not given (the gauge's default size)
    int line = 0;                // line in the file, for messages
};

struct PanelWindow {
    std::string section;     // "Window00"
    std::string title;       // from [Window Titles], else the section name
    int ident = -1;
    bool visible = true;
    int width = 0, height = 0;   // from size_mm, 0 when not given
    std::string file;            // background bitmap, "" for none
    std::vector<GaugePlacement> gauges;
};

struct PanelConfig {
    std::string file_name;
    std::vector<PanelWindow> windows;
    std::vector<std::string> warnings;   // "FILE:LINE: ..." for every line skipped
};

PanelConfig parse_panel_config(std::string_view text, const std::string& file_name);

// The built-in panel (the same text as host/panel.cfg).
std::string_view default_panel_text();
