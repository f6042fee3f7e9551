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

// Gauge identifier (as in gauge_list.h) and the first number of its block.
#define QUILLMAR_BITMAP_BLOCKS(B) \
    B(Airspeed, 1100)                  \
    B(Altimeter, 1200)                 \
    B(VSI, 1300)                       \
    B(RMI, 1400)                       \
    B(RMI_Selector, 1500)              \
    B(DME, 1600)                       \
    B(Timer, 1700)                     \
    B(Brake_Pressure_Alternate, 1800)  \
    B(Brake_Pressure_Normal, 1900)     \
    B(EFIS_Control_Panel, 2000)        \
    B(VHF_NAV_Control_Panel, 2100)     \
    B(Flight_Mode_Panel, 2200)         \
    B(Gear, 2300)                      \
    B(GPWS, 2400)                      \
    B(GPWS_Light, 2500)                \
    B(Fuel_Quantity, 2600)             \
    B(Flaps, 2700)                     \
    B(Torque1, 2800)                   \
    B(Torque2, 2900)                   \
    B(Lo_Pitch1, 3000)                 \
    B(Lo_Pitch2, 3100)                 \
    B(Engine_Rating_Panel, 3200)       \
    B(OAT, 3300)                       \
    B(Np1, 3400)                       \
    B(Np2, 3500)                       \
    B(ITT1, 3600)                      \
    B(ITT2, 3700)                      \
    B(Nh1, 3800)                       \
    B(Nh2, 3900)                       \
    B(Nl1, 4000)                       \
    B(Nl2, 4100)                       \
    B(Oil_Pressure1, 4200)             \
    B(Oil_Pressure2, 4300)             \
    B(Oil_Temperature1, 4400)          \
    B(Oil_Temperature2, 4500)          \
    B(Fuel_Flow, 4600)                 \
    B(Standby_Horizon, 4700)           \
    B(Feather, 4800)                   \
    B(Autopilot_Control_Panel, 4900)   \
    B(Cockpit_Lights, 5000)            \
    B(Flaps_Lever, 5100)               \
    B(Fuel_Controls, 5200)             \
    B(Trim_Elevator, 5300)             \
    B(Trim_Aileron, 5400)              \
    B(Trim_Rudder, 5500)               \
    B(Throttles, 5600)                 \
    B(ADF1, 5700)                      \
    B(ADF2, 5800)                      \
    B(COM1, 5900)                      \
    B(COM2, 6000)                      \
    B(Transponder1, 6100)              \
    B(Transponder2, 6200)              \
    B(Flight_Controls_Lock, 6300)      \
    B(Alternate_Gear, 6400)            \
    B(External_Lights_and_Cabin, 6500) \
    B(Airconditioning, 6600)           \
    B(Anti_ice, 6700)                  \
    B(APU, 6800)                       \
    B(Cabin_Pressure_1, 6900)          \
    B(Cabin_Pressure_2, 7000)          \
    B(Cabin_Pressure_3, 7100)          \
    B(Emergency_Lights, 7200)          \
    B(Fuel, 7300)                      \
    B(Starter, 7400)                   \
    B(Hydraulic, 7500)                 \
    B(Electric, 7600)                  \
    B(PropEC, 7700)                    \
    B(EngineFire1, 7800)               \
    B(EngineFire2, 7900)               \
    B(Avionics, 8000)                  \
    B(Checklist, 8100)                 \
    B(Push, 8200)                      \
    B(Options, 8300)                   \
    B(Panel_Select, 8400)

enum : int32_t {
#define BITMAP_BLOCK_BASE(id, base) BITMAPS_##id = base,
    QUILLMAR_BITMAP_BLOCKS(BITMAP_BLOCK_BASE)
#undef BITMAP_BLOCK_BASE
};
