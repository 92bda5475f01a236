#include "widgets/text/zvedit.h"

#include <cstdlib>

#include "gfx/speed.h"
#include "platform/keys.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kTextFormat = 17;
constexpr int kCharTab = 9;
constexpr int kCharLineFeed = 10;
constexpr int kCharEnter = 13;
constexpr int kCharIgnored = 16;
constexpr int kCharEscape = 27;
constexpr const char* kWebPrefix = "http://";
constexpr const char* kWebSuffix = ".com";

CZVEdit* g_activeField = nullptr;

}  // namespace

CZVEdit::CZVEdit(CZVWindow* parent, CZVRect rect, CZVString text, int commitCommand, int changeCommand,
                 int styleClass)
    : CZVWindow(parent, rect, styleClass),
      m_savedText(text),
      m_commitCommand(commitCommand),
      m_changeCommand(changeCommand) {
    m_text = text;
    if (CSetServer* style = CSetServer::Get()) m_textColor = style->GetStyleColor(styleClass, 1);
    m_bevel = 2;
    m_editingFaceColor = ScaleColor(0.9, m_faceColor);
}

CZVEdit::~CZVEdit() {
    *m_alive = false;
    if (m_editing && g_activeField == this) {
        g_activeField = nullptr;
        if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(m_previousFocus);
    }
}

CZVEdit* CZVEdit::GetActiveField() { return g_activeField; }

void CZVEdit::ForgetWindow(CZVWindow* window) {
    if (g_activeField && g_activeField->m_previousFocus == window) g_activeField->m_previousFocus = nullptr;
}

// ---- edit mode

void CZVEdit::BeginEdit() { EnterEdit(true); }

void CZVEdit::EnterEdit(bool selectAll) {
    if (m_editing) return;
    m_savedText = m_text;
    m_editing = 1;
    CMainWndBase* main = GetMainWnd();
    if (!main) return;
    if (CZVEdit* other = g_activeField; other && other != this) {
        std::shared_ptr<bool> alive = m_alive;
        other->EndEdit();
        if (!*alive) return;
        // The other field may have gone with its commit command.
        if (g_activeField == other) other->Redraw(1);
    }
    if (selectAll) {
        m_caret = m_text.GetLength();
        m_anchor = 0;
    }
    g_activeField = this;
    m_previousFocus = main->GetFocusWindow();
    main->SetFocusWindow(this);
}

void CZVEdit::EndEdit() {
    const bool wasActive = g_activeField == this;
    if (wasActive) {
        g_activeField = nullptr;
        if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(m_previousFocus);
        m_previousFocus = nullptr;
    }
    m_editing = 0;
    // Last, for the parent may delete the field in answer.
    if (m_modified) {
        m_modified = 0;
        SendToParent(m_commitCommand);
    }
}

bool CZVEdit::SendToParent(int id) {
    if (!m_parent) return true;
    std::shared_ptr<bool> alive = m_alive;
    m_parent->OnCommand(id);
    return *alive;
}

CZVString CZVEdit::GetDisplayText() const {
    if (!m_password) return m_text;
    const int length = m_text.GetLength();
    CZVString stars;
    if (char* buffer = stars.GetBuffer(length)) {
        std::fill(buffer, buffer + length, '*');
        stars.ReleaseBuffer(length);
    }
    return stars;
}

int CZVEdit::IsInside(int x, int y) {
    ZVPoint p;
    ToLocal(&p, x, y);
    return p.x >= 0 && p.x <= m_width && p.y >= 0 && p.y <= m_height;
}

// ---- text

void CZVEdit::ClampIndices() {
    const int length = m_text.GetLength();
    m_caret = std::clamp(m_caret, 0, length);
    m_anchor = std::clamp(m_anchor, 0, length);
}

