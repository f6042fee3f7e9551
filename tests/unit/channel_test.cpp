// The shared value channel and the named sections below it, on Linux.
//
// The test program stands in for the substitute host's services with a
// channel namespace of its own ("unit-<pid>"), so that test runs at the same
// time never see each other's channels.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "frame/channel.h"
#include "platform/host_services.h"
#include "platform/shared_memory.h"

namespace {

char unit_namespace[320];
PlatformHostServices unit_services = {1, unit_namespace, nullptr, nullptr, nullptr};
const bool unit_namespace_set = [] {
    std::snprintf(unit_namespace, sizeof unit_namespace, "unit-%d", static_cast<int>(getpid()));
    return true;
}();

}  // namespace

// Weak, so that a test that needs fuller host services can define its own.
extern "C" __attribute__((weak, visibility("default"))) const PlatformHostServices*
quillmar_platform_services() {
    return &unit_services;
}

namespace {

const char* current_namespace() {
    const PlatformHostServices* host = platform_host_services();
    return host && host->channel_namespace ? host->channel_namespace : "";
}

// The object behind a section name in the current namespace.
std::string object_path(const char* name) {
    std::string ns = current_namespace();
    return "/quillmar." + (ns.empty() ? std::string() : ns + ".") + name;
}

bool object_exists(const char* name) {
    int fd = shm_open(object_path(name).c_str(), O_RDONLY, 0);
    if (fd < 0) return false;
    close(fd);
    return true;
}

const unsigned char* bytes(const ChannelLinks& links, ChannelId id) {
    return static_cast<const unsigned char*>(links.at[id].view);
}

std::string text_of(const ChannelLinks& links, ChannelId id, size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes(links, id)), n);
}

int read_int(const ChannelLinks& links, ChannelId id) {
    int value = -999;
    EXPECT_TRUE(channel_read(&links, id, &value));
    return value;
}

