#include "sentinax/views/dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qttext/qttext.h"
#include "sentinax/system.h"
#include "sentinax/views/sortlistview.h"

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// The notes keep the line ends they were stored with.
QString NotesToEdit(const std::string& notes) { return qttext::FromCp1252(notes).replace("\r\n", "\n"); }
std::string NotesFromEdit(const QString& text) {
    QString stored = text;
    return qttext::ToCp1252(stored.replace("\n", "\r\n"));
}

}  // namespace

QString WithExtension(const QString& path, const char* extension) {
    return QFileInfo(path).suffix().isEmpty() ? path + extension : path;
}

// --- Add New Email Recipient ---

CAddEmailDlgWindow::CAddEmailDlgWindow(QWidget* parent) : QDialog(parent), address_(new QLineEdit) {
    setWindowTitle("Add New Email Recipient");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Email Address", address_);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    resize(360, 90);
}

std::string CAddEmailDlgWindow::GetAddress() const { return qttext::ToCp1252(address_->text()); }

// --- Customer Information ---

CSystemDlgWindow::CSystemDlgWindow(QWidget* parent, CSystem& system, CMailQueue& mail, const CSystemColumns& columns,
                                   std::function<void()> showEmailLog)
    : QDialog(parent),
      logic_(system, mail, columns, std::move(showEmailLog), *this),
      name_(new QLineEdit),
      adapter_(new QLineEdit),
      password_(new QLineEdit),
      emails_(new QListWidget),
      includeDefault_(new QCheckBox("Include Default Email Address")),
      notify_{new QCheckBox("Marquel"), new QCheckBox("Vortana"),  new QCheckBox("Chlorinator"),
              new QCheckBox("Tessik"),  new QCheckBox("Calvetto"), new QCheckBox("Freeze Mode")},
      notes_(new QPlainTextEdit),
      address_(new QLineEdit),
      city_(new QLineEdit),
      zip_(new QLineEdit),
      phone_(new QLineEdit) {
    setWindowTitle("Customer Information");
    password_->setEchoMode(QLineEdit::Password);

    auto* add = new QPushButton("Add New");
    auto* remove = new QPushButton("Delete");
    auto* test = new QPushButton("Send Test Email");
    for (QPushButton* button : {add, remove, test}) button->setAutoDefault(false);

    auto* left = new QFormLayout;
    left->addRow("Customer Name", name_);
    left->addRow("Protocol Adapter Address", adapter_);
    left->addRow("Protocol Adapter Password", password_);

    auto* emailGroup = new QGroupBox("Email Address List");
    auto* emailLayout = new QGridLayout(emailGroup);
    emailLayout->addWidget(emails_, 0, 0, 4, 1);
    emailLayout->addWidget(add, 0, 1);
    emailLayout->addWidget(remove, 1, 1);
    emailLayout->addWidget(includeDefault_, 4, 0);
    emailLayout->addWidget(test, 4, 1);

    auto* notifyGroup = new QGroupBox("Send Email for the following errors");
    auto* notifyLayout = new QGridLayout(notifyGroup);
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) notifyLayout->addWidget(notify_[i], i / 3, i % 3);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addLayout(left);
    leftColumn->addWidget(emailGroup);
    leftColumn->addWidget(notifyGroup);

    auto* right = new QFormLayout;
    right->addRow("Notes", notes_);
    right->addRow("Address", address_);
    right->addRow("City", city_);
    right->addRow("ZIP", zip_);
    right->addRow("Phone", phone_);

    auto* columnsLayout = new QHBoxLayout;
    columnsLayout->addLayout(leftColumn, 1);
    columnsLayout->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columnsLayout);
    layout->addWidget(OkCancel(this));
    resize(700, 430);

    controls_ = {{1002, name_},      {1003, adapter_},   {1004, password_},       {1009, emails_},
                 {1010, add},        {1011, remove},     {1026, includeDefault_}, {1012, test},
                 {1014, notify_[0]}, {1015, notify_[1]}, {1016, notify_[2]},      {1030, notify_[3]},
                 {1028, notify_[4]}, {1017, notify_[5]}, {1007, notes_},          {1005, address_},
                 {1006, city_},      {1008, zip_},       {1013, phone_}};
    connect(add, &QPushButton::clicked, this, [this] { logic_.OnAddEmail(); });
    connect(remove, &QPushButton::clicked, this, [this] { logic_.OnDeleteEmail(); });
    connect(test, &QPushButton::clicked, this, [this] { logic_.OnSendTestEmail(); });
    logic_.OnInitDialog();
}

