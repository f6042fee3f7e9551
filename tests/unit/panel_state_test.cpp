// The panel state keys and their conversions, on a real .\Gauges\Quillmar.ini
// below a temporary current folder.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "frame/panel_state.h"
#include "main_module/gauge_table.h"
#include "platform/profile.h"

extern LinkageRecord<75> Linkage;

namespace fs = std::filesystem;

namespace {

class PanelState : public ::testing::Test {
protected:
    void SetUp() override {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("quillmar_panel_state_" + std::to_string(stamp));
        fs::create_directories(folder_ / "Gauges");
        before_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(before_);
        fs::remove_all(folder_);
    }

    bool file_exists() { return fs::exists(folder_ / "Gauges" / "Quillmar.ini"); }

    // The stored text of a key, "<none>" when it is not in the file.
    std::string stored(PanelStateKey key) {
        char text[64];
        const PanelStateRow& row = panel_state_rows[key];
        uint32_t n = profile_read(row.section, row.key, "<none>", text, sizeof text, PANEL_STATE_PATH);
        return std::string(text, n);
    }
    void store(PanelStateKey key, const char* text) {
        const PanelStateRow& row = panel_state_rows[key];
        ASSERT_TRUE(profile_write(row.section, row.key, text, PANEL_STATE_PATH));
    }

    fs::path folder_, before_;
};

bool has_writer(const PanelStateRow& row) { return row.written_by[0] != nullptr; }

// Writes a value distinct for every key in the key's own format.
void write_distinct(PanelStateKey key) {
    int v = int(key);
    switch (panel_state_rows[key].format) {
    case PANEL_STATE_DECIMAL: panel_state_write_int(key, 1000 + v); break;
    case PANEL_STATE_FOUR_DIGITS: panel_state_write_digits(key, 1, v / 100 % 10, v / 10 % 10, v % 10); break;
    case PANEL_STATE_TENTHS: panel_state_write_tenths(key, 10.0 + v); break;
    }
}

// ------------------------------------------------------------ the key table

TEST(PanelStateTable, KeyIdsNameTheirSectionAndKey) {
    const char* ids[] = {
#define ID_NAME(id, ...) #id,
        PANEL_STATE_KEYS(ID_NAME)
#undef ID_NAME
    };
    ASSERT_EQ(std::size(ids), size_t(PANEL_STATE_KEY_COUNT));
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k) {
        const PanelStateRow& row = panel_state_rows[k];
        std::string expected = "KEY_";
        for (const char* c = row.section; *c; ++c) expected += (*c == ' ' || *c == '-') ? '_' : *c;
        expected += '_';
        for (const char* c = row.key; *c; ++c) expected += char(std::toupper(unsigned(*c)));
        EXPECT_EQ(ids[k], expected);
    }
}

TEST(PanelStateTable, RowsAreUniqueAndTheirDefaultsFitTheirBuffers) {
    std::set<std::string> seen;
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k) {
        const PanelStateRow& row = panel_state_rows[k];
        SCOPED_TRACE(row.key);
        EXPECT_TRUE(seen.insert(std::string(row.section) + "/" + row.key).second);
        EXPECT_LT(std::strlen(row.default_text), row.buffer_size);
        EXPECT_NE(row.read_by[0], nullptr);
        if (row.format == PANEL_STATE_FOUR_DIGITS) {
            EXPECT_EQ(std::strlen(row.default_text), 4u);
        }
    }
}

TEST(PanelStateTable, ReadersAndWritersAreGaugesOfTheModules) {
    std::set<std::string> gauges = {"Quillmar_EADI", "Quillmar_EHSI"};
    for (GaugeHeader* const* g = linkage_gauges(&Linkage.head); *g; ++g) gauges.insert((*g)->name);
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k) {
        const PanelStateRow& row = panel_state_rows[k];
        SCOPED_TRACE(row.key);
        for (const char* name : row.read_by)
            EXPECT_TRUE(!name || gauges.count(name)) << name;
        for (const char* name : row.written_by)
            EXPECT_TRUE(!name || gauges.count(name)) << name;
    }
}

// ------------------------------------------------------------ defaults and first kill

TEST_F(PanelState, NoFileGivesEveryDefaultAndReadingCreatesNothing) {
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k) {
        PanelStateKey key = PanelStateKey(k);
        SCOPED_TRACE(panel_state_rows[k].key);
        int expected = std::atoi(panel_state_rows[k].default_text);
        EXPECT_EQ(panel_state_read_int(key), expected);
        if (panel_state_rows[k].format == PANEL_STATE_TENTHS) {
            EXPECT_DOUBLE_EQ(panel_state_read_tenths(key), expected * 0.1);
        }
    }
    EXPECT_FALSE(file_exists());
}

