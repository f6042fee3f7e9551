// What happened during a run: one line per happening in the trace text, and
// the happenings of the current window (the most recent action command) for
// the scenario's expectations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Happening {
    enum Kind { EVENT, CHANNEL, SOUND_START, SOUND_LOOP, SOUND_STOP, SOUND_END, INI, NOTE } kind = EVENT;
    uint32_t id = 0;          // event id
    int32_t value = 0;        // event value
    std::string name;         // channel, sound, "SECTION/key", note
    std::string text;         // channel text, ini value
};

class Trace {
public:
    // Simulated time and frame stamped on every line.
    void set_clock(double seconds, int64_t frame) {
        seconds_ = seconds;
        frame_ = frame;
    }
    void begin_window() { window_.clear(); }
    const std::vector<Happening>& window() const { return window_; }
    const std::string& text() const { return text_; }
    void clear() {
        text_.clear();
        window_.clear();
        counts_ = {};
    }
    // Suppresses the text (the window is still kept); for benchmarks.
    void set_recording(bool on) { recording_ = on; }

    void event(uint32_t id, int32_t value, const char* name);
    void channel(const std::string& name, const std::string& text);
    void sound(Happening::Kind kind, const std::string& name);
    void ini(const std::string& section, const std::string& key, const std::string& value);
    void note(const std::string& what);   // host's own lines: load, kill, snapshot

    struct Counts {
        int64_t events = 0, channel_changes = 0, sounds = 0, ini_writes = 0;
    };
    const Counts& counts() const { return counts_; }

private:
    void stamp();
    std::string text_;
    std::vector<Happening> window_;
    double seconds_ = 0;
    int64_t frame_ = 0;
    bool recording_ = true;
    Counts counts_;
};

// Quotes a text for a trace line or a message: printable ASCII as is, '"' and
// '\' escaped, every other byte as \xHH.
std::string quote_text(const std::string& text);
