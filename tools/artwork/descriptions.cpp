#include "tools/artwork/descriptions.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

bool split_words(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) d = line[i++];
                word += d;
            }
            if (!closed) {
                *error = "a text without its closing quote";
                return false;
            }
            // A quoted word keeps a leading marker so that it is never read as a number.
            words->push_back("\"" + word);
            continue;
        }
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        words->push_back(word);
    }
    return true;
}

bool parse_image_list(const std::string& text, std::vector<int>* images) {
    std::stringstream s(text);
    std::string part;
    while (std::getline(s, part, ',')) {
        if (part.empty()) return false;
        size_t dash = part.find('-', 1);
        char* end = nullptr;
        long first = std::strtol(part.c_str(), &end, 10);
        if (end == part.c_str()) return false;
        long last = first;
        if (dash != std::string::npos) {
            last = std::strtol(part.c_str() + dash + 1, &end, 10);
            if (*end) return false;
        } else if (*end) {
            return false;
        }
        if (last < first || last - first > 1000) return false;
        for (long k = first; k <= last; ++k) images->push_back(static_cast<int>(k));
    }
    return !images->empty();
}

namespace {

bool parse_number(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool read_file(const fs::path& path, Descriptions* out, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path.string();
        return false;
    }
    std::string name = path.filename().string();
    std::string line, gauge;
    int number = 0;
    std::vector<Command>* block = nullptr;     // the define or bitmap being read
    std::string block_kind;
    auto fail = [&](const std::string& message) {
        *error = name + ":" + std::to_string(number) + ": " + message;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        std::vector<std::string> words;
        std::string why;
        if (!split_words(line, &words, &why)) return fail(why);
        if (words.empty()) continue;
        const std::string& head = words[0];
        if (block) {
            if (head == "end") {
                block = nullptr;
                continue;
            }
            Command c;
            c.where = name + ":" + std::to_string(number);
            size_t first = 0;
            if (head[0] == '@') {
                if (head.find('$') != std::string::npos) c.images_text = head.substr(1);
                else if (!parse_image_list(head.substr(1), &c.images)) return fail("bad image list " + head);
                first = 1;
            }
            if (first >= words.size()) return fail("an image list without a command");
            c.words.assign(words.begin() + static_cast<long>(first), words.end());
            block->push_back(std::move(c));
            continue;
        }
        if (head == "colour") {
            double r, g, b;
            if (words.size() != 5 || !parse_number(words[2], &r) || !parse_number(words[3], &g) ||
                !parse_number(words[4], &b))
                return fail("colour NAME R G B");
            out->colours[words[1]] = Rgba{r / 255, g / 255, b / 255, 1};
        } else if (head == "define") {
            if (words.size() != 2) return fail("define NAME");
            if (out->defines.count(words[1])) return fail("'" + words[1] + "' is defined already");
            block = &out->defines[words[1]];
        } else if (head == "gauge") {
            if (words.size() != 2) return fail("gauge NAME");
            gauge = words[1];
        } else if (head == "bitmap") {
            double offset;
            if (words.size() != 2 || !parse_number(words[1], &offset)) return fail("bitmap OFFSET");
            if (gauge.empty()) return fail("a bitmap before any gauge line");
            BitmapDescription d;
            d.gauge = gauge;
            d.offset = static_cast<int>(offset);
            d.where = name + ":" + std::to_string(number);
            out->bitmaps.push_back(std::move(d));
            block = &out->bitmaps.back().commands;
        } else if (head == "housing") {
            if (words.size() != 2) return fail("housing GAUGE");
            BitmapDescription d;
            d.gauge = words[1];
            d.where = name + ":" + std::to_string(number);
            out->housings.push_back(std::move(d));
            block = &out->housings.back().commands;
        } else {
            return fail("unknown statement '" + head + "'");
        }
    }
    if (block) return fail("the file ends inside a block (no 'end')");
    return true;
}

}  // namespace

bool read_descriptions(const std::string& folder, Descriptions* out, std::string* error) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".art") files.push_back(entry.path());
    if (ec || files.empty()) {
        *error = "no descriptions (*.art) in " + folder;
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files)
        if (!read_file(f, out, error)) return false;
    return true;
}
