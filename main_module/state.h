// The module state of Quillmar: one record, one instance, shared by every
// gauge of the module.
//
// Each value has one writer (named beside it); every other gauge only reads
// it and sees the last write on its next update. Switch positions, levers,
// requests and options start at the panel state file defaults, so a value
// whose owning gauge is not installed still holds a meaningful default.
// Switch states are doubles holding 0.0 or 1.0 (small whole numbers for
// selectors) and are tested against 0; latches and codes are 32-bit integers.
#pragma once

#include <cstdint>

#include "frame/channel.h"

// Electrical power control panel ("EPCP") and the power state of the cockpit.
struct ElectricState {
    // Panel switches, written by Electric (kept in the panel state file).
    double el_pwr_on_system = 0;      // the system is energised by at least one source
    double batt_switch = 0;           // battery master
    double batt1 = 1, batt2 = 1;      // BAT 1 / BAT 2 CHARGE (1 = connected)
    double dc_xfeed = 0;              // DC X-FEED
    double tru1 = 1, tru2 = 1;        // TRU 1 / TRU 2
    double ac_xfeed = 1;              // AUTO AC X-FEED (1 = armed)
    double gen1 = 1, gen2 = 1;        // GEN 1 / GEN 2 (follow generators_online)
    double ext_pwr = 0;               // EXT PWR connected (also cleared by the cycle)
    uint32_t indicator_switch_pos = 0;  // meter selector, 0..11

    // Written by the simulator cycle (and by the GEN buttons for generators_online).
    int32_t generators_online = 0;    // 0 none, 1 gen 1, 2 gen 2, 3 both
    double ext_pwr_available = 0;     // a ground power unit may be connected
    double elec_power_state = 0;      // 0 no power, 1 source transfer, 2 power available
    int32_t power_source = 0;         // 0 none, 1 battery, 2 APU gen, 3 external, 4 engine gens

    // Electric's own evaluation state.
    double engine1_running = 0, engine2_running = 0;            // generator output above 0.5
    double engine1_seen_running = 0, engine2_seen_running = 0;  // start line-up done
    double power_up_edge = 0;         // the update began with the system dead

    // Meter readouts drawn at install, by selector position: [position][0 left, 1 right].
    int32_t readout_values[12][2] = {};
};

// The hydraulic pressure ramp the Hydraulic panel starts and the simulator
// cycle runs: 13 psi per tick (234 psi a second) up or down.
enum HydraulicRamp : int32_t {
    HYD_RAMP_STEADY = 0,   // the pressure sits on what the pumps deliver
    HYD_RAMP_FALLING = 1,  // down to 0, then frozen
    HYD_RAMP_RISING = 2,   // up to what the pumps deliver, then steady
    HYD_RAMP_FROZEN = 3,   // the pressure stays where it is
};

// Values of other panels that the simulator cycle reads. Each is written by
// the gauge named beside it.
struct PanelInputs {
    // APU
    double apu_gen = 0;               // APU generator on line
    double apu_running = 0;           // APU running (drives the APU sounds)
    // Starter
    int32_t start_request = 0;        // 0 none, 1 engine 1, 2 engine 2
    int32_t ignition_code = 0;        // 1 left ignition on, 2 right, 3 both (EFIS_Control_Panel's engine lamps)
    // EngineFire1, EngineFire2
    double engine1_fuel_shutoff = 0, engine2_fuel_shutoff = 0;  // fire handle off centre
    // Fuel
    int32_t no_boost_pressure = 0;    // 1 engine 1, 2 engine 2, 3 both without booster pressure
    // Fuel_Controls ("FUEL_CONTROL")
    double fuel_control_left_pos = 80, fuel_control_right_pos = 80;  // 0 forward .. 80 back
    // Flight_Controls_Lock ("PEDESTAL HANDLES" / fltlock_handle_pos)
    double flight_controls_locked = 1;
    // Alternate_Gear ("PEDESTAL HANDLES" / altgear_handle_pos): the handle, 0 stowed, 1 pulled
    double alternate_gear_extended = 0;
    // Airconditioning ("AIRCONDITIONING")
    double pack_left_pos = 0, pack_right_pos = 0;  // pack 1 (flight deck), pack 2 (cabin)
    double flight_deck_temp_pos = 6, cabin_temp_pos = 6;  // selectors 0..11
    double flight_deck_heater_pos = 0;
    double cabin_temp_aut_pos = 0;
    // Cabin_Pressure_2, Cabin_Pressure_3 ("CABIN PRESSURE")
    double landing_altitude = 0;      // feet, -1000..14600 (Cabin_Pressure_2)
    double manual_control_status = 0;
    double man_rate_control_value = 0;  // signed manual rate, feet per second
    // Hydraulic ("HYDRAULIC")
    double eng_pump_left_pos = 1, eng_pump_right_pos = 1;
    double elec_pump_pos = 0;
    int32_t hyd_ramp_mode = 0;        // HydraulicRamp
    double hyd_ramp_start_pressure = 0;
    double hyd_ramp_start_tick = 0;
    // EFIS_Control_Panel, Flight_Mode_Panel, Electric
    int32_t fd_cancel = 0;            // flight director bars cancelled
    // EFIS_Control_Panel
    double decision_height = 10;      // feet ("EFIS CP" / selectedDH)
    // Engine_Rating_Panel: the torque target of the selected rating (also the
    // take-off torque the take-off calls compare with) and the power lever servo.
    double torque_target = 0;         // fraction, 1.0 = 100 %
    double lever_servo_1 = 0, lever_servo_2 = 0;  // lever pushed to full forward, servo armed
    double servo_engaged = 0;         // the servo has captured its starting point
    // Checklist (and the cycle's space bar step): the section shown, 0 the
    // cover page or 1..10, and its item, 0 the title line
    double checklist_section = 0;
    double checklist_item = 0;
    // Options ("OPTIONS")
    double no_spacebar_status = 0;
    double no_delays_status = 0;
    // Push ("PUSHBACK")
    int32_t pushback_command = 0;     // 0 none, 1..4 requests, 5 pushback finished
    double pb_distance_value = 40;
};

