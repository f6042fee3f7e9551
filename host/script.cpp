#include "host/script.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <system_error>

#include "host/host.h"
#include "host/ini_file.h"
#include "host/render.h"

namespace fs = std::filesystem;

// ------------------------------------------------------------ tokens

bool tokenize_line(std::string_view line, std::vector<Token>* tokens, std::string* error) {
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    token.text += d;
                    continue;
                }
                if (i >= line.size()) break;
                char e = line[i++];
                if (e == '"' || e == '\\') {
                    token.text += e;
                } else if (e == 'x' && i + 1 < line.size() && std::isxdigit(static_cast<unsigned char>(line[i])) &&
                           std::isxdigit(static_cast<unsigned char>(line[i + 1]))) {
                    token.text += static_cast<char>(std::stoi(std::string(line.substr(i, 2)), nullptr, 16));
                    i += 2;
                } else {
                    *error = std::string("unknown escape \\") + e + " in a text (use \\\", \\\\ or \\xHH)";
                    return false;
                }
            }
            if (!closed) {
                *error = "text without its closing quote";
                return false;
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
                *error = "a text must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
                if (line[i] == '"') {
                    *error = "a quote inside a word";
                    return false;
                }
                token.text += line[i++];
            }
        }
        tokens->push_back(std::move(token));
    }
    return true;
}

// ------------------------------------------------------------ values

namespace {

std::optional<double> parse_number(const Token& t) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    const std::string& s = t.text;
    if (s.size() > 1 && (s[0] == '0' || s[0] == '-' || s[0] == '+') && s.find_first_of("xX") != std::string::npos)
        return std::nullopt;   // decimal only
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> parse_integer(const Token& t) {
    std::optional<double> v = parse_number(t);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 2147483647.0) return std::nullopt;
    return static_cast<long long>(*v);
}

// Event ids: decimal or 0x hex.
std::optional<uint32_t> parse_event_id(const Token& t) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    const std::string& s = t.text;
    int base = 10;
    size_t start = 0;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        start = 2;
    }
    if (start >= s.size()) return std::nullopt;
    for (size_t i = start; i < s.size(); ++i)
        if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(s[i])) : std::isdigit(static_cast<unsigned char>(s[i]))))
            return std::nullopt;
    unsigned long long v = std::strtoull(s.c_str() + start, nullptr, base);
    if (v > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(v);
}

// A host variable by id (decimal) or by its short name.
std::optional<uint32_t> parse_variable(const Token& t) {
    if (t.quoted) return std::nullopt;
    if (std::optional<uint32_t> by_name = variable_by_name(t.text)) return by_name;
    std::optional<long long> id = parse_integer(t);
    if (!id || *id < 0 || !find_variable(static_cast<uint32_t>(*id))) return std::nullopt;
    return static_cast<uint32_t>(*id);
}

bool valid_op(const std::string& op) {
    return op == "==" || op == "!=" || op == "<" || op == "<=" || op == ">" || op == ">=";
}

bool compare(double seen, const std::string& op, double wanted) {
    if (op == "==") return seen == wanted;
    if (op == "!=") return seen != wanted;
    if (op == "<") return seen < wanted;
    if (op == "<=") return seen <= wanted;
    if (op == ">") return seen > wanted;
    return seen >= wanted;
}

std::string format_number(double v) {
    std::ostringstream out;
    out.precision(10);
    out << v;
    return out.str();
}

bool is_action(const std::string& verb) {
    return verb == "run" || verb == "frames" || verb == "click" || verb == "hold" || verb == "drag" ||
           verb == "key" || verb == "send" || verb == "channel" || verb == "kill" || verb == "reload" ||
           verb == "reinstall" || verb == "snapshot" || verb == "expect";
}

// Element selection arguments "GAUGE X Y [K]" followed by `tail` more tokens.
// Returns false when the count does not fit.
bool element_form(const std::vector<Token>& a, size_t first, size_t tail, std::string* error) {
    size_t n = a.size() - first;
    if (n != 3 + tail && n != 4 + tail) {
        *error = "expected GAUGE X Y [K]" + std::string(tail ? " and " + std::to_string(tail) + " more" : "");
        return false;
    }
    for (size_t i = first + 1; i < first + (n - tail); ++i)
        if (!parse_integer(a[i])) {
            *error = "'" + a[i].text + "' is not a whole number";
            return false;
        }
    return true;
}

