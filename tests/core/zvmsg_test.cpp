#include "core/zvmsg.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes PayloadOf(const CZVMSG& msg) { return Bytes(msg.GetData(), msg.GetData() + msg.GetLength()); }

Bytes WireOf(const CZVMSG& msg) { return Bytes(msg.GetBuffer(), msg.GetBuffer() + msg.GetTotalSize()); }

// A frame as the socket would hold it, with a message built by `write`.
Bytes FrameOf(const std::function<void(CZVMSG&)>& write) {
    CZVMSG msg(1, 2);
    write(msg);
    return WireOf(msg);
}

Bytes FrameWithPayload(const Bytes& payload) {
    Bytes frame = {1, 0, 2, 0};
    const auto length = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<uint8_t>(length >> (8 * i)));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

// A received message over bytes that it does not own.
class Received {
public:
    explicit Received(Bytes frame, ZVVariant variant = ZVVariant::Tablet)
        : m_frame(std::move(frame)), m_msg(m_frame, variant) {}
    CZVMSG* operator->() { return &m_msg; }
    CZVMSG& operator*() { return m_msg; }
    const Bytes& Frame() const { return m_frame; }

private:
    Bytes m_frame;
    CZVMSG m_msg;
};

// Sunday 10 March 2024, 13:45:30.250; the record counts Sunday as 0.
CZVTime SundayAfternoon() {
    CZVTime time;
    time.Set(2024, 3, 0, 10, 13, 45, 30, 250);
    return time;
}

struct ValueCase {
    const char* name;
    std::function<int(CZVMSG&)> write;
    Bytes payload;
    std::function<bool(CZVMSG&)> readsBack;
};

class MessageValues : public testing::TestWithParam<ValueCase> {};

TEST_P(MessageValues, HaveTheirByteImageAndReadBack) {
    const ValueCase& c = GetParam();
    CZVMSG msg(0x1234, 0x0567);
    ASSERT_EQ(c.write(msg), 1);
    EXPECT_EQ(PayloadOf(msg), c.payload);

    Received received(WireOf(msg));
    EXPECT_TRUE(c.readsBack(*received));
    uint8_t extra = 0;
    EXPECT_EQ(received->ReadByte(extra), 0) << "the value was not read whole";
}

