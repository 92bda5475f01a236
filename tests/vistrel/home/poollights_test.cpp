// The pool page's Lights tab: its layout by the controller's equipment, the
// colour-light commands and their progress, the level rows of the lights,
// and the colour set and swim delay set-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poollights.h"
#include "vistrel/home/pool/poollightsetup.h"
#include "vistrel/home/pool/poolstagselwnd.h"
#include "vistrel/media/advlbitem/advlbitem.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/lists/textlist.h"
#include "widgets/tabs/trregion.h"

namespace {

using pooltest::Circuit;

// Lights: a dimmer, a quarter dimmer and a switched light in group 4, colour lights in group 3.
ConfigFixture Lights(uint32_t equipment, int32_t features, int colourLights = 2) {
    ConfigFixture config;
    config.equipmentFlags = equipment;
    config.trailing = features;
    config.circuits = {Circuit(700, "Pool Dimmer", 8, 4), Circuit(701, "Step Lights", 18, 4),
                       Circuit(702, "Pool Light", 7, 4)};
    for (int i = 0; i < colourLights; ++i) {
        CircuitFixture light = Circuit(710 + i, "Colour " + std::to_string(i), 11, 3);
        light.colorPosition = static_cast<uint8_t>(colourLights - i);
        config.circuits.push_back(light);
    }
    config.colors = {{"White", 0xFFFFFF}, {"Light Green", 0x00FF00}, {"Blue", 0xFF0000}, {"Deep Magenta", 0xC800C8}};
    return config;
}

class LightsTest : public pooltest::PoolTest {
protected:
    CColorLightsPage* Page(CBasinSetup& model) {
        return Adopt(new CColorLightsPage(window.get(), CZVRect(10, 10, 780, 560), &model));
    }
    static int ShownCommands(CColorLightsPage& page) {
        int shown = 0;
        for (int i = 0; i < CColorLightsPage::kCommandCount; ++i)
            if (CZVCheckButton* button = page.GetCommandButton(i)) shown += button->IsShown() ? 1 : 0;
        return shown;
    }
    testsupport::Image565 Screen() {
        window->PaintAll();
        return testsupport::ImageOf(*window->GetScreen());
    }
};

TEST_F(LightsTest, TheLayoutFollowsTheEquipment) {
    struct Case {
        uint32_t equipment;
        int32_t features;
        int tabs;
        int lowerHeight;  // 0: none
        int commands;
        bool tabbedLower;
    };
    const Case cases[] = {
        {0x08, 0x02, 3, 157, 18, true},
        {0x00, 0x01, 1, 75, 5, false},
        {0x808, 0x03, 3, 0, 0, false},
    };
    for (const Case& c : cases) {
        auto model = Model(Lights(c.equipment, c.features));
        CColorLightsPage* page = Page(*model);
        EXPECT_EQ(page->GetUpper()->GetTabs()->GetTabCount(), c.tabs) << c.equipment;
        EXPECT_EQ(page->GetLower() ? page->GetLower()->GetHeight() : 0, c.lowerHeight) << c.equipment;
        EXPECT_EQ(dynamic_cast<CTRRegion*>(page->GetLower()) != nullptr, c.tabbedLower) << c.equipment;
        int commands = 0;
        for (int i = 0; i < CColorLightsPage::kCommandCount; ++i) commands += page->GetCommandButton(i) ? 1 : 0;
        EXPECT_EQ(commands, c.commands) << c.equipment;
        EXPECT_EQ(ShownCommands(*page), std::min(c.commands, 5)) << c.equipment;
        EXPECT_NE(dynamic_cast<CPoolDimmerPopup*>(page->GetPanel()), nullptr);
        window->RemoveChild(page);
        delete page;
    }
}

TEST_F(LightsTest, GlaviroShowsThirteenButtonsInTwoRowsInPlaceOfTheFirstFive) {
    auto model = Model(Lights(0x08, 0x02));
    CColorLightsPage* page = Page(*model);
    EXPECT_TRUE(page->OnCommand(CColorLightsPage::kGlaviroPage));
    EXPECT_EQ(ShownCommands(*page), 13);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(page->GetCommandButton(i)->IsShown());
    EXPECT_EQ(page->GetCommandButton(5)->GetY(), page->GetCommandButton(10)->GetY());
    EXPECT_EQ(page->GetCommandButton(11)->GetY(), page->GetCommandButton(17)->GetY());
    EXPECT_GT(page->GetCommandButton(11)->GetY(), page->GetCommandButton(5)->GetY());
    EXPECT_EQ(std::string(page->GetCommandButton(15)->GetText().GetAnsi()), "Red");
    EXPECT_EQ(page->GetCommandButton(15)->GetTextColor(), 0x0A0A0Au);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "pool_lights"));
}

