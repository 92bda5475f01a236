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
#include "platform/cp1252.h"

namespace {


}  // namespace

CBasinSetupDlgView::CBasinSetupDlgView()
    : list_(new QTreeWidget), countdown_(new QLabel("Auto Start --:--")) {
    setWindowTitle("Marquel");
    list_->setColumnCount(2);
    list_->setHeaderLabels({"Item", "Model"});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->setEnabled(false);

    auto* group = new QGroupBox("Version Information");
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(list_);

    auto* configure = new QPushButton("Configure Marquel");
    auto* start = new QPushButton("Start Marquel Now");
    auto* house = new QPushButton("Synchronize House Address");
    auto* hint = new QLabel("Click Start Marquel to bring up the Marquel user interface.");
    for (QPushButton* button : {configure, start, house}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
    }
    controls_ = {{IDC_VERSION_LIST, list_}, {IDC_CONFIGURE, configure}, {IDC_START_VIEWER, start},
                 {IDC_SYNC_HOUSE, house},   {IDC_START_HINT, hint},     {IDC_COUNTDOWN, countdown_}};

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(configure);
    buttons->addWidget(start);
    buttons->addWidget(house);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->addWidget(hint);
    layout->addWidget(countdown_);
    resize(520, 340);

    connect(configure, &QPushButton::clicked, this, [this] { if (logic_) logic_->OnConfigure(); });
    connect(start, &QPushButton::clicked, this, [this] { if (logic_) logic_->StartViewer(); });
    connect(house, &QPushButton::clicked, this, [this] { if (logic_) logic_->OnSyncHouseAddress(); });
    connect(&timer_, &QTimer::timeout, this, [this] { if (logic_) logic_->OnTimer(); });
}

QWidget* CBasinSetupDlgView::Control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void CBasinSetupDlgView::ShowRows(const std::vector<std::string>& rows) {
    list_->clear();
    for (const std::string& row : rows) {
        const size_t tab = row.find('\t');
        QStringList columns{QString::fromStdU16String(platform::Cp1252ToUtf16(row.substr(0, tab)))};
        if (tab != std::string::npos)
            columns << QString::fromStdU16String(platform::Cp1252ToUtf16(row.substr(tab + 1)));
        list_->addTopLevelItem(new QTreeWidgetItem(columns));
    }
}

void CBasinSetupDlgView::EnableControl(int id, bool on) {
    if (QWidget* control = Control(id))
        control->setEnabled(on);
}

void CBasinSetupDlgView::ShowControl(int id, bool shown) {
    if (QWidget* control = Control(id))
        control->setVisible(shown);
}

void CBasinSetupDlgView::SetCountdownText(const std::string& text) {
    countdown_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(text)));
}

void CBasinSetupDlgView::StartTimer(uint32_t intervalMs) { timer_.start(static_cast<int>(intervalMs)); }

void CBasinSetupDlgView::StopTimer() { timer_.stop(); }

void CBasinSetupDlgView::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

bool CBasinSetupDlgView::RunConfigWarning() { return CConfigWarningDlg(this).exec() == QDialog::Accepted; }

bool CBasinSetupDlgView::RunHouseCode() { return CHouseCodeDlg().exec() == QDialog::Accepted; }

int CBasinSetupDlgView::RunWizardStepDialog(int index, std::shared_ptr<CBasinSetup> model,
                                            const std::string& adapterName) {
    if (index == 0 && logic_)
        return CStep1DlgView(this, logic_->Server(), std::move(model), adapterName).Run();
    std::unique_ptr<QDialog> step;
    switch (index) {
    case 1: step = std::make_unique<CStep2Window>(this, std::move(model)); break;
    case 2: step = std::make_unique<CStep3Window>(this, std::move(model)); break;
    case 3: step = std::make_unique<CStep4Window>(this, std::move(model)); break;
    case 4: step = std::make_unique<CStep5Window>(this, std::move(model)); break;
    default: step = std::make_unique<CWizardStepDlg>(this, index, std::move(model), adapterName); break;
    }
    switch (step->exec()) {
    case QDialog::Accepted:
        return kStepNext;
    case QDialog::Rejected:
        return kStepCancel;
    default:
        return kStepBack;
    }
}

std::unique_ptr<CSearchProgress> CBasinSetupDlgView::OpenSearchProgress() {
    auto dialog = std::make_unique<CSearchingDlg>();
    dialog->show();
    return dialog;
}

void CBasinSetupDlgView::accept() {
    if (logic_)
        logic_->StartViewer();
}

void CBasinSetupDlgView::reject() {
    if (logic_)
        logic_->OnCancel();
}
