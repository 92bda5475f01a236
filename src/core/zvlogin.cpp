#include "core/zvlogin.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/zvcode.h"
#include "core/zvquery.h"
#include "core/zvserver.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/socket.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndOfHead = "\r\n\r\n";
// How much of a failed answer the progress line shows.
constexpr size_t kShownAnswer = 40;
// Field 0 above this says the challenge field means nothing.
constexpr long kNoChallengeAbove = 1000;

constexpr uint32_t kAddressServerMs = 30000;
constexpr uint32_t kAddressServerPollMs = 10;
constexpr uint32_t kRelayMs = 10000;
constexpr uint32_t kRelayPollMs = 25;
constexpr size_t kRelayRequestSize = 38;
constexpr size_t kRelayNameSize = 32;
constexpr int32_t kRelayGatewayPort = 443;
constexpr size_t kRelayAnswerSize = 32;
// The challenge and the login wait this long when they follow a remote connect.
constexpr uint32_t kRemoteLoginMs = 10000;
constexpr int32_t kResponseSize = 16;
constexpr int32_t kLoginTrailer = 2;
constexpr char kLocalClientName[] = "Local Config";

std::string Format(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// A decimal number made only of digits, within [0, limit].
bool ReadBounded(const std::string& text, long limit, long* value) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    *value = std::strtol(text.c_str(), nullptr, 10);
    return *value <= limit;
}

// The dotted quad and decimal port the address server gave, as an endpoint; false when they
// are not an IPv4 address and a port.
bool MakeLocation(const ZVSystemLocation& location, sockaddr_in* address) {
    std::string text = location.address;
    long parts[4];
    for (long& part : parts) {
        std::string field;
        SplitField(field, '.', text);
        if (!ReadBounded(field, 255, &part))
            return false;
    }
    long port = 0;
    if (text.find('.') != std::string::npos || !ReadBounded(location.port, 0xFFFF, &port) || port == 0)
        return false;
    MakeSockAddr(address, static_cast<int>(parts[0]), static_cast<int>(parts[1]), static_cast<int>(parts[2]),
                 static_cast<int>(parts[3]), static_cast<int>(port));
    return true;
}

// Gathers the address server's answer until it is complete, the server closes, the time runs
// out or the status sink cancels. False on a cancel or a failed read.
bool ReadAddressAnswer(int socket, std::string* answer, CStatusSink* status) {
    SetNonBlocking(socket);
    const platform::ReplyResult result = platform::ReceiveReply(
        socket, *answer, {kAddressAnswerRoom, kAddressServerMs, kAddressServerPollMs},
        [](const std::string& bytes) { return AddressAnswerComplete(bytes) ? 1 : 0; },
        [status] { return ZVContinue(status); });
    switch (result) {
    case platform::ReplyResult::kComplete:
    case platform::ReplyResult::kPeerClosed:
        return true;
    case platform::ReplyResult::kTimedOut:
        ZVStatus(status, Format("TimeOut Got %d Bytes", static_cast<int>(answer->size())));
        return true;
    case platform::ReplyResult::kOverflow:
        ZVStatus(status, "Error: Overflow");
        return false;
    case platform::ReplyResult::kFailed:
        ZVStatus(status, "Error: while recv()");
        return false;
    case platform::ReplyResult::kRejected:
    case platform::ReplyResult::kCancelled:
        break;
    }
    return false;
}

