// The panel state file: the switch positions, selector settings, standby
// frequencies, bug settings and options that the cockpit keeps from one
// flight to the next, one key each in .\Gauges\Quillmar.ini.
//
// Every gauge that owns persistent state reads its keys at install, in the
// order of the table below, and writes them back at kill. Values are
// decimal text: read into a buffer of the row's size (so at most size - 1
// characters count) and converted by the atoi rule (leading white space,
// optional sign, digits up to the first non-digit; no digits give 0).
// Writes are "%d" of the value truncated toward zero, "%d%d%d%d" for values
// held digit by digit (standby frequencies and codes), or "%d" of the value
// times ten for the two temperatures, which are kept in tenths of a degree.
//
// A missing file, section or key gives the row's default; a failed write is
// ignored. Nothing here allocates.
#pragma once

#include <cstdint>

// Relative to the host's current folder, whose Gauges folder holds the
// modules.
constexpr const char PANEL_STATE_PATH[] = ".\\Gauges\\Quillmar.ini";

enum PanelStateFormat : uint8_t {
    PANEL_STATE_DECIMAL,       // "%d"
    PANEL_STATE_FOUR_DIGITS,   // "%d%d%d%d", one digit after another
    PANEL_STATE_TENTHS,        // "%d" of the value times 10; read times 0.1
};

// The gauges that read or write a key: gauge names of Quillmar, and the
// display modules by module name ("Quillmar_EADI", "Quillmar_EHSI").
#define KEY_GAUGES(...) {__VA_ARGS__}

