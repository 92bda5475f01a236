#include "basinsetup/views/step3view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "basinsetup/setupitems.h"

namespace {

QGroupBox* Group(const QString& title, std::initializer_list<QWidget*> widgets) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    for (QWidget* widget : widgets) layout->addWidget(widget);
    return group;
}

}  // namespace

CStep3Window::CStep3Window(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, *this, std::move(model)) {
    auto* valves = new QGroupBox("Valve Assignements");
    auto* valveLayout = new QVBoxLayout(valves);
    valveLayout->addWidget(List(IDC_VALVE_LIST, {"Load Center   Valve", "Circuit Assigned to Valve"}), 1);
    valveLayout->addLayout(Captioned("Circuit Assigned to Valve", Combo(IDC_VALVE_CIRCUIT)));

    auto* options = new QVBoxLayout;
    options->addWidget(Group("Valve Option", {CheckBox(IDC_PUMP_OFF_VALVE, "Pump off during valve action")}));
    options->addWidget(Group("Chlorinator", {CheckBox(IDC_CHLORINATOR, "Chlorinator present")}));
    options->addWidget(Group("Manual Heat", {CheckBox(IDC_SPA_MANUAL_HEAT, "Spa manual heat")}));
    options->addStretch();

    auto* bodyPage = new QVBoxLayout;
    bodyPage->addWidget(Tabs(IDC_BODY_TABS));
    auto* bodyRow = new QHBoxLayout;
    auto* bodyOptions = new QVBoxLayout;
    bodyOptions->addWidget(Group("Solar Equipment", {CheckBox(IDC_SOLAR, "Solar present"),
                                                     CheckBox(IDC_SOLAR_HEAT_PUMP, "Solar is a heat pump")}));
    bodyOptions->addWidget(Group("Delays", {CheckBox(IDC_COOL_DOWN, "Pump on during heater cool-down")}));
    bodyRow->addLayout(bodyOptions);
    auto* highSpeed = new QGroupBox("Circuits Needing High Speed Pump");
    auto* highSpeedLayout = new QVBoxLayout(highSpeed);
    highSpeedLayout->addWidget(List(IDC_HIGH_SPEED_LIST));
    auto* highSpeedButtons = new QHBoxLayout;
    highSpeedButtons->addWidget(Button(IDC_ADD_CIRCUIT, "Add a Circuit"));
    highSpeedButtons->addWidget(Button(IDC_REMOVE_CIRCUIT, "Remove Circuit"));
    highSpeedLayout->addLayout(highSpeedButtons);
    bodyRow->addWidget(highSpeed);
    bodyPage->addLayout(bodyRow);

    auto* top = new QHBoxLayout;
    top->addWidget(valves, 1);
    top->addLayout(options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bodyPage);
    layout->addLayout(WizardButtons(true, IDC_STEP_FINISH));
    resize(760, 560);
    Attach(&m_logic);
    m_logic.OnInitDialog();
}

bool CStep3Window::RunSelectCircuit(std::shared_ptr<CBasinSetup> model, uint8_t& code) {
    CSelectCircuitWindow select(this, std::move(model));
    if (select.exec() != QDialog::Accepted) return false;
    code = select.Logic().Chosen();
    return true;
}

CSelectCircuitWindow::CSelectCircuitWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, std::move(model)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List(IDC_SELECT_LIST));
    layout->addLayout(ButtonRow({{IDC_OK, "OK"}, {IDC_CANCEL, "Cancel"}}));
    Attach(&m_logic);
    m_logic.OnInitDialog();
}
