// The shared value channel on Windows, over the real file mapping calls.
//
// The program runs itself again as a second process for the checks that
// need one: "channel_test_win32 --child <scenario>" plays the other side and
// reports through its exit code.
//
// Windows differs from the Linux stand-in in two places, and the checks
// follow Windows: sections carry the default security of the process (there
// is no mode to check), and the names are not escaped. This program offers
// no host services, as the simulator does not: its channels carry the plain
// names, as in the simulator. A foreign section
// of the same name that is smaller than a channel is still opened (Windows
// gives the existing section and maps whole pages), so it is used without
// any access outside the view.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "frame/channel.h"
#include "platform/shared_memory.h"

namespace {

const char* GO_EVENT = "quillmar_channel_test_go";
const char* HOLDING_EVENT = "quillmar_channel_test_holding";

std::string text_of(const ChannelLinks& links, ChannelId id, size_t n) {
    return std::string(static_cast<const char*>(links.at[id].view), n);
}

int read_int(const ChannelLinks& links, ChannelId id) {
    int value = -999;
    EXPECT_TRUE(channel_read(&links, id, &value));
    return value;
}

// Whether a section of this name exists: opening it without creating.
bool section_exists(const char* name) {
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!h) return false;
    CloseHandle(h);
    return true;
}

// Starts this program again with "--child <scenario>".
HANDLE start_child(const char* scenario) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" --child " + scenario;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD finish_child(HANDLE process) {
    DWORD code = 99;
    WaitForSingleObject(process, 30000);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

// ------------------------------------------------------------ the child's side

int child_reads_and_writes() {
    ChannelLinks links{};
    channel_open(&links, CHANNEL_AVIONICS);
    if (!shared_section_existed()) return 10;
    channel_open(&links, CHANNEL_AIR_DATA);
    int value = 0;
    if (!channel_read(&links, CHANNEL_AVIONICS, &value) || value != 1) return 11;
    channel_write(&links, CHANNEL_AIR_DATA, 2);
    channel_release(&links, CHANNEL_AVIONICS);
    channel_release(&links, CHANNEL_AIR_DATA);
    return 0;
}

int child_holds_until_told() {
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, GO_EVENT);
    HANDLE holding = OpenEventA(EVENT_MODIFY_STATE, FALSE, HOLDING_EVENT);
    if (!go || !holding) return 10;
    ChannelLinks links{};
    channel_open(&links, CHANNEL_DH);
    SetEvent(holding);
    if (WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 11;
    int value = 0;
    if (!channel_read(&links, CHANNEL_DH, &value) || value != 700) return 12;
    channel_write(&links, CHANNEL_DH, 800);
    channel_release(&links, CHANNEL_DH);
    return 0;
}

int child_dies_holding() {
    ChannelLinks links{};
    channels_open_all_for_simulator(&links);
    channel_write(&links, CHANNEL_EL_PWR_AVAIL, 2);
    channel_write(&links, CHANNEL_DH, 300);
    ExitProcess(0);                                    // no release
}

class Channel : public ::testing::Test {
protected:
    ChannelLinks writer{};
    ChannelLinks reader{};

    void TearDown() override {
        for (int id = 0; id < CHANNEL_COUNT; ++id) {
            channel_release(&writer, ChannelId(id));
            channel_release(&reader, ChannelId(id));
        }
        for (const ChannelSpec& spec : channel_table)
            EXPECT_FALSE(section_exists(spec.name)) << spec.name << " left behind";
    }
};

// ------------------------------------------------------------ text format

TEST_F(Channel, WritesCopyTheFixedLengthFromAZeroedFormattingBuffer) {
    channel_open(&writer, CHANNEL_DH);
    ASSERT_NE(writer.at[CHANNEL_DH].view, nullptr);
    unsigned char* dh = static_cast<unsigned char*>(writer.at[CHANNEL_DH].view);
    std::memset(dh, 0x7F, 12);
    channel_write(&writer, CHANNEL_DH, 12345);
    EXPECT_EQ(text_of(writer, CHANNEL_DH, 6), std::string("12345\0", 6));
    channel_write(&writer, CHANNEL_DH, 10);
    EXPECT_EQ(text_of(writer, CHANNEL_DH, 6), std::string("10\0\0\0\0", 6));
    channel_write(&writer, CHANNEL_DH, 1000);
    EXPECT_EQ(text_of(writer, CHANNEL_DH, 6), std::string("1000\0\0", 6));
    for (int i = 6; i < 12; ++i) EXPECT_EQ(dh[i], 0x7F) << "byte " << i;
}

TEST_F(Channel, ModeWordsKeepTheirCopyLengths) {
    channels_open_all_for_simulator(&writer);
    channel_write(&writer, CHANNEL_AP_LATERAL_MODE, LATERAL_HDG | LATERAL_VAPP);
    EXPECT_EQ(text_of(writer, CHANNEL_AP_LATERAL_MODE, 8), std::string("9\0\0\0\0\0\0\0", 8));
    channel_write(&writer, CHANNEL_AP_VERTICAL_MODE, 31);
    EXPECT_EQ(text_of(writer, CHANNEL_AP_VERTICAL_MODE, 8), std::string("31\0\0\0\0\0\0", 8));
    std::memcpy(writer.at[CHANNEL_FD_CANCEL].view, "987654", 6);
    EXPECT_EQ(read_int(writer, CHANNEL_FD_CANCEL), 987);
}

// ------------------------------------------------------------ participants

TEST_F(Channel, AReaderBeforeTheWriterSeesZerosThenTheWritersValues) {
    channels_open(&reader, eadi_channels);
    for (int i = 0; i < eadi_channels.count; ++i)
        EXPECT_EQ(read_int(reader, eadi_channels.ids[i]), 0);
    channels_open_all_for_simulator(&writer);
    EXPECT_TRUE(shared_section_existed());             // kt93_FDCancel, opened by the reader
    channel_write(&writer, CHANNEL_EL_PWR_AVAIL, 2);
    channel_write(&writer, CHANNEL_DH, 200);
    EXPECT_EQ(read_int(reader, CHANNEL_EL_PWR_AVAIL), 2);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 200);
}

