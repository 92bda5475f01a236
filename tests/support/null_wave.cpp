#include "null_wave.h"

#include <chrono>

#include "platform/clock.h"

namespace testsupport {

using platform::WaveHandle;
using platform::WaveHeader;

NullWaveBackend::NullWaveBackend(bool present)
    : present_(present), previous_(platform::InstallWaveBackend(this)), thread_([this] { Run(); }) {}

NullWaveBackend::~NullWaveBackend() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    platform::InstallWaveBackend(previous_);
}

void NullWaveBackend::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        Step();
        wake_.wait_for(lock, std::chrono::milliseconds(1));
    }
}

uint32_t NullWaveBackend::DurationOf(const Line& line, const WaveHeader& header) {
    const uint32_t rate = line.format.avgBytesPerSec;
    return rate ? static_cast<uint32_t>(uint64_t{header.bufferLength} * 1000 / rate) : 0;
}

void NullWaveBackend::Step() {
    const uint32_t now = platform::GetTickCount();
    while (output_.open && !output_.headers.empty() &&
           (instant_ || now - output_.headStart >= DurationOf(output_, *output_.headers.front()))) {
        output_.headStart += DurationOf(output_, *output_.headers.front());
        PlayHead();
    }
    while (input_.open && input_.started && !input_.headers.empty() &&
           (instant_ || now - input_.headStart >= DurationOf(input_, *input_.headers.front()))) {
        input_.headStart += DurationOf(input_, *input_.headers.front());
        FillHead();
    }
}

void NullWaveBackend::PlayHead() {
    const WaveHeader& header = *output_.headers.front();
    const size_t at = played_.size();
    played_.resize(at + header.bufferLength);
    platform::CopyWithVolume(output_.format, volume_, header.data, played_.data() + at, header.bufferLength);
    ++completed_;
    HandBack(output_);
}

void NullWaveBackend::FillHead() {
    WaveHeader& header = *input_.headers.front();
    for (uint32_t i = 0; i + 1 < header.bufferLength; i += 2) {
        const auto sample = static_cast<uint16_t>(signal_ ? signal_(signalIndex_) : 0);
        ++signalIndex_;
        header.data[i] = static_cast<uint8_t>(sample);
        header.data[i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    header.bytesRecorded = header.bufferLength;
    HandBack(input_);
}

void NullWaveBackend::HandBack(Line& line) {
    WaveHeader* header = line.headers.front();
    line.headers.pop_front();
    header->flags |= platform::kWaveHeaderDone;
    line.done(line.instance, header);
}

void NullWaveBackend::SetSubmitResult(platform::WaveSubmit result) {
    std::lock_guard lock(mutex_);
    submitResult_ = result;
}

void NullWaveBackend::SetOpenFails(bool fails) {
    std::lock_guard lock(mutex_);
    openFails_ = fails;
}

void NullWaveBackend::SetInstant(bool instant) {
    std::lock_guard lock(mutex_);
    instant_ = instant;
}

void NullWaveBackend::SetInputSignal(std::function<int16_t(uint64_t)> signal) {
    std::lock_guard lock(mutex_);
    signal_ = std::move(signal);
    signalIndex_ = 0;
}

void NullWaveBackend::CompleteAll() {
    std::lock_guard lock(mutex_);
    while (!output_.headers.empty()) PlayHead();
}

void NullWaveBackend::FillAll() {
    std::lock_guard lock(mutex_);
    while (!input_.headers.empty()) FillHead();
}

std::vector<uint8_t> NullWaveBackend::Played() const {
    std::lock_guard lock(mutex_);
    return played_;
}

std::vector<int16_t> NullWaveBackend::PlayedSamples() const {
    std::lock_guard lock(mutex_);
    std::vector<int16_t> samples(played_.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(played_[2 * i] | played_[2 * i + 1] << 8);
    return samples;
}

void NullWaveBackend::ClearPlayed() {
    std::lock_guard lock(mutex_);
    played_.clear();
}

int NullWaveBackend::QueuedOutput() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(output_.headers.size());
}

int NullWaveBackend::QueuedInput() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(input_.headers.size());
}

bool NullWaveBackend::IsOutputOpen() const {
    std::lock_guard lock(mutex_);
    return output_.open;
}

bool NullWaveBackend::IsInputOpen() const {
    std::lock_guard lock(mutex_);
    return input_.open;
}

platform::WaveFormat NullWaveBackend::OutputFormat() const {
    std::lock_guard lock(mutex_);
    return output_.format;
}

int NullWaveBackend::OutputOpens() const {
    std::lock_guard lock(mutex_);
    return outputOpens_;
}

uint64_t NullWaveBackend::Completed() const {
    std::lock_guard lock(mutex_);
    return completed_;
}

WaveHandle NullWaveBackend::OpenOutput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                       void* instance) {
    std::lock_guard lock(mutex_);
    if (!present_ || openFails_ || output_.open || !done) return 0;
    output_ = Line{.open = true, .format = format, .done = done, .instance = instance};
    ++outputOpens_;
    return kOutput;
}

