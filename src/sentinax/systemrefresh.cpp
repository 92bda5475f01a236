// The refresh of one customer system: connect, log in, make sure it is the
// right system, read versions, pool configuration and status, chlorinator and
// error lists, rebuild the alarms and end with a status code.
#include "sentinax/systemrefresh.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <memory>

#include "core/basinsetup.h"
#include "core/messages/monitormessages.h"
#include "core/msgreader.h"
#include "core/serverlink.h"
#include "core/zvserver.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "sentinax/alarmmail.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/gatewayconnection.h"
#include "sentinax/pollthread.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"

namespace {

// A refresh whose gate said no tries again after this at the least, or when
// the pacing lets the next start through, but never waits longer than the
// poll thread's own pause at a time: a stop is seen as soon as there.
constexpr uint32_t kRetryPauseMs = 100;
constexpr uint32_t kLongestRetryPauseMs = CPollThread::kPollPauseMs;
// After a "Discovery System Mismatch" the system is due again this soon...
constexpr uint32_t kMismatchRetryMs = 5000;
// ...for this many failures in a row.
constexpr int32_t kMismatchRetries = 2;
// A freeze alarm is held this long after freeze protection was last seen starting.
constexpr uint32_t kFreezeHoldMs = 7200000;
constexpr int32_t kSaltAlarmPpm = 4200;
constexpr int32_t kSaltUnit = 50;
constexpr int kPumpSlots = 8;
constexpr uint32_t kFirstPumpFlag = 0x10;
constexpr int kChlorinatorModelFirst = 6;
constexpr int kChlorinatorModelLength = 16;
// The pool configuration's byte table 10, as the model numbers its tables.
constexpr int kChlorinatorTable = 11;
constexpr int32_t kAlarmLowFlow = 7;
constexpr int32_t kAlarmHighSalt = 10;
// An error list entry takes four bytes at least (a flag, or an empty text).
constexpr int32_t kMinEntryBytes = 4;

bool StopRequested(const CRefreshContext& context) { return context.stop && context.stop->load(); }

std::unique_ptr<CZVMSG> Ask(CGatewayLink& link, uint16_t id, std::initializer_list<int32_t> values) {
    CZVMSG request(0, id, 0, 1, ZVVariant::Monitor);
    for (int32_t value : values) request.WriteInt(value);
    return link.Ask(request, kDefaultQueryTimeout);
}

// Digits up to the first other character, after leading blanks, kept within 16 bits.
uint16_t ReadNumber(const std::string& text, size_t at) {
    while (at < text.size() && text[at] == ' ') ++at;
    uint32_t value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        value = std::min<uint32_t>(value * 10 + static_cast<uint32_t>(text[at] - '0'), 0xFFFF);
    return static_cast<uint16_t>(value);
}

// Major version and build from an upper-case version text: "5.2 BUILD 738"
// or "4.2.520". False for any other form.
bool ParseVersion(const std::string& text, uint16_t& major, uint16_t& build) {
    const size_t at = text.find("BUILD");
    if (at != std::string::npos) {
        size_t start = at >= 2 ? at - 2 : 0;
        while (start > 0 && text[start] != ' ') --start;
        major = ReadNumber(text, start);
        build = ReadNumber(text, at + 6);
        return true;
    }
    const size_t first = text.find('.');
    const size_t second = first == std::string::npos ? first : text.find('.', first + 1);
    if (second == std::string::npos) return false;
    major = ReadNumber(text, 0);
    build = ReadNumber(text, second + 1);
    return true;
}

// Reads a list of count entries {i32 flag, a string when the flag is set},
// calling onFlag(index) for each set flag. False when the list is cut short.
template <typename OnFlag>
bool ReadFlagList(CZVMSG& answer, int64_t count, OnFlag&& onFlag) {
    if (count < 0 || count > answer.GetRemaining() / kMinEntryBytes) return false;
    for (int64_t k = 0; k < count; ++k) {
        int32_t flag = 0;
        std::string dropped;
        if (!answer.ReadInt(flag) || (flag && !answer.ReadString(dropped))) return false;
        if (flag) onFlag(static_cast<int32_t>(k));
    }
    return true;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The model text of a present chlorinator, from bytes 6 to 21 of byte table 10.
std::string ChlorinatorModelText(const CBasinSetup& model) {
    std::string text;
    for (int i = kChlorinatorModelFirst; i < kChlorinatorModelFirst + kChlorinatorModelLength; ++i) {
        const uint8_t byte = GetByteAt(model.GetTable(kChlorinatorTable), model.GetTableCount(kChlorinatorTable), i);
        if (byte == 0) break;
        text.push_back(static_cast<char>(byte));
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    const std::string key = Lower(text);
    if (key == "marivo--20") return "Marivo MV20";
    if (key == "marivo--40") return "Marivo MV40";
    if (key == "marivo--60") return "Marivo MV60";
    return text.empty() ? "Marivo" : text;
}

const char* ModelText(int type, int expansion) {
    static const char* const kCorvanta[] = {"Corvanta m5",    "Corvanta m7+3",   "Corvanta m9+3", "Corvanta m5S",
                                            "Corvanta m9+3S", "Corvanta m10+3D", "Corvanta m10X", "Corvanta m5X"};
    static const char* const kOrlenza[] = {"Orlenza Single Body", "Orlenza Pool/Spa", "Orlenza Solar", "Orlenza Solar"};
    static const char* const kBrisela2[] = {"Brisela2 8-circuit", "Brisela2 8P", "Brisela2 4-circuit", "Brisela2 4P",
                                            "Brisela2",           "Brisela2",    "Brisela R4S",        "Brisela R4"};
    static const char* const kBrisela1[] = {"Brisela1 8-circuit", "Brisela1 8P", "Brisela1 4-circuit", "Brisela1 4P"};
    if (type >= 0 && type <= 7) return kCorvanta[type];
    switch (type) {
    case 10: return kOrlenza[expansion & 3];
    case 11: return "Orlenza";
    case 13: return kBrisela2[expansion & 7];
    case 14: return kBrisela1[expansion & 3];
    default: return "Unknown";
    }
}

}  // namespace

void CSystem::SetModelName(int controllerType, int expansion) {
    auto lock = Lock();
    modelName = ModelText(controllerType, expansion);
}

CLightsCount CountLights(const std::vector<const CPoolCircuit*>& circuits) {
    CLightsCount lights;
    for (const CPoolCircuit* circuit : circuits) {
        if (circuit->interface != kShowWithPositionedLights && circuit->interface != kShowWithLights) continue;
        ++lights.total;
        if (circuit->state != 0) ++lights.on;
    }
    return lights;
}

bool ReadOldErrorEntries(CZVMSG& answer, int major, const std::function<void(int32_t)>& onFlag) {
    int32_t count = 0;
    if (!answer.ReadInt(count) || count < 0 || count > answer.GetRemaining() / kMinEntryBytes) return false;
    for (int32_t k = 0; k < count; ++k) {
        int32_t flag = 1;
        if (major >= 4 && !answer.ReadInt(flag)) return false;
        std::string dropped;
        if (!(major >= 5 && flag == 0) && !answer.ReadString(dropped)) return false;
        if (flag) onFlag(k);
    }
    return true;
}

// --- Update ---

void CSystem::Update(const CRefreshContext& context) {
    {
        auto lock = Lock();
        status = kStatusWorking;
        statusChanged = 1;
    }
    const std::vector<CSystemError> snapshot = CopyAlarms();
    CStopStatus progress(context.stop);
    // One server for every attempt: a gate that says no leaves it unused.
    CZVServer server(ZVVariant::Monitor);
    int result = Refresh(server, context, progress);
    while (result == kStatusRetry) {
        if (StopRequested(context)) {
            result = kStatusNotConnected;
            break;
        }
        platform::Sleep(std::clamp(context.gates->TimeToNextConnectStart(), kRetryPauseMs, kLongestRetryPauseMs));
        result = Refresh(server, context, progress);
    }
    bool mail = false;
    {
        auto lock = Lock();
        if (IsConnectedStatus(result)) {
            neverConnected = 0;
            mail = alarms != snapshot && !firstPoll;
            firstPoll = 0;
            failureCount = 0;
        } else {
            ++failureCount;
        }
        status = result;
    }
    if (mail && context.mailQueue && context.columns) SendAlarmNotifications(*context.mailQueue, *context.columns);
    AppendHistory();
    auto lock = Lock();
    statusText = "Not Connected";
    statusChanged = 1;
    const uint32_t interval = GetRefreshInterval();
    if (result == kStatusSystemMismatch && failureCount <= kMismatchRetries) {
        lookupRequested = 1;
        const uint32_t now = platform::GetTickCount();
        lastRefreshTick = interval > kMismatchRetryMs ? now - (interval - kMismatchRetryMs) : now;
    } else {
        lastRefreshTick = platform::GetTickCount();
        refreshRequested = 0;
        lookupRequested = 0;
    }
}

// --- One attempt ---

int CSystem::Refresh(const CRefreshContext& context, CStatusSink& status) {
    CZVServer server(ZVVariant::Monitor);
    return Refresh(server, context, status);
}

int CSystem::Refresh(CZVServer& server, const CRefreshContext& context, CStatusSink& status) {
    int32_t major = 0;
    {
        auto lock = Lock();
        major = majorVersion;
    }
    bool connected = false;
    if (major != 4) {
        connected = Connect(server, context, status);
        auto lock = Lock();
        if (!connected && slotBusy) return kStatusRetry;
        if (!connected && loginRejected) return kStatusLoginRefused;
    }
    if (!connected) {
        std::string name, secret;
        {
            auto lock = Lock();
            name = adapterName;
            secret = password;
        }
        if (!server.ConnectRemote(name, secret, &status, -1)) {
            auto lock = Lock();
            if (server.GetLoginRefused()) return kStatusLoginRefused;
            if (server.GetRelayFailed() && connectStatus != kStatusRelayNotFound &&
                connectStatus != kStatusCannotConnect && connectStatus != kStatusLoginFailed)
                connectStatus = kStatusNotPosting;
            majorVersion = 0;
            cachedAddress.clear();
            return connectStatus ? connectStatus : kStatusNotConnected;
        }
    }
    {
        auto lock = Lock();
        connectStatus = 0;
    }
    // The stop flag cancels every wait of the reading too.
    CServerLink link(server, 0, &status);
    return CSystemReading(*this).Read(link);
}

bool CSystem::Connect(CZVServer& server, const CRefreshContext& context, CStatusSink& status) {
    std::string address, name, secret;
    uint16_t port = 0;
    {
        auto lock = Lock();
        slotBusy = 0;
        loginRejected = 0;
        address = cachedAddress;
        port = cachedPort;
        name = adapterName;
        secret = password;
    }
    CConnectGates& gates = *context.gates;
    if (address.empty()) {
        {
            auto lock = Lock();
            if (!lookupRequested) return false;
        }
        if (!gates.TryTakeConnectSlot()) {
            auto lock = Lock();
            slotBusy = 1;
            return false;
        }
        // Cleared only now: a retry after a busy slot still makes the lookup
        // it waited for.
        {
            auto lock = Lock();
            lookupRequested = 0;
        }
        std::string host;
        uint16_t servicePort = 0;
        GetDiscoveryServer(host, servicePort);
        uint8_t bytes[4] = {};
        if (!IsDottedQuad(host) || !ParseDiscoveryText(host, "", &bytes[0], &bytes[1], &bytes[2], &bytes[3], nullptr)) {
            gates.ReleaseConnectSlot();
            return false;
        }
        CDiscoveryClient client(bytes, servicePort, &status);
        const int found = client.RequestRemoteConnection(name, kRequesterName, &status);
        gates.ReleaseConnectSlot();
        auto lock = Lock();
        if (!found) {
            cachedAddress.clear();
            connectStatus = kStatusNotPosting;
            return false;
        }
        cachedAddress = address = client.GetAddressText();
        cachedPort = port = client.port;
        if (!client.publicPortOpen) {
            connectStatus = kStatusRelayNotFound;
            return false;
        }
    }
    if (!gates.PaceConnect()) {
        auto lock = Lock();
        slotBusy = 1;
        return false;
    }
    CGatewayConnection connection(kRequesterName, address, port, &status);
    if (!connection.LoginSequence(name, secret, 0, &status)) {
        const std::string error = connection.GetError();
        connection.Close(1);
        auto lock = Lock();
        if (error == kLoginRejectedText) {
            loginRejected = 1;
        } else if (error == kGatewaySilentText) {
            connectStatus = kStatusLoginFailed;
        } else {
            connectStatus = kStatusCannotConnect;
            cachedAddress.clear();
        }
        return false;
    }
    {
        auto lock = Lock();
        connectStatus = 0;
    }
    return server.GetSocket()->Attach(connection.TakeHandle()) != 0;
}

// --- Reading the gateway ---

int CSystemReading::ReadVersion(CGatewayLink& link, uint16_t& major, uint16_t& build) {
    std::string version = "Error";
    if (std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_SYSCONFIG_GETVERSIONQ, {})) {
        std::string text;
        if (answer->ReadString(text)) version = text;
    }
    // "5.2 Build 738.0 Rel" is shown as "5.2 Build 738".
    const size_t dot = version.rfind('.');
    if (dot != std::string::npos && dot >= 1) version.resize(dot);
    std::string upper = version;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    {
        auto lock = m_system.Lock();
        m_system.adapterVersion = version;
    }
    m_system.SetStatusText(upper);
    if (!ParseVersion(upper, major, build)) return 0;
    if (major >= 4) {
        auto lock = m_system.Lock();
        m_system.majorVersion = major;
    }
    return 1;
}

int CSystemReading::Read(CGatewayLink& link) {
    std::string reported;
    if (std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_SYSCONFIG_GETSYSTEMINFOQ, {})) {
        int32_t first = 0, second = 0, north = 0, west = 0;
        std::string text, zipText;
        CMsgReader reader(*answer);
        if (reader.Int(first).Int(second).String(text)) reported = text;
        if (reader.String(zipText).Int(north).Int(west)) {
            auto lock = m_system.Lock();
            m_system.locationKnown = 1;
            m_system.latitude = north;
            m_system.longitude = west;
        }
    }
    {
        auto lock = m_system.Lock();
        if (reported != m_system.adapterName) {
            m_system.cachedAddress.clear();
            return kStatusSystemMismatch;
        }
    }
    uint16_t major = 0, build = 0;
    if (!ReadVersion(link, major, build)) return kStatusNotConnected;

