#include "av/wavdevice.h"

#include <algorithm>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/report.h"

namespace {

constexpr uint32_t kFullChannel = 65535;
// Record buffers hold 1/25 s.
constexpr uint32_t kRecordPerSecond = 25;

bool SameShape(const platform::WaveFormat& a, const platform::WaveFormat& b) {
    return a.samplesPerSec == b.samplesPerSec && a.channels == b.channels && a.bitsPerSample == b.bitsPerSample;
}

}  // namespace

CWavDevice::CWavDevice() : m_present(platform::Wave().HasDevice()), m_lastWrite(platform::GetTickCount()) {}

CWavDevice::~CWavDevice() {
    CWavDevice::StopPlay();
    CWavDevice::StopRecord();
}

int CWavDevice::GetVolume() {
    if (!m_present) return 0;
    const uint32_t left = platform::Wave().GetVolume() & kFullChannel;
    const int percent = static_cast<int>((left * 100 + 2048) / kFullChannel);
    if (percent > 100) ReportAssert(__FILE__, __LINE__, 0);
    return percent;
}

void CWavDevice::SetVolume(int percent) {
    if (!m_present) return;
    const int64_t value = std::clamp<int64_t>((int64_t{percent} * kFullChannel + 50) / 100, 0, kFullChannel);
    platform::Wave().SetVolume(static_cast<uint32_t>(value) * 0x10001);
}

int CWavDevice::Play(const platform::WaveFormat* format, int volume) {
    if (!format || !m_present) return 0;
    if (m_output && SameShape(*format, m_outputFormat)) {
        // A stream that ended (or stopped accepting) is followed by a new one.
        if (m_endOfStream || !m_accepting) {
            m_accepting = 1;
            m_endOfStream = 0;
            m_bytesPlayed = 0;
        }
        if (volume >= 0) SetVolume(volume);
        return 1;
    }
    if (m_output) {
        if (!m_endOfStream) return 0;
        StopPlay();
    }
    m_bytesPlayed = 0;
    m_endOfStream = 0;
    m_outputFormat = *format;
    m_playStream.GetFormat() = *format;
    if (format->formatTag != platform::WaveFormat::kPcm || format->extraSize != 0) ReportAssert(__FILE__, __LINE__, 0);
    m_output = platform::Wave().OpenOutput(*format, OutputDone, this);
    if (!m_output) return 0;
    m_accepting = 1;
    if (volume >= 0) SetVolume(volume);
    return 1;
}

int CWavDevice::Write(const uint8_t* data, int32_t length) {
    m_lastWrite = platform::GetTickCount();
    if (!m_accepting || !m_output) return kWriteDone;
    // The buffer is in the stream before the sound system may hand it back.
    CWaveBuffer* buffer = m_playStream.AddCopy(data, length);
    if (!buffer) return kWriteFailed;
    const platform::WaveSubmit result = platform::Wave().Submit(m_output, buffer->GetHeader());
    if (result == platform::WaveSubmit::Taken) return kWriteDone;
    m_playStream.Detach(buffer);
    delete buffer;
    if (result == platform::WaveSubmit::NoMemory) return kWriteLost;
    StopPlay();
    return kWriteFailed;
}

int32_t CWavDevice::RecordBufferSize(const platform::WaveFormat& format) {
    const uint32_t align = format.blockAlign;
    if (align == 0) return 0;
    const uint64_t quarter = format.avgBytesPerSec / kRecordPerSecond;
    const uint64_t size = (quarter + align - 1) / align * align;
    return size > 0 && size <= INT32_MAX ? static_cast<int32_t>(size) : 0;
}

int CWavDevice::StartRecord(CAStream* target) {
    if (!m_present || !target) return 0;
    if (m_input) StopRecord();
    ResetLevel();
    const platform::WaveFormat& format = target->GetFormat();
    if (format.formatTag != platform::WaveFormat::kPcm) ReportAssert(__FILE__, __LINE__, 0);
    if (RecordBufferSize(format) == 0) return 0;
    m_inputFormat = format;
    m_recordStream.GetFormat() = format;
    m_recordTarget = target;
    m_input = platform::Wave().OpenInput(format, InputDone, this);
    if (!m_input) {
        m_recordTarget = nullptr;
        return 0;
    }
    for (int i = 0; i < kRecordBuffers; ++i) {
        if (!AddRecordBuffer()) {
            StopRecord();
            return 0;
        }
    }
    if (!platform::Wave().StartInput(m_input)) {
        StopRecord();
        return 0;
    }
    return 1;
}

