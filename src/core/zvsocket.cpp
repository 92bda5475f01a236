#include "core/zvsocket.h"

#include <poll.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "core/messages/setupmessages.h"
#include "core/zvbytes.h"
#include "core/zvframe.h"
#include "core/zvmsg.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "platform/socket.h"

namespace {

constexpr char kPreamble[] = "CONNECTSERVERHOST\r\n\r\n";
constexpr int32_t kPreambleSize = sizeof kPreamble - 1;

constexpr uint32_t kConnectLimitMs = 10000;
// How long a send may wait for the peer to make room before the connection counts as lost.
constexpr uint32_t kSendLimitMs = 5000;

constexpr int32_t kHeaderSize = CZVMSG::kHeaderSize;
constexpr int32_t kTabletBufferSize = 1000000;
constexpr int32_t kBufferSize = 500000;

constexpr uint32_t kKeepAliveFirstLimitMs = 10000;
constexpr uint32_t kKeepAliveLimitMs = 5000;
constexpr int32_t kKeepAliveSize = 24;
constexpr int32_t kKeepAliveType = 3;
// Datagrams read per call at most, so that a flood cannot hold the poll.
constexpr int kKeepAliveReadsPerCall = 64;

// The monitor's keep-alive: a ping after this long without data either way...
constexpr uint32_t kPingQuietReceiveMs = 5000;
constexpr uint32_t kPingQuietSendMs = 2000;
// ...and the line counts as dead after this long without data, unless some waits.
constexpr uint32_t kDeadLineMs = 10000;
constexpr uint32_t kRemoteDeadLineMs = 20000;
constexpr uint32_t kDeadLineReadableWaitMs = 25;
// After the local login the line must take more within this, then gets a short rest.
constexpr uint32_t kPumpWritableWaitMs = 500;
constexpr uint32_t kPumpPauseMs = 25;

constexpr uint32_t kSearchLimitMs = 1000;
constexpr uint32_t kSearchRoundMs = 10;
constexpr uint32_t kMonitorSearchSocketMs = 5000;
constexpr uint32_t kMonitorBroadcastGapMs = 500;
constexpr int kSearchRecordSize = 40;
constexpr int kSearchDatagramSize = 600;
constexpr int32_t kSearchAnswerType = 2;
constexpr size_t kGatewayNameChars = 27;

}  // namespace

int ZVClientRevision(ZVVariant variant) { return variant == ZVVariant::Monitor ? 348 : 262; }

const char* ZVVersionText(ZVVariant variant) {
    return variant == ZVVariant::Monitor ? "5.2 Build 738.0 Rel" : "4.0 Build 1499.0 Rel";
}

bool IsReadable(int socket, uint32_t ms) { return platform::WaitForSocket(socket, POLLIN, ms); }

bool IsWritable(int socket, uint32_t ms) { return platform::WaitForSocket(socket, POLLOUT, ms); }

// A poll cannot wait for less than a millisecond; the least wait is none.
bool IsReadableNow(int socket) { return IsReadable(socket, 0); }

bool IsWritableNow(int socket) { return IsWritable(socket, 0); }

// ---- search ----

CZVSearch::~CZVSearch() { Close(); }

void CZVSearch::Close() {
    platform::CloseSocket(m_fd);
    m_fd = -1;
    m_broadcastSent = false;
}

bool CZVSearch::Open(CStatusSink* status) {
    m_fd = platform::OpenUdpSocket();
    if (m_fd < 0 || !platform::SetBroadcast(m_fd, true)) {
        if (status) status->OnStatus("Error in setsockopt()");
        Close();
        return false;
    }
    m_opened = platform::GetTickCount();
    return true;
}

bool CZVSearch::Broadcast(CStatusSink* status) {
    if (m_variant == ZVVariant::Monitor && m_broadcastSent &&
        platform::TicksSince(m_lastBroadcast) < kMonitorBroadcastGapMs)
        return true;
    uint8_t request[8] = {};
    StoreLE<int32_t>(request, 1);
    const ZVNetConfig& config = GetNetConfig();
    sockaddr_in to = platform::MakeAddress(config.broadcastAddress, config.searchPort);
    if (platform::SendDatagram(m_fd, request, sizeof request, to) != static_cast<ssize_t>(sizeof request)) {
        if (status) status->OnStatus("Error sending ping packet");
        return false;
    }
    m_broadcastSent = true;
    m_lastBroadcast = platform::GetTickCount();
    return true;
}

