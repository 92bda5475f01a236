// The genre pop-up: its grid, the selection it sends back once and only
// when changed, "Play Random", and answers it must survive.
#include <gtest/gtest.h>

#include "library_fixture.h"
#include "support/golden.h"
#include "vistrel/media/music/genreselectwnd.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

TEST(GenreGrid, OneColumnWhileRowsFitElseColumnsUntilTheyDo) {
    const struct {
        int n, height;
        GenreGrid grid;
    } cases[] = {
        {12, 300, {2, 6}},
        {5, 300, {1, 6}},  // cells 50 high, the last row empty
        {6, 240, {1, 6}},  // 40 per row
        {30, 300, {5, 6}},
        // An area too low for a 40-pixel row: the search ends at one row or one column per genre.
        {5, 30, {5, 1}},
        {1, 10, {1, 1}},
    };
    for (const auto& c : cases) {
        const GenreGrid grid = LayOutGenres(c.n, c.height);
        EXPECT_EQ(grid.columns, c.grid.columns) << c.n << " in " << c.height;
        EXPECT_EQ(grid.rows, c.grid.rows) << c.n << " in " << c.height;
    }
}

class GenrePopup : public librarytest::LibraryTest {
protected:
    CGenreSelectWnd* Make() {
        auto* popup = new CGenreSelectWnd(window.get(), CZVRect(100, 75, 600, 450), kStyleClass, server);
        window->AddChild(popup);
        popup->Show(1, 0);
        return popup;
    }
    void Drop(CGenreSelectWnd* popup) {
        window->RemoveChild(popup);
        delete popup;
    }
    // A genres answer of n genres, every second one on, ids from 40.
    static std::unique_ptr<CZVMSG> Answer(int32_t sent, int n) {
        auto message = std::make_unique<CZVMSG>(0, ZVM_AUDIO_GETGENRESA);
        message->WriteInt(sent);
        for (int i = 0; i < n; ++i) {
            message->WriteShort(static_cast<uint16_t>(i % 2));
            message->WriteShort(static_cast<uint16_t>(40 + i));
            message->WriteString("Genre " + std::to_string(i));
        }
        message->ResetPosition();
        return message;
    }
    // The raw payloads of the selections sent.
    std::vector<testsupport::Bytes> Selections() {
        EXPECT_TRUE(Settle());
        return gateway.PayloadsOf(ZVM_AUDIO_SETGENRE);
    }
    std::vector<uint16_t> Ids() {
        std::vector<uint16_t> ids;
        for (const testsupport::Frame& frame : gateway.Requests()) ids.push_back(frame.id);
        return ids;
    }
};

TEST_F(GenrePopup, TheSelectionGoesBackUnpaddedOnceWhenChanged) {
    CGenreSelectWnd* popup = Make();
    popup->OnMessage(Answer(5, 5).get());
    ASSERT_EQ(popup->GetGenreCount(), 5);
    popup->GetGenreButton(0)->SetCheck(1, 0, 0);
    popup->OnCommand(CGenreSelectWnd::kGenreCommand);
    Drop(popup);
    const std::vector<testsupport::Bytes> sent = Selections();
    ASSERT_EQ(sent.size(), 1u);
    // n, then five pairs of 16-bit state and id, no padding between them.
    const testsupport::Bytes expected = samplegateway::PayloadWriter()
                                            .Int(5)
                                            .Short(1)
                                            .Short(40)
                                            .Short(1)
                                            .Short(41)
                                            .Short(0)
                                            .Short(42)
                                            .Short(1)
                                            .Short(43)
                                            .Short(0)
                                            .Short(44);
    EXPECT_EQ(sent[0], expected);

    // Unchanged, nothing goes back.
    popup = Make();
    popup->OnMessage(Answer(5, 5).get());
    Drop(popup);
    EXPECT_EQ(Selections().size(), 1u);
}

TEST_F(GenrePopup, PlayRandomSendsAChangedSelectionFirstAndAgainOnClosing) {
    CGenreSelectWnd* popup = Make();
    popup->OnMessage(Answer(4, 4).get());
    popup->OnCommand(CGenreSelectWnd::kAllOffCommand);
    for (int i = 0; i < popup->GetGenreCount(); ++i) EXPECT_EQ(popup->GetGenreButton(i)->GetCheck(), 0);
    popup->OnCommand(CGenreSelectWnd::kPlayRandomCommand);
    Drop(popup);
    ASSERT_TRUE(Settle());
    std::vector<uint16_t> order;
    for (uint16_t id : Ids())
        if (id == ZVM_AUDIO_SETGENRE || id == ZVM_AUDIO_PLAYRANDOM) order.push_back(id);
    EXPECT_EQ(order, (std::vector<uint16_t>{ZVM_AUDIO_SETGENRE, ZVM_AUDIO_PLAYRANDOM, ZVM_AUDIO_SETGENRE}));
}

TEST_F(GenrePopup, ASecondAnswerReplacesTheButtonsAndACountIsBoundByTheBytes) {
    CGenreSelectWnd* popup = Make();
    const int children = popup->GetChildren().GetCount();
    popup->OnMessage(Answer(6, 6).get());
    popup->OnMessage(Answer(1000000, 3).get());
    EXPECT_EQ(popup->GetGenreCount(), 3);
    EXPECT_EQ(popup->GetChildren().GetCount(), children + 3);
    popup->OnMessage(Answer(0, 0).get());
    EXPECT_EQ(popup->GetGenreCount(), 3);
    Drop(popup);
}

TEST_F(GenrePopup, TwelveGenresLookRight) {
    CGenreSelectWnd* popup = Make();
    ASSERT_TRUE(SettleUntil([&] { return popup->GetGenreCount() == 12; }));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(popup), "music_genre_popup"));
    Drop(popup);
}

}  // namespace
