// Wizard step 2 and its custom names, macro and special-lights dialogs on
// the sample installation.
#include "basinsetup/step2dlg.h"

#include <gtest/gtest.h>

#include <utility>

#include "basinsetup/macrosdlg.h"
#include "basinsetup/setupitems.h"
#include "step_session.h"

namespace {

using bstest::StepSession;

class RecordingSides : public CStep2Sides {
public:
    void RunCustomNames(std::shared_ptr<CBasinSetup>) override { ++customNames; }
    void RunMacros(std::shared_ptr<CBasinSetup>, CPoolCircuit& circuit) override { macros.push_back(circuit.deviceId); }
    void RunSpecialLights(std::shared_ptr<CBasinSetup>) override { ++lights; }
    int customNames = 0;
    std::vector<int> macros;
    int lights = 0;
};

class Step2 : public StepSession {
protected:
    using StepSession::StepSession;
    void Open() {
        step = std::make_unique<CStep2Dlg>(view, sides, model);
        step->OnInitDialog();
    }
    const CDialogControls& Controls() const { return step->Controls(); }
    // Selects the row that shows the circuit at that position.
    void SelectPosition(int position) {
        const auto& rows = Controls().Items(IDC_CIRCUIT_LIST);
        for (size_t row = 0; row < rows.size(); ++row)
            if (model->GetCircuit(rows[row].data)->recordIndex == position)
                return step->Pick(IDC_CIRCUIT_LIST, static_cast<int>(row));
        FAIL() << "no row for position " << position;
    }
    void PickText(int id, const std::string& text) {
        const int row = Row(Controls(), id, text);
        ASSERT_GE(row, 0) << text;
        step->Pick(id, row);
    }

    // The name entry of feature circuits that clears the circuit.
    int NoneRow() const {
        const auto& names = Controls().Items(IDC_CIRCUIT_NAME);
        for (size_t row = 0; row < names.size(); ++row)
            if (names[row].data == 255)
                return static_cast<int>(row);
        return -1;
    }

    RecordingSides sides;
    std::unique_ptr<CStep2Dlg> step;
};

struct LabelCase {
    int position;
    int type;
    const char* center;
    const char* circuit;
};

TEST(CircuitLabels, LoadCenterAndCircuit) {
    const LabelCase cases[] = {
        {0, 2, "Main", "Spa"},      {0, 3, "Main", "High"},      {5, 2, "Main", "Pool"},
        {5, 4, "Main", "Low"},      {3, 2, "Main", "Aux 3"},     {6, 2, "Main", "Aux 5"},
        {9, 2, "Main", "Aux 8"},    {10, 2, "2", "Aux 9"},       {39, 2, "4", "Aux 38"},
        {40, 2, "Main", "Feature 1"}, {49, 2, "Main", "Feature 10"}, {50, 2, "6", "Feature 11"},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(GetLoadCenterLabel(c.position), c.center) << c.position;
        EXPECT_EQ(GetCircuitLabel(c.position, c.type), c.circuit) << c.position << " type " << c.type;
    }
}

TEST_F(Step2, ListsTheOfferedCircuitsAndFunctions) {
    Open();
    EXPECT_EQ(view.ended, std::vector<int>{});
    EXPECT_EQ(Controls().Text(kTitleId), "Setup Circuits (Step 2 of 5)");
    const auto rows = Controls().Texts(IDC_CIRCUIT_LIST);
    // Slots 0 to 9 and 40 to 49 of a type 2 controller, and the first five
    // of the expansion unit, whose other five need its ten named circuits.
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "Main\tSpa\tSpa\tSpa\tNo");
    EXPECT_EQ(rows[1], "Main\tAux 1\tAux 1\tGeneric\tNo");
    EXPECT_EQ(rows[4], "Main\tAux 4\tWaterfall\tGeneric\tYes");
    EXPECT_EQ(rows[5], "Main\tPool\tPool\tPool\tYes");
    EXPECT_EQ(rows[6], "Main\tAux 5\tNone\tGeneric\tNo");
    EXPECT_EQ(rows[10], "2\tAux 9\tAux 2\tCleaner\tNo");
    EXPECT_EQ(rows[15], "Main\tFeature 1\tJets\tGeneric\tNo");
    EXPECT_EQ(rows[16], "Main\tFeature 2\tSpillway\tSpillway\tNo");
    const auto functions = Controls().Texts(IDC_CIRCUIT_FUNCTION);
    ASSERT_EQ(functions.size(), 16u);
    EXPECT_EQ(functions.front(), "Cleaner");  // sorted
    EXPECT_EQ(functions.back(), "Wheel Light");
    for (int id : {IDC_CIRCUIT_NAME, IDC_CIRCUIT_FUNCTION, IDC_SHOW_WITH, IDC_LIGHT_POSITION, IDC_ON_WITH_FREEZE,
                   IDC_FEATURE_CONFIG})
        EXPECT_FALSE(Controls().IsEnabled(id)) << id;
    EXPECT_TRUE(Controls().IsEnabled(IDC_SPECIAL_LIGHTS));
}

