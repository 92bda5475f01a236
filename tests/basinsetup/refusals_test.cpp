// Configuration-table changes that the gateway does not take, in every
// dialog of the wizard that writes the tables: the user is told once, the
// model keeps the bytes the gateway holds, and the dialog shows them again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "basinsetup/macrosdlg.h"
#include "basinsetup/setupitems.h"
#include "basinsetup/step3dlg.h"
#include "basinsetup/step4dlg.h"
#include "basinsetup/step5dlg.h"
#include "step_session.h"

namespace {

class Refusals;

struct RefusalCase {
    const char* name;
    std::function<std::unique_ptr<CDialogLogic>(Refusals&)> open;
    // What the dialog shows of the change.
    std::function<std::string(const CDialogControls&)> show;
    std::function<void(CDialogLogic&, const CDialogControls&)> change;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class Refusals : public bstest::StepSession,
                 public CStep3Sides,
                 public CStep4Sides,
                 public ::testing::WithParamInterface<RefusalCase> {
public:
    bool RunSelectCircuit(std::shared_ptr<CBasinSetup>, uint8_t& code) override {
        code = 6;  // the pool
        return true;
    }
    void RunFlows(std::shared_ptr<CBasinSetup>, int) override {}

    template <class D, class... Sides> std::unique_ptr<CDialogLogic> Open(Sides&... sides) {
        auto dialog = std::make_unique<D>(view, sides..., model);
        dialog->OnInitDialog();
        return dialog;
    }
    CDialogView& View() { return view; }
    const std::shared_ptr<CBasinSetup>& Model() const { return model; }

    // Configuration tables 1 to 9 as the model holds them.
    std::vector<testsupport::Bytes> Tables() const {
        std::vector<testsupport::Bytes> tables;
        for (int table = 1; table <= 9; ++table) {
            const uint8_t* bytes = model->GetTable(table + 1);
            tables.emplace_back(bytes, bytes + model->GetTableCount(table + 1));
        }
        return tables;
    }

    static std::string Selected(const CDialogControls& controls, int id) { return SelectedText(controls, id); }
    static void PickText(CDialogLogic& dialog, const CDialogControls& controls, int id, const std::string& text) {
        const int row = Row(controls, id, text);
        ASSERT_GE(row, 0) << text;
        dialog.Pick(id, row);
    }
};

TEST_P(Refusals, AreToldAndShowTheGatewaysStateAgain) {
    const RefusalCase& c = GetParam();
    std::unique_ptr<CDialogLogic> dialog = c.open(*this);
    const CDialogControls& controls = dialog->Controls();
    const std::string shown = c.show(controls);
    const std::vector<testsupport::Bytes> held = Tables();
    gateway.On(ZVM_POOL_SETEXTCONFIGQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Mark();
    view.messages.clear();

    c.change(*dialog, controls);
    EXPECT_EQ(Sent(ZVM_POOL_SETEXTCONFIGQ).size(), 1u);
    EXPECT_EQ(view.messages, std::vector<std::string>{kChangeRefused});
    EXPECT_EQ(Tables(), held);
    EXPECT_EQ(c.show(controls), shown);
}

const RefusalCase kRefusals[] = {
    {"ValveCircuit",
     [](Refusals& t) {
         auto step = t.Open<CStep3Dlg>(static_cast<CStep3Sides&>(t));
         step->Pick(IDC_VALVE_LIST, 1);
         return step;
     },
     [](const CDialogControls& c) {
         return c.Texts(IDC_VALVE_LIST)[1] + "|" + Refusals::Selected(c, IDC_VALVE_CIRCUIT);
     },
     [](CDialogLogic& d, const CDialogControls& c) {
         Refusals::PickText(d, c, IDC_VALVE_CIRCUIT, "Spa Heater Active");
     }},
    {"EquipmentOption", [](Refusals& t) { return t.Open<CStep3Dlg>(static_cast<CStep3Sides&>(t)); },
     [](const CDialogControls& c) {
         return std::to_string(c.IsChecked(IDC_SOLAR_HEAT_PUMP)) + c.Texts(IDC_VALVE_LIST)[0];
     },
     [](CDialogLogic& d, const CDialogControls&) { d.Check(IDC_SOLAR_HEAT_PUMP, true); }},
    {"HighSpeedCircuit", [](Refusals& t) { return t.Open<CStep3Dlg>(static_cast<CStep3Sides&>(t)); },
     [](const CDialogControls& c) { return std::to_string(c.Texts(IDC_HIGH_SPEED_LIST).size()); },
     [](CDialogLogic& d, const CDialogControls&) { d.Click(IDC_ADD_CIRCUIT); }},
    {"PumpCircuit", [](Refusals& t) { return t.Open<CStep4Dlg>(static_cast<CStep4Sides&>(t)); },
     [](const CDialogControls& c) { return Refusals::Selected(c, kPumpCircuitIds[2]); },
     [](CDialogLogic& d, const CDialogControls& c) { Refusals::PickText(d, c, kPumpCircuitIds[2], "Waterfall"); }},
    {"PumpFiltering",
     [](Refusals& t) -> std::unique_ptr<CDialogLogic> {
         auto flows = std::make_unique<CFlowsDlg>(t.View(), t.Model(), 0);
         flows->OnInitDialog();
         return flows;
     },
     [](const CDialogControls& c) { return Refusals::Selected(c, kFlowListIds[0]); },
     [](CDialogLogic& d, const CDialogControls&) { d.Pick(kFlowListIds[0], 5); }},
    {"RemoteButton", [](Refusals& t) { return t.Open<CStep5Dlg>(); },
     [](const CDialogControls& c) { return Refusals::Selected(c, kRemoteButtonIds[3]); },
     [](CDialogLogic& d, const CDialogControls& c) { Refusals::PickText(d, c, kRemoteButtonIds[3], "Pool"); }},
    {"Macro",
     [](Refusals& t) -> std::unique_ptr<CDialogLogic> {
         auto macros = std::make_unique<CMacrosDlg>(t.View(), t.Model(), *t.Model()->FindCircuitByDevice(41));
         macros->OnInitDialog();
         macros->PickRows(IDC_MACRO_LIST, {0});
         return macros;
     },
     [](const CDialogControls& c) {
         return c.Texts(IDC_MACRO_LIST)[0] + std::to_string(c.IsChecked(IDC_ACTION_OFF));
     },
     [](CDialogLogic& d, const CDialogControls&) { d.Check(IDC_ACTION_OFF, true); }},
    {"SpecialLight", [](Refusals& t) { return t.Open<CLightsDlg>(); },
     [](const CDialogControls& c) { return Refusals::Selected(c, kLightSlots[2]); },
     [](CDialogLogic& d, const CDialogControls&) { d.Pick(kLightSlots[2], 2); }},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
