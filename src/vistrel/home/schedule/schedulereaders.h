#pragma once
// Readers of the schedule pages' gateway answers into plain values. Each
// reads a count and then at most that many records, stopping at the first
// record that is not whole; it returns 1 when every counted record was read.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

struct CScheduleEventRecord {
    std::string name;
    int32_t timeType = 0;
    int32_t timeValue = 0;
};

struct CScheduledCommandRecord {
    std::string device;
    std::string action;
};

// A keypad, switch or command of the light command picker's lists.
struct CLightItemRecord {
    int32_t id = 0;
    std::string name;
};

// ZVM_SCHEDULE_GETSCHEDULESA: one house-mode mask per schedule.
int ReadScheduleMasks(CZVMSG& message, std::vector<int32_t>* out);
// ZVM_SCHEDULE_GETEVENTSA.
int ReadScheduleEvents(CZVMSG& message, std::vector<CScheduleEventRecord>* out);
// ZVM_SCHEDULE_GETCOMMANDSA.
int ReadScheduledCommands(CZVMSG& message, std::vector<CScheduledCommandRecord>* out);
// The answers to the picker's four list queries.
int ReadLightItems(CZVMSG& message, std::vector<CLightItemRecord>* out);
