// A fixed run of settings file reads and writes over a set of awkward
// files, shared by the Windows program profile_diff (which runs it through
// the Win32 profile functions) and the Linux unit tests (which run it
// through the project's own reader and writer). Both compare the printed
// results, one line per step, with tests/data/profile/expected.txt, so the
// two implementations are held to the same answers.
//
// Only behaviour that Windows defines is exercised here; the choices of
// the Linux writer about where it places new lines are checked by the
// Linux unit tests instead (Windows and other implementations of it lay
// out new lines differently, and nothing reads the file but this service).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace profile_script {

using namespace std::string_literals;

struct CorpusFile {
    const char* name;
    std::string bytes;
};

// The text as UTF-16LE with its byte order mark (ASCII text only).
inline std::string utf16le(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

inline std::vector<CorpusFile> corpus() {
    return {
        // CRLF lines, a blank line between sections.
        {"crlf", "[EPCP]\r\nbatt_switch=1\r\nbatt1=0\r\n\r\n[AIRSPEED]\r\nbug_1=21500\r\n"},
        // LF lines, blanks around names and values, names in other cases.
        {"lf", "[Cabin Pressure]\n  Manual_Control_Status  =   1  \nlanding_altitude =-250\n"
               "[FUEL_CONTROL]\nfuel_control_left_pos= 75\n"},
        // No line end after the last line.
        {"noeol", "[OPTIONS]\r\nno_delays_status=0\r\nno_spacebar_status=1"},
        // Lines that are not keys, a comment, quoted, empty and long values.
        {"junk", "[FLIGHTMODE]\r\nthis line has no equals sign\r\n;ap_left_state=7\r\n"
                 "ap_altitude=123456789\r\nap_right_state=\"1\"\r\nquoted_blanks=\"  7 \"\r\n"
                 "empty_value=\r\nspaced = a b c \r\n"},
        // The same key twice, the same section twice.
        {"dups", "[NAV]\r\nnav1_knob=1\r\nnav1_knob=2\r\n[ADF]\r\nadf1_knob_pos=3\r\n"
                 "[nav]\r\nnav1_knob=4\r\nnav2_knob=5\r\n"},
        // A line longer than any buffer, and a long value.
        {"long", std::string(5000, 'x') + "\r\n[TPR]\r\nactive=1\r\ntpr1_knob=" +
                     std::string(300, '9') + "\r\ntpr2_knob=2\r\n"},
        // Bytes that are not text around the keys (no NUL bytes).
        {"binary", "\x01\x02\x7f\xc3\xa9 junk \x1b[0m\r\n[APU]\r\n\xff\xfe=\x80\r\napu_status=1\r\n"
                   "\x90\x91\x92\r\napu_gen=1\r\n"},
        // Single quotes, and a quoted value that just fits a 6-byte buffer.
        {"quotes", "[S]\r\nsingle='1'\r\nmixed='1\"\r\nlone='\r\nshort=\"-1500\"\r\n"},
        // A line holding only a key name before the real line of that key.
        {"nameonly", "[EPCP]\r\nbatt_switch\r\nbatt_switch=1\r\nbatt1=1\r\n"},
        // Saved by a Windows editor as "Unicode": UTF-16LE with a byte order mark.
        {"unicode", utf16le("[EPCP]\r\nbatt_switch=1\r\n")},
    };
}

// One read (section, key, default, buffer size) or write (section, key,
// value) on a corpus file; NULL where the step passes NULL.
struct Step {
    char op;               // 'R' read, 'W' write, 'E' the file's encoding
    const char* file;      // corpus name, or a name of no corpus file
    const char* section;
    const char* key;
    const char* text;      // default or value
    uint32_t size;         // read buffer size
    // Where Wine is known to answer differently from Windows' documented
    // behaviour (which the expected results hold), Wine's answer.
    const char* known_wine_answer = nullptr;
};

// The known Wine difference: a quoted value exactly one character shorter
// than the buffer comes back one character shorter still.
constexpr const char* WINE_QUOTED_VALUE_CUT_ONE_SHORT = "4 \"-150\\x00\"";

inline const Step steps[] = {
    // Plain reads, names in any case, values cut to the buffer.
    {'R', "crlf", "EPCP", "batt_switch", "0", 6},
    {'R', "crlf", "epcp", "BATT1", "1", 6},
    {'R', "crlf", " EPCP ", " batt_switch ", "0", 6},
    {'R', "crlf", "AIRSPEED", "bug_1", "212", 5},
    {'R', "crlf", "AIRSPEED", "bug_1", "212", 3},
    {'R', "crlf", "AIRSPEED", "bug_1", "212", 1},
    {'R', "crlf", "AIRSPEED", "bug_2", "184", 5},
    {'R', "crlf", "AIRSPEED", "bug_2", "184  ", 5},
    {'R', "crlf", "AIRSPEED", "bug_2", "18400", 3},
    {'R', "crlf", "NOSECTION", "bug_1", "x", 6},
    {'R', "crlf", "AIRSPEED", "bug_1", nullptr, 6},
    {'R', "crlf", "AIRSPEED", "nokey", nullptr, 6},
    // Lists of sections and keys.
    {'R', "crlf", nullptr, nullptr, "", 40},
    {'R', "crlf", nullptr, nullptr, "", 10},
    {'R', "crlf", "EPCP", nullptr, "", 40},
    // LF lines and blanks.
    {'R', "lf", "CABIN PRESSURE", "manual_control_status", "0", 6},
    {'R', "lf", "cabin pressure", "landing_altitude", "0", 6},
    {'R', "lf", "FUEL_CONTROL", "fuel_control_left_pos", "80", 6},
    {'R', "lf", "FUEL_CONTROL", "fuel_control_right_pos", "80", 6},
    // No line end at the end.
    {'R', "noeol", "OPTIONS", "no_spacebar_status", "0", 3},
    {'R', "noeol", "OPTIONS", "no_delays_status", "0", 3},
    // Lines that are not keys; quotes; empty and long values.
    {'R', "junk", "FLIGHTMODE", "this line has no equals sign", "d", 8},
    {'R', "junk", "FLIGHTMODE", "ap_left_state", "1", 8},
    {'R', "junk", "FLIGHTMODE", "ap_altitude", "6000", 8},
    {'R', "junk", "FLIGHTMODE", "ap_right_state", "0", 8},
    {'R', "junk", "FLIGHTMODE", "quoted_blanks", "0", 8},
    {'R', "junk", "FLIGHTMODE", "empty_value", "d", 8},
    {'R', "junk", "FLIGHTMODE", "spaced", "d", 8},
    // Duplicates: the first key and the first section win.
    {'R', "dups", "NAV", "nav1_knob", "0", 6},
    {'R', "dups", "NAV", "nav2_knob", "0", 6},
    {'R', "dups", "ADF", "adf1_knob_pos", "0", 6},
    // Long lines and junk around keys.
    {'R', "long", "TPR", "active", "0", 6},
    {'R', "long", "TPR", "tpr1_knob", "0", 6},
    {'R', "long", "TPR", "tpr2_knob", "0", 6},
    {'R', "binary", "APU", "apu_status", "0", 6},
    {'R', "binary", "APU", "apu_gen", "0", 6},
    // A missing file: defaults; the first write creates it.
    {'R', "new", "EPCP", "batt_switch", "0", 6},
    {'W', "new", "EPCP", "batt_switch", "1", 0},
    {'R', "new", "EPCP", "batt_switch", "0", 6},
    {'W', "new", "EPCP", "batt1", "0", 0},
    {'W', "new", "AIRCONDITIONING", "temperature_cabin", "215", 0},
    {'R', "new", "EPCP", "batt1", "1", 6},
    {'R', "new", "AIRCONDITIONING", "temperature_cabin", "150", 6},
    {'R', "new", nullptr, nullptr, "", 40},
    // Writes replace values and add keys and sections; the rest stays.
    {'W', "crlf", "EPCP", "batt_switch", "0", 0},
    {'W', "crlf", "epcp", "gen1", "1", 0},
    {'W', "crlf", "AIRSPEED", "bug_1", "  212", 0},
    {'W', "crlf", "NAV", "nav1_stby_freq", "1555", 0},
    {'R', "crlf", "EPCP", "batt_switch", "9", 6},
    {'R', "crlf", "EPCP", "batt1", "9", 6},
    {'R', "crlf", "EPCP", "gen1", "9", 6},
    {'R', "crlf", "AIRSPEED", "bug_1", "9", 5},
    {'R', "crlf", "NAV", "nav1_stby_freq", "9", 6},
    {'R', "crlf", "EPCP", nullptr, "", 40},
    {'W', "lf", "CABIN PRESSURE", "manual_control_status", "0", 0},
    {'W', "lf", "CABIN PRESSURE", "rate_uint_value", "3", 0},
    {'R', "lf", "CABIN PRESSURE", "manual_control_status", "9", 6},
    {'R', "lf", "CABIN PRESSURE", "landing_altitude", "9", 6},
    {'R', "lf", "CABIN PRESSURE", "rate_uint_value", "9", 6},
    {'R', "lf", "FUEL_CONTROL", "fuel_control_left_pos", "9", 6},
    {'W', "noeol", "OPTIONS", "no_delays_status", "1", 0},
    {'W', "noeol", "OPTIONS", "added", "2", 0},
    {'W', "noeol", "NEW SECTION", "key", "3", 0},
    {'R', "noeol", "OPTIONS", "no_delays_status", "9", 3},
    {'R', "noeol", "OPTIONS", "no_spacebar_status", "9", 3},
    {'R', "noeol", "OPTIONS", "added", "9", 3},
    {'R', "noeol", "NEW SECTION", "key", "9", 3},
    {'W', "dups", "NAV", "nav1_knob", "7", 0},
    {'W', "dups", "NAV", "nav3_knob", "8", 0},
    {'R', "dups", "NAV", "nav1_knob", "0", 6},
    {'R', "dups", "NAV", "nav3_knob", "0", 6},
    {'R', "dups", "ADF", "adf1_knob_pos", "0", 6},
    {'W', "long", "TPR", "tpr2_knob", "0", 0},
    {'R', "long", "TPR", "active", "9", 6},
    {'R', "long", "TPR", "tpr2_knob", "9", 6},
    {'W', "binary", "APU", "apu_gen", "0", 0},
    {'R', "binary", "APU", "apu_status", "9", 6},
    {'R', "binary", "APU", "apu_gen", "9", 6},
    {'W', "junk", "FLIGHTMODE", "ap_right_state", "0", 0},
    {'R', "junk", "FLIGHTMODE", "ap_right_state", "9", 8},
    {'R', "junk", "FLIGHTMODE", "ap_altitude", "9", 8},
    // NULL value removes a key, NULL key a section.
    {'W', "crlf", "EPCP", "batt1", nullptr, 0},
    {'R', "crlf", "EPCP", "batt1", "removed", 8},
    {'R', "crlf", "EPCP", "batt_switch", "9", 6},
    {'W', "crlf", "AIRSPEED", nullptr, nullptr, 0},
    {'R', "crlf", "AIRSPEED", "bug_1", "removed", 8},
    {'R', "crlf", nullptr, nullptr, "", 40},
    // A folder that does not exist: defaults, and writes fail.
    {'R', "missing\\new", "EPCP", "batt_switch", "0", 6},
    {'W', "missing\\new", "EPCP", "batt_switch", "1", 0},
    {'R', "missing\\new", "EPCP", "batt_switch", "0", 6},
    // One pair of single or double quotes is removed, from the default too.
    {'R', "quotes", "S", "single", "0", 6},
    {'R', "quotes", "S", "mixed", "0", 6},
    {'R', "quotes", "S", "lone", "0", 6},
    {'R', "quotes", "S", "short", "0", 7},
    {'R', "quotes", "S", "short", "0", 6, WINE_QUOTED_VALUE_CUT_ONE_SHORT},
    {'R', "quotes", "S", "nokey", "'7'", 6},
    {'R', "quotes", "S", "nokey", "\"7\"  ", 6},
    // A key name alone is the key, without a value: the default, until written.
    {'R', "nameonly", "EPCP", "batt_switch", "0", 6},
    {'R', "nameonly", "EPCP", "batt1", "0", 6},
    {'R', "nameonly", "EPCP", nullptr, "", 40},
    {'W', "nameonly", "EPCP", "batt_switch", "2", 0},
    {'R', "nameonly", "EPCP", "batt_switch", "0", 6},
    {'R', "nameonly", "EPCP", nullptr, "", 40},
    // UTF-16 files are read, and written back in UTF-16.
    {'R', "unicode", "EPCP", "batt_switch", "0", 6},
    {'W', "unicode", "EPCP", "batt_switch", "0", 0},
    {'W', "unicode", "EPCP", "batt1", "1", 0},
    {'W', "unicode", "AIRSPEED", "bug_1", "212", 0},
    {'R', "unicode", "EPCP", "batt_switch", "9", 6},
    {'R', "unicode", "EPCP", "batt1", "9", 6},
    {'R', "unicode", "AIRSPEED", "bug_1", "9", 6},
    {'R', "unicode", nullptr, nullptr, "", 40},
    {'E', "unicode", nullptr, nullptr, nullptr, 0},
    {'E', "crlf", nullptr, nullptr, nullptr, 0},
    // The list of sections of a missing file is empty.
    {'R', "missing\\new", nullptr, nullptr, "none", 40},
};

// How the file is written: "UTF-16LE" (byte order mark, then two bytes a
// character, ASCII ones here), "8-bit", or "missing".
inline std::string encoding_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "missing";
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return "8-bit";
    if (bytes.size() % 2 != 0) return "UTF-16LE with an odd last byte";
    for (size_t i = 3; i < bytes.size(); i += 2)
        if (bytes[i] != '\0') return "UTF-16LE with characters beyond ASCII";
    return "UTF-16LE";
}

