#pragma once
// The sample house's calendar of handwritten day notes. Every month has notes on the 3rd, 14th
// and 15th, each a small drawing of its own; a note the tablet stores (an empty one removes it)
// replaces the drawing for as long as the gateway runs, and the month's days follow.
#include <cstdint>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

inline constexpr int kNotedDays[] = {3, 14, 15};

// The built-in note of day d as the polyline list of the wire: a line count, then per line a
// point count and the {x, y} points, 16 bits each, in 0..2000.
Bytes SampleNote(int day);

void ServeCalendar(Gateway& gateway);

}  // namespace samplegateway
