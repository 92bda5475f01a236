// The TV channel controls: the display while a channel is typed, the number sent with 3 and 2
// digits, the digit and shape rules, the entry dropped after a pause, the favourites grid, the
// group tabs and the favourite buttons, against the sample house's TV source.
#include <gtest/gtest.h>

#include "calendar_fixture.h"
#include "core/messages/mediamessages.h"
#include "samplegateway/tvchannels.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "vistrel/media/tv/tvchannel.h"
#include "vistrel/media/tv/tvfavorites.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using mediatest::InfoPanelTest;
using samplegateway::kTvSource;

TEST(TvChannelDisplay, PlaceholdersFollowTheDigitsTyped) {
    EXPECT_STREQ(FormatChannelDisplay(5, 2).GetAnsi(), "Channel   5__");
    EXPECT_STREQ(FormatChannelDisplay(56, 3).GetAnsi(), "Channel  56_");
    EXPECT_STREQ(FormatChannelDisplay(567, 0).GetAnsi(), "Channel 567");
    EXPECT_STREQ(FormatChannelDisplay(1234, 0).GetAnsi(), "Channel 1234");
}

TEST(FavoriteGrid, CellsGrowTheLongerSideUntilAllFit) {
    struct Case {
        int w, h, sizeClass, count, columns, rows;
    };
    for (const Case& c : {Case{400, 200, 0, 10, 8, 5}, Case{100, 300, 0, 10, 2, 8}, Case{100, 100, 0, 5, 2, 3},
                          Case{30, 200, 0, 3, 1, 5}, Case{0, 0, 0, 4, 4, 1}, Case{400, 200, 2, 200, 17, 12}}) {
        const CFavoriteGrid grid = LayoutFavoriteGrid(c.w, c.h, c.sizeClass, c.count);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << ", size " << c.sizeClass << ", " << c.count);
        EXPECT_EQ(grid.columns, c.columns);
        EXPECT_EQ(grid.rows, c.rows);
        EXPECT_GE(grid.columns * grid.rows, c.count);
    }
}

class TvTest : public InfoPanelTest {
protected:
    CTvChannelCtl* Channel(int digits, int type = CTvChannelCtl::kPlainType, int radius = 0, int bevel = 0) {
        auto* control = new CTvChannelCtl(window.get(), server, kTvSource, digits, radius, bevel, 0,
                                          CZVRect(120, 10, 240, 300), type, 16);
        window->AddChild(control);
        return control;
    }
    CTvFavoritesCtl* Favorites(CZVRect rect = CZVRect(380, 10, 400, 300)) {
        auto* control = new CTvFavoritesCtl(window.get(), server, rect, kTvSource, 0, 16);
        window->AddChild(control);
        return control;
    }
    void Type(CTvChannelCtl* control, std::initializer_list<int> digits) {
        for (int digit : digits) control->OnCommand(CTvChannelCtl::kFirstDigit + digit);
    }
    std::string Shown(CTvChannelCtl* control) { return control->GetDisplay()->GetText().GetAnsi(); }
    static samplegateway::Bytes Ints(std::initializer_list<int32_t> values) {
        samplegateway::PayloadWriter out;
        for (int32_t v : values) out.Int(v);
        return out;
    }
};

TEST_F(TvTest, ThreeDigitsShowPlaceholdersThenTuneTheSource) {
    CTvChannelCtl* control = Channel(3);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Shown(control), "Channel   7");
    Type(control, {5});
    EXPECT_EQ(Shown(control), "Channel   5__");
    EXPECT_EQ(control->GetDisplay()->GetTextColor(), CTvChannelCtl::kEntryColor);
    Type(control, {6});
    EXPECT_EQ(Shown(control), "Channel  56_");
    Type(control, {7});
    EXPECT_EQ(Shown(control), "Channel 567");
    EXPECT_EQ(control->GetDisplay()->GetTextColor(), 0u);
    const auto sent = Requests(ZVM_TV_CHANNELCOMMAND);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], Ints({kTvSource, 0, 567}));
    EXPECT_TRUE(Settle());
    EXPECT_EQ(Shown(control), "Channel 567");
}

TEST_F(TvTest, TwoDigitsOfTheNumberedTypeSendItsFlag) {
    CTvChannelCtl* control = Channel(2, CTvChannelCtl::kNumberedType);
    ASSERT_TRUE(Settle());
    Type(control, {4});
    EXPECT_EQ(Shown(control), "Channel   4__");
    Type(control, {2});
    const auto sent = Requests(ZVM_TV_CHANNELCOMMAND);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], Ints({kTvSource, 1, 42}));
}

