#include "samplegateway/musiclibrary.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <random>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/libraryedits.h"
#include "samplegateway/radiodirectory.h"

namespace samplegateway {
namespace {

constexpr std::array<const char*, 24> kFirstWords = {"Amber",    "Blue",     "Crimson", "Distant", "Electric", "Faded",
                                                     "Golden",   "Hollow",   "Iron",    "Jade",    "Kinetic",  "Lunar",
                                                     "Midnight", "Northern", "Open",    "Paper",   "Quiet",    "Rusty",
                                                     "Silver",   "Tidal",    "Velvet",  "Wild",    "Yellow",   "Zero"};
constexpr std::array<const char*, 3> kSecondWords = {"Harbour", "Engines", "Echoes"};
constexpr std::array<const char*, 12> kAlbumWords = {"Summer",      "Glass",      "Lanterns", "Rivers",
                                                     "Still Water", "Northbound", "Letters",  "Dunes",
                                                     "Satellite",   "Orchard",    "Tides",    "Embers"};
constexpr std::array<const char*, 20> kTrackWords = {
    "Morning", "Waves", "Signal", "Cedar",   "Shadows", "Drift", "Harvest", "Copper", "Falling",  "Open Road",
    "Canvas",  "Echo",  "Pulse",  "Lullaby", "Motion",  "Ember", "Voyage",  "Quartz", "Undertow", "Zephyr"};
constexpr std::array<const char*, 8> kGenres = {"Ambient", "Blues", "Classical", "Electronic",
                                                "Folk",    "Jazz",  "Pop",       "Rock"};
// The genres the library lists can be limited to: the library's and a few more.
constexpr std::array<const char*, 12> kSelectableGenres = {
    "Ambient", "Blues", "Classical", "Electronic", "Folk", "Jazz", "Pop", "Rock", "Country", "Latin", "Reggae", "Soul"};
constexpr std::array<const char*, 5> kPlaylists = {"Dinner Party", "Morning Swim", "Poolside", "Road Trip", "Workout"};
constexpr int kPlaylistTracks = 12;
constexpr int32_t kGenreIdBase = 500;
constexpr int32_t kPlaylistIdBase = 600;
constexpr int32_t kProgressLevel = 40;
// The random play's order is the same on every run.
constexpr unsigned kRandomSeed = 37;

LibraryRow Row(int32_t id1, int32_t id2, int32_t id3, std::string text) {
    LibraryRow row;
    row.ids[0] = id1;
    row.ids[1] = id2;
    row.ids[2] = id3;
    row.text = std::move(text);
    return row;
}

// The sort key of a row: its first column, without case.
std::string SortKey(const LibraryRow& row) {
    std::string key = row.text.substr(0, row.text.find('\t'));
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

void SortByFirstColumn(std::vector<LibraryRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const LibraryRow& a, const LibraryRow& b) { return SortKey(a) < SortKey(b); });
}

int32_t ReadInt(PayloadReader& reader) {
    int32_t value = 0;
    reader.Int(&value);
    return value;
}

}  // namespace

MusicLibrary::MusicLibrary(std::shared_ptr<const RadioDirectory> radio)
    : m_edits(std::make_shared<LibraryEdits>()),
      m_radio(radio ? std::move(radio) : std::make_shared<RadioDirectory>()) {
    std::vector<std::string> names;
    for (int i = 0; i + 1 < kArtists; ++i)
        names.push_back(std::string(kFirstWords[static_cast<size_t>(i) % kFirstWords.size()]) + " " +
                        kSecondWords[static_cast<size_t>(i) / kFirstWords.size()]);
    names.push_back("7th Avenue");
    std::sort(names.begin(), names.end());
    for (int i = 0; i < kArtists; ++i) {
        Artist artist{1000 + i, names[static_cast<size_t>(i)], {}};
        for (int j = 0; j < kAlbumsPerArtist; ++j) {
            const int n = i * kAlbumsPerArtist + j;
            Album album{10000 + n,
                        std::string(kAlbumWords[static_cast<size_t>(n) % kAlbumWords.size()]) + " " +
                            std::to_string(1990 + n % 30),
                        (i + j) % static_cast<int>(kGenres.size()),
                        {}};
            for (int k = 0; k < kTracksPerAlbum; ++k) {
                const int t = n * kTracksPerAlbum + k;
                album.tracks.push_back({100000 + t,
                                        std::string(kTrackWords[static_cast<size_t>(t * 7 + i) % kTrackWords.size()]) +
                                            " " + kTrackWords[static_cast<size_t>(t + j) % kTrackWords.size()],
                                        120 + (t * 37) % 240});
            }
            artist.albums.push_back(std::move(album));
        }
        m_artists.push_back(std::move(artist));
    }
    std::vector<LibraryEdits::Playlist> playlists;
    for (size_t p = 0; p < kPlaylists.size(); ++p) {
        const int32_t id = kPlaylistIdBase + static_cast<int32_t>(p);
        LibraryEdits::Playlist playlist{id, kPlaylists[p], {}};
        for (int k = 0; k < kPlaylistTracks; ++k)
            playlist.tracks.push_back(NthTrack((id - kPlaylistIdBase) * 97 + k * 131));
        playlists.push_back(std::move(playlist));
    }
    m_edits->SetPlaylists(std::move(playlists));
    std::vector<LibraryEdits::Genre> genres;
    for (size_t g = 0; g < kSelectableGenres.size(); ++g)
        genres.push_back({static_cast<uint16_t>(kGenreIdBase + g), kSelectableGenres[g], g % 3 != 2});
    m_edits->SetGenres(std::move(genres));
}

