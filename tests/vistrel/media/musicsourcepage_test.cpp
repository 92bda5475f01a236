// The music source page in an audio zone of the sample house: its tabs and
// their pages, the Now Playing child that follows the source type, the
// panel colour it gives the style, and the transport bar that reaches into
// the tabbed panel's frame.
#include "vistrel/media/music/musicsourcepage.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "support/golden.h"
#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "vistrel/media/music/mediaplayerpage.h"
#include "vistrel/media/music/mediatransportbar.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/trregion.h"

namespace {

using audiotest::PathEntry;

class MusicSource : public audiotest::AudioTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    // The page of a music server with those sub-sources, settled and painted.
    CMusicSourcePage* Open(const std::vector<PathEntry>& path) {
        CAudioZonesPage* zones = OpenPage();
        EXPECT_TRUE(Settle());
        State(11, 3000, 0, path);
        EXPECT_TRUE(Settle());
        auto* music = dynamic_cast<CMusicSourcePage*>(zones->GetSourcePage());
        EXPECT_NE(music, nullptr);
        window->PaintAll();
        return music;
    }
    static int TabId(CMusicSourcePage* music, int i) {
        return static_cast<CZVButton*>(music->GetTabRegion()->GetTabs()->GetTab(i))->GetCommandId();
    }
    static CAudioSourcePage* NowPlayingChild(CMusicSourcePage* music) { return music->GetNowPlaying()->GetChild(); }
};

TEST_F(MusicSource, TabsAreNowPlayingTheLibraryAndOnePerSubSource) {
    const struct {
        std::vector<PathEntry> path;
        std::vector<std::string> captions;
    } cases[] = {{{}, {"Now Playing", "Music Library"}},
                 {{{80, 1004}, {81, 5}}, {"Now Playing", "Music Library", "entry", "entry"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.size());
        CMusicSourcePage* music = Open(c.path);
        ASSERT_EQ(music->GetTabCount(), static_cast<int>(c.captions.size()));
        CTabContainer* tabs = music->GetTabRegion()->GetTabs();
        for (int i = 0; i < music->GetTabCount(); ++i) {
            EXPECT_STREQ(tabs->GetTab(i)->GetText().GetAnsi(), c.captions[static_cast<size_t>(i)].c_str());
            EXPECT_EQ(TabId(music, i), CMusicSourcePage::kNowPlayingTab + i);
        }
        EXPECT_EQ(music->GetCurrentPage(), music->GetNowPlaying());
    }
}

TEST_F(MusicSource, ABrowseTreeTabBrowsesItsSubSourceAndPagesAreKept) {
    CMusicSourcePage* music = Open({{80, 1004}, {81, 5}});
    music->OnCommand(CMusicSourcePage::kFirstSubSourceTab + 1);
    auto* tree = dynamic_cast<CAudioLibBrowseWnd*>(music->GetCurrentPage());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetSourceId(), 81);
    // The radio directory is no browse tree.
    EXPECT_EQ(dynamic_cast<CAudioLibBrowseWnd*>(music->GetTabPage(2)), nullptr);
    // Ids beyond the tabs change nothing; a page chosen again is the one made before.
    music->OnCommand(CMusicSourcePage::kFirstSubSourceTab + 2);
    music->OnCommand(CMusicSourcePage::kNowPlayingTab - 1);
    EXPECT_EQ(music->GetCurrentPage(), tree);
    CZVWindow* nowPlaying = music->GetNowPlaying();
    music->OnCommand(CMusicSourcePage::kNowPlayingTab);
    music->OnCommand(CMusicSourcePage::kFirstSubSourceTab + 1);
    EXPECT_EQ(music->GetCurrentPage(), tree);
    EXPECT_EQ(music->GetNowPlaying(), nowPlaying);
    EXPECT_FALSE(nowPlaying->IsShown());
}

TEST_F(MusicSource, TheNowPlayingChildFollowsTheLowBitsOfTheKindWord) {
    CMusicSourcePage* music = Open({});
    const struct {
        int32_t kind;
        bool radio;
        bool kept;
    } steps[] = {{3000, false, true},
                 {0x00800000 | 3000, false, true},
                 {3001, true, false},
                 {0x12340000 | 3001, true, true},
                 {3000, false, false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.kind);
        CAudioSourcePage* before = NowPlayingChild(music);
        music->OnSourceMessage(audiotest::ZoneState(11, s.kind, 0).get(), 0);
        EXPECT_EQ(NowPlayingChild(music) == before, s.kept);
        EXPECT_EQ(music->GetNowPlaying()->IsRadioMode(), s.radio ? 1 : 0);
        EXPECT_EQ(dynamic_cast<CMediaPlayerPage*>(NowPlayingChild(music)) == nullptr, s.radio);
    }
    // A zone state cut short after its source keeps the child.
    CAudioSourcePage* before = NowPlayingChild(music);
    auto cut = std::make_unique<CZVMSG>(0, ZVM_AUDIO_ZONECHANGED);
    cut->WriteInt(11);
    cut->ResetPosition();
    music->OnSourceMessage(cut.get(), 0);
    EXPECT_EQ(NowPlayingChild(music), before);
}

TEST_F(MusicSource, ThePanelColourCountsAsASkinColour) {
    CMusicSourcePage* music = Open({});
    const COLORREF panel = music->GetTabRegion()->GetBackColor();
    EXPECT_EQ(panel, CMusicSourcePage::PanelColour(music->GetFaceColor()));
    EXPECT_TRUE(CSetServer::Get()->IsSkinColor(panel, 0));
}

TEST_F(MusicSource, TheTransportBarReachesThePanelsEdges) {
    CMusicSourcePage* music = Open({{71, 5}});
    auto* player = dynamic_cast<CMediaPlayerPage*>(NowPlayingChild(music));
    ASSERT_NE(player, nullptr);
    CMediaTransportBar* bar = player->GetTransportBar();
    CTRRegion* region = music->GetTabRegion();
    EXPECT_EQ(bar->ToRootX(bar->GetWidth()), region->ToRootX(region->GetWidth()));
    EXPECT_EQ(bar->ToRootY(bar->GetHeight()), region->ToRootY(region->GetHeight()));
    // A tab change repaints only the new page: around it, the panel must look as if painted anew.
    music->OnCommand(CMusicSourcePage::kFirstSubSourceTab);
    const testsupport::Image565 afterChange = testsupport::ImageOf(*window->GetScreen());
    window->PaintAll();
    const testsupport::Image565 paintedAnew = testsupport::ImageOf(*window->GetScreen());
    ASSERT_EQ(afterChange.pixels.size(), paintedAnew.pixels.size());
    size_t stale = 0;
    for (size_t i = 0; i < afterChange.pixels.size(); ++i) stale += afterChange.pixels[i] != paintedAnew.pixels[i];
    EXPECT_EQ(stale, 0u);
}

}  // namespace
