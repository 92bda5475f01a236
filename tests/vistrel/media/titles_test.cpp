// The titles browser of a media device: the group tabs, the titles as a list or as thumbnails of
// the size step asked, the current title marked in the state's colour, a title played by its id,
// answers for other devices left untouched for the next reader, and how both modes look against
// the sample house's disc changer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "calendar_fixture.h"
#include "core/messages/mediamessages.h"
#include "samplegateway/titles.h"
#include "support/golden.h"
#include "vistrel/media/pictures/picturefolder.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/titles/titleanswers.h"
#include "vistrel/media/titles/titleslist.h"
#include "vistrel/media/titles/titleswnd.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using samplegateway::Bytes;
using samplegateway::kTitlesObject;
using samplegateway::PayloadWriter;

constexpr COLORREF kGreen = 0x00FF00;

Bytes Ints(std::initializer_list<int32_t> values) {
    PayloadWriter out;
    for (int32_t v : values) out.Int(v);
    return out;
}

// A titles answer for the object: {id, unused, name} per title.
Bytes Titles(int32_t object, std::initializer_list<int32_t> ids) {
    PayloadWriter out;
    out.Int(object).Int(static_cast<int32_t>(ids.size()));
    for (int32_t id : ids) out.Int(id).Int(0).String("Title " + std::to_string(id));
    return out;
}

Bytes Groups(int32_t object, std::initializer_list<const char*> names) {
    PayloadWriter out;
    out.Int(object).Int(static_cast<int32_t>(names.size()));
    for (const char* name : names) out.String(name);
    return out;
}

std::unique_ptr<CZVMSG> Message(uint16_t id, const Bytes& payload) {
    auto message = std::make_unique<CZVMSG>(0, id);
    if (!payload.empty()) message->WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
    message->ResetPosition();
    return message;
}

TEST(TitleAnswers, AMessageForAnotherObjectIsPutBackToItsStart) {
    auto other = Message(ZVM_MEDIA_GETTITLESA, Titles(91, {5}));
    EXPECT_EQ(ReadOwnObject(*other, kTitlesObject), 0);
    EXPECT_EQ(other->GetRemaining(), static_cast<int32_t>(Titles(91, {5}).size()));
    auto empty = Message(ZVM_MEDIA_GETTITLESA, {});
    EXPECT_EQ(ReadOwnObject(*empty, kTitlesObject), 0);
    auto own = Message(ZVM_MEDIA_GETTITLESA, Titles(kTitlesObject, {5, 6}));
    ASSERT_EQ(ReadOwnObject(*own, kTitlesObject), 1);
    std::vector<CTitleEntry> titles;
    EXPECT_EQ(ReadTitleEntries(*own, &titles), 1);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1].id, 6);
    EXPECT_EQ(titles[1].name, "Title 6");
}

TEST(TitleAnswers, TheStateGivesTheGroupsEntryOrTellsItIsMissing) {
    const struct {
        Bytes payload;
        int group;
        bool read, hasGroup;
        int32_t current;
    } cases[] = {
        {Ints({1002, 3, 11, 12, 13}), 1, true, true, 12},
        {Ints({1002, 3, 11, 12, 13}), 2, true, true, 13},
        {Ints({1001, 2, 11, 12}), 2, true, false, 0},        // shorter than the group's index
        {Ints({1001, 1000000, 11, 12}), 3, true, false, 0},  // a count past the message
        {Ints({1004}), 0, true, false, 0},
        {{}, 0, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "group " << c.group << ", " << c.payload.size() << " bytes");
        auto message = Message(ZVM_MEDIA_GETTITLELISTA, c.payload);
        CTitleState state;
        EXPECT_EQ(ReadTitleState(*message, c.group, &state), c.read);
        EXPECT_EQ(state.hasGroup, c.hasGroup);
        if (c.hasGroup) EXPECT_EQ(state.current, c.current);
    }
}

TEST(TitleAnswers, EachStateHasItsColour) {
    EXPECT_EQ(TitleStateColour(1001, 7), 0xFF0000u);
    EXPECT_EQ(TitleStateColour(1002, 7), kGreen);
    EXPECT_EQ(TitleStateColour(1004, 7), 0x00FFFFu);
    EXPECT_EQ(TitleStateColour(1003, 7), 7u);
}

