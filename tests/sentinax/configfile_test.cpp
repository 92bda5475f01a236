#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "sentinax/configfile.h"
#include "sentinax/emailserver.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

class NoDns final : public CMxResolver {
public:
    bool QueryMx(const std::string&, std::vector<std::string>&, int& error) override {
        error = 1;
        return false;
    }
};

// Little-endian file images built by hand.
class Image {
public:
    Image& Int(int32_t value) {
        for (int i = 0; i < 4; ++i) m_bytes += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
        return *this;
    }
    Image& Text(const std::string& text) {
        Int(static_cast<int32_t>(text.size()));
        m_bytes += text;
        return *this;
    }
    Image& Raw(const std::string& bytes) {
        m_bytes += bytes;
        return *this;
    }
    const std::string& str() const { return m_bytes; }

private:
    std::string m_bytes;
};

class ConfigFileTest : public ::testing::Test {
protected:
    ConfigFileTest() {
        config.left = 10;
        config.top = 20;
        config.width = 800;
        config.height = 600;
        config.columnWidths = {50, 60, 70};
        config.backupReminder = 0;
        for (const char* name : {"Pool One", "Pool Two"}) {
            auto system = std::make_shared<CSystem>();
            system->name = name;
            system->adapterName = std::string("Brenvik: ") + name;
            system->password = "secret";
            config.systems.push_back(system);
        }
        email.SetSmtpServer("mail.example.com");
        email.SetSenderAddress("monitor@example.com");
        email.SetPassword("pw");
        email.SetDefaultRecipient("boss@example.com");
    }

    // A settings record in the layout of an older version, by hand.
    static std::string OldRecord(int32_t version) {
        Image record;
        record.Text("Old").Text("Brenvik: 01-02-03").Text("pw");
        if (version >= 131) record.Text("notes");
        if (version >= 132) record.Int(1).Text("a@x");
        if (version >= 133) record.Int(1).Int(1).Int(0).Int(1);
        if (version >= 141) record.Text("street").Text("city").Text("").Text("12345").Text("555");
        if (version >= 144) record.Int(1);
        return record.str();
    }

    // One system's settings record as the model writes it.
    std::string SystemRecord(CSystem& system) {
        const std::string path = dir.File("record");
        CZVFile file(path, ZVVariant::Monitor);
        EXPECT_TRUE(file.Open(CZVFile::kCreate) && system.SaveSettings(file) && file.Close());
        return testsupport::ReadFileText(path);
    }

    testsupport::VirtualClock clock;
    testsupport::TempDir dir;
    std::string path = dir.File("CONFIG.DAT");
    CMonitorConfig config;
    CEmailServer email{std::make_unique<NoDns>()};
};

TEST_F(ConfigFileTest, RoundTripKeepsEverythingAndHidesTheFile) {
    ASSERT_TRUE(SaveConfig(path, config, email));
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u) << "the file holds passwords";
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    CMonitorConfig loaded;
    CEmailServer other{std::make_unique<NoDns>()};
    ASSERT_TRUE(LoadConfig(path, loaded, other));
    EXPECT_TRUE(loaded.placementRead);
    EXPECT_FALSE(loaded.OpenMaximised());
    EXPECT_EQ(loaded.left, 10);
    EXPECT_EQ(loaded.top, 20);
    EXPECT_EQ(loaded.width, 800);
    EXPECT_EQ(loaded.height, 600);
    EXPECT_EQ(loaded.columnWidths, config.columnWidths);
    ASSERT_EQ(loaded.systems.size(), 2u);
    EXPECT_EQ(loaded.systems[1]->name, "Pool Two");
    EXPECT_EQ(loaded.systems[1]->password, "secret");
    EXPECT_EQ(loaded.backupReminder, 0);
    EXPECT_EQ(other.GetSmtpServer(), "mail.example.com");
    EXPECT_EQ(other.GetSenderAddress(), "monitor@example.com");
    EXPECT_EQ(other.GetPassword(), "pw");
    EXPECT_EQ(other.GetDefaultRecipient(), "boss@example.com");

    // Saving what was loaded gives the same bytes: the place does not creep.
    const std::string first = testsupport::ReadFileText(path);
    ASSERT_TRUE(SaveConfig(path, loaded, other));
    EXPECT_EQ(testsupport::ReadFileText(path), first);
}

