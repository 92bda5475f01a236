// Self-update: the files' names, the check that a download is a program of
// this machine, and whole runs of the tablet against the fake gateway in
// which a forced update replaces a program file of the test's folder with
// a small program that stands for the new tablet, or fails and leaves the
// old one in place.
#include "vistrel/shell/updatepage.h"

#include <elf.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

#include "core/messages/shellmessages.h"
#include "shell_fixture.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "support/wait.h"

namespace {

using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    chmod(path.c_str(), 0755);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

TEST(ProgramPaths, NamedByExtensionBesideTheProgram) {
    const CProgramPaths paths = GetProgramPaths("/opt/panel/vistrel");
    EXPECT_EQ(paths.program, "/opt/panel/vistrel");
    EXPECT_EQ(paths.download, "/opt/panel/vistrel.new");
    EXPECT_EQ(paths.old, "/opt/panel/vistrel.old");
}

TEST(ProgramPaths, OnlyAProgramOfThisMachineIsTaken) {
    testsupport::TempDir dir;
    const std::string running = ZV_FAKE_TABLET;
    const std::string elf = ReadFile(running);
    std::string otherMachine = elf;
    otherMachine[offsetof(Elf64_Ehdr, e_machine)] ^= 0x7F;
    std::string otherClass = elf;
    otherClass[EI_CLASS] = otherClass[EI_CLASS] == ELFCLASS64 ? ELFCLASS32 : ELFCLASS64;
    const struct {
        const char* name;
        std::string bytes;
        bool taken;
    } cases[] = {
        {"same", elf, true},
        {"text", "#!/bin/sh\necho new\n", false},
        {"empty", "", false},
        {"cut", elf.substr(0, 10), false},
        {"machine", otherMachine, false},
        {"class", otherClass, false},
    };
    for (const auto& c : cases) {
        WriteFile(dir.File(c.name), c.bytes);
        EXPECT_EQ(IsProgramOfThisMachine(dir.File(c.name), running), c.taken) << c.name;
    }
    EXPECT_FALSE(IsProgramOfThisMachine(dir.File("missing"), running));
}

// The gateway serves the new program in chunks of 64 KB.
std::vector<Frame> ServeProgram(const Frame& request, const std::string& bytes) {
    constexpr size_t kChunk = 65536;
    std::vector<Frame> frames;
    for (size_t at = 0; at == 0 || at < bytes.size(); at += kChunk) {
        const std::string piece = bytes.substr(at, kChunk);
        PayloadWriter chunk;
        chunk.Int(static_cast<int32_t>(bytes.size())).Int(static_cast<int32_t>(piece.size()));
        Bytes payload = chunk;
        payload.insert(payload.end(), piece.begin(), piece.end());
        frames.push_back({request.sender, ZVM_UPDATE_FILECHUNK, std::move(payload)});
        if (bytes.empty()) break;
    }
    return frames;
}

class SelfUpdateRun : public ::testing::Test {
protected:
    SelfUpdateRun() {
        testsupport::ServeSampleInstallation(gateway);
        WriteFile(Program(), kOldProgram);
        // The clock waits, for real, while the gateway answers and nothing has arrived yet (a
        // tablet with bytes to read is not held: it reads them, and the gateway can go on
        // sending), while the update request is on its way and while the new copy is starting.
        clock.HoldWhile([this] {
            return gateway.Owes() || (awaitingPage && !Readable()) || (Exists(Program() + ".old") && !Exists(Log()));
        });
    }
    ~SelfUpdateRun() override {
        clock.HoldWhile({});
        EndNewCopy();
    }
    bool Readable() {
        pollfd entry{socket.load(), POLLIN, 0};
        return poll(&entry, 1, 0) > 0;
    }
    std::string Program() { return environment.Folder() + "/vistrel"; }
    std::string Log() { return environment.Folder() + "/new-copy.log"; }
    // The new copy's lines: process id, arguments, handed password.
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(Log()));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    void EndNewCopy() {
        const std::vector<std::string> lines = LogLines();
        if (lines.empty()) return;
        const pid_t pid = std::stoi(lines[0]);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    // Runs the tablet and asks for the update at the first pass. The run ends
    // by itself once the update succeeded, or here a pass after it failed
    // (the picture of the page taken then), or after a minute of real time.
    int Run() {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        const std::vector<std::string> arguments = {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())};
        vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
            if (pass == 1) {
                socket = server.GetSocket()->GetHandle();
                awaitingPage = true;
                EXPECT_TRUE(gateway.Push(ZVM_SYSCONFIG_PREPAREUPDATE, {}));
            }
            auto* page = dynamic_cast<CUpdatePage*>(window.GetCurrentPage());
            if (!page) return std::chrono::steady_clock::now() > limit;
            awaitingPage = false;
            if (!page->HasRun()) return false;
            // After a success the tablet ends at its next pass, before this one comes.
            if (ranAt == 0) ranAt = pass;
            if (pass < ranAt + 2) return false;
            window.PaintAll();
            lastFrame = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
            failed = true;
            return true;
        });
        return TabletMain(arguments, host);
    }

    static constexpr char kOldProgram[] = "#!/bin/sh\n# the program before the update\n";
    vistreltest::ShellEnvironment environment;
    testsupport::ScopedEnv lockFolder{"XDG_RUNTIME_DIR", environment.Folder().c_str()};
    testsupport::ScopedEnv newCopyLog{"ZV_FAKE_TABLET_LOG", Log().c_str()};
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    testsupport::Image565 lastFrame;
    bool failed = false;  // the run ended with the page still there
    int ranAt = 0;        // the pass at which the update had run
    std::atomic<bool> awaitingPage{false};
    std::atomic<int> socket{-1};
};

