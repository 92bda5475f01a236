#include "samplegateway/house.h"

#include <gtest/gtest.h>

#include <string>

#include "gateway_wire.h"
#include "samplegateway/style.h"
#include "support/temp_dir.h"

namespace {

using samplegateway::House;
using samplegateway::HouseError;
using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

std::optional<House> Read(const std::string& text, HouseError* error = nullptr) {
    HouseError ignored;
    return House::Read(text, error ? error : &ignored);
}

constexpr char kHouse[] = R"(# a house of every kind of field
switch extra off
[answer 0x0100 every field]
i32 7 -5 0xFFFFFFFF
u16 2011
u8 0x40 1
string name "Pool \"A\"\x80\\"
block 6 01 @4 FF      # the rest zeros
count names
when extra
  i32 99
end
list entries i32 string
  1 "one"
  2 "two #2"
end

[slice 300 names]
list names string
  "a"
  "b"
  "c"
end
[answer 0x0102]
)";

TEST(HouseFile, AnswersWithEveryKindOfField) {
    std::optional<House> house = Read(kHouse);
    ASSERT_TRUE(house);
    EXPECT_EQ(house->Ids(), (std::vector<uint16_t>{0x0100, 0x0102, 300}));  // by id
    const Bytes every = PayloadWriter()
                            .Int(7)
                            .Int(-5)
                            .Int(-1)
                            .Short(2011)
                            .Byte(0x40)
                            .Byte(1)
                            .String("Pool \"A\"\x80\\")
                            .Int(6)
                            .Raw("\x01\0\0\0\xFF\0", 6)
                            .Int(3)
                            .Int(2)
                            .Int(1)
                            .String("one")
                            .Int(2)
                            .String("two #2");
    EXPECT_EQ(house->Payload(0x0100), every);
    EXPECT_EQ(house->Payload(0x0102), Bytes());
    EXPECT_EQ(house->Payload(0x0104), Bytes());  // no such answer

    const std::vector<Frame> answers = house->Respond({9, 0x0100, {}});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].sender, 9);
    EXPECT_EQ(answers[0].id, 0x0101);
    EXPECT_EQ(answers[0].payload, every);
    EXPECT_TRUE(house->Respond({9, 0x0104, {}}).empty());
}

TEST(HouseFile, SliceAnswersWhatIsAskedAsFarAsTheListGoes) {
    std::optional<House> house = Read(kHouse);
    ASSERT_TRUE(house);
    struct Case {
        Bytes request;
        Bytes answer;
    } cases[] = {
        {PayloadWriter().Int(0).Int(1).Int(1), PayloadWriter().Int(1).String("b")},
        {PayloadWriter().Int(0).Int(1).Int(100), PayloadWriter().Int(2).String("b").String("c")},
        {PayloadWriter().Int(0).Int(5).Int(2), PayloadWriter().Int(0)},
        {PayloadWriter().Int(0).Int(-1).Int(2), PayloadWriter().Int(0)},
        {PayloadWriter().Int(0).Int(0).Int(-3), PayloadWriter().Int(0)},
        {PayloadWriter().Int(0), PayloadWriter().Int(0)},  // cut short: nothing asked
    };
    for (const Case& c : cases) {
        const std::vector<Frame> answers = house->Respond({1, 300, c.request});
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].id, 301);
        EXPECT_EQ(answers[0].payload, c.answer);
    }
}

