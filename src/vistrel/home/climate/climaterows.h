#pragma once
// The gateway's lists of climate devices and their once-a-second rows, read
// into plain values, and the texts the status lists show for them.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "gfx/zvstring.h"

// Device kinds of ZVM_HVAC_GETDEVICESQ.
enum : int { kDevicesZones = 0, kDevicesThermostats = 1, kDevicesHumidistats = 2 };

// Zone flags of the climate page's zone list.
enum : int { kZoneFlagHumidistat = 0x20, kZoneFlagPanel = 0x40 };

// One zone of the climate page (device kind 0).
struct CClimateZoneEntry {
    int32_t zoneId = 0;
    std::string name;
    int32_t flags = 0;
};

// One thermostat or humidistat (device kinds 1 and 2).
struct CClimateDevice {
    std::string name;
    int32_t zoneId = 0;
};

struct CClimateIcon {
    int32_t zoneId = 0;
    std::string name;
};

struct CThermostatRowValues {
    int8_t room = 0;
    int8_t heat = 0;
    int8_t cool = 0;
    uint8_t status = 0;
    uint8_t fan = 0;
    uint8_t hold = 0;
    int32_t scheduleId = 0;
};

struct CHumidistatRowValues {
    int8_t room = 0;
    int8_t humidify = 0;
    int8_t dehumidify = 0;
    uint8_t status = 0;
    uint8_t fan = 0;
};

struct CSensorRowValues {
    std::string name;
    int32_t value = 0;
    int32_t flags = 0;
};

// Sensor flags.
enum : int { kSensorPercent = 0x02, kSensorFlagged = 0x04 };

// Each reader bounds the count by the records that the rest of the message
// can hold, stops at the first record it cannot read and keeps the records
// before it; 0 when the count cannot be read or a record broke off.
int ReadClimateZones(CZVMSG* message, int32_t* historyFlag, std::vector<CClimateZoneEntry>* zones);
int ReadClimateDevices(CZVMSG* message, std::vector<CClimateDevice>* devices);
int ReadClimateIcons(CZVMSG* message, std::vector<CClimateIcon>* icons);
int ReadThermostatRows(CZVMSG* message, std::vector<CThermostatRowValues>* rows);
int ReadHumidistatRows(CZVMSG* message, std::vector<CHumidistatRowValues>* rows);
int ReadSensorRows(CZVMSG* message, std::vector<CSensorRowValues>* rows);
// The outside temperature; 255 when there is none.
int ReadOutsideTemperature(CZVMSG* message, int32_t* value);

// The value columns and status of a thermostat or humidistat row, as shown.
struct CStatusRowTexts {
    CZVString low;    // heat or humidify set point
    CZVString value;  // room temperature or humidity
    CZVString high;   // cool or dehumidify set point
    CZVString status;
    CZVString fan;
    CZVString program;  // thermostats only
    int flagged = 0;
};

// The row's texts; the alert bit flags the row while blinkOn is set.
CStatusRowTexts ThermostatRowTexts(const CThermostatRowValues& row, int blinkOn);
CStatusRowTexts HumidistatRowTexts(const CHumidistatRowValues& row, int blinkOn);
// A sensor's value: a per cent or a temperature.
CZVString SensorValueText(const CSensorRowValues& row);
