#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sentinax/system.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

// Stored bytes, built field by field as the records lay them out.
class Bytes {
public:
    Bytes& Int(int64_t value) {
        for (int i = 0; i < 4; ++i) m_data += static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& Ints(std::initializer_list<int64_t> values) {
        for (int64_t value : values) Int(value);
        return *this;
    }
    Bytes& Str(const std::string& text) {
        Int(static_cast<int64_t>(text.size()));
        m_data += text;
        return *this;
    }
    Bytes& Short(uint16_t value) {
        m_data += static_cast<char>(value & 0xFF);
        m_data += static_cast<char>(value >> 8);
        return *this;
    }
    // year, month, weekday, day, hour, minute, second, milliseconds
    Bytes& Time(uint16_t year, uint16_t month, uint16_t weekday, uint16_t day, uint16_t hour = 0, uint16_t minute = 0,
                uint16_t second = 0, uint16_t ms = 0) {
        for (uint16_t v : {year, month, weekday, day, hour, minute, second, ms}) Short(v);
        return *this;
    }
    Bytes& Raw(const std::string& bytes) {
        m_data += bytes;
        return *this;
    }
    const std::string& str() const { return m_data; }

private:
    std::string m_data;
};

class RecordTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.File("record.dat"); }

    // Runs `write` on a file created at Path() and answers its bytes.
    template <typename Write>
    std::string Written(Write write) {
        CZVFile file(Path(), ZVVariant::Monitor);
        EXPECT_TRUE(file.Open(CZVFile::kCreate));
        EXPECT_TRUE(write(file));
        EXPECT_TRUE(file.Close());
        return testsupport::ReadFileText(Path());
    }

    CZVFile& OpenForReading(const std::string& bytes) {
        testsupport::WriteFileText(Path(), bytes);
        reader = std::make_unique<CZVFile>(Path(), ZVVariant::Monitor);
        EXPECT_TRUE(reader->Open(CZVFile::kRead));
        return *reader;
    }

    testsupport::VirtualClock clock;
    testsupport::TempDir dir;
    std::unique_ptr<CZVFile> reader;
};

// Every settings field set to a value unlike its default.
void FillSettings(CSystem& s) {
    s.name = "Smith";
    s.adapterName = "Brenvik: 01-02-03";
    s.password = "pw";
    s.notes = "gate code 12";
    s.emailList = {"a@x.com", "b@y.org"};
    s.notifySystemErrors = 0;
    s.notifyPumpErrors = 0;
    s.notifyChlorinator = 1;
    s.notifyFreeze = 0;
    s.address = "1 Elm Rd.";
    s.city = "Dover";
    s.reservedText = "r";
    s.zip = "DE 19901";
    s.phone = "555-0100";
    s.includeDefaultEmail = 0;
    s.notifyChemistry = 1;
    s.notifyHeatPump = 1;
    s.adapterVersion = "5.2 Build 738";
    s.majorVersion = 5;
}

Bytes SettingsImage() {
    Bytes b;
    b.Str("Smith").Str("Brenvik: 01-02-03").Str("pw").Str("gate code 12");
    b.Int(2).Str("a@x.com").Str("b@y.org");
    b.Ints({0, 0, 1, 0});
    b.Str("1 Elm Rd.").Str("Dover").Str("r").Str("DE 19901").Str("555-0100");
    b.Int(0).Ints({1, 1}).Str("5.2 Build 738").Int(5);
    return b;
}

TEST_F(RecordTest, SettingsRecordIsWrittenInItsLayout) {
    CSystem system;
    FillSettings(system);
    EXPECT_EQ(Written([&](CZVFile& f) { return system.SaveSettings(f); }), SettingsImage().str());
}

