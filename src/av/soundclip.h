#pragma once
// A short sound that the gateway supplies by name as a RIFF WAV file. The
// clip asks for it once it is made (and on every connect until an answer
// came), keeps the samples and plays them on the clip device that start-up
// installs, at the click or the alert volume that the shell reports.
#include <cstdint>
#include <memory>

#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "platform/wave.h"

class CWavDevice;

class CSoundClip : public CSocketSink {
public:
    // The smallest file that holds the canonical header.
    static constexpr int32_t kMinFileSize = 44;

    CSoundClip(CZVServer& server, CZVString name);
    ~CSoundClip() override;

    // The device every clip plays on; null (the default) plays nothing.
    static void SetDevice(CWavDevice* device);
    static CWavDevice* GetDevice();

    const CZVString& GetName() const { return m_name; }
    void OnConnect(int connected) override;
    void OnMessage(CZVMSG* message) override;
    // Takes a whole WAV file; the clip is playable when it holds samples.
    void TakeFile(const uint8_t* file, int32_t length);

    // 1 when the clip started playing; 0 while it has nothing to play or the
    // device refused. alert picks the alert volume over the click volume.
    virtual int Play(int alert);
    // How often the clip was asked to play.
    int GetPlayRequests() const { return m_requests; }
    int IsAnswered() const { return m_answered; }
    int IsPlayable() const { return m_answered && !m_unplayable; }
    const platform::WaveFormat& GetFormat() const { return m_format; }
    int32_t GetDataLength() const { return m_dataLength; }
    const uint8_t* GetData() const { return m_data.get(); }

private:
    CZVString m_name;
    bool m_asked = false;
    int m_answered = 0;
    int m_unplayable = 0;
    platform::WaveFormat m_format;
    std::unique_ptr<uint8_t[]> m_data;
    int32_t m_dataLength = 0;
    int m_requests = 0;
};
