#include "sentinax/systemerror.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct NameCase {
    int32_t type;
    int32_t value;
    const char* name;
    const char* advice;
};

constexpr char kSensorAdvice[] =
    "Check that the 10K sensor is present and check for open or shorted connection.";
constexpr char kPumpCommunication[] =
    "Marquel is unable to communicate with the pump.  Check the communication cable.";

TEST(CSystemError, NamesAndAdviceByCategory) {
    const NameCase cases[] = {
        {0, 0, "Pool Water Temp Sensor", kSensorAdvice},
        {0, 7, "Analog 3", kSensorAdvice},
        {0, 8, "-", kSensorAdvice},
        {0, -1, "-", kSensorAdvice},
        {1, 0, "Chlorinator:  Low Flow Error",
         "Check Chlorinator flow switch for blockage.  If running Vortana pump, you may need to "
         "increase the flow rate."},
        {1, 7, "Chlorinator:  Communication Lost", "Comlink to the chlorinator has failed."},
        {1, 8, "Chlorinator: --", "-"},
        {1, 9, "Chlorinator: --", "-"},
        {1, 10, "Chlorinator:  High Salt Level",
         "The salt level is above 4,200ppm.  Drain 1 foot of water out of pool and refill. "
         "Repeat as necessary."},
        {1, 11, "Chlorinator: --", "-"},
        {2, 0, "Freeze Mode", "Air Temperature at or below 36F"},
        {2, 99, "Freeze Mode", "Air Temperature at or below 36F"},
        {3, 0, "Vortana Pump #1: Filter Warning",
         "The filter pressure is building to the point where a filter backwash is recommended."},
        {7, 9, "Vortana Pump #5: Communications Lost", kPumpCommunication},
        {10, 1, "Vortana Pump #8: Drive Tempurature Warning",
         "The pump is becoming too hot and will shut down soon.  Ensure the motor fan has "
         "adequate area for ventilation."},
        {10, 10, "Vortana Pump #8: -", "-"},
        {11, 0, "pH/ORP:  No Flow", "-"},
        {11, 17, "pH/ORP:  Water Balance Scaling", "-"},
        {11, 18, "pH/ORP: --", "-"},
        {12, 11, "Calvetto:  5 Alarms in one hour", "-"},
        {12, 12, "Calvetto: --", "-"},
        {13, 0, "ERROR", ""},
        {-1, 0, "ERROR", ""},
    };
    for (const NameCase& c : cases) {
        const CSystemError entry(c.type, c.value);
        EXPECT_EQ(entry.GetName(), c.name) << c.type << "/" << c.value;
        EXPECT_EQ(entry.GetDescription(), std::string(c.name) + " - " + c.advice)
            << c.type << "/" << c.value;
    }
}

TEST(CSystemError, EveryKnownNumberHasItsOwnName) {
    struct Range {
        int32_t type;
        int32_t count;
        const char* other;
    };
    for (const Range& r : {Range{0, 8, "-"}, Range{3, 10, "Vortana Pump #1: -"},
                           Range{11, 18, "pH/ORP: --"}, Range{12, 12, "Calvetto: --"}}) {
        std::set<std::string> names;
        for (int32_t value = 0; value < r.count; ++value)
            names.insert(CSystemError(r.type, value).GetName());
        EXPECT_EQ(names.size(), static_cast<size_t>(r.count)) << r.type;
        EXPECT_EQ(names.count(r.other), 0u) << r.type;
        EXPECT_EQ(CSystemError(r.type, r.count).GetName(), r.other) << r.type;
    }
}

TEST(CSystemError, EqualityAndCloneCompareTypeAndValue) {
    const CSystemError entry(3, 4);
    EXPECT_TRUE(entry == CSystemError(3, 4));
    EXPECT_FALSE(entry == CSystemError(3, 5));
    EXPECT_FALSE(entry == CSystemError(4, 4));
    EXPECT_TRUE(*entry.Clone() == entry);
}

}  // namespace
