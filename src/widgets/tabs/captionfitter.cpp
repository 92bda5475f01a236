#include "widgets/tabs/captionfitter.h"

#include <algorithm>

#include "widgets/window/zvwindow.h"

namespace {

constexpr int kSmallestSize = 10;
constexpr int kLargestStart = 40;

}  // namespace

CCaptionFitter::~CCaptionFitter() {
    while (!m_captions.IsEmpty()) delete static_cast<Caption*>(m_captions.RemoveHead());
    m_windows.RemoveAll();
}

void CCaptionFitter::AddCaption(CZVString text, CZVRect rect) { m_captions.AddTail(new Caption{text, rect}); }

void CCaptionFitter::AddWindow(CZVWindow* window) {
    if (!window) return;
    CZVRect inner;
    window->GetInnerRect(&inner);
    AddCaption(window->GetText(), inner);
    m_windows.AddTail(window);
}

int CCaptionFitter::FindFontSize(int fitWidth, int fitHeight, int start) {
    if (start <= kSmallestSize || !m_owner) return start;
    CZVDC dc(m_owner);
    for (int size = start; size > kSmallestSize; --size) {
        dc.SelectFont(size, 0, 0);
        bool fits = true;
        for (ZVPOSITION pos = m_captions.GetHeadPosition(); pos && fits;) {
            auto* caption = static_cast<Caption*>(m_captions.GetNext(pos));
            if (caption->text.IsEmpty()) continue;
            const CTextSize t = dc.GetTextSize(caption->text);
            if (fitWidth && t.cx >= caption->rect.w) fits = false;
            if (fitHeight && t.cy >= caption->rect.h) fits = false;
        }
        if (fits) return size;
    }
    return kSmallestSize;
}

void CCaptionFitter::Apply(int start) {
    const int size = FindFontSize(1, 1, start);
    while (!m_windows.IsEmpty()) static_cast<CZVWindow*>(m_windows.RemoveHead())->SetFontSize(size);
}

void CCaptionFitter::Collect(CZVWindow* window, int styleClass, int depth, int level, CZVObList* found) {
    if (window->GetStyleClass() == styleClass && (depth < 0 || depth == level)) found->AddTail(window);
    for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
        Collect(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos)), styleClass, depth, level + 1, found);
}

int CCaptionFitter::AddChildren(CZVWindow* root, int styleClass, int depth) {
    CZVObList found;
    if (root) Collect(root, styleClass, depth, 0, &found);
    int start = kLargestStart;
    for (ZVPOSITION pos = found.GetHeadPosition(); pos;) {
        auto* window = static_cast<CZVWindow*>(found.GetNext(pos));
        CZVRect inner;
        window->GetInnerRect(&inner);
        AddCaption(window->GetText(), inner);
        start = std::min(start, window->GetFontSize());
    }
    const int size = FindFontSize(1, 1, start);
    for (ZVPOSITION pos = found.GetHeadPosition(); pos;) {
        auto* window = static_cast<CZVWindow*>(found.GetNext(pos));
        window->SetFontSize(size);
        window->SetTextChanged(0);
    }
    return size;
}