TEST_F(LightsTest, ACommandGoesToTheGatewayAndClearsEveryCheck) {
    auto model = Model(Lights(0x08, 0x02));
    CColorLightsPage* page = Page(*model);
    page->GetCommandButton(3)->SetCheck(1, 0, 0);
    EXPECT_TRUE(page->OnCommand(CColorLightsPage::kFirstCommandId + 3));
    EXPECT_EQ(Sent(ZVM_POOL_LIGHTCOMMAND), (std::vector<std::vector<int32_t>>{{0, 3}}));
    EXPECT_EQ(page->GetCommandButton(3)->GetCheck(), 0);
}

TEST_F(LightsTest, ProgressBlinksTheRunningCommandAndFillsTheBar) {
    struct Case {
        int command, progress, total;
        int blinking;  // -1: none
        int level;
    };
    const Case cases[] = {
        {3, 5, 20, 3, 25}, {1, 0, 0, -1, 0},  {40, 1, 2, -1, 50},  {18, 1, 1, -1, 100},
        {4, 7, 0, 4, 0},   {2, -5, 20, 2, 0}, {-3, 5, 20, -1, 25},
    };
    auto model = Model(Lights(0x08, 0x02));
    CColorLightsPage* page = Page(*model);
    for (const Case& c : cases) {
        page->OnSubPageUpdate("Synchronizing...", c.command, c.progress, c.total);
        for (int i = 0; i < CColorLightsPage::kCommandCount; ++i)
            EXPECT_EQ(page->GetCommandButton(i)->IsBlinking(), i == c.blinking) << c.command << " " << i;
        EXPECT_EQ(page->GetLevelBar()->GetLevel(), c.level) << c.command;
        EXPECT_EQ(std::string(page->GetLevelBar()->GetText().GetAnsi()), "Synchronizing...");
    }
    auto plain = Model(Lights(0x800, 0x01));
    CColorLightsPage* bare = Page(*plain);
    bare->OnSubPageUpdate("Synchronizing...", 3, 5, 20);  // nothing to show
    EXPECT_EQ(bare->GetLevelBar(), nullptr);
}

// ---- the level rows

TEST(DimmerRowsTest, LevelsAndMarksFollowTheFunction) {
    struct Level {
        int id, level;
    };
    for (const Level& l : {Level{1000, 0}, Level{1001, 1}, Level{1003, 30}, Level{1006, 60}, Level{1010, 100},
                           Level{1011, 25}, Level{1012, 75}, Level{1002, -1}, Level{1013, -1}})
        EXPECT_EQ(CPoolDimmerPopup::LevelOf(l.id), l.level) << l.id;
    struct Mark {
        int function, state, index;
    };
    for (const Mark& m :
         {Mark{8, 60, 4}, Mark{8, 100, 0}, Mark{8, 0, 8}, Mark{8, 30, 7}, Mark{8, 10, 9}, Mark{8, 101, -1},
          Mark{18, 75, 1}, Mark{18, 40, 4}, Mark{18, 0, 4}, Mark{7, 1, 0}, Mark{7, 0, 1}})
        EXPECT_EQ(CPoolDimmerPopup::MarkedIndex(m.function, m.state), m.index) << m.function << " " << m.state;
}

