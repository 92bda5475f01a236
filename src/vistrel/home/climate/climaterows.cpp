#include "vistrel/home/climate/climaterows.h"

#include <algorithm>

#include "core/msgreader.h"
#include "vistrel/home/climate/climatemodel.h"

namespace {

constexpr int kOverrideBit = 0x80;
constexpr int kAlertBit = 0x40;
constexpr int kStageBits = 0x30;
constexpr int kStageCooling = 0x10;
constexpr int kStageHeating = 0x20;
constexpr int kModeBits = 0x0F;
constexpr const char* kNoValueText = "--";

// Reads a counted list of rows, each at least minBytes on the wire, through
// readRow; the count is bounded by what the message holds, so a short message
// keeps the rows that fit and reads as 0, and the first row that fails stops.
template <typename Row, typename ReadRow>
int ReadList(CZVMSG* message, int64_t minBytes, std::vector<Row>* rows, ReadRow readRow) {
    rows->clear();
    int32_t count = 0;
    if (!message->ReadInt(count)) return 0;
    bool cut = false;
    count = BoundCount(count, *message, minBytes, &cut);
    for (int32_t i = 0; i < count; ++i) {
        Row row;
        if (!readRow(row)) return 0;
        rows->push_back(std::move(row));
    }
    return !cut;
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

// How a kind of row words its modes. A mode without words (null) shows no status.
struct CModeWording {
    const char* heatActive;
    const char* heatMode;
    const char* emergencyActive;
    const char* emergencyMode;
    const char* coolActive;
    const char* coolMode;
    const char* autoCooling;
    const char* autoHeating;
    bool blanksUnusedSetPoints;  // a mode shows only the set points it works to
};

constexpr CModeWording kThermostatWording = {"Heat Active",        "Heat Mode",          "Emg.Heat Active",
                                             "Emg.Heat Mode",      "Cool Active",        "Cool Mode",
                                             "Auto (Cool Active)", "Auto (Heat Active)", true};
constexpr CModeWording kHumidistatWording = {
    "Humidify Active",          "Humidify Mode",          nullptr, nullptr, "Dehumidify Active", "Dehumidify Mode",
    "Auto (Dehumidify Active)", "Auto (Humidify Active)", false};

// The mode's status text; unused set points blanked where the wording asks.
void ApplyMode(int status, const CModeWording& words, CStatusRowTexts* t) {
    const int stage = status & kStageBits;
    const bool blank = words.blanksUnusedSetPoints;
    switch (status & kModeBits) {
    case kModeOff:
        t->status = "Off";
        if (blank) t->low = t->high = "";
        break;
    case kModeHeat:
        t->status = Staged(stage, kStageHeating, words.heatActive, words.heatMode);
        if (blank) t->high = "";
        break;
    case kModeEmergencyHeat:
        if (!words.emergencyMode) break;
        t->status = Staged(stage, kStageHeating, words.emergencyActive, words.emergencyMode);
        if (blank) t->high = "";
        break;
    case kModeCool:
        t->status = Staged(stage, kStageCooling, words.coolActive, words.coolMode);
        if (blank) t->low = "";
        break;
    case kModeAuto:
        t->status = stage == kStageCooling   ? words.autoCooling
                    : stage == kStageHeating ? words.autoHeating
                                             : "Auto Mode";
        break;
    default: break;
    }
}

// The status, fan and flag of a thermostat or humidistat row. Not ready wins over the
// override: nothing the row shows is current.
void ApplyStatus(int status, int fan, int blinkOn, const CModeWording& words, CStatusRowTexts* t) {
    if (status & kOverrideBit)
        t->status = "Network Override";
    else
        ApplyMode(status, words, t);
    t->fan = fan ? "On" : "Off";
    if ((status & kModeBits) == kModeNotReady) {
        t->status = "Not Ready";
        t->low = t->value = t->high = t->fan = kNoValueText;
    }
    t->flagged = (status & kAlertBit) && blinkOn ? 1 : 0;
}

}  // namespace

int ReadClimateZones(CZVMSG* message, int32_t* historyFlag, std::vector<CClimateZoneEntry>* zones) {
    zones->clear();
    if (!message->ReadInt(*historyFlag)) return 0;
    return ReadList(message, 12, zones, [message](CClimateZoneEntry& zone) {
        return message->ReadInt(zone.zoneId) && message->ReadString(zone.name) && message->ReadInt(zone.flags);
    });
}

int ReadClimateDevices(CZVMSG* message, std::vector<CClimateDevice>* devices) {
    return ReadList(message, 8, devices, [message](CClimateDevice& device) {
        return message->ReadString(device.name) && message->ReadInt(device.zoneId);
    });
}

int ReadClimateIcons(CZVMSG* message, std::vector<CClimateIcon>* icons) {
    return ReadList(message, 12, icons, [message](CClimateIcon& icon) {
        int32_t dropped = 0;
        return message->ReadInt(icon.zoneId) && message->ReadString(icon.name) && message->ReadInt(dropped);
    });
}

int ReadThermostatRows(CZVMSG* message, std::vector<CThermostatRowValues>* rows) {
    return ReadList(message, 12, rows, [message](CThermostatRowValues& row) {
        uint8_t dropped = 0;
        return message->ReadByte(row.room) && message->ReadByte(row.heat) && message->ReadByte(row.cool) &&
               message->ReadByte(row.status) && message->ReadByte(row.fan) && message->ReadByte(row.hold) &&
               message->ReadByte(dropped) && message->ReadByte(dropped) && message->ReadInt(row.scheduleId);
    });
}

int ReadHumidistatRows(CZVMSG* message, std::vector<CHumidistatRowValues>* rows) {
    return ReadList(message, 5, rows, [message](CHumidistatRowValues& row) {
        return message->ReadByte(row.room) && message->ReadByte(row.humidify) && message->ReadByte(row.dehumidify) &&
               message->ReadByte(row.status) && message->ReadByte(row.fan);
    });
}

int ReadSensorRows(CZVMSG* message, std::vector<CSensorRowValues>* rows) {
    return ReadList(message, 12, rows, [message](CSensorRowValues& row) {
        return message->ReadString(row.name) && message->ReadInt(row.value) && message->ReadInt(row.flags);
    });
}

int ReadOutsideTemperature(CZVMSG* message, int32_t* value) { return message->ReadInt(*value); }

CStatusRowTexts ThermostatRowTexts(const CThermostatRowValues& row, int blinkOn) {
    CStatusRowTexts t;
    t.low = ByteValue(row.heat, FormatTemperature);
    t.value = ByteValue(row.room, FormatTemperature);
    t.high = ByteValue(row.cool, FormatTemperature);
    t.program = HoldText(row.hold);
    ApplyStatus(row.status, row.fan, blinkOn, kThermostatWording, &t);
    if ((row.status & kModeBits) == kModeNotReady) t.program = kNoValueText;
    return t;
}

CStatusRowTexts HumidistatRowTexts(const CHumidistatRowValues& row, int blinkOn) {
    CStatusRowTexts t;
    t.low = ByteValue(row.humidify, FormatPercent);
    t.value = ByteValue(row.room, FormatPercent);
    t.high = ByteValue(row.dehumidify, FormatPercent);
    ApplyStatus(row.status, row.fan, blinkOn, kHumidistatWording, &t);
    return t;
}

CZVString SensorValueText(const CSensorRowValues& row) {
    return row.flags & kSensorPercent ? FormatPercent(row.value) : FormatTemperature(row.value);
}