// Fuel panel ("FUEL"): the crew's pump and cross-feed selections and what
// the panel shows. Written by Fuel; no_boost_pressure is in PanelInputs.
struct FuelPanel {
    double fuelpump_left_1_pos = 1, fuelpump_left_2_pos = 1;    // left (engine 1) tank
    double fuelpump_right_1_pos = 1, fuelpump_right_2_pos = 1;  // right (engine 2) tank
    double fuel_xfeed_pos = 0;
    double fuel_shutoff_indication_1 = 0, fuel_shutoff_indication_2 = 0;  // 0 dark, 1 open, 2 SHUT
    double fuel_qty_left_kg = 0, fuel_qty_right_kg = 0;  // as the readouts last computed them
    double fuel_level_light = 0;
    int32_t blink_phase_left = 0, blink_phase_right = 0;  // low-quantity readouts alternate
};

// Hydraulic panel ("HYDRAULIC"): the panel's own switches and latches,
// written by Hydraulic. The pump buttons and the pressure ramp that the
// simulator cycle reads are in PanelInputs.
struct HydraulicPanel {
    double elec_pump_cover_pos = 0;   // guard over the electric pump: 0 closed, 1 open
    double readout_switch_pos = 1;    // 0 QTY (%), 1 OFF, 2 PRESS (PSI)
    double hyd_electric_power_init = 0;  // set whenever the panel finds no power
    int32_t hyd_engine1_pump_started = 0, hyd_engine2_pump_started = 0;  // automatic switching done
};

// Pedestal controls that keep state of their own beyond the levers and the
// controls lock in PanelInputs.
struct PedestalState {
    double aileron_trim_switch_image = 0;  // 0 left, 1 centre, 2 right (Trim_Aileron)
};

// System state computed by the simulator cycle for the instruments and panels.
struct SystemOutputs {
    double temperature_flight_deck = 15.0;  // degrees Celsius (file: tenths)
    double temperature_cabin = 15.0;
    int32_t temperature_flight_deck_whole = 15;  // whole degrees shown by Airconditioning
    int32_t temperature_cabin_whole = 15;
    double cabin_altitude = 0;        // feet
    double cabin_rate = 0;            // feet per clock second
    double hyd_pressure = 0;          // psi
    double hyd_quantity_percent = 0;
};

