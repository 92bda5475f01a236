#include "null_wave.h"

#include <chrono>

#include "platform/clock.h"

namespace testsupport {

using platform::WaveHandle;
using platform::WaveHeader;

NullWaveBackend::NullWaveBackend(bool present)
    : m_present(present), m_previous(platform::InstallWaveBackend(this)), m_thread([this] { Run(); }) {}

NullWaveBackend::~NullWaveBackend() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    platform::InstallWaveBackend(m_previous);
}

void NullWaveBackend::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        Step();
        m_wake.wait_for(lock, std::chrono::milliseconds(1));
    }
}

uint32_t NullWaveBackend::DurationOf(const Line& line, const WaveHeader& header) {
    const uint32_t rate = line.format.avgBytesPerSec;
    return rate ? static_cast<uint32_t>(uint64_t{header.bufferLength} * 1000 / rate) : 0;
}

void NullWaveBackend::Step() {
    const uint32_t now = platform::GetTickCount();
    while (m_output.open && !m_output.headers.empty() &&
           (m_instant || now - m_output.headStart >= DurationOf(m_output, *m_output.headers.front()))) {
        m_output.headStart += DurationOf(m_output, *m_output.headers.front());
        PlayHead();
    }
    while (m_input.open && m_input.started && !m_input.headers.empty() &&
           (m_instant || now - m_input.headStart >= DurationOf(m_input, *m_input.headers.front()))) {
        m_input.headStart += DurationOf(m_input, *m_input.headers.front());
        FillHead();
    }
}

void NullWaveBackend::PlayHead() {
    const WaveHeader& header = *m_output.headers.front();
    const size_t at = m_played.size();
    m_played.resize(at + header.bufferLength);
    platform::CopyWithVolume(m_output.format, m_volume, header.data, m_played.data() + at, header.bufferLength);
    ++m_completed;
    HandBack(m_output);
}

void NullWaveBackend::FillHead() {
    WaveHeader& header = *m_input.headers.front();
    for (uint32_t i = 0; i + 1 < header.bufferLength; i += 2) {
        const auto sample = static_cast<uint16_t>(m_signal ? m_signal(m_signalIndex) : 0);
        ++m_signalIndex;
        header.data[i] = static_cast<uint8_t>(sample);
        header.data[i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    header.bytesRecorded = header.bufferLength;
    HandBack(m_input);
}

void NullWaveBackend::HandBack(Line& line) {
    WaveHeader* header = line.headers.front();
    line.headers.pop_front();
    header->flags |= platform::kWaveHeaderDone;
    line.done(line.instance, header);
}

void NullWaveBackend::SetSubmitResult(platform::WaveSubmit result) {
    std::lock_guard lock(m_mutex);
    m_submitResult = result;
}

void NullWaveBackend::SetOpenFails(bool fails) {
    std::lock_guard lock(m_mutex);
    m_openFails = fails;
}

void NullWaveBackend::SetInstant(bool instant) {
    std::lock_guard lock(m_mutex);
    m_instant = instant;
}

void NullWaveBackend::SetInputSignal(std::function<int16_t(uint64_t)> signal) {
    std::lock_guard lock(m_mutex);
    m_signal = std::move(signal);
    m_signalIndex = 0;
}

void NullWaveBackend::CompleteAll() {
    std::lock_guard lock(m_mutex);
    while (!m_output.headers.empty()) PlayHead();
}

void NullWaveBackend::FillAll() {
    std::lock_guard lock(m_mutex);
    while (!m_input.headers.empty()) FillHead();
}

std::vector<uint8_t> NullWaveBackend::Played() const {
    std::lock_guard lock(m_mutex);
    return m_played;
}

std::vector<int16_t> NullWaveBackend::PlayedSamples() const {
    std::lock_guard lock(m_mutex);
    std::vector<int16_t> samples(m_played.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(m_played[2 * i] | m_played[2 * i + 1] << 8);
    return samples;
}

void NullWaveBackend::ClearPlayed() {
    std::lock_guard lock(m_mutex);
    m_played.clear();
}

int NullWaveBackend::QueuedOutput() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_output.headers.size());
}

int NullWaveBackend::QueuedInput() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_input.headers.size());
}