TEST_F(RecordTest, SettingsRecordReadsBackEveryField) {
    CSystem loaded;
    ASSERT_TRUE(loaded.LoadSettings(OpenForReading(SettingsImage().str()), 345));
    CSystem expected;
    FillSettings(expected);
    EXPECT_EQ(loaded.name, expected.name);
    EXPECT_EQ(loaded.adapterName, expected.adapterName);
    EXPECT_EQ(loaded.password, expected.password);
    EXPECT_EQ(loaded.notes, expected.notes);
    EXPECT_EQ(loaded.emailList, expected.emailList);
    EXPECT_EQ(loaded.notifySystemErrors, 0);
    EXPECT_EQ(loaded.notifyPumpErrors, 0);
    EXPECT_EQ(loaded.notifyChlorinator, 1);
    EXPECT_EQ(loaded.notifyFreeze, 0);
    EXPECT_EQ(loaded.address, expected.address);
    EXPECT_EQ(loaded.city, expected.city);
    EXPECT_EQ(loaded.reservedText, expected.reservedText);
    EXPECT_EQ(loaded.zip, expected.zip);
    EXPECT_EQ(loaded.phone, expected.phone);
    EXPECT_EQ(loaded.includeDefaultEmail, 0);
    EXPECT_EQ(loaded.notifyChemistry, 1);
    EXPECT_EQ(loaded.notifyHeatPump, 1);
    EXPECT_EQ(loaded.adapterVersion, expected.adapterVersion);
    EXPECT_EQ(loaded.majorVersion, 5);
}

TEST_F(RecordTest, OldSettingsRecordsReadOnlyTheirFields) {
    struct Case {
        int32_t version;
        Bytes record;
        std::vector<std::string> emails;
        int32_t notifyFreeze;
        const char* city;
        int32_t notifyHeatPump;
    };
    const Case cases[] = {
        {130, Bytes().Str("N").Str("A").Str("P"), {}, 1, "", 0},
        {132, Bytes().Str("N").Str("A").Str("P").Str("x").Int(1).Str("m@x"), {"m@x"}, 1, "", 0},
        {141,
         Bytes()
             .Str("N")
             .Str("A")
             .Str("P")
             .Str("x")
             .Int(0)
             .Ints({1, 1, 1, 0})
             .Str("a")
             .Str("C")
             .Str("")
             .Str("z")
             .Str("p"),
         {},
         0,
         "C",
         0},
    };
    for (const Case& c : cases) {
        CSystem system;
        system.emailList = {"left over"};
        CZVFile& file = OpenForReading(c.record.str() + "trailing");
        ASSERT_TRUE(system.LoadSettings(file, c.version)) << c.version;
        EXPECT_EQ(system.name, "N");
        EXPECT_EQ(system.adapterName, "A");
        EXPECT_EQ(system.password, "P");
        EXPECT_EQ(system.emailList, c.emails) << c.version;
        EXPECT_EQ(system.notifySystemErrors, 1);
        EXPECT_EQ(system.notifyPumpErrors, 1);
        EXPECT_EQ(system.notifyChlorinator, c.version >= 133 ? 1 : 0);
        EXPECT_EQ(system.notifyFreeze, c.notifyFreeze) << c.version;
        EXPECT_EQ(system.city, c.city);
        EXPECT_EQ(system.notifyHeatPump, c.notifyHeatPump);
        EXPECT_EQ(system.notifyChemistry, 0);
        EXPECT_EQ(system.includeDefaultEmail, 1);
        EXPECT_EQ(file.GetPosition(), static_cast<int64_t>(c.record.str().size())) << c.version;
    }
}

TEST_F(RecordTest, DamagedSettingsRecordFails) {
    const std::string whole = SettingsImage().str();
    const std::string cases[] = {
        whole.substr(0, whole.size() - 1),  // truncated in the last field
        whole.substr(0, 7),                 // truncated inside the first string
        // a recipient count far beyond what the file holds
        Bytes().Str("N").Str("A").Str("P").Str("x").Int(0x7FFFFFFF).Str("m").str(),
        Bytes().Str("N").Str("A").Str("P").Str("x").Int(-1).str(),
        // a string count beyond the file, with and without the UTF-16 mark
        Bytes().Int(0x7FFFFFF0).Raw("abc").str(),
        Bytes().Int(0xFFFFFFF0).Raw("abc").str(),
        std::string(),
    };
    for (const std::string& bytes : cases) {
        CSystem system;
        EXPECT_FALSE(system.LoadSettings(OpenForReading(bytes), 345)) << bytes.size();
    }
}

