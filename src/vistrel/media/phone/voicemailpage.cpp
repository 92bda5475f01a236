#include "vistrel/media/phone/voicemailpage.h"

#include <algorithm>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/media/phone/phoneaudio.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/phonestatus.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kVolumeGap = 2;
constexpr int kGap = 2;
constexpr int kListTopGap = 9;
constexpr int kListBottomGap = 119;
constexpr int kArrowColumn = 30;
constexpr int kListGap = 4;
constexpr int kColumns = 6;
constexpr int kButtonGap = 5;
constexpr int kFirstRowFromBottom = 110;
constexpr int kSecondRowFromBottom = 54;
constexpr int kRowHeight = 51;
constexpr int kFirstRowLayout = 39;
constexpr int kSecondRowLayout = 2;
constexpr int kPlayIcon = 1;
constexpr int kStopIcon = 2;
constexpr int kRewindIcon = 9;
constexpr int kRecordIcon = 12;
constexpr COLORREF kGreen = 0x00FF00;          // RGB(0, 255, 0)
constexpr COLORREF kPlayAllBlue = 0xFF3232;    // RGB(50, 50, 255)
constexpr COLORREF kDarkBlue = 0x960000;       // RGB(0, 0, 150)
constexpr COLORREF kRed = 0x000096;            // RGB(150, 0, 0)
constexpr COLORREF kRecordingFill = 0xFF6464;  // RGB(100, 100, 255)
constexpr COLORREF kSavingFill = 0x6464FF;     // RGB(255, 100, 100)
constexpr double kDrained = 0.01;              // s of output still pending
constexpr int kAudioBits = CVoiceMailPage::kPlaying | CVoiceMailPage::kSeparator | CVoiceMailPage::kCallAudio |
                           CVoiceMailPage::kLive | CVoiceMailPage::kRecording;
constexpr UploadIds kMessageUpload = {ZVM_PHONE_RECORDBEGINQ, ZVM_PHONE_RECORDDATAQ, ZVM_PHONE_RECORDENDQ};
constexpr char kNotSaved[] = "Message not saved";

COLORREF HighlightColour() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetSelectionColor() : kPlayAllBlue;
}

CZVString CountText(int count, const char* kind) {
    CZVString text;
    if (count == 0)
        text.Format("No %s Messages", kind);
    else if (count == 1)
        text.Format("1 %s Message", kind);
    else
        text.Format("%d %s Messages", count, kind);
    return text;
}

}  // namespace

CVoiceMailPage::CVoiceMailPage(CZVWindow* parent, CZVRect rect, int styleClass, int32_t mailbox, CZVServer& server)
    : CZVWindow(parent, rect, styleClass), CSocketSink(server), m_mailbox(mailbox), m_playType(CVoiceMailList::kAny) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    CPhonePage::GetAreaRect(&area, this, CPhonePage::kInfoArea);
    AddInfoPanel(this, area, &m_info1, &m_info2);

    CZVRect volume;
    CPhonePage::GetAreaRect(&volume, this, CPhonePage::kVolumeArea);
    m_volume = new CVolumeWnd(this, volume, kButtonClass, kVolume, kVolumeGap, 0, 0, 0);
    AddChild(m_volume);
    if (g_audioplayer) m_volume->SetValue(g_audioplayer->GetVolume(), 0, 0);

    CPhonePage::GetAreaRect(&area, this, CPhonePage::kLevelArea);
    const int bandTop = area.y + area.h + kListTopGap;
    m_audioLevel = new CZVLevelBar(this, area.CutRight(volume.w, kGap), 0, 0);
    m_audioLevel->SetFillColor(HighlightColour());
    AddChild(m_audioLevel);
    m_progress = new CZVLevelBar(this, area, 0, 0);
    AddChild(m_progress);

    CZVRect band(0, bandTop, m_width, m_height - kListBottomGap - bandTop);
    AddArrowButtons(this, band.CutLeft(kArrowColumn, 0), kUp, kDown, &m_up, &m_down);
    band.CutLeft(kListGap, 0);
    m_list = new CVoiceMailList(this, band, kListChanged, server);
    AddChild(m_list);

    BuildButtons(m_width, m_height);
    for (CZV3DButton* button : {m_up, m_down}) button->ClearSounds();
    CCaptionFitter(this).AddChildren(this, kButtonClass, -1);

    server.RegisterSink(this);
    SetTimer(kTimerInterval);
    m_alive = 1;
}

