#pragma once
// Readers of the security messages into plain values: the partition record
// (of the summary and of a single partition), the status answer, the name
// lists and the history answer. Counts never outrun the bytes left; each
// returns 1 when the whole message was read.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "widgets/timeline/timemath.h"

// Status word bits of a partition.
enum : int32_t {
    kSecurityArmed = 0x0001,
    kSecurityReady = 0x0004,
    kSecurityReadyToBypass = 0x0008,
    kSecurityAlarm = 0x0010,
    kSecurityFire = 0x0020,
    kSecurityEntryDelay = 0x0040,
    kSecurityArming = 0x0080,
    kSecurityNoPanel = 0x0100,
};
// The arming mode's value sits in the status word's upper half.
inline int32_t SecurityModeValue(int32_t statusWord) {
    return static_cast<int32_t>(static_cast<uint32_t>(statusWord) >> 16);
}

// Zone state bits.
enum : int32_t {
    kZoneCanBypass = 0x01,
    kZoneBypassed = 0x02,
    kZoneFaulted = 0x04,
    kZoneCanUnbypass = 0x10,
};

struct CSecurityMode {
    std::string name;
    int32_t value = 0;
    int32_t armWithoutCode = 0;
    int32_t codeLength = 0;  // 0: only Enter sends
    int32_t shown = 0;
};

struct CSecurityZone {
    std::string name;
    int32_t zoneId = 0;
    int32_t area = 0;
    int32_t state = 0;
};

struct CSecurityRecord {
    std::string name;
    int32_t partitionId = -1;
    int32_t area = -1;
    int32_t spare = 0;
    int32_t keypadAllowed = 0;
    int32_t bypassAllowed = 0;
    std::vector<CSecurityMode> modes;
    std::vector<CSecurityZone> zones;  // each with the partition's area
};
// One partition record; a short record keeps what was read.
int ReadSecurityRecord(CZVMSG& message, CSecurityRecord* out);

// ZVM_SECURITY_GETSUMMARYA: the history flag and the partitions.
struct CSecuritySummary {
    int32_t historyAvailable = 0;
    std::vector<CSecurityRecord> partitions;
};
int ReadSecuritySummary(CZVMSG& message, CSecuritySummary* out);

// ZVM_SECURITY_GETSTATUSA.
struct CSecurityZoneState {
    int32_t zoneId = 0;
    int32_t state = 0;
};
struct CSecurityStatus {
    std::vector<std::string> lines;
    std::vector<CSecurityZoneState> zones;
    int32_t statusWord = 0;
};
int ReadSecurityStatus(CZVMSG& message, CSecurityStatus* out);

// ZVM_SECURITY_GETLISTSA: two lists of {key, name}.
struct CSecurityName {
    int32_t key = 0;
    std::string name;
};
struct CSecurityNames {
    std::vector<CSecurityName> first;
    std::vector<CSecurityName> zones;
};
int ReadSecurityNames(CZVMSG& message, CSecurityNames* out);

// ZVM_SECURITY_GETHISTORYA: state changes, events and each zone's open
// stretches, all with packed times.
struct CSecurityState {
    CZVTime time;
    int32_t statusWord = 0;
};
struct CSecurityEvent {
    CZVTime time;
    int32_t value = 0;
    std::string text;
};
struct CSecurityZoneHistory {
    int32_t zoneId = 0;
    CTimeRanges ranges;
};
struct CSecurityHistory {
    std::vector<CSecurityState> states;
    std::vector<CSecurityEvent> events;
    std::vector<CSecurityZoneHistory> zones;
};
int ReadSecurityHistory(CZVMSG& message, CSecurityHistory* out);
