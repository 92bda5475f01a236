#include "qttext/qttext.h"

#include <gtest/gtest.h>

namespace {

TEST(QtText, TheEuroSignIsByte0x80BothWays) {
    EXPECT_EQ(qttext::FromCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(qttext::ToCp1252(QString(QChar(0x20AC))), "\x80");
    EXPECT_EQ(qttext::ToCp1252(QString::fromUtf16(u"caf\u00E9 \u20AC")), "caf\xE9 \x80");
}

TEST(QtText, EveryByteSurvivesARoundTripThroughQString) {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    const QString shown = qttext::FromCp1252(all);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(qttext::ToCp1252(shown), all);
}

TEST(QtText, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    EXPECT_EQ(qttext::ToCp1252(QString::fromUtf16(u"a\u4E2Db\U0001F600c")), "a?b?c");
}

}  // namespace
