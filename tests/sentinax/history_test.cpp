#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/program.h"
#include "sentinax/system.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        system.adapterName = "Brenvik: 01-23-45";
        system.airTemperature = 64;
    }

    // A history record of `system`'s readings, stamped at midnight of the date.
    std::string Record(uint16_t year, uint16_t month, uint16_t day, int32_t air) {
        CSystem record;
        record.reportTime.Set(year, month, 0, day, 0, 0, 0, 0);
        record.airTemperature = air;
        const std::string path = dir.File("one.rec");
        CZVFile file(path, ZVVariant::Monitor);
        EXPECT_TRUE(file.Open(CZVFile::kCreate) && record.SaveHistoryRecord(file, 0) && file.Close());
        return testsupport::ReadFileText(path);
    }

    // The air temperature of every record of the history file, in order.
    std::vector<int32_t> Airs() {
        std::vector<int32_t> airs;
        CZVFile file(system.GetHistoryFileName(0), ZVVariant::Monitor);
        if (!file.Open(CZVFile::kRead)) return airs;
        CSystem record;
        while (record.LoadHistoryRecord(file)) airs.push_back(record.airTemperature);
        EXPECT_EQ(file.GetPosition(), file.GetLength()) << "a record was left half read";
        return airs;
    }

    testsupport::VirtualClock clock;  // local time 1 January 2010, 0:00
    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CSystem system;
};

TEST_F(HistoryFileTest, NamedAfterTheAdapterInTheProgramFolder) {
    const std::string folder = platform::GetProgramFolder();
    EXPECT_EQ(system.GetHistoryFileName(0), folder + "/Brenvik__01_23_45.LOG");
    EXPECT_EQ(system.GetHistoryFileName(1), folder + "/Brenvik__01_23_45.TMP");
    system.adapterName = "a\xE9/..\\b";
    EXPECT_EQ(system.GetHistoryFileName(0), folder + "/a_____b.LOG");
}

TEST_F(HistoryFileTest, FirstAppendCreatesTheFile) {
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), std::vector<int32_t>{64});
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(1)));
    system.airTemperature = 65;
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), (std::vector<int32_t>{64, 65}));
}

TEST_F(HistoryFileTest, RewriteDropsRecordsOfNinetyDaysOrMore) {
    testsupport::WriteFileText(system.GetHistoryFileName(0), Record(2009, 10, 2, 1) + Record(2009, 10, 3, 2) +
                                                                 Record(2009, 10, 4, 3) + Record(2009, 12, 31, 4) +
                                                                 Record(2010, 6, 1, 5));
    ASSERT_TRUE(system.AppendHistory());
    // 91 and 90 days go; 89 days, yesterday and a stamp ahead of the clock stay.
    EXPECT_EQ(Airs(), (std::vector<int32_t>{3, 4, 5, 64}));
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(1)));
}

// A reader that opened the history before a rewrite (a backup copying it)
// reads the old history whole: the rewrite never writes into that file.
TEST_F(HistoryFileTest, ReaderOfTheOldHistoryIsUndisturbedByTheRewrite) {
    const std::string old = Record(2009, 8, 1, 1) + Record(2009, 12, 31, 2);
    const std::string log = system.GetHistoryFileName(0);
    testsupport::WriteFileText(log, old);
    CZVFile reader(log, ZVVariant::Monitor);
    ASSERT_TRUE(reader.Open(CZVFile::kRead));
    ASSERT_TRUE(system.AppendHistory());
    std::string seen(old.size(), '\0');
    ASSERT_TRUE(reader.Read(seen.data(), static_cast<int32_t>(seen.size())));
    EXPECT_EQ(seen, old);
    uint8_t more = 0;
    EXPECT_FALSE(reader.ReadByte(more)) << "the old history ends where it did";
    EXPECT_EQ(Airs(), (std::vector<int32_t>{2, 64}));
}