TEST_F(Step2, SelectingARowLoadsEveryControlFromItsCircuit) {
    Open();
    SelectPosition(0);  // the spa: first row, its function fixed
    EXPECT_EQ(SelectedText(Controls(), IDC_CIRCUIT_FUNCTION), "Spa");
    EXPECT_FALSE(Controls().IsEnabled(IDC_CIRCUIT_FUNCTION));
    EXPECT_EQ(SelectedText(Controls(), IDC_CIRCUIT_NAME), "Spa");
    EXPECT_EQ(Controls().Items(IDC_CIRCUIT_NAME).size(), 12u);  // nine built-in, three custom, no "None" entry
    EXPECT_EQ(Controls().Texts(IDC_SHOW_WITH),
              (std::vector<std::string>{"Pool (Main Page)", "Spa (Main Page)", "Water Features (Main Page)",
                                        "SAm/SAL (Lights Page)", "Lights (Lights Page)", "Don't Show"}));
    EXPECT_EQ(SelectedText(Controls(), IDC_SHOW_WITH), "Spa (Main Page)");
    EXPECT_FALSE(Controls().IsEnabled(IDC_SHOW_WITH));
    EXPECT_FALSE(Controls().IsEnabled(IDC_LIGHT_POSITION));
    EXPECT_TRUE(Controls().IsEnabled(IDC_ON_WITH_FREEZE));
    EXPECT_FALSE(Controls().IsEnabled(IDC_FEATURE_CONFIG));

    SelectPosition(3);  // a positioned light
    EXPECT_TRUE(Controls().IsEnabled(IDC_CIRCUIT_FUNCTION));
    EXPECT_EQ(Controls().Texts(IDC_LIGHT_POSITION), std::vector<std::string>{"1"});
    EXPECT_EQ(Controls().Selection(IDC_LIGHT_POSITION), 0);
    EXPECT_TRUE(Controls().IsEnabled(IDC_LIGHT_POSITION));

    SelectPosition(4);  // a free page: four entries, enabled
    EXPECT_EQ(Controls().Items(IDC_SHOW_WITH).size(), 4u);
    EXPECT_TRUE(Controls().IsEnabled(IDC_SHOW_WITH));
    EXPECT_TRUE(Controls().IsChecked(IDC_ON_WITH_FREEZE));

    SelectPosition(40);  // a named feature circuit with a function
    EXPECT_EQ(Controls().Texts(IDC_CIRCUIT_NAME)[NoneRow()], "None");  // sorted in
    EXPECT_TRUE(Controls().IsEnabled(IDC_FEATURE_CONFIG));
    EXPECT_TRUE(Sent(ZVM_POOL_SETCIRCUITCONFIGQ).empty());
}

TEST_F(Step2, NoneForAFeatureCircuitClearsFunctionPageAndNameInThreeWrites) {
    Open();
    SelectPosition(40);
    step->Pick(IDC_CIRCUIT_NAME, NoneRow());
    EXPECT_EQ(SentInts(ZVM_POOL_SETCIRCUITCONFIGQ),
              (std::vector<std::vector<int32_t>>{{7, 540, 8, 255, 2, 0, 0}, {7, 540, 8, 255, 5, 0, 0},
                                                 {7, 540, 255, 255, 5, 0, 0}}));
    EXPECT_EQ(Controls().Texts(IDC_CIRCUIT_LIST)[15], "Main\tFeature 1\tNone\t\tNo");
    EXPECT_FALSE(Controls().IsEnabled(IDC_FEATURE_CONFIG));
}

