#include "core/zvfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <new>

#include "core/zvbytes.h"
#include "core/zvtext.h"
#include "platform/clock.h"
#include "platform/fileio.h"
#include "platform/report.h"

namespace {

// Lines under which the tablet reports its failed checks.
constexpr int kReportDestructorClose = 68;
constexpr int kReportOpenWhileOpen = 150;
constexpr int kReportBadMode = 168;
constexpr int kReportClose = 198;

constexpr uint32_t kWideStringFlag = 0x80000000u;
constexpr int kTimeFields = 8;
constexpr int kTimeRecordSize = 2 * kTimeFields;
constexpr int kChecksumBlock = 1000;
// Long strings are read a piece at a time, so that a damaged count costs no
// more memory than the file really holds.
constexpr int64_t kTextPiece = 64 * 1024;

platform::LocalTime UtcRecord(const statx_timestamp& stamp) {
    const time_t seconds = static_cast<time_t>(stamp.tv_sec);
    tm parts{};
    gmtime_r(&seconds, &parts);
    return platform::ToLocalTime(parts, stamp.tv_nsec);
}

}  // namespace

CZVFile::CZVFile(std::string name, ZVVariant variant, int32_t bufferCapacity)
    : m_name(std::move(name)), m_variant(variant), m_buffer(std::max(bufferCapacity, 1)) {}

CZVFile::~CZVFile() { CloseFile(kReportDestructorClose); }

void CZVFile::ReportCheck(int line) const {
    if (m_variant == ZVVariant::Tablet) ReportAssert("zvfile", line, 1);
}

int CZVFile::Exists() const {
    struct stat status;
    return ::stat(m_name.c_str(), &status) == 0;
}

int CZVFile::Open(int mode) {
    if (IsOpen()) ReportCheck(kReportOpenWhileOpen);
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case kRead: flags |= O_RDONLY; break;
    case kCreate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case kAppend: flags |= O_WRONLY | O_CREAT; break;
    default: ReportCheck(kReportBadMode); return 0;
    }
    m_fd = ::open(m_name.c_str(), flags, 0666);
    if (m_fd >= 0 && mode == kAppend && ::lseek(m_fd, 0, SEEK_END) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0) return 0;
    m_mode = mode;
    m_fill = m_readPos = 0;
    return 1;
}

int CZVFile::OpenDescriptor(int fd) {
    if (IsOpen()) ReportCheck(kReportOpenWhileOpen);
    Close();
    m_fd = fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    if (m_fd < 0) return 0;
    m_mode = kCreate;
    m_fill = m_readPos = 0;
    return 1;
}

int CZVFile::Close() { return CloseFile(kReportClose); }

int CZVFile::CloseFile(int reportLine) {
    if (m_fd < 0) return 1;
    const bool flushed = Flush();
    const bool closed = ::close(m_fd) == 0;
    if (!closed) ReportCheck(reportLine);
    m_fd = -1;
    m_mode = kClosed;
    return flushed && closed;
}

int CZVFile::IsOpen() const { return m_fd >= 0; }

int64_t CZVFile::GetLength() {
    struct stat status;
    const int result = m_fd >= 0 ? ::fstat(m_fd, &status) : ::stat(m_name.c_str(), &status);
    return result == 0 ? status.st_size : 0;
}

int CZVFile::Write(const void* bytes, int32_t count) {
    if (!Writing() || count < 0 || (!bytes && count > 0)) return 0;
    const auto capacity = static_cast<int32_t>(m_buffer.size());
    if (int64_t{m_fill} + count >= capacity) {
        if (!Flush()) return 0;
        if (count > capacity) return platform::WriteFully(m_fd, bytes, count);
    }
    if (count > 0) std::memcpy(m_buffer.data() + m_fill, bytes, count);
    m_fill += count;
    return 1;
}

int CZVFile::WriteChecked(const void* bytes, int32_t count) { return IsOpen() && Write(bytes, count); }

int CZVFile::Flush() {
    if (!Writing()) {
        m_fill = m_readPos = 0;
        return 1;
    }
    const bool written = platform::WriteFully(m_fd, m_buffer.data(), m_fill);
    m_fill = 0;
    return written;
}

int CZVFile::Read(void* out, int32_t count) {
    if (m_mode != kRead || count < 0 || (!out && count > 0)) return 0;
    auto* bytes = static_cast<uint8_t*>(out);
    const int32_t buffered = std::min(count, m_fill - m_readPos);
    if (buffered > 0) std::memcpy(bytes, m_buffer.data() + m_readPos, buffered);
    m_readPos += buffered;
    const int32_t rest = count - buffered;
    return rest == 0 || platform::ReadFully(m_fd, bytes + buffered, rest) == rest;
}

