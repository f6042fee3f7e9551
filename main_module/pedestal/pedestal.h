// The centre pedestal: power levers, fuel control levers, flaps lever, the
// three trims, the panel lights switch and the flight controls lock.
//
// Most of these gauges only turn mouse input into host events and draw host
// values. Two keep module state that the simulator cycle acts on: the fuel
// control lever positions and the flight controls lock (PanelInputs).
#pragma once

#include <cstdint>

// The lever position (0 fully forward, 80 fully back) for a pointer at `y`
// pixels down the 170-pixel travel of a fuel control lever. The lever drops
// into the idle gate at 50 and snaps to its stops near either end.
double fuel_control_lever_from_pointer(int32_t y);

// Where the flaps lever image sits for a flaps handle value: the lever
// moves down the quadrant and steps sideways out of the gates.
struct FlapsLeverOffset {
    int32_t x, y;
};
FlapsLeverOffset flaps_lever_offset(double handle);

