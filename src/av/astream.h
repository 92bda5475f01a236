#pragma once
// A queue of wave buffers that the wave device plays or records on. The
// stream owns its buffers. The sound system's thread links every buffer it
// hands back into the done chain (QueueDone); the main thread reclaims the
// chain (ProcessDone), and only then is a buffer deleted.
#include <cstdint>
#include <mutex>

#include "av/syncoblist.h"
#include "av/wavebuffer.h"
#include "platform/wave.h"

class CWavDevice;

// Which side of the device a stream's buffers went through.
enum class WaveSide { Output, Input };

class CAStream : public CSyncObList {
public:
    CAStream() = default;
    ~CAStream() override;

    platform::WaveFormat& GetFormat() { return m_format; }

    // Playing time of every buffer, and of those not yet handed back; 0 at a
    // byte rate of 0.
    virtual double GetTotalSeconds() const;
    virtual double GetPendingSeconds() const;
    // A new buffer appended with a copy of the bytes; null, nothing appended,
    // when memory runs out.
    virtual CWaveBuffer* AddCopy(const uint8_t* bytes, int32_t length);
    virtual CWaveBuffer* AddEmpty();
    // A copy of the bytes a header recorded.
    virtual CWaveBuffer* AddRecorded(const platform::WaveHeader& header);
    // Appends at the tail; null is ignored.
    virtual void AddBuffer(CWaveBuffer* buffer);
    // Removes the buffer without deleting it; the caller owns it again.
    void Detach(CWaveBuffer* buffer);
    void DeleteAll();

    // From the sound system's thread: links a handed-back header at the end
    // of the done chain.
    void QueueDone(platform::WaveHeader* header);
    // Reclaims the done chain, oldest first: the device counts and measures
    // each buffer, a recorded one is copied into the target when there is
    // one, and the buffer is deleted. A header no buffer owns is ignored.
    void ProcessDone(WaveSide side, CAStream* target, CWavDevice* device);

private:
    double SumSeconds(bool pendingOnly) const;
    void ReclaimHeader(platform::WaveHeader* header, WaveSide side, CAStream* target, CWavDevice* device);

    platform::WaveFormat m_format;
    std::mutex m_handOff;
    platform::WaveHeader* m_doneHead = nullptr;
    platform::WaveHeader* m_doneTail = nullptr;
};