CVoiceMailPage::~CVoiceMailPage() {
    m_alive = 0;
    m_audioLevel = nullptr;
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    if (m_state & kAudioBits) StopPlayback();
    m_state = 0;
    ApplyVolume();
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
}

CZV3DButton* CVoiceMailPage::AddRowButton(CZVRect rect, int id, const char* caption, int icon, COLORREF colour,
                                          int layout) {
    CZV3DButton* button = AddCaptionedButton(this, rect, id, caption, icon, colour, layout);
    button->ClearSounds();
    return button;
}

void CVoiceMailPage::BuildButtons(int width, int height) {
    const int s = (width + kButtonGap) / kColumns;
    const int y1 = height - kFirstRowFromBottom;
    const auto cell = [&](int i) { return CZVRect(i * s, y1, s - kButtonGap, kRowHeight); };
    m_play = AddRowButton(cell(0), kPlay, "Play", kPlayIcon, kGreen, kFirstRowLayout);
    m_playAll = AddRowButton(cell(1), kPlayAll, "Play All", kPlayIcon, kPlayAllBlue, kFirstRowLayout);
    m_rewind = AddRowButton(cell(2), kRewind, "Rewind", kRewindIcon, kDarkBlue, kFirstRowLayout);
    m_rewind->SetPressIds(kRewindPress, kRewindRelease);
    m_stop = AddRowButton(cell(3), kStop, "Stop", kStopIcon, kRed, kFirstRowLayout);
    m_delete = AddIconButton(cell(4), kDelete, kButtonClass, "PHONE_DELETE", kFirstRowLayout);
    m_delete->SetText("Delete", nullptr, 0);
    m_delete->ClearSounds();
    m_markNew = AddIconButton(cell(5), kMarkNew, kButtonClass, "PHONE_MARKNEW", kFirstRowLayout);
    m_markNew->SetText("Mark New", nullptr, 0);
    const int y2 = height - kSecondRowFromBottom;
    m_record = AddRowButton(CZVRect(0, y2, 2 * s - kButtonGap, kRowHeight), kRecord, "Record Message", kRecordIcon,
                            kRed, kSecondRowLayout);
    m_stopRecording = AddRowButton(CZVRect(2 * s, y2, 2 * s - kButtonGap, kRowHeight), kStopRecording, "Stop Recording",
                                   kStopIcon, kRed, kSecondRowLayout);
}

CZV3DButton* CVoiceMailPage::GetButton(int command) const {
    switch (command) {
    case kUp: return m_up;
    case kDown: return m_down;
    case kPlay: return m_play;
    case kPlayAll: return m_playAll;
    case kStop: return m_stop;
    case kDelete: return m_delete;
    case kRewind: return m_rewind;
    case kMarkNew: return m_markNew;
    case kRecord: return m_record;
    case kStopRecording: return m_stopRecording;
    default: return nullptr;
    }
}

int32_t CVoiceMailPage::CurrentMessageId() const { return PhoneRowId(m_list, m_current); }

void CVoiceMailPage::Select(int index) {
    m_list->SelectIndex(index, 1);
    m_list->ScrollToItem(index, 1);
}

// ---- audio

void CVoiceMailPage::ApplyVolume() {
    if (g_audioplayer) g_audioplayer->SetVolume(m_volume->GetValue());
}

bool CVoiceMailPage::Drained() const {
    return !g_audioplayer || (!g_audioplayer->IsPlaying() && g_audioplayer->GetPendingPlaySeconds() < kDrained);
}

int CVoiceMailPage::PlayedPercent() const {
    if (m_messageLength <= 0 || !g_audioplayer) return 0;
    const int64_t played = int64_t{g_audioplayer->GetBytesPlayed()} * 100 / m_messageLength;
    return static_cast<int>(std::min<int64_t>(played + m_startPercent, 100));
}