const ValueCase kValueCases[] = {
    {"Int",
     [](CZVMSG& m) { return m.WriteInt(-2); },
     {0xFE, 0xFF, 0xFF, 0xFF},
     [](CZVMSG& m) {
         int32_t v = 0;
         return m.ReadInt(v) && v == -2;
     }},
    {"Byte",
     [](CZVMSG& m) { return m.WriteByte(uint8_t{0xAB}); },
     {0xAB},
     [](CZVMSG& m) {
         int8_t v = 0;
         return m.ReadByte(v) && v == int8_t(0xAB);
     }},
    {"Short",
     [](CZVMSG& m) { return m.WriteShort(int16_t{-2}); },
     {0xFE, 0xFF},
     [](CZVMSG& m) {
         uint16_t v = 0;
         return m.ReadShort(v) && v == 0xFFFE;
     }},
    {"StringWithPadding",
     [](CZVMSG& m) { return m.WriteString("abc"); },
     {3, 0, 0, 0, 'a', 'b', 'c', 0},
     [](CZVMSG& m) {
         std::string s;
         return m.ReadString(s) && s == "abc";
     }},
    {"StringWithoutPadding",
     [](CZVMSG& m) { return m.WriteString("abcd"); },
     {4, 0, 0, 0, 'a', 'b', 'c', 'd'},
     [](CZVMSG& m) {
         std::string s;
         return m.ReadString(s) && s == "abcd";
     }},
    {"EmptyString",
     [](CZVMSG& m) { return m.WriteString(""); },
     {0, 0, 0, 0},
     [](CZVMSG& m) {
         std::string s = "x";
         return m.ReadString(s) && s.empty();
     }},
    {"StringWithAZeroByte",
     [](CZVMSG& m) { return m.WriteString(std::string("a\0b", 3)); },
     {3, 0, 0, 0, 'a', 0, 'b', 0},
     [](CZVMSG& m) {
         std::string s;
         return m.ReadString(s) && s == std::string("a\0b", 3);
     }},
    {"RawBlock",
     [](CZVMSG& m) { return m.WriteBytes("\x01\x02\x03\x04\x05", 5); },
     {1, 2, 3, 4, 5, 0, 0, 0},
     [](CZVMSG& m) {
         uint8_t b[5] = {};
         return m.ReadBytes(b, 5) && b[4] == 5;
     }},
    {"Time",
     [](CZVMSG& m) { return m.WriteTime(SundayAfternoon()); },
     {0xE8, 0x07, 3, 0, 6, 0, 10, 0, 13, 0, 45, 0, 30, 0, 0xFA, 0},
     [](CZVMSG& m) {
         CZVTime t;
         return m.ReadTime(t) && t == SundayAfternoon();
     }},
    {"PackedTime",
     [](CZVMSG& m) { return m.WritePackedTime(SundayAfternoon()); },
     {24, 0x63, 10, 13, 45, 30},
     [](CZVMSG& m) {
         CZVTime expected = SundayAfternoon();
         expected.SetMilliseconds(0);
         CZVTime t;
         return m.ReadPackedTime(t) && t == expected;
     }},
    {"NegativeSpan",
     [](CZVMSG& m) {
         CZVTimeSpan span(1, 2, 3, 4, 5);
         span.SetNegative(1);
         return m.WriteTimeSpan(span);
     },
     {1, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0},
     [](CZVMSG& m) {
         CZVTimeSpan s;
         return m.ReadTimeSpan(s) && s.IsNegative() && s.GetTotalMilliseconds() == 93784005;
     }},
    {"SpanOfMoreThanAWeek",
     [](CZVMSG& m) { return m.WriteTimeSpan(CZVTimeSpan(9, 2, 0, 0, 0)); },
     {0, 0, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0},
     [](CZVMSG& m) {
         CZVTimeSpan s;
         return m.ReadTimeSpan(s) && !s.IsNegative() && s.GetTotalHours() == 50;
     }},
    {"Color",
     [](CZVMSG& m) { return m.WriteColor(0x00332211); },
     {0x11, 0, 0, 0, 0x22, 0, 0, 0, 0x33, 0, 0, 0},
     [](CZVMSG& m) {
         uint32_t c = 0;
         return m.ReadColor(c) && c == 0x00332211;
     }},
    {"Rectangle",
     [](CZVMSG& m) {
         return m.WriteRect({10, 20, 29, 59});
     },
     {10, 0, 0, 0, 20, 0, 0, 0, 20, 0, 0, 0, 40, 0, 0, 0},
     [](CZVMSG& m) {
         ZVRectEdges r;
         return m.ReadRect(r) && r == ZVRectEdges{10, 20, 29, 59};
     }},
};

INSTANTIATE_TEST_SUITE_P(CZVMSG, MessageValues, testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CZVMSG, HeaderCarriesIdsAndTheLengthWritten) {
    CZVMSG msg(0x1234, 0x0567, 8);
    EXPECT_EQ(msg.GetLength(), 8) << "the initial size is the length until the first write";
    ASSERT_EQ(msg.WriteInt(7), 1);
    EXPECT_EQ(msg.GetLength(), 4);
    EXPECT_EQ(WireOf(msg), (Bytes{0x34, 0x12, 0x67, 0x05, 4, 0, 0, 0, 7, 0, 0, 0}));

    ASSERT_EQ(msg.SetSenderId(0x7FFF), 1);
    ASSERT_EQ(msg.SetId(0x0101), 1);
    EXPECT_EQ(WireOf(msg), (Bytes{0xFF, 0x7F, 0x01, 0x01, 4, 0, 0, 0, 7, 0, 0, 0}));

    CZVMSG empty(3, 4);
    EXPECT_EQ(WireOf(empty), (Bytes{3, 0, 4, 0, 0, 0, 0, 0}));
}

