// Wizard steps 3, 4 and 5 on the sample installation.
#include <gtest/gtest.h>

#include "basinsetup/setupitems.h"
#include "basinsetup/step3dlg.h"
#include "basinsetup/step4dlg.h"
#include "basinsetup/step5dlg.h"
#include "step_session.h"

namespace {

using bstest::StepSession;
using testsupport::Bytes;

class ChosenCircuit : public CStep3Sides {
public:
    bool RunSelectCircuit(std::shared_ptr<CBasinSetup>, uint8_t& chosen) override {
        ++runs;
        chosen = code;
        return code != 0;
    }
    uint8_t code = 0;
    int runs = 0;
};

class Step3 : public StepSession {
protected:
    using StepSession::StepSession;
    void Open() {
        step = std::make_unique<CStep3Dlg>(view, sides, model);
        step->OnInitDialog();
    }
    const CDialogControls& Controls() const { return step->Controls(); }

    ChosenCircuit sides;
    std::unique_ptr<CStep3Dlg> step;
};

TEST_F(Step3, LoadsOptionsValvesAndHighSpeedCircuits) {
    Open();
    EXPECT_EQ(Controls().Text(kTitleId), "Configure Other Equipment (Step 3 of 5)");
    EXPECT_EQ(Controls().Texts(IDC_BODY_TABS), std::vector<std::string>{"Pool / Spa"});
    EXPECT_TRUE(Controls().IsChecked(IDC_SOLAR));
    EXPECT_FALSE(Controls().IsChecked(IDC_SOLAR_HEAT_PUMP));
    EXPECT_TRUE(Controls().IsChecked(IDC_COOL_DOWN));
    EXPECT_FALSE(Controls().IsChecked(IDC_PUMP_OFF_VALVE));
    EXPECT_TRUE(Controls().IsChecked(IDC_SPA_MANUAL_HEAT));
    EXPECT_TRUE(Controls().IsChecked(IDC_CHLORINATOR));
    EXPECT_EQ(Controls().Texts(IDC_VALVE_LIST),
              (std::vector<std::string>{"Load Center 1     Valve A:\tUSED BY SOLAR",
                                        "Load Center 1     Valve B:\tAux 1",
                                        "Load Center 1     Valve C:\tPool Heater Active",
                                        "Load Center 2     Valve A:\t[UNUSED]", "Load Center 2     Valve B:\tAux 2"}));
    EXPECT_EQ(Controls().Items(IDC_VALVE_LIST)[2].data, (6 << 16) | 0x82);
    EXPECT_FALSE(Controls().IsEnabled(IDC_VALVE_CIRCUIT));
    const auto circuits = Controls().Texts(IDC_VALVE_CIRCUIT);
    ASSERT_EQ(circuits.size(), 49u + 5u);  // all but the spillway, "[UNUSED]" and four heating codes
    EXPECT_EQ(circuits[49], "[UNUSED]");
    EXPECT_EQ(circuits.back(), "Spa Heater Active");
    EXPECT_EQ(Controls().Texts(IDC_HIGH_SPEED_LIST), (std::vector<std::string>{"Spa", "Pool or Spa Heater Active"}));
    EXPECT_TRUE(Controls().IsEnabled(IDC_ADD_CIRCUIT));
    EXPECT_EQ(Sent(ZVM_POOL_GETCHLORINATORQ).size(), 1u);
}

TEST_F(Step3, ASolarValveIsFreedByTheHeatPumpAndAssignedAtOnce) {
    Open();
    step->Pick(IDC_VALVE_LIST, 0);
    EXPECT_FALSE(Controls().IsEnabled(IDC_VALVE_CIRCUIT));
    step->Check(IDC_SOLAR_HEAT_PUMP, true);
    auto tables = OneTableWrite();
    EXPECT_EQ(tables[4][0], 0x02);
    EXPECT_EQ(tables[4][2], 0x10 | 0x40);  // the sample keeps bit 6 set
    EXPECT_EQ(tables[5][0], 0x01);
    EXPECT_EQ(tables[7][4], 1);
    EXPECT_EQ(Controls().Texts(IDC_VALVE_LIST)[0], "Load Center 1     Valve A:\t[UNUSED]");

    Mark();
    step->Pick(IDC_VALVE_LIST, 1);
    EXPECT_TRUE(Controls().IsEnabled(IDC_VALVE_CIRCUIT));
    EXPECT_EQ(Controls().SelectedData(IDC_VALVE_CIRCUIT, -1), 2);
    step->Pick(IDC_VALVE_CIRCUIT, Row(Controls(), IDC_VALVE_CIRCUIT, "Spa Heater Active"));
    tables = OneTableWrite();
    EXPECT_EQ(tables[2][5], 0x83);
    EXPECT_EQ(Controls().Selection(IDC_VALVE_LIST), 1);
    EXPECT_EQ(Controls().Texts(IDC_VALVE_LIST)[1], "Load Center 1     Valve B:\tSpa Heater Active");

    Mark();
    step->Check(IDC_PUMP_OFF_VALVE, true);
    EXPECT_EQ(OneTableWrite()[5][0], 0x81);
    EXPECT_FALSE(Controls().IsEnabled(IDC_VALVE_CIRCUIT));
}

TEST_F(Step3, HighSpeedCircuitsFillTheFirstFreeSlot) {
    Open();
    sides.code = 6;
    step->Click(IDC_ADD_CIRCUIT);
    EXPECT_EQ(OneTableWrite()[1], (Bytes{1, 0x81, 6, 0, 0, 0, 0, 0}));
    step->Pick(IDC_HIGH_SPEED_LIST, 0);
    Mark();
    step->Click(IDC_REMOVE_CIRCUIT);
    EXPECT_EQ(OneTableWrite()[1], (Bytes{0, 0x81, 6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Controls().Texts(IDC_HIGH_SPEED_LIST), (std::vector<std::string>{"Pool or Spa Heater Active", "Pool"}));
    Mark();
    sides.code = 0;  // cancelled
    step->Click(IDC_ADD_CIRCUIT);
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
}

TEST_F(Step3, TheChlorinatorGoesByItsOwnMessage) {
    Open();
    step->Check(IDC_CHLORINATOR, false);
    EXPECT_EQ(SentInts(ZVM_POOL_SETCHLORINATORENABLEQ), (std::vector<std::vector<int32_t>>{{0, 0}}));
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
    EXPECT_FALSE(Controls().IsChecked(IDC_CHLORINATOR));
    EXPECT_TRUE(view.messages.empty());
}

// A chlorinator setting the gateway does not take is told, and the box
// shows the gateway's setting again.
TEST_F(Step3, ARefusedChlorinatorChangeIsToldAndUndone) {
    Open();
    gateway.On(ZVM_POOL_SETCHLORINATORENABLEQ,
               [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    step->Check(IDC_CHLORINATOR, false);
    EXPECT_TRUE(Controls().IsChecked(IDC_CHLORINATOR));
    EXPECT_EQ(view.messages, std::vector<std::string>{kChangeRefused});
}

// A valve whose stored code the box does not offer (the spillway, function
// 17) shows no circuit rather than the previous valve's.
TEST_F(Step3, AValveWithACodeTheBoxLacksSelectsNothing) {
    model->SetTableByte2(10, 42, 0);  // load centre 2, valve B: the spillway's device
    Open();
    step->Pick(IDC_VALVE_LIST, 1);
    ASSERT_GE(Controls().Selection(IDC_VALVE_CIRCUIT), 0);
    step->Pick(IDC_VALVE_LIST, 4);
    EXPECT_TRUE(Controls().IsEnabled(IDC_VALVE_CIRCUIT));
    EXPECT_EQ(Controls().Selection(IDC_VALVE_CIRCUIT), -1);
}

class TwoBodies : public Step3 {
protected:
    TwoBodies() : Step3(bstest::SampleWithType(5)) {}
};

TEST_F(TwoBodies, EachTabHasItsSolarBitsAndHighSpeedHalf) {
    Open();
    EXPECT_EQ(Controls().Texts(IDC_BODY_TABS), (std::vector<std::string>{"Pool", "Spa"}));
    EXPECT_TRUE(Controls().Texts(IDC_HIGH_SPEED_LIST).empty());  // entries 4 to 7
    step->Pick(IDC_BODY_TABS, 1);
    EXPECT_EQ(Controls().Texts(IDC_HIGH_SPEED_LIST).size(), 2u);  // entries 0 to 3
    EXPECT_FALSE(Controls().IsChecked(IDC_SOLAR));
    step->Check(IDC_SOLAR, true);  // the spa's solar takes valve B
    EXPECT_EQ(OneTableWrite()[4][0], 0x12);
    EXPECT_EQ(Controls().Texts(IDC_VALVE_LIST)[1], "Load Center 1     Valve B:\tUSED BY SOLAR");
    Mark();
    sides.code = 11;
    step->Click(IDC_ADD_CIRCUIT);
    step->Click(IDC_ADD_CIRCUIT);
    EXPECT_EQ(TableWrites().back().tables[1], (Bytes{1, 0x81, 11, 11, 0, 0, 0, 0}));
    EXPECT_FALSE(Controls().IsEnabled(IDC_ADD_CIRCUIT));  // the half is full
    step->Click(IDC_ADD_CIRCUIT);
    EXPECT_EQ(sides.runs, 2);
}

TEST_F(StepSession, SelectCircuitOffersHeatingCodesAndCircuitsSorted) {
    CSelectCircuitDlg select(view, model);
    select.OnInitDialog();
    const CDialogControls& controls = select.Controls();
    EXPECT_EQ(controls.Items(IDC_SELECT_LIST).size(), 6u + 49u);
    EXPECT_EQ(controls.Texts(IDC_SELECT_LIST).front(), "Aux 1");
    EXPECT_FALSE(controls.IsEnabled(IDC_OK));
    select.Click(IDC_OK);
    EXPECT_TRUE(view.ended.empty());
    select.Pick(IDC_SELECT_LIST, Row(controls, IDC_SELECT_LIST, "Freeze Mode Active"));
    select.Click(IDC_OK);
    EXPECT_EQ(select.Chosen(), 0x84);
    EXPECT_EQ(view.ended, std::vector<int>{kDialogOk});
}

class NoFlows : public CStep4Sides {
public:
    void RunFlows(std::shared_ptr<CBasinSetup>, int pump) override { pumps.push_back(pump); }
    std::vector<int> pumps;
};

class Step4 : public StepSession {
protected:
    using StepSession::StepSession;
    void Open() {
        step = std::make_unique<CStep4Dlg>(view, sides, model);
        step->OnInitDialog();
        Mark();
    }
    const CDialogControls& Controls() const { return step->Controls(); }
    Bytes Pump(const std::vector<Bytes>& tables, int pump) const {
        return Bytes(tables[9].begin() + 30 * pump, tables[9].begin() + 30 * pump + 30);
    }
    void StoreWithoutWrite(int index, uint8_t value) { model->SetTableByte9(index, value, 0); }

    NoFlows sides;
    std::unique_ptr<CStep4Dlg> step;
};

TEST_F(Step4, ShowsTheStoredPumps) {
    Open();
    EXPECT_EQ(Controls().Text(kTitleId), "Setup Vortana (Step 4 of 5)");
    EXPECT_EQ(Controls().Items(IDC_PUMP_TABS).size(), 8u);
    EXPECT_EQ(SelectedText(Controls(), IDC_PUMP_TYPE), "Vortana");
    EXPECT_EQ(SelectedText(Controls(), IDC_BACKGROUND), "Pool");
    EXPECT_TRUE(Controls().IsEnabled(IDC_BACKGROUND));
    EXPECT_EQ(SelectedText(Controls(), kPumpCircuitIds[0]), "Aux 1");
    EXPECT_EQ(SelectedText(Controls(), kPumpFlowIds[0]), "40 GPM");
    EXPECT_TRUE(Controls().IsShown(kPumpFlowIds[0]));
    EXPECT_EQ(SelectedText(Controls(), kPumpCircuitIds[1]), "Pool Heater");
    EXPECT_FALSE(Controls().IsShown(kPumpFlowIds[1]));  // a heating code is no pump circuit
    EXPECT_EQ(SelectedText(Controls(), kPumpCircuitIds[2]), "None");
    EXPECT_EQ(Controls().Items(kPumpFlowIds[2]).size(), 116u);
    EXPECT_TRUE(Controls().IsEnabled(IDC_BACKGROUND_FILTERING));

    step->Pick(IDC_PUMP_TABS, 1);
    EXPECT_EQ(SelectedText(Controls(), IDC_PUMP_TYPE), "Vortana VX900");
    EXPECT_FALSE(Controls().IsEnabled(IDC_BACKGROUND));
    EXPECT_EQ(Controls().Items(kPumpFlowIds[0]).size(), 306u);
    EXPECT_EQ(SelectedText(Controls(), kPumpFlowIds[0]), "3000 RPM");
    EXPECT_FALSE(Controls().IsEnabled(IDC_BACKGROUND_FILTERING));

    step->Pick(IDC_PUMP_TABS, 2);  // an empty pump is shown, not written
    EXPECT_EQ(SelectedText(Controls(), IDC_PUMP_TYPE), "None");
    EXPECT_EQ(Controls().Selection(kPumpCircuitIds[0]), -1);
    EXPECT_FALSE(Controls().IsEnabled(kPumpCircuitIds[0]));
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
}

TEST_F(Step4, ANewTypeStartsFromItsDefaults) {
    Open();
    step->Pick(IDC_PUMP_TABS, 2);
    step->Pick(IDC_PUMP_TYPE, Row(Controls(), IDC_PUMP_TYPE, "Vortana VX900"));
    auto writes = TableWrites();
    ASSERT_EQ(writes.size(), 2u);  // the defaults, then the rows
    EXPECT_EQ(Pump(writes[1].tables, 2),
              (Bytes{0x80, 15, 2, 0, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 30, 232, 232, 232, 232, 232, 232,
                     232, 232, 10}));
    EXPECT_EQ(SelectedText(Controls(), kPumpFlowIds[0]), "1000 RPM");

    Mark();
    step->Pick(IDC_PUMP_TABS, 3);
    step->Pick(IDC_PUMP_TYPE, Row(Controls(), IDC_PUMP_TYPE, "Vortana"));
    writes = TableWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(Pump(writes[1].tables, 3),
              (Bytes{6, 15, 2, 0, 0, 30, 0, 30, 0, 30, 0, 30, 0, 30, 0, 30, 0, 30, 0, 30, 30, 55, 5, 10, 60, 5, 1, 50,
                     0, 10}));
    EXPECT_EQ(SelectedText(Controls(), IDC_BACKGROUND), "Pool");

    Mark();
    step->Pick(IDC_PUMP_TYPE, Row(Controls(), IDC_PUMP_TYPE, "None"));
    writes = TableWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].tables[9][90], 0);
    EXPECT_EQ(writes[1].tables[9][95], 30);  // rows without a selection keep their bytes
}

TEST_F(Step4, OnlyFourSpeedControlledPumps) {
    for (int pump : {2, 3, 4})
        StoreWithoutWrite(30 * pump, 0x80);
    Open();
    step->Pick(IDC_PUMP_TABS, 1);  // choosing the type a pump has keeps its settings
    step->Pick(IDC_PUMP_TYPE, Row(Controls(), IDC_PUMP_TYPE, "Vortana VX900"));
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
    EXPECT_TRUE(view.messages.empty());
    step->Pick(IDC_PUMP_TABS, 5);
    step->Pick(IDC_PUMP_TYPE, Row(Controls(), IDC_PUMP_TYPE, "Vortana VX900"));
    EXPECT_EQ(view.messages, std::vector<std::string>{"Only 4 VX900 are allowed."});
    EXPECT_EQ(SelectedText(Controls(), IDC_PUMP_TYPE), "None");
    EXPECT_EQ(TableWrites().back().tables[9][150], 0);
}

TEST_F(Step4, RowsWarnOnTheBackgroundCircuitAndKeepUnshownFlows) {
    StoreWithoutWrite(11, 200);  // a flow no list offers
    Open();
    EXPECT_EQ(Controls().Selection(kPumpFlowIds[3]), -1);
    step->Pick(kPumpCircuitIds[2], Row(Controls(), kPumpCircuitIds[2], "Pool"));
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"WARNING: Selecting this circuit\nwill disable background\nfiltering."});
    const Bytes pump = Pump(OneTableWrite(), 0);
    EXPECT_EQ(pump[8], 6);
    EXPECT_EQ(pump[5], 40);
    EXPECT_EQ(pump[11], 200);
    EXPECT_TRUE(Controls().IsShown(kPumpFlowIds[2]));
    step->Click(IDC_BACKGROUND_FILTERING);
    EXPECT_EQ(sides.pumps, std::vector<int>{0});
    step->Click(IDC_CANCEL);
    EXPECT_EQ(view.ended, std::vector<int>{kStepCancel});
}

TEST_F(StepSession, FilteringShowsAndStoresTheTwelveSettings) {
    model->SetTableByte9(23, 0, 0);  // a pressure no list offers
    CFlowsDlg flows(view, model, 0);
    flows.OnInitDialog();
    const CDialogControls& controls = flows.Controls();
    EXPECT_EQ(controls.Text(kTitleId), "Pump 1 Filtering");
    const std::vector<std::string> shown = {"15000 Gal.", "2 Times per day", "30 GPM", "50 GPM", "10 Min.", "55 GPM",
                                            "5 Min.",     "2 Min.",          "",       "60 GPM", "5 Min.",  "1 Min."};
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(SelectedText(controls, kFlowListIds[i]), shown[i]) << kFlowListIds[i];
    EXPECT_EQ(controls.Items(1114).size(), 244u);
    EXPECT_EQ(controls.Texts(1115).front(), "Once per Day");
    flows.Pick(1118, 299);   // 300 minutes of vacuum
    flows.Pick(1121, 5);     // system maximum 5 minutes
    const auto writes = TableWrites();
    ASSERT_EQ(writes.size(), 2u);
    const Bytes& pump = writes[1].tables[9];
    EXPECT_EQ(pump[28], 1);
    EXPECT_EQ(pump[29], 44);
    EXPECT_EQ(pump[22], 0x55);
    EXPECT_EQ(pump[23], 0);  // kept, not taken from an empty list
    EXPECT_EQ(pump[2], 2);
}

class CompactStep4 : public Step4 {
protected:
    CompactStep4() : Step4(bstest::SampleWithType(13)) {}
};

TEST_F(CompactStep4, OnePumpFourRowsNoFlowType) {
    Open();
    EXPECT_EQ(Controls().Texts(IDC_PUMP_TABS), std::vector<std::string>{"Pump 1"});
    EXPECT_EQ(Controls().Texts(IDC_PUMP_TYPE), (std::vector<std::string>{"None", "Vortana VX900"}));
    EXPECT_EQ(Controls().Selection(IDC_PUMP_TYPE), -1);  // a flow-controlled pump has no entry here
    for (int row = 4; row < kPumpRows; ++row)
        EXPECT_FALSE(Controls().IsShown(kPumpCircuitIds[row]));
    EXPECT_TRUE(Controls().IsShown(kPumpCircuitIds[3]));
}

class Step5 : public StepSession {
protected:
    using StepSession::StepSession;
    void Open() {
        step = std::make_unique<CStep5Dlg>(view, model);
        step->OnInitDialog();
    }
    const CDialogControls& Controls() const { return step->Controls(); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (int id : kRemoteButtonIds)
            texts.push_back(Controls().IsShown(id) ? SelectedText(Controls(), id) : "-");
        return texts;
    }

