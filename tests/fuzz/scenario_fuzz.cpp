// Fuzz target for the scenario script parser: any bytes as a script. A
// script either parses, every command with its verb and line, or is refused
// with "NAME:LINE: message". Built by the fuzz preset; scripts/fuzz.sh runs it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t count) {
    std::string_view text(reinterpret_cast<const char*>(bytes), count);
    Script script;
    std::string error;
    if (!parse_script(text, "fuzz.flight", ".", &script, &error)) {
        if (error.rfind("fuzz.flight:", 0) != 0) std::abort();
        return 0;
    }
    for (const ScriptCommand& c : script.commands)
        if (c.verb.empty() || c.line < 1) std::abort();
    return 0;
}
