// The message box control: the list newest first, the state changes it asks
// for (by the row as shown), the 5-second and move-away read rules, the
// selection that stays on its message across reloads, and the body of a
// message with its text lines and picture.
#include "vistrel/media/messaging/messageviewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/house.h"
#include "samplegateway/slides.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Bytes;
using testsupport::PayloadWriter;

constexpr int32_t kBox = 3;
constexpr uint16_t kMarker = 0x7F70;

struct Message {
    int state;
    int day;
    std::string from, subject;
};

Bytes ListAnswer(const std::vector<Message>& messages) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(messages.size()));
    for (const Message& m : messages) {
        out.Int(m.state);
        for (int f : {2026, 3, 0, m.day, 9, 30, 0, 0}) out.Short(static_cast<uint16_t>(f));
        out.String(m.from).String(m.subject);
    }
    return out;
}

std::string Text(CZVWindow* w) { return w->GetText().GetAnsi(); }

std::vector<CZVWindow*> ChildrenOf(CZVWindow* w) {
    std::vector<CZVWindow*> children;
    for (ZVPOSITION pos = w->GetChildren().GetHeadPosition(); pos;)
        children.push_back(static_cast<CZVWindow*>(w->GetChildren().GetNext(pos)));
    return children;
}

class MessageViewer : public vistreltest::ShellTest {
protected:
    MessageViewer() {
        window.reset();  // first: the new window takes over the toolkit services
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
    }
    ~MessageViewer() override {
        if (viewer) window->RemoveChild(viewer);
        delete viewer;
        window.reset();
    }

    void SetUp() override {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
        gateway.Answer(ZVM_MESSAGES_OPENVIEWERQ, PayloadWriter().Int(kBox).String("Family Messages"));
        gateway.Answer(ZVM_MESSAGES_CHECKNOW, Bytes{});
    }

    CMessageViewerCtl* Open(const std::vector<Message>& messages, int type = CMessageViewerCtl::kBodyType) {
        gateway.Answer(ZVM_MESSAGES_GETLISTQ, ListAnswer(messages));
        EXPECT_TRUE(Settle());  // the menu in, so the page area is known
        CZVRect area = window->GetPageArea();
        area.Deflate(10, 10);
        viewer = new CMessageViewerCtl(window.get(), area, 16, kBox, type, server);
        window->AddChild(viewer);
        EXPECT_TRUE(SettleUntil([&] { return viewer->GetList()->GetCount() == static_cast<int>(messages.size()); }));
        return viewer;
    }
    // A new list from the gateway, as when a box changed.
    void Reload(const std::vector<Message>& messages) {
        gateway.Answer(ZVM_MESSAGES_GETLISTQ, ListAnswer(messages));
        gateway.Push(ZVM_UI_LISTCHANGED, PayloadWriter().Int(kBox));
        ASSERT_TRUE(gateway.WaitForRequest(ZVM_MESSAGES_GETLISTQ));  // the first, from the start
        ASSERT_TRUE(SettleUntil([&] { return viewer->GetList()->GetCount() == static_cast<int>(messages.size()); }));
    }
    void Touch(int row) {
        viewer->GetList()->SelectIndex(row, 0);
        viewer->OnCommand(CMessageViewerCtl::kRowTouched);
    }
    // Every {row, state} the viewer sent since the last call.
    std::vector<std::pair<int, int>> StatesSent() {
        CZVMSG marker(0, kMarker);
        server.Send(&marker);
        EXPECT_TRUE(gateway.WaitForRequest(kMarker));
        std::vector<std::pair<int, int>> sent;
        testsupport::Frame frame;
        while (gateway.WaitForRequest(ZVM_MESSAGES_SETSTATE, &frame, 0)) {
            int32_t box = 0, row = 0, state = 0;
            testsupport::PayloadReader in(frame.payload);
            EXPECT_TRUE(in.Int(&box) && in.Int(&row) && in.Int(&state));
            EXPECT_EQ(box, kBox);
            sent.emplace_back(row, state);
        }
        return sent;
    }
    using Sent = std::vector<std::pair<int, int>>;

