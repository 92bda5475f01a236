#include "av/videostreambuffer.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/report.h"

void CVideoStreamBuffer::Reset() {
    m_fill = 0;
    m_pending = 0;
    m_consumed = 0;
    m_resetTick = platform::GetTickCount();
}

int CVideoStreamBuffer::Append(const uint8_t* bytes, int count) {
    if (count < 0 || count > GetFree()) {
        ReportAssert("videownd", __LINE__, 1);
        return 0;
    }
    if (count > 0) std::memcpy(m_data.data() + m_fill, bytes, static_cast<size_t>(count));
    m_fill += count;
    return 1;
}

void CVideoStreamBuffer::Consume(int count) {
    if (count < 0) {
        ReportAssert("videownd", __LINE__, 1);
        count = m_fill;
    } else if (count > m_fill) {
        ReportAssert("videownd", __LINE__, 1);
        count = m_fill;
    }
    m_consumed += count;
    m_fill -= count;
    if (m_fill > 0) std::memmove(m_data.data(), m_data.data() + count, static_cast<size_t>(m_fill));
}

void CVideoStreamBuffer::ConsumePending() {
    Consume(m_pending);
    m_pending = 0;
}
