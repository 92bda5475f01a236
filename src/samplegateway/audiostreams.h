#pragma once
// The sample house's streamed sounds. Five seconds after a login the gateway asks the tablet to
// play source 900, five seconds later source 901. The tablet opens a source's stream (0x1586)
// and gets its format, 16-bit mono PCM at kClipRate; source 900 then plays a two-second chime
// as PCM chunks of 882 bytes, 901 the same chime as mu-law chunks of 441 codes, a chunk every
// 40 ms, and the end of the stream follows (0x1396). 0x13CE stops the stream.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class Pacer;

constexpr int kAnnouncedPcmSource = 900;
constexpr int kAnnouncedMuLawSource = 901;
constexpr uint32_t kAnnouncementDelayMs = 5000;
constexpr uint32_t kChunkMs = 40;
constexpr int kChunkSamples = 441;  // kClipRate * kChunkMs / 1000

// The streams' format as the wire carries it: 18 bytes.
Bytes StreamFormat();
// The two seconds of chime the sources play.
std::vector<int16_t> ChimeSamples();

// Samples sent to a sink as the time passes, a chunk of kChunkSamples every kChunkMs from the
// first step that sees the feed, as PCM (0x1774) or mu-law (0x1776); a looping feed starts over at the end. Every chunk
// due is sent, however late the step.
class SampleFeed {
public:
    SampleFeed(uint16_t sink, std::vector<int16_t> samples, bool mulaw, bool loop);
    // Sends the chunks due by now; false once every sample was sent (never for a loop).
    bool Send(Gateway& gateway, uint32_t now_ms);
    uint16_t Sink() const { return m_sink; }

private:
    Bytes Chunk(size_t first, size_t count) const;

    uint16_t m_sink;
    std::vector<int16_t> m_samples;
    bool m_mulaw;
    bool m_loop;
    std::optional<uint32_t> m_nextMs;
    size_t m_sent = 0;
};

void ServeAudioStreams(Gateway& gateway, Pacer& pacer);

}  // namespace samplegateway