TEST_F(Channel, TheSectionGoesWithItsLastParticipant) {
    channel_open(&writer, CHANNEL_DH);
    channel_open(&reader, CHANNEL_DH);
    channel_write(&writer, CHANNEL_DH, 500);
    channel_release(&writer, CHANNEL_DH);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 500);
    channel_release(&reader, CHANNEL_DH);
    EXPECT_FALSE(section_exists("kt93_DH"));
    channel_open(&reader, CHANNEL_DH);
    EXPECT_FALSE(shared_section_existed());
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 0);
}

// ------------------------------------------------------------ across processes

TEST_F(Channel, TwoProcessesSeeEachOthersWrites) {
    channel_open(&writer, CHANNEL_AVIONICS);
    channel_open(&reader, CHANNEL_AIR_DATA);
    channel_write(&writer, CHANNEL_AVIONICS, 1);
    HANDLE child = start_child("reads-and-writes");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(finish_child(child), 0u);
    EXPECT_EQ(read_int(reader, CHANNEL_AIR_DATA), 2);
}

TEST_F(Channel, TheLastParticipantInAnyProcessRemovesTheSection) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, GO_EVENT);
    HANDLE holding = CreateEventA(nullptr, TRUE, FALSE, HOLDING_EVENT);
    ASSERT_TRUE(go && holding);
    channel_open(&writer, CHANNEL_DH);
    channel_write(&writer, CHANNEL_DH, 700);
    HANDLE child = start_child("holds-until-told");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(WaitForSingleObject(holding, 30000), WAIT_OBJECT_0);
    channel_release(&writer, CHANNEL_DH);
    EXPECT_TRUE(section_exists("kt93_DH"));
    SetEvent(go);
    EXPECT_EQ(finish_child(child), 0u);
    EXPECT_FALSE(section_exists("kt93_DH"));
    CloseHandle(go);
    CloseHandle(holding);
}

