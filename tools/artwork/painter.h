// Draws one image of a bitmap from its description, on Cairo with the
// Liberation fonts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/artwork/descriptions.h"
#include "tools/artwork/module_tables.h"

// A finished image: 24-bit colour, black (0, 0, 0) where it is transparent.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;   // 3 bytes a pixel, rows top to bottom
};

// What the painter knows about the image it draws.
struct ImageJob {
    const Descriptions* descriptions = nullptr;
    const BitmapDescription* description = nullptr;
    const GaugeInfo* gauge = nullptr;       // the gauge whose block holds the bitmap
    const ElementInfo* element = nullptr;   // the first element that shows it
    int block_base = 0;                     // first number of the gauge's block
    int image = 0;                          // the image's index in its icon (n)
    // A housing: drawn in the gauge's pixels at `width` by `height` pixels
    // (`element` is the gauge's first element, for its dials).
    bool housing = false;
    int width = 0, height = 0;
    double scale = 1;
    // Lines of the checklist text table: row name (Checklist_Prestart_01) to words.
    const std::map<std::string, std::string>* checklist_rows = nullptr;
};

// Draws the image; false and a message ("file:line: ...") on a bad command.
bool paint_image(const ImageJob& job, Image* image, std::string* error);
