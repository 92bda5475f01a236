// The program on a connection that a parent program hands over: inherited by
// number ("/SOCKET:") or passed over a Unix-domain socket ("/SOCKFILE:").
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/messages/setupmessages.h"
#include "platform/process.h"
#include "setup_session.h"
#include "support/temp_dir.h"

namespace {

enum class Way { kInherited, kSocketFile };

const char* NameOf(Way way) { return way == Way::kInherited ? "Inherited" : "SocketFile"; }
void PrintTo(Way way, std::ostream* out) { *out << NameOf(way); }

class HandedConnection : public bstest::SetupSession, public testing::WithParamInterface<Way> {
protected:
    ~HandedConnection() override { clock.HoldWhile({}); }

    // The gateway connection as the parent holds it: open, its preamble sent.
    int ParentConnection() {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = gateway.Address();
        EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(send(fd, testsupport::kPreamble, sizeof testsupport::kPreamble - 1, MSG_NOSIGNAL),
                  static_cast<ssize_t>(sizeof testsupport::kPreamble - 1));
        EXPECT_TRUE(gateway.WaitForClient());
        return fd;
    }

    // Starts the program on the connection, handed over the way of the test;
    // the parent keeps no copy.
    void StartHandedOver(int fd) {
        if (GetParam() == Way::kInherited)
            return Start({"/SOCKET:" + std::to_string(fd)});
        const std::string path = dir.File("hand");
        const int listener = platform::ListenForHandOver(path);
        ASSERT_GE(listener, 0);
        std::atomic<bool> done{false};
        bool handed = false;
        clock.HoldWhile([&done] { return !done.load(); });
        std::thread parent([&] {
            handed = platform::HandOverSocket(listener, fd, CBasinSetupApp::kHandOverTime);
            close(fd);
            done = true;
        });
        Start({"/SOCKFILE:" + path});
        parent.join();
        clock.HoldWhile({});
        close(listener);
        EXPECT_TRUE(handed);
    }

    testsupport::TempDir dir;
};

TEST_P(HandedConnection, IsAdoptedWhenTheGatewayAnswersOnIt) {
    StartHandedOver(ParentConnection());
    EXPECT_TRUE(app->UsesInheritedSocket());
    ASSERT_TRUE(Connected());
    EXPECT_EQ(view.rows.at(0), "Controller Type\tCorvanta Pool/Spa");
    EXPECT_EQ(gateway.Connections(), 1);  // no connection of its own
    EXPECT_FALSE(dialog->IsSearchPending());
    // The viewer is the parent's business: no start button, hint or countdown.
    for (int id : {IDC_START_VIEWER, IDC_START_HINT, IDC_COUNTDOWN})
        EXPECT_FALSE(view.visible.at(id)) << id;
}

TEST_P(HandedConnection, IsClosedWhenTheGatewayDoesNotAnswerOnIt) {
    gateway.On(ZVM_SYSCONFIG_GETVERSIONQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    StartHandedOver(ParentConnection());
    EXPECT_FALSE(app->UsesInheritedSocket());
    // Ours alone by then: the gateway sees it go only when the program closes it.
    EXPECT_TRUE(gateway.WaitForDisconnect());
    EXPECT_TRUE(dialog->IsSearchPending());
}

INSTANTIATE_TEST_SUITE_P(Ways, HandedConnection, testing::Values(Way::kInherited, Way::kSocketFile),
                         [](const testing::TestParamInfo<Way>& info) { return std::string(NameOf(info.param)); });

// Parents that hand nothing over: the program waits no longer than its
// hand-over time and goes on as if started without a connection.
class NothingHandedOver : public bstest::SetupSession {
protected:
    void ExpectStartedWithout() {
        EXPECT_FALSE(app->UsesInheritedSocket());
        EXPECT_TRUE(dialog->IsSearchPending());
        EXPECT_EQ(gateway.Connections(), 0);
    }

    testsupport::TempDir dir;
};

TEST_F(NothingHandedOver, PathThatNobodyServes) {
    Start({"/SOCKFILE:" + dir.File("nobody")});
    ExpectStartedWithout();
}

TEST_F(NothingHandedOver, ParentThatNeverSends) {
    const int listener = platform::ListenForHandOver(dir.File("hand"));
    ASSERT_GE(listener, 0);
    Start({"/SOCKFILE:" + dir.File("hand")});
    ExpectStartedWithout();
    close(listener);
}

TEST_F(NothingHandedOver, ParentThatSendsNoSocket) {
    const int listener = platform::ListenForHandOver(dir.File("hand"));
    ASSERT_GE(listener, 0);
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    std::atomic<bool> done{false};
    clock.HoldWhile([&done] { return !done.load(); });
    std::thread parent([&] {
        platform::HandOverSocket(listener, pipe_ends[0], CBasinSetupApp::kHandOverTime);
        done = true;
    });
    Start({"/SOCKFILE:" + dir.File("hand")});
    parent.join();
    clock.HoldWhile({});
    ExpectStartedWithout();
    for (int fd : {listener, pipe_ends[0], pipe_ends[1]})
        close(fd);
}

}  // namespace
