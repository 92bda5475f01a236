#include "core/basinsetup.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "core/msgreader.h"
#include "platform/report.h"

namespace {

constexpr uint32_t kTabletConfigTimeout = 30000;
constexpr int kNameChunk = 25;
// A circuit names its name by a one-byte index into the built-in names
// followed by the custom ones: names past the first 256 can never be shown.
constexpr int kNameIndexCount = 256;
// The freeze test of gateways that do not report freeze mode.
constexpr int kFreezeFahrenheit = 36;
constexpr int kFreezeCelsius = 2;
constexpr int kUnknownTemp = 255;

// Smallest wire size of each kind of record, to bound a count by what is left.
constexpr int kLongCircuitBytes = 12;
constexpr int kShortCircuitBytes = 20;
constexpr int kColorBytes = 16;
constexpr int kStringBytes = 4;
constexpr int kNamedItemBytes = 8;
constexpr int kBodyBytes = 20;
constexpr int kCircuitStatusBytes = 12;

std::unique_ptr<CZVMSG> MakeRequest(ZVVariant variant, uint16_t id, std::initializer_list<int32_t> ints) {
    auto message = std::make_unique<CZVMSG>(0, id, 0, 1, variant);
    for (int32_t value : ints) message->WriteInt(value);
    return message;
}

// Appends count strings to list; 1 when all of them were there.
int ReadStrings(CZVMSG& message, int32_t count, std::vector<std::string>& list) {
    return ReadRecords(message, count, kStringBytes, [&](int) {
        std::string text;
        if (!message.ReadString(text)) return 0;
        list.push_back(std::move(text));
        return 1;
    });
}

struct TriggerText {
    uint8_t code;
    const char* text;
};

constexpr TriggerText kTriggers[] = {
    {128, "Solar Active"},
    {129, "Pool or Spa Heater Active"},
    {130, "Pool Heater Active"},
    {131, "Spa Heater Active"},
    {132, "Freeze Mode Active"},
    {133, "Heat Boost"},
    {134, "Heat Enable"},
    {155, "Pool Heater"},
    {156, "Spa Heater"},
    {157, "Either Heater"},
    {158, "Solar"},
    {159, "Freeze"},
};

CPoolCircuit* CircuitAt(CZVObList& list, ZVPOSITION position) {
    return static_cast<CPoolCircuit*>(list.GetAt(position));
}

}  // namespace

void CPoolCircuit::SetRunTime(int controllerIndex, int minutes) {
    if (minutes == runTime) return;
    runTime = static_cast<uint16_t>(minutes);
    if (controllerIndex == -1) return;
    auto message = MakeRequest(owner->GetVariant(), ZVM_POOL_SETRUNTIME, {controllerIndex, circuitId, minutes});
    owner->Link().Send(*message);
}

CBasinSetup::CBasinSetup(CGatewayLink& link, ZVVariant variant, int controllerIndex, uint16_t major, uint16_t minor)
    : m_link(link), m_variant(variant), m_major(major), m_minor(minor), m_controllerIndex(controllerIndex) {
    Load();
}

CBasinSetup::~CBasinSetup() = default;

int CBasinSetup::IsVersionAtLeast(int major, int minor) const {
    return m_major > major || (m_major == major && m_minor >= minor);
}

// The tablet program reads every gated field unconditionally.
int CBasinSetup::Gate(int major, int minor) const {
    return m_variant == ZVVariant::Tablet || IsVersionAtLeast(major, minor);
}

void CBasinSetup::Load() {
    const bool tablet = m_variant == ZVVariant::Tablet;
    auto request = MakeRequest(m_variant, ZVM_POOL_GETCONFIGQ, {m_controllerIndex, tablet ? 0 : 1});
    auto answer = m_link.Ask(*request, tablet ? kTabletConfigTimeout : kDefaultQueryTimeout);
    if (!answer || !ReadConfig(*answer)) return;
    if (!tablet) {
        // The monitor shows what it has even when the extended part is missing.
        if (!LoadExtended() && m_variant != ZVVariant::Monitor) return;
        ResolveCircuitNames();
    }
    m_linkState = 1;
    m_loaded = 1;
}

