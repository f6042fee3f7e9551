// APU: the auxiliary power unit's panel on the overhead ("APU").
//
// A three-position master knob (OFF, ON, START), the GEN and BLEED buttons
// with their AVAIL and ON legends, and the FAULT light. The unit is a timed
// sequence on the clock of day: 10 s after the knob goes to ON it can be
// started; START spins it up for 1 s, after which the knob springs back to
// ON; 45 s later the generator is available and 120 s after that the bleed
// air. A START during the 10 s power-up wait is a start fault: the knob is
// thrown to OFF and FAULT stays lit for 120 s. The generator, once the crew
// switches it on line, is a power source of the electrical system. The
// Instant APU startup option makes every wait run out at once.
#include <cstdint>

#include "frame/host_ops.h"
#include "frame/panel_state.h"
#include "main_module/bitmaps.h"
#include "main_module/gauge_table.h"
#include "main_module/instruments/panel_lighting.h"
#include "main_module/simulator/sound_bank.h"
#include "main_module/state.h"

// The sequence (apu_status).
constexpr int APU_SHUT_DOWN = 0;
constexpr int APU_POWERING_UP = 1;     // master ON, 10 s
constexpr int APU_START_FAULT = 2;     // FAULT lit, 120 s lock-out
constexpr int APU_READY = 3;
constexpr int APU_STARTING = 4;        // 1 s
constexpr int APU_RUNNING_UP = 5;      // 45 s to the generator
constexpr int APU_GEN_AVAILABLE = 6;   // 120 s to the bleed air
constexpr int APU_ALL_AVAILABLE = 7;

// The master knob (apu_master_switch_status).
constexpr int MASTER_OFF = 0, MASTER_ON = 1, MASTER_START = 2;

// Seconds of each timed step.
constexpr double POWER_UP_SECONDS = 10, START_SECONDS = 1, RUN_UP_SECONDS = 45,
                 BLEED_SECONDS = 120, FAULT_SECONDS = 120;

// ------------------------------------------------------------ elements

enum : int32_t {
    BMP_PANEL_MASK = BITMAPS_APU,
    BMP_LEGENDS = BMP_PANEL_MASK + 1,
    BMP_MASTER_KNOB = BMP_LEGENDS + 1,       // OFF, ON, START
    BMP_FAULT = BMP_MASTER_KNOB + 3,         // dark, FAULT lit
    BMP_BUTTON = BMP_FAULT + 2,              // dark, AVAIL lit, ON lit
};

// An icon shows only the images it has: a value read from the panel state
// file outside the knob's three positions shows OFF.
static double knob_image(double position) {
    int p = static_cast<int>(position);
    return p >= MASTER_OFF && p <= MASTER_START ? p : MASTER_OFF;
}

static double FS_CALL master_knob_image(ElementHead*) {
    return knob_image(quillmar.apu.apu_master_switch_status);
}
static double FS_CALL fault_image(ElementHead*) { return quillmar.apu.apu_fault_light != 0 ? 1 : 0; }

static double button_image(double on, double available) {
    if (on != 0) return 2;
    return available != 0 ? 1 : 0;
}
static double FS_CALL gen_image(ElementHead*) {
    return button_image(quillmar.panels.apu_gen, quillmar.apu.apu_generator_avail_status);
}
static double FS_CALL bleed_image(ElementHead*) {
    return button_image(quillmar.apu.apu_bleed_avail, quillmar.apu.apu_bleed_avail_status);
}

static constexpr GaugeHeader* GAUGE = &gauge_APU.h;
constexpr uint32_t T = IMAGE_TRANSPARENT;

static constinit StaticImageElement legends =
    static_image(GAUGE, {.bitmap = BMP_LEGENDS, .x = 1, .y = 1, .flags = IMAGE_LIT});
static constinit IconElement master_knob =
    icon(GAUGE, {.bitmap = BMP_MASTER_KNOB, .x = 13, .y = 42, .flags = T}, master_knob_image, 3);
static constinit IconElement fault_light =
    icon(GAUGE, {.bitmap = BMP_FAULT, .x = 23, .y = 14, .flags = IMAGE_LIT}, fault_image, 2);
static constinit IconElement gen_legend =
    icon(GAUGE, {.bitmap = BMP_BUTTON, .x = 62, .y = 24, .flags = IMAGE_LIT}, gen_image, 3);
