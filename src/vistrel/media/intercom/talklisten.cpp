#include "vistrel/media/intercom/talklisten.h"

#include <algorithm>
#include <vector>

#include "av/audioplayer.h"
#include "av/mulaw.h"
#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvsocket.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "vistrel/media/intercom/intercomlist.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kGap = 2;
constexpr int kMaxButtonWidth = 50;
constexpr int kMeterInset = 2;
constexpr int kMinLampStep = 8;
constexpr int kMaxLampStep = 20;
constexpr int kLampSpacing = 3;
constexpr int kLampsPerGroup[CLampMeter::kGroups] = {1, 5, 1, 1};  // times f

constexpr COLORREF Rgb(int r, int g, int b) { return static_cast<COLORREF>(r | g << 8 | b << 16); }
constexpr COLORREF kIdleColors[CLampMeter::kGroups] = {Rgb(200, 200, 0), Rgb(0, 200, 0), Rgb(200, 200, 0),
                                                       Rgb(200, 0, 0)};
constexpr COLORREF kListeningColors[CLampMeter::kGroups] = {Rgb(75, 75, 200), Rgb(100, 100, 255), Rgb(120, 120, 255),
                                                            Rgb(150, 150, 255)};
constexpr COLORREF kUnavailableColors[CLampMeter::kGroups] = {Rgb(200, 200, 200), Rgb(200, 200, 200),
                                                              Rgb(200, 200, 200), Rgb(200, 200, 200)};

platform::WaveFormat TalkFormat() {
    platform::WaveFormat format;
    format.formatTag = platform::WaveFormat::kPcm;
    format.channels = 1;
    format.samplesPerSec = CTalkListenWnd::kSampleRate;
    format.avgBytesPerSec = 2 * CTalkListenWnd::kSampleRate;
    format.blockAlign = 2;
    format.bitsPerSample = 16;
    format.extraSize = 0;
    return format;
}

}  // namespace

int TalkButtonWidth(int clientWidth) { return std::min(clientWidth / 3, kMaxButtonWidth); }

int TalkGainFor(int level) {
    if (level <= 0) return 0;
    return std::clamp(CTalkListenWnd::kTargetLevel / level, 1, CTalkListenWnd::kMaxGain);
}

CTalkListenWnd::CTalkListenWnd(CZVWindow* parent, CIntercomButton* owner, CZVRect rect, CZVServer& server, int station,
                               COLORREF textColour, COLORREF faceColour, int bevel, int radius, int fontSize,
                               CZVString text, int type, CWavDevice* device)
    : CZVWindow(parent, rect, 0),
      CSocketSink(server),
      m_station(station),
      m_type(type),
      m_owner(owner),
      m_device(device),
      m_levelTick(platform::GetTickCount()),
      m_stateTick(m_levelTick) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetText(text, nullptr, 0);
    if (!faceColour) faceColour = CSetServer::CurrentStyleColor(kFaceClass, 0);
    CZVRect client;
    GetClientRect(&client);
    const int b = TalkButtonWidth(client.w);
    int x = client.x;
    m_talk = AddTalkButton(CZVRect(x, client.y, b, client.h), "Talk", kTalkPressed, textColour, faceColour, bevel,
                           radius, fontSize);
    x += b + kGap;
    if (m_station != kAllStations) {
        m_listen = AddTalkButton(CZVRect(x, client.y, b, client.h), "Listen", kListenPressed, textColour, faceColour,
                                 bevel, radius, fontSize);
        x += b + kGap;
    }
    const CZVRect rest(x, client.y + kMeterInset, std::max(client.x + client.w - x, 0),
                       std::max(client.h - 2 * kMeterInset, 0));
    const int e = std::clamp(rest.h / 4, kMinLampStep, kMaxLampStep);
    const int f = std::max(1, rest.w / e / 8);
    m_meter = new CLampMeter(this, rest, kLampsPerGroup[0] * f, kLampsPerGroup[1] * f, kLampsPerGroup[2] * f,
                             kLampsPerGroup[3] * f, kLampSpacing, kLampSpacing);
    AddChild(m_meter);
    if (m_listen) m_listen->Enable(0, 0);
    if (m_station != kAllStations) {
        m_talk->Enable(0, 0);
        SetMeterColors(kUnavailableColors);
    } else {
        SetMeterColors(kIdleColors);
    }
    m_talkStream.GetFormat() = TalkFormat();
    server.RegisterSink(this);
}

