#pragma once
// A small sample installation served by a fake gateway: a pool and spa
// controller with a handful of circuits, its versions, its status, and
// acknowledgements of the configuration writes. Tests use it as a known
// system; the fake_gateway program serves it for trying the programs by hand.
#include <cstdint>
#include <string>
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
    uint8_t controllerType = 2;  // low four bits: the bodies of water
    bool chlorinator = true;
};

// The configuration byte tables 1 to 9 that the installation serves (index 0
// unused): valves, remotes, options, macros, special lights and two pumps.
std::vector<Bytes> SampleTables();

// Scripts the gateway's answers to the installation's requests.
void ServeSampleInstallation(FakeGateway& gateway, const SampleInstallation& sample = {});

// The status answer's payload for a link state.
Bytes SampleStatus(int32_t linkState);

}  // namespace testsupport
