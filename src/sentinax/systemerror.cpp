#include "sentinax/systemerror.h"

#include <cstdio>
#include <span>

namespace {

// Texts indexed by alarm number; `other` for a number outside the table.
std::string Pick(std::span<const char* const> texts, int32_t value, const char* other) {
    if (value < 0 || static_cast<size_t>(value) >= texts.size() || !texts[value])
        return other;
    return texts[value];
}

constexpr const char* kSensorNames[] = {
    "Pool Water Temp Sensor", "Pool Solar Temp Sensor", "Air Sensor", "Spa Water Temp Sensor",
    "Spa Solar Temp Sensor",  "Analog 1",               "Analog 2",   "Analog 3",
};

// Numbers 8 and 9 have no text.
constexpr const char* kChlorinatorNames[] = {
    "Chlorinator:  Low Flow Error",
    "Chlorinator:  Low Salt Level",
    "Chlorinator:  Very Low Salt",
    "Chlorinator:  High Current",
    "Chlorinator:  Clean Salt Cell",
    "Chlorinator:  Low Voltage",
    "Chlorinator:  Cold Water Cutoff",
    "Chlorinator:  Communication Lost",
    nullptr,
    nullptr,
    "Chlorinator:  High Salt Level",
};

constexpr const char* kPumpNames[] = {
    "Filter Warning",        "Drive Tempurature Warning", "Priming Alarm",
    "System Blocked Alarm",  "Unknown Alarm",             "Drive Tempurature Alarm",
    "Power Outage Alarm",    "Over Current Alarm",        "Over Voltage Alarm",
    "Communications Lost",
};

constexpr const char* kChemistryNames[] = {
    "pH/ORP:  No Flow",
    "pH/ORP:  pH Reading Too High",
    "pH/ORP:  pH Reading Too Low",
    "pH/ORP:  ORP Reading Too High",
    "pH/ORP:  ORP Reading Too Low",
    "pH/ORP:  Check Acid Tank",
    "pH/ORP:  Check Chlorine Tank",
    "pH/ORP:  Probe Check Fail",
    "pH/ORP:  Sanitizer Feed Locked",
    "pH/ORP:  pH Feed at Limit",
    "pH/ORP:  ORP Feed at Limit",
    "pH/ORP:  Invalid Hardware Config",
    "pH/ORP:  Marivo Communication Error",
    "pH/ORP:  Memory Errors",
    "pH/ORP:  Calibration Failed",
    "pH/ORP:  Communication Lost",
    "pH/ORP:  Water Balance Corrosive",
    "pH/ORP:  Water Balance Scaling",
};

constexpr const char* kHeatPumpNames[] = {
    "Calvetto:  High Water Temperature",
    "Calvetto:  Low Water Temperature",
    "Calvetto:  Low Water Flow",
    "Calvetto:  Relay Remote Error",
    "Calvetto:  Water Thermistor Open",
    "Calvetto:  Water Thermistor Shorted",
    "Calvetto:  Defrost Thermistor Open",
    "Calvetto:  Defrost Thermistor Shorted",
    "Calvetto:  Brownout",
    "Calvetto:  High Refrigerant Pressure",
    "Calvetto:  Low Refrigerant Pressure",
    "Calvetto:  5 Alarms in one hour",
};

constexpr const char* kChlorinatorAdvice[] = {
    "Check Chlorinator flow switch for blockage.  If running Vortana pump, you may need to "
    "increase the flow rate.",
    "The salt level is between 2,450ppm to 2,950ppm.  Add one bag of salt and then wait one day "
    "before checking salt level.",
    "The salt level is below 2,400ppm.  Add Salt one bag at a time until the salt level has "
    "reached 3500 PPM. Caution: Add one bag and wait 24 hours, obtain a salt reading, and if "
    "needed repeat the procedure",
    "Does not apply to Marivo; only other 3rd party chlorinators.  The chlorinator's power supply "
    "is drawing very high current which usually implies too much salt.",
    "Inspect cell blades.  Ensure no blockage or calcium build-up.  If calcium build-up exists "
    "then acid wash cell per user manual instructions.",
    "Does not apply to Marivo; only other 3rd party chlorinators.  This could indicate very high "
    "salt or a problem with the power supply.",
    "Chlorine feed is shut off due to cold water temperature.",
    "Comlink to the chlorinator has failed.",
    nullptr,
    nullptr,
    "The salt level is above 4,200ppm.  Drain 1 foot of water out of pool and refill. Repeat as "
    "necessary.",
};

constexpr const char* kPumpAdvice[] = {
    "The filter pressure is building to the point where a filter backwash is recommended.",
    "The pump is becoming too hot and will shut down soon.  Ensure the motor fan has adequate "
    "area for ventilation.",
    "The pump is having difficulty priming and has shut down to protect itself.  The pump will "
    "attempt to prime itself a few times.",
    "The suction of the pump has been blocked. The pump will shut off within 1 second when this "
    "happens and restart slowly and ramp up to speed after 30 seconds.",
    "There has been an unknown fault with the pump.  Please service the pump.",
    "The pump has shut down because it has become to hot.  It will restart when it cools off. "
    "Ensure the motor fan has adequate area for ventilation.",
    "The supply voltage is low.  Ensure that the pump is receiving proper supply voltage.",
    "There is excessive drive current.  Examine the fluid/mechanical system for the source of "
    "the overload.",
    "There is excessive voltage on the drive bus.  Rapid switching between speeds can cause "
    "excessive voltages on the drive's DC bus.  Ensure that the pump is receiving proper supply "
    "voltage.",
    "Marquel is unable to communicate with the pump.  Check the communication cable.",
};

bool IsPump(int32_t type) { return type >= kAlarmFirstPump && type <= kAlarmLastPump; }

}  // namespace

