#pragma once
// The configuration program's command line: "/NAME:value" switches, one per
// argument, each value running to the end of its argument. Switch names are
// matched case-sensitively at the start of an argument; the first argument
// that carries a switch counts.
#include <cstdint>
#include <string>
#include <vector>

// Longest value taken; a longer one counts as if the switch were absent.
inline constexpr size_t kMaxCredentialLength = 127;
inline constexpr size_t kMaxSwitchValueLength = 255;

// The value of a user name or password: outer white space dropped, anything
// else (a '/' included) kept. False when the switch is absent, the value is
// empty or longer than kMaxCredentialLength.
bool ExtractCredential(const std::vector<std::string>& arguments, const std::string& name, std::string& value);

// The value as written, up to a carriage return or line feed, trailing
// blanks dropped. False when the switch is absent or the value is longer
// than kMaxSwitchValueLength.
bool ExtractSwitchValue(const std::vector<std::string>& arguments, const std::string& name, std::string& value);

struct CCommandLine {
    std::string userName;
    std::string password;
    bool remote = false;         // "/USER:" and "/PASS:" together
    long socketHandle = -1;      // "/SOCKET:"
    std::string socketFile;      // "/SOCKFILE:", only without "/SOCKET:"
    uint32_t address = 0;        // "/IP:", network order; 0 when absent
    uint16_t basePort = 80;      // "/PORT:" when it is 1 to 65535
};

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments);