platform::WaveSubmit NullWaveBackend::Submit(WaveHandle output, WaveHeader* header) {
    {
        std::lock_guard lock(mutex_);
        if (output != kOutput || !output_.open || !header) return platform::WaveSubmit::Failed;
        if (submitResult_ != platform::WaveSubmit::Taken) return submitResult_;
        header->flags &= ~platform::kWaveHeaderDone;
        if (output_.headers.empty()) output_.headStart = platform::GetTickCount();
        output_.headers.push_back(header);
    }
    wake_.notify_all();
    return platform::WaveSubmit::Taken;
}

void NullWaveBackend::ResetOutput(WaveHandle output) {
    std::lock_guard lock(mutex_);
    if (output != kOutput) return;
    while (!output_.headers.empty()) HandBack(output_);
}

void NullWaveBackend::CloseOutput(WaveHandle output) {
    std::lock_guard lock(mutex_);
    if (output != kOutput) return;
    while (!output_.headers.empty()) HandBack(output_);
    output_.open = false;
}

void NullWaveBackend::SetVolume(uint32_t leftRight) {
    std::lock_guard lock(mutex_);
    volume_ = leftRight;
}

uint32_t NullWaveBackend::GetVolume() {
    std::lock_guard lock(mutex_);
    return volume_;
}

WaveHandle NullWaveBackend::OpenInput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                      void* instance) {
    std::lock_guard lock(mutex_);
    if (!present_ || openFails_ || input_.open || !done) return 0;
    input_ = Line{.open = true, .format = format, .done = done, .instance = instance};
    return kInput;
}

bool NullWaveBackend::AddInputBuffer(WaveHandle input, WaveHeader* header) {
    std::lock_guard lock(mutex_);
    if (input != kInput || !input_.open || !header || submitResult_ != platform::WaveSubmit::Taken) return false;
    header->flags &= ~platform::kWaveHeaderDone;
    header->bytesRecorded = 0;
    if (input_.headers.empty()) input_.headStart = platform::GetTickCount();
    input_.headers.push_back(header);
    return true;
}

bool NullWaveBackend::StartInput(WaveHandle input) {
    std::lock_guard lock(mutex_);
    if (input != kInput || !input_.open) return false;
    input_.started = true;
    input_.headStart = platform::GetTickCount();
    return true;
}

void NullWaveBackend::StopInput(WaveHandle input) {
    std::lock_guard lock(mutex_);
    if (input == kInput) input_.started = false;
}

void NullWaveBackend::ResetInput(WaveHandle input) {
    std::lock_guard lock(mutex_);
    if (input != kInput) return;
    while (!input_.headers.empty()) HandBack(input_);
}

bool NullWaveBackend::CloseInput(WaveHandle input) {
    std::lock_guard lock(mutex_);
    if (input != kInput) return false;
    while (!input_.headers.empty()) HandBack(input_);
    input_.open = false;
    return true;
}

}  // namespace testsupport