    m_system.SetStatusText("Getting Pool Config...");
    CBasinSetup model(link, ZVVariant::Monitor, 0, major, build);
    if (!model.IsLoaded()) return kStatusNoConfiguration;
    m_system.SetModelName(model.GetControllerType(), model.GetExpansionByte());
    char firmware[32];
    std::snprintf(firmware, sizeof firmware, "%.3f", model.GetFirmwareVersion() / 1000.0);
    {
        auto lock = m_system.Lock();
        m_system.firmwareVersion = firmware;
    }

    m_system.SetStatusText("Getting Pool Status...");
    std::unique_ptr<CZVMSG> poolStatus = Ask(link, ZVM_POOL_GETSTATUSQ, {0});
    if (!poolStatus) return kStatusNoStatus;
    model.ReadStatus(*poolStatus);
    TakeStatus(model);
    m_system.ClearAlarms();
    if (!ReadChlorinator(model, link)) return kStatusNoChlorinator;
    const bool newLayout = major >= 5;
    if (newLayout ? !ReadErrorLists(link, major) : !(ReadErrorListOld(link, major) && ReadPumpErrors(link, major)))
        return kStatusNoWarnings;
    if (model.IsSynchronizing()) return kStatusSynchronizing;
    return model.IsServiceMode() ? kStatusServiceMode : kStatusConnected;
}

