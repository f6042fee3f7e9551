// The shared value channel: table, open and release, decimal text in and out.
#include "frame/channel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Every access stays inside the section, and inside the local buffers below.
constexpr bool copies_fit() {
    for (const ChannelSpec& spec : channel_table)
        if (spec.copy > spec.size || spec.copy > CHANNEL_MAX_COPY) return false;
    return true;
}
static_assert(copies_fit());

void channel_open(ChannelLinks* links, ChannelId id) {
    ChannelLink& link = links->at[id];
    if (link.handle) return;
    link.handle = shared_section_create(channel_table[id].name, channel_table[id].size);
    link.view = shared_section_map(link.handle);
}

void channel_release(ChannelLinks* links, ChannelId id) {
    ChannelLink& link = links->at[id];
    shared_section_unmap(link.view);
    shared_section_close(link.handle);
    link = ChannelLink{};
}

void channel_write(const ChannelLinks* links, ChannelId id, int value) {
    void* view = links->at[id].view;
    if (!view) return;
    // The copy takes the whole copy length, also the bytes behind the text's
    // NUL; the buffer starts zeroed so that those bytes are zeros too.
    char text[16] = {};
    std::snprintf(text, sizeof text, "%d", value);
    std::memcpy(view, text, channel_table[id].copy);
}

bool channel_read(const ChannelLinks* links, ChannelId id, int* value) {
    const void* view = links->at[id].view;
    if (!view) return false;
    char text[CHANNEL_MAX_COPY + 1] = {};   // the last byte stays NUL
    std::memcpy(text, view, channel_table[id].copy);
    *value = std::atoi(text);
    return true;
}

bool channel_read(const ChannelLinks* links, ChannelId id, double* value) {
    int whole = 0;
    if (!channel_read(links, id, &whole)) return false;
    *value = whole;
    return true;
}

// ------------------------------------------------------------ orders

static const ChannelId simulator_open_ids[] = {
    CHANNEL_EFISCP_NAV_SEL,     CHANNEL_DH,               CHANNEL_EFISCP_GSPD_TTS_SEL,
    CHANNEL_EFISCP_NEEDLE1_SEL, CHANNEL_EFISCP_NEEDLE2_SEL, CHANNEL_EL_PWR_AVAIL,
    CHANNEL_EFISCP_EHSI_MODE,   CHANNEL_AIR_DATA,         CHANNEL_AVIONICS,
    CHANNEL_AP_LATERAL_MODE,    CHANNEL_AP_VERTICAL_MODE, CHANNEL_FD_CANCEL,
};

static const ChannelId simulator_release_ids[] = {
    CHANNEL_EFISCP_GSPD_TTS_SEL, CHANNEL_EFISCP_NAV_SEL,     CHANNEL_DH,
    CHANNEL_EFISCP_NEEDLE1_SEL,  CHANNEL_EFISCP_NEEDLE2_SEL, CHANNEL_EL_PWR_AVAIL,
    CHANNEL_EFISCP_EHSI_MODE,    CHANNEL_AIR_DATA,           CHANNEL_AVIONICS,
    CHANNEL_AP_LATERAL_MODE,     CHANNEL_AP_VERTICAL_MODE,   CHANNEL_FD_CANCEL,
};

static const ChannelId eadi_ids[] = {
    CHANNEL_EL_PWR_AVAIL,    CHANNEL_DH,       CHANNEL_AIR_DATA, CHANNEL_AVIONICS,
    CHANNEL_AP_LATERAL_MODE, CHANNEL_AP_VERTICAL_MODE, CHANNEL_FD_CANCEL,
};

static const ChannelId ehsi_ids[] = {
    CHANNEL_EL_PWR_AVAIL,       CHANNEL_EFISCP_NAV_SEL,     CHANNEL_EFISCP_GSPD_TTS_SEL,
    CHANNEL_EFISCP_NEEDLE1_SEL, CHANNEL_EFISCP_NEEDLE2_SEL, CHANNEL_EFISCP_EHSI_MODE,
    CHANNEL_AVIONICS,
};

template <int N>
constexpr ChannelList list_of(const ChannelId (&ids)[N]) {
    return ChannelList{ids, N};
}

const ChannelList simulator_open_order = list_of(simulator_open_ids);
const ChannelList simulator_release_order = list_of(simulator_release_ids);
const ChannelList eadi_channels = list_of(eadi_ids);
const ChannelList ehsi_channels = list_of(ehsi_ids);

void channels_open(ChannelLinks* links, const ChannelList& list) {
    for (int i = 0; i < list.count; ++i) channel_open(links, list.ids[i]);
}

void channels_release(ChannelLinks* links, const ChannelList& list) {
    for (int i = 0; i < list.count; ++i) channel_release(links, list.ids[i]);
}

void channels_open_all_for_simulator(ChannelLinks* links) {
    channels_open(links, simulator_open_order);
}

void channels_release_all_for_simulator(ChannelLinks* links) {
    channels_release(links, simulator_release_order);
}
