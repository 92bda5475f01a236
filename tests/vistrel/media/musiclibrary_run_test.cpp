// The whole tablet against the sample house: "Audio" opens the Living Room,
// and the music library page, placed where the zone's source page shows,
// plays an artist, then on its "Playlist" tab creates a playlist and renames it.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/music/browsepages.h"
#include "vistrel/media/music/musiclibrarypage.h"
#include "vistrel/media/music/playlistpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/gateway.h"
#include "widgets/window/overlay.h"

namespace {

class MusicLibraryRun : public vistreltest::SampleHouseRun {
protected:
    MusicLibraryRun() { RegisterMediaPages(); }
};

CLBAudioItem* Current(CAudioLibListBase* list) { return static_cast<CLBAudioItem*>(list->GetSelected()); }

bool Loaded(CAudioLibListBase* list) { return Current(list) && Current(list)->IsLoaded(); }

bool ShowsTab(CMusicLibraryPage* library, int tab) {
    CTabContainer* tabs = library->GetTabs();
    for (int i = 0; i < tabs->GetTabCount(); ++i)
        if (dynamic_cast<CZVButton*>(tabs->GetTab(i))->GetCommandId() == tab) {
            tabs->Select(i, 0);
            library->OnCommand(tab);
            return true;
        }
    return false;
}

TEST_F(MusicLibraryRun, PlaysAnArtistAndCreatesAndRenamesAPlaylist) {
    enum Step {
        kWaitForHome,
        kPressMenu,
        kWaitForZone,
        kWaitForArtists,
        kOpenPlaylists,
        kWaitForPlaylists,
        kWaitForCreated,
        kWaitForRenamed,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 artists, playlists;
    CMusicLibraryPage* library = nullptr;
    // The page before the library's notice of the renaming built it anew.
    CPlaylistPage* beforeRename = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        CZVButton* entry = MenuEntry(window, "Audio");
        const bool answered = vistreltest::AnswersIn(gateway, server) && entry && entry->GetHighlightCountdown() < 0;
        auto* zones = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
        auto* playlist = library ? dynamic_cast<CPlaylistPage*>(library->GetBrowsePage()) : nullptr;
        switch (step) {
        case kWaitForHome:
            if (answered) step = kPressMenu;
            break;
        case kPressMenu:
            Touch(entry);
            step = kWaitForZone;
            break;
        case kWaitForZone: {
            if (!zones || !zones->GetSourcePage() || !answered) break;
            // Where the source page shows, as the music source's library tab will.
            CAudioSourcePage* source = zones->GetSourcePage();
            CZVRect area;
            source->GetClientRect(&area);
            library = new CMusicLibraryPage(source, area, server);
            source->AddChild(library);
            library->Show(1, 0);
            library->Redraw(1);
            step = kWaitForArtists;
            break;
        }
        case kWaitForArtists: {
            auto* page = dynamic_cast<CTracksByArtistPage*>(library->GetBrowsePage());
            if (!page) return true;
            if (!Loaded(page->GetTrackList()) || !answered) break;
            artists = Picture(window, host);
            page->OnCommand(kArtistPlayCommand);
            step = kOpenPlaylists;
            break;
        }
        case kOpenPlaylists:
            if (!ShowsTab(library, 6004)) return true;
            step = kWaitForPlaylists;
            break;
        case kWaitForPlaylists:
            if (!playlist || !Loaded(playlist->GetPlaylistsList()) || !answered) break;
            playlists = Picture(window, host);
            Touch(playlist->GetCreateButton());
            step = kWaitForCreated;
            break;
        case kWaitForCreated:
            // The library's notice builds the page anew, with the new playlist among the others.
            if (!playlist || playlist->GetPlaylistsList()->GetCount() != 6 || !Loaded(playlist->GetPlaylistsList()) ||
                !answered)
                break;
            playlist->GetPlaylistsList()->SelectIndex(2, 0);
            beforeRename = playlist;
            playlist->RenamePlaylist(GetCurrentAudioZone(), "Pool Party");
            step = kWaitForRenamed;
            break;
        case kWaitForRenamed: {
            if (!playlist || playlist == beforeRename || !answered) break;
            CPlaylistNamesList* names = playlist->GetPlaylistsList();
            bool renamed = false;
            for (int i = 0; i < names->GetCount(); ++i) {
                auto* row = static_cast<CLBAudioItem*>(names->GetItemAt(i));
                if (row->IsLoaded() && row->GetFullText() == "Pool Party") {
                    names->SelectIndex(i, 0);
                    renamed = true;
                }
            }
            if (!renamed) break;
            step = kDone;
            break;
        }
        case kDone: break;
        }
        return step == kDone || pass == 3000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_LIBRARYCOMMANDEX));
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_CREATEPLAYLISTQ));
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_RENAMEPLAYLISTQ));
    EXPECT_TRUE(testsupport::MatchesGolden(artists, "vistrel_music_library_artists"));
    EXPECT_TRUE(testsupport::MatchesGolden(playlists, "vistrel_music_library_playlists"));
}

}  // namespace
