#include "vistrel/home/schedule/scheduleevent.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/messages/schedulemessages.h"
#include "core/zvserver.h"
#include "core/zvtime.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int32_t kDefaultClock = 480;  // 8:00 AM
constexpr int kRockerClass = 16;
constexpr int kTypeClass = 17;
constexpr int kTypeGap = 4;
constexpr int kLabelFormat = 18;
constexpr int kLeftIcon = 5;
constexpr int kRightIcon = 4;
constexpr const char* kTypeNames[] = {"Sunrise", "Sunset", "Clock"};

}  // namespace

// ---- the event

void CScheduleEvent::Clamp() {
    if (m_timeType == kClock)
        m_timeValue = ((m_timeValue % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
    else
        m_timeValue = std::clamp(m_timeValue, -kMaxOffset, kMaxOffset);
}

std::string CScheduleEvent::GetTypeName() const {
    return m_timeType >= kSunrise && m_timeType <= kClock ? kTypeNames[m_timeType] : "ERROR";
}

std::string CScheduleEvent::GetTimeText() const {
    if (m_timeType == kClock) return FormatHourMinute(m_timeValue);
    if (m_timeValue == 0) return "";
    const int64_t offset = std::llabs(static_cast<int64_t>(m_timeValue));
    char text[48];
    std::snprintf(text, sizeof text, m_timeValue > 0 ? "(+) %d:%02d" : "(-) %d:%02d", static_cast<int>(offset / 60),
                  static_cast<int>(offset % 60));
    return text;
}

void CLightingScheduleEvent::Commit() {
    if (!m_server) return;
    CZVMSG message(0, ZVM_SCHEDULE_SETLIGHTINGEVENT);
    for (int32_t value : {m_schedule, m_event, m_timeType, m_timeValue}) message.WriteInt(value);
    m_server->Send(&message);
}

std::string CLightingScheduleEvent::GetTabText() const { return m_name + "\n" + GetTypeName() + " " + GetTimeText(); }

// ---- the editor

CScheduleEventWnd::CScheduleEventWnd(CZVWindow* parent, CZVRect rect, int styleClass, int labelFontSize,
                                     CScheduleEvent* event, int withLabel)
    : CZVWindow(parent, rect, styleClass), m_event(event) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int left = withLabel ? kLabelWidth : 0;
    const int room = rect.w - left;
    const int rockerWidth = room * 2 / 5;
    m_rocker = new CRockerSwitch(this, CZVRect(left + room - rockerWidth, 0, rockerWidth, rect.h), kRockerClass,
                                 kEarlierId, kLaterId, 0, 2);
    COLORREF iconColour = GetTextColor();
    if (CSetServer* style = CSetServer::Get()) iconColour = style->GetStyleColor(4, 0);
    for (int i = 0; i < 2; ++i) {
        CZV3DButton* segment = m_rocker->GetSegment(i);
        if (!segment) continue;
        segment->SetAutoRepeat(1);
        segment->SetRepeatTiming(250, 10, 500, 1500);
        segment->SetIconKind(i == 0 ? kLeftIcon : kRightIcon, &iconColour);
    }
    AddChild(m_rocker);
    const int columns = room - rockerWidth;
    const int width = (columns - 3 * kTypeGap) / 3;
    for (int type = 0; type < 3; ++type)
        m_types[type] = AddCheckButton(CZVRect(left + type * (width + kTypeGap), 0, width, rect.h), kSunriseId + type,
                                       kTypeClass, kTypeNames[type]);
    if (withLabel) {
        m_label = AddLabel(CZVRect(0, 0, kLabelWidth, rect.h), m_event->GetTimeText().c_str(), labelFontSize);
        m_label->SetTextFormat(kLabelFormat);
    }
    ShowType(0);
}

void CScheduleEventWnd::ShowType(int redraw) {
    for (int type = 0; type < 3; ++type) m_types[type]->SetCheck(type == m_event->m_timeType, 0, redraw);
}

int CScheduleEventWnd::OnCommand(int id) {
    if (id == kEarlierId || id == kLaterId) {
        m_event->m_timeValue += id == kLaterId ? kStep : -kStep;
        m_event->Clamp();
    } else if (id >= kSunriseId && id <= kClockId) {
        m_event->m_timeType = id - kSunriseId;
        m_event->m_timeValue = m_event->m_timeType == CScheduleEvent::kClock ? kDefaultClock : 0;
        m_event->Clamp();
        ShowType(1);
    } else {
        return 0;
    }
    if (m_label) m_label->SetText(m_event->GetTimeText().c_str(), nullptr, 1);
    m_event->Commit();
    if (m_parent) m_parent->OnCommand(kChangedId);
    return 1;
}
