#include "widgets/lists/timeranges.h"

int CTimeRangeList::Find(const ITimeAxis& axis, int x, CZVTime* start, CZVTime* end) const {
    for (const auto& range : m_ranges) {
        if (axis.TimeToX(range->start) > x || x > axis.TimeToX(range->end)) continue;
        *start = range->start;
        *end = range->end;
        return 1;
    }
    return 0;
}
