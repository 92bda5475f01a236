#pragma once
// The sample house's music library, made in code and the same on every run: 60 artists over
// most letters (one under a digit), 3 albums of 10 tracks each, 8 genres, 5 playlists, and the
// lists of the radio directory it is given. It answers the tablet's browse requests with row
// counts or the rows per initial letter, and each row's text request with the row's ids and
// its TAB-separated columns; before the long answer of all tracks it reports its progress. The
// music server's play queue starts with 12 tracks (served by musicserver.cpp).
#include <memory>
#include <string>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class LibraryEdits;
class RadioDirectory;

// A track as the play queue holds it.
struct QueueTrack {
    std::string artist;
    std::string album;
    std::string title;
    int seconds = 0;
};

// An album as a browse tree lists it.
struct AlbumEntry {
    int32_t id = 0;
    std::string title;
    std::string artist;
};

struct LibraryRow {
    int32_t ids[3] = {0, 0, 0};
    std::string text;
};

class MusicLibrary {
public:
    static constexpr int kArtists = 60;
    static constexpr int kAlbumsPerArtist = 3;
    static constexpr int kTracksPerAlbum = 10;
    static constexpr int kQueueTracks = 12;
    static constexpr int kLetterBuckets = 27;
    // Before a browse of more rows than this, the gateway shows its progress.
    static constexpr int kLongAnswer = 1000;

    // Without a radio directory, the library has one of its own.
    explicit MusicLibrary(std::shared_ptr<const RadioDirectory> radio = nullptr);

    // The rows of a browse kind with its two values, in the order the tablet shows them.
    std::vector<LibraryRow> Rows(int kind, int a, int b) const;
    // Whether the kind is answered with the rows per initial letter.
    static bool IsAlphabetical(int kind);
    // Rows per bucket: entry 0 before any letter, 1..26 'A'..'Z'.
    static std::vector<int32_t> LetterCounts(const std::vector<LibraryRow>& rows);
    // The play queue answer: 12 entries {artist, album, 0, track, seconds, 0}.
    Bytes Queue() const;
    // The 12 tracks of the play queue at start.
    std::vector<QueueTrack> QueueTracks() const;
    // The first albums of the library, by artist.
    std::vector<AlbumEntry> FirstAlbums(int count) const;
    // The album's tracks; none for an unknown id.
    std::vector<QueueTrack> AlbumTracks(int32_t id) const;

    // The playlists and genres as the tablet changed them.
    LibraryEdits& Edits() const { return *m_edits; }
    // The tracks a play or add command names: the row at the position of the
    // browse (kind, a, b), all the tracks under it when it is no track.
    std::vector<LibraryRow> TracksFor(int kind, int a, int b, int position) const;
    // Every track of the albums of a library genre.
    std::vector<LibraryRow> TracksInGenre(int32_t genre) const;
    // At most count tracks of the genres switched on, in an order of chance that is the same
    // on every run.
    std::vector<LibraryRow> RandomTracks(size_t count) const;
    // The track row of a track id; empty ids when there is none.
    LibraryRow TrackById(int32_t id) const;
    // The track rows as the play queue holds them; rows of no known track are left out.
    std::vector<QueueTrack> AsQueue(const std::vector<LibraryRow>& tracks) const;

private:
    struct Track {
        int32_t id;
        std::string title;
        int seconds;
    };
    struct Album {
        int32_t id;
        std::string title;
        int genre;
        std::vector<Track> tracks;
    };
    struct Artist {
        int32_t id;
        std::string name;
        std::vector<Album> albums;
    };

    LibraryRow TrackRow(const Artist& artist, const Album& album, const Track& track) const;
    std::vector<LibraryRow> TracksOf(const Artist& artist, const Album* only) const;
    const Artist* FindArtist(int32_t id) const;
    // The album and its artist; null when there is none of that id.
    const Album* FindAlbum(int32_t id, const Artist** artist) const;
    // The n-th track of the whole library, as it is laid out.
    LibraryRow NthTrack(int n) const;

    // The tracks under a row of the browse kind.
    std::vector<LibraryRow> Expand(int kind, const LibraryRow& row) const;
    // The track of the id with its album and artist; null when there is none.
    const Track* FindTrack(int32_t id, const Album** album, const Artist** artist) const;

    std::vector<Artist> m_artists;
    std::shared_ptr<LibraryEdits> m_edits;
    std::shared_ptr<const RadioDirectory> m_radio;
};

// Serves the browses and the playlist and genre edits; the library for the music server.
std::shared_ptr<const MusicLibrary> ServeMusicLibrary(Gateway& gateway,
                                                      std::shared_ptr<const RadioDirectory> radio = nullptr);

}  // namespace samplegateway