TEST_F(SelfUpdateRun, TheNewProgramReplacesTheFileStartsWithTheConnectionAndOnlyThenTheTabletExits) {
    const std::string fresh = ReadFile(ZV_FAKE_TABLET);
    // The old program is of this machine too, and differs from the new one.
    WriteFile(Program(), ReadFile(ZV_FAKE_TABLET) + "old");
    const std::string before = ReadFile(Program());
    gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [&](const Frame& request) { return ServeProgram(request, fresh); });
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(failed);  // the tablet ended by itself
    EXPECT_EQ(ReadFile(Program()), fresh);
    EXPECT_EQ(ReadFile(Program() + ".old"), before);
    EXPECT_FALSE(Exists(Program() + ".new"));
    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "/IP:127.0.0.1 /PORT:" + std::to_string(gateway.Port()));
}

// Each failure leaves the old program in place, nothing half-written beside
// it, and the tablet running; the page tells what went wrong.
struct Failure {
    const char* name;
    bool served;               // the gateway answers the request at all
    const char* served_bytes;  // what it serves; null: the new program
    bool exitsAtOnce;          // the new program does not come up
};

class SelfUpdateFailure : public SelfUpdateRun, public ::testing::WithParamInterface<Failure> {};

TEST_P(SelfUpdateFailure, LeavesTheOldProgramInPlaceAndRunning) {
    const Failure failure = GetParam();
    WriteFile(Program(), ReadFile(ZV_FAKE_TABLET) + "old");
    const std::string before = ReadFile(Program());
    const std::string fresh = failure.served_bytes ? std::string(failure.served_bytes) : ReadFile(ZV_FAKE_TABLET);
    testsupport::ScopedEnv exits{"ZV_FAKE_TABLET_EXIT", failure.exitsAtOnce ? "1" : nullptr};
    if (failure.served)
        gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [&](const Frame& request) { return ServeProgram(request, fresh); });
    else
        gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [](const Frame&) { return std::vector<Frame>{}; });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(failed);  // still running after the update when the test ended it
    EXPECT_EQ(ReadFile(Program()), before);
    EXPECT_FALSE(Exists(Program() + ".new"));
    if (std::string(failure.name) == "silent")
        EXPECT_TRUE(testsupport::MatchesGolden(lastFrame, "vistrel_update_failed"));
}

INSTANTIATE_TEST_SUITE_P(Failures, SelfUpdateFailure,
                         ::testing::Values(Failure{"silent", false, nullptr, false}, Failure{"empty", true, "", false},
                                           Failure{"notaprogram", true, "not a program\n", false},
                                           Failure{"exitsatonce", true, nullptr, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelfUpdateStart, TheStartUpDeletesTheOldFileOnceItHoldsTheLock) {
    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    const std::string old = environment.Folder() + "/vistrel.old";
    WriteFile(old, "old");
    vistreltest::TestHost host(environment.Folder(), 800, 600, [](CMainWnd&, CZVServer&, int) { return true; });
    TabletMain({"/IP:127.0.0.1", "/PORT:1"}, host);
    EXPECT_FALSE(Exists(old));
}

}  // namespace