// Runs `body` in a child process; finish_child gives its exit status (or -1).
pid_t start_child(const std::function<int()>& body) {
    current_namespace();             // settled before the fork, so both sides share it
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}
int finish_child(pid_t pid) {
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A byte through a pipe: the two processes wait for each other's steps.
void signal_step(int fd) {
    char c = 1;
    (void)!write(fd, &c, 1);
}
bool wait_step(int fd) {
    char c = 0;
    return read(fd, &c, 1) == 1;
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
            EXPECT_FALSE(object_exists(spec.name)) << spec.name << " left behind";
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

    // 10: "10", its NUL and three more bytes of the buffer, which are zeros
    // rather than what "12345" left there.
    channel_write(&writer, CHANNEL_DH, 10);
    EXPECT_EQ(text_of(writer, CHANNEL_DH, 6), std::string("10\0\0\0\0", 6));

    channel_write(&writer, CHANNEL_DH, 1000);
    EXPECT_EQ(text_of(writer, CHANNEL_DH, 6), std::string("1000\0\0", 6));

    // Nothing behind the copy length is touched.
    for (int i = 6; i < 12; ++i) EXPECT_EQ(dh[i], 0x7F) << "byte " << i;
}

TEST_F(Channel, ModeWordsAndSmallChannelsKeepTheirCopyLengths) {
    channels_open_all_for_simulator(&writer);
    for (int id = 0; id < CHANNEL_COUNT; ++id) ASSERT_NE(writer.at[id].view, nullptr);

    channel_write(&writer, CHANNEL_AP_LATERAL_MODE, LATERAL_HDG | LATERAL_VAPP);
    EXPECT_EQ(text_of(writer, CHANNEL_AP_LATERAL_MODE, 8), std::string("9\0\0\0\0\0\0\0", 8));

    channel_write(&writer, CHANNEL_AP_VERTICAL_MODE, 31);
    EXPECT_EQ(text_of(writer, CHANNEL_AP_VERTICAL_MODE, 8), std::string("31\0\0\0\0\0\0", 8));

    // A text as long as the copy length has no NUL of its own; the reader
    // supplies one.
    channel_write(&writer, CHANNEL_AP_VERTICAL_MODE, 127);
    EXPECT_EQ(read_int(writer, CHANNEL_AP_VERTICAL_MODE), 127);

    channel_write(&writer, CHANNEL_EL_PWR_AVAIL, -1);
    EXPECT_EQ(text_of(writer, CHANNEL_EL_PWR_AVAIL, 6), std::string("-1\0\0\0\0", 6));
    EXPECT_EQ(read_int(writer, CHANNEL_EL_PWR_AVAIL), -1);
}

TEST_F(Channel, ReadsStopAtTheCopyLengthAndFollowTheDecimalRule) {
    channel_open(&writer, CHANNEL_FD_CANCEL);
    channel_open(&writer, CHANNEL_DH);
    char* fd_cancel = static_cast<char*>(writer.at[CHANNEL_FD_CANCEL].view);
    char* dh = static_cast<char*>(writer.at[CHANNEL_DH].view);

    std::memcpy(fd_cancel, "987654", 6);          // no NUL anywhere in the section
    EXPECT_EQ(read_int(writer, CHANNEL_FD_CANCEL), 987);
    std::memcpy(dh, "123456789012", 12);
    EXPECT_EQ(read_int(writer, CHANNEL_DH), 123456);

    std::memcpy(fd_cancel, " 4x", 3);
    EXPECT_EQ(read_int(writer, CHANNEL_FD_CANCEL), 4);
    std::memcpy(fd_cancel, "ab1", 3);
    EXPECT_EQ(read_int(writer, CHANNEL_FD_CANCEL), 0);

    double as_double = -1.0;
    channel_write(&writer, CHANNEL_DH, 250);
    EXPECT_TRUE(channel_read(&writer, CHANNEL_DH, &as_double));
    EXPECT_EQ(as_double, 250.0);
}

// ------------------------------------------------------------ participants

TEST_F(Channel, AReaderBeforeTheWriterSeesZerosThenTheWritersValues) {
    // A display module installed first creates its channels.
    channels_open(&reader, eadi_channels);
    for (int i = 0; i < eadi_channels.count; ++i) {
        ChannelId id = eadi_channels.ids[i];
        EXPECT_FALSE(shared_section_existed() && i == 0);
        ASSERT_NE(reader.at[id].view, nullptr);
        EXPECT_EQ(read_int(reader, id), 0) << channel_table[id].name;
    }

    channel_open(&writer, CHANNEL_EL_PWR_AVAIL);
    EXPECT_TRUE(shared_section_existed());
    channel_open(&writer, CHANNEL_EFISCP_NAV_SEL);      // not one of the EADI's
    EXPECT_FALSE(shared_section_existed());
    channels_open_all_for_simulator(&writer);

    channel_write(&writer, CHANNEL_EL_PWR_AVAIL, 2);
    channel_write(&writer, CHANNEL_DH, 200);
    channel_write(&writer, CHANNEL_AP_VERTICAL_MODE, VERTICAL_ALT | VERTICAL_IAS);

    // The reader picks the values up on its next read, without reopening.
    EXPECT_EQ(read_int(reader, CHANNEL_EL_PWR_AVAIL), 2);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 200);
    EXPECT_EQ(read_int(reader, CHANNEL_AP_VERTICAL_MODE), 18);
    EXPECT_EQ(read_int(reader, CHANNEL_FD_CANCEL), 0);
}

TEST_F(Channel, OpeningAnOpenLinkAgainKeepsIt) {
    channel_open(&writer, CHANNEL_AVIONICS);
    ChannelLink first = writer.at[CHANNEL_AVIONICS];
    channel_open(&writer, CHANNEL_AVIONICS);
    EXPECT_EQ(writer.at[CHANNEL_AVIONICS].handle, first.handle);
    EXPECT_EQ(writer.at[CHANNEL_AVIONICS].view, first.view);
    // One release is enough to make the section go (TearDown checks).
}

