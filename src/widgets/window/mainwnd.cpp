#include "widgets/window/mainwnd.h"

#include <cmath>

#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/text/zvedit.h"

namespace {

CMainWndBase* g_mainWnd = nullptr;

}  // namespace

CMainWndBase* GetMainWnd() { return g_mainWnd; }

int LayoutTypeOf(int width, int height) {
    if (width <= 240 && height <= 240) return 4;
    if (width <= 240 && height <= 320) return 1;
    if (width <= 320 && height <= 240) return 3;
    if (width <= 320 && height <= 320) return 5;
    if (width <= 800 && height <= 480) return 2;
    if (width <= 800 && height <= 600) return 0;
    const double ratio = static_cast<double>(height) / width;
    return std::fabs(ratio - 0.75) < std::fabs(ratio - 0.65) ? 0 : 2;
}

CMainWndBase::CMainWndBase(CZVRect rect, platform::TabletWindow* native) : CZVWindow(nullptr, rect, 1) {
    m_hwnd = native;
    m_nativeRoot = 1;
    if (g_mainWnd) ReportAssert("mainwnd", __LINE__, 1);
    g_mainWnd = this;
}

CMainWndBase::~CMainWndBase() {
    DeleteDyingWindows();
    if (g_mainWnd == this) g_mainWnd = nullptr;
}

void CMainWndBase::DeleteLater(CZVWindow* window) {
    if (!window) return;
    if (CZVWindow* parent = window->GetParent()) parent->RemoveChild(window);
    window->SetParent(nullptr);
    m_dying.push_back(window);
}

int CMainWndBase::DeleteDyingWindows() {
    if (m_dying.empty()) return 0;
    // Whatever their destructors give to DeleteLater waits for the next pass.
    std::vector<CZVWindow*> dying;
    dying.swap(m_dying);
    for (CZVWindow* window : dying) delete window;
    return 1;
}

int CMainWndBase::IsInputBlocked(CZVWindow* window) {
    if (m_suspended) return 1;
    if (CZVWindow* overlay = GetOverlayWindow()) return !(window && overlay->IsDescendant(window));
    return m_modal ? 1 : 0;
}

bool CMainWndBase::InputBlockedFor(CZVWindow* window) {
    CMainWndBase* main = GetMainWnd();
    return main && main->IsInputBlocked(window);
}

int CMainWndBase::IsBlendingSuppressed() const {
    if (m_offscreenPaint) return 0;
    return (m_displayFlags & kDisplayNoBlend) != 0;
}

int CMainWndBase::IsBlendedDrawing() const { return (m_displayFlags & kDisplayBlend) && !IsBlendingSuppressed(); }

void CMainWndBase::PushCursor(platform::CursorShape cursor) {
    if (!m_cursorPushed) {
        m_savedCursor = m_cursor;
        m_cursorPushed = true;
    }
    m_cursor = cursor;
    if (m_hwnd) m_hwnd->SetCursor(cursor);
}

void CMainWndBase::PopCursor() {
    if (!m_cursorPushed) return;
    m_cursorPushed = false;
    m_cursor = m_savedCursor;
    if (m_hwnd) m_hwnd->SetCursor(m_cursor);
}

int CMainWndBase::DispatchEvent(const platform::WindowEvent& event) {
    switch (event.message) {
    case platform::kWmMouseMove: return OnMouseMove(event.x, event.y, event.keys);
    case platform::kWmLButtonDown: return OnLButtonDown(event.x, event.y, event.keys);
    case platform::kWmLButtonUp: return OnLButtonUp(event.x, event.y, event.keys);
    default: break;
    }
    CZVWindow* focus = m_focus;
    if (!focus) return 0;
    const int flags = static_cast<int>(event.flags);
    switch (event.message) {
    case platform::kWmChar: focus->OnChar(event.code, flags); return 1;
    case platform::kWmKeyDown: focus->OnKeyDown(event.code, flags); return 1;
    case platform::kWmKeyUp: focus->OnKeyUp(event.code, flags); return 1;
    default: return 0;
    }
}

void CMainWndBase::ForgetWindow(CZVWindow* window) {
    if (m_focus == window) m_focus = nullptr;
    CZVEdit::ForgetWindow(window);
    OnWindowDying(window);
}
