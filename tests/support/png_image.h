#pragma once
// RGB565 pictures to and from PNG files, for golden-image tests. Channels are
// widened by repeating their top bits, so a write and a read give back the
// same pixels.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Image565 {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;  // width x height, top row first
    bool operator==(const Image565&) const = default;
};

bool WritePng(const std::string& path, const Image565& image);
// False when the file is missing or not a PNG that libpng can read.
bool ReadPng(const std::string& path, Image565* image);

}  // namespace testsupport
