#include "core/zvsocket.h"

#include <poll.h>
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

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

// ---- search ----

CZVSearch::~CZVSearch() { Close(); }

void CZVSearch::Close() {
    platform::CloseSocket(fd_);
    fd_ = -1;
    broadcast_sent_ = false;
}

bool CZVSearch::Open(CStatusSink* status) {
    fd_ = platform::OpenUdpSocket();
    if (fd_ < 0 || !platform::SetBroadcast(fd_, true)) {
        if (status)
            status->OnStatus("Error in setsockopt()");
        Close();
        return false;
    }
    opened_ = platform::GetTickCount();
    return true;
}

bool CZVSearch::Broadcast(CStatusSink* status) {
    if (variant_ == ZVVariant::Monitor && broadcast_sent_ &&
        platform::TicksSince(last_broadcast_) < kMonitorBroadcastGapMs)
        return true;
    uint8_t request[8] = {};
    StoreLE<int32_t>(request, 1);
    const ZVNetConfig& config = GetNetConfig();
    sockaddr_in to = platform::MakeAddress(config.broadcastAddress, config.searchPort);
    if (platform::SendDatagram(fd_, request, sizeof request, to) != static_cast<ssize_t>(sizeof request)) {
        if (status)
            status->OnStatus("Error sending ping packet");
        return false;
    }
    broadcast_sent_ = true;
    last_broadcast_ = platform::GetTickCount();
    return true;
}

bool CZVSearch::Accepts(uint8_t kind, uint8_t sub_kind) const {
    if (variant_ == ZVVariant::Tablet)
        return kind == 1 || kind == 2 || kind == 4 || kind == 6 || kind == 7;
    return kind == 1 || kind == 6 || kind == 7 || (kind == 2 && sub_kind == 12);
}

bool CZVSearch::NameMatches(const std::string& wanted, const char* name) const {
    if (wanted.empty())
        return true;
    if (variant_ == ZVVariant::Monitor)
        return strncasecmp(wanted.c_str(), name, kGatewayNameChars) == 0;
    return std::strncmp(wanted.c_str(), name, kGatewayNameChars) == 0;
}

bool CZVSearch::Examine(const uint8_t* data, int size, const std::string& wanted, CStatusSink* status,
                        sockaddr_in* address) const {
    for (; size >= kSearchRecordSize; data += kSearchRecordSize, size -= kSearchRecordSize) {
        if (LoadLE<int32_t>(data) != kSearchAnswerType)
            continue;
        uint32_t gateway = 0;
        std::memcpy(&gateway, data + 4, 4);
        *address = platform::MakeAddress(gateway, LoadLE<uint16_t>(data + 8));
        if (!Accepts(data[10], data[11]))
            continue;
        char name[kGatewayNameChars + 1] = {};
        std::memcpy(name, data + 12, kGatewayNameChars);
        std::string dotted = FormatSockAddr(*address);
        if (status)
            status->OnStatus(variant_ == ZVVariant::Monitor ? "Ping From " + dotted + " " + name
                                                            : "Ping From " + dotted);
        if (NameMatches(wanted, name))
            return true;
        if (status && variant_ == ZVVariant::Monitor)
            status->OnStatus("Wrong System, Looking For: " + wanted);
    }
    return false;
}

int CZVSearch::Run(const std::string& name, CStatusSink* status, sockaddr_in* address) {
    if (fd_ != -1 && platform::TicksSince(opened_) > kMonitorSearchSocketMs)
        Close();
    if (fd_ == -1 && !Open(status))
        return 0;
    if (!Broadcast(status)) {
        Close();
        return 0;
    }
    if (status)
        status->OnStatus("Waiting for ping response.");
    *address = sockaddr_in{};
    bool found = false;
    uint32_t start = platform::GetTickCount();
    while (!found) {
        int waiting = 0;
        if (!platform::BytesWaiting(fd_, &waiting))
            break;
        // Every datagram that waits is read, so that a short one cannot block those behind it.
        uint8_t datagram[kSearchDatagramSize];
        ssize_t got = platform::ReceiveDatagram(fd_, datagram, sizeof datagram, address);
        if (got > 0)
            found = Examine(datagram, static_cast<int>(got), name, status, address);
        if (found || platform::TicksSince(start) > kSearchLimitMs)
            break;
        if (got < 0)
            platform::WaitForSocket(fd_, POLLIN, kSearchRoundMs);
    }
    if (variant_ != ZVVariant::Monitor)
        Close();
    return found ? 1 : 0;
}

int Discover(const std::string& name, CStatusSink* status, sockaddr_in* address, ZVVariant variant) {
    CZVSearch search(variant);
    return search.Run(name, status, address);
}

// ---- socket ----

CZVSocket::CZVSocket(ZVVariant variant, CSocketOwner* owner)
    : variant_(variant),
      owner_(owner),
      last_attempt_(platform::GetTickCount()),
      last_keep_alive_(last_attempt_),
      last_receive_(last_attempt_),
      search_(variant) {}