static constinit IconElement bleed_legend =
    icon(GAUGE, {.bitmap = BMP_BUTTON, .x = 62, .y = 74, .flags = IMAGE_LIT}, bleed_image, 3);

enum ApuElement : int { APU_LEGENDS, APU_MASTER_KNOB, APU_FAULT, APU_GEN, APU_BLEED };

static ElementHead* apu_children[] = {
    &legends.head, &master_knob.head, &fault_light.head, &gen_legend.head, &bleed_legend.head,
    nullptr,
};
static constinit StaticImageElement panel_mask =
    static_image(GAUGE, {.bitmap = BMP_PANEL_MASK, .flags = T, .children = apu_children});
static ElementHead* apu_elements[] = {&panel_mask.head, nullptr};

// ------------------------------------------------------------ the sequence

static HostVariable clock_hours = host_variable(3);
static HostVariable clock_minutes = host_variable(4);
static HostVariable clock_seconds = host_variable(5);
static HostVariable on_ground = host_variable(60);

// Seconds of the day.
static double clock_time() {
    return host_variable_value(&clock_hours) * 3600 + host_variable_value(&clock_minutes) * 60 +
           host_variable_value(&clock_seconds);
}

static bool wait_over(double deadline) {
    return quillmar.panels.no_delays_status != 0 || clock_time() >= deadline;
}

static void drop_generator_and_bleed() {
    ApuState& apu = quillmar.apu;
    apu.apu_generator_avail_status = apu.apu_bleed_avail_status = apu.apu_bleed_avail = 0;
    quillmar.panels.apu_gen = 0;
}

static void master_on() {
    ApuState& apu = quillmar.apu;
    switch (static_cast<int>(apu.apu_status)) {
    case APU_SHUT_DOWN:
        apu.apu_status = APU_POWERING_UP;
        apu.power_up_deadline = clock_time() + POWER_UP_SECONDS;
        break;
    case APU_POWERING_UP:
        if (wait_over(apu.power_up_deadline)) apu.apu_status = APU_READY;
        break;
    case APU_START_FAULT: apu.apu_master_switch_status = MASTER_OFF; break;
    case APU_RUNNING_UP:
        if (wait_over(apu.run_up_deadline)) {
            apu.apu_generator_avail_status = 1;
            apu.apu_status = APU_GEN_AVAILABLE;
            apu.bleed_deadline = clock_time() + BLEED_SECONDS;
        }
        break;
    case APU_GEN_AVAILABLE:
        if (wait_over(apu.bleed_deadline)) {
            apu.apu_status = APU_ALL_AVAILABLE;
            apu.apu_bleed_avail_status = 1;
        }
        break;
    default: break;  // ready, starting, all available
    }
}

static void master_start() {
    ApuState& apu = quillmar.apu;
    switch (static_cast<int>(apu.apu_status)) {
    case APU_SHUT_DOWN: break;  // the knob must have been at ON first
    case APU_POWERING_UP:
        apu.apu_status = APU_START_FAULT;
        apu.apu_fault_light = 1;
        apu.fault_deadline = clock_time() + FAULT_SECONDS;
        break;
    case APU_START_FAULT: apu.apu_master_switch_status = MASTER_OFF; break;
    case APU_READY:
        apu.apu_status = APU_STARTING;
        apu.start_deadline = clock_time() + START_SECONDS;
        break;
    case APU_STARTING:
        if (wait_over(apu.start_deadline)) {
            apu.apu_status = APU_RUNNING_UP;
            apu.apu_master_switch_status = MASTER_ON;
            apu.run_up_deadline = clock_time() + RUN_UP_SECONDS;
        }
        break;
    default:
        if (apu.apu_status >= APU_RUNNING_UP) apu.apu_master_switch_status = MASTER_ON;
        break;
    }
}

static void apu_update(GaugeHeader* gauge) {
    ApuState& apu = quillmar.apu;
    // The unit runs only while the host allows it.
    if (host_variable_value(&on_ground) == 0) {
        apu.apu_status = APU_SHUT_DOWN;
        drop_generator_and_bleed();
    }
    bool powered = quillmar.electric.elec_power_state != 0;
    switch (static_cast<int>(apu.apu_master_switch_status)) {
    case MASTER_OFF:
        if (apu.apu_status != APU_START_FAULT) {
            apu.apu_status = APU_SHUT_DOWN;
        } else if (wait_over(apu.fault_deadline)) {
            apu.apu_fault_light = 0;
            apu.apu_status = APU_SHUT_DOWN;
        }
        break;
    case MASTER_ON:
        if (powered) master_on();
        break;
    case MASTER_START:
        if (powered) master_start();
        break;
    default: break;
    }
    quillmar.panels.apu_running = apu.apu_status >= APU_STARTING ? 1 : 0;
    show_element_if(gauge_element(gauge, {APU_LEGENDS}), panel_lit());
}