CTalkListenWnd::~CTalkListenWnd() {
    if (m_state == kTalking) {
        SendStop();
        StopRecording();
    }
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

CZV3DButton* CTalkListenWnd::AddTalkButton(CZVRect rect, const char* caption, int pressId, COLORREF text, COLORREF face,
                                           int bevel, int radius, int fontSize) {
    auto* button = new CZV3DButton(this, rect, pressId, kButtonClass);
    button->SetText(caption, nullptr, 0);
    button->SetPressIds(pressId, pressId + 1);
    button->ClearSounds();
    button->SetFaceColor(face);
    if (text) button->SetTextColor(text);
    if (fontSize > 0) button->SetFontSize(fontSize);
    button->SetShape(radius, bevel, button->GetMargin());
    AddChild(button);
    return button;
}

CWavDevice* CTalkListenWnd::Device() { return m_device ? m_device : g_audioplayer; }

int CTalkListenWnd::IsSocketWritable() {
    CZVServer* server = GetServer();
    CZVSocket* socket = server ? server->GetSocket() : nullptr;
    return socket && IsWritable(socket->GetHandle(), kWritableWait);
}

// ---- commands

int CTalkListenWnd::OnCommand(int id) {
    switch (id) {
    case kTalkPressed: PressTalk(); return 1;
    case kTalkReleased: ReleaseTalk(); return 1;
    case kListenPressed: PressListen(1); return 1;
    case kListenReleased: PressListen(0); return 1;
    default: return 1;
    }
}

void CTalkListenWnd::PressTalk() {
    if (m_state == kTalking) return;
    CWavDevice* device = Device();
    CZVServer* server = GetServer();
    // A device that records already belongs to someone else: nothing is sent.
    if (!device || !server || device->IsInputOpen() || !device->StartRecord(&m_talkStream)) {
        m_state = kIdle;
        return;
    }
    CZVMSG start(GetId(), ZVM_INTERCOM_STARTTALK);
    uint8_t format[platform::WaveFormat::kWireSize] = {};
    m_talkStream.GetFormat().ToBytes(format);
    start.WriteBytes(format, sizeof format);
    start.WriteInt(m_type);
    start.WriteInt(m_station);
    server->Send(&start);
    m_state = kTalking;
}

void CTalkListenWnd::ReleaseTalk() {
    if (m_state != kTalking) return;
    StopRecording();
    SendStop();
    m_state = kIdle;
    EndActivity();
}

void CTalkListenWnd::PressListen(int pressed) {
    // Only a window that began a call ends one.
    if (m_station == kAllStations || (!pressed && !m_listenSent)) return;
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), pressed ? ZVM_INTERCOM_INCOMINGCALL : ZVM_INTERCOM_ENDCALL);
    message.WriteInt(m_type);
    message.WriteInt(m_station);
    server->Send(&message);
    m_listenSent = pressed;
}

void CTalkListenWnd::StopRecording() {
    CWavDevice* device = Device();
    if (device) device->StopRecord();
    m_talkStream.DeleteAll();
}

void CTalkListenWnd::SendStop() {
    if (m_state != kTalking) return;
    CZVServer* server = GetServer();
    if (!server) return;
    const uint32_t start = platform::GetTickCount();
    while (!IsSocketWritable() && TicksSince(&start) < kStopWaitLimit) platform::Sleep(kStopWaitStep);
    CZVMSG stop(GetId(), ZVM_INTERCOM_STOPTALK);
    server->Send(&stop);
}

void CTalkListenWnd::EndActivity() {
    m_level = 0;
    if (m_type == kControlType && m_shown) SetMeterValue(0);
    if (m_owner) m_owner->OnRowLevel(this);
}

// ---- the idle step

int CTalkListenWnd::OnIdle(int busy) {
    if (m_state == kTalking) SendRecorded();
    if ((m_state == kTalking || m_state == kListening) && TicksSince(&m_levelTick) >= kLevelInterval) ShowLevel();
    if (m_state == kIdle && m_type == kControlType && m_station != kAllStations) PollState();
    return CZVWindow::OnIdle(busy);
}