TEST_F(PanelState, FirstKillCreatesTheFileWithEveryWrittenKey) {
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k)
        if (has_writer(panel_state_rows[k])) write_distinct(PanelStateKey(k));
    ASSERT_TRUE(file_exists());
    for (int k = 0; k < PANEL_STATE_KEY_COUNT; ++k) {
        PanelStateKey key = PanelStateKey(k);
        const PanelStateRow& row = panel_state_rows[k];
        SCOPED_TRACE(row.key);
        if (!has_writer(row)) {
            EXPECT_EQ(stored(key), "<none>");
            EXPECT_EQ(panel_state_read_int(key), std::atoi(row.default_text));
        } else if (row.format == PANEL_STATE_DECIMAL) {
            // Cut to the read buffer as the owning gauge would see it.
            std::string text = std::to_string(1000 + k).substr(0, row.buffer_size - 1);
            EXPECT_EQ(panel_state_read_int(key), std::atoi(text.c_str()));
        } else if (row.format == PANEL_STATE_FOUR_DIGITS) {
            EXPECT_EQ(panel_state_read_int(key), 1000 + k % 1000);
        } else {
            EXPECT_NEAR(panel_state_read_tenths(key), 10.0 + k, 1e-9);
        }
    }
}

// ------------------------------------------------------------ conversions

TEST_F(PanelState, TemperaturesAreKeptInTenthsOfADegree) {
    store(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, "215");
    EXPECT_DOUBLE_EQ(panel_state_read_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN), 21.5);
    panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, 21.57);
    EXPECT_EQ(stored(KEY_AIRCONDITIONING_TEMPERATURE_CABIN), "215");
    panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK, -3.57);
    EXPECT_EQ(stored(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK), "-35");
    EXPECT_DOUBLE_EQ(panel_state_read_tenths(KEY_AIRCONDITIONING_TEMPERATURE_FLIGHT_DECK), -3.5);
    EXPECT_EQ(stored(KEY_AIRCONDITIONING_TEMPERATURE_CABIN), "215");
}

TEST_F(PanelState, TemperatureReadAndWrittenBackDoesNotDrift) {
    // Flight after flight a temperature nobody touched must come back as it
    // was stored, although 0.1 has no exact binary form.
    for (int tenths = -400; tenths <= 600; tenths += 7) {
        std::string text = std::to_string(tenths);
        store(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, text.c_str());
        double held = panel_state_read_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN);
        panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN, held);
        ASSERT_EQ(stored(KEY_AIRCONDITIONING_TEMPERATURE_CABIN), text);
    }
}

TEST_F(PanelState, FrequenciesHeldDigitByDigitAreWrittenAsFourDigits) {
    panel_state_write_digits(KEY_NAV_NAV1_STBY_FREQ, 1, 5, 5, 5);
    panel_state_write_digits(KEY_ADF_ADF1_STBY_FREQ, 3, 3, 6, 0);
    panel_state_write_digits(KEY_TPR_TPR1_NONACTIVE_FREQ, 0, 7, 0, 0);
    panel_state_write_digits(KEY_TPR_TPR2_NONACTIVE_FREQ, 1.0, 2.9, 0.0, 7.99);
    EXPECT_EQ(stored(KEY_NAV_NAV1_STBY_FREQ), "1555");
    EXPECT_EQ(stored(KEY_ADF_ADF1_STBY_FREQ), "3360");
    EXPECT_EQ(stored(KEY_TPR_TPR1_NONACTIVE_FREQ), "0700");
    EXPECT_EQ(stored(KEY_TPR_TPR2_NONACTIVE_FREQ), "1207");
    EXPECT_EQ(panel_state_read_int(KEY_NAV_NAV1_STBY_FREQ), 1555);
    EXPECT_EQ(panel_state_read_int(KEY_TPR_TPR1_NONACTIVE_FREQ), 700);
    // A digit that is none (a transponder code from a host variable holding
    // 0xCB76) is written as 0: the text stays four digits.
    panel_state_write_digits(KEY_TPR_TPR2_NONACTIVE_FREQ, 12, 11, 7, 6);
    EXPECT_EQ(stored(KEY_TPR_TPR2_NONACTIVE_FREQ), "0076");
    panel_state_write_digits(KEY_ADF_ADF1_STBY_FREQ, -1, 3, 10, 0);
    EXPECT_EQ(stored(KEY_ADF_ADF1_STBY_FREQ), "0300");
}

