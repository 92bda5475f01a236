#pragma once
// The weather as the gateway keeps it: the current conditions and a forecast
// of several days, read from its answer. Integer values are 10000 when the
// gateway has none; the value texts show those as "-".
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/zvtime.h"
#include "gfx/zvstring.h"

class CZVMSG;

inline constexpr int32_t kNoWeatherValue = 10000;

class CForecastDay {
public:
    // Time, high, low, text; 0 at the first field that cannot be read.
    int Read(CZVMSG* message);

    CZVTime date;
    int32_t high = kNoWeatherValue;
    int32_t low = kNoWeatherValue;
    std::string text;
};

class CWeatherData {
public:
    // The whole record from the read position. 0 at the first field that
    // cannot be read; the days read before it stay.
    int Read(CZVMSG* message);
    // The day, or null outside 0..count-1.
    const CForecastDay* GetDay(int index) const;
    int GetDayCount() const { return static_cast<int>(m_days.size()); }

    std::string conditions;
    int32_t temperature = kNoWeatherValue;
    int32_t humidity = kNoWeatherValue;
    std::string wind;
    int32_t barometer = kNoWeatherValue;
    int32_t dewPoint = kNoWeatherValue;
    int32_t windChill = kNoWeatherValue;
    int32_t visibility = kNoWeatherValue;

private:
    std::vector<std::unique_ptr<CForecastDay>> m_days;
};

// "-" for no value; else the whole degrees, the degree sign and " F", or " C"
// when the gateway works in Celsius.
CZVString FormatWeatherTemperature(int32_t value, int celsius);
// "-" for no value; else the number.
CZVString FormatWeatherInt(int32_t value);
// "-" for no value; else the hundredths as a number with two decimals.
CZVString FormatHundredths(int32_t value);
