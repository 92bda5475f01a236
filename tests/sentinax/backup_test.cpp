#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "sentinax/backup.h"
#include "sentinax/csvexport.h"
#include "support/temp_dir.h"

namespace {

std::string Int(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Entry(const std::string& name, uint32_t size) { return Int(static_cast<uint32_t>(name.size())) + name + Int(size); }

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder);
        std::filesystem::create_directory(other);
        testsupport::WriteFileText(folder + "/config.dat", "configuration");
        testsupport::WriteFileText(folder + "/Brenvik__01_02_03.LOG", std::string(70000, 'h'));
        testsupport::WriteFileText(folder + "/old.log", "lower");
        testsupport::WriteFileText(folder + "/notes.txt", "not taken");
        testsupport::WriteFileText(folder + "/.hidden.LOG", "not taken");
        std::filesystem::create_directory(folder + "/folder.LOG");
    }

    testsupport::TempDir dir;
    std::string folder = dir.File("program");
    std::string other = dir.File("elsewhere");
    std::string archive = dir.File("save.BAK");
};

TEST_F(BackupTest, WithoutHistoryOnlyTheConfigurationWhateverItsCase) {
    ASSERT_TRUE(CreateBackup(folder, archive, false));
    EXPECT_EQ(testsupport::ReadFileText(archive),
              Int(348) + Int(1) + Entry("config.dat", 13) + "configuration");
    struct stat status{};
    ASSERT_EQ(stat(archive.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(BackupTest, RoundTripWithHistoryRestoresEveryFile) {
    ASSERT_TRUE(CreateBackup(folder, archive, true));
    std::vector<CArchiveEntry> entries;
    ASSERT_TRUE(ListBackupFiles(folder, true, entries));
    ASSERT_EQ(entries.size(), 3u);
    testsupport::WriteFileText(other + "/CONFIG.DAT", "older");
    testsupport::WriteFileText(other + "/kept.LOG", "kept");
    ASSERT_TRUE(RestoreBackup(archive, other));
    EXPECT_EQ(testsupport::ReadFileText(other + "/CONFIG.DAT"), "configuration")
        << "the configuration lands where the program reads it";
    EXPECT_EQ(testsupport::ReadFileText(other + "/Brenvik__01_02_03.LOG"), std::string(70000, 'h'));
    EXPECT_EQ(testsupport::ReadFileText(other + "/old.log"), "lower");
    EXPECT_EQ(testsupport::ReadFileText(other + "/kept.LOG"), "kept");
    EXPECT_FALSE(std::filesystem::exists(other + "/config.dat"));
    struct stat status{};
    ASSERT_EQ(stat((other + "/CONFIG.DAT").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u) << "the restored passwords stay private";
}

TEST_F(BackupTest, FailedBackupLeavesTheEarlierArchive) {
    testsupport::WriteFileText(archive, "earlier archive");
    EXPECT_FALSE(CreateBackup(dir.File("no such folder"), archive, true));
    EXPECT_FALSE(CreateBackup(folder, dir.File("no such folder/x.BAK"), true));
    EXPECT_EQ(testsupport::ReadFileText(archive), "earlier archive");
    EXPECT_FALSE(std::filesystem::exists(archive + ".new"));
}

TEST_F(BackupTest, DamagedOrHostileArchiveWritesNothing) {
    const std::string good = Int(123) + Int(2) + Entry("CONFIG.DAT", 3) + Entry("A.LOG", 2) + "cfgab";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"short table", Int(348) + Int(2) + Entry("CONFIG.DAT", 3)},
        {"huge count", Int(348) + Int(0x7FFFFFFF) + Entry("CONFIG.DAT", 0)},
        {"short body", good.substr(0, good.size() - 1)},
        {"body beyond the file", Int(348) + Int(1) + Entry("CONFIG.DAT", 0xFFFFFFFF) + "x"},
        {"folder part", Int(348) + Int(1) + Entry("../escape.LOG", 1) + "x"},
        {"backslash", Int(348) + Int(1) + Entry("..\\escape.LOG", 1) + "x"},
        {"hidden", Int(348) + Int(1) + Entry(".profile", 1) + "x"},
        {"empty name", Int(348) + Int(1) + Entry("", 1) + "x"},
        {"twice", Int(348) + Int(2) + Entry("A.LOG", 1) + Entry("A.LOG", 1) + "xy"},
    };
    for (const auto& c : cases) {
        testsupport::WriteFileText(archive, c.bytes);
        EXPECT_FALSE(RestoreBackup(archive, other)) << c.what;
        EXPECT_TRUE(std::filesystem::is_empty(other)) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir.File("escape.LOG"))) << c.what;
    }
    EXPECT_FALSE(RestoreBackup(dir.File("missing.BAK"), other));

    // Any version is taken.
    testsupport::WriteFileText(archive, good);
    ASSERT_TRUE(RestoreBackup(archive, other));
    EXPECT_EQ(testsupport::ReadFileText(other + "/CONFIG.DAT"), "cfg");
    EXPECT_EQ(testsupport::ReadFileText(other + "/A.LOG"), "ab");
}

// Only the configuration and the history come back: another file in the
// program folder, such as the discovery override, would redirect the program.
TEST_F(BackupTest, OnlyConfigurationAndHistoryAreRestored) {
    testsupport::WriteFileText(archive, Int(348) + Int(5) + Entry("Dadidedezo.dat", 9) + Entry("CONFIG.DAT", 3) +
                                            Entry("notes.txt", 2) + Entry("CATALOG", 1) + Entry("B.log", 2) +
                                            "evil:4500" + "cfg" + "nt" + "c" + "bb");
    ASSERT_TRUE(RestoreBackup(archive, other));
    EXPECT_EQ(testsupport::ReadFileText(other + "/CONFIG.DAT"), "cfg");
    EXPECT_EQ(testsupport::ReadFileText(other + "/B.log"), "bb");
    for (const char* passed : {"Dadidedezo.dat", "notes.txt", "CATALOG"})
        EXPECT_FALSE(std::filesystem::exists(other + "/" + passed)) << passed;
}

// A comma inside a field stays in its column: such a field is quoted, so the
// columns after it do not shift.
TEST(CsvExport, TitlesThenOneLinePerRecordQuotedWhereNeeded) {
    testsupport::TempDir dir;
    const std::string path = dir.File("history.CSV");
    ASSERT_TRUE(WriteCsvFile(path, {"Date", "Air", "Notes"},
                             {{"1/1/2010", "64", "a, b"}, {"1/2/2010", "-", ""}}));
    EXPECT_EQ(testsupport::ReadFileText(path), "Date,Air,Notes\r\n1/1/2010,64,\"a, b\"\r\n1/2/2010,-,\r\n");
    const std::pair<const char*, const char*> fields[] = {
        {"plain", "plain"},     {"", ""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""}, {"two\r\nlines", "\"two\r\nlines\""},
        {"a\nb", "\"a\nb\""},    {"1,5", "\"1,5\""},
    };
    for (const auto& [field, written] : fields)
        EXPECT_EQ(FormatCsvField(field), written) << field;
    EXPECT_EQ(FormatCsvLine({"only"}), "only\r\n");
    EXPECT_EQ(FormatCsvLine({}), "");
    EXPECT_FALSE(WriteCsvFile(dir.File("no folder/x.CSV"), {"A"}, {}));
}

}  // namespace
