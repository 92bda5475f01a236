// The Messages page: a tab per messaging source, what each tab shows, the
// subscriptions it sends, the remembered tab and the gateway's tab icons.
#include "vistrel/media/messaging/messagingsummary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell_fixture.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using testsupport::Bytes;
using testsupport::PayloadWriter;

struct Source {
    int id;
    int kind;
    std::string name;
};

Bytes Summary(const std::vector<Source>& sources) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(sources.size()));
    for (const Source& s : sources) out.Int(s.id).Int(s.kind).String(s.name);
    return out;
}

class MessagingPage : public vistreltest::ShellTest {
protected:
    MessagingPage() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
    }
    ~MessagingPage() override {
        Close();
        SetPageVariable(CMessagingSummaryPage::kTabVariable, 0);
        window.reset();
    }
    void SetUp() override {
        Connect();
        gateway.Answer(ZVM_MESSAGES_OPENVIEWERQ, PayloadWriter().Int(0).String(""));
        gateway.Answer(ZVM_MESSAGES_GETLISTQ, PayloadWriter().Int(0));
    }
    CMessagingSummaryPage* Open(const std::vector<Source>* sources) {
        Close();
        if (sources) gateway.Answer(ZVM_MESSAGES_GETSUMMARYQ, Summary(*sources));
        page = new CMessagingSummaryPage(window.get(), window->GetPageArea(), server);
        window->AddChild(page);
        return page;
    }
    void Close() {
        if (!page) return;
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
    // What the content shows: "phone N", "viewer N", "panel N" or "none".
    std::string Content() {
        CZVWindow* content = page->GetContent();
        if (auto* phone = dynamic_cast<CPhonePage*>(content)) return "phone " + std::to_string(phone->GetMailbox());
        if (auto* viewer = dynamic_cast<CMessageViewerCtl*>(content))
            return "viewer " + std::to_string(viewer->GetList()->GetListId());
        if (dynamic_cast<CGatewayPanel*>(content)) return "panel";
        return content ? "?" : "none";
    }
    // The source ids subscribed since the last call.
    std::vector<int> Subscribed() {
        CZVMSG marker(0, 0x7F71);
        server.Send(&marker);
        EXPECT_TRUE(gateway.WaitForRequest(0x7F71));
        std::vector<int> ids;
        testsupport::Frame frame;
        while (gateway.WaitForRequest(ZVM_MESSAGES_SUBSCRIBEQ, &frame, 0)) {
            int32_t id = 0, on = 0;
            testsupport::PayloadReader in(frame.payload);
            EXPECT_TRUE(in.Int(&id) && in.Int(&on));
            EXPECT_EQ(on, 1);
            ids.push_back(id);
        }
        return ids;
    }

    platform::HeadlessWindow screen{800, 600};
    CMessagingSummaryPage* page = nullptr;
};

TEST_F(MessagingPage, EachKindOfSourceShowsItsOwnContent) {
    const struct {
        Source source;
        const char* shown;
    } cases[] = {
        {{5, 0, "Voice Mail"}, "phone 5"}, {{-1, 3, "Nobody"}, "phone -1"}, {{9, 64, "Intercom"}, "panel"},
        {{4, 2, "Family"}, "viewer 4"},    {{3, 3, "Email"}, "viewer 3"},
    };
    for (const auto& c : cases) {
        const std::vector<Source> sources = {{1, 0, "Phone"}, c.source};
        Open(&sources);
        page->OnCommand(CMessagingSummaryPage::kFirstTab + 1);
        EXPECT_EQ(Content(), c.shown) << c.source.name;
        EXPECT_EQ(GetPageVariable(CMessagingSummaryPage::kTabVariable), 1);
        page->OnCommand(CMessagingSummaryPage::kFirstTab);
        EXPECT_EQ(Content(), "phone 1") << "two sources keep their ids";
    }
}

TEST_F(MessagingPage, SubscriptionsGoForEveryTabButPanelsAndMissingSources) {
    const struct {
        std::vector<Source> sources;
        std::vector<int> subscribed;
    } cases[] = {
        {{{3, 3, "Email"}}, {}},
        {{{0, 0, "Voice Mail"}, {-1, 3, "None"}, {6, 64, "Intercom"}, {3, 3, "Email"}}, {0, 3}},
    };
    for (const auto& c : cases) {
        Open(&c.sources);
        EXPECT_EQ(Subscribed(), c.subscribed);
    }
}

TEST_F(MessagingPage, ALoneSourceOneIsMailboxZeroAndAFailedQueryShowsMailboxZero) {
    const std::vector<Source> lone = {{1, 0, "Voice Mail"}};
    Open(&lone);
    EXPECT_EQ(Content(), "phone 0");
    gateway.DropOn(ZVM_MESSAGES_GETSUMMARYQ);
    Open(nullptr);
    EXPECT_EQ(page->GetTabControl(), nullptr);
    EXPECT_EQ(Content(), "phone 0");
}

TEST_F(MessagingPage, TheRememberedTabIsPulledDownToTheLastTab) {
    SetPageVariable(CMessagingSummaryPage::kTabVariable, 6);
    const std::vector<Source> sources = {{0, 0, "Voice Mail"}, {3, 3, "Email"}, {4, 3, "Family"}};
    Open(&sources);
    EXPECT_EQ(GetPageVariable(CMessagingSummaryPage::kTabVariable), 2);
    EXPECT_EQ(Content(), "viewer 4");
    auto* tabs = dynamic_cast<CTabContainer*>(page->GetTabControl());
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetSelectedIndex(), 2);
}

TEST_F(MessagingPage, EveryTabOfTenSourcesOpens) {
    std::vector<Source> sources;
    for (int i = 0; i < 10; ++i) sources.push_back({20 + i, 3, "Box " + std::to_string(i)});
    Open(&sources);
    for (int i = 0; i < 10; ++i) {
        page->OnCommand(CMessagingSummaryPage::kFirstTab + i);
        EXPECT_EQ(Content(), "viewer " + std::to_string(20 + i));
    }
    CZVWindow* shown = page->GetContent();
    page->OnCommand(CMessagingSummaryPage::kFirstTab + 10);
    EXPECT_EQ(page->GetContent(), shown);
}

TEST_F(MessagingPage, AnIconNoticeMarksEveryTabOfItsSource) {
    const std::vector<Source> sources = {{0, 0, "Voice Mail"}, {3, 3, "Email"}, {3, 3, "Email again"}};
    Open(&sources);
    gateway.Push(ZVM_MESSAGES_SUBSCRIBEA, PayloadWriter().Int(3).Int(1).String("NEWMAIL"), page->GetId());
    auto* tabs = dynamic_cast<CTabContainer*>(page->GetTabControl());
    const auto icon = [&](int tab) { return dynamic_cast<CZVButton*>(tabs->GetTab(tab))->GetIcon(); };
    ASSERT_TRUE(PollUntil([&] { return icon(2) != nullptr; }));
    EXPECT_NE(icon(1), nullptr);
    EXPECT_EQ(icon(0), nullptr);
}

}  // namespace
