// The wave backend on SDL's audio devices: one playback and one capture
// device, opened for the caller's format (SDL converts to what the hardware
// takes). SDL calls the fill functions on its audio thread with the device
// locked; the main thread locks the device to edit a queue.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <new>

#include "platform/wave.h"

namespace platform {
namespace {

// Buffers queued on one SDL device, handed back once played or filled.
struct SdlQueue {
    SDL_AudioDeviceID device = 0;
    WaveFormat format;
    WaveDoneCallback done = nullptr;
    void* instance = nullptr;
    std::deque<WaveHeader*> headers;
    uint32_t offset = 0;  // bytes of the head buffer already played
    const std::atomic<uint32_t>* volume = nullptr;

    void HandBack(WaveHeader* header) {
        header->flags |= kWaveHeaderDone;
        done(instance, header);
    }
    // Hands back every queued buffer on the calling thread.
    void Drain() {
        SDL_LockAudioDevice(device);
        std::deque<WaveHeader*> taken;
        taken.swap(headers);
        offset = 0;
        SDL_UnlockAudioDevice(device);
        for (WaveHeader* header : taken) HandBack(header);
    }
};

void FillOutput(void* userdata, Uint8* stream, int length) {
    auto* queue = static_cast<SdlQueue*>(userdata);
    uint32_t left = static_cast<uint32_t>(length);
    while (left && !queue->headers.empty()) {
        WaveHeader* header = queue->headers.front();
        const uint32_t take = std::min(left, header->bufferLength - queue->offset);
        CopyWithVolume(queue->format, queue->volume->load(), header->data + queue->offset, stream, take);
        stream += take;
        left -= take;
        queue->offset += take;
        if (queue->offset >= header->bufferLength) {
            queue->headers.pop_front();
            queue->offset = 0;
            queue->HandBack(header);
        }
    }
    const int silence = queue->format.bitsPerSample == 8 ? 0x80 : 0;
    std::memset(stream, silence, left);
}

void FillInput(void* userdata, Uint8* stream, int length) {
    auto* queue = static_cast<SdlQueue*>(userdata);
    uint32_t left = static_cast<uint32_t>(length);
    while (left && !queue->headers.empty()) {
        WaveHeader* header = queue->headers.front();
        const uint32_t take = std::min(left, header->bufferLength - header->bytesRecorded);
        std::memcpy(header->data + header->bytesRecorded, stream, take);
        stream += take;
        left -= take;
        header->bytesRecorded += take;
        if (header->bytesRecorded >= header->bufferLength) {
            queue->headers.pop_front();
            queue->HandBack(header);
        }
    }
}

class SdlBackend : public WaveBackend {
public:
    bool HasDevice() override {
        return SDL_WasInit(SDL_INIT_AUDIO) != 0 && SDL_GetCurrentAudioDriver() != nullptr;
    }

    WaveHandle OpenOutput(const WaveFormat& format, WaveDoneCallback done, void* instance) override {
        return Open(format, done, instance, 0, FillOutput);
    }

    WaveSubmit Submit(WaveHandle output, WaveHeader* header) override {
        auto* queue = reinterpret_cast<SdlQueue*>(output);
        if (!queue || !header) return WaveSubmit::Failed;
        header->flags &= ~kWaveHeaderDone;
        SDL_LockAudioDevice(queue->device);
        queue->headers.push_back(header);
        SDL_UnlockAudioDevice(queue->device);
        return WaveSubmit::Taken;
    }

    void ResetOutput(WaveHandle output) override {
        if (auto* queue = reinterpret_cast<SdlQueue*>(output)) queue->Drain();
    }

    void CloseOutput(WaveHandle output) override { Close(reinterpret_cast<SdlQueue*>(output)); }

    void SetVolume(uint32_t leftRight) override { m_volume.store(leftRight); }
    uint32_t GetVolume() override { return m_volume.load(); }

    WaveHandle OpenInput(const WaveFormat& format, WaveDoneCallback done, void* instance) override {
        return Open(format, done, instance, 1, FillInput);
    }

    bool AddInputBuffer(WaveHandle input, WaveHeader* header) override {
        auto* queue = reinterpret_cast<SdlQueue*>(input);
        if (!queue || !header) return false;
        header->flags &= ~kWaveHeaderDone;
        header->bytesRecorded = 0;
        SDL_LockAudioDevice(queue->device);
        queue->headers.push_back(header);
        SDL_UnlockAudioDevice(queue->device);
        return true;
    }

    bool StartInput(WaveHandle input) override {
        auto* queue = reinterpret_cast<SdlQueue*>(input);
        if (!queue) return false;
        SDL_PauseAudioDevice(queue->device, 0);
        return true;
    }

    void StopInput(WaveHandle input) override {
        if (auto* queue = reinterpret_cast<SdlQueue*>(input)) SDL_PauseAudioDevice(queue->device, 1);
    }

    void ResetInput(WaveHandle input) override {
        if (auto* queue = reinterpret_cast<SdlQueue*>(input)) queue->Drain();
    }

    bool CloseInput(WaveHandle input) override {
        Close(reinterpret_cast<SdlQueue*>(input));
        return true;
    }

private:
    WaveHandle Open(const WaveFormat& format, WaveDoneCallback done, void* instance, int capture,
                    SDL_AudioCallback fill) {
        if (!HasDevice() || !done || (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
            format.channels == 0 || format.samplesPerSec == 0)
            return 0;
        auto* queue = new (std::nothrow) SdlQueue;
        if (!queue) return 0;
        queue->format = format;
        queue->done = done;
        queue->instance = instance;
        queue->volume = &m_volume;
        SDL_AudioSpec wanted{};
        wanted.freq = static_cast<int>(format.samplesPerSec);
        wanted.format = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        wanted.channels = static_cast<Uint8>(std::min<uint16_t>(format.channels, 8));
        wanted.samples = 512;
        wanted.callback = fill;
        wanted.userdata = queue;
        SDL_AudioSpec obtained{};
        queue->device = SDL_OpenAudioDevice(nullptr, capture, &wanted, &obtained, 0);
        if (queue->device == 0) {
            delete queue;
            return 0;
        }
        if (!capture) SDL_PauseAudioDevice(queue->device, 0);
        return reinterpret_cast<WaveHandle>(queue);
    }

    void Close(SdlQueue* queue) {
        if (!queue) return;
        SDL_PauseAudioDevice(queue->device, 1);
        queue->Drain();
        SDL_CloseAudioDevice(queue->device);
        delete queue;
    }

    std::atomic<uint32_t> m_volume{0xFFFFFFFF};
};

}  // namespace

WaveBackend& SdlWaveBackend() {
    static SdlBackend backend;
    return backend;
}

}  // namespace platform
