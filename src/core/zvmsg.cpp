#include "core/zvmsg.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/zvbytes.h"
#include "core/zvtext.h"

namespace {

constexpr int32_t kGrowthStep = 64;
constexpr uint32_t kWideStringFlag = 0x80000000u;

int64_t RoundUp4(int64_t count) { return (count + 3) & ~int64_t{3}; }

// Edges and sizes wrap as the peer's arithmetic does; odd values from the
// wire never overflow.
int32_t LastFromSize(int32_t first, int32_t size) {
    return static_cast<int32_t>(static_cast<uint32_t>(first) + static_cast<uint32_t>(size) - 1u);
}

int32_t SizeFromEdges(int32_t first, int32_t last) {
    return static_cast<int32_t>(static_cast<uint32_t>(last) - static_cast<uint32_t>(first) + 1u);
}

constexpr int kTimeFields = 8;
constexpr int kSpanFields = 6;
constexpr int kPackedTimeSize = 6;
constexpr int kPackedYearBase = 2000;

// A time from its fields as they travel. Setting the date first and then
// the clock fields keeps the record free of anything but what was sent.
CZVTime TimeFromFields(int year, int month, int dayOfWeek, int day, int hour, int minute, int second, int ms) {
    CZVTime time;
    time.Set(year, month, 0, day, 0, 0, 0, 0);
    time.SetDayOfWeek(dayOfWeek);
    time.Normalize();
    time.SetHour(hour);
    time.SetMinute(minute);
    time.SetSecond(second);
    time.SetMilliseconds(ms);
    return time;
}

}  // namespace

// A composite value, encoded whole before it goes into the message so that
// it is written completely or not at all.
class CZVMSG::Encoding {
public:
    template <typename T>
    void Add(T value) {
        StoreLE(m_bytes + m_size, value);
        m_size += sizeof(T);
    }
    const uint8_t* data() const { return m_bytes; }
    int32_t size() const { return m_size; }

private:
    uint8_t m_bytes[16] = {};
    int32_t m_size = 0;
};

int32_t CZVMSG::PayloadLimit(ZVVariant variant) { return variant == ZVVariant::Tablet ? 1000000 : 500000; }

CZVMSG::CZVMSG(uint16_t senderId, uint16_t id, int32_t flag, ZVVariant variant)
    : m_senderId(senderId), m_id(id), m_flag(flag), m_variant(variant) {
    StoreHeader();
}

CZVMSG::CZVMSG(uint16_t senderId, uint16_t id, int32_t initialSize, int32_t flag, ZVVariant variant)
    : CZVMSG(senderId, id, flag, variant) {
    if (initialSize < 0 || initialSize > PayloadLimit(variant) || !Reserve(initialSize)) return;
    m_length = initialSize;
    StoreHeader();
}

CZVMSG::CZVMSG(std::span<uint8_t> frame, ZVVariant variant) : CZVMSG(kNoId, kNoId, 1, variant) {
    if (frame.size() < static_cast<size_t>(kHeaderSize)) return;
    const int32_t length = LoadLE<int32_t>(frame.data() + 4);
    if (length < 0 || length > PayloadLimit(variant) || static_cast<size_t>(length) > frame.size() - kHeaderSize)
        return;
    m_senderId = LoadLE<uint16_t>(frame.data());
    m_id = LoadLE<uint16_t>(frame.data() + 2);
    m_length = length;
    m_buffer = frame.data();
    m_capacity = length + kHeaderSize;
}

CZVMSG::~CZVMSG() = default;

std::unique_ptr<CZVMSG> CZVMSG::Clone() const {
    std::unique_ptr<CZVMSG> copy(new (std::nothrow) CZVMSG(m_senderId, m_id, m_flag, m_variant));
    if (!copy || !copy->Reserve(m_length)) return nullptr;
    if (m_length > 0) std::memcpy(copy->GetData(), GetData(), m_length);
    copy->m_length = m_length;
    copy->StoreHeader();
    return copy;
}

