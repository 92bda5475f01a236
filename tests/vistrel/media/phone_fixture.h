#pragma once
// What the phone tests send as the gateway: call and voice-mail entries.
#include <string>
#include <vector>

#include "support/gateway_wire.h"

namespace phonetest {

struct Entry {
    int id;
    int month, day, hour, minute;
    int spanMinutes;
    std::string number, caller;
    int flags = 0;  // 0x2: an old message
    int year = 2026;
};

inline void WriteEntry(testsupport::PayloadWriter& out, const Entry& e) {
    out.Int(e.id);
    for (int f : {e.year, e.month, 0, e.day, e.hour, e.minute, 0, 0}) out.Short(static_cast<uint16_t>(f));
    for (int f : {0, 0, 0, e.spanMinutes, 0, 0}) out.Short(static_cast<uint16_t>(f));
    out.String(e.number).String(e.caller).Int(0).Int(e.flags);
}

inline testsupport::Bytes Entries(const std::vector<Entry>& entries) {
    testsupport::PayloadWriter out;
    out.Int(static_cast<int32_t>(entries.size()));
    for (const Entry& e : entries) WriteEntry(out, e);
    return out;
}

}  // namespace phonetest
