#include "platform/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/program.h"
#include "support/temp_dir.h"

namespace {

class Settings : public testing::Test {
protected:
    Settings() { platform::SetProgramName("basinsetup"); }
    ~Settings() override { platform::SetProgramName(m_previousName); }

    std::string File() const { return m_dir.File("config/basinsetup.ini"); }

    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_config{"ZAVORO_CONFIG_DIR", (m_dir.Path() + "/config").c_str()};
};

TEST_F(Settings, ValuesRoundTripIntoTheProgramsFile) {
    std::string text;
    int32_t number = 5;
    EXPECT_FALSE(platform::ReadSettingString("ProgramDefaults", "BasePort", text));
    EXPECT_FALSE(platform::ReadSettingInt("ProgramDefaults", "BasePort", number));
    EXPECT_EQ(number, 5);

    ASSERT_TRUE(platform::WriteSettingInt("ProgramDefaults", "BasePort", 8080));
    ASSERT_TRUE(platform::WriteSettingString("UserInterface", "DefaultFont", " Liberation Sans = wide "));
    ASSERT_TRUE(platform::WriteSettingInt("ProgramDefaults", "Offset", -7));
    ASSERT_TRUE(platform::WriteSettingString("UserInterface", "Empty", ""));

    EXPECT_EQ(platform::GetSettingsFilePath(), File());
    EXPECT_EQ(testsupport::ReadFileText(File()),
              "[ProgramDefaults]\nBasePort=8080\nOffset=-7\n\n"
              "[UserInterface]\nDefaultFont= Liberation Sans = wide \nEmpty=\n");
    ASSERT_TRUE(platform::ReadSettingInt("programdefaults", "BASEPORT", number));
    EXPECT_EQ(number, 8080);
    ASSERT_TRUE(platform::ReadSettingString("UserInterface", "DefaultFont", text));
    EXPECT_EQ(text, " Liberation Sans = wide ");
    ASSERT_TRUE(platform::ReadSettingString("UserInterface", "Empty", text));
    EXPECT_EQ(text, "");

    ASSERT_TRUE(platform::WriteSettingInt("PROGRAMDEFAULTS", "baseport", 80));
    ASSERT_TRUE(platform::ReadSettingInt("ProgramDefaults", "BasePort", number));
    EXPECT_EQ(number, 80);
    // Only the file itself is left: the temporary files were renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path() + "/config"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(Settings, AHandEditedFileKeepsItsOtherLines) {
    std::filesystem::create_directory(m_dir.Path() + "/config");
    testsupport::WriteFileText(File(),
                               "; written by hand\r\n[UserInterface]\r\n  DefaultFont = Arial\r\n# Old=1\r\n\r\n"
                               "[Other]\r\nOld=2\r\n");
    std::string text;
    ASSERT_TRUE(platform::ReadSettingString("userinterface", "defaultfont", text));
    EXPECT_EQ(text, " Arial");
    EXPECT_FALSE(platform::ReadSettingString("UserInterface", "# Old", text));
    EXPECT_FALSE(platform::ReadSettingString("UserInterface", "Old", text));

    ASSERT_TRUE(platform::WriteSettingString("UserInterface", "Old", "3"));
    ASSERT_TRUE(platform::WriteSettingString("UserInterface", "DefaultFont", "Sans"));
    EXPECT_EQ(testsupport::ReadFileText(File()),
              "; written by hand\r\n[UserInterface]\r\nDefaultFont=Sans\r\n# Old=1\r\nOld=3\n\r\n[Other]\r\nOld=2\r\n");
}

TEST_F(Settings, AWriteLeavesTheFilesStructureAsItWas) {
    // "[T]" with a stray carriage return is no header, before and after a
    // write: the rewrite must not turn it into one.
    std::filesystem::create_directory(m_dir.Path() + "/config");
    testsupport::WriteFileText(File(), "[S]\nA=1\n[T]\r\r\nN=old\r\nx");
    std::string text;
    EXPECT_FALSE(platform::ReadSettingString("T", "N", text));
    ASSERT_TRUE(platform::ReadSettingString("S", "N", text));
    EXPECT_EQ(text, "old");
    ASSERT_TRUE(platform::WriteSettingString("S", "N", "new"));
    ASSERT_TRUE(platform::WriteSettingString("S", "B", "2"));
    EXPECT_FALSE(platform::ReadSettingString("T", "N", text));
    ASSERT_TRUE(platform::ReadSettingString("S", "N", text));
    EXPECT_EQ(text, "new");
    EXPECT_EQ(testsupport::ReadFileText(File()), "[S]\nA=1\n[T]\r\r\nN=new\r\nx\nB=2\n");
}

TEST_F(Settings, NumbersOutside32BitsOrMalformedReadAsMissing) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {" 42 ", true, 42},
        {"-2147483648", true, INT32_MIN},
        {"4294967295", true, -1},
        {"0x7fFFffFF", true, INT32_MAX},
        {"0x80000000", true, INT32_MIN},
        {"4294967296", false, 0},
        {"-2147483649", false, 0},
        {"0x100000000", false, 0},
        {"12a", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"0x", false, 0},
        {"99999999999", false, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platform::WriteSettingString("N", "V", c.text));
        int32_t value = 1234;
        EXPECT_EQ(platform::ReadSettingInt("N", "V", value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 1234) << c.text;
    }
}