TEST_F(RecordTest, Utf16TextInSettingsBecomesWindows1252) {
    Bytes b;
    b.Int(0x80000000 | 6).Raw(std::string("M\0\xFC\0r\0", 6)).Str("A").Str("P");
    CSystem system;
    ASSERT_TRUE(system.LoadSettings(OpenForReading(b.str()), 130));
    EXPECT_EQ(system.name, "M\xFCr");
}

// Every history field set to a value unlike its default.
void FillHistory(CSystem& s) {
    s.reportTime.Set(2009, 12, 3, 24, 13, 45, 30, 250);
    s.airTemperature = 71;
    s.notifyChlorinator = 0;
    s.AddAlarm(0, 2);   // mailed
    s.AddAlarm(1, 10);  // not mailed: a warning
    s.AddAlarm(7, 9);   // mailed
    s.equipmentFlags = 0x8FF0;
    s.spaSideRemote = 1;
    s.poolPump = 1;
    s.poolSetPoint = 82;
    s.poolTemperature = 79;
    s.poolHeatMode = 3;
    s.poolHeatModeText = "Heater";
    s.poolChlorineOutput = 50;
    s.spaPump = 0;
    s.spaSetPoint = 102;
    s.spaTemperature = 98;
    s.spaHeatMode = 1;
    s.spaHeatModeText = "Solar Only";
    s.spaChlorineOutput = 20;
    s.chlorinatorPresent = 1;
    s.chlorinatorStatus = 1;
    s.chlorinatorErrors = 0x402;
    s.saltLevel = 64;
    s.lightsTotal = 6;
    s.lightsOn = 2;
    s.status = 3;
    s.poolHeatStatus = 2;
    s.spaHeatStatus = 1;
    s.phValue = 745;
    s.orpValue = 680;
    s.saturationIndex = -12;
    s.chemistryValue4 = 9;
    s.acidTankLevel = 4;
    s.chlorineTankLevel = 5;
}

// The fields after the alarm entries, up to `status`.
Bytes& HistoryCommonTail(Bytes& b) {
    b.Int(0x8FF0).Ints({1, 1, 82, 79, 3}).Str("Heater").Int(50);
    b.Ints({0, 102, 98, 1}).Str("Solar Only").Int(20);
    return b.Ints({1, 1, 0x402, 64, 6, 2, 3});
}

Bytes HistoryImage() {
    Bytes b;
    b.Int(348).Time(2009, 12, 3, 24, 13, 45, 30, 250).Int(71);
    b.Int(3).Ints({0, 2, 7, 9, 1, 10});  // alarms first, then warnings
    HistoryCommonTail(b);
    return b.Ints({2, 1, 745, 680, -12, 9, 4, 5});
}

TEST_F(RecordTest, HistoryRecordIsWrittenInItsLayout) {
    CSystem system;
    FillHistory(system);
    EXPECT_EQ(Written([&](CZVFile& f) { return system.SaveHistoryRecord(f, 0); }), HistoryImage().str());
}

TEST_F(RecordTest, HistoryRecordStampedNowCarriesTheClockTime) {
    CSystem system;
    FillHistory(system);
    const std::string bytes = Written([&](CZVFile& f) { return system.SaveHistoryRecord(f, 1); });
    // The virtual clock's Friday 1 January 2010, 0:00.
    EXPECT_EQ(bytes.substr(4, 16), Bytes().Time(2010, 1, 5, 1).str());
}

