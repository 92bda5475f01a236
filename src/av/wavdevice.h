#pragma once
// The tablet's wave device: one output that plays a stream of PCM buffers
// and one input that records into a caller's stream, on the installed sound
// system. The sound system's callbacks only link handed-back buffers into
// the streams' done chains; Poll, on the main thread, reclaims them.
#include <cstdint>

#include "av/astream.h"
#include "platform/wave.h"

class CWavDevice {
public:
    // Write results.
    enum { kWriteFailed = 0, kWriteDone = 1, kWriteLost = 2 };
    // An ended stream's output closes this long after the last write.
    static constexpr uint32_t kEndCloseMs = 2000;
    static constexpr uint32_t kStopPlayWaitMs = 500;
    static constexpr uint32_t kStopRecordWaitMs = 5000;
    static constexpr uint32_t kWaitStepMs = 25;
    static constexpr int kRecordBuffers = 10;
    static constexpr int kLevelSlots = 4;

    CWavDevice();
    CWavDevice(const CWavDevice&) = delete;
    CWavDevice& operator=(const CWavDevice&) = delete;
    virtual ~CWavDevice();

    bool IsPresent() const { return m_present; }
    bool IsOutputOpen() const { return m_output != 0; }
    bool IsInputOpen() const { return m_input != 0; }

    // Percent of the left channel; 0 without a device.
    int GetVolume();
    // Both channels, limited to 0..100 percent; kept while the output is closed.
    void SetVolume(int percent);

    // Opens the output for the format at the volume (negative: unchanged).
    // An output open with the same rate, channels and sample size keeps
    // playing and takes the volume; another format is refused while the
    // running stream has not ended. 1 or 0.
    int Play(const platform::WaveFormat* format, int volume);
    // Queues a copy of the bytes: kWriteDone (also when not accepting: the
    // data is dropped), kWriteLost (the sound system lacked memory for this
    // piece) or kWriteFailed (the output was stopped, or no memory).
    int Write(const uint8_t* data, int32_t length);
    int IsPlaying() const { return m_accepting; }
    void MarkEndOfStream() { m_endOfStream = 1; }
    void StopAccepting() { m_accepting = 0; }
    uint32_t GetBytesPlayed() const { return m_bytesPlayed; }
    double GetPendingPlaySeconds() const { return m_playStream.GetPendingSeconds(); }

    // Records into the target in its format. 1 or 0; on 0 the input is closed.
    int StartRecord(CAStream* target);
    CAStream* GetRecordStream() { return &m_recordStream; }
    CAStream* GetPlayStream() { return &m_playStream; }
    // Bytes of one record buffer: 40 ms rounded up to whole blocks; 0 when
    // the format cannot be sized.
    static int32_t RecordBufferSize(const platform::WaveFormat& format);

    int GetLevel() const;
    void ResetLevel();
    void MeasureLevel(const platform::WaveFormat& format, const uint8_t* data, uint32_t length);
    // Called by a stream for each buffer it reclaims.
    void OnBufferReleased(WaveSide side, const platform::WaveHeader& header);

    virtual void Poll();
    virtual void StopPlay();
    virtual void StopRecord();

private:
    static void OutputDone(void* instance, platform::WaveHeader* header);
    static void InputDone(void* instance, platform::WaveHeader* header);
    void ProcessOutput();
    void ProcessInput();
    int AddRecordBuffer();
    // Closes the output; buffers are reclaimed only once the sound system
    // handed them back.
    void CloseOutput();
    void CloseInput();
    bool HasTimeLeft(uint32_t start, uint32_t limit) const;

    bool m_present = false;
    platform::WaveHandle m_output = 0;
    platform::WaveHandle m_input = 0;
    platform::WaveFormat m_outputFormat;
    platform::WaveFormat m_inputFormat;
    int m_endOfStream = 0;
    int m_accepting = 0;
    CAStream m_playStream;
    CAStream m_recordStream;
    CAStream* m_recordTarget = nullptr;
    uint8_t m_levels[kLevelSlots] = {};
    int m_levelIndex = 0;
    uint32_t m_bytesPlayed = 0;
    uint32_t m_lastWrite;
};
