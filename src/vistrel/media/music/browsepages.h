#pragma once
// The five browse pages of the music library's tabs: tracks by artist,
// tracks by album, artists with their albums and tracks (also the "Add
// Music" pop-up of a playlist, where every row button adds to the
// playlist), all tracks, and albums by genre.
#include "vistrel/media/music/musicbrowse.h"

class CPlaylistPage;

// "Artist": artists, and the tracks of the selected artist.
class CTracksByArtistPage : public CMusicBrowsePage {
public:
    CTracksByArtistPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);

    int OnCommand(int id) override;
    void Refresh(int redraw) override;

    CArtistList* GetArtistList() const { return m_artists; }
    CTrackList* GetTrackList() const { return m_tracks; }
    CZVLabel* GetTracksHeading() const { return m_tracksHeading; }

private:
    void OnArtistSelected();

    CArtistList* m_artists;
    CTrackList* m_tracks;
    CZVLabel* m_tracksHeading;
};

// "Album": all albums, and the tracks of the selected album.
class CAlbumTracksPage : public CMusicBrowsePage {
public:
    CAlbumTracksPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);

    int OnCommand(int id) override;
    void Refresh(int redraw) override;

    CAlbumList* GetAlbumList() const { return m_albums; }
    CTrackList* GetTrackList() const { return m_tracks; }
    CZVLabel* GetTracksHeading() const { return m_tracksHeading; }

private:
    void OnAlbumSelected();

    CAlbumList* m_albums;
    CTrackList* m_tracks;
    CZVLabel* m_tracksHeading;
};

// "Artist / Album": artists; the selected artist's albums above the tracks of
// the selected album. With a playlist page it is in add mode: its lists
// carry only "Add", which adds to that page's playlist.
class CArtistAlbumPage : public CMusicBrowsePage {
public:
    CArtistAlbumPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server,
                     CPlaylistPage* playlist = nullptr);

    int OnCommand(int id) override;
    void Refresh(int redraw) override;

    CArtistList* GetArtistList() const { return m_artists; }
    CAlbumList* GetAlbumList() const { return m_albums; }
    CTrackList* GetTrackList() const { return m_tracks; }
    CZVLabel* GetAlbumsHeading() const { return m_albumsHeading; }
    CZVLabel* GetTracksHeading() const { return m_tracksHeading; }

private:
    void OnArtistSelected();
    void OnAlbumSelected();
    // Adds to the playlist in add mode, else plays or queues.
    void Send(int kind, int a, int b, int position, int play);

    CPlaylistPage* m_playlist;
    CArtistList* m_artists;
    CAlbumList* m_albums;
    CTrackList* m_tracks;
    CZVLabel* m_albumsHeading;
    CZVLabel* m_tracksHeading;
};

// "Track": every track of the library, with its artist and album.
class CTrackListPage : public CMusicBrowsePage {
public:
    CTrackListPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);

    int OnCommand(int id) override;
    void Refresh(int redraw) override;

    CTrackList* GetTrackList() const { return m_tracks; }

private:
    CTrackList* m_tracks;
};

// "Genre": the library's genres, and the albums of the selected genre.
class CGenreAlbumsPage : public CMusicBrowsePage {
public:
    CGenreAlbumsPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);

    int OnCommand(int id) override;
    void Refresh(int redraw) override;

    CGenreList* GetGenreList() const { return m_genres; }
    CAlbumList* GetAlbumList() const { return m_albums; }
    CZVLabel* GetAlbumsHeading() const { return m_albumsHeading; }

private:
    void OnGenreSelected();

    CGenreList* m_genres;
    CAlbumList* m_albums;
    CZVLabel* m_albumsHeading;
};
