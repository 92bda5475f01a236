#include "sentinax/gatewayconnection.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "core/zvcode.h"
#include "core/zvlogin.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "core/zvsock.h"
#include "platform/socket.h"
#include "sentinax/hostlookup.h"
#include "sentinax/wsaerror.h"

namespace {

constexpr char kOpening[] = "CONNECTSERVERHOST\r\n\r\n";
constexpr int32_t kLoginRevision = 348;
constexpr int32_t kResponseSize = 16;
constexpr int32_t kLoginTrailer = 2;
// Room the login request reserves at first.
constexpr int32_t kLoginRoom = 256;

std::string Join(const char* what, const std::string& detail, bool newline) {
    return std::string(what) + ". " + detail + (newline ? "\n" : "");
}

}  // namespace

CGatewayConnection::CGatewayConnection(const std::string& relayName, const std::string& addressText, uint16_t port,
                                       CStatusSink* status)
    : m_status(status) {
    if (!ConnectDirect(addressText, port, status)) {
        ZVStatus(status, "Direct connection failed.");
        if (!ConnectRelay(relayName, port, status)) {
            m_errorText = Join("Cannot connect", m_socket ? m_socket->GetError() : m_errorText, true);
            return;
        }
    }
    SendOpening();
}

CGatewayConnection::CGatewayConnection(std::unique_ptr<CSocketZV> socket, CStatusSink* status)
    : m_socket(std::move(socket)), m_status(status) {
    SendOpening();
}

void CGatewayConnection::SendOpening() {
    // A connection that cannot take the opening text is no connection.
    if (!m_socket->Send(static_cast<int32_t>(sizeof kOpening - 1), kOpening)) {
        m_errorText = Join("Cannot connect", m_socket->GetError(), true);
        return;
    }
    m_connected = 1;
}

CGatewayConnection::~CGatewayConnection() = default;

void CGatewayConnection::SocketError(const char* what) {
    m_errorText = Join(what, m_socket ? m_socket->GetError() : std::string(), false);
}

int CGatewayConnection::ConnectDirect(const std::string& addressText, uint16_t port, CStatusSink* status) {
    ZVStatus(status, "Connecting to System at " + addressText + ":" + std::to_string(port) + "...");
    Close(1);
    m_socket = std::make_unique<CSocketZV>(addressText, port, kSilenceLimit, status);
    if (m_socket->IsOk()) return 1;
    m_errorText = Join("Cannot connect", m_socket->GetError(), true);
    return 0;
}

std::string CGatewayConnection::RelayRequest(const std::string& name, uint16_t port) {
    std::string request(kRelayRequestSize, '\0');
    name.copy(request.data(), std::min(name.size(), kRelayNameSize - 1));
    request[kRelayNameSize] = static_cast<char>(port & 0xFF);
    request[kRelayNameSize + 1] = static_cast<char>(port >> 8);
    return request;
}

int CGatewayConnection::ConnectRelay(const std::string& name, uint16_t port, CStatusSink* status) {
    const ZVNetConfig& config = GetNetConfig();
    uint32_t address = 0;
    if (!LookUpHost(config.serviceHost, &address)) {
        m_errorText = WsaErrorText(kWsaHostNotFound);
        return 0;
    }
    uint8_t bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    char line[96];
    std::snprintf(line, sizeof line, "Connecting to Relay Server at %d.%d.%d.%d:%d...", bytes[0], bytes[1], bytes[2],
                  bytes[3], config.relayPort);
    ZVStatus(status, line);
    Close(1);
    m_socket = std::make_unique<CSocketZV>(bytes, config.relayPort, kSilenceLimit, status);
    if (!m_socket->IsOk()) {
        SocketError("Cannot connect");
        return 0;
    }
    ZVStatus(status, "Connected to Relay Server.");
    ZVStatus(status, "Requesting Gateway connection...");
    const std::string request = RelayRequest(name, port);
    if (!m_socket->Send(static_cast<int32_t>(request.size()), request.data())) {
        SocketError("Communication to Relay Server failed");
        return 0;
    }
    // Whatever the relay answers means the gateway is through; the bytes
    // themselves are not looked at.
    const uint32_t sent = platform::GetTickCount();
    while (m_socket->IsConnected() && ElapsedTicks(sent) <= kRelayAnswerMs && ZVContinue(status)) {
        if (m_socket->ReceiveRaw(0)) return 1;
        m_socket->WaitForData(kPassMs);
    }
    m_errorText = "Relay Server rejected the request";
    return 0;
}

