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

CAddEmailDlgWindow::CAddEmailDlgWindow(QWidget* parent) : QDialog(parent), m_address(new QLineEdit) {
    setWindowTitle("Add New Email Recipient");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Email Address", m_address);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    resize(360, 90);
}

std::string CAddEmailDlgWindow::GetAddress() const { return qttext::ToCp1252(m_address->text()); }

// --- Customer Information ---

CSystemDlgWindow::CSystemDlgWindow(QWidget* parent, CSystem& system, CMailQueue& mail, const CSystemColumns& columns,
                                   std::function<void()> showEmailLog)
    : QDialog(parent),
      m_logic(system, mail, columns, std::move(showEmailLog), *this),
      m_name(new QLineEdit),
      m_adapter(new QLineEdit),
      m_password(new QLineEdit),
      m_emails(new QListWidget),
      m_includeDefault(new QCheckBox("Include Default Email Address")),
      m_notify{new QCheckBox("Marquel"), new QCheckBox("Vortana"),  new QCheckBox("Chlorinator"),
               new QCheckBox("Tessik"),  new QCheckBox("Calvetto"), new QCheckBox("Freeze Mode")},
      m_notes(new QPlainTextEdit),
      m_address(new QLineEdit),
      m_city(new QLineEdit),
      m_zip(new QLineEdit),
      m_phone(new QLineEdit) {
    setWindowTitle("Customer Information");
    m_password->setEchoMode(QLineEdit::Password);

    auto* add = new QPushButton("Add New");
    auto* remove = new QPushButton("Delete");
    auto* test = new QPushButton("Send Test Email");
    for (QPushButton* button : {add, remove, test}) button->setAutoDefault(false);

    auto* left = new QFormLayout;
    left->addRow("Customer Name", m_name);
    left->addRow("Protocol Adapter Address", m_adapter);
    left->addRow("Protocol Adapter Password", m_password);

    auto* emailGroup = new QGroupBox("Email Address List");
    auto* emailLayout = new QGridLayout(emailGroup);
    emailLayout->addWidget(m_emails, 0, 0, 4, 1);
    emailLayout->addWidget(add, 0, 1);
    emailLayout->addWidget(remove, 1, 1);
    emailLayout->addWidget(m_includeDefault, 4, 0);
    emailLayout->addWidget(test, 4, 1);

    auto* notifyGroup = new QGroupBox("Send Email for the following errors");
    auto* notifyLayout = new QGridLayout(notifyGroup);
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) notifyLayout->addWidget(m_notify[i], i / 3, i % 3);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addLayout(left);
    leftColumn->addWidget(emailGroup);
    leftColumn->addWidget(notifyGroup);

    auto* right = new QFormLayout;
    right->addRow("Notes", m_notes);
    right->addRow("Address", m_address);
    right->addRow("City", m_city);
    right->addRow("ZIP", m_zip);
    right->addRow("Phone", m_phone);

    auto* columnsLayout = new QHBoxLayout;
    columnsLayout->addLayout(leftColumn, 1);
    columnsLayout->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columnsLayout);
    layout->addWidget(OkCancel(this));
    resize(700, 430);

    m_controls = {{1002, m_name},      {1003, m_adapter},   {1004, m_password},       {1009, m_emails},
                  {1010, add},         {1011, remove},      {1026, m_includeDefault}, {1012, test},
                  {1014, m_notify[0]}, {1015, m_notify[1]}, {1016, m_notify[2]},      {1030, m_notify[3]},
                  {1028, m_notify[4]}, {1017, m_notify[5]}, {1007, m_notes},          {1005, m_address},
                  {1006, m_city},      {1008, m_zip},       {1013, m_phone}};
    connect(add, &QPushButton::clicked, this, [this] { m_logic.OnAddEmail(); });
    connect(remove, &QPushButton::clicked, this, [this] { m_logic.OnDeleteEmail(); });
    connect(test, &QPushButton::clicked, this, [this] { m_logic.OnSendTestEmail(); });
    m_logic.OnInitDialog();
}

