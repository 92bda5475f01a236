#pragma once
// Comparison with a reviewed picture in tests/data/golden. When the picture
// differs (or is missing) the actual one is written beside it as
// <name>.actual.png, to be looked at and, once right, renamed over it.
#include <gtest/gtest.h>

#include <string>

#include "support/png_image.h"

namespace testsupport {

::testing::AssertionResult MatchesGolden(const Image565& actual, const std::string& name);

}  // namespace testsupport
