// The look of the systems panels' digital readouts: amber digits in the
// "Quartz" face on a dark brown field, centred on one line.
#pragma once

#include "frame/elements.h"

constexpr uint32_t READOUT_AMBER = 0xDC9632;
constexpr uint32_t READOUT_BACKGROUND = 0x321400;

constexpr TextStyle system_readout_style(int32_t width, int32_t height) {
    return TextStyle{width, height, READOUT_AMBER, READOUT_BACKGROUND, "Quartz", 400,
                     STRING_ALIGN_CENTRE};
}
