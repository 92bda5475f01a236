#pragma once
// The system's 8-bit texts in and out of Qt.
#include <QString>
#include <string>

#include "platform/cp1252.h"

inline QString FromWire(const std::string& text) { return QString::fromStdU16String(platform::Cp1252ToUtf16(text)); }
inline std::string ToWire(const QString& text) { return platform::Utf16ToCp1252(text.toStdU16String()); }
