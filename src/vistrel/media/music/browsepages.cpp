#include "vistrel/media/music/browsepages.h"

#include "vistrel/media/music/playlistpage.h"
#include "vistrel/shell/audiosourcepage.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kLeftColumnPercent = 40;
constexpr int kHalfPercent = 50;
constexpr int kColumnGap = 2;
constexpr int kSecondColumnPercent = 66;
constexpr int kTrackArtistPercent = 50;
constexpr int kTrackAlbumPercent = 75;
constexpr int kNarrowTrackAlbumPercent = 29;
constexpr int kNarrowTrackTitlePercent = 57;
// The lists of a page, for their first-load flags.
constexpr int kFirstList = 0;
constexpr int kSecondList = 1;
constexpr int kThirdList = 2;
// The list variant whose rows carry only "Add".
constexpr int kAddOnly = 1;

struct Columns {
    CZVRect left;
    CZVRect right;
};

// The left part of the rectangle (a share in percent) and the rest, a gap in from the left.
Columns SplitColumns(CZVRect r, int leftPercent) {
    Columns c;
    c.left = r.CutLeft(r.w * leftPercent / 100, 0);
    r.CutLeft(kColumnGap, 0);
    c.right = r;
    return c;
}

CZVRect ClientOf(CZVWindow* w) {
    CZVRect r;
    w->GetClientRect(&r);
    return r;
}

// A second text column from the share of the list's width on.
template <class List>
List* WithColumns(List* list, std::initializer_list<int> starts) {
    list->SetColumnCount(static_cast<int>(starts.size()) + 1);
    int column = 1;
    for (int percent : starts) list->SetColumnStart(column++, list->GetWidth() * percent / 100);
    return list;
}

int Position(CLBAudioItem* row) { return row->m_index; }

}  // namespace

// ---- CTracksByArtistPage

CTracksByArtistPage::CTracksByArtistPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CMusicBrowsePage(parent, owner, rect, server) {
    Columns c = SplitColumns(ClientOf(this), kLeftColumnPercent);
    AddHeading(&c.left, "Artist");
    m_tracksHeading = AddHeading(&c.right, "Tracks", true);
    m_artists = Place(new CArtistList(ListArgs(c.left, kArtistSelected, kArtistsLoaded), 0));
    m_tracks = Place(WithTrackColumns(new CTrackList(ListArgs(c.right, kTrackSelected, kTracksLoaded), 0)));
    AddGenreButton();
    m_artists->BrowseArtists();
}

void CTracksByArtistPage::OnArtistSelected() {
    CLBAudioItem* artist = LoadedRow(m_artists);
    if (!artist) return;
    m_tracks->BrowseArtistTracks(artist->GetId(0));
    Retitle(m_tracksHeading, "Tracks by %s", artist);
}

int CTracksByArtistPage::OnCommand(int id) {
    switch (id) {
    case kArtistSelected: OnArtistSelected(); return 1;
    case kArtistAddCommand:
    case kArtistPlayCommand:
        if (CLBAudioItem* artist = CurrentRow(m_artists))
            SendPlay(kBrowseArtists, artist->GetId(0), 0, Position(artist), id == kArtistPlayCommand);
        return 1;
    case kTrackAddCommand:
    case kTrackPlayCommand: {
        CLBAudioItem* track = CurrentRow(m_tracks);
        if (LoadedRow(m_artists) && track)
            SendPlay(kBrowseArtistTracks, track->GetId(0), 0, Position(track), id == kTrackPlayCommand);
        return 1;
    }
    case kArtistsLoaded:
        if (TakeFirstLoad(kFirstList)) {
            SelectFirstRow(m_artists);
            OnArtistSelected();
        }
        return 1;
    case kTracksLoaded:
        if (TakeFirstLoad(kSecondList)) SelectFirstRow(m_tracks);
        return 1;
    default: return CMusicBrowsePage::OnCommand(id);
    }
}

void CTracksByArtistPage::Refresh(int redraw) {
    m_artists->RemoveAll(redraw);
    m_tracks->RemoveAll(redraw);
    m_artists->BrowseArtists();
    ClearFirstLoads();
}

// ---- CAlbumTracksPage

CAlbumTracksPage::CAlbumTracksPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CMusicBrowsePage(parent, owner, rect, server) {
    Columns c = SplitColumns(ClientOf(this), kLeftColumnPercent);
    AddHeading(&c.left, "Album");
    m_tracksHeading = AddHeading(&c.right, "Tracks", true);
    // An album row names the album and its artist, each in its own column.
    m_albums = Place(WithColumns(new CAlbumList(ListArgs(c.left, kAlbumSelected, kAlbumsLoaded), 0), {kHalfPercent}));
    m_tracks = Place(WithTrackColumns(new CTrackList(ListArgs(c.right, kTrackSelected, kTracksLoaded), 0)));
    AddGenreButton();
    m_albums->BrowseAllAlbums();
}

