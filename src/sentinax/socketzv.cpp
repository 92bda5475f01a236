#include "sentinax/socketzv.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/zvframe.h"
#include "core/zvlogin.h"
#include "core/zvsock.h"
#include "platform/socket.h"
#include "sentinax/wsaerror.h"

namespace {

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// One send without waiting: the bytes taken, or -1 with errno.
ssize_t SendNow(int fd, const uint8_t* bytes, size_t count) {
    ssize_t sent;
    do {
        sent = send(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

}  // namespace

CSocketZV::CSocketZV(const uint8_t address[4], uint16_t port, int32_t silenceLimit, CStatusSink* status)
    : silenceLimit_(silenceLimit), lastReceiveTick_(platform::GetTickCount()) {
    Connect(address, port, status);
}

CSocketZV::CSocketZV(const std::string& addressText, uint16_t port, int32_t silenceLimit, CStatusSink* status)
    : silenceLimit_(silenceLimit), lastReceiveTick_(platform::GetTickCount()) {
    uint8_t address[4] = {};
    if (!ParseDiscoveryText(addressText, "", &address[0], &address[1], &address[2], &address[3], nullptr)) {
        errorText_ = "Address invalid";
        return;
    }
    Connect(address, port, status);
}

CSocketZV::~CSocketZV() { Close(); }

void CSocketZV::Fail(const char* call) {
    int code = 0;
    const std::string text = LastWsaErrorText(&code);
    char line[160];
    std::snprintf(line, sizeof line, "Error #%d in %s(): %s", code, call, text.c_str());
    errorText_ = line;
}

void CSocketZV::Connect(const uint8_t address[4], uint16_t port, CStatusSink* status) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d:%d", address[0], address[1], address[2], address[3], port);
    peerText_ = text;
    handle_ = platform::OpenTcpSocket();
    if (handle_ < 0) {
        Fail("socket");
        handle_ = -1;
        return;
    }
    sockaddr_in to{};
    MakeSockAddr(&to, address[0], address[1], address[2], address[3], port);
    const platform::ConnectResult result =
        platform::ConnectWithin(handle_, to, kConnectLimitMs, [status] { return ZVContinue(status); });
    if (result != platform::ConnectResult::kConnected) {
        if (result == platform::ConnectResult::kTimedOut)
            errno = ETIMEDOUT;
        Fail("connect");
        platform::CloseSocket(handle_);
        handle_ = -1;
        return;
    }
    connected_ = 1;
    SetBlocking(blocking_);
    SetNoDelay(noDelay_);
    lastReceiveTick_ = platform::GetTickCount();
    ok_ = 1;
}

void CSocketZV::SetBlocking(int flag) {
    blocking_ = flag;
    platform::SetNonBlocking(handle_, flag == 0);
}

void CSocketZV::SetNoDelay(int flag) {
    noDelay_ = flag;
    platform::SetNoDelay(handle_, flag != 0);
}

void CSocketZV::Hold(const uint8_t* bytes, size_t count) {
    if (output_.size() + count > kOutputSize) {
        Close();
        return;
    }
    output_.insert(output_.end(), bytes, bytes + count);
}

int CSocketZV::Send(int32_t count, const void* bytes) {
    if (!connected_ || count < 0)
        return 0;
    const auto* data = static_cast<const uint8_t*>(bytes);
    const size_t size = static_cast<size_t>(count);
    // Bytes held from before go first, so that the stream keeps its order.
    if (!FlushOutput()) {
        if (connected_)
            Hold(data, size);
        return connected_;
    }
    const ssize_t sent = size ? SendNow(handle_, data, size) : 0;
    if (sent < 0 && !WouldBlock(errno)) {
        Close();
        return 0;
    }
    const size_t taken = sent < 0 ? 0 : static_cast<size_t>(sent);
    if (taken < size)
        Hold(data + taken, size - taken);
    return connected_;
}

int CSocketZV::FlushOutput() {
    if (output_.empty())
        return 1;
    if (!connected_)
        return 0;
    const ssize_t sent = SendNow(handle_, output_.data(), std::min(output_.size(), kFlushPiece));
    if (sent < 0) {
        if (!WouldBlock(errno))
            Close();
        return 0;
    }
    output_.erase(output_.begin(), output_.begin() + sent);
    return output_.empty() ? 1 : 0;
}

int CSocketZV::TakeFrame() {
    const ZVFrameCut cut = CutFrame(input_, kMaxPayload);
    if (cut.state == ZVFrameCut::kBad)
        Close();
    if (cut.state != ZVFrameCut::kWhole)
        return 0;
    const auto end = input_.begin() + static_cast<ptrdiff_t>(cut.size);
    message_.assign(input_.begin(), end);
    input_.erase(input_.begin(), end);
    return 1;
}

// Reads the bytes that FIONREAD announced; the rest of a short read must
// follow within kShortReadMs.
int CSocketZV::ReadWaiting(int32_t waiting) {
    const size_t start = input_.size();
    input_.resize(start + static_cast<size_t>(waiting));
    ssize_t got = platform::ReceiveSome(handle_, input_.data() + start, static_cast<size_t>(waiting));
    if (got <= 0) {
        input_.resize(start);
        Close();
        return 0;
    }
    lastReceiveTick_ = platform::GetTickCount();
    size_t have = static_cast<size_t>(got);
    const uint32_t shortSince = platform::GetTickCount();
    while (have < static_cast<size_t>(waiting)) {
        if (ElapsedTicks(shortSince) > kShortReadMs) {
            input_.resize(start + have);
            Close();
            return 0;
        }
        platform::WaitForSocket(handle_, POLLIN, kShortReadMs);
        got = platform::ReceiveSome(handle_, input_.data() + start + have, static_cast<size_t>(waiting) - have);
        if (got > 0)
            have += static_cast<size_t>(got);
    }
    return 1;
}

int CSocketZV::Receive() {
    if (!FlushOutput())
        return 0;
    if (TakeFrame())
        return 1;
    if (!connected_)
        return 0;
    int waiting = 0;
    if (!platform::BytesWaiting(handle_, &waiting)) {
        Close();
        return 0;
    }
    if (waiting == 0) {
        // One byte: tells a closed peer from a quiet one, and feeds the
        // silence limit.
        uint8_t byte = 0;
        const ssize_t got = platform::ReceiveSome(handle_, &byte, 1);
        const int error = errno;
        if (got == 1) {
            lastReceiveTick_ = platform::GetTickCount();
            input_.push_back(byte);
            return 0;
        }
        if (silenceLimit_ >= 0 && ElapsedTicks(lastReceiveTick_) > static_cast<uint32_t>(silenceLimit_)) {
            Close();
            return 0;
        }
        if (got < 0 && WouldBlock(error))
            return 0;
        Close();
        return 0;
    }
    if (!ReadWaiting(waiting))
        return 0;
    return TakeFrame();
}

int CSocketZV::ReceiveRaw(int32_t count) {
    if (!connected_ || count < 0)
        return 0;
    int waiting = 0;
    if (!platform::BytesWaiting(handle_, &waiting)) {
        Close();
        return 0;
    }
    if (waiting == 0 && platform::PeerHasClosed(handle_)) {
        Close();
        return 0;
    }
    if (waiting < std::max(count, 1))
        return 0;
    const int32_t wanted = count ? count : waiting;
    if (!ReadWaiting(wanted))
        return 0;
    const auto end = input_.begin() + wanted;
    message_.assign(input_.begin(), end);
    input_.erase(input_.begin(), end);
    return 1;
}

bool CSocketZV::WaitForData(uint32_t ms) const {
    return connected_ && platform::WaitForSocket(handle_, POLLIN, ms);
}

void CSocketZV::Close() {
    platform::CloseSocket(handle_);
    handle_ = -1;
    connected_ = 0;
    input_ = {};
    message_ = {};
    output_ = {};
}

int CSocketZV::TakeHandle() {
    if (!connected_)
        return -1;
    const int handle = handle_;
    handle_ = -1;
    Close();
    return handle;
}