TEST_F(HistoryFileTest, DamagedHistoryKeepsWhatReadsAndEndsCleanly) {
    const std::string kept = Record(2009, 12, 1, 7);
    std::string notADate = Record(2009, 12, 2, 8);
    notADate[6] = 13;  // month 13
    const std::string cut = Record(2009, 12, 3, 9);
    testsupport::WriteFileText(system.GetHistoryFileName(0), kept + notADate + cut.substr(0, cut.size() / 2));
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), (std::vector<int32_t>{7, 64}));
}

TEST_F(HistoryFileTest, GarbageHistoryIsReplacedByTheNewRecord) {
    testsupport::WriteFileText(system.GetHistoryFileName(0), std::string(3000, '\xFF'));
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), std::vector<int32_t>{64});
}

// After the first write the records are added at the end of the file; a
// file that someone else changed since is read and rewritten whole instead,
// so that no record lands behind a torn one.
TEST_F(HistoryFileTest, ChangedHistoryIsRewrittenNotAppendedTo) {
    struct Case {
        const char* what;
        std::function<void(const std::string& log)> change;
    };
    const std::string old = Record(2009, 8, 1, 1);
    const std::string cut = Record(2009, 12, 3, 9);
    const Case cases[] = {
        {"replaced", [&](const std::string& log) { testsupport::WriteFileText(log, old + Record(2009, 12, 2, 8)); }},
        {"grown by half a record",
         [&](const std::string& log) {
             std::ofstream(log, std::ios::binary | std::ios::app) << cut.substr(0, cut.size() / 2);
         }},
        {"cut", [&](const std::string& log) { std::filesystem::resize_file(log, 10); }},
    };
    const std::vector<std::vector<int32_t>> expected = {{8, 65}, {64, 65}, {65}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        std::filesystem::remove(system.GetHistoryFileName(0));
        system.airTemperature = 64;
        ASSERT_TRUE(system.AppendHistory());
        cases[i].change(system.GetHistoryFileName(0));
        system.airTemperature = 65;
        ASSERT_TRUE(system.AppendHistory());
        EXPECT_EQ(Airs(), expected[i]);
    }
}

// Between rewrites a record may outlive the kept days by up to a day; the
// first record past that rewrites the history without it.
TEST_F(HistoryFileTest, AppendedHistoryIsRewrittenOnceARecordIsADayPastTheKeptDays) {
    ASSERT_TRUE(system.AppendHistory());
    clock.SetLocalTime({2010, 4, 0, 1, 0, 0, 0, 0});  // 90 days on
    system.airTemperature = 65;
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), (std::vector<int32_t>{64, 65}));
    clock.SetLocalTime({2010, 4, 0, 2, 0, 0, 0, 0});  // 91 days on
    system.airTemperature = 66;
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), (std::vector<int32_t>{65, 66}));
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(1)));
}

// The file size limit makes the write of the new record fail after the old
// records were copied back.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int);
};

TEST_F(HistoryFileTest, FailedRewriteLeavesTheOldHistory) {
    const std::string old = Record(2009, 12, 30, 1) + Record(2009, 12, 31, 2);
    const std::string log = system.GetHistoryFileName(0);
    testsupport::WriteFileText(log, old);
    {
        FileSizeLimit limit(old.size() + 10);
        EXPECT_FALSE(system.AppendHistory());
    }
    EXPECT_EQ(testsupport::ReadFileText(log), old);
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(1)));
}

TEST_F(HistoryFileTest, FailedAppendLeavesTheHistoryAsItWas) {
    ASSERT_TRUE(system.AppendHistory());
    const std::string log = system.GetHistoryFileName(0);
    const std::string before = testsupport::ReadFileText(log);
    system.airTemperature = 65;
    {
        FileSizeLimit limit(before.size() + 10);
        EXPECT_FALSE(system.AppendHistory());
    }
    EXPECT_EQ(testsupport::ReadFileText(log), before);
    system.airTemperature = 66;
    ASSERT_TRUE(system.AppendHistory());
    EXPECT_EQ(Airs(), (std::vector<int32_t>{64, 66}));
}

TEST_F(HistoryFileTest, FailedFirstWriteLeavesNoFile) {
    {
        FileSizeLimit limit(10);
        EXPECT_FALSE(system.AppendHistory());
    }
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(0)));
}

}  // namespace
