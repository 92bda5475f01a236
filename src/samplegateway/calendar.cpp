#include "samplegateway/calendar.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/times.h"

namespace samplegateway {
namespace {

using Point = std::pair<uint16_t, uint16_t>;
using Stroke = std::vector<Point>;
using DayKey = std::tuple<int, int, int>;

Bytes WriteStrokes(const std::vector<Stroke>& strokes) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(strokes.size()));
    for (const Stroke& stroke : strokes) {
        out.Int(static_cast<int32_t>(stroke.size()));
        for (auto [x, y] : stroke) out.Short(x).Short(y);
    }
    return out;
}

// A box with a cross, a zigzag, or a rising line, by day.
std::vector<Stroke> NoteStrokes(int day) {
    switch (day) {
    case 3: return {{{300, 300}, {1700, 300}, {1700, 1700}, {300, 1700}, {300, 300}}, {{300, 300}, {1700, 1700}}};
    case 14: return {{{200, 1000}, {600, 400}, {1000, 1000}, {1400, 400}, {1800, 1000}}};
    case 15: return {{{200, 1800}, {1800, 200}}, {{1000, 1000}}};
    default: return {};
    }
}

bool IsNotedDay(int day) {
    return std::find(std::begin(kNotedDays), std::end(kNotedDays), day) != std::end(kNotedDays);
}

class Calendar {
public:
    Bytes Note(const CZVTime& day) {
        std::lock_guard lock(mutex_);
        const auto stored = notes_.find(KeyOf(day));
        return stored != notes_.end() ? stored->second : SampleNote(day.GetDay());
    }
    void Store(const CZVTime& day, Bytes strokes) {
        std::lock_guard lock(mutex_);
        notes_[KeyOf(day)] = std::move(strokes);
    }
    uint32_t MonthMask(const CZVTime& month) {
        std::lock_guard lock(mutex_);
        uint32_t mask = 0;
        for (int day : kNotedDays) mask |= 1u << (day - 1);
        for (const auto& [key, strokes] : notes_) {
            const auto [year, number, day] = key;
            if (year != month.GetYear() || number != month.GetMonth()) continue;
            // An empty list (its count 0) is no note.
            const bool empty = std::all_of(strokes.begin(), std::min(strokes.begin() + 4, strokes.end()),
                                           [](uint8_t b) { return b == 0; });
            if (empty)
                mask &= ~(1u << (day - 1));
            else
                mask |= 1u << (day - 1);
        }
        return mask;
    }

private:
    static DayKey KeyOf(const CZVTime& day) { return {day.GetYear(), day.GetMonth(), day.GetDay()}; }

    std::mutex mutex_;
    std::map<DayKey, Bytes> notes_;
};

}  // namespace

Bytes SampleNote(int day) { return WriteStrokes(IsNotedDay(day) ? NoteStrokes(day) : std::vector<Stroke>{}); }

void ServeCalendar(Gateway& gateway) {
    auto calendar = std::make_shared<Calendar>();
    gateway.On(ZVM_CALENDAR_GETMONTHQ, [calendar](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        const std::optional<CZVTime> month = ReadTime(in);
        if (!month) return {};
        PayloadWriter out;
        WriteTime(out, *month);
        out.Int(static_cast<int32_t>(calendar->MonthMask(*month)));
        return {{request.sender, ZVM_CALENDAR_GETMONTHA, out}};
    });
    gateway.On(ZVM_CALENDAR_GETDAYQ, [calendar](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        const std::optional<CZVTime> day = ReadTime(in);
        if (!day) return {};
        return {{request.sender, ZVM_CALENDAR_GETDAYA, calendar->Note(*day)}};
    });
    gateway.On(ZVM_CALENDAR_CLOSEDAY, [calendar](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        const std::optional<CZVTime> day = ReadTime(in);
        if (!day) return {};
        calendar->Store(*day, Bytes(request.payload.begin() + 16, request.payload.end()));
        return {};
    });
}

}  // namespace samplegateway
