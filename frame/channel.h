// The shared value channel: twelve small named sections through which
// Quillmar hands switch positions and system states to the two display
// modules.
//
// Each channel holds one integer as decimal text ("%d") at offset 0. A write
// copies a fixed number of bytes (the channel's copy length) from a
// formatting buffer into the section; a read copies the same number of bytes
// into a buffer one byte longer, which stays NUL, and converts it like atoi.
// Whoever touches a channel first creates it zero-filled, so a reader that
// comes before the writer reads 0 until the writer has written.
//
// Nothing here ever reports a failure: a channel that cannot be created or
// mapped has no view, writes to it are skipped and reads keep the reader's
// previous value.
#pragma once

#include <cstdint>

#include "platform/shared_memory.h"

enum ChannelId : int {
    CHANNEL_EFISCP_NAV_SEL,          // 1 or 2: NAV receiver shown on the EHSI
    CHANNEL_DH,                      // decision height, feet
    CHANNEL_EFISCP_GSPD_TTS_SEL,     // 1 ground speed, 0 time to go
    CHANNEL_EFISCP_NEEDLE1_SEL,      // 0, 1, 2: bearing needle 1 source
    CHANNEL_EFISCP_NEEDLE2_SEL,      // 0, 1, 2: bearing needle 2 source
    CHANNEL_EL_PWR_AVAIL,            // elec_power_state: 0, 1, 2
    CHANNEL_EFISCP_EHSI_MODE,        // 0 or 1
    CHANNEL_AIR_DATA,                // 0 none, 1 airspeed, 2 vertical speed reference
    CHANNEL_AVIONICS,                // 0 or 1: symbol generator 1 button
    CHANNEL_AP_LATERAL_MODE,         // lateral mode bits
    CHANNEL_AP_VERTICAL_MODE,        // vertical mode bits
    CHANNEL_FD_CANCEL,               // 1 flight director bars cancelled
    CHANNEL_COUNT
};

// Bits of the lateral mode word.
constexpr int LATERAL_HDG = 1;
constexpr int LATERAL_NAV = 2;
constexpr int LATERAL_BC = 4;
constexpr int LATERAL_VAPP = 8;

// Bits of the vertical mode word.
constexpr int VERTICAL_ASEL = 1;
constexpr int VERTICAL_ALT = 2;
constexpr int VERTICAL_GS = 4;
constexpr int VERTICAL_VS = 8;
constexpr int VERTICAL_IAS = 16;

struct ChannelSpec {
    const char* name;
    uint32_t size;    // bytes of the section
    uint32_t copy;    // bytes copied by every write and read
};

// The longest copy length of any channel.
constexpr uint32_t CHANNEL_MAX_COPY = 6;

// Indexed by ChannelId.
inline constexpr ChannelSpec channel_table[CHANNEL_COUNT] = {
    {"kt93_EFISCPNavSel", 6, 3},
    {"kt93_DH", 12, 6},
    {"kt93_EFISCP_GSPD_TTS_Sel", 6, 3},
    {"kt93_EFISCPNeedle1Sel", 6, 3},
    {"kt93_EFISCPNeedle2Sel", 6, 3},
    {"kt93_ElPwrAvail", 6, 3},
    {"kt93_EFISCPEHSIMode", 6, 3},
    {"kt93_AirData", 6, 3},
    {"kt93_Avionics", 6, 3},
    {"kt93_APLateralMode", 8, 4},
    {"kt93_APVerticalMode", 8, 4},
    {"kt93_FDCancel", 6, 3},
};

// One participant's hold on one channel.
struct ChannelLink {
    SharedSection* handle;
    void* view;
};

// One participant's holds on all channels, indexed by ChannelId; the ones it
// does not use stay empty. Zero-initialised means nothing open.
struct ChannelLinks {
    ChannelLink at[CHANNEL_COUNT];
};

// Creates or opens the channel and maps it. A link already open is left as
// it is.
void channel_open(ChannelLinks* links, ChannelId id);

// Unmaps the view, then closes the handle; the link is empty afterwards.
void channel_release(ChannelLinks* links, ChannelId id);

// Publishes `value`; skipped when the channel has no view.
void channel_write(const ChannelLinks* links, ChannelId id, int value);

// Reads the channel into `value` and returns true; without a view returns
// false and leaves `value` as it was.
bool channel_read(const ChannelLinks* links, ChannelId id, int* value);
bool channel_read(const ChannelLinks* links, ChannelId id, double* value);

// ------------------------------------------------------------ who opens what, in which order

struct ChannelList {
    const ChannelId* ids;
    int count;
};

// System_Simulator opens all twelve in table order at install...
extern const ChannelList simulator_open_order;
// ...and releases them at kill in its own order.
extern const ChannelList simulator_release_order;
// The channels each display module uses, in the order it opens them.
extern const ChannelList eadi_channels;
extern const ChannelList ehsi_channels;

void channels_open(ChannelLinks* links, const ChannelList& list);
void channels_release(ChannelLinks* links, const ChannelList& list);

void channels_open_all_for_simulator(ChannelLinks* links);
void channels_release_all_for_simulator(ChannelLinks* links);
