#pragma once
// Gateway answers for the pool model, built value by value in the layouts
// the gateway sends: the configuration answer (long and short forms), the
// extended load's answers and the status.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/basinsetup.h"
#include "fake_link.h"

struct CircuitFixture {
    int32_t id;
    std::string name;  // sent in the short form only
    uint8_t nameIndex;
    uint8_t function;
    uint8_t interface;
    uint8_t flags;
    uint8_t colorSet;
    uint8_t colorPosition;
    uint8_t colorStagger;
    uint8_t deviceId;
    uint16_t runTime;
};

struct ConfigFixture {
    int32_t controllerId = 7;
    std::vector<uint8_t> setPoints = {40, 104, 50, 102};
    uint8_t celsius = 0;
    uint8_t legacyType = 2;
    uint8_t subType = 9;
    uint8_t expansion = 0x40;
    uint32_t equipmentFlags = 0x2;
    std::string name = "Backyard";
    std::vector<CircuitFixture> circuits = {
        {500, "Spa", 1, 1, 1, 1, 0, 0, 0, 1, 720},
        {501, "Pool", 2, 2, 0, 0, 0, 0, 0, 6, 720},
        {502, "Aux 1", 3, 0, 4, 2, 3, 5, 7, 2, 60},
        {503, "Garden", 4, 7, 4, 0, 9, 14, 2, 3, 120},
    };
    std::string secondText = "second";
    std::vector<std::pair<std::string, uint32_t>> colors = {{"White", 0xFFFFFF}, {"Red", 0x0000FF}};
    std::vector<uint8_t> pumps = {6, 1, 0, 0, 0, 0, 0, 255};
    int32_t trailing = 42;
    int32_t further = 99;
};

// The configuration answer as the gateway sends it to that program: the short
// form to the tablet, the long form to the others; `v4` adds the equipment
// flags and the pump bytes of gateways from 4.0 (the tablet always has them).
inline std::unique_ptr<CZVMSG> ConfigAnswer(const ConfigFixture& f, ZVVariant variant, bool v4 = true)
{
    const bool shortForm = variant == ZVVariant::Tablet;
    v4 = v4 || shortForm;
    MsgBuilder m(ZVM_POOL_GETCONFIGA, variant);
    m.Int(f.controllerId).Bytes(f.setPoints).Byte(f.celsius).Byte(f.legacyType).Byte(f.subType)
        .Byte(f.expansion);
    if (v4)
        m.Int(static_cast<int32_t>(f.equipmentFlags));
    m.String(f.name).Int(static_cast<int32_t>(f.circuits.size()));
    for (const CircuitFixture& c : f.circuits) {
        if (shortForm) {
            m.Int(c.id).String(c.name).Byte(c.nameIndex).Byte(c.function).Byte(c.interface)
                .Byte(c.flags).Byte(c.colorSet).Byte(c.colorPosition).Byte(c.colorStagger)
                .Byte(c.deviceId).Short(c.runTime).Byte(0xEE).Byte(0xEE);
        } else {
            m.Int(c.id).Byte(c.nameIndex).Byte(c.function)
                .Byte(static_cast<uint8_t>(c.interface | c.flags << 6))
                .Byte(static_cast<uint8_t>(c.colorPosition | c.colorSet << 4))
                .Byte(c.colorStagger).Byte(c.deviceId).Short(c.runTime);
        }
    }
    if (!shortForm)
        m.String(f.secondText);
    m.Int(static_cast<int32_t>(f.colors.size()));
    for (const auto& [name, color] : f.colors)
        m.String(name).Color(color);
    if (v4)
        m.Bytes(f.pumps);
    m.Int(f.trailing);
    if (variant == ZVVariant::Monitor)
        m.Int(f.further);
    return m.Take();
}

struct ExtFixture {
    std::vector<std::string> builtIn = {"None", "Spa", "Pool", "Aux 1"};
    int announced = -1;  // the count the gateway announces; -1: builtIn's size
    std::vector<std::string> custom = {"Garden", "Waterfall"};
    std::vector<std::pair<int32_t, std::string>> functions = {{0, "Generic"}, {7, "Light"}};
    int32_t type = 2;
    int32_t expansion = 0x40;
    std::vector<std::vector<uint8_t>> tables;  // from table 1
};

// Byte tables whose contents tell them apart; table n has n + 2 bytes.
inline std::vector<std::vector<uint8_t>> DistinctTables(int count)
{
    std::vector<std::vector<uint8_t>> tables;
    for (int t = 1; t <= count; ++t) {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < t + 2; ++i)
            bytes.push_back(static_cast<uint8_t>(t * 16 + i));
        tables.push_back(bytes);
    }
    tables[0] = {2, 150, 7};  // firmware 2.150
    return tables;
}

