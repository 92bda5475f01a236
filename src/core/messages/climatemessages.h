#pragma once
// The gateway messages of the climate pages: zones, their status, programs and
// shared schedules, the status lists and the outside temperature; the set
// points, hold, mode and fan a user changes; the history of a zone.
#include <cstdint>

constexpr uint16_t ZVM_HVAC_ZONECHANGED = 0x07D0;
constexpr uint16_t ZVM_HVAC_SCHEDULECHANGED = 0x07D1;
constexpr uint16_t ZVM_HVAC_HISTORYDATA = 0x07D2;
constexpr uint16_t ZVM_HVAC_HISTORYLABELS = 0x07D3;
constexpr uint16_t ZVM_HVAC_GETSENSORTEMPQ = 0x07D4;
constexpr uint16_t ZVM_HVAC_GETSENSORTEMPA = 0x07D5;
constexpr uint16_t ZVM_HVAC_GETOPTIONQ = 0x07D6;
constexpr uint16_t ZVM_HVAC_GETOPTIONA = 0x07D7;
constexpr uint16_t ZVM_HVAC_GETDEVICESQ = 0x07DA;
constexpr uint16_t ZVM_HVAC_GETDEVICESA = 0x07DB;
constexpr uint16_t ZVM_HVAC_GETZONESTATUSQ = 0x07DE;
constexpr uint16_t ZVM_HVAC_GETZONESTATUSA = 0x07DF;
constexpr uint16_t ZVM_HVAC_SUBSCRIBEQ = 0x07EC;
constexpr uint16_t ZVM_HVAC_SUBSCRIBEA = 0x07ED;
constexpr uint16_t ZVM_HVAC_UNSUBSCRIBE = 0x07EE;
constexpr uint16_t ZVM_HVAC_SUBSCRIBEZONESQ = 0x07F0;
constexpr uint16_t ZVM_HVAC_SUBSCRIBEZONESA = 0x07F1;
constexpr uint16_t ZVM_HVAC_SETZONESETPOINTSQ = 0x07FC;
constexpr uint16_t ZVM_HVAC_SETZONESETPOINTSA = 0x07FD;
constexpr uint16_t ZVM_HVAC_GETTHERMOSTATQ = 0x080E;
constexpr uint16_t ZVM_HVAC_GETTHERMOSTATA = 0x080F;
constexpr uint16_t ZVM_HVAC_SETCOOLSETPOINT = 0x0810;
constexpr uint16_t ZVM_HVAC_SETHEATSETPOINT = 0x0812;
constexpr uint16_t ZVM_HVAC_SETTIMEDHOLD = 0x0814;
constexpr uint16_t ZVM_HVAC_SETHOLD = 0x0816;
constexpr uint16_t ZVM_HVAC_SETMODE = 0x0818;
constexpr uint16_t ZVM_HVAC_GETSCHEDULEQ = 0x081E;
constexpr uint16_t ZVM_HVAC_GETSCHEDULEA = 0x081F;
constexpr uint16_t ZVM_HVAC_SETSCHEDULEQ = 0x0820;
constexpr uint16_t ZVM_HVAC_SETSCHEDULEA = 0x0821;
constexpr uint16_t ZVM_HVAC_SETZONEVALUEQ = 0x0822;
constexpr uint16_t ZVM_HVAC_SETZONEVALUEA = 0x0823;
constexpr uint16_t ZVM_HVAC_GETHISTORYQ = 0x0824;
constexpr uint16_t ZVM_HVAC_GETTHERMOSTATSQ = 0x0828;
constexpr uint16_t ZVM_HVAC_GETTHERMOSTATSA = 0x0829;
constexpr uint16_t ZVM_HVAC_CLEARZONEVALUEQ = 0x082A;
constexpr uint16_t ZVM_HVAC_CLEARZONEVALUEA = 0x082B;
constexpr uint16_t ZVM_HVAC_GETHUMIDISTATSQ = 0x0830;
constexpr uint16_t ZVM_HVAC_GETHUMIDISTATSA = 0x0831;
constexpr uint16_t ZVM_HVAC_GETSENSORSQ = 0x0836;
constexpr uint16_t ZVM_HVAC_GETSENSORSA = 0x0837;
constexpr uint16_t ZVM_HVAC_GETGRAPHQ = 0x0838;
constexpr uint16_t ZVM_HVAC_SUBSCRIBECLIMATEQ = 0x086E;
constexpr uint16_t ZVM_HVAC_SUBSCRIBECLIMATEA = 0x086F;
constexpr uint16_t ZVM_HVAC_GETZONEEXTQ = 0x3ADA;
constexpr uint16_t ZVM_HVAC_GETZONEEXTA = 0x3ADB;
constexpr uint16_t ZVM_HVAC_GETHISTORYEXTQ = 0x3ADE;