TEST(CZVMSG, PresetPayloadIsZeroedAndFilledInPlace) {
    CZVMSG msg(1, 2, 6);
    EXPECT_EQ(PayloadOf(msg), Bytes(6, 0));
    msg.GetData()[5] = 9;
    EXPECT_EQ(WireOf(msg), (Bytes{1, 0, 2, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 9}));
}

struct LimitCase {
    ZVVariant variant;
    int32_t length;
    bool accepted;
};

std::string VariantName(ZVVariant variant) {
    switch (variant) {
    case ZVVariant::Tablet: return "Tablet";
    case ZVVariant::Config: return "Config";
    case ZVVariant::Monitor: return "Monitor";
    }
    return "";
}

std::string LimitName(const LimitCase& c) {
    return VariantName(c.variant) + (c.length < 0 ? "Minus" : "") + std::to_string(std::abs(int64_t{c.length}));
}

void PrintTo(const LimitCase& c, std::ostream* os) { *os << LimitName(c); }
void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class MessageLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(MessageLimits, BoundBuiltAndReceivedPayloads) {
    const LimitCase& c = GetParam();
    CZVMSG built(5, 6, c.length, 1, c.variant);
    EXPECT_EQ(built.GetLength(), c.accepted ? c.length : 0);
    EXPECT_EQ(built.GetData() != nullptr, c.accepted);

    Bytes frame = {5, 0, 6, 0};
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<uint8_t>(static_cast<uint32_t>(c.length) >> (8 * i)));
    frame.resize(frame.size() + std::max(c.length, 0) + 4);  // room for a following frame
    Received received(frame, c.variant);
    EXPECT_EQ(received->GetLength(), c.accepted ? c.length : 0);
    EXPECT_EQ(received->GetId(), c.accepted ? 6 : CZVMSG::kNoId);
    EXPECT_EQ(received->GetSenderId(), c.accepted ? 5 : CZVMSG::kNoId);
}

INSTANTIATE_TEST_SUITE_P(
    CZVMSG, MessageLimits,
    testing::Values(LimitCase{ZVVariant::Tablet, 1000000, true}, LimitCase{ZVVariant::Tablet, 1000001, false},
                    LimitCase{ZVVariant::Config, 500000, true}, LimitCase{ZVVariant::Config, 500001, false},
                    LimitCase{ZVVariant::Monitor, 500000, true}, LimitCase{ZVVariant::Monitor, 500001, false},
                    LimitCase{ZVVariant::Monitor, -1, false}, LimitCase{ZVVariant::Tablet, INT_MIN, false},
                    LimitCase{ZVVariant::Config, 0, true}),
    [](const auto& info) { return LimitName(info.param); });

TEST(CZVMSG, FrameShorterThanItsHeaderSaysIsRefused) {
    Bytes frame = FrameWithPayload({1, 2, 3, 4, 5, 6, 7, 8});
    frame.resize(frame.size() - 1);
    Received truncated(frame);
    EXPECT_EQ(truncated->GetId(), CZVMSG::kNoId);
    EXPECT_EQ(truncated->GetLength(), 0);

    Received headerOnly(Bytes{1, 0, 2});
    EXPECT_EQ(headerOnly->GetId(), CZVMSG::kNoId);
}

TEST(CZVMSG, GrowsAcrossManyStepsKeepingItsContent) {
    CZVMSG msg(1, 2);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(msg.WriteInt(i * 7), 1);
    ASSERT_EQ(msg.WriteString(std::string(1000, 'q')), 1);
    msg.ResetPosition();
    for (int i = 0; i < 300; ++i) {
        int32_t v = 0;
        ASSERT_EQ(msg.ReadInt(v), 1);
        ASSERT_EQ(v, i * 7);
    }
    std::string text;
    ASSERT_EQ(msg.ReadString(text), 1);
    EXPECT_EQ(text, std::string(1000, 'q'));
}

