#include "vistrel/media/phone/calllogpage.h"

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/phonestatus.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kVolumeClass = 17;
constexpr int kVolumeGap = 2;
constexpr int kListTopGap = 9;
constexpr int kListBottomGap = 24;
constexpr int kArrowColumn = 30;
constexpr int kListGap = 4;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

std::string RecordTime(const CZVTime& t) {
    CZVString text;
    text.Format("%s %d %2d:%02d %s", t.GetMonthName().c_str(), t.GetDay(), t.GetHour12(), t.GetMinute(),
                t.GetAmPm().c_str());
    return text.GetAnsi();
}

}  // namespace

CCallLogPage::CCallLogPage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server)
    : CZVWindow(parent, rect, styleClass), CSocketSink(server) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    CPhonePage::GetAreaRect(&area, this, CPhonePage::kInfoArea);
    AddInfoPanel(this, area, &m_info1, &m_info2);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kVolumeArea);
    m_volume = new CVolumeWnd(this, area, kVolumeClass, kVolume, kVolumeGap, 0, 0, 0);
    AddChild(m_volume);
    if (g_audioplayer) m_volume->SetValue(g_audioplayer->GetVolume(), 0, 0);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kLevelArea);
    m_level = new CZVLevelBar(this, area, 0, 0);
    AddChild(m_level);

    const int top2 = area.y + area.h + kListTopGap;
    CZVRect band(0, top2, m_width, m_height - kListBottomGap - top2);
    AddArrowButtons(this, band.CutLeft(kArrowColumn, 0), kUp, kDown, &m_up, &m_down);
    band.CutLeft(kListGap, 0);
    m_list = new CCallerIdList(this, band, kListChanged, server);
    AddChild(m_list);

    server.RegisterSink(this);
    SetTimer(kTimerInterval);
}

CCallLogPage::~CCallLogPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    if (g_audioplayer) g_audioplayer->StopPlay();
    // The focus goes only when this page holds it.
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
}

int CCallLogPage::OnCommand(int id) {
    HandleCommand(id, 1);
    return id;
}

void CCallLogPage::Select(int index) {
    m_list->SelectIndex(index, 1);
    m_list->ScrollToItem(index, 1);
}

void CCallLogPage::HandleCommand(int id, int redraw) {
    // The index held before this command, kept for the snap-back below.
    const int before = m_current;
    m_current = m_list->GetSelectedIndex();
    if (m_current != -1 || id == kVolume || id == kListChanged) {
        switch (id) {
        case kUp:
            if (m_current > 0) Select(--m_current);
            break;
        case kDown:
            if (m_current < m_list->GetCount() - 1) Select(++m_current);
            break;
        case kVolume:
            if (g_audioplayer) g_audioplayer->SetVolume(m_volume->GetValue());
            break;
        case kListChanged:
            // A caller on display keeps the selection fixed.
            if (m_state != 0 && m_current != before) {
                m_list->SelectIndex(before, 1);
                m_current = before;
            }
            break;
        default: break;
        }
    }
    UpdateDisplay(redraw);
}

void CCallLogPage::OnKeyDown(int key, int) {
    if (key == kKeyUp && m_up->IsEnabled()) OnCommand(kUp);
    if (key == kKeyDown && m_down->IsEnabled()) OnCommand(kDown);
}

void CCallLogPage::UpdateStatus(int redraw) {
    std::string line1, line2;
    if (m_call.CallerShown()) {
        line1 = CCallInProgress::kIncomingLine;
        line2 = m_call.CallerText();
    } else if (m_state == 0) {
        const int n = m_list->GetCount();
        CZVString count;
        if (n == 0) {
            count = "No Incoming Call Records";
        } else if (n == 1) {
            count = "1 Incoming Call Record";
        } else {
            count.Format("%d Incoming Call Records", n);
        }
        line1 = count.GetAnsi();
        if (n > 0) line2 = RecordTime(m_list->GetEarliest()) + " - " + RecordTime(m_list->GetLatest());
    }
    SetLabelText(m_info1, line1, redraw);
    SetLabelText(m_info2, line2, redraw);
}

void CCallLogPage::UpdateArrows(int redraw) {
    const int n = m_list->GetCount();
    const int selected = m_list->GetSelectedIndex();
    m_up->Enable(n > 0 && selected > 0, redraw);
    m_down->Enable(n > 0 && selected < n - 1, redraw);
}

void CCallLogPage::UpdateProgress(int redraw) { m_level->SetLevel(0, redraw); }

void CCallLogPage::UpdateDisplay(int redraw) {
    UpdateStatus(redraw);
    UpdateArrows(redraw);
    UpdateProgress(redraw);
}

void CCallLogPage::OnTimer() {
    if (!m_reloadPending) return;
    Reload();
}

void CCallLogPage::Reload() {
    if (g_audioplayer) g_audioplayer->StopPlay();
    m_reloadPending = 0;
    m_list->Refresh();
    if (m_current == -1) m_current = 0;
    m_list->SelectIndex(m_current, 0);
    CZVServer* server = GetServer();
    if (server) m_call.Ask(*server);
    const int redraw = InputBlocked(this) ? 0 : 1;
    if (redraw) m_list->Redraw(1);
    UpdateDisplay(redraw);
}

void CCallLogPage::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    const int redraw = InputBlocked(this) ? 0 : 1;
    switch (m_call.Read(*message, this)) {
    case CCallInProgress::Notice::kOther: break;
    case CCallInProgress::Notice::kNothingNew: return;
    case CCallInProgress::Notice::kCaller:
    case CCallInProgress::Notice::kAudio: UpdateDisplay(redraw); return;
    }
    switch (message->GetId()) {
    case ZVM_PHONE_STATECHANGED: m_reloadPending = 1; break;
    case ZVM_PHONE_CALLENDED:
        m_reloadPending = 1;
        m_call.End();
        UpdateDisplay(redraw);
        break;
    default: CSocketSink::OnMessage(message); break;
    }
}
