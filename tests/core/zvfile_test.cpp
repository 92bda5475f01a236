#include "core/zvfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/report.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Image(const CMemoryFile& file) { return Bytes(file.GetData(), file.GetData() + file.GetDataLength()); }

Bytes FileBytes(const std::string& path) {
    const std::string text = testsupport::ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    testsupport::WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

Bytes Le32(uint32_t value) { return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)}; }

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Sunday 10 March 2024, 13:45:30.250; the record counts Sunday as 0.
CZVTime SundayAfternoon() {
    CZVTime time;
    time.Set(2024, 3, 0, 10, 13, 45, 30, 250);
    return time;
}

CZVTimeSpan Span(int64_t value) {
    CZVTimeSpan span;
    span.SetValue(value);
    return span;
}

struct FileValueCase {
    const char* name;
    std::function<int(CZVFile&)> write;
    Bytes image;
    std::function<bool(CZVFile&)> readsBack;
};

class FileValues : public testing::TestWithParam<FileValueCase> {
protected:
    testsupport::TempDir m_dir;
};

TEST_P(FileValues, HaveTheirLayoutAndSurviveAFile) {
    const FileValueCase& c = GetParam();
    CMemoryFile memory(ZVVariant::Tablet);
    ASSERT_EQ(c.write(memory), 1);
    EXPECT_EQ(Image(memory), c.image);

    const std::string path = m_dir.File("values.dat");
    {
        CZVFile file(path, ZVVariant::Tablet);
        ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
        ASSERT_EQ(c.write(file), 1);
    }
    EXPECT_EQ(FileBytes(path), c.image);
    CZVFile file(path, ZVVariant::Tablet);
    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    EXPECT_TRUE(c.readsBack(file));
    uint8_t extra = 0;
    EXPECT_EQ(file.ReadByte(extra), 0);
}

