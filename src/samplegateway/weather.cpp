#include "samplegateway/weather.h"

#include <algorithm>
#include <memory>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/pacer.h"
#include "samplegateway/slides.h"
#include "samplegateway/times.h"

namespace samplegateway {
namespace {

constexpr int32_t kNoValue = 10000;
constexpr int32_t kSunrise = 6 * 60 + 26;  // minutes after midnight
constexpr int32_t kSunset = 20 * 60 + 51;

struct Day {
    int32_t high;
    int32_t low;
    const char* text;
    bool sunny;
};
constexpr Day kDays[kForecastDays] = {{88, 71, "Partly cloudy", true},
                                      {91, 73, "Sunny and hot", true},
                                      {84, 70, "Thunderstorms likely", false},
                                      {kNoValue, kNoValue, "", false},
                                      {86, 69, "Mostly sunny", true}};

// The first forecast day: the sample house's date.
CZVTime FirstDay() {
    CZVTime day;
    day.Set(2011, 6, 0, 15, 0, 0, 0, 0);
    day.Normalize();
    return day;
}

// A sun on a blue sky, or a grey cloud on a paler one, as RGB rows.
Bytes IconPixels(bool sunny, int side) {
    Bytes rgb(static_cast<size_t>(side) * static_cast<size_t>(side) * 3);
    const int centre = side / 2;
    const int radius = side / 3;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int dx = x - centre, dy = y - centre;
            const bool inside = dx * dx + dy * dy <= radius * radius;
            uint8_t r = 70, g = 130, b = 200;
            if (sunny && inside) r = 250, g = 210, b = 40;
            if (!sunny) {
                r = 150, g = 170, b = 190;
                const bool cloud = (dx * dx / 2 + dy * dy * 2 <= radius * radius);
                if (cloud) r = 225, g = 225, b = 230;
            }
            uint8_t* pixel = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)) * 3];
            pixel[0] = r, pixel[1] = g, pixel[2] = b;
        }
    return rgb;
}

}  // namespace

Bytes WeatherRecord() {
    PayloadWriter out;
    const CZVTime first = FirstDay();
    out.Int(0).String("");
    WriteTime(out, first);
    WriteTime(out, first);
    out.String("");
    out.String("Partly Cloudy").Int(84).Int(62).String("SW at 8 mph").Int(2992).Int(69).Int(84).Int(1000);
    out.Int(kForecastDays);
    for (int i = 0; i < kForecastDays; ++i) {
        CZVTime date = first;
        date.AddDays(i);
        WriteTime(out, date);
        out.Int(kDays[i].high).Int(kDays[i].low).String(kDays[i].text);
    }
    out.Int(kSunrise).Int(kSunset);
    return out;
}

Bytes WeatherIcon(int day, int side) {
    const bool sunny = day >= 0 && day < kForecastDays && kDays[day].sunny;
    return EncodeJpeg(side, side, IconPixels(sunny, side));
}

void ServeWeather(Gateway& gateway, Pacer& pacer) {
    gateway.On(ZVM_WEATHER_GETFORECASTQ, [](const Frame& request) -> std::vector<Frame> {
        return {{request.sender, ZVM_WEATHER_GETFORECASTA, WeatherRecord()}};
    });
    gateway.On(ZVM_WEATHER_GETICONQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t day = 0, width = 0, height = 0;
        if (!in.Int(&day) || !in.Int(&width) || !in.Int(&height) || width <= 0) return {};
        const Bytes jpeg = WeatherIcon(day, std::min<int32_t>(width, kMaxIconSide));
        PayloadWriter out;
        out.Int(static_cast<int32_t>(jpeg.size())).Raw(jpeg.data(), jpeg.size());
        return {{request.sender, ZVM_WEATHER_GETICONA, out}};
    });
    gateway.On(ZVM_WEATHER_GETTEXTQ, [](const Frame& request) -> std::vector<Frame> {
        return {{request.sender, ZVM_WEATHER_GETTEXTA, PayloadWriter().String(kWeatherText)}};
    });
    // The weather "changes" every ten minutes from the first step on.
    auto next = std::make_shared<uint32_t>(0);
    auto started = std::make_shared<bool>(false);
    Gateway* to = &gateway;
    pacer.Add([to, next, started](uint32_t now_ms) {
        if (!*started) {
            *started = true;
            *next = now_ms + kWeatherChangeMs;
            return;
        }
        if (static_cast<int32_t>(now_ms - *next) < 0) return;
        *next = now_ms + kWeatherChangeMs;
        to->Push(ZVM_WEATHER_CHANGED, {});
    });
}

}  // namespace samplegateway
