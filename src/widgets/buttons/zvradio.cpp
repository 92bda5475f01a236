#include "widgets/buttons/zvradio.h"

#include "platform/report.h"

namespace {

constexpr const char* kSource = "zvradio";
constexpr int kGap = 4;

}  // namespace

CZVRadio::CZVRadio(CZVWindow* parent, CZVRect rect, int groupId, int count, int horizontal, int, int styleClass,
                   int inset, int itemSize, int joined)
    : CZVWindow(parent, rect, styleClass), m_groupId(groupId) {
    const int gap = joined ? 0 : kGap;
    if (joined) inset = 0;
    CZVRect area;
    GetClientRect(&area);
    for (int i = 0; i < count; ++i) {
        CZVRect cell;
        if (horizontal)
            cell = itemSize > 0 ? area.CutLeft(itemSize, gap) : area.Column(i, count, gap);
        else
            cell = itemSize > 0 ? area.CutTop(itemSize, gap) : area.Row(i, count, gap);
        cell.Deflate(inset, inset);
        auto* option = new CZVCheckButton(this, cell, kFirstOptionId + i, styleClass);
        option->SetTextFormat(18);
        option->SetBackColor(m_backColor);
        AddChild(option);
        m_options.push_back(option);
    }
    for (size_t i = 0; i < m_options.size(); ++i) {
        CZVCheckButton* option = m_options[i];
        if (!joined) {
            if (i > 0) option->SetLookSource(m_options[0]);
            continue;
        }
        option->SetMargin(0);
        if (i == 0)
            option->SetShapeKind(horizontal ? 2 : 0);
        else if (i + 1 == m_options.size())
            option->SetShapeKind(horizontal ? 3 : 1);
        else
            option->SetCornerRadius(0);
    }
}

CZVCheckButton* CZVRadio::GetOption(int index) const {
    if (index < 0 || index >= GetOptionCount()) return nullptr;
    return m_options[static_cast<size_t>(index)];
}

void CZVRadio::SetOptionText(int index, CZVString text) {
    if (CZVCheckButton* option = GetOption(index))
        option->SetText(text, nullptr, 0);
    else
        ReportAssert(kSource, 149, 1);
}

void CZVRadio::SetOptionIcon(int index, CZVString iconName, int layout) {
    if (CZVCheckButton* option = GetOption(index))
        option->SetIconName(iconName, layout);
    else
        ReportAssert(kSource, 162, 1);
}

int CZVRadio::GetSelection() const {
    for (size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i]->GetCheck()) return static_cast<int>(i);
    return -1;
}

void CZVRadio::Select(int index, int redraw) {
    if (index != -1 && (index < 0 || index >= GetOptionCount()) && m_enabled) {
        ReportAssert(kSource, 208, 1);
        return;
    }
    if (index != -1) m_enabled = 1;
    for (size_t i = 0; i < m_options.size(); ++i) m_options[i]->SetCheck(static_cast<int>(i) == index, 0, redraw);
}

int CZVRadio::OnCommand(int id) {
    if (id < kFirstOptionId || id > kLastOptionId) return CZVWindow::OnCommand(id);
    for (CZVCheckButton* option : m_options) option->SetCheck(option->GetCommandId() == id, 0, 1);
    return m_parent ? m_parent->OnCommand(m_groupId) : 0;
}

int CZVRadio::OnMouseMove(int x, int y, int keys) {
    int taken = 0;
    for (CZVCheckButton* option : m_options) taken |= option->OnMouseMove(x, y, keys);
    return taken;
}
