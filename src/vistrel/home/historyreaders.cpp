#include "vistrel/home/historyreaders.h"

#include "core/msgreader.h"

namespace {

constexpr int32_t kTimeBytes = 16;

}  // namespace

int ReadValuePoints(CZVMSG& message, CValuePoints* points) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kTimeBytes + 4, [&](int32_t) {
        CValuePoint point;
        if (!message.ReadTime(point.time) || !message.ReadInt(point.value)) return 0;
        points->push_back(point);
        return 1;
    });
}

int ReadTimeRanges(CZVMSG& message, CTimeRanges* ranges) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, 2 * kTimeBytes, [&](int32_t) {
        CZVTime start, end;
        if (!message.ReadTime(start) || !message.ReadTime(end)) return 0;
        ranges->emplace_back(start, end);
        return 1;
    });
}
