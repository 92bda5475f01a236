// The main window's share of the gateway's audio: it hands sources and the
// intercom's audio to the one audio player.
#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "gfx/shellservices.h"
#include "platform/clock.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"

void CMainWnd::OnAudioMessage(CZVMSG* message) {
    int32_t value = 0;
    switch (message->GetId()) {
    case ZVM_AUDIO_PLAYSOURCE:
        if (!message->ReadInt(value)) return;
        m_idle.NoteActivity();
        if (g_audioplayer) g_audioplayer->RequestStream(value);
        return;
    case ZVM_INTERCOM_AUDIOSTART: {
        EndIdleScreen();
        uint8_t bytes[platform::WaveFormat::kWireSize];
        if (!message->ReadInt(value) || !message->ReadBytes(bytes, sizeof bytes) || !g_audioplayer) return;
        const platform::WaveFormat format = platform::WaveFormat::FromBytes(bytes);
        g_audioplayer->StopRecord();
        g_audioplayer->CWavDevice::Play(&format, Shell().GetAlertVolume());
        return;
    }
    case ZVM_INTERCOM_AUDIOSTOP:
        if (g_audioplayer) g_audioplayer->StopPlay();
        return;
    default: return;
    }
}

void CMainWnd::AnswerIntercomCall(CZVMSG* message) {
    int32_t station = 0;
    const IntercomCallMaker make = FindIntercomCallMaker();
    if (!make || !message->ReadInt(station)) return;
    EndIntercomCall();
    m_intercomCall.reset(make(this, station));
}

void CMainWnd::EndIntercomCall() { m_intercomCall.reset(); }
