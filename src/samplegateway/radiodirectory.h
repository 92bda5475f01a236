#pragma once
// The sample house's internet radio directory: 6 genres of 10 stations each, and the favourites
// the tablet adds and removes (a few to start with). The tablet names a station by the rows of
// the lists it shows: a genre row of all genres (or of the genres that hold favourites) and a
// station row of that genre's stations (or of its favourites). Safe to use from any thread.
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "samplegateway/musiclibrary.h"

namespace samplegateway {

class Gateway;

class RadioDirectory {
public:
    static constexpr int kGenres = 6;
    static constexpr int kStationsPerGenre = 10;

    RadioDirectory();

    // Whether the browse kind is one of the directory's lists (8 to 11).
    static bool Serves(int kind);
    // The rows of the list: genres (kinds 8, 9) or the stations of a genre row (10, 11).
    std::vector<LibraryRow> Rows(int kind, int genreRow) const;
    // The station at the rows of the list kind (10 or 11); empty when there is none.
    std::string StationName(int kind, int genreRow, int stationRow) const;
    // Whether the station of the all-stations rows is a favourite; none for no such station.
    std::optional<bool> IsFavourite(int genreRow, int stationRow) const;
    // By the rows of all stations; nothing for no such station.
    void AddFavourite(int genreRow, int stationRow);
    // By the rows of the favourites; nothing for no such station.
    void RemoveFavourite(int genreRow, int stationRow);

private:
    using Station = std::pair<int, int>;  // genre, station of the whole directory
    std::optional<Station> Locate(int kind, int genreRow, int stationRow) const;
    std::vector<int> FavouriteGenres() const;
    std::vector<int> FavouriteStations(int genre) const;

    mutable std::mutex m_mutex;
    std::set<Station> m_favourites;
};

// The favourites' requests: 0x1162 answered 0x1163, 0x1164 adds and 0x1166 removes.
void ServeRadioFavourites(Gateway& gateway, std::shared_ptr<RadioDirectory> directory);

}  // namespace samplegateway
