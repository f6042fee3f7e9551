// The panel state keys of System_Simulator. It reads the selections of the
// air-conditioning, pressurization, options and fuel control gauges that its
// systems act on, and keeps the two temperatures and the manual
// pressurization between flights.
#include "frame/panel_state.h"
#include "main_module/simulator/simulator_keys.h"
#include "main_module/state.h"

void simulator_read_keys() {
    PanelInputs& in = quillmar.panels;
    SystemOutputs& sys = quillmar.systems;
    sys.temperature_cabin = panel_state_read_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN);
    sys.temperature_flight_deck =
        panel_state_read_tenths(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK);
    in.flight_deck_temp_pos = panel_state_read_int(KEY_AIRCONDITIONING_FLIGHT_DECK_TEMP_POS);
    in.cabin_temp_pos = panel_state_read_int(KEY_AIRCONDITIONING_CABIN_TEMP_POS);
    in.flight_deck_heater_pos = panel_state_read_int(KEY_AIRCONDITIONING_FLIGHT_DECK_HEATER_POS);
    in.cabin_temp_aut_pos = panel_state_read_int(KEY_AIRCONDITIONING_CABIN_TEMP_AUT_POS);
    in.manual_control_status = panel_state_read_int(KEY_CABIN_PRESSURE_MANUAL_CONTROL_STATUS);
    in.man_rate_control_value = panel_state_read_int(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE);
    in.no_spacebar_status = panel_state_read_int(KEY_OPTIONS_NO_SPACEBAR_STATUS);
    in.fuel_control_left_pos = panel_state_read_int(KEY_FUEL_CONTROL_FUEL_CONTROL_LEFT_POS);
    in.fuel_control_right_pos = panel_state_read_int(KEY_FUEL_CONTROL_FUEL_CONTROL_RIGHT_POS);
}

void simulator_write_keys() {
    const PanelInputs& in = quillmar.panels;
    const SystemOutputs& sys = quillmar.systems;
    panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, sys.temperature_cabin);
    panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK,
                             sys.temperature_flight_deck);
    panel_state_write_int(KEY_CABIN_PRESSURE_MANUAL_CONTROL_STATUS, in.manual_control_status);
    panel_state_write_int(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE, in.man_rate_control_value);
}
