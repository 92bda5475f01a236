#pragma once
// The arithmetic of the history time lines, free of any window: mapping
// times to pixel columns and back, the shaded day bands, the grid lines,
// the value axis step and the value ranges of the curves.
#include <cstdint>
#include <vector>

#include "core/zvtime.h"
#include "widgets/lists/timeranges.h"

// One value of a curve at a time.
struct CValuePoint {
    CZVTime time;
    int32_t value = 0;
};
using CValuePoints = std::vector<CValuePoint>;
using CTimeRanges = std::vector<CTimeRange>;

// The signed whole milliseconds, seconds and minutes from `from` to `to`
// (negative when `to` is earlier).
int64_t MillisecondsBetween(const CZVTime& from, const CZVTime& to);
int64_t MinutesBetween(const CZVTime& from, const CZVTime& to);
// The time moved by that many minutes or seconds.
CZVTime PlusMinutes(CZVTime time, int64_t minutes);
CZVTime PlusSeconds(CZVTime time, int64_t seconds);
// Midnight that begins the time's day.
CZVTime Midnight(CZVTime time);

// How a graph lays a time window over its columns: the window ends at `end`
// and spans `spanMinutes`; `graphWidth` pixels (the graph's width less one)
// lie between the column of the start and the column `rightEdge` of the end.
struct CTimeScale {
    CZVTime end;
    int spanMinutes = 1;
    int graphWidth = 0;
    int rightEdge = 0;
};

// Milliseconds count for windows up to a day, whole minutes above; times
// outside the window give columns outside the graph.
int TimeToX(const CTimeScale& scale, const CZVTime& time);
// The time of a column; a graph without width maps every column to the end.
CZVTime XToTime(const CTimeScale& scale, int x);

// The shaded bands of a window ending at `end`: every second calendar day,
// the end's own day first when its day of the month is odd, else the day
// before; newest first. None when the window lies within one day.
CTimeRanges DayBands(const CZVTime& end, int spanMinutes);
// The times of the grid lines of the window, newest first.
std::vector<CZVTime> GridLines(const CZVTime& end, int spanMinutes);

// Values per label on an axis of `height` pixels from min to max with
// labels of fontSize (a size below 1 counts as 1): 5, 10 or 20.
int ValueAxisStep(int valueMin, int valueMax, int height, int fontSize);

// The first range whose ends, placed on the graph, enclose column x (ends
// included); null when none does.
const CTimeRange* RangeAtColumn(const CTimeScale& scale, const CTimeRanges& ranges, int x);

// The minutes of the window [start, end] that the ranges cover.
int SumOverlapMinutes(const CTimeRanges& ranges, const CZVTime& start, const CZVTime& end);

// To the ten below (79 -> 70, -5 -> -10) and the ten above (90 -> 100).
int RoundDownTen(int value);
int RoundUpTen(int value);

// Widens min and max by every value of the points in -29..199; `found`
// tells whether min and max already hold values. 1 when any value counted.
int ExtendValueRange(int found, int* min, int* max, const CValuePoints& points);
// Brings every value into min..max.
void ClampValues(int min, int max, CValuePoints* points);
