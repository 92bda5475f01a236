#pragma once
// One block of wave data that can be handed to the sound system: its own
// bytes and the header that describes them. The block grows in 64-byte
// steps and is kept, so a buffer can be refilled without a new allocation.
#include <cstdint>

#include "platform/wave.h"

class CAStream;

class CWaveBuffer {
public:
    explicit CWaveBuffer(CAStream* owner) : m_owner(owner) {}
    CWaveBuffer(const CWaveBuffer&) = delete;
    CWaveBuffer& operator=(const CWaveBuffer&) = delete;
    virtual ~CWaveBuffer();

    // Makes room for n bytes (a new block of ((n / 64) + 1) x 64 bytes when
    // the old one is too small) and resets the header to describe them.
    // 0, nothing changed, when the memory cannot be had or n is negative.
    int SetSize(int32_t n);
    int SetData(const uint8_t* bytes, int32_t n);
    // Scales every 16-bit sample, limited to -32000..32000.
    void ApplyGain(int factor);
    void Free();

    platform::WaveHeader* GetHeader() { return &m_header; }
    uint8_t* GetData() const { return m_data; }
    int32_t GetLength() const { return m_length; }
    int32_t GetCapacity() const { return m_capacity; }
    CAStream* GetOwner() const { return m_owner; }

private:
    CAStream* m_owner;
    platform::WaveHeader m_header;
    uint8_t* m_data = nullptr;
    int32_t m_capacity = 0;
    int32_t m_length = 0;
};