TEST(HouseFile, KeyedAnswersFollowTheRequestsFirstValue) {
    const std::optional<House> house = Read(
        "[keyed 0x25AB 1 one]\ni32 11\n[keyed 0x25AB 4]\ni32 44\n"
        "[answer 0x25AB others]\ni32 0\n[keyed 0x30 2]\nu8 2\n"
        "[keyed 0x25AB 1 0 two keys]\ni32 10\n");
    ASSERT_TRUE(house);
    EXPECT_EQ(house->Ids(), (std::vector<uint16_t>{0x25AB, 0x30}));
    struct Case {
        uint16_t id;
        Bytes request;
        Bytes answer;
    } cases[] = {
        {0x25AB, PayloadWriter().Int(1).Int(6), PayloadWriter().Int(11)},
        {0x25AB, PayloadWriter().Int(1).Int(0), PayloadWriter().Int(10)},  // both keys before one
        {0x25AB, PayloadWriter().Int(1), PayloadWriter().Int(11)},
        {0x25AB, PayloadWriter().Int(4), PayloadWriter().Int(44)},
        {0x25AB, PayloadWriter().Int(7), PayloadWriter().Int(0)},  // another key: the plain answer
        {0x25AB, {}, PayloadWriter().Int(0)},                      // no key at all
        {0x30, PayloadWriter().Int(2), PayloadWriter().Byte(2)},
    };
    for (const Case& c : cases) {
        const std::vector<Frame> answers = house->Respond({3, c.id, c.request});
        ASSERT_EQ(answers.size(), 1u) << c.id;
        EXPECT_EQ(answers[0].id, c.id + 1);
        EXPECT_EQ(answers[0].payload, c.answer) << c.id;
    }
    EXPECT_TRUE(house->Respond({3, 0x30, PayloadWriter().Int(3)}).empty());  // no key and no plain answer
}

TEST(HouseFile, WhenNotSendsWhileTheSwitchIsOff) {
    std::optional<House> house = Read("switch s off\n[answer 1]\nwhen not s\ni32 1\nend\nwhen s\ni32 2\nend\n");
    ASSERT_TRUE(house);
    EXPECT_EQ(house->Payload(1), Bytes(PayloadWriter().Int(1)));
    ASSERT_TRUE(house->SetSwitch("s", true));
    EXPECT_EQ(house->Payload(1), Bytes(PayloadWriter().Int(2)));
}

TEST(HouseFile, NamedValuesSwitchesAndListsAreReplaced) {
    std::optional<House> house = Read(kHouse);
    ASSERT_TRUE(house);
    EXPECT_TRUE(house->Set("name", std::string("B")));
    EXPECT_TRUE(house->SetSwitch("extra", true));
    EXPECT_TRUE(house->SetList("entries", {{int64_t{5}, std::string("five")}}));
    EXPECT_TRUE(house->SetList("names", {}));
    EXPECT_EQ(house->Payload(0x0100), Bytes(PayloadWriter()
                                                .Int(7)
                                                .Int(-5)
                                                .Int(-1)
                                                .Short(2011)
                                                .Byte(0x40)
                                                .Byte(1)
                                                .String("B")
                                                .Int(6)
                                                .Raw("\x01\0\0\0\xFF\0", 6)
                                                .Int(0)
                                                .Int(99)
                                                .Int(1)
                                                .Int(5)
                                                .String("five")));

    // What does not fit leaves the house as it was.
    EXPECT_FALSE(house->Set("name", int64_t{1}));
    EXPECT_FALSE(house->Set("nothing", int64_t{1}));
    EXPECT_FALSE(house->SetSwitch("nothing", true));
    EXPECT_FALSE(house->SetList("nothing", {}));
    EXPECT_FALSE(house->SetList("entries", {{int64_t{5}}}));
    EXPECT_FALSE(house->SetList("entries", {{std::string("5"), std::string("five")}}));
    EXPECT_FALSE(house->SetList("entries", {{int64_t{1} << 32, std::string("five")}}));
    EXPECT_EQ(house->Payload(0x0100).size(), 60u);
}

