#pragma once
// What the tablet changes in the sample house's music library: the playlists
// (created, renamed, deleted, their tracks added, deleted and moved) and the
// genres the library lists and plays at random. One object, shared by the
// library's answers and the handlers of the changes, guarded by its own lock
// (the gateway's thread answers while tests read it).
#include <mutex>
#include <string>
#include <vector>

#include "samplegateway/musiclibrary.h"

namespace samplegateway {

class LibraryEdits {
public:
    struct Playlist {
        int32_t id;
        std::string name;
        std::vector<LibraryRow> tracks;
    };
    struct Genre {
        uint16_t id;
        std::string name;
        bool on;
    };
    static constexpr int kGenres = 12;

    LibraryEdits() = default;

    std::vector<Playlist> Playlists() const;
    std::vector<Genre> Genres() const;

    void SetPlaylists(std::vector<Playlist> playlists);
    void SetGenres(std::vector<Genre> genres);
    // The new playlist's row and id; its name is "New Playlist n".
    Playlist Create(int32_t* row);
    bool Delete(int32_t id);
    // The renamed playlist's row after sorting, or -1.
    int32_t Rename(int32_t id, const std::string& name);
    // false for an unknown playlist or row.
    bool Edit(int32_t id, int32_t row, int32_t operation, int32_t* selectRow);
    bool Add(int32_t id, const std::vector<LibraryRow>& tracks);
    // Every genre's state and id, as the selection arrives.
    void SelectGenres(const std::vector<std::pair<uint16_t, uint16_t>>& states);

private:
    mutable std::mutex m_mutex;
    std::vector<Playlist> m_playlists;
    std::vector<Genre> m_genres;
    int32_t m_nextId = 0;
    int m_created = 0;
};

class Gateway;

// The handlers of the playlist edits (0x10EE, 0x10F2, 0x10F4, 0x1104, 0x1106)
// and the genres (0x10FE, 0x1100).
void ServeLibraryEdits(Gateway& gateway, std::shared_ptr<const MusicLibrary> library);

}  // namespace samplegateway
