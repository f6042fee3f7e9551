// Every sound of the sound bank in load order: slot id, sound name (the
// file is Sound\kT93_<name>.wav) and buffer length in tenths of a second.
// Radio_Noise fills two slots from one file.
#pragma once

#define QUILLMAR_SOUNDS(X) \
    /* Switch clicks of the panel gauges (played at -1000). */ \
    X(SOUND_SWITCH_FLIP, "Switch_Flip", 1) \
    X(SOUND_SWITCH_PUSH, "Switch_Push", 1) \
    X(SOUND_SWITCH_TURN, "Switch_Turn", 1) \
    /* Checklist Prestart: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_PRESTART_01, "Checklist_Prestart_01", 12) \
    X(SOUND_CHECKLIST_PRESTART_02, "Checklist_Prestart_02", 10) \
    X(SOUND_CHECKLIST_PRESTART_03, "Checklist_Prestart_03", 10) \
    X(SOUND_CHECKLIST_PRESTART_04, "Checklist_Prestart_04", 12) \
    X(SOUND_CHECKLIST_PRESTART_05, "Checklist_Prestart_05", 10) \
    X(SOUND_CHECKLIST_PRESTART_06, "Checklist_Prestart_06", 16) \
    X(SOUND_CHECKLIST_PRESTART_07, "Checklist_Prestart_07", 14) \
    X(SOUND_CHECKLIST_PRESTART_08, "Checklist_Prestart_08", 7) \
    X(SOUND_CHECKLIST_PRESTART_09, "Checklist_Prestart_09", 11) \
    X(SOUND_CHECKLIST_PRESTART_10, "Checklist_Prestart_10", 11) \
    X(SOUND_CHECKLIST_PRESTART_11, "Checklist_Prestart_11", 16) \
    X(SOUND_CHECKLIST_PRESTART_12, "Checklist_Prestart_12", 8) \
    X(SOUND_CHECKLIST_PRESTART_13, "Checklist_Prestart_13", 14) \
    X(SOUND_CHECKLIST_PRESTART_14, "Checklist_Prestart_14", 13) \
    X(SOUND_CHECKLIST_PRESTART_15, "Checklist_Prestart_15", 14) \
    X(SOUND_CHECKLIST_PRESTART_16, "Checklist_Prestart_16", 6) \
    X(SOUND_CHECKLIST_PRESTART_17, "Checklist_Prestart_17", 8) \
    X(SOUND_CHECKLIST_PRESTART_18, "Checklist_Prestart_18", 11) \
    X(SOUND_CHECKLIST_PRESTART_19, "Checklist_Prestart_19", 9) \
    X(SOUND_CHECKLIST_PRESTART_20, "Checklist_Prestart_20", 11) \
    X(SOUND_CHECKLIST_PRESTART_21, "Checklist_Prestart_21", 15) \
    X(SOUND_CHECKLIST_PRESTART_22, "Checklist_Prestart_22", 12) \
    X(SOUND_CHECKLIST_PRESTART_23, "Checklist_Prestart_23", 8) \
    X(SOUND_CHECKLIST_PRESTART_24, "Checklist_Prestart_24", 7) \
    X(SOUND_CHECKLIST_PRESTART_25, "Checklist_Prestart_25", 8) \
    /* Checklist Crew Stations: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_CREW_STATIONS_01, "Checklist_Crew_Stations_01", 17) \
    X(SOUND_CHECKLIST_CREW_STATIONS_02, "Checklist_Crew_Stations_02", 15) \
    X(SOUND_CHECKLIST_CREW_STATIONS_03, "Checklist_Crew_Stations_03", 17) \
    X(SOUND_CHECKLIST_CREW_STATIONS_04, "Checklist_Crew_Stations_04", 10) \
    X(SOUND_CHECKLIST_CREW_STATIONS_05, "Checklist_Crew_Stations_05", 9) \
    X(SOUND_CHECKLIST_CREW_STATIONS_06, "Checklist_Crew_Stations_06", 28) \
    X(SOUND_CHECKLIST_CREW_STATIONS_07, "Checklist_Crew_Stations_07", 9) \
    X(SOUND_CHECKLIST_CREW_STATIONS_08, "Checklist_Crew_Stations_08", 20) \
    X(SOUND_CHECKLIST_CREW_STATIONS_09, "Checklist_Crew_Stations_09", 10) \
    X(SOUND_CHECKLIST_CREW_STATIONS_10, "Checklist_Crew_Stations_10", 10) \
    X(SOUND_CHECKLIST_CREW_STATIONS_11, "Checklist_Crew_Stations_11", 9) \
    X(SOUND_CHECKLIST_CREW_STATIONS_12, "Checklist_Crew_Stations_12", 9) \
    /* Checklist Push and Tow: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_PUSH_AND_TOW_01, "Checklist_Push_and_Tow_01", 18) \
    X(SOUND_CHECKLIST_PUSH_AND_TOW_02, "Checklist_Push_and_Tow_02", 8) \
    X(SOUND_CHECKLIST_PUSH_AND_TOW_03, "Checklist_Push_and_Tow_03", 12) \
    X(SOUND_CHECKLIST_PUSH_AND_TOW_04, "Checklist_Push_and_Tow_04", 9) \
    /* Checklist After Start: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_AFTER_START_01, "Checklist_After_Start_01", 13) \
    X(SOUND_CHECKLIST_AFTER_START_02, "Checklist_After_Start_02", 11) \
    X(SOUND_CHECKLIST_AFTER_START_03, "Checklist_After_Start_03", 11) \
    X(SOUND_CHECKLIST_AFTER_START_04, "Checklist_After_Start_04", 9) \
    X(SOUND_CHECKLIST_AFTER_START_05, "Checklist_After_Start_05", 6) \
    X(SOUND_CHECKLIST_AFTER_START_06, "Checklist_After_Start_06", 9) \
    X(SOUND_CHECKLIST_AFTER_START_07, "Checklist_After_Start_07", 12) \
    X(SOUND_CHECKLIST_AFTER_START_08, "Checklist_After_Start_08", 13) \
    X(SOUND_CHECKLIST_AFTER_START_09, "Checklist_After_Start_09", 6) \
    X(SOUND_CHECKLIST_AFTER_START_10, "Checklist_After_Start_10", 10) \
    X(SOUND_CHECKLIST_AFTER_START_11, "Checklist_After_Start_11", 10) \
    /* Checklist Taxi: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_TAXI_01, "Checklist_Taxi_01", 9) \
    X(SOUND_CHECKLIST_TAXI_02, "Checklist_Taxi_02", 8) \
    X(SOUND_CHECKLIST_TAXI_03, "Checklist_Taxi_03", 14) \
    X(SOUND_CHECKLIST_TAXI_04, "Checklist_Taxi_04", 11) \
    X(SOUND_CHECKLIST_TAXI_05, "Checklist_Taxi_05", 16) \
    X(SOUND_CHECKLIST_TAXI_06, "Checklist_Taxi_06", 4) \
    X(SOUND_CHECKLIST_TAXI_07, "Checklist_Taxi_07", 7) \
    X(SOUND_CHECKLIST_TAXI_08, "Checklist_Taxi_08", 14) \
    X(SOUND_CHECKLIST_TAXI_09, "Checklist_Taxi_09", 10) \
    X(SOUND_CHECKLIST_TAXI_10, "Checklist_Taxi_10", 10) \
    X(SOUND_CHECKLIST_TAXI_11, "Checklist_Taxi_11", 9) \
    X(SOUND_CHECKLIST_TAXI_12, "Checklist_Taxi_12", 9) \
    /* Checklist Climb: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_CLIMB_01, "Checklist_Climb_01", 9) \
    X(SOUND_CHECKLIST_CLIMB_02, "Checklist_Climb_02", 13) \
    X(SOUND_CHECKLIST_CLIMB_03, "Checklist_Climb_03", 13) \
    X(SOUND_CHECKLIST_CLIMB_04, "Checklist_Climb_04", 10) \
    X(SOUND_CHECKLIST_CLIMB_05, "Checklist_Climb_05", 10) \
    /* Checklist Descent: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_DESCENT_01, "Checklist_Descent_01", 14) \
    X(SOUND_CHECKLIST_DESCENT_02, "Checklist_Descent_02", 8) \
    X(SOUND_CHECKLIST_DESCENT_03, "Checklist_Descent_03", 10) \
    X(SOUND_CHECKLIST_DESCENT_04, "Checklist_Descent_04", 9) \
    X(SOUND_CHECKLIST_DESCENT_05, "Checklist_Descent_05", 12) \
    X(SOUND_CHECKLIST_DESCENT_06, "Checklist_Descent_06", 9) \
    X(SOUND_CHECKLIST_DESCENT_07, "Checklist_Descent_07", 11) \
    /* Checklist Approach: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_APPROACH_01, "Checklist_Approach_01", 12) \
    X(SOUND_CHECKLIST_APPROACH_02, "Checklist_Approach_02", 20) \
    X(SOUND_CHECKLIST_APPROACH_03, "Checklist_Approach_03", 10) \
    X(SOUND_CHECKLIST_APPROACH_04, "Checklist_Approach_04", 11) \
    X(SOUND_CHECKLIST_APPROACH_05, "Checklist_Approach_05", 20) \
    X(SOUND_CHECKLIST_APPROACH_06, "Checklist_Approach_06", 9) \
    X(SOUND_CHECKLIST_APPROACH_07, "Checklist_Approach_07", 8) \
    X(SOUND_CHECKLIST_APPROACH_08, "Checklist_Approach_08", 16) \
    X(SOUND_CHECKLIST_APPROACH_09, "Checklist_Approach_09", 8) \
    X(SOUND_CHECKLIST_APPROACH_10, "Checklist_Approach_10", 11) \
    X(SOUND_CHECKLIST_APPROACH_11, "Checklist_Approach_11", 5) \
    X(SOUND_CHECKLIST_APPROACH_12, "Checklist_Approach_12", 10) \
    /* Checklist After Landing: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_AFTER_LANDING_01, "Checklist_After_Landing_01", 15) \
    X(SOUND_CHECKLIST_AFTER_LANDING_02, "Checklist_After_Landing_02", 10) \
    X(SOUND_CHECKLIST_AFTER_LANDING_03, "Checklist_After_Landing_03", 11) \
    X(SOUND_CHECKLIST_AFTER_LANDING_04, "Checklist_After_Landing_04", 16) \
    X(SOUND_CHECKLIST_AFTER_LANDING_05, "Checklist_After_Landing_05", 8) \
    X(SOUND_CHECKLIST_AFTER_LANDING_06, "Checklist_After_Landing_06", 8) \
    X(SOUND_CHECKLIST_AFTER_LANDING_07, "Checklist_After_Landing_07", 11) \
    X(SOUND_CHECKLIST_AFTER_LANDING_08, "Checklist_After_Landing_08", 13) \
    X(SOUND_CHECKLIST_AFTER_LANDING_09, "Checklist_After_Landing_09", 9) \
    /* Checklist Parking: its title, its items, its completion. */ \
    X(SOUND_CHECKLIST_PARKING_01, "Checklist_Parking_01", 14) \
    X(SOUND_CHECKLIST_PARKING_02, "Checklist_Parking_02", 11) \
    X(SOUND_CHECKLIST_PARKING_03, "Checklist_Parking_03", 11) \
    X(SOUND_CHECKLIST_PARKING_04, "Checklist_Parking_04", 10) \
    X(SOUND_CHECKLIST_PARKING_05, "Checklist_Parking_05", 11) \
    X(SOUND_CHECKLIST_PARKING_06, "Checklist_Parking_06", 11) \
    X(SOUND_CHECKLIST_PARKING_07, "Checklist_Parking_07", 9) \
    X(SOUND_CHECKLIST_PARKING_08, "Checklist_Parking_08", 8) \
    X(SOUND_CHECKLIST_PARKING_09, "Checklist_Parking_09", 9) \
    X(SOUND_CHECKLIST_PARKING_10, "Checklist_Parking_10", 16) \
    X(SOUND_CHECKLIST_PARKING_11, "Checklist_Parking_11", 16) \
    X(SOUND_CHECKLIST_PARKING_12, "Checklist_Parking_12", 11) \
    X(SOUND_CHECKLIST_PARKING_13, "Checklist_Parking_13", 9) \
    X(SOUND_CHECKLIST_PARKING_14, "Checklist_Parking_14", 7) \
    X(SOUND_CHECKLIST_PARKING_15, "Checklist_Parking_15", 9) \
    X(SOUND_CHECKLIST_PARKING_16, "Checklist_Parking_16", 12) \
    X(SOUND_CHECKLIST_PARKING_17, "Checklist_Parking_17", 13) \
    X(SOUND_CHECKLIST_PARKING_18, "Checklist_Parking_18", 11) \
    /* Ventilation: loop, off, on. */ \
    X(SOUND_OVERHEAD_VENTILATION, "Overhead_Ventilation", 54) \
    X(SOUND_OVERHEAD_VENTILATION_OFF, "Overhead_Ventilation_Off", 26) \
    X(SOUND_OVERHEAD_VENTILATION_ON, "Overhead_Ventilation_On", 25) \
    /* Ground crew messages. */ \
    X(SOUND_GROUND_01, "Ground_01", 11) \
    X(SOUND_GROUND_02, "Ground_02", 10) \
    X(SOUND_GROUND_03, "Ground_03", 13) \
    X(SOUND_GROUND_04, "Ground_04", 28) \
    X(SOUND_GROUND_05, "Ground_05", 11) \
    X(SOUND_GROUND_06, "Ground_06", 20) \
    X(SOUND_GROUND_07, "Ground_07", 28) \
    X(SOUND_GROUND_08, "Ground_08", 46) \
    X(SOUND_GROUND_09, "Ground_09", 18) \
    X(SOUND_GROUND_10, "Ground_10", 47) \
    X(SOUND_GROUND_11, "Ground_11", 15) \
    X(SOUND_GROUND_12, "Ground_12", 30) \
    /* Flap motor runs. */ \
    X(SOUND_FLAPS_1, "Flaps_1", 13) \
    X(SOUND_FLAPS_2, "Flaps_2", 14) \
    X(SOUND_FLAPS_3, "Flaps_3", 11) \
    X(SOUND_FLAPS_4, "Flaps_4", 13) \
    X(SOUND_FLAPS_5, "Flaps_5", 13) \
    X(SOUND_FLAPS_6, "Flaps_6", 14) \
    X(SOUND_FLAPS_7, "Flaps_7", 13) \
    /* Crew calls. */ \
    X(SOUND_ENGINE_START_CALLOUT_1, "Engine_Start_Callout_1", 20) \
    X(SOUND_ENGINE_START_CALLOUT_2, "Engine_Start_Callout_2", 22) \
    X(SOUND_ENGINE_START_CALLOUT_3, "Engine_Start_Callout_3", 26) \
    X(SOUND_ENGINE_START_CALLOUT_4, "Engine_Start_Callout_4", 26) \
    X(SOUND_TAKEOFF_1, "Takeoff_1", 17) \
    X(SOUND_TAKEOFF_2, "Takeoff_2", 8) \
    X(SOUND_TAKEOFF_3, "Takeoff_3", 14) \
    X(SOUND_TAKEOFF_4, "Takeoff_4", 20) \
    X(SOUND_TAKEOFF_5, "Takeoff_5", 17) \
    X(SOUND_FEET_01, "Feet_01", 12) \
    X(SOUND_FEET_02, "Feet_02", 14) \
    X(SOUND_FEET_03, "Feet_03", 14) \
    X(SOUND_FEET_04, "Feet_04", 13) \
    X(SOUND_FEET_05, "Feet_05", 14) \
    X(SOUND_FEET_06, "Feet_06", 5) \
    X(SOUND_FEET_07, "Feet_07", 4) \
    X(SOUND_FEET_08, "Feet_08", 4) \
    X(SOUND_FEET_09, "Feet_09", 4) \
    X(SOUND_FEET_10, "Feet_10", 3) \
    X(SOUND_FO_GEAR_DOWN, "FO_Gear_Down", 20) \
    X(SOUND_FO_MINIMUMS, "FO_Minimums", 15) \
    /* APU: loop, spool-down, start. */ \
    X(SOUND_APU_1, "APU_1", 18) \
    X(SOUND_APU_2, "APU_2", 54) \
    X(SOUND_APU_3, "APU_3", 54) \
    /* Electrical hum: loop, off, on. */ \
    X(SOUND_SYSTEM_1, "System_1", 20) \
    X(SOUND_SYSTEM_2, "System_2", 10) \
    X(SOUND_SYSTEM_3, "System_3", 10) \
    /* Ground proximity warning voices. */ \
    X(SOUND_GPWS_MODE_11, "GPWS_Mode_11", 25) \
    X(SOUND_GPWS_MODE_12, "GPWS_Mode_12", 25) \
    X(SOUND_GPWS_MODE_13, "GPWS_Mode_13", 25) \
    X(SOUND_GPWS_MODE_14, "GPWS_Mode_14", 25) \
    X(SOUND_GPWS_MODE_21, "GPWS_Mode_21", 21) \
    X(SOUND_GPWS_MODE_22, "GPWS_Mode_22", 21) \
    X(SOUND_GPWS_MODE_23, "GPWS_Mode_23", 21) \
    X(SOUND_GPWS_MODE_24, "GPWS_Mode_24", 21) \
    X(SOUND_GPWS_MODE_30, "GPWS_Mode_30", 22) \
    X(SOUND_GPWS_MODE_41, "GPWS_Mode_41", 31) \
    X(SOUND_GPWS_MODE_42, "GPWS_Mode_42", 26) \
    X(SOUND_GPWS_MODE_43, "GPWS_Mode_43", 29) \
    X(SOUND_GPWS_MODE_51, "GPWS_Mode_51", 24) \
    X(SOUND_GPWS_MODE_60, "GPWS_Mode_60", 23) \
    /* Radio noise (two buffers of one file) and the cabin sign chime. */ \
    X(SOUND_RADIO_NOISE_1, "Radio_Noise", 11) \
    X(SOUND_RADIO_NOISE_2, "Radio_Noise", 11) \
    X(SOUND_SIGN, "Sign", 8)
