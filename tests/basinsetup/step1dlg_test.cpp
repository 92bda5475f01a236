#include "basinsetup/step1dlg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "basinsetup/basinsetupdlg.h"
#include "core/messages/setupmessages.h"
#include "step1_session.h"

namespace {

using bstest::RecordingStep1View;
using bstest::Step1Session;
using bstest::TableEntry;
using testsupport::Bytes;
using testsupport::PayloadWriter;
using testsupport::SampleInstallation;

const std::vector<CHomePage> kFixedPages = {{0, "Weather Only"}, {1, "Pool Summary"}, {2, "Weather + Pool Summary"}};

TEST(Step1Lists, HoursMinutesAndZonesByEntry) {
    const std::vector<std::string> hours = HourChoices();
    ASSERT_EQ(hours.size(), 24u);
    EXPECT_EQ(hours[0], "12 AM");
    EXPECT_EQ(hours[11], "11 AM");
    EXPECT_EQ(hours[12], "12 PM");
    EXPECT_EQ(hours[13], "1 PM");
    const std::vector<std::string> minutes = MinuteChoices();
    ASSERT_EQ(minutes.size(), 60u);
    EXPECT_EQ(minutes[5], "05");
    EXPECT_EQ(minutes[59], "59");
    const std::vector<std::string> zones = TimeZoneChoices();
    ASSERT_EQ(zones.size(), 26u);
    EXPECT_EQ(zones[0], "GMT -12");
    EXPECT_EQ(zones[4], "GMT -8");
    EXPECT_EQ(zones[12], "GMT +0");
    EXPECT_EQ(zones[25], "GMT +13");
}

TEST(Step1Lists, HomePageNamesLoseTheirPrefix) {
    EXPECT_EQ(HomePageName("Brenvik:   Pool"), "Pool");
    EXPECT_EQ(HomePageName("Brenvik:Spa"), "Spa");
    EXPECT_EQ(HomePageName("brenvik: Spa"), "brenvik: Spa");
    EXPECT_EQ(HomePageName("Brenvik"), "Brenvik");
    EXPECT_EQ(HomePageName("Brenvik:  "), "");
}

// A location written back unchanged is the location that was read, straight
// from the step or through the four decimals its view shows, so that Next
// and Finish never move the pool. Every latitude and longitude in range.
TEST(Step1Location, EveryValueInRangeWritesBackWhatWasRead) {
    for (int32_t stored = -1800000; stored <= 1800000; ++stored) {
        const double degrees = LocationFromWire(stored);
        ASSERT_EQ(LocationToWire(degrees), stored);
        if (stored % 7 == 0) {
            char shown[32];
            std::snprintf(shown, sizeof shown, "%.4f", degrees);
            ASSERT_EQ(LocationToWire(std::strtod(shown, nullptr)), stored) << shown;
        }
    }
}

TEST(Step1Location, TypedDegreesGoToTheNearestStep) {
    const struct {
        double degrees;
        int32_t written;
    } cases[] = {{33.749, 337490}, {-84.388, -843880}, {0.00004, 0}, {0.00005, 1},
                 {-0.00005, -1},   {12.34567, 123457}, {1e300, 0},   {-1e300, 0}};
    for (const auto& c : cases) EXPECT_EQ(LocationToWire(c.degrees), c.written) << c.degrees;
}

class GeneralSettings : public Step1Session {};

TEST_F(GeneralSettings, OpensWithWhatTheGatewayHolds) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    EXPECT_TRUE(shown.ended.empty());
    EXPECT_EQ(shown.timer, CStep1Dlg::kTimerInterval);
    const CStep1Values& v = shown.shown;
    EXPECT_EQ(std::tie(v.year, v.month, v.day, v.hour, v.minute), std::make_tuple(2011, 6, 15, 14, 35));
    EXPECT_EQ(v.daylightSaving, 1);
    EXPECT_EQ(v.celsius, 0);  // bit 0 of 0x40
    EXPECT_EQ(v.manualPriority, 1);
    EXPECT_EQ(shown.homePages, kFixedPages);
    EXPECT_EQ(v.homePage, 1);
    EXPECT_EQ(v.zip, "30301");
    EXPECT_DOUBLE_EQ(v.latitude, 33.749);
    EXPECT_DOUBLE_EQ(v.longitude, 84.388);
    EXPECT_EQ(v.timeZone, 7);  // GMT -5
    // One body of water: the spa's row goes and the pool's is the water's.
    EXPECT_FALSE(shown.visible.at(IDC_STEP1_SPA_LABEL));
    EXPECT_FALSE(shown.visible.at(IDC_STEP1_SPA_VALUE));
    EXPECT_EQ(shown.texts.at(IDC_STEP1_POOL_LABEL), "Water");
    EXPECT_FALSE(shown.visible.count(IDC_STEP1_SET_PASSWORD));
    EXPECT_FALSE(shown.visible.count(IDC_STEP1_PRIORITY));
}

