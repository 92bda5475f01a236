// The audio zones page: its zones and preview entry, the source page a zone
// state makes, the selector's form and choices, the settings flags and the
// library tabs, against the sample house or scripted answers.
#include <gtest/gtest.h>

#include <string>

#include "audio_fixture.h"
#include "samplegateway/volumes.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiosettingswnd.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/shell/customlayoutpage.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

using audiotest::AudioTest;
using testsupport::PayloadWriter;

std::vector<int> TabCommands(CTabContainer* tabs) {
    std::vector<int> ids;
    for (int i = 0; tabs && i < tabs->GetTabCount(); ++i)
        ids.push_back(static_cast<CZVButton*>(tabs->GetTab(i))->GetCommandId());
    return ids;
}

// The text of the notice a plain source page shows; empty without one.
std::string NoticeOf(CAudioSourcePage* page) {
    if (!page || page->GetChildren().IsEmpty()) return "";
    auto* label = dynamic_cast<CZVLabel*>(static_cast<CZVWindow*>(page->GetChildren().GetHead()));
    return label ? label->GetText().GetAnsi() : "";
}

// A zone list of three entries with the ids given, each with one source.
testsupport::Bytes ZoneList(int32_t hasPreview, std::initializer_list<int32_t> ids) {
    PayloadWriter out;
    out.Int(hasPreview).Int(static_cast<int32_t>(ids.size()));
    for (int32_t id : ids)
        out.Int(id)
            .String("Zone " + std::to_string(id))
            .Int(0)
            .Int(0x7FFF)
            .Int(0)
            .Int(1)
            .String("g")
            .Int(1)
            .Int(id * 10)
            .Int(3000)
            .String("Music")
            .String("");
    return out;
}

TEST_F(AudioTest, ThePreviewEntryGoesToTheSideListAndTheZonesToTabs) {
    Connect();
    gateway.Answer(ZVM_AUDIO_GETSOURCESQ, ZoneList(1, {0, 7, 8}));
    CAudioZonesPage* p = OpenPage();
    ASSERT_NE(p->GetPreviewList(), nullptr);
    EXPECT_STREQ(p->GetPreviewList()->GetTab(0)->GetText().GetAnsi(), "Source\nPreview");
    EXPECT_EQ(TabCommands(p->GetPreviewList()), (std::vector<int>{4100}));
    EXPECT_EQ(TabCommands(p->GetZoneTabs()), (std::vector<int>{4001, 4002}));
    EXPECT_EQ(GetCurrentAudioZone(), 7);
    p->OnCommand(4100);
    EXPECT_EQ(GetCurrentAudioZone(), 0);
    p->OnCommand(4002);
    EXPECT_EQ(GetCurrentAudioZone(), 8);
}

TEST_F(AudioTest, TheReopenedPageShowsTheZoneLastChosen) {
    ConnectToSampleHouse();
    OpenPage()->OnCommand(4002);  // the Patio, second tab after the preview entry
    EXPECT_EQ(GetCurrentAudioZone(), 2);
    page.reset();
    EXPECT_EQ(GetCurrentAudioZone(), -1);
    CAudioZonesPage* p = OpenPage();
    EXPECT_EQ(GetCurrentAudioZone(), 2);
    EXPECT_EQ(p->GetZoneTabs()->GetSelectedIndex(), 1);
}

TEST_F(AudioTest, AZoneStateWithoutAZoneListChangesNothing) {
    Connect();
    gateway.Answer(ZVM_AUDIO_GETSOURCESQ, PayloadWriter().Int(0).Int(2).Int(1));  // cut short
    CAudioZonesPage* p = OpenPage();
    EXPECT_EQ(p->IsLoading(), 1);
    State(11, 3000, 0);
    EXPECT_EQ(p->GetSourcePage(), nullptr);
    EXPECT_EQ(GetSelectedAudioItem(), -1);
}

TEST_F(AudioTest, TheKindWordPicksTheSourcePage) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    struct Case {
        int32_t source;
        int32_t kind;
        const char* notice;
        bool custom;
    };
    const Case cases[] = {
        {-1, 3000, "Zone Off", false}, {23, 3002, "Waiting for Media", false}, {15, 3103, "", true},
        {11, 3000, "", false},         {12, 0x02000000 | 3100, "", false},     {-1, 3103, "Zone Off", false},
    };
    for (const Case& c : cases) {
        State(c.source, c.kind, 50);
        CAudioSourcePage* shown = p->GetSourcePage();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(NoticeOf(shown), c.notice) << c.kind;
        EXPECT_EQ(dynamic_cast<CCustomLayoutPage*>(shown) != nullptr, c.custom) << c.kind;
        EXPECT_EQ(shown->GetParent(), p);
    }
    EXPECT_EQ(GetSourceKindWord(), -1);
}

