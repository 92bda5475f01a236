#pragma once
// Readers of the pool page's gateway notices into plain values; each
// returns 1 when every value was there.
#include <cstdint>
#include <string>

#include "core/zvmsg.h"
#include "widgets/timeline/timemath.h"

// ZVM_POOL_RUNTIMECHANGED: a circuit's new run time.
struct CPoolRunTimeNotice {
    int32_t circuitId = 0;
    int32_t minutes = 0;
};
int ReadRunTimeNotice(CZVMSG& message, CPoolRunTimeNotice* out);

// ZVM_POOL_SUBPAGEUPDATE: three values and a text for the shown tab.
struct CPoolSubPageNotice {
    int32_t first = 0;
    int32_t second = 0;
    int32_t third = 0;
    std::string text;
};
int ReadSubPageNotice(CZVMSG& message, CPoolSubPageNotice* out);

// ZVM_POOL_HISTORYDATA: five curves (outside air, first body, -, second
// body, -), then five lists of running times (first body, second body,
// solar or heat pump, heater, lights).
struct CPoolHistory {
    static constexpr int kLists = 5;
    CValuePoints series[kLists];
    CTimeRanges ranges[kLists];
};
// Reads up to the first value that is not there, keeping what came before
// it; 1 when the whole answer was read.
int ReadPoolHistory(CZVMSG& message, CPoolHistory* out);