QWidget* CSystemDlgWindow::Control(int id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CSystemDlgWindow::PutFields(const CSystemFields& fields) {
    m_name->setText(qttext::FromCp1252(fields.name));
    m_adapter->setText(qttext::FromCp1252(fields.adapterAddress));
    m_password->setText(qttext::FromCp1252(fields.password));
    m_includeDefault->setChecked(fields.includeDefault != 0);
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) m_notify[i]->setChecked(fields.notify[i] != 0);
    m_notes->setPlainText(NotesToEdit(fields.notes));
    m_address->setText(qttext::FromCp1252(fields.address));
    m_city->setText(qttext::FromCp1252(fields.city));
    m_zip->setText(qttext::FromCp1252(fields.zip));
    m_phone->setText(qttext::FromCp1252(fields.phone));
}

bool CSystemDlgWindow::GetFields(CSystemFields& fields) {
    fields.name = qttext::ToCp1252(m_name->text());
    fields.adapterAddress = qttext::ToCp1252(m_adapter->text());
    fields.password = qttext::ToCp1252(m_password->text());
    fields.includeDefault = m_includeDefault->isChecked() ? 1 : 0;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) fields.notify[i] = m_notify[i]->isChecked() ? 1 : 0;
    fields.notes = NotesFromEdit(m_notes->toPlainText());
    fields.address = qttext::ToCp1252(m_address->text());
    fields.city = qttext::ToCp1252(m_city->text());
    fields.zip = qttext::ToCp1252(m_zip->text());
    fields.phone = qttext::ToCp1252(m_phone->text());
    return true;
}

void CSystemDlgWindow::ShowEmails(const std::vector<std::string>& emails) {
    m_emails->clear();
    for (const std::string& email : emails) m_emails->addItem(qttext::FromCp1252(email));
}

