#pragma once
// The times of the sample gateway's history answers: read from a request,
// written in full or packed, and moved by minutes.
#include <cstdint>
#include <optional>

#include "core/zvtime.h"
#include "samplegateway/wire.h"

namespace samplegateway {

// A full time (eight 16-bit fields); nothing when it is short or no date.
std::optional<CZVTime> ReadTime(PayloadReader& in);
void WriteTime(PayloadWriter& out, const CZVTime& time);
// Six bytes: year - 2000, weekday x 16 + month, day, hour, minute, second.
void WritePackedTime(PayloadWriter& out, const CZVTime& time);
CZVTime PlusMinutes(CZVTime time, int64_t minutes);
// Midnight of the time's day.
CZVTime DayStart(CZVTime time);

}  // namespace samplegateway
