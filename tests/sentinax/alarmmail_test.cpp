#include "sentinax/alarmmail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sentinax/system.h"
#include "platform/settings.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

// A system list of five columns; each cell names its column and the system.
class FakeColumns : public CSystemColumns {
public:
    int GetColumnCount() const override { return 5; }
    std::string GetLongTitle(int column) const override {
        static const char* const kTitles[] = {"Customer Name", "Protocol Adapter Serial #",
                                              "Adapter Version", "A Title Longer Than 24 Chars",
                                              "Status"};
        return kTitles[column];
    }
    std::string GetCellText(const CSystem& system, int column) const override {
        return "c" + std::to_string(column) + " " + system.GetAdapterSerial();
    }
};

class FakeQueue : public CMailQueue {
public:
    void Queue(std::unique_ptr<CEmailMessage> message) override {
        queued.push_back(std::move(message));
    }
    std::string GetDefaultRecipient() const override { return defaultRecipient; }

    std::string defaultRecipient;
    std::vector<std::unique_ptr<CEmailMessage>> queued;
};

class AlarmMailTest : public ::testing::Test {
protected:
    void SetUp() override {
        system.name = "Smith";
        system.adapterName = "Brenvik: 01-23-45";
        system.address = "Elm Rd.";
        system.city = "Dover";
        system.zip = "DE";
        system.phone = "555";
        system.notifyChlorinator = 0;
        system.locationKnown = 1;
        system.latitude = 391580;   // north
        system.longitude = 755240;  // west
    }

    std::vector<std::string> Compose() {
        CEmailMessage message("x@example.com");
        system.ComposeAlarmMail(message, columns);
        return message.GetLines();
    }

    testsupport::VirtualClock clock;  // 1 January 2010, 0:00
    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    testsupport::ScopedEnv config{"ZAVORO_CONFIG_DIR", dir.Path().c_str()};
    FakeColumns columns;
    CSystem system;
};

TEST_F(AlarmMailTest, ComposesTheReportLines) {
    system.AddAlarm(7, 9);
    system.AddAlarm(1, 0);  // a warning: not listed
    system.AddAlarm(2, 0);
    const std::vector<std::string> expected = {
        "Report Date:              \t1/1/2010",
        "Report Time:              \t12:00:00 AM",
        "",
        "Customer Name:          \tSmith",
        "Address:                \tElm Rd.",
        "City:                   \tDover",
        "ZIP:                    \tDE",
        "Phone:                  \t555",
        "",
        "Adapter Version         \tc2 01-23-45",
        "Protocol Adapter Serial #\tc1 01-23-45",
        "A Title Longer Than 24 Chars\tc3 01-23-45",
        "Status                  \tc4 01-23-45",
        "",
        "Alarm Details:",
        "Vortana Pump #5: Communications Lost - Marquel is unable to communicate with the pump.  "
        "Check the communication cable.",
        "",
        "Freeze Mode - Air Temperature at or below 36F",
        "",
        "",
        "Click here for a map to customer:",
        "",
        "https://www.openstreetmap.org/?mlat=39.1580&mlon=-75.5240",
        "",
    };
    EXPECT_EQ(Compose(), expected);
}

TEST_F(AlarmMailTest, WithoutAlarmsThereIsNoAlarmSection) {
    system.AddAlarm(1, 3);  // a warning only
    clock.SetLocalTime({.year = 2011, .month = 12, .day = 24, .hour = 13, .minute = 5, .second = 9});
    const std::vector<std::string> lines = Compose();
    EXPECT_EQ(lines[0], "Report Date:              \t12/24/2011");
    EXPECT_EQ(lines[1], "Report Time:              \t1:05:09 PM");
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[12], "Status                  \tc4 01-23-45");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "Click here for a map to customer:");
}

// The map link is the "MapLink" setting filled in; a link that needs the
// location says so instead of pointing at the wrong place while none is known.
TEST_F(AlarmMailTest, TheMapLinkFollowsTheSetting) {
    struct Case {
        const char* setting;  // null: none stored
        bool located;
        std::string link;
    } cases[] = {
        {nullptr, true, "https://www.openstreetmap.org/?mlat=39.1580&mlon=-75.5240"},
        {nullptr, false, "(location not known yet)"},
        {"https://maps.example.org/?q={address}", false, "https://maps.example.org/?q=Elm%20Rd.%20Dover%20DE"},
        {"geo:{lat},{lon}", true, "geo:39.1580,-75.5240"},
        {"geo:{lat},{lon}", false, "(location not known yet)"},
    };
    for (const Case& c : cases) {
        if (c.setting)
            ASSERT_TRUE(platform::WriteSettingString("Email", "MapLink", c.setting));
        system.locationKnown = c.located;
        const std::vector<std::string> lines = Compose();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], c.link) << (c.setting ? c.setting : "default");
    }
}

TEST_F(AlarmMailTest, NoonIsPm) {
    clock.SetLocalTime({.year = 2010, .month = 1, .day = 1, .hour = 12});
    EXPECT_EQ(Compose()[1], "Report Time:              \t12:00:00 PM");
}

TEST_F(AlarmMailTest, OneMailPerRecipientThenTheDefault) {
    system.emailList = {"a@x.com", "b@x.com"};
    FakeQueue queue;
    queue.defaultRecipient = "office@x.com";
    system.SendAlarmNotifications(queue, columns);
    ASSERT_EQ(queue.queued.size(), 3u);
    const char* const recipients[] = {"a@x.com", "b@x.com", "office@x.com"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(queue.queued[i]->GetRecipient(), recipients[i]);
        // The subject is a header of its own, apart from the report lines.
        EXPECT_EQ(queue.queued[i]->GetHeaders(),
                  std::vector<std::string>{"Subject: Brenvik System Alarm Notification"});
        EXPECT_EQ(queue.queued[i]->GetLines(), Compose());
    }
}

TEST_F(AlarmMailTest, DefaultRecipientOnlyWhenIncludedAndKnown) {
    struct Case {
        int32_t include;
        const char* defaultRecipient;
        size_t mails;
    };
    for (const Case& c : {Case{1, "", 1}, Case{0, "office@x.com", 1}, Case{1, "office@x.com", 2}}) {
        system.emailList = {"a@x.com"};
        system.includeDefaultEmail = c.include;
        FakeQueue queue;
        queue.defaultRecipient = c.defaultRecipient;
        system.SendAlarmNotifications(queue, columns);
        EXPECT_EQ(queue.queued.size(), c.mails) << c.include << c.defaultRecipient;
    }
}

TEST(UrlEncode, KeepsLettersDigitsSlashAndDot) {
    struct Case {
        const char* text;
        bool plus;
        const char* encoded;
    };
    const Case cases[] = {
        {"Elm Rd. Dover DE", false, "Elm%20Rd.%20Dover%20DE"},
        {"Elm Rd. Dover DE", true, "Elm+Rd.+Dover+DE"},
        {"a/b.c-d_e&f", false, "a/b.c%2Dd%5Fe%26f"},
        {"Z\xE9\x80\x01", true, "Z%E9%80%01"},
        {"", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.text, c.plus), c.encoded) << c.text;
}

TEST(UrlEncode, StopsNearFiveHundredCharacters) {
    EXPECT_EQ(UrlEncode(std::string(600, 'a'), false).size(), 500u);
    EXPECT_EQ(UrlEncode("a" + std::string(599, '#'), false).size(), 502u);
    EXPECT_EQ(UrlEncode(std::string(600, ' '), true).size(), 500u);
}

}  // namespace
