#include "support/golden.h"

namespace testsupport {

::testing::AssertionResult MatchesGolden(const Image565& actual, const std::string& name) {
    const std::string base = std::string(ZV_TEST_DATA_DIR) + "/golden/" + name;
    Image565 expected;
    if (ReadPng(base + ".png", &expected) && expected == actual) return ::testing::AssertionSuccess();
    const std::string actualPath = base + ".actual.png";
    if (!WritePng(actualPath, actual))
        return ::testing::AssertionFailure() << name << " differs and " << actualPath << " cannot be written";
    return ::testing::AssertionFailure() << name << ".png differs; the actual picture is " << actualPath;
}

}  // namespace testsupport