int CBasinSetup::ReadConfig(CZVMSG& message) {
    const bool shortForm = m_variant == ZVVariant::Tablet;
    uint8_t legacyType = 0, subType = 0, expansion = 0;
    CMsgReader in(message);
    in.Int(m_controllerId)
        .Byte(m_bodies[0].setPointMin)
        .Byte(m_bodies[0].setPointMax)
        .Byte(m_bodies[1].setPointMin)
        .Byte(m_bodies[1].setPointMax)
        .Byte(m_celsius)
        .Byte(legacyType)
        .Byte(subType)
        .Byte(expansion);
    if (!in) return 0;
    if (m_variant == ZVVariant::Monitor) {
        m_controllerType = legacyType;
        m_controllerSubType = subType;
        m_expansion = expansion;
    } else if (shortForm) {
        // The tablet has no extended load: the byte is its controller type.
        m_controllerType = legacyType;
    }
    if (Gate(4, 0))
        in.UInt(m_equipmentFlags);
    else
        m_equipmentFlags = legacyType != 0 ? 1 : 0;
    int32_t count = 0;
    in.String(m_controllerName).Int(count);
    if (!in) return 0;
    const int circuitBytes = shortForm ? kShortCircuitBytes : kLongCircuitBytes;
    if (!ReadRecords(message, count, circuitBytes, [&](int index) { return ReadCircuit(message, index); })) return 0;
    if (!shortForm) in.String(m_secondText);
    in.Int(count);
    if (!in || !ReadRecords(message, count, kColorBytes, [&](int) { return ReadColor(message); })) return 0;
    if (Gate(4, 0)) {
        for (uint8_t& pump : m_pumpCircuits) in.Byte(pump);
    }
    in.Int(m_trailingValue);
    if (m_variant == ZVVariant::Monitor) in.Int(m_furtherConfigValue);
    return in ? 1 : 0;
}

int CBasinSetup::ReadCircuit(CZVMSG& message, int recordIndex) {
    auto circuit = std::make_unique<CPoolCircuit>(this, recordIndex);
    CMsgReader in(message);
    if (m_variant == ZVVariant::Tablet) {
        uint8_t skipped[2];
        in.Int(circuit->circuitId)
            .String(circuit->name)
            .Byte(circuit->nameIndex)
            .Byte(circuit->function)
            .Byte(circuit->interface)
            .Byte(circuit->flags)
            .Byte(circuit->colorSet)
            .Byte(circuit->colorPosition)
            .Byte(circuit->colorStagger)
            .Byte(circuit->deviceId)
            .Short(circuit->runTime)
            .Byte(skipped[0])
            .Byte(skipped[1]);
    } else {
        uint8_t group = 0, color = 0;
        in.Int(circuit->circuitId)
            .Byte(circuit->nameIndex)
            .Byte(circuit->function)
            .Byte(group)
            .Byte(color)
            .Byte(circuit->colorStagger)
            .Byte(circuit->deviceId)
            .Short(circuit->runTime);
        circuit->interface = group & 0x3F;
        circuit->flags = group >> 6;
        circuit->colorPosition = color & 0x0F;
        circuit->colorSet = color >> 4;
    }
    if (!in) return 0;
    m_circuits.push_back(std::move(circuit));
    return 1;
}

int CBasinSetup::ReadColor(CZVMSG& message) {
    CPoolColor color;
    if (!CMsgReader(message).String(color.name).Color(color.color)) return 0;
    m_colors.push_back(std::move(color));
    return 1;
}