bool NullWaveBackend::IsOutputOpen() const {
    std::lock_guard lock(m_mutex);
    return m_output.open;
}

bool NullWaveBackend::IsInputOpen() const {
    std::lock_guard lock(m_mutex);
    return m_input.open;
}

platform::WaveFormat NullWaveBackend::OutputFormat() const {
    std::lock_guard lock(m_mutex);
    return m_output.format;
}

int NullWaveBackend::OutputOpens() const {
    std::lock_guard lock(m_mutex);
    return m_outputOpens;
}

uint64_t NullWaveBackend::Completed() const {
    std::lock_guard lock(m_mutex);
    return m_completed;
}

WaveHandle NullWaveBackend::OpenOutput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                       void* instance) {
    std::lock_guard lock(m_mutex);
    if (!m_present || m_openFails || m_output.open || !done) return 0;
    m_output = Line{.open = true, .format = format, .done = done, .instance = instance};
    ++m_outputOpens;
    return kOutput;
}

platform::WaveSubmit NullWaveBackend::Submit(WaveHandle output, WaveHeader* header) {
    {
        std::lock_guard lock(m_mutex);
        if (output != kOutput || !m_output.open || !header) return platform::WaveSubmit::Failed;
        if (m_submitResult != platform::WaveSubmit::Taken) return m_submitResult;
        header->flags &= ~platform::kWaveHeaderDone;
        if (m_output.headers.empty()) m_output.headStart = platform::GetTickCount();
        m_output.headers.push_back(header);
    }
    m_wake.notify_all();
    return platform::WaveSubmit::Taken;
}

void NullWaveBackend::ResetOutput(WaveHandle output) {
    std::lock_guard lock(m_mutex);
    if (output != kOutput) return;
    while (!m_output.headers.empty()) HandBack(m_output);
}

void NullWaveBackend::CloseOutput(WaveHandle output) {
    std::lock_guard lock(m_mutex);
    if (output != kOutput) return;
    while (!m_output.headers.empty()) HandBack(m_output);
    m_output.open = false;
}

void NullWaveBackend::SetVolume(uint32_t leftRight) {
    std::lock_guard lock(m_mutex);
    m_volume = leftRight;
}

uint32_t NullWaveBackend::GetVolume() {
    std::lock_guard lock(m_mutex);
    return m_volume;
}

WaveHandle NullWaveBackend::OpenInput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                      void* instance) {
    std::lock_guard lock(m_mutex);
    if (!m_present || m_openFails || m_input.open || !done) return 0;
    m_input = Line{.open = true, .format = format, .done = done, .instance = instance};
    return kInput;
}

bool NullWaveBackend::AddInputBuffer(WaveHandle input, WaveHeader* header) {
    std::lock_guard lock(m_mutex);
    if (input != kInput || !m_input.open || !header || m_submitResult != platform::WaveSubmit::Taken) return false;
    header->flags &= ~platform::kWaveHeaderDone;
    header->bytesRecorded = 0;
    if (m_input.headers.empty()) m_input.headStart = platform::GetTickCount();
    m_input.headers.push_back(header);
    return true;
}

bool NullWaveBackend::StartInput(WaveHandle input) {
    std::lock_guard lock(m_mutex);
    if (input != kInput || !m_input.open) return false;
    m_input.started = true;
    m_input.headStart = platform::GetTickCount();
    return true;
}

void NullWaveBackend::StopInput(WaveHandle input) {
    std::lock_guard lock(m_mutex);
    if (input == kInput) m_input.started = false;
}

void NullWaveBackend::ResetInput(WaveHandle input) {
    std::lock_guard lock(m_mutex);
    if (input != kInput) return;
    while (!m_input.headers.empty()) HandBack(m_input);
}

bool NullWaveBackend::CloseInput(WaveHandle input) {
    std::lock_guard lock(m_mutex);
    if (input != kInput) return false;
    while (!m_input.headers.empty()) HandBack(m_input);
    m_input.open = false;
    return true;
}

}  // namespace testsupport