bool CZVSearch::Accepts(uint8_t kind, uint8_t sub_kind) const {
    if (m_variant == ZVVariant::Tablet) return kind == 1 || kind == 2 || kind == 4 || kind == 6 || kind == 7;
    return kind == 1 || kind == 6 || kind == 7 || (kind == 2 && sub_kind == 12);
}

bool CZVSearch::NameMatches(const std::string& wanted, const char* name) const {
    if (wanted.empty()) return true;
    if (m_variant == ZVVariant::Monitor) return strncasecmp(wanted.c_str(), name, kGatewayNameChars) == 0;
    return std::strncmp(wanted.c_str(), name, kGatewayNameChars) == 0;
}

bool CZVSearch::Examine(const uint8_t* data, int size, const std::string& wanted, CStatusSink* status,
                        sockaddr_in* address) const {
    for (; size >= kSearchRecordSize; data += kSearchRecordSize, size -= kSearchRecordSize) {
        if (LoadLE<int32_t>(data) != kSearchAnswerType) continue;
        uint32_t gateway = 0;
        std::memcpy(&gateway, data + 4, 4);
        *address = platform::MakeAddress(gateway, LoadLE<uint16_t>(data + 8));
        if (!Accepts(data[10], data[11])) continue;
        char name[kGatewayNameChars + 1] = {};
        std::memcpy(name, data + 12, kGatewayNameChars);
        std::string dotted = FormatSockAddr(*address);
        if (status)
            status->OnStatus(m_variant == ZVVariant::Monitor ? "Ping From " + dotted + " " + name
                                                             : "Ping From " + dotted);
        if (NameMatches(wanted, name)) return true;
        if (status && m_variant == ZVVariant::Monitor) status->OnStatus("Wrong System, Looking For: " + wanted);
    }
    return false;
}

int CZVSearch::Run(const std::string& name, CStatusSink* status, sockaddr_in* address) {
    if (m_fd != -1 && platform::TicksSince(m_opened) > kMonitorSearchSocketMs) Close();
    if (m_fd == -1 && !Open(status)) return 0;
    if (!Broadcast(status)) {
        Close();
        return 0;
    }
    if (status) status->OnStatus("Waiting for ping response.");
    *address = sockaddr_in{};
    bool found = false;
    uint32_t start = platform::GetTickCount();
    while (!found) {
        int waiting = 0;
        if (!platform::BytesWaiting(m_fd, &waiting)) break;
        // Every datagram that waits is read, so that a short one cannot block those behind it.
        uint8_t datagram[kSearchDatagramSize];
        ssize_t got = platform::ReceiveDatagram(m_fd, datagram, sizeof datagram, address);
        if (got > 0) found = Examine(datagram, static_cast<int>(got), name, status, address);
        if (found || platform::TicksSince(start) > kSearchLimitMs) break;
        if (got < 0) platform::WaitForSocket(m_fd, POLLIN, kSearchRoundMs);
    }
    if (m_variant != ZVVariant::Monitor) Close();
    return found ? 1 : 0;
}

int Discover(const std::string& name, CStatusSink* status, sockaddr_in* address, ZVVariant variant) {
    CZVSearch search(variant);
    return search.Run(name, status, address);
}

// ---- socket ----

CZVSocket::CZVSocket(ZVVariant variant, CSocketOwner* owner)
    : m_variant(variant),
      m_owner(owner),
      m_lastAttempt(platform::GetTickCount()),
      m_lastKeepAlive(m_lastAttempt),
      m_lastReceive(m_lastAttempt),
      m_lastSend(m_lastAttempt),
      m_search(variant) {}

CZVSocket::~CZVSocket() { Disconnect(); }

int32_t CZVSocket::BufferSize() const { return m_variant == ZVVariant::Tablet ? kTabletBufferSize : kBufferSize; }

