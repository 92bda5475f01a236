#include "vistrel/home/schedule/schedulereaders.h"

#include "core/msgreader.h"

namespace {

// The smallest records on the wire: an empty string takes a count.
constexpr int32_t kIntBytes = 4;
constexpr int32_t kEmptyStringBytes = 4;

template <typename Record, typename ReadOne>
int ReadCounted(CZVMSG& message, std::vector<Record>* out, int32_t minBytes, ReadOne readOne) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, minBytes, [&](int32_t) {
        Record record;
        if (!readOne(CMsgReader(message), record)) return 0;
        out->push_back(std::move(record));
        return 1;
    });
}

}  // namespace

int ReadScheduleMasks(CZVMSG& message, std::vector<int32_t>* out) {
    return ReadCounted(message, out, kIntBytes, [](CMsgReader&& in, int32_t& mask) { return !!in.Int(mask); });
}

int ReadScheduleEvents(CZVMSG& message, std::vector<CScheduleEventRecord>* out) {
    return ReadCounted(message, out, kEmptyStringBytes + 2 * kIntBytes, [](CMsgReader&& in, CScheduleEventRecord& r) {
        return !!in.String(r.name).Int(r.timeType).Int(r.timeValue);
    });
}

int ReadScheduledCommands(CZVMSG& message, std::vector<CScheduledCommandRecord>* out) {
    return ReadCounted(message, out, 2 * kEmptyStringBytes, [](CMsgReader&& in, CScheduledCommandRecord& r) {
        return !!in.String(r.device).String(r.action);
    });
}

int ReadLightItems(CZVMSG& message, std::vector<CLightItemRecord>* out) {
    return ReadCounted(message, out, kIntBytes + kEmptyStringBytes,
                       [](CMsgReader&& in, CLightItemRecord& r) { return !!in.Int(r.id).String(r.name); });
}