void CVoiceMailPage::PlayMessage(int startPercent) {
    m_progress->SetFillColor(HighlightColour());
    StopPlayback();
    if (m_current < 0 || m_current >= m_list->GetCount()) return;
    m_startPercent = 0;
    m_messageLength = 0;
    CZVServer* server = GetServer();
    if (!server || !g_audioplayer) return;
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_PHONE_PLAYVOICEMAILQ);
    request.WriteInt(g_audioplayer->GetId());
    request.WriteInt(CurrentMessageId());
    request.WriteInt(startPercent);
    PhoneStream stream;
    if (!AskStream(query, request, &stream) || stream.length <= 0 || !stream.IsPcm()) return;
    m_startPercent = startPercent;
    m_messageLength = stream.length;
    g_audioplayer->Play(&stream.format, g_audioplayer->GetVolume());
    ApplyVolume();
    m_startTick = platform::GetTickCount();
}

void CVoiceMailPage::PlaySeparator() {
    m_state |= kSeparator;
    CZVServer* server = GetServer();
    if (!server || !g_audioplayer) return;
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_PHONE_PLAYQ);
    request.WriteInt(g_audioplayer->GetId());
    PhoneStream stream;
    if (!AskStream(query, request, &stream)) return;
    m_startPercent = 0;
    m_messageLength = stream.length;
    g_audioplayer->Play(&stream.format, g_audioplayer->GetVolume());
    m_startTick = platform::GetTickCount();
}

void CVoiceMailPage::StopPlayback() {
    if (m_audioLevel) m_audioLevel->SetLevel(0, InputBlocked(this) ? 0 : 1);
    if (!g_audioplayer) return;
    if (m_state & kRecording) {
        g_audioplayer->StopRecord();
        return;
    }
    g_audioplayer->StopPlay();
    if (!(m_state & kLive)) return;
    m_state &= ~kLive;
    if (CZVServer* server = GetServer()) CZVQuery(*server).Command0(ZVM_PHONE_STOPPLAYQ);
}

void CVoiceMailPage::StartLiveListen() {
    if ((m_state & kPlaying) || !g_audioplayer) return;
    CZVServer* server = GetServer();
    if (!server) return;
    CZVQuery query(*server);
    query.SetTimeout(CZVQuery::kDefaultTimeout);
    CZVMSG* answer = nullptr;
    int32_t active = 0;
    platform::WaveFormat format;
    if (!query.QueryAnswer1(&answer, ZVM_PHONE_LISTENLIVEQ, g_audioplayer->GetId()) || !answer) return;
    answer->ResetPosition();
    if (!answer->ReadInt(active) || !ReadWaveFormat(*answer, &format)) return;
    if (!active || format.formatTag != platform::WaveFormat::kPcm) return;
    g_audioplayer->StopPlay();
    if (!g_audioplayer->Play(&format, g_audioplayer->GetVolume())) return;
    ApplyVolume();
    m_state = (m_state & kCallerShown) | kLive;
    m_startTick = platform::GetTickCount();
}

void CVoiceMailPage::StartRecording() {
    StopPlayback();
    ApplyVolume();
    if (!m_recording) m_recording = std::make_unique<CAStream>();
    m_inputLevel = 0;
    m_recording->GetFormat() = RecordingFormat();
    m_recording->DeleteAll();
    if (g_audioplayer) g_audioplayer->StartRecord(m_recording.get());
    SetTimer(kRecordingInterval);
    m_startTick = platform::GetTickCount();
    m_progress->SetFillColor(kRecordingFill);
}

void CVoiceMailPage::SaveRecording() {
    StopPlayback();
    SetTimer(kSavedInterval);
    m_progress->SetFillColor(kSavingFill);
    CZVServer* server = GetServer();
    if (server && m_recording->GetTotalSeconds() > kShortestMessage) {
        UploadSteps steps;
        steps.begun = [this] {
            SetLabelText(m_info1, "Saving...", 1);
            SetLabelText(m_info2, "", 1);
        };
        steps.progress = [this](int percent) { m_progress->SetLevel(percent, 1); };
        // A cut upload is not ended, so the gateway drops it; the user is told.
        if (UploadRecording(*server, kMessageUpload, m_mailbox, *m_recording, steps) != UploadResult::kSaved)
            m_notice = kNotSaved;
    }
    m_recording->DeleteAll();
}

// ---- commands

int CVoiceMailPage::OnCommand(int id) {
    HandleCommand(id, 1);
    return id;
}