// The simulator cycle's own memory from frame to frame.
struct CycleState {
    // Clock and pressurization
    double last_clock = 0;            // seconds of the day at the last step
    double elapsed_clock = 0;
    // Generators and power source transfer
    int32_t generator1_was_running = 0, generator2_was_running = 0;  // edge latches
    int32_t previous_power_source = 0;
    int32_t transfer_running = 0;
    double transfer_start_tick = 0;
    // Ground power unit
    int32_t ground_power_wait = 0;    // 0..5, see the ground power step
    double ground_power_deadline = 0; // simulation time
    int32_t ground_crew_busy = 0;
    // Engine running latches (packs)
    int32_t engine1_running_latch = 0, engine2_running_latch = 0;
    // Temperatures
    double temperature_step_time = 0; // simulation time of the last step
    // Flaps and gear hold
    double remembered_flaps = 0, remembered_gear = 0;
    // Space bar and checklist
    int16_t previous_space_key = 0;
    double previous_checklist_section = 0, previous_checklist_item = 0;
    // APU and electrical system sounds: 0 off, 1 starting, 2 running
    int32_t apu_sound_state = 0, system_sound_state = 0;
    double apu_sound_since = 0, system_sound_since = 0;  // tick the start-up sound began
    // Ventilation sound: 0 off, 1 starting, 2 running
    int32_t ventilation_sound_state = 0;
    double ventilation_sound_since = 0;                   // tick the start-up sound began
    // Voice callout latches (set or cleared at install)
    int32_t start_calls_armed = 0;
    int32_t start_call_latches[4] = {};
    int32_t takeoff_latches[5] = {};
    int32_t gear_down_latch = 0;
    int32_t minimums_latch = 0;
    int32_t height_call_state = 0;

    // Crew: flap motor, ground crew sequence and pushback driver
    double previous_flaps_handle = 0;     // host flaps handle at the last cycle
    int32_t ground_crew_step = 1;         // 1..13
    double ground_crew_step_time = 0;     // tick of the step's last sound
    int32_t previous_pushback_command = 0;
    int32_t pushback_started = 0;
    double pushback_start_latitude = 0, pushback_start_longitude = 0, pushback_start_heading = 0;
    int32_t pushback_speed_steps = 0;     // 0..5
    int32_t pushback_turn_steps = 0;      // 0..4
    int32_t pushback_turn_finished = 0;
    double pushback_next_call = 0;        // tick after which the driver runs again
};

// APU panel ("APU"): the master knob, the start sequence and its legends.
// apu_gen and apu_running, which the cycle reads, are in PanelInputs.
struct ApuState {
    double apu_master_switch_status = 0;    // 0 OFF, 1 ON, 2 START
    double apu_status = 0;                  // 0..7, see the APU panel
    double apu_generator_avail_status = 0;  // GEN AVAIL
    double apu_bleed_avail_status = 0;      // BLEED AVAIL
    double apu_bleed_avail = 0;             // BLEED button ON (the crew's selection)
    double apu_fault_light = 0;
    // Clock times (seconds of the day) at which each timed step ends.
    double power_up_deadline = 0, start_deadline = 0, run_up_deadline = 0, bleed_deadline = 0,
           fault_deadline = 0;
};

// Ground proximity warning computer (GPWS) and its lamp (GPWS_Light).
struct GpwsState {
    double radio_height = 0;           // feet
    int32_t gpws_code = 0;             // alert of this update; 90 none, 91 outside the band
    int32_t gpws_last_code = 0;        // last alert voiced; 0 every 5 seconds
    int32_t gpws_lamp = 0;             // 0 off, 1 ground proximity, 2 glideslope
    int32_t gear_down = 0;             // gear lever down
    int32_t gpws_armed = 0;            // airborne above 700 ft once
    int32_t takeoff_phase = 0;         // from the ground until above 700 ft
    double max_height_below_700 = 0;
    double height_5s_ago = 0;
    double sample_time = 0;            // host time of the last sample, seconds
    int32_t minimums_played = 0;
    double gpws_selector = 0;          // panel selector 0..2 ("flaps_override_pos")
    double gs_override = 0;            // glideslope override ("gs_override_pos")
    // GPWS_Light's flashing
    double flash_timer = -1;           // tick of the last phase change
    int32_t flash_phase = 0;
};

// Checklist page: which tab is highlighted and which dot marks the item.
struct ChecklistState {
    int32_t checklist_tab_lit[10] = {};  // sections 1..10
    int32_t checklist_marker_red = 0;    // 1 red dot, 0 green dot
};

// ------------------------------------------------------------ overhead systems panels
// Air conditioning, pressurization, anti-ice, lights and avionics. The
// selections the simulator cycle reads (packs, temperature selectors,
// heater, authority, landing altitude, manual pressurization, alternate
// gear) are in PanelInputs; what only the panels themselves use is here.

