#pragma once
// The sample house of the sample gateway (src/samplegateway/samplehouse.ini), served by a fake
// gateway: a pool and spa controller with a handful of circuits, its versions, its status, and
// acknowledgements of the configuration writes. Tests use it as a known system; a test that
// needs another value sets it here, and everything it leaves unset is the house file's.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fake_gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/pacer.h"
#include "samplegateway/style.h"

namespace testsupport {

using HomePages = std::vector<std::pair<int32_t, std::string>>;
using MenuEntries = std::vector<std::pair<int32_t, std::string>>;

struct SampleInstallation {
    std::optional<std::string> adapterVersion;
    std::optional<bool> layout4;  // the configuration's layout of adapters from 4.0
    // Adapters of types 1, 6 and 7 list the tablet's home pages.
    std::optional<int32_t> adapterType;
    std::optional<std::string> adapterName;
    std::optional<uint8_t> controllerType;  // low four bits: the bodies of water
    // The tablet's equipment flags (bit 2 chlorinator, bits 4..11 pumps); the house's own:
    // the heat pump only.
    std::optional<int32_t> equipment;
    std::optional<bool> clockHasDaylightSaving;
    std::optional<int32_t> gmtOffset;
    // The tablet's home page and the pages listed with it.
    std::optional<int32_t> homePage;
    std::optional<HomePages> homePages;
    // The tablet's main menu: entry types (page 5000 + type) and captions.
    std::optional<MenuEntries> menu;
    std::optional<bool> monitorLayout;   // the configuration ends with the value the monitor reads
    std::optional<uint16_t> spaRunTime;  // minutes: the spa circuit's egg timer
    // The tablet's look; the themed ones come with the skin picture.
    std::optional<samplegateway::Style> style;

    // ---- the pool lights
    // The house's whole pool lights: Glaviro colour lights (equipment flag 0x08), the pool
    // dimmer and the deck light, and all six light colours. Off: the heat pump alone, none of
    // those two circuits, and two colours (white and blue).
    std::optional<bool> poolLights;

    // ---- the cameras
    // The cameras' home page (cameras 1 and 3) in place of the full one.
    std::optional<bool> cameraHome;

    // ---- climate
    // The Guest Suite's history on a home page of its own in place of the full one.
    std::optional<bool> climateHome;
};

// The house file with the installation's values in place; a value the file does not hold
// fails the calling test.
samplegateway::House SampleHouse(const SampleInstallation& sample = {});

// Scripts the gateway's answers to the installation's requests; what it sends as time passes
// waits for the returned pacer to be run.
std::shared_ptr<samplegateway::Pacer> ServeSampleInstallation(FakeGateway& gateway,
                                                              const SampleInstallation& sample = {});

// The status answer's payload for a link state (1 ready, 2 synchronizing, 3 service mode),
// with the air, pool and spa readings.
Bytes SampleStatus(int32_t linkState, int32_t air = 78, int32_t pool = 81, int32_t spa = 99);

}  // namespace testsupport
