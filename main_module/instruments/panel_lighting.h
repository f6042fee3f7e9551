// The panel lighting rule every lit instrument and panel follows.
//
// A lit instrument carries each face and pointer image twice: a normal
// version and a lit one (drawn by the host with its bright flag, so it is
// not darkened at night). The lit versions show only while the panel lights
// switch (host variable 10) is on and the cockpit has power (power state
// exactly 2); otherwise the normal versions show. The systems panels show
// their lettering overlay under the same condition.
#pragma once

#include <cstddef>

#include "frame/records.h"

// One normal/lit pair of elements of a gauge.
struct LightingPair {
    ElementHead* normal;
    ElementHead* lit;
};

// True while the panel lights are on and power is available. Reads host
// variable 10 afresh.
bool panel_lit();

// The same rule with the panel lights switch as the module last read it,
// without reading it again.
bool panel_lit_as_last_read();

// Shows the lit or the normal element of every pair by the rule above.
void apply_panel_lighting(const LightingPair* pairs, size_t count);

template <size_t N>
void apply_panel_lighting(const LightingPair (&pairs)[N]) {
    apply_panel_lighting(pairs, N);
}