// Checks one command's form; returns "" when it is good.
std::string check_command(const ScriptCommand& c) {
    const auto& a = c.args;
    auto count = [&](size_t lo, size_t hi, const char* form) -> std::string {
        if (a.size() < lo || a.size() > hi) return std::string("expected: ") + form;
        return "";
    };
    auto number = [&](size_t i) -> std::string {
        return parse_number(a[i]) ? "" : "'" + a[i].text + "' is not a number";
    };
    auto whole = [&](size_t i) -> std::string {
        return parse_integer(a[i]) ? "" : "'" + a[i].text + "' is not a whole number";
    };
    auto variable = [&](size_t i) -> std::string {
        return parse_variable(a[i]) ? "" : "unknown host variable '" + a[i].text + "'";
    };
    auto event = [&](size_t i) -> std::string {
        return parse_event_id(a[i]) ? "" : "'" + a[i].text + "' is not an event id (decimal or 0x hex)";
    };
    std::string e;
    const std::string& v = c.verb;
    if (v == "panel" || v == "ini") return count(1, 1, (v + " FILE").c_str());
    if (v == "fps") {
        if (!(e = count(1, 1, "fps N")).empty()) return e;
        std::optional<long long> n = parse_integer(a[0]);
        return n && *n > 0 && *n <= 1000 ? "" : "fps needs a whole number from 1 to 1000";
    }
    if (v == "set") {
        if (!(e = count(2, 2, "set ID VALUE")).empty()) return e;
        if (!(e = variable(0)).empty()) return e;
        return number(1);
    }
    if (v == "ramp") {
        if (!(e = count(3, 3, "ramp ID VALUE SECONDS")).empty()) return e;
        if (!(e = variable(0)).empty()) return e;
        if (!(e = number(1)).empty()) return e;
        if (!(e = number(2)).empty()) return e;
        return *parse_number(a[2]) >= 0 ? "" : "a ramp cannot take negative time";
    }
    if (v == "release") {
        if (!(e = count(1, 1, "release ID|NAME")).empty()) return e;
        return variable(0);
    }
    if (v == "run") {
        if (!(e = count(1, 1, "run SECONDS")).empty()) return e;
        if (!(e = number(0)).empty()) return e;
        return *parse_number(a[0]) >= 0 ? "" : "cannot run negative time";
    }
    if (v == "frames") {
        if (!(e = count(1, 1, "frames N")).empty()) return e;
        if (!(e = whole(0)).empty()) return e;
        return *parse_integer(a[0]) >= 0 ? "" : "cannot run a negative number of frames";
    }
    if (v == "click" || v == "drag") {
        if (!(e = count(3, 3, (v + " GAUGE X Y").c_str())).empty()) return e;
        if (!(e = whole(1)).empty()) return e;
        return whole(2);
    }
    if (v == "hold") {
        if (!(e = count(4, 4, "hold GAUGE X Y SECONDS")).empty()) return e;
        if (!(e = whole(1)).empty()) return e;
        if (!(e = whole(2)).empty()) return e;
        if (!(e = number(3)).empty()) return e;
        return *parse_number(a[3]) >= 0 ? "" : "cannot hold for negative time";
    }
    if (v == "key") {
        if (!(e = count(1, 1, "key space")).empty()) return e;
        return a[0].text == "space" && !a[0].quoted ? "" : "unknown key '" + a[0].text + "' (only space)";
    }
    if (v == "kill" || v == "reload" || v == "reinstall") return count(0, 0, v.c_str());
    if (v == "send") {
        if (!(e = count(1, 2, "send ID [VALUE]")).empty()) return e;
        if (!(e = event(0)).empty()) return e;
        if (a.size() == 2 && !parse_integer(a[1]) && !parse_event_id(a[1]))
            return "'" + a[1].text + "' is not a whole number (decimal or 0x hex)";
        return "";
    }
    if (v == "snapshot") return count(1, 2, "snapshot FILE.png [GAUGE|WINDOW]");
    if (v == "channel") {
        if (!(e = count(2, 2, "channel NAME VALUE")).empty()) return e;
        if (!Host::known_channel(a[0].text)) return "unknown channel '" + a[0].text + "'";
        return parse_integer(a[1]) ? "" : "'" + a[1].text + "' is not a whole number";
    }
    if (v == "note") {
        if (!(e = count(1, 1, "note \"TEXT\"")).empty()) return e;
        return a[0].quoted ? "" : "a note is a text in double quotes";
    }
    if (v != "expect") return "unknown command '" + v + "'";

    if (a.empty()) return "expect what? (var, event, no, events, channel, ini, sound, shown, hidden, text, image, value, pixel)";
    const std::string& what = a[0].text;
    if (what == "var") {
        if (!(e = count(4, 4, "expect var ID OP VALUE")).empty()) return e;
        if (!(e = variable(1)).empty()) return e;
        if (!valid_op(a[2].text)) return "unknown comparison '" + a[2].text + "' (== != < <= > >=)";
        return number(3);
    }
    if (what == "event") {
        if (!(e = count(2, 3, "expect event ID [VALUE]")).empty()) return e;
        if (!(e = event(1)).empty()) return e;
        return a.size() == 3 ? whole(2) : "";
    }
    if (what == "no") {
        if (!(e = count(3, 3, "expect no event ID")).empty()) return e;
        if (a[1].text != "event") return "expected: expect no event ID";
        return event(2);
    }
    if (what == "events") {
        if (!(e = count(3, 3, "expect events ID COUNT")).empty()) return e;
        if (!(e = event(1)).empty()) return e;
        return whole(2);
    }
    if (what == "channel") {
        if (!(e = count(3, 3, "expect channel NAME \"TEXT\"")).empty()) return e;
        if (!Host::known_channel(a[1].text)) return "unknown channel '" + a[1].text + "'";
        return a[2].quoted ? "" : "the channel text must be in double quotes";
    }
    if (what == "ini") {
        if (!(e = count(4, 4, "expect ini \"SECTION\" KEY \"VALUE\"")).empty()) return e;
        return a[1].quoted && a[3].quoted ? "" : "section and value must be in double quotes";
    }
    if (what == "sound") {
        if (!(e = count(3, 3, "expect sound NAME started|stopped|playing|silent")).empty()) return e;
        const std::string& s = a[2].text;
        return s == "started" || s == "stopped" || s == "playing" || s == "silent"
                   ? ""
                   : "unknown sound state '" + s + "' (started, stopped, playing, silent)";
    }
    if (what == "shown" || what == "hidden") return element_form(a, 1, 0, &e) ? "" : e;
    if (what == "text") {
        if (!element_form(a, 1, 1, &e)) return e;
        return a.back().quoted ? "" : "the expected text must be in double quotes";
    }
    if (what == "image") {
        if (!element_form(a, 1, 1, &e)) return e;
        return whole(a.size() - 1);
    }
    if (what == "value") {
        if (!element_form(a, 1, 2, &e)) return e;
        if (!valid_op(a[a.size() - 2].text)) return "unknown comparison '" + a[a.size() - 2].text + "' (== != < <= > >=)";
        return number(a.size() - 1);
    }
    if (what == "pixel") {
        if (!(e = count(7, 7, "expect pixel GAUGE X Y R G B")).empty()) return e;
        for (size_t i = 2; i < 7; ++i)
            if (!(e = whole(i)).empty()) return e;
        return "";
    }
    return "unknown expectation '" + what + "'";
}

}  // namespace

