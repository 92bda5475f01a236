#pragma once
// Readers of the pool page's gateway notices into plain values; each
// returns 1 when every value was there.
#include <cstdint>
#include <string>

#include "core/zvmsg.h"

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
