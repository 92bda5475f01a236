#include "vistrel/media/dvr/dvrpage.h"

#include <algorithm>
#include <cstdio>

#include "core/messages/mediamessages.h"
#include "platform/clock.h"
#include "vistrel/media/dvr/dvrtimeline.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/slider.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPanelClass = 6;
constexpr int kButtonClass = 17;
constexpr int kLabelClass = 25;
constexpr int kSmallScreen = 600;
constexpr int kControlsWidth = 204;  // what a landscape page keeps right of the picture
constexpr int kPortraitControls = 254;
constexpr int kVideoFrame = 2;
constexpr int kNoSource = 0x7FFF;
// The three transport buttons share a narrow row: their icons sit above the captions, so that
// each caption has the button's whole width. The clip steps are wider and keep theirs beside.
constexpr int kIconAbove = 17;
constexpr int kIconBeside = 2;
constexpr int kGap = 4;

bool Playing(int kind) { return kind == CDvrPage::kReplay || kind == CDvrPage::kStop; }

}  // namespace

std::string FormatDvrDate(const CZVTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %d/%d/%d", time.GetDayName().c_str(), time.GetMonth(), time.GetDay(),
                  time.GetYear());
    return text;
}

std::string FormatDvrTime(const CZVTime& time, int speed) {
    char text[64];
    std::snprintf(text, sizeof text, "%d:%02d:%02d.%02d %s", time.GetHour12(), time.GetMinute(), time.GetSecond(),
                  time.GetMilliseconds() / 10, time.GetHour() < 12 ? "AM" : "PM");
    if (speed == CDvrPage::kNormalSpeed) return text;
    char withSpeed[96];
    std::snprintf(withSpeed, sizeof withSpeed, "%s (%.1f X)", text, speed * 0.1);
    return withSpeed;
}

int DvrSpeedLimit(int spanMinutes) { return 10 * std::clamp(spanMinutes / 10 * 10, 10, 1000); }

CDvrPage::CDvrPage(CZVWindow* parent, CZVRect rect, int dvrSource)
    : CZVWindow(parent, rect, 0), CSocketSink(*GetGatewayServer()), m_dvrSource(dvrSource) {
    const COLORREF face = parent ? parent->GetFaceColor() : m_faceColor;
    SetColors(face, face);
    m_seekTime = CZVTime();
    Layout();
    if (GetServer()) GetServer()->RegisterSink(this);
    m_timeline->Reload();
    OpenStream();
}

CDvrPage::~CDvrPage() {
    StopStream();
    if (GetServer()) GetServer()->UnregisterSink(this);
}

// ---- layout

void CDvrPage::Layout() {
    CMainWndBase* main = GetMainWnd();
    const bool small = main && main->GetHeight() < kSmallScreen;
    int timeline = CSetServer::CurrentStyle(kLabelClass, 7) * (small ? 10 : 11);
    const int gap = PickByScreenHeight(kSmallScreen, 6, 8);
    CZVRect client;
    GetClientRect(&client);
    int h = client.h - timeline - 2 * kVideoFrame;
    int w = h * 4 / 3;
    const bool landscape = m_width >= w + 20;
    if (landscape) {
        w = std::min(w, m_width - kControlsWidth);
    } else {
        w = client.w - 2 * kVideoFrame;
        h = std::min(w * 3 / 4, m_height - kPortraitControls);
        w = h * 4 / 3;
        timeline = std::min(timeline, m_height - h - gap);
    }
    AlignVideoSize(&w, &h, kAlignVideo4By3);
    CZVRect picture(0, 0, w + 2 * kVideoFrame, h + 2 * kVideoFrame);
    CZVRect timelinePanel, controlsPanel;
    if (landscape) {
        controlsPanel = CZVRect(picture.w + gap, 0, m_width - picture.w - gap, picture.h);
        timelinePanel = CZVRect(0, picture.h + gap, m_width, m_height - picture.h - gap);
    } else {
        picture.x = (m_width - picture.w) / 2;
        timelinePanel = CZVRect(0, picture.h + gap, m_width, timeline);
        const int top = timelinePanel.y + timeline + gap;
        controlsPanel = CZVRect(0, top, m_width, m_height - top);
    }
    m_timelineHeight = timelinePanel.h;
    m_video = new CVideoWnd(this, picture, w, h, nullptr, kVideoFrame, kNoSource, -1, 0);
    AddChild(m_video);

    auto* timePanel = new CRRegion(this, timelinePanel, kPanelClass);
    AddChild(timePanel);
    CZVRect inside;
    timePanel->GetContentRect(&inside);
    m_timeline = new CDvrTimeline(timePanel, inside, this);
    timePanel->AddChild(m_timeline);

    auto* controls = new CRRegion(this, controlsPanel, kPanelClass);
    AddChild(controls);
    LayoutControls(controls);
}

