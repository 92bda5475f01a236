#pragma once
// Readers of the lists every history answer is made of: a curve (a count,
// then {time, i32 value}) and running times (a count, then {start, end}).
// Each appends what it reads and stops at the first value that is not there.
#include "core/zvmsg.h"
#include "widgets/timeline/timemath.h"

// 1 when the whole list was read.
int ReadValuePoints(CZVMSG& message, CValuePoints* points);
int ReadTimeRanges(CZVMSG& message, CTimeRanges* ranges);
