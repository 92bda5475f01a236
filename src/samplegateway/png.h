#pragma once
// Small PNG files made in code, for the pictures the sample gateway serves: 8-bit RGB rows in
// stored (uncompressed) deflate blocks, which any PNG reader takes.
#include <array>
#include <cstdint>
#include <functional>

#include "samplegateway/wire.h"

namespace samplegateway {

using Rgb = std::array<uint8_t, 3>;

// A width x height PNG file whose pixel at (x, y) has the colour the function gives.
Bytes MakePng(int width, int height, const std::function<Rgb(int x, int y)>& colour);

}  // namespace samplegateway
