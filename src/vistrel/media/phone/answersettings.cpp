#include "vistrel/media/phone/answersettings.h"

#include <algorithm>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "platform/clock.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/media/phone/phoneaudio.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/phonestatus.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pbase.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kVolumeGap = 2;
constexpr int kRingsShare = 60;  // percent of the main area's width
constexpr int kGap = 2;
constexpr int kCellInset = 5;
constexpr int kButtonGap = 5;
constexpr int kRowGaps = 6;
constexpr int kRows = 5;
constexpr int kEnterKey = 13;
constexpr int kIconLayout = 2;
constexpr int kRecordIcon = 12;
constexpr int kStopIcon = 2;
constexpr int kPlayIcon = 1;
constexpr COLORREF kDarkIconColour = 0x141414;  // RGB(20, 20, 20)
constexpr COLORREF kRedIconColour = 0x000096;   // RGB(150, 0, 0)
constexpr COLORREF kGreenIconColour = 0x00FF00;
constexpr int kInputLevelFall = 5;
constexpr double kDrained = 0.01;        // s of output still pending
constexpr double kShortestLength = 0.1;  // s: no progress for shorter greetings
constexpr int32_t kCallSaverRings = 24;
constexpr int32_t kNeverRings = 99;
constexpr int kCallSaverOption = 6;
constexpr int kNeverOption = 7;
constexpr int kPlainOptions = 6;

const char* const kRingTexts[CAnswerSettingsPage::kRingOptions] = {"After 1 Ring",
                                                                   "After 2 Rings",
                                                                   "After 3 Rings",
                                                                   "After 4 Rings",
                                                                   "After 5 Rings",
                                                                   "After 6 Rings",
                                                                   "2/4 Call Saver (2 Rings if Message Waiting)",
                                                                   "Never (Answering Machine off)"};

constexpr UploadIds kGreetingUpload = {ZVM_PHONE_GREETINGBEGINQ, ZVM_PHONE_GREETINGDATAQ, ZVM_PHONE_GREETINGENDQ};

}  // namespace

CAnswerSettingsPage::CAnswerSettingsPage(CZVWindow* parent, CZVRect rect, int styleClass, int32_t mailbox,
                                         CZVServer& server)
    : CZVWindow(parent, rect, styleClass), CSocketSink(server), m_mailbox(mailbox) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    CPhonePage::GetAreaRect(&area, this, CPhonePage::kInfoArea);
    AddInfoPanel(this, area, &m_info1, &m_info2);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kVolumeArea);
    m_volume = new CVolumeWnd(this, area, kButtonClass, kVolume, kVolumeGap, 0, 0, 0);
    AddChild(m_volume);
    if (g_audioplayer) m_volume->SetValue(g_audioplayer->GetVolume(), 0, 0);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kLevelArea);
    m_level = new CZVLevelBar(this, area, 0, 0);
    AddChild(m_level);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kMainArea);
    const CZVRect left = area.CutLeft(area.w * kRingsShare / 100, kGap);
    area.CutBottom(kGap, 0);
    if (m_mailbox == 0 || m_mailbox == 1) {
        const int rowHeight = BuildRingsPanel(left);
        const CZVRect check = area.CutBottom(rowHeight, kGap);
        m_screenCalls = new CZVRadio(this, check, kScreenCalls, 1, 0, 0, GetStyleClass(), 0, 0, 0);
        m_screenCalls->SetOptionText(0, "Screen Calls");
        AddChild(m_screenCalls);
    }
    BuildGreetingPanel(area);
    CCaptionFitter(this).AddChildren(this, kButtonClass, -1);

    server.RegisterSink(this);
    SetTimer(kIdleInterval);
}

CAnswerSettingsPage::~CAnswerSettingsPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    StopAudio();
    m_state = 0;
    ApplyVolume();
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
}

namespace {

// The panel's content below its caption (the panel's first child).
CZVRect BelowCaption(CRRegion* panel) {
    CZVRect content;
    panel->GetContentRect(&content);
    auto* caption = static_cast<CZVWindow*>(panel->GetChildren().GetHead());
    if (caption) content.CutTop(caption->GetHeight(), 0);
    return content;
}

}  // namespace

