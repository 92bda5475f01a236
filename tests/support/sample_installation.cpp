#include "sample_installation.h"

#include "sample_house.h"

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
    uint8_t flags;  // bit 0: on with freeze
};

const std::vector<std::string> kBuiltInNames = {"None", "Spa", "Pool", "Aux 1", "Aux 2", "Aux 3", "Feature 1",
                                                "Spillway", "Jets"};
const std::vector<std::string> kCustomNames = {"Pool Light", "Waterfall", "Deck Jets"};
constexpr uint8_t kCustom = 9;  // name index of the first custom name
constexpr uint8_t kNoName = 255;
constexpr uint8_t kDontShow = 5;

// The controller's fifty circuit slots, the circuit at position p having the
// device id p + 1: main panel 0 to 9, the expansion unit 10 to 19, features
// from 40. Unused slots carry no name and are not shown.
std::vector<SampleCircuit> MakeCircuits() {
    std::vector<SampleCircuit> circuits;
    for (int position = 0; position < 50; ++position)
        circuits.push_back({500 + position, kNoName, 0, kDontShow, static_cast<uint8_t>(position + 1), 0});
    const SampleCircuit used[] = {
        {500, 1, 1, 1, 1, 0},            {501, 3, 0, 2, 2, 2},  {502, kCustom, 7, 4, 3, 0},
        {503, 5, 9, 3, 4, 0},            {504, kCustom + 1, 0, 2, 5, 1}, {505, 2, 2, 0, 6, 1},
        {510, 4, 5, 0, 11, 0},           {540, 8, 0, 2, 41, 0}, {541, 7, 17, 2, 42, 0},
    };
    for (const SampleCircuit& circuit : used)
        circuits[static_cast<size_t>(circuit.id - 500)] = circuit;
    return circuits;
}
const std::vector<SampleCircuit> kCircuits = MakeCircuits();

Bytes Config(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(7).Byte(40).Byte(104).Byte(50).Byte(104);  // controller id, set point limits
    m.Byte(0).Byte(2).Byte(9).Byte(sample.expansion);  // Fahrenheit, legacy type, sub-type, expansion
    if (sample.layout4)
        m.Int(0x2);                                      // equipment: heat pump
    m.String(sample.controllerName).Int(static_cast<int32_t>(kCircuits.size()));
    for (const SampleCircuit& c : kCircuits) {
        m.Int(c.id).Byte(c.nameIndex).Byte(c.function).Byte(static_cast<uint8_t>(c.group | c.flags << 6));
        m.Byte(c.id == 503 ? 0x30 : 0).Byte(0).Byte(c.deviceId).Short(720);  // colour set 3
    }
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
    std::vector<Bytes> tables = SampleTables();
    tables[4][2] = sample.scaleByte;
    tables[7][5] = sample.manualPriority;
    std::vector<Bytes> served = {{sample.firmwareMajor, sample.firmwareMinor}};
    served.insert(served.end(), tables.begin() + 1, tables.end());
    served.push_back(Bytes(8, 0));
    for (const Bytes& bytes : served)
        m.Int(static_cast<int32_t>(bytes.size())).Raw(bytes.data(), bytes.size());
    return m;
}

}  // namespace