void CDvrPage::LayoutControls(CZVWindow* panel) {
    CZVRect area;
    panel->GetContentRect(&area);
    CZVRect buttons = area, info = area;
    if (area.w >= 2 * area.h) {
        buttons = area.Column(0, 2, kGap);
        info = area.Column(1, 2, kGap);
    } else {
        info = buttons.CutBottom(area.h * 2 / 5, kGap);
    }
    const CZVRect first = buttons.Row(0, 3, kGap), second = buttons.Row(1, 3, kGap);
    m_play = panel->AddCheckButton(first.Column(0, 3, kGap), kPlayId, kButtonClass, "Play");
    m_play->SetIconName("TRANSPORT\\ICON32PLAY", kIconAbove);
    m_replay =
        panel->AddIconButton(first.Column(1, 3, kGap), kReplayId, kButtonClass, "TRANSPORT\\ICON32REPEAT", kIconAbove);
    m_replay->SetText("Replay", nullptr, 0);
    m_stop = panel->AddCheckButton(first.Column(2, 3, kGap), kStopId, kButtonClass, "Stop");
    m_stop->SetIconName("TRANSPORT\\ICON32STOP", kIconAbove);
    m_stop->SetCheck(1, 0, 0);
    m_previous = panel->AddIconButton(second.Column(0, 2, kGap), kPreviousClipId, kButtonClass,
                                      "TRANSPORT\\ICON32_LEFT_ARROW_GREEN", kIconBeside);
    m_previous->SetText("Previous\nClip", nullptr, 0);
    m_next = panel->AddIconButton(second.Column(1, 2, kGap), kNextClipId, kButtonClass,
                                  "TRANSPORT\\ICON32_RIGHT_ARROW_GREEN", kIconBeside);
    m_next->SetText("Next\nClip", nullptr, 0);
    m_save = panel->Add3DButtonDefault(buttons.Row(2, 3, kGap), kSaveId, kButtonClass, "Save This Clip");
    CCaptionFitter fitter(panel);
    fitter.AddChildren(panel, kButtonClass, 0);

    m_slider = new CZVSlider(panel, info.Row(0, 4, kGap), kSpeedId, -10, 10, -1, -1, 0);
    m_slider->SetEndIcons("TRANSPORT\\ICON32REW", "TRANSPORT\\ICON32FFW");
    m_slider->SetPosition(kNormalSpeed, 0);
    panel->AddChild(m_slider);
    SetSpeedRange(0);
    for (int line = 0; line < 3; ++line) {
        m_labels[line] = new CZVLabel(panel, info.Row(line + 1, 4, kGap), "", kLabelClass);
        panel->AddChild(m_labels[line]);
    }
}

void CDvrPage::SetSpeedRange(int redraw) {
    if (!m_slider || !m_timeline) return;
    const int limit = DvrSpeedLimit(m_timeline->GetTimeWindow()->GetSpanMinutes());
    m_slider->SetRange(-limit, limit);
    if (redraw && m_slider->IsShown()) m_slider->Redraw(1);
}

// ---- the stream

void CDvrPage::OpenStream() {
    m_stream = m_video->OpenDvrStream(this, m_dvrSource);
    if (m_stream >= 0) m_video->Start(m_stream, -1);
}

void CDvrPage::StopStream() {
    if (m_stream == -1) return;
    SendToGateway(ZVM_DVR_STOPSTREAM, {m_stream}, GetId());
    m_stream = -1;
}

void CDvrPage::SendPlay(int kind, const CZVTime& time) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_DVR_PLAYQ);
    message.WriteInt(m_stream);
    message.WriteInt(kind);
    message.WriteTime(time);
    server->Send(&message);
    ++m_outstanding;
    m_lastPlayTick = platform::GetTickCount();
}