void CSystemReading::TakeStatus(const CBasinSetup& model) {
    auto lock = m_system.Lock();
    CSystemRecord& r = m_system;
    int32_t* chemistry[] = {&r.phValue,         &r.orpValue,      &r.saturationIndex,
                            &r.chemistryValue4, &r.acidTankLevel, &r.chlorineTankLevel};
    for (int i = 0; i < 6; ++i) *chemistry[i] = model.GetChemistry(i);
    m_system.airTemperature = model.GetAirTemp();
    m_system.equipmentFlags = model.GetEquipmentFlags();
    struct BodyFields {
        int32_t* setPoint;
        int32_t* temperature;
        int32_t* heatMode;
        int32_t* heatStatus;
        std::string* heatModeText;
    };
    const BodyFields bodies[] = {
        {&r.poolSetPoint, &r.poolTemperature, &r.poolHeatMode, &r.poolHeatStatus, &r.poolHeatModeText},
        {&r.spaSetPoint, &r.spaTemperature, &r.spaHeatMode, &r.spaHeatStatus, &r.spaHeatModeText},
    };
    for (int i = 0; i < 2; ++i) {
        const CPoolBody* body = model.GetBody(i);
        const BodyFields& fields = bodies[i];
        *fields.setPoint = body->setPoint & 0xFF;
        *fields.temperature = body->temperature & 0xFF;
        *fields.heatMode = body->heatMode & 0xFF;
        *fields.heatStatus = body->heatStatus & 0xFF;
        *fields.heatModeText = model.GetHeatModeText(*fields.heatMode);
    }
    m_system.spaSideRemote = model.GetRemotesEnabled();
    if (const CPoolCircuit* pool = model.FindCircuitByFunction(2)) m_system.poolPump = pool->state;
    if (const CPoolCircuit* spa = model.FindCircuitByFunction(1)) m_system.spaPump = spa->state;
    std::vector<const CPoolCircuit*> circuits;
    for (int i = 0; i < model.GetCircuitCount(); ++i) circuits.push_back(model.GetCircuit(i));
    const CLightsCount lights = CountLights(circuits);
    m_system.lightsTotal = lights.total;
    m_system.lightsOn = lights.on;
}

