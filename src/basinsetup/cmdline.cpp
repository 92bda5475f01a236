#include "basinsetup/cmdline.h"

#include <cctype>

#include "basinsetup/bitutils.h"

namespace {

bool FindSwitch(const std::vector<std::string>& arguments, const std::string& name, std::string& rest) {
    for (const std::string& argument : arguments) {
        if (argument.compare(0, name.size(), name) == 0) {
            rest = argument.substr(name.size());
            return true;
        }
    }
    return false;
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Leading decimal digits as a number up to limit; -1 when there are none or
// the number is larger.
long LeadingNumber(const std::string& text, long limit) {
    long value = 0;
    size_t at = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > limit)
            return -1;
    }
    return at == 0 ? -1 : value;
}

}  // namespace

bool ExtractCredential(const std::vector<std::string>& arguments, const std::string& name, std::string& value) {
    std::string rest;
    if (!FindSwitch(arguments, name, rest))
        return false;
    size_t first = 0, last = rest.size();
    while (first < last && IsSpace(rest[first]))
        ++first;
    while (last > first && IsSpace(rest[last - 1]))
        --last;
    if (first == last || last - first > kMaxCredentialLength)
        return false;
    value = rest.substr(first, last - first);
    return true;
}

bool ExtractSwitchValue(const std::vector<std::string>& arguments, const std::string& name, std::string& value) {
    std::string rest;
    if (!FindSwitch(arguments, name, rest))
        return false;
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
        rest.pop_back();
    if (rest.size() > kMaxSwitchValueLength)
        return false;
    value = rest;
    return true;
}

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CCommandLine line;
    std::string text;
    if (ExtractSwitchValue(arguments, "/IP:", text))
        line.address = ParseDottedQuad(text);
    if (ExtractSwitchValue(arguments, "/PORT:", text)) {
        long port = LeadingNumber(text, 65535);
        if (port > 0)
            line.basePort = static_cast<uint16_t>(port);
    }
    if (ExtractSwitchValue(arguments, "/SOCKET:", text))
        line.socketHandle = LeadingNumber(text, 0x7FFFFFFF);
    if (line.socketHandle < 0 && ExtractSwitchValue(arguments, "/SOCKFILE:", text))
        line.socketFile = text;
    std::string user, password;
    if (ExtractCredential(arguments, "/USER:", user) && ExtractCredential(arguments, "/PASS:", password)) {
        line.remote = true;
        line.userName = user;
        line.password = password;
    }
    return line;
}
