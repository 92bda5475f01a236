#include "sentinax/views/sentinaxwindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

#include "qttext/qttext.h"
#include "sentinax/views/dialogs.h"
#include "sentinax/views/sortlistview.h"

namespace {

constexpr int kMargin = 4;
constexpr char kIconPath[] = ":/sentinax/sentinax.png";

}  // namespace

// The resources live in a static library: nothing would pull them in unasked.
static void LoadIconResource() { Q_INIT_RESOURCE(sentinax); }

CSentinaxDlgWindow::CSentinaxDlgWindow(CEmailServer& email, CConnectGates& gates,
                                       CSystemRoster::RefreshFunction refresh)
    : m_email(email), m_logic(std::make_unique<CSentinaxDlg>(email, gates, *this, std::move(refresh))) {
    LoadIconResource();
    setWindowTitle("Brenvik Remote Control & Monitor");
    setWindowIcon(QIcon(kIconPath));
    m_list = new CSortListWidget(m_logic->List());
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_list);
    setCentralWidget(central);
    BuildMenus();
    m_list->SetSelectionHandler([this] { m_logic->OnSystemListItemChanged(); });
    m_list->SetErrorsHandler([this](CSystem& system) { ShowSystemErrors(system); });
    resize(870, 500);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] { m_logic->OnIdlePump(); });
}

CSentinaxDlgWindow::~CSentinaxDlgWindow() {
    m_idleTimer.stop();
    delete m_emailLog;
    // The list widget shows the logic's list: it goes first.
    delete m_list;
    // The logic stops the poll threads, which may still ask for idle work.
    m_logic.reset();
}

void CSentinaxDlgWindow::Start() {
    m_logic->OnInitDialog();
    m_idleTimer.start(kIdleTimerMs);
}

void CSentinaxDlgWindow::BuildMenus() {
    m_customers = menuBar()->addMenu("&Customers");
    AddCommand(m_customers, "&Add New...", ID_CUSTOMERS_ADD, true);
    AddCommand(m_customers, "&Edit...", ID_CUSTOMERS_EDIT, false);
    AddCommand(m_customers, "&Connect to System Now...", ID_CUSTOMERS_CONNECT, false);
    m_customers->addSeparator();
    AddCommand(m_customers, "&Delete...", ID_CUSTOMERS_DELETE, false);
    m_customers->addSeparator();
    AddCommand(m_customers, "&Show System Errors...", ID_CUSTOMERS_ERRORS, false);
    AddCommand(m_customers, "Show &Log...", ID_CUSTOMERS_LOG, false);
    AddCommand(m_customers, "&Refresh Status Now", ID_CUSTOMERS_REFRESH, false);
    m_customers->addSeparator();
    AddCommand(m_customers, "Refresh All Status Now", ID_CUSTOMERS_REFRESH_ALL, true);
    m_customers->addSeparator();
    AddCommand(m_customers, "Backup...", ID_CUSTOMERS_BACKUP, true);
    AddCommand(m_customers, "Restore...", ID_CUSTOMERS_RESTORE, true);
    QMenu* view = menuBar()->addMenu("&View");
    AddCommand(view, "Set &Default Column Widths", ID_VIEW_DEFAULT_WIDTHS, true);
    QMenu* email = menuBar()->addMenu("&Email");
    AddCommand(email, "&SMTP Settings...", ID_EMAIL_SMTP, true);
    AddCommand(email, "Show &Email Log", ID_EMAIL_LOG, true);
    QMenu* about = menuBar()->addMenu("&About");
    AddCommand(about, "About Marquel Remote Control && Monitor...", ID_ABOUT, true);
}

QAction* CSentinaxDlgWindow::AddCommand(QMenu* menu, const char* text, int id, bool enabled) {
    QAction* action = menu->addAction(text);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, id] { m_logic->OnCommand(id); });
    m_commands[id] = action;
    return action;
}

QAction* CSentinaxDlgWindow::Command(int id) const {
    const auto found = m_commands.find(id);
    return found == m_commands.end() ? nullptr : found->second;
}