TEST_F(TvTest, DigitsAreClampedAndTheShapeNeedsRadiusAndBevel) {
    for (auto [given, digits] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 3}, {4, 3}, {9, 3}})
        EXPECT_EQ(Channel(given)->GetDigits(), digits) << given;
    CTvChannelCtl* radiusOnly = Channel(3, CTvChannelCtl::kPlainType, 12, 0);
    EXPECT_EQ(radiusOnly->GetCornerRadius(), 5);
    EXPECT_EQ(radiusOnly->GetBevel(), 5);
    CTvChannelCtl* both = Channel(3, CTvChannelCtl::kPlainType, 12, 3);
    EXPECT_EQ(both->GetCornerRadius(), 12);
    EXPECT_EQ(both->GetBevel(), 3);
}

TEST_F(TvTest, AStrayDigitIsDroppedAfterFiveSecondsAndTheChannelShowsAgain) {
    CTvChannelCtl* control = Channel(3);
    ASSERT_TRUE(Settle());
    Type(control, {4});
    // While typing the polls' answers do not overwrite the entry.
    clock.Advance(CTvChannelCtl::kPollInterval);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Shown(control), "Channel   4__");
    clock.Advance(CTvChannelCtl::kEntryTimeout + 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(control->GetEntry(), 0);
    EXPECT_EQ(Shown(control), "Channel   7");
    EXPECT_EQ(control->GetDisplay()->GetTextColor(), 0u);
    EXPECT_TRUE(Requests(ZVM_TV_CHANNELCOMMAND).empty());
}

TEST_F(TvTest, GroupsBecomeTabsAndTheFirstGroupsFavouritesFillTheGrid) {
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(favorites->GetGroupIds(), (std::vector<int32_t>{100, 200}));
    EXPECT_EQ(favorites->GetButtons().size(), 3u);
    EXPECT_EQ(Requests(ZVM_TV_GETFAVORITESQ).front(), Ints({100, kTvSource}));
    favorites->OnCommand(CTvFavoritesCtl::kFirstTab + 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(favorites->GetButtons().size(), 5u);
    favorites->OnCommand(CTvFavoritesCtl::kFirstFavorite + 2);
    EXPECT_EQ(Requests(ZVM_TV_FAVORITESCOMMAND).back(), Ints({kTvSource, 13}));
}

TEST_F(TvTest, ASourceWithoutGroupsAsksForGroupZero) {
    gateway.Answer(ZVM_TV_GETCHANNELGROUPSQ, Ints({0}));
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    ASSERT_EQ(favorites->GetTabs()->GetTabCount(), 1);
    EXPECT_STREQ(favorites->GetTabs()->GetTab(0)->GetText().GetAnsi(), CTvFavoritesCtl::kNoGroups);
    EXPECT_EQ(Requests(ZVM_TV_GETFAVORITESQ).back(), Ints({0, kTvSource}));
}

TEST_F(TvTest, FavouriteIdsOutsideTheButtonsSendNothing) {
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    testsupport::AssertCounter asserts;
    favorites->OnCommand(CTvFavoritesCtl::kFirstFavorite + 199);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "tvfavs");
    favorites->OnCommand(1400);
    favorites->OnCommand(1401);
    favorites->OnCommand(CTvFavoritesCtl::kLastTab + 1);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_TRUE(Requests(ZVM_TV_FAVORITESCOMMAND).empty());
}

TEST_F(TvTest, AnAnswerOfMoreThanTwoHundredFavouritesMakesTwoHundredButtons) {
    samplegateway::PayloadWriter many;
    many.Int(250);
    for (int i = 0; i < 250; ++i) many.Int(i).String("").String("");
    gateway.Answer(ZVM_TV_GETFAVORITESQ, many);
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(favorites->GetButtons().size(), static_cast<size_t>(CTvFavoritesCtl::kMaxFavorites));
    favorites->OnCommand(CTvFavoritesCtl::kFirstFavorite + 199);
    EXPECT_EQ(Requests(ZVM_TV_FAVORITESCOMMAND).back(), Ints({kTvSource, 199}));
}

TEST_F(TvTest, ALateAnswerForThePreviousGroupIsIgnored) {
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    const std::vector<testsupport::Frame> asked = gateway.RequestsOf(ZVM_TV_GETFAVORITESQ);
    ASSERT_FALSE(asked.empty());
    const uint16_t first = asked.back().sender;
    favorites->OnCommand(CTvFavoritesCtl::kFirstTab + 1);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(favorites->GetButtons().size(), 5u);
    // The News group's answer, late, to the request made for it.
    samplegateway::PayloadWriter news;
    news.Int(1).Int(1).String("I_LOGO").String("");
    gateway.Push(ZVM_TV_GETFAVORITESA, news, first);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(favorites->GetButtons().size(), 5u);
    EXPECT_EQ(favorites->GetFavoriteIds().front(), 11);
}

TEST_F(TvTest, TheChannelAndFavouriteControlsAsShown) {
    Channel(3);
    CTvFavoritesCtl* favorites = Favorites();
    ASSERT_TRUE(Settle());
    window->PaintAll();
    const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
    EXPECT_TRUE(testsupport::MatchesGolden(screen, "vistrel_tv_controls"));
    EXPECT_EQ(favorites->GetButtons().size(), 3u);
}

}  // namespace
