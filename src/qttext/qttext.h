#pragma once
// The system's 8-bit text is Windows-1252; Qt's strings are UTF-16. The Qt
// views convert through these two functions and no other way.
#include <QString>
#include <string>
#include <string_view>

namespace qttext {

QString FromCp1252(std::string_view text);

// Characters that Windows-1252 cannot show become '?', one per character.
std::string ToCp1252(const QString& text);

}  // namespace qttext
