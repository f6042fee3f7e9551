// The descriptions the artwork is drawn from: text files of commands.
//
//   colour NAME R G B          a named colour
//   define NAME ... end        a piece of drawing used by `use NAME ARGS...`;
//                              $1, $2, ... in its lines are the arguments
//   gauge NAME                 the gauge whose bitmap block the next bitmaps
//                              belong to (its name in the gauge table)
//   bitmap OFFSET ... end      the picture of the bitmap numbered the block's
//                              first number + OFFSET (for an icon: all of its
//                              images, `n` being the image's index)
//   housing NAME ... end       what the panel around gauge NAME shows beneath
//                              it (its case, plate and print), in its pixels;
//                              drawn into the backgrounds of the panel windows
//
// A line of drawing is a command and its arguments; a first word `@0`,
// `@1,3` or `@2-5` limits it to those images of an icon. Numbers may be
// expressions of + - * / ( ) and n. `#` starts a comment, texts are in
// double quotes. The commands themselves are listed in painter.cpp.
#pragma once

#include <map>
#include <string>
#include <vector>

struct Command {
    std::vector<std::string> words;     // the command and its arguments
    std::vector<int> images;            // images it is limited to, empty for all
    std::string images_text;            // an image list naming arguments ($1), read when used
    std::string where;                  // "file:line" for messages
};

struct BitmapDescription {
    std::string gauge;
    int offset = 0;
    std::vector<Command> commands;
    std::string where;
};

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

struct Descriptions {
    std::map<std::string, Rgba> colours;
    std::map<std::string, std::vector<Command>> defines;
    std::vector<BitmapDescription> bitmaps;
    std::vector<BitmapDescription> housings;   // gauge name, offset 0
};

// Reads every *.art file of the folder, in name order. False and a message
// ("file:line: ...") on the first error.
bool read_descriptions(const std::string& folder, Descriptions* out, std::string* error);

// Splits a line into words: quoted texts are one word (without their quotes,
// with \" and \\ undone); `#` outside quotes ends the line.
bool split_words(const std::string& line, std::vector<std::string>* words, std::string* error);

// Parses an image list "0", "1,3", "2-5" (the text after '@').
bool parse_image_list(const std::string& text, std::vector<int>* images);