TEST_F(Channel, TheSectionGoesWithItsLastParticipant) {
    channel_open(&writer, CHANNEL_DH);
    channel_open(&reader, CHANNEL_DH);
    channel_write(&writer, CHANNEL_DH, 500);

    channel_release(&writer, CHANNEL_DH);
    EXPECT_EQ(writer.at[CHANNEL_DH].handle, nullptr);
    EXPECT_EQ(writer.at[CHANNEL_DH].view, nullptr);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 500);       // still held by the reader
    channel_open(&writer, CHANNEL_DH);
    EXPECT_TRUE(shared_section_existed());
    EXPECT_EQ(read_int(writer, CHANNEL_DH), 500);

    channel_release(&writer, CHANNEL_DH);
    channel_release(&reader, CHANNEL_DH);
    EXPECT_FALSE(object_exists("kt93_DH"));
    channel_open(&reader, CHANNEL_DH);
    EXPECT_FALSE(shared_section_existed());
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 0);
}

TEST_F(Channel, SimulatorOpensAndReleasesEveryChannel) {
    channels_open_all_for_simulator(&writer);
    channels_open(&reader, ehsi_channels);
    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        ASSERT_NE(writer.at[id].view, nullptr);
        channel_write(&writer, ChannelId(id), id + 1);
    }
    channels_release_all_for_simulator(&writer);
    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        EXPECT_EQ(writer.at[id].handle, nullptr) << channel_table[id].name;
        EXPECT_EQ(writer.at[id].view, nullptr) << channel_table[id].name;
    }
    // Those the EHSI holds stay with their values; the others are gone.
    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        bool held = reader.at[id].view != nullptr;
        EXPECT_EQ(object_exists(channel_table[id].name), held) << channel_table[id].name;
        if (held) {
            EXPECT_EQ(read_int(reader, ChannelId(id)), id + 1) << channel_table[id].name;
        }
    }
    channels_release(&reader, ehsi_channels);
}

// ------------------------------------------------------------ across processes

TEST_F(Channel, TwoProcessesSeeEachOthersWrites) {
    int to_child[2], to_parent[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(to_parent), 0);
    channel_open(&writer, CHANNEL_AVIONICS);
    channel_write(&writer, CHANNEL_AVIONICS, 1);

    pid_t child = start_child([&]() -> int {
        ChannelLinks links{};
        channel_open(&links, CHANNEL_AVIONICS);
        if (!shared_section_existed()) return 10;
        channel_open(&links, CHANNEL_AIR_DATA);           // created by the child
        if (shared_section_existed()) return 11;
        int value = 0;
        if (!channel_read(&links, CHANNEL_AVIONICS, &value) || value != 1) return 12;
        channel_write(&links, CHANNEL_AIR_DATA, 2);
        signal_step(to_parent[1]);
        if (!wait_step(to_child[0])) return 13;
        if (!channel_read(&links, CHANNEL_AVIONICS, &value) || value != 0) return 14;
        channel_release(&links, CHANNEL_AVIONICS);
        channel_release(&links, CHANNEL_AIR_DATA);
        return 0;
    });
    ASSERT_GT(child, 0);
    ASSERT_TRUE(wait_step(to_parent[0]));
    channel_open(&reader, CHANNEL_AIR_DATA);
    EXPECT_TRUE(shared_section_existed());
    EXPECT_EQ(read_int(reader, CHANNEL_AIR_DATA), 2);
    channel_write(&writer, CHANNEL_AVIONICS, 0);
    signal_step(to_child[1]);
    EXPECT_EQ(finish_child(child), 0);

    // The child has left; what this process holds is still there.
    EXPECT_EQ(read_int(reader, CHANNEL_AIR_DATA), 2);
    for (int fd : {to_child[0], to_child[1], to_parent[0], to_parent[1]}) close(fd);
}

