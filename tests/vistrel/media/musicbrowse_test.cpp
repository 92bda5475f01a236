// The browse pages of the music library against the sample library: the
// first-load chain of selections, the play and add commands each row button
// sends, and the genre-select mode with its pop-up.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "library_fixture.h"
#include "support/golden.h"
#include "vistrel/media/music/browsepages.h"
#include "vistrel/media/music/genreselectwnd.h"
#include "widgets/text/zvlabel.h"

namespace {

using librarytest::LibraryTest;

class BrowsePages : public LibraryTest {
protected:
    // Everything after the zone of the last message of the id; empty when none went out.
    std::vector<int32_t> LastSent(uint16_t id) {
        const std::vector<std::vector<int32_t>> all = Sent(id);
        if (all.empty()) return {};
        return std::vector<int32_t>(all.back().begin() + 1, all.back().end());
    }
    static std::string Text(CZVLabel* label) { return label->GetText().GetAnsi(); }
};

// A loaded row's ids, as the sample library gives them.
int32_t Id(CLBAudioItem* row, int i) { return row ? row->GetId(i) : -99; }

TEST_F(BrowsePages, TracksByArtistChainsTheFirstLoadsAndPlaysTheSelectedRows) {
    auto* page = Open<CTracksByArtistPage>();
    ASSERT_TRUE(
        SettleUntil([&] { return Current(page->GetTrackList()) && Current(page->GetTrackList())->IsLoaded(); }));
    CLBAudioItem* artist = Current(page->GetArtistList());
    CLBAudioItem* track = Current(page->GetTrackList());
    ASSERT_TRUE(artist && artist->IsLoaded());
    EXPECT_EQ(artist->m_index, 0);
    EXPECT_EQ(track->m_index, 0);
    EXPECT_EQ(Text(page->GetTracksHeading()), "Tracks by " + artist->GetFullText());

    const struct {
        int command;
        std::vector<int32_t> sent;
    } cases[] = {
        {kArtistAddCommand, {kBrowseArtists, Id(artist, 0), 0, 0, 0, kSourceId}},
        {kArtistPlayCommand, {kBrowseArtists, Id(artist, 0), 0, 0, 1, kSourceId}},
        {kTrackAddCommand, {kBrowseArtistTracks, Id(track, 0), 0, 0, 0, kSourceId}},
        {kTrackPlayCommand, {kBrowseArtistTracks, Id(track, 0), 0, 0, 1, kSourceId}},
    };
    for (const auto& c : cases) {
        page->OnCommand(c.command);
        EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX), c.sent) << c.command;
    }
    // Without a track row, the track buttons send nothing.
    const size_t before = CountSent(ZVM_AUDIO_LIBRARYCOMMANDEX);
    page->GetTrackList()->Select(nullptr, 0);
    page->OnCommand(kTrackPlayCommand);
    EXPECT_EQ(CountSent(ZVM_AUDIO_LIBRARYCOMMANDEX), before);

    // A later artist loads its tracks without selecting one: the first load alone auto-selects.
    page->GetArtistList()->SelectIndex(2, 0);
    ASSERT_TRUE(SettleUntil([&] { return Current(page->GetArtistList())->IsLoaded(); }));
    page->OnCommand(kArtistSelected);
    ASSERT_TRUE(
        SettleUntil([&] { return page->GetTrackList()->IsAnswered() && page->GetTrackList()->GetCount() > 0; }));
    EXPECT_EQ(page->GetTrackList()->GetSelected(), nullptr);
    Close(page);
}

