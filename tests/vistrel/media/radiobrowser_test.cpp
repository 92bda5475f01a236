// The internet radio directory of a music source, against the sample house: the favourite
// button on each tab, answers that come late or cut short, "Listen" with the zone's now-playing
// listener, and pictures of both tabs.
#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "support/golden.h"
#include "vistrel/media/music/musiclists.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "vistrel/media/radio/radiobrowserpage.h"
#include "vistrel/media/radio/radionowplaying.h"
#include "vistrel/media/radio/radiostationlistpage.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Bytes;
using testsupport::PayloadWriter;
using Page = CRadioStationListPage;

constexpr int32_t kLivingRoom = 1;
constexpr int32_t kLivingRoomMusic = 11;

class RadioBrowserTest : public audiotest::AudioTest {
protected:
    // The radio page switches the program's labels to the smooth font for good: each test starts
    // and ends without.
    RadioBrowserTest() { g_bSmoothLabels = 0; }
    ~RadioBrowserTest() override { g_bSmoothLabels = 0; }

    // The Living Room's music source with its "Internet Radio" tab open, its lists loaded.
    void OpenDirectory() {
        ConnectToSampleHouse();
        zones = OpenPage();
        ASSERT_TRUE(SettleUntil([&] { return Music() != nullptr; }));
        CMusicSourcePage* music = Music();
        for (int i = 2; i < music->GetTabCount() && !browser; ++i) {
            music->SelectTab(CMusicSourcePage::kNowPlayingTab + i, 0);
            browser = dynamic_cast<CRadioBrowserPage*>(music->GetCurrentPage());
        }
        ASSERT_NE(browser, nullptr);
        ASSERT_TRUE(SettleUntil([&] { return Stations()->GetSelectedIndex() == 0; }));
    }
    CMusicSourcePage* Music() { return dynamic_cast<CMusicSourcePage*>(zones->GetSourcePage()); }
    Page* StationPage() { return browser->GetStationPage(); }
    CStationList* Stations() { return StationPage()->GetStationList(); }
    CGenreList* Genres() { return StationPage()->GetGenreList(); }
    int ButtonEnabled() { return StationPage()->GetFavouriteButton()->IsEnabled(); }
    std::string RowText(CAudioLibListBase* list, int row) {
        return static_cast<CLBAudioItem*>(list->GetItemAt(row))->GetFullText();
    }
    // The user taps a row: it is selected and the page hears the list's selection.
    void Tap(CAudioLibListBase* list, int row, int command) {
        list->SelectIndex(row, 0);
        StationPage()->OnCommand(command);
    }
    void ChooseGenre(int row) {
        Tap(Genres(), row, Page::kGenreSelected);
        ASSERT_TRUE(SettleUntil([&] { return Stations()->GetCount() > 0; }));
    }
    std::vector<Bytes> Sent(uint16_t id) const { return gateway.PayloadsOf(id); }
    static Bytes Rows(int32_t genre, int32_t station) { return PayloadWriter().Int(genre).Int(station); }

    CAudioZonesPage* zones = nullptr;
    CRadioBrowserPage* browser = nullptr;
};

TEST_F(RadioBrowserTest, TheAllStationsTabAddsAStationThatIsNoFavouriteYet) {
    OpenDirectory();
    // The first genre and its first station are chosen; the gateway says it is no favourite.
    EXPECT_STREQ(StationPage()->GetStationsHeading()->GetText().GetAnsi(), "Stations in Classic Rock");
    EXPECT_EQ(Stations()->GetCount(), 10);
    EXPECT_EQ(Sent(ZVM_RADIO_GETFAVORITEQ), std::vector<Bytes>{Rows(0, 0)});
    EXPECT_TRUE(ButtonEnabled());
    EXPECT_STREQ(StationPage()->GetFavouriteButton()->GetText().GetAnsi(), "Add Station To Favorites");

    StationPage()->OnCommand(Page::kFavouriteButton);
    EXPECT_FALSE(ButtonEnabled());
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Sent(ZVM_RADIO_ADDFAVORITE), std::vector<Bytes>{Rows(0, 0)});
    EXPECT_FALSE(ButtonEnabled());

    // A station that is a favourite already keeps the button off; one that is not turns it on.
    ChooseGenre(2);
    Tap(Stations(), 3, Page::kStationSelected);
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(ButtonEnabled());
    Tap(Stations(), 4, Page::kStationSelected);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(ButtonEnabled());
    EXPECT_EQ(Sent(ZVM_RADIO_GETFAVORITEQ).back(), Rows(2, 4));
}

