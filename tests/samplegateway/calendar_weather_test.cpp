// The sample house's calendar and weather: the notes of a month and a stored note that replaces
// one, the weather record and a day's picture at the size asked, and the notice that the weather
// changed every ten minutes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/messages/mediamessages.h"
#include "gfx/jpegdecode.h"
#include "keeping_sink.h"
#include "samplegateway/calendar.h"
#include "samplegateway/pacer.h"
#include "samplegateway/times.h"
#include "samplegateway/weather.h"
#include "support/gateway_session.h"

namespace {

using samplegateway::Bytes;
using samplegateway::PayloadReader;
using samplegateway::PayloadWriter;

CZVTime Day(int month, int day) {
    CZVTime time;
    time.Set(2011, month, 0, day, 0, 0, 0, 0);
    time.Normalize();
    return time;
}

Bytes TimePayload(const CZVTime& time) {
    PayloadWriter out;
    samplegateway::WriteTime(out, time);
    return out;
}

class SampleCalendarWeather : public testsupport::GatewaySession {
protected:
    SampleCalendarWeather() {
        samplegateway::ServeCalendar(gateway.Engine());
        samplegateway::ServeWeather(gateway.Engine(), *pacer);
    }
    void SetUp() override { Connect(); }
    void Drain() {
        ASSERT_TRUE(testsupport::PollAllUntil(server, [this] {
            return !gateway.Owes() && !testsupport::AnswersWaiting(server) && !testsupport::RequestsOnTheirWay(server);
        }));
    }
    void Send(uint16_t id, const Bytes& payload) {
        CZVMSG message(sink.GetId(), id);
        if (!payload.empty()) message.WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
        ASSERT_TRUE(server.Send(&message));
        ASSERT_TRUE(gateway.WaitForRequest(id));
        Drain();
    }
    uint32_t MonthMask(int month) {
        Send(ZVM_CALENDAR_GETMONTHQ, TimePayload(Day(month, 1)));
        const auto answers = sink.Of(ZVM_CALENDAR_GETMONTHA);
        if (answers.empty()) return 0;
        PayloadReader in(answers.back().payload);
        int32_t mask = 0;
        EXPECT_TRUE(samplegateway::ReadTime(in));
        EXPECT_TRUE(in.Int(&mask));
        return static_cast<uint32_t>(mask);
    }
    Bytes Note(int month, int day) {
        Send(ZVM_CALENDAR_GETDAYQ, TimePayload(Day(month, day)));
        const auto answers = sink.Of(ZVM_CALENDAR_GETDAYA);
        return answers.empty() ? Bytes() : answers.back().payload;
    }

    std::shared_ptr<samplegateway::Pacer> pacer = std::make_shared<samplegateway::Pacer>();
    samplegatewaytest::KeepingSink sink{server};
};

TEST_F(SampleCalendarWeather, AStoredNoteComesBackAndMarksItsDay) {
    constexpr uint32_t kSampleDays = 1u << 2 | 1u << 13 | 1u << 14;
    EXPECT_EQ(MonthMask(6), kSampleDays);
    EXPECT_EQ(Note(6, 3), samplegateway::SampleNote(3));
    // A note on the 20th, and the 3rd cleared.
    const Bytes stroke = PayloadWriter().Int(1).Int(2).Short(10).Short(20).Short(30).Short(40);
    Bytes closing = TimePayload(Day(6, 20));
    closing.insert(closing.end(), stroke.begin(), stroke.end());
    Send(ZVM_CALENDAR_CLOSEDAY, closing);
    Bytes cleared = TimePayload(Day(6, 3));
    const Bytes empty = PayloadWriter().Int(0);
    cleared.insert(cleared.end(), empty.begin(), empty.end());
    Send(ZVM_CALENDAR_CLOSEDAY, cleared);
    EXPECT_EQ(Note(6, 20), stroke);
    EXPECT_EQ(Note(6, 3), empty);
    EXPECT_EQ(MonthMask(6), (kSampleDays & ~(1u << 2)) | 1u << 19);
    // Another month keeps the sample notes.
    EXPECT_EQ(MonthMask(7), kSampleDays);
}

TEST_F(SampleCalendarWeather, ADaysPictureIsAJpegOfTheSizeAskedWithItsByteCount) {
    Send(ZVM_WEATHER_GETICONQ, PayloadWriter().Int(2).Int(48).Int(48));
    const auto answers = sink.Of(ZVM_WEATHER_GETICONA);
    ASSERT_EQ(answers.size(), 1u);
    PayloadReader in(answers[0].payload);
    int32_t count = 0;
    ASSERT_TRUE(in.Int(&count));
    ASSERT_GT(count, 0);
    EXPECT_GE(in.Left(), static_cast<size_t>(count));
    int width = 0, height = 0;
    ASSERT_TRUE(ReadJpegSize(answers[0].payload.data() + 4, static_cast<size_t>(count), &width, &height));
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 48);
}

TEST_F(SampleCalendarWeather, TheWeatherChangesEveryTenMinutes) {
    const uint32_t start = 50000;
    auto changes = [&](uint32_t at) {
        pacer->Run(start + at);
        Drain();
        return sink.Of(ZVM_WEATHER_CHANGED).size();
    };
    EXPECT_EQ(changes(0), 0u);
    EXPECT_EQ(changes(samplegateway::kWeatherChangeMs - 1), 0u);
    EXPECT_EQ(changes(samplegateway::kWeatherChangeMs), 1u);
    EXPECT_EQ(changes(2 * samplegateway::kWeatherChangeMs - 1), 1u);
    EXPECT_EQ(changes(2 * samplegateway::kWeatherChangeMs), 2u);
}

}  // namespace
