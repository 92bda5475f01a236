// The station favourites panel, the station browse page with its channel
// entry, and the genre page's lists, against scripted answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/icon.h"
#include "gfx/zvdc.h"
#include "tuner_fixture.h"
#include "vistrel/media/tuner/tunergenre.h"
#include "vistrel/shell/gatewaypanel.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/textlist.h"

namespace {

using tunertest::FavoriteList;
using tunertest::Message;
using tunertest::PayloadWriter;
using tunertest::TextOf;
using tunertest::TunerTest;

constexpr int kFull = 3101;
constexpr int kCompact = 3105 | 0x10000;

std::vector<std::string> RowsOf(CTunerStationList* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->GetCount(); ++i)
        rows.push_back(static_cast<CTextItem*>(list->GetItemAt(i))->GetText().GetAnsi());
    return rows;
}

testsupport::Bytes Entries(int32_t count, const std::vector<tunertest::Favorite>& entries) {
    PayloadWriter out;
    out.Int(count);
    for (const auto& entry : entries) out.Int(entry.id).String(entry.name);
    return out;
}

std::unique_ptr<CZVMSG> ChannelStatus(int32_t channel, int32_t favorite) {
    return Message(ZVM_AUDIO_SOURCESTATUSCHANGED,
                   PayloadWriter().Int(0).Int(channel).Int(favorite).String("Artist").String("Track").String("Name"));
}

TEST_F(TunerTest, AFullPanelRebuildsFromEveryListAndACompactOneOnlyFromItsOwnAnswers) {
    ConnectToSampleHouse();
    CStationFavoritesPage* full = OpenFavorites(3100);
    CStationFavoritesPage* compact = OpenFavorites(3100 | 0x10000, CZVRect(420, 0, 300, 400));
    ASSERT_TRUE(Settle());
    const auto broadcast = Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{4, "Coast"}, {9, "Metro"}}), 0x7FFF);
    full->OnMessage(broadcast.get());
    compact->OnMessage(broadcast.get());
    EXPECT_EQ(RowsOf(full->GetList()), (std::vector<std::string>{"Coast", "Metro"}));
    EXPECT_TRUE(RowsOf(compact->GetList()).empty());
    const auto own = Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{4, "Coast"}, {9, "Metro"}}), compact->GetId());
    compact->OnMessage(own.get());
    EXPECT_EQ(RowsOf(compact->GetList()), (std::vector<std::string>{"1. Coast", "2. Metro"}));
    // The compact panel marks rows by index; its row button tunes by index.
    compact->SelectFavorite(1, 0);
    EXPECT_EQ(compact->GetList()->GetSelectedIndex(), 1);
    compact->OnCommand(CStationFavoritesPage::kTuneId);
    EXPECT_EQ(Sent(ZVM_TUNER_TUNEFAVORITEQ).back(), (std::vector<int32_t>{GetCurrentAudioZone(), 1}));
    EXPECT_EQ(compact->GetDeleteButton(), nullptr);
    EXPECT_NE(compact->GetRenameButton(), nullptr);
}

TEST_F(TunerTest, FewFavouritesGrowTheRowsAndManyKeepTheirHeight) {
    ConnectToSampleHouse();
    CStationFavoritesPage* panel = OpenFavorites(3100);
    ASSERT_TRUE(Settle());
    panel->ReadFavorites(Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{1, "A"}, {2, "B"}, {3, "C"}})).get(), 0);
    EXPECT_EQ(panel->GetList()->GetRowHeight(), CStationFavoritesPage::kMaxGrownRowHeight);
    EXPECT_EQ(panel->GetList()->GetFontSize(), 30);
    std::vector<tunertest::Favorite> many;
    for (int i = 1; i <= 20; ++i) many.push_back({i, "Station " + std::to_string(i)});
    panel->ReadFavorites(Message(ZVM_TUNER_GETFAVORITESA, FavoriteList(many)).get(), 0);
    EXPECT_EQ(panel->GetList()->GetRowHeight(), CStationFavoritesPage::kMaxGrownRowHeight);
    EXPECT_EQ(panel->GetList()->GetCount(), 20);
}

TEST_F(TunerTest, ACountBeyondTheMessageKeepsTheRowsThatCame) {
    ConnectToSampleHouse();
    CStationFavoritesPage* panel = OpenFavorites(3100);
    ASSERT_TRUE(Settle());
    PayloadWriter cut;
    cut.Int(1000000).Int(1).String("Only").Int(0).Int(0);
    panel->ReadFavorites(Message(ZVM_TUNER_GETFAVORITESA, cut).get(), 0);
    EXPECT_EQ(RowsOf(panel->GetList()), (std::vector<std::string>{"Only"}));
}