// Airconditioning ("AIRCONDITIONING"), written by Airconditioning.
struct AirconditioningState {
    double aircond_cabin_temp_aut_cover_pos = 0;  // guard over CABIN TEMP AUTHORITY: 0 closed, 1 open
    double aircond_supply_switch_pos = 0;         // 0 FL DK SUPPLY, 1 CABIN, 2 CABIN SUPPLY
    double aircond_recirc_left_pos = 0, aircond_recirc_right_pos = 0;
    double bleed_left_pos = 0, bleed_right_pos = 0;
    double aircond_economy_pos = 0;
};

// Cabin_Pressure_3 ("CABIN PRESSURE"): the manual rate knob and direction
// switch behind man_rate_control_value.
struct CabinPressureState {
    double rate_uint_value = 0;                   // manual rate knob, 0..25
    double press3_direction_control_status = 1;   // 0 climb, 1 hold, 2 descend
};

// Anti-ice ("ANTI-ICE"), written by Anti-ice.
struct AntiIceState {
    double engine_anti_ice_left = 0, engine_anti_ice_right = 0;  // not kept between flights
    double pitot_1_pos = 1, pitot_2_pos = 1;      // PITOT L LO, PITOT R UP
    double pitot_3_pos = 1, pitot_4_pos = 1;      // PITOT L UP, PITOT R LO
    double vane_pos = 1;
    double heater_switch_pos = 0;                 // airframe de-icing: 0 OFF, 1 LIGHT, 2 HEAVY
    double manual_heater_pos = 1;                 // MANUAL: 0 lever down (2), 1 centre, 2 lever up (1)
    double window_heat_left_pos = 1, window_heat_right_pos = 1;
};

// External_Lights_and_Cabin ("CABIN"); the exterior lights are the host's.
struct ExternalLightsState {
    double storm_lights_pos = 0;
    double seatbelt_pos = 0;
    double no_smoking_pos = 0;                    // 0 OFF, 1 AUTO, 2 ON
};

// Emergency_Lights ("EMER LIGHT").
struct EmergencyLightsState {
    double emer_switch_pos = 0;                   // 0 OFF, 1 ARMED, 2 ON
    double not_armd_light = 0;                    // derived every update, not kept
    double elt_light_pos = 0;                     // emergency locator switch
    double elt_cover_pos = 0;                     // its guard: 0 closed, 1 open
};

// Avionics ("AVIONICS"): symbol generator and display unit transfer buttons.
// Symbol generator 1 is published on kt93_Avionics for the flight displays.
struct AvionicsState {
    double avionics_sg1_pos = 0, avionics_sg2_pos = 0;
    double avionics_duxfr1_pos = 0, avionics_duxfr2_pos = 0;
};

// ------------------------------------------------------------ flight guidance and air data

// Airspeed: the three speed bugs, dial degrees clockwise from the top, kept
// between 0 and 344 by the knobs ("AIRSPEED"; the file may hold others).
struct AirspeedBugs {
    double bug_1 = 212, bug_2 = 184, bug_3 = 96;
};

// Flight_Mode_Panel: the crew's guidance modes, run over the host autopilot.
// Mode flags are 0.0 / 1.0 and start cleared on every load.
struct FlightModePanel {
    double fd_cancel_lamp = 0;        // lamp of the FD cancel button
    double nav_mode = 0;              // NAV (lateral)
    double vapp_mode = 0;             // V APP (lateral)
    double asel_mode = 0;             // altitude preselect armed
    double alt_mode = 0;              // altitude hold
    double vs_mode = 0;               // vertical speed
    double ias_mode = 0;              // airspeed on pitch
    double ap_altitude = 6000;        // preselect, feet ("FLIGHTMODE")
    double ap_left_state = 1, ap_right_state = 0;  // autopilot selector switches ("FLIGHTMODE")
    double air_data_mode = 0;         // 1 IAS, 2 VS, 0 neither; read by Autopilot_Control_Panel
    int32_t lateral_mode_bits = 0;    // published on kt93_APLateralMode
    int32_t vertical_mode_bits = 0;   // published on kt93_APVerticalMode
    int32_t any_mode_active = 0;      // the flight director follows it
    double ias_vs_command = 0;        // IAS mode's vertical speed, feet per minute
    double ias_prev_error = 0;        // airspeed error of the last IAS update (never reset)
    double preselect_repeat_deadline = 0;  // tick before which a click counts as fast
};