TEST(HouseFile, OneFieldOfARecordFoundByItsFirstField) {
    std::optional<House> house = Read(kHouse);
    ASSERT_TRUE(house);
    EXPECT_TRUE(house->SetRecordField("entries", 2, 1, std::string("deux")));
    const Bytes payload = house->Payload(0x0100);
    const Bytes tail = PayloadWriter().Int(2).Int(1).String("one").Int(2).String("deux");
    ASSERT_GE(payload.size(), tail.size());
    EXPECT_EQ(Bytes(payload.end() - static_cast<std::ptrdiff_t>(tail.size()), payload.end()), tail);
    // No such record, column or list, or a value of the wrong kind: nothing changes.
    EXPECT_FALSE(house->SetRecordField("entries", 3, 1, std::string("x")));
    EXPECT_FALSE(house->SetRecordField("entries", 2, 2, std::string("x")));
    EXPECT_FALSE(house->SetRecordField("entries", 2, 1, int64_t{4}));
    EXPECT_FALSE(house->SetRecordField("nothing", 2, 1, std::string("x")));
    EXPECT_EQ(house->Payload(0x0100), payload);
}

TEST(HouseFile, KeyedAnswersHoldNamedValuesAndListsToo) {
    std::optional<House> house = Read("[keyed 0x30 1 2 tablet]\ni32 flags 5\nlist items i32\n  1\nend\n");
    ASSERT_TRUE(house);
    EXPECT_TRUE(house->Set("flags", int64_t{7}));
    EXPECT_TRUE(house->SetList("items", {{int64_t{8}}, {int64_t{9}}}));
    EXPECT_TRUE(house->SetRecordField("items", 9, 0, int64_t{10}));
    const std::vector<Frame> answers = house->Respond({3, 0x30, PayloadWriter().Int(1).Int(2)});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].payload, Bytes(PayloadWriter().Int(7).Int(2).Int(8).Int(10)));
}

TEST(HouseFile, SameNameSetsEveryValueOrNone) {
    std::optional<House> house = Read("[answer 1]\nu8 level 1\n[answer 2]\ni32 level 2\n");
    ASSERT_TRUE(house);
    EXPECT_FALSE(house->Set("level", int64_t{300}));  // too big for the u8
    EXPECT_EQ(house->Payload(2), Bytes(PayloadWriter().Int(2)));
    EXPECT_TRUE(house->Set("level", int64_t{200}));
    EXPECT_EQ(house->Payload(1), Bytes(PayloadWriter().Byte(200)));
    EXPECT_EQ(house->Payload(2), Bytes(PayloadWriter().Int(200)));
}

TEST(HouseFile, TheSampleHouseReads) {
    std::string error;
    std::optional<House> house = House::Load(ZV_SAMPLE_HOUSE, &error);
    ASSERT_TRUE(house) << error;
    EXPECT_EQ(house->Payload(0x1FB8), Bytes(PayloadWriter().String("4.1 Build 612.0 Rel").Int(2)));
}