void CAlbumTracksPage::OnAlbumSelected() {
    CLBAudioItem* album = LoadedRow(m_albums);
    if (!album) return;
    m_tracks->BrowseAlbum(album->GetId(1));
    Retitle(m_tracksHeading, "Tracks in %s", album);
}

int CAlbumTracksPage::OnCommand(int id) {
    switch (id) {
    case kAlbumSelected: OnAlbumSelected(); return 1;
    case kAlbumAddCommand:
    case kAlbumPlayCommand:
        if (CLBAudioItem* album = LoadedRow(m_albums))
            SendPlay(kBrowseAllAlbums, 0, 0, Position(album), id == kAlbumPlayCommand);
        return 1;
    case kTrackAddCommand:
    case kTrackPlayCommand: {
        CLBAudioItem* album = LoadedRow(m_albums);
        CLBAudioItem* track = CurrentRow(m_tracks);
        if (album && track)
            SendPlay(kBrowseAlbumTracks, album->GetId(1), CAudioSourcePage::kNoValue, Position(track),
                     id == kTrackPlayCommand);
        return 1;
    }
    case kAlbumsLoaded:
        if (TakeFirstLoad(kFirstList)) {
            SelectFirstRow(m_albums);
            OnAlbumSelected();
        }
        return 1;
    default: return CMusicBrowsePage::OnCommand(id);
    }
}

void CAlbumTracksPage::Refresh(int redraw) {
    m_albums->RemoveAll(redraw);
    m_tracks->RemoveAll(redraw);
    m_albums->BrowseAllAlbums();
    ClearFirstLoads();
}

// ---- CArtistAlbumPage

CArtistAlbumPage::CArtistAlbumPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server,
                                   CPlaylistPage* playlist)
    : CMusicBrowsePage(parent, owner, rect, server), m_playlist(playlist) {
    const int variant = playlist ? kAddOnly : 0;
    Columns c = SplitColumns(ClientOf(this), kHalfPercent);
    CZVRect lower = c.right;
    CZVRect upper = lower.CutTop(lower.h / 2, 0);
    AddHeading(&c.left, "Artist");
    m_albumsHeading = AddHeading(&upper, "Album", !playlist);
    CZVRect tracksBand = lower.CutTop(kHeadingHeight, 0);
    m_tracksHeading = AddLabelClass(tracksBand, "Track", kHeadingFontSize, m_styleClass);
    m_tracksHeading->SetSmooth(1);
    m_artists = Place(new CArtistList(ListArgs(c.left, kArtistSelected, kArtistsLoaded), variant));
    m_albums = Place(new CAlbumList(ListArgs(upper, kAlbumSelected, kAlbumsLoaded), variant));
    // Half the width: the artist and album the lists above name take less room than the title.
    m_tracks = Place(WithColumns(new CTrackList(ListArgs(lower, kTrackSelected, kTracksLoaded), variant),
                                 {kNarrowTrackAlbumPercent, kNarrowTrackTitlePercent}));
    if (!playlist) AddGenreButton();
    m_artists->BrowseArtists();
}

void CArtistAlbumPage::Send(int kind, int a, int b, int position, int play) {
    if (m_playlist)
        m_playlist->AddToPlaylist(kind, a, b, position);
    else
        SendPlay(kind, a, b, position, play);
}

void CArtistAlbumPage::OnArtistSelected() {
    CLBAudioItem* artist = LoadedRow(m_artists);
    if (!artist) return;
    m_albums->BrowseAlbumsOf(artist->GetId(0));
    m_tracks->RemoveAll(IsShown());
    Retitle(m_albumsHeading, "Albums by %s", artist);
}

void CArtistAlbumPage::OnAlbumSelected() {
    if (m_albums->GetCount() > 0) {
        CLBAudioItem* album = LoadedRow(m_albums);
        if (!album) return;
        m_tracks->BrowseAlbumTracks(album->GetId(0), album->GetId(1));
        Retitle(m_tracksHeading, "Tracks in %s", album);
        return;
    }
    CLBAudioItem* artist = CurrentRow(m_artists);
    if (!artist) return;
    m_tracks->BrowseArtistTracks(artist->GetId(0));
    Retitle(m_tracksHeading, "All Tracks by %s", artist);
}

int CArtistAlbumPage::OnCommand(int id) {
    switch (id) {
    case kArtistSelected: OnArtistSelected(); return 1;
    case kAlbumSelected: OnAlbumSelected(); return 1;
    case kArtistAddCommand:
    case kArtistPlayCommand:
        if (CLBAudioItem* artist = CurrentRow(m_artists))
            Send(kBrowseArtists, 0, 0, Position(artist), id == kArtistPlayCommand);
        return 1;
    case kAlbumAddCommand:
    case kAlbumPlayCommand:
        if (CLBAudioItem* album = CurrentRow(m_albums))
            Send(kBrowseArtistAlbums, album->GetId(0), 0, Position(album), id == kAlbumPlayCommand);
        return 1;
    case kTrackAddCommand:
    case kTrackPlayCommand: {
        CLBAudioItem* artist = CurrentRow(m_artists);
        CLBAudioItem* album = CurrentRow(m_albums);
        CLBAudioItem* track = CurrentRow(m_tracks);
        if (artist && album && track)
            Send(kBrowseArtistAlbumTracks, artist->GetId(0), album->GetId(1), Position(track), id == kTrackPlayCommand);
        return 1;
    }
    case kArtistsLoaded:
        if (TakeFirstLoad(kFirstList)) {
            SelectFirstRow(m_artists);
            OnArtistSelected();
        }
        return 1;
    case kAlbumsLoaded:
        // After every load: the albums change with each artist.
        SelectFirstRow(m_albums);
        OnAlbumSelected();
        return 1;
    case kTracksLoaded:
        if (TakeFirstLoad(kThirdList)) SelectFirstRow(m_tracks);
        return 1;
    default: return CMusicBrowsePage::OnCommand(id);
    }
}