bool CSystemReading::ReadChlorinator(const CBasinSetup& model, CGatewayLink& link) {
    m_system.SetStatusText("Getting Chlorinator Data...");
    std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_POOL_GETCHLORINATORQ, {0});
    if (!answer) return false;
    int32_t present = 0, flags = 0, poolOutput = 0, salt = 0, errors = 0;
    CMsgReader in(*answer);
    in.Int(present).Int(flags).Int(poolOutput);
    int32_t spaOutput = poolOutput;
    if (model.IsVersionAtLeast(4, 396)) in.Int(spaOutput);
    if (!in.Int(salt).Int(errors)) return false;
    int32_t pumpRunning = 0;
    {
        auto lock = m_system.Lock();
        m_system.chlorinatorPresent = present;
        m_system.chlorinatorStatus = flags;
        m_system.poolChlorineOutput = poolOutput;
        m_system.spaChlorineOutput = spaOutput;
        m_system.saltLevel = salt;
        m_system.chlorinatorErrors = errors;
        pumpRunning = IsPumpRunning(m_system.poolPump) || IsPumpRunning(m_system.spaPump);
    }
    // Freeze protection is about the air: its alarm stands on every system.
    const bool freeze = model.GetFreezeFlag() != 0;
    HoldFreezeAlarm(freeze);
    if (present) {
        const int errorBits = model.IsVersionAtLeast(5, 0) ? 7 : 6;
        for (int bit = 0; bit < errorBits; ++bit) {
            if ((errors >> bit & 1) && !(bit == 0 && freeze)) m_system.AddAlarm(kAlarmChlorinator, bit);
        }
        if (!(flags & 1) && pumpRunning) m_system.AddAlarm(kAlarmChlorinator, kAlarmLowFlow);
        if (int64_t{salt} * kSaltUnit >= kSaltAlarmPpm) m_system.AddAlarm(kAlarmChlorinator, kAlarmHighSalt);
    }
    std::string modelText;
    if (present && model.IsVersionAtLeast(4, 520)) modelText = ChlorinatorModelText(model);
    auto lock = m_system.Lock();
    if (model.IsVersionAtLeast(4, 520) || !present) m_system.chlorinatorModel = modelText;
    return true;
}