// K(id, section, key, default text, read buffer size, read by, written by,
//   write format), in the order in which the owning gauges read them.
#define PANEL_STATE_KEYS(K) \
    K(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, "AIRCONDITIONING", "temperature_cabin", "150", 6, KEY_GAUGES("System_Simulator"), KEY_GAUGES("System_Simulator"), PANEL_STATE_TENTHS) \
    K(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK, "AIRCONDITIONING", "temperature_flight_deck", "150", 6, KEY_GAUGES("System_Simulator"), KEY_GAUGES("System_Simulator"), PANEL_STATE_TENTHS) \
    K(KEY_AIRCONDITIONING_FLIGHT_DECK_TEMP_POS, "AIRCONDITIONING", "flight_deck_temp_pos", "6", 6, KEY_GAUGES("System_Simulator", "Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_CABIN_TEMP_POS, "AIRCONDITIONING", "cabin_temp_pos", "6", 6, KEY_GAUGES("System_Simulator", "Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_FLIGHT_DECK_HEATER_POS, "AIRCONDITIONING", "flight_deck_heater_pos", "0", 6, KEY_GAUGES("System_Simulator"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_CABIN_TEMP_AUT_POS, "AIRCONDITIONING", "cabin_temp_aut_pos", "0", 6, KEY_GAUGES("System_Simulator"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_AIRCOND_CABIN_TEMP_AUT_COVER_POS, "AIRCONDITIONING", "aircond_cabin_temp_aut_cover_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_AIRCOND_SUPPLY_SWITCH_POS, "AIRCONDITIONING", "aircond_supply_switch_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_PACK_LEFT_POS, "AIRCONDITIONING", "pack_left_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_PACK_RIGHT_POS, "AIRCONDITIONING", "pack_right_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_AIRCOND_RECIRC_LEFT_POS, "AIRCONDITIONING", "aircond_recirc_left_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_AIRCOND_RECIRC_RIGHT_POS, "AIRCONDITIONING", "aircond_recirc_right_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_BLEED_LEFT_POS, "AIRCONDITIONING", "bleed_left_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_BLEED_RIGHT_POS, "AIRCONDITIONING", "bleed_right_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRCONDITIONING_AIRCOND_ECONOMY_POS, "AIRCONDITIONING", "aircond_economy_pos", "0", 6, KEY_GAUGES("Airconditioning"), KEY_GAUGES("Airconditioning"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_PRESSURE_MANUAL_CONTROL_STATUS, "CABIN PRESSURE", "manual_control_status", "0", 6, KEY_GAUGES("System_Simulator", "Cabin_Pressure_3"), KEY_GAUGES("System_Simulator", "Cabin_Pressure_3"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE, "CABIN PRESSURE", "man_rate_control_value", "0", 6, KEY_GAUGES("System_Simulator", "Cabin_Pressure_3"), KEY_GAUGES("System_Simulator", "Cabin_Pressure_3"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_PRESSURE_RATE_UINT_VALUE, "CABIN PRESSURE", "rate_uint_value", "0", 6, KEY_GAUGES("Cabin_Pressure_3"), KEY_GAUGES("Cabin_Pressure_3"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_PRESSURE_PRESS3_DIRECTION_CONTROL_STATUS, "CABIN PRESSURE", "press3_direction_control_status", "1", 6, KEY_GAUGES("Cabin_Pressure_3"), KEY_GAUGES("Cabin_Pressure_3"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_PRESSURE_LANDING_ALTITUDE, "CABIN PRESSURE", "landing_altitude", "0", 6, KEY_GAUGES("Cabin_Pressure_2"), KEY_GAUGES("Cabin_Pressure_2"), PANEL_STATE_DECIMAL) \
    K(KEY_OPTIONS_NO_SPACEBAR_STATUS, "OPTIONS", "no_spacebar_status", "0", 3, KEY_GAUGES("System_Simulator", "Options"), KEY_GAUGES("Options"), PANEL_STATE_DECIMAL) \
    K(KEY_OPTIONS_NO_DELAYS_STATUS, "OPTIONS", "no_delays_status", "0", 3, KEY_GAUGES("Options"), KEY_GAUGES("Options"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_CONTROL_FUEL_CONTROL_LEFT_POS, "FUEL_CONTROL", "fuel_control_left_pos", "80", 6, KEY_GAUGES("System_Simulator", "Fuel_Controls"), KEY_GAUGES("Fuel_Controls"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_CONTROL_FUEL_CONTROL_RIGHT_POS, "FUEL_CONTROL", "fuel_control_right_pos", "80", 6, KEY_GAUGES("System_Simulator", "Fuel_Controls"), KEY_GAUGES("Fuel_Controls"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRSPEED_BUG_1, "AIRSPEED", "bug_1", "212", 5, KEY_GAUGES("Airspeed"), KEY_GAUGES("Airspeed"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRSPEED_BUG_2, "AIRSPEED", "bug_2", "184", 5, KEY_GAUGES("Airspeed"), KEY_GAUGES("Airspeed"), PANEL_STATE_DECIMAL) \
    K(KEY_AIRSPEED_BUG_3, "AIRSPEED", "bug_3", "96", 5, KEY_GAUGES("Airspeed"), KEY_GAUGES("Airspeed"), PANEL_STATE_DECIMAL) \
    K(KEY_ADF_ADF1_KNOB_POS, "ADF", "adf1_knob_pos", "0", 6, KEY_GAUGES("RMI", "ADF1"), KEY_GAUGES("ADF1"), PANEL_STATE_DECIMAL) \
    K(KEY_ADF_ADF2_KNOB_POS, "ADF", "adf2_knob_pos", "0", 6, KEY_GAUGES("RMI", "ADF2"), KEY_GAUGES("ADF2"), PANEL_STATE_DECIMAL) \
    K(KEY_ADF_ADF1_STBY_FREQ, "ADF", "adf1_stby_freq", "3360", 6, KEY_GAUGES("ADF1"), KEY_GAUGES("ADF1"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_ADF_ADF2_STBY_FREQ, "ADF", "adf2_stby_freq", "3360", 6, KEY_GAUGES("ADF2"), KEY_GAUGES("ADF2"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_DME_TTS_MODE_POS, "DME", "tts_mode_pos", "0", 6, KEY_GAUGES("DME"), KEY_GAUGES("DME"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_SELECTEDNAV, "EFIS CP", "selectedNAV", "1", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_SELECTEDDH, "EFIS CP", "selectedDH", "10", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_SPEED_TTS_MODE, "EFIS CP", "speed_tts_mode", "1", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_EFISCPNEEDLE1, "EFIS CP", "EFISCPNeedle1", "0", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_EFISCPNEEDLE2, "EFIS CP", "EFISCPNeedle2", "0", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_EFIS_CP_EFISCPEHSIMODE, "EFIS CP", "EFISCPEHSIMode", "1", 6, KEY_GAUGES("EFIS_Control_Panel"), KEY_GAUGES("EFIS_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_NAV_NAV1_STBY_FREQ, "NAV", "nav1_stby_freq", "1555", 6, KEY_GAUGES("VHF_NAV_Control_Panel"), KEY_GAUGES("VHF_NAV_Control_Panel"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_NAV_NAV2_STBY_FREQ, "NAV", "nav2_stby_freq", "1555", 6, KEY_GAUGES("VHF_NAV_Control_Panel"), KEY_GAUGES("VHF_NAV_Control_Panel"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_NAV_NAV1_KNOB, "NAV", "nav1_knob", "0", 6, KEY_GAUGES("VHF_NAV_Control_Panel"), KEY_GAUGES("VHF_NAV_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_NAV_NAV2_KNOB, "NAV", "nav2_knob", "0", 6, KEY_GAUGES("VHF_NAV_Control_Panel"), KEY_GAUGES("VHF_NAV_Control_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_FLIGHTMODE_AP_LEFT_STATE, "FLIGHTMODE", "ap_left_state", "1", 8, KEY_GAUGES("Flight_Mode_Panel"), KEY_GAUGES("Flight_Mode_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_FLIGHTMODE_AP_RIGHT_STATE, "FLIGHTMODE", "ap_right_state", "0", 8, KEY_GAUGES("Flight_Mode_Panel"), KEY_GAUGES("Flight_Mode_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_FLIGHTMODE_AP_ALTITUDE, "FLIGHTMODE", "ap_altitude", "6000", 8, KEY_GAUGES("Flight_Mode_Panel"), KEY_GAUGES("Flight_Mode_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_GPWS_GS_OVERRIDE_POS, "GPWS", "gs_override_pos", "0", 6, KEY_GAUGES("GPWS"), KEY_GAUGES("GPWS"), PANEL_STATE_DECIMAL) \
    K(KEY_GPWS_FLAPS_OVERRIDE_POS, "GPWS", "flaps_override_pos", "0", 6, KEY_GAUGES("GPWS"), KEY_GAUGES(), PANEL_STATE_DECIMAL) \
    K(KEY_ERP_ACTIVE_ERP_MODE, "ERP", "active_erp_mode", "0", 6, KEY_GAUGES("Engine_Rating_Panel"), KEY_GAUGES("Engine_Rating_Panel"), PANEL_STATE_DECIMAL) \
    K(KEY_FUELFLOW_AIRCRAFT_WEIGHT_MOD, "FUELFLOW", "aircraft_weight_mod", "0", 6, KEY_GAUGES("Fuel_Flow"), KEY_GAUGES("Fuel_Flow"), PANEL_STATE_DECIMAL) \
    K(KEY_COM_COM1_STANDBY_FREQUENCY, "COM", "com1_standby_frequency", "6144", 6, KEY_GAUGES("COM1"), KEY_GAUGES("COM1"), PANEL_STATE_DECIMAL) \
    K(KEY_COM_COM1_KNOB_POS, "COM", "com1_knob_pos", "0", 6, KEY_GAUGES("COM1"), KEY_GAUGES("COM1"), PANEL_STATE_DECIMAL) \
    K(KEY_COM_COM2_STBY_FREQ, "COM", "com2_stby_freq", "6144", 6, KEY_GAUGES("COM2"), KEY_GAUGES("COM2"), PANEL_STATE_DECIMAL) \
    K(KEY_COM_COM2_KNOB, "COM", "com2_knob", "0", 6, KEY_GAUGES("COM2"), KEY_GAUGES("COM2"), PANEL_STATE_DECIMAL) \
    K(KEY_TPR_ACTIVE, "TPR", "active", "0", 6, KEY_GAUGES("Transponder1", "Transponder2"), KEY_GAUGES("Transponder1"), PANEL_STATE_DECIMAL) \
    K(KEY_TPR_TPR1_KNOB, "TPR", "tpr1_knob", "0", 6, KEY_GAUGES("Transponder1"), KEY_GAUGES("Transponder1"), PANEL_STATE_DECIMAL) \
    K(KEY_TPR_TPR1_NONACTIVE_FREQ, "TPR", "tpr1_nonactive_freq", "2000", 6, KEY_GAUGES("Transponder1"), KEY_GAUGES("Transponder1"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_TPR_TPR2_KNOB, "TPR", "tpr2_knob", "0", 6, KEY_GAUGES("Transponder2"), KEY_GAUGES("Transponder2"), PANEL_STATE_DECIMAL) \
    K(KEY_TPR_TPR2_NONACTIVE_FREQ, "TPR", "tpr2_nonactive_freq", "2000", 6, KEY_GAUGES("Transponder2"), KEY_GAUGES("Transponder2"), PANEL_STATE_FOUR_DIGITS) \
    K(KEY_PEDESTAL_HANDLES_FLTLOCK_HANDLE_POS, "PEDESTAL HANDLES", "fltlock_handle_pos", "1", 3, KEY_GAUGES("Flight_Controls_Lock"), KEY_GAUGES("Flight_Controls_Lock"), PANEL_STATE_DECIMAL) \
    K(KEY_PEDESTAL_HANDLES_ALTGEAR_HANDLE_POS, "PEDESTAL HANDLES", "altgear_handle_pos", "0", 3, KEY_GAUGES("Alternate_Gear"), KEY_GAUGES("Alternate_Gear"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_SEATBELT_POS, "CABIN", "seatbelt_pos", "0", 3, KEY_GAUGES("External_Lights_and_Cabin"), KEY_GAUGES("External_Lights_and_Cabin"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_NO_SMOKING_POS, "CABIN", "no_smoking_pos", "0", 3, KEY_GAUGES("External_Lights_and_Cabin"), KEY_GAUGES("External_Lights_and_Cabin"), PANEL_STATE_DECIMAL) \
    K(KEY_CABIN_STORM_LIGHTS_POS, "CABIN", "storm_lights_pos", "0", 3, KEY_GAUGES("External_Lights_and_Cabin"), KEY_GAUGES("External_Lights_and_Cabin"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_PITOT_1_POS, "ANTI-ICE", "pitot_1_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_PITOT_2_POS, "ANTI-ICE", "pitot_2_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_PITOT_3_POS, "ANTI-ICE", "pitot_3_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_PITOT_4_POS, "ANTI-ICE", "pitot_4_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_VANE_POS, "ANTI-ICE", "vane_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_HEATER_SWITCH_POS, "ANTI-ICE", "heater_switch_pos", "0", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_MANUAL_HEATER_POS, "ANTI-ICE", "manual_heater_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_WINDOW_HEAT_LEFT_POS, "ANTI-ICE", "window_heat_left_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_ANTI_ICE_WINDOW_HEAT_RIGHT_POS, "ANTI-ICE", "window_heat_right_pos", "1", 6, KEY_GAUGES("Anti-ice"), KEY_GAUGES("Anti-ice"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_STATUS, "APU", "apu_status", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_GEN, "APU", "apu_gen", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_BLEED_AVAIL, "APU", "apu_bleed_avail", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_GENERATOR_AVAIL_STATUS, "APU", "apu_generator_avail_status", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_BLEED_AVAIL_STATUS, "APU", "apu_bleed_avail_status", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_APU_APU_MASTER_SWITCH_STATUS, "APU", "apu_master_switch_status", "0", 6, KEY_GAUGES("APU"), KEY_GAUGES("APU"), PANEL_STATE_DECIMAL) \
    K(KEY_EMER_LIGHT_EMER_SWITCH_POS, "EMER LIGHT", "emer_switch_pos", "0", 6, KEY_GAUGES("Emergency_Lights"), KEY_GAUGES("Emergency_Lights"), PANEL_STATE_DECIMAL) \
    K(KEY_EMER_LIGHT_ELT_LIGHT_POS, "EMER LIGHT", "elt_light_pos", "0", 6, KEY_GAUGES("Emergency_Lights"), KEY_GAUGES("Emergency_Lights"), PANEL_STATE_DECIMAL) \
    K(KEY_EMER_LIGHT_ELT_COVER_POS, "EMER LIGHT", "elt_cover_pos", "0", 6, KEY_GAUGES("Emergency_Lights"), KEY_GAUGES("Emergency_Lights"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_FUELPUMP_LEFT_1_POS, "FUEL", "fuelpump_left_1_pos", "1", 6, KEY_GAUGES("Fuel"), KEY_GAUGES("Fuel"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_FUELPUMP_LEFT_2_POS, "FUEL", "fuelpump_left_2_pos", "1", 6, KEY_GAUGES("Fuel"), KEY_GAUGES("Fuel"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_FUELPUMP_RIGHT_1_POS, "FUEL", "fuelpump_right_1_pos", "1", 6, KEY_GAUGES("Fuel"), KEY_GAUGES("Fuel"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_FUELPUMP_RIGHT_2_POS, "FUEL", "fuelpump_right_2_pos", "1", 6, KEY_GAUGES("Fuel"), KEY_GAUGES("Fuel"), PANEL_STATE_DECIMAL) \
    K(KEY_FUEL_FUEL_XFEED_POS, "FUEL", "fuel_xfeed_pos", "0", 6, KEY_GAUGES("Fuel"), KEY_GAUGES("Fuel"), PANEL_STATE_DECIMAL) \
    K(KEY_STARTER_STARTER_MASTER_START_POS, "STARTER", "starter_master_start_pos", "0", 6, KEY_GAUGES("Starter"), KEY_GAUGES("Starter"), PANEL_STATE_DECIMAL) \
    K(KEY_STARTER_STARTER_IGNITION_LEFT_POS, "STARTER", "starter_ignition_left_pos", "0", 6, KEY_GAUGES("Starter"), KEY_GAUGES("Starter"), PANEL_STATE_DECIMAL) \
    K(KEY_STARTER_STARTER_IGNITION_RIGHT_POS, "STARTER", "starter_ignition_right_pos", "0", 6, KEY_GAUGES("Starter"), KEY_GAUGES("Starter"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_HYD_ELECTRIC_POWER_INIT, "HYDRAULIC", "hyd_electric_power_init", "0", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_ENG_PUMP_LEFT_POS, "HYDRAULIC", "eng_pump_left_pos", "1", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_ENG_PUMP_RIGHT_POS, "HYDRAULIC", "eng_pump_right_pos", "1", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_ELEC_PUMP_POS, "HYDRAULIC", "elec_pump_pos", "0", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_ELEC_PUMP_COVER_POS, "HYDRAULIC", "elec_pump_cover_pos", "0", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_HYDRAULIC_READOUT_SWITCH_POS, "HYDRAULIC", "readout_switch_pos", "1", 6, KEY_GAUGES("Hydraulic"), KEY_GAUGES("Hydraulic"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_EL_PWR_ON_SYSTEM, "EPCP", "el_pwr_on_system", "0", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_BATT_SWITCH, "EPCP", "batt_switch", "0", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_BATT1, "EPCP", "batt1", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_BATT2, "EPCP", "batt2", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_DC_XFEED, "EPCP", "dc_xfeed", "0", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_TRU1, "EPCP", "tru1", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_TRU2, "EPCP", "tru2", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_AC_XFEED, "EPCP", "ac_xfeed", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_GEN1, "EPCP", "gen1", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_GEN2, "EPCP", "gen2", "1", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_EXT_PWR, "EPCP", "ext_pwr", "0", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_EPCP_INDICATOR_SWITCH_POS, "EPCP", "indicator_switch_pos", "0", 6, KEY_GAUGES("Electric"), KEY_GAUGES("Electric"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE1_LOOP1_POS, "ENGINE_FIRE", "engfire1_loop1_pos", "0", 6, KEY_GAUGES("EngineFire1"), KEY_GAUGES("EngineFire1"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE1_LOOP2_POS, "ENGINE_FIRE", "engfire1_loop2_pos", "0", 6, KEY_GAUGES("EngineFire1"), KEY_GAUGES("EngineFire1"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE1_HANDLE_POS, "ENGINE_FIRE", "engfire1_handle_pos", "1", 6, KEY_GAUGES("EngineFire1"), KEY_GAUGES("EngineFire1"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE2_LOOP1_POS, "ENGINE_FIRE", "engfire2_loop1_pos", "0", 6, KEY_GAUGES("EngineFire2"), KEY_GAUGES("EngineFire2"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE2_LOOP2_POS, "ENGINE_FIRE", "engfire2_loop2_pos", "0", 6, KEY_GAUGES("EngineFire2"), KEY_GAUGES("EngineFire2"), PANEL_STATE_DECIMAL) \
    K(KEY_ENGINE_FIRE_ENGFIRE2_HANDLE_POS, "ENGINE_FIRE", "engfire2_handle_pos", "1", 6, KEY_GAUGES("EngineFire2"), KEY_GAUGES("EngineFire2"), PANEL_STATE_DECIMAL) \
    K(KEY_AVIONICS_AVIONICS_SG1_POS, "AVIONICS", "avionics_sg1_pos", "0", 6, KEY_GAUGES("Avionics", "Quillmar_EADI", "Quillmar_EHSI"), KEY_GAUGES("Avionics"), PANEL_STATE_DECIMAL) \
    K(KEY_AVIONICS_AVIONICS_SG2_POS, "AVIONICS", "avionics_sg2_pos", "0", 6, KEY_GAUGES("Avionics"), KEY_GAUGES("Avionics"), PANEL_STATE_DECIMAL) \
    K(KEY_AVIONICS_AVIONICS_DUXFR1_POS, "AVIONICS", "avionics_duxfr1_pos", "0", 6, KEY_GAUGES("Avionics"), KEY_GAUGES("Avionics"), PANEL_STATE_DECIMAL) \
    K(KEY_AVIONICS_AVIONICS_DUXFR2_POS, "AVIONICS", "avionics_duxfr2_pos", "0", 6, KEY_GAUGES("Avionics"), KEY_GAUGES("Avionics"), PANEL_STATE_DECIMAL) \
    K(KEY_PUSHBACK_PB_DISTANCE_VALUE, "PUSHBACK", "pb_distance_value", "40", 6, KEY_GAUGES("Push"), KEY_GAUGES("Push"), PANEL_STATE_DECIMAL)

enum PanelStateKey : uint16_t {
#define PANEL_STATE_KEY_ID(id, ...) id,
    PANEL_STATE_KEYS(PANEL_STATE_KEY_ID)
#undef PANEL_STATE_KEY_ID
    PANEL_STATE_KEY_COUNT
};

constexpr int PANEL_STATE_MAX_READERS = 3;
constexpr int PANEL_STATE_MAX_WRITERS = 2;

struct PanelStateRow {
    const char* section;
    const char* key;
    const char* default_text;
    uint32_t buffer_size;                             // with the terminator
    const char* read_by[PANEL_STATE_MAX_READERS];     // unused entries NULL
    const char* written_by[PANEL_STATE_MAX_WRITERS];  // none: never written
    PanelStateFormat format;
};

extern const PanelStateRow panel_state_rows[PANEL_STATE_KEY_COUNT];

// The key's value by the atoi rule, or its default's.
int panel_state_read_int(PanelStateKey key);
// A temperature key: the stored tenths times 0.1.
double panel_state_read_tenths(PanelStateKey key);
// A value kept digit by digit ("%d%d%d%d"): its first four characters,
// one digit each, most significant first. A character that is not a digit,
// or a text shorter than four, gives 0 in its place, so every digit is 0 to
// 9 whatever the file holds ("955" gives 9 5 5 0, "1x55" gives 1 0 5 5).
void panel_state_read_digits(PanelStateKey key, int digits[4]);

// "%d" of the value; a double is truncated toward zero (beyond the range of
// an int it is held at the nearest end, a NaN is written as 0).
void panel_state_write_int(PanelStateKey key, int value);
void panel_state_write_int(PanelStateKey key, double value);
// "%d%d%d%d": the four digits one after another, most significant first; a
// digit outside 0 to 9 is written as 0.
void panel_state_write_digits(PanelStateKey key, int d1, int d2, int d3, int d4);
void panel_state_write_digits(PanelStateKey key, double d1, double d2, double d3, double d4);
// A temperature: "%d" of the held value times 10 (21.57 is written "215").
void panel_state_write_tenths(PanelStateKey key, double value);