TEST_F(TunerTest, AStatusSelectsItsFavouriteAndDisablesAdd) {
    ConnectToSampleHouse();
    CStationBrowsePage* page = OpenBrowse(kFull);
    ASSERT_TRUE(Settle());
    page->GetFavorites()->ReadFavorites(
        Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{5, "Five"}, {12, "Twelve"}})).get(), 0);
    page->OnSourceMessage(ChannelStatus(101, 12).get(), 1);
    const CStationRecord* selected = page->GetFavorites()->GetList()->SelectedRecord();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->id, 12);
    EXPECT_FALSE(page->GetAddButton()->IsEnabled());
    EXPECT_TRUE(page->GetFavorites()->GetDeleteButton()->IsEnabled());
    EXPECT_EQ(TextOf(page->GetChannelLine()), "Channel 101");
    EXPECT_EQ(TextOf(page->GetNameLine()), "Name");
    EXPECT_EQ(TextOf(page->GetFirstLine()), "Artist");
    page->OnSourceMessage(ChannelStatus(102, 0).get(), 1);
    EXPECT_TRUE(page->GetAddButton()->IsEnabled());
    EXPECT_EQ(page->GetFavorites()->GetList()->GetSelected(), nullptr);
    EXPECT_FALSE(page->GetFavorites()->GetDeleteButton()->IsEnabled());
    // A status cut short changes nothing.
    page->OnSourceMessage(Message(ZVM_AUDIO_SOURCESTATUSCHANGED, PayloadWriter().Int(0).Int(7).Int(5)).get(), 1);
    EXPECT_EQ(TextOf(page->GetChannelLine()), "Channel 102");
}

TEST_F(TunerTest, ATypedChannelCompletesWithLeadingZeros) {
    ConnectToSampleHouse();
    CStationBrowsePage* page = OpenBrowse(kFull);
    page->OnCommand(CStationBrowsePage::kDirectTuningTab);
    EXPECT_TRUE(page->IsEntryShown());
    page->OnCommand(kKeypadFirstKey + 7);
    EXPECT_EQ(TextOf(page->GetEntryPanel()->GetTitle()), "Station: 7 _ _");
    clock.Advance(2000);
    page->OnTimer();
    EXPECT_TRUE(Tuned().empty());
    clock.Advance(1000);
    page->OnTimer();
    EXPECT_EQ(Tuned(), (std::vector<int32_t>{7}));
    EXPECT_EQ(TextOf(page->GetEntryPanel()->GetTitle()), "Station: 007");
    page->OnCommand(kKeypadFirstKey + 4);
    page->OnCommand(kKeypadFirstKey + 2);
    EXPECT_EQ(TextOf(page->GetEntryPanel()->GetTitle()), "Station: 42 _");
    page->OnCommand(kKeypadFirstKey + 5);
    EXPECT_EQ(Tuned(), (std::vector<int32_t>{7, 425}));
}

TEST_F(TunerTest, AStatusWaitsForATypedChannelAndADroppedEntryClearsTheTitle) {
    ConnectToSampleHouse();
    CStationBrowsePage* page = OpenBrowse(kFull);
    page->OnCommand(CStationBrowsePage::kDirectTuningTab);
    page->OnCommand(kKeypadFirstKey + 4);
    clock.Advance(1000);
    page->OnSourceMessage(ChannelStatus(101, 0).get(), 1);
    EXPECT_TRUE(page->IsEntryActive());
    EXPECT_EQ(TextOf(page->GetEntryPanel()->GetTitle()), "Station: 4 _ _");
    page->OnCommand(CStationBrowsePage::kBrowseTab);
    EXPECT_FALSE(page->IsEntryActive());
    EXPECT_FALSE(page->IsEntryShown());
    EXPECT_EQ(TextOf(page->GetEntryPanel()->GetTitle()), "");
    EXPECT_TRUE(Tuned().empty());
}