TEST_F(Channel, ValuesOfAProcessThatDiedDoNotReachTheNextOne) {
    HANDLE child = start_child("dies-holding");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(finish_child(child), 0u);
    channels_open(&reader, eadi_channels);
    EXPECT_EQ(read_int(reader, CHANNEL_EL_PWR_AVAIL), 0);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 0);
}

// ------------------------------------------------------------ failures

TEST_F(Channel, AForeignSmallerSectionOfTheSameNameIsHarmless) {
    HANDLE foreign = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT,
                                        0, 2, "kt93_DH");
    ASSERT_NE(foreign, nullptr);
    channel_open(&writer, CHANNEL_DH);
    EXPECT_TRUE(shared_section_existed());
    channel_write(&writer, CHANNEL_DH, 1000);
    int value = 0;
    if (channel_read(&writer, CHANNEL_DH, &value)) {
        EXPECT_EQ(value, 1000);
    }
    channel_release(&writer, CHANNEL_DH);
    CloseHandle(foreign);
}

TEST(SharedSection, NamesThatCannotBeCreatedGiveNoHandle) {
    EXPECT_EQ(shared_section_create("kt93_No\\Such\\Name", 6), nullptr);
    EXPECT_FALSE(shared_section_existed());
    EXPECT_EQ(shared_section_map(nullptr), nullptr);
    shared_section_unmap(nullptr);
    shared_section_close(nullptr);

    ChannelLinks never_opened{};
    channel_write(&never_opened, CHANNEL_DH, 10);
    double value = 0.0;
    EXPECT_FALSE(channel_read(&never_opened, CHANNEL_DH, &value));
    EXPECT_EQ(value, 0.0);
}

TEST(SharedSection, NamespacesKeepTwoRunsApart) {
    SharedSection* a = shared_section_create_in("run-a", "kt93_DH", 12);
    SharedSection* b = shared_section_create_in("run-b", "kt93_DH", 12);
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(shared_section_existed());
    SharedSection* a_again = shared_section_create_in("run-a", "kt93_DH", 12);
    ASSERT_NE(a_again, nullptr);
    EXPECT_TRUE(shared_section_existed());
    EXPECT_TRUE(section_exists("quillmar.run-a.kt93_DH"));
    EXPECT_FALSE(section_exists("kt93_DH"));

    char* view_a = static_cast<char*>(shared_section_map(a));
    char* view_b = static_cast<char*>(shared_section_map(b));
    char* view_a_again = static_cast<char*>(shared_section_map(a_again));
    ASSERT_TRUE(view_a && view_b && view_a_again);
    std::memcpy(view_a, "1000", 5);
    EXPECT_STREQ(view_a_again, "1000");
    EXPECT_STREQ(view_b, "");
    for (char* view : {view_a, view_b, view_a_again}) shared_section_unmap(view);
    for (SharedSection* section : {a, b, a_again}) shared_section_close(section);

    // No namespace: the plain name.
    SharedSection* plain = shared_section_create("kt93_DH", 6);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(section_exists("kt93_DH"));
    shared_section_close(plain);
}

TEST(SharedSection, ASectionKeepsItsFirstSize) {
    SharedSection* first = shared_section_create("kt93_SizeProbe", 12);
    SharedSection* again = shared_section_create("kt93_SizeProbe", 6);
    ASSERT_TRUE(first && again);
    EXPECT_TRUE(shared_section_existed());
    char* view = static_cast<char*>(shared_section_map(again));
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(view, &info, sizeof info), 0u);
    EXPECT_GE(info.RegionSize, 12u);
    view[11] = '5';
    char* other = static_cast<char*>(shared_section_map(first));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other[11], '5');
    shared_section_unmap(view);
    shared_section_unmap(other);
    shared_section_close(again);
    shared_section_close(first);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        std::string scenario = argv[2];
        if (scenario == "reads-and-writes") return child_reads_and_writes();
        if (scenario == "holds-until-told") return child_holds_until_told();
        if (scenario == "dies-holding") return child_dies_holding();
        return 90;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