int CBasinSetup::LoadExtended() {
    auto request = MakeRequest(m_variant, ZVM_POOL_GETCUSTOMNAMECOUNTQ, {0});
    auto answer = Ask(*request);
    int32_t total = 0;
    if (!answer || !answer->ReadInt(total)) return 0;
    m_builtInTotal = std::max(total, 0);
    if (!LoadBuiltInNames()) return 0;
    request = MakeRequest(m_variant, ZVM_POOL_GETSTRINGLISTQ, {0});
    answer = Ask(*request);
    if (!answer) return 0;
    int32_t count = 0;
    if (answer->ReadInt(count)) ReadStrings(*answer, count, m_customNames);
    request = MakeRequest(m_variant, ZVM_POOL_GETNAMEDITEMSQ, {0});
    answer = Ask(*request);
    if (answer && answer->ReadInt(count))
        ReadRecords(*answer, count, kNamedItemBytes, [&](int) {
            CPoolNameEntry entry;
            if (!CMsgReader(*answer).Int(entry.code).String(entry.name)) return 0;
            m_functionNames.push_back(std::move(entry));
            return 1;
        });
    ReleaseTables();
    request = MakeRequest(m_variant, ZVM_POOL_GETEXTCONFIGQ, {m_controllerIndex});
    answer = Ask(*request);
    return answer && ReadExtConfig(*answer);
}

// Asks in chunks of 25; a short chunk ends the list with what has arrived.
// Only the names an index can reach are asked for, however many are announced.
int CBasinSetup::LoadBuiltInNames() {
    const int wantedTotal = std::min(m_builtInTotal, kNameIndexCount);
    for (int start = 0; start < wantedTotal;) {
        const int wanted = std::min(kNameChunk, wantedTotal - start);
        auto request = MakeRequest(m_variant, ZVM_POOL_GETCUSTOMNAMESQ, {0, start, wanted});
        auto answer = Ask(*request);
        if (!answer) return 0;
        int32_t count = 0;
        if (!answer->ReadInt(count) || count != wanted) break;
        if (!ReadStrings(*answer, count, m_builtInNames)) break;
        start += count;
    }
    return 1;
}

int CBasinSetup::ReadExtConfig(CZVMSG& message) {
    int32_t type = 0, expansion = 0;
    if (!CMsgReader(message).Int(type).Int(expansion)) return 0;
    m_controllerType = static_cast<uint8_t>(type);
    m_expansion = static_cast<uint8_t>(expansion);
    int tables = 9;
    if (m_variant == ZVVariant::Monitor) {
        m_controllerSubType = static_cast<uint8_t>(type >> 8);
        if (IsVersionAtLeast(4, 0)) tables = 12;
    } else if (IsVersionAtLeast(4, 519)) {
        tables = 11;
    } else if (IsVersionAtLeast(4, 0)) {
        tables = 10;
    }
    for (int table = 1; table <= tables; ++table) {
        if (!ReadTable(message, table)) return 0;
        // The monitor shows the firmware even when a later table is damaged.
        if (table == 1 && m_variant == ZVVariant::Monitor && m_tables[0].size() >= 2)
            m_firmwareVersion = m_tables[0][0] * 1000 + m_tables[0][1];
    }
    return 1;
}

// int count (0-1000), the bytes, zero padding to 4. The table keeps its
// old content unless the whole of it arrives.
int CBasinSetup::ReadTable(CZVMSG& message, int table) {
    int32_t count = 0;
    if (!message.ReadInt(count) || count < 0 || count > kPoolTableMax) return 0;
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    CMsgReader in(message);
    for (uint8_t& byte : bytes) in.Byte(byte);
    uint8_t pad = 0;
    for (int i = 0; i < (4 - count % 4) % 4; ++i) in.Byte(pad);
    if (!in) return 0;
    m_tables[static_cast<size_t>(table - 1)] = std::move(bytes);
    return 1;
}

void CBasinSetup::ReleaseTables() {
    for (auto& table : m_tables) table.clear();
}

int CBasinSetup::GetTableCount(int table) const {
    if (table < 1 || table > kPoolTableCount) return 0;
    return static_cast<int>(m_tables[static_cast<size_t>(table - 1)].size());
}

const uint8_t* CBasinSetup::GetTable(int table) const {
    if (GetTableCount(table) == 0) return nullptr;
    return m_tables[static_cast<size_t>(table - 1)].data();
}

