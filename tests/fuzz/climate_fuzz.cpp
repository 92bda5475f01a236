// Arbitrary answers through every reader of the climate pages: zone
// information (plain and extended, with and without the series lists), zone
// status, programs, shared schedules, the zone and device lists, the icons,
// the status lists' rows and the outside temperature.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/messages/climatemessages.h"
#include "vistrel/home/climate/climatemodel.h"
#include "vistrel/home/climate/climaterows.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// The message holds the input, read from its start.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(static_cast<int32_t>(size)) {}
    CZVMSG* Fresh(uint16_t id) {
        m_message = std::make_unique<CZVMSG>(0, id);
        m_message->WriteBytes(m_data, m_size);
        m_message->ResetPosition();
        return m_message.get();
    }
    int32_t Size() const { return m_size; }

private:
    const uint8_t* m_data;
    int32_t m_size;
    std::unique_ptr<CZVMSG> m_message;
};

void CheckPrograms(const CThermostatZone& zone, int32_t size) {
    Check(zone.GetProgramCount() <= size / 12 + 1);
    for (int i = 0; i < zone.GetProgramCount(); ++i) {
        const CZoneProgram& program = *zone.GetProgram(i);
        Check(program.GetPeriods() >= 0 && program.GetPeriods() <= kMaxPeriods);
        for (int d = 0; d < program.GetCount(); ++d)
            for (int p = 0; p < program.GetPeriods(); ++p) {
                const int32_t time = GetPeriod(*program.GetAt(d), DayField::kTime, p);
                Check(time >= 0 && time <= kMinutesPerDay);
            }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    for (int extended = 0; extended < 2; ++extended)
        for (int themed = 0; themed < 2; ++themed) {
            CThermostatZone zone(nullptr, 1, "Zone", 0, extended);
            zone.ReadInfo(input.Fresh(extended ? ZVM_HVAC_GETZONEEXTA : ZVM_HVAC_GETZONESTATUSA), themed);
            Check(zone.GetSeriesCount() + zone.GetBandCount() <= input.Size() / 20 + 2);
        }

    CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
    zone.ParseStatus(input.Fresh(ZVM_HVAC_GETTHERMOSTATA));
    zone.ReadSchedules(input.Fresh(ZVM_HVAC_GETSCHEDULEA));
    CheckPrograms(zone, input.Size());

    CHvacZones shared;
    ReadSharedSchedules(input.Fresh(ZVM_HVAC_SUBSCRIBEZONESA), &shared);
    for (const auto& schedule : shared) Check(schedule->GetPeriods() >= 0 && schedule->GetPeriods() <= kMaxPeriods);

    int32_t history = 0;
    std::vector<CClimateZoneEntry> zones;
    ReadClimateZones(input.Fresh(ZVM_HVAC_GETDEVICESA), &history, &zones);
    std::vector<CClimateDevice> devices;
    ReadClimateDevices(input.Fresh(ZVM_HVAC_GETDEVICESA), &devices);
    std::vector<CClimateIcon> icons;
    ReadClimateIcons(input.Fresh(ZVM_HVAC_SUBSCRIBECLIMATEA), &icons);
    std::vector<CThermostatRowValues> thermostats;
    ReadThermostatRows(input.Fresh(ZVM_HVAC_GETTHERMOSTATSA), &thermostats);
    for (const CThermostatRowValues& row : thermostats) ThermostatRowTexts(row, 1);
    std::vector<CHumidistatRowValues> humidistats;
    ReadHumidistatRows(input.Fresh(ZVM_HVAC_GETHUMIDISTATSA), &humidistats);
    for (const CHumidistatRowValues& row : humidistats) HumidistatRowTexts(row, 1);
    std::vector<CSensorRowValues> sensors;
    ReadSensorRows(input.Fresh(ZVM_HVAC_GETSENSORSA), &sensors);
    for (const CSensorRowValues& row : sensors) SensorValueText(row);
    int32_t outside = 0;
    ReadOutsideTemperature(input.Fresh(ZVM_HVAC_GETSENSORTEMPA), &outside);
    Check(zones.size() + devices.size() + icons.size() + thermostats.size() + humidistats.size() + sensors.size() <=
          size);
    return 0;
}
