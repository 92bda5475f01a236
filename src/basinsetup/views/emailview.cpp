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
#include "platform/cp1252.h"

namespace {


}  // namespace

CNewEmailDlg::CNewEmailDlg() : address_(new QLineEdit) {
    setWindowTitle("New Email Recipient");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Email Address", address_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(340, 90);
}

std::string CNewEmailDlg::GetAddress() const { return platform::Utf16ToCp1252(address_->text().toStdU16String()); }

CEmailDlgView::CEmailDlgView(const std::string& adapterName, uint16_t locatorPort)
    : logic_(*this, adapterName, locatorPort),
      enabled_(new QCheckBox("Enable Email for the following error types")),
      password_(new QLineEdit),
      alerts_{new QCheckBox("Marquel"), new QCheckBox("Vortana"), new QCheckBox("Chlorinator"),
              new QCheckBox("Freeze")},
      recipients_(new QListWidget),
      add_(new QPushButton("Add...")),
      remove_(new QPushButton("Remove")),
      address_(new QLineEdit),
      city_(new QLineEdit),
      zip_(new QLineEdit),
      status_(new QLabel) {
    setWindowTitle("Email Settings");
    auto* alerts = new QGroupBox;
    auto* alertLayout = new QVBoxLayout(alerts);
    alertLayout->addWidget(enabled_);
    auto* kinds = new QHBoxLayout;
    for (QCheckBox* alert : alerts_)
        kinds->addWidget(alert);
    alertLayout->addLayout(kinds);

    auto* recipients = new QGroupBox("Email Recipients");
    auto* recipientLayout = new QHBoxLayout(recipients);
    recipientLayout->addWidget(recipients_);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(add_);
    listButtons->addWidget(remove_);
    listButtons->addStretch();
    recipientLayout->addLayout(listButtons);

    auto* form = new QFormLayout;
    form->addRow("Remote Access Password", password_);
    form->addRow("Address ", address_);
    form->addRow("City", city_);
    form->addRow("ZIP", zip_);

    auto* done = new QPushButton("Done");
    done->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(done);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(alerts);
    layout->addWidget(recipients);
    layout->addLayout(form);
    layout->addLayout(bottom);
    for (QPushButton* button : {add_, remove_})
        button->setAutoDefault(false);
    resize(460, 420);

    connect(enabled_, &QCheckBox::clicked, this, [this] { logic_.EnableAlertControls(); });
    connect(add_, &QPushButton::clicked, this, [this] { logic_.OnAddRecipient(); });
    connect(remove_, &QPushButton::clicked, this, [this] { logic_.OnRemoveRecipient(); });
    connect(done, &QPushButton::clicked, this, &CEmailDlgView::accept);
    connect(&timer_, &QTimer::timeout, this, [this] { logic_.OnTimer(); });
    logic_.OnInitDialog();
    timer_.start(static_cast<int>(CEmailDlg::kFirstTickMs));
}

void CEmailDlgView::SetStatus(const std::string& text) {
    status_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(text)));
    status_->repaint();  // the read that follows keeps the event loop waiting
}

void CEmailDlgView::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CEmailDlgView::StopTimer() { timer_.stop(); }

void CEmailDlgView::PutSettings(const CEmailSettings& settings) {
    enabled_->setChecked(settings.enabled != 0);
    password_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(settings.password)));
    for (size_t i = 0; i < std::size(alerts_); ++i)
        alerts_[i]->setChecked(settings.alerts[i] != 0);
    SetRecipients(settings.recipients);
    address_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(settings.address)));
    city_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(settings.city)));
    zip_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(settings.zip)));
}

bool CEmailDlgView::GetSettings(CEmailSettings& settings) {
    settings.enabled = enabled_->isChecked() ? 1 : 0;
    settings.password = platform::Utf16ToCp1252(password_->text().toStdU16String());
    for (size_t i = 0; i < std::size(alerts_); ++i)
        settings.alerts[i] = alerts_[i]->isChecked() ? 1 : 0;
    settings.address = platform::Utf16ToCp1252(address_->text().toStdU16String());
    settings.city = platform::Utf16ToCp1252(city_->text().toStdU16String());
    settings.zip = platform::Utf16ToCp1252(zip_->text().toStdU16String());
    return true;
}

void CEmailDlgView::SetRecipients(const std::vector<std::string>& recipients) {
    recipients_->clear();
    for (const std::string& recipient : recipients)
        recipients_->addItem(QString::fromStdU16String(platform::Cp1252ToUtf16(recipient)));
}

int CEmailDlgView::SelectedRecipient() { return recipients_->currentItem() ? recipients_->currentRow() : -1; }

void CEmailDlgView::EnableAlertControls(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{alerts_[0], alerts_[1], alerts_[2], alerts_[3], add_,
                                                             remove_, recipients_, password_, address_, city_, zip_})
        control->setEnabled(on);
}

void CEmailDlgView::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

std::optional<std::string> CEmailDlgView::AskNewRecipient() {
    CNewEmailDlg dialog;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetAddress();
}

void CEmailDlgView::EndDialog(bool ok) {
    timer_.stop();
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void CEmailDlgView::accept() { logic_.OnOK(); }
