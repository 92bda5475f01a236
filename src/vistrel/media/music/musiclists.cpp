#include "vistrel/media/music/musiclists.h"

#include <cstring>

#include "core/msgreader.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/lists/alphascrollbar.h"

namespace {

constexpr char kAddIcon[] = "TRANSPORT\\ICON32_PLUS_GREEN";
constexpr char kPlayIcon[] = "TRANSPORT\\ICON32PLAY";
constexpr int kIconLayout = 1;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr int kLetterAnswerBytes = 4 * (1 + CAudioLibListBase::kLetterBuckets);

const char* IconOf(const char* caption) {
    return std::strcmp(caption, "Add") == 0 || std::strcmp(caption, "Delete") == 0 ? kAddIcon : kPlayIcon;
}

}  // namespace

// ---- CMusicBrowseList

CMusicBrowseList::CMusicBrowseList(const MusicListArgs& args)
    : CAudioLibListBase(args.parent, args.rect, args.commandId, args.settledCommand, args.server, args.source) {}

CZVWindow* CMusicBrowseList::CreateScrollBar(CZVWindow* parent, CZVRect rect) {
    if (IsAlphabetical()) return new CAlphaScrollBar(parent, this, rect);
    return CAudioLibListBase::CreateScrollBar(parent, rect);
}

void CMusicBrowseList::Browse(int mode, int kind, int valueA, int valueB, bool renew) {
    // The letter bar or the plain bar follows the mode: a new one is made for the new rows.
    if (renew)
        CAudioLibListBase::Reload();
    else
        RemoveAll(0);
    RemoveScrollBar();
    m_mode = mode;
    m_kind = kind;
    m_valueA = valueA;
    m_valueB = valueB;
    SendBrowse(kind, valueA, valueB);
}

void CMusicBrowseList::BrowseAgain() {
    if (m_kind >= 0) SendBrowse(m_kind, m_valueA, m_valueB);
}

bool CMusicBrowseList::TakeRowCount(CZVMSG* message) {
    int32_t count = 0;
    if (!CMsgReader(*message).Int(count)) return false;
    MakeRows(m_kind, m_valueA, m_valueB, count);
    return true;
}

bool CMusicBrowseList::TakeLetterCounts(CZVMSG* message) {
    if (message->GetRemaining() < kLetterAnswerBytes) return false;
    int32_t ignored = 0;
    std::array<int32_t, kLetterBuckets> counts{};
    CMsgReader reader(*message);
    reader.Int(ignored);
    for (int32_t& count : counts) reader.Int(count);
    if (!reader) return false;
    MakeLetterRows(m_kind, counts);
    CZVDC dc(this);
    UpdateScrollBar(&dc, 0);
    // The rows in view ask at once, before the first paint.
    if (GetCount() > 0)
        for (int i = GetFirstVisibleItem(); i <= GetLastVisibleItem(); ++i)
            static_cast<CLBAudioItem*>(GetItemAt(i))->RequestText();
    SelectFirst();
    if (auto* bar = dynamic_cast<CAlphaScrollBar*>(GetScrollBar())) {
        int bars[CAlphaScrollBar::kBuckets];
        for (int i = 0; i < CAlphaScrollBar::kBuckets; ++i) bars[i] = counts[static_cast<size_t>(i)];
        bar->SetLetterCounts(bars);
    }
    MarkAnswered();
    return true;
}

void CMusicBrowseList::AddButton(const char* caption, int commandId) {
    AddRowButton(IconOf(caption), kIconLayout, caption, commandId, 0, 0, 1);
}

void CMusicBrowseList::AddArrowButton(int iconKind, int commandId) {
    const COLORREF tint = GetTint();
    AddRowButtonIcon(iconKind, kIconLayout, "", commandId, 0, &tint, 0, 1);
}

// ---- CAlbumList

