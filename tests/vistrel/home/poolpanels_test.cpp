// The panels of the pool page's Main tab: the feature page's pages of
// twenty, the heat panel's set-point steps, heat modes and indicators, and
// the circuit buttons of both.
#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "vistrel/home/pool/poolheat.h"
#include "vistrel/home/pool/poolmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using pooltest::Circuit;

ConfigFixture Features(int count) {
    ConfigFixture config;
    config.circuits.clear();
    for (int i = 0; i < count; ++i) config.circuits.push_back(Circuit(600 + i, "F" + std::to_string(i), 0, 2));
    return config;
}

class FeaturePageTest : public pooltest::PoolTest {
protected:
    CPoolCircuitPage* Build(CBasinSetup& model) {
        CZVObList features;
        model.GetCircuitsByInterface(features, 2);
        return Adopt(new CPoolCircuitPage(window.get(), CZVRect(0, 0, 700, 200), &model, features));
    }
    static std::vector<int> Ids(const CPoolCircuitPage& page) {
        std::vector<int> ids;
        for (int i = 0; i < page.GetShown().GetCount(); ++i)
            ids.push_back(page.GetShown().GetButton(i)->GetCommandId());
        return ids;
    }
};

TEST_F(FeaturePageTest, TwentyToAPageWithArrowsToTheOthers) {
    auto model = Model(Features(23));
    CPoolCircuitPage* page = Build(*model);
    ASSERT_EQ(page->GetShown().GetCount(), 20);
    CZVCheckButton* first = page->GetShown().GetButton(0);
    CZVCheckButton* sixth = page->GetShown().GetButton(5);
    EXPECT_EQ(sixth->GetX(), first->GetX());  // 5 columns
    EXPECT_GT(sixth->GetY(), first->GetY());
    EXPECT_EQ(page->GetShown().GetButton(19)->GetY(), page->GetShown().GetButton(15)->GetY());  // 4 rows
    EXPECT_TRUE(page->GetNext()->IsShown());
    EXPECT_FALSE(page->GetPrevious()->IsShown());

    page->GetNext()->OnCommand(CPoolCircuitPage::kNextId);
    EXPECT_EQ(page->GetFirstIndex(), 20);
    EXPECT_EQ(Ids(*page), (std::vector<int>{1400, 1401, 1402}));
    EXPECT_EQ(page->GetShown().GetButton(2)->GetY(), page->GetShown().GetButton(0)->GetY());  // one row
    EXPECT_FALSE(page->GetNext()->IsShown());
    EXPECT_TRUE(page->GetPrevious()->IsShown());
    page->Show(1, 0);  // the hidden arrow stays hidden
    EXPECT_FALSE(page->GetNext()->IsShown());

    page->GetPrevious()->OnCommand(CPoolCircuitPage::kPreviousId);
    EXPECT_EQ(page->GetShown().GetCount(), 20);
    EXPECT_TRUE(page->GetNext()->IsShown());
}