void CZVSocket::Report(int line) const {
    if (m_variant == ZVVariant::Tablet) ReportAssert("zvsocket", line, 1);
}

bool CZVSocket::MakeBuffer() {
    if (!m_buffer) m_buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(BufferSize())]);
    return m_buffer != nullptr;
}

int CZVSocket::Attach(int handle) {
    if (handle == -1) {
        m_socket = -1;
        return 1;
    }
    if (IsConnected()) Disconnect();
    if (!MakeBuffer()) return 0;
    m_socket = handle;
    m_lastReceive = platform::GetTickCount();
    return 1;
}

int CZVSocket::Connect(const sockaddr_in& address, int local_login, int existing, int client_type,
                       CStatusSink* status) {
    if (IsConnected()) {
        Report(__LINE__);
        Disconnect();
    }
    int fd = existing;
    if (fd == -1) {
        // The manager's reconnects are spaced from the end of the last attempt.
        m_lastAttempt = platform::GetTickCount();
        fd = platform::OpenTcpSocket();
        if (fd < 0) return 0;
        auto keep_going = [status] { return !status || status->Continue(); };
        if (platform::ConnectWithin(fd, address, kConnectLimitMs, keep_going) != platform::ConnectResult::kConnected) {
            platform::CloseSocket(fd);
            m_lastAttempt = platform::GetTickCount();
            return 0;
        }
    }
    if (!MakeBuffer()) {
        platform::CloseSocket(fd);
        return 0;
    }
    m_socket = fd;
    platform::SetNonBlocking(m_socket, true);
    m_lastReceive = platform::GetTickCount();
    if (!SendRaw(kPreambleSize, kPreamble)) return 0;
    if (!local_login) return 1;
    return SendLocalLogin(client_type);
}

int CZVSocket::SendLocalLogin(int client_type) {
    SetNoDelay(m_noDelay);
    if (m_variant != ZVVariant::Monitor) OpenKeepAliveListener();
    if (client_type == -1) client_type = m_variant == ZVVariant::Tablet && m_owner ? m_owner->DefaultClientType() : 0;
    CZVMSG login(0, ZVM_LOGIN_LOGINQ, 0, 1, m_variant);
    const uint8_t no_response[16] = {};
    login.WriteInt(ZVClientRevision(m_variant));
    login.WriteInt(client_type);
    login.WriteString(ZVVersionText(m_variant));
    login.WriteInt(sizeof no_response);
    login.WriteBytes(no_response, sizeof no_response);
    login.WriteInt(2);
    if (m_variant == ZVVariant::Tablet) login.WriteString(m_owner ? m_owner->ClientId() : std::string());
    if (!SendRaw(login.GetTotalSize(), login.GetBuffer())) return 0;
    if (m_variant == ZVVariant::Monitor && !Pump()) return 0;
    if (m_owner) m_owner->SetChanged();
    return 1;
}

int CZVSocket::DiscoverAndConnect(const std::string& name, CStatusSink* status) {
    if (IsConnected()) Disconnect();
    m_lastAttempt = platform::GetTickCount();
    // In remote mode there is no search and so no address to go to.
    if (m_owner && m_owner->IsRemoteMode()) return 0;
    sockaddr_in address{};
    if (!m_search.Run(name, status, &address)) {
        m_lastAttempt = platform::GetTickCount();
        return 0;
    }
    return Connect(address, 1, -1, -1, nullptr);
}

void CZVSocket::Disconnect() {
    if (IsConnected()) {
        platform::CloseSocket(m_socket);
        m_socket = -1;
        if (m_owner) m_owner->SetChanged();
        m_lastAttempt = platform::GetTickCount();
        ++m_disconnects;
    }
    CloseKeepAliveListener();
    // The buffer itself stays: a message being handled may still point into it.
    m_readOffset = 0;
    m_fill = 0;
}

int CZVSocket::SendRaw(int32_t length, const void* bytes) {
    if (!IsConnected() || length < 0) return 0;
    if (!platform::SendAll(m_socket, bytes, static_cast<size_t>(length), kSendLimitMs)) {
        Disconnect();
        return 0;
    }
    m_bytesSent += static_cast<uint64_t>(length);
    m_lastSend = platform::GetTickCount();
    return 1;
}