void CVoiceMailPage::HandleCommand(int id, int redraw) {
    const int before = m_current;
    const int selected = m_list->GetSelectedIndex();
    m_current = selected;
    if (id != kListChanged && id != kVolume) m_notice.clear();
    if (selected != -1) {
        switch (id) {
        case kUp: StepUp(selected); break;
        case kDown: StepDown(selected); break;
        case kPlay:
            PlayMessage(0);
            m_playType = CVoiceMailList::kAny;
            m_state = kPlayingOne;
            break;
        case kPlayAll: PlayAll(); break;
        case kDelete: Delete(selected); break;
        case kRewindPress:
            if ((m_state & kPlaying) && m_progress->GetLevel() > 0) {
                StopPlayback();
                m_state |= kRewinding;
            }
            break;
        case kRewindRelease:
            if (m_state & kRewinding) {
                const int position = std::max(0, m_progress->GetLevel());
                m_state &= ~kRewinding;
                PlayMessage(position);
            }
            break;
        case kMarkNew: MarkNew(selected); break;
        default: break;
        }
    }
    switch (id) {
    case kStop: Stop(redraw); break;
    case kRecord:
        StartRecording();
        m_state = kRecording;
        break;
    case kStopRecording:
        if (m_state & kRecording) SaveRecording();
        m_state = 0;
        ApplyVolume();
        break;
    case kVolume: ApplyVolume(); break;
    case kListChanged:
        // While playing or deleting the selection stays on the message.
        if ((m_state & (kPlaying | kDeleting)) && selected != before) {
            m_list->SelectIndex(before, 1);
            m_current = before;
        }
        break;
    default: break;
    }
    UpdateDisplay(redraw);
}

void CVoiceMailPage::StepUp(int selected) {
    if (!(m_state & kPlaying)) {
        if (selected > 0) Select(m_current = selected - 1);
        return;
    }
    const int previous = m_list->FindPrevious(m_playType, selected);
    if (previous == -1) {
        Stop(1);
        return;
    }
    Select(m_current = previous);
    PlayMessage(0);
}

void CVoiceMailPage::StepDown(int selected) {
    if (!(m_state & kPlaying)) {
        if (selected < m_list->GetCount() - 1) Select(m_current = selected + 1);
        return;
    }
    const int next = m_list->FindNext(m_playType, selected);
    if (next == -1) {
        Stop(1);
        return;
    }
    Select(m_current = next);
    PlayMessage(0);
}

void CVoiceMailPage::PlayAll() {
    m_playType = m_list->CountRows(CVoiceMailList::kNew) > 0 ? CVoiceMailList::kNew : CVoiceMailList::kOld;
    const int last = m_list->FindNth(m_playType, m_list->CountRows(m_playType) - 1);
    if (last != -1 && last != m_current) Select(m_current = last);
    PlayMessage(0);
    m_state = kPlayingAll;
}

void CVoiceMailPage::Delete(int selected) {
    StopPlayback();
    m_progress->SetLevel(0, 0);
    m_messageLength = 0;
    m_state |= kDeleting;
    m_deleteTick = platform::GetTickCount();
    const int next = m_list->FindPrevious(m_playType, selected);
    if (m_state & kPlaying) {
        m_current = next;
        if (next == -1) {
            m_state = kDeleting;
            ApplyVolume();
        }
    } else {
        m_current = next != -1 ? next : selected - 1;
    }
    CZVServer* server = GetServer();
    // A refused delete brings no notice: the page does not wait for one.
    if (!server || !CZVQuery(*server).Command1(ZVM_PHONE_DELETEVOICEMAILQ, PhoneRowId(m_list, selected)))
        m_state &= ~kDeleting;
}

void CVoiceMailPage::MarkNew(int selected) {
    m_list->MarkRowNew(selected);
    m_list->Redraw(1);
    UpdateStatus(1);
    if (CZVServer* server = GetServer()) CZVQuery(*server).Command1(ZVM_PHONE_MARKNEWQ, PhoneRowId(m_list, selected));
    m_markNew->Enable(0, 1);
}