    std::unique_ptr<CStep5Dlg> step;
};

TEST_F(Step5, EachRemoteShowsItsButtons) {
    Open();
    EXPECT_EQ(Controls().Text(kTitleId), "Configure Spa-Side Remotes (Step 5 of 5)");
    EXPECT_EQ(Controls().Texts(IDC_REMOTE_TABS),
              (std::vector<std::string>{"KP10 #1", "KP10 #2", "KP10 #3", "KP10 #4", "KP4 #1/#2", "Pivana"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Spa", "Pool", "Heat Boost", "None", "None", "None", "None", "None",
                                                 "None", "None"}));
    EXPECT_EQ(Controls().Text(IDC_TOP_CAPTION), "Top Row");
    EXPECT_FALSE(Controls().IsShown(IDC_SHARE_NOTE));
    EXPECT_EQ(Controls().Texts(kRemoteButtonIds[0]).size(), 3u + 49u);

    step->Pick(IDC_REMOTE_TABS, 4);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Aux 1", "None", "None", "None", "-", "Waterfall", "None", "None",
                                                 "None", "-"}));
    EXPECT_EQ(Controls().Text(IDC_TOP_CAPTION), "KP4 #1");
    EXPECT_EQ(Controls().Text(IDC_BOTTOM_CAPTION), "KP4 #2");
    EXPECT_TRUE(Controls().IsShown(IDC_SHARE_NOTE));
    EXPECT_TRUE(Controls().IsShown(kShareMarkerIds[7]));
    EXPECT_FALSE(Controls().IsShown(IDC_BUTTON5_CAPTION));

    step->Pick(IDC_REMOTE_TABS, 5);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Spa", "None", "None", "None", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(Controls().Text(IDC_TOP_CAPTION), "Pivana");
    EXPECT_FALSE(Controls().IsShown(IDC_BOTTOM_CAPTION));
    EXPECT_EQ(Row(Controls(), kRemoteButtonIds[0], "Heat Boost"), -1);
}