TEST_F(Step2, FunctionPageFreezeAndPositionAreWrittenAtOnce) {
    Open();
    SelectPosition(1);  // Aux 1, whose kept flag goes back unchanged
    PickText(IDC_CIRCUIT_FUNCTION, "Light");
    EXPECT_EQ(SelectedText(Controls(), IDC_SHOW_WITH), "Lights (Lights Page)");
    EXPECT_FALSE(Controls().IsEnabled(IDC_SHOW_WITH));
    step->Check(IDC_ON_WITH_FREEZE, true);
    EXPECT_EQ(Controls().Texts(IDC_CIRCUIT_LIST)[1], "Main\tAux 1\tAux 1\tLight\tYes");
    PickText(IDC_CIRCUIT_FUNCTION, "Generic");
    EXPECT_TRUE(Controls().IsEnabled(IDC_SHOW_WITH));
    PickText(IDC_SHOW_WITH, "Don't Show");
    EXPECT_EQ(SentInts(ZVM_POOL_SETCIRCUITCONFIGQ),
              (std::vector<std::vector<int32_t>>{{7, 501, 3, 7, 4, 2, 0},
                                                 {7, 501, 3, 7, 4, 3, 0},
                                                 {7, 501, 3, 0, 2, 3, 0},
                                                 {7, 501, 3, 0, 5, 3, 0}}));
    SelectPosition(3);
    step->Pick(IDC_LIGHT_POSITION, 0);
    EXPECT_EQ(SentInts(ZVM_POOL_SETLIGHTCOLOR), (std::vector<std::vector<int32_t>>{{0, 503, 3, 0, 0}}));
}

