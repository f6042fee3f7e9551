#include "frame/panel_state.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/profile.h"

const PanelStateRow panel_state_rows[PANEL_STATE_KEY_COUNT] = {
#define PANEL_STATE_ROW(id, section, key, default_text, buffer, readers, writers, format) \
    {section, key, default_text, buffer, readers, writers, format},
    PANEL_STATE_KEYS(PANEL_STATE_ROW)
#undef PANEL_STATE_ROW
};

namespace {

// Large enough for every row's read buffer.
constexpr uint32_t READ_BUFFER = 16;
#define PANEL_STATE_FITS(id, section, key, default_text, buffer, ...) \
    static_assert(buffer > 1 && buffer <= READ_BUFFER, #id " read buffer");
PANEL_STATE_KEYS(PANEL_STATE_FITS)
#undef PANEL_STATE_FITS

// Leading white space, an optional sign, the digits up to the first
// non-digit. Held at the ends of the int range instead of overflowing.
int atoi_rule(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*text - '0');
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

int truncate_toward_zero(double value) {
    if (std::isnan(value)) return 0;
    if (value >= double(INT_MAX)) return INT_MAX;
    if (value <= double(INT_MIN)) return INT_MIN;
    return int(value);
}

void write_text(PanelStateKey key, const char* text) {
    const PanelStateRow& row = panel_state_rows[key];
    profile_write(row.section, row.key, text, PANEL_STATE_PATH);
}

}  // namespace

int panel_state_read_int(PanelStateKey key) {
    const PanelStateRow& row = panel_state_rows[key];
    char text[READ_BUFFER];
    profile_read(row.section, row.key, row.default_text, text, row.buffer_size, PANEL_STATE_PATH);
    return atoi_rule(text);
}

double panel_state_read_tenths(PanelStateKey key) { return panel_state_read_int(key) * 0.1; }

void panel_state_read_digits(PanelStateKey key, int digits[4]) {
    const PanelStateRow& row = panel_state_rows[key];
    char text[READ_BUFFER] = {};
    profile_read(row.section, row.key, row.default_text, text, row.buffer_size, PANEL_STATE_PATH);
    bool ended = false;
    for (int i = 0; i < 4; ++i) {
        ended = ended || text[i] == '\0';
        digits[i] = !ended && text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : 0;
    }
}

void panel_state_write_int(PanelStateKey key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    write_text(key, text);
}

void panel_state_write_int(PanelStateKey key, double value) {
    panel_state_write_int(key, truncate_toward_zero(value));
}

// A digit outside 0 to 9 (a code taken from a host variable that held no
// proper code) is written as 0, as the reader takes a character that is not
// a digit: the text stays four digits and reads back digit by digit, instead
// of shifting every digit after it.
static int one_digit(int d) { return d >= 0 && d <= 9 ? d : 0; }

void panel_state_write_digits(PanelStateKey key, int d1, int d2, int d3, int d4) {
    char text[48];
    std::snprintf(text, sizeof text, "%d%d%d%d", one_digit(d1), one_digit(d2), one_digit(d3), one_digit(d4));
    write_text(key, text);
}

void panel_state_write_digits(PanelStateKey key, double d1, double d2, double d3, double d4) {
    panel_state_write_digits(key, truncate_toward_zero(d1), truncate_toward_zero(d2),
                             truncate_toward_zero(d3), truncate_toward_zero(d4));
}

void panel_state_write_tenths(PanelStateKey key, double value) {
    panel_state_write_int(key, truncate_toward_zero(value * 10));
}
