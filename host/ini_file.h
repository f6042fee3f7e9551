// Reading the panel state file as the profile service sees it: sections and
// keys matched without regard to case, the first occurrence wins.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

std::vector<IniEntry> read_ini_file(const std::string& path);
std::optional<std::string> ini_lookup(const std::vector<IniEntry>& entries, const std::string& section,
                                      const std::string& key);
