#include "host/ini_file.h"

#include <cctype>
#include <fstream>

static std::string trimmed(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

static bool same_text(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<IniEntry> read_ini_file(const std::string& path) {
    std::vector<IniEntry> entries;
    std::ifstream in(path, std::ios::binary);
    std::string line, section;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section = trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = trimmed(line.substr(0, equals));
        if (!ini_lookup(entries, section, key))
            entries.push_back({section, key, trimmed(line.substr(equals + 1))});
    }
    return entries;
}

std::optional<std::string> ini_lookup(const std::vector<IniEntry>& entries, const std::string& section,
                                      const std::string& key) {
    for (const IniEntry& e : entries)
        if (same_text(e.section, section) && same_text(e.key, key)) return e.value;
    return std::nullopt;
}
