#pragma once
// A sound system for tests, installed for the lifetime of the object. Its
// own thread hands output buffers back once their playing time has passed on
// the installed clock (or at once in instant mode, or on request) and keeps
// every byte played, volume applied. Input buffers are filled from a signal
// once their recording time has passed, or on request. Submits can be
// refused, and the device can be absent.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/wave.h"

namespace testsupport {

class NullWaveBackend : public platform::WaveBackend {
public:
    explicit NullWaveBackend(bool present = true);
    ~NullWaveBackend() override;
    NullWaveBackend(const NullWaveBackend&) = delete;
    NullWaveBackend& operator=(const NullWaveBackend&) = delete;

    // Test controls. A result other than Taken refuses output submits and
    // input buffers alike.
    void SetSubmitResult(platform::WaveSubmit result);
    void SetOpenFails(bool fails);
    void SetInstant(bool instant);
    // The 16-bit signal that input buffers are filled with, by sample index.
    void SetInputSignal(std::function<int16_t(uint64_t)> signal);
    // Hands back every queued output buffer as played.
    void CompleteAll();
    // Fills and hands back every queued input buffer.
    void FillAll();
    std::vector<uint8_t> Played() const;
    std::vector<int16_t> PlayedSamples() const;
    void ClearPlayed();
    int QueuedOutput() const;
    int QueuedInput() const;
    bool IsOutputOpen() const;
    bool IsInputOpen() const;
    platform::WaveFormat OutputFormat() const;
    int OutputOpens() const;
    uint64_t Completed() const;

    // The backend.
    bool HasDevice() override { return m_present; }
    platform::WaveHandle OpenOutput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                    void* instance) override;
    platform::WaveSubmit Submit(platform::WaveHandle output, platform::WaveHeader* header) override;
    void ResetOutput(platform::WaveHandle output) override;
    void CloseOutput(platform::WaveHandle output) override;
    void SetVolume(uint32_t leftRight) override;
    uint32_t GetVolume() override;
    platform::WaveHandle OpenInput(const platform::WaveFormat& format, platform::WaveDoneCallback done,
                                   void* instance) override;
    bool AddInputBuffer(platform::WaveHandle input, platform::WaveHeader* header) override;
    bool StartInput(platform::WaveHandle input) override;
    void StopInput(platform::WaveHandle input) override;
    void ResetInput(platform::WaveHandle input) override;
    bool CloseInput(platform::WaveHandle input) override;

private:
    struct Line {
        bool open = false;
        bool started = false;
        platform::WaveFormat format;
        platform::WaveDoneCallback done = nullptr;
        void* instance = nullptr;
        std::deque<platform::WaveHeader*> headers;
        uint32_t headStart = 0;  // tick at which the head buffer began
    };
    static constexpr platform::WaveHandle kOutput = 1;
    static constexpr platform::WaveHandle kInput = 2;

    void Run();
    // These run with the lock held.
    void Step();
    void PlayHead();
    void FillHead();
    void HandBack(Line& line);
    static uint32_t DurationOf(const Line& line, const platform::WaveHeader& header);

    const bool m_present;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_instant = false;
    bool m_openFails = false;
    platform::WaveSubmit m_submitResult = platform::WaveSubmit::Taken;
    uint32_t m_volume = 0xFFFFFFFF;
    Line m_output;
    Line m_input;
    std::vector<uint8_t> m_played;
    std::function<int16_t(uint64_t)> m_signal;
    uint64_t m_signalIndex = 0;
    int m_outputOpens = 0;
    uint64_t m_completed = 0;
    platform::WaveBackend* m_previous;
    std::thread m_thread;
};

}  // namespace testsupport
