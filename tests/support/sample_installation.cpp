#include "sample_installation.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace testsupport {
namespace {

struct SampleCircuit {
    int32_t id;
    uint8_t nameIndex;
    uint8_t function;
    uint8_t group;  // the tablet page that shows it
    uint8_t deviceId;
};

const std::vector<std::string> kBuiltInNames = {"None", "Spa", "Pool", "Aux 1", "Aux 2", "Aux 3"};
const std::vector<std::string> kCustomNames = {"Pool Light", "Waterfall"};
const std::vector<SampleCircuit> kCircuits = {
    {500, 1, 1, 1, 1}, {501, 2, 2, 0, 6}, {502, 3, 0, 4, 2}, {503, 6, 7, 3, 3}, {504, 7, 0, 2, 4},
};

Bytes Config(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(7).Byte(40).Byte(104).Byte(50).Byte(104);  // controller id, set point limits
    m.Byte(0).Byte(2).Byte(9).Byte(sample.expansion);  // Fahrenheit, legacy type, sub-type, expansion
    if (sample.layout4)
        m.Int(0x2);                                      // equipment: heat pump
    m.String(sample.controllerName).Int(static_cast<int32_t>(kCircuits.size()));
    for (const SampleCircuit& c : kCircuits)
        m.Int(c.id).Byte(c.nameIndex).Byte(c.function).Byte(c.group).Byte(0).Byte(0).Byte(c.deviceId).Short(720);
    m.String("");
    m.Int(2).String("White").Int(255).Int(255).Int(255).String("Blue").Int(0).Int(0).Int(255);
    if (sample.layout4) {
        for (uint8_t pump : {6, 1, 0, 0, 0, 0, 0, 255})
            m.Byte(pump);
    }
    m.Int(127);
    if (sample.monitorLayout)
        m.Int(0);
    return m;
}

Bytes Strings(const std::vector<std::string>& names, size_t start, size_t count) {
    PayloadWriter m;
    m.Int(static_cast<int32_t>(count));
    for (size_t i = start; i < start + count; ++i)
        m.String(names[i]);
    return m;
}

Bytes ExtConfig(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(sample.controllerType).Int(sample.expansion);
    for (int table = 1; table <= 11; ++table) {
        std::vector<uint8_t> bytes(8, 0);
        if (table == 1)
            bytes = {sample.firmwareMajor, sample.firmwareMinor};
        if (table == 5)
            bytes[2] = sample.scaleByte;
        if (table == 8)
            bytes[5] = sample.manualPriority;
        m.Int(static_cast<int32_t>(bytes.size())).Raw(bytes.data(), bytes.size());
    }
    return m;
}

}  // namespace

Bytes SampleStatus(int32_t linkState, int32_t air, int32_t pool, int32_t spa) {
    PayloadWriter m;
    m.Int(linkState).Byte(0);                       // freeze
    m.Byte(1).Byte(0).Byte(0).Byte(0);              // remotes, delays
    m.Byte(0).Byte(0).Byte(0);                      // skipped
    m.Int(air).Int(2);                              // air, bodies
    m.Int(0).Int(pool).Int(0).Int(82).Int(1);       // pool
    m.Int(1).Int(spa).Int(2).Int(102).Int(1);       // spa
    m.Int(static_cast<int32_t>(kCircuits.size()));
    for (const SampleCircuit& c : kCircuits)
        m.Int(c.id).Int(c.id == 501 ? 1 : 0).Byte(0).Byte(0).Byte(0).Byte(0);
    return m;
}

Bytes SampleSystemInfo(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(1).Int(0).String(sample.adapterName).String(sample.zip);
    m.Int(sample.latitude).Int(sample.longitude).Int(sample.gmtOffset).String("not kept");
    m.Int(sample.infoC).Int(sample.infoD).String(sample.infoE).String("not kept either");
    return m.Int(sample.infoF).String(sample.infoG);
}

namespace {

Bytes Clock(const SampleInstallation& sample) {
    PayloadWriter m;
    for (uint16_t field : sample.clock)
        m.Short(field);
    if (sample.clockHasDaylightSaving)
        m.Int(sample.daylightSaving);
    return m;
}

Bytes HomePage(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(sample.homePage);
    if (sample.adapterType == 1 || sample.adapterType == 6 || sample.adapterType == 7) {
        m.Int(static_cast<int32_t>(sample.homePages.size()));
        for (const auto& [id, name] : sample.homePages)
            m.Int(id).String(name);
    }
    return m;
}

// The general settings: clock, system information and home page.
void ServeGeneralSettings(FakeGateway& gateway, const SampleInstallation& sample) {
    gateway.Answer(0x1FAE, Clock(sample));
    gateway.Answer(0x259B, HomePage(sample));
    for (uint16_t id : {0x1FB0, 0x1F7C, 0x259D})
        gateway.Answer(id, {});
}

}  // namespace

void ServeSampleInstallation(FakeGateway& gateway, const SampleInstallation& sample) {
    gateway.Answer(0x0010, {});  // ping
    gateway.Answer(0x1FB8, PayloadWriter().String(sample.adapterVersion).Int(sample.adapterType));
    gateway.Answer(0x1F7A, SampleSystemInfo(sample));
    gateway.Answer(0x30F4, Config(sample));
    gateway.Answer(0x310E, PayloadWriter().Int(static_cast<int32_t>(kBuiltInNames.size())));
    gateway.On(0x3111, [](const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t zero = 0, start = 0, wanted = 0;
        reader.Int(&zero) && reader.Int(&start) && reader.Int(&wanted);
        const size_t total = kBuiltInNames.size();
        const size_t first = start < 0 ? total : std::min(static_cast<size_t>(start), total);
        const size_t count = wanted < 0 ? 0 : std::min(static_cast<size_t>(wanted), total - first);
        return std::vector<Frame>{{request.sender, 0x3112, Strings(kBuiltInNames, first, count)}};
    });
    gateway.Answer(0x3112, Strings(kCustomNames, 0, kCustomNames.size()));
    gateway.Answer(0x30DE, PayloadWriter().Int(2).Int(0).String("Generic").Int(7).String("Light"));
    gateway.Answer(0x3116, ExtConfig(sample));
    gateway.Answer(0x30EE, SampleStatus(sample.linkState));
    // Writes of the configuration and the house address are acknowledged.
    for (uint16_t id : {0x30E8, 0x3114, 0x3118, 0x311A, 0x312C, 0x1FE2})
        gateway.Answer(id, {});
    ServeGeneralSettings(gateway, sample);
}

}  // namespace testsupport
