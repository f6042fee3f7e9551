// A stand-in for the simulator in the display module tests: it fills the
// gauge's image at install, serves host variables from a table, counts the
// routine and mouse calls, publishes channel values as Quillmar would, and
// reads back the picture pixel by pixel or as a PNG file.
//
// The module under test is linked into the test program; its Linkage gives
// the gauge header and the routines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/channel.h"
#include "frame/records.h"

FRAME_EXPORT LinkageRecord<1> Linkage;

struct DisplayHost {
    HostImage image{};
    std::vector<uint16_t> pixels;
    double variables[1024]{};
    std::vector<uint32_t> initialized;   // ids given to initialize_host_variable, in order
    int installs = 0, draws = 0, kills = 0, updates = 0;
    int mouse_installs = 0, mouse_registers = 0, mouse_unregisters = 0;
    int32_t* mouse_size = nullptr;       // the address handed to mouse install
    MouseRect* mouse_list = nullptr;
    ChannelLinks channels{};             // Quillmar's side of the channels
};

extern DisplayHost display_host;

// Puts the host's function table into ImportTable and sets the size the
// gauge's image will get at install. Forgets all counts and variables.
void display_host_reset(int32_t width, int32_t height);

// The module's one gauge.
GaugeHeader* display_gauge();

// Runs install and initialize, as the host does when it builds the panel.
void display_install();
// Update, then draw calls until a picture has been drawn.
void display_frame();
// Kill, then releases Quillmar's side of the channels.
void display_kill();

void display_set_variable(uint32_t id, double value);
// A variable whose value is a whole number in the first 32 bits of the value field.
void display_set_variable_int(uint32_t id, int32_t value);
// Writes the channel as its owner in Quillmar does (opening it on first use).
void display_set_channel(ChannelId id, int value);

// The image pixel at (x, y) widened to 8 bits per colour (0xRRGGBB), or
// 0xFFFFFFFF outside the image.
uint32_t display_pixel(int32_t x, int32_t y);
// True when the pixel equals the colour in 5-bit-per-colour terms.
bool display_pixel_is(int32_t x, int32_t y, uint32_t r, uint32_t g, uint32_t b);
// Number of pixels of the colour (5-bit terms) in the box [x0, x1) x [y0, y1).
int display_count(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t r, uint32_t g, uint32_t b);

// Writes the image as an 8-bit RGB PNG, each pixel `scale` times wider and
// higher; false when the file cannot be written.
bool display_write_png(const std::string& path, int scale = 1);

// Writes the image as a binary PPM (8 bits per colour); false on failure.
bool display_write_ppm(const std::string& path);
// Number of pixels that differ (in 5-bit-per-colour terms) between the image
// and a PPM of the same size; -1 when the file is missing or of another size.
int display_differences_from(const std::string& ppm_path);

// Writes the picture as "<name>_reference.ppm" into the picture folder,
// counts the pixels that differ from the committed reference of that name,
// prints the figure and checks it against the allowance of this build.
void display_check_reference(const std::string& label, const std::string& name);

// Folder the picture tests write their PNGs to (made if missing).
std::string display_picture_folder();

// ------------------------------------------------ probes the picture tests share

struct Rgb {
    uint32_t r, g, b;
};
constexpr Rgb BLACK{0, 0, 0}, WHITE{255, 255, 255};

inline bool is(int x, int y, Rgb c) { return display_pixel_is(x, y, c.r, c.g, c.b); }
inline int count(int x0, int y0, int x1, int y1, Rgb c) { return display_count(x0, y0, x1, y1, c.r, c.g, c.b); }

// Pixels of the image, last row left out, that are not black.
int lit_pixels();

// The picture as the gauge shows it, and three times enlarged for looking at.
void save(const std::string& name);