TEST_F(GeneralSettings, NextWithoutChangesWritesAllButTheClock) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    step->OnNext();
    EXPECT_EQ(shown.ended, std::vector<int>{kStepNext});
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SYSCONFIG_SETCLOCKQ).empty());
    ASSERT_EQ(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ).size(), 1u);
    // Everything read goes back as it was, the first value and the two texts
    // that are not kept excepted.
    const Bytes info = PayloadWriter()
                           .Int(0)
                           .String("Backyard Adapter")
                           .String("30301")
                           .Int(337490)
                           .Int(843880)
                           .Int(-5)
                           .Int(31)
                           .Int(32)
                           .String("field e")
                           .Int(36)
                           .String("field g");
    EXPECT_EQ(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ)[0].payload, info);
    ASSERT_EQ(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).size(), 1u);
    EXPECT_EQ(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ)[0].payload, Bytes(PayloadWriter().Int(1)));
    const auto tables = gateway.RequestsOf(ZVM_POOL_SETEXTCONFIGQ);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(TableEntry(tables[0].payload, 4, 2), 0x40);
    EXPECT_EQ(TableEntry(tables[0].payload, 7, 5), 1);
}

TEST_F(GeneralSettings, ChangesGoToTheGatewayOnFinish) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    CStep1Values& v = shown.shown;
    v.year = 2012, v.month = 2, v.day = 29, v.hour = 23, v.minute = 5;
    v.daylightSaving = 0;
    v.manualPriority = 0;
    v.homePage = 2;
    v.celsius = 1;
    v.zip = "94110";
    step->OnZipChanged();
    EXPECT_DOUBLE_EQ(v.latitude, 37.75);
    EXPECT_DOUBLE_EQ(v.longitude, 122.25);
    EXPECT_EQ(v.timeZone, 4);  // GMT -8
    step->OnFinish();
    EXPECT_EQ(shown.ended, std::vector<int>{kStepCancel});

    const auto clockWrites = gateway.RequestsOf(ZVM_SYSCONFIG_SETCLOCKQ);
    ASSERT_EQ(clockWrites.size(), 1u);
    testsupport::PayloadReader reader(clockWrites[0].payload);
    uint16_t fields[8] = {};
    ASSERT_TRUE(reader.Raw(fields, sizeof fields));
    // Year, month, weekday (29 February 2012 was a Wednesday: 2 with Monday
    // as 0, as on the wire), day, hour, minute; the seconds start from 0.
    EXPECT_EQ(std::vector<uint16_t>(fields, fields + 7), (std::vector<uint16_t>{2012, 2, 2, 29, 23, 5, 0}));
    int32_t daylightSaving = -1;
    ASSERT_TRUE(reader.Int(&daylightSaving));
    EXPECT_EQ(daylightSaving, 0);

    SystemInfoWrite written;
    ASSERT_TRUE(TheSystemInfoWrite(written));
    EXPECT_EQ(written.zip, "94110");
    EXPECT_EQ(written.latitude, 377500);
    EXPECT_EQ(written.longitude, 1222500);
    EXPECT_EQ(written.offset, -8);
    EXPECT_EQ(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).at(0).payload, Bytes(PayloadWriter().Int(2)));
    const auto tables = gateway.RequestsOf(ZVM_POOL_SETEXTCONFIGQ);
    ASSERT_FALSE(tables.empty());
    EXPECT_EQ(TableEntry(tables.back().payload, 4, 2), 0x41);
    EXPECT_EQ(TableEntry(tables.back().payload, 7, 5), 0);
    EXPECT_TRUE(model->IsCelsius());
}

