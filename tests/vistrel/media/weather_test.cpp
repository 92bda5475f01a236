// The weather controls: the conditions table's layout and font, the value texts, how many
// forecast tiles fit, the high and low colours beside a text colour, the forecast record and a
// day's picture whose byte count or size cannot be trusted, and the sample house's weather panel.
#include <gtest/gtest.h>

#include "calendar_fixture.h"
#include "core/messages/mediamessages.h"
#include "gfx/speed.h"
#include "samplegateway/weather.h"
#include "support/golden.h"
#include "vistrel/media/weather/forecastview.h"
#include "vistrel/media/weather/weatherdata.h"
#include "vistrel/media/weather/weatherlabel.h"
#include "vistrel/media/weather/weathernow.h"
#include "widgets/text/zvlabel.h"

namespace {

using mediatest::InfoPanelTest;

TEST(WeatherNowLayout, WideWindowsTakeColumnsOfFiveRows) {
    struct Case {
        int w, h, font;
        int rows, columns, fontSize;
    };
    for (const Case& c : {Case{400, 200, 0, 5, 2, 24}, Case{300, 200, 0, 10, 1, 18}, Case{200, 240, 0, 10, 1, 22},
                          Case{120, 100, 0, 10, 1, 12}, Case{200, 400, 0, 10, 1, 24}, Case{200, 400, 17, 10, 1, 17}}) {
        const CWeatherNowLayout layout = LayoutWeatherNow(c.w, c.h, c.font);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        EXPECT_EQ(layout.rows, c.rows);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.fontSize, c.fontSize);
    }
}

TEST(WeatherTexts, MissingValuesShowADash) {
    EXPECT_STREQ(FormatWeatherTemperature(kNoWeatherValue, 0).GetAnsi(), "-");
    EXPECT_STREQ(FormatWeatherTemperature(72, 0).GetAnsi(), "72\xBA F");
    EXPECT_STREQ(FormatWeatherTemperature(-3, 1).GetAnsi(), "-3\xBA C");
    EXPECT_STREQ(FormatWeatherInt(kNoWeatherValue).GetAnsi(), "-");
    EXPECT_STREQ(FormatWeatherInt(65).GetAnsi(), "65");
    EXPECT_STREQ(FormatHundredths(kNoWeatherValue).GetAnsi(), "-");
    EXPECT_STREQ(FormatHundredths(2992).GetAnsi(), "29.92");
    EXPECT_STREQ(FormatHundredths(1000).GetAnsi(), "10.00");
}

TEST(ForecastTiles, AsManyAsFitUpToTheMaximum) {
    struct Case {
        int w, h, days, maximum, count;
    };
    for (const Case& c : {Case{600, 100, 7, 0, 7}, Case{300, 100, 7, 0, 5}, Case{600, 100, 7, 3, 3},
                          Case{100, 350, 12, 0, 10}, Case{600, 100, 0, 0, 0}, Case{30, 20, 5, 0, 0}}) {
        EXPECT_EQ(ForecastTileCount(c.w, c.h, c.days, c.maximum), c.count)
            << c.w << " x " << c.h << ", " << c.days << " days, maximum " << c.maximum;
    }
}

TEST(ForecastColours, LightTextGetsLightHighAndLowColours) {
    const CForecastColors white = ForecastColorsFor(0xFFFFFF);
    EXPECT_EQ(white.high, MixColors(0xFFFFFF, 0x9696FF, 0.5));
    EXPECT_EQ(white.low, MixColors(0xFFFFFF, 0xFF9696, 0.5));
    const CForecastColors black = ForecastColorsFor(0);
    EXPECT_EQ(black.high, MixColors(0, 0x0000FF, 0.5));
    EXPECT_EQ(black.low, MixColors(0, 0xFF0000, 0.5));
    // Green does not count: a bright green text is dark by this weight (0 + 2 x 0).
    EXPECT_EQ(ForecastColorsFor(0x00FF00).high, MixColors(0x00FF00, 0x0000FF, 0.5));
    // Red weighs double: 2 x 200 > 384.
    EXPECT_EQ(ForecastColorsFor(0x0000C8).high, MixColors(0x0000C8, 0x9696FF, 0.5));
}

// The first `keep` bytes of the payload as a forecast answer.
void FillRecord(CZVMSG& message, const samplegateway::Bytes& payload, size_t keep) {
    message.WriteBytes(payload.data(), static_cast<int32_t>(std::min(keep, payload.size())));
    message.ResetPosition();
}