TEST_F(RadioBrowserTest, TheFavouritesTabRemovesAndReloadsTheSameGenre) {
    OpenDirectory();
    browser->OnCommand(CRadioBrowserPage::kFavouritesTab);
    ASSERT_TRUE(SettleUntil([&] { return Stations()->GetSelectedIndex() == 0; }));
    EXPECT_STREQ(StationPage()->GetFavouriteButton()->GetText().GetAnsi(), "Remove Station From Favorites");
    // The genres that hold favourites; the favourites tab never asks.
    ASSERT_EQ(Genres()->GetCount(), 3);
    EXPECT_TRUE(ButtonEnabled());
    ChooseGenre(1);
    ASSERT_EQ(Stations()->GetCount(), 2);
    EXPECT_EQ(RowText(Stations(), 1), "Beacon Jazz FM");
    Tap(Stations(), 1, Page::kStationSelected);
    EXPECT_TRUE(ButtonEnabled());

    StationPage()->OnCommand(Page::kFavouriteButton);
    EXPECT_FALSE(ButtonEnabled());
    ASSERT_TRUE(SettleUntil([&] { return Stations()->GetCount() == 1; }));
    EXPECT_EQ(Sent(ZVM_RADIO_REMOVEFAVORITE), std::vector<Bytes>{Rows(1, 1)});
    EXPECT_EQ(Genres()->GetSelectedIndex(), 1);
    EXPECT_EQ(RowText(Stations(), 0), "Harbour Jazz FM");
    EXPECT_STREQ(StationPage()->GetStationsHeading()->GetText().GetAnsi(), "Stations in Jazz");
    // Only the all-stations tab asked, for its first station.
    EXPECT_EQ(Sent(ZVM_RADIO_GETFAVORITEQ).size(), 1u);
}

TEST_F(RadioBrowserTest, RemovingTheLastFavouriteOfTheLastGenreChoosesItsNeighbour) {
    OpenDirectory();
    browser->OnCommand(CRadioBrowserPage::kFavouritesTab);
    ASSERT_TRUE(SettleUntil([&] { return Stations()->GetSelectedIndex() == 0; }));
    ChooseGenre(2);
    ASSERT_EQ(Stations()->GetCount(), 1);
    Tap(Stations(), 0, Page::kStationSelected);
    StationPage()->OnCommand(Page::kFavouriteButton);
    // News held one favourite: the genre goes, and Jazz before it shows its own stations.
    ASSERT_TRUE(SettleUntil([&] { return Genres()->GetCount() == 2 && Stations()->GetCount() == 2; }));
    EXPECT_EQ(Genres()->GetSelectedIndex(), 1);
    EXPECT_STREQ(StationPage()->GetStationsHeading()->GetText().GetAnsi(), "Stations in Jazz");
}

