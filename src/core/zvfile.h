#pragma once
// CZVFile: a named file opened to read, to create or to append, with a write
// buffer and typed little-endian values: bytes, shorts, ints, counted
// strings, times and spans. Values carry no names; a reader takes them in
// the order they were written. CMemoryFile collects the bytes in memory.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/zvtime.h"
#include "core/zvvariant.h"

class CZVFile {
public:
    enum Mode { kClosed = 0, kRead = 1, kCreate = 2, kAppend = 3 };
    static constexpr int32_t kDefaultBufferSize = 5000;
    // The longest 8-bit string the tablet and the configuration program
    // store; the monitor stores any length.
    static constexpr int32_t kMaxStringLength = 5000;

    CZVFile(std::string name, ZVVariant variant, int32_t bufferCapacity = kDefaultBufferSize);
    // Flushes and closes.
    virtual ~CZVFile();
    CZVFile(const CZVFile&) = delete;
    CZVFile& operator=(const CZVFile&) = delete;

    const std::string& GetName() const { return m_name; }
    int Exists() const;
    // Closes first when open. Append positions at the end. On failure the
    // file stays closed. The tablet reports opening an open file and an
    // unknown mode as failed checks.
    virtual int Open(int mode);
    // Writes from the current place of a file the caller holds open for
    // writing, through a copy of its descriptor that Close closes; the
    // caller's descriptor stays open. Closes first when open.
    int OpenDescriptor(int fd);
    int Close();
    virtual int IsOpen() const;
    // What the system reports: bytes still buffered are not counted. A
    // closed file is measured by name; 0 when that fails.
    virtual int64_t GetLength();

    // Buffered; a write larger than the buffer goes straight to the file
    // after what is buffered. Only a file open for writing takes bytes.
    virtual int Write(const void* bytes, int32_t count);
    int WriteChecked(const void* bytes, int32_t count);
    // Writes out the buffer; reading, drops what was read ahead.
    int Flush();
    // Both read in file order and answer 1 only when all `count` bytes came.
    // Read goes to the file past what ReadBlock left buffered; ReadBlock
    // reads ahead a buffer at a time.
    int Read(void* out, int32_t count);
    int ReadBlock(void* out, int32_t count);
    // `method` is SEEK_SET, SEEK_CUR or SEEK_END; answers the new position,
    // -1 on failure.
    int64_t Seek(int64_t distance, int method);
    // The logical position, buffered bytes accounted for; -1 when closed.
    int64_t GetPosition() const;

    int ReadByte(uint8_t& value);
    int ReadShort(uint16_t& value);
    int ReadInt(int32_t& value);
    int ReadShorts4(uint16_t& a, uint16_t& b, uint16_t& c, uint16_t& d);
    int WriteByte(uint8_t value);
    int WriteShort(uint16_t value);
    int WriteInt(int32_t value);
    int WriteShorts4(uint16_t a, uint16_t b, uint16_t c, uint16_t d);

    // An int count, then the characters. A null `text` skips the string. A
    // count outside what WriteString stores fails and leaves `text` alone;
    // a file that ends early empties it. The monitor also reads UTF-16 text
    // (count with the top bit set), converted to Windows-1252.
    int ReadString(std::string* text);
    // Fails, writing nothing, for a string longer than ReadString takes back.
    int WriteString(std::string_view text);
    // The 16-byte time record (Sunday = 0). A null time skips it.
    int ReadTime(CZVTime* time);
    int WriteTime(const CZVTime& time);
    // A signed 64-bit count of 100-ns units. A null span skips it.
    int ReadTimeSpan(CZVTimeSpan* span);
    int WriteTimeSpan(const CZVTimeSpan& span);

    // The file's times in UTC, fetched once; 0 when the system cannot say.
    // Linux keeps a creation time on most file systems; where it does not,
    // the time of the last status change stands in.
    int GetCreationTime(CZVTime& time);
    int GetLastAccessTime(CZVTime& time);
    int GetLastWriteTime(CZVTime& time);
    // The wrapping sum of every byte; 0 when the file cannot be read. A
    // closed file is opened for it and closed again, whatever happens.
    int32_t GetChecksum();
    // By the first three characters after the last '.', case-sensitive:
    // JPG 1, HTM 2, AU 3, EXE 4, GIF 5, else 0.
    int GetExtensionType() const;

private:
    struct Information {
        platform::LocalTime creation;
        platform::LocalTime access;
        platform::LocalTime write;
    };

    bool Writing() const { return m_mode == kCreate || m_mode == kAppend; }
    void ReportCheck(int line) const;
    int CloseFile(int reportLine);
    bool FetchInformation();
    // The checksum of a file open for reading, which is left at its start.
    int32_t SumFromStart();
    bool ReadText(std::string& bytes, int64_t size);
    template <typename T>
    int ReadValue(T& value);
    template <typename T>
    int WriteValue(T value);

    std::string m_name;
    ZVVariant m_variant;
    int m_fd = -1;
    int m_mode = kClosed;
    std::vector<uint8_t> m_buffer;
    int32_t m_fill = 0;
    int32_t m_readPos = 0;
    std::optional<Information> m_information;
};

class CMemoryFile final : public CZVFile {
public:
    explicit CMemoryFile(ZVVariant variant);

    int Open(int mode) override;
    int IsOpen() const override;
    int64_t GetLength() override { return m_length; }
    int Write(const void* bytes, int32_t count) override;

    const uint8_t* GetData() const { return m_data.get(); }
    int32_t GetDataLength() const { return m_length; }

private:
    static constexpr int32_t kGrowthStep = 1024;

    std::unique_ptr<uint8_t[]> m_data;
    int32_t m_capacity = 0;
    int32_t m_length = 0;
};