TEST_F(BrowsePages, AlbumTracksPlaysATrackByTheAlbumsSecondIdAndNoValue) {
    auto* page = Open<CAlbumTracksPage>();
    ASSERT_TRUE(
        SettleUntil([&] { return page->GetTrackList()->GetCount() > 0 && page->GetTrackList()->GetItemAt(0); }));
    CLBAudioItem* album = Current(page->GetAlbumList());
    ASSERT_TRUE(album && album->IsLoaded());
    EXPECT_EQ(Text(page->GetTracksHeading()), "Tracks in " + album->GetFullText());
    page->GetTrackList()->SelectIndex(3, 0);
    page->OnCommand(kTrackPlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseAlbumTracks, Id(album, 1), -1, 3, 1, kSourceId}));
    page->OnCommand(kTrackAddCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseAlbumTracks, Id(album, 1), -1, 3, 0, kSourceId}));
    page->OnCommand(kAlbumPlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX), (std::vector<int32_t>{kBrowseAllAlbums, 0, 0, 0, 1, kSourceId}));
    Close(page);
}

TEST_F(BrowsePages, ArtistAlbumSelectsTheFirstAlbumAfterEveryLoad) {
    auto* page = Open<CArtistAlbumPage>();
    const auto tracksShown = [&] {
        CLBAudioItem* album = Current(page->GetAlbumList());
        return album && album->IsLoaded() && page->GetTrackList()->GetCount() > 0 && Current(page->GetTrackList()) &&
               Current(page->GetTrackList())->IsLoaded();
    };
    ASSERT_TRUE(SettleUntil(tracksShown));
    CLBAudioItem* artist = Current(page->GetArtistList());
    CLBAudioItem* album = Current(page->GetAlbumList());
    EXPECT_EQ(Text(page->GetAlbumsHeading()), "Albums by " + artist->GetFullText());
    EXPECT_EQ(Text(page->GetTracksHeading()), "Tracks in " + album->GetFullText());
    page->OnCommand(kTrackPlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseArtistAlbumTracks, Id(artist, 0), Id(album, 1), 0, 1, kSourceId}));
    page->OnCommand(kAlbumAddCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseArtistAlbums, Id(album, 0), 0, 0, 0, kSourceId}));
    page->OnCommand(kArtistPlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX), (std::vector<int32_t>{kBrowseArtists, 0, 0, 0, 1, kSourceId}));

    // Another artist: its albums load and the first is selected again.
    const std::string firstAlbum = album->GetFullText();
    page->GetArtistList()->SelectIndex(5, 0);
    ASSERT_TRUE(SettleUntil([&] { return Current(page->GetArtistList())->IsLoaded(); }));
    page->OnCommand(kArtistSelected);
    ASSERT_TRUE(SettleUntil([&] {
        CLBAudioItem* first = Current(page->GetAlbumList());
        return first && first->IsLoaded() && first->GetFullText() != firstAlbum && page->GetTrackList()->GetCount() > 0;
    }));
    EXPECT_EQ(Current(page->GetAlbumList())->m_index, 0);
    EXPECT_EQ(Text(page->GetAlbumsHeading()), "Albums by " + Current(page->GetArtistList())->GetFullText());
    Close(page);
}

TEST_F(BrowsePages, AnArtistWithoutAlbumsShowsAllItsTracks) {
    auto* page = Open<CArtistAlbumPage>();
    ASSERT_TRUE(SettleUntil([&] { return Current(page->GetTrackList()) != nullptr; }));
    // The albums list answers empty: the artist's tracks take the albums' place.
    CZVMSG empty(0, ZVM_AUDIO_BROWSEA);
    empty.WriteInt(0);
    empty.ResetPosition();
    page->GetAlbumList()->OnMessage(&empty);
    ASSERT_TRUE(SettleUntil([&] { return page->GetTrackList()->GetCount() > 0; }));
    CLBAudioItem* artist = Current(page->GetArtistList());
    EXPECT_EQ(Text(page->GetTracksHeading()), "All Tracks by " + artist->GetFullText());
    EXPECT_EQ(page->GetTrackList()->GetBrowseKind(), kBrowseArtistTracks);
    Close(page);
}

