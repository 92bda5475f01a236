#pragma once
// The tablet's one string type. The text is held either as 8-bit characters
// (Windows-1252) or as 16-bit UTF-16 units and converts itself in place when
// an operation needs the other form. Buffers are exact (no spare capacity),
// copies are deep, and every empty string shares one static buffer per form
// so that empty strings allocate nothing.
#include <cstddef>
#include <cstdint>

class CZVString {
public:
    static constexpr int kAnsi = 1;  // 8-bit, Windows-1252
    static constexpr int kWide = 0;  // 16-bit, UTF-16
    // No operation makes a buffer larger than this (terminator included).
    static constexpr int kMaxBytes = 10000;

    CZVString();
    explicit CZVString(int kind);
    CZVString(const char* text);  // NOLINT: implicit, as for a text literal
    CZVString(const char* a, const char* b);
    CZVString(const char16_t* a, const char16_t* b);
    CZVString(const CZVString& other);
    ~CZVString();

    CZVString& operator=(const CZVString& other);
    CZVString& operator=(const char* text);

    int GetKind() const { return m_kind; }
    int GetLength() const;
    bool IsEmpty() const;

    // Converts in place and returns the text; a static empty text when the
    // conversion fails (the string then keeps its form).
    const char* GetAnsi();
    const char16_t* GetWide();
    operator const char*() { return GetAnsi(); }
    operator const char16_t*() { return GetWide(); }

    // In-place conversions; 1 on success, 0 (string unchanged) on failure. A
    // 16-bit character with no Windows-1252 byte fails the conversion to 8-bit.
    int ToAnsi();
    int ToWide();

    // Converts to 8-bit and returns a writable buffer with room for at least
    // `chars` characters and a terminator (new room zero-filled); null when
    // refused. ReleaseBuffer then sets the length (-1 measures it).
    char* GetBuffer(int chars);
    void ReleaseBuffer(int length = -1);

    void Empty();
    void AppendAnsi(const char* text);
    void AppendWide(const char16_t* text);
    CZVString& operator+=(const char* text) { AppendAnsi(text); return *this; }
    CZVString& operator+=(const char16_t* text) { AppendWide(text); return *this; }

    // printf-style formatting in this string's own form; the arguments are
    // those of the 8-bit formatter (%s takes 8-bit text) for both forms.
    // Returns the length, or 0 (string empty) when it cannot be held.
    int Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

    // Convert to 8-bit, then remove the leading or trailing characters of set.
    void TrimLeft(const char* set);
    void TrimRight(const char* set);

    // New strings in this string's form (Mid's empty result is 8-bit).
    CZVString Left(int n) const;
    CZVString Right(int n) const;
    CZVString Mid(int start, int count) const;

    // `ch` is a character of the string's own form: a Windows-1252 byte (a
    // negative char counts as its byte) or a UTF-16 unit.
    int Find(int ch, int start = 0) const;
    int ReverseFind(int ch) const;

    // Converts this string in place to the other's form, then compares.
    bool operator==(const CZVString& other);
    // The same for a non-const operand; without it C++20's reversed form of
    // `a == b` would tie with the one above.
    bool operator==(CZVString& other) { return *this == static_cast<const CZVString&>(other); }
    int Compare(const CZVString& other) const;
    int Compare(const char* text) const;
    // Case-insensitive for the letters A to Z only, as the C locale does.
    int CompareNoCase(const CZVString& other) const;
    int CompareNoCase(const char* text);

    friend CZVString operator+(CZVString& a, const CZVString& b);
    friend CZVString operator+(const char* a, const CZVString& b);

private:
    static int UnitBytes(int kind) { return kind == kAnsi ? 1 : 2; }
    static void* SharedEmpty(int kind);
    // A new buffer holding units of a then units of b and a terminator; the
    // shared empty buffer when both are empty; null when it would exceed
    // kMaxBytes or cannot be allocated.
    static void* Join(int kind, const void* a, size_t aUnits, const void* b, size_t bUnits,
                      int* bytes);
    static CZVString Make(int kind, const void* units, int count);

    bool IsShared() const;
    void FreeBuffer();
    void InitEmpty(int kind);
    void Take(int kind, void* buffer, int bytes);
    int ConvertTo(int kind) { return kind == kAnsi ? ToAnsi() : ToWide(); }
    // Replaces the contents with the units of a then b in `kind`; 0 and an
    // empty string of that kind when refused.
    int SetRaw(int kind, const void* a, size_t aUnits, const void* b = nullptr,
               size_t bUnits = 0);
    void* GrowBuffer(int chars);
    // Converts to `kind`, then appends; the old text stays when refused.
    void Append(int kind, const void* units, size_t count);
    int CompareWith(const CZVString& other, bool noCase) const;

    int m_kind = kAnsi;
    void* m_buffer = nullptr;
    int m_size = 0;  // bytes of text plus terminator
};