int CBasinSetup::ReadStatus(CZVMSG& message) {
    if (message.GetId() != ZVM_POOL_GETSTATUSA && message.GetId() != ZVM_POOL_STATUSCHANGED) return 0;
    int32_t link = 0;
    if (!message.ReadInt(link)) {
        m_linkState = 0;
        return 0;
    }
    m_linkState = static_cast<uint8_t>(link);
    const bool freezeByte = Gate(3, 378);
    CMsgReader in(message);
    if (freezeByte) in.Byte(m_freezeMode);
    in.Byte(m_remotesEnabled).Byte(m_delayFlags[0]).Byte(m_delayFlags[1]).Byte(m_delayFlags[2]);
    if (freezeByte) {
        uint8_t skipped[3];
        in.Byte(skipped[0]).Byte(skipped[1]).Byte(skipped[2]);
    }
    int32_t count = 0;
    in.Int(m_airTemp).Int(count);
    if (!in) return 0;
    if (count > 2 && m_variant == ZVVariant::Tablet) ReportAssert("basinsetup", 570, 1);
    // Records beyond the second body are read past, never taken as circuits.
    if (!ReadRecords(message, count, kBodyBytes, [&](int index) { return ReadBody(message, index < 2); })) return 0;
    if (!message.ReadInt(count) ||
        !ReadRecords(message, count, kCircuitStatusBytes, [&](int) { return ReadCircuitStatus(message); }))
        return 0;
    if (m_variant == ZVVariant::Monitor && IsVersionAtLeast(5, 1)) {
        for (int32_t& value : m_chemistry) in.Int(value);
    }
    return in ? 1 : 0;
}

int CBasinSetup::ReadBody(CZVMSG& message, int store) {
    int32_t number = 0;
    CPoolBody read;
    CMsgReader in(message);
    in.Int(number).Int(read.temperature).Int(read.heatStatus).Int(read.setPoint);
    if (m_variant == ZVVariant::Monitor && IsVersionAtLeast(5, 1)) in.Int(read.extra);
    in.Int(read.heatMode);
    if (!in) return 0;
    if (!store) return 1;
    if (number != 0 && number != 1) {
        // A body the model does not know never overwrites the pool's values.
        if (m_variant == ZVVariant::Tablet) ReportAssert("basinsetup", 582, 1);
        return 1;
    }
    CPoolBody& body = m_bodies[static_cast<size_t>(number)];
    body.temperature = read.temperature;
    body.heatStatus = read.heatStatus;
    body.setPoint = read.setPoint;
    body.extra = read.extra;
    body.heatMode = read.heatMode;
    return 1;
}

int CBasinSetup::ReadCircuitStatus(CZVMSG& message) {
    int32_t id = 0, state = 0;
    uint8_t colorSet = 0, colorPosition = 0, colorStagger = 0, delay = 0;
    if (!CMsgReader(message).Int(id).Int(state).Byte(colorSet).Byte(colorPosition).Byte(colorStagger).Byte(delay))
        return 0;
    if (CPoolCircuit* circuit = FindCircuitById(id)) {
        circuit->state = state;
        circuit->colorSet = colorSet;
        circuit->colorPosition = colorPosition;
        circuit->colorStagger = colorStagger;
        circuit->delay = delay;
    }
    return 1;
}

int CBasinSetup::GetFreezeFlag() const {
    if (Gate(3, 378)) return m_freezeMode;
    return m_airTemp <= (m_celsius ? kFreezeCelsius : kFreezeFahrenheit) ? 1 : 0;
}

const CPoolBody* CBasinSetup::GetBody(int body) const {
    return body == 0 || body == 1 ? &m_bodies[static_cast<size_t>(body)] : nullptr;
}

uint8_t CBasinSetup::GetPumpCircuit(int pump) const {
    return pump >= 0 && pump < kPoolPumpCount ? m_pumpCircuits[static_cast<size_t>(pump)] : 0;
}

