// The tuner page: its band table and display texts, the keypad entry of
// each variant, the Tune timer's wrap at the band edges, the hold-off of a
// status while the user types, the Add button and the variants' layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tuner_fixture.h"
#include "vistrel/media/tuner/tunerband.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using tunertest::Message;
using tunertest::PayloadWriter;
using tunertest::TextOf;
using tunertest::TunerTest;

constexpr int kPlain = 3100;
constexpr int kFine = 3104;
constexpr int kSubChannel = 3100 | 0x20000;
constexpr int kArtistTrack = 3106;

std::unique_ptr<CZVMSG> Status(int32_t band, int32_t frequency, int32_t favorite = 0) {
    return Message(ZVM_AUDIO_SOURCESTATUSCHANGED, PayloadWriter().Int(band).Int(frequency).Int(favorite));
}

TEST(TunerVariant, DisplayTextsOfEachVariantAndBand) {
    struct Case {
        int kind;
        int band;
        int frequency;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {kPlain, kBandOff, 0, "", "Tuner Off"},
        {kPlain, kBandAM, 5300, "", "530  kHz AM"},
        {kFine, kBandAM, 5310, "", "531  kHz AM"},
        {kPlain, kBandFM, 1015, "", "101.5  MHz FM"},
        {kFine, kBandFM, 10795, "", "107.95  MHz FM"},
        {kSubChannel, kBandFM, 98100, "", "98.1  MHz FM"},
        {kSubChannel, kBandFM, 98120, "", "98.1-2  MHz FM"},
        {kSubChannel, kBandFM, 98120, "Metro", "98.1-2   Metro"},
        {kSubChannel, kBandFM, 98100, "Metro", "98.1   Metro"},
        {kFine | 0x20000, kBandFM, 10150, "", "101.50  MHz FM"},  // the fine step comes first
        {kPlain, 0, 1015, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTunerVariant(c.kind).FormatFrequency(c.band, c.frequency, c.name), c.text) << c.text;
}

TEST(TunerVariant, EntriesShowTheirGapsAndThePoint) {
    const int nine[] = {9};
    const int one[] = {1, 0};
    EXPECT_EQ(CTunerVariant(kPlain).FormatEntry(kBandFM, nine, 1, 3), "9_._ MHz FM");
    EXPECT_EQ(CTunerVariant(kPlain).FormatEntry(kBandAM, nine, 1, 3), "9__ kHz AM");
    EXPECT_EQ(CTunerVariant(kFine).FormatEntry(kBandFM, one, 2, 5), "10_.__ MHz FM");
    EXPECT_EQ(CTunerVariant(kSubChannel).FormatEntry(kBandFM, nine, 1, 4), "9_.__ MHz FM");
}

// Each row: the variant, the band, the keys (11 is "Enter"), the value sent
// (0: none) and what the display shows after the last key.
struct KeypadCase {
    int kind;
    int band;
    std::vector<int> keys;
    int sent;
    const char* display;
};

class TunerKeypad : public TunerTest, public ::testing::WithParamInterface<KeypadCase> {};

TEST_P(TunerKeypad, TakesTheKeysThatStayInTheBand) {
    ConnectToSampleHouse();
    const KeypadCase& c = GetParam();
    CTunerPage* page = OpenTuner(c.kind);
    page->OnSourceMessage(Status(c.band, 0).get(), 1);
    for (int key : c.keys) page->OnCommand(kKeypadFirstKey + key);
    EXPECT_EQ(TextOf(page->GetDisplay()), c.display);
    EXPECT_EQ(Tuned(), c.sent ? std::vector<int32_t>{c.sent} : std::vector<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(Variants, TunerKeypad,
                         ::testing::Values(KeypadCase{kPlain, kBandAM, {1, 8}, 0, "1___ kHz AM"},
                                           KeypadCase{kPlain, kBandAM, {5, 2}, 0, "5__ kHz AM"},
                                           KeypadCase{kPlain, kBandAM, {5, 3, 0}, 5300, "530 kHz AM"},
                                           KeypadCase{
                                               kPlain, kBandAM, {2, 5, 3, 0}, 5300, "530 kHz AM"},  // 2 starts nothing
                                           KeypadCase{kPlain, kBandFM, {8, 6}, 0, "8_._ MHz FM"},
                                           KeypadCase{kPlain, kBandFM, {8, 7, 6}, 0, "87._ MHz FM"},
                                           KeypadCase{kPlain, kBandFM, {1, 0, 1, 5}, 1015, "101.5 MHz FM"},
                                           KeypadCase{kPlain, kBandFM, {1, 11}, 0, "1__._ MHz FM"},
                                           KeypadCase{kPlain, kBandOff, {1, 0, 1, 5}, 0, ""},
                                           KeypadCase{kSubChannel, kBandFM, {9, 8, 1, 11}, 98100, "98.10 MHz FM"},
                                           KeypadCase{kSubChannel, kBandFM, {9, 8, 1, 2}, 98120, "98.12 MHz FM"},
                                           KeypadCase{kSubChannel, kBandFM, {9, 8, 1, 3}, 0, "98.1_ MHz FM"},
                                           KeypadCase{kSubChannel, kBandFM, {1, 0, 7, 9, 2}, 107920, "107.92 MHz FM"},
                                           KeypadCase{kSubChannel, kBandFM, {8, 7, 6}, 0, "87.__ MHz FM"},
                                           KeypadCase{kFine, kBandFM, {8, 7, 4}, 0, "87.__ MHz FM"},
                                           KeypadCase{kFine, kBandFM, {8, 7, 5, 0}, 8750, "87.50 MHz FM"},
                                           KeypadCase{kFine, kBandFM, {1, 0, 7, 9, 5}, 10795, "107.95 MHz FM"},
                                           KeypadCase{kFine, kBandFM, {1, 0, 7, 9, 3}, 0, "107.9_ MHz FM"},
                                           KeypadCase{kFine, kBandFM, {1, 0, 8}, 0, "10_.__ MHz FM"},
                                           KeypadCase{kFine, kBandAM, {5, 3, 1}, 5310, "531 kHz AM"}));

// Each row: the variant, the band, the frequency a Tune button starts from,
// the button and the frequency after one step.
struct WrapCase {
    int kind;
    int band;
    int start;
    int press;
    int after;
    int step;
};

class TunerWrap : public TunerTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(TunerWrap, TuneStepsWrapAtTheBandEdgesAndTheReleaseSendsTheFrequency) {
    ConnectToSampleHouse();
    const WrapCase& c = GetParam();
    CTunerPage* page = OpenTuner(c.kind);
    page->OnSourceMessage(Status(c.band, c.start).get(), 1);
    page->OnCommand(c.press);
    EXPECT_EQ(page->GetTimerInterval(), CTunerPage::kTuneTimerMs);
    page->OnTimer();
    EXPECT_EQ(page->GetFrequency(), c.after);
    page->OnCommand(CTunerPage::kTuneReleaseId);
    EXPECT_EQ(page->GetTimerInterval(), 0);
    const std::vector<std::vector<int32_t>> sent = Sent(ZVM_AUDIO_SOURCECOMMAND);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (std::vector<int32_t>{GetCurrentAudioZone(), 5013, c.after, c.step}));
}

constexpr int kUp = CTunerPage::kTuneUpPressId;
constexpr int kDown = CTunerPage::kTuneDownPressId;

INSTANTIATE_TEST_SUITE_P(Edges, TunerWrap,
                         ::testing::Values(WrapCase{kPlain, kBandFM, 1079, kUp, 877, 2},
                                           WrapCase{kPlain, kBandFM, 877, kDown, 1079, -2},
                                           WrapCase{kPlain, kBandAM, 17100, kUp, 5300, 100},
                                           WrapCase{kPlain, kBandAM, 5300, kDown, 17100, -100},
                                           WrapCase{kFine, kBandFM, 10795, kUp, 8750, 5},
                                           WrapCase{kFine, kBandFM, 8750, kDown, 10795, -5},
                                           WrapCase{kFine, kBandAM, 17100, kUp, 5300, 90},
                                           WrapCase{kSubChannel, kBandFM, 107930, kUp, 87700, 200},
                                           WrapCase{kSubChannel, kBandFM, 87700, kDown, 107930, -200},
                                           WrapCase{kPlain, kBandFM, 981, kUp, 983, 2}));

TEST_F(TunerTest, AStatusWaitsTwoSecondsAfterTheLastKeyAndThenShowsTheTunedFrequency) {
    ConnectToSampleHouse();
    CTunerPage* page = OpenTuner(kPlain);
    page->OnSourceMessage(Status(kBandFM, 981).get(), 1);
    page->OnCommand(kKeypadFirstKey + 9);
    clock.Advance(1500);
    page->OnSourceMessage(Status(kBandFM, 1015).get(), 1);
    EXPECT_TRUE(page->IsEntryActive());
    EXPECT_EQ(TextOf(page->GetDisplay()), "9_._ MHz FM");
    clock.Advance(500);
    // The same frequency as before: the entry it ends does not stay on the display.
    page->OnSourceMessage(Status(kBandFM, 981).get(), 1);
    EXPECT_FALSE(page->IsEntryActive());
    EXPECT_EQ(TextOf(page->GetDisplay()), "98.1  MHz FM");
    page->OnSourceMessage(Status(kBandFM, 1015).get(), 1);
    EXPECT_EQ(TextOf(page->GetDisplay()), "101.5  MHz FM");
    EXPECT_EQ(page->GetFmButton()->GetCheck(), 1);
    EXPECT_EQ(page->GetAmButton()->GetCheck(), 0);
}

TEST_F(TunerTest, TheAddButtonFollowsTheFavouriteValueAndASelectedFavourite) {
    ConnectToSampleHouse();
    CTunerPage* page = OpenTuner(kArtistTrack);
    const auto status = [](int32_t favorite) {
        return Message(
            ZVM_AUDIO_SOURCESTATUSCHANGED,
            PayloadWriter().Int(kBandFM).Int(981).Int(favorite).String("The Artist").String("The Track").String(""));
    };
    page->OnSourceMessage(status(0).get(), 1);
    EXPECT_TRUE(page->GetAddButton()->IsEnabled());
    EXPECT_EQ(TextOf(page->GetArtistLine()), "The Artist");
    page->OnSourceMessage(status(4).get(), 1);
    EXPECT_FALSE(page->GetAddButton()->IsEnabled());
    page->OnSourceMessage(status(0).get(), 1);
    page->OnCommand(CTunerPage::kFavoriteSelectedId);
    EXPECT_FALSE(page->GetAddButton()->IsEnabled());
    EXPECT_EQ(TextOf(page->GetTrackLine()), "The Track");
    // Any other command clears the two lines.
    page->OnCommand(CTunerPage::kSeekUpId);
    EXPECT_EQ(TextOf(page->GetArtistLine()), "");
    EXPECT_EQ(TextOf(page->GetDisplay()), "Seek Up");
    EXPECT_EQ(page->GetFrequency(), 0);
}

TEST_F(TunerTest, TheAddButtonAsksTheGatewayAndReloadsTheFavourites) {
    ConnectToSampleHouse();
    gateway.Answer(ZVM_TUNER_ADDFAVORITEQ, {});
    gateway.Answer(ZVM_TUNER_GETFAVORITESQ, tunertest::FavoriteList({{3, "Coast FM"}}));
    CTunerPage* page = OpenTuner(kPlain);
    ASSERT_TRUE(Settle());
    const size_t asked = Sent(ZVM_TUNER_GETFAVORITESQ).size();
    page->OnCommand(CTunerPage::kAddId);
    EXPECT_EQ(Sent(ZVM_TUNER_ADDFAVORITEQ), (std::vector<std::vector<int32_t>>{{GetCurrentAudioZone(), 0}}));
    EXPECT_EQ(Sent(ZVM_TUNER_GETFAVORITESQ).size(), asked + 1);
    EXPECT_EQ(page->GetFavorites()->GetList()->GetCount(), 1);
}

TEST_F(TunerTest, TheVariantsPlaceTheirControls) {
    ConnectToSampleHouse();
    CTunerPage* reduced = OpenTuner(kPlain | 0x40000);
    EXPECT_EQ(reduced->GetTuneUpButton(), nullptr);
    EXPECT_NE(reduced->GetAddButton(), nullptr);
    CTunerPage* compact = OpenTuner(kPlain | 0x10000);
    EXPECT_EQ(compact->GetAddButton(), nullptr);
    EXPECT_TRUE(compact->GetFavorites()->IsCompact());
    CTunerPage* artistTrack = OpenTuner(kArtistTrack | 0x10000);
    ASSERT_NE(artistTrack->GetAddButton(), nullptr);  // the top panel always has it
    EXPECT_EQ(TextOf(artistTrack->GetArtistLine()), "Artist");
    EXPECT_EQ(TextOf(artistTrack->GetTrackLine()), "Track");
    EXPECT_LT(artistTrack->GetAddButton()->GetParent()->GetBottom(), artistTrack->GetFmButton()->GetParent()->GetY());
}

TEST_F(TunerTest, TheBandButtonsSendTheBand) {
    ConnectToSampleHouse();
    CTunerPage* page = OpenTuner(kPlain);
    page->OnCommand(CTunerPage::kAmId);
    EXPECT_EQ(page->GetAmButton()->GetCheck(), 1);
    EXPECT_EQ(page->GetFmButton()->GetCheck(), 0);
    EXPECT_EQ(Sent(ZVM_AUDIO_SOURCECOMMAND).back(), (std::vector<int32_t>{GetCurrentAudioZone(), 5014, 3102, 0}));
}

TEST_F(TunerTest, TheTopPanelsDisplayShrinksItsFontUntilTheStationFits) {
    ConnectToSampleHouse();
    CTunerPage* page = OpenTuner(kArtistTrack | 0x20000);
    CZVLabel* display = page->GetDisplay();
    const int startSize = display->GetFontSize();
    const auto fits = [&] {
        CZVRect inner;
        display->GetInnerRect(&inner);
        CZVDC dc(display);
        dc.SelectFont(display->GetFontSize(), 0, 0);
        return dc.GetTextSize(display->GetText()).cx < inner.w;
    };
    const auto status = [&](const char* station) {
        page->OnSourceMessage(
            Message(ZVM_AUDIO_SOURCESTATUSCHANGED,
                    PayloadWriter().Int(kBandFM).Int(91510).Int(0).String("Artist").String("Track").String(station))
                .get(),
            1);
    };
    status("Metro HD Eastern Seaboard");
    EXPECT_EQ(TextOf(display), "91.5-1   Metro HD Eastern Seaboard");
    const int shrunk = display->GetFontSize();
    EXPECT_LT(shrunk, startSize);
    EXPECT_TRUE(fits());
    // A shorter text grows again, never beyond the display's size.
    status("");
    EXPECT_EQ(TextOf(display), "91.5-1  MHz FM");
    EXPECT_GT(display->GetFontSize(), shrunk);
    EXPECT_LE(display->GetFontSize(), startSize);
    EXPECT_TRUE(fits());
}

}  // namespace
