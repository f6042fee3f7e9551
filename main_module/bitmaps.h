// The bitmap numbers of Quillmar: the one table of the module.
//
// Each gauge numbers its own bitmaps from its base below, in the order its
// file lists them. An icon's image n is the bitmap numbered its element's
// number + n, so an icon's images take consecutive numbers; elements that
// show the same picture share a number, and the gauges of one family (the
// instruments of both engines) draw from the first gauge's block.
//
// System_Simulator's one element names bitmap 123. The blocks here are
// spaced wide while the panels are being built; they are packed into the
// module's 100 to 1042 when the artwork is drawn.
#pragma once

#include <cstdint>

constexpr int32_t BITMAP_SYSTEM_SIMULATOR = 123;

enum : int32_t {
    BITMAPS_Airspeed = 1100,
    BITMAPS_Altimeter = 1200,
    BITMAPS_VSI = 1300,
    BITMAPS_RMI = 1400,
    BITMAPS_RMI_Selector = 1500,
    BITMAPS_DME = 1600,
    BITMAPS_Timer = 1700,
    BITMAPS_Brake_Pressure_Alternate = 1800,
    BITMAPS_Brake_Pressure_Normal = 1900,
    BITMAPS_EFIS_Control_Panel = 2000,
    BITMAPS_VHF_NAV_Control_Panel = 2100,
    BITMAPS_Flight_Mode_Panel = 2200,
    BITMAPS_Gear = 2300,
    BITMAPS_GPWS = 2400,
    BITMAPS_GPWS_Light = 2500,
    BITMAPS_Fuel_Quantity = 2600,
    BITMAPS_Flaps = 2700,
    BITMAPS_Torque1 = 2800,
    BITMAPS_Torque2 = 2900,
    BITMAPS_Lo_Pitch1 = 3000,
    BITMAPS_Lo_Pitch2 = 3100,
    BITMAPS_Engine_Rating_Panel = 3200,
    BITMAPS_OAT = 3300,
    BITMAPS_Np1 = 3400,
    BITMAPS_Np2 = 3500,
    BITMAPS_ITT1 = 3600,
    BITMAPS_ITT2 = 3700,
    BITMAPS_Nh1 = 3800,
    BITMAPS_Nh2 = 3900,
    BITMAPS_Nl1 = 4000,
    BITMAPS_Nl2 = 4100,
    BITMAPS_Oil_Pressure1 = 4200,
    BITMAPS_Oil_Pressure2 = 4300,
    BITMAPS_Oil_Temperature1 = 4400,
    BITMAPS_Oil_Temperature2 = 4500,
    BITMAPS_Fuel_Flow = 4600,
    BITMAPS_Standby_Horizon = 4700,
    BITMAPS_Feather = 4800,
    BITMAPS_Autopilot_Control_Panel = 4900,
    BITMAPS_Cockpit_Lights = 5000,
    BITMAPS_Flaps_Lever = 5100,
    BITMAPS_Fuel_Controls = 5200,
    BITMAPS_Trim_Elevator = 5300,
    BITMAPS_Trim_Aileron = 5400,
    BITMAPS_Trim_Rudder = 5500,
    BITMAPS_Throttles = 5600,
    BITMAPS_ADF1 = 5700,
    BITMAPS_ADF2 = 5800,
    BITMAPS_COM1 = 5900,
    BITMAPS_COM2 = 6000,
    BITMAPS_Transponder1 = 6100,
    BITMAPS_Transponder2 = 6200,
    BITMAPS_Flight_Controls_Lock = 6300,
    BITMAPS_Alternate_Gear = 6400,
    BITMAPS_External_Lights_and_Cabin = 6500,
    BITMAPS_Airconditioning = 6600,
    BITMAPS_Anti_ice = 6700,
    BITMAPS_APU = 6800,
    BITMAPS_Cabin_Pressure_1 = 6900,
    BITMAPS_Cabin_Pressure_2 = 7000,
    BITMAPS_Cabin_Pressure_3 = 7100,
    BITMAPS_Emergency_Lights = 7200,
    BITMAPS_Fuel = 7300,
    BITMAPS_Starter = 7400,
    BITMAPS_Hydraulic = 7500,
    BITMAPS_Electric = 7600,
    BITMAPS_PropEC = 7700,
    BITMAPS_EngineFire1 = 7800,
    BITMAPS_EngineFire2 = 7900,
    BITMAPS_Avionics = 8000,
    BITMAPS_Checklist = 8100,
    BITMAPS_Push = 8200,
    BITMAPS_Options = 8300,
    BITMAPS_Panel_Select = 8400,
};