int CAnswerSettingsPage::BuildRingsPanel(CZVRect area) {
    CRRegion* panel = CSubPanel::CreateCaptionPanel(this, area, "Answer Phone", 0);
    const CZVRect content = BelowCaption(panel);
    const int rowHeight = std::max(0, (content.h - kRowGaps) / kRows);
    const CZVRect rows = content.BottomPart(rowHeight * kRows);
    m_rings = new CZVRadio(panel, rows, kRings, kRingOptions, 0, 0, GetStyleClass(), 0, 0, 0);
    panel->AddChild(m_rings);
    const CZVRect local(0, 0, rows.w, rows.h);
    const CZVRect leftColumn = local.Column(0, 2, kGap);
    const CZVRect rightColumn = local.Column(1, 2, kGap);
    constexpr int kColumnRows = kPlainOptions / 2;
    for (int i = 0; i < kRingOptions; ++i) {
        CZVRect cell;
        if (i < kColumnRows)
            cell = CZVRect(leftColumn.x, i * rowHeight, leftColumn.w, rowHeight);
        else if (i < kPlainOptions)
            cell = CZVRect(rightColumn.x, (i - kColumnRows) * rowHeight, rightColumn.w, rowHeight);
        else
            cell = CZVRect(0, (i - kColumnRows) * rowHeight, local.w, rowHeight);
        cell.Deflate(kCellInset, kCellInset);
        m_rings->GetOption(i)->SetRect(cell);
        m_rings->SetOptionText(i, kRingTexts[i]);
    }
    // The two wide options share a look of their own, not the first cell's.
    m_rings->GetOption(kCallSaverOption)->SetLookSource(nullptr);
    m_rings->GetOption(kNeverOption)->SetLookSource(m_rings->GetOption(kCallSaverOption));
    return rowHeight;
}

void CAnswerSettingsPage::BuildGreetingPanel(CZVRect area) {
    CRRegion* panel = CSubPanel::CreateCaptionPanel(this, area, "Edit Greeting", 0);
    const CZVRect content = BelowCaption(panel);
    const auto add = [&](int row, int id, const char* caption, int icon, COLORREF colour) {
        CZVRect cell = content.Row(row, 4, kButtonGap);
        cell.Deflate(kCellInset, kCellInset);
        CZV3DButton* button = AddCaptionedButton(panel, cell, id, caption, icon, colour, kIconLayout);
        // Only Use Default clicks: the others start and stop audio.
        if (id != kUseDefault) button->ClearSounds();
        return button;
    };
    m_useDefault = add(0, kUseDefault, "Use Default", kRecordIcon, kDarkIconColour);
    m_record = add(1, kRecord, "Record New", kRecordIcon, kRedIconColour);
    m_stop = add(2, kStop, "Stop", kStopIcon, kRedIconColour);
    m_play = add(3, kPlay, "Play", kPlayIcon, kGreenIconColour);
}

int CAnswerSettingsPage::RingsOption(int32_t rings) {
    if (rings == kCallSaverRings) return kCallSaverOption;
    if (rings == kNeverRings) return kNeverOption;
    if (rings >= 1 && rings <= kPlainOptions) return rings - 1;
    return -1;
}

int32_t CAnswerSettingsPage::OptionRings(int option) {
    if (option == kCallSaverOption) return kCallSaverRings;
    if (option == kNeverOption) return kNeverRings;
    if (option >= 0 && option < kPlainOptions) return option + 1;
    return -1;
}

// ---- commands

int CAnswerSettingsPage::OnCommand(int id) {
    switch (id) {
    case kRings: ChooseRings(); break;
    case kScreenCalls: ToggleScreenCalls(); break;
    case kRecord: StartRecording(); break;
    case kStop: Stop(); break;
    case kPlay:
        m_state = kPlaying;
        PlayGreeting();
        break;
    case kUseDefault: UseDefault(); break;
    case kVolume: ApplyVolume(); break;
    default: break;
    }
    UpdateDisplay(InputBlocked(this) ? 0 : 1);
    return id;
}

void CAnswerSettingsPage::ChooseRings() {
    const int option = m_rings ? m_rings->GetSelection() : -1;
    const int32_t rings = OptionRings(option);
    if (rings < 0) return;
    m_rings->Select(option, 1);
    CZVServer* server = GetServer();
    if (server) CZVQuery(*server).Command1(ZVM_PHONE_SETRINGSQ, rings);
}

