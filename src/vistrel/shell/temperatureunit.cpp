#include "vistrel/shell/temperatureunit.h"

#include "core/messages/climatemessages.h"
#include "core/zvquery.h"

namespace {

constexpr int kCelsiusUnit = 1;

int g_temperatureUnit = -1;  // -1: not asked yet

}  // namespace

int IsCelsius(CZVServer* server) {
    if (g_temperatureUnit == -1 && server) {
        CZVQuery query(*server);
        int32_t unit = 0;
        if (query.QueryInt(unit, ZVM_HVAC_GETOPTIONQ)) g_temperatureUnit = unit;
    }
    return g_temperatureUnit == kCelsiusUnit ? 1 : 0;
}

void ResetTemperatureUnit() { g_temperatureUnit = -1; }