std::string CBasinSetup::GetPumpCircuitText(int pump) const {
    if (pump < 0 || pump >= kPoolPumpCount) return {};
    if (IsPumpVX900(pump)) return "VX900";
    const CPoolCircuit* circuit = FindCircuitByDevice(GetPumpCircuit(pump));
    return circuit ? circuit->name : std::string();
}

int CBasinSetup::IsProgramLimitReached(int extra) const {
    // The small controllers (types 13 and 14) hold fewer programs.
    const int limit = m_controllerType == 13 || m_controllerType == 14 ? 12 : 99;
    const auto timed = std::count_if(m_circuits.begin(), m_circuits.end(),
                                     [](const auto& circuit) { return circuit->runTime != kPoolNoRunTime; });
    return timed + extra >= limit ? 1 : 0;
}

int32_t CBasinSetup::GetChemistry(int i) const {
    return i >= 0 && i < kPoolChemistryCount ? m_chemistry[static_cast<size_t>(i)] : 0;
}

CPoolCircuit* CBasinSetup::GetCircuit(int index) const {
    if (index < 0 || index >= GetCircuitCount()) return nullptr;
    return m_circuits[static_cast<size_t>(index)].get();
}

namespace {

template <class Pred>
CPoolCircuit* FindCircuit(const std::vector<std::unique_ptr<CPoolCircuit>>& circuits, Pred pred) {
    auto it = std::find_if(circuits.begin(), circuits.end(), [&](const auto& circuit) { return pred(*circuit); });
    return it == circuits.end() ? nullptr : it->get();
}

}  // namespace

CPoolCircuit* CBasinSetup::FindCircuitById(int id) const {
    return FindCircuit(m_circuits, [id](const CPoolCircuit& c) { return c.circuitId == id; });
}

CPoolCircuit* CBasinSetup::FindCircuitByDevice(int deviceId) const {
    return FindCircuit(m_circuits, [deviceId](const CPoolCircuit& c) { return c.deviceId == deviceId; });
}

CPoolCircuit* CBasinSetup::FindCircuitByFunction(int function) const {
    return FindCircuit(m_circuits, [function](const CPoolCircuit& c) { return c.function == function; });
}

void CBasinSetup::GetCircuitsByInterface(CZVObList& list, int interface) const {
    for (const auto& circuit : m_circuits) {
        if (circuit->interface == interface) list.AddTail(circuit.get());
    }
}

namespace {

// Takes the list's first circuit of the function out; null when none.
CPoolCircuit* TakeFunction(CZVObList& list, int function) {
    for (ZVPOSITION position = list.GetHeadPosition(); position;) {
        ZVPOSITION at = position;
        auto* circuit = static_cast<CPoolCircuit*>(list.GetNext(position));
        if (circuit->function == function) {
            list.RemoveAt(at);
            return circuit;
        }
    }
    return nullptr;
}

}  // namespace

void CBasinSetup::MoveFunctionToFront(CZVObList& list, int function) {
    if (CPoolCircuit* circuit = TakeFunction(list, function)) list.AddHead(circuit);
}

void CBasinSetup::RemoveByFunction(CZVObList& list, int function) { TakeFunction(list, function); }

// Each item goes before the first already sorted item whose position is not
// smaller, so equal positions come out in reverse order.
void CBasinSetup::SortCircuits(CZVObList& list) {
    CZVObList sorted;
    while (!list.IsEmpty()) {
        auto* circuit = static_cast<CPoolCircuit*>(list.RemoveHead());
        ZVPOSITION position = sorted.GetHeadPosition();
        while (position && CircuitAt(sorted, position)->colorPosition < circuit->colorPosition)
            sorted.GetNext(position);
        sorted.InsertBefore(position, circuit);
    }
    while (!sorted.IsEmpty()) list.AddTail(sorted.RemoveHead());
}

CPoolCircuit* CBasinSetup::NextCircuit(const CPoolCircuit* circuit) const {
    for (size_t i = 0; i < m_circuits.size(); ++i) {
        if (m_circuits[i].get() == circuit) return m_circuits[(i + 1) % m_circuits.size()].get();
    }
    return nullptr;
}