void CAnswerSettingsPage::ToggleScreenCalls() {
    int32_t flag = 0;
    if (!AskChoiceValue(m_screenCalls, ZVM_PHONE_GETSCREENCALLSQ, &flag)) return;
    const int32_t wanted = flag ? 0 : 1;
    CZVQuery(*GetServer()).Command1(ZVM_PHONE_SETSCREENCALLSQ, wanted);
    ShowScreenCalls(wanted);
}

void CAnswerSettingsPage::ShowScreenCalls(int32_t flag) {
    m_screenCalls->Enable(1, 0);
    m_screenCalls->Select(flag ? 0 : -1, 1);
}

bool CAnswerSettingsPage::AskChoiceValue(CZVRadio* choice, uint16_t request, int32_t* value) {
    CZVServer* server = GetServer();
    if (!choice || !server) return false;
    if (CZVQuery(*server).QueryInt(*value, request)) return true;
    choice->Enable(0, 1);
    return false;
}

void CAnswerSettingsPage::LoadRings() {
    int32_t rings = 0;
    if (!AskChoiceValue(m_rings, ZVM_PHONE_GETRINGSQ, &rings)) return;
    m_rings->Enable(1, 0);
    m_rings->Select(RingsOption(rings), 1);
}

void CAnswerSettingsPage::LoadScreenCalls() {
    int32_t flag = 0;
    if (AskChoiceValue(m_screenCalls, ZVM_PHONE_GETSCREENCALLSQ, &flag)) ShowScreenCalls(flag);
}

void CAnswerSettingsPage::PlayGreeting() {
    StopAudio();
    m_greetingLength = 0;
    CZVServer* server = GetServer();
    if (!server || !g_audioplayer) return;
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_PHONE_PLAYGREETINGQ);
    request.WriteInt(g_audioplayer->GetId());
    request.WriteInt(m_mailbox);
    PhoneStream stream;
    if (!AskStream(query, request, &stream)) return;
    // A format without a byte rate gives no length: nothing is played.
    m_greetingLength = stream.Seconds();
    if (m_greetingLength <= 0) return;
    g_audioplayer->Play(&stream.format, g_audioplayer->GetVolume());
    ApplyVolume();
    m_startTick = platform::GetTickCount();
}

void CAnswerSettingsPage::StartRecording() {
    StopAudio();
    ApplyVolume();
    m_inputLevel = 0;
    m_recording.GetFormat() = RecordingFormat();
    m_recording.DeleteAll();
    if (g_audioplayer) g_audioplayer->StartRecord(&m_recording);
    SetTimer(kRecordingInterval);
    m_startTick = platform::GetTickCount();
    m_state = kRecording;
}

void CAnswerSettingsPage::SaveRecording() {
    if (g_audioplayer) g_audioplayer->StopRecord();
    SetTimer(kIdleInterval);
    CZVServer* server = GetServer();
    if (!server || m_recording.GetTotalSeconds() < kShortestGreeting) return;
    UploadSteps steps;
    steps.begun = [this] { SetInfo("Saving...", "", 1); };
    steps.progress = [this](int percent) { m_level->SetLevel(percent, 1); };
    UploadRecording(*server, kGreetingUpload, m_mailbox, m_recording, steps);
    m_recording.DeleteAll();
}

void CAnswerSettingsPage::UseDefault() {
    CZVServer* server = GetServer();
    if (m_customGreeting == 1 && server) CZVQuery(*server).Command1(ZVM_PHONE_USEDEFAULTGREETINGQ, m_mailbox);
}

void CAnswerSettingsPage::Stop() {
    if (m_state & kRecording)
        SaveRecording();
    else
        StopAudio();
    m_state = 0;
    ApplyVolume();
}

void CAnswerSettingsPage::StopAudio() {
    if (!g_audioplayer) return;
    if (m_state & kRecording) {
        g_audioplayer->StopRecord();
        SetTimer(kIdleInterval);
    } else {
        g_audioplayer->StopPlay();
    }
}

void CAnswerSettingsPage::ApplyVolume() {
    if (g_audioplayer) g_audioplayer->SetVolume(m_volume->GetValue());
}

// ---- time, keys, visibility, notices

void CAnswerSettingsPage::OnTimer() {
    if (InputBlocked(this)) return;
    if (m_reloadPending) {
        m_reloadPending = 0;
        LoadRings();
        LoadScreenCalls();
        UpdateDisplay(1);
    }
    if (m_state & kPlaying) {
        EndPlayingIfDrained();
        UpdateProgress(1);
    }
    if (m_state & kRecording) {
        UpdateGreetingInfo(1);
        ShowInputLevel();
    }
}