int CZVSocket::KeepAlive() {
    const uint32_t deadLine = m_owner && m_owner->IsRemoteMode() ? kRemoteDeadLineMs : kDeadLineMs;
    if (platform::TicksSince(m_lastReceive) > kPingQuietReceiveMs &&
        platform::TicksSince(m_lastSend) > kPingQuietSendMs) {
        CZVMSG ping(0, ZVM_SESSION_PINGQ, 0, 1, m_variant);
        // A failed send has disconnected already.
        if (!SendRaw(ping.GetTotalSize(), ping.GetBuffer())) return 1;
    }
    if (platform::TicksSince(m_lastReceive) > deadLine) {
        if (!IsReadable(m_socket, kDeadLineReadableWaitMs)) return 1;
        m_lastReceive = platform::GetTickCount();
    }
    return 0;
}

bool CZVSocket::Pump() {
    if (IsReadable(m_socket, 0)) {
        m_lastReceive = platform::GetTickCount();
        const int32_t room = BufferSize() - m_fill;
        const ssize_t got =
            room > 0 ? platform::ReceiveSome(m_socket, m_buffer.get() + m_fill, static_cast<size_t>(room)) : 0;
        if (got <= 0) {
            Disconnect();
            return false;
        }
        m_fill += static_cast<int32_t>(got);
        m_bytesReceived += static_cast<uint64_t>(got);
    }
    if (IsWritable(m_socket, kPumpWritableWaitMs)) {
        platform::Sleep(kPumpPauseMs);
        m_lastSend = platform::GetTickCount();
        return true;
    }
    Disconnect();
    return false;
}

int CZVSocket::Receive(uint32_t wait_ms) {
    if (m_fill - m_readOffset >= kHeaderSize) {
        const uint8_t* header = m_buffer.get() + m_readOffset;
        int32_t length = LoadLE<int32_t>(header + 4);
        if (m_tracker)
            m_tracker->OnTraffic(LoadLE<uint16_t>(header + 2), LoadLE<uint16_t>(header),
                                 std::min(m_fill - m_readOffset - kHeaderSize, std::max(length, 0)), length);
        const ZVFrameCut cut = CutFrame(Pending(), BufferSize() - kHeaderSize - 1);
        if (cut.state == ZVFrameCut::kBad) {
            Report(__LINE__);
            Disconnect();
            return 0;
        }
        if (cut.state == ZVFrameCut::kWhole) return 3;
        if (m_readOffset + cut.size > BufferSize()) {
            Report(__LINE__);
            Disconnect();
            return 0;
        }
    }
    if (!IsConnected()) return 0;
    if (m_variant == ZVVariant::Monitor && wait_ms > 0) platform::WaitForSocket(m_socket, POLLIN, wait_ms);
    int waiting = 0;
    if (!platform::BytesWaiting(m_socket, &waiting)) {
        Report(__LINE__);
        Disconnect();
        return 0;
    }
    if (waiting == 0) {
        // Nothing to read may also mean that the gateway has closed its side.
        if (platform::PeerHasClosed(m_socket)) {
            Disconnect();
            return 0;
        }
        return 1;
    }
    int32_t room = BufferSize() - m_fill;
    if (room <= 0) return 1;
    ssize_t got = platform::ReceiveSome(m_socket, m_buffer.get() + m_fill, static_cast<size_t>(room));
    if (got <= 0) {
        Disconnect();
        return 0;
    }
    m_lastReceive = platform::GetTickCount();
    m_fill += static_cast<int32_t>(got);
    m_bytesReceived += static_cast<uint64_t>(got);
    return 2;
}

uint8_t* CZVSocket::NextMessage() {
    const ZVFrameCut cut = CutFrame(Pending(), BufferSize() - kHeaderSize - 1);
    if (cut.state != ZVFrameCut::kWhole) return nullptr;
    uint8_t* frame = m_buffer.get() + m_readOffset;
    m_readOffset += static_cast<int32_t>(cut.size);
    return frame;
}

