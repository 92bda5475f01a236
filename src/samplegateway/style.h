#pragma once
// The tablet's looks that the sample gateway can serve: the built-in unthemed style (the
// default), the themed one and the compact one, whose skin picture it makes itself.
#include <optional>
#include <string_view>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class House;

enum class Style { kPlain, kThemed, kCompact };

// The style of a name given on the command line: plain, themed or compact.
std::optional<Style> StyleNamed(std::string_view name);
// Turns the house's style answer to the style; false when the house has no style switches.
bool ApplyStyle(House& house, Style style);
// An 8-bit RGB PNG file of the pixels (three bytes each, rows top first).
Bytes EncodePng(int width, int height, const Bytes& rgb);
// The skin picture, a small PNG file: a diagonal blue-grey gradient.
Bytes SkinPicture();
// Answers requests for plain pictures (0x23A4) with the skin picture.
void ServeSkinPicture(Gateway& gateway);

}  // namespace samplegateway
