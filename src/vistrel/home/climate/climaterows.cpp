#include "vistrel/home/climate/climaterows.h"

#include <algorithm>

#include "vistrel/home/climate/climatemodel.h"

namespace {

constexpr int kOverrideBit = 0x80;
constexpr int kAlertBit = 0x40;
constexpr int kStageBits = 0x30;
constexpr int kStageCooling = 0x10;
constexpr int kStageHeating = 0x20;
constexpr int kModeBits = 0x0F;
constexpr const char* kNoValueText = "--";

// The count, bounded by the records of minBytes that the rest can hold; 0
// when it cannot be read or the rest is too short for it (the records that
// fit are still read).
int ReadCount(CZVMSG* message, int minBytes, int32_t* count) {
    if (!message->ReadInt(*count)) return 0;
    const int32_t fits = message->GetRemaining() / minBytes;
    const int whole = *count <= fits;
    *count = std::clamp(*count, 0, fits);
    return whole;
}

// A status byte value; the byte 0xFF (read signed: -1) is no value.
CZVString ByteValue(int8_t value, CZVString (*format)(int)) {
    return value == -1 ? CZVString(kNoValueText) : format(value);
}

const char* HoldText(int hold) {
    switch (hold) {
    case 0: return "Run";
    case 1: return "Perm Hold";
    case 2: return "Temp Hold";
    case 3: return "Timed Hold";
    default: return "";
    }
}

// "<active>" when the stage is the mode's own, else "<mode>".
const char* Staged(int stage, int activeStage, const char* active, const char* idle) {
    return stage == activeStage ? active : idle;
}

}  // namespace

int ReadClimateZones(CZVMSG* message, int32_t* historyFlag, std::vector<CClimateZoneEntry>* zones) {
    zones->clear();
    int32_t count = 0;
    if (!message->ReadInt(*historyFlag)) return 0;
    const int whole = ReadCount(message, 12, &count);
    for (int i = 0; i < count; ++i) {
        CClimateZoneEntry zone;
        if (!message->ReadInt(zone.zoneId) || !message->ReadString(zone.name) || !message->ReadInt(zone.flags))
            return 0;
        zones->push_back(std::move(zone));
    }
    return whole;
}

int ReadClimateDevices(CZVMSG* message, std::vector<CClimateDevice>* devices) {
    devices->clear();
    int32_t count = 0;
    const int whole = ReadCount(message, 8, &count);
    for (int i = 0; i < count; ++i) {
        CClimateDevice device;
        if (!message->ReadString(device.name) || !message->ReadInt(device.zoneId)) return 0;
        devices->push_back(std::move(device));
    }
    return whole;
}

int ReadClimateIcons(CZVMSG* message, std::vector<CClimateIcon>* icons) {
    icons->clear();
    int32_t count = 0;
    const int whole = ReadCount(message, 12, &count);
    for (int i = 0; i < count; ++i) {
        CClimateIcon icon;
        int32_t dropped = 0;
        if (!message->ReadInt(icon.zoneId) || !message->ReadString(icon.name) || !message->ReadInt(dropped)) return 0;
        icons->push_back(std::move(icon));
    }
    return whole;
}

int ReadThermostatRows(CZVMSG* message, std::vector<CThermostatRowValues>* rows) {
    rows->clear();
    int32_t count = 0;
    const int whole = ReadCount(message, 12, &count);
    for (int i = 0; i < count; ++i) {
        CThermostatRowValues row;
        uint8_t dropped = 0;
        if (!message->ReadByte(row.room) || !message->ReadByte(row.heat) || !message->ReadByte(row.cool) ||
            !message->ReadByte(row.status) || !message->ReadByte(row.fan) || !message->ReadByte(row.hold) ||
            !message->ReadByte(dropped) || !message->ReadByte(dropped) || !message->ReadInt(row.scheduleId))
            return 0;
        rows->push_back(row);
    }
    return whole;
}