TEST_F(Step2, AChangeTheGatewayDoesNotTakeIsUndone) {
    Open();
    gateway.On(ZVM_POOL_SETCIRCUITCONFIGQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    SelectPosition(1);
    step->Check(IDC_ON_WITH_FREEZE, true);
    PickText(IDC_CIRCUIT_NAME, "Deck Jets");
    EXPECT_EQ(Sent(ZVM_POOL_SETCIRCUITCONFIGQ).size(), 2u);
    const CPoolCircuit* aux1 = model->FindCircuitById(501);
    EXPECT_EQ(aux1->flags, 2);
    EXPECT_EQ(aux1->nameIndex, 3);
    EXPECT_FALSE(Controls().IsChecked(IDC_ON_WITH_FREEZE));
    EXPECT_EQ(SelectedText(Controls(), IDC_CIRCUIT_NAME), "Aux 1");
    EXPECT_EQ(Controls().Texts(IDC_CIRCUIT_LIST)[1], "Main\tAux 1\tAux 1\tGeneric\tNo");
    // Each refusal is told, as the step's other failures are.
    EXPECT_EQ(view.messages, (std::vector<std::string>{kChangeRefused, kChangeRefused}));

    // "None" stops at the first refused write, told once.
    Mark();
    view.messages.clear();
    SelectPosition(40);
    step->Pick(IDC_CIRCUIT_NAME, NoneRow());
    EXPECT_EQ(Sent(ZVM_POOL_SETCIRCUITCONFIGQ).size(), 1u);
    EXPECT_EQ(view.messages, std::vector<std::string>{kChangeRefused});
    EXPECT_EQ(model->GetCircuit(Controls().SelectedData(IDC_CIRCUIT_LIST, -1))->nameIndex, 8);

    // A light position likewise.
    gateway.On(ZVM_POOL_SETLIGHTCOLOR, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    view.messages.clear();
    SelectPosition(3);
    const int position = Controls().Selection(IDC_LIGHT_POSITION);
    step->Pick(IDC_LIGHT_POSITION, 0);
    EXPECT_EQ(Controls().Selection(IDC_LIGHT_POSITION), position);
    EXPECT_EQ(view.messages, std::vector<std::string>{kChangeRefused});
}

// The spa's and the pool's circuits keep their function wherever the
// configuration lists them: here the pool's circuit comes after Aux 5.
TEST_F(Step2, FunctionIsFixedByTheCircuitsPositionNotItsRow) {
    CPoolCircuit* pool = model->GetCircuit(5);
    CPoolCircuit* aux5 = model->GetCircuit(6);
    ASSERT_EQ(pool->recordIndex, 5);
    ASSERT_EQ(aux5->recordIndex, 6);
    std::swap(pool->recordIndex, aux5->recordIndex);
    Open();
    step->Pick(IDC_CIRCUIT_LIST, 5);  // Aux 5
    EXPECT_TRUE(Controls().IsEnabled(IDC_CIRCUIT_FUNCTION));
    step->Pick(IDC_CIRCUIT_LIST, 6);  // the pool
    EXPECT_FALSE(Controls().IsEnabled(IDC_CIRCUIT_FUNCTION));
}

TEST_F(Step2, SideDialogsOpenOnTheirCircuitAndCustomNamesRebuildTheList) {
    Open();
    SelectPosition(40);
    step->Click(IDC_FEATURE_CONFIG);
    step->Click(IDC_SPECIAL_LIGHTS);
    step->Click(IDC_SET_CUSTOM_NAMES);
    EXPECT_EQ(sides.macros, std::vector<int>{41});
    EXPECT_EQ(sides.lights, 1);
    EXPECT_EQ(sides.customNames, 1);
    EXPECT_EQ(Controls().Selection(IDC_CIRCUIT_LIST), -1);
    for (int id : {IDC_CIRCUIT_NAME, IDC_CIRCUIT_FUNCTION, IDC_SHOW_WITH, IDC_LIGHT_POSITION, IDC_ON_WITH_FREEZE,
                   IDC_FEATURE_CONFIG})
        EXPECT_FALSE(Controls().IsEnabled(id)) << id;
    for (auto [button, result] : {std::pair{IDC_OK, kStepNext}, {1064, kStepBack}, {1066, kStepCancel}}) {
        step->Click(button);
        EXPECT_EQ(view.ended.back(), result);
    }
}

class CompactStep2 : public Step2 {
protected:
    CompactStep2() : Step2(bstest::SampleWithType(13)) {}
};

TEST_F(CompactStep2, OffersLessAndFixesLightPositions) {
    Open();
    const auto functions = Controls().Texts(IDC_CIRCUIT_FUNCTION);
    EXPECT_EQ(functions.size(), 10u);
    for (const char* hidden : {"Second Spa", "Second Pool", "Second Cleaner", "Dimmer", "Magic Stream", "Show Light"})
        EXPECT_EQ(Row(Controls(), IDC_CIRCUIT_FUNCTION, hidden), -1) << hidden;
    EXPECT_FALSE(Controls().IsEnabled(IDC_SPECIAL_LIGHTS));
    // Unshown slots 9 and the features are not offered by this controller.
    EXPECT_EQ(Controls().Items(IDC_CIRCUIT_LIST).size(), 9u + 5u + 2u);
    SelectPosition(3);
    EXPECT_EQ(Controls().Selection(IDC_LIGHT_POSITION), 0);
    EXPECT_FALSE(Controls().IsEnabled(IDC_LIGHT_POSITION));
    EXPECT_FALSE(Controls().IsEnabled(IDC_FEATURE_CONFIG));
}

// A gateway with more names than a one-byte name index can reach.
class ManyNames : public Step2 {
protected:
    ManyNames() {
        gateway.Answer(0x310E, testsupport::PayloadWriter().Int(254));
        gateway.On(0x3111, [](const testsupport::Frame& request) {
            testsupport::PayloadReader reader(request.payload);
            int32_t zero = 0, start = 0, wanted = 0;
            reader.Int(&zero) && reader.Int(&start) && reader.Int(&wanted);
            testsupport::PayloadWriter names;
            names.Int(wanted);
            for (int i = start; i < start + wanted; ++i)
                names.String("Name " + std::to_string(i));
            return std::vector<testsupport::Frame>{{request.sender, 0x3112, names}};
        });
    }
};

TEST_F(ManyNames, OnlyNamesBelowTheNoneIndexAreOffered) {
    Open();
    SelectPosition(40);
    const auto& names = Controls().Items(IDC_CIRCUIT_NAME);
    ASSERT_EQ(names.size(), 1u + 254u + 1u);  // "None", the built-in names, the first custom name
    int highest = 0;
    for (const CListItem& name : names)
        if (name.data != 255)
            highest = std::max(highest, name.data);
    EXPECT_EQ(highest, 254);
    EXPECT_GE(Row(Controls(), IDC_CIRCUIT_NAME, "Pool Light"), 0);
    EXPECT_EQ(Row(Controls(), IDC_CIRCUIT_NAME, "Waterfall"), -1);
}

// A gateway that announces more built-in names than it sends: the custom
// names keep the indices after the announced total, as the model reads them.
class ShortNameList : public Step2 {
protected:
    ShortNameList() { gateway.Answer(0x310E, testsupport::PayloadWriter().Int(12)); }
};

TEST_F(ShortNameList, CustomNamesAreNumberedAfterTheAnnouncedTotal) {
    ASSERT_EQ(model->GetFirstCustomNameIndex(), 12);
    Open();
    SelectPosition(40);
    const auto& names = Controls().Items(IDC_CIRCUIT_NAME);
    const int row = Row(Controls(), IDC_CIRCUIT_NAME, "Deck Jets");
    ASSERT_GE(row, 0);
    EXPECT_EQ(names[static_cast<size_t>(row)].data, 14);
    step->Pick(IDC_CIRCUIT_NAME, row);
    ASSERT_EQ(SentInts(ZVM_POOL_SETCIRCUITCONFIGQ).size(), 1u);
    EXPECT_EQ(SentInts(ZVM_POOL_SETCIRCUITCONFIGQ)[0][2], 14);
    EXPECT_EQ(model->FindCircuitById(540)->name, "Deck Jets");
}

class CustomNames : public StepSession {
protected:
    using StepSession::StepSession;
};

TEST_F(CustomNames, RenamesTheChosenNameWithAtMostElevenCharacters) {
    CCustomNamesDlg names(view, model);
    names.OnInitDialog();
    const CDialogControls& controls = names.Controls();
    EXPECT_EQ(controls.Texts(IDC_CUSTOM_LIST), (std::vector<std::string>{"Pool Light", "Waterfall", "Deck Jets"}));
    EXPECT_FALSE(controls.IsEnabled(IDC_SET_NAME));
    names.Pick(IDC_CUSTOM_LIST, 1);
    EXPECT_EQ(controls.Text(IDC_CUSTOM_EDIT), "Waterfall");
    names.Edit(IDC_CUSTOM_EDIT, "");
    EXPECT_FALSE(controls.IsEnabled(IDC_SET_NAME));
    names.Click(IDC_SET_NAME);  // an empty name is never sent
    names.Edit(IDC_CUSTOM_EDIT, "Fountain Wall Left");
    EXPECT_TRUE(controls.IsEnabled(IDC_SET_NAME));
    EXPECT_EQ(view.defaultButton, IDC_SET_NAME);
    names.Click(IDC_SET_NAME);
    const auto sent = Sent(ZVM_POOL_SETCUSTOMNAMEQ);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], testsupport::Bytes(testsupport::PayloadWriter().Int(0).Int(1).String("Fountain Wa")));
    EXPECT_EQ(controls.Texts(IDC_CUSTOM_LIST)[1], "Fountain Wa");
    EXPECT_EQ(model->FindCircuitById(504)->name, "Fountain Wa");
    EXPECT_EQ(controls.Selection(IDC_CUSTOM_LIST), -1);
}