class TitlesTest : public mediatest::InfoPanelTest {
protected:
    CTitlesWnd* Make(int thumbnails, int sizeStep = 0, CZVRect rect = CZVRect(110, 10, 680, 400)) {
        auto* titles = new CTitlesWnd(window.get(), rect, server, kTitlesObject, sizeStep, thumbnails, 18);
        window->AddChild(titles);
        return titles;
    }
    // The device of the tests: three groups whose titles are 11, 12, 13 (and 105 for the third).
    void ServeDevice() {
        gateway.Answer(ZVM_MEDIA_GETTITLESTATEQ, Groups(kTitlesObject, {"One", "Two", "Three"}));
        gateway.Answer(ZVM_MEDIA_GETTITLESQ, Titles(kTitlesObject, {11, 12, 13, 105}));
        gateway.Answer(ZVM_MEDIA_GETTITLELISTQ, Ints({kTitlesObject, 1001, 3, 11, 11, 11}));
    }
    void Push(CSocketSink& sink, uint16_t id, const Bytes& payload) {
        gateway.Push(id, payload, sink.GetId());
        ASSERT_TRUE(Settle());
    }
    static CPictureItem* ItemWithId(CTitlesWnd* titles, int id) {
        CPictureFolder* folder = titles->GetFolder();
        for (int i = 0; folder && i < folder->GetPictureCount(); ++i)
            if (folder->GetPicture(i)->GetIndex() == id) return folder->GetPicture(i);
        return nullptr;
    }
    // Selects the title's row or thumbnail.
    static void SelectTitle(CTitlesWnd* titles, int id) {
        if (CTitlesList* list = titles->GetList()) {
            for (int i = 0; i < list->GetCount(); ++i)
                if (CTitlesList::TitleOf(list->GetItemAt(i)) == id) list->SelectIndex(i, 0);
            return;
        }
        titles->GetThumbnails()->SetSelection(titles->GetFolder()->IndexOf(ItemWithId(titles, id)));
    }
    // The requests received so far, to look only at those that follow.
    size_t Mark() {
        EXPECT_TRUE(Settle());
        return gateway.Requests().size();
    }
    std::vector<Bytes> RequestsAfter(size_t mark, uint16_t id) {
        EXPECT_TRUE(Settle());
        const std::vector<testsupport::Frame> all = gateway.Requests();
        std::vector<Bytes> found;
        for (size_t i = mark; i < all.size(); ++i)
            if (all[i].id == id) found.push_back(all[i].payload);
        return found;
    }
    static void Play(CTitlesWnd* titles) {
        if (CTitlesList* list = titles->GetList())
            list->OnCommand(CTitlesList::kPlayCommand);
        else
            titles->OnCommand(CTitlesWnd::kPlayCommand);
    }
};

TEST_F(TitlesTest, TheSizeStepSetsTheThumbnailsAskedFor) {
    const struct { int step, width, height; } cases[] = {{0, 60, 80}, {2, 120, 160}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        const size_t mark = Mark();
        CTitlesWnd* titles = Make(1, c.step);
        ASSERT_TRUE(Settle());
        EXPECT_EQ(titles->GetThumbnailWidth(), c.width);
        EXPECT_EQ(titles->GetThumbnailHeight(), c.height);
        window->PaintAll();
        const auto asked = RequestsAfter(mark, ZVM_AUDIO_GETTITLETHUMBQ);
        ASSERT_FALSE(asked.empty());
        // {sink, width, height, object, title id, group}: the first disc's first title.
        const Bytes first(asked.front().begin() + 4, asked.front().end());
        EXPECT_EQ(first, Ints({c.width, c.height, kTitlesObject, samplegateway::kFirstTitleId, 0}));
        window->RemoveChild(titles);
        delete titles;
        ASSERT_TRUE(Settle());
    }
}

