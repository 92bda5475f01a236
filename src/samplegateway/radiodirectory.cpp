#include "samplegateway/radiodirectory.h"

#include <array>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

constexpr std::array<const char*, RadioDirectory::kGenres> kGenreNames = {"Classic Rock", "Country", "Jazz",
                                                                          "News",         "Talk",    "Top 40"};
constexpr std::array<const char*, RadioDirectory::kStationsPerGenre> kStationWords = {
    "Harbour", "Sunset", "Lagoon", "Beacon", "Coastline", "Driftwood", "Riverside", "Skyline", "Summit", "Meadow"};
constexpr int32_t kGenreIdBase = 700;
constexpr int32_t kStationIdBase = 800;

std::string NameOf(int genre, int station) {
    return std::string(kStationWords[static_cast<size_t>(station)]) + " " + kGenreNames[static_cast<size_t>(genre)] +
           " FM";
}

LibraryRow GenreRow(int genre) {
    LibraryRow row;
    row.ids[0] = kGenreIdBase + genre;
    row.text = kGenreNames[static_cast<size_t>(genre)];
    return row;
}

LibraryRow StationRow(int genre, int station) {
    LibraryRow row;
    row.ids[0] = kStationIdBase + genre * RadioDirectory::kStationsPerGenre + station;
    row.ids[1] = kGenreIdBase + genre;
    row.text = NameOf(genre, station);
    return row;
}

// The entry at a row, or none past the ends.
std::optional<int> At(const std::vector<int>& entries, int row) {
    if (row < 0 || static_cast<size_t>(row) >= entries.size()) return std::nullopt;
    return entries[static_cast<size_t>(row)];
}

std::vector<int> Count(int n) {
    std::vector<int> all;
    for (int i = 0; i < n; ++i) all.push_back(i);
    return all;
}

}  // namespace

// The Patio's station among them, and one or two of three other genres.
RadioDirectory::RadioDirectory() : m_favourites{{0, 5}, {2, 0}, {2, 3}, {3, 1}} {}

bool RadioDirectory::Serves(int kind) { return kind >= kBrowseRadioGenres && kind <= kBrowseFavouriteStations; }

std::vector<int> RadioDirectory::FavouriteGenres() const {
    std::vector<int> genres;
    for (const Station& favourite : m_favourites)
        if (genres.empty() || genres.back() != favourite.first) genres.push_back(favourite.first);
    return genres;
}

std::vector<int> RadioDirectory::FavouriteStations(int genre) const {
    std::vector<int> stations;
    for (const Station& favourite : m_favourites)
        if (favourite.first == genre) stations.push_back(favourite.second);
    return stations;
}

std::optional<RadioDirectory::Station> RadioDirectory::Locate(int kind, int genreRow, int stationRow) const {
    const bool favourites = kind == kBrowseFavouriteStations;
    const std::optional<int> genre = At(favourites ? FavouriteGenres() : Count(kGenres), genreRow);
    if (!genre) return std::nullopt;
    const std::optional<int> station =
        At(favourites ? FavouriteStations(*genre) : Count(kStationsPerGenre), stationRow);
    if (!station) return std::nullopt;
    return Station{*genre, *station};
}

std::vector<LibraryRow> RadioDirectory::Rows(int kind, int genreRow) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<LibraryRow> rows;
    switch (kind) {
    case kBrowseRadioGenres:
    case kBrowseFavouriteRadioGenres:
        for (int genre : kind == kBrowseRadioGenres ? Count(kGenres) : FavouriteGenres())
            rows.push_back(GenreRow(genre));
        break;
    case kBrowseStations:
    case kBrowseFavouriteStations: {
        const bool favourites = kind == kBrowseFavouriteStations;
        const std::optional<int> genre = At(favourites ? FavouriteGenres() : Count(kGenres), genreRow);
        if (!genre) break;
        for (int station : favourites ? FavouriteStations(*genre) : Count(kStationsPerGenre))
            rows.push_back(StationRow(*genre, station));
        break;
    }
    default: break;
    }
    return rows;
}

std::string RadioDirectory::StationName(int kind, int genreRow, int stationRow) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::optional<Station> station = Locate(kind, genreRow, stationRow);
    return station ? NameOf(station->first, station->second) : std::string();
}

std::optional<bool> RadioDirectory::IsFavourite(int genreRow, int stationRow) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::optional<Station> station = Locate(kBrowseStations, genreRow, stationRow);
    if (!station) return std::nullopt;
    return m_favourites.count(*station) > 0;
}

void RadioDirectory::AddFavourite(int genreRow, int stationRow) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (const std::optional<Station> station = Locate(kBrowseStations, genreRow, stationRow))
        m_favourites.insert(*station);
}

void RadioDirectory::RemoveFavourite(int genreRow, int stationRow) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (const std::optional<Station> station = Locate(kBrowseFavouriteStations, genreRow, stationRow))
        m_favourites.erase(*station);
}

void ServeRadioFavourites(Gateway& gateway, std::shared_ptr<RadioDirectory> directory) {
    // Each request is {genre row, station row}; a cut one does nothing.
    const auto rows = [](const Frame& request, int32_t* genre, int32_t* station) {
        PayloadReader in(request.payload);
        return in.Int(genre) && in.Int(station);
    };
    gateway.On(ZVM_RADIO_GETFAVORITEQ, [directory, rows](const Frame& request) -> std::vector<Frame> {
        int32_t genre = 0, station = 0;
        if (!rows(request, &genre, &station)) return {};
        const std::optional<bool> favourite = directory->IsFavourite(genre, station);
        if (!favourite) return {};
        return {{request.sender, ZVM_RADIO_GETFAVORITEA, PayloadWriter().Int(*favourite ? 1 : 0)}};
    });
    gateway.On(ZVM_RADIO_ADDFAVORITE, [directory, rows](const Frame& request) {
        int32_t genre = 0, station = 0;
        if (rows(request, &genre, &station)) directory->AddFavourite(genre, station);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_RADIO_REMOVEFAVORITE, [directory, rows](const Frame& request) {
        int32_t genre = 0, station = 0;
        if (rows(request, &genre, &station)) directory->RemoveFavourite(genre, station);
        return std::vector<Frame>{};
    });
}

}  // namespace samplegateway
