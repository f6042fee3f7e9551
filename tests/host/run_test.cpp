// Whole runs of scenario scripts against the built modules: exit codes,
// expectation windows, the panel state file, determinism and isolation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "host/os.h"
#include "host/script.h"

namespace fs = std::filesystem;

namespace {

RunResult run(const std::string& text, const std::string& out = "") {
    Script script;
    std::string error;
    EXPECT_TRUE(parse_script(text, "t.flight", HOST_TEST_DATA, &script, &error)) << error;
    RunOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    options.out_dir = out.empty() ? fs::temp_directory_path().string() : out;
    options.quiet = true;
    return run_script(script, options);
}

std::string all(const RunResult& r) {
    std::string s;
    for (const std::string& m : r.messages) s += m + "\n";
    return s;
}

}  // namespace

TEST(Runs, ExitCodesForHeldFailedAndBrokenScripts) {
    RunResult good = run("expect var on_ground == 1\nrun 1\nexpect var tick == 18\nexpect var sim_time == 1\n");
    EXPECT_EQ(good.exit_code, 0) << all(good);
    EXPECT_EQ(good.frames, 18);

    RunResult failed = run("run 1\nexpect var tick == 17\nexpect var on_ground == 0\nrun 1\n");
    EXPECT_EQ(failed.exit_code, 1);
    ASSERT_EQ(failed.messages.size(), 2u) << all(failed);
    EXPECT_EQ(failed.messages[0], "t.flight:2: expect var tick == 17: saw 18");
    EXPECT_EQ(failed.frames, 36);   // the run goes on after a failure

    RunResult broken = run("run 1\nclick NoSuchGauge 1 1\nrun 5\n");
    EXPECT_EQ(broken.exit_code, 2);
    EXPECT_NE(all(broken).find("t.flight:2: unknown gauge 'NoSuchGauge'"), std::string::npos);
    EXPECT_EQ(broken.frames, 18);   // stops at the error

    RunResult missing = run("ini no_such_file.ini\nrun 1\n");
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_NE(all(missing).find("t.flight:1: no panel state file"), std::string::npos);

    RunResult no_panel = run("panel no_such.cfg\nrun 1\n");
    EXPECT_EQ(no_panel.exit_code, 2);
    EXPECT_NE(all(no_panel).find("cannot read the panel file"), std::string::npos);
}

TEST(Runs, ExpectationsSeeOnlyTheLatestActionsWindow) {
    RunResult r = run(
        "send 0x1034B\n"
        "expect event 0x1034B\n"
        "expect event 0x1034B 0\n"
        "expect events 0x1034B 1\n"
        "expect no event 0x102BF\n"
        "frames 1\n"
        "expect no event 0x1034B\n"            // a new window
        "send 0x1034B 5\n"
        "expect event 0x1034B 0\n");           // line 9 fails: sent with 5
    EXPECT_EQ(r.exit_code, 1);
    ASSERT_EQ(r.messages.size(), 1u) << all(r);
    EXPECT_EQ(r.messages[0], "t.flight:9: expect event 0x1034B 0: sent with 5");
}

TEST(Runs, RampsMoveVariablesWhileLaterCommandsRun) {
    RunResult r = run(
        "ramp airspeed 100 2\n"
        "run 1\nexpect var airspeed == 50\n"
        "set altitude 500\nrun 1\nexpect var airspeed == 100\nexpect var altitude == 500\n"
        "ramp airspeed 0 1\nset airspeed 20\nrun 1\nexpect var airspeed == 20\n");   // set ends a ramp
    EXPECT_EQ(r.exit_code, 0) << all(r);
}

TEST(Runs, PanelStateFileIsCopiedWrittenAtKillAndReadAfterReload) {
    RunResult r = run(
        "ini warm_cabin.ini\n"
        "run 1\n"
        "kill\n"
        "expect ini \"AIRCONDITIONING\" temperature_cabin \"215\"\n"
        "expect ini \"airconditioning\" TEMPERATURE_FLIGHT_DECK \"150\"\n"   // any case
        "click Gear 1 1\n");                                                   // panel is down
    EXPECT_EQ(r.exit_code, 2) << all(r);
    EXPECT_NE(all(r).find("t.flight:6: the panel is not loaded"), std::string::npos);
    EXPECT_NE(r.trace.find("panel kill"), std::string::npos);
    EXPECT_EQ(r.trace.find("ini [AIRCONDITIONING] temperature_cabin"), std::string::npos);   // unchanged: not written anew

    RunResult fresh = run("run 1\nreload\nexpect ini \"AIRCONDITIONING\" temperature_cabin \"150\"\n"
                          "expect channel kt93_Avionics \"0\"\nrun 1\nexpect var tick == 36\n");
    EXPECT_EQ(fresh.exit_code, 0) << all(fresh);
    EXPECT_NE(fresh.trace.find("ini [AIRCONDITIONING] temperature_cabin=\"150\""), std::string::npos);
}