// The header lives in the owned buffer, or stands alone while there is no
// buffer. A received frame keeps the header it came with: every change to
// it goes through MakeChangeable first.
void CZVMSG::StoreHeader() {
    if (m_buffer && !OwnsBuffer()) return;
    uint8_t* header = m_buffer ? m_buffer : m_emptyHeader;
    StoreLE(header, m_senderId);
    StoreLE(header + 2, m_id);
    StoreLE(header + 4, m_length);
}

bool CZVMSG::MakeChangeable() { return !m_buffer || OwnsBuffer() || Reserve(m_length); }

int CZVMSG::SetSenderId(uint16_t senderId) {
    if (!MakeChangeable()) return 0;
    m_senderId = senderId;
    StoreHeader();
    return 1;
}

int CZVMSG::SetId(uint16_t id) {
    if (!MakeChangeable()) return 0;
    m_id = id;
    StoreHeader();
    return 1;
}

int CZVMSG::SetLength(int32_t length) {
    if (length < 0 || !MakeChangeable()) return 0;
    if (length > 0 && !Reserve(length)) return 0;
    if (length > m_length) std::memset(GetData() + m_length, 0, length - m_length);
    m_length = length;
    m_position = std::min(m_position, m_length);
    StoreHeader();
    return 1;
}

uint8_t* CZVMSG::GetData() const { return m_buffer ? m_buffer + kHeaderSize : nullptr; }

const uint8_t* CZVMSG::GetBuffer() const { return m_buffer ? m_buffer : m_emptyHeader; }

bool CZVMSG::IsEqual(const CZVMSG& other) const {
    return m_length == other.m_length && m_id == other.m_id &&
           (m_length == 0 || std::memcmp(GetData(), other.GetData(), m_length) == 0);
}

int CZVMSG::Reserve(int32_t payloadBytes) {
    if (payloadBytes < 0) return 0;
    const int64_t needed = int64_t{payloadBytes} + kHeaderSize;
    if (OwnsBuffer() && needed <= m_capacity) return 1;
    // A received frame is never grown or freed here: it is copied whole.
    const int64_t capacity = (std::max<int64_t>(needed, m_capacity) / kGrowthStep + 1) * kGrowthStep;
    if (capacity > INT32_MAX) return 0;
    std::unique_ptr<uint8_t[]> fresh(new (std::nothrow) uint8_t[capacity]());
    if (!fresh) return 0;
    if (m_buffer) std::memcpy(fresh.get(), m_buffer, m_capacity);
    m_owned = std::move(fresh);
    m_buffer = m_owned.get();
    m_capacity = static_cast<int32_t>(capacity);
    StoreHeader();
    return 1;
}

// --- Reading ---

// `needed` bytes at the position, which then moves on by `advance` (padding
// included) but never past the end of the payload.
bool CZVMSG::Take(int64_t needed, int64_t advance, std::span<const uint8_t>& bytes) {
    if (needed < 0 || needed > m_length - m_position) {
        m_error = true;
        return false;
    }
    bytes = {GetData() + m_position, static_cast<size_t>(needed)};
    m_position += static_cast<int32_t>(std::min<int64_t>(advance, m_length - m_position));
    return true;
}

template <typename T>
int CZVMSG::ReadScalar(T* value) {
    if (!value && m_variant != ZVVariant::Monitor) {
        m_error = true;
        return 0;
    }
    std::span<const uint8_t> bytes;
    if (!Take(sizeof(T), sizeof(T), bytes)) return 0;
    if (value) *value = LoadLE<T>(bytes.data());
    return 1;
}

int CZVMSG::ReadBytes(void* destination, int32_t count) {
    std::span<const uint8_t> bytes;
    if ((!destination && count > 0) || !Take(count, RoundUp4(count), bytes)) {
        m_error = true;
        return 0;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(destination));
    return 1;
}

int CZVMSG::ReadByte(uint8_t& value) { return ReadScalar(&value); }
int CZVMSG::ReadByte(int8_t& value) { return ReadScalar(&value); }
int CZVMSG::ReadShort(uint16_t& value) { return ReadScalar(&value); }
int CZVMSG::ReadShort(int16_t& value) { return ReadScalar(&value); }
int CZVMSG::ReadInt(int32_t& value) { return ReadScalar(&value); }
int CZVMSG::ReadShort(uint16_t* value) { return ReadScalar(value); }
int CZVMSG::ReadInt(int32_t* value) { return ReadScalar(value); }