QWidget* CSystemDlgWindow::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void CSystemDlgWindow::PutFields(const CSystemFields& fields) {
    name_->setText(qttext::FromCp1252(fields.name));
    adapter_->setText(qttext::FromCp1252(fields.adapterAddress));
    password_->setText(qttext::FromCp1252(fields.password));
    includeDefault_->setChecked(fields.includeDefault != 0);
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) notify_[i]->setChecked(fields.notify[i] != 0);
    notes_->setPlainText(NotesToEdit(fields.notes));
    address_->setText(qttext::FromCp1252(fields.address));
    city_->setText(qttext::FromCp1252(fields.city));
    zip_->setText(qttext::FromCp1252(fields.zip));
    phone_->setText(qttext::FromCp1252(fields.phone));
}

bool CSystemDlgWindow::GetFields(CSystemFields& fields) {
    fields.name = qttext::ToCp1252(name_->text());
    fields.adapterAddress = qttext::ToCp1252(adapter_->text());
    fields.password = qttext::ToCp1252(password_->text());
    fields.includeDefault = includeDefault_->isChecked() ? 1 : 0;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) fields.notify[i] = notify_[i]->isChecked() ? 1 : 0;
    fields.notes = NotesFromEdit(notes_->toPlainText());
    fields.address = qttext::ToCp1252(address_->text());
    fields.city = qttext::ToCp1252(city_->text());
    fields.zip = qttext::ToCp1252(zip_->text());
    fields.phone = qttext::ToCp1252(phone_->text());
    return true;
}

void CSystemDlgWindow::ShowEmails(const std::vector<std::string>& emails) {
    emails_->clear();
    for (const std::string& email : emails) emails_->addItem(qttext::FromCp1252(email));
}

int CSystemDlgWindow::SelectedEmail() {
    const QList<QListWidgetItem*> chosen = emails_->selectedItems();
    return chosen.isEmpty() ? -1 : emails_->row(chosen.front());
}

std::optional<std::string> CSystemDlgWindow::AskNewEmail() {
    CAddEmailDlgWindow dialog(this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetAddress();
}

void CSystemDlgWindow::StayOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();  // changing the flags hides the window
}

void CSystemDlgWindow::ShowRefusal(const std::string& text) {
    QMessageBox::warning(this, windowTitle(), qttext::FromCp1252(text));
}

