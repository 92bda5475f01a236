#include "sentinax/views/sentinaxwindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

#include "qttext/qttext.h"
#include "sentinax/views/dialogs.h"
#include "sentinax/views/sortlistview.h"

namespace {

constexpr int kMargin = 4;

}  // namespace

CSentinaxDlgWindow::CSentinaxDlgWindow(CEmailServer& email, CConnectGates& gates,
                                       CSystemRoster::RefreshFunction refresh)
    : email_(email), logic_(std::make_unique<CSentinaxDlg>(email, gates, *this, std::move(refresh))) {
    setWindowTitle("Brenvik Remote Control & Monitor");
    list_ = new CSortListWidget(logic_->List());
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(list_);
    setCentralWidget(central);
    BuildMenus();
    list_->SetSelectionHandler([this] { logic_->OnSystemListItemChanged(); });
    list_->SetErrorsHandler([this](CSystem& system) { ShowSystemErrors(system); });
    resize(870, 500);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { logic_->OnIdlePump(); });
}

CSentinaxDlgWindow::~CSentinaxDlgWindow() {
    idleTimer_.stop();
    delete emailLog_;
    // The list widget shows the logic's list: it goes first.
    delete list_;
    // The logic stops the poll threads, which may still ask for idle work.
    logic_.reset();
}

void CSentinaxDlgWindow::Start() {
    logic_->OnInitDialog();
    idleTimer_.start(kIdleTimerMs);
}

void CSentinaxDlgWindow::BuildMenus() {
    customers_ = menuBar()->addMenu("&Customers");
    AddCommand(customers_, "&Add New...", ID_CUSTOMERS_ADD, true);
    AddCommand(customers_, "&Edit...", ID_CUSTOMERS_EDIT, false);
    AddCommand(customers_, "&Connect to System Now...", ID_CUSTOMERS_CONNECT, false);
    customers_->addSeparator();
    AddCommand(customers_, "&Delete...", ID_CUSTOMERS_DELETE, false);
    customers_->addSeparator();
    AddCommand(customers_, "&Show System Errors...", ID_CUSTOMERS_ERRORS, false);
    AddCommand(customers_, "Show &Log...", ID_CUSTOMERS_LOG, false);
    AddCommand(customers_, "&Refresh Status Now", ID_CUSTOMERS_REFRESH, false);
    customers_->addSeparator();
    AddCommand(customers_, "Refresh All Status Now", ID_CUSTOMERS_REFRESH_ALL, true);
    customers_->addSeparator();
    AddCommand(customers_, "Backup...", ID_CUSTOMERS_BACKUP, true);
    AddCommand(customers_, "Restore...", ID_CUSTOMERS_RESTORE, true);
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
    connect(action, &QAction::triggered, this, [this, id] { logic_->OnCommand(id); });
    commands_[id] = action;
    return action;
}

QAction* CSentinaxDlgWindow::Command(int id) const {
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second;
}

void CSentinaxDlgWindow::EnableCommand(int id, bool on) {
    if (QAction* action = Command(id)) action->setEnabled(on);
}

void CSentinaxDlgWindow::RedrawRow(int row) { list_->RedrawRow(row); }

CSentinaxView::Answer CSentinaxDlgWindow::AskYesNoCancel(const std::string& question) {
    const auto answer = QMessageBox::question(this, windowTitle(), qttext::FromCp1252(question),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return kYes;
    return answer == QMessageBox::No ? kNo : kCancel;
}

bool CSentinaxDlgWindow::RunSystemDialog(CSystem& system) {
    CSystemDlgWindow dialog(this, system, email_, logic_->List(), [this] { logic_->OnShowEmailLog(); });
    return dialog.exec() == QDialog::Accepted;
}

void CSentinaxDlgWindow::ShowSystemErrors(CSystem& system) { CErrorsDlgWindow(this, system).exec(); }

void CSentinaxDlgWindow::ShowHistory(CSystem& system) { CHistoryDlgWindow(system).exec(); }

void CSentinaxDlgWindow::ShowAbout() { CAboutDlgWindow(this).exec(); }

bool CSentinaxDlgWindow::RunEmailSettings() { return CEmailSetDlgWindow(this, email_).exec() == QDialog::Accepted; }

CEmailLogDlg* CSentinaxDlgWindow::OpenEmailLog() {
    emailLog_ = new CEmailLogDlgWindow(this, email_, [this] { logic_->CloseEmailLog(); });
    emailLog_->show();
    return &emailLog_->Logic();
}

void CSentinaxDlgWindow::DestroyEmailLog() {
    // The log window may be the one asking; it goes once its call returns.
    if (emailLog_) emailLog_->deleteLater();
    emailLog_ = nullptr;
}

void CSentinaxDlgWindow::ShowContextMenu(int x, int y) { customers_->popup(QPoint(x, y)); }

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

void CSentinaxDlgWindow::ApplyColumnWidths() { list_->Header()->ApplyListWidths(); }

void CSentinaxDlgWindow::PostIdlePump() {
    if (pumpPosted_.exchange(true)) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pumpPosted_ = false;
            logic_->OnIdlePump();
        },
        Qt::QueuedConnection);
}

void CSentinaxDlgWindow::closeEvent(QCloseEvent* event) {
    if (!destroyed_) {
        destroyed_ = true;
        idleTimer_.stop();
        logic_->OnDestroy();
    }
    event->accept();
}
