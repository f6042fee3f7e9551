// What the engine instruments share: the layout and update of a round dial
// with lit and normal pairs, the power gate, and the readout formats.
#pragma once

#include <cstddef>

#include "frame/records.h"

// A dial instrument's elements below its (normal) face, in drawing order:
// the lit face, the pointer pair, then the readout and its decimal point
// where the dial has them.
enum DialElement : int {
    DIAL_FACE_LIT,
    DIAL_POINTER,
    DIAL_POINTER_LIT,
    DIAL_READOUT,
    DIAL_DECIMAL_POINT,
};

// Gauge callback of a dial instrument: on update the face and pointer pairs
// follow the panel lighting rule, and the readout and decimal point (those
// the dial has) show only while power is available.
void FS_CALL dial_instrument_callback(GaugeHeader* gauge, int32_t service, uint32_t extra);

// True while power is available (power state exactly 2): pointers rest and
// readouts are blank otherwise.
bool instruments_powered();

// Degrees Celsius of a temperature in degrees Rankine.
double rankine_to_celsius(double rankine);

// A readout in tenths shown with a fixed decimal point image before its
// last digit: "%4d" of the tenths above 10, "  0%d" of them up to 10 (so
// below one unit the readout shows a leading 0). Negative tenths read 0.
void format_tenths(char* text, size_t size, double tenths);