const FileValueCase kFileValueCases[] = {
    {"Byte",
     [](CZVFile& f) { return f.WriteByte(0xAB); },
     {0xAB},
     [](CZVFile& f) {
         uint8_t v = 0;
         return f.ReadByte(v) && v == 0xAB;
     }},
    {"Short",
     [](CZVFile& f) { return f.WriteShort(0x1234); },
     {0x34, 0x12},
     [](CZVFile& f) {
         uint16_t v = 0;
         return f.ReadShort(v) && v == 0x1234;
     }},
    {"Int",
     [](CZVFile& f) { return f.WriteInt(-2); },
     {0xFE, 0xFF, 0xFF, 0xFF},
     [](CZVFile& f) {
         int32_t v = 0;
         return f.ReadInt(v) && v == -2;
     }},
    {"FourShorts",
     [](CZVFile& f) { return f.WriteShorts4(1, 2, 3, 0xFFFF); },
     {1, 0, 2, 0, 3, 0, 0xFF, 0xFF},
     [](CZVFile& f) {
         uint16_t a, b, c, d;
         return f.ReadShorts4(a, b, c, d) && a == 1 && b == 2 && c == 3 && d == 0xFFFF;
     }},
    {"String",
     [](CZVFile& f) { return f.WriteString("abc"); },
     {3, 0, 0, 0, 'a', 'b', 'c'},
     [](CZVFile& f) {
         std::string s;
         return f.ReadString(&s) && s == "abc";
     }},
    {"EmptyString",
     [](CZVFile& f) { return f.WriteString(""); },
     {0, 0, 0, 0},
     [](CZVFile& f) {
         std::string s = "x";
         return f.ReadString(&s) && s.empty();
     }},
    {"LongestString", [](CZVFile& f) { return f.WriteString(std::string(5000, 'z')); },
     Cat({Le32(5000), Bytes(5000, 'z')}),
     [](CZVFile& f) {
         std::string s;
         return f.ReadString(&s) && s == std::string(5000, 'z');
     }},
    {"SkippedString",
     [](CZVFile& f) { return f.WriteString("ab") && f.WriteInt(7); },
     {2, 0, 0, 0, 'a', 'b', 7, 0, 0, 0},
     [](CZVFile& f) {
         int32_t v = 0;
         return f.ReadString(nullptr) && f.ReadInt(v) && v == 7;
     }},
    {"Time",
     [](CZVFile& f) { return f.WriteTime(SundayAfternoon()); },
     {0xE8, 0x07, 3, 0, 0, 0, 10, 0, 13, 0, 45, 0, 30, 0, 0xFA, 0},
     [](CZVFile& f) {
         CZVTime t;
         return f.ReadTime(&t) && t == SundayAfternoon() && t.GetDayOfWeek() == 6;
     }},
    {"SkippedTime",
     [](CZVFile& f) { return f.WriteTime(SundayAfternoon()) && f.WriteByte(9); },
     {0xE8, 0x07, 3, 0, 0, 0, 10, 0, 13, 0, 45, 0, 30, 0, 0xFA, 0, 9},
     [](CZVFile& f) {
         uint8_t v = 0;
         return f.ReadTime(nullptr) && f.ReadByte(v) && v == 9;
     }},
    {"Span",
     [](CZVFile& f) { return f.WriteTimeSpan(Span(0x0102030405)); },
     {5, 4, 3, 2, 1, 0, 0, 0},
     [](CZVFile& f) {
         CZVTimeSpan s;
         return f.ReadTimeSpan(&s) && !s.IsNegative() && s.GetValue() == 0x0102030405u;
     }},
    {"NegativeSpan",
     [](CZVFile& f) { return f.WriteTimeSpan(Span(-2)); },
     {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     [](CZVFile& f) {
         CZVTimeSpan s;
         return f.ReadTimeSpan(&s) && s.IsNegative() && s.GetValue() == 2u;
     }},
};

INSTANTIATE_TEST_SUITE_P(CZVFile, FileValues, testing::ValuesIn(kFileValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

class CZVFileTest : public testing::Test {
protected:
    std::string Path(const char* name = "file.dat") const { return m_dir.File(name); }
    testsupport::TempDir m_dir;
};

TEST_F(CZVFileTest, BufferFlushesWhenAWriteWouldFillIt) {
    CZVFile file(Path(), ZVVariant::Tablet);
    ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
    const Bytes data(20000, 'd');
    ASSERT_EQ(file.Write(data.data(), 4999), 1);
    EXPECT_EQ(file.GetLength(), 0) << "still buffered";
    EXPECT_EQ(file.GetPosition(), 4999);
    ASSERT_EQ(file.Write(data.data(), 1), 1);
    EXPECT_EQ(file.GetLength(), 4999);
    EXPECT_EQ(file.GetPosition(), 5000);

    ASSERT_EQ(file.Close(), 1);
    ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
    ASSERT_EQ(file.Write(data.data(), 10), 1);
    ASSERT_EQ(file.Write(data.data(), 12000), 1);
    EXPECT_EQ(file.GetLength(), 12010) << "the 10, then the 12000 straight through";
}

TEST_F(CZVFileTest, KeepsTheOrderOfWritesAcrossTheBuffer) {
    {
        CZVFile file(Path(), ZVVariant::Tablet, 16);
        ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
        for (int i = 0; i < 100; ++i) {
            const Bytes chunk(i % 23, static_cast<uint8_t>(i));
            ASSERT_EQ(file.Write(chunk.data(), static_cast<int32_t>(chunk.size())), 1);
        }
    }  // the destructor flushes
    Bytes expected;
    for (int i = 0; i < 100; ++i) expected.insert(expected.end(), i % 23, static_cast<uint8_t>(i));
    EXPECT_EQ(FileBytes(Path()), expected);
}

TEST_F(CZVFileTest, MixedReadsSeeksAndPositionsAgree) {
    Bytes data(100);
    for (int i = 0; i < 100; ++i) data[i] = static_cast<uint8_t>(i);
    WriteBytes(Path(), data);

    CZVFile file(Path(), ZVVariant::Tablet, 16);
    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    uint8_t out[40] = {};
    ASSERT_EQ(file.ReadBlock(out, 10), 1);
    EXPECT_EQ(file.GetPosition(), 10);
    ASSERT_EQ(file.Read(out, 20), 1);
    EXPECT_EQ(out[0], 10);
    EXPECT_EQ(out[19], 29);
    EXPECT_EQ(file.GetPosition(), 30);
    ASSERT_EQ(file.ReadBlock(out, 3), 1);
    EXPECT_EQ(file.Seek(2, SEEK_CUR), 35);
    uint8_t byte = 0;
    ASSERT_EQ(file.ReadByte(byte), 1);
    EXPECT_EQ(byte, 35);
    EXPECT_EQ(file.Seek(-1, SEEK_END), 99);
    ASSERT_EQ(file.ReadByte(byte), 1);
    EXPECT_EQ(byte, 99);
    EXPECT_EQ(file.Read(out, 1), 0) << "past the end";
    EXPECT_EQ(file.Seek(90, SEEK_SET), 90);
    EXPECT_EQ(file.ReadBlock(out, 11), 0) << "the file ends before";
}

TEST_F(CZVFileTest, AFailedSeekLeavesTheReaderWhereItWas) {
    Bytes data(100);
    for (int i = 0; i < 100; ++i) data[i] = static_cast<uint8_t>(i);
    WriteBytes(Path(), data);

    CZVFile file(Path(), ZVVariant::Tablet, 16);
    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    uint8_t out[3] = {};
    ASSERT_EQ(file.ReadBlock(out, 3), 1);  // 16 bytes read ahead
    EXPECT_EQ(file.Seek(-10, SEEK_CUR), -1);
    EXPECT_EQ(file.Seek(-200, SEEK_END), -1);
    EXPECT_EQ(file.GetPosition(), 3);
    uint8_t byte = 0;
    ASSERT_EQ(file.ReadByte(byte), 1);
    EXPECT_EQ(byte, 3);
}

TEST_F(CZVFileTest, OpenModes) {
    CZVFile file(Path(), ZVVariant::Tablet);
    EXPECT_EQ(file.Exists(), 0);
    EXPECT_EQ(file.Open(CZVFile::kRead), 0);
    EXPECT_EQ(file.IsOpen(), 0);
    EXPECT_EQ(file.GetLength(), 0);

    ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
    file.WriteInt(1);
    ASSERT_EQ(file.Open(CZVFile::kAppend), 1) << "reopening flushes and closes first";
    file.WriteInt(2);
    EXPECT_EQ(file.Open(4), 0);
    EXPECT_EQ(file.IsOpen(), 0) << "a bad mode leaves the file closed";
    EXPECT_EQ(file.GetLength(), 8);
    EXPECT_EQ(FileBytes(Path()), (Bytes{1, 0, 0, 0, 2, 0, 0, 0}));

    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    EXPECT_EQ(file.WriteInt(3), 0) << "a file open for reading takes no bytes";
    ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
    file.Close();
    EXPECT_EQ(file.GetLength(), 0) << "create truncates";
    EXPECT_EQ(file.Exists(), 1);
}

TEST_F(CZVFileTest, WritesThroughADescriptorItLeavesOpen) {
    const int fd = ::open(Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    {
        CZVFile file(Path(), ZVVariant::Monitor);
        ASSERT_EQ(file.OpenDescriptor(fd), 1);
        EXPECT_EQ(file.WriteInt(1), 1);
        EXPECT_EQ(file.Close(), 1);
    }
    EXPECT_EQ(::write(fd, "\2", 1), 1) << "the caller's descriptor is still open, after the file's bytes";
    EXPECT_EQ(::close(fd), 0);
    EXPECT_EQ(FileBytes(Path()), (Bytes{1, 0, 0, 0, 2}));
    CZVFile file(Path(), ZVVariant::Monitor);
    EXPECT_EQ(file.OpenDescriptor(-1), 0);
    EXPECT_EQ(file.IsOpen(), 0);
}

TEST_F(CZVFileTest, TheTabletReportsMisusedOpens) {
    std::vector<std::string> reports;
    ASSERT_TRUE(platform::InstallReportHook([&reports](platform::ReportKind, const std::string& text) {
        reports.push_back(text.substr(0, text.find(':')));
    }));
    testing::internal::CaptureStderr();
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Monitor}) {
        CZVFile file(Path(), variant);
        file.Open(CZVFile::kCreate);
        EXPECT_EQ(file.Open(CZVFile::kAppend), 1) << "reopening still works";
        EXPECT_EQ(file.Open(0), 0);
    }
    testing::internal::GetCapturedStderr();
    platform::RemoveReportHook();
    EXPECT_THAT(reports, testing::ElementsAre("zvfile(line 150", "zvfile(line 150", "zvfile(line 168"));
}

struct StringLimitCase {
    ZVVariant variant;
    int32_t length;
    bool stored;
};

std::string StringLimitName(const StringLimitCase& c) {
    const char* const names[] = {"Tablet", "Config", "Monitor"};
    return names[static_cast<int>(c.variant)] + std::to_string(c.length);
}

void PrintTo(const StringLimitCase& c, std::ostream* os) { *os << StringLimitName(c); }
void PrintTo(const FileValueCase& c, std::ostream* os) { *os << c.name; }

class FileStringLimits : public testing::TestWithParam<StringLimitCase> {
protected:
    testsupport::TempDir m_dir;
};

TEST_P(FileStringLimits, WhatIsWrittenReadsBack) {
    const StringLimitCase& c = GetParam();
    const std::string path = m_dir.File("s.dat");
    const std::string text(c.length, 'w');
    {
        CZVFile file(path, c.variant);
        ASSERT_EQ(file.Open(CZVFile::kCreate), 1);
        EXPECT_EQ(file.WriteString(text), c.stored ? 1 : 0);
        file.WriteInt(42);
    }
    CZVFile file(path, c.variant);
    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    if (c.stored) {
        std::string back;
        ASSERT_EQ(file.ReadString(&back), 1);
        EXPECT_EQ(back, text);
    }
    int32_t next = 0;
    ASSERT_EQ(file.ReadInt(next), 1);
    EXPECT_EQ(next, 42);
}

INSTANTIATE_TEST_SUITE_P(CZVFile, FileStringLimits,
                         testing::Values(StringLimitCase{ZVVariant::Tablet, 5000, true},
                                         StringLimitCase{ZVVariant::Tablet, 5001, false},
                                         StringLimitCase{ZVVariant::Config, 5001, false},
                                         StringLimitCase{ZVVariant::Monitor, 70000, true}),
                         [](const auto& info) { return StringLimitName(info.param); });

TEST_F(CZVFileTest, StoredCountsOutsideTheLimitsFail) {
    // 5001 characters written by some other hand; then a negative count.
    WriteBytes(Path(), Cat({Le32(5001), Bytes(5001, 'q'), Le32(0xFFFFFFFF), Bytes(4, 'n')}));
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor}) {
        CZVFile file(Path(), variant);
        ASSERT_EQ(file.Open(CZVFile::kRead), 1);
        std::string text = "kept";
        if (variant == ZVVariant::Monitor) {
            ASSERT_EQ(file.ReadString(&text), 1);
            EXPECT_EQ(text.size(), 5001u);
            continue;
        }
        EXPECT_EQ(file.ReadString(&text), 0);
        EXPECT_EQ(text, "kept");
        int32_t next = 0;
        ASSERT_EQ(file.ReadInt(next), 1) << "the stream stands after the count";
        EXPECT_EQ(next, 0x71717171);
        file.Seek(4 + 5001, SEEK_SET);
        EXPECT_EQ(file.ReadString(&text), 0);
        EXPECT_EQ(text, "kept");
    }
}