TEST_F(LightsTest, EachLightGetsTheButtonsOfItsFunctionAndALevelPressGoesOut) {
    StatusFixture status;
    status.circuits = {{700, 60, 0, 0, 0, 0}, {701, 40, 0, 0, 0, 0}, {702, 1, 0, 0, 0, 0}};
    auto model = Model(Lights(0x08, 0x02), &status);
    auto* popup = Adopt(new CPoolDimmerPopup(window.get(), CZVRect(0, 0, 700, 400), model.get()));
    popup->OnStatusUpdate();
    ASSERT_EQ(popup->GetList()->GetCount(), 5);  // group 4, then group 3
    struct Row {
        int count, width;
        int marked;
    };
    const Row rows[] = {{9, 40, 4}, {5, 72, 4}, {2, 180, 0}};
    for (int i = 0; i < 3; ++i) {
        CAdvLBItem* row = popup->GetRow(i);
        ASSERT_EQ(row->GetSubItemCount(), rows[i].count) << i;
        EXPECT_EQ(row->GetSubItem(0).width, rows[i].width) << i;
        for (int k = 0; k < row->GetSubItemCount(); ++k) EXPECT_EQ(row->GetSubItem(k).chosen, k == rows[i].marked);
    }
    EXPECT_EQ(std::string(CZVString(popup->GetRow(0)->GetSubItem(4).caption).GetAnsi()), "60%");
    EXPECT_EQ(std::string(CZVString(popup->GetRow(1)->GetSubItem(4).caption).GetAnsi()), "Off");

    EXPECT_TRUE(popup->OnCommand(1003));  // no row chosen: nothing
    EXPECT_TRUE(Sent(ZVM_POOL_SETCIRCUIT).empty());
    popup->GetList()->SelectIndex(0, 0);
    EXPECT_TRUE(popup->OnCommand(1003));
    EXPECT_EQ(Sent(ZVM_POOL_SETCIRCUIT), (std::vector<std::vector<int32_t>>{{0, 700, 30}}));
    EXPECT_EQ(model->FindCircuitById(700)->state, 30);
    EXPECT_EQ(popup->GetRow(0)->GetSubItem(7).chosen, 1);
}

TEST_F(LightsTest, ManyLightsTakeSmallerRows) {
    for (const auto& [count, height] : {std::pair{20, 28}, std::pair{19, 40}}) {
        ConfigFixture config = Lights(0x08, 0x02, 0);
        config.circuits.clear();
        for (int i = 0; i < count; ++i) config.circuits.push_back(Circuit(800 + i, "L" + std::to_string(i), 7, 4));
        auto model = Model(config);
        CPoolDimmerPopup popup(window.get(), CZVRect(0, 0, 700, 400), model.get());
        EXPECT_EQ(popup.GetList()->GetRowHeight(), height) << count;
    }
}

// ---- the set-up

TEST_F(LightsTest, LoadDefaultsSetsTheDelaysAndSendsEachLight) {
    auto model = Model(Lights(0x08, 0x02, 4));
    auto* list = Adopt(new CPoolLightList(window.get(), CZVRect(0, 0, 700, 400), model.get(), 0));
    ASSERT_EQ(list->GetRowCount(), 4);
    EXPECT_TRUE(list->OnCommand(CPoolLightList::kLoadDefaultsId));
    std::vector<int> delays, starts;
    for (int i = 0; i < 4; ++i) {
        delays.push_back(list->GetRow(i)->GetCircuit()->colorStagger);
        starts.push_back(list->GetRow(i)->GetSelector()->GetStart());
    }
    EXPECT_EQ(delays, (std::vector<int>{0, 10, 10, 10}));
    EXPECT_EQ(starts, (std::vector<int>{0, 0, 10, 20}));
    EXPECT_EQ(Sent(ZVM_POOL_SETLIGHTCOLOR).size(), 4u);
}

TEST_F(LightsTest, TheArrowsStepTheDelayWrappingAndSendItOnRelease) {
    for (const auto& [delay, steps, expected] :
         {std::tuple{0, -1, 118}, std::tuple{118, 1, 120}, std::tuple{120, 1, 2}, std::tuple{10, -40, 50}})
        EXPECT_EQ(CPoolStagSelWnd::StepDelay(delay, steps), expected) << delay << " " << steps;
    auto model = Model(Lights(0x08, 0x02, 2));
    auto* list = Adopt(new CPoolLightList(window.get(), CZVRect(0, 0, 700, 400), model.get(), 0));
    CPoolStagSelWnd* first = list->GetRow(0)->GetSelector();
    first->OnChildCommand(CPoolStagSelWnd::kLeftId, 1);
    EXPECT_EQ(std::string(first->GetDelayText().GetAnsi()), "Delay 59 Seconds");
    EXPECT_EQ(list->GetRow(1)->GetSelector()->GetStart(), 118);  // the row below follows
    EXPECT_TRUE(Sent(ZVM_POOL_SETLIGHTCOLOR).empty());
    first->OnChildCommand(CPoolStagSelWnd::kReleaseId, 1);
    const int32_t id = list->GetRow(0)->GetCircuit()->circuitId;
    EXPECT_EQ(Sent(ZVM_POOL_SETLIGHTCOLOR), (std::vector<std::vector<int32_t>>{{0, id, 0, 1, 118}}));
}

