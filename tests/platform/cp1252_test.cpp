#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    std::u16string wide = platform::Cp1252ToUtf16(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(platform::Utf16ToCp1252(wide), all);
}

TEST(Cp1252, MapsTheHighControlsToTheirCharacters) {
    EXPECT_EQ(platform::Cp1252ToUtf16("\x80\x93\x9F\xE9"), u"\u20AC\u201C\u0178\u00E9");
    EXPECT_EQ(platform::Utf16ToCp1252(u"\u20AC\u2122 caf\u00E9"), "\x80\x99 caf\xE9");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // A CJK character, a surrogate pair (one emoji), and a lone surrogate.
    EXPECT_EQ(platform::Utf16ToCp1252(u"a\u4E2Db\U0001F600c\xD800"), "a?b?c?");
}

}  // namespace