TEST_F(FeaturePageTest, FewFeaturesKeepTheirButtonsNarrow) {
    auto model = Model(Features(3));
    CPoolCircuitPage* page = Build(*model);
    ASSERT_EQ(page->GetShown().GetCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_LE(page->GetShown().GetButton(i)->GetWidth(), 223);
    EXPECT_FALSE(page->GetNext()->IsShown());
    EXPECT_FALSE(page->GetPrevious()->IsShown());
}

TEST_F(FeaturePageTest, AButtonSwitchesItsCircuitAndFollowsTheStatus) {
    auto model = Model(Features(3));
    CPoolCircuitPage* page = Build(*model);
    CZVCheckButton* button = page->GetShown().GetButton(1);
    button->SetCheck(1, 0, 0);  // as a touch leaves it
    button->OnCommand(button->GetCommandId());
    EXPECT_EQ(Sent(ZVM_POOL_SETCIRCUIT), (std::vector<std::vector<int32_t>>{{0, 601, 1}}));
    EXPECT_EQ(model->FindCircuitById(601)->state, 1);

    StatusFixture status;
    status.circuits = {{600, 1, 0, 0, 0, 0}, {601, 0, 0, 0, 0, 0}};
    model->ReadStatus(*StatusMessage(status));
    page->UpdateButtons(0);
    EXPECT_TRUE(page->GetShown().GetButton(0)->GetCheck());
    EXPECT_FALSE(button->GetCheck());
}

TEST_F(FeaturePageTest, ACircuitWithItsDelayBlinks) {
    StatusFixture status;
    status.circuits = {{600, 1, 0, 0, 0, 1}, {601, 1, 0, 0, 0, 0}};
    auto model = Model(Features(2), &status);
    CPoolCircuitPage* page = Build(*model);
    page->UpdateButtons(0);
    std::vector<int> delayed, steady;
    for (int step = 0; step < 4; ++step) {
        page->OnTimer();
        delayed.push_back(page->GetShown().GetButton(0)->GetCheck());
        steady.push_back(page->GetShown().GetButton(1)->GetCheck());
    }
    EXPECT_EQ(delayed, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(steady, (std::vector<int>{1, 1, 1, 1}));
}

TEST_F(FeaturePageTest, ABodyWithOnlyItsOwnCircuitGetsNoPanel) {
    ConfigFixture config;
    config.circuits = {Circuit(501, "Pool", 2, 0), Circuit(500, "Spa", 1, 1), Circuit(502, "Spa Light", 7, 1),
                       Circuit(503, "Jets", 0, 2)};
    auto model = Model(config);
    auto* main = Adopt(new CPoolMainPage(window.get(), CZVRect(100, 0, 700, 550), model.get()));
    EXPECT_EQ(main->GetHeatPanel(0), nullptr);
    ASSERT_NE(main->GetHeatPanel(1), nullptr);
    EXPECT_EQ(main->GetHeatPanel(1)->GetY(), 0);  // the spa's panel at the top
    ASSERT_NE(main->GetFeaturePage(), nullptr);
    EXPECT_EQ(main->GetFeaturePage()->GetShown().GetCount(), 1);
    EXPECT_EQ(main->GetFeaturePage()->GetY() + main->GetFeaturePage()->GetHeight(), 551);
}

class HeatPanelTest : public pooltest::PoolTest {
protected:
    // Body 0 of a configuration with count pool-side circuits besides the pool.
    CPoolHeatPage* Build(CBasinSetup& model, int larger = 0) {
        CZVObList side;
        model.GetCircuitsByInterface(side, 0);
        CBasinSetup::RemoveByFunction(side, 2);
        return Adopt(new CPoolHeatPage(window.get(), CZVRect(0, 0, 750, 200), &model, 0, model.GetBody0Name(), side,
                                       larger ? larger : side.GetCount()));
    }
    static ConfigFixture Pool(uint32_t equipment, int sideCircuits = 1) {
        ConfigFixture config;
        config.equipmentFlags = equipment;
        config.setPoints = {40, 90, 50, 104};
        config.circuits = {Circuit(501, "Pool", 2, 0)};
        for (int i = 0; i < sideCircuits; ++i)
            config.circuits.push_back(Circuit(510 + i, "S" + std::to_string(i), 0, 0));
        return config;
    }
    static StatusFixture At(int32_t setPoint, int32_t heatStatus = 0, int32_t mode = 0) {
        StatusFixture status;
        status.bodies = {{0, 80, heatStatus, setPoint, 0, mode}};
        return status;
    }
    static std::string Text(CZVLabel* label) { return label->GetText().GetAnsi(); }
    void Press(CZVButton* button) {
        clock.Advance(1000);  // no click just before
        button->OnLButtonDown(button->ToRootX(5), button->ToRootY(5), 0);
    }
};

TEST_F(HeatPanelTest, ArrowsStepWithinTheLimitsAndSendEachStep) {
    auto model = Model(Pool(0));
    CPoolHeatPage* panel = Build(*model);
    panel->GetArrow(CPoolHeatPage::kUpId)->OnCommand(CPoolHeatPage::kUpId);
    EXPECT_TRUE(Sent(ZVM_POOL_SETSETPOINT).empty());  // no status yet: no set point to step

    struct Case {
        int32_t start;
        int id;
        std::vector<std::vector<int32_t>> sent;
        const char* shown;
    } cases[] = {
        {90, CPoolHeatPage::kUpId, {}, "90 F"},  // at the maximum
        {90, CPoolHeatPage::kDownId, {{0, 0, 89}}, "89 F"},
        {40, CPoolHeatPage::kDownId, {}, "40 F"},  // at the minimum
        {40, CPoolHeatPage::kUpId, {{0, 0, 41}}, "41 F"},
    };
    for (const Case& c : cases) {
        link.sent.clear();
        panel->UpdateFromStatus(80, 0, c.start, 0);
        panel->GetArrow(c.id)->OnCommand(c.id);
        EXPECT_EQ(Sent(ZVM_POOL_SETSETPOINT), c.sent) << c.start << " " << c.id;
        EXPECT_EQ(Text(panel->GetSetPointLabel()), c.shown) << c.start << " " << c.id;
    }
}

TEST_F(HeatPanelTest, AHeldArrowSendsOneStepPerRepeatAndAStatusKeepsTheLabels) {
    auto model = Model(Pool(0));
    CPoolHeatPage* panel = Build(*model);
    panel->UpdateFromStatus(80, 0, 60, 0);
    CZV3DButton* down = panel->GetArrow(CPoolHeatPage::kDownId);
    Press(down);
    ASSERT_TRUE(down->IsPressed());
    for (int i = 0; i < 40; ++i) {
        clock.Advance(50);
        window->OnIdle(0);
    }
    const size_t steps = Sent(ZVM_POOL_SETSETPOINT).size();
    EXPECT_GE(steps, 3u);
    EXPECT_EQ(Sent(ZVM_POOL_SETSETPOINT).back()[2], 60 - static_cast<int32_t>(steps));
    const std::string shown = Text(panel->GetSetPointLabel());
    panel->UpdateFromStatus(77, 0, 70, 3);  // while held
    EXPECT_EQ(Text(panel->GetSetPointLabel()), shown);
    EXPECT_EQ(Text(panel->GetTemperatureLabel()), "80 F");
    EXPECT_EQ(panel->GetSetPoint(), 70);
    EXPECT_TRUE(panel->GetModeButton(CPoolHeatPage::kModeHeat)->GetCheck());
}

TEST_F(HeatPanelTest, ModeButtonsAndIndicatorsFollowTheEquipment) {
    struct Case {
        uint32_t equipment;
        std::vector<const char*> modes;  // in the row's order
        const char* third;
    } cases[] = {
        {0x0, {"Off", "Heat"}, nullptr},
        {0x1, {"Off", "Heat", "Solar Pref.", "Solar"}, "Solar"},
        {0x2, {"Off", "Heat", "H.Pump Pref", "H.Pump"}, "H.Pump"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.equipment);
        link = FakeLink();
        auto model = Model(Pool(c.equipment));
        CPoolHeatPage* panel = Build(*model);
        std::vector<CZVCheckButton*> row;
        for (int mode : {CPoolHeatPage::kModeOff, CPoolHeatPage::kModeHeat, CPoolHeatPage::kModeSolarPreferred,
                         CPoolHeatPage::kModeSolar})
            if (CZVCheckButton* button = panel->GetModeButton(mode)) row.push_back(button);
        ASSERT_EQ(row.size(), c.modes.size());
        for (size_t i = 0; i < row.size(); ++i) {
            EXPECT_EQ(std::string(row[i]->GetText().GetAnsi()), c.modes[i]);
            if (i > 0) EXPECT_GT(row[i]->GetX(), row[i - 1]->GetX());
        }
        EXPECT_EQ(panel->GetIndicator(2) ? Text(panel->GetIndicator(2)) : std::string(), c.third ? c.third : "");
        window->RemoveChild(panel);
        delete panel;
    }
}

TEST_F(HeatPanelTest, AModeIsSentAndShown) {
    auto model = Model(Pool(0x1));
    CPoolHeatPage* panel = Build(*model);
    CZVCheckButton* solar = panel->GetModeButton(CPoolHeatPage::kModeSolar);
    solar->OnCommand(solar->GetCommandId());
    EXPECT_EQ(Sent(ZVM_POOL_SETHEATMODE), (std::vector<std::vector<int32_t>>{{0, 0, 1}}));
    EXPECT_TRUE(solar->GetCheck());
    EXPECT_FALSE(panel->GetModeButton(CPoolHeatPage::kModeOff)->GetCheck());
}

TEST_F(HeatPanelTest, StatusTintsItsIndicators) {
    auto model = Model(Pool(0x1));
    CPoolHeatPage* panel = Build(*model);
    const COLORREF face = panel->GetFaceColor();
    struct Case {
        int status;
        COLORREF off, heater, solar;
    } cases[] = {
        {0, MixColors(0xFF0000, face, 0.75), face, face},
        {3, face, MixColors(0x0000FF, face, 0.75), MixColors(0x0064C8, face, 0.75)},
        {1, face, face, MixColors(0x0064C8, face, 0.75)},
    };
    for (const Case& c : cases) {
        panel->ShowHeatStatus(c.status, 0);
        EXPECT_EQ(panel->GetIndicator(0)->GetFaceColor(), c.off) << c.status;
        EXPECT_EQ(panel->GetIndicator(1)->GetFaceColor(), c.heater) << c.status;
        EXPECT_EQ(panel->GetIndicator(2)->GetFaceColor(), c.solar) << c.status;
    }
}

TEST_F(HeatPanelTest, SixCircuitsFormTwoColumnsOfThreeWithoutGaps) {
    StatusFixture status = At(80);
    status.circuits = {{512, 0, 0, 0, 0, 0}};
    auto model = Model(Pool(0, 6), &status);
    CPoolHeatPage* panel = Build(*model);
    const CCircuitButtons& buttons = panel->GetCircuitButtons();
    ASSERT_EQ(buttons.GetCount(), 6);
    EXPECT_EQ(buttons.GetButton(3)->GetY(), buttons.GetButton(0)->GetY());  // second column
    EXPECT_GT(buttons.GetButton(3)->GetX(), buttons.GetButton(0)->GetX());
    EXPECT_EQ(buttons.GetButton(1)->GetY(), buttons.GetButton(0)->GetY() + buttons.GetButton(0)->GetHeight());
    EXPECT_EQ(buttons.GetButton(2)->GetCommandId(), 1402);

    buttons.GetButton(2)->OnCommand(1402);  // switched to the opposite of its state
    EXPECT_EQ(Sent(ZVM_POOL_SETCIRCUIT), (std::vector<std::vector<int32_t>>{{0, 512, 1}}));
}

}  // namespace