std::vector<Bytes> SampleTables() {
    std::vector<Bytes> tables = {{}, Bytes(8, 0), Bytes(24, 0), Bytes(50, 0), Bytes(8, 0), Bytes(8, 0),
                                 Bytes(140, 0), Bytes(8, 0), Bytes(12, 0), Bytes(240, 0)};
    tables[1][0] = 1;     // high speed for the spa and any heater
    tables[1][1] = 0x81;
    tables[2][0] = 0x04;  // load centre 1 has valve C
    tables[2][5] = 2;     // valve B: Aux 1
    tables[2][6] = 0x82;  // valve C: the pool heater
    tables[2][10] = 11;   // load centre 2 valve B: the expansion's first circuit
    for (auto [entry, code] : {std::pair{0, 1}, {1, 6}, {2, 0x85}, {30, 2}, {34, 4}, {35, 5}, {40, 1}})
        tables[3][static_cast<size_t>(entry)] = static_cast<uint8_t>(code);
    tables[4][0] = 0x02;  // solar on the first body, not a heat pump
    tables[5][0] = 0x01;  // pump on during the first body's heater cool-down
    // Jets (device 41), macro record 0: spa on, pool off, Aux 1 in both masks.
    tables[6][0] = 0x20 | 0x02;
    tables[6][7] = 0x01 | 0x02;
    tables[7][4] = 1;     // spa manual heat
    tables[8][0] = 3;     // the pool light; device 2 is no light
    tables[8][1] = 2;
    // Pump 1 flow-controlled with background circuit 6; pump 2 speed-controlled.
    const uint8_t flowPump[30] = {6, 15, 2, 0, 2, 40, 0x9B, 50, 0, 30, 0, 30, 0, 30, 0, 30,
                                  0, 30, 0, 30, 30, 55, 0x25, 10, 60, 5, 1, 50, 0, 10};
    std::copy(std::begin(flowPump), std::end(flowPump), tables[9].begin());
    tables[9][30] = 0x80;
    tables[9][34] = 1;
    tables[9][35] = 0x0B;  // 3000 RPM
    tables[9][51] = 0xB8;
    return tables;
}

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
        m.Int(c.id).Int(c.id == 501 || c.function == 2 ? 1 : 0).Byte(0).Byte(0).Byte(0).Byte(0);  // Aux 1 and the pool pump run
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

Bytes SampleMenu(const SampleInstallation& sample) {
    PayloadWriter m;
    m.Int(0).Int(static_cast<int32_t>(sample.menu.size()));
    for (const auto& [type, caption] : sample.menu)
        m.Int(type).String(caption);
    return m;
}

void ServeSampleInstallation(FakeGateway& gateway, const SampleInstallation& sample) {
    ServeSampleHouse(gateway);
    gateway.Answer(0x0010, {});  // ping
    gateway.Answer(0x258B, PayloadWriter().Int(2));  // the tablet's style: the built-in, unthemed one
    gateway.Answer(0x1FB8, PayloadWriter().String(sample.adapterVersion).Int(sample.adapterType));
    gateway.Answer(0x1F7A, SampleSystemInfo(sample));
    gateway.Answer(0x1FD2, SampleMenu(sample));
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
    PayloadWriter functions;
    const std::pair<int32_t, const char*> kFunctions[] = {
        {0, "Generic"},      {1, "Spa"},          {2, "Pool"},          {3, "Second Spa"},   {4, "Second Pool"},
        {5, "Cleaner"},      {6, "Second Cleaner"}, {7, "Light"},       {8, "Dimmer"},       {9, "Sequence Light"},
        {10, "Swim Light"},  {11, "Colour Light"}, {12, "Wheel Light"}, {13, "Magic Stream"}, {16, "Show Light"},
        {17, "Spillway"}};
    functions.Int(static_cast<int32_t>(std::size(kFunctions)));
    for (const auto& [code, name] : kFunctions)
        functions.Int(code).String(name);
    gateway.Answer(0x30DE, functions);
    gateway.Answer(0x3116, ExtConfig(sample));
    gateway.Answer(0x30EE, SampleStatus(sample.linkState));
    // Writes of the configuration and the house address are acknowledged.
    for (uint16_t id : {0x30E8, 0x3114, 0x3118, 0x311A, 0x312C, 0x1FE2, 0x310A, 0x311E})
        gateway.Answer(id, {});
    ServeGeneralSettings(gateway, sample);
    gateway.Answer(0x311C, PayloadWriter().Int(sample.chlorinator ? 1 : 0));
}

}  // namespace testsupport