bool MusicLibrary::IsAlphabetical(int kind) {
    return kind == kBrowseAllTracks || kind == kBrowseArtists || kind == kBrowseAllAlbums;
}

std::vector<int32_t> MusicLibrary::LetterCounts(const std::vector<LibraryRow>& rows) {
    std::vector<int32_t> counts(kLetterBuckets + 1, 0);
    for (const LibraryRow& row : rows) {
        const int c = std::toupper(static_cast<unsigned char>(row.text.empty() ? ' ' : row.text[0]));
        ++counts[c >= 'A' && c <= 'Z' ? static_cast<size_t>(c - 'A' + 2) : 1];
    }
    return counts;
}

LibraryRow MusicLibrary::TrackRow(const Artist& artist, const Album& album, const Track& track) const {
    return Row(track.id, album.id, artist.id, artist.name + "\t" + album.title + "\t" + track.title);
}

std::vector<LibraryRow> MusicLibrary::TracksOf(const Artist& artist, const Album* only) const {
    std::vector<LibraryRow> rows;
    for (const Album& album : artist.albums)
        if (!only || only == &album)
            for (const Track& track : album.tracks) rows.push_back(TrackRow(artist, album, track));
    return rows;
}

const MusicLibrary::Artist* MusicLibrary::FindArtist(int32_t id) const {
    for (const Artist& artist : m_artists)
        if (artist.id == id) return &artist;
    return nullptr;
}

const MusicLibrary::Album* MusicLibrary::FindAlbum(int32_t id, const Artist** owner) const {
    for (const Artist& artist : m_artists)
        for (const Album& album : artist.albums)
            if (album.id == id) {
                *owner = &artist;
                return &album;
            }
    return nullptr;
}

LibraryRow MusicLibrary::NthTrack(int n) const {
    const int perArtist = kAlbumsPerArtist * kTracksPerAlbum;
    const Artist& artist = m_artists[static_cast<size_t>(n / perArtist % kArtists)];
    const Album& album = artist.albums[static_cast<size_t>(n % perArtist / kTracksPerAlbum)];
    return TrackRow(artist, album, album.tracks[static_cast<size_t>(n % kTracksPerAlbum)]);
}

std::vector<LibraryRow> MusicLibrary::Rows(int kind, int a, int b) const {
    if (RadioDirectory::Serves(kind)) return m_radio->Rows(kind, a);
    std::vector<LibraryRow> rows;
    const Artist* artist = FindArtist(a);
    const Artist* albumArtist = nullptr;
    switch (kind) {
    case kBrowseAllTracks:
        for (const Artist& each : m_artists) {
            std::vector<LibraryRow> tracks = TracksOf(each, nullptr);
            rows.insert(rows.end(), tracks.begin(), tracks.end());
        }
        // A-Z by the track's title, the last column.
        std::stable_sort(rows.begin(), rows.end(), [](const LibraryRow& x, const LibraryRow& y) {
            return x.text.substr(x.text.rfind('\t') + 1) < y.text.substr(y.text.rfind('\t') + 1);
        });
        for (LibraryRow& row : rows) {
            const size_t tab = row.text.rfind('\t');
            row.text = row.text.substr(tab + 1) + "\t" + row.text.substr(0, tab);
        }
        break;
    case kBrowseArtists:
        for (const Artist& each : m_artists) rows.push_back(Row(each.id, 0, 0, each.name));
        break;
    case kBrowseAllAlbums:
    case kBrowseGenreAlbums:
        for (const Artist& each : m_artists)
            for (const Album& album : each.albums)
                if (kind == kBrowseAllAlbums || kGenreIdBase + album.genre == a)
                    rows.push_back(Row(each.id, album.id, 0, album.title + "\t" + each.name));
        SortByFirstColumn(rows);
        break;
    case kBrowseArtistTracks:
        if (artist) rows = TracksOf(*artist, nullptr);
        break;
    case kBrowseArtistAlbums:
        if (artist)
            for (const Album& album : artist->albums) rows.push_back(Row(artist->id, album.id, 0, album.title));
        break;
    case kBrowseArtistAlbumTracks:
        if (const Album* album = FindAlbum(b, &albumArtist); album && albumArtist == artist)
            rows = TracksOf(*artist, album);
        break;
    case kBrowseAlbumTracks:
        if (const Album* album = FindAlbum(a, &albumArtist)) rows = TracksOf(*albumArtist, album);
        break;
    case kBrowsePlaylists:
        for (const LibraryEdits::Playlist& playlist : m_edits->Playlists())
            rows.push_back(Row(playlist.id, 0, 0, playlist.name));
        break;
    case kBrowsePlaylistTracks:
        for (const LibraryEdits::Playlist& playlist : m_edits->Playlists())
            if (playlist.id == a) rows = playlist.tracks;
        break;
    case kBrowseMusicGenres:
        for (size_t g = 0; g < kGenres.size(); ++g)
            rows.push_back(Row(kGenreIdBase + static_cast<int32_t>(g), 0, 0, kGenres[g]));
        break;
    default: break;
    }
    return rows;
}

