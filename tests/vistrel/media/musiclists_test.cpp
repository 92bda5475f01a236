// The six music lists: what each browse sends, letter counts into rows under
// the letter bar, counts bounded, the row buttons by class, variant and
// feature bits, the playlist to select after loading, the listen progress,
// Reload per mode; and how loaded lists look.
#include "vistrel/media/music/musiclists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "music_fixture.h"
#include "widgets/lists/alphascrollbar.h"

namespace {

using musictest::AnswerRow;
using musictest::Message;
using samplegateway::PayloadWriter;

class MusicLists : public musictest::MusicTest {
protected:
    using Browse = std::function<CMusicBrowseList*(MusicLists*)>;
    // Makes a list of the kind and asks it for the browse `call` names.
    template <class List, class Call>
    static Browse Browsing(Call call) {
        return [call](MusicLists* t) {
            auto* list = t->Make<List>(0);
            call(list);
            return list;
        };
    }
    // The browse answer handed straight to the list.
    static void Answer(CAudioLibListBase* list, const testsupport::Bytes& payload) {
        list->OnMessage(Message(ZVM_AUDIO_BROWSEA, payload).get());
    }
    // Waits for the gateway's own answer to the list's browse.
    bool Answered(CAudioLibListBase* list) {
        return SettleUntil([list] { return list->IsAnswered() != 0; });
    }
    // A letter-count answer: the first buckets as given, every later one `rest`.
    static testsupport::Bytes LetterCounts(std::initializer_list<int32_t> first, int32_t rest) {
        PayloadWriter counts;
        for (int32_t count : first) counts.Int(count);
        for (size_t i = first.size(); i < CAudioLibListBase::kLetterBuckets + 1; ++i) counts.Int(rest);
        return counts;
    }
    static std::vector<std::string> Placeholders(CAudioLibListBase* list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list->GetCount(); ++i) texts.push_back(RowAt(list, i)->GetText().GetAnsi());
        return texts;
    }
    static std::vector<int> ButtonIds(CListWnd* list) {
        std::vector<int> ids;
        for (int i = 0; i < list->GetRowButtonCount(); ++i) ids.push_back(list->GetRowButton(i)->GetCommandId());
        return ids;
    }
};

TEST_F(MusicLists, EachBrowseSendsItsKindValuesAndTheSource) {
    const struct {
        const char* what;
        std::function<CMusicBrowseList*(MusicLists*)> browse;
        std::vector<int32_t> request;
    } cases[] = {
        {"albums of an artist",
         [](MusicLists* t) {
             auto* l = t->Make<CAlbumList>(0);
             l->BrowseAlbumsOf(1003);
             return l;
         },
         {4, 1003, 0, 71}},
        {"albums of a genre",
         [](MusicLists* t) {
             auto* l = t->Make<CAlbumList>(0);
             l->BrowseAlbumsInGenre(502);
             return l;
         },
         {14, 502, 0, 71}},
        {"all albums",
         [](MusicLists* t) {
             auto* l = t->Make<CAlbumList>(0);
             l->BrowseAllAlbums();
             return l;
         },
         {2, 0, 0, 71}},
        {"artists",
         [](MusicLists* t) {
             auto* l = t->Make<CArtistList>(0);
             l->BrowseArtists();
             return l;
         },
         {1, 0, 0, 71}},
        {"radio genres",
         [](MusicLists* t) {
             auto* l = t->Make<CGenreList>(0, 77);
             l->BrowseGenres();
             return l;
         },
         {8, 0, 0, 71}},
        {"favourite radio genres",
         [](MusicLists* t) {
             auto* l = t->Make<CGenreList>(1, 77);
             l->BrowseGenres();
             return l;
         },
         {9, 0, 0, 71}},
        {"music genres",
         [](MusicLists* t) {
             auto* l = t->Make<CGenreList>(2, 77);
             l->BrowseGenres();
             return l;
         },
         {13, 0, 0, 71}},
        {"playlists",
         [](MusicLists* t) {
             auto* l = t->Make<CPlaylistNamesList>();
             l->BrowsePlaylists();
             return l;
         },
         {6, 0, 0, 71}},
        {"stations",
         [](MusicLists* t) {
             auto* l = t->Make<CStationList>(0);
             l->BrowseStations(1);
             return l;
         },
         {10, 1, 0, 71}},
        {"favourite stations",
         [](MusicLists* t) {
             auto* l = t->Make<CStationList>(1);
             l->BrowseStations(1);
             return l;
         },
         {11, 1, 0, 71}},
        {"tracks of an artist's album",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowseAlbumTracks(1000, 10001);
             return l;
         },
         {5, 1000, 10001, 71}},
        {"tracks of an artist",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowseArtistTracks(1000);
             return l;
         },
         {3, 1000, 0, 71}},
        {"tracks of a playlist",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowsePlaylist(601);
             return l;
         },
         {7, 601, 0, 71}},
        {"all tracks",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowseAllTracks();
             return l;
         },
         {0, 0, 0, 71}},
        {"tracks of an album",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowseAlbum(10002);
             return l;
         },
         {12, 10002, 0, 71}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = gateway.Requests().size();
        CMusicBrowseList* list = c.browse(this);
        ASSERT_TRUE(Answered(list));
        testsupport::Frame browse;
        for (size_t i = before; i < gateway.Requests().size(); ++i)
            if (gateway.Requests()[i].id == ZVM_AUDIO_BROWSEQ) browse = gateway.Requests()[i];
        EXPECT_EQ(browse.sender, list->GetId());
        samplegateway::PayloadReader reader(browse.payload);
        std::vector<int32_t> sent(4);
        for (int32_t& value : sent) reader.Int(&value);
        EXPECT_EQ(sent, c.request);
        // The rows ask with the browse's kind and values.
        ASSERT_GT(list->GetCount(), 0);
        EXPECT_EQ(RowAt(list, 0)->GetKind(), c.request[0]);
        Remove(list);
    }
}

