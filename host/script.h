// Scenario scripts: one command per line, '#' starts a comment, texts in
// double quotes with \" \\ and \xHH escapes. Parsing checks every command's
// form; running drives a Host and checks the expectations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/panel_config.h"

class Host;

struct Token {
    std::string text;
    bool quoted = false;
};

struct ScriptCommand {
    int line = 0;
    std::string verb;                 // "run", "expect", ...
    std::vector<Token> args;
};

struct Script {
    std::string name;                 // as given, for messages
    std::string dir;                  // folder that relative file names start from
    std::vector<ScriptCommand> commands;
};

// Splits one line into tokens. False and a message on a malformed text.
bool tokenize_line(std::string_view line, std::vector<Token>* tokens, std::string* error);

// Parses and checks a whole script. On failure `error` is "NAME:LINE: message".
bool parse_script(std::string_view text, const std::string& name, const std::string& dir, Script* script,
                  std::string* error);

struct RunOptions {
    std::string gauges_dir;
    std::string sound_dir;
    std::string sim_dir;              // "" for a fresh temporary folder
    std::string out_dir = ".";        // where snapshots go
    bool quiet = false;               // no notes on stdout
    bool draw_displays = true;        // false: the displays draw only for pictures
};

struct RunResult {
    int exit_code = 0;                // 0 all held, 1 an expectation failed, 2 script or set-up error
    std::string trace;
    std::vector<std::string> messages;    // failures, errors and warnings, in order
    std::vector<std::string> notes;       // the script's own notes
    std::vector<std::string> pictures;    // snapshot files written
    long long frames = 0, events = 0, channel_changes = 0, sounds = 0, ini_writes = 0;
    double seconds = 0;
};

RunResult run_script(const Script& script, const RunOptions& options);

// Runs the script's commands on a host the caller made and prepared, starting
// from `panel` and the panel state file `ini_file` ("" for none); the script's
// own panel and ini lines take their place. The panel is loaded when the
// script ends (the caller drives the host on from there), unless the script
// killed it or failed with an error (exit code 2). The host's frame rate
// stays; a script asking for another gets a warning.
RunResult run_script_on(Host& host, const Script& script, const RunOptions& options, const PanelConfig& panel,
                        const std::string& ini_file);

// The built-in demo flight (the same text as host/demo.flight).
std::string_view demo_script_text();
