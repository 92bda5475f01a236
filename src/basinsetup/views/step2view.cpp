#include "basinsetup/views/step2view.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "basinsetup/setupitems.h"
#include "basinsetup/views/macrosview.h"

CStep2Window::CStep2Window(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, *this, std::move(model)) {
    auto* settings = new QGroupBox("Circuit Settings");
    auto* settingsForm = new QFormLayout(settings);
    settingsForm->addRow("Circuit Name", Combo(IDC_CIRCUIT_NAME));
    settingsForm->addRow("Circuit Function", Combo(IDC_CIRCUIT_FUNCTION));
    settingsForm->addRow(CheckBox(IDC_ON_WITH_FREEZE, "On with Freeze"));
    settingsForm->addRow(Button(IDC_FEATURE_CONFIG, "Feature Circuit Configuration..."));
    auto* display = new QGroupBox("Marquel Display");
    auto* displayForm = new QFormLayout(display);
    displayForm->addRow("Show with:", Combo(IDC_SHOW_WITH));
    displayForm->addRow("SAm / SAL Position", Combo(IDC_LIGHT_POSITION));
    auto* side = new QVBoxLayout;
    side->addWidget(settings);
    side->addWidget(display);
    side->addWidget(Button(IDC_SET_CUSTOM_NAMES, "Set Custom Names..."));
    side->addWidget(Button(IDC_SPECIAL_LIGHTS, "Special Lights..."));
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(
        List(IDC_CIRCUIT_LIST, {"Load\nCenter", "Circuit", "Circuit Name", "Circuit Function", "On w/Freeze"}), 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(WizardButtons(true, IDC_STEP_FINISH));
    resize(820, 480);
    Attach(&m_logic);
    m_logic.OnInitDialog();
}

void CStep2Window::RunCustomNames(std::shared_ptr<CBasinSetup> model) {
    CCustomNamesWindow(this, std::move(model)).exec();
}

void CStep2Window::RunMacros(std::shared_ptr<CBasinSetup> model, CPoolCircuit& circuit) {
    CMacrosWindow(this, std::move(model), circuit).exec();
}

void CStep2Window::RunSpecialLights(std::shared_ptr<CBasinSetup> model) {
    CLightsWindow(this, std::move(model)).exec();
}

CCustomNamesWindow::CCustomNamesWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, std::move(model)) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(Captioned("Custom Names", List(IDC_CUSTOM_LIST)));
    layout->addWidget(Edit(IDC_CUSTOM_EDIT, kCustomNameLength));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button(IDC_SET_NAME, "Set Name"));
    buttons->addStretch();
    buttons->addWidget(Button(IDC_CANCEL, "Done"));
    layout->addLayout(buttons);
    Attach(&m_logic);
    m_logic.OnInitDialog();
}