TEST_F(Step5, TheFourButtonRemotesShareTheFourthKp10sEntries) {
    Open();
    step->Pick(IDC_REMOTE_TABS, 4);
    Mark();
    step->Pick(kRemoteButtonIds[6], Row(Controls(), kRemoteButtonIds[6], "Heat Enable"));
    const Bytes remotes = OneTableWrite()[3];
    EXPECT_EQ(Bytes(remotes.begin() + 30, remotes.begin() + 40), (Bytes{2, 0, 0, 0, 4, 5, 0x86, 0, 0, 0}));
    step->Pick(IDC_REMOTE_TABS, 3);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Aux 1", "None", "None", "None", "Aux 3", "Waterfall", "Heat Enable",
                                                 "None", "None", "None"}));
}

// A button whose stored code the list no longer offers shows the code as
// unknown, and a change of another button keeps it: the user's stored
// set-up is never lost to a box that merely cannot name it.
TEST_F(Step5, ACodeNoLongerOfferedShowsAsUnknownAndStaysStored) {
    model->SetTableByte3(3, 42, 0);  // the spillway's device
    Open();
    EXPECT_EQ(Shown()[3], "Unknown (42)");
    step->Pick(kRemoteButtonIds[9], Row(Controls(), kRemoteButtonIds[9], "Pool"));
    const Bytes remotes = OneTableWrite()[3];
    EXPECT_EQ(Bytes(remotes.begin(), remotes.begin() + 10), (Bytes{1, 6, 0x85, 42, 0, 0, 0, 0, 0, 6}));
    EXPECT_EQ(Shown()[3], "Unknown (42)");
    step->Click(IDC_OK);  // Enter
    step->Click(1064);
    EXPECT_EQ(view.ended, (std::vector<int>{kStepNext, kStepBack}));
}

