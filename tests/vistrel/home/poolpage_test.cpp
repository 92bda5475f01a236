// The pool page against the sample gateway: tabs from the feature flags,
// subscription and status requests, the link-state box, routing of inner
// ids, the writes that come back as status, and the retried load.
#include "vistrel/home/pool/poolpage.h"

#include <gtest/gtest.h>

#include <atomic>

#include "pool_fixture.h"
#include "vistrel/home/pool/poolheat.h"
#include "vistrel/home/pool/poolmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using testsupport::Frame;

class PoolPageTest : public pooltest::PoolTest {
protected:
    void Serve(const samplegateway::House& house) { samplegateway::Serve(gateway.Engine(), house); }
    void SetUp() override {
        Serve(testsupport::SampleHouse());
        Connect();
    }
    ~PoolPageTest() override { delete page; }

    CPoolControlPage* Build() {
        page = new CPoolControlPage(window.get(), window->GetPageArea(), server);
        window->AddChild(page);
        page->Show(1, 0);
        return page;
    }
    void Close() {
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
    // Waits until the model holds the sample status.
    void WaitForStatus() {
        ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetBody(0)->temperature == 81; }));
    }
    void PushLinkState(int32_t link) {
        gateway.Push(ZVM_POOL_STATUSCHANGED, testsupport::SampleStatus(link), page->GetId());
        ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetLinkState() == link; }));
    }
    CTabContainer* Tabs() { return static_cast<CTabContainer*>(page->GetTabControl()); }
    CPoolMainPage* Main() { return dynamic_cast<CPoolMainPage*>(page->GetTabWindow()); }

    CPoolControlPage* page = nullptr;
    size_t pushes = 0;
};

TEST_F(PoolPageTest, TabsFollowTheFeatureFlags) {
    struct Case {
        int32_t flags;
        std::vector<std::string> captions;
    } cases[] = {
        {0x21, {"Main", "Lights", "History"}},
        {0x00, {"Main"}},
        {0x44, {"Main", "Schedule", "Equipment"}},
        {127, {"Main", "Lights", "Schedule", "History", "Equipment"}},
    };
    for (const Case& c : cases) {
        samplegateway::House house = testsupport::SampleHouse();
        ASSERT_TRUE(house.Set("tablet_features", int64_t{c.flags}));
        Serve(house);
        Build();
        std::vector<std::string> captions;
        for (int i = 0; i < Tabs()->GetTabCount(); ++i) captions.push_back(Tabs()->GetTab(i)->GetText().GetAnsi());
        EXPECT_EQ(captions, c.captions) << c.flags;
        Close();
    }
}

TEST_F(PoolPageTest, SubscribesAsksTheStatusAndUnsubscribesWhenItGoes) {
    Build();
    const uint16_t sink = page->GetId();
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_GETSTATUSQ));
    const std::vector<Frame> config = gateway.RequestsOf(ZVM_POOL_GETCONFIGQ);
    ASSERT_EQ(config.size(), 1u);
    EXPECT_EQ(IntsOf(config[0]), (std::vector<int32_t>{0, 0}));
    const std::vector<Frame> subscribe = gateway.RequestsOf(ZVM_POOL_SUBSCRIBE);
    ASSERT_EQ(subscribe.size(), 1u);
    EXPECT_EQ(subscribe[0].sender, 0);
    EXPECT_EQ(IntsOf(subscribe[0]), (std::vector<int32_t>{0, sink}));
    const std::vector<Frame> status = gateway.RequestsOf(ZVM_POOL_GETSTATUSQ);
    EXPECT_EQ(status[0].sender, sink);
    EXPECT_EQ(IntsOf(status[0]), (std::vector<int32_t>{0}));
    WaitForStatus();
    EXPECT_FALSE(page->IsStatusShown());
    EXPECT_TRUE(page->GetTabWindow()->IsEnabled());

    Close();
    Frame unsubscribe;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_UNSUBSCRIBE, &unsubscribe));
    EXPECT_EQ(IntsOf(unsubscribe), (std::vector<int32_t>{0, sink}));
}

TEST_F(PoolPageTest, TheBoxNamesTheLinkStateAndTheTabWindowFollowsIt) {
    Build();
    WaitForStatus();
    struct Case {
        int32_t link;
        bool shown;
        const char* text;
        COLORREF colour;
    } cases[] = {
        {2, true, "Talking to Marquel...", 0xFF0000},
        {3, true, "Service Mode", 0x00FF00},
        {0, true, "Connecting To Marquel...", 0x0000FF},
        {1, false, nullptr, 255},
    };
    for (const Case& c : cases) {
        PushLinkState(c.link);
        EXPECT_EQ(page->IsStatusShown() != 0, c.shown) << c.link;
        if (c.text) EXPECT_EQ(std::string(page->GetStatusText().GetAnsi()), c.text) << c.link;
        EXPECT_EQ(page->GetStatusColour(), c.colour) << c.link;
        EXPECT_EQ(page->GetTabWindow()->IsEnabled() != 0, !c.shown) << c.link;
    }
}

