// Steps 13, 16 and 18 of the cycle: host states the aircraft keeps on, the
// flight director cancel published for the attitude display, and the
// flight controls lock.
#include "frame/host_ops.h"
#include "main_module/simulator/simulator.h"
#include "main_module/state.h"

struct HeldState {
    uint32_t variable;
    uint32_t event;   // switches the state back on
};

static const HeldState held_states[] = {
    {VAR_HELD_STATE_363, EVENT_HOLD_STATE_363},
    {VAR_HELD_STATE_364, EVENT_HOLD_STATE_364},
    {VAR_HELD_STATE_740, EVENT_HOLD_STATE_740},
};

// Step 13.
void cycle_held_host_states() {
    for (const HeldState& held : held_states)
        if (cycle_read(held.variable) == 0) send_host_event(held.event, 0);
}

// Step 16.
void cycle_fd_cancel() {
    channel_write(&quillmar.channels, CHANNEL_FD_CANCEL, quillmar.panels.fd_cancel);
}

// Step 18. While the gust lock is in, the host gets both lock events every frame.
void cycle_controls_lock() {
    if (quillmar.panels.flight_controls_locked == 0) return;
    send_host_event(EVENT_CONTROLS_LOCK_1, 0);
    send_host_event(EVENT_CONTROLS_LOCK_2, 0);
}