TEST_F(MusicLists, LetterCountsMakeRowsUnderTheirLettersAndTheLetterBar) {
    auto* list = Make<CArtistList>(0);
    list->BrowseArtists();
    ASSERT_TRUE(Answered(list));
    Answer(list, LetterCounts({0, 2, 0, 3}, 0));
    EXPECT_EQ(Placeholders(list), (std::vector<std::string>{"-...", "-...", "B...", "B...", "B..."}));
    // Too few rows for a bar; a longer list gets the letter bar with the same buckets.
    Answer(list, LetterCounts({0, 2, 0, 30}, 0));
    auto* bar = dynamic_cast<CAlphaScrollBar*>(list->GetScrollBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetItemTotal(), 32);
    EXPECT_EQ(list->GetSelectedIndex(), 0);
}

TEST_F(MusicLists, CountsAreBoundedAndShortAnswersLeaveNoItems) {
    const struct {
        const char* what;
        testsupport::Bytes payload;
        int rows;
    } cases[] = {
        {"a count", PayloadWriter().Int(4), 4},
        {"a negative count", PayloadWriter().Int(-5), 0},
        {"no count", {}, 0},
    };
    auto* list = Make<CTrackList>(0);
    list->BrowseArtistTracks(1000);
    ASSERT_TRUE(Answered(list));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Answer(list, c.payload);
        EXPECT_EQ(list->GetCount(), c.rows);
        EXPECT_TRUE(list->HasNoItems());
    }
    auto* artists = Make<CArtistList>(0);
    artists->BrowseArtists();
    ASSERT_TRUE(Answered(artists));
    Answer(artists, LetterCounts({0, -7, 2, -1000000}, 1));
    EXPECT_EQ(artists->GetCount(), 2 + 24);
    Answer(artists, PayloadWriter().Int(0).Int(3));
    EXPECT_EQ(artists->GetCount(), 0);
}

