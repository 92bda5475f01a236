#include "gfx/pline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "support/assert_counter.h"

namespace {

// A message holding the given 32-bit ints, then `pointBytes` bytes of points.
std::unique_ptr<CZVMSG> Payload(std::vector<int32_t> ints, int pointBytes = 0) {
    auto msg = std::make_unique<CZVMSG>(1, 2);
    for (int32_t value : ints)
        msg->WriteInt(value);
    std::vector<uint8_t> points(pointBytes, 0x11);
    if (pointBytes)
        msg->WriteBytes(points.data(), pointBytes);
    msg->ResetPosition();
    return msg;
}

TEST(PLine, WireFormRoundTrips) {
    CPLineList list;
    list.AddNew()->AddPoint(1, 2);
    CPLine* second = list.AddNew();
    second->AddPoint(-1, 0x1234);
    second->AddPoint(300, 400);
    second->AddPoint(32767, -32768);

    CZVMSG msg(1, 2);
    ASSERT_EQ(list.Write(&msg), 1);
    ASSERT_EQ(msg.GetLength(), 28);
    const uint8_t expected[] = {2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 3, 0, 0, 0,
                                0xFF, 0xFF, 0x34, 0x12, 0x2C, 0x01, 0x90, 0x01, 0xFF, 0x7F, 0x00, 0x80};
    EXPECT_EQ(std::vector<uint8_t>(msg.GetData(), msg.GetData() + 28),
              std::vector<uint8_t>(std::begin(expected), std::end(expected)));

    msg.ResetPosition();
    CPLineList read;
    read.AddNew()->AddPoint(9, 9);  // replaced by the read
    ASSERT_EQ(read.Read(&msg), 1);
    ASSERT_EQ(read.GetCount(), 2);
    ASSERT_EQ(read.GetAt(1)->GetCount(), 3);
    EXPECT_EQ(read.GetAt(0)->GetX(0), 1);
    EXPECT_EQ(read.GetAt(1)->GetX(0), -1);
    EXPECT_EQ(read.GetAt(1)->GetY(0), 0x1234);
    EXPECT_EQ(read.GetAt(1)->GetY(2), -32768);
}

struct HostileCase {
    const char* name;
    std::vector<int32_t> ints;
    int pointBytes;
};

class PLineHostile : public testing::TestWithParam<HostileCase> {};

TEST_P(PLineHostile, ReadFailsWithAnEmptyList) {
    auto msg = Payload(GetParam().ints, GetParam().pointBytes);
    CPLineList list;
    list.AddNew()->AddPoint(1, 1);
    EXPECT_EQ(list.Read(msg.get()), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PLineHostile,
    testing::Values(HostileCase{"NoLineCount", {}, 0},
                    HostileCase{"NegativeLineCount", {-1}, 0},
                    HostileCase{"LineCountAbove16Bits", {65536}, 0},
                    HostileCase{"HugeLineCountShortMessage", {0x7FFFFFFF, 0, 0}, 0},
                    HostileCase{"SecondLineMissing", {2, 1}, 4},
                    HostileCase{"NegativePointCount", {1, -5}, 40},
                    HostileCase{"PointCountAbove16Bits", {1, 65536}, 65536 * 4},
                    HostileCase{"PointCountWrapsTo1", {1, 65537}, 65537 * 4},
                    HostileCase{"PointsCutShort", {1, 3}, 8},
                    HostileCase{"HugePointCount", {1, 0x7FFFFFFF}, 16}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PLine, LargestCountsRead) {
    auto msg = Payload({1, 65535}, 65535 * 4);
    CPLineList list;
    ASSERT_EQ(list.Read(msg.get()), 1);
    EXPECT_EQ(list.GetAt(0)->GetCount(), 65535);
    EXPECT_EQ(list.GetAt(0)->GetY(65534), 0x1111);

    std::vector<int32_t> empties(65536, 0);
    empties[0] = 65535;
    msg = Payload(empties);
    ASSERT_EQ(list.Read(msg.get()), 1);
    EXPECT_EQ(list.GetCount(), 65535);
}

TEST(PLine, CapacityNeverWrapsPast16Bits) {
    CPLine line;
    for (int i = 0; i < CPLine::kMaxPoints; ++i)
        ASSERT_EQ(line.AddPoint(static_cast<int16_t>(i), static_cast<int16_t>(-i)), 1) << i;
    EXPECT_EQ(line.AddPoint(1, 1), 0);
    EXPECT_EQ(line.Reserve(65536), 0);
    EXPECT_EQ(line.GetCount(), 65535);
    EXPECT_EQ(line.GetX(0), 0);
    EXPECT_EQ(line.GetX(64), 64);
    EXPECT_EQ(line.GetY(65534), static_cast<int16_t>(-65534));
}

TEST(PLine, BadIndexesAreReported) {
    testsupport::AssertCounter asserts;
    CPLineList list;
    CPLine* line = list.AddNew();
    line->AddPoint(5, 6);
    EXPECT_EQ(line->GetX(1), 0);
    EXPECT_EQ(line->GetY(-1), 0);
    EXPECT_EQ(list.GetAt(1), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(asserts.Count(), 4);
    EXPECT_EQ(asserts.LastSource(), "pline");
}

}  // namespace
