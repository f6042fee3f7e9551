// Values the round instruments give their pointers.
#pragma once

#include "frame/records.h"

// The element's own host variable held inside [low, high]. The bounds are
// compared strictly: a value above the upper bound gives the bound, one
// below the lower bound gives that bound, anything else passes unchanged.
inline double clamped_variable(const ElementHead* e, double low, double high) {
    double v = e->variable.value;
    if (v > high) return high;
    if (v < low) return low;
    return v;
}