CAlbumList::CAlbumList(const MusicListArgs& args, int variant) : CMusicBrowseList(args) {
    if (variant == 1) {
        AddButton("Add", kAlbumAddCommand);
        return;
    }
    if (!HasFeature(kSourceNoAdd)) AddButton("Add", kAlbumAddCommand);
    AddButton("Play", kAlbumPlayCommand);
}

void CAlbumList::BrowseAlbumsOf(int artist) { Browse(kArtistAlbums, kBrowseArtistAlbums, artist, 0, true); }

void CAlbumList::BrowseAlbumsInGenre(int genre) { Browse(kGenreAlbums, kBrowseGenreAlbums, genre, 0, true); }

void CAlbumList::BrowseAllAlbums() { Browse(kAllAlbums, kBrowseAllAlbums, 0, 0, false); }

void CAlbumList::Reload() {
    CAudioLibListBase::Reload();
    if (m_mode != kGenreAlbums) BrowseAgain();
}

void CAlbumList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    const bool read = m_mode == kAllAlbums ? TakeLetterCounts(message) : TakeRowCount(message);
    if (!read) return;
    if (m_mode != kAllAlbums) SelectFirst();
    MarkAnswered();
    if (GetCount() == 0) SendSettledCommand();
    RepaintIfShown(false);
}

// ---- CArtistList

CArtistList::CArtistList(const MusicListArgs& args, int variant) : CMusicBrowseList(args) {
    if (variant == 1) {
        AddButton("Add", kArtistAddCommand);
        return;
    }
    if (!HasFeature(kSourceNoAdd)) AddButton("Add", kArtistAddCommand);
    if (!HasFeature(kSourceNoPlay)) AddButton("Play", kArtistPlayCommand);
}

void CArtistList::BrowseArtists() { Browse(0, kBrowseArtists, 0, 0, false); }

void CArtistList::Reload() {
    CAudioLibListBase::Reload();
    BrowseAgain();
}

void CArtistList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    if (TakeLetterCounts(message)) RepaintIfShown(false);
}

// ---- CGenreList

CGenreList::CGenreList(const MusicListArgs& args, int genreSet, int playCommand)
    : CMusicBrowseList(args), m_genreSet(genreSet) {
    if (genreSet == kMusicGenres)
        AddButton("Play", playCommand);
    else
        SetSelectedRowHeight(GetRowHeight());
}

void CGenreList::BrowseGenres() {
    const int kind = m_genreSet == kRadioGenres            ? kBrowseRadioGenres
                     : m_genreSet == kFavouriteRadioGenres ? kBrowseFavouriteRadioGenres
                                                           : kBrowseMusicGenres;
    Browse(0, kind, 0, 0, false);
}

void CGenreList::Reload() {
    CAudioLibListBase::Reload();
    BrowseAgain();
}

void CGenreList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    if (!TakeRowCount(message)) return;
    SelectFirst();
    MarkAnswered();
    RepaintIfShown(true);
}

// ---- CPlaylistNamesList

CPlaylistNamesList::CPlaylistNamesList(const MusicListArgs& args) : CMusicBrowseList(args) {
    if (!HasFeature(kSourceNoAdd)) AddButton("Add", kPlaylistAddCommand);
    AddButton("Play", kPlaylistPlayCommand);
}

void CPlaylistNamesList::BrowsePlaylists() {
    m_selectAfterLoad = -1;
    Browse(0, kBrowsePlaylists, 0, 0, false);
}

void CPlaylistNamesList::Reload() {
    CAudioLibListBase::Reload();
    BrowseAgain();
}

void CPlaylistNamesList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    if (!TakeRowCount(message)) return;
    if (m_selectAfterLoad > 0 && m_selectAfterLoad < GetCount()) {
        CZVDC dc(this);
        UpdateScrollBar(&dc, 0);
        SelectIndex(m_selectAfterLoad, 0);
        ScrollToItem(m_selectAfterLoad, 0);
        RequestLayout();
    } else {
        SelectFirst();
    }
    m_selectAfterLoad = -1;
    MarkAnswered();
    if (GetCount() == 0) SendSettledCommand();
    RepaintIfShown(true);
}

