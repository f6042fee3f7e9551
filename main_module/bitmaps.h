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
    B(DME, 139)                       \
    B(Timer, 141)                     \
    B(Brake_Pressure_Normal, 148)     \
    B(EFIS_Control_Panel, 152)        \
    B(VHF_NAV_Control_Panel, 159)     \
    B(Flight_Mode_Panel, 167)         \
    B(Gear, 196)                      \
    B(GPWS, 204)                      \
    B(GPWS_Light, 208)                \
    B(Fuel_Quantity, 211)             \
    B(Flaps, 215)                     \
    B(Torque1, 219)                   \
    B(Lo_Pitch1, 226)                 \
    B(Engine_Rating_Panel, 227)       \
    B(Np1, 241)                       \
    B(ITT1, 246)                      \
    B(Nh1, 250)                       \
    B(Nl1, 255)                       \
    B(Oil_Pressure1, 259)             \
    B(Oil_Temperature1, 263)          \
    B(Fuel_Flow, 282)                 \
    B(Standby_Horizon, 285)           \
    B(Feather, 290)                   \
    B(Autopilot_Control_Panel, 293)   \
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
    B(Cabin_Pressure_2, 431)          \
    B(Cabin_Pressure_3, 437)          \
    B(Emergency_Lights, 388)          \
    B(Fuel, 444)                      \
    B(Starter, 455)                   \
    B(Hydraulic, 465)                 \
    B(Electric, 476)                  \
    B(PropEC, 510)                    \
    B(EngineFire1, 513)               \
    B(EngineFire2, 519)               \
    B(Avionics, 1034)                 \
    B(Checklist, 523)                 \
    B(Push, 557)                      \
    B(Options, 558)                   \
    B(Panel_Select, 561)

enum : int32_t {
#define BITMAP_BLOCK_BASE(id, base) BITMAPS_##id = base,
    QUILLMAR_BITMAP_BLOCKS(BITMAP_BLOCK_BASE)
#undef BITMAP_BLOCK_BASE
};