TEST_F(TitlesTest, TheStateMarksTheSelectedGroupsTitleInItsColourInBothModes) {
    ServeDevice();
    for (int thumbnails : {0, 1}) {
        SCOPED_TRACE(thumbnails);
        CTitlesWnd* titles = Make(thumbnails);
        ASSERT_TRUE(Settle());
        titles->OnCommand(CTitlesWnd::kFirstTab + 1);
        ASSERT_TRUE(Settle());
        CSocketSink& sink = thumbnails ? static_cast<CSocketSink&>(*titles) : *titles->GetList();
        Push(sink, ZVM_MEDIA_GETTITLELISTA, Ints({kTitlesObject, 1002, 3, 11, 12, 13}));
        if (thumbnails) {
            EXPECT_EQ(titles->GetCurrentTitle(), 12);
            // The thumbnail is the one whose id is 12, the second, not the thirteenth.
            ASSERT_NE(ItemWithId(titles, 12), nullptr);
            EXPECT_TRUE(ItemWithId(titles, 12)->IsHighlighted());
            EXPECT_EQ(ItemWithId(titles, 12)->GetHighlightColor(), kGreen);
            EXPECT_FALSE(ItemWithId(titles, 11)->IsHighlighted());
        } else {
            EXPECT_EQ(titles->GetList()->GetCurrentTitle(), 12);
            EXPECT_EQ(titles->GetList()->GetState(), 1002);
        }
        // A state without the selected group's entry keeps the title marked.
        Push(sink, ZVM_MEDIA_GETTITLELISTA, Ints({kTitlesObject, 1001, 1, 13}));
        if (thumbnails) {
            EXPECT_EQ(titles->GetCurrentTitle(), 12);
            EXPECT_TRUE(ItemWithId(titles, 12)->IsHighlighted());
            EXPECT_FALSE(ItemWithId(titles, 13)->IsHighlighted());
            EXPECT_EQ(ItemWithId(titles, 12)->GetHighlightColor(), kGreen);
        } else {
            EXPECT_EQ(titles->GetList()->GetCurrentTitle(), 12);
        }
        window->RemoveChild(titles);
        delete titles;
        ASSERT_TRUE(Settle());
    }
}

TEST_F(TitlesTest, PlayingSendsTheTitlesIdWithTheGroupInBothModes) {
    ServeDevice();
    for (int thumbnails : {0, 1}) {
        SCOPED_TRACE(thumbnails);
        const size_t mark = Mark();
        CTitlesWnd* titles = Make(thumbnails);
        ASSERT_TRUE(Settle());
        titles->OnCommand(CTitlesWnd::kFirstTab + 2);
        ASSERT_TRUE(Settle());
        SelectTitle(titles, 105);
        Play(titles);
        const auto sent = RequestsAfter(mark, ZVM_MEDIA_TITLESCOMMAND);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], Ints({kTitlesObject, 1849, 0x00020069}));
        window->RemoveChild(titles);
        delete titles;
        ASSERT_TRUE(Settle());
    }
}

TEST_F(TitlesTest, NothingIsPlayedWithoutASelectedTitle) {
    ServeDevice();
    for (int thumbnails : {0, 1}) {
        CTitlesWnd* titles = Make(thumbnails);
        ASSERT_TRUE(Settle());
        Play(titles);
        window->RemoveChild(titles);
        delete titles;
    }
    EXPECT_TRUE(Requests(ZVM_MEDIA_TITLESCOMMAND).empty());
}

TEST_F(TitlesTest, AnswersForAnotherObjectChangeNothingAndAreRewound) {
    ServeDevice();
    CTitlesWnd* titles = Make(1);
    ASSERT_TRUE(Settle());
    const int tabs = titles->GetTabs()->GetTabCount();
    const int shown = titles->GetFolder()->GetPictureCount();
    const struct {
        uint16_t id;
        Bytes payload;
    } others[] = {
        {ZVM_MEDIA_GETTITLESTATEA, Groups(91, {"A", "B", "C", "D", "E"})},
        {ZVM_MEDIA_GETTITLESA, Titles(91, {1, 2})},
        {ZVM_MEDIA_GETTITLELISTA, Ints({91, 1002, 1, 12})},
        {ZVM_AUDIO_TITLESCHANGED, Ints({91})},
    };
    const size_t mark = Mark();
    for (const auto& other : others) {
        SCOPED_TRACE(other.id);
        auto message = Message(other.id, other.payload);
        titles->OnMessage(message.get());
        EXPECT_EQ(message->GetRemaining(), static_cast<int32_t>(other.payload.size()));
    }
    EXPECT_EQ(titles->GetTabs()->GetTabCount(), tabs);
    EXPECT_EQ(titles->GetFolder()->GetPictureCount(), shown);
    EXPECT_EQ(titles->GetCurrentTitle(), 11);
    EXPECT_TRUE(RequestsAfter(mark, ZVM_MEDIA_GETTITLESTATEQ).empty());
    // The list's own answers likewise.
    CTitlesWnd* text = Make(0);
    ASSERT_TRUE(Settle());
    auto message = Message(ZVM_MEDIA_GETTITLESA, Titles(91, {1}));
    text->GetList()->OnMessage(message.get());
    EXPECT_EQ(message->GetRemaining(), static_cast<int32_t>(Titles(91, {1}).size()));
    EXPECT_EQ(text->GetList()->GetCount(), 4);
}

