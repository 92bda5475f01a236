#include "vistrel/shell/cmdline.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Reads at most `limit` bytes of the file; empty when it cannot be read.
std::string ReadFilePrefix(const std::string& path, size_t limit) {
    std::string text;
    if (path.empty() || limit == 0) return text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    text.resize(limit);
    size_t got = 0;
    while (got < limit) {
        const ssize_t n = read(fd, text.data() + got, limit - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    text.resize(got);
    return text;
}

// A whole decimal number, optionally negative, within [low, high].
bool ParseNumber(const std::string& text, long low, long high, long* value) {
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) at = 1;
    if (at == text.size()) return false;
    long number = 0;
    for (; at < text.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(text[at]))) return false;
        number = number * 10 + (text[at] - '0');
        if (number > high + 1 && number > -low + 1) return false;
    }
    if (negative) number = -number;
    if (number < low || number > high) return false;
    *value = number;
    return true;
}

bool SwitchNumber(const std::vector<std::string>& arguments, const char* name, long low, long high, long* value) {
    std::string text;
    return GetSwitchValue(arguments, name, &text) && ParseNumber(text, low, high, value);
}

}  // namespace

std::vector<std::string> SplitCommandFile(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && IsBlank(c)) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::vector<std::string> BuildCommandText(const std::vector<std::string>& arguments, const std::string& path) {
    std::vector<std::string> text;
    size_t used = 0;
    for (const std::string& argument : arguments) {
        const size_t blank = text.empty() ? 0 : 1;
        if (used + blank + argument.size() > kCommandTextLimit) break;
        used += blank + argument.size();
        text.push_back(argument);
    }
    // One blank goes before the file's part.
    if (used + 1 >= kCommandTextLimit) return text;
    for (std::string& word : SplitCommandFile(ReadFilePrefix(path, kCommandTextLimit - 1 - used)))
        text.push_back(std::move(word));
    return text;
}

bool GetSwitchValue(const std::vector<std::string>& arguments, const std::string& name, std::string* value) {
    const bool takesValue = !name.empty() && name.back() == ':';
    for (const std::string& argument : arguments) {
        if (takesValue ? argument.compare(0, name.size(), name) != 0 : argument != name) continue;
        std::string rest = argument.substr(name.size());
        rest = rest.substr(0, rest.find_first_of("\r\n"));
        if (rest.size() > kSwitchValueLimit) rest.resize(kSwitchValueLimit);
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
        if (value) *value = rest;
        return true;
    }
    if (value) value->clear();
    return false;
}

uint32_t ParseDottedIp(const std::string& text) {
    uint32_t address = 0;
    size_t start = 0;
    for (int octet = 0; octet < 4; ++octet) {
        const size_t end = octet < 3 ? text.find('.', start) : text.size();
        if (end == std::string::npos || end == start || end - start > 3) return 0;
        long part = 0;
        if (!ParseNumber(text.substr(start, end - start), 0, 255, &part)) return 0;
        address |= static_cast<uint32_t>(part) << (8 * octet);
        start = end + 1;
    }
    return address;
}

CTabletOptions ParseTabletOptions(const std::vector<std::string>& arguments, uint16_t defaultPort, int screenWidth,
                                  int screenHeight) {
    CTabletOptions options;
    std::string text;
    long number = 0;
    GetSwitchValue(arguments, "/NAME:", &options.name);
    if (GetSwitchValue(arguments, "/TITLE:", &options.title) && options.title.size() > kTitleLimit)
        options.title.resize(kTitleLimit);
    if (GetSwitchValue(arguments, "/IP:", &text)) options.address = ParseDottedIp(text);
    options.port = defaultPort;
    if (SwitchNumber(arguments, "/PORT:", 1, 65535, &number)) options.port = static_cast<uint16_t>(number);
    if (GetSwitchValue(arguments, "/FULL", nullptr)) options.windowFlags |= kWindowFullScreen;
    if (GetSwitchValue(arguments, "/EXIT", nullptr)) options.windowFlags |= kWindowExitEntry;
    if (GetSwitchValue(arguments, "/R", nullptr)) {
        options.remote = true;
        GetSwitchValue(arguments, "/USER:", &options.userName);
        GetSwitchValue(arguments, "/PASS:", &options.password);
        if (SwitchNumber(arguments, "/PASSFD:", 0, 0x7FFFFFFF, &number)) options.passwordDescriptor = number;
        if (SwitchNumber(arguments, "/SOCKET:", -1, 0x7FFFFFFF, &number)) options.socketHandle = number;
        if (options.socketHandle == -1) GetSwitchValue(arguments, "/SOCKFILE:", &options.socketFile);
    }
    options.width = screenWidth;
    options.height = screenHeight;
    if (options.width > 800 || options.height > 600 || options.width <= 0 || options.height <= 0) {
        options.width = 800;
        options.height = 600;
    }
    if (GetSwitchValue(arguments, "/WNDDX:", nullptr)) {
        if (SwitchNumber(arguments, "/WNDDX:", 1, kWindowSideLimit, &number)) options.width = static_cast<int>(number);
        if (SwitchNumber(arguments, "/WNDDY:", 1, kWindowSideLimit, &number)) {
            options.height = static_cast<int>(number);
            options.windowFlags |= kWindowHeightGiven;
        }
    }
    if (SwitchNumber(arguments, "/WNDX:", -kWindowSideLimit, kWindowSideLimit, &number))
        options.x = static_cast<int>(number);
    if (SwitchNumber(arguments, "/WNDY:", -kWindowSideLimit, kWindowSideLimit, &number))
        options.y = static_cast<int>(number);
    return options;
}
