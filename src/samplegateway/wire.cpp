#include "samplegateway/wire.h"

#include <cstring>

namespace samplegateway {
namespace {

void PutLittleEndian(Bytes* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLittleEndian(const uint8_t* in, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

size_t Padded(size_t size) { return (size + 3) & ~size_t{3}; }

}  // namespace

Bytes EncodeHeader(uint16_t sender, uint16_t id, int32_t length) {
    Bytes out;
    PutLittleEndian(&out, sender, 2);
    PutLittleEndian(&out, id, 2);
    PutLittleEndian(&out, static_cast<uint32_t>(length), 4);
    return out;
}

Bytes EncodeFrame(const Frame& frame) {
    Bytes out = EncodeHeader(frame.sender, frame.id, static_cast<int32_t>(frame.payload.size()));
    out.insert(out.end(), frame.payload.begin(), frame.payload.end());
    return out;
}

Bytes Join(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

PayloadWriter& PayloadWriter::Int(int32_t value) {
    PutLittleEndian(&m_data, static_cast<uint32_t>(value), 4);
    return *this;
}

PayloadWriter& PayloadWriter::Short(uint16_t value) {
    PutLittleEndian(&m_data, value, 2);
    return *this;
}

PayloadWriter& PayloadWriter::Byte(uint8_t value) {
    m_data.push_back(value);
    return *this;
}

PayloadWriter& PayloadWriter::String(std::string_view text) {
    Int(static_cast<int32_t>(text.size()));
    return Raw(text.data(), text.size());
}

PayloadWriter& PayloadWriter::Raw(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    m_data.insert(m_data.end(), bytes, bytes + size);
    m_data.resize(m_data.size() + Padded(size) - size, 0);
    return *this;
}

bool PayloadReader::Int(int32_t* value) {
    if (Left() < 4) return false;
    *value = static_cast<int32_t>(GetLittleEndian(m_data.data() + m_position, 4));
    m_position += 4;
    return true;
}

bool PayloadReader::String(std::string* text) {
    size_t start = m_position;
    int32_t count = 0;
    if (!Int(&count) || count < 0 || Padded(static_cast<size_t>(count)) > Left()) {
        m_position = start;
        return false;
    }
    text->assign(reinterpret_cast<const char*>(m_data.data() + m_position), static_cast<size_t>(count));
    m_position += Padded(static_cast<size_t>(count));
    return true;
}

bool PayloadReader::Raw(void* out, size_t size) {
    if (Padded(size) > Left()) return false;
    std::memcpy(out, m_data.data() + m_position, size);
    m_position += Padded(size);
    return true;
}

bool FrameDecoder::Next(Frame* frame) {
    if (m_broken || m_pending.size() < kHeaderSize) return false;
    int32_t length = static_cast<int32_t>(GetLittleEndian(m_pending.data() + 4, 4));
    if (length < 0 || length > m_maxPayload) {
        m_broken = true;
        return false;
    }
    size_t total = kHeaderSize + static_cast<size_t>(length);
    if (m_pending.size() < total) return false;
    frame->sender = static_cast<uint16_t>(GetLittleEndian(m_pending.data(), 2));
    frame->id = static_cast<uint16_t>(GetLittleEndian(m_pending.data() + 2, 2));
    frame->payload.assign(m_pending.begin() + kHeaderSize, m_pending.begin() + static_cast<ptrdiff_t>(total));
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(total));
    return true;
}

}  // namespace samplegateway
