// The lazily filled music list: only drawn rows ask for their text, at most
// 51 requests are on their way, a long scroll drops the waiting ones, a
// reconnection asks again exactly for the rows still waiting; answers split
// into columns and fitted; the row flash, the gateway's progress bar and the
// empty list's texts.
#include "vistrel/media/music/audiolist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "music_fixture.h"
#include "widgets/gauges/levelbar.h"

namespace {

using musictest::AnswerRow;
using samplegateway::PayloadWriter;

constexpr int kManyRows = 5000;

class LazyMusicList : public musictest::MusicTest {
protected:
    // A track list of 5,000 rows whose texts the gateway never answers by itself.
    CTrackList* ManyRows() {
        gateway.On(ZVM_AUDIO_BROWSEQ, [](const testsupport::Frame& request) {
            return std::vector<testsupport::Frame>{{request.sender, ZVM_AUDIO_BROWSEA, PayloadWriter().Int(kManyRows)}};
        });
        gateway.On(ZVM_AUDIO_GETITEMTEXTQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
        auto* list = Make<CTrackList>(0);
        list->BrowseArtistTracks(1000);
        EXPECT_TRUE(SettleUntil([list] { return list->GetCount() == kManyRows; }));
        return list;
    }
    // Asks for the rows first..last as drawing them would.
    static void Ask(CAudioLibListBase* list, int first, int last) {
        for (int i = first; i <= last; ++i) RowAt(list, i)->GetColumnText(0);
    }
    bool GatewayHasRows(size_t count) {
        return SettleUntil([&] { return RowsAsked().size() >= count; });
    }
};

TEST_F(LazyMusicList, OnlyTheRowsDrawnAskForTheirText) {
    CTrackList* list = ManyRows();
    window->PaintAll();
    // The rows in view, and the one the bottom edge cuts.
    const int first = list->GetFirstVisibleItem(), last = list->GetLastVisibleItem() + 1;
    ASSERT_LT(last, 30);
    std::vector<int32_t> visible(static_cast<size_t>(last - first + 1));
    std::iota(visible.begin(), visible.end(), first);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(RowsAsked(), visible);
    // Drawing again asks nothing more: the rows wait for their answers.
    window->PaintAll();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(RowsAsked().size(), visible.size());
    EXPECT_EQ(list->GetOutstanding(), static_cast<int>(visible.size()));
}

TEST_F(LazyMusicList, The52ndRequestWaitsForAnAnswer) {
    CTrackList* list = ManyRows();
    Ask(list, 0, 59);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(RowsAsked().size(), 51u);
    EXPECT_EQ(list->GetQueuedCount(), 9);
    AnswerRow(RowAt(list, 7), "Artist\tAlbum\tTrack");
    ASSERT_TRUE(Settle());
    ASSERT_EQ(RowsAsked().size(), 52u);
    EXPECT_EQ(RowsAsked().back(), 51);
    EXPECT_EQ(list->GetOutstanding(), 51);
}

TEST_F(LazyMusicList, AScrollOfAPageOrMoreDropsTheWaitingRequests) {
    CTrackList* list = ManyRows();
    Ask(list, 0, 59);
    // A scroll shorter than a page keeps them.
    list->OnScroll(nullptr, 22);
    EXPECT_EQ(list->GetQueuedCount(), 9);
    list->OnScroll(nullptr, 22 + list->GetHeight());
    EXPECT_EQ(list->GetQueuedCount(), 0);
    EXPECT_FALSE(RowAt(list, 55)->IsPending());
    EXPECT_TRUE(RowAt(list, 50)->IsPending());
    // An answer now sends nothing that was dropped; the dropped row asks again when drawn.
    AnswerRow(RowAt(list, 0), "a");
    ASSERT_TRUE(Settle());
    EXPECT_EQ(RowsAsked().size(), 51u);
    Ask(list, 55, 55);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(RowsAsked().back(), 55);
}

TEST_F(LazyMusicList, AReconnectionAsksAgainForExactlyThePendingRows) {
    CTrackList* list = ManyRows();
    Ask(list, 0, 59);
    ASSERT_TRUE(Settle());
    for (int i = 0; i < 5; ++i) AnswerRow(RowAt(list, i), "done");
    ASSERT_TRUE(Settle());
    std::vector<int32_t> pending;
    for (int i = 0; i < list->GetCount(); ++i)
        if (RowAt(list, i)->IsPending()) pending.push_back(i);
    ASSERT_EQ(pending.size(), 55u);
    const size_t before = RowsAsked().size();

    gateway.Drop();
    ASSERT_TRUE(PollUntil([this] { return !server.IsConnected(); }));
    // The next poll tells the sinks.
    ASSERT_TRUE(PollUntil([list] { return list->GetOutstanding() == 0; }));
    EXPECT_EQ(list->GetQueuedCount(), 0);
    Connect();
    ASSERT_TRUE(Settle());
    const std::vector<int32_t> asked = RowsAsked();
    std::vector<int32_t> again(asked.begin() + static_cast<std::ptrdiff_t>(before), asked.end());
    std::sort(again.begin(), again.end());
    // The throttle holds again: 51 of the 55 ask now, the rest once answers come.
    ASSERT_EQ(again.size(), 51u);
    EXPECT_TRUE(std::includes(pending.begin(), pending.end(), again.begin(), again.end()));
    EXPECT_EQ(list->GetQueuedCount(), 4);
    // The browse itself was answered: the list is not browsed again.
    EXPECT_EQ(BrowsesSent().size(), 1u);
}

// ---- columns

class MusicColumns : public musictest::MusicTest {
protected:
    // A list whose rows the test answers itself.
    CTrackList* Columns(int count, int start1 = 100, int start2 = 200) {
        gateway.On(ZVM_AUDIO_GETITEMTEXTQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
        auto* list = Make<CTrackList>(0);
        list->SetColumnCount(count);
        list->SetColumnStart(1, start1);
        list->SetColumnStart(2, start2);
        list->BrowseAlbum(10000);
        EXPECT_TRUE(SettleUntil([list] { return list->GetCount() > 0; }));
        return list;
    }
};

TEST_F(MusicColumns, AnswersSplitAtTabsFillingColumnZeroFirst) {
    const struct {
        int columns;
        const char* text;
        const char* expected[3];
    } cases[] = {
        {1, "a", {"a", "", ""}},     {1, "a\tb", {"a\tb", "", ""}},     {2, "a", {"a", "", ""}},
        {2, "a\tb", {"a", "b", ""}}, {2, "a\tb\tc", {"a", "b\tc", ""}}, {3, "a", {"a", "", ""}},
        {3, "a\tb", {"a", "b", ""}}, {3, "a\tb\tc", {"a", "b", "c"}},   {3, "a\tb\tc\td", {"a", "b", "c\td"}},
        {3, "", {"", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << " columns, " << c.text);
        CTrackList* list = Columns(c.columns);
        CLBAudioItem* row = RowAt(list, 0);
        AnswerRow(row, c.text);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(row->GetColumnText(i), c.expected[i]) << "column " << i;
        Remove(list);
    }
}

TEST_F(MusicColumns, ShortenedColumnsKeepTheirDotsInsideTheirOwnCharacters) {
    const std::string text = "Northern Harbour Engines";
    // Every width from far too narrow to wide enough: a shortened column ends in "...", is no
    // longer than the text was, and fits its column whenever the dots alone do.
    CZVDC dc(window.get());
    dc.SetFont(Make<CTrackList>(0)->GetFontSize(), 0, 1);
    const int dots = dc.GetTextSize("...").cx;
    const int whole = dc.GetTextSize(text.c_str()).cx;
    for (int width = 0; width <= whole + 4; ++width) {
        SCOPED_TRACE(width);
        CTrackList* list = Columns(2, 5 + width);
        CLBAudioItem* row = RowAt(list, 0);
        AnswerRow(row, text + "\tAlbum");
        const std::string shown = row->GetColumnText(0);
        EXPECT_EQ(row->GetFullText(), text);
        if (shown != text) {
            ASSERT_GE(shown.size(), 3u);
            EXPECT_EQ(shown.substr(shown.size() - 3), "...");
            EXPECT_LE(shown.size(), text.size());
            EXPECT_EQ(text.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0);
            if (width >= dots) EXPECT_LE(dc.GetTextSize(shown.c_str()).cx, width);
        } else {
            EXPECT_GE(width, whole);
        }
        EXPECT_EQ(row->GetColumnText(1), "Album");
        Remove(list);
    }
}

TEST_F(MusicColumns, AColumnOfThreeCharactersIsNeverShortened) {
    CTrackList* list = Columns(2, 8);
    CLBAudioItem* row = RowAt(list, 0);
    AnswerRow(row, "Abc\tAlbum");
    EXPECT_EQ(row->GetColumnText(0), "Abc");
    EXPECT_EQ(row->GetFullText(), "Abc");
}

TEST_F(MusicColumns, ASingleColumnIsFittedOnceWithDots) {
    CTrackList* list = Columns(1);
    CLBAudioItem* row = RowAt(list, 0);
    EXPECT_EQ(row->GetFittedText(nullptr, 0), "Searching...");
    AnswerRow(row, "A very long title of a track that goes on");
    CZVDC dc(list);
    dc.SetFont(list->GetFontSize(), 0, 1);
    const std::string fitted = row->GetFittedText(&dc, 120);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_LE(dc.GetTextSize(fitted.c_str()).cx, 120);
    // Computed once: a later width gets the same text.
    EXPECT_EQ(row->GetFittedText(&dc, 400), fitted);
    // Too narrow even for the dots: the dots stay.
    CLBAudioItem* narrow = RowAt(list, 1);
    AnswerRow(narrow, "Another long title");
    EXPECT_EQ(narrow->GetFittedText(&dc, 1), "...");
}

// ---- flash, progress, empty texts

TEST_F(MusicColumns, ARowButtonFlashesTheRowFromPinkToItsColourOverASecond) {
    CTrackList* list = Columns(1);
    list->SelectIndex(1, 0);
    list->OnCommand(kTrackPlayCommand);
    CListItem* row = list->GetItemAt(1);
    ASSERT_TRUE(list->FlashColourOf(row));
    EXPECT_EQ(*list->FlashColourOf(row), CAudioLibListBase::kFlashColour);
    clock.Advance(500);
    EXPECT_EQ(*list->FlashColourOf(row), MixColors(CAudioLibListBase::kFlashColour, 0xAAAAAA, 0.5));
    clock.Advance(500);
    EXPECT_FALSE(list->FlashColourOf(row));
    list->OnTimer();
    EXPECT_EQ(list->GetTimerInterval(), 0);
    // Another command does not flash.
    list->OnCommand(4321);
    EXPECT_FALSE(list->FlashColourOf(row));
}

TEST_F(MusicColumns, TheGatewaysProgressShowsOverTheEmptyListUntilTheAnswer) {
    gateway.On(ZVM_AUDIO_BROWSEQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    auto* list = Make<CTrackList>(0);
    list->BrowseAlbum(10000);
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(list->HasNoItems());
    ASSERT_TRUE(gateway.Push(ZVM_AUDIO_STARTUPDATES, PayloadWriter().Int(40).String("Sorting"), list->GetId()));
    ASSERT_TRUE(SettleUntil([list] { return list->GetProgressBar() != nullptr; }));
    EXPECT_EQ(list->GetProgressBar()->GetLevel(), 40);
    EXPECT_STREQ(list->GetProgressBar()->GetText().GetAnsi(), "Sorting");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(list), "music_list_progress"));
    ASSERT_TRUE(gateway.Push(ZVM_AUDIO_BROWSEA, PayloadWriter().Int(0), list->GetId()));
    ASSERT_TRUE(SettleUntil([list] { return list->IsAnswered() != 0; }));
    EXPECT_EQ(list->GetProgressBar(), nullptr);
    EXPECT_TRUE(list->HasNoItems());
}

}  // namespace
