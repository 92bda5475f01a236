#include "vistrel/media/weather/weatherdata.h"

#include "core/msgreader.h"
#include "core/zvmsg.h"

namespace {

// The shortest day on the wire: a time, two values and an empty text.
constexpr int32_t kMinDayBytes = 16 + 4 + 4 + 4;

}  // namespace

int CForecastDay::Read(CZVMSG* message) {
    return message->ReadTime(date) && CMsgReader(*message).Int(high).Int(low).String(text);
}

int CWeatherData::Read(CZVMSG* message) {
    m_days.clear();
    int32_t unusedValue = 0;
    std::string unusedText;
    CZVTime unusedTime;
    if (!message->ReadInt(unusedValue) || !message->ReadString(unusedText) || !message->ReadTime(unusedTime) ||
        !message->ReadTime(unusedTime) || !message->ReadString(unusedText))
        return 0;
    int32_t count = 0;
    if (!CMsgReader(*message)
             .String(conditions)
             .Int(temperature)
             .Int(humidity)
             .String(wind)
             .Int(barometer)
             .Int(dewPoint)
             .Int(windChill)
             .Int(visibility)
             .Int(count))
        return 0;
    return ReadRecords(*message, count, kMinDayBytes, [&](int32_t) {
        auto day = std::make_unique<CForecastDay>();
        if (!day->Read(message)) return false;
        m_days.push_back(std::move(day));
        return true;
    });
}

const CForecastDay* CWeatherData::GetDay(int index) const {
    if (index < 0 || index >= GetDayCount()) return nullptr;
    return m_days[static_cast<size_t>(index)].get();
}

CZVString FormatWeatherTemperature(int32_t value, int celsius) {
    if (value == kNoWeatherValue) return "-";
    CZVString text;
    text.Format("%d\xBA %s", value, celsius ? "C" : "F");
    return text;
}

CZVString FormatWeatherInt(int32_t value) {
    if (value == kNoWeatherValue) return "-";
    CZVString text;
    text.Format("%d", value);
    return text;
}

CZVString FormatHundredths(int32_t value) {
    if (value == kNoWeatherValue) return "-";
    CZVString text;
    text.Format("%0.02f", value * 0.01);
    return text;
}
