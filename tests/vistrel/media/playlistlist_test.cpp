// The play queue list: length texts, the state and current track read from
// the status, the played time, stepping, what the owner page is told, and
// how a playing row looks with its bar.
#include "vistrel/media/music/playlistlist.h"

#include <gtest/gtest.h>

#include "music_fixture.h"

namespace {

using musictest::Message;
using samplegateway::PayloadWriter;

class RecordingPage : public CPlayQueueOwner {
public:
    void OnPlayState(int state, int) override { states.push_back(state); }
    void RequestAlbumArt() override { ++albumArt; }
    void SetNowPlaying(const std::string& a, const std::string& b, const std::string& c, int) override {
        nowPlaying.push_back(a + "|" + b + "|" + c);
    }
    std::vector<int> states;
    int albumArt = 0;
    std::vector<std::string> nowPlaying;
};

struct Entry {
    std::string artist;
    int seconds;
    int state;
};

testsupport::Bytes Queue(const std::vector<Entry>& entries) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(entries.size()));
    for (const Entry& e : entries)
        out.String(e.artist).String("Album").Int(9).String("Track").Int(e.seconds).Int(e.state);
    return out;
}

std::vector<Entry> Tracks(int count) {
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) entries.push_back({"Artist " + std::to_string(i), 60 + i, 0});
    return entries;
}

class PlayQueue : public musictest::MusicTest {
protected:
    CPlaylistList* Make(CZVRect rect) {
        auto* list = new CPlaylistList(this->page, &owner, rect, 4000);
        list->SetFontSize(kListFontSize);
        this->page->AddChild(list);
        return list;
    }
    static void SetQueue(CPlaylistList* list, const testsupport::Bytes& payload) {
        list->SetQueue(Message(ZVM_AUDIO_GETQUEUEA, payload).get(), 0);
    }
    static void SetStatus(CPlaylistList* list, const testsupport::Bytes& payload) {
        list->SetStatus(Message(ZVM_AUDIO_GETSOURCESTATUSA, payload).get(), 0, 0);
    }
    static std::string Column(CPlaylistList* list, int row, int column) {
        return list->GetRow(row)->GetText(column).GetAnsi();
    }

    RecordingPage owner;
};

TEST_F(PlayQueue, LengthTexts) {
    const struct {
        int seconds;
        int state;
        const char* text;
    } cases[] = {
        {225, 0, "3:45"},    {0, 0, "-"},       {-4, 0, "-"},          {3600, 0, "60:00"},
        {225, 1, "OFFLINE"}, {0, 1, "OFFLINE"}, {90, 2, "BAD FORMAT"},
    };
    auto* list = Make(pageRect);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(QueueLengthText(c.seconds, c.state), c.text);
        SetQueue(list, Queue({{"A", c.seconds, c.state}}));
        EXPECT_EQ(Column(list, 0, 3), c.text);
    }
}