int CWavDevice::AddRecordBuffer() {
    if (!m_recordTarget || !m_input) return 0;
    CWaveBuffer* buffer = m_recordStream.AddEmpty();
    if (!buffer) return 0;
    if (!buffer->SetSize(RecordBufferSize(m_inputFormat)) ||
        !platform::Wave().AddInputBuffer(m_input, buffer->GetHeader())) {
        m_recordStream.Detach(buffer);
        delete buffer;
        return 0;
    }
    return 1;
}

int CWavDevice::GetLevel() const {
    int sum = 0;
    for (uint8_t level : m_levels) sum += level;
    return sum / kLevelSlots;
}

void CWavDevice::ResetLevel() {
    std::fill(std::begin(m_levels), std::end(m_levels), 0);
    m_levelIndex = 0;
}

void CWavDevice::MeasureLevel(const platform::WaveFormat& format, const uint8_t* data, uint32_t length) {
    int level = 0;
    if (format.bitsPerSample == 16) {
        uint32_t peak = 0;
        for (uint32_t i = 0; i + 1 < length; i += 2)
            peak = std::max<uint32_t>(peak, std::abs(static_cast<int16_t>(data[i] | data[i + 1] << 8)));
        level = static_cast<int>(peak / 327);
    } else if (format.bitsPerSample == 8) {
        uint64_t sum = 0;
        for (uint32_t i = 0; i < length; ++i) sum += std::abs(data[i] - 128);
        level = length ? static_cast<int>(std::min<uint64_t>(sum / length * 100 / 128, 100)) : 0;
    } else {
        return;
    }
    m_levels[m_levelIndex] = static_cast<uint8_t>(level);
    m_levelIndex = (m_levelIndex + 1) % kLevelSlots;
}

void CWavDevice::OnBufferReleased(WaveSide side, const platform::WaveHeader& header) {
    if (side == WaveSide::Output) {
        m_bytesPlayed += header.bufferLength;
        MeasureLevel(m_outputFormat, header.data, header.bufferLength);
    } else {
        MeasureLevel(m_inputFormat, header.data, std::min(header.bytesRecorded, header.bufferLength));
    }
}

void CWavDevice::OutputDone(void* instance, platform::WaveHeader* header) {
    static_cast<CWavDevice*>(instance)->m_playStream.QueueDone(header);
}

void CWavDevice::InputDone(void* instance, platform::WaveHeader* header) {
    static_cast<CWavDevice*>(instance)->m_recordStream.QueueDone(header);
}

void CWavDevice::ProcessOutput() { m_playStream.ProcessDone(WaveSide::Output, nullptr, this); }
void CWavDevice::ProcessInput() { m_recordStream.ProcessDone(WaveSide::Input, m_recordTarget, this); }

void CWavDevice::Poll() {
    if (!m_present) return;
    ProcessOutput();
    ProcessInput();
    if (m_output && m_endOfStream && m_playStream.IsEmpty() && platform::TicksSince(m_lastWrite) > kEndCloseMs) {
        m_endOfStream = 0;
        StopPlay();
    }
    if (m_input && m_recordStream.GetCount() < kRecordBuffers) AddRecordBuffer();
}

bool CWavDevice::HasTimeLeft(uint32_t start, uint32_t limit) const { return platform::TicksSince(start) < limit; }

void CWavDevice::StopPlay() {
    m_accepting = 0;
    if (!m_present || !m_output) return;
    platform::Wave().ResetOutput(m_output);
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        ProcessOutput();
        if (m_playStream.IsEmpty() || !HasTimeLeft(start, kStopPlayWaitMs)) break;
        platform::Sleep(kWaitStepMs);
    }
    if (!m_playStream.IsEmpty()) ReportAssert(__FILE__, __LINE__, 0);
    CloseOutput();
}

void CWavDevice::CloseOutput() {
    platform::Wave().CloseOutput(m_output);
    ProcessOutput();
    m_output = 0;
}

void CWavDevice::StopRecord() {
    if (!m_present || !m_input) return;
    m_recordTarget = nullptr;
    ResetLevel();
    platform::Wave().StopInput(m_input);
    platform::Wave().ResetInput(m_input);
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        ProcessInput();
        if (m_recordStream.IsEmpty() || !HasTimeLeft(start, kStopRecordWaitMs)) break;
        platform::Sleep(kWaitStepMs);
    }
    if (!m_recordStream.IsEmpty()) ReportAssert(__FILE__, __LINE__, 0);
    CloseInput();
}

void CWavDevice::CloseInput() {
    const uint32_t start = platform::GetTickCount();
    while (!platform::Wave().CloseInput(m_input) && HasTimeLeft(start, kStopRecordWaitMs)) {
        platform::Wave().ResetInput(m_input);
        ProcessInput();
        platform::Sleep(kWaitStepMs);
    }
    ProcessInput();
    m_input = 0;
}