// Freeze protection seen now raises the freeze alarm; once it is gone the
// alarm is held for two hours after it was first seen.
void CSystemReading::HoldFreezeAlarm(bool freezeNow) {
    bool raise = false;
    {
        auto lock = m_system.Lock();
        if (freezeNow) {
            if (!m_system.freezeActive) {
                m_system.freezeStartTick = platform::GetTickCount();
                m_system.freezeActive = 1;
            }
            raise = true;
        } else if (m_system.freezeActive) {
            raise = platform::TicksSince(m_system.freezeStartTick) < kFreezeHoldMs;
            if (!raise) m_system.freezeActive = 0;
        }
    }
    if (raise) m_system.AddAlarm(kAlarmFreeze, 0);
}

bool CSystemReading::ReadErrorLists(CGatewayLink& link, int major) {
    if (major < 5) return false;
    m_system.SetStatusText("Getting System Errors...");
    std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_POOL_GETERRORSQ, {0});
    if (!answer) return false;
    CZVMSG& in = *answer;
    int32_t count = 0, pumps = 0, perPump = 0;
    if (!in.ReadInt(count) || !ReadFlagList(in, count, [&](int32_t k) { m_system.AddAlarm(kAlarmSystem, k); }))
        return false;
    // Every entry takes four bytes at least, so the table cannot announce
    // more than the answer holds.
    if (!in.ReadInt(pumps) || !in.ReadInt(perPump) || pumps < 0 || perPump < 0 ||
        int64_t{pumps} * perPump > in.GetRemaining() / kMinEntryBytes)
        return false;
    for (int32_t pump = 0; perPump > 0 && pump < pumps; ++pump) {
        if (!ReadFlagList(in, perPump, [&](int32_t k) { m_system.AddAlarm(kAlarmFirstPump + pump, k); })) return false;
    }
    if (!in.ReadInt(count) || !ReadFlagList(in, count, [](int32_t) {})) return false;
    if (!in.ReadInt(count) || !ReadFlagList(in, count, [&](int32_t k) { m_system.AddAlarm(kAlarmChemistry, k); }))
        return false;
    return in.ReadInt(count) && ReadFlagList(in, count, [&](int32_t k) { m_system.AddAlarm(kAlarmHeatPump, k); });
}