void CAnswerSettingsPage::EndPlayingIfDrained() {
    const bool drained =
        !g_audioplayer || (!g_audioplayer->IsPlaying() && g_audioplayer->GetPendingPlaySeconds() < kDrained);
    if (!drained) return;
    OnCommand(kStop);
    UpdateButtons(1);
}

void CAnswerSettingsPage::ShowInputLevel() {
    const int level = g_audioplayer ? g_audioplayer->GetLevel() : 0;
    m_inputLevel = level > m_inputLevel ? level : std::max(0, m_inputLevel - kInputLevelFall);
    m_level->SetLevel(m_inputLevel, 1);
}

void CAnswerSettingsPage::OnKeyDown(int key, int) {
    if (key != kEnterKey) return;
    if (m_play->IsEnabled())
        OnCommand(kPlay);
    else if (m_stop->IsEnabled())
        OnCommand(kStop);
}

void CAnswerSettingsPage::OnShow(int shown) {
    if (shown) return;
    // A recording cut short by leaving is dropped, not sent.
    StopAudio();
    m_recording.DeleteAll();
    m_state = 0;
    ApplyVolume();
    UpdateDisplay(0);
}

void CAnswerSettingsPage::OnMessage(CZVMSG* message) {
    if (InputBlocked(this)) {
        if (CMainWnd* main = GetTabletMainWnd()) main->SetMenuReloadPending(1);
        return;
    }
    switch (message->GetId()) {
    case ZVM_PHONE_INCOMINGCALL: ResubscribeMessaging(this); break;
    case ZVM_PHONE_ANSWERINGCHANGED:
    case ZVM_PHONE_GREETINGCHANGED:
    case ZVM_PHONE_SCREENINGCHANGED: m_reloadPending = 1; break;
    default: CSocketSink::OnMessage(message); break;
    }
}

// ---- display

void CAnswerSettingsPage::SetInfo(CZVString line1, CZVString line2, int redraw) {
    SetLabelText(m_info1, line1.GetAnsi(), redraw);
    SetLabelText(m_info2, line2.GetAnsi(), redraw);
}

void CAnswerSettingsPage::UpdateGreetingInfo(int redraw) {
    if (m_state & kRecording) {
        CZVString seconds;
        seconds.Format("%0.1f seconds", platform::TicksSince(m_startTick) * 0.001);
        SetInfo("Recording...", seconds, redraw);
        return;
    }
    int32_t isDefault = 0;
    CZVTime recorded;
    if (!AskGreeting(&isDefault, &recorded)) {
        SetInfo("", "", redraw);
        return;
    }
    m_customGreeting = isDefault ? 0 : 1;
    if (isDefault) {
        SetInfo("Default Greeting", "", redraw);
        return;
    }
    CZVString date;
    date.Format("Recorded %d/%d/%d", recorded.GetMonth(), recorded.GetDay(), recorded.GetYear());
    SetInfo("Custom Greeting", date, redraw);
}

bool CAnswerSettingsPage::AskGreeting(int32_t* isDefault, CZVTime* recorded) {
    CZVServer* server = GetServer();
    if (!server) return false;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, ZVM_PHONE_GETGREETINGQ, m_mailbox) || !answer) return false;
    answer->ResetPosition();
    return answer->ReadInt(*isDefault) && answer->ReadTime(*recorded);
}

void CAnswerSettingsPage::UpdateButtons(int redraw) {
    m_record->Enable(m_state == 0, redraw);
    m_stop->Enable(m_state != 0, redraw);
    m_play->Enable(m_state == 0, redraw);
    m_useDefault->Enable(m_customGreeting == 1, redraw);
}

void CAnswerSettingsPage::UpdateProgress(int redraw) {
    int level = 0;
    if ((m_state & kPlaying) && m_greetingLength > kShortestLength)
        level = static_cast<int>(platform::TicksSince(m_startTick) * 100.0 / (m_greetingLength * 1000));
    m_level->SetLevel(std::min(level, 100), redraw);
}

void CAnswerSettingsPage::UpdateDisplay(int redraw) {
    UpdateGreetingInfo(redraw);
    UpdateButtons(redraw);
    if (!(m_state & kRecording)) UpdateProgress(redraw);
}