TEST_F(CZVFileTest, StringCutShortByTheEndOfTheFileFails) {
    // A monitor count near 2^31 on a tiny file must not allocate it all.
    for (uint32_t count : {10u, 0x7FFFFFF0u}) {
        WriteBytes(Path(), Cat({Le32(count), Bytes(6, 'a')}));
        CZVFile file(Path(), ZVVariant::Monitor);
        ASSERT_EQ(file.Open(CZVFile::kRead), 1);
        std::string text = "kept";
        EXPECT_EQ(file.ReadString(&text), 0);
        EXPECT_TRUE(text.empty());
    }
}

TEST_F(CZVFileTest, MonitorReadsUtf16Strings) {
    // "Aé€" in UTF-16LE, then an odd byte count of one character and a half.
    WriteBytes(Path(), {6, 0, 0, 0x80, 'A', 0, 0xE9, 0, 0xAC, 0x20, 3, 0, 0, 0x80, 'B', 0, 'C'});
    CZVFile monitor(Path(), ZVVariant::Monitor);
    ASSERT_EQ(monitor.Open(CZVFile::kRead), 1);
    std::string text;
    ASSERT_EQ(monitor.ReadString(&text), 1);
    EXPECT_EQ(text, "A\xE9\x80");
    ASSERT_EQ(monitor.ReadString(&text), 1);
    EXPECT_EQ(text, "B");

    CZVFile tablet(Path(), ZVVariant::Tablet);
    ASSERT_EQ(tablet.Open(CZVFile::kRead), 1);
    EXPECT_EQ(tablet.ReadString(&text), 0);
}