// EFIS_Control_Panel: what the two displays show ("EFIS CP"). The decision
// height it sets is PanelInputs::decision_height.
struct EfisControlPanel {
    double ehsi_mode = 1;             // 0 full rose, 1 arc
    double gspd_tts_mode = 1;         // 1 ground speed, 0 time to go
    double needle1_source = 0;        // 0 off, 1 VOR, 2 ADF
    double needle2_source = 0;
    double selected_nav = 1;          // NAV receiver 1 or 2; read by VHF_NAV_Control_Panel
    double engine_lamp[2] = {0, 0};   // the two engine lamps, set each update
};

// VHF_NAV_Control_Panel: one receiver's standby frequency and mode knob ("NAV").
struct NavReceiver {
    int32_t standby_mhz = 15;         // 8..17 for 108..117 MHz
    int32_t standby_khz = 55;         // 0..95 in steps of 5 for .00 to .95
    int32_t knob = 0;                 // 0 off, 1 frequency, 2 bearing, 3 reciprocal bearing
    double nav_on = 0;                // the knob is not off; read by RMI
    int32_t active_digits[4] = {0, 0, 0, 0};  // last active frequency shown, for the swap
};

struct VhfNavPanel {
    NavReceiver receiver[2];          // NAV 1, NAV 2
};

// Autopilot_Control_Panel: the pitch wheel's fast-turn deadline.
struct AutopilotControlPanel {
    double wheel_repeat_deadline = 0; // tick before which a wheel click counts as fast
};

// Radio heads of the pedestal: ADF1/ADF2, COM1/COM2, Transponder1/Transponder2.
// Each head writes its own entry; index 0 is the first head of a kind.
struct AdfHeadState {
    int32_t d1 = 3, d2 = 3, d3 = 6;   // standby hundreds (2..9), tens, units
    int32_t tenths = 0;               // standby tenths digit, 0 or 5
    int32_t knob = 0;                 // mode knob 0 (off) .. 5
    int32_t active[4] = {};           // digits the active readout last showed
};

struct ComHeadState {
    uint16_t standby = 0x1800;        // BCD digits after the leading 1 (0x1800 = 118.00)
    int32_t knob = 0;                 // 0 off, 1 on, 2 squelch open
};

struct TransponderHeadState {
    int16_t digits[4] = {2, 0, 0, 0}; // code digits, 0..7 (8 and 9 only from the host or file)
    int32_t knob = 0;                 // mode knob 0 (off) .. 5
};

struct RadioState {
    AdfHeadState adf[2];
    ComHeadState com[2];
    TransponderHeadState transponder[2];
    // Some ADF head is switched on (knob 2 or more); written by ADF1/ADF2 and
    // set from the panel state file at RMI's install; read by RMI.
    double adf_any_on = 0;
    // Which transponder head drives the host transponder: 0 first, 1 second.
    int32_t transponder_active_head = 0;
};

// Radio magnetic indicator, its selector, the DME indicator and the timer.
struct NavigationInstrumentState {
    // RMI_Selector: the four pointer source buttons and the two sums
    // (pointer 1 counts 1, pointer 2 counts 2).
    double vor_to_pointer1 = 0, vor_to_pointer2 = 0;
    double adf_to_pointer1 = 0, adf_to_pointer2 = 0;
    double vor_pointer_select = 0, adf_pointer_select = 0;
    // DME ("DME" / tts_mode_pos): 0 ground speed, 1 time to station.
    double dme_time_mode = 0;
    // Timer: the date page, the chronometer and the elapsed time counter.
    double timer_show_date = 0;
    int32_t chrono_state = 0;         // 0 reset, 1 running, 2 stopped
    double chrono_start = 0, chrono_time = 0;    // seconds; chrono_time frozen at the stop
    int32_t elapsed_state = 0;        // 0 reset, 1 running, 2 stopped
    double elapsed_start = 0, elapsed_time = 0;
};

// Gear, flap, brake pressure and fuel quantity indicators.
struct IndicatorState {
    // Gear: each leg down and locked (its position exactly 16383).
    double nose_gear_locked = 0, left_gear_locked = 0, right_gear_locked = 0;
    int32_t gear_lever_state = 0;     // lever image 0..3
    // Fuel_Quantity: fuel on board, kg.
    double fuel_total_kg = 0;
};

// ------------------------------------------------------------ engines
// Start panel, propeller control lights, fire handles, engine rating panel
// and the engine instruments with state of their own.