TEST_F(GeneralSettings, AChangedHourAloneSetsTheClock) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    shown.shown.hour = 3;
    step->OnClockChanged();
    step->OnNext();
    EXPECT_EQ(gateway.RequestsOf(ZVM_SYSCONFIG_SETCLOCKQ).size(), 1u);
}

TEST_F(GeneralSettings, BackEscapeAndUnreadableControlsWriteNothing) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    step->OnBack();
    EXPECT_EQ(shown.ended, std::vector<int>{kStepBack});
    shown.readable = false;  // a latitude that is no number
    step->OnNext();
    step->OnScaleChanged();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_SETEXTCONFIGQ).empty());
}

TEST_F(GeneralSettings, ScaleIsWrittenAtOnce) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    shown.shown.celsius = 1;
    step->OnScaleChanged();
    const auto tables = gateway.RequestsOf(ZVM_POOL_SETEXTCONFIGQ);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(TableEntry(tables[0].payload, 4, 2), 0x41);
    EXPECT_TRUE(model->IsCelsius());
    EXPECT_EQ(model->GetTempText(30), "30 C");
}

TEST_F(GeneralSettings, ZipNeedsFiveCharactersAndAKnownCode) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    for (const char* typed : {"9411", "941100", "12345"}) {
        shown.shown.zip = typed;
        step->OnZipChanged();
        EXPECT_DOUBLE_EQ(shown.shown.latitude, 33.749) << typed;
        EXPECT_EQ(shown.shown.timeZone, 7) << typed;
    }
    shown.shown.zip = "10001";
    step->OnZipChanged();
    EXPECT_DOUBLE_EQ(shown.shown.longitude, 73.9972);
}

TEST_F(GeneralSettings, CalibrationWaitsForTheGatewayToShowTheTarget) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    ASSERT_TRUE(TickUntil(*step, [&] { return shown.texts[IDC_STEP1_AIR_VALUE] == "78 F"; }));
    const auto status = gateway.RequestsOf(ZVM_POOL_GETSTATUSQ);
    ASSERT_FALSE(status.empty());
    EXPECT_NE(status.back().sender, 0);  // the step's own sink
    EXPECT_EQ(shown.texts[IDC_STEP1_POOL_VALUE], "81 F");

    step->OnCalibrate(CStep1Dlg::kPool, +1);
    ASSERT_EQ(gateway.RequestsOf(ZVM_POOL_ADJUSTSENSORQ).size(), 1u);
    EXPECT_EQ(gateway.RequestsOf(ZVM_POOL_ADJUSTSENSORQ)[0].payload,
              Bytes(PayloadWriter().Int(0).Int(78).Int(82).Int(99)));
    EXPECT_EQ(step->Target(CStep1Dlg::kPool), 82);
    EXPECT_EQ(shown.texts[IDC_STEP1_POOL_VALUE], "Wait...");
    EXPECT_FALSE(shown.enabled[IDC_STEP1_POOL_UP]);
    EXPECT_FALSE(shown.enabled[IDC_STEP1_AIR_DOWN]);

    // The old reading keeps the wait; the air is shown again meanwhile.
    shown.texts[IDC_STEP1_AIR_VALUE].clear();
    ASSERT_TRUE(TickUntil(*step, [&] { return shown.texts[IDC_STEP1_AIR_VALUE] == "78 F"; }));
    EXPECT_EQ(shown.texts[IDC_STEP1_POOL_VALUE], "Wait...");
    EXPECT_FALSE(shown.enabled[IDC_STEP1_POOL_UP]);

    gateway.Answer(ZVM_POOL_GETSTATUSQ, testsupport::SampleStatus(1, 78, 82, 99));
    ASSERT_TRUE(TickUntil(*step, [&] { return shown.texts[IDC_STEP1_POOL_VALUE] == "82 F"; }));
    EXPECT_EQ(step->Target(CStep1Dlg::kPool), CStep1Dlg::kNoTarget);
    EXPECT_TRUE(shown.enabled[IDC_STEP1_POOL_UP]);
    EXPECT_TRUE(shown.enabled[IDC_STEP1_SPA_DOWN]);
}

