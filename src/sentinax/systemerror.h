#pragma once
// One alarm of a customer system: its category and source (alarmType) and
// the alarm's number within the category (alarmValue), with the name and the
// advice the monitor shows and mails for it.
#include <cstdint>
#include <memory>
#include <string>

enum AlarmType {
    kAlarmSystem = 0,       // sensor or system error; value = index in the error list
    kAlarmChlorinator = 1,  // value = status bit
    kAlarmFreeze = 2,       // value 0
    kAlarmFirstPump = 3,    // variable-speed pump 1 ...
    kAlarmLastPump = 10,    // ... to 8; pump number = type - 2
    kAlarmChemistry = 11,   // pH/ORP controller
    kAlarmHeatPump = 12,
};

class CSystemError {
public:
    CSystemError(int32_t type, int32_t value) : alarmType(type), alarmValue(value) {}
    virtual ~CSystemError() = default;

    bool operator==(const CSystemError& other) const {
        return alarmType == other.alarmType && alarmValue == other.alarmValue;
    }
    std::unique_ptr<CSystemError> Clone() const { return std::make_unique<CSystemError>(*this); }

    std::string GetName() const;
    // "<name> - <advice>".
    std::string GetDescription() const;
    std::string GetAdvice() const;

    int32_t alarmType;
    int32_t alarmValue;
};

// The names and advice of each category, by alarm number; "-" (or the
// category's own placeholder) for a number without a text.
std::string SensorName(int32_t value);
std::string ChlorinatorAlarmName(int32_t value);
std::string PumpAlarmName(int32_t value);
std::string ChemistryAlarmName(int32_t value);
std::string HeatPumpAlarmName(int32_t value);
std::string SensorAdvice(int32_t value);
std::string ChlorinatorAdvice(int32_t value);
std::string PumpAdvice(int32_t value);
std::string NoAdvice(int32_t value);
