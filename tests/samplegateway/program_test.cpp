// The samplegateway program end to end: started on an ephemeral loopback port, logged in to
// with the core's connection manager, asked for a scripted answer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "core/zvquery.h"
#include "core/zvserver.h"
#include "core/zvsock.h"
#include "gateway_session.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

constexpr uint16_t kVersionRequest = 0x1FB8;
constexpr int kRealWaitMs = 10000;

// The program as a child process, its output read through pipes; killed when the object goes.
class Program {
public:
    explicit Program(std::vector<std::string> arguments) {
        int out[2], err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(ZV_SAMPLEGATEWAY)};
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        m_out = out[0];
        m_err = err[0];
    }
    ~Program() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_out);
        close(m_err);
    }

    // The first line of standard output, waited for.
    std::string OutputLine() { return ReadUntil(m_out, true); }
    // Everything written to standard error until the program ends, and its exit code (-1 when
    // it does not end in time).
    int Finish(std::string* error) {
        *error = ReadUntil(m_err, false);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRealWaitMs);
        int status = 0;
        while (waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) return -1;
            usleep(1000);
        }
        m_exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Interrupts the program and waits for its end.
    int Interrupt() {
        kill(m_pid, SIGINT);
        std::string ignored;
        return Finish(&ignored);
    }

private:
    static std::string ReadUntil(int fd, bool line) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRealWaitMs);
        while (std::chrono::steady_clock::now() < deadline && !(line && text.find('\n') != std::string::npos)) {
            pollfd entry{fd, POLLIN, 0};
            if (poll(&entry, 1, 10) <= 0) continue;
            char buffer[256];
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            text.append(buffer, static_cast<size_t>(got));
        }
        return line ? text.substr(0, text.find('\n')) : text;
    }

    pid_t m_pid = -1;
    bool m_exited = false;
    int m_out = -1;
    int m_err = -1;
};

// The port of the banner "Sample gateway on 127.0.0.1 port <port>"; 0 without one.
uint16_t PortOf(const std::string& banner) {
    std::smatch match;
    if (!std::regex_match(banner, match, std::regex("Sample gateway on 127\\.0\\.0\\.1 port ([0-9]+)"))) return 0;
    return static_cast<uint16_t>(std::stoi(match[1]));
}

TEST(SampleGatewayProgram, ServesTheSampleHouseBesideIt) {
    Program program({});
    const uint16_t port = PortOf(program.OutputLine());
    ASSERT_NE(port, 0);

    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    sockaddr_in address{};
    MakeSockAddr(&address, 127, 0, 0, 1, port);
    server.SetGatewayAddress(address);
    server.SetReconnect(1);
    clock.Advance(CZVServer::kReconnectInterval);
    server.PollAll();
    ASSERT_TRUE(server.IsConnected());
    // The login's answer arrives and is taken; the program answers then what it is asked.
    CZVSocket* socket = server.GetSocket();
    ASSERT_TRUE(
        testsupport::PollAllUntil(server, [socket] { return socket->GetBytesReceived() > 0 && !socket->HasData(); }));
    clock.HoldWhile([socket] {
        pollfd entry{socket->GetHandle(), POLLIN, 0};
        return poll(&entry, 1, 0) <= 0;
    });
    CZVQuery query(server);
    std::string version;
    EXPECT_TRUE(query.QueryString(version, kVersionRequest));
    EXPECT_EQ(version, "4.1 Build 612.0 Rel");
    clock.HoldWhile({});

    EXPECT_EQ(program.Interrupt(), 0);
}

TEST(SampleGatewayProgram, ServesTheHouseItIsGiven) {
    testsupport::TempDir dir;
    testsupport::WriteFileText(dir.File("house.ini"), "[answer 0x1FB8]\nstring \"9.9\"\n");
    Program program({"--house", dir.File("house.ini")});
    EXPECT_NE(PortOf(program.OutputLine()), 0);
    EXPECT_EQ(program.Interrupt(), 0);
}

TEST(SampleGatewayProgram, RefusesWhatItCannotServe) {
    testsupport::TempDir dir;
    testsupport::WriteFileText(dir.File("bad.ini"), "[answer 1]\n\nlist l u8\n");
    testsupport::WriteFileText(dir.File("plain.ini"), "[answer 0x258B]\ni32 2\n");
    const std::string kUsage =
        "usage: samplegateway [--house <file>] [--style plain|themed|compact] [--home full|cameras|climate] "
        "[--update <file>]\n";
    struct Case {
        std::vector<std::string> arguments;
        int code;
        std::string error;
    } cases[] = {
        {{"--house", dir.File("bad.ini")},
         1,
         "samplegateway: " + dir.File("bad.ini") + ":3: list \"l\" without its end\n"},
        {{"--house", dir.File("none.ini")}, 1, "samplegateway: " + dir.File("none.ini") + ": cannot be opened\n"},
        {{"--house"}, 2, kUsage},
        {{"--port", "80"}, 2, kUsage},
        {{"--style", "glossy"}, 2, kUsage},
        {{"--home", "garden"}, 2, kUsage},
        {{"--house", dir.File("plain.ini"), "--home", "cameras"},
         1,
         "samplegateway: " + dir.File("plain.ini") + " has no cameras' home page\n"},
        {{"--house", dir.File("plain.ini"), "--home", "climate"},
         1,
         "samplegateway: " + dir.File("plain.ini") + " has no climate home page\n"},
        {{"--house", dir.File("plain.ini"), "--style", "themed"},
         1,
         "samplegateway: " + dir.File("plain.ini") + " has no style answer to change\n"},
    };
    for (Case& c : cases) {
        Program program(c.arguments);
        std::string error;
        EXPECT_EQ(program.Finish(&error), c.code) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
