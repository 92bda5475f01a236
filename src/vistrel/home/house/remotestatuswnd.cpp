#include "vistrel/home/house/remotestatuswnd.h"

#include <algorithm>

#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "platform/clock.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr int kVerticalCentre = 0x10;
constexpr int32_t kMinRemoteBytes = 12;  // three empty strings

// Shown on the screen: the window and every window it lies in.
bool OnScreen(CZVWindow* window) {
    for (; window; window = window->GetParent())
        if (!window->IsShown()) return false;
    return true;
}

std::string Formatted(const char* format, auto... values) {
    CZVString text;
    text.Format(format, values...);
    return text.GetAnsi();
}

}  // namespace

CRemoteStatusWnd::CRemoteStatusWnd(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      CSocketSink(server),
      m_rebuildTick(platform::GetTickCount()),
      m_stepTick(m_rebuildTick) {
    if (parent) SetBackColor(parent->GetFaceColor());
    SetTextColor(kTextColour);
    server.RegisterSink(this);
    AskRemotes();
}

CRemoteStatusWnd::~CRemoteStatusWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CRemoteStatusWnd::AskRemotes() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_SYSCONFIG_GETREMOTESQ);
    server->Send(&ask);
}

void CRemoteStatusWnd::OnConnect(int connected) {
    if (connected) AskRemotes();
}

void CRemoteStatusWnd::OnMessage(CZVMSG* message) {
    if (!message) return;
    if (message->GetId() == ZVM_SYSCONFIG_REMOTESCHANGED) AskRemotes();
    if (message->GetId() == ZVM_SYSCONFIG_GETREMOTESA) ReadRemotes(message);
}

// A broken answer keeps the remotes read before the break and the lines as they were.
void CRemoteStatusWnd::ReadRemotes(CZVMSG* message) {
    message->ResetPosition();
    m_remotes.clear();
    int32_t count = 0;
    if (!message->ReadInt(count)) return;
    const int whole = ReadRecords(*message, count, kMinRemoteBytes, [&](int) {
        RemoteInfo remote;
        if (!CMsgReader(*message).String(remote.first).String(remote.name).String(remote.third)) return 0;
        m_remotes.push_back(std::move(remote));
        return 1;
    });
    if (whole) RebuildLines();
}

void CRemoteStatusWnd::RebuildLines() {
    m_lines.clear();
    CMainWnd* main = GetTabletMainWnd();
    if (main && !main->IsOnAcPower()) m_lines.push_back(Formatted("Battery: %d %%", main->GetBatteryPercent()));
    const int count = static_cast<int>(m_remotes.size());
    for (int i = 0; i < count; ++i)
        m_lines.push_back(Formatted("Remote %d/%d: %s", i + 1, count, m_remotes[i].name.c_str()));
}

int CRemoteStatusWnd::OnIdle(int busy) {
    const int result = CZVWindow::OnIdle(busy);
    if (result == -1 || !OnScreen(this) || CMainWndBase::InputBlockedFor(this)) return result;
    if (platform::TicksSince(m_rebuildTick) > kRebuildInterval) {
        RebuildLines();
        m_rebuildTick = platform::GetTickCount();
    }
    if (m_scrolling) {
        const uint32_t elapsed = platform::TicksSince(m_stepTick);
        const int drawn = DrawStep(elapsed);
        if (elapsed > kScrollTime) {
            m_scrolling = 0;
            m_stepTick = platform::GetTickCount();
            m_shownText = m_lineIndex < m_lines.size() ? m_lines[m_lineIndex] : std::string();
        }
        return result | drawn;
    }
    if (platform::TicksSince(m_stepTick) > kLineHold) StartNextLine();
    return result;
}

void CRemoteStatusWnd::StartNextLine() {
    m_lastOffset = 0;
    m_scrolling = 1;
    m_stepTick = platform::GetTickCount();
    if (++m_lineIndex >= m_lines.size()) m_lineIndex = 0;
    const std::string next = m_lineIndex < m_lines.size() ? m_lines[m_lineIndex] : std::string();
    if (next == m_shownText) m_scrolling = 0;
}

int CRemoteStatusWnd::DrawStep(uint32_t elapsed) {
    const int height = GetHeight();
    const int offset = static_cast<int>(std::min<uint64_t>(uint64_t{elapsed} * height / kScrollTime, height));
    if (offset == m_lastOffset) return 0;
    m_lastOffset = offset;
    CZVDC window(this);
    if (!m_background) {
        m_background = std::make_unique<CDibDC>(GetWidth(), height, 0, 0, 1);
        window.CaptureTo(m_background.get(), 0, 0);
    }
    CDibDC step(GetWidth(), height, 0, 0, 1);
    step.BitBltAll(m_background.get(), 0, 0);
    step.SetFont(GetFontSize(), 0, 0);
    step.SetColor(GetTextColor());
    const int format = GetTextFormat() | kVerticalCentre;
    const std::string next = m_lineIndex < m_lines.size() ? m_lines[m_lineIndex] : std::string();
    step.DrawText(CZVString(m_shownText.c_str()), CZVRect(0, -offset, GetWidth(), height), format);
    step.DrawText(CZVString(next.c_str()), CZVRect(0, height - offset, GetWidth(), height), format);
    window.BitBltAll(&step, 0, 0);
    return 1;
}

void CRemoteStatusWnd::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    m_background.reset();
    m_shownText.clear();
}
