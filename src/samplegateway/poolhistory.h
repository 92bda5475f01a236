#pragma once
// The sample pool's history: for any range a client asks for, the outside
// air and both bodies' temperatures every half hour on daily curves, and
// the equipment's daily running times, so that every window shows data.
#include <optional>
#include <span>

#include "core/zvtime.h"
#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

// A daily curve: mean, half its swing, and the hour of its top.
struct DailyCurve {
    double mean;
    double swing;
    double peakHour;
};
// A daily running time, minutes of the day.
struct DailyRun {
    int from;
    int to;
};
// A history answer for [start, end]: each curve (none: an empty one) every half hour, then each
// run on every day, as value lists and range lists in that order.
Bytes DailyHistory(CZVTime start, const CZVTime& end, std::span<const std::optional<DailyCurve>> curves,
                   std::span<const DailyRun> runs);

// Answers the history request with the history of the range asked for.
void ServePoolHistory(Gateway& gateway);

}  // namespace samplegateway