bool CSystemReading::ReadErrorListOld(CGatewayLink& link, int major) {
    m_system.SetStatusText("Getting System Errors...");
    std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_POOL_GETERRORSQ, {0});
    if (!answer) return false;
    return ReadOldErrorEntries(*answer, major, [this](int32_t k) { m_system.AddAlarm(kAlarmSystem, k); });
}

bool CSystemReading::ReadPumpErrors(CGatewayLink& link, int major) {
    if (major != 4 && major != 5) return false;
    uint32_t flags = 0;
    {
        auto lock = m_system.Lock();
        flags = m_system.equipmentFlags;
    }
    for (int pump = 0; pump < kPumpSlots; ++pump) {
        if (!(flags & (kFirstPumpFlag << pump))) continue;
        m_system.SetStatusText("Getting Pump Errors: Vortana #" + std::to_string(pump + 1) + ":");
        std::unique_ptr<CZVMSG> answer = Ask(link, ZVM_POOL_GETPUMPQ, {0, pump});
        if (!answer) return false;
        int32_t values[6] = {};
        CMsgReader in(*answer);
        int32_t leading = 0;
        if (major == 5) in.Int(leading);
        for (int32_t& value : values) in.Int(value);
        if (!in) return false;
        const int32_t bits = values[3];
        for (int bit = 1; bit <= 9; ++bit) {
            if (bits >> bit & 1) m_system.AddAlarm(kAlarmFirstPump + pump, bit - 1);
        }
        if (bits & 0x8000) m_system.AddAlarm(kAlarmFirstPump + pump, 9);
    }
    return true;
}
