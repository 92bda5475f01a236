#pragma once
// Reading a run of values where the first one missing stops the rest, and
// counted lists whose count cannot outrun the message.
#include <cstdint>
#include <string>

#include "core/zvmsg.h"

class CMsgReader {
public:
    explicit CMsgReader(CZVMSG& message) : m_message(message) {}

    CMsgReader& Int(int32_t& value) {
        if (m_ok) m_ok = m_message.ReadInt(value) != 0;
        return *this;
    }
    CMsgReader& UInt(uint32_t& value) {
        int32_t read = 0;
        if (Int(read)) value = static_cast<uint32_t>(read);
        return *this;
    }
    CMsgReader& Short(uint16_t& value) {
        if (m_ok) m_ok = m_message.ReadShort(value) != 0;
        return *this;
    }
    CMsgReader& Byte(uint8_t& value) {
        if (m_ok) m_ok = m_message.ReadByte(value) != 0;
        return *this;
    }
    CMsgReader& String(std::string& text) {
        if (m_ok) m_ok = m_message.ReadString(text) != 0;
        return *this;
    }
    CMsgReader& Color(uint32_t& colorref) {
        if (m_ok) m_ok = m_message.ReadColor(colorref) != 0;
        return *this;
    }

    explicit operator bool() const { return m_ok; }

private:
    CMsgReader(const CMsgReader&) = delete;
    CZVMSG& m_message;
    bool m_ok = true;
};

// Reads count records through readOne(index), each at least minBytes long on
// the wire. Stops at the first record that fails; a count that is negative
// or more than what is left of the payload could hold is never looped on.
// 1 when all were read.
template <typename ReadOne>
int ReadRecords(CZVMSG& message, int32_t count, int32_t minBytes, ReadOne&& readOne) {
    if (count < 0) return 0;
    const int32_t fits = message.GetRemaining() / minBytes;
    for (int32_t i = 0; i < count; ++i) {
        if (i >= fits || !readOne(i)) return 0;
    }
    return 1;
}

// A count sent ahead of records of at least minBytes each, bounded by what
// the rest of the message can hold (never negative); *cut tells that the
// message is too short for the count sent, so the caller can keep the
// records that fit and still report the message as short.
inline int32_t BoundCount(int32_t count, const CZVMSG& message, int64_t minBytes, bool* cut) {
    const int64_t fits = message.GetRemaining() / (minBytes < 1 ? 1 : minBytes);
    *cut = count > fits;
    return count < 0 ? 0 : static_cast<int32_t>(count > fits ? fits : count);
}