TEST_F(TitlesTest, ItsOwnAnswersAreRewoundForTheNextReaderToo) {
    ServeDevice();
    CTitlesWnd* titles = Make(1);
    ASSERT_TRUE(Settle());
    const Bytes payload = Titles(kTitlesObject, {11, 12});
    auto message = Message(ZVM_MEDIA_GETTITLESA, payload);
    titles->OnMessage(message.get());
    EXPECT_EQ(message->GetRemaining(), static_cast<int32_t>(payload.size()));
    EXPECT_EQ(titles->GetFolder()->GetPictureCount(), 2);
}

TEST_F(TitlesTest, TheChangeNoticeAsksForTheGroupsAgain) {
    ServeDevice();
    CTitlesWnd* titles = Make(0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Requests(ZVM_MEDIA_GETTITLESTATEQ).size(), 1u);
    Push(*titles, ZVM_AUDIO_TITLESCHANGED, Ints({kTitlesObject}));
    EXPECT_EQ(Requests(ZVM_MEDIA_GETTITLESTATEQ).size(), 2u);
    EXPECT_EQ(titles->GetTabs()->GetTabCount(), 3);
}

TEST_F(TitlesTest, ADeviceWithoutGroupsGetsOneTabAndAsksForGroupZero) {
    gateway.Answer(ZVM_MEDIA_GETTITLESTATEQ, Ints({kTitlesObject, 0}));
    CTitlesWnd* titles = Make(1);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(titles->GetTabs()->GetTabCount(), 1);
    EXPECT_STREQ(titles->GetTabs()->GetTab(0)->GetText().GetAnsi(), CTitlesWnd::kNoTitles);
    EXPECT_EQ(Requests(ZVM_MEDIA_GETTITLESQ).back(), Ints({kTitlesObject, 0}));
    // A tab command past the tabs asks for nothing.
    const size_t mark = Mark();
    titles->OnCommand(CTitlesWnd::kFirstTab + 1);
    EXPECT_TRUE(RequestsAfter(mark, ZVM_MEDIA_GETTITLESQ).empty());
}

TEST_F(TitlesTest, BothSubscriptionsEndWithTheWindow) {
    CTitlesWnd* titles = Make(0);
    ASSERT_TRUE(Settle());
    const int32_t windowSink = titles->GetId(), listSink = titles->GetList()->GetId();
    window->RemoveChild(titles);
    delete titles;
    const auto subscribed = Requests(ZVM_MEDIA_SUBSCRIBETITLES);
    const auto ended = Requests(ZVM_MEDIA_UNSUBSCRIBETITLES);
    EXPECT_EQ(subscribed, (std::vector<Bytes>{Ints({kTitlesObject, windowSink}), Ints({kTitlesObject, listSink})}));
    EXPECT_EQ(ended.size(), 2u);
    EXPECT_NE(std::find(ended.begin(), ended.end(), Ints({kTitlesObject, windowSink})), ended.end());
    EXPECT_NE(std::find(ended.begin(), ended.end(), Ints({kTitlesObject, listSink})), ended.end());
}

// The sample house's disc changer, as each mode shows it with a title selected.
TEST_F(TitlesTest, TheTitlesAsTheListShowsThem) {
    CTitlesWnd* titles = Make(0, 0, CZVRect(110, 10, 400, 400));
    ASSERT_TRUE(Settle());
    SelectTitle(titles, 105);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(titles), "vistrel_titles_list"));
}

TEST_F(TitlesTest, TheTitlesAsThumbnailsWithThePlayBandOpen) {
    CTitlesWnd* titles = Make(1, 1, CZVRect(110, 10, 600, 420));
    ASSERT_TRUE(Settle());
    window->PaintAll();
    ASSERT_TRUE(Settle());
    CPicWnd* grid = titles->GetThumbnails();
    grid->OnCommand(CPicWnd::kPressCommand + 4);
    grid->OnCommand(CPicWnd::kReleaseCommand + 4);
    ASSERT_TRUE(Settle());
    clock.Advance(CRowExpander::kFullMs);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(grid->GetSelection(), 4);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(titles), "vistrel_titles_thumbnails"));
}

}  // namespace