TEST_F(AudioTest, TheSameKindOfSourceKeepsItsPage) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    struct Step {
        int32_t kind;
        int32_t subId;
        std::vector<audiotest::PathEntry> path;
        bool kept;
    };
    const Step steps[] = {
        {3001, 0, {{5, 1}}, false},
        {3000, 0, {{5, 2}}, true},              // music with music, the same ids
        {0x800000 | 3000, 0, {{5, 1}}, false},  // other feature bits
        {0x800000 | 3000, 0, {{5, 1}, {9, 1004}}, false},
        {0x800000 | 3000, 0, {{5, 1}, {3, 1004}}, true},  // radio directories match
        {3000, 0, {{6, 1}}, false},
        {3103, 12, {}, false},
        {3103, 12, {}, true},
        {3103, 13, {}, false},  // another layout
        {3100, 13, {}, false},
        {3100, 14, {}, true},  // the sub id only counts for 3102 and 3103
    };
    for (const Step& s : steps) {
        CAudioSourcePage* before = p->GetSourcePage();
        State(11, s.kind, s.subId, s.path);
        EXPECT_EQ(p->GetSourcePage() == before, s.kept) << s.kind << " " << s.subId;
    }
}

TEST_F(AudioTest, TheStyleFlagsLimitTheSourcesInARow) {
    struct Case {
        int flags;
        int limit;
    };
    const Case cases[] = {{0, -1},        {0x800000, 0},  {0x1000000, 2}, {0x2000000, 4},
                          {0x4000000, 6}, {0x8000000, 8}, {0x8800000, 8}, {0x3000000, 4}};
    for (const Case& c : cases) EXPECT_EQ(CAudioZonesPage::SourceRowLimit(c.flags), c.limit) << c.flags;
}

TEST_F(AudioTest, ZonesWithMoreSourcesThanTheLimitGetTheList) {
    ConnectToSampleHouse();
    CSetServer::Get()->SetFlags(CSetServer::Get()->GetFlags() | 0x2000000);
    CAudioZonesPage* p = OpenPage();
    p->OnCommand(4002);  // the Patio: five sources
    EXPECT_NE(dynamic_cast<CSourceListWnd*>(p->GetSelector()), nullptr);
    p->OnCommand(4003);  // the Garage: two
    EXPECT_NE(dynamic_cast<CSourceRadioWnd*>(p->GetSelector()), nullptr);
}

TEST_F(AudioTest, TheSettingsColumnFlags) {
    struct Case {
        int id;
        int kind;
        int layout;
        int extra;
        int flags;
    };
    const Case cases[] = {
        {0, 1, 40, 1, 8},     {3, 4, 0x7FFF, 1, 16}, {3, 4, 40, 0, 20},    {1, 1, 40, 1, 7},
        {1, 1, 0x7FFF, 0, 1}, {2, 0, 0x7FFF, 0, 0},  {2, 2, 0x7FFF, 1, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CAudioZonesPage::SettingsFlags(CAudioZone(c.id, "z", c.kind, c.layout, c.extra)), c.flags);
}

// Whether the gateway was last told by the window of the sink to subscribe the zone (1) or to
// drop it (0); -1 when it heard neither.
int Subscribed(const testsupport::FakeGateway& gateway, int sink, int32_t zone) {
    int subscribed = -1;
    for (const testsupport::Frame& frame : gateway.Requests()) {
        testsupport::PayloadReader in(frame.payload);
        int32_t id = 0;
        if (frame.sender != sink || !in.Int(&id) || id != zone) continue;
        if (frame.id == ZVM_AUDIO_SUBSCRIBEZONE) subscribed = 1;
        if (frame.id == ZVM_AUDIO_UNSUBSCRIBEZONE) subscribed = 0;
    }
    return subscribed;
}

TEST_F(AudioTest, TheSettingsColumnFollowsTheChosenZone) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    CAudioSettingsWnd* column = p->GetSettingsColumn();
    ASSERT_NE(column, nullptr);
    const CZVRect strip = p->GetSettingsRect();
    EXPECT_EQ(column->GetParent(), p);
    EXPECT_EQ((std::vector<int>{column->GetX(), column->GetY(), column->GetWidth(), column->GetHeight()}),
              (std::vector<int>{strip.x, strip.y, strip.w, strip.h}));
    // The Living Room: the rocker with its "Mute" and "Settings" buttons, at the gateway's level.
    EXPECT_EQ(column->GetZone(), 1);
    ASSERT_NE(column->GetVolume(), nullptr);
    EXPECT_NE(column->GetSettingsButton(), nullptr);
    ASSERT_TRUE(SettleUntil([&] { return column->GetVolume()->GetValue() == samplegateway::kStartZoneLevel; }));

    // The Garage (kind 4) leaves the column empty; the Living Room is dropped.
    p->OnCommand(4003);
    EXPECT_EQ(column->GetZone(), 3);
    EXPECT_EQ(column->GetVolume(), nullptr);
    EXPECT_TRUE(column->GetChildren().IsEmpty());
    const int sink = column->GetId();
    ASSERT_TRUE(SettleUntil([&] { return Subscribed(gateway, sink, 3) == 1; }));
    EXPECT_EQ(Subscribed(gateway, sink, 1), 0);
    // The preview entry: no zone to follow.
    p->OnCommand(4100);
    EXPECT_EQ(column->GetZone(), 0);
    ASSERT_TRUE(SettleUntil([&] { return Subscribed(gateway, sink, 3) == 0; }));

    // Another source closes the open settings pop-up.
    p->OnCommand(4001);
    ASSERT_TRUE(Settle());
    column->OnCommand(CAudioSettingsWnd::kSettingsId);
    ASSERT_EQ(window->GetOverlayWindow(), column->GetPopup());
    State(15, 3103, 50);
    EXPECT_FALSE(column->IsPopupShown());
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);

    // A page laid out anew keeps a column that still fits, and its zone.
    p->Rebuild();
    EXPECT_EQ(p->GetSettingsColumn(), column);
    EXPECT_EQ(column->GetZone(), 1);

    // The column goes with the page, and with it its subscription.
    ASSERT_TRUE(SettleUntil([&] { return Subscribed(gateway, sink, 1) == 1; }));
    page.reset();
    EXPECT_TRUE(SettleUntil([&] { return Subscribed(gateway, sink, 1) == 0; }));
}

