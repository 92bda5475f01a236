#pragma once
// CPlaylistPage: the music library's "Playlist" tab. The music server's
// playlists on the left, the tracks of the selected one on the right; the
// user plays or queues either, creates, renames and deletes playlists,
// deletes a track or moves it up or down, and adds music through a pop-up
// that holds an artist/album browser whose rows add to the playlist.
#include "core/zvserver.h"
#include "vistrel/media/music/musicbrowse.h"

class CZV3DButton;

class CPlaylistPage : public CMusicBrowsePage, public CSocketSink {
public:
    enum : int {
        kPlaylistSelected = 3000,
        kCreateCommand = 3002,
        kDeleteCommand = 3004,
        kRenameCommand = 3006,
        kRenameDoneCommand = 3007,
    };
    static constexpr int kButtonRowHeight = 40;

    CPlaylistPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);
    ~CPlaylistPage() override;

    int OnCommand(int id) override;
    void Refresh(int redraw) override;
    CZVString GetTitle() override { return "Playlists"; }
    // The add-music pop-up takes three quarters of the width and the whole height.
    int IsSmallScreen() override { return 1; }
    CZVWindow* CreateGenrePopup(CMainWndBase* main, CZVRect rect) override;
    // The playlist chosen before, or the one a create or rename asked for, stays chosen.
    void KeepPlaceOf(CMusicBrowsePage& before) override;
    void OnMessage(CZVMSG* message) override;

    // Adds what the add-music browser's row names to the selected playlist.
    void AddToPlaylist(int kind, int a, int b, int position);
    void CreatePlaylist(int zone);
    void RenamePlaylist(int zone, CZVString name);

    CPlaylistNamesList* GetPlaylistsList() const { return m_playlists; }
    CTrackList* GetTrackList() const { return m_tracks; }
    CZV3DButton* GetCreateButton() const { return m_createButton; }
    CZV3DButton* GetRenameButton() const { return m_renameButton; }
    CZV3DButton* GetDeleteButton() const { return m_deleteButton; }

private:
    void AddButtons(CZVRect row);
    void OnPlaylistsLoaded();
    void OnPlaylistSelected();
    void DeletePlaylist();
    // Delete, Up or Down on the selected track of the selected playlist.
    void EditTrack(int command);
    void MoveTrack(int from, int to);
    void OnTracksLoaded();
    void OnItemsChanged(CZVMSG* message);
    void OnCreated(CZVMSG* message);
    void EnableEditButtons(int enable);
    int HasButtonRow();
    // The playlist row to choose after a reload: the one asked for, else the one chosen.
    int RowToKeep() const;

    CPlaylistNamesList* m_playlists;
    CTrackList* m_tracks;
    int m_playlistsLoaded = 0;
    // The track row the gateway asked to select once the tracks are loaded; -1 none.
    int m_trackAfterLoad = -1;
    CZV3DButton* m_renameButton = nullptr;
    CZV3DButton* m_deleteButton = nullptr;
    CZV3DButton* m_createButton = nullptr;
};
