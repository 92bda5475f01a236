#include "basinsetup/views/emailview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "basinsetup/views/dialogs.h"
#include "qttext/qttext.h"

namespace {}  // namespace

CNewEmailDlg::CNewEmailDlg() : m_address(new QLineEdit) {
    setWindowTitle("New Email Recipient");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Email Address", m_address);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(340, 90);
}

std::string CNewEmailDlg::GetAddress() const { return qttext::ToCp1252(m_address->text()); }

CEmailDlgView::CEmailDlgView(const std::string& adapterName, uint16_t locatorPort)
    : m_logic(*this, adapterName, locatorPort),
      m_enabled(new QCheckBox("Enable Email for the following error types")),
      m_password(new QLineEdit),
      m_alerts{new QCheckBox("Marquel"), new QCheckBox("Vortana"), new QCheckBox("Chlorinator"),
               new QCheckBox("Freeze")},
      m_recipients(new QListWidget),
      m_add(new QPushButton("Add...")),
      m_remove(new QPushButton("Remove")),
      m_address(new QLineEdit),
      m_city(new QLineEdit),
      m_zip(new QLineEdit),
      m_status(new QLabel) {
    setWindowTitle("Email Settings");
    auto* alerts = new QGroupBox;
    auto* alertLayout = new QVBoxLayout(alerts);
    alertLayout->addWidget(m_enabled);
    auto* kinds = new QHBoxLayout;
    for (QCheckBox* alert : m_alerts) kinds->addWidget(alert);
    alertLayout->addLayout(kinds);

    auto* recipients = new QGroupBox("Email Recipients");
    auto* recipientLayout = new QHBoxLayout(recipients);
    recipientLayout->addWidget(m_recipients);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(m_add);
    listButtons->addWidget(m_remove);
    listButtons->addStretch();
    recipientLayout->addLayout(listButtons);

    auto* form = new QFormLayout;
    form->addRow("Remote Access Password", m_password);
    form->addRow("Address ", m_address);
    form->addRow("City", m_city);
    form->addRow("ZIP", m_zip);

    auto* done = new QPushButton("Done");
    done->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(done);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(alerts);
    layout->addWidget(recipients);
    layout->addLayout(form);
    layout->addLayout(bottom);
    for (QPushButton* button : {m_add, m_remove}) button->setAutoDefault(false);
    resize(460, 420);

    connect(m_enabled, &QCheckBox::clicked, this, [this] { m_logic.EnableAlertControls(); });
    connect(m_add, &QPushButton::clicked, this, [this] { m_logic.OnAddRecipient(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { m_logic.OnRemoveRecipient(); });
    connect(done, &QPushButton::clicked, this, &CEmailDlgView::accept);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_logic.OnTimer(); });
    m_logic.OnInitDialog();
    m_timer.start(static_cast<int>(CEmailDlg::kFirstTickMs));
}

void CEmailDlgView::SetStatus(const std::string& text) {
    m_status->setText(qttext::FromCp1252(text));
    m_status->repaint();  // the read that follows keeps the event loop waiting
}

void CEmailDlgView::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CEmailDlgView::StopTimer() { m_timer.stop(); }

void CEmailDlgView::PutSettings(const CEmailSettings& settings) {
    m_enabled->setChecked(settings.enabled != 0);
    m_password->setText(qttext::FromCp1252(settings.password));
    for (size_t i = 0; i < std::size(m_alerts); ++i) m_alerts[i]->setChecked(settings.alerts[i] != 0);
    SetRecipients(settings.recipients);
    m_address->setText(qttext::FromCp1252(settings.address));
    m_city->setText(qttext::FromCp1252(settings.city));
    m_zip->setText(qttext::FromCp1252(settings.zip));
}

bool CEmailDlgView::GetSettings(CEmailSettings& settings) {
    settings.enabled = m_enabled->isChecked() ? 1 : 0;
    settings.password = qttext::ToCp1252(m_password->text());
    for (size_t i = 0; i < std::size(m_alerts); ++i) settings.alerts[i] = m_alerts[i]->isChecked() ? 1 : 0;
    settings.address = qttext::ToCp1252(m_address->text());
    settings.city = qttext::ToCp1252(m_city->text());
    settings.zip = qttext::ToCp1252(m_zip->text());
    return true;
}

void CEmailDlgView::SetRecipients(const std::vector<std::string>& recipients) {
    m_recipients->clear();
    for (const std::string& recipient : recipients) m_recipients->addItem(qttext::FromCp1252(recipient));
}

int CEmailDlgView::SelectedRecipient() { return m_recipients->currentItem() ? m_recipients->currentRow() : -1; }

void CEmailDlgView::EnableAlertControls(bool on) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_alerts[0], m_alerts[1], m_alerts[2], m_alerts[3], m_add, m_remove,
                                         m_recipients, m_password, m_address, m_city, m_zip})
        control->setEnabled(on);
}

void CEmailDlgView::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

std::optional<std::string> CEmailDlgView::AskNewRecipient() {
    CNewEmailDlg dialog;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetAddress();
}

void CEmailDlgView::EndDialog(bool ok) {
    m_timer.stop();
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void CEmailDlgView::accept() { m_logic.OnOK(); }