TEST_F(Settings, KeysAndValuesTheFileCannotHoldAreRefused) {
    ASSERT_TRUE(platform::WriteSettingString("S", "Name", "kept"));
    const std::string before = testsupport::ReadFileText(File());
    EXPECT_FALSE(platform::WriteSettingString("", "Name", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S]", "Name", "x"));
    EXPECT_FALSE(platform::WriteSettingString(" S", "Name", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S", "", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S", "Na=me", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S", "[Name", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S", ";Name", "x"));
    EXPECT_FALSE(platform::WriteSettingString("S", "Name", "two\nlines"));
    EXPECT_FALSE(platform::WriteSettingString("S", "Name", std::string("nul\0", 4)));
    EXPECT_FALSE(platform::WriteSettingString("S\r", "Name", "x"));
    EXPECT_EQ(testsupport::ReadFileText(File()), before);
}

TEST_F(Settings, AnOversizedFileIsNeitherReadNorReplaced) {
    std::filesystem::create_directory(m_dir.Path() + "/config");
    std::string huge = "[S]\nName=1\n" + std::string(2 << 20, 'x');
    testsupport::WriteFileText(File(), huge);
    std::string text;
    EXPECT_FALSE(platform::ReadSettingString("S", "Name", text));
    EXPECT_FALSE(platform::WriteSettingString("S", "Name", "2"));
    EXPECT_EQ(testsupport::ReadFileText(File()).size(), huge.size());
}

mode_t FileMode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(Settings, ANewFileIsPrivateAndARewriteKeepsTheFilesMode) {
    ASSERT_TRUE(platform::WriteSettingString("Login", "Name", "x"));
    EXPECT_EQ(FileMode(File()), 0600u);

    for (mode_t mode : {0600u, 0640u, 0644u}) {
        ASSERT_EQ(chmod(File().c_str(), mode), 0);
        ASSERT_TRUE(platform::WriteSettingInt("Login", "Mode", static_cast<int32_t>(mode)));
        EXPECT_EQ(FileMode(File()), mode);
    }
}

TEST_F(Settings, ConcurrentWritersLoseNothing) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 10; ++i)
                platform::WriteSettingInt("T" + std::to_string(t), "V" + std::to_string(i), t * 100 + i);
        });
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 10; ++i) {
            int32_t value = -1;
            ASSERT_TRUE(platform::ReadSettingInt("T" + std::to_string(t), "V" + std::to_string(i), value));
            EXPECT_EQ(value, t * 100 + i);
        }
}

TEST(SettingsLocation, FallsBackThroughTheXdgDirectories) {
    testsupport::TempDir dir;
    testsupport::ScopedEnv own("ZAVORO_CONFIG_DIR", nullptr);
    testsupport::ScopedEnv home("HOME", dir.Path().c_str());
    const std::string name = platform::GetProgramName();
    {
        testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", (dir.Path() + "/xdg").c_str());
        EXPECT_EQ(platform::GetSettingsFilePath(), dir.Path() + "/xdg/zavoro/" + name + ".ini");
        ASSERT_TRUE(platform::WriteSettingInt("S", "N", 1));
        struct stat info {};
        EXPECT_EQ(stat((dir.Path() + "/xdg/zavoro/" + name + ".ini").c_str(), &info), 0);
    }
    {
        testsupport::ScopedEnv relative("XDG_CONFIG_HOME", "relative/path");
        EXPECT_EQ(platform::GetSettingsFilePath(), dir.Path() + "/.config/zavoro/" + name + ".ini");
    }
    testsupport::ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(platform::GetSettingsFilePath(), dir.Path() + "/.config/zavoro/" + name + ".ini");
}

}  // namespace
