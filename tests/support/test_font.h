#pragma once
// The font file that drawing tests pin (platform::PinFontFile), so that text measures
// and pictures are the same on every machine: Liberation Sans Regular, as fontconfig
// found it when the build was configured.
namespace testsupport {

inline constexpr const char* kTestFontFile = ZV_TEST_FONT_FILE;

}  // namespace testsupport