void CVoiceMailPage::Stop(int redraw) {
    const int old = m_state;
    StopPlayback();
    m_state = 0;
    ApplyVolume();
    if (!(old & kLive)) StartLiveListen();
    m_list->Refresh(m_mailbox);
    m_current = std::min(m_current, m_list->GetCount() - 1);
    m_list->SelectIndex(m_current, redraw);
}

// ---- time, visibility, notices

void CVoiceMailPage::Reload(int redraw) {
    StopPlayback();
    m_reloadPending = 0;
    m_list->Refresh(m_mailbox);
    const int n = m_list->GetCount();
    m_current = n == 0 ? -1 : std::clamp(m_current, 0, n - 1);
    m_list->SelectIndex(m_current, 0);
    CZVServer* server = GetServer();
    if (server) m_call.Ask(*server);
    StartLiveListen();
    if (redraw) m_list->Redraw(1);
    UpdateDisplay(redraw);
}

void CVoiceMailPage::OnTimer() {
    const int redraw = InputBlocked(this) ? 0 : 1;
    if (m_state & kDeleting) {
        if (platform::TicksSince(m_deleteTick) < kDeleteWait) return;
        // The gateway never confirmed: show what it holds now.
        m_state &= ~kDeleting;
        m_reloadPending = 1;
    }
    if (m_reloadPending) {
        const int reached = PlayedPercent();
        Reload(redraw);
        if (m_state & kPlaying) {
            // The message goes on from where it was.
            if (m_state & kSeparator)
                StepWhenDrained(redraw);
            else
                PlayMessage(reached);
        }
    } else if ((m_state & kPlaying) && !(m_state & kRewinding)) {
        StepWhenDrained(redraw);
    }
    if (m_state & kPlaying) {
        UpdateButtons(redraw);
        // While Rewind is held the bar falls a step a tick.
        if (m_state & kRewinding)
            m_progress->SetLevel(std::max(0, m_progress->GetLevel() - kRewindStep), redraw);
        else
            UpdateProgress(redraw);
    }
    if ((m_state & kLive) && g_audioplayer && !g_audioplayer->IsPlaying()) {
        m_state &= ~kLive;
        UpdateButtons(redraw);
    }
    if (m_state & kRecording) {
        UpdateStatus(redraw);
        ShowInputLevel();
    }
}

void CVoiceMailPage::StepWhenDrained(int redraw) {
    if (!(m_state & kSeparator) && !Drained()) return;
    if (m_state & kSeparator) {
        if (!Drained()) return;
        m_state &= ~kSeparator;
        HandleCommand(kUp, redraw);
        return;
    }
    const int first = m_list->FindNth(m_playType, 0);
    if ((m_state & kPlayingAll) && first != -1 && m_current > first) {
        PlaySeparator();
        return;
    }
    HandleCommand(kStop, redraw);
}

void CVoiceMailPage::ShowInputLevel() {
    const int level = g_audioplayer ? g_audioplayer->GetLevel() : 0;
    m_inputLevel = level > m_inputLevel ? level : std::max(0, m_inputLevel - 1);
    m_progress->SetLevel(m_inputLevel, InputBlocked(this) ? 0 : 1);
}

int CVoiceMailPage::OnIdle(int busy) {
    const int work = CZVWindow::OnIdle(busy);
    if ((m_state & kPlaying) && m_audioLevel && g_audioplayer)
        m_audioLevel->SetLevel(g_audioplayer->GetLevel(), InputBlocked(this) ? 0 : 1);
    return work;
}

void CVoiceMailPage::OnShow(int shown) {
    if (shown) return;
    // Leaving the tab stops everything and starts nothing; a recording is
    // dropped unsent.
    if (m_state & kAudioBits) StopPlayback();
    if (m_recording) m_recording->DeleteAll();
    m_state = 0;
    SetTimer(kTimerInterval);
    ApplyVolume();
    UpdateDisplay(0);
}

void CVoiceMailPage::OnConnect(int connected) {
    CSocketSink::OnConnect(connected);
    if (connected) m_reloadPending = 1;
}

