#pragma once
// The gateway messages of the schedule pages: the pool controller's programs
// and their changes, the lighting schedules with their events and commands,
// and the lists of keypads, switches and their commands to schedule.
#include <cstdint>

// Pool programs ({controller index, ...}); the run time itself is
// ZVM_POOL_SETRUNTIME of the core.
constexpr uint16_t ZVM_POOL_SCHEDULECHANGED = 0x30D5;
constexpr uint16_t ZVM_POOL_GETSCHEDULESQ = 0x30FE;   // {controller, type}
constexpr uint16_t ZVM_POOL_GETSCHEDULESA = 0x30FF;   // {n, n x program}
constexpr uint16_t ZVM_POOL_ADDPROGRAMQ = 0x3100;     // {controller, type}
constexpr uint16_t ZVM_POOL_ADDPROGRAMA = 0x3101;     // {new program id}
constexpr uint16_t ZVM_POOL_DELETEPROGRAMQ = 0x3102;  // {controller, program id}
constexpr uint16_t ZVM_POOL_DELETEPROGRAMA = 0x3103;
constexpr uint16_t ZVM_POOL_SETPROGRAM = 0x3104;  // {controller, program}, sender 0

// Lighting schedules.
constexpr uint16_t ZVM_SCHEDULE_GETSCHEDULESQ = 0x0C8A;
constexpr uint16_t ZVM_SCHEDULE_GETSCHEDULESA = 0x0C8B;      // {n, n x house-mode mask}
constexpr uint16_t ZVM_SCHEDULE_GETEVENTSQ = 0x0C8E;         // {schedule}
constexpr uint16_t ZVM_SCHEDULE_GETEVENTSA = 0x0C8F;         // {n, n x {name, time type, time value}}
constexpr uint16_t ZVM_SCHEDULE_SETLIGHTINGEVENT = 0x0C94;   // {schedule, event, type, value}, sender 0
constexpr uint16_t ZVM_SCHEDULE_GETCOMMANDSQ = 0x0C96;       // {schedule, event}
constexpr uint16_t ZVM_SCHEDULE_GETCOMMANDSA = 0x0C97;       // {n, n x {device, action}}
constexpr uint16_t ZVM_SCHEDULE_REMOVECOMMANDQ = 0x0C98;     // {schedule, event, command}
constexpr uint16_t ZVM_SCHEDULE_ADDKEYPADCOMMANDQ = 0x0CA4;  // {schedule, event, keypad item}
constexpr uint16_t ZVM_SCHEDULE_ADDSWITCHCOMMANDQ = 0x0CA6;  // {schedule, event, x, y}
constexpr uint16_t ZVM_SCHEDULE_TESTCOMMANDS = 0x0CA8;       // {schedule, event}, sender 0

// The lists of the light command picker; each answer {n, n x {id, name}}.
constexpr uint16_t ZVM_LIGHTS_GETKEYPADLISTQ = 0x0C9C;
constexpr uint16_t ZVM_LIGHTS_GETKEYPADSQ = 0x0C9E;  // {keypad id}
constexpr uint16_t ZVM_LIGHTS_GETDEVICESQ = 0x0CA0;  // {1}
constexpr uint16_t ZVM_LIGHTS_GETDEVICESA = 0x0CA1;
constexpr uint16_t ZVM_LIGHTS_GETSWITCHESQ = 0x0CA2;  // {switch id}
