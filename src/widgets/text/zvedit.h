#pragma once
// CZVEdit: the one-line text field. A bevelled box that, while editing,
// shows a caret and a selection and takes the keyboard from the main window
// (it becomes the focus window and hands the focus back when it is done).
// Only one field edits at a time. Lists lay one over a row to edit it in
// place; login and search pages use it as a plain entry.
#include <algorithm>
#include <memory>

#include "widgets/window/zvwindow.h"

class CZVEdit : public CZVWindow {
public:
    // The text is also the text that Escape goes back to. The commit command
    // reaches the parent when an edit ends with the text changed, the change
    // command after every edit step; either may be kNoCommand.
    CZVEdit(CZVWindow* parent, CZVRect rect, CZVString text, int commitCommand, int changeCommand, int styleClass);
    ~CZVEdit() override;

    // ---- window operations
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnChar(int code, int flags) override;
    void OnKeyDown(int key, int flags) override;

    // ---- non-virtual
    // Enters edit mode with the whole text selected.
    void BeginEdit();
    // Leaves edit mode; the caller redraws. The commit command goes out when
    // the text changed.
    void EndEdit();
    CZVString GetDisplayText() const;
    // Root coordinates, edges included.
    int IsInside(int x, int y);

    int IsEditing() const { return m_editing; }
    int IsModified() const { return m_modified; }
    int GetCaret() const { return m_caret; }
    int GetAnchor() const { return m_anchor; }
    void SetPassword(int on) { m_password = on; }
    void SetCompleteWebAddress(int on) { m_completeWebAddress = on; }
    void SetIgnoreNextEnter(int on) { m_ignoreNextEnter = on; }
    void SetEditingColors(COLORREF text, COLORREF face) {
        m_editingTextColor = text;
        m_editingFaceColor = face;
    }

    // The field in edit mode, null when none.
    static CZVEdit* GetActiveField();
    // A window is being destroyed: the field in edit mode must not hand the
    // focus back to it.
    static void ForgetWindow(CZVWindow* window);

    // The text as a web address: "http://" in front and ".com" at the end
    // where they are missing. An empty text, or one that would grow past
    // what the string holds, comes back as it was.
    static CZVString CompleteWebAddress(CZVString text);

private:
    void EnterEdit(bool selectAll);
    // Keeps the caret and the anchor within the text, which the program may
    // have replaced meanwhile.
    void ClampIndices();
    int SelectionStart() const { return std::min(m_caret, m_anchor); }
    int SelectionEnd() const { return std::max(m_caret, m_anchor); }
    // Replaces the characters start..end - 1 with `insert`; false, with the
    // text as it was, when the result would not fit the string.
    bool Splice(int start, int end, const CZVString& insert);
    void RemoveSelection();
    // Sends a command to the parent; false when the field went with it.
    bool SendToParent(int id);

    // Measures on a context with the field's font selected.
    void SelectFont(CZVDC* dc) const;
    int PrefixWidth(CZVDC* dc, int count);
    // How far the text is moved left so that its end stays in view.
    int TextShift(CZVDC* dc);
    int CaretX(CZVDC* dc, int index);
    int IndexAt(int rootX);

    int m_editing = 0;
    int m_password = 0;
    int m_caret = 0;
    int m_anchor = 0;
    int m_pressed = 0;
    // The pointer is over the field (moves report entering and leaving).
    int m_pointerInside = 0;
    int m_modified = 0;
    CZVString m_savedText;
    int m_commitCommand;
    int m_changeCommand;
    int m_completeWebAddress = 0;
    int m_ignoreNextEnter = 0;
    CZVWindow* m_previousFocus = nullptr;
    COLORREF m_editingTextColor = 0xFFFFFF;
    COLORREF m_editingFaceColor;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
