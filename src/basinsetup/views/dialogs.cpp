#include "basinsetup/views/dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "qttext/qttext.h"

namespace {

QLabel* WrappedLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// Texts over a row of buttons; the first button is the default.
void LayOut(QDialog* dialog, const QStringList& texts, const QString& ok, const QString& cancel) {
    auto* layout = new QVBoxLayout(dialog);
    for (const QString& text : texts) layout->addWidget(WrappedLabel(text));
    auto* buttons = new QDialogButtonBox;
    QPushButton* accept = buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace

void ShowTopmostMessage(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Marquel", qttext::FromCp1252(text), QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

CConfigWarningDlg::CConfigWarningDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Marquel Configuration and Maintenance");
    LayOut(this,
           {QString("Making changes to the configuration of your pool can cause the pool or spa to ") +
                "stop functioning normally, and should only be done by properly trained personnel.",
            "Click Continue to start the Configuration and Maintenance Utility, or Cancel to go back."},
           "Continue >>", "Cancel");
}

CHouseCodeDlg::CHouseCodeDlg() {
    setWindowTitle("Synchronize House Address");
    LayOut(this,
           {"This procedure ties the Protocol Adapter to a particular load center or power center.",
            "You should perform this step whenever you change the house address using the Set House Address "
            "procedure at the load center or power center, or if you erase outdoor control panel memory.",
            QString::fromUtf8("IMPORTANT: Perform this step with the load center or power center in Auto mode: DO NOT "
                              "send the house address. Refer to the Marquel Owner\u2019s Manual for more "
                              "information on the House Address.")},
           "Continue", "Cancel");
}

CSearchingDlg::CSearchingDlg() : m_bar(new QProgressBar) {
    setWindowTitle("Searching For System...");
    m_bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    resize(320, 60);
}

void CSearchingDlg::SetProgress(int percent) {
    m_bar->setValue(percent);
    repaint();  // painted now: the search keeps the event loop waiting
}

CSetPassDlgView::CSetPassDlgView(CGatewayLink& link)
    : m_logic(link, *this), m_password(new QLineEdit), m_confirmation(new QLineEdit) {
    setWindowTitle("Set Remote Password");
    m_password->setEchoMode(QLineEdit::Password);
    m_confirmation->setEchoMode(QLineEdit::Password);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("New Password", m_password);
    form->addRow("Confirm Password", m_confirmation);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CSetPassDlgView::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

void CSetPassDlgView::accept() {
    // Passwords travel as the gateway's 8-bit text, Windows-1252 as everywhere.
    const std::string password = qttext::ToCp1252(m_password->text());
    const std::string confirmation = qttext::ToCp1252(m_confirmation->text());
    switch (m_logic.OnOK(password, confirmation)) {
    case CSetPassDlg::kClosedOk: QDialog::accept(); break;
    case CSetPassDlg::kClosedCancel: reject(); break;
    case CSetPassDlg::kStayOpen: break;
    }
}

QString CWizardStepDlg::Title(int index) {
    static const char* const titles[] = {"General Settings", "Circuits", "Other Equipment", "Pumps",
                                         "Spa-Side Remotes"};
    const int shown = index >= 0 && index < 5 ? index : 0;
    return QString("%1 (Step %2 of 5)").arg(titles[shown]).arg(shown + 1);
}

CWizardStepDlg::CWizardStepDlg(QWidget* parent, int index, std::shared_ptr<CBasinSetup> model,
                               const std::string& adapterName)
    : QDialog(parent), m_model(std::move(model)) {
    (void)adapterName;
    setWindowTitle(Title(index));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    auto* row = new QHBoxLayout;
    auto* back = new QPushButton("<< Back");
    auto* next = new QPushButton("Next >>");
    auto* finish = new QPushButton("Finish");
    next->setDefault(true);
    row->addStretch();
    row->addWidget(back);
    row->addWidget(next);
    row->addWidget(finish);
    layout->addLayout(row);
    QObject::connect(back, &QPushButton::clicked, this, [this] { done(-1); });
    QObject::connect(next, &QPushButton::clicked, this, &QDialog::accept);
    QObject::connect(finish, &QPushButton::clicked, this, &QDialog::reject);
    resize(480, 320);
}