TEST(WeatherRecord, ReadsTheSampleRecordAndKeepsTheDaysOfACutOne) {
    const samplegateway::Bytes payload = samplegateway::WeatherRecord();
    CZVMSG whole(0, ZVM_WEATHER_GETFORECASTA);
    FillRecord(whole, payload, payload.size());
    CWeatherData data;
    ASSERT_TRUE(data.Read(&whole));
    EXPECT_EQ(data.conditions, "Partly Cloudy");
    EXPECT_EQ(data.barometer, 2992);
    ASSERT_EQ(data.GetDayCount(), samplegateway::kForecastDays);
    EXPECT_EQ(data.GetDay(samplegateway::kDayWithoutValues)->high, kNoWeatherValue);
    EXPECT_EQ(data.GetDay(-1), nullptr);
    EXPECT_EQ(data.GetDay(samplegateway::kForecastDays), nullptr);
    // Cut inside the last day's text (before sunrise and sunset): the days before it stay.
    CZVMSG cut(0, ZVM_WEATHER_GETFORECASTA);
    FillRecord(cut, payload, payload.size() - 8 - 6);
    CWeatherData partial;
    EXPECT_FALSE(partial.Read(&cut));
    EXPECT_EQ(partial.GetDayCount(), samplegateway::kForecastDays - 1);
}

class Weather : public InfoPanelTest {};

TEST_F(Weather, ThePanelShowsTheConditionsTheTextAndTheForecast) {
    CZVWindow* panel = Panel(kWeatherPanel);
    auto* now = ChildOf<CWeatherNowWnd>(panel);
    auto* label = ChildOf<CWeatherLabel>(panel);
    auto* forecast = ChildOf<CForecastView>(panel);
    ASSERT_TRUE(now && label && forecast);
    ASSERT_TRUE(SettleUntil([&] {
        if (forecast->GetChildren().GetCount() == 0) return false;
        bool icons = true;
        ForEachChild(forecast->GetChildren(),
                     [&](CZVWindow* tile) { icons = icons && static_cast<CForecastDayView*>(tile)->GetIcon(); });
        return icons;
    }));
    EXPECT_STREQ(now->GetValue(0)->GetText().GetAnsi(), "Partly Cloudy");
    EXPECT_STREQ(now->GetValue(4)->GetText().GetAnsi(), "29.92");
    EXPECT_STREQ(now->GetValue(7)->GetText().GetAnsi(), "10.00 mi");
    EXPECT_STREQ(label->GetText().GetAnsi(), samplegateway::kWeatherText);
    EXPECT_EQ(forecast->GetChildren().GetCount(), samplegateway::kForecastDays);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(panel), "vistrel_weather_panel"));
    // The weather changed: the table and the forecast ask for the record again, the label for its text.
    const size_t records = Requests(ZVM_WEATHER_GETFORECASTQ).size();
    const size_t texts = Requests(ZVM_WEATHER_GETTEXTQ).size();
    gateway.Push(ZVM_WEATHER_CHANGED, {});
    ASSERT_TRUE(SettleUntil([&] { return gateway.Requests().size() > 0; }));
    EXPECT_EQ(Requests(ZVM_WEATHER_GETFORECASTQ).size(), records + 2);
    EXPECT_EQ(Requests(ZVM_WEATHER_GETTEXTQ).size(), texts + 1);
}

TEST_F(Weather, ADaysPictureIsTakenOnlyWithinItsCountAndThePictureLimits) {
    CForecastDay day;
    auto* tile = new CForecastDayView(window.get(), CZVRect(0, 0, 120, 200), server, day, 0, 0xFFFFFF, 0);
    window->AddChild(tile);
    const samplegateway::Bytes jpeg = samplegateway::WeatherIcon(0, 40);
    struct Case {
        const char* what;
        int32_t count;
        size_t sent;
        bool taken;
    };
    for (const Case& c :
         {Case{"a count beyond the payload", static_cast<int32_t>(jpeg.size()) + 1000, jpeg.size(), false},
          Case{"a negative count", -1, jpeg.size(), false},
          Case{"the whole picture", static_cast<int32_t>(jpeg.size()), jpeg.size(), true}}) {
        auto* fresh = new CForecastDayView(window.get(), CZVRect(0, 0, 120, 200), server, day, 0, 0xFFFFFF, 0);
        window->AddChild(fresh);
        CZVMSG answer(0, ZVM_WEATHER_GETICONA);
        answer.WriteInt(c.count);
        answer.WriteBytes(jpeg.data(), static_cast<int32_t>(c.sent));
        answer.ResetPosition();
        fresh->OnMessage(&answer);
        EXPECT_EQ(fresh->GetIcon() != nullptr, c.taken) << c.what;
        if (c.taken) {
            EXPECT_EQ(fresh->GetIcon()->GetRequestedWidth(), fresh->GetIconSize());
        }
    }
    // A picture that claims a size beyond the limits is refused before anything is allocated.
    samplegateway::Bytes huge = jpeg;
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
            huge[i + 5] = 0xFF, huge[i + 6] = 0xFF;  // height 65535
            huge[i + 7] = 0xFF, huge[i + 8] = 0xFF;  // width 65535
            break;
        }
    CZVMSG answer(0, ZVM_WEATHER_GETICONA);
    answer.WriteInt(static_cast<int32_t>(huge.size()));
    answer.WriteBytes(huge.data(), static_cast<int32_t>(huge.size()));
    answer.ResetPosition();
    tile->OnMessage(&answer);
    EXPECT_EQ(tile->GetIcon(), nullptr);
}

}  // namespace
