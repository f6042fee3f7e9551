// The gauges drawn with their modules' own bitmaps, as the simulator draws
// them: the first element of a gauge on top of the elements that hang from
// it, earlier siblings over later ones, black transparent where the element
// says so, images without the bright flag darkened at night while the panel
// lights are off.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/render.h"

class Host;
struct GaugeInstance;
struct ElementHead;

// A device-independent bitmap (info header, colour table, pixels; 8, 24 or
// 32 bits, uncompressed) as a picture. False when it is none of those.
bool decode_dib(const std::vector<uint8_t>& dib, Picture* picture);

// The bitmaps of one loaded module, each read once when first drawn.
class ModuleArtwork {
public:
    ModuleArtwork(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    // The bitmap of that number, or nullptr when the module has none.
    const Picture* bitmap(int number);

private:
    void* handle_;
    std::string path_;
    std::map<int, std::optional<Picture>> cache_;
};

// A gauge's picture: the area its elements cover, which may reach beyond the
// gauge's own box; (origin_x, origin_y) is where the gauge's 0,0 lies in it.
struct GaugePicture {
    Picture picture;
    int origin_x = 0, origin_y = 0;
};

// Draws the gauge with its module's bitmaps. False when its module carries
// none of the bitmaps its elements name (the caller draws it plainly).
// The dial point (gauge pixels) a needle points to at value v, from its
// scale table; false when the needle has none.
bool needle_dial_point(const NeedleElement* n, double v, double* px, double* py);

bool draw_gauge_artwork(Host& host, GaugeInstance& gauge, GaugePicture* out);

// The size the gauge's first image gives a gauge placed with its width only.
std::optional<int> artwork_height(Host& host, GaugeInstance& gauge);

// True at night by the host's clock (hours 20 to 5).
bool host_night(Host& host);
// The night look applies while it is night and the panel lights are off.
bool host_night_look(Host& host);
// A colour as the night look darkens it.
Rgb night_colour(Rgb c);