TEST(Runs, SameScriptSameTraceAndNoFolderNames) {
#if !defined(_WIN32)
    // Objects a killed process of an earlier run left behind may carry this
    // process's number again: only objects that appear during the runs count.
    std::set<std::string> before;
    for (const auto& e : fs::directory_iterator("/dev/shm")) before.insert(e.path().filename().string());
#endif
    std::string script = "run 2\nsend 0x1034B\nrun 1\nkey space\nkill\nreload\nrun 1\n";
    RunResult a = run(script), b = run(script);
    EXPECT_EQ(a.exit_code, 0) << all(a);
    EXPECT_FALSE(a.trace.empty());
    EXPECT_EQ(a.trace, b.trace);
    EXPECT_EQ(a.trace.find("quillmar-"), std::string::npos);
    EXPECT_EQ(a.trace.find(fs::temp_directory_path().string()), std::string::npos);
#if !defined(_WIN32)
    // No shared value channel outlives its run.
    for (const auto& e : fs::directory_iterator("/dev/shm")) {
        const std::string name = e.path().filename().string();
        if (before.count(name)) continue;
        EXPECT_EQ(name.find("quillmar.q" + std::to_string(host_os::process_id())), std::string::npos) << e.path();
    }
#endif
}

TEST(Runs, ElementsAreFoundByPositionAndSnapshotsAreWritten) {
    fs::path out = fs::temp_directory_path() / ("quillmar-host-test-" + std::to_string(host_os::process_id()));
    RunResult r = run("run 1\nexpect shown System_Simulator 0 0\nexpect hidden System_Simulator 0 0\n"
                      "snapshot a/panel.png\nsnapshot sim.png System_Simulator\n"
                      "snapshot win.png \"Overhead\"\nexpect shown System_Simulator 5 5\n",
                      out.string());
    EXPECT_EQ(r.exit_code, 2) << all(r);
    ASSERT_EQ(r.messages.size(), 2u) << all(r);
    EXPECT_EQ(r.messages[0], "t.flight:3: expect hidden: the element is shown");
    EXPECT_EQ(r.messages[1].rfind("t.flight:7: gauge System_Simulator has no element 0 at 5,5", 0), 0u);
    EXPECT_TRUE(fs::exists(out / "a" / "panel.png"));
    EXPECT_TRUE(fs::exists(out / "sim.png"));
    EXPECT_TRUE(fs::exists(out / "win.png"));
    EXPECT_EQ(r.pictures.size(), 3u);
    RunResult nowhere = run("snapshot x.png Nowhere\n", out.string());
    EXPECT_EQ(nowhere.exit_code, 2);
    EXPECT_NE(all(nowhere).find("t.flight:1: unknown gauge or window 'Nowhere'"), std::string::npos);
    fs::remove_all(out);
}

TEST(Runs, BadPanelLinesAreWarnedAndSkipped) {
    fs::path dir = fs::temp_directory_path() / ("quillmar-panel-" + std::to_string(host_os::process_id()));
    fs::create_directories(dir);
    std::ofstream(dir / "p.cfg") << "[Window00]\ngauge00=Quillmar!System_Simulator, 0, 0\n"
                                    "gauge01=Quillmar!No_Such_Gauge, 0, 0\ngauge02=Nothing!Gauge, 0, 0\n"
                                    "gauge03=Quillmar!System_Simulator, 5, 5\n";
    Script script;
    std::string error;
    ASSERT_TRUE(parse_script("panel p.cfg\nrun 1\n", "t.flight", dir.string(), &script, &error));
    RunOptions options;
    options.gauges_dir = QUILLMAR_DEFAULT_GAUGES_DIR;
    RunResult r = run_script(script, options);
    EXPECT_EQ(r.exit_code, 0);
    std::string m = all(r);
    EXPECT_NE(m.find("p.cfg:3: module Quillmar has no gauge 'No_Such_Gauge'"), std::string::npos) << m;
    EXPECT_NE(m.find("p.cfg:4: no module Nothing"), std::string::npos) << m;
    EXPECT_NE(m.find("p.cfg:5: gauge Quillmar!System_Simulator is placed already"), std::string::npos) << m;
    EXPECT_NE(r.trace.find("panel load 1 gauges"), std::string::npos);
    fs::remove_all(dir);
}

#if defined(_WIN32)
#include <windows.h>

#include "platform/host_services.h"
#include "platform/shared_memory.h"

// The Windows platform layer finds the host's services in its executable,
// so a run's channels are its own, apart from the simulator's plain names.
TEST(Runs, WindowsChannelsLiveInTheRunsOwnNamespace) {
    const PlatformHostServices* services = platform_host_services();
    ASSERT_NE(services, nullptr);
    std::string name_space = services->channel_namespace;
    EXPECT_EQ(name_space, "q" + std::to_string(host_os::process_id()));
    SharedSection* section = shared_section_create("kt93_DH", 6);
    ASSERT_NE(section, nullptr);
    HANDLE plain = OpenFileMappingA(FILE_MAP_READ, FALSE, "kt93_DH");
    HANDLE own = OpenFileMappingA(FILE_MAP_READ, FALSE, ("quillmar." + name_space + ".kt93_DH").c_str());
    EXPECT_EQ(plain, nullptr);
    EXPECT_NE(own, nullptr);
    if (plain) CloseHandle(plain);
    if (own) CloseHandle(own);
    shared_section_close(section);
}
#endif
