// The sample radio directory: its lists by row, favourites added by the rows of all stations
// and removed by the rows of the favourites, and rows past the ends that change nothing.
#include "samplegateway/radiodirectory.h"

#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"

namespace {

using samplegateway::RadioDirectory;

std::vector<std::string> Texts(const std::vector<samplegateway::LibraryRow>& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(row.text);
    return texts;
}

TEST(SampleRadioDirectory, ListsByRowAndFavouritesByTheirOwnRows) {
    RadioDirectory radio;
    EXPECT_EQ(radio.Rows(kBrowseRadioGenres, 0).size(), 6u);
    EXPECT_EQ(radio.Rows(kBrowseStations, 5).size(), 10u);
    EXPECT_EQ(Texts(radio.Rows(kBrowseFavouriteRadioGenres, 0)),
              (std::vector<std::string>{"Classic Rock", "Jazz", "News"}));
    EXPECT_EQ(Texts(radio.Rows(kBrowseFavouriteStations, 1)),
              (std::vector<std::string>{"Harbour Jazz FM", "Beacon Jazz FM"}));
    EXPECT_EQ(radio.IsFavourite(2, 3), true);
    EXPECT_EQ(radio.IsFavourite(2, 4), false);

    radio.AddFavourite(4, 9);  // Talk, the last station: a genre of its own among the favourites
    EXPECT_EQ(Texts(radio.Rows(kBrowseFavouriteStations, 3)), std::vector<std::string>{"Meadow Talk FM"});
    EXPECT_EQ(radio.StationName(kBrowseFavouriteStations, 3, 0), "Meadow Talk FM");
    radio.RemoveFavourite(2, 0);  // News' only favourite: the genre goes
    EXPECT_EQ(Texts(radio.Rows(kBrowseFavouriteRadioGenres, 0)),
              (std::vector<std::string>{"Classic Rock", "Jazz", "Talk"}));
}

TEST(SampleRadioDirectory, RowsPastTheEndsNameNoStation) {
    RadioDirectory radio;
    const struct { int genre, station; } outside[] = {{-1, 0}, {6, 0}, {0, -1}, {0, 10}, {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& c : outside) {
        SCOPED_TRACE(testing::Message() << c.genre << ", " << c.station);
        EXPECT_FALSE(radio.IsFavourite(c.genre, c.station).has_value());
        EXPECT_EQ(radio.StationName(kBrowseStations, c.genre, c.station), "");
        radio.AddFavourite(c.genre, c.station);
        radio.RemoveFavourite(c.genre, c.station);
    }
    EXPECT_EQ(radio.Rows(kBrowseFavouriteRadioGenres, 0).size(), 3u);
    EXPECT_EQ(radio.Rows(kBrowseFavouriteStations, 3).size(), 0u);
}

}  // namespace