TEST_F(ConfigFileTest, OlderVersionsHoldFewerFields) {
    const struct {
        int32_t version;
        std::string tail;
        bool placement;
        std::string recipient;
        int32_t reminder;
    } cases[] = {
        {129, "", false, "", 1},
        {131, "", true, "", 1},
        {143, Image().Text("smtp").Text("from@x").Text("pw").str(), true, "", 1},
        {144, Image().Text("smtp").Text("from@x").Text("pw").Text("to@x").Int(0).str(), true, "to@x", 0},
    };
    for (const auto& c : cases) {
        Image image;
        image.Int(c.version);
        if (c.placement) image.Int(1).Int(2).Int(300).Int(400).Int(1).Int(99);
        image.Int(1).Raw(OldRecord(c.version)).Raw(c.tail);
        testsupport::WriteFileText(path, image.str());
        CMonitorConfig loaded;
        CEmailServer mail{std::make_unique<NoDns>()};
        ASSERT_TRUE(LoadConfig(path, loaded, mail)) << c.version;
        EXPECT_EQ(loaded.placementRead, c.placement) << c.version;
        EXPECT_EQ(loaded.OpenMaximised(), !c.placement) << c.version;
        ASSERT_EQ(loaded.systems.size(), 1u) << c.version;
        EXPECT_EQ(loaded.systems[0]->name, "Old");
        EXPECT_EQ(mail.GetDefaultRecipient(), c.recipient) << c.version;
        EXPECT_EQ(loaded.backupReminder, c.reminder) << c.version;
    }
}

TEST_F(ConfigFileTest, PlacementNoScreenShowsOpensMaximisedWithDefaultWidths) {
    const struct {
        int32_t left, top, width, height;
        bool odd;
    } cases[] = {{0, 0, 800, 600, false},  {-50, -50, 1, 1, false}, {-32000, -32000, 160, 28, true},
                 {0, -51, 800, 600, true}, {0, 0, 0, 600, true},    {0, 0, 800, 0, true}};
    for (const auto& c : cases) {
        config.left = c.left;
        config.top = c.top;
        config.width = c.width;
        config.height = c.height;
        ASSERT_TRUE(SaveConfig(path, config, email));
        CMonitorConfig loaded;
        ASSERT_TRUE(LoadConfig(path, loaded, email));
        EXPECT_EQ(loaded.UseDefaultColumnWidths(), c.odd) << c.left << "," << c.top;
        EXPECT_EQ(loaded.OpenMaximised(), c.odd);
    }
}

TEST_F(ConfigFileTest, DamagedFileKeepsTheSystemsReadAndIsCopiedAside) {
    ASSERT_TRUE(SaveConfig(path, config, email));
    const std::string whole = testsupport::ReadFileText(path);
    const std::string record = SystemRecord(*config.systems[0]);
    // Cut inside the second system's record.
    const size_t cut = 4 + 4 * 4 + 4 + 3 * 4 + 4 + record.size() + 10;
    testsupport::WriteFileText(path, whole.substr(0, cut));
    CMonitorConfig loaded;
    EXPECT_FALSE(LoadConfig(path, loaded, email));
    EXPECT_EQ(loaded.systems.size(), 1u);
    EXPECT_EQ(testsupport::ReadFileText(path + ".BAD"), whole.substr(0, cut));

    for (size_t length : {size_t{0}, size_t{3}, size_t{4 + 4 * 4 + 2}}) {
        testsupport::WriteFileText(path, whole.substr(0, length));
        EXPECT_FALSE(LoadConfig(path, loaded, email)) << length;
    }
    // A column count far beyond the file ends at the file's end.
    testsupport::WriteFileText(path, Image().Int(348).Int(0).Int(0).Int(1).Int(1).Int(0x7FFFFFFF).Int(5).str());
    EXPECT_FALSE(LoadConfig(path, loaded, email));
    // A version whose records hold no fields cannot make systems out of nothing.
    testsupport::WriteFileText(path, Image().Int(-5).Int(0x60000000).str());
    EXPECT_FALSE(LoadConfig(path, loaded, email));
    EXPECT_TRUE(loaded.systems.empty());
    EXPECT_FALSE(LoadConfig(dir.File("missing"), loaded, email));
}

TEST_F(ConfigFileTest, FailedSaveLeavesTheLastGoodFile) {
    ASSERT_TRUE(SaveConfig(path, config, email));
    const std::string good = testsupport::ReadFileText(path);
    // The temporary file cannot be made where a folder of its name stands.
    std::filesystem::create_directory(path + ".new");
    config.systems.clear();
    EXPECT_FALSE(SaveConfig(path, config, email));
    EXPECT_EQ(testsupport::ReadFileText(path), good);
}

}  // namespace