    platform::HeadlessWindow screen{800, 600};
    CMessageViewerCtl* viewer = nullptr;
};

const std::vector<Message> kABC = {{0, 1, "Ann", "A"}, {1, 2, "Bob", "B"}, {0, 3, "Cy", "C"}};

TEST_F(MessageViewer, TheLastMessageOfTheAnswerIsOnTopAndRowsAreSentAsShown) {
    Open(kABC);
    CMessageList* list = viewer->GetList();
    EXPECT_EQ(std::string(list->GetRow(0)->GetText(2).GetAnsi()), "C");
    EXPECT_EQ(std::string(list->GetRow(2)->GetText(2).GetAnsi()), "A");
    EXPECT_EQ(std::string(list->GetRow(0)->GetText(0).GetAnsi()), "3/3 9:30 AM");
    EXPECT_EQ(Text(viewer->GetStatus()), "Family Messages");
    Touch(2);
    testsupport::Frame asked;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_MESSAGES_GETMESSAGEQ, &asked));
    int32_t box = 0, row = -1;
    testsupport::PayloadReader in(asked.payload);
    ASSERT_TRUE(in.Int(&box) && in.Int(&row));
    EXPECT_EQ(row, 2);
}

TEST_F(MessageViewer, TheButtonsSendTheStateTheyName) {
    Open(kABC);
    EXPECT_FALSE(viewer->GetMarkButton()->IsEnabled());
    EXPECT_EQ(Text(viewer->GetMarkButton()), "Mark As...");
    const struct {
        int row;
        int command;
        const char* caption;
        int state;
    } cases[] = {
        {1, CMessageViewerCtl::kMark, "Mark As Unread", 0},
        {0, CMessageViewerCtl::kMark, "Mark As Read", 1},
        {1, CMessageViewerCtl::kDelete, "Mark As Unread", 2},
    };
    for (const auto& c : cases) {
        viewer->GetList()->SelectIndex(c.row, 0);
        viewer->OnCommand(CMessageViewerCtl::kReloaded);
        EXPECT_EQ(Text(viewer->GetMarkButton()), c.caption);
        StatesSent();
        viewer->OnCommand(c.command);
        EXPECT_EQ(StatesSent(), (Sent{{c.row, c.state}})) << c.caption;
    }
}

TEST_F(MessageViewer, AnUnreadMessageShownMoreThanFiveSecondsIsMarkedReadOnce) {
    Open(kABC);
    Touch(0);
    StatesSent();
    clock.Advance(4000);
    viewer->OnTimer();
    EXPECT_TRUE(StatesSent().empty());
    clock.Advance(2000);
    viewer->OnTimer();
    EXPECT_EQ(StatesSent(), (Sent{{0, 1}}));
    Reload({{0, 1, "Ann", "A"}, {1, 2, "Bob", "B"}, {1, 3, "Cy", "C"}});
    clock.Advance(6000);
    viewer->OnTimer();
    EXPECT_TRUE(StatesSent().empty());
}

TEST_F(MessageViewer, MovingAwayFromAnUnreadMessageMarksItRead) {
    Open(kABC);
    Touch(0);
    StatesSent();
    clock.Advance(1000);
    Touch(1);
    EXPECT_EQ(StatesSent(), (Sent{{0, 1}}));

    // A list type without a body does not.
    window->RemoveChild(viewer);
    delete viewer;
    viewer = nullptr;
    Open(kABC, CMessageViewerCtl::kListType);
    Touch(0);
    Touch(1);
    EXPECT_TRUE(StatesSent().empty());
    EXPECT_EQ(viewer->GetBody(), nullptr);
}