std::vector<QueueTrack> MusicLibrary::QueueTracks() const {
    std::vector<QueueTrack> tracks;
    for (int i = 0; i < kQueueTracks; ++i) {
        const Artist& artist = m_artists[static_cast<size_t>(i * 5 % kArtists)];
        const Album& album = artist.albums[static_cast<size_t>(i % kAlbumsPerArtist)];
        const Track& track = album.tracks[static_cast<size_t>(i % kTracksPerAlbum)];
        tracks.push_back({artist.name, album.title, track.title, track.seconds});
    }
    return tracks;
}

Bytes MusicLibrary::Queue() const {
    PayloadWriter out;
    out.Int(kQueueTracks);
    for (const QueueTrack& track : QueueTracks())
        out.String(track.artist).String(track.album).Int(0).String(track.title).Int(track.seconds).Int(0);
    return out;
}

std::vector<AlbumEntry> MusicLibrary::FirstAlbums(int count) const {
    std::vector<AlbumEntry> albums;
    for (const Artist& artist : m_artists)
        for (const Album& album : artist.albums)
            if (static_cast<int>(albums.size()) < count) albums.push_back({album.id, album.title, artist.name});
    return albums;
}

std::vector<QueueTrack> MusicLibrary::AlbumTracks(int32_t id) const {
    std::vector<QueueTrack> tracks;
    const Artist* artist = nullptr;
    if (const Album* album = FindAlbum(id, &artist))
        for (const Track& track : album->tracks)
            tracks.push_back({artist->name, album->title, track.title, track.seconds});
    return tracks;
}

const MusicLibrary::Track* MusicLibrary::FindTrack(int32_t id, const Album** owner, const Artist** artistOwner) const {
    for (const Artist& artist : m_artists)
        for (const Album& album : artist.albums)
            for (const Track& track : album.tracks)
                if (track.id == id) {
                    *owner = &album;
                    *artistOwner = &artist;
                    return &track;
                }
    return nullptr;
}

LibraryRow MusicLibrary::TrackById(int32_t id) const {
    const Album* album = nullptr;
    const Artist* artist = nullptr;
    const Track* track = FindTrack(id, &album, &artist);
    return track ? TrackRow(*artist, *album, *track) : LibraryRow{};
}

std::vector<QueueTrack> MusicLibrary::AsQueue(const std::vector<LibraryRow>& tracks) const {
    std::vector<QueueTrack> queue;
    for (const LibraryRow& row : tracks) {
        const Album* album = nullptr;
        const Artist* artist = nullptr;
        if (const Track* track = FindTrack(row.ids[0], &album, &artist))
            queue.push_back({artist->name, album->title, track->title, track->seconds});
    }
    return queue;
}

std::vector<LibraryRow> MusicLibrary::Expand(int kind, const LibraryRow& row) const {
    const Artist* artist = nullptr;
    switch (kind) {
    case kBrowseArtists: return Rows(kBrowseArtistTracks, row.ids[0], 0);
    case kBrowseAllAlbums:
    case kBrowseArtistAlbums:
    case kBrowseGenreAlbums:
        if (const Album* album = FindAlbum(row.ids[1], &artist)) return TracksOf(*artist, album);
        return {};
    case kBrowsePlaylists: return Rows(kBrowsePlaylistTracks, row.ids[0], 0);
    case kBrowseMusicGenres: {
        std::vector<LibraryRow> tracks;
        for (const LibraryRow& album : Rows(kBrowseGenreAlbums, row.ids[0], 0)) {
            std::vector<LibraryRow> more = Expand(kBrowseGenreAlbums, album);
            tracks.insert(tracks.end(), more.begin(), more.end());
        }
        return tracks;
    }
    default: return {row};
    }
}

