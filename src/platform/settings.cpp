#include "platform/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/fileio.h"
#include "platform/program.h"

namespace platform {
namespace {

// A settings file is a few kilobytes; anything far larger is not one of ours.
constexpr off_t kMaxFileSize = 1 << 20;
constexpr mode_t kNewFileMode = 0600;

std::mutex g_fileMutex;
std::atomic<unsigned> g_tempCounter{0};

std::string SettingsDirectory() {
    const char* own = std::getenv("ZAVORO_CONFIG_DIR");
    if (own && *own)
        return own;
    std::string base = XdgDirectory("XDG_CONFIG_HOME", ".config");
    return base.empty() ? "" : base + "/zavoro";
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool HasAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

const std::string_view kLineBreaks("\r\n\0", 3);

bool IsValidKey(std::string_view key, std::string_view forbidden) {
    return !key.empty() && key == Trim(key) && !HasAny(key, kLineBreaks) && !HasAny(key, forbidden);
}

// The file as lines without their '\n'; nullopt when it exists but cannot
// be read whole, an empty list when it does not exist.
std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return lines;
        return std::nullopt;
    }
    struct stat info {};
    std::string text;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxFileSize;
    if (ok) {
        text.resize(static_cast<size_t>(info.st_size));
        ok = ReadFully(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    close(fd);
    if (!ok)
        return std::nullopt;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

// A line as read, without the '\r' of a CR LF line end. The lines themselves
// keep it, so that a rewrite leaves every line it does not change as it was.
std::string_view Content(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// "[Name]" gives Name.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return Trim(line.substr(1, line.size() - 2));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return line.empty() || line.front() == ';' || line.front() == '#';
}

// Where a value lives in the lines: the line of the section header and the
// line of the name, each npos when missing; end is the line after the last
// non-blank line of the section.
struct Place {
    size_t section = std::string::npos;
    size_t entry = std::string::npos;
    size_t end = std::string::npos;
};

Place Locate(const std::vector<std::string>& lines, std::string_view section, std::string_view name) {
    Place place;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Content(lines[i]);
        if (std::optional<std::string_view> header = SectionOf(line)) {
            if (place.section != std::string::npos)
                break;
            if (EqualNoCase(*header, section)) {
                place.section = i;
                place.end = i + 1;
            }
            continue;
        }
        if (place.section == std::string::npos)
            continue;
        if (!Trim(line).empty())
            place.end = i + 1;
        const size_t equals = line.find('=');
        if (place.entry == std::string::npos && !IsComment(line) && equals != std::string::npos &&
            EqualNoCase(Trim(line.substr(0, equals)), name))
            place.entry = i;
    }
    return place;
}

// The permission bits the replaced file had, so that a file the user narrowed
// stays narrow; a new file is private (see the header).
std::optional<mode_t> ModeFor(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return info.st_mode & 07777;
    if (errno == ENOENT)
        return kNewFileMode;
    return std::nullopt;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    const std::optional<mode_t> mode = ModeFor(path);
    if (!mode)
        return false;
    // A name of its own for each write, so that writers in other threads and processes never
    // share a temporary file.
    const std::string temp =
        path + "." + std::to_string(getpid()) + "." + std::to_string(g_tempCounter++) + ".tmp";
    return ReplaceFile(path, temp, mode, text);
}

std::optional<int32_t> ParseInt(std::string_view text) {
    text = Trim(text);
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > (base == 16 ? 8u : 10u))
        return std::nullopt;
    int64_t number = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                          : -1;
        if (digit < 0)
            return std::nullopt;
        number = number * base + digit;
    }
    if (negative)
        number = -number;
    if (number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

}  // namespace

std::string GetSettingsFilePath() {
    std::string directory = SettingsDirectory();
    return directory.empty() ? "" : directory + "/" + GetProgramName() + ".ini";
}

bool ReadSettingString(const std::string& section, const std::string& name, std::string& value) {
    std::string path = GetSettingsFilePath();
    if (path.empty())
        return false;
    std::lock_guard lock(g_fileMutex);
    std::optional<std::vector<std::string>> lines = ReadLines(path);
    if (!lines)
        return false;
    Place place = Locate(*lines, section, name);
    if (place.entry == std::string::npos)
        return false;
    const std::string_view line = Content((*lines)[place.entry]);
    value = line.substr(line.find('=') + 1);
    return true;
}

bool ReadSettingInt(const std::string& section, const std::string& name, int32_t& value) {
    std::string text;
    if (!ReadSettingString(section, name, text))
        return false;
    std::optional<int32_t> number = ParseInt(text);
    if (!number)
        return false;
    value = *number;
    return true;
}

bool WriteSettingString(const std::string& section, const std::string& name, const std::string& value) {
    if (!IsValidKey(section, "[]") || !IsValidKey(name, "=") || name[0] == '[' || name[0] == ';' ||
        name[0] == '#' || HasAny(value, kLineBreaks))
        return false;
    std::string directory = SettingsDirectory();
    if (!MakeDirectories(directory))
        return false;
    std::string path = GetSettingsFilePath();
    std::lock_guard lock(g_fileMutex);
    std::optional<std::vector<std::string>> lines = ReadLines(path);
    if (!lines)
        return false;
    Place place = Locate(*lines, section, name);
    std::string entry = name + "=" + value;
    if (place.entry != std::string::npos) {
        std::string& line = (*lines)[place.entry];
        line = entry + (line.size() > Content(line).size() ? "\r" : "");
    } else if (place.section != std::string::npos) {
        lines->insert(lines->begin() + static_cast<std::ptrdiff_t>(place.end), entry);
    } else {
        if (!lines->empty() && !Trim(Content(lines->back())).empty())
            lines->emplace_back();
        lines->push_back("[" + section + "]");
        lines->push_back(entry);
    }
    return WriteLines(path, *lines);
}

bool WriteSettingInt(const std::string& section, const std::string& name, int32_t value) {
    return WriteSettingString(section, name, std::to_string(value));
}

}  // namespace platform
