#include "host/trace.h"

#include <cstdio>

void Trace::stamp() {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.3f %lld ", seconds_, static_cast<long long>(frame_));
    text_ += buffer;
}

void Trace::event(uint32_t id, int32_t value, const char* name) {
    ++counts_.events;
    Happening h;
    h.kind = Happening::EVENT;
    h.id = id;
    h.value = value;
    window_.push_back(std::move(h));
    if (!recording_) return;
    stamp();
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "event 0x%05X %d %s\n", id, value, name ? name : "unknown");
    text_ += buffer;
}

void Trace::channel(const std::string& name, const std::string& text) {
    ++counts_.channel_changes;
    Happening h;
    h.kind = Happening::CHANNEL;
    h.name = name;
    h.text = text;
    window_.push_back(std::move(h));
    if (!recording_) return;
    stamp();
    text_ += "channel " + name + " " + quote_text(text) + "\n";
}

void Trace::sound(Happening::Kind kind, const std::string& name) {
    ++counts_.sounds;
    Happening h;
    h.kind = kind;
    h.name = name;
    window_.push_back(std::move(h));
    if (!recording_) return;
    static const char* const WORDS[] = {"", "", "start", "loop", "stop", "end"};
    stamp();
    text_ += std::string("sound ") + WORDS[kind] + " " + name + "\n";
}

void Trace::ini(const std::string& section, const std::string& key, const std::string& value) {
    ++counts_.ini_writes;
    Happening h;
    h.kind = Happening::INI;
    h.name = section + "/" + key;
    h.text = value;
    window_.push_back(std::move(h));
    if (!recording_) return;
    stamp();
    text_ += "ini [" + section + "] " + key + "=" + quote_text(value) + "\n";
}

void Trace::note(const std::string& what) {
    if (!recording_) return;
    stamp();
    text_ += what + "\n";
}

std::string quote_text(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        }
    }
    return out + "\"";
}