TEST(HouseFile, EachBrokenRuleIsReportedWithItsLine) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        const char* message;
    } cases[] = {
        {"unknown word", "[answer 1]\ni64 1\n", 2, "unknown word \"i64\""},
        {"field outside an answer", "# head\ni32 1\n", 2, "outside an answer"},
        {"unknown section", "[reply 1]\n", 1, "unknown section"},
        {"header without bracket", "[answer 1\n", 1, "closing ']'"},
        {"id too big", "[answer 0x10000]\n", 1, "no message id"},
        {"id missing", "[answer]\n", 1, "no message id"},
        {"second answer", "[answer 5]\n\n[answer 0x5]\n", 3, "first is on line 1"},
        {"second keyed answer", "[keyed 5 1]\n[keyed 5 0x1]\n", 2, "first is on line 1"},
        {"keyed without key", "[keyed 5]\n", 1, "no key"},
        {"key too big", "[keyed 5 0x80000000]\n", 1, "no key"},
        {"second key too big", "[keyed 5 1 0x80000000 x]\n[keyed 5 1]\n", 2, "first is on line 1"},
        {"not a number", "[answer 1]\ni32 1 2x\n", 2, "\"2x\" is no number"},
        {"i32 out of range", "[answer 1]\ni32 0x100000000\n", 2, "out of the field's range"},
        {"i32 below range", "[answer 1]\ni32 -2147483649\n", 2, "out of the field's range"},
        {"u16 out of range", "[answer 1]\nu16 65536\n", 2, "out of the field's range"},
        {"u8 negative", "[answer 1]\nu8 -1\n", 2, "out of the field's range"},
        {"number overflow", "[answer 1]\ni32 99999999999999999999\n", 2, "is no number"},
        {"field without value", "[answer 1]\nu8\n", 2, "without a value"},
        {"named with two values", "[answer 1]\nu8 level 1 2\n", 2, "one value"},
        {"string unquoted", "[answer 1]\nstring abc def\n", 2, "double quotes"},
        {"string unterminated", "[answer 1]\nstring \"abc\n", 2, "closing quote"},
        {"bad escape", "[answer 1]\nstring \"a\\n\"\n", 2, "unknown escape"},
        {"short hex escape", "[answer 1]\nstring \"a\\x4\"\n", 2, "unknown escape"},
        {"block without size", "[answer 1]\nblock\n", 2, "block reads"},
        {"block too big", "[answer 1]\nblock 65537\n", 2, "block reads"},
        {"block overfull", "[answer 1]\nblock 1 01 02\n", 2, "more bytes than"},
        {"block bad byte", "[answer 1]\nblock 4 1\n", 2, "no byte in hex"},
        {"block bad position", "[answer 1]\nblock 4 @5 01\n", 2, "no position"},
        {"count unknown list", "[answer 1]\n\ncount nowhere\n", 3, "unknown list \"nowhere\""},
        {"count without list", "[answer 1]\ncount\n", 2, "count reads"},
        {"list without end", "[answer 1]\nlist l u8\n1\n[answer 2]\n", 2, "without its end"},
        {"list at end of file", "[answer 1]\n\nlist l u8\n1\n", 3, "without its end"},
        {"list of blocks", "[answer 1]\nlist l block\n", 2, "no record field type"},
        {"list without types", "[answer 1]\nlist l\n", 2, "list reads"},
        {"second list", "[answer 1]\nlist l u8\nend\n[answer 2]\nlist l u8\nend\n", 5, "second list"},
        {"record too short", "[answer 1]\nlist l u8 string\n1\nend\n", 3, "has 2 fields, not 1"},
        {"record of wrong type", "[answer 1]\nlist l u8 string\n1 2\nend\n", 3, "double quotes"},
        {"end alone", "[answer 1]\nend\n", 2, "end without"},
        {"when without end", "switch s on\n[answer 1]\nwhen s\ni32 1\n", 3, "without its end"},
        {"when unknown switch", "[answer 1]\nwhen s\n", 2, "unknown switch"},
        {"when not without a switch", "switch s on\n[answer 1]\nwhen not\n", 3, "unknown switch"},
        {"when not of two switches", "switch s on\n[answer 1]\nwhen not s s\n", 3, "a when reads"},
        {"when inside when", "switch s on\n[answer 1]\nwhen s\nwhen s\n", 4, "when inside when"},
        {"switch in an answer", "[answer 1]\nswitch s on\n", 2, "before the first answer"},
        {"switch twice", "switch s on\nswitch s off\n", 2, "given twice"},
        {"switch bad state", "switch s maybe\n", 1, "switch reads"},
        {"slice of fields", "[slice 1]\ni32 1\n", 2, "one list and nothing else"},
        {"slice of two lists", "[slice 1]\nlist a u8\nend\nlist b u8\nend\n", 4, "one list and nothing else"},
        {"slice empty", "[slice 1]\n[answer 2]\n", 1, "one list and nothing else"},
    };
    for (const Case& c : cases) {
        HouseError error;
        EXPECT_FALSE(Read(c.text, &error)) << c.name;
        EXPECT_EQ(error.line, c.line) << c.name << ": " << error.message;
        EXPECT_NE(error.message.find(c.message), std::string::npos) << c.name << ": " << error.message;
    }
}