TEST_F(RecordTest, HistoryRecordReadsBackEveryField) {
    CSystem loaded;
    loaded.warnings.emplace_back(1, 1);
    ASSERT_TRUE(loaded.LoadHistoryRecord(OpenForReading(HistoryImage().str())));
    CSystem expected;
    FillHistory(expected);
    EXPECT_TRUE(loaded.reportTime == expected.reportTime);
    EXPECT_EQ(loaded.airTemperature, 71);
    // The split into alarms and warnings is not stored.
    EXPECT_EQ(loaded.alarms, (std::vector<CSystemError>{{0, 2}, {7, 9}, {1, 10}}));
    EXPECT_TRUE(loaded.warnings.empty());
    EXPECT_EQ(loaded.equipmentFlags, 0x8FF0u);
    EXPECT_EQ(loaded.poolHeatModeText, "Heater");
    EXPECT_EQ(loaded.spaHeatModeText, "Solar Only");
    for (int32_t CSystem::*field :
         {&CSystem::spaSideRemote,     &CSystem::poolPump,          &CSystem::poolSetPoint,
          &CSystem::poolTemperature,   &CSystem::poolHeatMode,      &CSystem::poolChlorineOutput,
          &CSystem::spaPump,           &CSystem::spaSetPoint,       &CSystem::spaTemperature,
          &CSystem::spaHeatMode,       &CSystem::spaChlorineOutput, &CSystem::chlorinatorPresent,
          &CSystem::chlorinatorStatus, &CSystem::chlorinatorErrors, &CSystem::saltLevel,
          &CSystem::lightsTotal,       &CSystem::lightsOn,          &CSystem::status,
          &CSystem::poolHeatStatus,    &CSystem::spaHeatStatus,     &CSystem::phValue,
          &CSystem::orpValue,          &CSystem::saturationIndex,   &CSystem::chemistryValue4,
          &CSystem::acidTankLevel,     &CSystem::chlorineTankLevel})
        EXPECT_EQ(loaded.*field, expected.*field);
}

TEST_F(RecordTest, HistoryFileOfSeveralVersionsReadsRecordByRecord) {
    Bytes b;
    // Version 134: the entries are texts, skipped; no heat status, no chemistry.
    b.Int(134).Time(2009, 10, 4, 1).Int(60).Int(2).Str("Air Sensor").Str("");
    HistoryCommonTail(b);
    // Version 140: entry pairs; still no heat status.
    b.Int(140).Time(2009, 11, 0, 1).Int(61).Int(1).Ints({2, 0});
    HistoryCommonTail(b);
    b.Raw(HistoryImage().str());

    CZVFile& file = OpenForReading(b.str());
    CSystem system;
    ASSERT_TRUE(system.LoadHistoryRecord(file));
    EXPECT_EQ(system.airTemperature, 60);
    EXPECT_EQ(system.reportTime.GetMonth(), 10);
    EXPECT_TRUE(system.alarms.empty());
    EXPECT_EQ(system.status, 3);
    EXPECT_EQ(system.poolHeatStatus, 0);

    ASSERT_TRUE(system.LoadHistoryRecord(file));
    EXPECT_EQ(system.airTemperature, 61);
    EXPECT_EQ(system.alarms, (std::vector<CSystemError>{{2, 0}}));
    EXPECT_EQ(system.lightsOn, 2);
    EXPECT_EQ(system.phValue, 0);

    ASSERT_TRUE(system.LoadHistoryRecord(file));
    EXPECT_EQ(system.phValue, 745);
    EXPECT_EQ(system.spaHeatStatus, 1);
    EXPECT_FALSE(system.LoadHistoryRecord(file));
}

TEST_F(RecordTest, DamagedHistoryRecordFails) {
    const std::string whole = HistoryImage().str();
    Bytes hugeCount;
    hugeCount.Int(348).Time(2010, 1, 5, 1).Int(70).Int(0x7FFFFFFF).Ints({0, 1});
    Bytes hugeOldCount;
    hugeOldCount.Int(100).Time(2010, 1, 5, 1).Int(70).Int(-1).Str("x");
    Bytes hugeText;
    hugeText.Int(348).Time(2010, 1, 5, 1).Int(70).Int(0).Ints({0, 0, 0, 0, 0, 0}).Int(0x7FFFFFFF);
    const std::string cases[] = {
        whole.substr(0, whole.size() - 1), whole.substr(0, 10), hugeCount.str(), hugeOldCount.str(), hugeText.str(),
    };
    for (const std::string& bytes : cases) {
        CSystem system;
        EXPECT_FALSE(system.LoadHistoryRecord(OpenForReading(bytes))) << bytes.size();
        EXPECT_LE(system.alarms.size(), 3u);
    }
}

}  // namespace