void CVoiceMailPage::OnMessage(CZVMSG* message) {
    if (!m_alive) return;
    message->ResetPosition();
    const int redraw = InputBlocked(this) ? 0 : 1;
    switch (m_call.Read(*message, this)) {
    case CCallInProgress::Notice::kOther: break;
    case CCallInProgress::Notice::kNothingNew: return;
    case CCallInProgress::Notice::kCaller: UpdateDisplay(redraw); return;
    case CCallInProgress::Notice::kAudio: m_startTick = platform::GetTickCount(); return;
    }
    switch (message->GetId()) {
    case ZVM_PHONE_STATECHANGED:
        m_reloadPending = 1;
        m_state &= ~kDeleting;
        break;
    case ZVM_PHONE_CALLENDED: {
        int32_t reload = 0;
        if (!message->ReadInt(reload)) return;
        m_call.End();
        if (reload)
            m_reloadPending = 1;
        else
            UpdateDisplay(redraw);
        break;
    }
    case ZVM_PHONE_VOICEMAILCHANGED:
        StartLiveListen();
        UpdateButtons(redraw);
        break;
    default: CSocketSink::OnMessage(message); break;
    }
}

// ---- display

void CVoiceMailPage::UpdateStatus(int redraw) {
    CZVString line1, line2;
    const bool hasRow = m_current >= 0 && m_current < m_list->GetCount();
    if (m_state == 0) {
        line1 = CountText(m_list->GetNewCount(), "New");
        line2 = m_notice.empty() ? CountText(m_list->GetOldCount(), "Old") : CZVString(m_notice.c_str());
    } else if (m_call.CallerShown()) {
        line1 = CCallInProgress::kIncomingLine;
        line2 = m_call.CallerText().c_str();
    } else if ((m_state & kPlaying) && hasRow) {
        CColumnListItem* row = m_list->GetRow(m_current);
        line1.Format("%s (%s)", row->GetText(0).GetAnsi(), row->GetText(1).GetAnsi());
        line2.Format("%s at %s", row->GetText(2).GetAnsi(), row->GetText(3).GetAnsi());
    } else if (m_state & kRecording) {
        line1 = "Recording...";
        line2.Format("%0.1f seconds", platform::TicksSince(m_startTick) * 0.001);
    }
    SetLabelText(m_info1, line1.GetAnsi(), redraw);
    SetLabelText(m_info2, line2.GetAnsi(), redraw);
}

void CVoiceMailPage::UpdateButtons(int redraw) {
    const int n = m_list->GetCount();
    const int selected = m_list->GetSelectedIndex();
    const int playing = m_state & kPlaying;
    const bool recording = (m_state & kRecording) != 0;
    bool up = false, down = false, play = false, playAll = false, rewind = false, stop = false, del = false;
    bool markNew = false, record = false, stopRecording = false;
    if (m_state & kLive) {
        stop = true;
    } else if (n == 0) {
        record = true;
        stopRecording = recording;
    } else if (recording) {
        stopRecording = true;
    } else {
        playAll = true;
        up = selected > 0;
        down = selected < n - 1;
        del = selected != -1;
        rewind = playing != 0;
        CColumnListItem* row = selected != -1 ? m_list->GetRow(selected) : nullptr;
        markNew = row && row->GetText(CVoiceMailList::kStatusColumn).CompareNoCase("NEW") != 0;
        play = selected != -1 && playing == 0;
        stop = playing != 0;
        record = playing == 0;
    }
    m_up->Enable(up, redraw);
    m_down->Enable(down, redraw);
    m_play->Enable(play, redraw);
    m_playAll->Enable(playAll, redraw);
    m_rewind->Enable(rewind, redraw);
    m_stop->Enable(stop, redraw);
    m_delete->Enable(del, redraw);
    m_markNew->Enable(markNew, redraw);
    m_record->Enable(record, redraw);
    m_stopRecording->Enable(stopRecording, redraw);
}

void CVoiceMailPage::UpdateProgress(int redraw) {
    int level = 0;
    if (m_state & kSeparator)
        level = 100;
    else if ((m_state & kPlaying) && (m_state & kRewinding))
        level = std::max(0, m_progress->GetLevel());
    else if (m_state & kPlaying)
        level = PlayedPercent();
    m_progress->SetLevel(level, redraw);
}

void CVoiceMailPage::UpdateDisplay(int redraw) {
    UpdateStatus(redraw);
    UpdateButtons(redraw);
    if (!(m_state & kRecording)) UpdateProgress(redraw);
}
