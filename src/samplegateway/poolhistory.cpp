#include "samplegateway/poolhistory.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/messages/coremessages.h"
#include "core/zvtime.h"
#include "samplegateway/gateway.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int kPointMinutes = 30;
constexpr int kMaxDays = 62;  // a longer range gets its last days only: the answer stays small
constexpr double kPi = 3.14159265358979323846;

// In the answer's order: outside air, pool, (none), spa, (none).
constexpr std::optional<DailyCurve> kCurves[] = {DailyCurve{75, 10, 15}, DailyCurve{82, 2, 17}, std::nullopt,
                                                 DailyCurve{100, 2, 21}, std::nullopt};

// Each day's running times in the answer's order: pool pump, spa, heat pump, heater, lights.
constexpr DailyRun kRuns[] = {
    {8 * 60, 18 * 60}, {19 * 60, 20 * 60}, {12 * 60, 15 * 60}, {19 * 60, 19 * 60 + 30}, {20 * 60, 23 * 60}};

int ValueAt(const DailyCurve& curve, const CZVTime& time) {
    const double hour = time.GetHour() + time.GetMinute() / 60.0;
    return static_cast<int>(std::lround(curve.mean + curve.swing * std::cos(2 * kPi * (hour - curve.peakHour) / 24)));
}

}  // namespace

Bytes DailyHistory(CZVTime start, const CZVTime& end, std::span<const std::optional<DailyCurve>> curves,
                   std::span<const DailyRun> runs) {
    if (end < start) start = end;
    const CZVTime earliest = PlusMinutes(end, -int64_t{kMaxDays} * 1440);
    if (start < earliest) start = earliest;
    // The points: from the half hour before the start to the one after the end.
    CZVTime first = start;
    first.SetMinute(start.GetMinute() - start.GetMinute() % kPointMinutes);
    first.SetSecond(0);
    first.SetMilliseconds(0);
    PayloadWriter out;
    for (const std::optional<DailyCurve>& curve : curves) {
        std::vector<CZVTime> times;
        if (curve)
            for (CZVTime t = first; t <= PlusMinutes(end, kPointMinutes); t = PlusMinutes(t, kPointMinutes))
                times.push_back(t);
        out.Int(static_cast<int32_t>(times.size()));
        for (const CZVTime& t : times) {
            WriteTime(out, t);
            out.Int(ValueAt(*curve, t));
        }
    }
    for (const DailyRun& run : runs) {
        std::vector<std::pair<CZVTime, CZVTime>> ranges;
        for (CZVTime day = DayStart(PlusMinutes(start, -1440)); day <= end; day = PlusMinutes(day, 1440)) {
            const CZVTime from = PlusMinutes(day, run.from), to = PlusMinutes(day, run.to);
            if (to >= start && from <= end) ranges.emplace_back(from, to);
        }
        out.Int(static_cast<int32_t>(ranges.size()));
        for (const auto& [from, to] : ranges) {
            WriteTime(out, from);
            WriteTime(out, to);
        }
    }
    return out;
}

void ServePoolHistory(Gateway& gateway) {
    gateway.On(ZVM_POOL_GETHISTORYQ, [](const Frame& request) -> std::vector<Frame> {
        // {controller, start, end, listener}
        PayloadReader in(request.payload);
        int32_t controller = 0, listener = 0;
        if (!in.Int(&controller)) return {};
        const std::optional<CZVTime> start = ReadTime(in), end = ReadTime(in);
        if (!start || !end || !in.Int(&listener)) return {};
        return {{static_cast<uint16_t>(listener), ZVM_POOL_HISTORYDATA, DailyHistory(*start, *end, kCurves, kRuns)}};
    });
}

}  // namespace samplegateway
