#include "basinsetup/ziplookup.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

struct ZipCase {
    const char* name;
    std::string file;
    int zip;
    int found;
    double latitude;
    double longitude;
    int zone;
};

void PrintTo(const ZipCase& c, std::ostream* os) { *os << c.name; }

class ZipTable : public ::testing::TestWithParam<ZipCase> {
protected:
    testsupport::TempDir dir;
};

TEST_P(ZipTable, FindsTheFirstLineOfTheCode) {
    const ZipCase& c = GetParam();
    const std::string path = dir.File("zip.csv");
    testsupport::WriteFileText(path, c.file);
    double latitude = -1, longitude = -1;
    int zone = 99;
    EXPECT_EQ(LookupZipInFile(path, c.zip, latitude, longitude, zone), c.found);
    EXPECT_DOUBLE_EQ(latitude, c.latitude);
    EXPECT_DOUBLE_EQ(longitude, c.longitude);
    EXPECT_EQ(zone, c.zone);
}

const std::string kLongLine = "94110,-8,1." + std::string(130, '1') + ",-1\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ZipTable,
    ::testing::Values(
        ZipCase{"WestIsPositive", "94110,-8,37.75,-122.25\n", 94110, 1, 37.75, 122.25, -8},
        ZipCase{"CarriageReturns", "1,2,3,4\r\n94110,-8,37.75,-122.25\r\n", 94110, 1, 37.75, 122.25, -8},
        ZipCase{"LeadingZeros", "02134,-5,42.354,-71.132\n", 2134, 1, 42.354, 71.132, -5},
        ZipCase{"FirstMatchDecides", "5,1,1,1\n5,2,2,2\n", 5, 1, 1, -1, 1},
        ZipCase{"EastAndSouth", "2000,10,-33.87,151.21\n", 2000, 1, -33.87, -151.21, 10},
        ZipCase{"LastLineWithoutLineFeed", "1,2,3,4\n94110,-8,37.75,-122.25", 94110, 1, 37.75, 122.25, -8},
        ZipCase{"LinesWithoutCommaArePassed", "94110\n94110,-8,37.75,-122.25\n", 94110, 1, 37.75, 122.25, -8},
        ZipCase{"Missing", "94110,-8,37.75,-122.25\n", 94111, 0, -1, -1, 99},
        ZipCase{"Empty", "", 94110, 0, -1, -1, 99},
        ZipCase{"MatchWithTooFewFields", "94110,-8,37.75\n94110,-8,37.75,-122.25\n", 94110, 0, -1, -1, 99},
        ZipCase{"MatchWithAWord", "94110,-8,north,-122.25\n", 94110, 0, -1, -1, 99},
        ZipCase{"ZoneOutsideTheList", "94110,14,37.75,-122.25\n", 94110, 0, -1, -1, 99},
        ZipCase{"HugeNumbers", "99999999999999999999,1,1,1\n94110,-8,37.75,-122.25\n", 94110, 1, 37.75, 122.25, -8},
        ZipCase{"OverlongLineIsPassed", kLongLine + "94110,-8,37.75,-122.25\n", 94110, 1, 37.75, 122.25, -8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZipTableFile, MissingFileFindsNothing) {
    testsupport::TempDir dir;
    double latitude = -1, longitude = -1;
    int zone = 99;
    EXPECT_EQ(LookupZipInFile(dir.File("none.csv"), 94110, latitude, longitude, zone), 0);
    EXPECT_EQ(zone, 99);
}

TEST(ZipTableFile, TheShippedTableReads) {
    double latitude = 0, longitude = 0;
    int zone = 0;
    const std::string shipped = std::string(ZV_TEST_DATA_DIR) + "/../../src/basinsetup/data/zip.csv";
    ASSERT_EQ(LookupZipInFile(shipped, 94110, latitude, longitude, zone), 1);
    EXPECT_DOUBLE_EQ(latitude, 37.75);
    EXPECT_DOUBLE_EQ(longitude, 122.25);
    EXPECT_EQ(zone, -8);
    EXPECT_EQ(LookupZipInFile(shipped, 2134, latitude, longitude, zone), 1);
}

}  // namespace