TEST_F(CZVFileTest, FileTimesComeFromTheSystemInUtc) {
    CZVFile file(Path(), ZVVariant::Monitor);
    CZVTime time = SundayAfternoon();
    EXPECT_EQ(file.GetLastWriteTime(time), 0) << "no such file";
    EXPECT_EQ(time, SundayAfternoon());

    WriteBytes(Path(), {1});
    // Tuesday 15 June 2021, 12:34:56.789 UTC.
    const timespec stamps[2] = {{1623760496, 789000000}, {1623760496, 789000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path().c_str(), stamps, 0), 0);
    ASSERT_EQ(file.GetLastWriteTime(time), 1) << "a failed query is not kept";
    CZVTime expected;
    expected.Set(2021, 6, 2, 15, 12, 34, 56, 789);
    EXPECT_EQ(time, expected);
    ASSERT_EQ(file.GetLastAccessTime(time), 1);
    EXPECT_EQ(time, expected);
    ASSERT_EQ(file.GetCreationTime(time), 1);
    EXPECT_GE(time.GetYear(), 2024);
}

TEST_F(CZVFileTest, ChecksumSumsEveryByte) {
    Bytes data(2500, 0xFF);
    data.push_back(3);
    WriteBytes(Path(), data);
    CZVFile file(Path(), ZVVariant::Tablet);
    EXPECT_EQ(file.GetChecksum(), 2500 * 255 + 3);
    EXPECT_EQ(file.IsOpen(), 0);

    ASSERT_EQ(file.Open(CZVFile::kRead), 1);
    uint8_t byte = 0;
    file.ReadBlock(&byte, 1);
    EXPECT_EQ(file.GetChecksum(), 2500 * 255 + 3);
    EXPECT_EQ(file.GetPosition(), 0) << "back at the start";

    CZVFile missing(Path("missing.dat"), ZVVariant::Tablet);
    EXPECT_EQ(missing.GetChecksum(), 0);
}

