#include "gfx/zvregistry.h"

#include <unistd.h>

#include <cstdint>

#include "platform/settings.h"

namespace {

// The 8-bit text of a string; false when it has no 8-bit form.
bool AnsiText(CZVString& text, std::string* out) {
    if (!text.ToAnsi())
        return false;
    *out = text.GetAnsi();
    return true;
}

}  // namespace

CZVRegistry::CZVRegistry(CZVString section) { AnsiText(section, &m_section); }

int CZVRegistry::Open(bool read) {
    const std::string path = platform::GetSettingsFilePath();
    if (path.empty())
        return 0;
    return !read || access(path.c_str(), R_OK) == 0;
}

int CZVRegistry::ReadString(CZVString name, CZVString* value) {
    std::string key, text;
    if (!value || !AnsiText(name, &key) || !Open(true) ||
        !platform::ReadSettingString(m_section, key, text))
        return 0;
    CZVString read(value->GetKind());
    read = text.c_str();
    if (read.GetLength() != static_cast<int>(text.size()))
        return 0;  // longer than a string can hold
    *value = read;
    return 1;
}

int CZVRegistry::ReadDword(CZVString name, int* value) {
    std::string key;
    int32_t number = 0;
    if (!value || !AnsiText(name, &key) || !Open(true) ||
        !platform::ReadSettingInt(m_section, key, number))
        return 0;
    *value = number;
    return 1;
}

int CZVRegistry::WriteString(CZVString name, CZVString value) {
    std::string key, text;
    if (!AnsiText(name, &key) || !AnsiText(value, &text) || !Open(false))
        return 0;
    return platform::WriteSettingString(m_section, key, text) ? 1 : 0;
}
