#pragma once
// The gateway's framing, written for the sample gateway independently of the core's message
// class, so that the tests check the bytes on the wire against a second reading of the format:
// an 8-byte little-endian header (sender id, message id, payload length) and a payload of
// little-endian values, strings and raw blocks padded with zeros to 4 bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace samplegateway {

using Bytes = std::vector<uint8_t>;

// Sender id of a notification for every sink.
constexpr uint16_t kEverySink = 0x7FFF;
constexpr size_t kHeaderSize = 8;

struct Frame {
    uint16_t sender = 0;
    uint16_t id = 0;
    Bytes payload;
};

// The wire image of a frame.
Bytes EncodeFrame(const Frame& frame);
// A bare header announcing any length, for frames that are cut short or malformed.
Bytes EncodeHeader(uint16_t sender, uint16_t id, int32_t length);
// Concatenates wire images: several frames in one write.
Bytes Join(const std::vector<Bytes>& parts);

class PayloadWriter {
public:
    PayloadWriter& Int(int32_t value);
    PayloadWriter& Short(uint16_t value);
    PayloadWriter& Byte(uint8_t value);
    PayloadWriter& String(std::string_view text);
    // A raw block: the bytes, then zeros up to a multiple of 4; the count is not sent.
    PayloadWriter& Raw(const void* data, size_t size);
    const Bytes& Data() const { return m_data; }
    operator Bytes() const { return m_data; }

private:
    void Pad();
    Bytes m_data;
};

// Reads a payload; every read fails without moving once the payload is too short.
class PayloadReader {
public:
    explicit PayloadReader(const Bytes& payload) : m_data(payload) {}
    bool Int(int32_t* value);
    bool String(std::string* text);
    bool Raw(void* out, size_t size);
    size_t Left() const { return m_data.size() - m_position; }

private:
    const Bytes& m_data;
    size_t m_position = 0;
};

// Splits a received byte stream into frames.
class FrameDecoder {
public:
    explicit FrameDecoder(int32_t max_payload = 1000000) : m_maxPayload(max_payload) {}
    void Feed(const uint8_t* data, size_t size) { m_pending.insert(m_pending.end(), data, data + size); }
    // The next complete frame; false when none is complete yet or the stream is broken.
    bool Next(Frame* frame);
    // A header announced a negative or oversized length.
    bool Broken() const { return m_broken; }
    Bytes& Pending() { return m_pending; }

private:
    int32_t m_maxPayload;
    Bytes m_pending;
    bool m_broken = false;
};

}  // namespace samplegateway
