// The bitmap numbers of Quillmar: the one table of the module.
//
// Each gauge numbers its own bitmaps from its base below, in the order its
// file lists them. An icon's image n is the bitmap numbered its element's
// number + n, so an icon's images take consecutive numbers; elements that
// show the same picture share a number, and the gauges of one family (the
// instruments of both engines, the two radio heads of a kind, the two brake
// pressure dials) draw from the first gauge's block.
//
// The module carries its bitmaps as numbers 100 to 1042. System_Simulator's
// one element names bitmap 123; the pedestal's levers and trims, the lights,
// emergency lights and avionics panels and the alternate gear handle have
// the numbers the simulator's panels know them by; the other blocks follow
// in the gauge table's order in the numbers left free.
#pragma once

#include <cstdint>

constexpr int32_t BITMAP_SYSTEM_SIMULATOR = 123;

// Gauge identifier (as in gauge_list.h) and the first number of its block.
#define QUILLMAR_BITMAP_BLOCKS(B) \
    B(Airspeed, 100)                  \
    B(Altimeter, 107)                 \
    B(VSI, 115)                       \
    B(RMI, 124)                       \
    B(RMI_Selector, 134)              \
    B(DME, 138)                       \
    B(Timer, 139)                     \
    B(Brake_Pressure_Normal, 146)     \
    B(EFIS_Control_Panel, 150)        \
    B(VHF_NAV_Control_Panel, 157)     \
    B(Flight_Mode_Panel, 164)         \
    B(Gear, 193)                      \
    B(GPWS, 200)                      \
    B(GPWS_Light, 204)                \
    B(Fuel_Quantity, 207)             \
    B(Flaps, 211)                     \
    B(Torque1, 215)                   \
    B(Lo_Pitch1, 222)                 \
    B(Engine_Rating_Panel, 223)       \
    B(Np1, 237)                       \
    B(ITT1, 242)                      \
    B(Nh1, 246)                       \
    B(Nl1, 251)                       \
    B(Oil_Pressure1, 255)             \
    B(Oil_Temperature1, 259)          \
    B(Fuel_Flow, 263)                 \
    B(Standby_Horizon, 282)           \
    B(Feather, 287)                   \
    B(Autopilot_Control_Panel, 290)   \
    B(Cockpit_Lights, 267)            \
    B(Flaps_Lever, 270)               \
    B(Fuel_Controls, 272)             \
    B(Trim_Elevator, 274)             \
    B(Trim_Aileron, 1030)             \
    B(Trim_Rudder, 1039)              \
    B(Throttles, 277)                 \
    B(ADF1, 309)                      \
    B(COM1, 329)                      \
    B(Transponder1, 340)              \
    B(Flight_Controls_Lock, 1041)     \
    B(Alternate_Gear, 1042)           \
    B(External_Lights_and_Cabin, 296) \
    B(Airconditioning, 356)           \
    B(Anti_ice, 399)                  \
    B(APU, 413)                       \
    B(Cabin_Pressure_1, 423)          \
    B(Cabin_Pressure_2, 430)          \
    B(Cabin_Pressure_3, 435)          \
    B(Emergency_Lights, 388)          \
    B(Fuel, 441)                      \
    B(Starter, 452)                   \
    B(Hydraulic, 462)                 \
    B(Electric, 473)                  \
    B(PropEC, 507)                    \
    B(EngineFire1, 510)               \
    B(EngineFire2, 516)               \
    B(Avionics, 1034)                 \
    B(Checklist, 520)                 \
    B(Push, 554)                      \
    B(Options, 555)                   \
    B(Panel_Select, 558)

enum : int32_t {
#define BITMAP_BLOCK_BASE(id, base) BITMAPS_##id = base,
    QUILLMAR_BITMAP_BLOCKS(BITMAP_BLOCK_BASE)
#undef BITMAP_BLOCK_BASE
};