TEST(CZVMSG, WritingAfterReadingEndsTheMessageThere) {
    CZVMSG msg(1, 2);
    msg.WriteInt(1);
    msg.WriteInt(2);
    msg.WriteInt(3);
    msg.ResetPosition();
    int32_t v = 0;
    msg.ReadInt(v);
    msg.WriteInt(9);
    EXPECT_EQ(PayloadOf(msg), (Bytes{1, 0, 0, 0, 9, 0, 0, 0}));
}

// A broadcast is one message read by every sink in turn: one sink's failed read must not spoil
// the message for the sinks after it, which rewind before reading.
TEST(CZVMSG, ARewindAfterAFailedReadReadsTheMessageAfresh) {
    Received msg(FrameOf([](CZVMSG& m) {
        m.WriteString("abc");
        m.WriteInt(5);
    }));
    std::string text;
    ASSERT_EQ(msg->ReadString(text), 1);
    int32_t v = 0;
    ASSERT_EQ(msg->ReadInt(v), 1);
    EXPECT_EQ(msg->ReadInt(v), 0) << "past the end";
    EXPECT_EQ(v, 5) << "a failed read leaves its output alone";
    EXPECT_EQ(msg->ReadString(text), 0) << "and so does every read after it";

    msg->ResetPosition();
    text.clear();
    EXPECT_EQ(msg->ReadString(text), 1);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(msg->ReadInt(v), 1);
    EXPECT_EQ(v, 5);
}

TEST(CZVMSG, FailedCompositeReadLeavesThePositionAlone) {
    // A colour with only two of its three ints.
    Received msg(FrameOf([](CZVMSG& m) {
        m.WriteInt(1);
        m.WriteInt(2);
    }));
    uint32_t color = 0;
    EXPECT_EQ(msg->ReadColor(color), 0);
    int32_t v = 0;
    EXPECT_EQ(msg->ReadInt(v), 1);
    EXPECT_EQ(v, 1);
}

TEST(CZVMSG, StringWhosePaddingRunsPastTheEndFails) {
    Received msg(FrameWithPayload({3, 0, 0, 0, 'a', 'b', 'c'}));
    std::string text = "kept";
    EXPECT_EQ(msg->ReadString(text), 0);
    EXPECT_EQ(text, "kept");
    int32_t count = 0;
    EXPECT_EQ(msg->ReadInt(count), 1) << "the position is back before the count";
    EXPECT_EQ(count, 3);
}

