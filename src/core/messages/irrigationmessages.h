#pragma once
// The gateway messages of the irrigation pages: plant groups, programs and
// zones, watering days, start times, the system mode and manual runs, the
// status, the seasonal percentages and the watering history.
#include <cstdint>

constexpr uint16_t ZVM_IRRIGATION_GETGROUPSQ = 0x2EE5;
constexpr uint16_t ZVM_IRRIGATION_GETGROUPSA = 0x2EE6;
constexpr uint16_t ZVM_IRRIGATION_GETSUMMARYQ = 0x2EF5;
constexpr uint16_t ZVM_IRRIGATION_GETSUMMARYA = 0x2EF6;
constexpr uint16_t ZVM_IRRIGATION_GETGROUPQ = 0x2EFD;  // {group id}
constexpr uint16_t ZVM_IRRIGATION_GETGROUPA = 0x2EFE;
constexpr uint16_t ZVM_IRRIGATION_SETGROUPZONESQ = 0x2EFF;  // {zone id, count, count x {program id, seconds}}
constexpr uint16_t ZVM_IRRIGATION_SETGROUPZONESA = 0x2F00;
constexpr uint16_t ZVM_IRRIGATION_SETWATERDAYSQ = 0x2F01;  // {group id, rule}
constexpr uint16_t ZVM_IRRIGATION_SETWATERDAYSA = 0x2F02;
constexpr uint16_t ZVM_IRRIGATION_SETSTARTTIMEQ = 0x2F03;  // {program id, time type, time value}
constexpr uint16_t ZVM_IRRIGATION_SETSTARTTIMEA = 0x2F04;
constexpr uint16_t ZVM_IRRIGATION_RUNPROGRAMS = 0x2F05;
constexpr uint16_t ZVM_IRRIGATION_ALLOFF = 0x2F07;
constexpr uint16_t ZVM_IRRIGATION_MANUALRUN = 0x2F09;        // {zone id, seconds}; {0, 0}: manual mode
constexpr uint16_t ZVM_IRRIGATION_GETMANUALZONESQ = 0x2F0B;  // with the sink id
constexpr uint16_t ZVM_IRRIGATION_GETMANUALZONESA = 0x2F0C;
constexpr uint16_t ZVM_IRRIGATION_SETMANUALTIME = 0x2F0D;  // {zone id, seconds}
constexpr uint16_t ZVM_IRRIGATION_GETHISTORYQ = 0x2F11;    // {-1, from, to}, with the sink id
constexpr uint16_t ZVM_IRRIGATION_GETHISTORYA = 0x2F12;
constexpr uint16_t ZVM_IRRIGATION_GETSTATUSQ = 0x2F19;  // with the sink id
constexpr uint16_t ZVM_IRRIGATION_GETSTATUSA = 0x2F1A;
constexpr uint16_t ZVM_IRRIGATION_GETSEASONALQ = 0x2F1B;  // with the sink id
constexpr uint16_t ZVM_IRRIGATION_GETSEASONALA = 0x2F1C;
constexpr uint16_t ZVM_IRRIGATION_SETSEASONALQ = 0x2F1D;  // {month 1..12, percentage}
constexpr uint16_t ZVM_IRRIGATION_SETSEASONALA = 0x2F1E;

// The controller's system mode, in the status and manual-zones answers.
enum : int32_t {
    kIrrigationNoController = 0,
    kIrrigationOff = 1,
    kIrrigationRunProgram = 2,
    kIrrigationManual = 3,
};