inline std::string escape(const char* p, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

inline std::string shown(const char* s) {
    if (!s) return "NULL";
    std::string out(1, '"');
    out += escape(s, std::char_traits<char>::length(s));
    out += '"';
    return out;
}

// Writes the corpus into `folder` (created; emptied first) and runs every
// step on files named `api_folder` + "\" + corpus name + ".ini", the form
// in which the cockpit names its file. Returns one line per step.
inline std::vector<std::string> run(const std::filesystem::path& folder,
                                    const std::string& api_folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const CorpusFile& file : corpus()) {
        std::ofstream out(folder / (std::string(file.name) + ".ini"), std::ios::binary);
        out.write(file.bytes.data(), std::streamsize(file.bytes.size()));
    }
    std::vector<std::string> lines;
    int number = 0;
    for (const Step& step : steps) {
        std::string path = api_folder + "\\" + step.file + ".ini";
        char head[32];
        std::snprintf(head, sizeof head, "%02d %c %s ", ++number, step.op, step.file);
        std::string line = head + shown(step.section) + " " + shown(step.key) + " " +
                           shown(step.text);
        if (step.op == 'E') {
            line += " -> " + encoding_of(folder / (std::string(step.file) + ".ini"));
        } else if (step.op == 'R') {
            char buffer[64];
            std::fill(buffer, buffer + sizeof buffer, '#');
            uint32_t got = profile_read(step.section, step.key, step.text, buffer, step.size,
                                        path.c_str());
            size_t shown_bytes = got + 1 < step.size ? got + 1 : step.size;
            line += " size " + std::to_string(step.size) + " -> " + std::to_string(got) + " \"" +
                    escape(buffer, shown_bytes) + "\"";
        } else {
            bool ok = profile_write(step.section, step.key, step.text, path.c_str());
            line += ok ? " -> ok" : " -> failed";
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines of the expected results, without line ends.
inline std::vector<std::string> expected_lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace profile_script
