#include "av/wavebuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr int32_t kGrowStep = 64;
constexpr int32_t kGainLimit = 32000;
}  // namespace

CWaveBuffer::~CWaveBuffer() { Free(); }

int CWaveBuffer::SetSize(int32_t n) {
    if (n < 0) return 0;
    if (n > m_capacity) {
        if (n > INT32_MAX - kGrowStep) return 0;
        const int32_t capacity = (n / kGrowStep + 1) * kGrowStep;
        auto* block = new (std::nothrow) uint8_t[capacity];
        if (!block) return 0;
        delete[] m_data;
        m_data = block;
        m_capacity = capacity;
    }
    m_length = n;
    m_header = platform::WaveHeader{.data = m_data, .bufferLength = static_cast<uint32_t>(n)};
    return 1;
}

int CWaveBuffer::SetData(const uint8_t* bytes, int32_t n) {
    if (!SetSize(n)) return 0;
    if (n) std::memcpy(m_data, bytes, n);
    return 1;
}

void CWaveBuffer::ApplyGain(int factor) {
    for (int32_t i = 0; i + 1 < m_length; i += 2) {
        const int64_t sample = static_cast<int16_t>(m_data[i] | m_data[i + 1] << 8);
        const auto scaled = static_cast<uint16_t>(std::clamp<int64_t>(sample * factor, -kGainLimit, kGainLimit));
        m_data[i] = static_cast<uint8_t>(scaled);
        m_data[i + 1] = static_cast<uint8_t>(scaled >> 8);
    }
}

void CWaveBuffer::Free() {
    delete[] m_data;
    m_data = nullptr;
    m_capacity = 0;
    m_length = 0;
    m_header = platform::WaveHeader{};
}