int CZVFile::ReadBlock(void* out, int32_t count) {
    if (m_mode != kRead || count < 0 || (!out && count > 0)) return 0;
    auto* bytes = static_cast<uint8_t*>(out);
    while (count > 0) {
        if (m_readPos == m_fill) {
            const ssize_t got = platform::ReadFully(m_fd, m_buffer.data(), m_buffer.size());
            m_fill = m_readPos = 0;
            if (got <= 0) return 0;
            m_fill = static_cast<int32_t>(got);
        }
        const int32_t piece = std::min(count, m_fill - m_readPos);
        std::memcpy(bytes, m_buffer.data() + m_readPos, piece);
        m_readPos += piece;
        bytes += piece;
        count -= piece;
    }
    return 1;
}

int64_t CZVFile::Seek(int64_t distance, int method) {
    if (m_fd < 0) return -1;
    if (m_mode == kRead && method == SEEK_CUR) {
        const int64_t position = GetPosition();
        if (position < 0) return -1;
        distance += position;
        method = SEEK_SET;
    }
    if (Writing() && !Flush()) return -1;
    const off_t position = ::lseek(m_fd, distance, method);
    if (position < 0) return -1;  // a reader keeps what it had read ahead, and its place
    m_fill = m_readPos = 0;
    return position;
}

int64_t CZVFile::GetPosition() const {
    const off_t position = m_fd >= 0 ? ::lseek(m_fd, 0, SEEK_CUR) : -1;
    if (position < 0) return -1;
    return m_mode == kRead ? position - (m_fill - m_readPos) : position + m_fill;
}

// --- Typed values ---

template <typename T>
int CZVFile::ReadValue(T& value) {
    uint8_t bytes[sizeof(T)];
    if (!ReadBlock(bytes, sizeof(T))) return 0;
    value = LoadLE<T>(bytes);
    return 1;
}

template <typename T>
int CZVFile::WriteValue(T value) {
    uint8_t bytes[sizeof(T)];
    StoreLE(bytes, value);
    return WriteChecked(bytes, sizeof(T));
}

int CZVFile::ReadByte(uint8_t& value) { return ReadValue(value); }
int CZVFile::ReadShort(uint16_t& value) { return ReadValue(value); }
int CZVFile::ReadInt(int32_t& value) { return ReadValue(value); }
int CZVFile::WriteByte(uint8_t value) { return WriteValue(value); }
int CZVFile::WriteShort(uint16_t value) { return WriteValue(value); }
int CZVFile::WriteInt(int32_t value) { return WriteValue(value); }

int CZVFile::ReadShorts4(uint16_t& a, uint16_t& b, uint16_t& c, uint16_t& d) {
    uint8_t bytes[8];
    if (!ReadBlock(bytes, sizeof(bytes))) return 0;
    a = LoadLE<uint16_t>(bytes);
    b = LoadLE<uint16_t>(bytes + 2);
    c = LoadLE<uint16_t>(bytes + 4);
    d = LoadLE<uint16_t>(bytes + 6);
    return 1;
}

int CZVFile::WriteShorts4(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    uint8_t bytes[8];
    StoreLE(bytes, a);
    StoreLE(bytes + 2, b);
    StoreLE(bytes + 4, c);
    StoreLE(bytes + 6, d);
    return WriteChecked(bytes, sizeof(bytes));
}

bool CZVFile::ReadText(std::string& bytes, int64_t size) {
    bytes.clear();
    while (static_cast<int64_t>(bytes.size()) < size) {
        const size_t at = bytes.size();
        const auto piece = static_cast<int32_t>(std::min<int64_t>(kTextPiece, size - at));
        bytes.resize(at + piece);
        if (!ReadBlock(bytes.data() + at, piece)) return false;
    }
    return true;
}

int CZVFile::ReadString(std::string* text) {
    int32_t count = 0;
    if (!ReadInt(count)) return 0;
    const bool monitor = m_variant == ZVVariant::Monitor;
    const bool wide = monitor && (static_cast<uint32_t>(count) & kWideStringFlag);
    const int64_t size = wide ? (static_cast<uint32_t>(count) & ~kWideStringFlag) : count;
    if (size < 0 || (!monitor && size > kMaxStringLength)) return 0;
    std::string scratch;
    std::string& out = text ? *text : scratch;
    std::string bytes;
    if (!ReadText(bytes, size)) {
        out.clear();
        return 0;
    }
    AssignText(out, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, wide);
    return 1;
}

int CZVFile::WriteString(std::string_view text) {
    // The monitor's count keeps its top bit clear: that bit marks UTF-16.
    const size_t limit = m_variant == ZVVariant::Monitor ? INT32_MAX : kMaxStringLength;
    if (text.size() > limit) return 0;
    const auto count = static_cast<int32_t>(text.size());
    return WriteInt(count) && (count == 0 || WriteChecked(text.data(), count));
}