TEST_F(RadioBrowserTest, OnlyAWholeAnswerForTheStationStillChosenSetsTheButton) {
    OpenDirectory();
    // From here the gateway leaves the questions to the test.
    gateway.On(ZVM_RADIO_GETFAVORITEQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Tap(Stations(), 1, Page::kStationSelected);
    ASSERT_TRUE(Settle());
    const uint16_t first = StationPage()->CSocketSink::GetId();
    Tap(Stations(), 2, Page::kStationSelected);
    ASSERT_TRUE(Settle());
    const uint16_t second = StationPage()->CSocketSink::GetId();
    EXPECT_NE(first, second);

    const struct {
        const char* what;
        uint16_t sink;
        Bytes payload;
    } ignored[] = {
        {"the answer for the station chosen before", first, PayloadWriter().Int(0)},
        {"an answer without its flag", second, Bytes{}},
        {"a flag cut short", second, Bytes{0, 0}},
        {"a flag that is neither 0 nor 1", second, PayloadWriter().Int(7)},
    };
    for (const auto& c : ignored) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(gateway.Push(ZVM_RADIO_GETFAVORITEA, c.payload, c.sink));
        ASSERT_TRUE(Settle());
        EXPECT_FALSE(ButtonEnabled());
    }
    ASSERT_TRUE(gateway.Push(ZVM_RADIO_GETFAVORITEA, PayloadWriter().Int(0), second));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(ButtonEnabled());

    // Once another genre is chosen, no station is: a late answer finds nothing to set.
    Tap(Stations(), 3, Page::kStationSelected);
    ChooseGenre(1);
    ASSERT_TRUE(gateway.Push(ZVM_RADIO_GETFAVORITEA, PayloadWriter().Int(0), StationPage()->CSocketSink::GetId()));
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(ButtonEnabled());
}

TEST_F(RadioBrowserTest, ListenPlaysTheStationAndItsRowCarriesTheLevelWhileNowPlayingIsHidden) {
    OpenDirectory();
    EXPECT_EQ(zones->GetSourceListener(), static_cast<CListenProgressListener*>(Stations()));
    ChooseGenre(2);
    Tap(Stations(), 1, Page::kStationSelected);
    StationPage()->OnCommand(Page::kListen);
    ASSERT_TRUE(SettleUntil([&] { return Music()->GetNowPlaying()->IsRadioMode(); }));
    EXPECT_EQ(
        Sent(ZVM_AUDIO_LIBRARYCOMMANDEX),
        std::vector<Bytes>{PayloadWriter().Int(kLivingRoom).Int(10).Int(2).Int(0).Int(1).Int(0).Int(kLivingRoomMusic)});
    // The hidden Now Playing page hands the stream's level to the station's row.
    auto* radio = dynamic_cast<CRadioNowPlayingPage*>(Music()->GetNowPlaying()->GetChild());
    ASSERT_NE(radio, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return Stations()->IsBarShown() != 0; }));
    EXPECT_EQ(radio->GetQualityMeter()->GetValue(), 0);

    // The Now Playing tab shows the station; the directory no longer listens.
    Music()->SelectTab(CMusicSourcePage::kNowPlayingTab, 0);
    EXPECT_EQ(zones->GetSourceListener(), nullptr);
    ASSERT_TRUE(SettleUntil([&] { return std::string(radio->GetStation()->GetText().GetAnsi()) == "Sunset Jazz FM"; }));
}

TEST_F(RadioBrowserTest, ListenOnTheFavouritesTabNamesTheFavouriteRows) {
    OpenDirectory();
    browser->OnCommand(CRadioBrowserPage::kFavouritesTab);
    ASSERT_TRUE(SettleUntil([&] { return Stations()->GetSelectedIndex() == 0; }));
    EXPECT_EQ(zones->GetSourceListener(), static_cast<CListenProgressListener*>(Stations()));
    ChooseGenre(1);
    Tap(Stations(), 1, Page::kStationSelected);
    StationPage()->OnCommand(Page::kListen);
    ASSERT_TRUE(SettleUntil([&] { return Music()->GetNowPlaying()->IsRadioMode(); }));
    EXPECT_EQ(Sent(ZVM_AUDIO_LIBRARYCOMMANDEX).back(),
              Bytes(PayloadWriter().Int(kLivingRoom).Int(11).Int(1).Int(0).Int(1).Int(0).Int(kLivingRoomMusic)));
}

TEST_F(RadioBrowserTest, PicturesOfBothTabs) {
    OpenDirectory();
    ChooseGenre(2);
    Tap(Stations(), 3, Page::kStationSelected);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(browser), "radio_directory_all"));
    browser->OnCommand(CRadioBrowserPage::kFavouritesTab);
    ASSERT_TRUE(SettleUntil([&] { return Stations()->GetSelectedIndex() == 0; }));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(browser), "radio_directory_favourites"));
}

}  // namespace
