#pragma once
// The sound system: one wave output and one wave input of PCM audio. The
// caller hands the backend headers that describe its own buffers; the backend
// plays or fills them and hands each one back through the done callback
// (on its own thread), its done flag set. A buffer is the caller's again only
// once it was handed back. The installed backend answers for the whole
// process, as the clock does; without one, the SDL backend serves.
#include <cstdint>

namespace platform {

// The 18-byte format record of the wire (little-endian, in this order).
struct WaveFormat {
    static constexpr int kWireSize = 18;
    static constexpr uint16_t kPcm = 1;

    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;

    // Reads the wire form; the bytes must hold kWireSize.
    static WaveFormat FromBytes(const uint8_t* bytes);
    void ToBytes(uint8_t* bytes) const;
};

// Set in a header's flags when the backend hands it back.
constexpr uint32_t kWaveHeaderDone = 0x1;

struct WaveHeader {
    uint8_t* data = nullptr;
    uint32_t bufferLength = 0;
    uint32_t bytesRecorded = 0;  // input: bytes filled
    uint32_t flags = 0;
    WaveHeader* next = nullptr;  // the caller's link for its chain of done headers
};

// Called on the backend's thread (or inside ResetOutput, CloseOutput,
// ResetInput and CloseInput) for every header handed back.
using WaveDoneCallback = void (*)(void* instance, WaveHeader* header);

enum class WaveSubmit { Taken, NoMemory, Failed };

// Opaque handles; 0 is none.
using WaveHandle = uintptr_t;

class WaveBackend {
public:
    virtual ~WaveBackend() = default;

    virtual bool HasDevice() = 0;

    // 0 when the format cannot be opened.
    virtual WaveHandle OpenOutput(const WaveFormat& format, WaveDoneCallback done, void* instance) = 0;
    virtual WaveSubmit Submit(WaveHandle output, WaveHeader* header) = 0;
    // Hands back every queued buffer before it returns.
    virtual void ResetOutput(WaveHandle output) = 0;
    // Hands back what is still queued, then closes.
    virtual void CloseOutput(WaveHandle output) = 0;

    // The device's volume, 0..65535 per channel (left in the low half), kept
    // also while the output is closed and applied to every sample played.
    virtual void SetVolume(uint32_t leftRight) = 0;
    virtual uint32_t GetVolume() = 0;

    virtual WaveHandle OpenInput(const WaveFormat& format, WaveDoneCallback done, void* instance) = 0;
    // Queues an empty buffer to be filled; false when refused.
    virtual bool AddInputBuffer(WaveHandle input, WaveHeader* header) = 0;
    virtual bool StartInput(WaveHandle input) = 0;
    virtual void StopInput(WaveHandle input) = 0;
    // Hands back every queued buffer, with what it holds so far.
    virtual void ResetInput(WaveHandle input) = 0;
    // Hands back what is still queued, then closes; false while it cannot close.
    virtual bool CloseInput(WaveHandle input) = 0;
};

// The installed backend, else the SDL backend.
WaveBackend& Wave();
// Replaces the backend for the whole process; null restores the SDL backend.
// Returns the backend installed before (null for the SDL backend).
WaveBackend* InstallWaveBackend(WaveBackend* backend);

// Copies count bytes of samples in the format, scaled by the device volume
// (0..65535 per channel, left in the low half; channels alternate left,
// right). 8-bit samples are unsigned around 128, 16-bit signed little-endian;
// other sizes are copied unscaled.
void CopyWithVolume(const WaveFormat& format, uint32_t leftRight, const uint8_t* source, uint8_t* target,
                    uint32_t count);

}  // namespace platform
