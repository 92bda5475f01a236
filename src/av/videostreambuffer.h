#pragma once
// The MPEG-2 bytes that wait for the decoder. The decoder reads the bytes it
// was handed in place, so the front of the buffer moves only when it asks
// for more: those handed bytes are the pending ones, dropped then.
#include <array>
#include <cstdint>

class CVideoStreamBuffer {
public:
    static constexpr int kCapacity = 120000;

    // Empties the buffer and stamps the reset.
    void Reset();
    // 1 when the bytes were added; 0 (reported) when they do not fit, or
    // for a negative count.
    int Append(const uint8_t* bytes, int count);
    // Drops count bytes from the front; a negative count empties the
    // buffer, one beyond the fill is cut to it (both reported).
    void Consume(int count);
    // Drops the bytes handed to the decoder by the last feed.
    void ConsumePending();

    const uint8_t* GetData() const { return m_data.data(); }
    int GetFill() const { return m_fill; }
    int GetFree() const { return kCapacity - m_fill; }
    int GetPending() const { return m_pending; }
    void SetPending(int count) { m_pending = count; }
    int GetConsumed() const { return m_consumed; }
    uint32_t GetResetTick() const { return m_resetTick; }

private:
    std::array<uint8_t, kCapacity> m_data{};
    int m_fill = 0;
    int m_pending = 0;
    int m_consumed = 0;
    uint32_t m_resetTick = 0;
};
