// The partition model: its record, modes, status answers and subscription.
#include "vistrel/home/security/securitymodel.h"

#include <gtest/gtest.h>

#include "core/messages/securitymessages.h"
#include "security_fixture.h"

namespace {

using securitytest::Bytes;
using securitytest::HouseRecord;
using securitytest::Message;
using securitytest::PayloadWriter;
using securitytest::ReadRecord;
using securitytest::Record;
using securitytest::Status;
using SecurityModelTest = securitytest::SecurityTest;

TEST(SecurityRecord, TheModeBytesAreReadUnpaddedBeforeTheirNames) {
    const CSecurityRecord record = ReadRecord(HouseRecord(1, 0));
    EXPECT_EQ(record.name, "House");
    EXPECT_EQ(record.keypadAllowed, 1);
    EXPECT_EQ(record.bypassAllowed, 0);
    ASSERT_EQ(record.modes.size(), 5u);
    EXPECT_EQ(record.modes[3].name, "Instant");
    EXPECT_EQ(record.modes[3].armWithoutCode, 1);
    EXPECT_EQ(record.modes[2].codeLength, 4);
    EXPECT_EQ(record.modes[4].shown, 0);
    ASSERT_EQ(record.zones.size(), 5u);
    EXPECT_EQ(record.zones[4].name, "Garage Entry");
    EXPECT_EQ(record.zones[4].area, 1);
}

TEST(SecurityRecord, ACountBeyondThePayloadReadsWhatIsThereAndFails) {
    PayloadWriter w;
    w.String("X").Int(1).Int(1).Int(0).Int(1).Int(1).Int(1000000);
    CSecurityRecord record;
    EXPECT_EQ(ReadSecurityRecord(*Message(0x0443, w), &record), 0);
    EXPECT_TRUE(record.modes.empty());
}

TEST_F(SecurityModelTest, ShownModesCountOnlyTheShownAndTheStatusNamesTheCurrentOne) {
    CSecurityPartition partition(
        server, ReadRecord(Record({{0, 1, 0, 4, "Off"}, {1, 0, 0, 4, "Hidden"}, {2, 1, 0, 4, "On"}}, {})));
    EXPECT_EQ(partition.GetShownModeCount(), 2);
    EXPECT_EQ(partition.GetShownMode(1)->value, 2);
    EXPECT_EQ(partition.GetShownMode(2), nullptr);
    struct Case {
        int32_t word;
        int index;
        const char* name;
    };
    for (const Case& c :
         {Case{0x01 | 2 << 16, 1, "On"}, Case{0x01 | 1 << 16, -1, "Hidden"}, Case{0x01 | 3 << 16, -1, "Unknown"}}) {
        Deliver(partition, Status({}, {}, c.word));
        EXPECT_EQ(partition.GetCurrentModeIndex(), c.index) << c.word;
        EXPECT_STREQ(partition.GetCurrentModeName().GetAnsi(), c.name) << c.word;
    }
}

TEST_F(SecurityModelTest, AStatusAnswerSetsEveryZoneOfAnIdAndTellsTheListener) {
    CSecurityPartition partition(server, ReadRecord(Record({}, {{7, "Hall"}, {7, "Hall again"}, {8, "Porch"}})));
    Listener listener;
    partition.Subscribe(&listener);
    Deliver(partition, Status({"Low Battery"}, {{7, 0x05}, {99, 0x04}}, 0x08));
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(partition.GetStatusWord(), 0x08);
    EXPECT_STREQ(partition.GetStatusLine(0).GetAnsi(), "Low Battery");
    EXPECT_STREQ(partition.GetStatusLine(1).GetAnsi(), "");
    EXPECT_EQ(partition.GetZonesByState(0x04).size(), 2u);
    // The next answer starts every zone afresh.
    Deliver(partition, Status({}, {{8, 0x02}}, 0x04));
    const auto bypassed = partition.GetZonesByState(0x06);
    ASSERT_EQ(bypassed.size(), 1u);
    EXPECT_EQ(bypassed[0]->name, "Porch");
    EXPECT_EQ(partition.GetStatusLineCount(), 0);
}

TEST_F(SecurityModelTest, AStatusAnswerCutShortChangesNothingAndTellsNobody) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    Listener listener;
    partition.Subscribe(&listener);
    Deliver(partition, Status({"Fault"}, {{2, 0x05}}, 0x08));
    Bytes cut = Status({"Fault"}, {{2, 0x00}}, 0x04);
    cut.resize(cut.size() - 4);  // no status word
    Deliver(partition, cut);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(partition.GetStatusWord(), 0x08);
    EXPECT_EQ(partition.GetZonesByState(0x04).size(), 1u);
    EXPECT_EQ(partition.GetStatusLineCount(), 1);
}

TEST_F(SecurityModelTest, SubscribingTwiceSendsOnceAndAReconnectionSubscribesAgain) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    Listener listener;
    partition.Subscribe(&listener);
    partition.Subscribe(&listener);
    testsupport::Frame status;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SECURITY_GETSTATUSQ, &status));
    ASSERT_TRUE(PollUntil([&] { return listener.changes == 1; }));  // the sample's answer
    EXPECT_EQ(Asked(ZVM_SECURITY_SUBSCRIBE), 1);
    EXPECT_EQ(status.sender, partition.GetId());
    testsupport::Frame subscribe = LastRequest(ZVM_SECURITY_SUBSCRIBE);
    EXPECT_EQ(subscribe.sender, 0);
    partition.OnConnect(1);
    ASSERT_TRUE(PollUntil([&] { return Asked(ZVM_SECURITY_SUBSCRIBE) == 2 && Asked(ZVM_SECURITY_GETSTATUSQ) == 2; }));
    EXPECT_EQ(partition.Unsubscribe(), 1);
    EXPECT_EQ(partition.Unsubscribe(), 0);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SECURITY_UNSUBSCRIBE));
}

TEST_F(SecurityModelTest, AStatusChangeNoticeAsksTheStatusAgain) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    Listener listener;
    partition.Subscribe(&listener);
    ASSERT_TRUE(PollUntil([&] { return listener.changes == 1; }));
    ASSERT_TRUE(gateway.Push(ZVM_SECURITY_STATUSCHANGED, {}, partition.GetId()));
    ASSERT_TRUE(PollUntil([&] { return listener.changes == 2; }));
    EXPECT_EQ(partition.GetStatusWord(), 0x08);
}

TEST_F(SecurityModelTest, TheListsNameTheSampleZonesAndUnknownOtherwise) {
    CSecurityLists lists(server, 1);
    EXPECT_STREQ(lists.GetName(3).GetAnsi(), "Kitchen Window");
    EXPECT_STREQ(lists.GetName(42).GetAnsi(), "UNKNOWN");
}

}  // namespace