CPoolCircuit* CBasinSetup::PrevCircuit(const CPoolCircuit* circuit) const {
    for (size_t i = 0; i < m_circuits.size(); ++i) {
        if (m_circuits[i].get() == circuit) return m_circuits[(i + m_circuits.size() - 1) % m_circuits.size()].get();
    }
    return nullptr;
}

const CPoolColor* CBasinSetup::GetColor(int index) const {
    if (index < 0 || index >= GetColorCount()) return nullptr;
    return &m_colors[static_cast<size_t>(index)];
}

const CPoolNameEntry* CBasinSetup::GetFunctionEntry(int index) const {
    if (index < 0 || index >= static_cast<int>(m_functionNames.size())) return nullptr;
    return &m_functionNames[static_cast<size_t>(index)];
}

std::string CBasinSetup::GetFunctionName(int index) const {
    const CPoolNameEntry* entry = GetFunctionEntry(index);
    return entry ? entry->name : "Error";
}

int CBasinSetup::GetFunctionCode(int index) const {
    const CPoolNameEntry* entry = GetFunctionEntry(index);
    return entry ? entry->code : -1;
}

std::string CBasinSetup::GetFunctionNameByCode(int code) const {
    for (const CPoolNameEntry& entry : m_functionNames) {
        if (entry.code == code) return entry.name;
    }
    return "";
}

// Built-in names come first, custom names after the announced built-in total.
std::string CBasinSetup::ResolveName(uint8_t nameIndex) const {
    if (nameIndex < m_builtInTotal) {
        return nameIndex < m_builtInNames.size() ? m_builtInNames[nameIndex] : "None";
    }
    const size_t custom = static_cast<size_t>(nameIndex - m_builtInTotal);
    return custom < m_customNames.size() ? m_customNames[custom] : "None";
}

void CBasinSetup::ResolveCircuitNames() {
    for (auto& circuit : m_circuits) circuit->name = ResolveName(circuit->nameIndex);
}

std::string CBasinSetup::GetHeatModeText(int mode) const {
    if (m_variant == ZVVariant::Monitor && (m_equipmentFlags & 0x10000)) {
        switch (mode) {
        case 0: return "Off";
        case 1: return "Hybrid";
        case 2: return "Gas Only";
        case 3: return "H.Pump Only";
        case 5: return "Dual";
        default: return "Don't Change";
        }
    }
    const bool monitor = m_variant == ZVVariant::Monitor;
    switch (mode) {
    case 0: return "Off";
    case 1: return HasHeatPump() ? "H.Pump Only" : "Solar Only";
    case 2:
        if (monitor) return HasHeatPump() ? "H.Pump Pref" : "Solar Pref";
        return HasHeatPump() ? "H.Pump Preferred" : "Solar Preferred";
    case 3: return "Heater";
    default: return "Don't Change";
    }
}

std::string CBasinSetup::GetHeatStatusText(int status) const {
    switch (status) {
    case 1: return HasHeatPump() ? "H.Pump On" : "Solar On";
    case 2: return "Heater On";
    case 3: return HasHeatPump() ? "Heater/H.P. On" : "Heater/Solar On";
    default: return "Off";
    }
}

std::string GetEnabledText(int flag) { return flag ? "Enabled" : "Disabled"; }

std::string CBasinSetup::GetSolarText() const { return HasHeatPump() ? "H.Pump" : "Solar"; }

std::string CBasinSetup::GetTempText(int value) const {
    if (value == kUnknownTemp) return "--";
    char text[32];
    std::snprintf(text, sizeof text, m_celsius ? "%d C" : "%d F", value);
    return text;
}

std::string CBasinSetup::GetBody0Name() const {
    const CPoolCircuit* pool = FindCircuitByFunction(2);
    if (!pool) return "Pool";
    return pool->name == "Low Temp" ? "Low" : pool->name;
}

std::string CBasinSetup::GetBody1Name() const {
    const CPoolCircuit* spa = FindCircuitByFunction(1);
    if (!spa) return "Spa";
    return spa->name == "High Temp" ? "High" : spa->name;
}