// ---- CStationList

CStationList::CStationList(const MusicListArgs& args, int favourites)
    : CMusicBrowseList(args), m_favourites(favourites) {
    AddButton("Listen", kStationListenCommand);
    SetFlashOnRowButtons(0);
}

void CStationList::BrowseStations(int genre) {
    m_listenRow = -1;
    Browse(0, m_favourites ? kBrowseFavouriteStations : kBrowseStations, genre, 0, false);
}

void CStationList::Reload() {
    CAudioLibListBase::Reload();
    BrowseAgain();
}

void CStationList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    if (!TakeRowCount(message)) return;
    MarkAnswered();
    RepaintIfShown(true);
}

void CStationList::ShowListenProgress(int level, const std::string& text, COLORREF fill) {
    if (m_listenRow < 0) return;
    if (level <= 0) {
        if (m_barShown) {
            Redraw(1);
            m_barShown = 0;
        }
        return;
    }
    if (m_barShown && m_lastBarRow != m_listenRow) Redraw(1);
    if (m_listenRow >= GetCount() || !m_shown) return;
    CZVRect row;
    GetItemRectAt(&row, m_listenRow);
    const int bevel = GetBevel();
    if (row.y + row.h <= bevel || row.y >= m_height - bevel) return;
    // A bar of the row's size, drawn once over the row and let go.
    CZVLevelBar bar(this, row, 0, 0);
    bar.SetText(text.c_str(), nullptr, 0);
    bar.SetFillColor(fill);
    bar.SetLevel(level, 0);
    CZVDC dc(this);
    dc.PushClipBounds(bevel, bevel, m_width - bevel, m_height - bevel);
    dc.OffsetOrigin(row.x, row.y);
    bar.OnPaint(&dc);
    dc.PopClip();
    m_barShown = 1;
    m_lastBarRow = m_listenRow;
}

// ---- CTrackList

CTrackList::CTrackList(const MusicListArgs& args, int variant) : CMusicBrowseList(args) {
    if (variant == 1) {
        AddButton("Add", kTrackAddCommand);
        return;
    }
    if (variant == kQueueTracks || variant == kPlaylistEditTracks) {
        if (!HasFeature(kSourceNoQueueEdit)) {
            AddButton("Delete", kTrackDeleteCommand);
            AddArrowButton(kDownIcon, kTrackDownCommand);
            AddArrowButton(kUpIcon, kTrackUpCommand);
        }
        if (variant == kQueueTracks) return;
    }
    if (!HasFeature(kSourceNoAdd)) AddButton("Add", kTrackAddCommand);
    AddButton("Play", kTrackPlayCommand);
}

void CTrackList::BrowseAlbumTracks(int artist, int album) {
    Browse(kArtistAlbumTracks, kBrowseArtistAlbumTracks, artist, album, true);
}

void CTrackList::BrowseArtistTracks(int artist) { Browse(kArtistTracks, kBrowseArtistTracks, artist, 0, true); }

void CTrackList::BrowsePlaylist(int playlist) { Browse(kPlaylistTracks, kBrowsePlaylistTracks, playlist, 0, true); }

void CTrackList::BrowseAllTracks() { Browse(kAllTracks, kBrowseAllTracks, 0, 0, true); }

void CTrackList::BrowseAlbum(int album) { Browse(kAlbumTracks, kBrowseAlbumTracks, album, 0, true); }

void CTrackList::Reload() {
    CAudioLibListBase::Reload();
    if (m_mode != kAlbumTracks) BrowseAgain();
}

void CTrackList::OnBrowseAnswer(CZVMSG* message) {
    CAudioLibListBase::OnBrowseAnswer(message);
    const bool read = m_mode == kAllTracks ? TakeLetterCounts(message) : TakeRowCount(message);
    if (!read) return;
    MarkAnswered();
    RepaintIfShown(false);
}
