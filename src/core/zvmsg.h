#pragma once
// CZVMSG: one gateway message, in memory and on the wire. An 8-byte header
// (sender id, message id, payload length; little-endian) is followed by a
// payload of little-endian values that are written and read back in order.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/zvtime.h"
#include "core/zvvariant.h"

// A rectangle as the programs hold it: right and bottom are inclusive.
// On the wire it travels as left, top, width, height.
struct ZVRectEdges {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const ZVRectEdges&) const = default;
};

class CZVMSG final {
public:
    static constexpr int32_t kHeaderSize = 8;
    // Sender id and message id of a message that holds nothing usable.
    static constexpr uint16_t kNoId = 0xFFFF;
    // 8-bit strings longer than this read as empty (tablet and configuration).
    static constexpr int32_t kMaxStringLength = 10000;

    // The largest payload a program builds or accepts.
    static int32_t PayloadLimit(ZVVariant variant);

    // A message to send. It owns its buffer; the length starts at
    // `initialSize` (zero-filled, so a preset payload can be filled in place
    // through GetData) until the first write. A negative size or one above
    // the payload limit gives length 0 and no buffer.
    CZVMSG(uint16_t senderId, uint16_t id, int32_t initialSize = 0, int32_t flag = 1,
           ZVVariant variant = ZVVariant::Tablet);

    // Wraps a received frame (header and payload) without copying it: the
    // message is valid only while `frame` is, and whoever keeps it takes a
    // Clone. A frame shorter than its header says, or whose length is
    // negative or above the payload limit, gives an empty message with both
    // ids kNoId.
    CZVMSG(std::span<uint8_t> frame, ZVVariant variant);

    CZVMSG(const CZVMSG&) = delete;
    CZVMSG& operator=(const CZVMSG&) = delete;
    ~CZVMSG();

    // An owned copy of the whole message, position 0 and no error; null
    // when the memory cannot be had.
    std::unique_ptr<CZVMSG> Clone() const;

    uint16_t GetSenderId() const { return m_senderId; }
    uint16_t GetId() const { return m_id; }
    int32_t GetLength() const { return m_length; }
    int32_t GetFlag() const { return m_flag; }
    ZVVariant GetVariant() const { return m_variant; }
    // The header setters and SetLength change a received message only
    // through a private copy, so the socket's bytes are never touched;
    // they return 0 when that copy cannot be had.
    int SetSenderId(uint16_t senderId);
    int SetId(uint16_t id);
    // A length beyond the buffer first makes room (zero-filled).
    int SetLength(int32_t length);

    // The payload, or null when there is no buffer.
    uint8_t* GetData() const;
    // The bytes to send: the header followed by the payload, GetTotalSize()
    // of them. A message without a buffer yields just its header.
    const uint8_t* GetBuffer() const;
    int32_t GetTotalSize() const { return m_length + kHeaderSize; }

    // Reads again from the start: a failed read of an earlier reader does not
    // hold for the next one.
    void ResetPosition() {
        m_position = 0;
        m_error = false;
    }
    // Payload bytes not yet read.
    int32_t GetRemaining() const { return m_length - m_position; }
    // Marks the whole payload read, so that no later reader takes what is left.
    void SkipRest() { m_position = m_length; }
    // The payload bytes not yet read (GetRemaining of them), or null when
    // there is no buffer.
    const uint8_t* GetUnread() const {
        const uint8_t* data = GetData();
        return data ? data + m_position : nullptr;
    }
    // Same length, message id and payload; the sender ids do not count.
    bool IsEqual(const CZVMSG& other) const;
    // Room for `payloadBytes` in an owned buffer, grown in 64-byte steps. A
    // received message is copied into a buffer of its own first.
    int Reserve(int32_t payloadBytes);

    // Reads return non-zero on success and leave the output unchanged and
    // the position where it was on failure. A failed read sets the error
    // flag; once it is set, every composite read (string, time, colour,
    // rectangle, ...) fails, while bytes, shorts and ints still read.
    int ReadBytes(void* destination, int32_t count);
    int ReadByte(uint8_t& value);
    int ReadByte(int8_t& value);
    int ReadShort(uint16_t& value);
    int ReadShort(int16_t& value);
    int ReadInt(int32_t& value);
    // The monitor skips a value read into null; elsewhere that fails.
    int ReadShort(uint16_t* value);
    int ReadInt(int32_t* value);
    // 8-bit text is Windows-1252; the monitor also reads UTF-16 text.
    int ReadString(std::string& text);
    int ReadString(std::u16string& text);
    // Day of week Monday = 0 on the wire. A valid date gets the day of week
    // of its calendar; the clock fields are taken as sent.
    int ReadTime(CZVTime& time);
    // Milliseconds become 0.
    int ReadPackedTime(CZVTime& time);
    int ReadTimeSpan(CZVTimeSpan& span);
    int ReadColor(uint32_t& colorref);
    int ReadRect(ZVRectEdges& rect);

    // Writes go at the position and end the message there. They return 0,
    // changing nothing, when the memory cannot be had.
    int WriteBytes(const void* data, int32_t count);
    int WriteByte(uint8_t value);
    int WriteByte(int8_t value);
    int WriteShort(uint16_t value);
    int WriteShort(int16_t value);
    int WriteInt(int32_t value);
    int WriteString(std::string_view text);
    int WriteTime(const CZVTime& time);
    int WritePackedTime(const CZVTime& time);
    // Whole weeks are not carried: the days field holds 0-6.
    int WriteTimeSpan(const CZVTimeSpan& span);
    int WriteColor(uint32_t colorref);
    int WriteRect(const ZVRectEdges& rect);

private:
    CZVMSG(uint16_t senderId, uint16_t id, int32_t flag, ZVVariant variant);

    bool OwnsBuffer() const { return m_owned != nullptr; }
    bool MakeChangeable();
    void StoreHeader();
    int Put(const void* bytes, int32_t count, int32_t encodedSize);
    bool Take(int64_t needed, int64_t advance, std::span<const uint8_t>& bytes);
    bool TakeString(std::span<const uint8_t>& bytes, bool& wide);
    template <typename T>
    int ReadScalar(T* value);
    template <typename T>
    int WriteScalar(T value);
    template <typename Parts>
    int ReadComposite(Parts&& readParts);
    template <typename Text>
    int ReadText(Text& text);
    int ReadFields(uint16_t* fields, int count);
    class Encoding;
    int PutEncoding(const Encoding& encoding);

    uint16_t m_senderId;
    uint16_t m_id;
    int32_t m_length = 0;
    int32_t m_flag;
    ZVVariant m_variant;
    uint8_t* m_buffer = nullptr;  // the owned buffer or the received frame
    std::unique_ptr<uint8_t[]> m_owned;
    int32_t m_capacity = 0;
    int32_t m_position = 0;  // never beyond m_length
    bool m_error = false;
    uint8_t m_emptyHeader[kHeaderSize] = {};  // GetBuffer's bytes when there is no buffer
};
