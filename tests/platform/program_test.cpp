#include "platform/program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class ProgramFolder : public testing::Test {
protected:
    ~ProgramFolder() override { platform::SetProgramName(m_previousName); }

    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_home{"HOME", m_dir.Path().c_str()};
    testsupport::ScopedEnv m_data{"ZAVORO_DATA_DIR", nullptr};
    testsupport::ScopedEnv m_xdg{"XDG_DATA_HOME", nullptr};
};

TEST_F(ProgramFolder, NameDefaultsToTheExecutableAndRefusesPaths) {
    EXPECT_EQ(m_previousName, "platform_tests");
    for (const char* bad : {"", ".", "..", "a/b"}) EXPECT_FALSE(platform::SetProgramName(bad)) << bad;
    EXPECT_FALSE(platform::SetProgramName(std::string("a\0b", 3)));
    EXPECT_EQ(platform::GetProgramName(), "platform_tests");
    EXPECT_TRUE(platform::SetProgramName("sentinax"));
    EXPECT_EQ(platform::GetProgramName(), "sentinax");
}

TEST_F(ProgramFolder, IsCreatedOnFirstUseWhereTheEnvironmentSays) {
    platform::SetProgramName("vistrel");
    const std::string fallback = m_dir.Path() + "/.local/share/zavoro/vistrel";
    EXPECT_EQ(platform::GetProgramFolder(), fallback);
    EXPECT_EQ(ModeOf(fallback), 0700u);
    {
        testsupport::ScopedEnv xdg("XDG_DATA_HOME", (m_dir.Path() + "/xdg").c_str());
        EXPECT_EQ(platform::GetProgramFilePath("vistrel.dat"), m_dir.Path() + "/xdg/zavoro/vistrel/vistrel.dat");
        EXPECT_EQ(ModeOf(m_dir.Path() + "/xdg/zavoro/vistrel"), 0700u);
        testsupport::ScopedEnv own("ZAVORO_DATA_DIR", (m_dir.Path() + "/own").c_str());
        EXPECT_EQ(platform::GetProgramFolder(), m_dir.Path() + "/own/vistrel");
    }
    // A file where the folder should be: no folder, no path.
    testsupport::WriteFileText(m_dir.File("blocked"), "x");
    testsupport::ScopedEnv blocked("ZAVORO_DATA_DIR", m_dir.File("blocked").c_str());
    EXPECT_EQ(platform::GetProgramFolder(), "");
    EXPECT_EQ(platform::GetProgramFilePath("vistrel.dat"), "");
}

TEST_F(ProgramFolder, PrivateFilesAreOwnerOnlyEvenWhenTheyExisted) {
    const mode_t oldMask = umask(0);
    const std::string fresh = m_dir.File("fresh.dat");
    int fd = platform::OpenPrivateFile(fresh, O_WRONLY | O_CREAT | O_TRUNC);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(ModeOf(fresh), 0600u);

    const std::string wide = m_dir.File("wide.dat");
    testsupport::WriteFileText(wide, "old password");
    chmod(wide.c_str(), 0666);
    fd = platform::OpenPrivateFile(wide, O_WRONLY | O_CREAT | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "new", 3), 3);
    close(fd);
    umask(oldMask);
    EXPECT_EQ(ModeOf(wide), 0600u);
    EXPECT_EQ(testsupport::ReadFileText(wide), "new");
    EXPECT_EQ(platform::OpenPrivateFile(m_dir.File("missing/x.dat"), O_WRONLY | O_CREAT), -1);
}

}  // namespace
