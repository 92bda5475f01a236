#include "vistrel/shell/loginpage.h"

#include <fcntl.h>
#include <unistd.h>

#include "core/zvfile.h"
#include "core/zvserver.h"
#include "platform/clock.h"
#include "platform/program.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/lists/textlist.h"
#include "widgets/text/zvedit.h"

namespace {

CZVServer* TabletServer() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

bool g_autoConnectAllowed = true;

constexpr int kTitleFont = 34;
constexpr int kFieldFont = 24;
constexpr int kButtonClass = 18;
constexpr int kEntryClass = 14;
constexpr int kSaveChoiceGroup = 1001;
constexpr int kLeft = 20;
constexpr int kLabelWidth = 300;
constexpr int kRowHeight = 30;
constexpr int kButtonTop = 159;
constexpr int kChoiceHeight = 110;  // the save choice pushes the rows below it down by this much
constexpr int kButtonHalfWidth = 300;
constexpr int kButtonHeight = 50;

// Creates the file readable by its owner only, or narrows an existing one, before a byte goes in.
bool CreatePrivate(const std::string& path) {
    const int fd = platform::OpenPrivateFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

void AllowLoginAutoConnect() { g_autoConnectAllowed = true; }

std::string CLoginFile::GetPath() { return platform::GetProgramFilePath(platform::GetProgramName() + ".dat"); }

CLoginFile CLoginFile::Read(const std::string& path) {
    CLoginFile read;
    CZVFile file(path, ZVVariant::Tablet);
    if (path.empty() || !file.Exists() || !file.Open(CZVFile::kRead)) return read;
    CLoginFile held;
    if (!file.ReadString(&held.userName) || !file.ReadString(&held.password) || !file.ReadInt(held.choice) ||
        held.choice < kSaveNothing || held.choice > kSaveBoth)
        return read;
    return held;
}

bool CLoginFile::Write(const std::string& path) const {
    if (path.empty() || !CreatePrivate(path)) return false;
    CZVFile file(path, ZVVariant::Tablet);
    if (!file.Open(CZVFile::kCreate)) return false;
    const bool written = file.WriteString(choice == kSaveNothing ? "" : userName) &&
                         file.WriteString(choice == kSaveBoth ? password : "") && file.WriteInt(choice);
    return file.Close() && written;
}

CLoginPage::CLoginPage(CZVWindow* parent, CZVRect rect) : CPageBase(parent, rect) {
    AddLabel(CZVRect(kLeft, 20, rect.w, 40), "Remote System Login", kTitleFont);
    CZVServer* server = TabletServer();
    CLoginFile login;
    if (server) {
        login.userName = server->GetUserName();
        login.password = server->GetLocalPassword();
    }
    const bool fromCommandLine = !login.userName.empty();
    if (!fromCommandLine) login = CLoginFile::Read(CLoginFile::GetPath());

    AddLabel(CZVRect(kLeft, 80, kLabelWidth, kRowHeight), "User Name", kFieldFont);
    m_userName = new CZVEdit(this, CZVRect(kLeft + kLabelWidth, 80, kLabelWidth, kRowHeight),
                             CZVString(login.userName.c_str()), kNoCommand, kNoCommand, kEntryClass);
    m_userName->SetFontSize(kFieldFont);
    AddChild(m_userName);
    AddLabel(CZVRect(kLeft, 110, kLabelWidth, kRowHeight), "Password", kFieldFont);
    m_password = new CZVEdit(this, CZVRect(kLeft + kLabelWidth, 110, kLabelWidth, kRowHeight),
                             CZVString(login.password.c_str()), kNoCommand, kNoCommand, kEntryClass);
    m_password->SetFontSize(kFieldFont);
    m_password->SetPassword(1);
    AddChild(m_password);

    int top = kButtonTop;
    if (!fromCommandLine) {
        m_saveChoice =
            new CZVRadio(this, CZVRect(kLeft, kButtonTop, 600, 91), kSaveChoiceGroup, 3, 0, 0, kButtonClass, 0, 0, 0);
        m_saveChoice->SetOptionText(CLoginFile::kSaveNothing, "Don't Save Login Info");
        m_saveChoice->SetOptionText(CLoginFile::kSaveUserName, "Save User Name");
        m_saveChoice->SetOptionText(CLoginFile::kSaveBoth, "Save User Name and Password");
        m_saveChoice->Select(login.choice, 0);
        AddChild(m_saveChoice);
        top += kChoiceHeight;
    }
    m_connectButton = AddButton(CZVRect(rect.w / 2 - kButtonHalfWidth, top, 2 * kButtonHalfWidth, kButtonHeight),
                                kConnect, kButtonClass, "Connect Now");
    m_status = new CTextList(this, CZVRect(kLeft, top + 69, rect.w - 41, rect.h - top - 90), kNoCommand);
    AddChild(m_status);

    m_autoConnect = !login.userName.empty() && g_autoConnectAllowed;
    g_autoConnectAllowed = false;
}

// A tablet that the configuration or monitor program started with a name and
// a password logs in by itself once it shows; the connect runs from the next
// idle pass, not inside the paint.
void CLoginPage::Paint(CZVDC* dc, int withBackground) {
    CPageBase::Paint(dc, withBackground);
    if (m_autoConnect == 1 && HasMarquelTitle()) {
        m_autoConnect = 2;
        AddStatusLine("Connecting...");
    }
}

int CLoginPage::OnIdle(int work) {
    work = CPageBase::OnIdle(work);
    if (m_autoConnect == 2) {
        m_autoConnect = 0;
        OnCommand(kConnect);
        return 1;
    }
    if (m_retryPending && platform::TicksSince(m_failedAt) >= kRetryPause) {
        m_retryPending = 0;
        m_connectButton->Enable(1, 1);
        return 1;
    }
    return work;
}

int CLoginPage::OnCommand(int id) {
    if (id != kConnect) return 0;
    if (!m_connecting && !m_retryPending) Connect();
    return 1;
}

void CLoginPage::Connect() {
    CZVServer* server = TabletServer();
    if (!server) return;
    m_connectButton->Enable(0, 1);
    m_connecting = 1;
    Redraw(1);
    if (CMainWnd* main = GetTabletMainWnd()) main->Present();

    CLoginFile login;
    login.userName = std::string(m_userName->GetText().GetAnsi());
    login.password = std::string(m_password->GetText().GetAnsi());
    // A file that cannot be written does not keep the user from connecting.
    if (m_saveChoice) {
        login.choice = m_saveChoice->GetSelection() < 0 ? CLoginFile::kSaveNothing : m_saveChoice->GetSelection();
        login.Write(CLoginFile::GetPath());
    }

    server->SetBusy(1);
    server->SetConnecting(1);
    if (!server->ConnectRemote(login.userName, login.password, this, -1)) {
        server->Disconnect();
        // The button comes back after a pause, without holding up the main loop.
        m_retryPending = 1;
        m_failedAt = platform::GetTickCount();
    } else {
        m_connectButton->Enable(1, 0);
    }
    server->SetConnecting(0);
    server->SetBusy(0);
    m_connecting = 0;
}

void CLoginPage::AddStatusLine(const std::string& text) {
    CTextItem* row = m_status->AddString(CZVString(text.c_str()), nullptr);
    const int last = m_status->GetCount() - 1;
    m_status->ScrollToItem(last, 0);
    m_status->Select(row, 1);
    if (CMainWnd* main = GetTabletMainWnd()) main->Present();
}