// The error flag stays set from the first failure on, so a reader may check
// only its last composite read. A failed composite read moves nothing.
template <typename Parts>
int CZVMSG::ReadComposite(Parts&& readParts) {
    if (m_error) return 0;
    m_error = true;
    const int32_t start = m_position;
    if (!readParts()) {
        m_position = start;
        return 0;
    }
    m_error = false;
    return 1;
}

// Count, characters, padding. The monitor's count may flag UTF-16 text and
// has no length cap; elsewhere a count above the cap is skipped as empty.
bool CZVMSG::TakeString(std::span<const uint8_t>& bytes, bool& wide) {
    int32_t count = 0;
    if (!ReadInt(count)) return false;
    const bool monitor = m_variant == ZVVariant::Monitor;
    wide = monitor && (static_cast<uint32_t>(count) & kWideStringFlag);
    const int64_t size = wide ? (static_cast<uint32_t>(count) & ~kWideStringFlag) : count;
    std::span<const uint8_t> text;
    if (!Take(RoundUp4(size), RoundUp4(size), text)) return false;
    bytes = (!monitor && size > kMaxStringLength) ? std::span<const uint8_t>{} : text.first(size);
    return true;
}

template <typename Text>
int CZVMSG::ReadText(Text& text) {
    return ReadComposite([&] {
        std::span<const uint8_t> bytes;
        bool wide = false;
        if (!TakeString(bytes, wide)) return false;
        AssignText(text, bytes, wide);
        return true;
    });
}

int CZVMSG::ReadString(std::string& text) { return ReadText(text); }
int CZVMSG::ReadString(std::u16string& text) { return ReadText(text); }

// `count` unsigned 16-bit fields, read whole or not at all.
int CZVMSG::ReadFields(uint16_t* fields, int count) {
    std::span<const uint8_t> bytes;
    if (!Take(2 * count, 2 * count, bytes)) return 0;
    for (int i = 0; i < count; ++i) fields[i] = LoadLE<uint16_t>(bytes.data() + 2 * i);
    return 1;
}

int CZVMSG::ReadTime(CZVTime& time) {
    return ReadComposite([&] {
        uint16_t f[kTimeFields];
        if (!ReadFields(f, kTimeFields)) return false;
        time = TimeFromFields(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]);
        return true;
    });
}

int CZVMSG::ReadPackedTime(CZVTime& time) {
    return ReadComposite([&] {
        std::span<const uint8_t> b;
        if (!Take(kPackedTimeSize, kPackedTimeSize, b)) return false;
        time = TimeFromFields(kPackedYearBase + b[0], b[1] & 0x0F, b[1] >> 4, b[2], b[3], b[4], b[5], 0);
        return true;
    });
}

int CZVMSG::ReadTimeSpan(CZVTimeSpan& span) {
    return ReadComposite([&] {
        uint16_t f[kSpanFields];
        if (!ReadFields(f, kSpanFields)) return false;
        CZVTimeSpan value;
        value.Set(f[1], f[2], f[3], f[4], f[5]);
        value.SetNegative(f[0]);
        span = value;
        return true;
    });
}

