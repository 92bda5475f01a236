#pragma once
// Comparison with reviewed pictures, tests/data/golden/<name>.png. When the picture
// differs (or is missing) the actual one is written into the build folder, as
// golden/<name>.png there, to be looked at and, once right, copied over the reviewed one.
#include <gtest/gtest.h>

#include <string>

#include "gfx/dibdc.h"
#include "support/png_image.h"

namespace testsupport {

// The pixels of a surface, top row first.
Image565 ImageOf(CDibDC& surface);

::testing::AssertionResult MatchesGolden(const Image565& actual, const std::string& name);

}  // namespace testsupport