std::string SensorName(int32_t value) { return Pick(kSensorNames, value, "-"); }
std::string ChlorinatorAlarmName(int32_t value) {
    return Pick(kChlorinatorNames, value, "Chlorinator: --");
}
std::string PumpAlarmName(int32_t value) { return Pick(kPumpNames, value, "-"); }
std::string ChemistryAlarmName(int32_t value) { return Pick(kChemistryNames, value, "pH/ORP: --"); }
std::string HeatPumpAlarmName(int32_t value) { return Pick(kHeatPumpNames, value, "Calvetto: --"); }

std::string SensorAdvice(int32_t) {
    return "Check that the 10K sensor is present and check for open or shorted connection.";
}
std::string ChlorinatorAdvice(int32_t value) { return Pick(kChlorinatorAdvice, value, "-"); }
std::string PumpAdvice(int32_t value) { return Pick(kPumpAdvice, value, "-"); }
std::string NoAdvice(int32_t) { return "-"; }

std::string CSystemError::GetName() const {
    switch (alarmType) {
    case kAlarmSystem: return SensorName(alarmValue);
    case kAlarmChlorinator: return ChlorinatorAlarmName(alarmValue);
    case kAlarmFreeze: return "Freeze Mode";
    case kAlarmChemistry: return ChemistryAlarmName(alarmValue);
    case kAlarmHeatPump: return HeatPumpAlarmName(alarmValue);
    default: break;
    }
    if (!IsPump(alarmType))
        return "ERROR";
    char text[128];
    std::snprintf(text, sizeof(text), "Vortana Pump #%d: %s", alarmType - 2,
                  PumpAlarmName(alarmValue).c_str());
    return text;
}

std::string CSystemError::GetAdvice() const {
    switch (alarmType) {
    case kAlarmSystem: return SensorAdvice(alarmValue);
    case kAlarmChlorinator: return ChlorinatorAdvice(alarmValue);
    case kAlarmFreeze: return "Air Temperature at or below 36F";
    case kAlarmChemistry:
    case kAlarmHeatPump: return NoAdvice(alarmValue);
    default: break;
    }
    return IsPump(alarmType) ? PumpAdvice(alarmValue) : std::string();
}

std::string CSystemError::GetDescription() const { return GetName() + " - " + GetAdvice(); }
