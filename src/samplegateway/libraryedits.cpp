#include "samplegateway/libraryedits.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

constexpr int32_t kFirstNewPlaylistId = 650;

int32_t ReadInt(PayloadReader& reader) {
    int32_t value = 0;
    reader.Int(&value);
    return value;
}

bool ByName(const LibraryEdits::Playlist& a, const LibraryEdits::Playlist& b) { return a.name < b.name; }

Frame Broadcast(uint16_t id, Bytes payload = {}) { return {kEverySink, id, std::move(payload)}; }

}  // namespace

std::vector<LibraryEdits::Playlist> LibraryEdits::Playlists() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_playlists;
}

std::vector<LibraryEdits::Genre> LibraryEdits::Genres() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_genres;
}

void LibraryEdits::SetPlaylists(std::vector<Playlist> playlists) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_playlists = std::move(playlists);
    m_nextId = kFirstNewPlaylistId;
}

void LibraryEdits::SetGenres(std::vector<Genre> genres) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_genres = std::move(genres);
}

LibraryEdits::Playlist LibraryEdits::Create(int32_t* row) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Playlist playlist{m_nextId++, "New Playlist " + std::to_string(++m_created), {}};
    m_playlists.push_back(playlist);
    std::stable_sort(m_playlists.begin(), m_playlists.end(), ByName);
    for (size_t i = 0; i < m_playlists.size(); ++i)
        if (m_playlists[i].id == playlist.id) *row = static_cast<int32_t>(i);
    return playlist;
}

bool LibraryEdits::Delete(int32_t id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const size_t before = m_playlists.size();
    std::erase_if(m_playlists, [id](const Playlist& p) { return p.id == id; });
    return m_playlists.size() != before;
}

int32_t LibraryEdits::Rename(int32_t id, const std::string& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    bool found = false;
    for (Playlist& playlist : m_playlists)
        if (playlist.id == id) {
            playlist.name = name;
            found = true;
        }
    if (!found) return -1;
    std::stable_sort(m_playlists.begin(), m_playlists.end(), ByName);
    for (size_t i = 0; i < m_playlists.size(); ++i)
        if (m_playlists[i].id == id) return static_cast<int32_t>(i);
    return -1;
}

bool LibraryEdits::Edit(int32_t id, int32_t row, int32_t operation, int32_t* selectRow) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Playlist& playlist : m_playlists) {
        if (playlist.id != id) continue;
        const int32_t count = static_cast<int32_t>(playlist.tracks.size());
        if (row < 0 || row >= count) return false;
        const auto at = playlist.tracks.begin() + row;
        switch (operation) {
        case kPlaylistDeleteTrack:
            playlist.tracks.erase(at);
            *selectRow = std::min(row, count - 2);
            return true;
        case kPlaylistMoveUp:
        case kPlaylistMoveDown: {
            const int32_t to = operation == kPlaylistMoveUp ? row - 1 : row + 1;
            if (to >= 0 && to < count) std::iter_swap(at, playlist.tracks.begin() + to);
            *selectRow = std::clamp(to, 0, count - 1);
            return true;
        }
        default: return false;
        }
    }
    return false;
}

bool LibraryEdits::Add(int32_t id, const std::vector<LibraryRow>& tracks) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Playlist& playlist : m_playlists)
        if (playlist.id == id) {
            playlist.tracks.insert(playlist.tracks.end(), tracks.begin(), tracks.end());
            return true;
        }
    return false;
}

void LibraryEdits::SelectGenres(const std::vector<std::pair<uint16_t, uint16_t>>& states) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& [on, id] : states)
        for (Genre& genre : m_genres)
            if (genre.id == id) genre.on = on != 0;
}

void ServeLibraryEdits(Gateway& gateway, std::shared_ptr<const MusicLibrary> library) {
    LibraryEdits& edits = library->Edits();
    // {zone, playlist, kind, a, b, position} -> the playlist's tracks changed.
    gateway.On(ZVM_AUDIO_ADDTOPLAYLIST, [library](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const int32_t playlist = ReadInt(in), kind = ReadInt(in), a = ReadInt(in), b = ReadInt(in);
        const std::vector<LibraryRow> tracks = library->TracksFor(kind, a, b, ReadInt(in));
        if (tracks.empty() || !library->Edits().Add(playlist, tracks)) return std::vector<Frame>{};
        return std::vector<Frame>{Broadcast(ZVM_AUDIO_PLAYLISTITEMSCHANGED, PayloadWriter().Int(playlist).Int(0))};
    });
    // {zone, playlist, row, operation}
    gateway.On(ZVM_AUDIO_EDITPLAYLISTITEM, [library](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const int32_t playlist = ReadInt(in), row = ReadInt(in), operation = ReadInt(in);
        int32_t select = 0;
        if (!library->Edits().Edit(playlist, row, operation, &select)) return std::vector<Frame>{};
        return std::vector<Frame>{Broadcast(ZVM_AUDIO_PLAYLISTITEMSCHANGED, PayloadWriter().Int(playlist).Int(select))};
    });
    // {zone} -> {row, id, name}, then the library changed.
    gateway.On(ZVM_AUDIO_CREATEPLAYLISTQ, [&edits](const Frame& request) {
        int32_t row = 0;
        const LibraryEdits::Playlist playlist = edits.Create(&row);
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_CREATEPLAYLISTA,
                                   PayloadWriter().Int(row).Int(playlist.id).String(playlist.name)},
                                  Broadcast(ZVM_AUDIO_LIBRARYCHANGED)};
    });
    // {playlist, zone}; an unknown playlist is not acknowledged.
    gateway.On(ZVM_AUDIO_DELETEPLAYLISTQ, [&edits](const Frame& request) {
        PayloadReader in(request.payload);
        if (!edits.Delete(ReadInt(in))) return std::vector<Frame>{};
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_DELETEPLAYLISTA, {}}, Broadcast(ZVM_AUDIO_LIBRARYCHANGED)};
    });
    // {zone, playlist, name} -> the row to select.
    gateway.On(ZVM_AUDIO_RENAMEPLAYLISTQ, [&edits](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const int32_t playlist = ReadInt(in);
        std::string name;
        in.String(&name);
        const int32_t row = name.empty() ? -1 : edits.Rename(playlist, name);
        if (row < 0) return std::vector<Frame>{};
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_RENAMEPLAYLISTA, PayloadWriter().Int(row)},
                                  Broadcast(ZVM_AUDIO_LIBRARYCHANGED)};
    });
    // -> {n, n x {u16 state, u16 id, name}}
    gateway.On(ZVM_AUDIO_GETGENRESQ, [&edits](const Frame& request) {
        const std::vector<LibraryEdits::Genre> genres = edits.Genres();
        PayloadWriter out;
        out.Int(static_cast<int32_t>(genres.size()));
        for (const LibraryEdits::Genre& genre : genres) out.Short(genre.on ? 1 : 0).Short(genre.id).String(genre.name);
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_GETGENRESA, out}};
    });
    // {n, n x {u16 state, u16 id}}
    gateway.On(ZVM_AUDIO_SETGENRE, [&edits](const Frame& request) {
        PayloadReader in(request.payload);
        const int32_t n = ReadInt(in);
        std::vector<std::pair<uint16_t, uint16_t>> states;
        for (int32_t i = 0; i < n && in.Left() >= 4; ++i) {
            uint16_t pair[2] = {0, 0};
            in.Raw(pair, sizeof pair);
            states.emplace_back(pair[0], pair[1]);
        }
        edits.SelectGenres(states);
        return std::vector<Frame>{};
    });
}

}  // namespace samplegateway
