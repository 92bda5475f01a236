// A connection handed from a parent program to its child: inherited by
// number, or passed over a Unix-domain socket.
#include "platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace {

int OpenDescriptors() {
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder)) ++count;
        closedir(folder);
    }
    return count;
}

bool IsCloseOnExec(int fd) { return (fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0; }

// Sends one byte with the descriptors, as a parent that keeps to the
// hand-over or one that does not.
bool SendWith(int channel, const std::vector<int>& descriptors) {
    char byte = 0;
    iovec data{&byte, 1};
    std::vector<char> control(CMSG_SPACE(descriptors.size() * sizeof(int)));
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    if (!descriptors.empty()) {
        message.msg_control = control.data();
        message.msg_controllen = control.size();
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(descriptors.size() * sizeof(int));
        memcpy(CMSG_DATA(header), descriptors.data(), descriptors.size() * sizeof(int));
    }
    return sendmsg(channel, &message, MSG_NOSIGNAL) == 1;
}

class HandOver : public testing::Test {
protected:
    static constexpr uint32_t kLimit = 5000;

    ~HandOver() override {
        clock.HoldWhile({});
        if (parent.joinable()) parent.join();
        if (listener >= 0) close(listener);
    }

    void Listen() {
        listener = platform::ListenForHandOver(path);
        ASSERT_GE(listener, 0);
    }

    // The parent's side on its own thread: takes the child's connection and
    // does what it is told with it. Time stands still until it is done.
    void Parent(std::function<void(int channel)> act) {
        Listen();
        clock.HoldWhile([this] { return !parentDone.load(); });
        parent = std::thread([this, act] {
            pollfd wait{listener, POLLIN, 0};
            if (poll(&wait, 1, 5000) == 1) {
                int channel = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
                act(channel);
                close(channel);
            }
            parentDone = true;
        });
    }

    int Receive() {
        int fd = platform::ReceiveHandedSocket(path, kLimit);
        if (parent.joinable()) parent.join();
        return fd;
    }

    testsupport::TempDir dir;
    const std::string path = dir.File("hand over");
    testsupport::VirtualClock clock;
    int listener = -1;
    std::atomic<bool> parentDone{false};
    std::thread parent;
};

TEST_F(HandOver, TheChildGetsTheParentsConnection) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    std::atomic<bool> handed{false};
    Listen();
    clock.HoldWhile([this] { return !parentDone.load(); });
    parent = std::thread([&] {
        handed = platform::HandOverSocket(listener, pair[0], kLimit);
        parentDone = true;
    });
    const int fd = Receive();
    EXPECT_TRUE(handed);
    ASSERT_GE(fd, 0);
    EXPECT_NE(fd, pair[0]);
    EXPECT_TRUE(IsCloseOnExec(fd));
    // The parent's copy may go: the child's is the same connection.
    close(pair[0]);
    ASSERT_EQ(write(fd, "x", 1), 1);
    char got = 0;
    EXPECT_EQ(read(pair[1], &got, 1), 1);
    EXPECT_EQ(got, 'x');
    close(fd);
    close(pair[1]);
}

TEST_F(HandOver, ParentGivesUpWhenNoChildComes) {
    Listen();
    auto handing = std::async(std::launch::async, [this] { return platform::HandOverSocket(listener, 0, 1000); });
    for (int round = 0; round < 1000 && handing.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready;
         ++round)
        clock.Advance(1001);
    ASSERT_EQ(handing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_FALSE(handing.get());
}

TEST_F(HandOver, ListenerRefusesAPathInUse) {
    testsupport::WriteFileText(path, "x");
    EXPECT_EQ(platform::ListenForHandOver(path), -1);
}

TEST_F(HandOver, UnusablePathsFailAtOnce) {
    testsupport::WriteFileText(dir.File("plain file"), "x");
    const std::vector<std::string> unusable = {std::string(), std::string("/tmp/a\0b", 8), "/" + std::string(200, 'p'),
                                               dir.File("plain file")};
    for (const std::string& bad : unusable) {
        EXPECT_EQ(platform::ListenForHandOver(bad), -1) << bad;
        EXPECT_EQ(platform::ReceiveHandedSocket(bad, kLimit), -1) << bad;
    }
    EXPECT_EQ(platform::ReceiveHandedSocket(dir.File("nobody"), kLimit), -1);
    EXPECT_EQ(clock.TotalSlept(), 0u);
}

TEST_F(HandOver, AParentThatNeverSendsIsGivenUpAfterTheWait) {
    Listen();  // the child's connection waits unaccepted
    const int before = OpenDescriptors();
    EXPECT_EQ(platform::ReceiveHandedSocket(path, kLimit), -1);
    EXPECT_GE(clock.TotalSlept(), kLimit);
    EXPECT_LT(clock.TotalSlept(), kLimit + 100);
    EXPECT_EQ(OpenDescriptors(), before);
}

// Parents that break the hand-over: nothing is taken, and whatever came
// along is closed.
struct BadParent {
    const char* name;
    std::function<void(int channel)> act;
};

void PrintTo(const BadParent& parent, std::ostream* out) { *out << parent.name; }

class HandOverRefused : public HandOver, public testing::WithParamInterface<BadParent> {};

TEST_P(HandOverRefused, NothingIsTakenOrLeftOpen) {
    const int before = OpenDescriptors();
    Parent(GetParam().act);
    EXPECT_EQ(Receive(), -1);
    EXPECT_LT(clock.TotalSlept(), kLimit);
    close(listener);
    listener = -1;
    EXPECT_EQ(OpenDescriptors(), before);
}

void WithPipe(int channel) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    SendWith(channel, {pipe_ends[0]});
    close(pipe_ends[0]);
    close(pipe_ends[1]);
}