TEST_F(PlayQueue, AShortQueueKeepsTheEntriesReadAndCountsAreBounded) {
    auto* list = Make(pageRect);
    testsupport::Bytes cut = Queue(Tracks(3));
    cut.resize(cut.size() - 6);
    SetQueue(list, cut);
    EXPECT_EQ(list->GetCount(), 2);
    PayloadWriter huge;
    huge.Int(1 << 30).String("A").String("B").Int(0).String("C").Int(5).Int(0);
    SetQueue(list, huge);
    EXPECT_EQ(list->GetCount(), 1);
    SetQueue(list, PayloadWriter().Int(-3));
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(PlayQueue, TheStatusSetsStateCurrentTrackAndPlayedTime) {
    auto* list = Make(pageRect);
    SetQueue(list, Queue(Tracks(4)));
    SetStatus(list, PayloadWriter().Int(kPlayStatePlaying).Int(2).Int(50));
    EXPECT_EQ(list->GetState(), kPlayStatePlaying);
    EXPECT_EQ(list->GetCurrentIndex(), 2);
    EXPECT_EQ(list->GetSelectedIndex(), 2);
    EXPECT_EQ(owner.states, (std::vector<int>{kPlayStatePlaying}));
    EXPECT_EQ(owner.albumArt, 1);
    EXPECT_EQ(owner.nowPlaying, (std::vector<std::string>{"Artist 2|Album|Track"}));
    // A negative progress counts seconds played: the row shows them in place of its length.
    SetStatus(list, PayloadWriter().Int(kPlayStatePlaying).Int(2).Int(-75));
    EXPECT_EQ(Column(list, 2, 3), "1:15");
    EXPECT_EQ(owner.albumArt, 1);
    // Paused: progress 0 and the length again.
    SetStatus(list, PayloadWriter().Int(kPlayStatePaused).Int(2).Int(-75));
    EXPECT_EQ(list->GetProgress(), 0);
    EXPECT_EQ(Column(list, 2, 3), "1:02");
    // An index outside the rows changes neither selection nor now playing.
    SetStatus(list, PayloadWriter().Int(kPlayStatePlaying).Int(9).Int(10));
    EXPECT_EQ(list->GetSelectedIndex(), 2);
    EXPECT_EQ(owner.albumArt, 1);
    // A short state message reads as far as it goes.
    SetStatus(list, PayloadWriter().Int(kPlayStatePaused));
    EXPECT_EQ(list->GetState(), kPlayStatePaused);
    EXPECT_EQ(list->GetCurrentIndex(), 9);
}

TEST_F(PlayQueue, TheStatusLeavesNothingForLaterReaders) {
    auto* list = Make(pageRect);
    auto message = Message(ZVM_AUDIO_GETSOURCESTATUSA, PayloadWriter().Int(kPlayStatePlaying).Int(0).Int(5).Int(77));
    list->SetStatus(message.get(), 0, 0);
    EXPECT_EQ(message->GetRemaining(), 0);
}

TEST_F(PlayQueue, SteppingMovesTheCurrentTrackWithinTheQueue) {
    auto* list = Make(pageRect);
    // An empty queue has nothing to step to.
    list->Next();
    list->Previous();
    EXPECT_EQ(list->GetCurrentIndex(), 0);
    EXPECT_EQ(list->GetState(), -1);
    SetQueue(list, Queue(Tracks(3)));
    SetStatus(list, PayloadWriter().Int(kPlayStatePlaying).Int(2).Int(10));
    list->Next();
    EXPECT_EQ(list->GetCurrentIndex(), 2);
    EXPECT_EQ(list->GetState(), kPlayStateWorking);
    EXPECT_EQ(list->IsNowPlayingPending(), 1);
    list->Previous();
    list->Previous();
    list->Previous();
    EXPECT_EQ(list->GetCurrentIndex(), 0);
    EXPECT_EQ(list->GetSelectedIndex(), 0);
}

TEST_F(PlayQueue, ANewQueueScrollsToTheCurrentTrackOnlyWhenTheListWasEmpty) {
    auto* list = Make(CZVRect(0, 0, 300, 100));
    list->SetCurrentIndex(10);
    SetQueue(list, Queue(Tracks(12)));
    const int scrolled = list->GetScrollPos();
    EXPECT_GT(scrolled, 0);
    list->SetCurrentIndex(0);
    SetQueue(list, Queue(Tracks(12)));
    EXPECT_EQ(list->GetScrollPos(), scrolled);
}

TEST_F(PlayQueue, APlayingRowWithItsBar) {
    auto* list = Make(pageRect);
    list->SetColumnWidth(0, 3);
    list->SetColumnWidth(1, 3);
    list->SetColumnWidth(2, 3);
    list->SetColumnWidth(3, 2);
    SetQueue(list, samplegateway::MusicLibrary().Queue());
    SetStatus(list, PayloadWriter().Int(kPlayStatePlaying).Int(2).Int(50));
    list->SelectIndex(4, 0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(list->GetBarWidth() % 4, 0);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(list), "music_play_queue"));
}

}  // namespace
