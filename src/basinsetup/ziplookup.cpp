#include "basinsetup/ziplookup.h"

#include <charconv>
#include <climits>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "platform/process.h"

namespace {

constexpr size_t kLongestLine = 127;
constexpr int kFirstZone = -12;
constexpr int kLastZone = 13;

bool Exists(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

// Like atoi: blanks, an optional sign, then digits up to the first other
// character; a value beyond int is refused rather than wrapped.
bool ReadWhole(std::string_view text, int& value) {
    text = SkipBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long long number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Like atof, but with '.' as the decimal point whatever the user's locale.
bool ReadFraction(std::string_view text, double& value) {
    text = SkipBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc();
}

// The line's comma-separated fields; fields[0] is the ZIP code.
int SplitFields(std::string_view line, std::string_view (&fields)[4]) {
    int count = 0;
    while (count < 4) {
        const size_t comma = line.find(',');
        fields[count++] = line.substr(0, comma);
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return count;
}

}  // namespace

std::string ShippedFilePath(const std::string& name) {
    const std::string beside = platform::GetExecutableDirectory() + "/" + name;
    const std::string shared = std::string(ZV_SHARE_DIR) + "/" + name;
    return Exists(beside) || !Exists(shared) ? beside : shared;
}

int LookupZipInFile(const std::string& path, int zip, double& latitude, double& longitude, int& zone) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return 0;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.size() > kLongestLine)
            continue;
        std::string_view fields[4];
        const int count = SplitFields(line, fields);
        int lineZip = 0;
        if (count < 2 || !ReadWhole(fields[0], lineZip) || lineZip != zip)
            continue;
        int lineZone = 0;
        double lineLatitude = 0, lineLongitude = 0;
        if (count < 4 || !ReadWhole(fields[1], lineZone) || lineZone < kFirstZone || lineZone > kLastZone ||
            !ReadFraction(fields[2], lineLatitude) || !ReadFraction(fields[3], lineLongitude))
            return 0;
        zone = lineZone;
        latitude = lineLatitude;
        longitude = -lineLongitude;
        return 1;
    }
    return 0;
}