int CGatewayConnection::SendRequest(uint16_t id) {
    CZVMSG request(0, id, 0, 1, ZVVariant::Monitor);
    if (m_socket && m_socket->Send(request.GetTotalSize(), request.GetBuffer())) return 1;
    SocketError("Send failed");
    return 0;
}

uint16_t CGatewayConnection::Await(uint16_t first, uint16_t second) {
    // A gateway that keeps talking never goes silent; the wait ends after
    // the silence limit all the same.
    const uint32_t start = platform::GetTickCount();
    while (m_socket->IsConnected() && ElapsedTicks(start) <= static_cast<uint32_t>(kSilenceLimit) &&
           ZVContinue(m_status)) {
        if (!m_socket->Receive()) {
            m_socket->WaitForData(kPassMs);
            continue;
        }
        const std::span<uint8_t> frame = m_socket->GetMessage();
        const uint16_t id = static_cast<uint16_t>(frame[2] | frame[3] << 8);
        if (id == first || (second && id == second)) return id;
    }
    m_socket->Close();
    m_errorText = kGatewaySilentText;
    return 0;
}

int CGatewayConnection::GetChallenge(std::string& challenge) {
    if (!SendRequest(ZVM_LOGIN_GETCHALLENGEQ)) return 0;
    if (!Await(ZVM_LOGIN_GETCHALLENGEA, 0)) return 0;
    CZVMSG answer(m_socket->GetMessage(), ZVVariant::Monitor);
    if (!answer.ReadString(challenge)) {
        m_errorText = "Can't get Challenge String";
        return 0;
    }
    return 1;
}

int CGatewayConnection::GetVersion() {
    if (!SendRequest(ZVM_SYSCONFIG_GETVERSIONQ)) return 0;
    if (!Await(ZVM_SYSCONFIG_GETVERSIONA, 0)) return 0;
    CZVMSG answer(m_socket->GetMessage(), ZVVariant::Monitor);
    if (!answer.ReadString(m_versionText)) {
        m_errorText = "Can't get Version Info";
        return 0;
    }
    answer.ReadInt(m_adapterType);
    return 1;
}

int CGatewayConnection::Login(const std::string& clientName, const std::string& password, int clientType) {
    if (!m_socket || !m_socket->IsConnected()) {
        SocketError("Not connected");
        return 0;
    }
    std::string challenge;
    if (!GetChallenge(challenge)) return 0;
    const std::array<uint8_t, 16> response = EncryptPasswordBlock(password, challenge);
    CZVMSG request(0, ZVM_LOGIN_LOGINQ, 0, 1, ZVVariant::Monitor);
    request.Reserve(kLoginRoom);
    const bool built = request.WriteInt(kLoginRevision) && request.WriteInt(clientType) &&
                       request.WriteString(clientName) && request.WriteInt(kResponseSize) &&
                       request.WriteBytes(response.data(), kResponseSize) && request.WriteInt(kLoginTrailer);
    if (!built || !m_socket->Send(request.GetTotalSize(), request.GetBuffer())) {
        SocketError("Send failed");
        return 0;
    }
    const uint16_t answer = Await(ZVM_LOGIN_LOGINA, ZVM_LOGIN_REJECTED);
    if (answer == ZVM_LOGIN_REJECTED) m_errorText = kLoginRejectedText;
    return answer == ZVM_LOGIN_LOGINA;
}

int CGatewayConnection::LoginSequence(const std::string& clientName, const std::string& password, int clientType,
                                      CStatusSink* status) {
    m_status = status;
    if (!m_connected) {
        ZVStatus(status, "ERROR: " + m_errorText);
        return 0;
    }
    ZVStatus(status, "Connected to System, logging in...");
    if (!Login(clientName, password, clientType)) {
        ZVStatus(status, "ERROR: " + m_errorText);
        return 0;
    }
    ZVStatus(status, "Connection to System OK.");
    ZVStatus(status, "Getting Version Information...");
    if (!GetVersion()) {
        ZVStatus(status, "ERROR: " + m_errorText);
        return 0;
    }
    ZVStatus(status, "Remote System Version is: " + m_versionText + ".");
    return 1;
}

void CGatewayConnection::Close(int dispose) {
    if (!dispose || !m_socket) return;
    m_socket->Close();
    m_socket.reset();
}

int CGatewayConnection::TakeHandle() { return m_socket ? m_socket->TakeHandle() : -1; }