TEST_F(PanelState, FourDigitValuesAreReadBackDigitByDigit) {
    auto digits = [](PanelStateKey key) {
        int d[4] = {-1, -1, -1, -1};
        panel_state_read_digits(key, d);
        return std::to_string(d[0]) + std::to_string(d[1]) + std::to_string(d[2]) + std::to_string(d[3]);
    };
    EXPECT_EQ(digits(KEY_NAV_NAV1_STBY_FREQ), "1555");   // the default
    panel_state_write_digits(KEY_TPR_TPR1_NONACTIVE_FREQ, 0, 7, 0, 0);
    EXPECT_EQ(digits(KEY_TPR_TPR1_NONACTIVE_FREQ), "0700");
    // Every digit stays a digit whatever the file holds.
    store(KEY_NAV_NAV1_STBY_FREQ, "955");
    EXPECT_EQ(digits(KEY_NAV_NAV1_STBY_FREQ), "9550");
    store(KEY_NAV_NAV1_STBY_FREQ, "12345");
    EXPECT_EQ(digits(KEY_NAV_NAV1_STBY_FREQ), "1234");
    store(KEY_NAV_NAV1_STBY_FREQ, "-5");
    EXPECT_EQ(digits(KEY_NAV_NAV1_STBY_FREQ), "0500");
    store(KEY_NAV_NAV1_STBY_FREQ, "1x55");
    EXPECT_EQ(digits(KEY_NAV_NAV1_STBY_FREQ), "1055");
}

TEST_F(PanelState, DoublesAreWrittenTruncatedTowardZero) {
    panel_state_write_int(KEY_EPCP_BATT_SWITCH, 1.0);
    panel_state_write_int(KEY_FUEL_CONTROL_FUEL_CONTROL_LEFT_POS, 79.99);
    panel_state_write_int(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE, -2.9);
    panel_state_write_int(KEY_CABIN_PRESSURE_LANDING_ALTITUDE, -0.5);
    panel_state_write_int(KEY_FLIGHTMODE_AP_ALTITUDE, 6000);
    EXPECT_EQ(stored(KEY_EPCP_BATT_SWITCH), "1");
    EXPECT_EQ(stored(KEY_FUEL_CONTROL_FUEL_CONTROL_LEFT_POS), "79");
    EXPECT_EQ(stored(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE), "-2");
    EXPECT_EQ(stored(KEY_CABIN_PRESSURE_LANDING_ALTITUDE), "0");
    EXPECT_EQ(stored(KEY_FLIGHTMODE_AP_ALTITUDE), "6000");
    EXPECT_EQ(panel_state_read_int(KEY_CABIN_PRESSURE_MAN_RATE_CONTROL_VALUE), -2);
}

TEST_F(PanelState, DoublesBeyondAnIntAreHeldAtItsEnds) {
    panel_state_write_int(KEY_FLIGHTMODE_AP_ALTITUDE, 1e12);
    EXPECT_EQ(stored(KEY_FLIGHTMODE_AP_ALTITUDE), "2147483647");
    panel_state_write_int(KEY_FLIGHTMODE_AP_ALTITUDE, -1e12);
    EXPECT_EQ(stored(KEY_FLIGHTMODE_AP_ALTITUDE), "-2147483648");
    panel_state_write_int(KEY_FLIGHTMODE_AP_ALTITUDE, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(stored(KEY_FLIGHTMODE_AP_ALTITUDE), "0");
    panel_state_write_tenths(KEY_AIRCONDITIONING_TEMPERATURE_CABIN,
                             std::numeric_limits<double>::infinity());
    EXPECT_EQ(stored(KEY_AIRCONDITIONING_TEMPERATURE_CABIN), "2147483647");
}

TEST_F(PanelState, ValuesLongerThanTheReadBufferAreCutBeforeConversion) {
    store(KEY_AIRSPEED_BUG_1, "21500");
    store(KEY_OPTIONS_NO_SPACEBAR_STATUS, "123");
    store(KEY_FLIGHTMODE_AP_ALTITUDE, "123456789");
    store(KEY_EPCP_BATT_SWITCH, "-12345");
    EXPECT_EQ(panel_state_read_int(KEY_AIRSPEED_BUG_1), 2150);
    EXPECT_EQ(panel_state_read_int(KEY_OPTIONS_NO_SPACEBAR_STATUS), 12);
    EXPECT_EQ(panel_state_read_int(KEY_FLIGHTMODE_AP_ALTITUDE), 1234567);
    EXPECT_EQ(panel_state_read_int(KEY_EPCP_BATT_SWITCH), -1234);
}

TEST_F(PanelState, TextIsConvertedByTheAtoiRule) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},   {"-7", -7},     {"+3", 3},     {"12ab", 12}, {"abc", 0},
        {"", 0},      {"\"5\"", 5},   {"\" 9\"", 9}, {"0x1F", 0},  {"- 4", 0},
        {"007", 7},   {"1.9", 1},     {"--1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        store(KEY_PUSHBACK_PB_DISTANCE_VALUE, c.text);
        EXPECT_EQ(panel_state_read_int(KEY_PUSHBACK_PB_DISTANCE_VALUE), c.value);
    }
}

