// The gateway's audio stream messages of any bytes, played on a device without sound: raw
// data, counted PCM and mu-law samples, and the stream's end, each freed as the device
// finishes with it.
#include <cstddef>
#include <cstdint>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "null_wave.h"
#include "readerfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testsupport::NullWaveBackend backend;
    static CZVServer server(ZVVariant::Tablet);
    static CGatewayAudioPlayer player(server);
    const platform::WaveFormat format{.formatTag = 1,
                                      .channels = 1,
                                      .samplesPerSec = 8000,
                                      .avgBytesPerSec = 16000,
                                      .blockAlign = 2,
                                      .bitsPerSample = 16};
    player.CWavDevice::Play(&format, 100);
    auto play = [](CZVMSG& message) {
        player.OnMessage(&message);
        backend.CompleteAll();
        player.Poll();
    };
    return fuzzing::FeedReaders(data, size,
                                {{ZVM_AUDIO_STREAMDATA, play},
                                 {ZVM_AUDIO_STREAMPCM, play},
                                 {ZVM_AUDIO_STREAMULAW, play},
                                 {ZVM_AUDIO_STREAMEND, play}});
}