void CZVSocket::Consume(const uint8_t* frame, int32_t frame_size) {
    uintptr_t base = reinterpret_cast<uintptr_t>(m_buffer.get());
    uintptr_t at = reinterpret_cast<uintptr_t>(frame);
    if (!m_buffer || frame_size < kHeaderSize || at < base || at - base > uintptr_t(BufferSize() - frame_size)) {
        Report(__LINE__);
        Disconnect();
        return;
    }
    // Only a frame that NextMessage handed out, and that a disconnect has not dropped since,
    // can be removed. One from before a disconnect is simply gone: the connection may be a
    // new one by now, made while the frame was being handled.
    int32_t start = static_cast<int32_t>(at - base);
    if (start > m_readOffset - frame_size) return;
    uint8_t* bytes = m_buffer.get();
    std::memmove(bytes + start, bytes + start + frame_size, static_cast<size_t>(m_fill - start - frame_size));
    m_fill -= frame_size;
    m_readOffset -= frame_size;
    if (m_readOffset == m_fill) m_readOffset = m_fill = 0;
}

void CZVSocket::SetNoDelay(int flag) {
    m_noDelay = flag;
    platform::SetNoDelay(m_socket, flag != 0);
}

void CZVSocket::ResetCounters() {
    m_bytesReceived = 0;
    m_bytesSent = 0;
    m_disconnects = 0;
}

// ---- keep-alive ----

int CZVSocket::OpenKeepAliveListener() {
    if (m_keepAliveSocket != -1) Report(__LINE__);
    CloseKeepAliveListener();
    sockaddr_in local{};
    if (!GetFirstLocalAddress(&local)) return 0;
    // Keep-alives may come as broadcasts, which a socket bound to one unicast address never
    // gets on Linux; one bound to any address gets broadcasts and unicasts alike. Every program
    // on the machine that talks to a gateway listens on the same port, so the port is shared.
    const uint16_t port = GetNetConfig().keepAlivePort;
    int fd = platform::OpenUdpSocket();
    if (fd < 0 || !platform::SetNonBlocking(fd, true) || !platform::SetReuseAddress(fd, true) ||
        !platform::Bind(fd, platform::MakeAddress(htonl(INADDR_ANY), port))) {
        const int error = errno;
        platform::CloseSocket(fd);
        // Without a listener the connection is never dropped for silence; say so, once until
        // a listener opens again.
        if (!m_keepAliveFailureReported)
            ReportTrace("zvsocket: no keep-alive listener on UDP port " + std::to_string(port) + ": " +
                        std::strerror(error));
        m_keepAliveFailureReported = true;
        return 0;
    }
    m_keepAliveFailureReported = false;
    m_keepAliveSocket = fd;
    m_lastKeepAlive = platform::GetTickCount();
    m_awaitingFirstKeepAlive = 1;
    m_keepAliveLimit = kKeepAliveFirstLimitMs;
    return 1;
}

void CZVSocket::CloseKeepAliveListener() {
    platform::CloseSocket(m_keepAliveSocket);
    m_keepAliveSocket = -1;
}

void CZVSocket::ReadKeepAlive() {
    for (int i = 0; i < kKeepAliveReadsPerCall && m_keepAliveSocket != -1; ++i) {
        uint8_t datagram[kKeepAliveSize];
        ssize_t got = platform::ReceiveDatagram(m_keepAliveSocket, datagram, sizeof datagram, nullptr);
        if (got < kKeepAliveSize || LoadLE<int32_t>(datagram) != kKeepAliveType) return;
        m_awaitingFirstKeepAlive = 0;
        m_keepAliveLimit = kKeepAliveLimitMs;
        m_lastKeepAlive = platform::GetTickCount();
    }
}

int CZVSocket::CheckKeepAlive() const {
    if (m_keepAliveSocket == -1 || m_awaitingFirstKeepAlive || (m_owner && m_owner->IsRemoteMode())) return 0;
    return MsSinceKeepAlive() > m_keepAliveLimit ? 1 : 0;
}

uint32_t CZVSocket::MsSinceKeepAlive() const { return platform::TicksSince(m_lastKeepAlive); }
