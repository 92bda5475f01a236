#include "vistrel/home/pool/poolreaders.h"

#include "core/msgreader.h"

int ReadRunTimeNotice(CZVMSG& message, CPoolRunTimeNotice* out) {
    CPoolRunTimeNotice read;
    if (!CMsgReader(message).Int(read.circuitId).Int(read.minutes)) return 0;
    *out = read;
    return 1;
}

int ReadSubPageNotice(CZVMSG& message, CPoolSubPageNotice* out) {
    CPoolSubPageNotice read;
    if (!CMsgReader(message).Int(read.first).Int(read.second).Int(read.third).String(read.text)) return 0;
    *out = std::move(read);
    return 1;
}

namespace {

constexpr int32_t kTimeBytes = 16;

int ReadPoints(CZVMSG& message, CValuePoints* points) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kTimeBytes + 4, [&](int32_t) {
        CValuePoint point;
        if (!message.ReadTime(point.time) || !message.ReadInt(point.value)) return 0;
        points->push_back(point);
        return 1;
    });
}

int ReadRanges(CZVMSG& message, CTimeRanges* ranges) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, 2 * kTimeBytes, [&](int32_t) {
        CZVTime start, end;
        if (!message.ReadTime(start) || !message.ReadTime(end)) return 0;
        ranges->emplace_back(start, end);
        return 1;
    });
}

}  // namespace

int ReadPoolHistory(CZVMSG& message, CPoolHistory* out) {
    for (CValuePoints& points : out->series)
        if (!ReadPoints(message, &points)) return 0;
    for (CTimeRanges& ranges : out->ranges)
        if (!ReadRanges(message, &ranges)) return 0;
    return 1;
}
