#include "sentinax/discoveryclient.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/msgreader.h"
#include "core/zvlogin.h"
#include "core/zvmsg.h"
#include "core/zvsock.h"
#include "platform/program.h"
#include "platform/settings.h"
#include "platform/socket.h"
#include "sentinax/hostlookup.h"

namespace {

CDiscoveryConfig g_config;

// Only this much of the override file counts.
constexpr size_t kOverrideBytes = 31;
// How long the wait for an answer sleeps between looks.
constexpr uint32_t kAnswerPollMs = 50;
// The smallest entry of a batch answer: six empty strings, five shorts and
// thirteen bytes.
constexpr int32_t kBatchEntryBytes = 6 * 4 + 5 * 2 + 13;
constexpr int32_t kBatchRequestVersion = 3;

std::string Printf(const char* format, const std::string& a, const std::string& b) {
    char line[512];
    std::snprintf(line, sizeof line, format, a.c_str(), b.c_str());
    return line;
}

std::string Unrecognized(uint16_t id) {
    char line[64];
    std::snprintf(line, sizeof line, "%s (%d)", "Unrecognized response", id);
    return line;
}

CMsgReader& SkipBytes(CMsgReader& in, int count) {
    uint8_t skipped = 0;
    for (int i = 0; i < count; ++i) in.Byte(skipped);
    return in;
}

}  // namespace

const CDiscoveryConfig& GetDiscoveryConfig() { return g_config; }
void SetDiscoveryConfig(const CDiscoveryConfig& config) { g_config = config; }

void LoadDiscoveryConfig() {
    CDiscoveryConfig config = g_config;
    std::string text;
    if (platform::ReadSettingString("Discovery", "Host", text) && !text.empty()) config.host = text;
    if (platform::ReadSettingString("Discovery", "Address", text) && IsDottedQuad(text)) config.fallbackAddress = text;
    int32_t port = 0;
    if (platform::ReadSettingInt("Discovery", "Port", port) && port > 0 && port <= 0xFFFF)
        config.port = static_cast<uint16_t>(port);
    g_config = config;
}

// --- CServerAddress ---

CServerAddress::CServerAddress() {
    if (ReadOverrideFile(m_addressText, m_port)) {
        m_resolved = 1;
        return;
    }
    m_hostName = g_config.host;
    uint32_t address = 0;
    if (!LookUpHost(m_hostName, &address)) return;
    m_addressText = FormatDottedQuad(address);
    m_port = g_config.port;
    m_resolved = 1;
}

bool CServerAddress::ReadOverrideFile(std::string& host, uint16_t& port) {
    const std::string path = platform::GetProgramFilePath(kOverrideFileName);
    if (path.empty()) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char bytes[kOverrideBytes + 1] = {};
    std::fread(bytes, 1, kOverrideBytes, file);
    std::fclose(file);
    const std::string text(bytes);  // up to the first zero byte
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    const long value = std::strtol(text.c_str() + colon + 1, nullptr, 10);
    if (value <= 0 || value > 0xFFFF) return false;
    host = text.substr(0, colon);
    port = static_cast<uint16_t>(value);
    return true;
}

bool GetDiscoveryServer(std::string& host, uint16_t& port) {
    const CServerAddress server;
    if (server.IsResolved()) {
        host = server.GetHost();
        port = server.GetPort();
    } else {
        host = g_config.fallbackAddress;
        port = g_config.port;
    }
    return true;
}

// --- CDiscoveryClient ---

CDiscoveryClient::CDiscoveryClient(const uint8_t address[4], uint16_t servicePort, CStatusSink* status)
    : m_socket(std::make_unique<CSocketZV>(address, servicePort, kSilenceLimit, status)) {
    m_connected = m_socket->IsOk();
    if (!m_connected) m_errorText = Printf("%s. %s\n", "Cannot connect to Discovery Service", m_socket->GetError());
}

CDiscoveryClient::~CDiscoveryClient() { m_socket->Close(); }

std::unique_ptr<CZVMSG> CDiscoveryClient::Exchange(CZVMSG& request, CStatusSink* status) {
    if (!m_socket->IsConnected()) {
        m_errorText = Printf("%s. %s", "Not connected to Discovery Service", m_socket->GetError());
        return nullptr;
    }
    if (!m_socket->Send(request.GetTotalSize(), request.GetBuffer())) {
        m_errorText = Printf("%s. %s", "Send failed", m_socket->GetError());
        return nullptr;
    }
    // A service that keeps trickling bytes never goes silent; the wait ends
    // after the silence limit all the same.
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        if (m_socket->Receive()) {
            const std::span<uint8_t> frame = m_socket->GetMessage();
            return CZVMSG(frame, ZVVariant::Monitor).Clone();
        }
        if (!m_socket->IsConnected() || ElapsedTicks(start) > static_cast<uint32_t>(kSilenceLimit) ||
            !ZVContinue(status)) {
            m_socket->Close();
            m_errorText = "Communication to Discovery Service failed";
            return nullptr;
        }
        m_socket->WaitForData(kAnswerPollMs);
    }
}

