#include "basinsetup/views/basinsetupview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "basinsetup/views/dialogs.h"
#include "basinsetup/views/step1view.h"
#include "basinsetup/views/step2view.h"
#include "basinsetup/views/step3view.h"
#include "basinsetup/views/step4view.h"
#include "basinsetup/views/step5view.h"
#include "qttext/qttext.h"

namespace {}  // namespace

CBasinSetupDlgView::CBasinSetupDlgView() : m_list(new QTreeWidget), m_countdown(new QLabel("Auto Start --:--")) {
    setWindowTitle("Marquel");
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({"Item", "Model"});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->setEnabled(false);

    auto* group = new QGroupBox("Version Information");
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_list);

    auto* configure = new QPushButton("Configure Marquel");
    auto* start = new QPushButton("Start Marquel Now");
    auto* house = new QPushButton("Synchronize House Address");
    auto* hint = new QLabel("Click Start Marquel to bring up the Marquel user interface.");
    for (QPushButton* button : {configure, start, house}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
    }
    m_controls = {{IDC_VERSION_LIST, m_list}, {IDC_CONFIGURE, configure}, {IDC_START_VIEWER, start},
                  {IDC_SYNC_HOUSE, house},    {IDC_START_HINT, hint},     {IDC_COUNTDOWN, m_countdown}};

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(configure);
    buttons->addWidget(start);
    buttons->addWidget(house);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->addWidget(hint);
    layout->addWidget(m_countdown);
    resize(520, 340);

    connect(configure, &QPushButton::clicked, this, [this] {
        if (m_logic) m_logic->OnConfigure();
    });
    connect(start, &QPushButton::clicked, this, [this] {
        if (m_logic) m_logic->StartViewer();
    });
    connect(house, &QPushButton::clicked, this, [this] {
        if (m_logic) m_logic->OnSyncHouseAddress();
    });
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_logic) m_logic->OnTimer();
    });
}

QWidget* CBasinSetupDlgView::Control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CBasinSetupDlgView::ShowRows(const std::vector<std::string>& rows) {
    m_list->clear();
    for (const std::string& row : rows) {
        const size_t tab = row.find('\t');
        QStringList columns{qttext::FromCp1252(row.substr(0, tab))};
        if (tab != std::string::npos) columns << qttext::FromCp1252(row.substr(tab + 1));
        m_list->addTopLevelItem(new QTreeWidgetItem(columns));
    }
}

void CBasinSetupDlgView::EnableControl(int id, bool on) {
    if (QWidget* control = Control(id)) control->setEnabled(on);
}

void CBasinSetupDlgView::ShowControl(int id, bool shown) {
    if (QWidget* control = Control(id)) control->setVisible(shown);
}

void CBasinSetupDlgView::SetCountdownText(const std::string& text) { m_countdown->setText(qttext::FromCp1252(text)); }

void CBasinSetupDlgView::StartTimer(uint32_t intervalMs) { m_timer.start(static_cast<int>(intervalMs)); }

void CBasinSetupDlgView::StopTimer() { m_timer.stop(); }

void CBasinSetupDlgView::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

bool CBasinSetupDlgView::RunConfigWarning() { return CConfigWarningDlg(this).exec() == QDialog::Accepted; }

bool CBasinSetupDlgView::RunHouseCode() { return CHouseCodeDlg().exec() == QDialog::Accepted; }

int CBasinSetupDlgView::RunWizardStepDialog(int index, std::shared_ptr<CBasinSetup> model,
                                            const std::string& adapterName) {
    if (index == 0 && m_logic) return CStep1DlgView(this, m_logic->Server(), std::move(model), adapterName).Run();
    std::unique_ptr<QDialog> step;
    switch (index) {
    case 1: step = std::make_unique<CStep2Window>(this, std::move(model)); break;
    case 2: step = std::make_unique<CStep3Window>(this, std::move(model)); break;
    case 3: step = std::make_unique<CStep4Window>(this, std::move(model)); break;
    case 4: step = std::make_unique<CStep5Window>(this, std::move(model)); break;
    default: step = std::make_unique<CWizardStepDlg>(this, index, std::move(model), adapterName); break;
    }
    switch (step->exec()) {
    case QDialog::Accepted: return kStepNext;
    case QDialog::Rejected: return kStepCancel;
    default: return kStepBack;
    }
}

std::unique_ptr<CSearchProgress> CBasinSetupDlgView::OpenSearchProgress() {
    auto dialog = std::make_unique<CSearchingDlg>();
    dialog->show();
    return dialog;
}

void CBasinSetupDlgView::accept() {
    if (m_logic) m_logic->StartViewer();
}

void CBasinSetupDlgView::reject() {
    if (m_logic) m_logic->OnCancel();
}
