#include "widgets/timeline/timemath.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kDayMinutes = 1440;
constexpr int kFineSteps[] = {1, 2, 5, 10, 15, 20, 30, 60, 120, 240};

int64_t Signed(const CZVTimeSpan& span, int64_t magnitude) { return span.IsNegative() ? -magnitude : magnitude; }

}  // namespace

int64_t MillisecondsBetween(const CZVTime& from, const CZVTime& to) {
    const CZVTimeSpan span = to - from;
    return Signed(span, span.GetTotalMilliseconds());
}

int64_t MinutesBetween(const CZVTime& from, const CZVTime& to) {
    const CZVTimeSpan span = to - from;
    return Signed(span, span.GetTotalMinutes());
}

CZVTime PlusMinutes(CZVTime time, int64_t minutes) {
    time.AddMinutes(minutes);
    return time;
}

CZVTime PlusSeconds(CZVTime time, int64_t seconds) {
    time.AddSeconds(seconds);
    return time;
}

CZVTime Midnight(CZVTime time) {
    time.SetHour(0);
    time.SetMinute(0);
    time.SetSecond(0);
    time.SetMilliseconds(0);
    return time;
}

int TimeToX(const CTimeScale& scale, const CZVTime& time) {
    const double span = std::max(scale.spanMinutes, 1);
    if (time >= scale.end) {
        const double minutes = static_cast<double>(MinutesBetween(scale.end, time));
        return scale.rightEdge + static_cast<int>(std::trunc(scale.graphWidth * minutes / span + 0.5));
    }
    double fraction = 0;
    if (scale.spanMinutes <= kDayMinutes)
        fraction = static_cast<double>(MillisecondsBetween(time, scale.end)) / (span * 60000.0);
    else
        fraction = static_cast<double>(MinutesBetween(time, scale.end)) / span;
    return scale.rightEdge - static_cast<int>(std::trunc(scale.graphWidth * fraction + 0.5));
}

CZVTime XToTime(const CTimeScale& scale, int x) {
    if (scale.graphWidth < 1) return scale.end;
    const double fraction = static_cast<double>(scale.rightEdge - x) / scale.graphWidth;
    if (scale.spanMinutes > kDayMinutes)
        return PlusMinutes(scale.end, -static_cast<int64_t>(std::trunc(scale.spanMinutes * fraction)));
    return PlusSeconds(scale.end, -static_cast<int64_t>(std::trunc(scale.spanMinutes * 60.0 * fraction)));
}

CTimeRanges DayBands(const CZVTime& end, int spanMinutes) {
    CTimeRanges bands;
    const CZVTime start = PlusMinutes(end, -spanMinutes);
    if (spanMinutes < kDayMinutes && start.GetDay() == end.GetDay()) return bands;
    CTimeRange band(Midnight(end), end);
    if (end.GetDay() % 2 == 0) band = CTimeRange(PlusMinutes(band.start, kDayMinutes), PlusMinutes(end, kDayMinutes));
    while (band.end >= start) {
        bands.push_back(band);
        const CZVTime dayStart = PlusMinutes(Midnight(band.start), -2 * kDayMinutes);
        band = CTimeRange(dayStart, PlusMinutes(dayStart, kDayMinutes));
    }
    return bands;
}

std::vector<CZVTime> GridLines(const CZVTime& end, int spanMinutes) {
    std::vector<CZVTime> lines;
    const CZVTime start = PlusMinutes(end, -spanMinutes);
    if (spanMinutes > 1800) {
        const int step = spanMinutes > 10080 ? 7 * kDayMinutes : kDayMinutes;
        for (CZVTime line = Midnight(end); line >= start; line = PlusMinutes(line, -step)) lines.push_back(line);
        return lines;
    }
    if (spanMinutes > 240) {
        const int stepHours = spanMinutes <= 720 ? 1 : 4;
        CZVTime line = end;
        line.SetMinute(0);
        line.SetSecond(0);
        line.SetMilliseconds(0);
        // Only lines inside the graph: the start's column is its left edge.
        for (int back = 0; back <= spanMinutes / 60 && line > start; back += stepHours) {
            lines.push_back(line);
            line = PlusMinutes(line, -60 * stepHours);
        }
        return lines;
    }
    int step = 240;
    for (int candidate : kFineSteps)
        if (spanMinutes / candidate <= 10) {
            step = candidate;
            break;
        }
    CZVTime line = end;
    line.SetMinute(0);
    line.SetSecond(0);
    line.SetMilliseconds(0);
    const int minute = (end.GetMinute() / step + 1) * step;
    line = PlusMinutes(line, minute >= 60 ? 60 : minute);
    for (int back = 0; back <= spanMinutes; back += step) {
        lines.push_back(line);
        line = PlusMinutes(line, -step);
    }
    return lines;
}

int ValueAxisStep(int valueMin, int valueMax, int height, int fontSize) {
    const int font = std::max(fontSize, 1);
    for (int step : {5, 10, 20})
        if (static_cast<int64_t>(step) * height / font >= valueMax - valueMin) return step;
    return 20;
}

const CTimeRange* RangeAtColumn(const CTimeScale& scale, const CTimeRanges& ranges, int x) {
    for (const CTimeRange& range : ranges)
        if (TimeToX(scale, range.start) <= x && x <= TimeToX(scale, range.end)) return &range;
    return nullptr;
}

int SumOverlapMinutes(const CTimeRanges& ranges, const CZVTime& start, const CZVTime& end) {
    int64_t seconds = 0;
    for (const CTimeRange& range : ranges) {
        const CZVTime& from = range.start > start ? range.start : start;
        const CZVTime& to = range.end < end ? range.end : end;
        const int64_t overlap = MillisecondsBetween(from, to) / 1000;
        if (overlap > 0) seconds += overlap;
    }
    return static_cast<int>(seconds / 60);
}

int RoundDownTen(int value) { return value >= 0 ? 10 * (value / 10) : -RoundUpTen(-value); }

int RoundUpTen(int value) { return value >= 0 ? 10 * (value / 10 + 1) : -RoundDownTen(-value); }

int ExtendValueRange(int found, int* min, int* max, const CValuePoints& points) {
    for (const CValuePoint& point : points) {
        if (point.value < -29 || point.value > 199) continue;
        if (!found) {
            *min = *max = point.value;
            found = 1;
        }
        *min = std::min(*min, point.value);
        *max = std::max(*max, point.value);
    }
    return found;
}

void ClampValues(int min, int max, CValuePoints* points) {
    if (min > max) return;
    for (CValuePoint& point : *points) point.value = std::clamp(point.value, min, max);
}
