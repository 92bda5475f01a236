#pragma once
// The tablet's command line: "/NAME:value" switches, one per argument, each
// value running to the end of its argument (so a path may hold '/'). The
// command file beside the program (vistrel.cmd) adds the same switches,
// separated by white space, double quotes grouping; the command line comes
// first, so its switches win.
#include <cstdint>
#include <string>
#include <vector>

// The command text holds at most this many characters, blanks between the
// arguments counted; the command file only fills what the line left.
inline constexpr size_t kCommandTextLimit = 1024;
// Longest switch value kept; a longer one is cut.
inline constexpr size_t kSwitchValueLimit = 255;
inline constexpr size_t kTitleLimit = 63;
// Largest window side taken from "/WNDDX:" and "/WNDDY:", and the largest
// distance taken from "/WNDX:" and "/WNDY:".
inline constexpr int kWindowSideLimit = 4096;

// Window flags.
enum : int {
    kWindowFullScreen = 0x1,
    kWindowExitEntry = 0x2,
    kWindowHeightGiven = 0x4,
};

// The command file's switches: white space separates, a pair of double
// quotes groups (the quotes themselves are dropped).
std::vector<std::string> SplitCommandFile(const std::string& text);

// The command line's arguments, then those of the command file at `path`
// (when it can be read and the line left room: at most kCommandTextLimit - 1
// characters of text in all, one blank before the file's part).
std::vector<std::string> BuildCommandText(const std::vector<std::string>& arguments, const std::string& path);

// The first argument that carries the switch. A switch ending in ':' takes
// the rest of its argument as value, up to a line end, cut to
// kSwitchValueLimit characters, trailing blanks dropped; any other switch
// must be the whole argument and has an empty value.
bool GetSwitchValue(const std::vector<std::string>& arguments, const std::string& name, std::string* value);

// a.b.c.d with a in the low byte (network order); 0 when the text is not
// four decimal numbers of 0 to 255 separated by dots.
uint32_t ParseDottedIp(const std::string& text);

struct CTabletOptions {
    std::string name;               // "/NAME:"
    std::string title;              // "/TITLE:", at most kTitleLimit characters
    uint32_t address = 0;           // "/IP:", network order; 0 none
    uint16_t port = 80;             // default port, then "/PORT:" when it is 1 to 65535
    int windowFlags = 0;            // "/FULL", "/EXIT", "/WNDDY:"
    bool remote = false;            // "/R"; only then the next four count
    std::string userName;           // "/USER:"
    std::string password;           // "/PASS:"
    long passwordDescriptor = -1;   // "/PASSFD:": the password is read from it
    long socketHandle = -1;         // "/SOCKET:"
    std::string socketFile;         // "/SOCKFILE:" when "/SOCKET:" gives none
    int x = 0, y = 0;               // "/WNDX:", "/WNDY:"
    int width = 800, height = 600;  // the screen capped at 800 x 600, or "/WNDDX:" and "/WNDDY:"
};

// The switches over the defaults: the default port and the screen size.
CTabletOptions ParseTabletOptions(const std::vector<std::string>& arguments, uint16_t defaultPort, int screenWidth,
                                  int screenHeight);
