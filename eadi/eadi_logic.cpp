#include "eadi/eadi_logic.h"

#include <cmath>

#include "frame/channel.h"

static constexpr double DEGREES = 3.14159265358979323846 / 180.0;

EadiGeometry eadi_geometry(int32_t width, int32_t height) {
    EadiGeometry g{};
    g.width = width;
    g.height = height;
    g.sx = g.width / EADI_GRID_WIDTH;
    g.sy = g.height / EADI_GRID_HEIGHT;
    g.cx = 107.0 * g.sx;
    g.cy = 86.5 * g.sy;
    return g;
}

DrawPoint eadi_point(const EadiGeometry& g, double x, double y) {
    return DrawPoint{int32_t(x * g.sx), int32_t(y * g.sy)};
}

EadiAttitude eadi_attitude(const EadiGeometry& g, double pitch_degrees, double bank_degrees) {
    double bank = bank_degrees * DEGREES;
    // The pitch offset is 3 units a degree scaled by sy, and the turned point
    // is scaled by sy once more: the sphere moves 3 x sy x sy pixels a degree.
    // At 171 x 138, the size the display is made for, that makes the ladder
    // read true: the line 24 units up, labelled 10, reaches the aircraft
    // symbol at 8 / sy = 10.03 degrees.
    return EadiAttitude{std::cos(bank), std::sin(bank), EADI_PITCH_SCALE * pitch_degrees * g.sy, &g};
}

DrawPoint eadi_sphere_point(const EadiAttitude& a, double x, double y) {
    y -= a.pitch_offset;
    double turned_x = x * a.cos_bank - y * a.sin_bank;
    double turned_y = x * a.sin_bank + y * a.cos_bank;
    return DrawPoint{int32_t(turned_x * a.g->sx + a.g->cx), int32_t(turned_y * a.g->sy + a.g->cy)};
}

double eadi_roll_pointer_angle(double bank) {
    if (bank > -60.0 && bank < 60.0) return bank;
    if (bank >= 60.0 && bank < 180.0) return 60.0;
    return -60.0;
}

int32_t eadi_ladder_escapement(double bank) {
    int32_t escapement = int32_t(-10.0 * bank);
    return escapement == 0 ? 1 : escapement;
}

double eadi_lateral_deviation(bool glideslope_signal, double localizer, double alternative) {
    if (glideslope_signal) return localizer / 4.0;
    if (alternative > 500.0) alternative = 500.0;
    if (alternative < -500.0) alternative = -500.0;
    return alternative / 12.0;
}

double eadi_radio_altitude(double altitude_metres, double ground_elevation) {
    return altitude_metres * 3.280833 - ground_elevation * 0.0128157;
}

double eadi_radio_altitude_rounded(double feet) {
    if (feet > 2500.0) feet = 2500.0;
    if (feet < 20.0) feet = 20.0;
    int step = feet >= 200.0 ? 10 : 5;
    return feet - double(int32_t(feet) % step);
}

bool eadi_decision_height_alert(double radio_altitude, double decision_height) {
    if (decision_height <= 10.0) return false;
    double shown = radio_altitude < EADI_RA_SHOWN_BELOW ? eadi_radio_altitude_rounded(radio_altitude)
                                                         : radio_altitude;
    return shown <= decision_height;
}

EadiModes eadi_modes(int lateral, int vertical) {
    EadiModes m{};
    // The armed or active lateral mode after heading: localizer capture
    // (signalled by the glideslope bit), NAV, back course, VOR approach.
    struct Choice {
        bool on;
        const char* text;
        int index;
    };
    const Choice lateral_choices[] = {{(vertical & VERTICAL_GS) != 0, "LOC", 2},
                                      {(lateral & LATERAL_NAV) != 0, "NAV", 3},
                                      {(lateral & LATERAL_BC) != 0, "BC", 4},
                                      {(lateral & LATERAL_VAPP) != 0, "V APP", 5}};
    const Choice* first = nullptr;
    for (const Choice& c : lateral_choices)
        if (c.on) {
            first = &c;
            break;
        }
    if (lateral & LATERAL_HDG) {
        m.lateral = "HDG  ";
        m.lateral_index = 1;
        m.lateral_armed = first ? first->text : nullptr;
    } else if (first) {
        m.lateral = first->text;
        m.lateral_index = first->index;
    }

    const Choice vertical_choices[] = {{(vertical & VERTICAL_ASEL) != 0, "ASEL", 1},
                                       {(vertical & VERTICAL_ALT) != 0, "ALT", 2},
                                       {(vertical & VERTICAL_VS) != 0, "VS", 4},
                                       {(vertical & VERTICAL_IAS) != 0, "IAS", 5},
                                       {(vertical & VERTICAL_GS) != 0, "GS", 3}};
    for (const Choice& c : vertical_choices)
        if (c.on) {
            m.vertical = c.text;
            m.vertical_index = c.index;
            break;
        }
    const int others = VERTICAL_ASEL | VERTICAL_ALT | VERTICAL_VS | VERTICAL_IAS;
    m.glideslope_armed = (vertical & VERTICAL_GS) && (vertical & others);
    return m;
}

bool eadi_mode_box_step(EadiModeBox* box, int index, double now) {
    // Only a change to a mode starts the box; a change to no mode is just
    // remembered, so a mode that drops out soon after engaging keeps its box
    // (around the now empty place) for the rest of its time.
    if (index != box->previous_index && index != 0) {
        box->changed_at = now;
        box->shown = true;
    }
    box->previous_index = index;
    if (!box->shown) return false;
    if (box->changed_at + EADI_MODE_BOX_TIME > now) return true;
    box->shown = false;
    return false;
}
