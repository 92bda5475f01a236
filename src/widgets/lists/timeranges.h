#pragma once
// Named lists of time intervals, with lookup of the interval under an x
// position of a time-line graph.
#include <memory>
#include <vector>

#include "core/zvtime.h"
#include "gfx/zvstring.h"

// Where a time lies on a time-line graph (supplied by the time line view).
class ITimeAxis {
public:
    virtual ~ITimeAxis() = default;
    virtual int TimeToX(const CZVTime& time) const = 0;
};

struct CTimeRange {
    CTimeRange(CZVTime start, CZVTime end) : start(start), end(end) {}
    CZVTime start;
    CZVTime end;
};

class CTimeRangeList {
public:
    explicit CTimeRangeList(CZVString name) : m_name(name) {}
    virtual ~CTimeRangeList() = default;

    void Add(CTimeRange range) { m_ranges.push_back(std::make_unique<CTimeRange>(range)); }
    // The first range whose ends, placed on the axis, enclose x (ends
    // included): copied out, and 1. 0 when none does.
    int Find(const ITimeAxis& axis, int x, CZVTime* start, CZVTime* end) const;
    int GetCount() const { return static_cast<int>(m_ranges.size()); }
    const CZVString& GetName() const { return m_name; }

private:
    std::vector<std::unique_ptr<CTimeRange>> m_ranges;
    CZVString m_name;
};