TEST_F(MusicLists, RowButtonsFollowClassVariantAndFeatures) {
    const struct {
        const char* what;
        int features;
        std::function<CListWnd*(MusicLists*)> make;
        std::vector<int> rightToLeft;
    } cases[] = {
        {"artists", 0, [](MusicLists* t) { return t->Make<CArtistList>(0); }, {1001, 1002}},
        {"artists, variant 1", kSourceNoAdd, [](MusicLists* t) { return t->Make<CArtistList>(1); }, {1001}},
        {"artists without play", kSourceNoPlay, [](MusicLists* t) { return t->Make<CArtistList>(0); }, {1001}},
        {"artists without add and play",
         kSourceNoAdd | kSourceNoPlay,
         [](MusicLists* t) { return t->Make<CArtistList>(0); },
         {}},
        {"albums", 0, [](MusicLists* t) { return t->Make<CAlbumList>(0); }, {1004, 1005}},
        {"albums without add", kSourceNoAdd, [](MusicLists* t) { return t->Make<CAlbumList>(0); }, {1005}},
        {"albums, variant 1", 0, [](MusicLists* t) { return t->Make<CAlbumList>(1); }, {1004}},
        {"tracks", 0, [](MusicLists* t) { return t->Make<CTrackList>(0); }, {1007, 1008}},
        {"tracks without add", kSourceNoAdd, [](MusicLists* t) { return t->Make<CTrackList>(0); }, {1008}},
        {"tracks, variant 1", 0, [](MusicLists* t) { return t->Make<CTrackList>(1); }, {1007}},
        {"the queue's tracks", 0, [](MusicLists* t) { return t->Make<CTrackList>(2); }, {1014, 1016, 1015}},
        {"the queue's tracks, not editable",
         kSourceNoQueueEdit,
         [](MusicLists* t) { return t->Make<CTrackList>(2); },
         {}},
        {"playlists", 0, [](MusicLists* t) { return t->Make<CPlaylistNamesList>(); }, {1009, 1010}},
        {"playlists without add", kSourceNoAdd, [](MusicLists* t) { return t->Make<CPlaylistNamesList>(); }, {1010}},
        {"stations", 0, [](MusicLists* t) { return t->Make<CStationList>(0); }, {1013}},
        {"music genres", 0, [](MusicLists* t) { return t->Make<CGenreList>(2, 77); }, {77}},
        {"radio genres", 0, [](MusicLists* t) { return t->Make<CGenreList>(0, 77); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        source.features = c.features;
        CListWnd* list = c.make(this);
        EXPECT_EQ(ButtonIds(list), c.rightToLeft);
        // The buttons stand side by side leftwards from the row's right end.
        for (int i = 1; i < list->GetRowButtonCount(); ++i)
            EXPECT_LT(list->GetRowButton(i)->GetRect().x, list->GetRowButton(i - 1)->GetRect().x);
        Remove(list);
    }
    source.features = 0;
    auto* radio = Make<CGenreList>(0, 77);
    EXPECT_EQ(radio->GetSelectedRowHeight(), radio->GetRowHeight());
}

TEST_F(MusicLists, APlaylistToSelectAfterLoadingIsSelectedOnce) {
    auto* list = MakeIn<CPlaylistNamesList>(CZVRect(0, 0, 300, 60));
    list->BrowsePlaylists();
    ASSERT_TRUE(Answered(list));
    list->SetSelectAfterLoad(3);
    Answer(list, PayloadWriter().Int(5));
    EXPECT_EQ(list->GetSelectedIndex(), 3);
    CZVRect row;
    list->GetItemRectAt(&row, 3);
    EXPECT_GE(row.y, 0);
    EXPECT_LE(row.y + row.h, list->GetHeight());
    // Used once: the next answer selects the first row; so does 0.
    Answer(list, PayloadWriter().Int(5));
    EXPECT_EQ(list->GetSelectedIndex(), 0);
    list->SetSelectAfterLoad(0);
    Answer(list, PayloadWriter().Int(5));
    EXPECT_EQ(list->GetSelectedIndex(), 0);
}

TEST_F(MusicLists, EmptyAnswersSendTheSettledCommandOfAlbumsAndPlaylists) {
    const struct {
        const char* what;
        std::function<CMusicBrowseList*(MusicLists*)> make;
        size_t settled;
    } cases[] = {
        {"albums",
         [](MusicLists* t) {
             auto* l = t->Make<CAlbumList>(0);
             l->BrowseAlbumsOf(1);
             return l;
         },
         1},
        {"playlists",
         [](MusicLists* t) {
             auto* l = t->Make<CPlaylistNamesList>();
             l->BrowsePlaylists();
             return l;
         },
         1},
        {"tracks",
         [](MusicLists* t) {
             auto* l = t->Make<CTrackList>(0);
             l->BrowseAlbum(1);
             return l;
         },
         0},
        {"genres",
         [](MusicLists* t) {
             auto* l = t->Make<CGenreList>(2, 77);
             l->BrowseGenres();
             return l;
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMusicBrowseList* list = c.make(this);
        page->commands.clear();
        Answer(list, PayloadWriter().Int(0));
        EXPECT_EQ(std::count(page->commands.begin(), page->commands.end(), kSettledCommand), c.settled);
        EXPECT_TRUE(list->HasNoItems());
        Remove(list);
    }
}

TEST_F(MusicLists, ReloadTakesANewSinkAndRepeatsTheBrowseOfItsMode) {
    const struct {
        const char* what;
        Browse browse;
        bool repeats;
    } cases[] = {
        {"albums of an artist", Browsing<CAlbumList>([](auto* l) { l->BrowseAlbumsOf(1003); }), true},
        {"all albums", Browsing<CAlbumList>([](auto* l) { l->BrowseAllAlbums(); }), true},
        {"albums of a genre", Browsing<CAlbumList>([](auto* l) { l->BrowseAlbumsInGenre(502); }), false},
        {"artists", Browsing<CArtistList>([](auto* l) { l->BrowseArtists(); }), true},
        {"stations", Browsing<CStationList>([](auto* l) { l->BrowseStations(2); }), true},
        {"all tracks", Browsing<CTrackList>([](auto* l) { l->BrowseAllTracks(); }), true},
        {"tracks of an album", Browsing<CTrackList>([](auto* l) { l->BrowseAlbum(10002); }), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMusicBrowseList* list = c.browse(this);
        ASSERT_TRUE(Answered(list));
        const std::vector<int32_t> kinds = BrowsesSent();
        const uint16_t sink = list->GetId();
        list->Reload();
        ASSERT_TRUE(SettleUntil([list, &c] { return !c.repeats || list->GetCount() > 0; }));
        EXPECT_NE(list->GetId(), sink);
        std::vector<int32_t> expected = kinds;
        if (c.repeats) expected.push_back(kinds.back());
        EXPECT_EQ(BrowsesSent(), expected);
        Remove(list);
    }
}

TEST_F(MusicLists, ABrowseAnswerToAnEarlierSinkFindsNoList) {
    auto* list = Make<CTrackList>(0);
    list->BrowseArtistTracks(1000);
    ASSERT_TRUE(Answered(list));
    const uint16_t old = list->GetId();
    list->BrowseAlbum(10002);
    ASSERT_TRUE(SettleUntil([list] { return list->GetCount() == 10; }));
    ASSERT_TRUE(gateway.Push(ZVM_AUDIO_BROWSEA, PayloadWriter().Int(3), old));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(list->GetCount(), 10);
}

TEST_F(MusicLists, ListenProgressDrawsOverItsRowAndLevelZeroClearsIt) {
    auto* list = Make<CStationList>(0);
    list->BrowseStations(1);
    ASSERT_TRUE(SettleUntil([list] { return list->GetCount() > 0; }));
    list->ShowListenProgress(0, "", 0);
    EXPECT_EQ(list->IsBarShown(), 0);
    list->ShowListenProgress(50, "Buffering", 0x00FF00);
    EXPECT_EQ(list->IsBarShown(), 0);  // no listen row yet
    list->SetListenRow(1);
    list->ShowListenProgress(50, "Buffering", 0x00FF00);
    EXPECT_EQ(list->IsBarShown(), 1);
    list->ShowListenProgress(0, "", 0);
    EXPECT_EQ(list->IsBarShown(), 0);
}

// ---- pictures

TEST_F(MusicLists, ATrackListHalfLoaded) {
    // The gateway answers every other row; the rest still show their placeholders.
    auto library = std::make_shared<samplegateway::MusicLibrary>();
    gateway.On(ZVM_AUDIO_GETITEMTEXTQ, [library](const testsupport::Frame& request) {
        samplegateway::PayloadReader in(request.payload);
        int32_t kind = 0, a = 0, b = 0, index = 0;
        in.Int(&kind) && in.Int(&a) && in.Int(&b) && in.Int(&index);
        if (index % 2) return std::vector<testsupport::Frame>{};
        const samplegateway::LibraryRow row = library->Rows(kind, a, b)[static_cast<size_t>(index)];
        return std::vector<testsupport::Frame>{
            {request.sender, ZVM_AUDIO_GETITEMTEXTA,
             PayloadWriter().Int(row.ids[0]).Int(row.ids[1]).Int(row.ids[2]).String(row.text)}};
    });
    auto* list = Make<CTrackList>(0);
    list->SetColumnCount(3);
    list->SetColumnStart(1, list->GetWidth() / 3);
    list->SetColumnStart(2, list->GetWidth() * 2 / 3);
    list->BrowseArtistTracks(1004);
    ASSERT_TRUE(SettleUntil([list] { return list->GetCount() == 30; }));
    window->PaintAll();
    ASSERT_TRUE(Settle());
    list->SelectIndex(2, 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(RowAt(list, 0)->IsLoaded());
    EXPECT_FALSE(RowAt(list, 1)->IsLoaded());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(list), "music_tracks_half_loaded"));
}

TEST_F(MusicLists, ArtistsUnderTheLetterBar) {
    auto* list = Make<CArtistList>(0);
    list->BrowseArtists();
    ASSERT_TRUE(SettleUntil([list] { return list->IsAnswered() != 0; }))
        << CIconCache::Instance()->IsLoading() << gateway.Owes() << testsupport::RequestsOnTheirWay(server)
        << testsupport::AnswersWaiting(server) << list->GetCount() << list->IsAnswered() << list->GetOutstanding()
        << " browses " << BrowsesSent().size() << " sink " << list->GetId() << " errors " << gateway.Errors().size()
        << " reqs " << gateway.Requests().size() << " last " << gateway.Requests().back().id << " sender "
        << gateway.Requests().back().sender;
    window->PaintAll();
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(RowAt(list, 1)->IsLoaded());
    EXPECT_EQ(RowAt(list, 0)->GetColumnText(0), "7th Avenue");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "music_artists"));
}

}  // namespace
