#include "support/golden.h"

#include <filesystem>

namespace testsupport {

Image565 ImageOf(CDibDC& surface) {
    Image565 image;
    image.width = surface.GetRequestedWidth();
    image.height = surface.GetHeight();
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.pixels.push_back(*surface.GetPixelAddress(x, y));
    return image;
}

::testing::AssertionResult MatchesGolden(const Image565& actual, const std::string& name) {
    const std::string expectedPath = std::string(ZV_TEST_DATA_DIR) + "/golden/" + name + ".png";
    const std::string actualPath = std::string(ZV_GOLDEN_OUTPUT_DIR) + "/" + name + ".png";
    Image565 expected;
    std::error_code error;
    if (ReadPng(expectedPath, &expected) && expected == actual) {
        std::filesystem::remove(actualPath, error);  // a picture left by an earlier failure
        return ::testing::AssertionSuccess();
    }
    std::filesystem::create_directories(ZV_GOLDEN_OUTPUT_DIR, error);
    if (!WritePng(actualPath, actual))
        return ::testing::AssertionFailure() << name << " differs from " << expectedPath << " and " << actualPath
                                             << " cannot be written";
    return ::testing::AssertionFailure() << name << " differs from " << expectedPath << "; the actual picture is "
                                         << actualPath;
}

}  // namespace testsupport