// The wanted value of a calibration is the reading plus the step: the
// buttons wait for a reading from the gateway, and a sensor that the
// gateway reports as not read (255) cannot be calibrated.
TEST_F(GeneralSettings, CalibrationNeedsAValidReading) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    EXPECT_FALSE(shown.enabled[IDC_STEP1_POOL_UP]);
    EXPECT_FALSE(shown.enabled[IDC_STEP1_AIR_DOWN]);
    step->OnCalibrate(CStep1Dlg::kPool, +1);
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_ADJUSTSENSORQ).empty());

    gateway.Answer(ZVM_POOL_GETSTATUSQ, testsupport::SampleStatus(1, 78, CStep1Dlg::kNotRead, 99));
    ASSERT_TRUE(TickUntil(*step, [&] { return shown.texts[IDC_STEP1_AIR_VALUE] == "78 F"; }));
    EXPECT_TRUE(shown.enabled[IDC_STEP1_AIR_UP]);
    EXPECT_TRUE(shown.enabled[IDC_STEP1_AIR_DOWN]);
    EXPECT_FALSE(shown.enabled[IDC_STEP1_POOL_UP]);
    EXPECT_FALSE(shown.enabled[IDC_STEP1_POOL_DOWN]);
    step->OnCalibrate(CStep1Dlg::kPool, -1);
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_ADJUSTSENSORQ).empty());
    EXPECT_EQ(step->Target(CStep1Dlg::kPool), CStep1Dlg::kNoTarget);

    step->OnCalibrate(CStep1Dlg::kAir, +1);
    ASSERT_EQ(gateway.RequestsOf(ZVM_POOL_ADJUSTSENSORQ).size(), 1u);
    EXPECT_EQ(step->Target(CStep1Dlg::kAir), 79);
}

TEST_F(GeneralSettings, EmailDialogStopsTheTimerAndPasswordDialogDoesNot) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    step->OnEmailSettings();
    EXPECT_EQ(shown.emailOpened, std::vector<std::string>{"Backyard Adapter"});
    EXPECT_EQ(shown.timerDuringEmail, 0u);
    EXPECT_EQ(shown.timer, CStep1Dlg::kTimerInterval);
    step->OnSetPassword();
    EXPECT_EQ(shown.passwordOpened, 1);
    EXPECT_EQ(shown.timer, CStep1Dlg::kTimerInterval);
}

class HomePageAdapter : public Step1Session {
protected:
    HomePageAdapter() : Step1Session(Sample()) {}
    static SampleInstallation Sample() {
        SampleInstallation sample;
        sample.adapterType = 6;
        sample.homePage = 12;
        sample.controllerType = 13;  // its three bodies show every sensor
        return sample;
    }
};

