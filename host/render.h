// Pictures of the panel: gauges, windows and the whole panel, the display
// modules' pictures copied from their 5-5-5 pixels. PNG files are written
// with the host's own minimal encoder, so no library is needed on any
// platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Host;
struct GaugeInstance;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;     // 3 bytes a pixel, rows top to bottom

    void resize(int w, int h, Rgb fill);
    void set(int x, int y, Rgb c);
    Rgb get(int x, int y) const;
    void fill_rect(int x, int y, int w, int h, Rgb c);
    void frame_rect(int x, int y, int w, int h, Rgb c);
    void line(int x0, int y0, int x1, int y1, Rgb c);
    // Text in the built-in 3 by 5 font at `scale`; returns the width drawn.
    int text(int x, int y, const std::string& s, Rgb c, int scale = 1);
    void paste(const Picture& p, int x, int y);
};

// A gauge's picture: with its module's bitmaps where the module carries them
// (host/artwork.h), else every element drawn plainly as what it is (a box
// with its bitmap number, a text element's text, a needle as a line).
Picture render_gauge(Host& host, GaugeInstance& gauge);
struct GaugePicture;
// The same with where the gauge's 0,0 lies in it (elements may reach out of
// the gauge's box).
GaugePicture render_gauge_area(Host& host, GaugeInstance& gauge);
// A panel window: a title bar WINDOW_TITLE_HEIGHT pixels high, below it the
// window's gauges at their places, later lines of the panel on top.
constexpr int WINDOW_TITLE_HEIGHT = 11;
Picture render_window(Host& host, int window);
// Every open window (the pop-ups only while their window event has them
// open), one below the other.
Picture render_panel(Host& host);

// A pixel of the gauge: from its display picture when it has one, else from
// the plain rendering. Nothing when outside.
std::optional<Rgb> gauge_pixel(Host& host, GaugeInstance& gauge, int x, int y);

// The PNG file of a picture (8-bit RGB, stored deflate blocks).
std::vector<uint8_t> encode_png(const Picture& picture);
bool write_png(const std::string& path, const Picture& picture);
uint32_t crc32_of(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t adler32_of(const uint8_t* data, size_t size);
