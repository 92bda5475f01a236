#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int kTimeFields = 8;
constexpr int kPackedYearBase = 2000;

}  // namespace

std::optional<CZVTime> ReadTime(PayloadReader& in) {
    uint16_t fields[kTimeFields];
    if (!in.Raw(fields, sizeof fields)) return std::nullopt;
    for (uint16_t& field : fields) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&field);
        field = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    }
    CZVTime time;
    time.Set(fields[0], fields[1], 0, fields[3], fields[4], fields[5], fields[6], fields[7]);
    if (!time.Normalize()) return std::nullopt;
    return time;
}

void WriteTime(PayloadWriter& out, const CZVTime& time) {
    for (int field : {time.GetYear(), time.GetMonth(), time.GetDayOfWeek(), time.GetDay(), time.GetHour(),
                      time.GetMinute(), time.GetSecond(), time.GetMilliseconds()})
        out.Short(static_cast<uint16_t>(field));
}

void WritePackedTime(PayloadWriter& out, const CZVTime& time) {
    out.Byte(static_cast<uint8_t>(time.GetYear() - kPackedYearBase));
    out.Byte(static_cast<uint8_t>(time.GetDayOfWeek() << 4 | time.GetMonth()));
    for (int field : {time.GetDay(), time.GetHour(), time.GetMinute(), time.GetSecond()})
        out.Byte(static_cast<uint8_t>(field));
}

CZVTime PlusMinutes(CZVTime time, int64_t minutes) {
    time.AddMinutes(minutes);
    return time;
}

CZVTime DayStart(CZVTime time) {
    time.SetHour(0);
    time.SetMinute(0);
    time.SetSecond(0);
    time.SetMilliseconds(0);
    return time;
}

}  // namespace samplegateway