TEST_F(HomePageAdapter, ListsTheGatewaysPagesAndHidesThePassword) {
    ASSERT_TRUE(Connect());
    RecordingStep1View shown;
    auto step = Open(shown);
    EXPECT_EQ(shown.homePages, (std::vector<CHomePage>{{10, "Pool Page"}, {11, "Weather"}, {12, "Gardens"}}));
    EXPECT_EQ(shown.shown.homePage, 2);
    EXPECT_FALSE(shown.visible.at(IDC_STEP1_SET_PASSWORD));
    EXPECT_FALSE(shown.visible.at(IDC_STEP1_PRIORITY));
    EXPECT_FALSE(shown.visible.at(IDC_STEP1_PRIORITY_GROUP));
    EXPECT_FALSE(shown.visible.count(IDC_STEP1_SPA_LABEL));
    EXPECT_FALSE(shown.texts.count(IDC_STEP1_POOL_LABEL));

    // No page chosen: the gateway keeps the one it has, which the list may
    // simply not offer, rather than being given the first entry.
    shown.shown.homePage = -1;
    step->OnNext();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).empty());
    EXPECT_EQ(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ).size(), 1u);
}

// A gateway whose answers the step cannot use: the step ends the wizard at
// once and writes nothing, not even when asked to.
struct BrokenOpening {
    const char* name;
    uint16_t request;
    Bytes answer;
    bool answered;
};

void PrintTo(const BrokenOpening& c, std::ostream* os) { *os << c.name; }

class BrokenGateway : public Step1Session, public ::testing::WithParamInterface<BrokenOpening> {};

TEST_P(BrokenGateway, EndsTheStepWithoutWriting) {
    ASSERT_TRUE(Connect());
    const BrokenOpening& c = GetParam();
    if (c.answered)
        gateway.Answer(c.request, c.answer);
    else
        gateway.On(c.request, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    RecordingStep1View shown;
    auto step = Open(shown);
    EXPECT_EQ(shown.ended, std::vector<int>{kStepCancel});
    EXPECT_EQ(shown.timer, 0u);
    step->OnNext();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SYSCONFIG_SETCLOCKQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_SETEXTCONFIGQ).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BrokenGateway,
    ::testing::Values(BrokenOpening{"NoClock", ZVM_SYSCONFIG_GETCLOCKQ, {}, false},
                      BrokenOpening{"ClockWithoutTime", ZVM_SYSCONFIG_GETCLOCKQ, PayloadWriter().Int(2011), true},
                      BrokenOpening{"NoSystemInfo", ZVM_SYSCONFIG_GETSYSTEMINFOQ, {}, false},
                      BrokenOpening{"ShortSystemInfo", ZVM_SYSCONFIG_GETSYSTEMINFOQ,
                                    PayloadWriter().Int(1).Int(0).String("Backyard Adapter"), true},
                      BrokenOpening{"NoHomePage", ZVM_LAYOUT_GETHOMEPAGEQ, {}, false},
                      BrokenOpening{"EmptyHomePage", ZVM_LAYOUT_GETHOMEPAGEQ, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

class OddGateway : public Step1Session {
protected:
    OddGateway() : Step1Session(Sample()) {}
    static SampleInstallation Sample() {
        SampleInstallation sample;
        sample.clockHasDaylightSaving = false;
        sample.gmtOffset = 14;  // east of the list's last zone
        sample.adapterType = 7;
        sample.homePages = {{3, "Brenvik: Only"}};
        return sample;
    }
};

TEST_F(OddGateway, KeepsWhatTheControlsCannotShow) {
    ASSERT_TRUE(Connect());
    // A list that announces more pages than it carries gives what it carries.
    PayloadWriter pages;
    pages.Int(3).Int(1000000).Int(3).String("Brenvik: Only");
    gateway.Answer(ZVM_LAYOUT_GETHOMEPAGEQ, pages);
    RecordingStep1View shown;
    auto step = Open(shown);
    ASSERT_TRUE(shown.ended.empty());
    EXPECT_FALSE(shown.enabled.at(IDC_STEP1_DST));
    EXPECT_EQ(shown.homePages, (std::vector<CHomePage>{{3, "Only"}}));
    EXPECT_EQ(shown.shown.timeZone, -1);
    step->OnNext();
    SystemInfoWrite written;
    ASSERT_TRUE(TheSystemInfoWrite(written));
    EXPECT_EQ(written.offset, 14);
}

}  // namespace
