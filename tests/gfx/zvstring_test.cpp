#include "gfx/zvstring.h"

#include <gtest/gtest.h>

#include <string>

#include "support/assert_counter.h"

namespace {

CZVString Wide(const char16_t* text) { return CZVString(text, u""); }

std::string Repeat(int count, char c = 'x') { return std::string(count, c); }

TEST(ZVString, EmptyStringsOfBothForms) {
    CZVString ansi;
    EXPECT_EQ(ansi.GetKind(), CZVString::kAnsi);
    EXPECT_TRUE(ansi.IsEmpty());
    EXPECT_EQ(ansi.GetLength(), 0);
    EXPECT_STREQ(ansi.GetAnsi(), "");

    CZVString wide(CZVString::kWide);
    EXPECT_EQ(wide.GetKind(), CZVString::kWide);
    EXPECT_TRUE(wide.IsEmpty());
    EXPECT_EQ(wide.GetLength(), 0);
}

// The 10,000-byte limit holds for every way a buffer is made.
struct LimitCase {
    const char* name;
    int kind;
    int first;   // characters already held
    int second;  // characters added
    bool fits;
};

class ZVStringLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(ZVStringLimit, TwoPartConstructionAndAppend) {
    const LimitCase& c = GetParam();
    const int total = c.first + c.second;
    if (c.kind == CZVString::kAnsi) {
        std::string a = Repeat(c.first, 'a'), b = Repeat(c.second, 'b');
        CZVString joined(a.c_str(), b.c_str());
        EXPECT_EQ(joined.GetLength(), c.fits ? total : 0);

        CZVString appended(a.c_str());
        appended += b.c_str();
        EXPECT_EQ(appended.GetLength(), c.fits ? total : c.first);
        EXPECT_EQ(appended.Left(c.first).Compare(a.c_str()), 0) << "old text kept";
    } else {
        std::u16string a(c.first, u'a'), b(c.second, u'b');
        CZVString joined(a.c_str(), b.c_str());
        EXPECT_EQ(joined.GetLength(), c.fits ? total : 0);

        CZVString appended(a.c_str(), u"");
        appended += b.c_str();
        EXPECT_EQ(appended.GetLength(), c.fits ? total : c.first);
        EXPECT_EQ(appended.GetKind(), CZVString::kWide);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZVStringLimit,
    testing::Values(LimitCase{"Ansi9999", CZVString::kAnsi, 1000, 8999, true},
                    LimitCase{"Ansi10000", CZVString::kAnsi, 1000, 9000, false},
                    LimitCase{"Wide4999", CZVString::kWide, 999, 4000, true},
                    LimitCase{"Wide5000", CZVString::kWide, 1000, 4000, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZVString, ConversionToWideIsNotLimitedButCopiesAre) {
    std::string text = Repeat(6000);
    CZVString s(text.c_str());
    ASSERT_EQ(s.GetLength(), 6000);
    ASSERT_TRUE(s.ToWide());
    EXPECT_EQ(s.GetLength(), 6000);  // 12,002 bytes
    CZVString copy(s);
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.GetKind(), CZVString::kWide);
}

struct FormatCase {
    const char* name;
    int kind;
    int length;
    int expected;
};

class ZVStringFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(ZVStringFormat, LengthsAroundTheBufferLadder) {
    const FormatCase& c = GetParam();
    CZVString s(c.kind);
    s = "old";
    std::string text = Repeat(c.length);
    EXPECT_EQ(s.Format("%s", text.c_str()), c.expected);
    EXPECT_EQ(s.GetLength(), c.expected);
    EXPECT_EQ(s.GetKind(), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZVStringFormat,
    testing::Values(FormatCase{"AnsiShort", CZVString::kAnsi, 255, 255},
                    FormatCase{"AnsiHeap", CZVString::kAnsi, 300, 300},
                    FormatCase{"AnsiLongest", CZVString::kAnsi, 9983, 9983},
                    FormatCase{"AnsiTooLong", CZVString::kAnsi, 9984, 0},
                    FormatCase{"Ansi10000", CZVString::kAnsi, 10000, 0},
                    FormatCase{"WideHeap", CZVString::kWide, 300, 300},
                    FormatCase{"WideLongest", CZVString::kWide, 4863, 4863},
                    FormatCase{"WideTooLong", CZVString::kWide, 4864, 0},
                    FormatCase{"Empty", CZVString::kAnsi, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZVString, FormatMayTakeItsOwnTextAsArgument) {
    CZVString s("pump");
    EXPECT_EQ(s.Format("%s %d", s.GetAnsi(), 2), 6);
    EXPECT_STREQ(s.GetAnsi(), "pump 2");

    std::string longText = Repeat(400);
    s = longText.c_str();
    EXPECT_EQ(s.Format("<%s>", s.GetAnsi()), 402);

    CZVString wide = Wide(u"\u20ac");
    EXPECT_EQ(wide.Format("%d \x80", 5), 3);
    EXPECT_EQ(std::u16string(wide.GetWide()), u"5 \u20ac");
}

TEST(ZVString, AssignmentKeepsTheTargetsForm) {
    CZVString ansi("x");
    ansi = Wide(u"caf\u00e9 \u20ac");
    EXPECT_EQ(ansi.GetKind(), CZVString::kAnsi);
    EXPECT_STREQ(ansi.GetAnsi(), "caf\xe9 \x80");

    CZVString wide = Wide(u"x");
    wide = CZVString("caf\xe9 \x80");
    EXPECT_EQ(wide.GetKind(), CZVString::kWide);
    EXPECT_EQ(std::u16string(wide.GetWide()), u"caf\u00e9 \u20ac");

    wide = "\x9c";
    EXPECT_EQ(wide.GetKind(), CZVString::kWide);
    EXPECT_EQ(std::u16string(wide.GetWide()), u"\u0153");

    // A text that 8-bit cannot hold leaves an 8-bit target empty.
    ansi = Wide(u"\u0100");
    EXPECT_EQ(ansi.GetKind(), CZVString::kAnsi);
    EXPECT_TRUE(ansi.IsEmpty());
}

// Every byte converts to one 16-bit character and back.
TEST(ZVString, EveryByteSurvivesARoundTrip) {
    for (int byte = 1; byte < 256; ++byte) {
        char text[2] = {static_cast<char>(byte), 0};
        CZVString s(text);
        ASSERT_TRUE(s.ToWide());
        ASSERT_TRUE(s.ToAnsi()) << byte;
        EXPECT_EQ(static_cast<unsigned char>(s.GetAnsi()[0]), byte);
    }
}

struct ByteCase {
    unsigned char byte;
    char16_t unit;
};

class ZVStringBytes : public testing::TestWithParam<ByteCase> {};

TEST_P(ZVStringBytes, ConvertBothWays) {
    const ByteCase& c = GetParam();
    const char text[2] = {static_cast<char>(c.byte), 0};
    CZVString s(text);
    EXPECT_EQ(s.GetWide()[0], c.unit);

    const char16_t units[2] = {c.unit, 0};
    CZVString w(units, u"");
    EXPECT_EQ(static_cast<unsigned char>(w.GetAnsi()[0]), c.byte);
}

INSTANTIATE_TEST_SUITE_P(
    HighControls, ZVStringBytes,
    testing::Values(ByteCase{0x80, 0x20AC}, ByteCase{0x81, 0x0081}, ByteCase{0x82, 0x201A},
                    ByteCase{0x85, 0x2026}, ByteCase{0x8A, 0x0160}, ByteCase{0x8D, 0x008D},
                    ByteCase{0x8E, 0x017D}, ByteCase{0x8F, 0x008F}, ByteCase{0x90, 0x0090},
                    ByteCase{0x91, 0x2018}, ByteCase{0x96, 0x2013}, ByteCase{0x99, 0x2122},
                    ByteCase{0x9C, 0x0153}, ByteCase{0x9D, 0x009D}, ByteCase{0x9F, 0x0178}));

INSTANTIATE_TEST_SUITE_P(
    Latin1, ZVStringBytes,
    testing::Values(ByteCase{0x7F, 0x007F}, ByteCase{0xA0, 0x00A0}, ByteCase{0xA9, 0x00A9},
                    ByteCase{0xC4, 0x00C4}, ByteCase{0xDF, 0x00DF}, ByteCase{0xE9, 0x00E9},
                    ByteCase{0xFF, 0x00FF}));

TEST(ZVString, CharacterWithoutAByteFailsTheConversion) {
    for (char16_t unit : {char16_t(0x80), char16_t(0x9F), u'\u0100', u'\u2028', u'\ufffd', char16_t(0xD800)}) {
        const char16_t units[3] = {u'a', unit, 0};
        CZVString s(units, u"");
        EXPECT_EQ(s.ToAnsi(), 0) << int(unit);
        EXPECT_EQ(s.GetKind(), CZVString::kWide);
        EXPECT_STREQ(s.GetAnsi(), "");
        EXPECT_EQ(s.GetLength(), 2);
        EXPECT_EQ(s.GetBuffer(10), nullptr);
    }
}

struct PartCase {
    const char* name;
    CZVString (*take)(const CZVString&);
    const char* expected;
    int kind;  // of the result, for a 16-bit source
};

class ZVStringParts : public testing::TestWithParam<PartCase> {};

TEST_P(ZVStringParts, FromBothForms) {
    const PartCase& c = GetParam();
    CZVString ansi("abcdef");
    CZVString part = c.take(ansi);
    EXPECT_EQ(part.GetKind(), CZVString::kAnsi);
    EXPECT_EQ(part.Compare(c.expected), 0) << part.GetAnsi();

    CZVString wide = Wide(u"abcdef");
    part = c.take(wide);  // part is 8-bit: assignment converts
    EXPECT_EQ(part.Compare(c.expected), 0);
    EXPECT_EQ(c.take(wide).GetKind(), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZVStringParts,
    testing::Values(
        PartCase{"MidToEnd", [](const CZVString& s) { return s.Mid(2, 100); }, "cdef", 0},
        PartCase{"MidInside", [](const CZVString& s) { return s.Mid(1, 2); }, "bc", 0},
        PartCase{"MidAtEnd", [](const CZVString& s) { return s.Mid(6, 1); }, "", 1},
        PartCase{"MidNegative", [](const CZVString& s) { return s.Mid(-1, 2); }, "", 1},
        PartCase{"MidNothing", [](const CZVString& s) { return s.Mid(1, 0); }, "", 1},
        PartCase{"LeftAll", [](const CZVString& s) { return s.Left(10); }, "abcdef", 0},
        PartCase{"Left", [](const CZVString& s) { return s.Left(2); }, "ab", 0},
        PartCase{"Right", [](const CZVString& s) { return s.Right(2); }, "ef", 0},
        PartCase{"RightAll", [](const CZVString& s) { return s.Right(9); }, "abcdef", 0},
        PartCase{"RightNone", [](const CZVString& s) { return s.Right(0); }, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZVString, FindInBothForms) {
    for (CZVString s : {CZVString("abcabc\xe9"), Wide(u"abcabc\u00e9")}) {
        EXPECT_EQ(s.Find('c', -5), 2);
        EXPECT_EQ(s.Find('c', 3), 5);
        EXPECT_EQ(s.Find('z', 0), -1);
        EXPECT_EQ(s.ReverseFind('c'), 5);
        EXPECT_EQ(s.ReverseFind('z'), -1);
    }
    EXPECT_EQ(CZVString("abc\xe9").Find('\xe9'), 3);  // a negative char is its byte
    EXPECT_EQ(Wide(u"a\u20ac").Find(0x20AC), 1);
    EXPECT_EQ(CZVString().Find('a', 0), -1);

    testsupport::AssertCounter asserts;
    EXPECT_EQ(CZVString("abc").Find('a', 3), -1);
    EXPECT_EQ(asserts.Count(), 1);
}

TEST(ZVString, TrimInItsOwnBuffer) {
    CZVString s("ab  ");
    s.TrimRight(" ");
    EXPECT_STREQ(s.GetAnsi(), "ab");
    EXPECT_EQ(s.GetLength(), 2);

    s = "   ";
    s.TrimLeft(" \t");
    EXPECT_TRUE(s.IsEmpty());

    s = "\t x y \t";
    s.TrimLeft(" \t");
    s.TrimRight(" \t");
    EXPECT_STREQ(s.GetAnsi(), "x y");
    s.TrimLeft("");  // the terminator is never a member of the set
    EXPECT_STREQ(s.GetAnsi(), "x y");

    CZVString wide = Wide(u" w ");
    wide.TrimLeft(" ");
    EXPECT_EQ(wide.GetKind(), CZVString::kAnsi);
    EXPECT_STREQ(wide.GetAnsi(), "w ");
}

TEST(ZVString, DirectWritesThroughGetBuffer) {
    CZVString s("abc");
    char* buffer = s.GetBuffer(100);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, "abc");
    for (int i = 3; i <= 100; ++i)
        EXPECT_EQ(buffer[i], 0);
    EXPECT_EQ(s.GetLength(), 100);
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);

    buffer = s.GetBuffer(3);
    buffer[1] = 'X';
    s.ReleaseBuffer(2);
    EXPECT_STREQ(s.GetAnsi(), "aX");

    EXPECT_EQ(s.GetBuffer(9999) != nullptr, true);
    EXPECT_EQ(s.GetBuffer(10000), nullptr);
    EXPECT_EQ(s.GetLength(), 9999);

    testsupport::AssertCounter asserts;
    s.ReleaseBuffer(20000);  // cut to the room there is
    EXPECT_EQ(s.GetLength(), 9999);
    EXPECT_EQ(asserts.Count(), 1);
}

TEST(ZVString, EqualityConvertsTheLeftOperand) {
    CZVString ansi("abc");
    CZVString wide = Wide(u"abc");
    EXPECT_TRUE(ansi == wide);
    EXPECT_EQ(ansi.GetKind(), CZVString::kWide);

    CZVString other("abd");
    EXPECT_FALSE(wide == other);
    CZVString shorter("ab");
    EXPECT_FALSE(shorter == other);

    CZVString cannot = Wide(u"ab\u0100");
    CZVString plain("ab\x80");
    EXPECT_FALSE(cannot == plain);
    EXPECT_EQ(cannot.GetKind(), CZVString::kWide);
}

struct CompareCase {
    CZVString left;
    CZVString right;
    int sign;
    int signNoCase;
};

TEST(ZVString, CompareAcrossForms) {
    const CompareCase cases[] = {
        {"abc", "abc", 0, 0},
        {"abc", "abd", -1, -1},
        {"abd", "abc", 1, 1},
        {"ab", "abc", -1, -1},
        {"ABC", "abc", -1, 0},
        {"\xe9", "\xc9", 1, 1},  // only A to Z fold
        {"abc", Wide(u"abc"), 0, 0},
        {Wide(u"ABC"), "abc", -1, 0},
        {"ab", Wide(u"ab\u0100"), -1, -1},
        {Wide(u"ab\u0100"), "ab", 1, 1},
        {"z", Wide(u"\u0100"), -1, -1},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(sign(c.left.Compare(c.right)), c.sign)
            << CZVString(c.left).GetAnsi() << " vs " << CZVString(c.right).GetAnsi();
        EXPECT_EQ(sign(c.left.CompareNoCase(c.right)), c.signNoCase);
    }
    EXPECT_EQ(Wide(u"abc").Compare("abc"), 0);
    EXPECT_LT(Wide(u"\u0100").Compare("abc"), 0);
    CZVString wide = Wide(u"ABC");
    EXPECT_EQ(wide.CompareNoCase("abc"), 0);
    EXPECT_EQ(wide.GetKind(), CZVString::kAnsi);
}

TEST(ZVString, ConcatenationTakesTheRightOperandsForm) {
    CZVString a("pool ");
    CZVString b = Wide(u"\u20ac");
    CZVString sum = a + b;
    EXPECT_EQ(sum.GetKind(), CZVString::kWide);
    EXPECT_EQ(a.GetKind(), CZVString::kWide);
    EXPECT_EQ(std::u16string(sum.GetWide()), u"pool \u20ac");

    CZVString c("x");
    CZVString d = "pre-" + c;
    EXPECT_STREQ(d.GetAnsi(), "pre-x");

    // A left operand that 8-bit cannot hold stays 16-bit.
    CZVString e = Wide(u"\u0100");
    CZVString f = e + CZVString("!");
    EXPECT_EQ(std::u16string(f.GetWide()), u"\u0100!");
}

TEST(ZVString, CallerErrorsAreReported) {
    testsupport::AssertCounter asserts;
    CZVString s(static_cast<const char*>(nullptr), "b");
    EXPECT_TRUE(s.IsEmpty());
    s = "a";
    s.AppendAnsi(nullptr);
    EXPECT_STREQ(s.GetAnsi(), "a");
    EXPECT_TRUE(s.Mid(0, -1).IsEmpty());
    EXPECT_EQ(s.CompareNoCase(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(asserts.Count(), 4);
    EXPECT_EQ(asserts.LastSource(), "zvstring");
}

}  // namespace
