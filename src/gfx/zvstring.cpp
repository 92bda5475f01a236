#include "gfx/zvstring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/report.h"
#include "platform/cp1252.h"

namespace {

constexpr const char* kSource = "zvstring";

// The shared empty texts. Writable, because a caller may write the
// terminator through GetBuffer(0); they never hold anything else.
char g_empty8[1];
char16_t g_empty16[1];

// Format tries a stack buffer of 255 characters, then heap buffers that start
// at `first` bytes and grow by `step`, up to kMaxBytes; the longest text it
// can hold is the largest of those buffers less the terminator.
constexpr int LongestFormat(int unitBytes, int first, int step) {
    int largest = first + (CZVString::kMaxBytes - first) / step * step;
    return largest / unitBytes - 1;
}
constexpr int kLongestFormatAnsi = LongestFormat(1, 512, 256);   // 9,983
constexpr int kLongestFormatWide = LongestFormat(2, 1024, 512);  // 4,863

size_t WideLength(const char16_t* text) { return std::char_traits<char16_t>::length(text); }

unsigned UnitAt(int kind, const void* units, size_t i) {
    return kind == CZVString::kAnsi ? static_cast<const unsigned char*>(units)[i]
                                    : static_cast<const char16_t*>(units)[i];
}

unsigned FoldCase(unsigned c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

int CompareUnits(int kind, const void* a, size_t aLength, const void* b, size_t bLength,
                 bool noCase) {
    size_t common = std::min(aLength, bLength);
    for (size_t i = 0; i < common; ++i) {
        unsigned ca = UnitAt(kind, a, i);
        unsigned cb = UnitAt(kind, b, i);
        if (noCase) {
            ca = FoldCase(ca);
            cb = FoldCase(cb);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

bool InSet(const char* set, char c) { return c != '\0' && std::strchr(set, c) != nullptr; }

}  // namespace

void* CZVString::SharedEmpty(int kind) {
    return kind == kAnsi ? static_cast<void*>(g_empty8) : static_cast<void*>(g_empty16);
}

bool CZVString::IsShared() const { return m_buffer == g_empty8 || m_buffer == g_empty16; }

void* CZVString::Join(int kind, const void* a, size_t aUnits, const void* b, size_t bUnits,
                      int* bytes) {
    const size_t unit = UnitBytes(kind);
    if (aUnits + bUnits == 0) {
        *bytes = static_cast<int>(unit);
        return SharedEmpty(kind);
    }
    if (aUnits > kMaxBytes || bUnits > kMaxBytes || (aUnits + bUnits + 1) * unit > kMaxBytes)
        return nullptr;
    size_t total = (aUnits + bUnits + 1) * unit;
    auto* buffer = static_cast<unsigned char*>(std::malloc(total));
    if (!buffer)
        return nullptr;
    if (aUnits)
        std::memcpy(buffer, a, aUnits * unit);
    if (bUnits)
        std::memcpy(buffer + aUnits * unit, b, bUnits * unit);
    std::memset(buffer + total - unit, 0, unit);
    *bytes = static_cast<int>(total);
    return buffer;
}

void CZVString::FreeBuffer() {
    if (m_buffer && !IsShared())
        std::free(m_buffer);
    m_buffer = nullptr;
}

void CZVString::InitEmpty(int kind) {
    m_kind = kind;
    m_buffer = SharedEmpty(kind);
    m_size = UnitBytes(kind);
}

void CZVString::Take(int kind, void* buffer, int bytes) {
    FreeBuffer();
    m_kind = kind;
    m_buffer = buffer;
    m_size = bytes;
}

int CZVString::SetRaw(int kind, const void* a, size_t aUnits, const void* b, size_t bUnits) {
    int bytes = 0;
    void* joined = Join(kind, a, aUnits, b, bUnits, &bytes);
    if (!joined) {
        FreeBuffer();
        InitEmpty(kind);
        return 0;
    }
    Take(kind, joined, bytes);
    return 1;
}

CZVString CZVString::Make(int kind, const void* units, int count) {
    CZVString result(kind);
    result.SetRaw(kind, units, static_cast<size_t>(count));
    return result;
}

CZVString::CZVString() { InitEmpty(kAnsi); }

CZVString::CZVString(int kind) {
    if (kind != kAnsi && kind != kWide) {
        ReportAssert(kSource, __LINE__, 1);
        kind = kAnsi;
    }
    InitEmpty(kind);
}

CZVString::CZVString(const char* text) {
    InitEmpty(kAnsi);
    *this = text;
}

CZVString::CZVString(const char* a, const char* b) {
    InitEmpty(kAnsi);
    if (!a || !b) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    SetRaw(kAnsi, a, std::strlen(a), b, std::strlen(b));
}

CZVString::CZVString(const char16_t* a, const char16_t* b) {
    InitEmpty(kWide);
    if (!a || !b) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    SetRaw(kWide, a, WideLength(a), b, WideLength(b));
}

CZVString::CZVString(const CZVString& other) {
    InitEmpty(other.m_kind);
    SetRaw(other.m_kind, other.m_buffer, other.GetLength());
}

CZVString::~CZVString() { FreeBuffer(); }

CZVString& CZVString::operator=(const CZVString& other) {
    if (this == &other)
        return *this;
    Empty();
    if (other.m_kind == m_kind) {
        SetRaw(m_kind, other.m_buffer, other.GetLength());
        return *this;
    }
    CZVString converted(other);
    if (converted.ConvertTo(m_kind))
        Append(m_kind, converted.m_buffer, converted.GetLength());
    return *this;
}

CZVString& CZVString::operator=(const char* text) {
    if (!text) {
        ReportAssert(kSource, __LINE__, 1);
        Empty();
        return *this;
    }
    if (m_kind == kAnsi) {
        SetRaw(kAnsi, text, std::strlen(text));
        return *this;
    }
    return *this = CZVString(text);
}

int CZVString::GetLength() const {
    if (!m_buffer || m_size <= 0) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    return m_size / UnitBytes(m_kind) - 1;
}

bool CZVString::IsEmpty() const { return m_size == UnitBytes(m_kind); }

int CZVString::ToAnsi() {
    if (m_kind == kAnsi)
        return 1;
    int length = GetLength();
    if (length == 0) {
        FreeBuffer();
        InitEmpty(kAnsi);
        return 1;
    }
    auto* converted = static_cast<uint8_t*>(std::malloc(length + 1));
    if (!converted)
        return 0;
    const auto* units = static_cast<const char16_t*>(m_buffer);
    for (int i = 0; i < length; ++i) {
        if (!platform::Utf16CharToCp1252(units[i], &converted[i])) {
            std::free(converted);
            return 0;
        }
    }
    converted[length] = 0;
    Take(kAnsi, converted, length + 1);
    return 1;
}

int CZVString::ToWide() {
    if (m_kind == kWide)
        return 1;
    int length = GetLength();
    if (length == 0) {
        FreeBuffer();
        InitEmpty(kWide);
        return 1;
    }
    auto* converted = static_cast<char16_t*>(std::malloc((length + 1) * sizeof(char16_t)));
    if (!converted)
        return 0;
    const auto* bytes = static_cast<const uint8_t*>(m_buffer);
    for (int i = 0; i < length; ++i)
        converted[i] = platform::Cp1252CharToUtf16(bytes[i]);
    converted[length] = 0;
    Take(kWide, converted, (length + 1) * 2);
    return 1;
}

const char* CZVString::GetAnsi() {
    return ToAnsi() ? static_cast<const char*>(m_buffer) : "";
}

const char16_t* CZVString::GetWide() {
    return ToWide() ? static_cast<const char16_t*>(m_buffer) : u"";
}

void* CZVString::GrowBuffer(int chars) {
    if (chars < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    const int unit = UnitBytes(m_kind);
    if (m_size >= (chars + 1LL) * unit)
        return m_buffer;
    if (chars >= kMaxBytes / unit)
        return nullptr;
    const int bytes = (chars + 1) * unit;
    auto* grown = static_cast<unsigned char*>(std::malloc(bytes));
    if (!grown)
        return nullptr;
    std::memcpy(grown, m_buffer, m_size);
    std::memset(grown + m_size, 0, bytes - m_size);
    Take(m_kind, grown, bytes);
    return grown;
}

char* CZVString::GetBuffer(int chars) {
    if (!ToAnsi())
        return nullptr;
    return static_cast<char*>(GrowBuffer(chars));
}

void CZVString::ReleaseBuffer(int length) {
    const int room = GetLength();
    if (length < -1) {
        ReportAssert(kSource, __LINE__, 1);
        length = -1;
    }
    if (length > room) {
        ReportAssert(kSource, __LINE__, 1);
        length = room;
    }
    if (length == -1) {
        length = 0;
        while (length < room && UnitAt(m_kind, m_buffer, length) != 0)
            ++length;
    }
    const int unit = UnitBytes(m_kind);
    std::memset(static_cast<unsigned char*>(m_buffer) + length * unit, 0, unit);
    m_size = (length + 1) * unit;
}

void CZVString::Empty() {
    if (!m_buffer || m_size <= 0)
        ReportAssert(kSource, __LINE__, 1);
    FreeBuffer();
    InitEmpty(m_kind);
}

void CZVString::Append(int kind, const void* units, size_t count) {
    if (!ConvertTo(kind) || count == 0)
        return;
    int bytes = 0;
    void* joined = Join(kind, m_buffer, GetLength(), units, count, &bytes);
    if (joined)
        Take(kind, joined, bytes);
}

void CZVString::AppendAnsi(const char* text) {
    if (!text) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    Append(kAnsi, text, std::strlen(text));
}

void CZVString::AppendWide(const char16_t* text) {
    if (!text) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    Append(kWide, text, WideLength(text));
}

int CZVString::Format(const char* fmt, ...) {
    const int kind = m_kind;
    if (!fmt) {
        ReportAssert(kSource, __LINE__, 1);
        Empty();
        return 0;
    }
    // The old text stays until the new one is made: an argument may be it.
    va_list args;
    va_start(args, fmt);
    va_list measure;
    va_copy(measure, args);
    char stack[256];
    const int length = std::vsnprintf(stack, sizeof stack, fmt, measure);
    va_end(measure);

    const int longest = kind == kAnsi ? kLongestFormatAnsi : kLongestFormatWide;
    bool held = false;
    if (length > 0 && length <= longest) {
        if (length < static_cast<int>(sizeof stack)) {
            held = SetRaw(kAnsi, stack, length);
        } else if (auto* heap = static_cast<char*>(std::malloc(length + 1))) {
            std::vsnprintf(heap, length + 1, fmt, args);
            Take(kAnsi, heap, length + 1);
            held = true;
        }
    }
    va_end(args);
    if (!held || !ConvertTo(kind)) {
        FreeBuffer();
        InitEmpty(kind);
    }
    return GetLength();
}

void CZVString::TrimLeft(const char* set) {
    if (!set || !ToAnsi())
        return;
    char* text = static_cast<char*>(m_buffer);
    const int length = GetLength();
    int removed = 0;
    while (removed < length && InSet(set, text[removed]))
        ++removed;
    if (removed == 0)
        return;
    std::memmove(text, text + removed, length - removed + 1);
    m_size -= removed;
}

void CZVString::TrimRight(const char* set) {
    if (!set || !ToAnsi())
        return;
    char* text = static_cast<char*>(m_buffer);
    int kept = GetLength();
    const int length = kept;
    while (kept > 0 && InSet(set, text[kept - 1]))
        --kept;
    if (kept == length)
        return;
    text[kept] = '\0';
    m_size = kept + 1;
}

CZVString CZVString::Left(int n) const {
    if (n < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return CZVString(m_kind);
    }
    return Make(m_kind, m_buffer, std::min(n, GetLength()));
}

CZVString CZVString::Right(int n) const {
    if (n < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return CZVString(m_kind);
    }
    const int length = GetLength();
    n = std::min(n, length);
    return Make(m_kind, static_cast<const unsigned char*>(m_buffer) + (length - n) * UnitBytes(m_kind),
                n);
}

CZVString CZVString::Mid(int start, int count) const {
    if (count < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return CZVString();
    }
    const int length = GetLength();
    if (count == 0 || start < 0 || start >= length)
        return CZVString();
    count = std::min(count, length - start);
    return Make(m_kind, static_cast<const unsigned char*>(m_buffer) + start * UnitBytes(m_kind),
                count);
}

int CZVString::Find(int ch, int start) const {
    const int length = GetLength();
    if (length == 0)
        return -1;
    start = std::max(start, 0);
    if (start >= length) {
        ReportAssert(kSource, __LINE__, 1);
        return -1;
    }
    const unsigned target = m_kind == kAnsi && ch < 0 ? ch + 256 : ch;
    for (int i = start; i < length; ++i) {
        if (UnitAt(m_kind, m_buffer, i) == target)
            return i;
    }
    return -1;
}

int CZVString::ReverseFind(int ch) const {
    const unsigned target = m_kind == kAnsi && ch < 0 ? ch + 256 : ch;
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (UnitAt(m_kind, m_buffer, i) == target)
            return i;
    }
    return -1;
}

bool CZVString::operator==(const CZVString& other) {
    if (!ConvertTo(other.m_kind))
        return false;
    return m_size == other.m_size &&
           CompareUnits(m_kind, m_buffer, GetLength(), other.m_buffer, other.GetLength(), false) == 0;
}

int CZVString::CompareWith(const CZVString& other, bool noCase) const {
    if (other.m_kind == m_kind)
        return CompareUnits(m_kind, m_buffer, GetLength(), other.m_buffer, other.GetLength(), noCase);
    CZVString converted(other);
    if (converted.ConvertTo(m_kind))
        return CompareWith(converted, noCase);
    // The other text has a character that 8-bit text cannot hold: compare both
    // as 16-bit text, so that the answer is never "equal".
    CZVString wide(*this);
    return wide.ToWide() ? wide.CompareWith(other, noCase) : -1;
}

int CZVString::Compare(const CZVString& other) const { return CompareWith(other, false); }

int CZVString::CompareNoCase(const CZVString& other) const { return CompareWith(other, true); }

int CZVString::Compare(const char* text) const {
    if (!text) {
        ReportAssert(kSource, __LINE__, 1);
        return -1;
    }
    if (m_kind == kAnsi)
        return CompareUnits(kAnsi, m_buffer, GetLength(), text, std::strlen(text), false);
    CZVString ansi(*this);
    return ansi.ToAnsi() ? ansi.Compare(text) : -1;
}

int CZVString::CompareNoCase(const char* text) {
    if (!text) {
        ReportAssert(kSource, __LINE__, 1);
        return -1;
    }
    if (!ToAnsi())
        return -1;
    return CompareUnits(kAnsi, m_buffer, GetLength(), text, std::strlen(text), true);
}

CZVString operator+(CZVString& a, const CZVString& b) {
    a.ConvertTo(b.m_kind);  // a keeps its form when b's cannot hold its text
    CZVString tail(b);
    CZVString result(a.m_kind);
    if (tail.ConvertTo(a.m_kind))
        result.SetRaw(a.m_kind, a.m_buffer, a.GetLength(), tail.m_buffer, tail.GetLength());
    return result;
}

CZVString operator+(const char* a, const CZVString& b) {
    if (!a) {
        ReportAssert(kSource, __LINE__, 1);
        return CZVString(b);
    }
    if (b.m_kind != CZVString::kAnsi)
        ReportAssert(kSource, __LINE__, 1);
    CZVString head(a);
    return head + b;
}