class Macros : public StepSession {
protected:
    void Open(int deviceId) {
        macros = std::make_unique<CMacrosDlg>(view, model, *model->FindCircuitByDevice(deviceId));
        macros->OnInitDialog();
    }
    std::string RowOf(const std::string& name) const {
        for (const std::string& row : macros->Controls().Texts(IDC_MACRO_LIST))
            if (row.rfind(name + "\t", 0) == 0)
                return row;
        return "";
    }
    std::unique_ptr<CMacrosDlg> macros;
};

TEST_F(Macros, ListsEveryOtherCircuitWithItsAction) {
    Open(41);
    const CDialogControls& controls = macros->Controls();
    EXPECT_EQ(controls.Text(kTitleId), "Configure: Jets");
    EXPECT_EQ(controls.Items(IDC_MACRO_LIST).size(), 48u);  // not Jets itself nor the spillway
    EXPECT_EQ(RowOf("Spa"), "Spa\tOn");
    EXPECT_EQ(RowOf("Pool"), "Pool\tOff");
    EXPECT_EQ(RowOf("Aux 1"), "Aux 1\tOff");  // in both masks
    EXPECT_EQ(RowOf("Waterfall"), "Waterfall\tNone");
    EXPECT_EQ(RowOf("Spillway"), "");
    EXPECT_FALSE(controls.IsEnabled(IDC_ACTION_ON));
    macros->PickRows(IDC_MACRO_LIST, {0});
    EXPECT_TRUE(controls.IsChecked(IDC_ACTION_ON));
    EXPECT_TRUE(controls.IsEnabled(IDC_ACTION_IGNORE));
}

