#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "sentinax/launcher.h"
#include "sentinax/system.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace {

// The lines the stub program wrote, waiting for real (bounded) until there
// are `count` of them.
std::vector<std::string> StubLines(const std::string& log, size_t count) {
    std::vector<std::string> lines;
    testsupport::WaitUntil([&] {
        lines.clear();
        const std::string text = testsupport::ReadFileText(log);
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines.size() >= count;
    });
    return lines;
}

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() {
        system.adapterName = "Brenvik: 01-23-45";
        system.password = "pass word";
    }

    testsupport::TempDir dir;
    std::string log = dir.File("argv.txt");
    testsupport::ScopedEnv logEnv{"ZV_ARGV_STUB_LOG", log.c_str()};
    CSystem system;
};

TEST_F(LauncherTest, OlderGatewaysGoToBasinSetupWithTheFullAdapterName) {
    CProgramLauncher launcher(ZV_ARGV_STUB, dir.File("absent"));
    system.majorVersion = 4;
    EXPECT_EQ(launcher.ConnectToSystem(system), "");
    EXPECT_EQ(StubLines(log, 1),
              std::vector<std::string>{"/R\t/USER:Brenvik: 01-23-45\t/PASS:pass word\t/TITLE:Marquel"});
    EXPECT_EQ(launcher.GetRemoteAccessProcess(), -1) << "BasinSetup is never ended later";
}

TEST_F(LauncherTest, NewerGatewaysGoToRemoteAccessWhichEndsItsEarlierInstance) {
    testsupport::ScopedEnv wait{"ZV_ARGV_STUB_WAIT", "1"};
    CProgramLauncher launcher(dir.File("absent"), ZV_ARGV_STUB);
    system.majorVersion = 5;
    ASSERT_EQ(launcher.ConnectToSystem(system), "");
    const pid_t first = launcher.GetRemoteAccessProcess();
    ASSERT_GT(first, 0);
    StubLines(log, 1);
    ASSERT_EQ(launcher.ConnectToSystem(system), "");
    const pid_t second = launcher.GetRemoteAccessProcess();
    EXPECT_NE(second, first);
    EXPECT_NE(kill(first, 0), 0) << "the first instance has ended and been collected";
    EXPECT_EQ(StubLines(log, 2),
              std::vector<std::string>(2, "/R\t/USER:01-23-45\t/PASS:pass word\t/TITLE:Marquel"));
    kill(second, SIGKILL);
    waitpid(second, nullptr, 0);
}

TEST_F(LauncherTest, ProgramsThatCannotBeFoundGiveTheirMessages) {
    CProgramLauncher launcher(dir.File("absent"), dir.File("absent"));
    system.majorVersion = 4;
    EXPECT_EQ(launcher.ConnectToSystem(system), "Error Starting BASINSETUP.EXE");
    system.majorVersion = 5;
    EXPECT_EQ(launcher.ConnectToSystem(system),
              "ERROR: Can't find Marquel Connect.\nMay not be installed.\n(12,259,22)");
}

}  // namespace