int ReadHumidistatRows(CZVMSG* message, std::vector<CHumidistatRowValues>* rows) {
    rows->clear();
    int32_t count = 0;
    const int whole = ReadCount(message, 5, &count);
    for (int i = 0; i < count; ++i) {
        CHumidistatRowValues row;
        if (!message->ReadByte(row.room) || !message->ReadByte(row.humidify) || !message->ReadByte(row.dehumidify) ||
            !message->ReadByte(row.status) || !message->ReadByte(row.fan))
            return 0;
        rows->push_back(row);
    }
    return whole;
}

int ReadSensorRows(CZVMSG* message, std::vector<CSensorRowValues>* rows) {
    rows->clear();
    int32_t count = 0;
    const int whole = ReadCount(message, 12, &count);
    for (int i = 0; i < count; ++i) {
        CSensorRowValues row;
        if (!message->ReadString(row.name) || !message->ReadInt(row.value) || !message->ReadInt(row.flags)) return 0;
        rows->push_back(std::move(row));
    }
    return whole;
}

int ReadOutsideTemperature(CZVMSG* message, int32_t* value) { return message->ReadInt(*value); }

CStatusRowTexts ThermostatRowTexts(const CThermostatRowValues& row, int blinkOn) {
    CStatusRowTexts t;
    t.low = ByteValue(row.heat, FormatTemperature);
    t.value = ByteValue(row.room, FormatTemperature);
    t.high = ByteValue(row.cool, FormatTemperature);
    const int mode = row.status & kModeBits;
    const int stage = row.status & kStageBits;
    if (row.status & kOverrideBit) {
        t.status = "Network Override";
    } else {
        switch (mode) {
        case kModeOff:
            t.status = "Off";
            t.low = t.high = "";
            break;
        case kModeHeat:
            t.status = Staged(stage, kStageHeating, "Heat Active", "Heat Mode");
            t.high = "";
            break;
        case kModeEmergencyHeat:
            t.status = Staged(stage, kStageHeating, "Emg.Heat Active", "Emg.Heat Mode");
            t.high = "";
            break;
        case kModeCool:
            t.status = Staged(stage, kStageCooling, "Cool Active", "Cool Mode");
            t.low = "";
            break;
        case kModeAuto:
            t.status = stage == kStageCooling   ? "Auto (Cool Active)"
                       : stage == kStageHeating ? "Auto (Heat Active)"
                                                : "Auto Mode";
            break;
        default: break;
        }
    }
    t.program = HoldText(row.hold);
    t.fan = row.fan ? "On" : "Off";
    // Not ready wins over the override: nothing it shows is current.
    if (mode == kModeNotReady) {
        t.status = "Not Ready";
        t.low = t.value = t.high = t.fan = t.program = kNoValueText;
    }
    t.flagged = (row.status & kAlertBit) && blinkOn ? 1 : 0;
    return t;
}

CStatusRowTexts HumidistatRowTexts(const CHumidistatRowValues& row, int blinkOn) {
    CStatusRowTexts t;
    t.low = ByteValue(row.humidify, FormatPercent);
    t.value = ByteValue(row.room, FormatPercent);
    t.high = ByteValue(row.dehumidify, FormatPercent);
    const int mode = row.status & kModeBits;
    const int stage = row.status & kStageBits;
    if (row.status & kOverrideBit) {
        t.status = "Network Override";
    } else {
        switch (mode) {
        case kModeOff: t.status = "Off"; break;
        case kModeHeat: t.status = Staged(stage, kStageHeating, "Humidify Active", "Humidify Mode"); break;
        case kModeCool: t.status = Staged(stage, kStageCooling, "Dehumidify Active", "Dehumidify Mode"); break;
        case kModeAuto:
            t.status = stage == kStageCooling   ? "Auto (Dehumidify Active)"
                       : stage == kStageHeating ? "Auto (Humidify Active)"
                                                : "Auto Mode";
            break;
        default: break;
        }
    }
    t.fan = row.fan ? "On" : "Off";
    if (mode == kModeNotReady) {
        t.status = "Not Ready";
        t.low = t.value = t.high = t.fan = kNoValueText;
    }
    t.flagged = (row.status & kAlertBit) && blinkOn ? 1 : 0;
    return t;
}

CZVString SensorValueText(const CSensorRowValues& row) {
    return row.flags & kSensorPercent ? FormatPercent(row.value) : FormatTemperature(row.value);
}
