#pragma once
// The tablet's one player of the audio that the gateway streams (sources,
// voice mail, camera audio, the intercom). It is the wave device every part
// of the program plays on, clips included: made before the main window and
// deleted after it. Sources asked for while another plays wait their turn.
#include <cstdint>
#include <deque>

#include "av/wavdevice.h"
#include "core/zvserver.h"

class CGatewayAudioPlayer : public CWavDevice, public CSocketSink {
public:
    static constexpr int kNoZone = 0x7FFF;
    static constexpr int kUnsetVolume = -1;

    // Registers with the manager; becomes g_audioplayer and the clips' device.
    explicit CGatewayAudioPlayer(CZVServer& server);
    ~CGatewayAudioPlayer() override;

    // Opens the zone's stream at once when none plays, else queues it.
    void RequestStream(int zone);
    // Asks the gateway for the zone's format and opens the output for it at
    // the alert volume; the zone becomes current only when that succeeded.
    void OpenStream(int zone);
    void Poll() override;
    // Stops the output and tells the gateway.
    void StopPlay() override;

    // The player's volume in percent: the click volume until one is set.
    int GetVolume();
    void SetVolume(int percent);
    int GetZone() const { return m_zone; }
    int GetWaitingCount() const { return static_cast<int>(m_waiting.size()); }

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

private:
    void WritePcm(CZVMSG* message);
    void WriteMuLaw(CZVMSG* message);

    int m_volume = kUnsetVolume;
    int m_zone = kNoZone;
    std::deque<int> m_waiting;
};

// The player while it exists, else null.
extern CGatewayAudioPlayer* g_audioplayer;
