// The music library page: its tabs from the source's capability word and
// feature bits, an empty panel without any, and the browse page built anew
// on the library-changed notice, also while the page is hidden.
#include <gtest/gtest.h>

#include "library_fixture.h"
#include "vistrel/media/music/browsepages.h"
#include "vistrel/media/music/musiclibrarypage.h"
#include "vistrel/media/music/playlistpage.h"
#include "widgets/tabs/tabstrip.h"

namespace {

class LibraryPage : public librarytest::LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        UseZonesPage();
    }
    CMusicLibraryPage* Make(int32_t bits, int features) {
        SetLibraryBits(bits);
        SetSourceKindWord(kSourceKind | features);
        auto* page = new CMusicLibraryPage(source, CZVRect(0, 0, kAreaWidth, 600), server);
        source->AddChild(page);
        page->Show(1, 0);
        return page;
    }
    void Drop(CMusicLibraryPage* page) {
        source->RemoveChild(page);
        delete page;
    }
    static std::vector<int> TabIds(CMusicLibraryPage* page) {
        std::vector<int> ids;
        CTabContainer* tabs = page->GetTabs();
        for (int i = 0; i < tabs->GetTabCount(); ++i)
            ids.push_back(dynamic_cast<CZVButton*>(tabs->GetTab(i))->GetCommandId());
        return ids;
    }
};

TEST_F(LibraryPage, TabsFollowTheCapabilityWordAndTheFeatureBits) {
    const struct {
        int32_t bits;
        int features;
        std::vector<int> ids;
    } cases[] = {
        {1 | 2 | 4, 0, {6000, 6001, 6003}},
        {1 | 2 | 4, 0x4000000, {6000, 6001, 6003, 6005}},
        {1 | 2 | 4 | 8 | 16, 0x800000 | 0x2000000, {6001, 6002, 6004}},
        {16, 0, {6004}},
        {0, 0, {}},
    };
    for (const auto& c : cases) {
        CMusicLibraryPage* page = Make(c.bits, c.features);
        EXPECT_EQ(TabIds(page), c.ids) << c.bits << " " << c.features;
        const int perRow = std::max(static_cast<int>(c.ids.size()), 2);
        auto* strip = dynamic_cast<CTabStrip*>(page->GetTabs());
        if (strip && !c.ids.empty()) EXPECT_EQ(strip->GetTabWidth(), strip->GetWidth() / perRow) << c.bits;
        // Without a tab the panel stays empty.
        EXPECT_EQ(page->GetBrowsePage() == nullptr, c.ids.empty()) << c.bits;
        Drop(page);
    }
}

TEST_F(LibraryPage, ATabShowsItsPageAndTheLibraryNoticeRebuildsIt) {
    CMusicLibraryPage* page = Make(1 | 2 | 4 | 8 | 16, 0x4000000);
    EXPECT_NE(dynamic_cast<CTracksByArtistPage*>(page->GetBrowsePage()), nullptr);
    const struct {
        int tab;
        bool (*is)(CZVWindow*);
    } cases[] = {
        {6001, [](CZVWindow* w) { return dynamic_cast<CAlbumTracksPage*>(w) != nullptr; }},
        {6002, [](CZVWindow* w) { return dynamic_cast<CArtistAlbumPage*>(w) != nullptr; }},
        {6003, [](CZVWindow* w) { return dynamic_cast<CTrackListPage*>(w) != nullptr; }},
        {6004, [](CZVWindow* w) { return dynamic_cast<CPlaylistPage*>(w) != nullptr; }},
        {6005, [](CZVWindow* w) { return dynamic_cast<CGenreAlbumsPage*>(w) != nullptr; }},
    };
    for (const auto& c : cases) {
        page->GetTabs()->Select(c.tab - CMusicLibraryPage::kFirstTab, 0);
        page->OnCommand(c.tab);
        EXPECT_TRUE(c.is(page->GetBrowsePage())) << c.tab;
    }
    // Hidden, the notice still builds the page anew.
    page->Show(0, 0);
    CMusicBrowsePage* before = page->GetBrowsePage();
    const size_t genres = Browses(kBrowseMusicGenres);
    ASSERT_TRUE(gateway.Push(ZVM_AUDIO_LIBRARYCHANGED, {}));
    ASSERT_TRUE(SettleUntil([&] { return Browses(kBrowseMusicGenres) > genres; }));
    EXPECT_NE(page->GetBrowsePage(), before);
    EXPECT_NE(dynamic_cast<CGenreAlbumsPage*>(page->GetBrowsePage()), nullptr);
    EXPECT_FALSE(page->GetBrowsePage()->IsShown());
    Drop(page);
}

}  // namespace