// Waits for the relay's 32-byte answer; false when it does not come.
bool ReadRelayAnswer(int socket, std::string* challenge, CStatusSink* status) {
    const uint32_t start = platform::GetTickCount();
    while (platform::TicksSince(start) < kRelayMs) {
        const bool goOn = ZVContinue(status);
        int waiting = 0;
        if (!BytesAvailable(socket, &waiting))
            return false;
        if (waiting < static_cast<int>(kRelayAnswerSize)) {
            if (!goOn || platform::PeerHasClosed(socket))
                return false;
            platform::Sleep(kRelayPollMs);
            continue;
        }
        char answer[kRelayAnswerSize];
        if (platform::ReceiveSome(socket, answer, sizeof answer) != static_cast<ssize_t>(sizeof answer))
            return false;
        answer[kRelayAnswerSize - 1] = 0;
        *challenge = answer;
        return true;
    }
    return false;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The Content-Length announced by the head; false when there is none or it is not a number.
bool ContentLength(std::string_view head, size_t* length) {
    constexpr std::string_view kName = "Content-Length:";
    for (size_t start = 0; start < head.size();) {
        size_t end = head.find(kLineEnd, start);
        if (end == std::string_view::npos)
            end = head.size();
        std::string_view line = head.substr(start, end - start);
        if (StartsWithNoCase(line, kName)) {
            std::string value(line.substr(kName.size()));
            const char* digits = value.c_str();
            while (*digits == ' ' || *digits == '\t')
                ++digits;
            if (!std::isdigit(static_cast<unsigned char>(*digits)))
                return false;
            errno = 0;
            unsigned long long number = std::strtoull(digits, nullptr, 10);
            if (errno == ERANGE)
                return false;
            *length = static_cast<size_t>(number);
            return true;
        }
        start = end + kLineEnd.size();
    }
    return false;
}

// The body as the head delimits it: after the empty line, no longer than Content-Length.
bool FindBody(std::string_view answer, std::string_view* body) {
    size_t headEnd = answer.find(kEndOfHead);
    if (headEnd == std::string_view::npos)
        return false;
    std::string_view rest = answer.substr(headEnd + kEndOfHead.size());
    size_t length = 0;
    if (ContentLength(answer.substr(0, headEnd), &length) && length < rest.size())
        rest = rest.substr(0, length);
    *body = rest;
    return true;
}

// The first line of the body, without line feeds at either end.
std::string BodyLine(std::string_view body) {
    body = body.substr(0, body.find(kLineEnd));
    while (!body.empty() && body.front() == '\n')
        body.remove_prefix(1);
    while (!body.empty() && body.back() == '\n')
        body.remove_suffix(1);
    return std::string(body);
}

}  // namespace

void ZVStatus(CStatusSink* status, const std::string& text) {
    if (status)
        status->OnStatus(text);
}

bool ZVContinue(CStatusSink* status) { return !status || status->Continue(); }

int SplitField(std::string& field, char separator, std::string& text) {
    size_t at = text.find(separator);
    if (at == std::string::npos) {
        field = text;
        return 1;
    }
    field = text.substr(0, at);
    text.erase(0, at + 1);
    return 1;
}

const char* ZVClientName(ZVVariant variant, int clientType) {
    switch (clientType) {
    case -1:
    case 0:
        return "Remote Vistrel 800x600";
    case 1:
        return "Remote Vistrel 240x320";
    case 3:
        return "Configurator";
    case 6:
        return "Remote Vistrel 800x480";
    case 8:
        return "Remote Vistrel 240x240";
    default:
        break;
    }
    if (variant == ZVVariant::Monitor) {
        switch (clientType) {
        case 11:
            return "iPhone";
        case 12:
            return "iPhone 3G";
        case 15:
            return "iPad";
        case 16:
            return "iPad 3G";
        default:
            break;
        }
    }
    return "Service";
}

std::vector<std::string> RemoteLoginArguments(const std::string& user, const std::string& password) {
    return {"/R", "/USER:" + user, "/PASS:" + password, kTitleArgument};
}

std::string AddressServerHeader(const std::string& host, size_t bodyLength) {
    return "POST /cgi-bin/getaddr.pl HTTP/1.0\r\n"
           "User-Agent: Zavoro\r\n"
           "Host: " +
           host + "\r\nContent-Length: " + std::to_string(bodyLength) +
           "\r\n"
           "Cache-Control: no-cache\r\n"
           "\r\n";
}

std::string AddressServerBody(const std::string& systemName) { return "USERNAME=" + systemName; }

bool AddressAnswerComplete(std::string_view answer) {
    size_t headEnd = answer.find(kEndOfHead);
    size_t length = 0;
    if (headEnd == std::string_view::npos || !ContentLength(answer.substr(0, headEnd), &length))
        return false;
    return answer.size() - headEnd - kEndOfHead.size() >= length;
}

int ParseAddressAnswer(std::string_view answer, const std::string& systemName, int alternative,
                       ZVSystemLocation* location, CStatusSink* status) {
    std::string_view statusLine = answer.substr(0, answer.find(kLineEnd));
    if (statusLine.find("200 OK") == std::string_view::npos) {
        ZVStatus(status, "Error, Returned:");
        ZVStatus(status, std::string(answer.substr(0, kShownAnswer)));
        return 0;
    }
    std::string_view body;
    std::string text;
    if (FindBody(answer, &body))
        text = BodyLine(body);
    if (text.empty()) {
        ZVStatus(status, "Error: Cant find data");
        return 0;
    }
    std::string fields[8];
    for (std::string& field : fields)
        SplitField(field, '|', text);
    if (fields[1] != systemName) {
        ZVStatus(status, "Public Port Closed");
        return 0;
    }
    location->address = alternative ? fields[5] : fields[3];
    location->port = alternative ? fields[6] : fields[4];
    // strtol saturates where atoi would overflow.
    location->challenge = std::strtol(fields[0].c_str(), nullptr, 10) > kNoChallengeAbove ? "" : fields[7];
    return 1;
}

