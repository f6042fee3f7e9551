#include "host/panel_config.h"

#include <cctype>
#include <charconv>
#include <map>

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool parse_int(std::string_view s, int* out) {
    s = trim(s);
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *out);
    return ec == std::errc() && end == s.data() + s.size();
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == separator) {
            parts.push_back(trim(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    return parts;
}

bool is_gauge_key(const std::string& key) {
    if (key.size() <= 5 || key.compare(0, 5, "gauge") != 0) return false;
    for (size_t i = 5; i < key.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(key[i]))) return false;
    return true;
}

}  // namespace

PanelConfig parse_panel_config(std::string_view text, const std::string& file_name) {
    PanelConfig config;
    config.file_name = file_name;
    std::map<std::string, std::string> titles;   // lower-case section -> title
    std::string section;
    PanelWindow* window = nullptr;
    int line_number = 0;

    auto warn = [&](const std::string& message) {
        config.warnings.push_back(file_name + ":" + std::to_string(line_number) + ": " + message);
    };

    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++line_number;
        if (line.empty() || line[0] == ';' || line.substr(0, 2) == "//") continue;

        if (line.front() == '[') {
            if (line.back() != ']') {
                warn("section header without ']'; line skipped");
                window = nullptr;
                section.clear();
                continue;
            }
            section = lower(trim(line.substr(1, line.size() - 2)));
            window = nullptr;
            if (section.compare(0, 6, "window") == 0 && section != "window titles") {
                config.windows.push_back(PanelWindow{});
                window = &config.windows.back();
                window->section = std::string(trim(line.substr(1, line.size() - 2)));
            }
            continue;
        }

        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            warn("expected key=value; line skipped");
            continue;
        }
        std::string key = lower(trim(line.substr(0, equals)));
        std::string_view value = trim(line.substr(equals + 1));

        if (section == "window titles") {
            titles[key] = std::string(value);
            continue;
        }
        if (!window) continue;   // other sections of the file are not ours

        if (is_gauge_key(key)) {
            std::vector<std::string_view> parts = split(value, ',');
            size_t bang = parts[0].find('!');
            if (bang == std::string_view::npos || bang == 0 || bang + 1 == parts[0].size()) {
                warn("expected Module!Gauge, x, y[, w[, h]]; gauge line skipped");
                continue;
            }
            if (parts.size() < 3 || parts.size() > 5) {
                warn("expected Module!Gauge, x, y[, w[, h]] (" + std::to_string(parts.size() - 1) +
                     " numbers given); gauge line skipped");
                continue;
            }
            GaugePlacement g;
            g.module = std::string(trim(parts[0].substr(0, bang)));
            g.gauge = std::string(trim(parts[0].substr(bang + 1)));
            g.line = line_number;
            int* fields[] = {&g.x, &g.y, &g.width, &g.height};
            bool ok = true;
            for (size_t i = 1; i < parts.size() && ok; ++i) {
                if (!parse_int(parts[i], fields[i - 1])) {
                    warn("'" + std::string(parts[i]) + "' is not a whole number; gauge line skipped");
                    ok = false;
                }
            }
            if (ok && (g.width < 0 || g.height < 0)) {
                warn("negative gauge size; gauge line skipped");
                ok = false;
            }
            if (ok) window->gauges.push_back(g);
        } else if (key == "visible") {
            window->visible = value != "0";
        } else if (key == "ident") {
            if (!parse_int(value, &window->ident)) warn("ident is not a whole number; ignored");
        } else if (key == "file") {
            window->file = std::string(value);
        } else if (key == "size_mm") {
            std::vector<std::string_view> parts = split(value, ',');
            if (parts.size() != 2 || !parse_int(parts[0], &window->width) || !parse_int(parts[1], &window->height))
                warn("size_mm needs two whole numbers; ignored");
        }
        // position, background and other keys of the format mean nothing here.
    }

    for (PanelWindow& w : config.windows) {
        auto t = titles.find(lower(w.section));
        w.title = t != titles.end() ? t->second : w.section;
    }
    return config;
}