TEST_F(Channel, TheLastParticipantInAnyProcessRemovesTheSection) {
    int to_child[2], to_parent[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(to_parent), 0);
    channel_open(&writer, CHANNEL_DH);

    pid_t child = start_child([&]() -> int {
        ChannelLinks links{};
        channel_open(&links, CHANNEL_DH);
        signal_step(to_parent[1]);
        if (!wait_step(to_child[0])) return 10;          // the parent has released
        channel_write(&links, CHANNEL_DH, 800);
        channel_release(&links, CHANNEL_DH);
        return 0;
    });
    ASSERT_GT(child, 0);
    ASSERT_TRUE(wait_step(to_parent[0]));
    channel_release(&writer, CHANNEL_DH);
    EXPECT_TRUE(object_exists("kt93_DH"));              // the child still holds it
    signal_step(to_child[1]);
    EXPECT_EQ(finish_child(child), 0);
    EXPECT_FALSE(object_exists("kt93_DH"));

    channel_open(&reader, CHANNEL_DH);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 0);
    for (int fd : {to_child[0], to_child[1], to_parent[0], to_parent[1]}) close(fd);
}

TEST_F(Channel, ValuesOfARunThatDiedDoNotReachTheNextRun) {
    pid_t child = start_child([&]() -> int {
        ChannelLinks links{};
        channels_open_all_for_simulator(&links);
        channel_write(&links, CHANNEL_EL_PWR_AVAIL, 2);
        channel_write(&links, CHANNEL_DH, 300);
        return 0;                                          // gone without releasing
    });
    ASSERT_EQ(finish_child(child), 0);
    EXPECT_TRUE(object_exists("kt93_ElPwrAvail"));

    channels_open(&reader, eadi_channels);
    EXPECT_EQ(read_int(reader, CHANNEL_EL_PWR_AVAIL), 0);
    EXPECT_EQ(read_int(reader, CHANNEL_DH), 0);
    channels_release(&reader, eadi_channels);
    // The dead run's channels that nobody opened since are still there;
    // remove them the same way.
    channels_open_all_for_simulator(&writer);
    for (int id = 0; id < CHANNEL_COUNT; ++id) EXPECT_EQ(read_int(writer, ChannelId(id)), 0);
}

TEST_F(Channel, ProcessesComingAndGoingAtOnceAlwaysMeetInOneSection) {
    // Openers racing the last closer must either join the section still
    // named or create a new one: never fail, never end up in one that has
    // lost its name (where nobody else would see their writes), and never
    // leave one behind (TearDown checks).
    const std::string path = object_path("kt93_FDCancel");
    pid_t children[4];
    for (int i = 0; i < 4; ++i) {
        children[i] = start_child([i, &path]() -> int {
            for (int round = 0; round < 1000; ++round) {
                SharedSection* section = shared_section_create("kt93_FDCancel", 6);
                char* view = static_cast<char*>(shared_section_map(section));
                if (!view) return 10;
                char token = static_cast<char>('a' + round % 26);
                view[i] = token;
                // While this process holds it, the name must lead to it.
                int fd = shm_open(path.c_str(), O_RDONLY, 0);
                char seen = 0;
                bool same = fd >= 0 && pread(fd, &seen, 1, i) == 1 && seen == token;
                if (fd >= 0) close(fd);
                shared_section_unmap(view);
                shared_section_close(section);
                if (!same) return 11;
            }
            return 0;
        });
        ASSERT_GT(children[i], 0);
    }
    for (pid_t child : children) EXPECT_EQ(finish_child(child), 0);
}

// ------------------------------------------------------------ failures