void CArtistAlbumPage::Refresh(int redraw) {
    m_artists->RemoveAll(redraw);
    m_albums->RemoveAll(redraw);
    m_tracks->RemoveAll(redraw);
    m_artists->BrowseArtists();
    ClearFirstLoads();
}

// ---- CTrackListPage

CTrackListPage::CTrackListPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CMusicBrowsePage(parent, owner, rect, server) {
    CZVRect r = ClientOf(this);
    CZVRect band = r.CutTop(GetHeadingHeight(), 0);
    auto heading = [this](CZVRect at, const char* caption) {
        AddLabelClass(at, caption, kHeadingFontSize, m_styleClass)->SetSmooth(1);
    };
    heading(band.LeftPart(band.w / 2), "Track");
    if (!IsGenreSelectMode()) {
        heading(band.Column(2, 4, 0), "Artist");
        heading(band.Column(3, 4, 0), "Album");
    }
    m_tracks = Place(WithColumns(new CTrackList(ListArgs(r, kTrackSelected, kTracksLoaded), 0),
                                 {kTrackArtistPercent, kTrackAlbumPercent}));
    AddGenreButton();
    m_tracks->BrowseAllTracks();
}

int CTrackListPage::OnCommand(int id) {
    if (id != kTrackAddCommand && id != kTrackPlayCommand) return CMusicBrowsePage::OnCommand(id);
    CLBAudioItem* track = CurrentRow(m_tracks);
    if (track && GetOwner())
        GetOwner()->SendLibraryCommand(track->GetId(0), track->GetId(1), track->GetId(2), id == kTrackPlayCommand);
    return 1;
}

void CTrackListPage::Refresh(int redraw) {
    m_tracks->RemoveAll(redraw);
    m_tracks->BrowseAllTracks();
    ClearFirstLoads();
}

// ---- CGenreAlbumsPage

CGenreAlbumsPage::CGenreAlbumsPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CMusicBrowsePage(parent, owner, rect, server) {
    Columns c = SplitColumns(ClientOf(this), kLeftColumnPercent);
    AddHeading(&c.left, "Genre");
    m_albumsHeading = AddHeading(&c.right, "Albums", true);
    m_genres = Place(
        new CGenreList(ListArgs(c.left, kGenreSelected, kGenresLoaded), CGenreList::kMusicGenres, kGenrePlayCommand));
    m_albums =
        Place(WithColumns(new CAlbumList(ListArgs(c.right, kAlbumSelected, kAlbumsLoaded), 0), {kSecondColumnPercent}));
    AddGenreButton();
    m_genres->BrowseGenres();
}

void CGenreAlbumsPage::OnGenreSelected() {
    CLBAudioItem* genre = LoadedRow(m_genres);
    if (!genre) return;
    m_albums->BrowseAlbumsInGenre(genre->GetId(0));
    Retitle(m_albumsHeading, "Albums in %s", genre);
}

int CGenreAlbumsPage::OnCommand(int id) {
    switch (id) {
    case kGenreSelected: OnGenreSelected(); return 1;
    case kGenrePlayCommand:
        if (CLBAudioItem* genre = CurrentRow(m_genres))
            SendPlay(kBrowseMusicGenres, genre->GetId(0), 0, Position(genre), 1);
        return 1;
    case kAlbumAddCommand:
    case kAlbumPlayCommand:
        if (CLBAudioItem* album = LoadedRow(m_albums))
            SendPlay(kBrowseGenreAlbums, album->GetId(0), 0, Position(album), id == kAlbumPlayCommand);
        return 1;
    case kGenresLoaded:
        if (TakeFirstLoad(kFirstList)) {
            SelectFirstRow(m_genres);
            OnGenreSelected();
        }
        return 1;
    case kAlbumsLoaded:
        if (TakeFirstLoad(kSecondList)) SelectFirstRow(m_albums);
        return 1;
    default: return CMusicBrowsePage::OnCommand(id);
    }
}

void CGenreAlbumsPage::Refresh(int redraw) {
    m_genres->RemoveAll(redraw);
    m_albums->RemoveAll(redraw);
    m_genres->BrowseGenres();
    ClearFirstLoads();
}
