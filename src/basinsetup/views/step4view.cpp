#include "basinsetup/views/step4view.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "basinsetup/setupitems.h"

CStep4Window::CStep4Window(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, *this, std::move(model)) {
    auto* head = new QFormLayout;
    head->addRow("Type", Combo(IDC_PUMP_TYPE));
    head->addRow("Background Circuit", Combo(IDC_BACKGROUND));
    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel("Circuit"), 0, 0);
    rows->addWidget(new QLabel("Flow"), 0, 1);
    for (int row = 0; row < kPumpRows; ++row) {
        rows->addWidget(Combo(kPumpCircuitIds[row]), row + 1, 0);
        rows->addWidget(Combo(kPumpFlowIds[row]), row + 1, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs(IDC_PUMP_TABS));
    layout->addLayout(head);
    layout->addLayout(rows);
    layout->addWidget(Button(IDC_BACKGROUND_FILTERING, "Background Filtering"), 0, Qt::AlignLeft);
    layout->addStretch();
    layout->addLayout(WizardButtons(true, IDC_CANCEL));
    resize(560, 520);
    Attach(&m_logic);
    m_logic.OnInitDialog();
}

void CStep4Window::RunFlows(std::shared_ptr<CBasinSetup> model, int pump) {
    CFlowsWindow(this, std::move(model), pump).exec();
}

CFlowsWindow::CFlowsWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model, int pump)
    : CDialogWindow(parent), m_logic(*this, std::move(model), pump) {
    struct Group {
        const char* title;
        std::vector<std::pair<const char*, int>> lists;
    };
    const Group groups[] = {
        {"Filter Parameters", {{"Size", 1114}, {"Turn-Overs", 1115}, {"Manual Filter", 1116}}},
        {"Vacuum Parameters", {{"Flow", 1117}, {"Time", 1118}}},
        {"Priming Parameters", {{"Max Prime Flow", 1119}, {"Max Prime Time", 1120}, {"System Max Time", 1121}}},
        {"Backwash Parameters",
         {{"Max Pres. Increase", 1122}, {"Backwash Flow", 1123}, {"Backwash Time", 1124}, {"Rinse Time", 1125}}},
    };
    auto* grid = new QGridLayout;
    int at = 0;
    for (const Group& group : groups) {
        auto* box = new QGroupBox(group.title);
        auto* form = new QFormLayout(box);
        for (const auto& [caption, id] : group.lists) form->addRow(caption, Combo(id));
        grid->addWidget(box, at / 2, at % 2);
        ++at;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({{IDC_OK, "Done"}}));
    Attach(&m_logic);
    m_logic.OnInitDialog();
}
