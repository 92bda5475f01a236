#pragma once
// Elapsed time for the toolkit's animations, timers and time-outs.
#include <cstdint>

// Milliseconds from `*stamp` (a platform::GetTickCount value) to now. When
// the counter has wrapped since the stamp, the result is one less than the
// difference modulo 2^32. Timers fire when it is greater than their interval.
uint32_t TicksSince(const uint32_t* stamp);