inline void AppendTable(MsgBuilder& m, const std::vector<uint8_t>& bytes)
{
    m.Int(static_cast<int32_t>(bytes.size())).Bytes(bytes);
    for (size_t pad = bytes.size(); pad % 4 != 0; ++pad)
        m.Byte(0);
}

inline std::unique_ptr<CZVMSG> ExtConfigAnswer(const ExtFixture& f)
{
    MsgBuilder m(ZVM_POOL_GETEXTCONFIGQ + 1);
    m.Int(f.type).Int(f.expansion);
    for (const auto& table : f.tables)
        AppendTable(m, table);
    return m.Take();
}

inline std::unique_ptr<CZVMSG> StringListAnswer(uint16_t id, const std::vector<std::string>& names)
{
    MsgBuilder m(id);
    m.Int(static_cast<int32_t>(names.size()));
    for (const auto& name : names)
        m.String(name);
    return m.Take();
}

// Scripts every answer of the extended load. The built-in names are answered
// in chunks of 25 as asked, each chunk with as many names as builtIn holds.
inline void ScriptExtended(FakeLink& link, const ExtFixture& f)
{
    const int total = f.announced < 0 ? static_cast<int>(f.builtIn.size()) : f.announced;
    link.Answer(ZVM_POOL_GETCUSTOMNAMECOUNTQ, MsgBuilder(ZVM_POOL_GETCUSTOMNAMECOUNTQ + 1).Int(total).Take());
    for (int start = 0; start < total; start += 25) {
        const int end = std::min({start + 25, total, static_cast<int>(f.builtIn.size())});
        std::vector<std::string> chunk;
        for (int i = start; i < end; ++i)
            chunk.push_back(f.builtIn[static_cast<size_t>(i)]);
        link.Answer(ZVM_POOL_GETCUSTOMNAMESQ, StringListAnswer(ZVM_POOL_GETCUSTOMNAMESQ + 1, chunk));
    }
    link.Answer(ZVM_POOL_GETSTRINGLISTQ, StringListAnswer(ZVM_POOL_GETSTRINGLISTQ + 1, f.custom));
    MsgBuilder functions(ZVM_POOL_GETNAMEDITEMSQ + 1);
    functions.Int(static_cast<int32_t>(f.functions.size()));
    for (const auto& [code, name] : f.functions)
        functions.Int(code).String(name);
    link.Answer(ZVM_POOL_GETNAMEDITEMSQ, functions.Take());
    link.Answer(ZVM_POOL_GETEXTCONFIGQ, ExtConfigAnswer(f));
}

struct BodyFixture {
    int32_t number, temperature, heatStatus, setPoint, extra, heatMode;
};

struct CircuitStatusFixture {
    int32_t id, state;
    uint8_t colorSet, colorPosition, colorStagger, delay;
};

struct StatusFixture {
    int32_t link = 1;
    uint8_t freeze = 1;
    std::vector<uint8_t> flags = {1, 0, 1, 0};  // remotes, three delay flags
    int32_t air = 80;
    std::vector<BodyFixture> bodies = {{0, 78, 2, 82, 11, 3}, {1, 101, 1, 104, 12, 1}};
    std::vector<CircuitStatusFixture> circuits = {{500, 1, 0, 0, 0, 0}, {502, 1, 4, 6, 8, 1}};
    std::vector<int32_t> chemistry = {740, 650, 12, 1, 2, 3, 4, 5};
};

// `freezeBytes`: gateway from 3.378 (and always for the tablet);
// `extras`: the monitor's values of gateways from 5.1.
inline std::unique_ptr<CZVMSG> StatusMessage(const StatusFixture& f, bool freezeBytes = true,
                                             bool extras = false, uint16_t id = ZVM_POOL_GETSTATUSA)
{
    MsgBuilder m(id);
    m.Int(f.link);
    if (freezeBytes)
        m.Byte(f.freeze);
    m.Bytes(f.flags);
    if (freezeBytes)
        m.Bytes({0xAA, 0xAA, 0xAA});
    m.Int(f.air).Int(static_cast<int32_t>(f.bodies.size()));
    for (const BodyFixture& b : f.bodies) {
        m.Int(b.number).Int(b.temperature).Int(b.heatStatus).Int(b.setPoint);
        if (extras)
            m.Int(b.extra);
        m.Int(b.heatMode);
    }
    m.Int(static_cast<int32_t>(f.circuits.size()));
    for (const auto& c : f.circuits)
        m.Int(c.id).Int(c.state).Byte(c.colorSet).Byte(c.colorPosition).Byte(c.colorStagger).Byte(c.delay);
    if (extras) {
        for (int32_t value : f.chemistry)
            m.Int(value);
    }
    return m.Take();
}
