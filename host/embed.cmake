# Writes a C++ file holding the shipped panel.cfg and demo.flight, so the
# program carries exactly the files of the repository.
file(READ ${PANEL} panel_text)
file(READ ${DEMO} demo_text)
file(WRITE ${OUT}.tmp
"// Generated from host/panel.cfg and host/demo.flight; do not edit.\n"
"#include <string_view>\n"
"std::string_view default_panel_text() { return R\"QMXTEXT(${panel_text})QMXTEXT\"; }\n"
"std::string_view demo_script_text() { return R\"QMXTEXT(${demo_text})QMXTEXT\"; }\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