// Starter ("STARTER"): start master, IGNITION buttons and the spring-loaded
// start selector. The start request and ignition code it publishes are in
// PanelInputs.
struct StarterState {
    double starter_master_start_pos = 0;
    double starter_ignition_left_pos = 0, starter_ignition_right_pos = 0;
    double start_selector = 1;        // 0 L, 1 centre, 2 R
    double start_selector_time = 0;   // simulation time (seconds) of the last turn
};

// PropEC: the PROP EC lights; a lit light holds its propeller lever feathered.
struct PropEcState {
    int32_t prop_ec_light_1 = 0, prop_ec_light_2 = 0;
    int32_t autofeathered_1 = 0, autofeathered_2 = 0;  // feathered in the air by the autofeather
};

// EngineFire1, EngineFire2 ("ENGINE_FIRE"), one per engine. The fuel
// shut-off each handle publishes is in PanelInputs.
struct EngineFireState {
    double loop1_pos = 0, loop2_pos = 0;  // 1 = loop switched off (OFF lit)
    double handle_pos = 1;            // 0 turned left (agent 1), 1 centre, 2 turned right (agent 2)
};

// Engine_Rating_Panel ("ERP"): the rating mode, the flexible take-off
// temperature, the go-around automation, the lever servo and the propeller
// governor. Its outputs for other panels are in PanelInputs.
struct EngineRatingState {
    // Mode lamps, at most one lit.
    double erp_to = 0, erp_ga = 0, erp_flx = 0, erp_clb = 0, erp_crz = 0, erp_mct = 0;
    int32_t active_erp_mode = 0;      // 1 TO, 2 GA, 3 FLX, 4 CLB, 5 CRZ, 6 MCT, 0 none
    double flex_temp_offset = 0;      // degrees added to the outside temperature in FLX
    int32_t ga_arm_state = 0;         // 2 armed in the air, 1 GA held after touchdown, 0 idle
    double ga_hold_deadline = 0;      // simulation time at which GA gives way to TO
    double lever_command[2] = {};     // power lever positions the servo commands
    double torque_error[2] = {};      // last torque minus target, per lever
    double prop_speed_target = 0.85;  // propeller speed fraction the governor holds
    double prop_command[2] = {};      // propeller lever positions the governor commands
    double speed_error[2] = {};       // last propeller speed minus target
};

// Feather: the autofeather annunciator.
struct FeatherState {
    int32_t feather_state = 0;        // 0 off, 1 armed, 2 active
    int32_t feather_latch = 0;        // an engine has given take-off torque with the servo armed
};

// Fuel_Flow ("FUELFLOW"): pages, weight entry and fuel used.
struct FuelFlowState {
    int32_t fuel_display_page = 0;    // 0 flow and weight, 1 weight entry, 2 fuel used,
                                      // 3 reference speed, 4 display test
    double fuel_page_deadline = 0;    // simulation time at which the page falls back to 0
    double aircraft_weight_mod = 0;   // kg, 0 to 20000 in steps of 100
    double weight_valid = 1;          // the gross weight may be shown
    double fuel_on_board_kg = 0;
    double fuel_reference_kg = 0;     // fuel on board at the last reference point
    double fuel_used_kg = 0;
    int32_t fuel_reset_latch = 0;     // set at the first update without power
};

struct QuillmarState {
    ChannelLinks channels{};          // created at System_Simulator's install
    ElectricState electric;
    PanelInputs panels;
    FuelPanel fuel;
    HydraulicPanel hydraulic;
    PedestalState pedestal;
    SystemOutputs systems;
    CycleState cycle;
    // Overhead systems panels
    AirconditioningState aircond;
    CabinPressureState cabin_pressure;
    AntiIceState anti_ice;
    ExternalLightsState external_lights;
    EmergencyLightsState emergency_lights;
    AvionicsState avionics;
    // Flight guidance and air data
    AirspeedBugs airspeed;
    FlightModePanel flight_mode;
    EfisControlPanel efis;
    VhfNavPanel vhf_nav;
    AutopilotControlPanel autopilot;
    // Radios, navigation instruments and indicators
    RadioState radios;
    NavigationInstrumentState navigation;
    IndicatorState indicators;
    // Engines
    StarterState starter;
    PropEcState prop_ec;
    EngineFireState engine_fire[2];   // EngineFire1, EngineFire2
    EngineRatingState engine_rating;
    FeatherState feather;
    FuelFlowState fuel_flow;
    // The crew: APU, ground proximity warning, checklist page
    ApuState apu;
    GpwsState gpws;
    ChecklistState checklist;
};

extern QuillmarState quillmar;

// Back to the values the module starts with when it is loaded.
void reset_module_state();