// ------------------------------------------------------------ mouse

static int32_t FS_CALL click_gen(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& gen = quillmar.panels.apu_gen;
    if (gen == 1) gen = 0;
    else if (quillmar.apu.apu_generator_avail_status != 0) gen = 1;
    return 1;
}

static int32_t FS_CALL click_bleed(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_PUSH);
    double& bleed = quillmar.apu.apu_bleed_avail;
    if (bleed == 1) bleed = 0;
    else if (quillmar.apu.apu_bleed_avail_status != 0) bleed = 1;
    return 1;
}

static int32_t FS_CALL click_master_off(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    quillmar.apu.apu_master_switch_status = MASTER_OFF;
    drop_generator_and_bleed();
    return 1;
}

static int32_t FS_CALL click_master_clockwise(const MousePoint*, uint32_t) {
    sound_start(SOUND_SWITCH_TURN);
    double& master = quillmar.apu.apu_master_switch_status;
    if (master == MASTER_OFF) master = MASTER_ON;
    else if (master == MASTER_ON) master = MASTER_START;
    return 1;
}

static MouseRect apu_rects[] = {
    mouse_parent(0, 0, 173, 300),
    mouse_child(59, 21, 26, 25, CURSOR_HAND, MOUSE_CLICK, click_gen),
    mouse_child(59, 71, 26, 25, CURSOR_HAND, MOUSE_CLICK, click_bleed),
    mouse_child(3, 32, 25, 50, CURSOR_DECREASE, MOUSE_CLICK, click_master_off),
    mouse_child(28, 32, 25, 50, CURSOR_INCREASE, MOUSE_CLICK, click_master_clockwise),
    mouse_close(),
    mouse_end(),
};

// ------------------------------------------------------------ install and kill

static void apu_install() {
    ApuState& apu = quillmar.apu;
    apu.apu_status = panel_state_read_int(KEY_APU_APU_STATUS);
    quillmar.panels.apu_running = apu.apu_status >= APU_STARTING ? 1 : 0;
    quillmar.panels.apu_gen = panel_state_read_int(KEY_APU_APU_GEN);
    apu.apu_bleed_avail = panel_state_read_int(KEY_APU_APU_BLEED_AVAIL);
    apu.apu_generator_avail_status = panel_state_read_int(KEY_APU_APU_GENERATOR_AVAIL_STATUS);
    apu.apu_bleed_avail_status = panel_state_read_int(KEY_APU_APU_BLEED_AVAIL_STATUS);
    apu.apu_master_switch_status = panel_state_read_int(KEY_APU_APU_MASTER_SWITCH_STATUS);
    // Neither the deadlines nor the FAULT light are kept: a wait that was
    // running when the panel was unloaded is over at the next update.
    apu.power_up_deadline = apu.start_deadline = apu.run_up_deadline = apu.bleed_deadline =
        apu.fault_deadline = 0;
    apu.apu_fault_light = 0;
}

static void apu_kill() {
    const ApuState& apu = quillmar.apu;
    panel_state_write_int(KEY_APU_APU_GEN, quillmar.panels.apu_gen);
    panel_state_write_int(KEY_APU_APU_BLEED_AVAIL, apu.apu_bleed_avail);
    panel_state_write_int(KEY_APU_APU_STATUS, apu.apu_status);
    panel_state_write_int(KEY_APU_APU_GENERATOR_AVAIL_STATUS, apu.apu_generator_avail_status);
    panel_state_write_int(KEY_APU_APU_BLEED_AVAIL_STATUS, apu.apu_bleed_avail_status);
    panel_state_write_int(KEY_APU_APU_MASTER_SWITCH_STATUS, apu.apu_master_switch_status);
}

static void FS_CALL apu_callback(GaugeHeader* gauge, int32_t service, uint32_t) {
    switch (service) {
    case SERVICE_INSTALL: apu_install(); break;
    case SERVICE_UPDATE: apu_update(gauge); break;
    case SERVICE_KILL: apu_kill(); break;
    default: break;
    }
}

MAIN_GAUGE(APU, apu_elements, apu_rects, apu_callback);
