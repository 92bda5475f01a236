#include "basinsetup/views/macrosview.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CMacrosWindow::CMacrosWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model, CPoolCircuit& macro)
    : CDialogWindow(parent), m_logic(*this, std::move(model), macro) {
    QTreeWidget* list = List(IDC_MACRO_LIST, {"Circuit", "Action"}, true);
    auto* actions = new QVBoxLayout;
    actions->addWidget(Radio(IDC_ACTION_ON, "On"));
    actions->addWidget(Radio(IDC_ACTION_OFF, "Off"));
    actions->addWidget(Radio(IDC_ACTION_IGNORE, "Ignore"));
    actions->addStretch();
    actions->addWidget(Button(IDC_CANCEL, "Done"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(actions);
    Attach(&m_logic);
    m_logic.OnInitDialog();
    // The list's column widths are the dialog's, not its contents'.
    list->setColumnWidth(0, 100);
    list->setColumnWidth(1, 80);
    resize(320, 300);
}

CLightsWindow::CLightsWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, std::move(model)) {
    setWindowTitle("Special Lights");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Lights Assigned to All On and All Off"));
    auto* halves = new QHBoxLayout;
    for (int half = 0; half < 2; ++half) {
        auto* group = new QGroupBox(half == 0 ? "First Six" : "Second Six");
        auto* grid = new QGridLayout(group);
        for (int slot = 0; slot < 6; ++slot) grid->addWidget(Combo(kLightSlots[6 * half + slot]), slot % 3, slot / 3);
        halves->addWidget(group);
    }
    layout->addLayout(halves);
    layout->addLayout(ButtonRow({{IDC_OK, "Done"}}));
    Attach(&m_logic);
    m_logic.OnInitDialog();
}