TEST_F(PoolPageTest, AnUnchangedLinkStateChangesNothing) {
    Build();
    WaitForStatus();
    PushLinkState(2);
    page->GetTabWindow()->Enable(1, 0);
    PushLinkState(2);
    EXPECT_TRUE(page->IsStatusShown());
    EXPECT_TRUE(page->GetTabWindow()->IsEnabled());
}

TEST_F(PoolPageTest, HistoryAsksNoStatusYetFollowsTheLinkState) {
    Build();
    WaitForStatus();
    PushLinkState(2);
    const size_t asked = gateway.RequestsOf(ZVM_POOL_GETSTATUSQ).size();
    page->OnCommand(CPoolControlPage::kHistoryTab);
    ASSERT_NE(page->GetTabWindow(), nullptr);
    EXPECT_EQ(page->GetStatusWindow(), nullptr);
    EXPECT_FALSE(page->IsStatusShown());
    EXPECT_TRUE(page->GetTabWindow()->IsEnabled());
    PushLinkState(3);
    EXPECT_TRUE(page->IsStatusShown());
    EXPECT_FALSE(page->GetTabWindow()->IsEnabled());
    PushLinkState(1);
    EXPECT_FALSE(page->IsStatusShown());
    EXPECT_TRUE(page->GetTabWindow()->IsEnabled());
    EXPECT_EQ(gateway.RequestsOf(ZVM_POOL_GETSTATUSQ).size(), asked);
}

TEST_F(PoolPageTest, AnIdThatNamesNoTabAsksTheStatusAgain) {
    Build();
    WaitForStatus();
    CZVWindow* shown = page->GetTabWindow();
    const size_t asked = gateway.RequestsOf(ZVM_POOL_GETSTATUSQ).size();
    page->OnCommand(4242);
    ASSERT_TRUE(PollUntil([&] { return gateway.RequestsOf(ZVM_POOL_GETSTATUSQ).size() == asked + 1; }));
    EXPECT_EQ(page->GetTabWindow(), shown);
}

TEST_F(PoolPageTest, InnerIdsThatShareTabNumbersChangeNoTab) {
    samplegateway::House house = testsupport::SampleHouse();
    std::vector<std::vector<samplegateway::Value>> circuits = {
        {int64_t{505}, std::string("Pool"), int64_t{2}, int64_t{2}, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0},
         int64_t{0}, int64_t{6}, int64_t{720}, int64_t{0}, int64_t{0}},
        {int64_t{510}, std::string("Aux 2"), int64_t{4}, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0},
         int64_t{0}, int64_t{11}, int64_t{720}, int64_t{0}, int64_t{0}}};
    for (int i = 0; i < 25; ++i)
        circuits.push_back({int64_t{600 + i}, "F" + std::to_string(i), int64_t{0}, int64_t{0}, int64_t{2}, int64_t{0},
                            int64_t{0}, int64_t{0}, int64_t{0}, int64_t{50 + i}, int64_t{720}, int64_t{0}, int64_t{0}});
    ASSERT_TRUE(house.SetList("tablet_circuits", circuits));
    Serve(house);
    Build();
    WaitForStatus();
    CZVWindow* shown = page->GetTabWindow();
    CPoolCircuitPage* features = Main()->GetFeaturePage();
    ASSERT_NE(features, nullptr);
    features->GetNext()->OnCommand(CPoolCircuitPage::kNextId);
    EXPECT_EQ(features->GetFirstIndex(), 20);
    CPoolHeatPage* heat = Main()->GetHeatPanel(0);
    ASSERT_NE(heat, nullptr);
    heat->GetArrow(CPoolHeatPage::kUpId)->OnCommand(CPoolHeatPage::kUpId);
    heat->GetModeButton(CPoolHeatPage::kModeHeat)->OnCommand(CPoolHeatPage::kHeatId);
    EXPECT_EQ(page->GetTabWindow(), shown);
    EXPECT_EQ(Tabs()->GetSelectedIndex(), 0);
}

