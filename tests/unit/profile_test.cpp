// The Linux settings file reader and writer, on real files in a temporary
// folder. (The Windows build uses the Win32 functions themselves; the
// program tests/win32/profile_diff holds them to the same answers.)
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/profile.h"
#include "tests/win32/profile_script.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quillmar_profile_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        path_ = (folder_ / "Quillmar.ini").string();
    }
    void TearDown() override {
        chmod(folder_.c_str(), 0755);
        fs::remove_all(folder_);
    }

    void put(const std::string& bytes, const std::string& path = {}) {
        std::ofstream out(path.empty() ? path_ : path, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string contents(const std::string& path = {}) {
        std::ifstream in(path.empty() ? path_ : path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The value read, or "<default>" text; `got` is the returned count.
    std::string read(const char* section, const char* key, const char* def = "<default>",
                     uint32_t size = 64, uint32_t* got = nullptr) {
        char buffer[256];
        uint32_t n = profile_read(section, key, def, buffer, size, path_.c_str());
        if (got) *got = n;
        EXPECT_EQ(buffer[n], '\0');
        return std::string(buffer, n);
    }
    bool write(const char* section, const char* key, const char* value) {
        return profile_write(section, key, value, path_.c_str());
    }
    std::set<std::string> files() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
    std::string path_;
};

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int in_child(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// ------------------------------------------------------------ the Windows answers

TEST(ProfileScript, LinuxReaderAndWriterGiveTheExpectedWindowsAnswers) {
    fs::path data = fs::path(__FILE__).parent_path().parent_path() / "data" / "profile";
    std::vector<std::string> expected = profile_script::expected_lines(data / "expected.txt");
    ASSERT_FALSE(expected.empty());

    char pattern[] = "/tmp/quillmar_profile_script_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::path before = fs::current_path();
    fs::current_path(pattern);
    std::vector<std::string> got = profile_script::run("work", ".\\work");
    fs::current_path(before);
    fs::remove_all(pattern);

    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]);
}

// ------------------------------------------------------------ reading

TEST_F(Profile, PathWithBackslashesIsTakenFromTheCurrentFolder) {
    fs::create_directories(folder_ / "Gauges");
    put("[AVIONICS]\r\navionics_sg1_pos=1\r\n", (folder_ / "Gauges" / "Quillmar.ini").string());
    fs::path before = fs::current_path();
    fs::current_path(folder_);
    char buffer[6];
    uint32_t n = profile_read("AVIONICS", "avionics_sg1_pos", "0", buffer, sizeof buffer,
                              ".\\Gauges\\Quillmar.ini");
    bool written = profile_write("AVIONICS", "avionics_sg2_pos", "1", ".\\Gauges\\Quillmar.ini");
    fs::current_path(before);
    EXPECT_EQ(std::string(buffer, n), "1");
    EXPECT_TRUE(written);
    EXPECT_EQ(contents((folder_ / "Gauges" / "Quillmar.ini").string()),
              "[AVIONICS]\r\navionics_sg1_pos=1\r\navionics_sg2_pos=1\r\n");
}

TEST_F(Profile, BlanksAroundNamesAndValuesDoNotCount) {
    put("\t[ EPCP ]  ; trailing words\n\t batt_switch\t=\t 1 \t\r\n  batt1 = \"\"\n"
        "gen1=\" 2 \" \n");
    EXPECT_EQ(read("EPCP", "batt_switch"), "1");
    EXPECT_EQ(read("\tepcp ", " BATT_SWITCH\t"), "1");
    EXPECT_EQ(read("EPCP", "batt1"), "");
    EXPECT_EQ(read("EPCP", "gen1"), " 2 ");
}

TEST_F(Profile, OnePairOfTheSameQuotesIsRemovedFromValuesAndDefaults) {
    put("[S]\nsingle='1'\nmixed='1\"\nlone=\"\nopen=\"1\nclose=1\"\ninner=a\"b\"c\nquotes=\"\"\"\n"
        "two=''1''\n");
    EXPECT_EQ(read("S", "single"), "1");                  // batt_switch='1' is 1, not 0
    EXPECT_EQ(read("S", "mixed"), "'1\"");
    EXPECT_EQ(read("S", "two"), "'1'");
    EXPECT_EQ(read("S", "lone"), "\"");
    EXPECT_EQ(read("S", "open"), "\"1");
    EXPECT_EQ(read("S", "close"), "1\"");
    EXPECT_EQ(read("S", "inner"), "a\"b\"c");
    EXPECT_EQ(read("S", "quotes"), "\"");
    // Cut after the quotes are gone.
    put("[S]\nv=\"abcdef\"\n");
    EXPECT_EQ(read("S", "v", "", 4), "abc");
    EXPECT_EQ(read("S", "v", "", 7), "abcdef");
    // The default too, after its trailing blanks.
    EXPECT_EQ(read("S", "missing", "'7'  "), "7");
    EXPECT_EQ(read("S", "missing", "\"a b\""), "a b");
}

TEST_F(Profile, LinesThatAreNotKeysAreNeverFound) {
    put("batt_switch=5\r\n[EPCP]\r\n;batt_switch=7\r\nbatt_switch\r\n[EPCP\r\n"
        "=9\r\n  \r\nbatt1=1\r\n");
    EXPECT_EQ(read("EPCP", "batt_switch"), "<default>");   // before any section, comment, no '='
    EXPECT_EQ(read("EPCP", ";batt_switch"), "<default>");
    EXPECT_EQ(read("EPCP", "batt1"), "1");                  // "[EPCP" opened no section
    EXPECT_EQ(read("EPCP", ""), "<default>");
    EXPECT_EQ(read("", "batt1"), "<default>");
}

TEST_F(Profile, AKeyNameAloneIsTheKeyWithoutAValue) {
    put("[EPCP]\r\n  batt_switch  \r\nbatt_switch=1\r\nbatt1=1\r\n");
    EXPECT_EQ(read("EPCP", "batt_switch"), "<default>");   // it hides the line after it
    EXPECT_EQ(read("EPCP", nullptr), std::string("batt_switch\0batt1\0", 18));
    ASSERT_TRUE(write("EPCP", "batt_switch", "0"));
    EXPECT_EQ(contents(), "[EPCP]\r\n  batt_switch=0  \r\nbatt_switch=1\r\nbatt1=1\r\n");
    EXPECT_EQ(read("EPCP", "batt_switch"), "0");
    ASSERT_TRUE(write("EPCP", "batt_switch", nullptr));
    EXPECT_EQ(read("EPCP", "batt_switch"), "1");
}

TEST_F(Profile, NulBytesAndBinaryJunkDoNotHideOtherKeys) {
    std::string junk = "\xff\xfe\x00\x01[\x00]=\x00\r\n"s;
    std::string keys = "[APU]\r\n\x00\x00\x00=1\r\napu_status=1\x00" "9\r\napu\x00gen=2\r\n"s;
    // (At the very start, "\xff\xfe" would make it a UTF-16 file.)
    put("\x01" + junk + keys + junk + "apu_gen=3\r\n");
    EXPECT_EQ(read("APU", "apu_status"), "1");   // the value ends at its NUL byte
    EXPECT_EQ(read("APU", "apu"), "<default>");  // a name holding a NUL matches nothing
    EXPECT_EQ(read("APU", "apu_gen"), "3");
}

TEST_F(Profile, ByteOrderMarkBeforeTheFirstSectionIsSkipped) {
    put("\xEF\xBB\xBF[EPCP]\r\nbatt_switch=1\r\n");
    EXPECT_EQ(read("EPCP", "batt_switch"), "1");
    ASSERT_TRUE(write("EPCP", "batt_switch", "0"));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[EPCP]\r\nbatt_switch=0\r\n");
}

TEST_F(Profile, UnicodeFileIsReadAndWrittenBackInUtf16) {
    auto wide = [](const std::string& text) {
        std::string bytes = "\xFF\xFE";
        for (char c : text) bytes += {c, '\0'};
        return bytes;
    };
    // "é" (U+00E9) in a comment, a character beyond the first plane in another.
    const std::string accent = "\xE9\x00"s, clef = "\x34\xD8\x1E\xDD"s;
    put(wide("; caf") + accent + wide("\r\n[EPCP]\r\nbatt_switch=1\r\n;").substr(2) + clef +
        wide("\r\n").substr(2));
    EXPECT_EQ(read("EPCP", "batt_switch"), "1");
    ASSERT_TRUE(write("EPCP", "batt_switch", "0"));
    ASSERT_TRUE(write("EPCP", "batt1", "1"));
    ASSERT_TRUE(write("AIRSPEED", "bug_1", "212"));
    EXPECT_EQ(contents(), wide("; caf") + accent +
                              wide("\r\n[EPCP]\r\nbatt_switch=0\r\nbatt1=1\r\n;").substr(2) + clef +
                              wide("\r\n[AIRSPEED]\r\nbug_1=212\r\n").substr(2));
    EXPECT_EQ(read("AIRSPEED", "bug_1"), "212");

    // Characters beyond ASCII come back in UTF-8; a lone surrogate and an
    // odd last byte survive a write untouched.
    put(wide("[S]\r\nk=") + accent + "\x00\xD8"s + wide("\r\n").substr(2) + "\x7F"s);
    EXPECT_EQ(read("S", "k"), "\xC3\xA9\xED\xA0\x80");
    ASSERT_TRUE(write("S", "j", "2"));
    EXPECT_EQ(contents(), wide("[S]\r\nk=") + accent + "\x00\xD8"s + wide("\r\nj=2\r\n").substr(2) + "\x7F"s);
}

TEST_F(Profile, LineLongerThanAnyBufferIsSkippedWhole) {
    std::string huge(1 << 20, 'k');
    put("[S]\n" + huge + "=" + huge + "\nafter=1\n" + huge + "\n");
    uint32_t got = 0;
    EXPECT_EQ(read("S", huge.c_str(), "", 6, &got), "kkkkk");
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(read("S", "after"), "1");
}

TEST_F(Profile, EmptyAndTinyBuffers) {
    put("[S]\nk=value\n");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(profile_read("S", "k", "", buffer, 0, path_.c_str()), 0u);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(profile_read("S", "k", "", nullptr, 8, path_.c_str()), 0u);
    EXPECT_EQ(profile_read("S", "k", "", buffer, 1, path_.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(profile_read(nullptr, nullptr, "", buffer, 1, path_.c_str()), 0u);
    EXPECT_EQ(profile_read("S", nullptr, "", buffer, 1, path_.c_str()), 0u);
    EXPECT_EQ(profile_read("S", "k", "", buffer, 4, nullptr), 0u);
}

TEST_F(Profile, ListsOfNamesEndWithTwoTerminatorsEvenWhenCut) {
    put("[A]\nk1=1\nnot a key\nkey_two=2\n=3\n[]\n[BBBB]\n");
    char buffer[32];
    std::fill(buffer, buffer + sizeof buffer, '#');
    EXPECT_EQ(profile_read(nullptr, nullptr, "", buffer, 32, path_.c_str()), 7u);
    EXPECT_EQ(std::string(buffer, 8), "A\0BBBB\0\0"s);

    // Every key with a value, the one without a name too; the section name
    // as it is given.
    std::fill(buffer, buffer + sizeof buffer, '#');
    EXPECT_EQ(profile_read("a", nullptr, "", buffer, 32, path_.c_str()), 12u);
    EXPECT_EQ(std::string(buffer, 13), "k1\0key_two\0\0\0"s);
    EXPECT_EQ(read(" A", nullptr, "dflt"), "dflt");

    // A name that does not fit exactly (it needs one more for the end).
    std::fill(buffer, buffer + sizeof buffer, '#');
    EXPECT_EQ(profile_read("A", nullptr, "", buffer, 11, path_.c_str()), 9u);
    EXPECT_EQ(std::string(buffer, 12), "k1\0key_tw\0\0#"s);
    // A list that fills the buffer exactly is reported as cut.
    std::fill(buffer, buffer + sizeof buffer, '#');
    EXPECT_EQ(profile_read("A", nullptr, "", buffer, 12, path_.c_str()), 10u);
    EXPECT_EQ(std::string(buffer, 13), "k1\0key_two\0\0#"s);
    EXPECT_EQ(profile_read(nullptr, nullptr, "", buffer, 2, path_.c_str()), 0u);
    EXPECT_EQ(std::string(buffer, 2), "\0\0"s);

    // No keys, no section, a first key without a name: the default. No file:
    // no sections.
    EXPECT_EQ(read("BBBB", nullptr, "dflt"), "dflt");
    EXPECT_EQ(read("C", nullptr, "dflt"), "dflt");
    put("[A]\n=1\nk=2\n");
    EXPECT_EQ(read("A", nullptr, "dflt"), "dflt");
    fs::remove(path_);
    EXPECT_EQ(profile_read(nullptr, nullptr, "dflt", buffer, 32, path_.c_str()), 0u);
    EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
}

TEST_F(Profile, WhatIsNotAReadableFileGivesDefaults) {
    EXPECT_EQ(read("S", "k", "missing  "), "missing");
    fs::create_directory(path_);
    EXPECT_EQ(read("S", "k", "a folder"), "a folder");
    char buffer[8];
    EXPECT_EQ(profile_read("S", "k", "x", buffer, 8, ""), 1u);
}

// ------------------------------------------------------------ writing

TEST_F(Profile, FirstWritesCreateFileSectionsAndKeysWithWindowsLineEnds) {
    ASSERT_TRUE(write("EPCP", "batt_switch", "1"));
    ASSERT_TRUE(write("AIRSPEED", "bug_1", "212"));
    ASSERT_TRUE(write("EPCP", "batt1", "0"));
    EXPECT_EQ(contents(), "[EPCP]\r\nbatt_switch=1\r\nbatt1=0\r\n[AIRSPEED]\r\nbug_1=212\r\n");
}

TEST_F(Profile, ReplacingAValueKeepsEveryOtherByte) {
    std::string head = "; settings\n\xff junk\n[EPCP]  ; electrical\n  Batt_Switch =  ";
    std::string tail = "   \t\nbatt_switch=2\n\n[AIRSPEED]\r\nbug_1=212\r\nno equals\r\nbug_2=184";
    put(head + "1" + tail);
    ASSERT_TRUE(write("epcp", "batt_switch", "0"));
    EXPECT_EQ(contents(), head + "0" + tail);
    ASSERT_TRUE(write("EPCP", "batt_switch", "\"quoted value\""));
    EXPECT_EQ(contents(), head + "\"quoted value\"" + tail);
    ASSERT_TRUE(write("AIRSPEED", "bug_2", " \t 96"));    // leading blanks dropped
    EXPECT_EQ(contents(), head + "\"quoted value\"" + tail.substr(0, tail.size() - 3) + "96");
}

TEST_F(Profile, EmptyValueIsReplacedWhereItStands) {
    put("[S]\r\nk=\r\nj =   \n");
    ASSERT_TRUE(write("S", "k", "1"));
    ASSERT_TRUE(write("S", "j", "2"));
    EXPECT_EQ(contents(), "[S]\r\nk=1\r\nj =2   \n");   // an empty value sits after the '='
}

TEST_F(Profile, NewKeyFollowsTheLastKeyOfItsSection) {
    put("[A]\nk=1\n; about B\n\n[B]\nb=1\n");
    ASSERT_TRUE(write("A", "new", "2"));
    EXPECT_EQ(contents(), "[A]\nk=1\nnew=2\r\n; about B\n\n[B]\nb=1\n");

    put("[A]\r\n\r\n[B]\r\n");
    ASSERT_TRUE(write("A", "first", "1"));
    EXPECT_EQ(contents(), "[A]\r\nfirst=1\r\n\r\n[B]\r\n");

    put("[A]\r\nk=1\r\n[B]\r\nb=1");   // no line end after the last key
    ASSERT_TRUE(write("B", "c", "2"));
    EXPECT_EQ(contents(), "[A]\r\nk=1\r\n[B]\r\nb=1\r\nc=2\r\n");

    put("[A]");
    ASSERT_TRUE(write("A", "k", "1"));
    EXPECT_EQ(contents(), "[A]\r\nk=1\r\n");
}

TEST_F(Profile, NewSectionGoesAtTheEnd) {
    put("[A]\nk=1");
    ASSERT_TRUE(write("B", "k", "2"));
    EXPECT_EQ(contents(), "[A]\nk=1\r\n[B]\r\nk=2\r\n");
    put("; only a comment\n\n");
    ASSERT_TRUE(write(" CABIN PRESSURE ", " landing_altitude ", "0"));
    EXPECT_EQ(contents(), "; only a comment\n\n[CABIN PRESSURE]\r\nlanding_altitude=0\r\n");
}

TEST_F(Profile, DuplicatesWriteTheFirstAndReadTheFirst) {
    put("[NAV]\nnav1_knob=1\nnav1_knob=2\n[nav]\nnav1_knob=3\nnav2_knob=4\n");
    EXPECT_EQ(read("NAV", "nav1_knob"), "1");
    EXPECT_EQ(read("NAV", "nav2_knob"), "<default>");
    ASSERT_TRUE(write("NAV", "nav1_knob", "5"));
    ASSERT_TRUE(write("NAV", "nav2_knob", "6"));
    EXPECT_EQ(contents(),
              "[NAV]\nnav1_knob=5\nnav1_knob=2\nnav2_knob=6\r\n[nav]\nnav1_knob=3\nnav2_knob=4\n");
}

TEST_F(Profile, WritingTheStoredValueLeavesTheFileAlone) {
    put("[S]\nk = 1 \n");
    struct stat before, after;
    ASSERT_EQ(stat(path_.c_str(), &before), 0);
    ASSERT_TRUE(write("S", "k", "1"));
    ASSERT_EQ(stat(path_.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(contents(), "[S]\nk = 1 \n");
    ASSERT_TRUE(write("S", "k", "2"));
    EXPECT_EQ(contents(), "[S]\nk = 2 \n");
}

TEST_F(Profile, NullValueRemovesTheKeyAndNullKeyTheSection) {
    put("[A]\r\nk=1\r\nj=2\r\n\r\n[B]\r\nb=1\r\n[A]\r\nk=3\r\n");
    ASSERT_TRUE(write("A", "k", nullptr));
    EXPECT_EQ(contents(), "[A]\r\nj=2\r\n\r\n[B]\r\nb=1\r\n[A]\r\nk=3\r\n");
    ASSERT_TRUE(write("A", "missing", nullptr));
    ASSERT_TRUE(write("C", nullptr, nullptr));
    ASSERT_TRUE(write("a", nullptr, "ignored"));
    EXPECT_EQ(contents(), "[B]\r\nb=1\r\n[A]\r\nk=3\r\n");
    EXPECT_EQ(read("A", "k"), "3");   // the later section of the name now counts

    fs::remove(path_);
    EXPECT_TRUE(write("A", "k", nullptr));
    EXPECT_TRUE(write("A", nullptr, nullptr));
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(Profile, NamesAndValuesThatCannotBeOneLineAreRefused) {
    const std::string original = "[S]\r\nk=1\r\n";
    put(original);
    EXPECT_FALSE(write("S", "k", "1\r\n[EVIL]\r\nx=2"));
    EXPECT_FALSE(write("S", "k", "1\nj=2"));
    EXPECT_FALSE(write("S", "a=b", "1"));
    EXPECT_FALSE(write("S", "[T]", "1"));
    EXPECT_FALSE(write("S", ";k", "1"));
    EXPECT_FALSE(write("S", "k\r\nj", "1"));
    EXPECT_FALSE(write("S]\r\n[T", "k", "1"));
    EXPECT_FALSE(write("S", "  ", "1"));
    EXPECT_FALSE(write(" ", "k", "1"));
    EXPECT_FALSE(write(nullptr, "k", "1"));
    EXPECT_FALSE(profile_write("S", "k", "1", nullptr));
    EXPECT_EQ(contents(), original);
    EXPECT_EQ(files(), std::set<std::string>{"Quillmar.ini"});
}

TEST_F(Profile, FileKeepsItsPermissionsAndItsSymbolicLink) {
    put("[S]\nk=1\n");
    chmod(path_.c_str(), 0640);
    ASSERT_TRUE(write("S", "k", "2"));
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    std::string link = (folder_ / "link.ini").string();
    ASSERT_EQ(symlink(path_.c_str(), link.c_str()), 0);
    ASSERT_TRUE(profile_write("S", "k", "3", link.c_str()));
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(contents(), "[S]\nk=3\n");
}

// ------------------------------------------------------------ failing writes

TEST_F(Profile, WriteIntoAMissingFolderFailsAndCreatesNothing) {
    std::string path = (folder_ / "Gauges" / "Quillmar.ini").string();
    EXPECT_FALSE(profile_write("S", "k", "1", path.c_str()));
    EXPECT_TRUE(files().empty());
}

TEST_F(Profile, WriteIntoAReadOnlyFolderFailsAndChangesNothing) {
    const std::string original = "[S]\nk=1\n";
    put(original);
    chmod(folder_.c_str(), 0555);
    int status = in_child([&] {
        // Permissions do not bind the superuser: drop to an ordinary user.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 3;
        bool replaced = write("S", "k", "2");
        bool created = write("T", "k", "2");
        return (replaced || created) ? 1 : 0;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(), original);
    EXPECT_EQ(files(), std::set<std::string>{"Quillmar.ini"});
}

TEST_F(Profile, FileThatCannotBeReadIsNeverReplaced) {
    fs::create_directory(path_);
    EXPECT_FALSE(write("S", "k", "1"));
    EXPECT_TRUE(fs::is_directory(path_));

    fs::remove(path_);
    put("[S]\nk=1\nother=keep me\n");
    chmod(path_.c_str(), 0200);
    chmod(folder_.c_str(), 0777);   // only the file itself is out of reach
    int status = in_child([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 3;
        return write("S", "k", "2") ? 1 : 0;
    });
    chmod(path_.c_str(), 0644);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(), "[S]\nk=1\nother=keep me\n");
}

TEST_F(Profile, WriteThatFailsHalfWayLeavesTheOldFileAndNoTemporaryFile) {
    // Larger than the file size limit set below, so that writing the new
    // file stops part of the way through.
    const std::string original = "[S]\nk=1\n" + std::string(64 * 1024, ';') + "\n";
    put(original);
    int status = in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16 * 1024, 16 * 1024}, no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        setrlimit(RLIMIT_FSIZE, &limit);
        return write("S", "k", "2") ? 1 : 0;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(), original);
    EXPECT_EQ(files(), std::set<std::string>{"Quillmar.ini"});
}

TEST_F(Profile, ProcessKilledWhileWritingLeavesTheOldFileWhole) {
    const std::string original = "[S]\nk=1\n" + std::string(64 * 1024, ';') + "\n";
    put(original);
    int status = in_child([&] {
        rlimit limit{16 * 1024, 16 * 1024}, no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        setrlimit(RLIMIT_FSIZE, &limit);   // the write past the limit kills the process
        write("S", "k", "2");
        return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(contents(), original);
    EXPECT_EQ(read("S", "k"), "1");
    // The next write goes through beside the dead process's leftover.
    ASSERT_TRUE(write("S", "k", "3"));
    EXPECT_EQ(read("S", "k"), "3");
}

}  // namespace

#endif