class CompactStep5 : public Step5 {
protected:
    CompactStep5() : Step5(bstest::SampleWithType(14)) {}
};

TEST_F(CompactStep5, OneFourButtonRemoteAndPivana) {
    Open();
    EXPECT_EQ(Controls().Texts(IDC_REMOTE_TABS), (std::vector<std::string>{"KP4", "Pivana"}));
    EXPECT_EQ(Controls().Text(IDC_TOP_CAPTION), "KP4");
    EXPECT_FALSE(Controls().IsShown(IDC_SHARE_NOTE));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Aux 1", "None", "None", "None", "-", "-", "-", "-", "-", "-"}));
}

class OldAdapterStep : public StepSession {
protected:
    OldAdapterStep() : StepSession(Sample()) {}
    static testsupport::SampleInstallation Sample() {
        testsupport::SampleInstallation sample;
        sample.adapterVersion = "3.1 Build 200";
        sample.layout4 = false;
        return sample;
    }
};

TEST_F(OldAdapterStep, NoPumpTableIsShownOrSent) {
    NoFlows sides;
    CStep4Dlg pumps(view, sides, model);
    pumps.OnInitDialog();
    EXPECT_EQ(pumps.Controls().Selection(IDC_PUMP_TYPE), -1);
    CStep5Dlg remotes(view, model);
    remotes.OnInitDialog();
    remotes.Pick(kRemoteButtonIds[0], 0);
    const auto writes = TableWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].tables.size(), 1u + 8u);  // tables 1 to 8 only
    EXPECT_EQ(writes[0].tables[3][0], 0);
}

}  // namespace
