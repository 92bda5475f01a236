#include "av/astream.h"

#include <new>

#include "av/wavdevice.h"

CAStream::~CAStream() { DeleteAll(); }

double CAStream::SumSeconds(bool pendingOnly) const {
    const uint32_t rate = m_format.avgBytesPerSec;
    if (rate == 0) return 0.0;
    auto lock = Lock();
    double seconds = 0.0;
    for (ZVPOSITION pos = GetHeadPosition(); pos;) {
        auto* buffer = static_cast<CWaveBuffer*>(GetNext(pos));
        if (pendingOnly && (buffer->GetHeader()->flags & platform::kWaveHeaderDone)) continue;
        seconds += static_cast<double>(static_cast<uint32_t>(buffer->GetLength())) / rate;
    }
    return seconds;
}

double CAStream::GetTotalSeconds() const { return SumSeconds(false); }
double CAStream::GetPendingSeconds() const { return SumSeconds(true); }

CWaveBuffer* CAStream::AddCopy(const uint8_t* bytes, int32_t length) {
    auto* buffer = new (std::nothrow) CWaveBuffer(this);
    if (!buffer) return nullptr;
    if (!buffer->SetData(bytes, length) || !AddTail(buffer)) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

CWaveBuffer* CAStream::AddEmpty() {
    auto* buffer = new (std::nothrow) CWaveBuffer(this);
    if (buffer && !AddTail(buffer)) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

CWaveBuffer* CAStream::AddRecorded(const platform::WaveHeader& header) {
    const uint32_t length = header.bytesRecorded < header.bufferLength ? header.bytesRecorded : header.bufferLength;
    return AddCopy(header.data, static_cast<int32_t>(length));
}

void CAStream::AddBuffer(CWaveBuffer* buffer) {
    if (buffer) AddTail(buffer);
}

void CAStream::Detach(CWaveBuffer* buffer) { Remove(buffer); }

void CAStream::DeleteAll() {
    auto lock = Lock();
    while (!IsEmpty()) delete static_cast<CWaveBuffer*>(RemoveHead());
}

void CAStream::QueueDone(platform::WaveHeader* header) {
    std::lock_guard lock(m_handOff);
    header->next = nullptr;
    if (m_doneTail)
        m_doneTail->next = header;
    else
        m_doneHead = header;
    m_doneTail = header;
}

void CAStream::ProcessDone(WaveSide side, CAStream* target, CWavDevice* device) {
    platform::WaveHeader* chain = nullptr;
    {
        std::lock_guard lock(m_handOff);
        chain = m_doneHead;
        m_doneHead = m_doneTail = nullptr;
    }
    while (chain) {
        platform::WaveHeader* header = chain;
        chain = chain->next;
        header->next = nullptr;
        ReclaimHeader(header, side, target, device);
    }
}

void CAStream::ReclaimHeader(platform::WaveHeader* header, WaveSide side, CAStream* target, CWavDevice* device) {
    auto lock = Lock();
    for (ZVPOSITION pos = GetHeadPosition(); pos;) {
        ZVPOSITION here = pos;
        auto* buffer = static_cast<CWaveBuffer*>(GetNext(pos));
        if (buffer->GetHeader() != header) continue;
        if (device) device->OnBufferReleased(side, *header);
        if (side == WaveSide::Input && target) target->AddRecorded(*header);
        RemoveAt(here);
        delete buffer;
    }
}
