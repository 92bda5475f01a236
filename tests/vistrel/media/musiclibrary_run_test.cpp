// The whole tablet against the sample house: Audio opens the Living Room's
// music server; its "Music Library" tab browses by each way the source
// allows and plays from each, and Now Playing shows every new queue. On the
// "Playlist" tab a playlist is created, renamed, and filled through "Add
// Music...", whose artist and album pop-up adds an album's tracks to it.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/music/browsepages.h"
#include "vistrel/media/music/mediaplayerpage.h"
#include "vistrel/media/music/musiclibrarypage.h"
#include "vistrel/media/music/musicsourcepage.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "vistrel/media/music/playlistpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvedit.h"

namespace {

// A library tab: its caption, the row button played from, the tracks the new queue holds,
// and the golden of the tab's page.
struct LibraryTab {
    const char* caption;
    int play;
    int queueLength;
    const char* golden;
};

// Consecutive queues differ in length, so that each new one shows.
constexpr LibraryTab kTabs[] = {
    {"Artist", kArtistPlayCommand, 30, "vistrel_music_library_artist"},
    {"Album", kAlbumPlayCommand, 10, "vistrel_music_library_album"},
    {"Artist / Album", kArtistPlayCommand, 30, "vistrel_music_library_artist_album"},
    {"Track", kTrackPlayCommand, 1, "vistrel_music_library_track"},
    {"Playlist", kPlaylistPlayCommand, 12, "vistrel_music_library_playlist"},
};
constexpr int kTabCount = static_cast<int>(std::size(kTabs));
constexpr int kPlaylistsAfterCreate = 6;
// "New Playlist 1" and, once renamed, "Pool Party" sort third.
constexpr int kNewPlaylistRow = 2;
// The pop-up's second album of its first artist.
constexpr int kChosenAlbumRow = 1;

class MusicLibraryRun : public vistreltest::SampleHouseRun {
protected:
    MusicLibraryRun() { RegisterMediaPages(); }
};

std::vector<CAudioLibListBase*> ListsOf(CZVWindow* page) {
    std::vector<CAudioLibListBase*> lists;
    ForEachChild(page->GetChildren(), [&](CZVWindow* child) {
        if (auto* list = dynamic_cast<CAudioLibListBase*>(child)) lists.push_back(list);
    });
    return lists;
}

// Every list of the page has its answer, asks for no more rows, and shows the text of its
// chosen row, or of its first when none is chosen.
bool ListsSettled(CZVWindow* page) {
    for (CAudioLibListBase* list : ListsOf(page)) {
        if (!list->IsAnswered() || list->GetOutstanding() > 0 || list->GetQueuedCount() > 0) return false;
        CLBAudioItem* shown = CurrentRow(list) ? CurrentRow(list) : static_cast<CLBAudioItem*>(list->GetItemAt(0));
        if (shown && !shown->IsLoaded()) return false;
    }
    return true;
}

CArtistAlbumPage* AddMusicPage(CMainWnd& window) {
    CZVWindow* popup = window.GetOverlayWindow();
    CArtistAlbumPage* page = nullptr;
    if (popup)
        ForEachChild(popup->GetChildren(), [&](CZVWindow* child) {
            if (!page) page = dynamic_cast<CArtistAlbumPage*>(child);
        });
    return page;
}

// The row of the list that reads the text, or -1.
int RowReading(CAudioLibListBase* list, const std::string& text) {
    for (int i = 0; i < list->GetCount(); ++i) {
        auto* row = static_cast<CLBAudioItem*>(list->GetItemAt(i));
        if (row->IsLoaded() && row->GetFullText() == text) return i;
    }
    return -1;
}

// The text of the list's chosen row, or "" when none is chosen or it has not arrived.
std::string ChosenText(CAudioLibListBase* list) {
    CLBAudioItem* row = LoadedRow(list);
    return row ? row->GetFullText() : std::string();
}

CZVButton* DoneButton(CZVWindow* popup) {
    CZVButton* done = nullptr;
    if (popup)
        ForEachChild(popup->GetChildren(), [&](CZVWindow* child) {
            auto* button = dynamic_cast<CZVButton*>(child);
            if (button && button->GetCommandId() == kCommandPopupDone) done = button;
        });
    return done;
}

TEST_F(MusicLibraryRun, PlaysFromEachTabAndFillsANewPlaylist) {
    enum Step {
        kWaitForHome,
        kWaitForSource,
        kOpenTab,
        kWaitForTab,
        kWaitForQueue,
        kCreate,
        kWaitForCreated,
        kWaitForRenamed,
        kWaitForEmptyPlaylist,
        kWaitForPopup,
        kWaitForAlbum,
        kWaitForAdded,
        kWaitForTracks,
        kWaitForNowPlaying,
        kDone
    } step = kWaitForHome;
    int tab = 0;
    // Passes in a row that the page looked settled: the one after the first has drawn it.
    int settledPasses = 0;
    Step counting = kDone;
    testsupport::Image565 tabPictures[kTabCount], playlistPicture, popupPicture, nowPlayingPicture;
    int albumTracks = 0;
    std::string chosenAlbum;
    CMusicSourcePage* music = nullptr;
    CMediaPlayerPage* player = nullptr;
    CMusicLibraryPage* library = nullptr;
    // The playlist page before the library's notice of a change built it anew.
    CPlaylistPage* beforeChange = nullptr;
    CArtistAlbumPage* addMusic = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& link, int pass) {
        CZVButton* entry = MenuEntry(window, "Audio");
        const bool answered = vistreltest::AnswersIn(gateway, link) && entry && entry->GetHighlightCountdown() < 0;
        CMusicBrowsePage* browse = library ? library->GetBrowsePage() : nullptr;
        auto* playlist = dynamic_cast<CPlaylistPage*>(browse);
        if (counting != step) settledPasses = 0;
        counting = step;
        const auto settledTwice = [&](CZVWindow* page) {
            settledPasses = answered && page && ListsSettled(page) ? settledPasses + 1 : 0;
            return settledPasses >= 2;
        };
        switch (step) {
        case kWaitForHome:
            if (!answered) break;
            Touch(entry);
            step = kWaitForSource;
            break;
        case kWaitForSource: {
            auto* zones = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
            music = zones ? dynamic_cast<CMusicSourcePage*>(zones->GetSourcePage()) : nullptr;
            player = music ? dynamic_cast<CMediaPlayerPage*>(music->GetNowPlaying()->GetChild()) : nullptr;
            if (!player || !answered || player->GetQueue()->GetCount() == 0) break;
            Touch(TabNamed(music->GetTabRegion()->GetTabs(), "Music Library"));
            library = dynamic_cast<CMusicLibraryPage*>(music->GetCurrentPage());
            if (!library) return true;
            step = kOpenTab;
            break;
        }
        case kOpenTab: {
            CZVButton* button = TabNamed(library->GetTabs(), kTabs[tab].caption);
            if (!button) return true;
            Touch(button);
            step = kWaitForTab;
            break;
        }
        case kWaitForTab:
            if (!settledTwice(browse)) break;
            tabPictures[tab] = Picture(window, host);
            browse->OnCommand(kTabs[tab].play);
            step = kWaitForQueue;
            break;
        case kWaitForQueue:
            if (!answered || player->GetQueue()->GetCount() != kTabs[tab].queueLength) break;
            step = ++tab < kTabCount ? kOpenTab : kCreate;
            break;
        case kCreate:
            if (!playlist) return true;
            beforeChange = playlist;
            Touch(playlist->GetCreateButton());
            step = kWaitForCreated;
            break;
        case kWaitForCreated:
            // The library's notice builds the page anew, with the new playlist chosen among the others.
            if (playlist == beforeChange || playlist->GetPlaylistsList()->GetCount() != kPlaylistsAfterCreate ||
                !settledTwice(playlist))
                break;
            if (playlist->GetPlaylistsList()->GetSelectedIndex() != kNewPlaylistRow ||
                ChosenText(playlist->GetPlaylistsList()) != "New Playlist 1")
                return true;
            beforeChange = playlist;
            Touch(playlist->GetRenameButton());
            if (CZVEdit* box = playlist->GetPlaylistsList()->GetEditBox()) {
                box->SetText("Pool Party", nullptr, 0);
                playlist->GetPlaylistsList()->EndEdit();
            }
            step = kWaitForRenamed;
            break;
        case kWaitForRenamed:
            if (playlist == beforeChange || !settledTwice(playlist)) break;
            if (RowReading(playlist->GetPlaylistsList(), "Pool Party") != kNewPlaylistRow ||
                ChosenText(playlist->GetPlaylistsList()) != "Pool Party")
                return true;
            step = kWaitForEmptyPlaylist;
            break;
        case kWaitForEmptyPlaylist:
            if (!settledTwice(playlist) || playlist->GetTrackList()->GetCount() != 0) break;
            playlist->OnCommand(kSelectGenresCommand);
            step = kWaitForPopup;
            break;
        case kWaitForPopup:
            addMusic = AddMusicPage(window);
            if (!settledTwice(addMusic)) break;
            if (addMusic->GetAlbumList()->GetCount() <= kChosenAlbumRow) return true;
            addMusic->GetAlbumList()->SelectIndex(kChosenAlbumRow, 1);
            addMusic->OnCommand(kAlbumSelected);
            chosenAlbum = ChosenText(addMusic->GetAlbumList());
            step = kWaitForAlbum;
            break;
        case kWaitForAlbum:
            if (!settledTwice(addMusic) || addMusic->GetTrackList()->GetCount() == 0) break;
            popupPicture = Picture(window, host);
            albumTracks = addMusic->GetTrackList()->GetCount();
            addMusic->OnCommand(kAlbumAddCommand);
            step = kWaitForAdded;
            break;
        case kWaitForAdded:
            if (!answered) break;
            Touch(DoneButton(window.GetOverlayWindow()));
            step = kWaitForTracks;
            break;
        case kWaitForTracks:
            if (window.GetOverlayWindow() || playlist->GetTrackList()->GetCount() != albumTracks ||
                !settledTwice(playlist))
                break;
            playlistPicture = Picture(window, host);
            Touch(TabNamed(music->GetTabRegion()->GetTabs(), "Now Playing"));
            step = kWaitForNowPlaying;
            break;
        case kWaitForNowPlaying:
            settledPasses = answered && music->GetCurrentPage() == music->GetNowPlaying() ? settledPasses + 1 : 0;
            if (settledPasses < 2) break;
            nowPlayingPicture = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 6000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone) << "tab " << tab;
    // A track plays by its ids, the rest by their rows.
    EXPECT_EQ(RequestsOf(ZVM_AUDIO_LIBRARYCOMMANDEX) + RequestsOf(ZVM_AUDIO_LIBRARYCOMMAND),
              static_cast<size_t>(kTabCount));
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_CREATEPLAYLISTQ));
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_RENAMEPLAYLISTQ));
    EXPECT_EQ(RequestsOf(ZVM_AUDIO_ADDTOPLAYLIST), 1u);
    // The pop-up's albums read their names, and the album chosen there is the one added.
    EXPECT_EQ(chosenAlbum, "Glass 1991");
    EXPECT_EQ(albumTracks, 10);
    for (int i = 0; i < kTabCount; ++i) EXPECT_TRUE(testsupport::MatchesGolden(tabPictures[i], kTabs[i].golden));
    EXPECT_TRUE(testsupport::MatchesGolden(popupPicture, "vistrel_music_library_add_music"));
    EXPECT_TRUE(testsupport::MatchesGolden(playlistPicture, "vistrel_music_library_filled_playlist"));
    EXPECT_TRUE(testsupport::MatchesGolden(nowPlayingPicture, "vistrel_music_library_now_playing"));
}

}  // namespace
