#include "gfx/shadepoly.h"

#include <cstddef>

#include "platform/report.h"

bool CPointList::InRange(int i, int line) const {
    if (i >= 0 && i < GetCount()) return true;
    ReportAssert("shadepoly", line, 1);
    return false;
}

void CPointList::Add(int x, int y) {
    x_.push_back(x);
    y_.push_back(y);
}

int CPointList::GetX(int i) const {
    return InRange(i, 303) ? x_[i] : 0;
}

int CPointList::GetY(int i) const {
    return InRange(i, 314) ? y_[i] : 0;
}

void CPointList::SetX(int i, int v) {
    if (InRange(i, 324)) x_[i] = v;
}

void CPointList::SetY(int i, int v) {
    if (InRange(i, 335)) y_[i] = v;
}

void CPointList::RemoveAt(int i) {
    if (!InRange(i, 424)) return;
    x_.erase(x_.begin() + i);
    y_.erase(y_.begin() + i);
}

void CPointList::RemoveLast() {
    if (x_.empty()) return;
    x_.pop_back();
    y_.pop_back();
}

void CPointList::Clear() {
    x_.clear();
    y_.clear();
}

void CPointList::RemoveDuplicates() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < x_.size(); ++i) {
        if (kept > 0 && x_[i] == x_[kept - 1] && y_[i] == y_[kept - 1]) continue;
        x_[kept] = x_[i];
        y_[kept] = y_[i];
        ++kept;
    }
    x_.resize(kept);
    y_.resize(kept);
}

void CSpanList::Add(int x, int y, int length) {
    if (length <= 0) return;
    x_.push_back(x);
    y_.push_back(y);
    length_.push_back(length);
}

void CSpanList::Offset(int dx, int dy) {
    for (auto& x : x_) x += dx;
    for (auto& y : y_) y += dy;
}