void CSystemDlgWindow::EndDialog(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

void CSystemDlgWindow::accept() { logic_.OnOK(); }

// --- Outgoing Email Account Settings ---

CEmailSetDlgWindow::CEmailSetDlgWindow(QWidget* parent, CEmailServer& server)
    : QDialog(parent),
      logic_(server, *this),
      server_(new QLineEdit),
      sender_(new QLineEdit),
      password_(new QLineEdit),
      recipient_(new QLineEdit) {
    setWindowTitle("Outgoing Email Account Settings");
    password_->setEchoMode(QLineEdit::Password);
    auto* account = new QGroupBox("Outgoing Email Account Settings");
    auto* accountForm = new QFormLayout(account);
    accountForm->addRow("SMTP Server", server_);
    accountForm->addRow("Email Address", sender_);
    accountForm->addRow("Account Password", password_);
    auto* fallback = new QGroupBox("Default Email Recipient for All Alarms");
    auto* fallbackForm = new QFormLayout(fallback);
    fallbackForm->addRow("Email Address", recipient_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(account);
    layout->addWidget(fallback);
    layout->addWidget(OkCancel(this));
    resize(460, 260);
    logic_.OnInitDialog();
}

void CEmailSetDlgWindow::PutAccount(const CEmailAccount& account) {
    server_->setText(qttext::FromCp1252(account.smtpServer));
    sender_->setText(qttext::FromCp1252(account.sender));
    password_->setText(qttext::FromCp1252(account.password));
    recipient_->setText(qttext::FromCp1252(account.defaultRecipient));
}

bool CEmailSetDlgWindow::GetAccount(CEmailAccount& account) {
    account.smtpServer = qttext::ToCp1252(server_->text());
    account.sender = qttext::ToCp1252(sender_->text());
    account.password = qttext::ToCp1252(password_->text());
    account.defaultRecipient = qttext::ToCp1252(recipient_->text());
    return true;
}

void CEmailSetDlgWindow::EndDialog(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

void CEmailSetDlgWindow::accept() { logic_.OnOK(); }

// --- Email Log ---

CEmailLogDlgWindow::CEmailLogDlgWindow(QWidget* parent, CEmailServer& server, std::function<void()> close)
    : QDialog(parent), logic_(server, *this, std::move(close)), lines_(new QListWidget) {
    setWindowTitle("Email Log");
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    resize(600, 440);
}

int CEmailLogDlgWindow::GetLineCount() { return lines_->count(); }

void CEmailLogDlgWindow::DeleteFirstLine() { delete lines_->takeItem(0); }

void CEmailLogDlgWindow::AddLine(const std::string& line) {
    // The tab stands where the list box's tab stop was.
    lines_->addItem(qttext::FromCp1252(line).replace('\t', "    "));
}

void CEmailLogDlgWindow::SelectLastLine() {
    lines_->setCurrentRow(lines_->count() - 1);
    lines_->scrollToBottom();
}

void CEmailLogDlgWindow::reject() { logic_.OnCancel(); }

// --- System Backup ---

CBackupReminderDlgWindow::CBackupReminderDlgWindow(QWidget* parent)
    : QDialog(parent), dontShow_(new QCheckBox("Don't Show this again")) {
    setWindowTitle("System Backup");
    auto* caution = new QLabel("CAUTION");
    auto* advice =
        new QLabel("It is highly recommended that you backup your customer system information on a frequent basis.");
    auto* detail = new QLabel(
        "This backup will contain your customer's system information (protocol adapter address, remote password "
        "(if used), "
        "address and contact information, customer notes, and log file history).  Please backup this information "
        "to a "
        "remote storage device such as a USB flash memory key and/or an external hard drive.  This simple backup "
        "procedure "
        "will save you lots of time if your computer's hard drive were to become inaccessible.");
    for (QLabel* label : {advice, detail}) label->setWordWrap(true);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{caution, advice, detail, dontShow_, ok})
        layout->addWidget(widget);
    resize(480, 240);
}

bool CBackupReminderDlgWindow::DontShowAgain() const { return dontShow_->isChecked(); }

CBackupOptionsDlgWindow::CBackupOptionsDlgWindow(QWidget* parent)
    : QDialog(parent), withHistory_(new QCheckBox("Backup Log Data")) {
    setWindowTitle("System Backup");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(withHistory_);
    layout->addWidget(new QLabel("NOTE: Backing Up Log Data can create a very large backup"));
    layout->addWidget(new QLabel("file and possibly take several minutes to complete."));
    layout->addWidget(OkCancel(this));
}

bool CBackupOptionsDlgWindow::WithHistory() const { return withHistory_->isChecked(); }

// --- About ---

CAboutDlgWindow::CAboutDlgWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Sentinax");
    auto* version = new QLabel(kVersionText);
    version->setObjectName("version");
    auto* text = new QGridLayout;
    text->addWidget(new QLabel("Marquel Remote Control & Monitor"), 0, 0, 1, 2);
    text->addWidget(new QLabel("Version:"), 1, 0);
    text->addWidget(version, 1, 1);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addWidget(ok);
}

// --- System Errors ---

CErrorsDlgWindow::CErrorsDlgWindow(QWidget* parent, const CSystem& system) : QDialog(parent), lines_(new QListWidget) {
    setWindowTitle(qttext::FromCp1252(GetErrorsTitle(system)));
    for (const std::string& line : GetErrorLines(system)) lines_->addItem(qttext::FromCp1252(line));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    resize(330, 200);
}

// --- System History ---

CHistoryDlgWindow::CHistoryDlgWindow(CSystem& system)
    : logic_(std::make_unique<CHistoryDlg>(system, *this)), list_(new CSortListWidget(logic_->List())) {
    auto* menuBar = new QMenuBar;
    QMenu* menu = menuBar->addMenu("System Log");
    delete_ = menu->addAction("Delete Entries");
    delete_->setEnabled(false);
    QAction* exportCsv = menu->addAction("Export to CSV...");
    connect(delete_, &QAction::triggered, this, [this] { logic_->OnDeleteEntries(); });
    connect(exportCsv, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QString(), QString(), "CSV Files (*.CSV);;All Files (*)");
        if (!path.isEmpty()) logic_->ExportCsv(WithExtension(path, ".CSV").toStdString());
    });
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
    list_->SetSelectionHandler([this] { logic_->OnItemChanged(); });
    list_->SetErrorsHandler([this](CSystem& record) { CErrorsDlgWindow(this, record).exec(); });
    setWindowTitle(qttext::FromCp1252(logic_->GetTitle()));
    logic_->LoadHistory();
    resize(870, 440);
    setWindowState(Qt::WindowMaximized);
}

// The list goes before the logic whose rows it shows.
CHistoryDlgWindow::~CHistoryDlgWindow() { delete list_; }

void CHistoryDlgWindow::EnableDeleteEntries(bool on) { delete_->setEnabled(on); }