CZVSocket::~CZVSocket() { Disconnect(); }

int32_t CZVSocket::BufferSize() const {
    return variant_ == ZVVariant::Tablet ? kTabletBufferSize : kBufferSize;
}

void CZVSocket::Report(int line) const {
    if (variant_ == ZVVariant::Tablet)
        ReportAssert("zvsocket", line, 1);
}

bool CZVSocket::MakeBuffer() {
    if (!buffer_)
        buffer_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(BufferSize())]);
    return buffer_ != nullptr;
}

int CZVSocket::Attach(int handle) {
    if (handle == -1) {
        socket_ = -1;
        return 1;
    }
    if (IsConnected())
        Disconnect();
    if (!MakeBuffer())
        return 0;
    socket_ = handle;
    last_receive_ = platform::GetTickCount();
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
        last_attempt_ = platform::GetTickCount();
        fd = platform::OpenTcpSocket();
        if (fd < 0)
            return 0;
        auto keep_going = [status] { return !status || status->Continue(); };
        if (platform::ConnectWithin(fd, address, kConnectLimitMs, keep_going) != platform::ConnectResult::kConnected) {
            platform::CloseSocket(fd);
            last_attempt_ = platform::GetTickCount();
            return 0;
        }
    }
    if (!MakeBuffer()) {
        platform::CloseSocket(fd);
        return 0;
    }
    socket_ = fd;
    platform::SetNonBlocking(socket_, true);
    last_receive_ = platform::GetTickCount();
    if (!SendRaw(kPreambleSize, kPreamble))
        return 0;
    if (!local_login)
        return 1;
    return SendLocalLogin(client_type);
}

int CZVSocket::SendLocalLogin(int client_type) {
    SetNoDelay(no_delay_);
    if (variant_ != ZVVariant::Monitor)
        OpenKeepAliveListener();
    if (client_type == -1)
        client_type = variant_ == ZVVariant::Tablet && owner_ ? owner_->DefaultClientType() : 0;
    CZVMSG login(0, ZVM_LOGIN_LOGINQ, 0, 1, variant_);
    const uint8_t no_response[16] = {};
    login.WriteInt(ZVClientRevision(variant_));
    login.WriteInt(client_type);
    login.WriteString(ZVVersionText(variant_));
    login.WriteInt(sizeof no_response);
    login.WriteBytes(no_response, sizeof no_response);
    login.WriteInt(2);
    if (variant_ == ZVVariant::Tablet)
        login.WriteString(owner_ ? owner_->ClientId() : std::string());
    if (!SendRaw(login.GetTotalSize(), login.GetBuffer()))
        return 0;
    if (owner_)
        owner_->SetChanged();
    return 1;
}

int CZVSocket::DiscoverAndConnect(const std::string& name, CStatusSink* status) {
    if (IsConnected())
        Disconnect();
    last_attempt_ = platform::GetTickCount();
    // In remote mode there is no search and so no address to go to.
    if (owner_ && owner_->IsRemoteMode())
        return 0;
    sockaddr_in address{};
    if (!search_.Run(name, status, &address)) {
        last_attempt_ = platform::GetTickCount();
        return 0;
    }
    return Connect(address, 1, -1, -1, nullptr);
}

void CZVSocket::Disconnect() {
    if (IsConnected()) {
        platform::CloseSocket(socket_);
        socket_ = -1;
        if (owner_)
            owner_->SetChanged();
        last_attempt_ = platform::GetTickCount();
        ++disconnects_;
    }
    CloseKeepAliveListener();
    // The buffer itself stays: a message being handled may still point into it.
    read_offset_ = 0;
    fill_ = 0;
}

int CZVSocket::SendRaw(int32_t length, const void* bytes) {
    if (!IsConnected() || length < 0)
        return 0;
    if (!platform::SendAll(socket_, bytes, static_cast<size_t>(length), kSendLimitMs)) {
        Disconnect();
        return 0;
    }
    bytes_sent_ += static_cast<uint64_t>(length);
    return 1;
}

