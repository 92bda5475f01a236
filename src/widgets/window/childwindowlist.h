#pragma once
// CChildWindowList: a group of windows put into a parent window and taken
// out of it as a whole (the pages of a panel that are swapped). While
// attached the windows are the parent's children, which owns them; while
// detached the group owns them and they have no parent.
#include "core/zvoblist.h"

class CZVWindow;

class CChildWindowList : public CZVObList {
public:
    CChildWindowList() = default;
    ~CChildWindowList() override;

    void SetParent(CZVWindow* parent) { m_parent = parent; }
    CZVWindow* GetParent() const { return m_parent; }
    int IsAttached() const { return m_attached; }

    // Puts the windows into the parent, shown when the parent is.
    void Attach();
    // Takes the windows out of the parent, painting the parent's face over
    // their areas first with erase.
    void Detach(int erase);

private:
    int m_attached = 1;
    CZVWindow* m_parent = nullptr;
};