int CZVFile::ReadTime(CZVTime* time) {
    uint8_t bytes[kTimeRecordSize];
    if (!ReadBlock(bytes, sizeof(bytes))) return 0;
    uint16_t f[kTimeFields];
    for (int i = 0; i < kTimeFields; ++i) f[i] = LoadLE<uint16_t>(bytes + 2 * i);
    if (time) time->SetSystemTime({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
    return 1;
}

int CZVFile::WriteTime(const CZVTime& time) {
    platform::LocalTime r;
    time.GetSystemTime(r);
    uint8_t bytes[kTimeRecordSize];
    int i = 0;
    for (uint16_t field : {r.year, r.month, r.dayOfWeek, r.day, r.hour, r.minute, r.second, r.milliseconds})
        StoreLE(bytes + 2 * i++, field);
    return WriteChecked(bytes, sizeof(bytes));
}

int CZVFile::ReadTimeSpan(CZVTimeSpan* span) {
    int64_t value = 0;
    if (!ReadValue(value)) return 0;
    if (span) span->SetValue(value);
    return 1;
}

int CZVFile::WriteTimeSpan(const CZVTimeSpan& span) {
    const uint64_t magnitude = span.GetValue();
    return WriteValue<uint64_t>(span.IsNegative() ? 0 - magnitude : magnitude);
}

// --- File information ---

bool CZVFile::FetchInformation() {
    if (m_information) return true;
    struct statx status {};
    const unsigned wanted = STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME;
    if (::statx(AT_FDCWD, m_name.c_str(), 0, wanted, &status) != 0) return false;
    const unsigned basic = STATX_ATIME | STATX_MTIME | STATX_CTIME;
    if ((status.stx_mask & basic) != basic) return false;
    const statx_timestamp& creation = (status.stx_mask & STATX_BTIME) ? status.stx_btime : status.stx_ctime;
    m_information = Information{UtcRecord(creation), UtcRecord(status.stx_atime), UtcRecord(status.stx_mtime)};
    return true;
}

int CZVFile::GetCreationTime(CZVTime& time) {
    if (!FetchInformation()) return 0;
    time.SetSystemTime(m_information->creation);
    return 1;
}

int CZVFile::GetLastAccessTime(CZVTime& time) {
    if (!FetchInformation()) return 0;
    time.SetSystemTime(m_information->access);
    return 1;
}

int CZVFile::GetLastWriteTime(CZVTime& time) {
    if (!FetchInformation()) return 0;
    time.SetSystemTime(m_information->write);
    return 1;
}

int32_t CZVFile::GetChecksum() {
    const bool openedHere = !IsOpen();
    if (openedHere && !Open(kRead)) return 0;
    const int32_t sum = SumFromStart();
    if (openedHere) Close();
    return sum;
}

int32_t CZVFile::SumFromStart() {
    if (m_mode != kRead || Seek(0, SEEK_SET) != 0) return 0;
    uint32_t sum = 0;
    uint8_t block[kChecksumBlock];
    ssize_t got = 0;
    while ((got = platform::ReadFully(m_fd, block, sizeof(block))) > 0) {
        for (ssize_t i = 0; i < got; ++i) sum += block[i];
    }
    Seek(0, SEEK_SET);
    return got < 0 ? 0 : static_cast<int32_t>(sum);
}

int CZVFile::GetExtensionType() const {
    const size_t dot = m_name.rfind('.');
    if (dot == std::string::npos) return 0;
    const std::string extension = m_name.substr(dot + 1, 3);
    static const char* const kTypes[] = {"JPG", "HTM", "AU", "EXE", "GIF"};
    for (int i = 0; i < 5; ++i) {
        if (extension == kTypes[i]) return i + 1;
    }
    return 0;
}

// --- CMemoryFile ---

CMemoryFile::CMemoryFile(ZVVariant variant) : CZVFile(std::string(), variant) {}

int CMemoryFile::Open(int) { return 1; }

int CMemoryFile::IsOpen() const { return 1; }

int CMemoryFile::Write(const void* bytes, int32_t count) {
    if (count < 0 || (!bytes && count > 0)) return 0;
    const int64_t needed = int64_t{m_length} + count;
    if (needed > INT32_MAX) return 0;
    if (needed > m_capacity) {
        const int64_t capacity = (needed + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
        std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[capacity]);
        if (!grown) return 0;
        if (m_length > 0) std::memcpy(grown.get(), m_data.get(), m_length);
        m_data = std::move(grown);
        m_capacity = static_cast<int32_t>(std::min<int64_t>(capacity, INT32_MAX));
    }
    if (count > 0) std::memcpy(m_data.get() + m_length, bytes, count);
    m_length += count;
    return 1;
}