int CZVSocket::Receive(uint32_t wait_ms) {
    if (fill_ - read_offset_ >= kHeaderSize) {
        const uint8_t* header = buffer_.get() + read_offset_;
        int32_t length = LoadLE<int32_t>(header + 4);
        if (tracker_)
            tracker_->OnTraffic(LoadLE<uint16_t>(header + 2), LoadLE<uint16_t>(header),
                                std::min(fill_ - read_offset_ - kHeaderSize, std::max(length, 0)), length);
        const ZVFrameCut cut = CutFrame(Pending(), BufferSize() - kHeaderSize - 1);
        if (cut.state == ZVFrameCut::kBad) {
            Report(__LINE__);
            Disconnect();
            return 0;
        }
        if (cut.state == ZVFrameCut::kWhole)
            return 3;
        if (read_offset_ + cut.size > BufferSize()) {
            Report(__LINE__);
            Disconnect();
            return 0;
        }
    }
    if (!IsConnected())
        return 0;
    if (variant_ == ZVVariant::Monitor && wait_ms > 0)
        platform::WaitForSocket(socket_, POLLIN, wait_ms);
    int waiting = 0;
    if (!platform::BytesWaiting(socket_, &waiting)) {
        Report(__LINE__);
        Disconnect();
        return 0;
    }
    if (waiting == 0) {
        // Nothing to read may also mean that the gateway has closed its side.
        if (platform::PeerHasClosed(socket_)) {
            Disconnect();
            return 0;
        }
        return 1;
    }
    int32_t room = BufferSize() - fill_;
    if (room <= 0)
        return 1;
    ssize_t got = platform::ReceiveSome(socket_, buffer_.get() + fill_, static_cast<size_t>(room));
    if (got <= 0) {
        Disconnect();
        return 0;
    }
    last_receive_ = platform::GetTickCount();
    fill_ += static_cast<int32_t>(got);
    bytes_received_ += static_cast<uint64_t>(got);
    return 2;
}

uint8_t* CZVSocket::NextMessage() {
    const ZVFrameCut cut = CutFrame(Pending(), BufferSize() - kHeaderSize - 1);
    if (cut.state != ZVFrameCut::kWhole)
        return nullptr;
    uint8_t* frame = buffer_.get() + read_offset_;
    read_offset_ += static_cast<int32_t>(cut.size);
    return frame;
}

void CZVSocket::Consume(const uint8_t* frame, int32_t frame_size) {
    uintptr_t base = reinterpret_cast<uintptr_t>(buffer_.get());
    uintptr_t at = reinterpret_cast<uintptr_t>(frame);
    if (!buffer_ || frame_size < kHeaderSize || at < base || at - base > uintptr_t(BufferSize() - frame_size)) {
        Report(__LINE__);
        Disconnect();
        return;
    }
    // Only a frame that NextMessage handed out, and that a disconnect has not dropped since,
    // can be removed. One from before a disconnect is simply gone: the connection may be a
    // new one by now, made while the frame was being handled.
    int32_t start = static_cast<int32_t>(at - base);
    if (start > read_offset_ - frame_size)
        return;
    uint8_t* bytes = buffer_.get();
    std::memmove(bytes + start, bytes + start + frame_size, static_cast<size_t>(fill_ - start - frame_size));
    fill_ -= frame_size;
    read_offset_ -= frame_size;
    if (read_offset_ == fill_)
        read_offset_ = fill_ = 0;
}

void CZVSocket::SetNoDelay(int flag) {
    no_delay_ = flag;
    platform::SetNoDelay(socket_, flag != 0);
}

void CZVSocket::ResetCounters() {
    bytes_received_ = 0;
    bytes_sent_ = 0;
    disconnects_ = 0;
}

// ---- keep-alive ----

int CZVSocket::OpenKeepAliveListener() {
    if (keep_alive_socket_ != -1)
        Report(__LINE__);
    CloseKeepAliveListener();
    sockaddr_in local{};
    if (!GetFirstLocalAddress(&local))
        return 0;
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
        if (!keep_alive_failure_reported_)
            ReportTrace("zvsocket: no keep-alive listener on UDP port " + std::to_string(port) + ": " +
                        std::strerror(error));
        keep_alive_failure_reported_ = true;
        return 0;
    }
    keep_alive_failure_reported_ = false;
    keep_alive_socket_ = fd;
    last_keep_alive_ = platform::GetTickCount();
    awaiting_first_keep_alive_ = 1;
    keep_alive_limit_ = kKeepAliveFirstLimitMs;
    return 1;
}

void CZVSocket::CloseKeepAliveListener() {
    platform::CloseSocket(keep_alive_socket_);
    keep_alive_socket_ = -1;
}

void CZVSocket::ReadKeepAlive() {
    for (int i = 0; i < kKeepAliveReadsPerCall && keep_alive_socket_ != -1; ++i) {
        uint8_t datagram[kKeepAliveSize];
        ssize_t got = platform::ReceiveDatagram(keep_alive_socket_, datagram, sizeof datagram, nullptr);
        if (got < kKeepAliveSize || LoadLE<int32_t>(datagram) != kKeepAliveType)
            return;
        awaiting_first_keep_alive_ = 0;
        keep_alive_limit_ = kKeepAliveLimitMs;
        last_keep_alive_ = platform::GetTickCount();
    }
}

int CZVSocket::CheckKeepAlive() const {
    if (keep_alive_socket_ == -1 || awaiting_first_keep_alive_ || (owner_ && owner_->IsRemoteMode()))
        return 0;
    return MsSinceKeepAlive() > keep_alive_limit_ ? 1 : 0;
}

uint32_t CZVSocket::MsSinceKeepAlive() const { return platform::TicksSince(last_keep_alive_); }