bool CZVEdit::Splice(int start, int end, const CZVString& insert) {
    const int length = m_text.GetLength();
    CZVString head = m_text.Left(start);
    CZVString joined = head + insert;
    CZVString result = joined + m_text.Right(length - end);
    if (result.GetLength() != length - (end - start) + insert.GetLength()) return false;
    m_text = result;
    m_textChanged = 1;
    return true;
}

void CZVEdit::RemoveSelection() {
    if (m_caret == m_anchor) return;
    const int start = SelectionStart();
    Splice(start, SelectionEnd(), CZVString());
    m_caret = m_anchor = start;
}

CZVString CZVEdit::CompleteWebAddress(CZVString text) {
    if (text.IsEmpty()) return text;
    CZVString address = text;
    if (!address.ToAnsi()) return text;
    const bool addPrefix = address.Left(7).CompareNoCase(kWebPrefix) != 0;
    const bool addSuffix = address.Right(4).CompareNoCase(kWebSuffix) != 0;
    CZVString result = addPrefix ? kWebPrefix + address : address;
    if (addSuffix) result += kWebSuffix;
    // A join that did not fit leaves the string short of its parts.
    const int expected = address.GetLength() + (addPrefix ? 7 : 0) + (addSuffix ? 4 : 0);
    return result.GetLength() == expected ? result : text;
}

// ---- keys

void CZVEdit::OnKeyDown(int key, int) {
    ClampIndices();
    const int length = m_text.GetLength();
    switch (key) {
    case platform::VK_LEFT:
        if (m_caret != m_anchor) m_caret = SelectionStart();
        m_caret = m_anchor = std::max(m_caret - 1, 0);
        Redraw(1);
        return;
    case platform::VK_RIGHT:
        if (m_caret != m_anchor) m_caret = SelectionEnd();
        m_caret = m_anchor = std::min(m_caret + 1, length);
        Redraw(1);
        return;
    case platform::VK_DELETE: {
        const bool removed = m_caret < length && Splice(m_caret, m_caret + 1, CZVString());
        if (removed) {
            m_anchor = std::min(m_anchor, m_text.GetLength());
            m_modified = 1;
        }
        Redraw(1);
        if (removed) SendToParent(m_changeCommand);
        return;
    }
    default: return;
    }
}

void CZVEdit::OnChar(int code, int) {
    ClampIndices();
    switch (code) {
    case kCharTab:
    case kCharIgnored: return;
    case kCharLineFeed:
        if (!m_completeWebAddress) return;
        m_text = CompleteWebAddress(m_text);
        m_textChanged = 1;
        break;
    case kCharEnter:
        if (m_ignoreNextEnter) {
            m_ignoreNextEnter = 0;
            return;
        }
        break;
    case kCharEscape:
        m_text = m_savedText;
        m_textChanged = 1;
        // Going back is no change to commit.
        m_modified = 0;
        break;
    default: {
        const bool hadSelection = m_caret != m_anchor;
        RemoveSelection();
        const char byte = static_cast<char>(code & 0xFF);
        if (byte == 0) return;
        if (code == platform::VK_BACK) {
            // A selection was what Backspace removes.
            if (!hadSelection && m_caret > 0 && Splice(m_caret - 1, m_caret, CZVString())) --m_caret;
        } else {
            const char insert[2] = {byte, 0};
            if (Splice(m_caret, m_caret, CZVString(insert))) ++m_caret;
        }
        m_anchor = m_caret;
        m_modified = 1;
        Redraw(1);
        SendToParent(m_changeCommand);
        return;
    }
    }
    // Line feed, Enter and Escape end the edit.
    std::shared_ptr<bool> alive = m_alive;
    EndEdit();
    if (*alive) Redraw(1);
}

// ---- touch

int CZVEdit::OnLButtonDown(int x, int y, int) {
    if (!m_shown) return 0;
    if (!HitTest(x, y)) {
        if (m_editing) {
            std::shared_ptr<bool> alive = m_alive;
            EndEdit();
            if (*alive) Redraw(1);
        }
        return 0;
    }
    m_caret = m_anchor = IndexAt(x);
    m_pressed = 1;
    EnterEdit(false);
    Redraw(1);
    return 1;
}

