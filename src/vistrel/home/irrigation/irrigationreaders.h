#pragma once
// Readers of the irrigation messages into plain values: the plant groups,
// the programs, a group's zones, the status, the manual zones, the seasonal
// percentages and the watering history. Counts never outrun the bytes left;
// each returns 1 when the whole message was read and keeps what it read
// before a cut.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "widgets/timeline/timemath.h"

// A plant group and its watering-day rule: the low 4 bits give the kind,
// bits 16..22 the days Monday..Sunday for the days-of-week kind.
struct CPlantGroup {
    enum : int32_t { kDaysOfWeek = 1, kEvenDays = 2, kOddDays = 3, kEvery2nd = 4, kEvery5th = 7 };
    static constexpr int32_t kKindMask = 0xF;
    static constexpr int kFirstDayBit = 16;
    static constexpr int32_t kAllDays = 0x7F << kFirstDayBit;

    int32_t id = 0;
    std::string name;
    int32_t rule = 0;
    int32_t dirty = 0;
};
// ZVM_IRRIGATION_GETGROUPSA.
int ReadPlantGroups(CZVMSG& message, std::vector<CPlantGroup>* out);

// A program as the summary answer lists it.
struct CIrrigationProgramRecord {
    int32_t id = 0;
    std::string name;
    int32_t timeType = 0;
    int32_t timeValue = 0;
};
// ZVM_IRRIGATION_GETSUMMARYA.
int ReadIrrigationPrograms(CZVMSG& message, std::vector<CIrrigationProgramRecord>* out);

// A zone's base run time for one program.
struct CZoneTimePair {
    int32_t programId = 0;
    int32_t seconds = 0;
};
// A zone of a plant group with one pair per program, in program order.
struct CIrrigationZone {
    int32_t id = 0;
    std::string name;
    std::vector<CZoneTimePair> runTimes;
    int32_t dirty = 0;

    // The base time of the program at that index; 0 outside the pairs.
    int32_t GetBaseTime(int program) const;
    // Ignored outside the pairs.
    void SetBaseTime(int program, int32_t seconds);
};
// ZVM_IRRIGATION_GETGROUPA: each zone with `programs` pairs.
int ReadIrrigationZones(CZVMSG& message, int programs, std::vector<CIrrigationZone>* out);

// ZVM_IRRIGATION_GETSTATUSA.
struct CIrrigationStatus {
    int32_t mode = 0;
    int32_t spare = 0;
    int32_t secondsRemaining = 0;
    int32_t rain = 0;
    std::string zone;
};
int ReadIrrigationStatus(CZVMSG& message, CIrrigationStatus* out);

// ZVM_IRRIGATION_GETMANUALZONESA.
struct CManualZone {
    int32_t id = 0;
    std::string name;
    int32_t secondsToRun = 0;
    int32_t runTime = 0;
};
struct CManualZones {
    int32_t mode = 0;
    std::vector<CManualZone> zones;
};
int ReadManualZones(CZVMSG& message, CManualZones* out);

// ZVM_IRRIGATION_GETSEASONALA: January..December.
using CSeasonalPercents = std::array<uint8_t, 12>;
int ReadSeasonalPercents(CZVMSG& message, CSeasonalPercents* out);

// ZVM_IRRIGATION_GETHISTORYA: the controller's modes and the zones' runs.
struct CModeInterval {
    CZVTime start;
    CZVTime end;
    int32_t mode = 0;
};
struct CModeTimeline {
    std::string name;
    std::vector<CModeInterval> intervals;
};
struct CZoneTimeline {
    std::string name;
    CTimeRanges ranges;
};
struct CIrrigationHistory {
    std::vector<CModeTimeline> modes;
    std::vector<CZoneTimeline> zones;
};
int ReadIrrigationHistory(CZVMSG& message, CIrrigationHistory* out);