int CZVServer::ConnectLocal(uint32_t address, uint16_t port, int clientType) {
    m_loginRefused = 0;
    m_reconnect = 1;
    m_throughRelay = 0;
    m_socket->Disconnect();
    m_gatewayAddress = platform::MakeAddress(address, port);
    if (!m_socket->Connect(m_gatewayAddress, 0, platform::kNoSocket, clientType, nullptr))
        return 0;
    CZVQuery query(*this);
    std::string challenge;
    if (!query.QueryString(challenge, ZVM_LOGIN_GETCHALLENGEQ)) {
        m_socket->Disconnect();
        return 0;
    }
    if (!Login(challenge, m_localPassword, clientType, kLocalClientName))
        return 0;
    SetChanged();
    return 1;
}

int CZVServer::ConnectRemote(const std::string& name, const std::string& password, CStatusSink* status,
                             int clientType) {
    m_loginRefused = 0;
    m_relayFailed = 0;
    m_reconnect = 1;
    m_throughRelay = 0;
    m_socket->Disconnect();
    // Kept for reconnecting through the relay.
    SetName(name);
    std::string challenge;
    int relay = platform::kNoSocket;
    if (!FindSystem(status, name, 0, &m_gatewayAddress, &challenge)) {
        if (!ZVContinue(status))
            return 0;
        relay = ConnectRelay(status, name, &challenge);
        if (relay == platform::kNoSocket) {
            m_relayFailed = 1;
            return 0;
        }
    }
    if (clientType == -1)
        clientType = 0;
    const std::string clientName = ZVClientName(m_variant, clientType);
    if (ConnectAndLogin(challenge, password, clientType, clientName, status, relay))
        return 1;
    if (relay != platform::kNoSocket || !ZVContinue(status))
        return 0;
    // The direct way failed: once more through the relay.
    relay = ConnectRelay(status, name, &challenge);
    if (relay == platform::kNoSocket) {
        m_relayFailed = 1;
        return 0;
    }
    return ConnectAndLogin(challenge, password, clientType, clientName, status, relay);
}

int CZVServer::FindSystem(CStatusSink* status, const std::string& name, int alternative, sockaddr_in* address,
                          std::string* challenge) {
    ZVStatus(status, "Connecting to Address Server...");
    const int socket = ConnectServiceHost(GetNetConfig().addressServerPort);
    if (socket == platform::kNoSocket) {
        ZVStatus(status, "ERROR: Cannot connect to Address Server");
        return 0;
    }
    ZVStatus(status, "Connected to Address Server OK");
    ZVSystemLocation location;
    sockaddr_in found{};
    if (!QueryAddressServer(socket, name, alternative, &location, status) || !MakeLocation(location, &found)) {
        ZVStatus(status, "Done");
        CloseSocket(socket);
        return 0;
    }
    ZVStatus(status, "Found system at: " + location.address + ":" + location.port + " Challenge: " + location.challenge);
    *address = found;
    *challenge = location.challenge;
    CloseSocket(socket);
    ZVStatus(status, "Found system OK");
    return 1;
}

int CZVServer::QueryAddressServer(int socket, const std::string& name, int alternative, ZVSystemLocation* location,
                                  CStatusSink* status) {
    const std::string body = AddressServerBody(name);
    if (!SendText(socket, AddressServerHeader(GetNetConfig().serviceHost, body.size())) || !SendText(socket, body))
        return 0;
    ZVStatus(status, "Waiting from response from Address Server...");
    std::string answer;
    if (!ReadAddressAnswer(socket, &answer, status))
        return 0;
    return ParseAddressAnswer(answer, name, alternative, location, status);
}

