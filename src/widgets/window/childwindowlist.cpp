#include "widgets/window/childwindowlist.h"

#include "widgets/window/zvwindow.h"

CChildWindowList::~CChildWindowList() {
    if (m_attached) return;
    while (!IsEmpty()) delete static_cast<CZVWindow*>(RemoveHead());
}

void CChildWindowList::Attach() {
    if (!m_parent || m_attached) return;
    for (ZVPOSITION position = GetHeadPosition(); position;) {
        auto* window = static_cast<CZVWindow*>(GetNext(position));
        window->SetParent(m_parent);
        m_parent->AddChild(window);
        window->Show(m_parent->IsShown(), 0);
        window->Redraw(1);
    }
    m_attached = 1;
}

void CChildWindowList::Detach(int erase) {
    if (!m_parent || !m_attached) return;
    for (ZVPOSITION position = GetHeadPosition(); position;) {
        auto* window = static_cast<CZVWindow*>(GetNext(position));
        if (erase) m_parent->EraseChildArea(window);
        window->Show(0, 0);
        m_parent->RemoveChild(window);
        window->SetParent(nullptr);
    }
    m_attached = 0;
}