int CZVEdit::OnMouseMove(int x, int y, int) {
    if (!m_shown) return 0;
    if (m_pressed) {
        m_caret = IndexAt(x);
        Redraw(1);
    }
    const int inside = IsInside(x, y);
    if (inside == m_pointerInside) return 0;
    m_pointerInside = inside;
    return 1;
}

int CZVEdit::OnLButtonUp(int x, int y, int) {
    m_pressed = 0;
    if (!m_shown || !IsInside(x, y)) return 0;
    m_caret = IndexAt(x);
    Redraw(1);
    return 1;
}

// ---- measuring

void CZVEdit::SelectFont(CZVDC* dc) const { dc->SetFont(m_fontSize + (m_editing ? 1 : 0), 0, 1); }

int CZVEdit::PrefixWidth(CZVDC* dc, int count) {
    if (count <= 0) return 0;
    CZVString prefix = GetDisplayText().Left(count);
    // The advance of the characters; a text that has no 8-bit form is
    // measured whole (one pixel wider).
    if (prefix.ToAnsi()) return dc->GetTextExtent(prefix.GetAnsi(), prefix.GetLength()).cx;
    return dc->GetTextSize(prefix).cx;
}

int CZVEdit::TextShift(CZVDC* dc) {
    if (!m_editing) return 0;
    // The end of the text, and the caret after it, stay left of the clip's
    // right edge.
    const int room = m_width - 3 * GetBevel() - 1;
    return std::max(PrefixWidth(dc, m_text.GetLength()) - room, 0);
}

int CZVEdit::CaretX(CZVDC* dc, int index) {
    // Where the text is moved left to keep its end in view, the caret and
    // the selection move with it.
    return PrefixWidth(dc, std::min(index, m_text.GetLength())) + 2 * GetBevel() - TextShift(dc);
}

int CZVEdit::IndexAt(int rootX) {
    CZVDC dc(this);
    SelectFont(&dc);
    const int bevel = GetBevel();
    const int x = rootX - ToRootX(0) + TextShift(&dc);
    // Prefix widths grow with the count: find the first that reaches x and
    // take it or the one before, whichever lies nearer (the lower on a tie).
    int low = 0;
    int high = m_text.GetLength();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (PrefixWidth(&dc, mid) + bevel >= x)
            high = mid;
        else
            low = mid + 1;
    }
    if (low > 0 && std::abs(PrefixWidth(&dc, low - 1) + bevel - x) <= std::abs(PrefixWidth(&dc, low) + bevel - x))
        return low - 1;
    return low;
}

// ---- painting

void CZVEdit::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    ClampIndices();
    const int bevel = GetBevel();
    dc->BevelBox(m_editing ? m_editingFaceColor : m_faceColor, true, 0, 0, m_width - 1, m_height - 1, bevel);
    SelectFont(dc);
    dc->SetColor(m_editing ? m_editingTextColor : m_textColor);
    const int shift = TextShift(dc);
    const CZVRect text(2 * bevel - shift, bevel, m_width - 3 * bevel + 1 + shift, m_height - 2 * bevel + 1);
    const CZVRect clip(bevel, bevel, m_width - 2 * bevel, m_height - 2 * bevel);
    dc->PushClip(&clip);
    dc->DrawText(GetDisplayText(), text, kTextFormat);
    dc->PopClip();
    if (!m_editing) return;
    if (m_caret != m_anchor) {
        const int left = CaretX(dc, SelectionStart());
        const int right = CaretX(dc, SelectionEnd());
        dc->SetInvert(true);
        dc->FillRect(0, left, bevel, right - left, m_height - bevel - 1, 0);
        dc->SetInvert(false);
    }
    const int caret = CaretX(dc, m_caret);
    dc->Line(0, caret, 0, caret, m_height - 1);
}
