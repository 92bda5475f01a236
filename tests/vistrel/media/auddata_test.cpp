// The audio records: source path lists read from a zone state and compared,
// zone records, the program-wide audio values and the title requests.
#include "vistrel/media/audio/auddata.h"

#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "samplegateway/wire.h"
#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/audio/titlerequests.h"
#include "widgets/window/gateway.h"

namespace {

using samplegateway::PayloadWriter;

struct Entry {
    int32_t id;
    int32_t kind;
};

// A path list as a zone state carries it: a count, then id, name, kind.
CAudDataList ListOf(std::initializer_list<Entry> entries, const char* name = "x") {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(entries.size()));
    for (const Entry& e : entries) out.Int(e.id).String(name).Int(e.kind);
    const samplegateway::Bytes bytes = out;
    CZVMSG message(0, ZVM_AUDIO_ZONECHANGED);
    message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    message.ResetPosition();
    return CAudDataList(&message);
}

TEST(AudDataList, ReadsEntriesInOrder) {
    const CAudDataList list = ListOf({{5, 1}, {9, 1004}}, "Albums");
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(list.ok());
    EXPECT_EQ(list.GetAt(1)->id, 9);
    EXPECT_EQ(list.GetAt(1)->kind, 1004);
    EXPECT_STREQ(CZVString(list.GetAt(0)->name).GetAnsi(), "Albums");
    EXPECT_EQ(list.GetAt(2), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST(AudDataList, ACountBeyondTheMessageReadsWhatIsThere) {
    PayloadWriter out;
    out.Int(1000000).Int(3).String("A").Int(1);
    const samplegateway::Bytes bytes = out;
    CZVMSG message(0, ZVM_AUDIO_ZONECHANGED);
    message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    message.ResetPosition();
    const CAudDataList list(&message);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_FALSE(list.ok());
}

TEST(AudDataList, SamenessByIdOrRadioDirectory) {
    struct Case {
        CAudDataList a;
        CAudDataList b;
        bool same;
    };
    const Case cases[] = {
        {ListOf({{5, 1}, {1004, 1004}}), ListOf({{5, 2}, {9, 1004}}, "other"), true},
        {ListOf({{5, 1}, {6, 1}}), ListOf({{5, 1}, {7, 1}}), false},
        {ListOf({{5, 1}}), ListOf({{5, 1}, {6, 1}}), false},
        {ListOf({}), ListOf({{5, 1}}), false},
        {ListOf({}), ListOf({}), true},
        {ListOf({{3, 1004}}), ListOf({{3, 1}}), true},
        {ListOf({{3, 1004}}), ListOf({{4, 1}}), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a.IsSame(c.b), c.same);
        EXPECT_EQ(c.b.IsSame(c.a), c.same);
    }
}

TEST(AudDataList, CopyFromReplacesTheEntries) {
    CAudDataList list = ListOf({{5, 1}, {6, 1}});
    list.CopyFrom(ListOf({}));
    EXPECT_EQ(list.GetCount(), 0);
    list.CopyFrom(ListOf({{8, 2}}));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->id, 8);
}

TEST(AudioZone, HoldsItsSourcesInOrder) {
    CAudioZone zone(2, "Patio", 0, CAudioZone::kNoSettingsLayout, 0);
    zone.AddSource(3000, 3000, "Music Server", "");
    zone.AddSource(3100, 3100, "FM Tuner", "TUNER");
    ASSERT_EQ(zone.GetSourceCount(), 2);
    EXPECT_STREQ(CZVString(zone.GetSource(1)->name).GetAnsi(), "FM Tuner");
    EXPECT_STREQ(CZVString(zone.GetSource(1)->iconName).GetAnsi(), "TUNER");
    EXPECT_EQ(zone.GetSource(2), nullptr);
}

class AudioValuesTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAudioValues(); }
    void TearDown() override { ResetAudioValues(); }
};

TEST_F(AudioValuesTest, TheKindWordSplitsIntoTypeAndFeatures) {
    SetSourceKindWord(0x02000BB9);  // features 0x2000000, type 3001
    EXPECT_EQ(GetSourceType(), 3001);
    EXPECT_EQ(GetSourceFeatures(), 0x2000000);
    SetSourceKindWord(-1);
    EXPECT_EQ(GetSourceType(), 0xFFFF);
    EXPECT_EQ(GetSourceFeatures(), static_cast<int>(0xFFFF0000u));
}

TEST_F(AudioValuesTest, TheToolkitSeesTheCurrentZone) {
    EXPECT_EQ(GetCurrentAudioZone(), -1);
    CAudioZone zone(7, "Den", 0, CAudioZone::kNoSettingsLayout, 0);
    SetCurrentAudioZone(&zone);
    EXPECT_EQ(GetCurrentAudioZone(), 7);
    EXPECT_EQ(GetCurrentAudioZoneRecord(), &zone);
    SetCurrentAudioZone(nullptr);
    EXPECT_EQ(GetCurrentAudioZone(), -1);
}

TEST_F(AudioValuesTest, ResetReturnsToTheStartValues) {
    SetSelectedAudioItem(3000);
    SetSourceKindWord(3103);
    SetRememberedAudioTab(2);
    ResetAudioValues();
    EXPECT_EQ(GetSelectedAudioItem(), -1);
    EXPECT_EQ(GetSourceKindWord(), 0);
    EXPECT_EQ(GetRememberedAudioTab(), 0);
    EXPECT_EQ(GetCurrentAudioZoneRecord(), nullptr);
}

}  // namespace