int CDiscoveryClient::Ask(CZVMSG& request, uint16_t answerId, CStatusSink* status,
                          const std::function<int(CZVMSG&)>& read) {
    std::unique_ptr<CZVMSG> answer = Exchange(request, status);
    if (!answer) return 0;
    if (answer->GetId() == answerId) return read(*answer);
    if (answer->GetId() == ZVM_DISCOVERY_ERROR) {
        m_errorText.clear();
        answer->ReadString(m_errorText);
    } else {
        m_errorText = Unrecognized(answer->GetId());
    }
    return 0;
}

int CDiscoveryClient::ReadLookupAnswer(CZVMSG& answer) {
    uint8_t found = 0;
    if (!answer.ReadByte(found)) {
        m_errorText = Unrecognized(answer.GetId());
        return 0;
    }
    if (!found) {
        m_errorText = "Gateway not found";
        return 0;
    }
    uint8_t second = 0, open = 0, relay = 0;
    std::string text;
    uint16_t publicPort = 0;
    if (!CMsgReader(answer).Byte(second).String(text).Short(publicPort).Byte(open).Byte(relay)) {
        m_errorText = Unrecognized(answer.GetId());
        return 0;
    }
    // Older services end here; their answers carry no time stamp.
    int32_t stamped = 0;
    uint16_t year = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0, secondOfMinute = 0;
    if (answer.ReadInt(stamped) &&
        !CMsgReader(answer).Short(year).Byte(month).Byte(day).Byte(hour).Byte(minute).Byte(secondOfMinute))
        year = month = day = hour = minute = secondOfMinute = 0;
    addressText = text;
    port = publicPort;
    publicPortOpen = open;
    relayMode = relay;
    recordTime.Set(year, month, 0, day, hour, minute, secondOfMinute, 0);
    return 1;
}

int CDiscoveryClient::ReadLookupManyAnswer(CZVMSG& answer, size_t sent, std::vector<LookupResult>& results) {
    results.clear();
    int32_t unused = 0, count = 0;
    if (!CMsgReader(answer).Int(unused).Int(count)) {
        m_errorText = Unrecognized(answer.GetId());
        return 0;
    }
    // The answer may not fill more entries than systems were asked for.
    const int32_t wanted = static_cast<int32_t>(std::min<int64_t>(std::max(count, 0), static_cast<int64_t>(sent)));
    const int whole = ReadRecords(answer, wanted, kBatchEntryBytes, [&](int32_t) {
        LookupResult entry;
        std::string skippedText;
        uint16_t skippedShort = 0;
        uint8_t posting = 0;
        CMsgReader in(answer);
        in.String(skippedText).String(entry.name).String(skippedText).Short(skippedShort);
        in.String(skippedText).Short(skippedShort).String(skippedText);
        SkipBytes(in, 2).String(entry.address).Short(entry.port).Short(skippedShort);
        SkipBytes(in, 5).Byte(posting).Short(skippedShort);
        if (!SkipBytes(in, 5)) return false;
        entry.posting = posting;
        results.push_back(std::move(entry));
        return true;
    });
    if (!whole) {
        results.clear();
        m_errorText = Unrecognized(answer.GetId());
    }
    return whole;
}

int CDiscoveryClient::Lookup(const std::string& systemName, const std::string& requester, CStatusSink* status) {
    CZVMSG request(0, ZVM_DISCOVERY_LOOKUPQ, 0, 1, ZVVariant::Monitor);
    request.WriteString(systemName);
    request.WriteString(requester);
    return Ask(request, ZVM_DISCOVERY_LOOKUPA, status, [this](CZVMSG& answer) { return ReadLookupAnswer(answer); });
}

int CDiscoveryClient::LookupMany(const std::vector<std::string>& adapterNames, std::vector<LookupResult>& results,
                                 CStatusSink* status) {
    results.clear();
    ZVStatus(status, "Sending GATEWAY remote connections request...");
    CZVMSG request(0, ZVM_DISCOVERY_LOOKUPMANYQ, 0, 1, ZVVariant::Monitor);
    bool built = request.WriteInt(kBatchRequestVersion) && request.WriteInt(static_cast<int32_t>(adapterNames.size()));
    for (const std::string& name : adapterNames) built = built && request.WriteString(name);
    if (!built) {
        m_errorText = Printf("%s. %s", "Send failed", "Too many systems");
        return 0;
    }
    return Ask(request, ZVM_DISCOVERY_LOOKUPMANYA, status,
               [&](CZVMSG& answer) { return ReadLookupManyAnswer(answer, adapterNames.size(), results); });
}

int CDiscoveryClient::RequestRemoteConnection(const std::string& systemName, const std::string& requester,
                                              CStatusSink* status) {
    ZVStatus(status, "Sending GATEWAY remote connection request...");
    if (!Lookup(systemName, requester, status)) {
        ZVStatus(status, "ERROR: " + m_errorText);
        return 0;
    }
    ZVStatus(status, "Remote connection authorized.");
    ZVStatus(status, "Found system at " + addressText + ":" + std::to_string(port) + ".");
    if (!publicPortOpen) ZVStatus(status, "Public port closed.");
    if (relayMode) ZVStatus(status, "Relay mode is ON.");
    return 1;
}
