#pragma once
// Control definitions as the gateway sends them for pages and panels, written
// independently of the tablet's reader: type, id, text, rectangle in page
// units, two colours as red, green, blue ints, eight attribute bytes and
// four reserved ones, a second text and a value.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gateway_wire.h"

namespace testsupport {

struct Rgb {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};

struct ControlRecord {
    int32_t type = 100;
    int32_t id = 0;
    std::string text;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 1;
    int32_t height = 1;
    Rgb textColor;
    Rgb faceColor;
    // Font size, text format, smooth text, bevel type, corner radius, bevel,
    // margin, parameter.
    std::array<int8_t, 8> attributes = {};
    std::string text2;
    int32_t value = 0;
};

void WriteControl(PayloadWriter& out, const ControlRecord& record);
// A count, then the records.
Bytes ControlList(const std::vector<ControlRecord>& records);

// A band of a page, in page units.
struct SectionRecord {
    int32_t top;
    int32_t bottom;
    Rgb colour;  // 0: the page's face, darkened
};

// The section answer: a count, then top, bottom and colour of each band.
Bytes SectionList(const std::vector<SectionRecord>& sections);

}  // namespace testsupport
