// The readers of the climate lists' answers and the texts of their rows.
#include "vistrel/home/climate/climaterows.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"

namespace {

using climatetest::Message;
using climatetest::PayloadWriter;

struct ThermostatCase {
    uint8_t status;
    int8_t heat;
    int8_t room;
    int blinkOn;
    const char* statusText;
    const char* low;
    const char* value;
    const char* high;
    const char* fan;
    int flagged;
};

TEST(ClimateRows, AThermostatRowShowsWhatItsStatusByteSays) {
    const ThermostatCase cases[] = {
        {0x21, 68, 70, 1, "Heat Active", "68\xB0", "70\xB0", "", "On", 0},
        {0x01, 68, 70, 1, "Heat Mode", "68\xB0", "70\xB0", "", "On", 0},
        {0x61, 68, 70, 1, "Heat Active", "68\xB0", "70\xB0", "", "On", 1},
        {0x61, 68, 70, 0, "Heat Active", "68\xB0", "70\xB0", "", "On", 0},
        {0x13, 68, 70, 1, "Cool Active", "", "70\xB0", "76\xB0", "On", 0},
        {0x24, 68, 70, 1, "Auto (Heat Active)", "68\xB0", "70\xB0", "76\xB0", "On", 0},
        {0x00, 68, 70, 1, "Off", "", "70\xB0", "", "On", 0},
        {0x84, 68, 70, 1, "Network Override", "68\xB0", "70\xB0", "76\xB0", "On", 0},
        // Not ready wins over the override, and its values are not current.
        {0x85, 68, 70, 1, "Not Ready", "--", "--", "--", "--", 0},
        // The byte 0xFF is no value.
        {0x04, -1, -1, 1, "Auto Mode", "--", "--", "76\xB0", "On", 0},
        {0x09, 68, 70, 1, "", "68\xB0", "70\xB0", "76\xB0", "On", 0},
    };
    for (const ThermostatCase& c : cases) {
        CThermostatRowValues row;
        row.status = c.status;
        row.heat = c.heat;
        row.room = c.room;
        row.cool = 76;
        row.fan = 1;
        row.hold = 2;
        const CStatusRowTexts t = ThermostatRowTexts(row, c.blinkOn);
        SCOPED_TRACE(testing::Message() << std::hex << int{c.status} << " blink " << c.blinkOn);
        EXPECT_STREQ(CZVString(t.status).GetAnsi(), c.statusText);
        EXPECT_STREQ(CZVString(t.low).GetAnsi(), c.low);
        EXPECT_STREQ(CZVString(t.value).GetAnsi(), c.value);
        EXPECT_STREQ(CZVString(t.high).GetAnsi(), c.high);
        EXPECT_STREQ(CZVString(t.fan).GetAnsi(), c.fan);
        EXPECT_STREQ(CZVString(t.program).GetAnsi(), c.status == 0x85 ? "--" : "Temp Hold");
        EXPECT_EQ(t.flagged, c.flagged);
    }
}

TEST(ClimateRows, AHumidistatRowShowsPerCentsAndItsModes) {
    struct Case {
        uint8_t status;
        const char* statusText;
        const char* value;
    };
    const Case cases[] = {
        {0x34, "Auto Mode", "55 %"},       {0x14, "Auto (Dehumidify Active)", "55 %"},
        {0x21, "Humidify Active", "55 %"}, {0x03, "Dehumidify Mode", "55 %"},
        {0x05, "Not Ready", "--"},
    };
    for (const Case& c : cases) {
        CHumidistatRowValues row;
        row.status = c.status;
        row.room = 55;
        row.humidify = 45;
        row.dehumidify = 60;
        const CStatusRowTexts t = HumidistatRowTexts(row, 1);
        EXPECT_STREQ(CZVString(t.status).GetAnsi(), c.statusText) << std::hex << int{c.status};
        EXPECT_STREQ(CZVString(t.value).GetAnsi(), c.value) << std::hex << int{c.status};
    }
}

TEST(ClimateRows, ASensorIsAPerCentOrATemperature) {
    EXPECT_STREQ(SensorValueText({"Basement", 55, 0x06}).GetAnsi(), "55 %");
    EXPECT_STREQ(SensorValueText({"Attic", 104, 0}).GetAnsi(), "104\xB0");
}

TEST(ClimateRows, ReadersKeepTheRecordsBeforeABreakAndBoundTheirCounts) {
    PayloadWriter rows;
    rows.Int(1000).Byte(72).Byte(68).Byte(76).Byte(0x14).Byte(1).Byte(0).Byte(0).Byte(0).Int(7);
    rows.Byte(70).Byte(70);
    std::vector<CThermostatRowValues> thermostats;
    EXPECT_EQ(ReadThermostatRows(Message(ZVM_HVAC_GETTHERMOSTATSA, rows).get(), &thermostats), 0);
    ASSERT_EQ(thermostats.size(), 1u);
    EXPECT_EQ(thermostats[0].scheduleId, 7);
    EXPECT_EQ(thermostats[0].status, 0x14);

    std::vector<CSensorRowValues> sensors;
    PayloadWriter sensorRows;
    sensorRows.Int(2).String("Attic").Int(104).Int(0).String("Cut");
    EXPECT_EQ(ReadSensorRows(Message(ZVM_HVAC_GETSENSORSA, sensorRows).get(), &sensors), 0);
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors[0].name, "Attic");

    std::vector<CClimateZoneEntry> zones;
    int32_t history = 0;
    PayloadWriter zoneList;
    zoneList.Int(1).Int(0x40000000).Int(4).String("Pool House").Int(0x40);
    EXPECT_EQ(ReadClimateZones(Message(ZVM_HVAC_GETDEVICESA, zoneList).get(), &history, &zones), 0);
    EXPECT_EQ(history, 1);
    ASSERT_EQ(zones.size(), 1u);
    EXPECT_EQ(zones[0].flags, 0x40);

    std::vector<CClimateIcon> icons;
    EXPECT_EQ(ReadClimateIcons(Message(ZVM_HVAC_SUBSCRIBECLIMATEA, PayloadWriter().Int(-4)).get(), &icons), 1);
    EXPECT_TRUE(icons.empty());
}

}  // namespace