void WithSockets(int channel, size_t count) {
    std::vector<int> sockets;
    for (size_t i = 0; i < count; ++i) sockets.push_back(socket(AF_INET, SOCK_STREAM, 0));
    SendWith(channel, sockets);
    for (int fd : sockets) close(fd);
}

INSTANTIATE_TEST_SUITE_P(Parents, HandOverRefused,
                         testing::Values(BadParent{"ClosesWithoutSending", [](int) {}},
                                         BadParent{"SendsNoDescriptor", [](int channel) { SendWith(channel, {}); }},
                                         BadParent{"SendsAPipe", WithPipe},
                                         BadParent{"SendsTwoSockets", [](int channel) { WithSockets(channel, 2); }},
                                         BadParent{"SendsMoreThanFit", [](int channel) { WithSockets(channel, 16); }}),
                         [](const testing::TestParamInfo<BadParent>& info) { return std::string(info.param.name); });

TEST(InheritedSocket, OnlyAnOpenSocketIsAdopted) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    for (long bad : {-1L, static_cast<long>(INT_MAX) + 1, static_cast<long>(pipe_ends[0]), 100000L})
        EXPECT_EQ(platform::AdoptInheritedSocket(bad), -1) << bad;
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_FALSE(IsCloseOnExec(fd));
    EXPECT_EQ(platform::AdoptInheritedSocket(fd), fd);
    EXPECT_TRUE(IsCloseOnExec(fd));  // not passed on to the programs it starts
    close(fd);
}

}  // namespace

// A child that this program started is always ended and reaped: no zombie
// and no second process stays behind, whether it ends on its own, on the
// request to end, or only when killed.
namespace {

bool IsReaped(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) < 0 && errno == ECHILD; }

class Child : public ::testing::Test {
protected:
    testsupport::VirtualClock clock;
    platform::ChildProcess child;
};

TEST_F(Child, EndTerminatesAndReapsIt) {
    ASSERT_TRUE(child.Start("sleep", {"60"}));
    const pid_t pid = child.Id();
    EXPECT_TRUE(child.IsRunning());
    child.End(platform::ChildProcess::kEndLimitMs);
    EXPECT_FALSE(child.IsRunning());
    EXPECT_TRUE(IsReaped(pid));
}

TEST_F(Child, OneThatIgnoresTheRequestIsKilledAfterTheLimit) {
    ASSERT_TRUE(child.Start("sh", {"-c", "trap '' TERM; exec sleep 60"}));
    const pid_t pid = child.Id();
    const uint32_t start = platform::GetTickCount();
    child.End(platform::ChildProcess::kEndLimitMs);
    EXPECT_FALSE(child.IsRunning());
    EXPECT_LE(platform::TicksSince(start), platform::ChildProcess::kEndLimitMs + 100);
    EXPECT_TRUE(IsReaped(pid));
}

TEST_F(Child, OneThatEndsOnItsOwnIsReapedWhenAsked) {
    ASSERT_TRUE(child.Start("true", {}));
    const pid_t pid = child.Id();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !child.IsRunning(); }));
    EXPECT_TRUE(IsReaped(pid));
}

TEST_F(Child, StartingAgainEndsTheFirstAndAMissingProgramFails) {
    ASSERT_TRUE(child.Start("sleep", {"60"}));
    const pid_t first = child.Id();
    ASSERT_TRUE(child.Start("sleep", {"61"}));
    EXPECT_TRUE(IsReaped(first));
    EXPECT_TRUE(child.IsRunning());
    EXPECT_FALSE(child.Start("no-such-program-here", {}));
    EXPECT_FALSE(child.IsRunning());
}

}  // namespace

namespace {

TEST(ChildInput, TheChildReadsTheInputOnItsDescriptor) {
    testsupport::TempDir dir;
    const std::string out = dir.File("out");
    const std::string script = "cat <&3 > " + out;
    const pid_t pid = platform::StartProgram("sh", {"-c", script}, "s3cret pass");
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    std::ifstream in(out);
    std::string password;
    std::getline(in, password);
    EXPECT_EQ(password, "s3cret pass");
}

TEST(ChildInput, AnInputBeyondOnePipeWriteIsRefused) {
    EXPECT_EQ(platform::StartProgram("true", {}, std::string(PIPE_BUF + 1, 'x')), -1);
}

}  // namespace