int CZVServer::ConnectRelay(CStatusSink* status, const std::string& name, std::string* challenge) {
    ZVStatus(status, "Connecting to Relay Server...");
    const int socket = ConnectServiceHost(GetNetConfig().relayPort);
    if (socket == platform::kNoSocket) {
        ZVStatus(status, "ERROR: Cannot connect to RelayServer");
        return platform::kNoSocket;
    }
    ZVStatus(status, "Connected to RelayServer, Getting Challenge");
    std::string request(kRelayRequestSize, '\0');
    name.copy(request.data(), std::min(name.size(), kRelayNameSize - 1));
    const uint8_t port[4] = {kRelayGatewayPort & 0xFF, kRelayGatewayPort >> 8, 0, 0};
    std::memcpy(request.data() + kRelayNameSize, port, sizeof port);
    if (!SendText(socket, request)) {
        ZVStatus(status, "ERROR: Can't send connection message");
        CloseSocket(socket);
        return platform::kNoSocket;
    }
    ZVStatus(status, "Waiting for response from relay server...");
    if (ReadRelayAnswer(socket, challenge, status))
        return socket;
    ZVStatus(status, "ERROR: Could not connect to system via Relay Server");
    CloseSocket(socket);
    return platform::kNoSocket;
}

int CZVServer::ConnectAndLogin(const std::string& challenge, const std::string& password, int clientType,
                               const std::string& clientName, CStatusSink* status, int relaySocket) {
    (void)challenge;  // the gateway's own challenge below is the one that counts
    SetCredentials(password, clientType, clientName);
    const bool throughRelay = relaySocket != platform::kNoSocket;
    if (!throughRelay) {
        int a, b, c, d, port;
        SplitSockAddr(m_gatewayAddress, &a, &b, &c, &d, &port);
        ZVStatus(status, Format("Connecting to System at (%d.%d.%d.%d:%d)", a, b, c, d, port));
        if (!m_socket->Connect(m_gatewayAddress, 0, platform::kNoSocket, clientType, status)) {
            ZVStatus(status, Format("ERROR: Cannot connect to system at public address (%ld)", static_cast<long>(errno)));
            return 0;
        }
    } else if (!m_socket->Connect(m_gatewayAddress, 0, relaySocket, clientType, status)) {
        ZVStatus(status, "ERROR: Logging in through Relay Server");
        return 0;
    }
    ZVStatus(status, "Connected to system, logging in...");
    ZVStatus(status, "Getting Challenge String");
    CZVQuery query(*this);
    query.SetTimeout(kRemoteLoginMs);
    std::string gatewayChallenge;
    if (!query.QueryString(gatewayChallenge, ZVM_LOGIN_GETCHALLENGEQ)) {
        ZVStatus(status, "ERROR: Communication error while logging in.");
        m_socket->Disconnect();
        return 0;
    }
    if (!Login(gatewayChallenge, password, clientType, clientName)) {
        ZVStatus(status, "Connection Actively Refused by Gateway");
        return 0;
    }
    ZVStatus(status, "Connection to system OK");
    m_throughRelay = throughRelay ? 1 : 0;
    SetChanged();
    return 1;
}

int CZVServer::Login(const std::string& challenge, const std::string& password, int clientType,
                     const std::string& clientName) {
    const std::array<uint8_t, 16> response = EncryptPasswordBlock(password, challenge);
    CZVMSG request(0, ZVM_LOGIN_LOGINQ, 0, 1, m_variant);
    bool built = request.WriteInt(ZVClientRevision(m_variant)) && request.WriteInt(clientType) &&
                 request.WriteString(clientName) && request.WriteInt(kResponseSize) &&
                 request.WriteBytes(response.data(), kResponseSize) && request.WriteInt(kLoginTrailer);
    if (built && m_variant == ZVVariant::Tablet)
        built = request.WriteString(m_clientId);
    CZVQuery query(*this);
    query.SetTimeout(kRemoteLoginMs);
    if (built && query.Query(nullptr, &request))
        return 1;
    // A connection that is not logged in is of no use and must not count as up.
    m_loginRefused = 1;
    m_socket->Disconnect();
    return 0;
}

int CZVServer::Relogin() {
    CZVQuery query(*this);
    std::string challenge;
    if (!query.QueryString(challenge, ZVM_LOGIN_GETCHALLENGEQ)) {
        m_socket->Disconnect();
        return 0;
    }
    return Login(challenge, m_password, m_clientType, m_clientName);
}

int CZVServer::ReconnectThroughRelay(CStatusSink* status) {
    std::string challenge;
    const int relay = ConnectRelay(status, m_name, &challenge);
    if (relay == platform::kNoSocket)
        return 0;
    // Keep what ConnectAndLogin stores, which are these same credentials.
    const std::string password = m_password;
    const std::string clientName = m_clientName;
    return ConnectAndLogin(challenge, password, m_clientType, clientName, status, relay);
}