void CSentinaxDlgWindow::EnableCommand(int id, bool on) {
    if (QAction* action = Command(id)) action->setEnabled(on);
}

void CSentinaxDlgWindow::RedrawRow(int row) { m_list->RedrawRow(row); }

CSentinaxView::Answer CSentinaxDlgWindow::AskYesNoCancel(const std::string& question) {
    const auto answer = QMessageBox::question(this, windowTitle(), qttext::FromCp1252(question),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return kYes;
    return answer == QMessageBox::No ? kNo : kCancel;
}

bool CSentinaxDlgWindow::RunSystemDialog(CSystem& system) {
    CSystemDlgWindow dialog(this, system, m_email, m_logic->List(), [this] { m_logic->OnShowEmailLog(); });
    return dialog.exec() == QDialog::Accepted;
}

void CSentinaxDlgWindow::ShowSystemErrors(CSystem& system) { CErrorsDlgWindow(this, system).exec(); }

void CSentinaxDlgWindow::ShowHistory(CSystem& system) { CHistoryDlgWindow(system).exec(); }

void CSentinaxDlgWindow::ShowAbout() { CAboutDlgWindow(this).exec(); }

bool CSentinaxDlgWindow::RunEmailSettings() { return CEmailSetDlgWindow(this, m_email).exec() == QDialog::Accepted; }

CEmailLogDlg* CSentinaxDlgWindow::OpenEmailLog() {
    m_emailLog = new CEmailLogDlgWindow(this, m_email, [this] { m_logic->CloseEmailLog(); });
    m_emailLog->show();
    return &m_emailLog->Logic();
}

void CSentinaxDlgWindow::DestroyEmailLog() {
    // The log window may be the one asking; it goes once its call returns.
    if (m_emailLog) m_emailLog->deleteLater();
    m_emailLog = nullptr;
}

void CSentinaxDlgWindow::ShowContextMenu(int x, int y) { m_customers->popup(QPoint(x, y)); }

void CSentinaxDlgWindow::ShowMessage(const std::string& text) {
    QMessageBox::information(this, windowTitle(), qttext::FromCp1252(text));
}

bool CSentinaxDlgWindow::AskYesNo(const std::string& question) {
    return QMessageBox::question(this, windowTitle(), qttext::FromCp1252(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool CSentinaxDlgWindow::RunBackupReminder() {
    CBackupReminderDlgWindow dialog(this);
    return dialog.exec() == QDialog::Accepted && dialog.DontShowAgain();
}

std::optional<bool> CSentinaxDlgWindow::RunBackupOptions() {
    CBackupOptionsDlgWindow dialog(this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.WithHistory();
}

std::optional<std::string> CSentinaxDlgWindow::AskArchiveName(bool save) {
    static const QString kFilter = "System Backup Files (*.BAK);;All Files (*)";
    const QString path = save ? QFileDialog::getSaveFileName(this, QString(), QString(), kFilter)
                              : QFileDialog::getOpenFileName(this, QString(), QString(), kFilter);
    if (path.isEmpty()) return std::nullopt;
    return (save ? WithExtension(path, ".BAK") : path).toStdString();
}

void CSentinaxDlgWindow::PlaceWindow(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
}

void CSentinaxDlgWindow::GetWindowPlace(int& left, int& top, int& width, int& height) {
    const QRect place = geometry();
    left = place.left();
    top = place.top();
    width = place.width();
    height = place.height();
}

void CSentinaxDlgWindow::Maximise() { setWindowState(windowState() | Qt::WindowMaximized); }

void CSentinaxDlgWindow::ApplyColumnWidths() { m_list->Header()->ApplyListWidths(); }

void CSentinaxDlgWindow::PostIdlePump() {
    if (m_pumpPosted.exchange(true)) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pumpPosted = false;
            m_logic->OnIdlePump();
        },
        Qt::QueuedConnection);
}

void CSentinaxDlgWindow::closeEvent(QCloseEvent* event) {
    if (!m_destroyed) {
        m_destroyed = true;
        m_idleTimer.stop();
        m_logic->OnDestroy();
    }
    event->accept();
}
