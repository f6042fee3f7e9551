// The panel lighting rule: see panel_lighting.h.
#include "main_module/instruments/panel_lighting.h"

#include "frame/elements.h"
#include "frame/host_ops.h"
#include "main_module/state.h"

static HostVariable panel_lights_switch = host_variable(10);

bool panel_lit() {
    return host_variable_value(&panel_lights_switch) != 0 &&
           quillmar.electric.elec_power_state == 2;
}

bool panel_lit_as_last_read() {
    return panel_lights_switch.value != 0 && quillmar.electric.elec_power_state == 2;
}

void apply_panel_lighting(const LightingPair* pairs, size_t count) {
    bool lit = panel_lit();
    for (size_t i = 0; i < count; ++i) {
        show_element_if(pairs[i].normal, !lit);
        show_element_if(pairs[i].lit, lit);
    }
}
