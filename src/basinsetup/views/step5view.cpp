#include "basinsetup/views/step5view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "basinsetup/setupitems.h"

CStep5Window::CStep5Window(QWidget* parent, std::shared_ptr<CBasinSetup> model)
    : CDialogWindow(parent), m_logic(*this, std::move(model)) {
    auto* grid = new QGridLayout;
    const int buttonCaptions[5] = {1081, 1082, 1083, 1084, IDC_BUTTON5_CAPTION};
    for (int button = 0; button < 5; ++button)
        grid->addWidget(Label(buttonCaptions[button], QString("Button %1").arg(button + 1)), 0, button + 1);
    grid->addWidget(Label(IDC_TOP_CAPTION, "Top Row"), 1, 0);
    grid->addWidget(Label(IDC_BOTTOM_CAPTION, "Bottom Row"), 2, 0);
    for (int box = 0; box < 10; ++box) {
        auto* cell = new QHBoxLayout;
        cell->addWidget(Combo(kRemoteButtonIds[box]), 1);
        if (box % 5 < 4) cell->addWidget(Label(kShareMarkerIds[box / 5 * 4 + box % 5], "*"));
        grid->addLayout(cell, box / 5 + 1, box % 5 + 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs(IDC_REMOTE_TABS));
    layout->addLayout(grid);
    layout->addWidget(Label(IDC_SHARE_NOTE, "* Shared with KP10#4 and KP4#1/#2"));
    layout->addStretch();
    layout->addLayout(WizardButtons(false, IDC_STEP_FINISH));
    resize(860, 260);
    Attach(&m_logic);
    m_logic.OnInitDialog();
}
