#include "vistrel/home/irrigation/wateringdays.h"

#include <cstdio>

#include "core/messages/irrigationmessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "platform/clock.h"
#include "vistrel/home/irrigation/irrigationmodel.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kCaptionWidth = 120;
constexpr int kCaptionFont = 22;
constexpr int kCaptionFormat = 17;
constexpr int kButtonClass = 17;
constexpr int kButtonGap = 2;
constexpr int kHalfGap = 2;
constexpr const char* kKindTexts[] = {"Days in Month", "Days of Week", "Every Day", "Skip Days"};
constexpr const char* kSkipTexts[] = {"Every 2nd Day", "Every 3rd Day", "Every 4th Day", "Every 5th Day"};
constexpr const char* kMonthTexts[] = {"Even Days", "Odd Days"};

int32_t DayBit(int day) { return 1 << (CPlantGroup::kFirstDayBit + day); }

}  // namespace

CWateringDaysPage::CWateringDaysPage(CZVWindow* parent, CZVRect rect, int styleClass, CPlantGroup* group,
                                     CZVServer* server)
    : CRRegion(parent, rect, styleClass), m_group(group), m_server(server), m_created(platform::GetTickCount()) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    GetContentRectWide(&area);
    area.Deflate(0, 5);
    area.y += 5;
    // The caption takes the left column of both halves, so a long group name has room to wrap.
    CZVRect caption = area.CutLeft(kCaptionWidth, 0);
    CZVRect upper = area.CutTop(area.h / 2, kHalfGap);
    char text[256];
    std::snprintf(text, sizeof text, "Days to Water %s", m_group->name.c_str());
    COLORREF captionColour = GetTextColor();
    if (CSetServer* style = CSetServer::Get()) captionColour = style->GetStyleColor(5, 1);
    CZVLabel* label = AddLabelColored(caption, text, kCaptionFont, captionColour);
    label->SetTextFormat(kCaptionFormat);
    label->SetFlag(kLabelMultiLine, 1);
    m_kind = new CZVRadio(this, upper, kKindId, 4, 1, 0, kButtonClass, 0, 0, 0);
    for (int i = 0; i < 4; ++i) m_kind->SetOptionText(i, kKindTexts[i]);
    AddChild(m_kind);
    const auto addRow = [&](auto& buttons, int firstId, auto caption) {
        const int count = static_cast<int>(buttons.size());
        const int pitch = area.w / count;
        for (int i = 0; i < count; ++i) {
            buttons[static_cast<size_t>(i)] =
                AddCheckButton(CZVRect(area.x + i * pitch, area.y, pitch - kButtonGap, area.h), firstId + i,
                               kButtonClass, caption(i).c_str());
            if (i > 0) buttons[static_cast<size_t>(i)]->SetLookSource(buttons[0]);
        }
    };
    addRow(m_skip, kFirstSkipId, [](int i) { return std::string(kSkipTexts[i]); });
    addRow(m_month, kEvenId, [](int i) { return std::string(kMonthTexts[i]); });
    addRow(m_days, kFirstDayId, [](int d) { return GetDayNameShort(d); });
    ShowGroup(kMonthDays, 0);
    ApplyRule(0);
    SetTimer(static_cast<int>(kWriteDelay));
}

void CWateringDaysPage::CheckOnly(CZVCheckButton* const* buttons, int count, int index) {
    for (int i = 0; i < count; ++i) buttons[i]->SetCheck(i == index, 0, 1);
}

void CWateringDaysPage::ShowGroup(int kind, int redraw) {
    const auto showRow = [&](auto& buttons, bool shown) {
        for (CZVCheckButton* button : buttons) {
            if (!shown) button->SetCheck(0, 0, 0);
            button->Enable(shown ? 1 : 0, 0);
            button->Show(shown ? 1 : 0, 0);
        }
    };
    showRow(m_month, kind == kMonthDays);
    showRow(m_days, kind == kWeekDays || kind == kEveryDay);
    showRow(m_skip, kind == kSkipDays);
    if (kind == kMonthDays) m_month[0]->SetCheck(1, 0, 0);
    if (kind == kEveryDay)
        for (CZVCheckButton* day : m_days) day->SetCheck(1, 0, 0);
    if (kind == kSkipDays) m_skip[0]->SetCheck(1, 0, 0);
    if (redraw) Redraw(1);
}