std::vector<LibraryRow> MusicLibrary::TracksInGenre(int32_t genre) const {
    return Expand(kBrowseMusicGenres, Row(genre, 0, 0, {}));
}

std::vector<LibraryRow> MusicLibrary::RandomTracks(size_t count) const {
    std::vector<LibraryRow> tracks;
    for (const LibraryEdits::Genre& genre : m_edits->Genres()) {
        if (!genre.on) continue;
        const std::vector<LibraryRow> more = TracksInGenre(genre.id);
        tracks.insert(tracks.end(), more.begin(), more.end());
    }
    std::shuffle(tracks.begin(), tracks.end(), std::mt19937(kRandomSeed));
    if (tracks.size() > count) tracks.resize(count);
    return tracks;
}

std::vector<LibraryRow> MusicLibrary::TracksFor(int kind, int a, int b, int position) const {
    // The artists and all albums are one list whatever the values; the tracks
    // by an artist name the track; the albums of a genre name the album's artist.
    std::vector<LibraryRow> rows;
    if (kind == kBrowseArtists || kind == kBrowseAllAlbums) {
        rows = Rows(kind, 0, 0);
    } else if (kind == kBrowseArtistTracks) {
        const LibraryRow track = TrackById(a);
        if (track.ids[2] != 0) rows = Rows(kind, track.ids[2], 0);
    } else if (kind == kBrowseGenreAlbums) {
        for (size_t g = 0; g < kGenres.size() && rows.empty(); ++g) {
            std::vector<LibraryRow> albums = Rows(kind, kGenreIdBase + static_cast<int32_t>(g), 0);
            if (position >= 0 && static_cast<size_t>(position) < albums.size() &&
                albums[static_cast<size_t>(position)].ids[0] == a)
                rows = std::move(albums);
        }
    } else {
        rows = Rows(kind, a, b);
    }
    if (position < 0 || static_cast<size_t>(position) >= rows.size()) return {};
    return Expand(kind, rows[static_cast<size_t>(position)]);
}

std::shared_ptr<const MusicLibrary> ServeMusicLibrary(Gateway& gateway, std::shared_ptr<const RadioDirectory> radio) {
    auto library = std::make_shared<const MusicLibrary>(std::move(radio));
    // {kind, a, b, source} -> a row count, or the rows per letter; the gateway's progress first
    // when the answer is long.
    gateway.On(ZVM_AUDIO_BROWSEQ, [library](const Frame& request) {
        PayloadReader in(request.payload);
        const int32_t kind = ReadInt(in), a = ReadInt(in), b = ReadInt(in);
        const std::vector<LibraryRow> rows = library->Rows(kind, a, b);
        std::vector<Frame> frames;
        if (rows.size() > MusicLibrary::kLongAnswer)
            frames.push_back(
                {request.sender, ZVM_AUDIO_STARTUPDATES,
                 PayloadWriter().Int(kProgressLevel).String("Sorting " + std::to_string(rows.size()) + " tracks")});
        PayloadWriter out;
        if (MusicLibrary::IsAlphabetical(kind))
            for (int32_t count : MusicLibrary::LetterCounts(rows)) out.Int(count);
        else
            out.Int(static_cast<int32_t>(rows.size()));
        frames.push_back({request.sender, ZVM_AUDIO_BROWSEA, out});
        return frames;
    });
    // {kind, a, b, row, source} -> the row's ids and text; a row past the end reads empty.
    gateway.On(ZVM_AUDIO_GETITEMTEXTQ, [library](const Frame& request) {
        PayloadReader in(request.payload);
        const int32_t kind = ReadInt(in), a = ReadInt(in), b = ReadInt(in), index = ReadInt(in);
        const std::vector<LibraryRow> rows = library->Rows(kind, a, b);
        const LibraryRow row =
            index >= 0 && static_cast<size_t>(index) < rows.size() ? rows[static_cast<size_t>(index)] : LibraryRow{};
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_GETITEMTEXTA,
                                   PayloadWriter().Int(row.ids[0]).Int(row.ids[1]).Int(row.ids[2]).String(row.text)}};
    });
    ServeLibraryEdits(gateway, library);
    return library;
}

}  // namespace samplegateway