void CTalkListenWnd::SendRecorded() {
    while (m_talkStream.GetCount() >= 2 && IsSocketWritable()) {
        auto* buffer = static_cast<CWaveBuffer*>(m_talkStream.GetHead());
        m_talkStream.Detach(buffer);
        SendBuffer(buffer);
        delete buffer;
    }
}

void CTalkListenWnd::SendBuffer(CWaveBuffer* buffer) {
    CWavDevice* device = Device();
    if (const int gain = TalkGainFor(device ? device->GetLevel() : 0)) buffer->ApplyGain(gain);
    const int32_t count = buffer->GetLength() / 2;
    const uint8_t* samples = buffer->GetData();
    std::vector<uint8_t> codes(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        codes[static_cast<size_t>(i)] = EncodeMuLaw(static_cast<int16_t>(samples[2 * i] | samples[2 * i + 1] << 8));
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG data(GetId(), ZVM_INTERCOM_AUDIODATA);
    data.WriteInt(count);
    data.WriteBytes(codes.data(), count);
    server->Send(&data);
}

void CTalkListenWnd::ShowLevel() {
    m_levelTick = platform::GetTickCount();
    CWavDevice* device = Device();
    m_level = device ? device->GetLevel() : 0;
    if (m_type == kControlType && m_shown) {
        int total = 0;
        for (int group = 0; group < CLampMeter::kGroups; ++group) total += m_meter->GetCount(group);
        SetMeterValue((m_level * total + 99) / 100);
    }
    if (m_owner) m_owner->OnRowLevel(this);
}

void CTalkListenWnd::PollState() {
    if (!m_stateDue && TicksSince(&m_stateTick) < kStatePollInterval) return;
    if (!IsSocketWritable()) return;
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_INTERCOM_COMMAND);
    request.WriteInt(m_station);
    server->Send(&request);
    m_stateDue = 0;
    m_stateTick = platform::GetTickCount();
}

// ---- the meter

void CTalkListenWnd::SetMeterColors(const COLORREF colours[4]) {
    m_meter->SetGroupColors(colours[0], colours[1], colours[2], colours[3]);
}

void CTalkListenWnd::SetMeterValue(int lit) { m_meter->SetValue(lit, m_shown && !CMainWndBase::InputBlockedFor(this)); }

// ---- gateway messages

void CTalkListenWnd::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_INTERCOM_AUDIOSTOP:
        if (m_state != kListening) return;
        SetMeterColors(kIdleColors);
        m_state = kIdle;
        EndActivity();
        return;
    case ZVM_INTERCOM_AUDIOSTART: {
        int32_t station = 0;
        if (!message->ReadInt(station)) return;
        if (m_station != kAllStations && station != m_station) return;
        if (m_state == kTalking) {
            StopRecording();
            SendStop();
        }
        SetMeterColors(kListeningColors);
        m_state = kListening;
        return;
    }
    case ZVM_INTERCOM_TALKSTATE: {
        int32_t available = 0;
        if (!message->ReadInt(available)) return;
        ShowTalkState(available != 0);
        return;
    }
    default: return;
    }
}

void CTalkListenWnd::ShowTalkState(int available) {
    const int redraw = m_shown && !CMainWndBase::InputBlockedFor(this);
    if (m_listen) m_listen->Enable(available, redraw);
    if (available) {
        if (!m_talk->IsEnabled()) {
            SetMeterColors(kIdleColors);
            SetMeterValue(0);
        }
        m_talk->Enable(1, redraw);
        return;
    }
    if (m_talk->IsEnabled()) {
        SetMeterColors(kUnavailableColors);
        SetMeterValue(0);
    }
    if (m_station != kAllStations) m_talk->Enable(0, redraw);
}

void CTalkListenWnd::OnConnect(int connected) {
    if (connected) return;
    if (m_state == kTalking) StopRecording();
    m_state = kIdle;
}

// ---- the factory

CZVWindow* MakeTalkListen(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CTalkListenWnd(args.parent, nullptr, args.rect, *server, args.desc.id, args.textColor, args.faceColor,
                              args.desc.Attribute(kAttrBevel), args.desc.Attribute(kAttrCornerRadius), args.fontSize,
                              args.desc.text, CTalkListenWnd::kControlType);
}