TEST_F(Channel, AForeignObjectOfTheSameNameIsNeverUsed) {
    const std::string path = object_path("kt93_DH");
    int fd = shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 2), 0);                        // smaller than the channel
    ASSERT_EQ(pwrite(fd, "77", 2, 0), 2);

    channel_open(&writer, CHANNEL_DH);
    EXPECT_EQ(writer.at[CHANNEL_DH].handle, nullptr);
    EXPECT_EQ(writer.at[CHANNEL_DH].view, nullptr);
    channel_write(&writer, CHANNEL_DH, 1000);
    int value = 0;
    EXPECT_FALSE(channel_read(&writer, CHANNEL_DH, &value));
    EXPECT_EQ(value, 0);
    struct stat st {};
    ASSERT_EQ(fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, 2);
    char content[3] = {};
    EXPECT_EQ(pread(fd, content, 2, 0), 2);
    EXPECT_STREQ(content, "77");

    // Large enough, but open to others: not one of ours either.
    ASSERT_EQ(ftruncate(fd, 12), 0);
    ASSERT_EQ(fchmod(fd, 0644), 0);
    channel_open(&writer, CHANNEL_DH);
    EXPECT_EQ(writer.at[CHANNEL_DH].view, nullptr);

    channel_release(&writer, CHANNEL_DH);                  // nothing to release
    EXPECT_TRUE(object_exists("kt93_DH"));                 // and the object is not ours to remove
    close(fd);
    shm_unlink(path.c_str());
}

TEST_F(Channel, ChannelsCreatedOwnerOnlyWhateverTheUmask) {
    mode_t previous = umask(0277);
    channel_open(&writer, CHANNEL_FD_CANCEL);
    umask(previous);
    int fd = shm_open(object_path("kt93_FDCancel").c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat st {};
    ASSERT_EQ(fstat(fd, &st), 0);
    close(fd);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 6);
    channel_open(&reader, CHANNEL_FD_CANCEL);
    EXPECT_NE(reader.at[CHANNEL_FD_CANCEL].view, nullptr);
}

TEST_F(Channel, ChannelsThatCannotBeCreatedStaySilentlyAtTheirValue) {
    // A namespace so long that no channel name fits a file name. The
    // services record is this test program's own, so it may be changed.
    auto* services = const_cast<PlatformHostServices*>(platform_host_services());
    ASSERT_NE(services, nullptr);
    const char* saved = services->channel_namespace;
    const std::string too_long(300, 'n');
    services->channel_namespace = too_long.c_str();
    channels_open_all_for_simulator(&writer);
    channels_open(&reader, ehsi_channels);
    services->channel_namespace = saved;

    for (int id = 0; id < CHANNEL_COUNT; ++id) {
        EXPECT_EQ(writer.at[id].handle, nullptr);
        EXPECT_EQ(writer.at[id].view, nullptr);
        channel_write(&writer, ChannelId(id), 1);
    }
    double nav_sel = 0.0;
    EXPECT_FALSE(channel_read(&reader, CHANNEL_EFISCP_NAV_SEL, &nav_sel));
    EXPECT_EQ(nav_sel, 0.0);
    channels_release_all_for_simulator(&writer);
    channels_release(&reader, ehsi_channels);
}

// ------------------------------------------------------------ names

TEST(SharedSection, NamespacesKeepTwoRunsApart) {
    SharedSection* a = shared_section_create_in("run-a", "kt93_DH", 12);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(shared_section_existed());
    SharedSection* b = shared_section_create_in("run-b", "kt93_DH", 12);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(shared_section_existed());
    SharedSection* a_again = shared_section_create_in("run-a", "kt93_DH", 12);
    ASSERT_NE(a_again, nullptr);
    EXPECT_TRUE(shared_section_existed());

    char* view_a = static_cast<char*>(shared_section_map(a));
    char* view_b = static_cast<char*>(shared_section_map(b));
    char* view_a_again = static_cast<char*>(shared_section_map(a_again));
    ASSERT_TRUE(view_a && view_b && view_a_again);
    std::memcpy(view_a, "1000", 5);
    EXPECT_STREQ(view_a_again, "1000");
    EXPECT_STREQ(view_b, "");

    for (void* view : {static_cast<void*>(view_a), static_cast<void*>(view_b),
                       static_cast<void*>(view_a_again)})
        shared_section_unmap(view);
    for (SharedSection* section : {a, b, a_again}) shared_section_close(section);
}