TEST(CZVMSG, RawBlockAtTheEndNeedsNoPaddingAndStopsAtTheEnd) {
    Received msg(FrameWithPayload({1, 2, 3, 4, 5}));
    uint8_t block[5] = {};
    ASSERT_EQ(msg->ReadBytes(block, 5), 1);
    EXPECT_EQ(block[4], 5);
    ASSERT_EQ(msg->WriteByte(uint8_t{6}), 1);
    EXPECT_EQ(PayloadOf(*msg), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST(CZVMSG, StringCountsOutsideTheCapAndTheMessage) {
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor}) {
        SCOPED_TRACE(static_cast<int>(variant));
        const bool monitor = variant == ZVVariant::Monitor;
        for (int count : {10000, 10001, 12000}) {
            Received msg(FrameOf([&](CZVMSG& m) {
                             m.WriteString(std::string(count, 'x'));
                             m.WriteInt(77);
                         }),
                         variant);
            std::string text = "kept";
            ASSERT_EQ(msg->ReadString(text), 1);
            const bool whole = monitor || count <= CZVMSG::kMaxStringLength;
            EXPECT_EQ(text.size(), whole ? size_t(count) : 0u) << count;
            int32_t next = 0;
            ASSERT_EQ(msg->ReadInt(next), 1) << "the characters are skipped";
            EXPECT_EQ(next, 77);
        }
        Received tooLong(FrameWithPayload({9, 0, 0, 0, 'a', 'b', 'c', 'd'}), variant);
        std::string text;
        EXPECT_EQ(tooLong->ReadString(text), 0);
    }
    Received negative(FrameWithPayload({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'}));
    std::string text;
    EXPECT_EQ(negative->ReadString(text), 0);
}

TEST(CZVMSG, MonitorReadsUtf16Strings) {
    // "Aé€" in UTF-16LE: six bytes, with the top bit of the count set.
    const Bytes payload = {6, 0, 0, 0x80, 'A', 0, 0xE9, 0, 0xAC, 0x20, 0, 0, 5, 0, 0, 0};
    Received narrow(FrameWithPayload(payload), ZVVariant::Monitor);
    std::string text;
    ASSERT_EQ(narrow->ReadString(text), 1);
    EXPECT_EQ(text, "A\xE9\x80");
    int32_t next = 0;
    ASSERT_EQ(narrow->ReadInt(next), 1);
    EXPECT_EQ(next, 5);

    Received wide(FrameWithPayload(payload), ZVVariant::Monitor);
    std::u16string wideText;
    ASSERT_EQ(wide->ReadString(wideText), 1);
    EXPECT_EQ(wideText, u"A\u00E9\u20AC");

    Received elsewhere(FrameWithPayload(payload), ZVVariant::Config);
    EXPECT_EQ(elsewhere->ReadString(text), 0) << "a negative count outside the monitor";
}

TEST(CZVMSG, EightBitTextWidensThroughTheCodePage) {
    Received msg(FrameOf([](CZVMSG& m) { m.WriteString("caf\xE9 \x80"); }));
    std::u16string text;
    ASSERT_EQ(msg->ReadString(text), 1);
    EXPECT_EQ(text, u"caf\u00E9 \u20AC");
}

TEST(CZVMSG, OnlyTheMonitorSkipsValuesReadIntoNull) {
    const Bytes frame = FrameOf([](CZVMSG& m) {
        m.WriteInt(1);
        m.WriteShort(uint16_t{2});
        m.WriteShort(uint16_t{3});
        m.WriteString("s");
    });
    Received monitor(frame, ZVVariant::Monitor);
    EXPECT_EQ(monitor->ReadInt(nullptr), 1);
    EXPECT_EQ(monitor->ReadShort(nullptr), 1);
    uint16_t value = 0;
    ASSERT_EQ(monitor->ReadShort(value), 1);
    EXPECT_EQ(value, 3);

    Received tablet(frame, ZVVariant::Tablet);
    EXPECT_EQ(tablet->ReadInt(nullptr), 0);
    int32_t first = 0;
    EXPECT_EQ(tablet->ReadInt(first), 1);
    EXPECT_EQ(first, 1) << "nothing was skipped";
}

TEST(CZVMSG, ColorUsesTheLowByteOfEachInt) {
    Received msg(FrameOf([](CZVMSG& m) {
        m.WriteInt(0x1FF);
        m.WriteInt(0x100);
        m.WriteInt(-0x55);
    }));
    uint32_t color = 0;
    ASSERT_EQ(msg->ReadColor(color), 1);
    EXPECT_EQ(color, 0xAB00FFu);
}

TEST(CZVMSG, RectangleEdgesWrapWithoutOverflow) {
    Received msg(FrameOf([](CZVMSG& m) { m.WriteRect({INT_MAX, INT_MIN, INT_MIN, INT_MAX}); }));
    ZVRectEdges rect;
    ASSERT_EQ(msg->ReadRect(rect), 1);
    EXPECT_EQ(rect, (ZVRectEdges{INT_MAX, INT_MIN, INT_MIN, INT_MAX}));
}

TEST(CZVMSG, TimeTakesTheDayOfWeekOfAValidDate) {
    // 10 March 2024 sent as a Monday: the calendar says Sunday.
    Received valid(FrameWithPayload({0xE8, 0x07, 3, 0, 0, 0, 10, 0, 13, 0, 45, 0, 30, 0, 0, 0}));
    CZVTime time;
    ASSERT_EQ(valid->ReadTime(time), 1);
    EXPECT_EQ(time.GetDayOfWeek(), 6);

    // 31 February and hour 25 are kept as sent, day of week included.
    Received odd(FrameWithPayload({0xE8, 0x07, 2, 0, 2, 0, 31, 0, 25, 0, 61, 0, 0, 0, 0, 0}));
    ASSERT_EQ(odd->ReadTime(time), 1);
    EXPECT_EQ(time.GetMonth(), 2);
    EXPECT_EQ(time.GetDay(), 31);
    EXPECT_EQ(time.GetHour(), 25);
    EXPECT_EQ(time.GetMinute(), 61);
    EXPECT_EQ(time.GetDayOfWeek(), 2);
}

TEST(CZVMSG, WritingToAReceivedMessageLeavesTheFrameAlone) {
    Received msg(FrameOf([](CZVMSG& m) { m.WriteInt(1); }));
    const Bytes frame = msg.Frame();
    int32_t v = 0;
    ASSERT_EQ(msg->ReadInt(v), 1);
    ASSERT_EQ(msg->WriteInt(2), 1);
    ASSERT_EQ(msg->SetSenderId(0x4444), 1);
    EXPECT_EQ(msg.Frame(), frame);
    EXPECT_EQ(WireOf(*msg), (Bytes{0x44, 0x44, 2, 0, 8, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}));

    Received renamed(frame);
    ASSERT_EQ(renamed->SetId(9), 1);
    EXPECT_EQ(renamed.Frame(), frame);
    EXPECT_EQ(WireOf(*renamed), (Bytes{1, 0, 9, 0, 4, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(CZVMSG, SetLengthMakesZeroedRoomOrCutsShort) {
    CZVMSG msg(1, 2);
    msg.WriteInt(-1);
    msg.WriteInt(-1);
    ASSERT_EQ(msg.SetLength(2), 1);
    ASSERT_EQ(msg.SetLength(200), 1);
    Bytes expected(200, 0);
    expected[0] = expected[1] = 0xFF;
    EXPECT_EQ(PayloadOf(msg), expected);
    EXPECT_EQ(msg.SetLength(-1), 0);
}

TEST(CZVMSG, CloneOutlivesTheFrameAndStandsAlone) {
    auto* frame = new Bytes(FrameOf([](CZVMSG& m) {
        m.WriteString("abc");
        m.WriteInt(4);
    }));
    std::unique_ptr<CZVMSG> clone;
    {
        CZVMSG received(*frame, ZVVariant::Config);
        int32_t v = 0;
        received.ReadInt(v);
        received.ReadInt(v);
        received.ReadInt(v);
        received.ReadInt(v);  // fails: the error flag is set
        clone = received.Clone();
        ASSERT_TRUE(clone);
        EXPECT_EQ(WireOf(*clone), *frame);
    }
    const Bytes image = *frame;
    delete frame;

    EXPECT_EQ(clone->GetVariant(), ZVVariant::Config);
    std::string text;
    ASSERT_EQ(clone->ReadString(text), 1) << "position 0 and no error";
    EXPECT_EQ(text, "abc");

    std::unique_ptr<CZVMSG> second = clone->Clone();
    second->WriteInt(99);
    EXPECT_EQ(WireOf(*clone), image);
}

TEST(CZVMSG, EqualityIgnoresOnlyTheSenderId) {
    auto make = [](uint16_t sender, uint16_t id, int32_t value) {
        auto msg = std::make_unique<CZVMSG>(sender, id);
        msg->WriteInt(value);
        return msg;
    };
    auto base = make(1, 10, 5);
    EXPECT_TRUE(base->IsEqual(*make(2, 10, 5)));
    EXPECT_FALSE(base->IsEqual(*make(1, 11, 5)));
    EXPECT_FALSE(base->IsEqual(*make(1, 10, 6)));
    CZVMSG longer(1, 10);
    longer.WriteInt(5);
    longer.WriteByte(uint8_t{0});
    EXPECT_FALSE(base->IsEqual(longer));
    EXPECT_TRUE(CZVMSG(1, 2).IsEqual(CZVMSG(3, 2)));
}

}  // namespace
