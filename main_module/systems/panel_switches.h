// What the overhead systems panels have in common: their switches kept in
// the panel state file as key tables, the two toggle rules of their push
// buttons, and showing or hiding a group of the elements under a panel's
// base element.
#pragma once

#include <cstddef>

#include "frame/elements.h"
#include "frame/panel_state.h"

// A panel state key and the switch it keeps ("%d" of the switch).
struct SwitchKey {
    PanelStateKey key;
    double* value;
};

// Reads every key into its switch, in the table's order.
template <size_t N>
void read_switch_keys(const SwitchKey (&keys)[N]) {
    for (const SwitchKey& k : keys) *k.value = panel_state_read_int(k.key);
}

// Writes every switch under its key, in the table's order.
template <size_t N>
void write_switch_keys(const SwitchKey (&keys)[N]) {
    for (const SwitchKey& k : keys) panel_state_write_int(k.key, *k.value);
}

// A push button or guard: 0 becomes 1, anything else 0.
inline void toggle_switch(double& position) { position = position == 0 ? 1 : 0; }

// The element `index` below the gauge's base element.
inline ElementHead* panel_element(GaugeHeader* gauge, int index) {
    return gauge_element(gauge, {index});
}

// Shows or hides each listed element below the gauge's base element.
template <typename Index, size_t N>
void show_panel_elements_if(GaugeHeader* gauge, const Index (&indices)[N], bool shown) {
    for (Index index : indices) show_element_if(panel_element(gauge, static_cast<int>(index)), shown);
}