// A pipe can be opened by name but not positioned: the seek to the start fails.
TEST_F(CZVFileTest, ChecksumClosesWhatItOpenedWhenTheFileCannotBeRewound) {
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    // A writer keeps the open for reading from waiting for one.
    const int writer = open(Path("pipe").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    CZVFile file(Path("pipe"), ZVVariant::Tablet);
    EXPECT_EQ(file.GetChecksum(), 0);
    EXPECT_EQ(file.IsOpen(), 0);
    close(writer);
}

TEST(CZVFileName, ExtensionTypes) {
    const std::pair<const char*, int> cases[] = {
        {"photo.jpg", 0}, {"PAGE.HTML", 2}, {"a.JPG", 1},  {"sound.AU", 3},
        {"x.tar.EXE", 4}, {"p.GIF", 5},     {"README", 0}, {"a.GI", 0},
    };
    for (const auto& [name, type] : cases) EXPECT_EQ(CZVFile(name, ZVVariant::Tablet).GetExtensionType(), type) << name;
}

TEST(CMemoryFile, CollectsEveryWriteInOrder) {
    CMemoryFile file(ZVVariant::Monitor);
    EXPECT_EQ(file.Open(CZVFile::kRead), 1);
    EXPECT_EQ(file.IsOpen(), 1);
    Bytes expected;
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(file.WriteInt(i), 1);
        const Bytes le = Le32(i);
        expected.insert(expected.end(), le.begin(), le.end());
    }
    ASSERT_EQ(file.WriteString(std::string(3000, 'm')), 1);
    expected.insert(expected.end(), {0xB8, 0x0B, 0, 0});
    expected.insert(expected.end(), 3000, 'm');
    EXPECT_EQ(Image(file), expected);
    EXPECT_EQ(file.GetLength(), static_cast<int64_t>(expected.size()));
}

}  // namespace