TEST_F(BrowsePages, TheTrackTabSendsTheRowsIdsAndNeverAMissingOne) {
    auto* page = Open<CTrackListPage>();
    CTrackList* list = page->GetTrackList();
    ASSERT_TRUE(SettleUntil([&] { return list->GetCount() > 0 && RowLoaded(list, 0); }));
    list->SelectIndex(0, 0);
    CLBAudioItem* track = Current(list);
    page->OnCommand(kTrackPlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMAND), (std::vector<int32_t>{Id(track, 0), Id(track, 1), Id(track, 2), 1}));
    // A row whose album is unknown (-1) sends nothing.
    CZVMSG answer(0, ZVM_AUDIO_GETITEMTEXTA);
    for (int32_t id : {Id(track, 0), -1, Id(track, 2)}) answer.WriteInt(id);
    answer.WriteString(std::string("Lost\tNobody\tNowhere"));
    answer.ResetPosition();
    track->OnMessage(&answer);
    const size_t before = CountSent(ZVM_AUDIO_LIBRARYCOMMAND);
    page->OnCommand(kTrackAddCommand);
    EXPECT_EQ(CountSent(ZVM_AUDIO_LIBRARYCOMMAND), before);
    Close(page);
}

TEST_F(BrowsePages, GenreAlbumsPlaysTheGenreAndItsAlbums) {
    auto* page = Open<CGenreAlbumsPage>();
    ASSERT_TRUE(
        SettleUntil([&] { return Current(page->GetAlbumList()) && Current(page->GetAlbumList())->IsLoaded(); }));
    CLBAudioItem* genre = Current(page->GetGenreList());
    CLBAudioItem* album = Current(page->GetAlbumList());
    EXPECT_EQ(Text(page->GetAlbumsHeading()), "Albums in " + genre->GetFullText());
    page->OnCommand(kGenrePlayCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseMusicGenres, Id(genre, 0), 0, 0, 1, kSourceId}));
    page->OnCommand(kAlbumAddCommand);
    EXPECT_EQ(LastSent(ZVM_AUDIO_LIBRARYCOMMANDEX),
              (std::vector<int32_t>{kBrowseGenreAlbums, Id(album, 0), 0, 0, 0, kSourceId}));
    Close(page);
}

TEST_F(BrowsePages, GenreSelectModeKeepsFixedHeadingsAndReloadsOnlyAfterDone) {
    SetSourceKindWord(kSourceKind | kSourceGenreSelect);
    auto* page = Open<CTracksByArtistPage>();
    ASSERT_TRUE(
        SettleUntil([&] { return Current(page->GetTrackList()) && Current(page->GetTrackList())->IsLoaded(); }));
    EXPECT_EQ(page->GetHeadingHeight(), CMusicBrowsePage::kGenreModeHeadingHeight);
    EXPECT_EQ(Text(page->GetTracksHeading()), "Tracks");
    EXPECT_EQ(page->GetTracksHeading()->GetHeight(), CMusicBrowsePage::kGenreModeHeadingHeight);
    EXPECT_LE(page->GetTracksHeading()->GetRight(), page->GetWidth() - CMusicBrowsePage::kGenreButtonWidth);

    // "Select Genres..." twice: the pop-up opens and closes without a reload.
    const size_t browses = Browses(kBrowseArtists);
    page->OnCommand(kSelectGenresCommand);
    ASSERT_NE(dynamic_cast<CGenreSelectWnd*>(window->GetOverlayWindow()), nullptr);
    page->OnCommand(kSelectGenresCommand);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_EQ(Browses(kBrowseArtists), browses);

    // "Done": the lists load again.
    page->OnCommand(kSelectGenresCommand);
    auto* popup = dynamic_cast<CGenreSelectWnd*>(window->GetOverlayWindow());
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return popup->GetGenreCount() > 0; }));
    popup->OnCommand(kCommandPopupDone);
    EXPECT_FALSE(page->IsPopupShown());
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Browses(kBrowseArtists), browses + 1);
    Close(page);
}

TEST_F(BrowsePages, TheArtistAlbumPageLooksRight) {
    auto* page = OpenIn<CArtistAlbumPage>(PictureRect());
    ASSERT_TRUE(SettleUntil([&] {
        return Current(page->GetTrackList()) && Current(page->GetTrackList())->IsLoaded() &&
               page->GetAlbumList()->GetCount() > 0;
    }));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "music_artist_album_page"));
    Close(page);
}

}  // namespace
