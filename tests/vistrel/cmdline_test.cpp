#include "vistrel/shell/cmdline.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ParseDottedIpTakesOnlyFourOctets) {
    struct Case {
        const char* text;
        uint32_t address;
    } cases[] = {
        {"192.168.1.5", 0x0501A8C0},
        {"127.0.0.1", 0x0100007F},
        {"10.0.0.255", 0xFF00000A},
        {"999.1.1.1", 0},  // an octet above 255 does not spill into the next
        {"1.2.3", 0},
        {"1.2.3.4.5", 0},
        {"1..3.4", 0},
        {"a.b.c.d", 0},
        {"1.2.3.-4", 0},
        {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDottedIp(c.text), c.address) << c.text;
}

TEST(CommandLine, SwitchValues) {
    struct Case {
        Args args;
        const char* name;
        bool found;
        std::string value;
    } cases[] = {
        {{"/TITLE:Abc", "/IP:192.168.1.5"}, "/TITLE:", true, "Abc"},
        {{"/USER:pool   "}, "/USER:", true, "pool"},               // trailing blanks dropped
        {{"/SOCKFILE:/run/a/b"}, "/SOCKFILE:", true, "/run/a/b"},  // a value may hold '/'
        {{"/FULL"}, "/FULL", true, ""},
        {{"/FULLER"}, "/FULL", false, ""},  // a flag is the whole argument
        {{"/R"}, "/R", true, ""},
        {{"/Rx"}, "/R", false, ""},
        {{"/title:x"}, "/TITLE:", false, ""},           // case counts
        {{"/NAME:a", "/NAME:b"}, "/NAME:", true, "a"},  // the first counts
        {{"/NAME:a\r\nb"}, "/NAME:", true, "a"},
        {{"/NAME:" + std::string(300, 'n')}, "/NAME:", true, std::string(255, 'n')},
    };
    for (const Case& c : cases) {
        std::string value = "untouched";
        EXPECT_EQ(GetSwitchValue(c.args, c.name, &value), c.found) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
}

TEST(CommandLine, Options) {
    const CTabletOptions none = ParseTabletOptions({}, 81, 1024, 768);
    EXPECT_EQ(none.port, 81);
    EXPECT_EQ(none.width, 800);  // a larger screen gives 800 x 600
    EXPECT_EQ(none.height, 600);
    EXPECT_EQ(none.windowFlags, 0);
    EXPECT_EQ(none.socketHandle, -1);
    EXPECT_EQ(none.passwordDescriptor, -1);

    const CTabletOptions all = ParseTabletOptions(
        {"/NAME:Home", "/TITLE:" + std::string(70, 't'), "/IP:10.1.2.3", "/PORT:8080", "/FULL", "/EXIT", "/R",
         "/USER:u", "/PASS:p", "/PASSFD:3", "/SOCKET:7", "/WNDDX:640", "/WNDDY:480", "/WNDX:-5", "/WNDY:0"},
        80, 800, 480);
    EXPECT_EQ(all.name, "Home");
    EXPECT_EQ(all.title, std::string(63, 't'));
    EXPECT_EQ(all.address, 0x0302010Au);
    EXPECT_EQ(all.port, 8080);
    EXPECT_EQ(all.windowFlags, kWindowFullScreen | kWindowExitEntry | kWindowHeightGiven);
    EXPECT_TRUE(all.remote);
    EXPECT_EQ(all.userName, "u");
    EXPECT_EQ(all.password, "p");
    EXPECT_EQ(all.passwordDescriptor, 3);
    EXPECT_EQ(all.socketHandle, 7);
    EXPECT_EQ(all.width, 640);
    EXPECT_EQ(all.height, 480);
    EXPECT_EQ(all.x, -5);
    EXPECT_EQ(all.y, 0);
}

TEST(CommandLine, SwitchesThatOnlyCountWithOthersOrInRange) {
    struct Case {
        Args args;
        long socket;
        std::string socketFile;
        std::string user;
        uint16_t port;
        int width, height;
    } cases[] = {
        {{"/SOCKET:5", "/SOCKFILE:/s", "/USER:u"}, -1, "", "", 80, 800, 600},  // without /R
        {{"/R", "/SOCKET:-1", "/SOCKFILE:/s"}, -1, "/s", "", 80, 800, 600},
        {{"/R", "/SOCKET:5", "/SOCKFILE:/s"}, 5, "", "", 80, 800, 600},
        {{"/R", "/SOCKET:abc"}, -1, "", "", 80, 800, 600},  // not a number: none, not 0
        {{"/PORT:0"}, -1, "", "", 80, 800, 600},
        {{"/PORT:70000"}, -1, "", "", 80, 800, 600},  // not cut to 16 bits
        {{"/PORT:12x"}, -1, "", "", 80, 800, 600},
        {{"/WNDDY:300"}, -1, "", "", 80, 800, 600},  // height only with /WNDDX:
        {{"/WNDDX:0", "/WNDDY:300"}, -1, "", "", 80, 800, 300},
        {{"/WNDDX:-640", "/WNDDY:99999"}, -1, "", "", 80, 800, 600},  // no negative or huge surface
        {{"/WNDDX:4096"}, -1, "", "", 80, 4096, 600},
    };
    for (const Case& c : cases) {
        const CTabletOptions options = ParseTabletOptions(c.args, 80, 800, 600);
        EXPECT_EQ(options.socketHandle, c.socket) << c.args[0];
        EXPECT_EQ(options.socketFile, c.socketFile) << c.args[0];
        EXPECT_EQ(options.userName, c.user) << c.args[0];
        EXPECT_EQ(options.port, c.port) << c.args[0];
        EXPECT_EQ(options.width, c.width) << c.args[0];
        EXPECT_EQ(options.height, c.height) << c.args[0];
    }
}

class CommandFile : public ::testing::Test {
protected:
    std::string Write(const std::string& text) {
        const std::string path = dir.Path() + "/vistrel.cmd";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    testsupport::TempDir dir;
};

TEST_F(CommandFile, SplitsAtBlanksAndGroupsInQuotes) {
    EXPECT_EQ(SplitCommandFile("/IP:1.2.3.4\r\n  /TITLE:\"My Pool\" \"/NAME:a b\"\t/FULL"),
              (Args{"/IP:1.2.3.4", "/TITLE:My Pool", "/NAME:a b", "/FULL"}));
    EXPECT_EQ(SplitCommandFile(""), Args{});
    EXPECT_EQ(SplitCommandFile("\"\""), Args{""});
    EXPECT_EQ(SplitCommandFile("/TITLE:\"open"), Args{"/TITLE:open"});  // an open quote ends with the file
}

TEST_F(CommandFile, FollowsTheCommandLine) {
    const std::string path = Write("/IP:10.0.0.9 /NAME:File");
    const Args text = BuildCommandText({"/NAME:Line"}, path);
    EXPECT_EQ(text, (Args{"/NAME:Line", "/IP:10.0.0.9", "/NAME:File"}));
    std::string name;
    GetSwitchValue(text, "/NAME:", &name);
    EXPECT_EQ(name, "Line");
    EXPECT_EQ(BuildCommandText({"/FULL"}, dir.Path() + "/missing.cmd"), Args{"/FULL"});
}

TEST_F(CommandFile, FillsOnlyWhatTheLineLeft) {
    const std::string path = Write(std::string(30, 'x') + std::string(2000, 'y'));
    // 1000 characters of line: one blank, then 23 bytes of the file.
    Args text = BuildCommandText({std::string(1000, 'a')}, path);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[1], std::string(23, 'x'));
    // A full line takes nothing from the file, and a longer one is bounded too.
    text = BuildCommandText({std::string(1023, 'a')}, path);
    EXPECT_EQ(text.size(), 1u);
    text = BuildCommandText({std::string(600, 'a'), std::string(600, 'b')}, path);
    EXPECT_EQ(text.size(), 2u);  // the second argument no longer fits; the file fills the rest
    EXPECT_EQ(text[1].size(), 1023u - 600u);
}

}  // namespace
