#include "av/audioplayer.h"

#include <algorithm>
#include <memory>
#include <new>

#include "av/mulaw.h"
#include "av/soundclip.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "gfx/shellservices.h"

CGatewayAudioPlayer* g_audioplayer = nullptr;

namespace {

// A count read from the message, cut to the bytes that follow it; -1 when
// no count could be read.
int32_t BoundedCount(CZVMSG* message) {
    int32_t count = 0;
    if (!message->ReadInt(count)) return -1;
    return std::clamp(count, 0, message->GetRemaining());
}

}  // namespace

CGatewayAudioPlayer::CGatewayAudioPlayer(CZVServer& server) : CSocketSink(server) {
    server.RegisterSink(this);
    g_audioplayer = this;
    CSoundClip::SetDevice(this);
}

CGatewayAudioPlayer::~CGatewayAudioPlayer() {
    if (GetServer()) GetServer()->UnregisterSink(this);
    if (CSoundClip::GetDevice() == this) CSoundClip::SetDevice(nullptr);
    if (g_audioplayer == this) g_audioplayer = nullptr;
}

void CGatewayAudioPlayer::RequestStream(int zone) {
    if (m_zone == kNoZone)
        OpenStream(zone);
    else
        m_waiting.push_back(zone);
}

void CGatewayAudioPlayer::OpenStream(int zone) {
    if (!GetServer()) return;
    CZVQuery query(*GetServer());
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer2(&answer, ZVM_AUDIO_OPENSTREAMQ, zone, GetId())) return;
    uint8_t bytes[platform::WaveFormat::kWireSize];
    if (!answer->ReadBytes(bytes, sizeof bytes)) return;
    const platform::WaveFormat format = platform::WaveFormat::FromBytes(bytes);
    if (format.formatTag != platform::WaveFormat::kPcm) return;
    if (CWavDevice::Play(&format, Shell().GetAlertVolume())) m_zone = zone;
}

void CGatewayAudioPlayer::Poll() {
    CWavDevice::Poll();
    if (m_waiting.empty() || IsOutputOpen()) return;
    const int zone = m_waiting.front();
    m_waiting.pop_front();
    OpenStream(zone);
}

void CGatewayAudioPlayer::StopPlay() {
    CWavDevice::StopPlay();
    if (GetServer() && GetServer()->IsConnected()) {
        CZVMSG stop(GetId(), ZVM_AUDIO_STOPSTREAM);
        GetServer()->Send(&stop);
    }
}

int CGatewayAudioPlayer::GetVolume() {
    if (m_volume == kUnsetVolume) m_volume = Shell().GetClickVolume();
    return m_volume;
}

void CGatewayAudioPlayer::SetVolume(int percent) {
    CWavDevice::SetVolume(percent);
    m_volume = std::clamp(percent, 0, 100);
}

void CGatewayAudioPlayer::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_AUDIO_STREAMEND:
        MarkEndOfStream();
        StopAccepting();
        m_zone = kNoZone;
        break;
    case ZVM_AUDIO_STREAMDATA: Write(message->GetData(), message->GetLength()); break;
    case ZVM_AUDIO_STREAMPCM: WritePcm(message); break;
    case ZVM_AUDIO_STREAMULAW: WriteMuLaw(message); break;
    default: break;
    }
}

void CGatewayAudioPlayer::WritePcm(CZVMSG* message) {
    const int32_t count = BoundedCount(message);
    if (count >= 0) Write(message->GetUnread(), count);
}

void CGatewayAudioPlayer::WriteMuLaw(CZVMSG* message) {
    const int32_t count = BoundedCount(message);
    if (count < 0) return;
    std::unique_ptr<uint8_t[]> pcm(new (std::nothrow) uint8_t[2 * static_cast<size_t>(count) + 1]);
    if (!pcm) return;
    const uint8_t* codes = message->GetUnread();
    for (int32_t i = 0; i < count; ++i) {
        const auto sample = static_cast<uint16_t>(DecodeMuLaw(codes[i]));
        pcm[2 * i] = static_cast<uint8_t>(sample);
        pcm[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    Write(pcm.get(), 2 * count);
}

void CGatewayAudioPlayer::OnConnect(int connected) {
    if (!connected) CWavDevice::StopPlay();
    m_zone = kNoZone;
}