std::string CBasinSetup::GetFreezeText() const { return m_freezeMode ? "Yes" : "No"; }

std::string CBasinSetup::GetTriggerName(uint8_t code) const {
    for (const TriggerText& trigger : kTriggers) {
        if (trigger.code == code) return trigger.text;
    }
    const CPoolCircuit* circuit = FindCircuitByDevice(code);
    return circuit ? circuit->name : "None";
}

void CBasinSetup::SetCircuitState(CPoolCircuit* circuit, int on) {
    SetCircuitLevel(circuit, on ? 1 : 0);
    if (circuit) circuit->state = on;
}

void CBasinSetup::SetCircuitLevel(CPoolCircuit* circuit, int level) {
    if (!circuit) return;
    auto message = MakeRequest(m_variant, ZVM_POOL_SETCIRCUIT, {m_controllerIndex, circuit->circuitId, level});
    m_link.Send(*message);
    circuit->state = level;
}

void CBasinSetup::SetColorSet(CPoolCircuit* circuit, uint8_t colorSet) {
    if (!circuit) return;
    circuit->colorSet = colorSet;
    SetLightParams(circuit);
}

void CBasinSetup::SetLightParams(const CPoolCircuit* circuit) {
    if (!circuit) return;
    auto message = MakeRequest(
        m_variant, ZVM_POOL_SETLIGHTCOLOR,
        {m_controllerIndex, circuit->circuitId, circuit->colorSet, circuit->colorPosition, circuit->colorStagger});
    m_link.Send(*message);
}

void CBasinSetup::SendLightCommand(int command) {
    auto message = MakeRequest(m_variant, ZVM_POOL_LIGHTCOMMAND, {m_controllerIndex, command});
    m_link.Send(*message);
}

int CBasinSetup::CancelDelays() {
    auto request = MakeRequest(m_variant, ZVM_POOL_CANCELDELAYSQ, {m_controllerIndex});
    return AskAnswered(*request);
}

int CBasinSetup::EnableRemotes(int flag) {
    auto request = MakeRequest(m_variant, ZVM_POOL_SETREMOTESENABLEDQ, {m_controllerIndex, flag});
    return AskAnswered(*request);
}

int CBasinSetup::SetLightParamsWait(CPoolCircuit* circuit, uint8_t colorPosition) {
    if (!circuit) return 0;
    auto request =
        MakeRequest(m_variant, ZVM_POOL_SETLIGHTCOLOR,
                    {m_controllerIndex, circuit->circuitId, circuit->colorSet, colorPosition, circuit->colorStagger});
    if (!AskAnswered(*request)) return 0;
    circuit->colorPosition = colorPosition;
    return 1;
}

int CBasinSetup::WriteCircuit(CPoolCircuit* circuit) {
    if (!circuit) return 0;
    auto request = MakeRequest(m_variant, ZVM_POOL_SETCIRCUITCONFIGQ,
                               {m_controllerId, circuit->circuitId, circuit->nameIndex, circuit->function,
                                circuit->interface, circuit->flags, circuit->colorPosition});
    if (!AskAnswered(*request)) return 0;
    circuit->name = ResolveName(circuit->nameIndex);
    return 1;
}

int CBasinSetup::SetCustomName(int index, const std::string& text) {
    auto request = MakeRequest(m_variant, ZVM_POOL_SETCUSTOMNAMEQ, {m_controllerIndex, index});
    request->WriteString(text);
    if (!AskAnswered(*request)) return 0;
    if (index >= 0 && index < static_cast<int>(m_customNames.size())) m_customNames[static_cast<size_t>(index)] = text;
    ResolveCircuitNames();
    return 1;
}

// The model takes the corrected values only once the gateway has them.
int CBasinSetup::AdjustSensor(int sensor, int delta) {
    int32_t values[3] = {m_airTemp, m_bodies[0].temperature, m_bodies[1].temperature};
    if (sensor >= 0 && sensor < 3) values[sensor] += delta;
    auto request = MakeRequest(m_variant, ZVM_POOL_ADJUSTSENSORQ, {0, values[0], values[1], values[2]});
    if (!AskAnswered(*request)) return 0;
    m_airTemp = values[0];
    m_bodies[0].temperature = values[1];
    m_bodies[1].temperature = values[2];
    return 1;
}

