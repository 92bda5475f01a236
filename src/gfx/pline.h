#pragma once
// Hand-drawn strokes: polylines of 16-bit points, carried inside gateway
// messages as a line count, then per line a point count and the points
// (16-bit x, 16-bit y), all little-endian.
#include <cstdint>
#include <memory>

#include "core/zvoblist.h"

class CZVMSG;

class CPLine {
public:
    // Counts are 16-bit in memory; a line holds at most this many points.
    static constexpr int kMaxPoints = 65535;

    CPLine() = default;
    virtual ~CPLine() = default;
    CPLine(const CPLine&) = delete;
    CPLine& operator=(const CPLine&) = delete;

    // Room for n points (in steps of 64, at most kMaxPoints); 0, the line
    // unchanged, when n is above kMaxPoints or memory cannot be had.
    int Reserve(int n);
    // 0, the point not added, when the line is full.
    int AddPoint(int16_t x, int16_t y);
    int GetCount() const { return m_count; }
    // An index outside 0..count-1 is reported and gives 0.
    int16_t GetX(int index) const;
    int16_t GetY(int index) const;

    int Write(CZVMSG* msg) const;
    // Replaces the points with those of the message, in arrays of exactly
    // their count. A count that is negative, above kMaxPoints or above what
    // is left of the message fails: 0, and the line is empty.
    int Read(CZVMSG* msg);

private:
    std::unique_ptr<int16_t[]> m_xs;
    std::unique_ptr<int16_t[]> m_ys;
    uint16_t m_count = 0;
    uint16_t m_capacity = 0;
};

class CPLineList {
public:
    // Lines in one message; more are refused by Read.
    static constexpr int kMaxLines = 65535;

    CPLineList() = default;
    virtual ~CPLineList();
    CPLineList(const CPLineList&) = delete;
    CPLineList& operator=(const CPLineList&) = delete;

    // A new empty line at the end, owned by the list; null without memory.
    CPLine* AddNew();
    int GetCount() const { return m_lines.GetCount(); }
    // An index outside 0..count-1 is reported and gives null.
    CPLine* GetAt(int index) const;
    void RemoveAll();

    int Write(CZVMSG* msg) const;
    // Replaces the lines with those of the message; 0 and an empty list when
    // any count is out of bounds or the message ends early.
    int Read(CZVMSG* msg);

private:
    CZVObList m_lines;
};
