#pragma once
// A small sample installation served by a fake gateway: a pool and spa
// controller with a handful of circuits, its versions, its status, and
// acknowledgements of the configuration writes. Tests use it as a known
// system; the fake_gateway program serves it for trying the programs by hand.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fake_gateway.h"

namespace testsupport {

struct SampleInstallation {
    std::string adapterVersion = "4.1 Build 612.0 Rel";
    bool layout4 = true;  // the configuration's layout of adapters from 4.0
    int32_t adapterType = 2;
    std::string adapterName = "Backyard Adapter";
    std::string controllerName = "Corvanta Pool/Spa";
    uint8_t firmwareMajor = 2;
    uint8_t firmwareMinor = 170;
    uint8_t expansion = 0x40;  // bits 6 and 7: one expansion unit
    int32_t linkState = 1;     // 1 ready, 2 synchronizing, 3 service mode
    uint8_t controllerType = 2;  // low four bits: the bodies of water (2: one)
    // Configuration bytes: table 4 entry 2 (bit 0: Celsius; bit 6, which no
    // setting here uses, is set so that writes show they keep the other bits)
    // and table 7 entry 5 (manual operation priority).
    uint8_t scaleByte = 0x40;
    uint8_t manualPriority = 1;

    // The gateway's clock and its system information.
    // Year, month, day of week (Monday = 0, as on the wire), day, h, m, s, ms.
    uint16_t clock[8] = {2011, 6, 2, 15, 14, 35, 20, 0};
    int32_t daylightSaving = 1;
    bool clockHasDaylightSaving = true;
    std::string zip = "30301";
    int32_t latitude = 337490;    // degrees x 10000
    int32_t longitude = 843880;   // degrees west x 10000
    int32_t gmtOffset = -5;
    int32_t infoC = 31, infoD = 32, infoF = 36;
    std::string infoE = "field e", infoG = "field g";

    // The tablet's home page; adapters of types 1, 6 and 7 list their pages.
    int32_t homePage = 1;
    std::vector<std::pair<int32_t, std::string>> homePages = {
        {10, "Brenvik: Pool Page"}, {11, "Brenvik:Weather"}, {12, "Gardens"}};
    // The tablet's main menu: entry types (page 5000 + type) and captions.
    std::vector<std::pair<int32_t, std::string>> menu = {
        {0, "Home"}, {10, "Pool & Spa"}, {5, "Lighting"}, {2, "Climate"}, {11, "Pictures"}};
    bool monitorLayout = false;  // the configuration ends with the value the monitor reads
    bool chlorinator = true;
};

// The configuration byte tables 1 to 9 that the installation serves (index 0
// unused): valves, remotes, options, macros, special lights and two pumps.
std::vector<Bytes> SampleTables();

// Scripts the gateway's answers to the installation's requests.
void ServeSampleInstallation(FakeGateway& gateway, const SampleInstallation& sample = {});

// The status answer's payload for a link state, with the air, pool and spa
// readings.
Bytes SampleStatus(int32_t linkState, int32_t air = 78, int32_t pool = 81, int32_t spa = 99);

// The main menu answer's payload.
Bytes SampleMenu(const SampleInstallation& sample);

// The system information answer's payload.
Bytes SampleSystemInfo(const SampleInstallation& sample);

}  // namespace testsupport
