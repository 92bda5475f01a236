// The playlist page against the sample library: track edits with and
// without a selected track, the local move, the items-changed notice of
// another playlist, the create flow, and a blocking delete whose library
// notice arrives while the query waits.
#include <gtest/gtest.h>

#include "library_fixture.h"
#include "support/golden.h"
#include "vistrel/media/music/musiclibrarypage.h"
#include "vistrel/media/music/playlistpage.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

class PlaylistPage : public librarytest::LibraryTest {
protected:
    CPlaylistPage* OpenLoaded(CZVRect rect) {
        auto* page = OpenIn<CPlaylistPage>(rect);
        EXPECT_TRUE(SettleUntil([&] { return TracksLoaded(page); }));
        return page;
    }
    bool TracksLoaded(CPlaylistPage* page) {
        CTrackList* tracks = page->GetTrackList();
        return Current(page->GetPlaylistsList()) && Current(page->GetPlaylistsList())->IsLoaded() &&
               tracks->GetCount() > 0 && RowLoaded(tracks, tracks->GetCount() - 1);
    }
    std::vector<int32_t> LastEdit() {
        const std::vector<std::vector<int32_t>> all = Sent(ZVM_AUDIO_EDITPLAYLISTITEM);
        return all.empty() ? std::vector<int32_t>{} : std::vector<int32_t>(all.back().begin() + 1, all.back().end());
    }
    static std::string TextAt(CTrackList* list, int i) {
        return static_cast<CLBAudioItem*>(list->GetItemAt(i))->GetFullText();
    }
    void Notify(CPlaylistPage* page, int32_t playlist, int32_t row) {
        CZVMSG message(0x7FFF, ZVM_AUDIO_PLAYLISTITEMSCHANGED);
        message.WriteInt(playlist);
        message.WriteInt(row);
        message.ResetPosition();
        page->OnMessage(&message);
    }
};

TEST_F(PlaylistPage, MovesSwapLocallyAndStopAtTheEnds) {
    CPlaylistPage* page = OpenLoaded(CZVRect(0, 0, kAreaWidth, 600));
    CTrackList* tracks = page->GetTrackList();
    const int32_t playlist = Current(page->GetPlaylistsList())->GetId(0);
    const int last = tracks->GetCount() - 1;
    const struct {
        int selected, command;
        std::vector<int32_t> sent;
        int after;
        bool swapped;
    } cases[] = {
        {0, kTrackUpCommand, {playlist, 0, kPlaylistMoveUp}, 0, false},
        {last, kTrackDownCommand, {playlist, last, kPlaylistMoveDown}, last, false},
        {3, kTrackUpCommand, {playlist, 3, kPlaylistMoveUp}, 2, true},
        {3, kTrackDownCommand, {playlist, 3, kPlaylistMoveDown}, 4, true},
    };
    for (const auto& c : cases) {
        const std::string moved = TextAt(tracks, c.selected);
        tracks->SelectIndex(c.selected, 0);
        page->OnCommand(c.command);
        EXPECT_EQ(LastEdit(), c.sent) << c.selected;
        EXPECT_EQ(tracks->GetSelectedIndex(), c.after) << c.selected;
        EXPECT_EQ(TextAt(tracks, c.after), moved) << c.selected;
        ASSERT_TRUE(SettleUntil([&] { return TracksLoaded(page); }));
    }
    Close(page);
}

TEST_F(PlaylistPage, EditsNeedASelectedTrack) {
    CPlaylistPage* page = OpenLoaded(CZVRect(0, 0, kAreaWidth, 600));
    page->GetTrackList()->Select(nullptr, 0);
    for (int command : {kTrackDeleteCommand, kTrackUpCommand, kTrackDownCommand}) page->OnCommand(command);
    EXPECT_EQ(CountSent(ZVM_AUDIO_EDITPLAYLISTITEM), 0u);
    // A delete reloads the whole playlist.
    page->GetTrackList()->SelectIndex(1, 0);
    const size_t browses = Browses(kBrowsePlaylistTracks);
    page->OnCommand(kTrackDeleteCommand);
    EXPECT_EQ(LastEdit()[2], kPlaylistDeleteTrack);
    EXPECT_GT(Browses(kBrowsePlaylistTracks), browses);
    Close(page);
}

TEST_F(PlaylistPage, OnlyTheSelectedPlaylistsNoticeReloadsItsTracks) {
    CPlaylistPage* page = OpenLoaded(CZVRect(0, 0, kAreaWidth, 600));
    const int32_t playlist = Current(page->GetPlaylistsList())->GetId(0);
    const size_t browses = Browses(kBrowsePlaylistTracks);
    Notify(page, playlist + 1, 2);
    EXPECT_EQ(Browses(kBrowsePlaylistTracks), browses);
    EXPECT_EQ(page->GetTrackList()->GetBrowseKind(), kBrowsePlaylistTracks);

    Notify(page, playlist, 2);
    EXPECT_EQ(Browses(kBrowsePlaylistTracks), browses + 1);
    // The row the notice names is selected once the tracks are in.
    ASSERT_TRUE(SettleUntil([&] { return page->GetTrackList()->GetSelectedIndex() == 2; }));
    Close(page);
}

TEST_F(PlaylistPage, CreateWaitsForItsAnswerAndSelectsTheNewRowOnceLoaded) {
    CPlaylistPage* page = OpenLoaded(CZVRect(0, 0, kAreaWidth, 600));
    page->OnCommand(CPlaylistPage::kCreateCommand);
    EXPECT_FALSE(page->GetCreateButton()->IsEnabled());
    // The sample library names it "New Playlist 1", which sorts after "Morning Swim".
    ASSERT_TRUE(SettleUntil([&] {
        CLBAudioItem* row = Current(page->GetPlaylistsList());
        return page->GetCreateButton()->IsEnabled() && row && row->IsLoaded() && row->GetFullText() == "New Playlist 1";
    }));
    EXPECT_EQ(page->GetPlaylistsList()->GetSelectedIndex(), 2);
    Close(page);
}

TEST_F(PlaylistPage, ALibraryNoticeDuringTheBlockingDeleteWaitsUntilTheQueryReturns) {
    UseZonesPage();
    SetLibraryBits(16);
    auto* library = new CMusicLibraryPage(source, CZVRect(0, 0, kAreaWidth, 600), server);
    source->AddChild(library);
    library->Show(1, 0);
    auto* page = dynamic_cast<CPlaylistPage*>(library->GetBrowsePage());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return TracksLoaded(page); }));
    const size_t playlists = static_cast<size_t>(page->GetPlaylistsList()->GetCount());
    // The gateway acknowledges and says at once that the library changed.
    page->OnCommand(CPlaylistPage::kDeleteCommand);
    EXPECT_EQ(library->GetBrowsePage(), page);
    EXPECT_FALSE(page->GetDeleteButton()->IsEnabled());
    ASSERT_TRUE(SettleUntil([&] { return library->GetBrowsePage() != page; }));
    auto* rebuilt = dynamic_cast<CPlaylistPage*>(library->GetBrowsePage());
    ASSERT_NE(rebuilt, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return TracksLoaded(rebuilt); }));
    EXPECT_EQ(static_cast<size_t>(rebuilt->GetPlaylistsList()->GetCount()), playlists - 1);
    source->RemoveChild(library);
    delete library;
}

TEST_F(PlaylistPage, LooksRight) {
    CPlaylistPage* page = OpenLoaded(PictureRect());
    // A selected track shows its edit buttons.
    page->GetTrackList()->SelectIndex(2, 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "music_playlist_page"));
    Close(page);
}

}  // namespace