TEST_F(AudioTest, LibraryTabsFollowTheFeatureBits) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    struct Case {
        int features;
        int bit;
        int on;
    };
    const Case cases[] = {
        {0, 1, 1},  {0x800000, 1, 0},   {0, 4, 1},         {0x2000000, 4, 0},
        {0, 32, 0}, {0x4000000, 32, 1}, {0x2000000, 2, 1}, {0x800000, 16, 1},
    };
    for (const Case& c : cases) {
        SetSourceKindWord(c.features | 3000);
        EXPECT_EQ(p->IsLibraryTabEnabled(c.bit), c.on) << c.features << " " << c.bit;
    }
    SetSourceKindWord(0x4000000 | 0x800000 | 3000);
    EXPECT_EQ(p->CountLibraryTabs(), 5);  // 2, 4, 8, 16 and 32
}

TEST_F(AudioTest, ChoosingASourceOrOffTellsTheGateway) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    auto* selector = dynamic_cast<CSourceRadioWnd*>(p->GetSelector());
    ASSERT_NE(selector, nullptr);
    ASSERT_EQ(selector->GetOptionCount(), 6);  // "Off" and five sources
    selector->GetRegion()->SetSelection(5, 0);
    selector->OnCommand(CSourceSelWnd::kOptionChosen);
    testsupport::Frame frame;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_AUDIO_ZONECOMMAND, &frame));
    EXPECT_EQ(frame.payload, testsupport::Bytes(PayloadWriter().Int(1).Int(15).Int(3103).Int(0)));
    EXPECT_EQ(GetSelectedAudioItem(), 15);
    ASSERT_TRUE(SettleUntil([&] { return dynamic_cast<CCustomLayoutPage*>(p->GetSourcePage()) != nullptr; }));
    EXPECT_STREQ(p->GetSourceName().GetAnsi(), "Showcase");

    selector->GetRegion()->SetSelection(0, 0);
    selector->OnCommand(CSourceSelWnd::kOptionChosen);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_AUDIO_SOURCECOMMAND, &frame));
    EXPECT_EQ(frame.payload, testsupport::Bytes(PayloadWriter().Int(1).Int(5051).Int(0).Int(0)));
    EXPECT_EQ(GetSelectedAudioItem(), -1);
    ASSERT_TRUE(SettleUntil([&] { return NoticeOf(p->GetSourcePage()) == "Zone Off"; }));
}

TEST_F(AudioTest, TheZonesPageWithTheLivingRoom) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    ASSERT_TRUE(SettleUntil([&] { return p->GetSourcePage() != nullptr; }));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(window.get()), "audio_zones"));
}

}  // namespace