bool parse_script(std::string_view text, const std::string& name, const std::string& dir, Script* script,
                  std::string* error) {
    script->name = name;
    script->dir = dir;
    script->commands.clear();
    bool acted = false;
    int line_number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_number;
        std::vector<Token> tokens;
        std::string why;
        auto fail = [&](const std::string& message) {
            *error = name + ":" + std::to_string(line_number) + ": " + message;
            return false;
        };
        if (!tokenize_line(line, &tokens, &why)) return fail(why);
        if (tokens.empty()) continue;
        if (tokens[0].quoted) return fail("a line must start with a command");
        ScriptCommand command{line_number, tokens[0].text, {tokens.begin() + 1, tokens.end()}};
        std::string problem = check_command(command);
        if (!problem.empty()) return fail(problem);
        if (command.verb == "panel" || command.verb == "ini" || command.verb == "fps") {
            if (acted) return fail(command.verb + " must come before the first action");
        }
        if (is_action(command.verb)) acted = true;
        script->commands.push_back(std::move(command));
    }
    return true;
}

// ------------------------------------------------------------ running

namespace {

bool read_file(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

struct Runner {
    const Script& script;
    const RunOptions& options;
    RunResult result;
    std::unique_ptr<Host> owned;   // the host this run made, if it made one
    Host* host = nullptr;
    PanelConfig panel;
    std::string ini_file;       // panel state file to start from
    bool loaded_once = false;
    int line = 0;

    std::string where() const { return script.name + ":" + std::to_string(line) + ": "; }

    void message(const std::string& text) { result.messages.push_back(where() + text); }
    bool error(const std::string& text) {
        message(text);
        result.exit_code = 2;
        return false;
    }
    void fail(const std::string& text) {
        message(text);
        if (result.exit_code == 0) result.exit_code = 1;
    }

    std::string resolve(const std::string& file) const {
        fs::path p(file);
        return p.is_absolute() ? file : (fs::path(script.dir) / p).string();
    }

    bool setup(int fps) {
        HostOptions ho;
        ho.gauges_dir = options.gauges_dir;
        ho.sound_dir = options.sound_dir;
        ho.sim_dir = options.sim_dir;
        ho.fps = fps;
        ho.draw_displays = options.draw_displays;
        owned = std::make_unique<Host>(ho);
        host = owned.get();
        std::string why;
        if (!host->prepare(&why)) return error(why);
        return true;
    }

    bool load() {
        std::string why;
        if (!ini_file.empty()) {
            std::error_code ec;
            fs::copy_file(ini_file, host->ini_path(), fs::copy_options::overwrite_existing, ec);
            if (ec) return error("cannot copy the panel state file " + ini_file);
        }
        std::vector<std::string> warnings;
        host->trace.begin_window();
        bool ok = host->load(panel, &warnings, &why);
        for (const std::string& w : warnings) result.messages.push_back("warning: " + w);
        loaded_once = true;
        if (!ok) return error(why);
        return true;
    }

    GaugeInstance* gauge(const Token& t) {
        if (!host->loaded()) {
            error("the panel is not loaded (after kill, use reload or reinstall)");
            return nullptr;
        }
        GaugeInstance* g = host->find_gauge(t.text);
        if (!g) error("unknown gauge '" + t.text + "' (not on the panel)");
        return g;
    }

    // The K-th element of the gauge in depth-first order at position X, Y,
    // and the value it showed in this frame's drawing.
    ElementHead* element(const std::vector<Token>& a, size_t first, size_t tail, double* value) {
        GaugeInstance* g = gauge(a[first]);
        if (!g) return nullptr;
        int x = static_cast<int>(*parse_integer(a[first + 1]));
        int y = static_cast<int>(*parse_integer(a[first + 2]));
        long long k = a.size() - first == 4 + tail ? *parse_integer(a[first + 3]) : 0;
        long long seen = 0;
        for (size_t i = 0; i < g->elements.size(); ++i) {
            ElementHead* e = g->elements[i];
            if (e->x != x || e->y != y || seen++ != k) continue;
            if (value) *value = host->element_value(*g, i);
            return e;
        }
        error("gauge " + g->name + " has no element " + std::to_string(k) + " at " + std::to_string(x) + "," +
              std::to_string(y) + " (" + std::to_string(seen) + " there)");
        return nullptr;
    }

    void frames(long long n) {
        for (long long i = 0; i < n; ++i) host->frame();
    }

    long long frames_for(double seconds) const { return std::llround(seconds * host->fps()); }

    bool mouse(GaugeInstance& g, int x, int y, MouseRect** hit) {
        if (host->mouse_call(g, x, y, hit)) return true;
        return error("no mouse rectangle of " + g.name + " takes a click at " + std::to_string(x) + "," +
                     std::to_string(y));
    }

    bool expect(const ScriptCommand& c);
    bool snapshot(const ScriptCommand& c);
    bool step(const ScriptCommand& c);
};

bool Runner::step(const ScriptCommand& c) {
    const auto& a = c.args;
    const std::string& v = c.verb;
    if (v == "panel") {
        std::string text, path = resolve(a[0].text);
        if (!read_file(path, &text)) return error("cannot read the panel file " + path);
        panel = parse_panel_config(text, a[0].text);
        for (const std::string& w : panel.warnings) result.messages.push_back("warning: " + w);
        return true;
    }
    if (v == "ini") {
        ini_file = resolve(a[0].text);
        if (!fs::is_regular_file(ini_file)) return error("no panel state file " + ini_file);
        return true;
    }
    if (v == "fps") return true;
    if (v == "set") {
        host->set_variable(*parse_variable(a[0]), *parse_number(a[1]));
        return true;
    }
    if (v == "ramp") {
        host->ramp(*parse_variable(a[0]), *parse_number(a[1]), *parse_number(a[2]));
        return true;
    }
    if (v == "release") {
        host->release_variable(*parse_variable(a[0]));
        return true;
    }
    if (v == "note") {
        result.notes.push_back(a[0].text);
        host->trace.note("note " + quote_text(a[0].text));
        return true;
    }
    if (!loaded_once && is_action(v) && !load()) return false;
    if (v == "expect") return expect(c);
    if (v == "snapshot") return snapshot(c);

    host->trace.begin_window();
    if (v == "run") frames(frames_for(*parse_number(a[0])));
    else if (v == "frames") frames(*parse_integer(a[0]));
    else if (v == "click" || v == "drag") {
        GaugeInstance* g = gauge(a[0]);
        if (!g || !mouse(*g, static_cast<int>(*parse_integer(a[1])), static_cast<int>(*parse_integer(a[2])), nullptr))
            return false;
        frames(1);
    } else if (v == "hold") {
        GaugeInstance* g = gauge(a[0]);
        int x = static_cast<int>(*parse_integer(a[1])), y = static_cast<int>(*parse_integer(a[2]));
        MouseRect* hit = nullptr;
        if (!g || !mouse(*g, x, y, &hit)) return false;
        bool repeats = hit->flags == MOUSE_REPEAT || hit->flags == MOUSE_DRAG;
        long long n = std::max(1LL, frames_for(*parse_number(a[3])));
        for (long long i = 0; i < n; ++i) {
            host->frame();
            if (repeats && i + 1 < n && !host->mouse_call(*g, x, y, nullptr)) break;
        }
    } else if (v == "key") {
        host->set_space(true);
        frames(1);
        host->set_space(false);
        frames(1);
    } else if (v == "send") {
        // As if a gauge had sent it, between two frames.
        uint32_t value = 0;
        if (a.size() == 2)
            value = parse_integer(a[1]) ? static_cast<uint32_t>(static_cast<int32_t>(*parse_integer(a[1])))
                                        : *parse_event_id(a[1]);
        host->op_event(*parse_event_id(a[0]), value);
    } else if (v == "channel") {
        if (!host->write_channel(a[0].text, static_cast<int>(*parse_integer(a[1]))))
            return error("channel " + a[0].text + " is not open");
    } else if (v == "kill") {
        host->kill();
    } else if (v == "reload" || v == "reinstall") {
        std::vector<std::string> warnings;
        std::string why;
        bool ok = v == "reload" ? host->reload(&warnings, &why) : host->reinstall(&warnings, &why);
        for (const std::string& w : warnings) result.messages.push_back("warning: " + w);
        if (!ok) return error(why);
    }
    return true;
}

bool Runner::expect(const ScriptCommand& c) {
    const auto& a = c.args;
    const std::string& what = a[0].text;
    const auto& window = host->trace.window();
    if (what == "var") {
        uint32_t id = *parse_variable(a[1]);
        double seen = host->vars.get(id);
        if (!compare(seen, a[2].text, *parse_number(a[3])))
            fail("expect var " + a[1].text + " " + a[2].text + " " + a[3].text + ": saw " + format_number(seen));
        return true;
    }
    if (what == "event" || what == "no" || what == "events") {
        uint32_t id = *parse_event_id(what == "no" ? a[2] : a[1]);
        std::optional<long long> value;
        if (what == "event" && a.size() == 3) value = *parse_integer(a[2]);
        long long count = 0;
        std::string values;
        for (const Happening& h : window) {
            if (h.kind != Happening::EVENT || h.id != id) continue;
            if (values.size() < 60) values += (values.empty() ? "" : ", ") + std::to_string(h.value);
            if (!value || h.value == *value) ++count;
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%05X", id);
        if (what == "event" && count == 0)
            fail(std::string("expect event ") + hex + (value ? " " + std::to_string(*value) : "") + ": " +
                 (values.empty() ? "not sent" : "sent with " + values));
        if (what == "no" && count > 0) fail(std::string("expect no event ") + hex + ": sent " + std::to_string(count) + " times");
        if (what == "events" && count != *parse_integer(a[2]))
            fail(std::string("expect events ") + hex + " " + a[2].text + ": sent " + std::to_string(count) + " times");
        return true;
    }
    if (what == "channel") {
        std::string seen = host->channel_text(a[1].text);
        if (seen != a[2].text) fail("expect channel " + a[1].text + " " + quote_text(a[2].text) + ": saw " + quote_text(seen));
        return true;
    }
    if (what == "ini") {
        std::optional<std::string> seen = ini_lookup(read_ini_file(host->ini_path()), a[1].text, a[2].text);
        if (!seen || *seen != a[3].text)
            fail("expect ini " + quote_text(a[1].text) + " " + a[2].text + " " + quote_text(a[3].text) + ": " +
                 (seen ? "saw " + quote_text(*seen) : "no such key"));
        return true;
    }
    if (what == "sound") {
        const std::string& name = a[1].text;
        const std::string& state = a[2].text;
        bool held;
        if (state == "playing" || state == "silent") {
            held = host->sound.playing(name) == (state == "playing");
        } else {
            held = false;
            for (const Happening& h : window) {
                if (h.name != name) continue;
                if (state == "started" && (h.kind == Happening::SOUND_START || h.kind == Happening::SOUND_LOOP)) held = true;
                if (state == "stopped" && (h.kind == Happening::SOUND_STOP || h.kind == Happening::SOUND_END)) held = true;
            }
        }
        if (!held) fail("expect sound " + name + " " + state + ": it was not");
        return true;
    }
    if (what == "shown" || what == "hidden") {
        ElementHead* e = element(a, 1, 0, nullptr);
        if (!e) return false;
        bool hidden = (e->image_flags & IMAGE_HIDDEN) != 0;
        if (hidden != (what == "hidden")) fail("expect " + what + ": the element is " + (hidden ? "hidden" : "shown"));
        return true;
    }
    if (what == "text") {
        double ignored = 0;
        ElementHead* e = element(a, 1, 1, &ignored);   // the text of this frame's evaluation
        if (!e) return false;
        if (e->type != ELEMENT_STRING) return error("the element is not a text element");
        auto* s = reinterpret_cast<StringElement*>(e);
        std::string seen;
        if (s->text) {
            int limit = s->text_size > 0 ? s->text_size : 256;
            for (int i = 0; i < limit && s->text[i]; ++i) seen += s->text[i];
        }
        if (seen != a.back().text) fail("expect text " + quote_text(a.back().text) + ": saw " + quote_text(seen));
        return true;
    }
    if (what == "image" || what == "value") {
        double seen = 0;
        ElementHead* e = element(a, 1, what == "image" ? 1 : 2, &seen);
        if (!e) return false;
        if (what == "image") {
            if (e->type != ELEMENT_ICON) return error("the element is not an icon");
            long long n = static_cast<long long>(seen);
            if (n != *parse_integer(a.back())) fail("expect image " + a.back().text + ": shows image " + std::to_string(n));
        } else if (!compare(seen, a[a.size() - 2].text, *parse_number(a.back()))) {
            fail("expect value " + a[a.size() - 2].text + " " + a.back().text + ": saw " + format_number(seen));
        }
        return true;
    }
    if (what == "pixel") {
        GaugeInstance* g = gauge(a[1]);
        if (!g) return false;
        int x = static_cast<int>(*parse_integer(a[2])), y = static_cast<int>(*parse_integer(a[3]));
        std::optional<Rgb> seen = gauge_pixel(*host, *g, x, y);
        if (!seen) return error("pixel " + std::to_string(x) + "," + std::to_string(y) + " is outside gauge " + g->name);
        int want[3] = {static_cast<int>(*parse_integer(a[4])), static_cast<int>(*parse_integer(a[5])),
                       static_cast<int>(*parse_integer(a[6]))};
        int got[3] = {seen->r, seen->g, seen->b};
        bool same = true;
        for (int i = 0; i < 3; ++i) same = same && (want[i] >> 3) == (got[i] >> 3);
        if (!same)
            fail("expect pixel " + a[4].text + " " + a[5].text + " " + a[6].text + ": saw " + std::to_string(got[0]) + " " +
                 std::to_string(got[1]) + " " + std::to_string(got[2]));
        return true;
    }
    return error("unknown expectation");
}

bool Runner::snapshot(const ScriptCommand& c) {
    const auto& a = c.args;
    Picture picture;
    std::string label;
    if (a.size() == 2) {
        GaugeInstance* g = host->loaded() ? host->find_gauge(a[1].text) : nullptr;
        int window = -1;
        for (size_t i = 0; i < host->panel().windows.size(); ++i)
            if (host->panel().windows[i].title == a[1].text || host->panel().windows[i].section == a[1].text)
                window = static_cast<int>(i);
        if (g) picture = render_gauge(*host, *g);
        else if (window >= 0) picture = render_window(*host, window);
        else return error("unknown gauge or window '" + a[1].text + "'");
        label = " " + a[1].text;
    } else {
        picture = render_panel(*host);
    }
    fs::path out = fs::path(options.out_dir) / a[0].text;
    std::error_code ec;
    fs::create_directories(out.parent_path(), ec);
    if (!write_png(out.string(), picture)) return error("cannot write " + out.string());
    result.pictures.push_back(out.string());
    host->trace.note("snapshot " + fs::path(a[0].text).filename().string() + label);
    return true;
}

}  // namespace

namespace {

// Every command in order, stopping at the first error; the panel is loaded
// at the end when no action did it.
void run_commands(Runner& runner) {
    for (const ScriptCommand& c : runner.script.commands) {
        runner.line = c.line;
        if (!runner.step(c)) break;
    }
    if (runner.result.exit_code != 2 && !runner.loaded_once) runner.load();
}

void take_counts(Runner& runner) {
    Host& host = *runner.host;
    runner.result.trace = host.trace.text();
    runner.result.frames = host.frame_number();
    runner.result.seconds = host.sim_time();
    const Trace::Counts& counts = host.trace.counts();
    runner.result.events = counts.events;
    runner.result.channel_changes = counts.channel_changes;
    runner.result.sounds = counts.sounds;
    runner.result.ini_writes = counts.ini_writes;
}

}  // namespace

RunResult run_script(const Script& script, const RunOptions& options) {
    Runner runner{script, options, {}, nullptr, nullptr, {}, {}, false, 0};
    int fps = 18;
    for (const ScriptCommand& c : script.commands)
        if (c.verb == "fps") fps = static_cast<int>(*parse_integer(c.args[0]));
    runner.panel = parse_panel_config(default_panel_text(), "panel.cfg (built in)");
    if (!runner.setup(fps)) return runner.result;
    run_commands(runner);
    Host& host = *runner.host;
    if (host.loaded()) {
        host.trace.begin_window();
        host.kill();
    }
    host.unload_modules();
    take_counts(runner);
    return runner.result;
}

RunResult run_script_on(Host& host, const Script& script, const RunOptions& options, const PanelConfig& panel,
                        const std::string& ini_file) {
    Runner runner{script, options, {}, nullptr, &host, panel, ini_file, false, 0};
    for (const ScriptCommand& c : script.commands)
        if (c.verb == "fps" && *parse_integer(c.args[0]) != host.fps()) {
            runner.line = c.line;
            runner.message("warning: the host runs at " + std::to_string(host.fps()) +
                           " frames a second; the script's rate is not used");
        }
    run_commands(runner);
    take_counts(runner);
    return runner.result;
}