TEST_F(PanelState, WriteReplacesOnlyItsOwnKey) {
    panel_state_write_int(KEY_EPCP_BATT_SWITCH, 1);
    panel_state_write_int(KEY_EPCP_BATT1, 0);
    panel_state_write_int(KEY_AVIONICS_AVIONICS_SG1_POS, 1);
    panel_state_write_int(KEY_EPCP_BATT_SWITCH, 0);
    EXPECT_EQ(panel_state_read_int(KEY_EPCP_BATT_SWITCH), 0);
    EXPECT_EQ(panel_state_read_int(KEY_EPCP_BATT1), 0);
    EXPECT_EQ(panel_state_read_int(KEY_AVIONICS_AVIONICS_SG1_POS), 1);
    EXPECT_EQ(panel_state_read_int(KEY_EPCP_GEN1), 1);   // still the default
}

TEST_F(PanelState, FailedWriteIsIgnored) {
    fs::remove_all(folder_ / "Gauges");
    panel_state_write_int(KEY_EPCP_BATT_SWITCH, 1);
    EXPECT_FALSE(file_exists());
    EXPECT_EQ(panel_state_read_int(KEY_EPCP_BATT_SWITCH), 0);
}

// ------------------------------------------------------------ torn writes
// The Linux writer's replace-by-rename, against writers killed mid-write.
// On Windows the file is written by the system's own profile functions.
#ifndef _WIN32

// All keys of the panel written as the gauges write them at kill, the values
// of one of two sets.
void write_set(int set) {
    for (int key = 0; key < PANEL_STATE_KEY_COUNT; ++key) {
        PanelStateKey k = PanelStateKey(key);
        switch (panel_state_rows[k].format) {
        case PANEL_STATE_DECIMAL: panel_state_write_int(k, set * 1000 + key); break;
        case PANEL_STATE_FOUR_DIGITS: panel_state_write_digits(k, set, key / 100 % 10, key / 10 % 10, key % 10); break;
        case PANEL_STATE_TENTHS: panel_state_write_tenths(k, set * 100 + key); break;
        }
    }
}

TEST_F(PanelState, AWriterKilledAtAnyMomentLeavesEveryKeyWithItsOldOrItsNewValue) {
    // The texts of both sets.
    std::vector<std::string> texts[2];
    for (int set = 0; set < 2; ++set) {
        write_set(set + 1);
        for (int key = 0; key < PANEL_STATE_KEY_COUNT; ++key) texts[set].push_back(stored(PanelStateKey(key)));
    }
    auto started = std::chrono::steady_clock::now();
    write_set(1);
    const auto one_kill = std::chrono::steady_clock::now() - started;

    // A thousand writers (QUILLMAR_TORN_TRIALS: the sanitizer build's test
    // runs fewer), each killed at a random moment within its writing (or a
    // little before or after), each writing the other set.
    const char* trials_text = std::getenv("QUILLMAR_TORN_TRIALS");
    const int trials = trials_text && *trials_text ? std::atoi(trials_text) : 1000;
    std::srand(42);
    int mixed = 0;
    for (int trial = 0; trial < trials; ++trial) {
        int set = (trial + 1) % 2;
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            write_set(set + 1);
            _exit(0);
        }
        auto wait_for = one_kill * (std::rand() % 1200) / 1000;
        std::this_thread::sleep_for(wait_for);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        int old_values = 0, new_values = 0;
        for (int key = 0; key < PANEL_STATE_KEY_COUNT; ++key) {
            std::string now = stored(PanelStateKey(key));
            if (now == texts[set][key]) ++new_values;
            else if (now == texts[1 - set][key]) ++old_values;
            else FAIL() << "trial " << trial << ": [" << panel_state_rows[key].section << "] "
                        << panel_state_rows[key].key << " reads \"" << now << "\"";
        }
        if (old_values && new_values) ++mixed;
    }
    // Most kills land in the middle of the writing.
    EXPECT_GT(mixed, trials * 3 / 10);
}
#endif

}  // namespace