int CSystemDlgWindow::SelectedEmail() {
    const QList<QListWidgetItem*> chosen = m_emails->selectedItems();
    return chosen.isEmpty() ? -1 : m_emails->row(chosen.front());
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

void CSystemDlgWindow::accept() { m_logic.OnOK(); }

// --- Outgoing Email Account Settings ---

CEmailSetDlgWindow::CEmailSetDlgWindow(QWidget* parent, CEmailServer& server)
    : QDialog(parent),
      m_logic(server, *this),
      m_server(new QLineEdit),
      m_sender(new QLineEdit),
      m_password(new QLineEdit),
      m_recipient(new QLineEdit) {
    setWindowTitle("Outgoing Email Account Settings");
    m_password->setEchoMode(QLineEdit::Password);
    auto* account = new QGroupBox("Outgoing Email Account Settings");
    auto* accountForm = new QFormLayout(account);
    accountForm->addRow("SMTP Server", m_server);
    accountForm->addRow("Email Address", m_sender);
    accountForm->addRow("Account Password", m_password);
    auto* fallback = new QGroupBox("Default Email Recipient for All Alarms");
    auto* fallbackForm = new QFormLayout(fallback);
    fallbackForm->addRow("Email Address", m_recipient);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(account);
    layout->addWidget(fallback);
    layout->addWidget(OkCancel(this));
    resize(460, 260);
    m_logic.OnInitDialog();
}

void CEmailSetDlgWindow::PutAccount(const CEmailAccount& account) {
    m_server->setText(qttext::FromCp1252(account.smtpServer));
    m_sender->setText(qttext::FromCp1252(account.sender));
    m_password->setText(qttext::FromCp1252(account.password));
    m_recipient->setText(qttext::FromCp1252(account.defaultRecipient));
}

bool CEmailSetDlgWindow::GetAccount(CEmailAccount& account) {
    account.smtpServer = qttext::ToCp1252(m_server->text());
    account.sender = qttext::ToCp1252(m_sender->text());
    account.password = qttext::ToCp1252(m_password->text());
    account.defaultRecipient = qttext::ToCp1252(m_recipient->text());
    return true;
}

void CEmailSetDlgWindow::EndDialog(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

void CEmailSetDlgWindow::accept() { m_logic.OnOK(); }

// --- Email Log ---

CEmailLogDlgWindow::CEmailLogDlgWindow(QWidget* parent, CEmailServer& server, std::function<void()> close)
    : QDialog(parent), m_logic(server, *this, std::move(close)), m_lines(new QListWidget) {
    setWindowTitle("Email Log");
    m_lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    resize(600, 440);
}

int CEmailLogDlgWindow::GetLineCount() { return m_lines->count(); }

void CEmailLogDlgWindow::DeleteFirstLine() { delete m_lines->takeItem(0); }

void CEmailLogDlgWindow::AddLine(const std::string& line) {
    // The tab stands where the list box's tab stop was.
    m_lines->addItem(qttext::FromCp1252(line).replace('\t', "    "));
}

void CEmailLogDlgWindow::SelectLastLine() {
    m_lines->setCurrentRow(m_lines->count() - 1);
    m_lines->scrollToBottom();
}

void CEmailLogDlgWindow::reject() { m_logic.OnCancel(); }

// --- System Backup ---

CBackupReminderDlgWindow::CBackupReminderDlgWindow(QWidget* parent)
    : QDialog(parent), m_dontShow(new QCheckBox("Don't Show this again")) {
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
    for (QWidget* widget : std::initializer_list<QWidget*>{caution, advice, detail, m_dontShow, ok})
        layout->addWidget(widget);
    resize(480, 240);
}

bool CBackupReminderDlgWindow::DontShowAgain() const { return m_dontShow->isChecked(); }

CBackupOptionsDlgWindow::CBackupOptionsDlgWindow(QWidget* parent)
    : QDialog(parent), m_withHistory(new QCheckBox("Backup Log Data")) {
    setWindowTitle("System Backup");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_withHistory);
    layout->addWidget(new QLabel("NOTE: Backing Up Log Data can create a very large backup"));
    layout->addWidget(new QLabel("file and possibly take several minutes to complete."));
    layout->addWidget(OkCancel(this));
}

bool CBackupOptionsDlgWindow::WithHistory() const { return m_withHistory->isChecked(); }

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

CErrorsDlgWindow::CErrorsDlgWindow(QWidget* parent, const CSystem& system) : QDialog(parent), m_lines(new QListWidget) {
    setWindowTitle(qttext::FromCp1252(GetErrorsTitle(system)));
    for (const std::string& line : GetErrorLines(system)) m_lines->addItem(qttext::FromCp1252(line));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    resize(330, 200);
}

// --- System History ---

CHistoryDlgWindow::CHistoryDlgWindow(CSystem& system)
    : m_logic(std::make_unique<CHistoryDlg>(system, *this)), m_list(new CSortListWidget(m_logic->List())) {
    auto* menuBar = new QMenuBar;
    QMenu* menu = menuBar->addMenu("System Log");
    m_delete = menu->addAction("Delete Entries");
    m_delete->setEnabled(false);
    QAction* exportCsv = menu->addAction("Export to CSV...");
    connect(m_delete, &QAction::triggered, this, [this] { m_logic->OnDeleteEntries(); });
    connect(exportCsv, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QString(), QString(), "CSV Files (*.CSV);;All Files (*)");
        if (!path.isEmpty()) m_logic->ExportCsv(WithExtension(path, ".CSV").toStdString());
    });
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    m_list->SetSelectionHandler([this] { m_logic->OnItemChanged(); });
    m_list->SetErrorsHandler([this](CSystem& record) { CErrorsDlgWindow(this, record).exec(); });
    setWindowTitle(qttext::FromCp1252(m_logic->GetTitle()));
    m_logic->LoadHistory();
    resize(870, 440);
    setWindowState(Qt::WindowMaximized);
}

// The list goes before the logic whose rows it shows.
CHistoryDlgWindow::~CHistoryDlgWindow() { delete m_list; }

void CHistoryDlgWindow::EnableDeleteEntries(bool on) { m_delete->setEnabled(on); }
