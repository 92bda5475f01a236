#include "qttext/qttext.h"

#include "platform/cp1252.h"

namespace qttext {

QString FromCp1252(std::string_view text) { return QString::fromStdU16String(platform::Cp1252ToUtf16(text)); }

std::string ToCp1252(const QString& text) { return platform::Utf16ToCp1252(text.toStdU16String()); }

}  // namespace qttext