TEST_F(LightsTest, TheSetUpPanelsLookRight) {
    auto model = Model(Lights(0x08, 0x02, 3));
    CColorLightsPage* page = Page(*model);
    model->FindCircuitById(711)->colorSet = 1;
    model->FindCircuitById(710)->colorStagger = 10;
    page->OnCommand(CColorLightsPage::kColorSetPanel);
    ASSERT_NE(dynamic_cast<CPoolLightList*>(page->GetPanel()), nullptr);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "pool_color_set"));
    page->OnCommand(CColorLightsPage::kSwimPanel);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "pool_swim_colors"));
}

TEST_F(LightsTest, ManyLightsScrollAndRowsFollowTheModelsSort) {
    auto many = Model(Lights(0x08, 0x02, 9));
    auto* scrolling = Adopt(new CPoolLightList(window.get(), CZVRect(0, 0, 700, 500), many.get(), 1));
    EXPECT_NE(scrolling->GetScrollPanel(), nullptr);  // pitch 52
    window->RemoveChild(scrolling);
    delete scrolling;

    ConfigFixture config = Lights(0x08, 0x02, 3);
    for (CircuitFixture& c : config.circuits) c.colorPosition = c.id == 712 ? 0 : 4;
    auto model = Model(config);
    CZVObList sorted;
    model->GetCircuitsByInterface(sorted, 3);
    CBasinSetup::SortCircuits(sorted);
    auto* list = Adopt(new CPoolLightList(window.get(), CZVRect(0, 0, 700, 500), model.get(), 1));
    EXPECT_EQ(list->GetScrollPanel(), nullptr);
    ASSERT_EQ(list->GetRowCount(), 3);
    int i = 0;
    for (ZVPOSITION pos = sorted.GetHeadPosition(); pos; ++i)
        EXPECT_EQ(list->GetRow(i)->GetCircuit(), sorted.GetNext(pos)) << i;
    EXPECT_EQ(list->GetRow(0)->GetCircuit()->circuitId, 712);
}

TEST_F(LightsTest, SwatchesChooseTheColourSet) {
    auto model = Model(Lights(0x08, 0x02, 2));
    auto* list = Adopt(new CPoolLightList(window.get(), CZVRect(0, 0, 760, 400), model.get(), 1));
    CPoolColorSwatches* swatches = list->GetRow(0)->GetSwatches();
    ASSERT_EQ(swatches->GetButtons().GetCount(), 4);
    auto* deep = static_cast<CZVCheckButton*>(swatches->GetButtons().GetAt(swatches->GetButtons().FindIndex(3)));
    EXPECT_EQ(std::string(deep->GetText().GetAnsi()), "Deep\nMagenta");
    EXPECT_TRUE(swatches->OnCommand(CPoolColorSwatches::kFirstId + 3));
    EXPECT_EQ(list->GetRow(0)->GetCircuit()->colorSet, 3);
    EXPECT_EQ(deep->GetCheck(), 1);
    EXPECT_EQ(Sent(ZVM_POOL_SETLIGHTCOLOR).size(), 1u);
}

TEST(GradientColorTest, BlendsAlongTheStripAndTakesColoursAsTheyAreWhenNarrow) {
    const std::vector<COLORREF> two = {0x000000, 0xFFFFFF};
    struct Case {
        int x, w;
        std::vector<COLORREF> colors;
        COLORREF expected;
    };
    const Case cases[] = {
        {0, 100, two, 0x000000},
        {25, 100, two, MixColors(0x000000, 0xFFFFFF, 0.5)},
        {50, 100, two, 0xFFFFFF},
        {75, 100, two, MixColors(0xFFFFFF, 0x000000, 0.5)},
        {0, 1, two, 0x000000},
        {1, 3, {1, 2, 3, 4, 5}, 2},
        {2, 3, {1, 2, 3, 4, 5}, 4},
        {5, 0, two, 0},
        {3, 10, {}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPoolStagSelWnd::GradientColor(c.x, c.w, c.colors), c.expected) << c.x << " " << c.w;
}

}  // namespace