void CDvrPage::SendPlayValue(int kind, int value) { SendToGateway(ZVM_DVR_PLAYQ, {m_stream, kind, value}, GetId()); }

// ---- commands and messages

int CDvrPage::DoCommand(int id, int) {
    const CZVTime now;
    switch (id) {
    case kPlayId: SendPlay(kPlay, now); break;
    case kReplayId:
        SendPlay(kReplay, now);
        SendPlay(kPlay, now);
        break;
    case kStopId: SendPlay(kStop, now); break;
    case kNextClipId: SendPlay(kNextClip, m_timeline->GetPlayPosition()); break;
    case kPreviousClipId: SendPlay(kPreviousClip, m_timeline->GetPlayPosition()); break;
    case kSpeedId:
        m_speed = m_slider ? m_slider->GetLevel() : kNormalSpeed;
        SendPlayValue(kSpeed, m_speed);
        break;
    case kSaveId:
        SendPlay(kSaveClip, m_timeline->GetPlayPosition());
        m_timeline->Reload();
        break;
    default: return id - kPlayId;
    }
    return 1;
}

void CDvrPage::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_DVR_GETCLIPSA: m_timeline->OnClips(*message); break;
    case ZVM_DVR_STREAMCHANGED: {
        int32_t source = 0;
        if (!message->ReadInt(source) || source != m_dvrSource) break;
        if (IsShown())
            m_timeline->Reload();
        else
            m_reloadPending = 1;
        break;
    }
    case ZVM_DVR_PLAYA:
        if (m_outstanding > 0) --m_outstanding;
        break;
    default: break;
    }
}

void CDvrPage::OnConnect(int connected) {
    if (!connected) {
        m_stream = -1;
        return;
    }
    OpenStream();
    m_outstanding = 0;
}

void CDvrPage::OnShow(int show) {
    if (!show) {
        StopStream();
        return;
    }
    if (m_stream < 0) OpenStream();
    SendPlay(kPlayFrom, m_timeline->GetPlayPosition());
    m_outstanding = 0;
    if (m_reloadPending) {
        m_timeline->Reload();
        m_reloadPending = 0;
    }
}

int CDvrPage::OnIdle(int busy) {
    // An answer that never comes holds a seek back no longer than the gate.
    const int gateOpen = m_outstanding == 0 || platform::TicksSince(m_lastPlayTick) >= kSeekGateMs;
    if (m_seekPending && gateOpen) {
        SendPlay(kPlayFrom, m_seekTime);
        m_seekPending = 0;
        return 1;
    }
    return CZVWindow::OnIdle(busy);
}

void CDvrPage::OnSeek(const CZVTime& time) {
    m_seekTime = time;
    m_seekPending = 1;
    OnPlaybackEvent({.kind = -1, .time = time, .text = {}});
}

// ---- playback events

void CDvrPage::EnableControl(CZVWindow* control, int on, int visible) {
    if (control) control->Enable(on, visible);
}

void CDvrPage::SetLabelText(CZVLabel* label, const std::string& text, int visible) {
    if (!label || label->GetText().GetAnsi() == text) return;
    label->SetText(text.c_str(), nullptr, 0);
    if (visible) label->Redraw(1);
}

void CDvrPage::OnPlaybackEvent(const CPlaybackEvent& event) {
    const int kind = event.kind < 0 ? m_playbackKind : event.kind;
    const CZVTime& time = event.time;
    const int visible = IsShown() && !CMainWndBase::InputBlockedFor(this);
    const int playing = Playing(kind);
    EnableControl(m_replay, playing, visible);
    m_play->SetCheck(playing, 0, visible);
    m_stop->SetCheck(!playing, 0, visible);
    EnableControl(m_slider, playing, visible);
    EnableControl(m_save, kind == kPlayFrom, visible);
    if (kind != m_playbackKind) {
        if (kind == kPlay || kind == kStop) {
            m_video->ClearPicture();
            if (IsShown()) m_video->Redraw(1);
        }
        m_playbackKind = kind;
    }
    if (!event.text.empty()) SetLabelText(m_labels[0], event.text, visible);
    m_timeline->SetPlayPosition(time, kind);
    SetLabelText(m_labels[1], FormatDvrDate(time), visible);
    SetLabelText(m_labels[2], FormatDvrTime(time, m_speed), visible);
}
