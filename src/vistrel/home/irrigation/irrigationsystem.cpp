#include "vistrel/home/irrigation/irrigationsystem.h"

#include <algorithm>
#include <cstdio>

#include "core/zvtime.h"
#include "vistrel/home/irrigation/irrigationhistory.h"
#include "vistrel/home/irrigation/irrigationmanual.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kRegionClass = 6;
constexpr int kButtonClass = 17;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr int kButtonHeight = 30;
constexpr int kButtonPitch = 31;
constexpr int kButtonBevel = 3;
constexpr int kMonthFont = 20;
constexpr int kMonthClass = 5;
constexpr int kBarEdge = 2;
constexpr int kPercentFormat = 18;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;  // COLORREF is 0x00BBGGRR
constexpr int kColumnGap = 5;
constexpr int kColumnShift = 2;
constexpr int kTabIds[] = {CIrrigationPage::kSeasonalId, CIrrigationPage::kHistoryId, CIrrigationPage::kManualId};

}  // namespace

int StepSeasonalPercent(int percent, int count, int up) {
    const int step = static_cast<uint16_t>(count);
    return std::clamp(percent + (up ? step : -step), 0, CSeasonalAdjustWnd::kMaxPercent);
}

// ---- one month's bar

CSeasonalAdjustWnd::CSeasonalAdjustWnd(CZVWindow* parent, CZVRect rect, int month, CSeasonalAdjust* seasonal)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      m_month(month),
      m_seasonal(seasonal),
      m_percent(seasonal->GetPercent(month)) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVLabel* label = AddLabelClass(CZVRect(0, rect.h - kLabelHeight, rect.w, kLabelHeight),
                                    GetMonthNameShort(month).c_str(), kMonthFont, kMonthClass);
    if (month == CZVTime().GetMonth()) label->SetTextColor(kWhite);
    const int buttonsBottom = rect.h - kLabelHeight;
    const struct {
        CZV3DButton** button;
        int id, icon, y;
    } buttons[] = {{&m_down, kDownId, kDownIcon, buttonsBottom - kButtonHeight},
                   {&m_up, kUpId, kUpIcon, buttonsBottom - kButtonHeight - kButtonPitch}};
    COLORREF iconColour = GetTextColor();
    if (CSetServer* style = CSetServer::Get()) iconColour = style->GetStyleColor(4, 0);
    for (const auto& b : buttons) {
        *b.button = AddImageButton(CZVRect(0, b.y, rect.w, kButtonHeight), b.id, kButtonClass, b.icon, iconColour);
        (*b.button)->SetBevel(kButtonBevel);
        (*b.button)->SetAutoRepeat(1);
        (*b.button)->SetRepeatTiming(100, 10, 500, 2500);
        (*b.button)->SetPressIds(b.id, kReleaseId);
    }
}

void CSeasonalAdjustWnd::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    const int barHeight = m_height - kButtonsHeight;
    // A column too short for its buttons has no bar.
    if (barHeight <= 2 * kBarEdge) return;
    dc->BevelBox(m_faceColor, false, 0, 0, m_width - 1, barHeight - 1, kBarEdge);
    const CZVRect inner(kBarEdge, kBarEdge, m_width - 2 * kBarEdge, barHeight - 2 * kBarEdge);
    const int filled = std::min(inner.h, inner.h * m_percent / kMaxPercent);
    const int top = inner.y + inner.h - filled;
    if (filled > 0)
        dc->FillBevelBoxStd(kRed, kRed, false, inner.x, top, inner.x + inner.w - 1, inner.y + inner.h - 1, kBarEdge);
    int textTop = top - kLabelHeight;
    if (top - inner.y < kLabelHeight) textTop = top;
    COLORREF textColour = GetTextColor();
    if (CSetServer* style = CSetServer::Get()) textColour = style->GetStyleColor(6, 1);
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", m_percent);
    dc->SetFont(kMonthFont, 0, 1);
    dc->SetColor(textColour);
    dc->DrawText(text, CZVRect(inner.x, textTop, inner.w, kLabelHeight), kPercentFormat);
}

void CSeasonalAdjustWnd::RepaintBar() {
    if (m_height - kButtonsHeight <= 0) return;
    Redraw(1);
}

int CSeasonalAdjustWnd::OnChildCommand(int id, int count) {
    if (id == kUpId || id == kDownId) {
        m_percent = StepSeasonalPercent(m_percent, count, id == kUpId);
        RepaintBar();
    } else if (id == kReleaseId && !m_seasonal->SetPercent(m_month, m_percent)) {
        // The gateway did not take it: the bar shows what the controller has.
        m_percent = m_seasonal->GetPercent(m_month);
        RepaintBar();
    }
    return 1;
}

// ---- the system window

CIrrigationPage::CIrrigationPage(CZVWindow* parent, CZVRect rect, CSeasonalAdjust* seasonal)
    : CTRRegion(parent, rect, kRegionClass, parent ? parent->GetFaceColor() : 0), m_seasonal(seasonal) {
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Seasonal Adjustments", kSeasonalId, nullptr));
    descriptors.AddTail(new CTabDescriptor("History", kHistoryId, nullptr));
    descriptors.AddTail(new CTabDescriptor("Manual", kManualId, nullptr));
    SetTabCount(3, 1, &descriptors);
    Open(kSeasonalId, 0);
}

CZVWindow* CIrrigationPage::MakeSeasonalPanel(CZVRect rect) {
    auto* panel = new CZVWindow(this, rect, m_styleClass);
    panel->SetFaceColor(GetFaceColor());
    const int column = rect.w / 12;
    CZVRect cell(kColumnShift, 0, column - kColumnGap, rect.h);
    for (int month = 1; month <= 12; ++month, cell.x += column)
        panel->AddChild(new CSeasonalAdjustWnd(panel, cell, month, m_seasonal));
    return panel;
}

int CIrrigationPage::OnCommand(int id) {
    if (std::find(std::begin(kTabIds), std::end(kTabIds), id) != std::end(kTabIds)) Open(id, 1);
    return 1;
}

void CIrrigationPage::Open(int id, int redraw) {
    CZVRect rect;
    GetContentRectTall(&rect);
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
        m_content = nullptr;
    }
    if (CTabContainer* tabs = GetTabs())
        tabs->Select(static_cast<int>(std::find(std::begin(kTabIds), std::end(kTabIds), id) - std::begin(kTabIds)),
                     redraw);
    CZVServer* server = m_seasonal->GetServer();
    if (id == kSeasonalId)
        m_content = MakeSeasonalPanel(rect);
    else if (id == kHistoryId && server)
        m_content = new CIrrigationHistoryPage(this, rect, *server);
    else if (id == kManualId && server)
        m_content = new CIrrigationManualPage(this, rect, *server);
    if (!m_content) {
        if (redraw) Redraw(1);
        return;
    }
    AddChild(m_content);
    if (redraw) m_content->Redraw(1);
}