TEST(HouseFile, LimitsHold) {
    HouseError error;
    EXPECT_FALSE(Read(std::string(House::kMaxFileSize + 1, '#'), &error));
    EXPECT_EQ(error.line, 0);
    EXPECT_NE(error.message.find("larger than"), std::string::npos);

    const std::string longest = "[answer 1]\n#" + std::string(House::kMaxLineLength - 1, 'x') + "\n";
    EXPECT_TRUE(Read(longest));
    EXPECT_FALSE(Read("[answer 1]\n\n#" + std::string(House::kMaxLineLength, 'x') + "\n", &error));
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.message.find("longer than"), std::string::npos);

    // Fifteen blocks of the greatest size fit an answer; the next one does not.
    std::string blocks = "[answer 1]\n";
    for (int i = 0; i < 15; ++i) blocks += "block 65536\n";
    EXPECT_TRUE(Read(blocks));
    EXPECT_FALSE(Read(blocks + "block 0\nblock 65536\n", &error));
    EXPECT_EQ(error.line, 18);
    EXPECT_NE(error.message.find("beyond 1000000 bytes"), std::string::npos);

    // A file without a final newline, with Windows line ends and a lone section.
    EXPECT_TRUE(Read("[answer 1]\r\ni32 1\r\n[answer 2]"));
    EXPECT_TRUE(Read(""));
}

TEST(HouseFile, LoadNamesTheFileInItsErrors) {
    testsupport::TempDir dir;
    std::string error;
    EXPECT_FALSE(House::Load(dir.File("missing.ini"), &error));
    EXPECT_EQ(error, dir.File("missing.ini") + ": cannot be opened");

    testsupport::WriteFileText(dir.File("bad.ini"), "[answer 1]\nu8 256\n");
    EXPECT_FALSE(House::Load(dir.File("bad.ini"), &error));
    EXPECT_EQ(error, dir.File("bad.ini") + ":2: 256 is out of the field's range");

    testsupport::WriteFileText(dir.File("good.ini"), "[answer 1]\nu8 255\n");
    std::optional<House> house = House::Load(dir.File("good.ini"), &error);
    ASSERT_TRUE(house);
    EXPECT_EQ(house->Payload(1), Bytes{255});
}

}  // namespace

// ---- the tablet's styles of the sample house

TEST(SampleHouseStyles, EachStyleTurnsTheStyleAnswer) {
    std::string error;
    std::optional<House> house = House::Load(ZV_SAMPLE_HOUSE, &error);
    ASSERT_TRUE(house) << error;
    struct Case {
        samplegateway::Style style;
        int32_t kind;
        int32_t flags;
    } cases[] = {{samplegateway::Style::kPlain, 2, 0},
                 {samplegateway::Style::kThemed, 1, 0x21181},
                 {samplegateway::Style::kCompact, 1, 0x61381}};
    for (const Case& c : cases) {
        ASSERT_TRUE(samplegateway::ApplyStyle(*house, c.style));
        const Bytes payload = house->Payload(0x258B);
        testsupport::PayloadReader reader(payload);
        int32_t kind = 0, classes = 0, values = 0, colours = 0;
        ASSERT_TRUE(reader.Int(&kind));
        EXPECT_EQ(kind, c.kind);
        if (kind == 2) {
            EXPECT_EQ(reader.Left(), 0u);
            continue;
        }
        ASSERT_TRUE(reader.Int(&classes) && reader.Int(&values) && reader.Int(&colours));
        EXPECT_EQ(classes * values, 38 * 9);
        std::vector<uint8_t> tables((classes * values + 3) / 4 * 4 + classes * colours * 4);
        ASSERT_TRUE(reader.Raw(tables.data(), tables.size()));
        int32_t flags = 0;
        ASSERT_TRUE(reader.Int(&flags));
        EXPECT_EQ(flags, c.flags);
    }
    EXPECT_FALSE(samplegateway::StyleNamed("glossy"));
    EXPECT_EQ(samplegateway::StyleNamed("compact"), samplegateway::Style::kCompact);
}

TEST(SampleHouseStyles, TheSkinPictureIsAPng) {
    const Bytes png = samplegateway::SkinPicture();
    ASSERT_GT(png.size(), 64u * 64 * 3);
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png.begin()));
}