TEST_F(PoolPageTest, WritesComeBackAsTheGatewaysStatus) {
    Build();
    WaitForStatus();
    CPoolMainPage* main = Main();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(main->GetHeatPanel(0), nullptr);
    ASSERT_NE(main->GetHeatPanel(1), nullptr);  // the spa light makes the spa's panel

    // A feature switched on: 0x30F2 goes out, and the pushed status keeps it on.
    CPoolCircuitPage* features = main->GetFeaturePage();
    ASSERT_NE(features, nullptr);
    CZVCheckButton* jets = nullptr;
    CPoolCircuit* circuit = nullptr;
    for (int i = 0; i < features->GetShown().GetCount(); ++i) {
        CZVCheckButton* button = features->GetShown().GetButton(i);
        if (std::string(button->GetText().GetAnsi()) == "Jets") jets = button;
    }
    ASSERT_NE(jets, nullptr);
    circuit = features->GetShown().FindByCommand(jets->GetCommandId());
    jets->SetCheck(1, 0, 0);
    jets->OnCommand(jets->GetCommandId());
    Frame set;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SETCIRCUIT, &set));
    EXPECT_EQ(IntsOf(set), (std::vector<int32_t>{0, 540, 1}));
    circuit->state = 0;  // only the gateway's push can put it back
    ASSERT_TRUE(PollUntil([&] { return circuit->state == 1; }));
    EXPECT_TRUE(jets->GetCheck());

    // The pool's set point one up, and the spa heated.
    main->GetHeatPanel(0)->GetArrow(CPoolHeatPage::kUpId)->OnCommand(CPoolHeatPage::kUpId);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SETSETPOINT, &set));
    EXPECT_EQ(IntsOf(set), (std::vector<int32_t>{0, 0, 83}));
    ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetBody(0)->setPoint == 83; }));
    main->GetHeatPanel(1)->GetModeButton(CPoolHeatPage::kModeHeat)->OnCommand(CPoolHeatPage::kHeatId);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SETHEATMODE, &set));
    EXPECT_EQ(IntsOf(set), (std::vector<int32_t>{0, 1, 3}));
    ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetBody(1)->heatMode == 3; }));
    EXPECT_TRUE(main->GetHeatPanel(1)->GetModeButton(CPoolHeatPage::kModeHeat)->GetCheck());
}

TEST_F(PoolPageTest, RunTimesAreStoredWithoutSendingAnything) {
    Build();
    WaitForStatus();
    const size_t sent = gateway.Requests().size();
    struct Case {
        int32_t id, minutes;
        uint16_t stored;  // Jets' run time afterwards
    } cases[] = {
        {540, 60, 60},    {999, 30, 60},  // no such circuit
        {540, 70000, 60},                 // beyond what a run time holds
        {540, -5, 60},    {540, 720, 720},
    };
    for (const Case& c : cases) {
        gateway.Push(ZVM_POOL_RUNTIMECHANGED, testsupport::PayloadWriter().Int(c.id).Int(c.minutes), page->GetId());
        gateway.Push(ZVM_POOL_STATUSCHANGED, testsupport::SampleStatus(1, 70 + static_cast<int32_t>(pushes)),
                     page->GetId());  // a marker that the notice before it was handled
        ++pushes;
        ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetAirTemp() == 69 + static_cast<int32_t>(pushes); }));
        EXPECT_EQ(page->GetModel()->FindCircuitById(540)->runTime, c.stored) << c.id << " " << c.minutes;
    }
    EXPECT_EQ(gateway.Requests().size(), sent);
}

TEST_F(PoolPageTest, ALoadThatFailsIsRetriedLessAndLessOftenUntilItLoads) {
    const samplegateway::House house = testsupport::SampleHouse();
    std::atomic<int> silent = 6;  // the first loads get no answer
    gateway.On(ZVM_POOL_GETCONFIGQ, [&](const Frame& request) {
        return silent.fetch_sub(1) > 0 ? std::vector<Frame>{} : house.Respond(request);
    });
    Build();
    ASSERT_FALSE(page->GetModel()->IsLoaded());
    EXPECT_EQ(Tabs()->GetTabCount(), 5);  // the flags of a model that did not load
    EXPECT_EQ(page->GetTimerInterval(), 2000);
    // A status for the page while it has no model of its own: nothing reaches a freed window.
    std::vector<int> intervals;
    for (int retry = 0; retry < 5; ++retry) {
        page->OnTimer();
        EXPECT_EQ(page->GetTabWindow(), nullptr);
        EXPECT_EQ(page->GetStatusWindow(), nullptr);
        PushLinkState(0);
        intervals.push_back(page->GetTimerInterval());
    }
    EXPECT_EQ(intervals, (std::vector<int>{4000, 8000, 16000, 32000, 60000}));
    page->OnTimer();
    ASSERT_TRUE(page->GetModel()->IsLoaded());
    EXPECT_EQ(page->GetTimerInterval(), 0);
    EXPECT_EQ(page->GetRetryInterval(), CPoolControlPage::kFirstRetry);
    ASSERT_NE(Main(), nullptr);
    EXPECT_NE(Main()->GetHeatPanel(0), nullptr);
    PushLinkState(1);
    EXPECT_FALSE(page->IsStatusShown());
}

}  // namespace
