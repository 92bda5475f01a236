#pragma once
// The six music lists: artists, albums, tracks, genres, saved playlists and
// radio stations. Each knows the browses it may send, reads the browse
// answer into placeholder rows (a row count, or the rows per initial letter
// for the alphabetical lists, which get the letter bar), carries the row
// buttons of its kind and repeats its browse after a reconnection.
#include <array>
#include <string>

#include "core/messages/mediamessages.h"
#include "vistrel/media/music/audiolist.h"

// The commands the lists' row buttons pass up.
enum : int {
    kArtistAddCommand = 1001,
    kArtistPlayCommand = 1002,
    kAlbumAddCommand = 1004,
    kAlbumPlayCommand = 1005,
    kTrackAddCommand = 1007,
    kTrackPlayCommand = 1008,
    kPlaylistAddCommand = 1009,
    kPlaylistPlayCommand = 1010,
    kStationListenCommand = 1013,
    kTrackDeleteCommand = 1014,
    kTrackUpCommand = 1015,
    kTrackDownCommand = 1016,
};

// The common arguments of every music list.
struct MusicListArgs {
    CZVWindow* parent;
    CZVRect rect;
    int commandId;
    int settledCommand;
    CZVServer& server;
    CMusicSource* source;
};

// A list of one browse at a time: its mode and the browse's kind and values.
class CMusicBrowseList : public CAudioLibListBase {
public:
    explicit CMusicBrowseList(const MusicListArgs& args);

    CZVWindow* CreateScrollBar(CZVWindow* parent, CZVRect rect) override;

    int GetMode() const { return m_mode; }
    int GetBrowseKind() const { return m_kind; }

protected:
    // Stores the browse and sends it; a new sink id first when renew is set,
    // else the list is only emptied.
    void Browse(int mode, int kind, int valueA, int valueB, bool renew);
    // Repeats the last browse with its values.
    void BrowseAgain();
    // n placeholder rows of the browse; false for a short answer.
    bool TakeRowCount(CZVMSG* message);
    // The rows per initial letter; false for a short answer.
    bool TakeLetterCounts(CZVMSG* message);
    // True while the list shows its rows A-Z with the letter bar.
    virtual bool IsAlphabetical() const { return false; }
    // The buttons of the lists' kinds, each its own column at the row's right end.
    void AddButton(const char* caption, int commandId);
    void AddArrowButton(int iconKind, int commandId);
    int HasFeature(int bit) { return (GetSourceFeatures() & bit) != 0; }

    int m_mode = 0;
    int m_kind = -1;
    int m_valueA = 0;
    int m_valueB = 0;
};

class CAlbumList : public CMusicBrowseList {
public:
    enum Mode { kArtistAlbums = 0, kAllAlbums = 1, kGenreAlbums = 2 };
    CAlbumList(const MusicListArgs& args, int variant);

    void BrowseAlbumsOf(int artist);
    void BrowseAlbumsInGenre(int genre);
    void BrowseAllAlbums();
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

protected:
    bool IsAlphabetical() const override { return m_mode == kAllAlbums; }
};

class CArtistList : public CMusicBrowseList {
public:
    CArtistList(const MusicListArgs& args, int variant);

    void BrowseArtists();
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

protected:
    bool IsAlphabetical() const override { return true; }
};

class CGenreList : public CMusicBrowseList {
public:
    enum GenreSet { kRadioGenres = 0, kFavouriteRadioGenres = 1, kMusicGenres = 2 };
    CGenreList(const MusicListArgs& args, int genreSet, int playCommand);

    void BrowseGenres();
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

private:
    int m_genreSet;
};

class CPlaylistNamesList : public CMusicBrowseList {
public:
    explicit CPlaylistNamesList(const MusicListArgs& args);

    void BrowsePlaylists();
    // The next answer selects that row.
    void SetSelectAfterLoad(int index) { m_selectAfterLoad = index; }
    // The row the next answer selects; -1 none.
    int GetSelectAfterLoad() const { return m_selectAfterLoad; }
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

private:
    int m_selectAfterLoad = -1;
};

// Told by the page that plays a station's preview how far it got.
class CListenProgressListener {
public:
    virtual ~CListenProgressListener() = default;
    virtual void OnListenText(const std::string& text) = 0;
    virtual void ShowListenProgress(int level, const std::string& text, COLORREF fill) = 0;
};

class CStationList : public CMusicBrowseList, public CListenProgressListener {
public:
    CStationList(const MusicListArgs& args, int favourites);

    void BrowseStations(int genre);
    // The row the listen progress is drawn over; -1 none.
    void SetListenRow(int row) { m_listenRow = row; }
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

    void OnListenText(const std::string&) override {}
    void ShowListenProgress(int level, const std::string& text, COLORREF fill) override;
    int IsBarShown() const { return m_barShown; }

private:
    int m_favourites;
    int m_listenRow = -1;
    int m_lastBarRow = -1;
    int m_barShown = 0;
};

class CTrackList : public CMusicBrowseList {
public:
    enum Mode { kArtistAlbumTracks = 0, kArtistTracks = 1, kPlaylistTracks = 2, kAllTracks = 3, kAlbumTracks = 4 };
    // variant 1: Add only; 2: the play queue's Delete, Down and Up; 3: a
    // playlist's tracks, with Delete, Down and Up besides Add and Play.
    enum Variant { kPlainTracks = 0, kAddOnlyTracks = 1, kQueueTracks = 2, kPlaylistEditTracks = 3 };
    CTrackList(const MusicListArgs& args, int variant);

    void BrowseAlbumTracks(int artist, int album);
    void BrowseArtistTracks(int artist);
    void BrowsePlaylist(int playlist);
    void BrowseAllTracks();
    void BrowseAlbum(int album);
    void Reload() override;
    void OnBrowseAnswer(CZVMSG* message) override;

protected:
    bool IsAlphabetical() const override { return m_mode == kAllTracks; }
};
