#include "basinsetup/cmdline.h"

#include <gtest/gtest.h>

#include "basinsetup/bitutils.h"

namespace {

uint32_t Quad(int a, int b, int c, int d) {
    return static_cast<uint32_t>(a) | static_cast<uint32_t>(b) << 8 | static_cast<uint32_t>(c) << 16 |
           static_cast<uint32_t>(d) << 24;
}

struct LineCase {
    const char* name;
    std::vector<std::string> arguments;
    bool remote;
    std::string user;
    std::string password;
    long socket;
    std::string socketFile;
    uint32_t address;
    uint16_t port;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTable, ReadsTheSwitches) {
    const LineCase& c = GetParam();
    CCommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.remote, c.remote);
    EXPECT_EQ(line.userName, c.user);
    EXPECT_EQ(line.password, c.password);
    EXPECT_EQ(line.socketHandle, c.socket);
    EXPECT_EQ(line.socketFile, c.socketFile);
    EXPECT_EQ(line.address, c.address);
    EXPECT_EQ(line.basePort, c.port);
}

const std::string kLong128(128, 'x');

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLineTable,
    ::testing::Values(
        LineCase{"Nothing", {}, false, "", "", -1, "", 0, 80},
        LineCase{"Remote", {"/USER:pool", "/PASS:secret"}, true, "pool", "secret", -1, "", 0, 80},
        LineCase{"UserWithoutPassword", {"/USER:pool"}, false, "", "", -1, "", 0, 80},
        LineCase{"PasswordWithoutUser", {"/PASS:secret"}, false, "", "", -1, "", 0, 80},
        LineCase{"OuterBlanksGoInnerStays", {"/USER:  my pool ", "/PASS:  a b  "}, true, "my pool", "a b", -1, "", 0, 80},
        LineCase{"PasswordMayHoldSlash", {"/USER:x", "/PASS:a/b:c"}, true, "x", "a/b:c", -1, "", 0, 80},
        LineCase{"TooLongPasswordIsRefused", {"/USER:x", "/PASS:" + kLong128}, false, "", "", -1, "", 0, 80},
        LineCase{"LongestPasswordIsKept", {"/USER:x", "/PASS:" + kLong128.substr(1)}, true, "x", kLong128.substr(1), -1, "", 0, 80},
        LineCase{"SwitchNamesAreCaseSensitive", {"/user:x", "/pass:y", "/ip:1.2.3.4"}, false, "", "", -1, "", 0, 80},
        LineCase{"Address", {"/IP:10.0.0.7"}, false, "", "", -1, "", Quad(10, 0, 0, 7), 80},
        LineCase{"ShortAddress", {"/IP:10.0.7"}, false, "", "", -1, "", Quad(10, 0, 7, 0), 80},
        LineCase{"AddressAboveByteIsNone", {"/IP:10.0.300.7"}, false, "", "", -1, "", 0, 80},
        LineCase{"Port", {"/PORT:8080"}, false, "", "", -1, "", 0, 8080},
        LineCase{"PortZeroKeeps80", {"/PORT:0"}, false, "", "", -1, "", 0, 80},
        LineCase{"PortNotANumber", {"/PORT:http"}, false, "", "", -1, "", 0, 80},
        LineCase{"PortBeyond16Bits", {"/PORT:65616"}, false, "", "", -1, "", 0, 80},
        LineCase{"Socket", {"/SOCKET:12"}, false, "", "", 12, "", 0, 80},
        LineCase{"SocketHugeIsNone", {"/SOCKET:99999999999999999999"}, false, "", "", -1, "", 0, 80},
        LineCase{"SocketFile", {"/SOCKFILE:/run/user/1/hand over"}, false, "", "", -1, "/run/user/1/hand over", 0, 80},
        LineCase{"SocketBeatsSocketFile", {"/SOCKFILE:/tmp/s", "/SOCKET:5"}, false, "", "", 5, "", 0, 80},
        LineCase{"OverlongFileIsNone", {"/SOCKFILE:/" + std::string(300, 'f')}, false, "", "", -1, "", 0, 80}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SwitchValue, StopsAtLineBreakAndDropsTrailingBlanks) {
    std::string value = "untouched";
    EXPECT_TRUE(ExtractSwitchValue({"/SOCKFILE:/tmp/a b  \r\nrest"}, "/SOCKFILE:", value));
    EXPECT_EQ(value, "/tmp/a b");
    value = "untouched";
    EXPECT_FALSE(ExtractSwitchValue({"/OTHER:1"}, "/SOCKFILE:", value));
    EXPECT_EQ(value, "untouched");
}

TEST(Bits, ReadAndSet) {
    EXPECT_EQ(GetBit(0x05, 2), 1);
    EXPECT_EQ(GetBit(0x05, 1), 0);
    EXPECT_EQ(GetBit(0xFF, 8), 0);
    uint8_t byte = 0x04;
    SetBit(byte, 0, 1);
    EXPECT_EQ(byte, 0x05);
    SetBit(byte, 2, 0);
    EXPECT_EQ(byte, 0x01);
    SetBit(byte, 9, 1);
    EXPECT_EQ(byte, 0x01);
}

struct HostCase {
    const char* text;
    int ok;
    uint32_t address;
    uint16_t port;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class HostPortTable : public ::testing::TestWithParam<HostCase> {};

TEST_P(HostPortTable, Parses) {
    const HostCase& c = GetParam();
    uint32_t address = 0xDEADBEEF;
    uint16_t port = 1;
    EXPECT_EQ(ParseHostPort(c.text, address, port), c.ok);
    EXPECT_EQ(address, c.ok ? c.address : 0xDEADBEEF);
    EXPECT_EQ(port, c.ok ? c.port : 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, HostPortTable,
                         ::testing::Values(HostCase{"10.1.2.3:2525", 1, Quad(10, 1, 2, 3), 2525},
                                           HostCase{"10.1.2.3", 1, Quad(10, 1, 2, 3), 80},
                                           HostCase{"10.1.2.3:25x", 1, Quad(10, 1, 2, 3), 25},
                                           HostCase{"0.0.0.0:80", 0, 0, 0},
                                           HostCase{"mail.example.com", 0, 0, 0},
                                           HostCase{"10.1.2.3:70000", 0, 0, 0},
                                           HostCase{"10.1.2.3:", 0, 0, 0},
                                           HostCase{"1.2.3.4.5", 1, Quad(1, 2, 3, 4), 80},
                                           HostCase{"-1.2.3.4", 0, 0, 0}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