int CBasinSetup::WriteConfigurationTables() {
    auto request = MakeRequest(m_variant, ZVM_POOL_SETEXTCONFIGQ, {m_controllerIndex});
    const int last = Gate(4, 0) ? 10 : 9;
    for (int table = 2; table <= last; ++table) {
        const auto& bytes = m_tables[static_cast<size_t>(table - 1)];
        const int count = static_cast<int>(bytes.size());
        if (count > kPoolTableMax) return 0;
        request->WriteInt(count);
        if (count > 0) request->WriteBytes(bytes.data(), count);
    }
    return AskAnswered(*request);
}

int CBasinSetup::SetTableByte(int table, int index, uint8_t value, int write) {
    auto& bytes = m_tables[static_cast<size_t>(table - 1)];
    if (index < 0 || index >= static_cast<int>(bytes.size())) return 0;
    bytes[static_cast<size_t>(index)] = value;
    if (table == 5) m_celsius = GetByteAt(bytes.data(), static_cast<int>(bytes.size()), 2) & 1;
    return write ? WriteConfigurationTables() : 1;
}

int CBasinSetup::SetTableByte1(int index, uint8_t value, int write) { return SetTableByte(2, index, value, write); }
int CBasinSetup::SetTableByte2(int index, uint8_t value, int write) { return SetTableByte(3, index, value, write); }
int CBasinSetup::SetTableByte3(int index, uint8_t value, int write) { return SetTableByte(4, index, value, write); }
int CBasinSetup::SetTableByte4(int index, uint8_t value, int write) { return SetTableByte(5, index, value, write); }
int CBasinSetup::SetTableByte5(int index, uint8_t value, int write) { return SetTableByte(6, index, value, write); }
int CBasinSetup::SetTableByte6(int index, uint8_t value, int write) { return SetTableByte(7, index, value, write); }
int CBasinSetup::SetTableByte7(int index, uint8_t value, int write) { return SetTableByte(8, index, value, write); }
int CBasinSetup::SetTableByte8(int index, uint8_t value, int write) { return SetTableByte(9, index, value, write); }
int CBasinSetup::SetTableByte9(int index, uint8_t value, int write) { return SetTableByte(10, index, value, write); }

uint8_t GetByteAt(const uint8_t* table, int count, int index) {
    if (!table || index < 0 || index >= count) return 0;
    return table[index];
}

int CBasinSetup::IsCircuitAllowed(const CPoolCircuit* circuit) const {
    constexpr int kDontShow = 5;
    if (!circuit) return 0;
    if (circuit->interface != kDontShow) return 1;
    const int i = circuit->recordIndex;
    const int t = m_controllerType;
    if (i < 10) {
        switch (t) {
        case 0:
        case 3: return i <= 5;
        case 1: return i <= 7;
        case 2:
        case 4:
        case 5:
        case 6: return 1;
        case 13:
        case 14: return i <= 8;
        default: break;
        }
    } else if (i >= 40 && i < 50) {
        if (t >= 0 && t <= 6) return 1;
        if (t == 13 || t == 14) return 0;
    }
    const int units = m_expansion >> 6;
    if (i >= 10 * units + 10) return 0;
    const int group = (i - 10) / 10;
    const int place = (i - 10) - 10 * group;
    return place >= 5 ? HasCircuitGroup(group) : 1;
}

int CBasinSetup::HasCircuitGroup(int group) const {
    int named = 0;
    for (int device = 10 * group + 11; device <= 10 * group + 20; ++device) {
        const bool found = std::any_of(m_circuits.begin(), m_circuits.end(), [&](const auto& c) {
            return c->deviceId == device && c->nameIndex != 0 && c->nameIndex != 255;
        });
        named += found ? 1 : 0;
    }
    return named == 10;
}
