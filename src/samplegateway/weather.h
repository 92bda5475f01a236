#pragma once
// The sample house's weather: the conditions with sunrise and sunset, a forecast of five days
// (the fourth without high, low or text), a picture per day made at the size asked for, the
// weather text, and the notice that the weather changed every ten minutes.
#include <cstdint>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class Pacer;

inline constexpr int kForecastDays = 5;
inline constexpr int kDayWithoutValues = 3;
inline constexpr int kMaxIconSide = 512;
inline constexpr uint32_t kWeatherChangeMs = 10 * 60 * 1000;
inline constexpr char kWeatherText[] = "Warm and humid, with a chance of afternoon storms.";

// The forecast answer's payload: the record, then sunrise and sunset.
Bytes WeatherRecord();
// Day i's picture as a JPEG of side x side.
Bytes WeatherIcon(int day, int side);

void ServeWeather(Gateway& gateway, Pacer& pacer);

}  // namespace samplegateway