TEST_F(TunerTest, TheGenrePageListsTheAnswersInOrderAndTunesTheSelectedStation) {
    ConnectToSampleHouse();
    gateway.Answer(ZVM_TUNER_GETGENRESQ, Entries(2, {{8, "Jazz"}, {3, "Rock"}}));
    gateway.Answer(ZVM_TUNER_GETSTATIONSQ, Entries(3, {{301, "One"}, {302, "Two"}, {303, "Three"}}));
    gateway.Answer(ZVM_TUNER_TUNESTATIONQ, {});
    CTunerGenrePage* genres = Show(new CTunerGenrePage(window.get(), CZVRect(120, 0, 400, 400), 6, server, kFull));
    EXPECT_EQ(RowsOf(genres->GetGenreList()), (std::vector<std::string>{"Jazz", "Rock"}));
    EXPECT_EQ(RowsOf(genres->GetStationList()), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(Sent(ZVM_TUNER_GETSTATIONSQ).back(), (std::vector<int32_t>{8}));
    genres->GetStationList()->SelectIndex(1, 0);
    genres->OnCommand(CTunerGenrePage::kTuneStationId);
    EXPECT_EQ(Sent(ZVM_TUNER_TUNESTATIONQ).back(), (std::vector<int32_t>{GetCurrentAudioZone(), 302}));
    EXPECT_EQ(genres->GetStationList()->GetCount(), 3);
    // A cut answer keeps the rows it holds.
    gateway.Answer(ZVM_TUNER_GETSTATIONSQ, Entries(5, {{401, "Cut"}}));
    EXPECT_EQ(genres->LoadStations(3), 0);
    EXPECT_EQ(RowsOf(genres->GetStationList()), (std::vector<std::string>{"Cut"}));
}

TEST_F(TunerTest, NoGenresLeaveBothListsEmpty) {
    ConnectToSampleHouse();
    gateway.Answer(ZVM_TUNER_GETGENRESQ, Entries(0, {}));
    CTunerGenrePage* genres = Show(new CTunerGenrePage(window.get(), CZVRect(120, 0, 400, 400), 6, server, kFull));
    EXPECT_EQ(genres->GetGenreList()->GetCount(), 0);
    EXPECT_EQ(genres->GetStationList()->GetCount(), 0);
    EXPECT_TRUE(Sent(ZVM_TUNER_GETSTATIONSQ).empty());
}

TEST_F(TunerTest, TheCompactBrowsePageHasNoAddButton) {
    ConnectToSampleHouse();
    CStationBrowsePage* page = OpenBrowse(kCompact);
    EXPECT_EQ(page->GetAddButton(), nullptr);
    EXPECT_TRUE(page->GetFavorites()->IsCompact());
    page->OnSourceMessage(ChannelStatus(42, 0).get(), 1);
    EXPECT_EQ(TextOf(page->GetChannelLine()), "Channel 42");
}

TEST_F(TunerTest, ARebuiltListKeepsTheCurrentStationMarked) {
    ConnectToSampleHouse();
    CStationFavoritesPage* panel = OpenFavorites(3100);
    ASSERT_TRUE(Settle());
    panel->ReadFavorites(Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{5, "Five"}, {12, "Twelve"}})).get(), 0);
    panel->SelectFavorite(12, 0);
    // The station was added: the list comes again, in another order, after the status marked it.
    panel->ReadFavorites(
        Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{12, "Twelve"}, {30, "Thirty"}, {5, "Five"}})).get(), 0);
    const CStationRecord* selected = panel->GetList()->SelectedRecord();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->id, 12);
    EXPECT_TRUE(panel->GetDeleteButton()->IsEnabled());
    // A station that is no favourite marks nothing in the next list.
    panel->SelectFavorite(0, 0);
    panel->ReadFavorites(Message(ZVM_TUNER_GETFAVORITESA, FavoriteList({{12, "Twelve"}})).get(), 0);
    EXPECT_EQ(panel->GetList()->GetSelected(), nullptr);
}

TEST_F(TunerTest, FavouriteNamesFitWholeBesideTheTuneButtonsWhichShowTheirIcon) {
    ConnectToSampleHouse();
    CStationFavoritesPage* panel = OpenFavorites(3105 | 0x10000);
    ASSERT_TRUE(Settle());
    const auto own = Message(ZVM_TUNER_GETFAVORITESA,
                             FavoriteList({{1, "Real Jazz"}, {2, "Talk Radio"}, {3, "Classic Rock"}}), panel->GetId());
    panel->OnMessage(own.get());
    CTunerStationList* list = panel->GetList();
    const int room =
        list->GetWidth() - 2 * list->GetBevel() - CAudioLibListBase::kTextInset - list->GetRowButtonWidth();
    CZVDC dc(list);
    dc.SelectFont(list->GetFontSize(), 0, 0);
    for (const std::string& row : RowsOf(list)) EXPECT_LT(dc.GetTextSize(row.c_str()).cx, room) << row;
    CZVIcon icon(server);
    icon.MakeStock(CTunerStationList::kTuneIcon, 0x808080);
    EXPECT_GT(icon.GetBounds().w, 1);
}

}  // namespace
