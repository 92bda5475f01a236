#include "vistrel/home/pool/poolreaders.h"

#include "core/msgreader.h"
#include "vistrel/home/historyreaders.h"

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

int ReadPoolHistory(CZVMSG& message, CPoolHistory* out) {
    for (CValuePoints& points : out->series)
        if (!ReadValuePoints(message, &points)) return 0;
    for (CTimeRanges& ranges : out->ranges)
        if (!ReadTimeRanges(message, &ranges)) return 0;
    return 1;
}
