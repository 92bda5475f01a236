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
    const Bytes& Data() const { return data_; }
    operator Bytes() const { return data_; }

private:
    void Pad();
    Bytes data_;
};

// Reads a payload; every read fails without moving once the payload is too short.
class PayloadReader {
public:
    explicit PayloadReader(const Bytes& payload) : data_(payload) {}
    bool Int(int32_t* value);
    bool String(std::string* text);
    bool Raw(void* out, size_t size);
    size_t Left() const { return data_.size() - position_; }

private:
    const Bytes& data_;
    size_t position_ = 0;
};

// Splits a received byte stream into frames.
class FrameDecoder {
public:
    explicit FrameDecoder(int32_t max_payload = 1000000) : max_payload_(max_payload) {}
    void Feed(const uint8_t* data, size_t size) { pending_.insert(pending_.end(), data, data + size); }
    // The next complete frame; false when none is complete yet or the stream is broken.
    bool Next(Frame* frame);
    // A header announced a negative or oversized length.
    bool Broken() const { return broken_; }
    Bytes& Pending() { return pending_; }

private:
    int32_t max_payload_;
    Bytes pending_;
    bool broken_ = false;
};

}  // namespace samplegateway
