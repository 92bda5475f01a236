#include "sample_installation.h"

#include <gtest/gtest.h>

namespace testsupport {
namespace {

constexpr uint16_t kStatusRequest = 0x30EE;

// The house file as read once for the whole test program.
const samplegateway::House& LoadedHouse() {
    static const samplegateway::House house = [] {
        std::string error;
        std::optional<samplegateway::House> loaded = samplegateway::House::Load(ZV_SAMPLE_HOUSE, &error);
        if (!loaded) ADD_FAILURE() << error;
        return loaded.value_or(samplegateway::House());
    }();
    return house;
}

std::vector<std::vector<samplegateway::Value>> Records(const std::vector<std::pair<int32_t, std::string>>& pairs) {
    std::vector<std::vector<samplegateway::Value>> records;
    for (const auto& [number, text] : pairs) records.push_back({int64_t{number}, text});
    return records;
}

// The pool lights as the house file has them, or without them (see SampleInstallation).
void ApplyPoolLights(samplegateway::House& house, const SampleInstallation& sample) {
    if (sample.poolLights.value_or(false)) return;
    constexpr int64_t kHeatPump = 0x02;
    constexpr int64_t kColourLights = 0x08;
    constexpr int64_t kPoolDimmer = 511;
    constexpr int64_t kDeckLight = 512;
    // The equipment asked for, or the house's heat pump, without the colour lights.
    const int64_t equipment = sample.equipment ? (*sample.equipment & ~kColourLights) : kHeatPump;
    EXPECT_TRUE(house.Set("tablet_equipment", equipment));
    EXPECT_TRUE(house.RemoveRecord("tablet_circuits", kPoolDimmer) &&
                house.RemoveRecord("tablet_circuits", kDeckLight));
    const std::vector<std::vector<samplegateway::Value>> twoColours = {
        {std::string("White"), int64_t{255}, int64_t{255}, int64_t{255}},
        {std::string("Blue"), int64_t{0}, int64_t{0}, int64_t{255}}};
    EXPECT_TRUE(house.SetList("tablet_colours", twoColours));
}

template <class T, class Apply>
void Put(const std::optional<T>& value, const char* name, Apply apply) {
    if (value) EXPECT_TRUE(apply(*value)) << "the sample house has no " << name << " for this value";
}

}  // namespace

samplegateway::House SampleHouse(const SampleInstallation& sample) {
    samplegateway::House house = LoadedHouse();
    auto set = [&house](const char* name) {
        return [&house, name](const auto& value) { return house.Set(name, value); };
    };
    auto number = [&house](const char* name) {
        return [&house, name](auto value) { return house.Set(name, int64_t{value}); };
    };
    auto flag = [&house](const char* name) { return [&house, name](bool on) { return house.SetSwitch(name, on); }; };
    auto list = [&house](const char* name) {
        return [&house, name](const auto& pairs) { return house.SetList(name, Records(pairs)); };
    };
    Put(sample.adapterVersion, "adapter_version", set("adapter_version"));
    Put(sample.adapterName, "adapter_name", set("adapter_name"));
    Put(sample.layout4, "layout4", flag("layout4"));
    Put(sample.adapterType, "adapter_type", [&](int32_t type) {
        return house.Set("adapter_type", int64_t{type}) &&
               house.SetSwitch("page_list", type == 1 || type == 6 || type == 7);
    });
    Put(sample.controllerType, "controller_type", number("controller_type"));
    Put(sample.equipment, "tablet_equipment", number("tablet_equipment"));
    Put(sample.clockHasDaylightSaving, "clock_dst", flag("clock_dst"));
    Put(sample.gmtOffset, "gmt_offset", number("gmt_offset"));
    Put(sample.homePage, "home_page", number("home_page"));
    Put(sample.homePages, "home_pages", list("home_pages"));
    Put(sample.menu, "menu", list("menu"));
    Put(sample.monitorLayout, "monitor_layout", flag("monitor_layout"));
    // A home page in place of the full one.
    auto home = [&house](const char* name) {
        return [&house, name](bool on) { return house.SetSwitch(name, on) && house.SetSwitch("full_home", !on); };
    };
    Put(sample.cameraHome, "camera_home", home("camera_home"));
    Put(sample.climateHome, "climate_home", home("climate_home"));
    Put(sample.spaRunTime, "tablet_circuits", [&house](uint16_t minutes) {
        constexpr int64_t kSpa = 500;
        constexpr size_t kRunTimeColumn = 10;
        return house.SetRecordField("tablet_circuits", kSpa, kRunTimeColumn, int64_t{minutes});
    });
    if (sample.style) EXPECT_TRUE(samplegateway::ApplyStyle(house, *sample.style));
    ApplyPoolLights(house, sample);
    return house;
}

std::shared_ptr<samplegateway::Pacer> ServeSampleInstallation(FakeGateway& gateway, const SampleInstallation& sample) {
    std::shared_ptr<samplegateway::Pacer> pacer = samplegateway::Serve(gateway.Engine(), SampleHouse(sample));
    if (sample.style) samplegateway::ServeSkinPicture(gateway.Engine());
    return pacer;
}

Bytes SampleStatus(int32_t linkState, int32_t air, int32_t pool, int32_t spa) {
    samplegateway::House house = LoadedHouse();
    EXPECT_TRUE(house.Set("link_state", int64_t{linkState}) && house.Set("air_temperature", int64_t{air}) &&
                house.Set("pool_temperature", int64_t{pool}) && house.Set("spa_temperature", int64_t{spa}));
    return house.Payload(kStatusRequest);
}

}  // namespace testsupport