void CWateringDaysPage::ApplyRule(int redraw) {
    const int32_t rule = m_group->rule;
    const int32_t kind = rule & CPlantGroup::kKindMask;
    if (kind == CPlantGroup::kDaysOfWeek) {
        const bool all = (rule & CPlantGroup::kAllDays) == CPlantGroup::kAllDays;
        m_kind->Select(all ? kEveryDay : kWeekDays, 0);
        ShowGroup(kWeekDays, 0);
        for (int d = 0; d < 7; ++d) m_days[static_cast<size_t>(d)]->SetCheck((rule & DayBit(d)) != 0, 0, 0);
    } else if (kind == CPlantGroup::kEvenDays || kind == CPlantGroup::kOddDays) {
        m_kind->Select(kMonthDays, 0);
        ShowGroup(kMonthDays, 0);
        // Odd days only: showing the group checked the even ones.
        m_month[0]->SetCheck(kind == CPlantGroup::kEvenDays, 0, 0);
        m_month[1]->SetCheck(kind == CPlantGroup::kOddDays, 0, 0);
    } else if (kind >= CPlantGroup::kEvery2nd && kind <= CPlantGroup::kEvery5th) {
        m_kind->Select(kSkipDays, 0);
        ShowGroup(kSkipDays, 0);
        for (int i = 0; i < 4; ++i) m_skip[static_cast<size_t>(i)]->SetCheck(i == kind - CPlantGroup::kEvery2nd, 0, 0);
    } else {
        // No rule yet: the skip days are offered, and the rule stays until the user edits it.
        m_kind->Select(kSkipDays, 0);
        ShowGroup(kSkipDays, 0);
    }
    if (redraw) Redraw(1);
}

int32_t CWateringDaysPage::ComposeRule() {
    switch (m_kind->GetSelection()) {
    case kMonthDays: return m_month[0]->GetCheck() ? CPlantGroup::kEvenDays : CPlantGroup::kOddDays;
    case kSkipDays:
        for (int i = 0; i < 4; ++i)
            if (m_skip[static_cast<size_t>(i)]->GetCheck()) return CPlantGroup::kEvery2nd + i;
        return 0;
    case kWeekDays:
    case kEveryDay: {
        int32_t rule = CPlantGroup::kDaysOfWeek;
        for (int d = 0; d < 7; ++d)
            if (m_days[static_cast<size_t>(d)]->GetCheck()) rule |= DayBit(d);
        const bool all = (rule & CPlantGroup::kAllDays) == CPlantGroup::kAllDays;
        if (all != (m_kind->GetSelection() == kEveryDay)) m_kind->Select(all ? kEveryDay : kWeekDays, 1);
        return rule;
    }
    default: return m_group->rule;
    }
}

int CWateringDaysPage::OnCommand(int id) {
    if (id == kKindId) {
        const int kind = m_kind->GetSelection();
        if (kind == kEveryDay || kind == kWeekDays)
            for (CZVCheckButton* day : m_days) day->SetCheck(kind == kEveryDay, 0, 0);
        ShowGroup(kind, 1);
    } else if (id >= kFirstSkipId && id < kFirstSkipId + 4) {
        CheckOnly(m_skip.data(), 4, id - kFirstSkipId);
    } else if (id == kEvenId || id == kOddId) {
        CheckOnly(m_month.data(), 2, id - kEvenId);
    } else if (id < kFirstDayId || id >= kFirstDayId + 7) {
        return 1;
    }
    m_group->rule = ComposeRule();
    m_group->dirty = 1;
    return 1;
}

void CWateringDaysPage::OnTimer() {
    CZVServer* server = m_server;
    if (!m_group->dirty || !server || platform::TicksSince(m_created) < kWriteDelay) return;
    // A failed write keeps the rule dirty: the next tick tries again.
    if (!IrrigationQuery(*server, ZVM_IRRIGATION_SETWATERDAYSQ, {m_group->id, m_group->rule})) return;
    QACacheClear(*server);
    m_group->dirty = 0;
}
