#pragma once
// The program's settings: a value <Name> of section <Section> lives in the INI
// file <program>.ini, as the line "Name=value" under "[Section]". The file is
// in $ZAVORO_CONFIG_DIR when that variable is set, else in
// $XDG_CONFIG_HOME/zavoro, else in ~/.config/zavoro. Sections and names match
// without regard to ASCII case; a value runs from after the '=' to the end of
// its line, exactly as written. Comments and other lines of a hand-edited
// file are kept by a write. Safe to call from any thread.
#include <cstdint>
#include <string>

namespace platform {

// The file of the running program (GetProgramName); empty when no
// directory is known.
std::string GetSettingsFilePath();

// False when the file, the section or the name is missing, or the file cannot
// be read; the value is then untouched.
bool ReadSettingString(const std::string& section, const std::string& name, std::string& value);
// A decimal number (signed, or unsigned up to 4294967295) or 0x and hex
// digits; anything else, or a number outside 32 bits, reads as missing.
bool ReadSettingInt(const std::string& section, const std::string& name, int32_t& value);

// Adds or replaces the value. The whole file is written anew beside the old
// one and renamed over it, so a reader never sees half a file; it keeps the
// permission bits of the file it replaces. A new file is made with mode
// 0600, since a program may keep a password among its settings. Fails for a
// section or name that the file cannot hold (empty, holding a line break,
// ']' in a section, '=' in a name, leading or trailing blanks), for a value
// holding a line break or '\0', and when the directory or file cannot be
// written; nothing is changed then.
bool WriteSettingString(const std::string& section, const std::string& name, const std::string& value);
bool WriteSettingInt(const std::string& section, const std::string& name, int32_t value);

}  // namespace platform