TEST(SharedSection, PlainCreateUsesTheHostsNamespace) {
    SharedSection* plain = shared_section_create("kt93_Probe", 6);
    ASSERT_NE(plain, nullptr);
    SharedSection* in_host = shared_section_create_in(current_namespace(), "kt93_Probe", 6);
    ASSERT_NE(in_host, nullptr);
    EXPECT_TRUE(shared_section_existed());
    SharedSection* elsewhere = shared_section_create_in("other-run", "kt93_Probe", 6);
    ASSERT_NE(elsewhere, nullptr);
    EXPECT_FALSE(shared_section_existed());
    for (SharedSection* section : {plain, in_host, elsewhere}) shared_section_close(section);
}

TEST(SharedSection, NamesAreEscapedAndKeptApart) {
    const char* names[] = {"a/b", "a_b", "a%2Fb", "a.b", "../x"};
    SharedSection* sections[5];
    char* views[5];
    for (int i = 0; i < 5; ++i) {
        sections[i] = shared_section_create_in("names", names[i], 6);
        ASSERT_NE(sections[i], nullptr) << names[i];
        EXPECT_FALSE(shared_section_existed()) << names[i] << " met another name";
        views[i] = static_cast<char*>(shared_section_map(sections[i]));
        ASSERT_NE(views[i], nullptr);
        views[i][0] = static_cast<char>('1' + i);
    }
    for (int i = 0; i < 5; ++i) EXPECT_EQ(views[i][0], '1' + i) << names[i];
    // No object outside the shared memory folder, none named by the raw text.
    EXPECT_LT(shm_open("/quillmar.names.a/b", O_RDONLY, 0), 0);
    for (int i = 0; i < 5; ++i) {
        shared_section_unmap(views[i]);
        shared_section_close(sections[i]);
    }
}

TEST(SharedSection, BadNamesAndNullsFailQuietly) {
    std::string long_name(300, 'x');
    EXPECT_EQ(shared_section_create_in("ns", long_name.c_str(), 6), nullptr);
    EXPECT_EQ(shared_section_create_in("ns", "", 6), nullptr);
    EXPECT_EQ(shared_section_create_in("ns", nullptr, 6), nullptr);
    EXPECT_EQ(shared_section_create_in("ns", "kt93_Empty", 0), nullptr);
    EXPECT_EQ(shared_section_map(nullptr), nullptr);
    shared_section_unmap(nullptr);
    shared_section_close(nullptr);

    // A section opened again with a smaller size keeps its first size, and
    // the view covers all of it; asking for more than it has is refused.
    SharedSection* first = shared_section_create_in("ns", "kt93_Sized", 12);
    SharedSection* smaller = shared_section_create_in("ns", "kt93_Sized", 6);
    ASSERT_TRUE(first && smaller);
    EXPECT_TRUE(shared_section_existed());
    EXPECT_EQ(shared_section_create_in("ns", "kt93_Sized", 13), nullptr);
    char* view = static_cast<char*>(shared_section_map(smaller));
    ASSERT_NE(view, nullptr);
    view[11] = '5';
    int fd = shm_open("/quillmar.ns.kt93_Sized", O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat st {};
    EXPECT_EQ(fstat(fd, &st), 0);
    char last = 0;
    EXPECT_EQ(pread(fd, &last, 1, 11), 1);
    close(fd);
    EXPECT_EQ(st.st_size, 12);
    EXPECT_EQ(last, '5');
    shared_section_unmap(view);
    shared_section_close(smaller);
    shared_section_close(first);
}

}  // namespace

#endif