TEST_F(MessageViewer, TheSelectionAndThePendingReadFollowTheirMessageAcrossReloads) {
    Open(kABC);
    Touch(2);  // A
    StatesSent();
    viewer->OnCommand(CMessageViewerCtl::kCheckNow);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_MESSAGES_CHECKNOW));
    // A new message D arrives on top: A moves from row 2 to row 3.
    Reload({{0, 1, "Ann", "A"}, {1, 2, "Bob", "B"}, {0, 3, "Cy", "C"}, {0, 4, "Dee", "D"}});
    CMessageList* list = viewer->GetList();
    EXPECT_EQ(list->GetSelectedIndex(), 3);
    viewer->OnCommand(CMessageViewerCtl::kDelete);
    EXPECT_EQ(StatesSent(), (Sent{{3, 2}}));

    // The pending read goes to where its message went, and is dropped once it is gone.
    Touch(0);  // D, unread
    Reload({{0, 9, "Eve", "E"}, {0, 1, "Ann", "A"}, {1, 2, "Bob", "B"}, {0, 3, "Cy", "C"}, {0, 4, "Dee", "D"}});
    EXPECT_EQ(list->GetSelectedIndex(), 0);
    StatesSent();
    Touch(2);
    EXPECT_EQ(StatesSent(), (Sent{{0, 1}}));
    Touch(1);  // C pending
    Reload({{0, 1, "Ann", "A"}, {1, 2, "Bob", "B"}});
    StatesSent();
    Touch(0);
    EXPECT_TRUE(StatesSent().empty());
}

TEST_F(MessageViewer, ALineTakesAtLeastOneCharacterWhateverTheWidth) {
    const auto measure = [](const char*, int n) { return n * 10; };
    const struct {
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {100, {"abcdef"}},
        {31, {"abc", "def"}},
        {30, {"ab", "cd", "ef"}},
        {5, {"a", "b", "c", "d", "e", "f"}},
        {-20, {"a", "b", "c", "d", "e", "f"}},
    };
    for (const auto& c : cases) EXPECT_EQ(BreakMessageLines("abcdef", c.width, measure), c.lines) << c.width;
    EXPECT_TRUE(BreakMessageLines("", 5, measure).empty());
}

class MessageBody : public MessageViewer {
protected:
    void ShowBody(const Bytes& body) {
        gateway.Answer(ZVM_MESSAGES_GETMESSAGEQ, body);
        Open(kABC);
        Touch(0);
        ASSERT_TRUE(SettleUntil([&] { return viewer->GetBody()->GetChildren().GetCount() > 0; }));
    }
    int Count(bool pictures) {
        int n = 0;
        for (CZVWindow* child : ChildrenOf(viewer->GetBody()))
            n += (dynamic_cast<CDibWnd*>(child) != nullptr) == pictures ? 1 : 0;
        return n;
    }
};

TEST_F(MessageBody, TextLinesAndAPictureMakeTheBodyAndOtherPartsAreSkipped) {
    const Bytes jpeg = samplegateway::SlidePicture(1, 120, 60);
    PayloadWriter body;
    body.Int(4);
    body.Int(1).Int(2).String("Dinner is at seven.").String("Bring the salad, please.");
    body.Int(4).Int(100).Raw(Bytes(100, 0x55).data(), 100);
    body.Int(3).Int(static_cast<int32_t>(jpeg.size())).Raw(jpeg.data(), jpeg.size());
    body.Int(1).Int(1).String("Love, Mum");
    ShowBody(body);
    EXPECT_EQ(Count(false), 3);
    ASSERT_EQ(Count(true), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(viewer), "message_viewer_picture"));
}

TEST_F(MessageBody, APictureThatDoesNotDecodeLeavesNoGap) {
    PayloadWriter body;
    body.Int(3);
    body.Int(1).Int(1).String("Before");
    body.Int(3).Int(8).Raw(Bytes(8, 0xFF).data(), 8);
    body.Int(1).Int(1).String("After");
    ShowBody(body);
    EXPECT_EQ(Count(true), 0);
    ASSERT_EQ(Count(false), 2);
    const std::vector<CZVWindow*> lines = ChildrenOf(viewer->GetBody());
    EXPECT_EQ(lines.back()->GetY() - lines.front()->GetY(), 16);
}

}  // namespace