int CZVMSG::ReadColor(uint32_t& colorref) {
    return ReadComposite([&] {
        int32_t red = 0, green = 0, blue = 0;
        if (!ReadInt(red) || !ReadInt(green) || !ReadInt(blue)) return false;
        colorref = (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
        return true;
    });
}

int CZVMSG::ReadRect(ZVRectEdges& rect) {
    return ReadComposite([&] {
        int32_t left = 0, top = 0, width = 0, height = 0;
        if (!ReadInt(left) || !ReadInt(top) || !ReadInt(width) || !ReadInt(height)) return false;
        rect = {left, top, LastFromSize(left, width), LastFromSize(top, height)};
        return true;
    });
}

// --- Writing ---

// Writers make room for the current length plus what they add, and the
// position never exceeds the length, so the bytes always fit.
int CZVMSG::Put(const void* bytes, int32_t count, int32_t encodedSize) {
    const int64_t needed = int64_t{m_length} + encodedSize;
    if (needed > INT32_MAX || !Reserve(static_cast<int32_t>(needed))) return 0;
    uint8_t* at = GetData() + m_position;
    if (count > 0) std::memcpy(at, bytes, count);
    std::memset(at + count, 0, encodedSize - count);
    m_position += encodedSize;
    m_length = m_position;
    StoreHeader();
    return 1;
}

int CZVMSG::PutEncoding(const Encoding& encoding) { return Put(encoding.data(), encoding.size(), encoding.size()); }

template <typename T>
int CZVMSG::WriteScalar(T value) {
    Encoding encoding;
    encoding.Add(value);
    return PutEncoding(encoding);
}

int CZVMSG::WriteBytes(const void* data, int32_t count) {
    if (count < 0 || (!data && count > 0) || RoundUp4(count) > INT32_MAX) return 0;
    return Put(data, count, static_cast<int32_t>(RoundUp4(count)));
}

int CZVMSG::WriteByte(uint8_t value) { return WriteScalar(value); }
int CZVMSG::WriteByte(int8_t value) { return WriteScalar(value); }
int CZVMSG::WriteShort(uint16_t value) { return WriteScalar(value); }
int CZVMSG::WriteShort(int16_t value) { return WriteScalar(value); }
int CZVMSG::WriteInt(int32_t value) { return WriteScalar(value); }

int CZVMSG::WriteString(std::string_view text) {
    const int64_t padded = RoundUp4(static_cast<int64_t>(text.size()));
    const int64_t needed = int64_t{m_length} + 4 + padded;
    if (needed > INT32_MAX || !Reserve(static_cast<int32_t>(needed))) return 0;
    const auto count = static_cast<int32_t>(text.size());
    return WriteInt(count) && Put(text.data(), count, static_cast<int32_t>(padded));
}

int CZVMSG::WriteTime(const CZVTime& time) {
    Encoding encoding;
    for (int field : {time.GetYear(), time.GetMonth(), time.GetDayOfWeek(), time.GetDay(), time.GetHour(),
                      time.GetMinute(), time.GetSecond(), time.GetMilliseconds()})
        encoding.Add(static_cast<uint16_t>(field));
    return PutEncoding(encoding);
}

int CZVMSG::WritePackedTime(const CZVTime& time) {
    Encoding encoding;
    encoding.Add(static_cast<uint8_t>(time.GetYear() - kPackedYearBase));
    encoding.Add(static_cast<uint8_t>(time.GetDayOfWeek() << 4 | time.GetMonth()));
    for (int field : {time.GetDay(), time.GetHour(), time.GetMinute(), time.GetSecond()})
        encoding.Add(static_cast<uint8_t>(field));
    return PutEncoding(encoding);
}

int CZVMSG::WriteTimeSpan(const CZVTimeSpan& span) {
    Encoding encoding;
    for (int field : {span.IsNegative(), span.GetDays(), span.GetHours(), span.GetMinutes(), span.GetSeconds(),
                      span.GetMilliseconds()})
        encoding.Add(static_cast<uint16_t>(field));
    return PutEncoding(encoding);
}

int CZVMSG::WriteColor(uint32_t colorref) {
    Encoding encoding;
    encoding.Add<int32_t>(colorref & 0xFF);
    encoding.Add<int32_t>(colorref >> 8 & 0xFF);
    encoding.Add<int32_t>(colorref >> 16 & 0xFF);
    return PutEncoding(encoding);
}

int CZVMSG::WriteRect(const ZVRectEdges& rect) {
    Encoding encoding;
    encoding.Add(rect.left);
    encoding.Add(rect.top);
    encoding.Add(SizeFromEdges(rect.left, rect.right));
    encoding.Add(SizeFromEdges(rect.top, rect.bottom));
    return PutEncoding(encoding);
}