TEST_F(Macros, OneActionForSeveralRowsIsOneWrite) {
    Open(41);
    macros->PickRows(IDC_MACRO_LIST, {0, 4});  // Spa, Waterfall
    const CDialogControls& controls = macros->Controls();
    EXPECT_EQ(macros->Action(), -1);
    for (int id : {IDC_ACTION_ON, IDC_ACTION_OFF, IDC_ACTION_IGNORE})
        EXPECT_FALSE(controls.IsChecked(id));
    macros->Check(IDC_ACTION_OFF, true);
    const auto tables = OneTableWrite();
    ASSERT_EQ(tables[6].size(), 140u);
    EXPECT_EQ(tables[6][0], 0x20 | 0x02 | 0x01 | 0x10);
    EXPECT_EQ(tables[6][7], 0x02);
    EXPECT_EQ(RowOf("Spa"), "Spa\tOff");
    EXPECT_EQ(RowOf("Waterfall"), "Waterfall\tOff");
    EXPECT_EQ(GetActionText(7), "Error");
}

TEST_F(Macros, DeviceIdsWithoutAPlaceInTheMasksChangeNothing) {
    Open(41);
    CTableChange change(*model);
    EXPECT_EQ(macros->SetMacroAction(0, 57, kActionOn, change), 0);  // would be the on mask's first byte
    EXPECT_EQ(macros->SetMacroAction(0, 0, kActionOff, change), 0);
    EXPECT_EQ(change.Write(view), 0);
    EXPECT_EQ(macros->GetMacroAction(0, 57), kActionIgnore);
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
    EXPECT_EQ(GetByteAt(model->GetTable(7), model->GetTableCount(7), 7), 0x03);

    Open(1);  // not a feature circuit: no record
    EXPECT_EQ(RowOf("Pool"), "Pool\tNone");
    macros->PickRows(IDC_MACRO_LIST, {0, 1});
    macros->Check(IDC_ACTION_ON, true);
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());
}

// A stored slot whose circuit is no light shows its code as unknown and is
// kept when another slot changes: only the changed slot's entry is written.
TEST_F(StepSession, SpecialLightsShowTheStoredLightsAndWriteTheChangedOne) {
    CLightsDlg lights(view, model);
    lights.OnInitDialog();
    const CDialogControls& controls = lights.Controls();
    EXPECT_EQ(controls.Texts(kLightSlots[0]), (std::vector<std::string>{"None", "Pool Light", "Aux 3"}));
    EXPECT_EQ(SelectedText(controls, kLightSlots[0]), "Pool Light");
    EXPECT_EQ(SelectedText(controls, kLightSlots[1]), "Unknown (2)");  // device 2 is no light
    EXPECT_EQ(SelectedText(controls, kLightSlots[11]), "None");
    lights.Pick(kLightSlots[2], 2);
    const auto tables = OneTableWrite();
    EXPECT_EQ(tables[8], (testsupport::Bytes{3, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(tables[9].size(), 240u);  // every table goes with any change
    lights.Click(IDC_OK);
    EXPECT_EQ(view.ended, std::vector<int>{kDialogOk});
}

}  // namespace
