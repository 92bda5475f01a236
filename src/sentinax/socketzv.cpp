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
    : m_silenceLimit(silenceLimit), m_lastReceiveTick(platform::GetTickCount()) {
    Connect(address, port, status);
}

CSocketZV::CSocketZV(const std::string& addressText, uint16_t port, int32_t silenceLimit, CStatusSink* status)
    : m_silenceLimit(silenceLimit), m_lastReceiveTick(platform::GetTickCount()) {
    uint8_t address[4] = {};
    if (!ParseDiscoveryText(addressText, "", &address[0], &address[1], &address[2], &address[3], nullptr)) {
        m_errorText = "Address invalid";
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
    m_errorText = line;
}

void CSocketZV::Connect(const uint8_t address[4], uint16_t port, CStatusSink* status) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d:%d", address[0], address[1], address[2], address[3], port);
    m_peerText = text;
    m_handle = platform::OpenTcpSocket();
    if (m_handle < 0) {
        Fail("socket");
        m_handle = -1;
        return;
    }
    sockaddr_in to{};
    MakeSockAddr(&to, address[0], address[1], address[2], address[3], port);
    const platform::ConnectResult result =
        platform::ConnectWithin(m_handle, to, kConnectLimitMs, [status] { return ZVContinue(status); });
    if (result != platform::ConnectResult::kConnected) {
        if (result == platform::ConnectResult::kTimedOut) errno = ETIMEDOUT;
        Fail("connect");
        platform::CloseSocket(m_handle);
        m_handle = -1;
        return;
    }
    m_connected = 1;
    SetBlocking(m_blocking);
    SetNoDelay(m_noDelay);
    m_lastReceiveTick = platform::GetTickCount();
    m_ok = 1;
}

void CSocketZV::SetBlocking(int flag) {
    m_blocking = flag;
    platform::SetNonBlocking(m_handle, flag == 0);
}

void CSocketZV::SetNoDelay(int flag) {
    m_noDelay = flag;
    platform::SetNoDelay(m_handle, flag != 0);
}

void CSocketZV::Hold(const uint8_t* bytes, size_t count) {
    if (m_output.size() + count > kOutputSize) {
        Close();
        return;
    }
    m_output.insert(m_output.end(), bytes, bytes + count);
}

int CSocketZV::Send(int32_t count, const void* bytes) {
    if (!m_connected || count < 0) return 0;
    const auto* data = static_cast<const uint8_t*>(bytes);
    const size_t size = static_cast<size_t>(count);
    // Bytes held from before go first, so that the stream keeps its order.
    if (!FlushOutput()) {
        if (m_connected) Hold(data, size);
        return m_connected;
    }
    const ssize_t sent = size ? SendNow(m_handle, data, size) : 0;
    if (sent < 0 && !WouldBlock(errno)) {
        Close();
        return 0;
    }
    const size_t taken = sent < 0 ? 0 : static_cast<size_t>(sent);
    if (taken < size) Hold(data + taken, size - taken);
    return m_connected;
}

int CSocketZV::FlushOutput() {
    if (m_output.empty()) return 1;
    if (!m_connected) return 0;
    const ssize_t sent = SendNow(m_handle, m_output.data(), std::min(m_output.size(), kFlushPiece));
    if (sent < 0) {
        if (!WouldBlock(errno)) Close();
        return 0;
    }
    m_output.erase(m_output.begin(), m_output.begin() + sent);
    return m_output.empty() ? 1 : 0;
}

int CSocketZV::TakeFrame() {
    const ZVFrameCut cut = CutFrame(m_input, kMaxPayload);
    if (cut.state == ZVFrameCut::kBad) Close();
    if (cut.state != ZVFrameCut::kWhole) return 0;
    const auto end = m_input.begin() + static_cast<ptrdiff_t>(cut.size);
    m_message.assign(m_input.begin(), end);
    m_input.erase(m_input.begin(), end);
    return 1;
}

// Reads the bytes that FIONREAD announced; the rest of a short read must
// follow within kShortReadMs.
int CSocketZV::ReadWaiting(int32_t waiting) {
    const size_t start = m_input.size();
    m_input.resize(start + static_cast<size_t>(waiting));
    ssize_t got = platform::ReceiveSome(m_handle, m_input.data() + start, static_cast<size_t>(waiting));
    if (got <= 0) {
        m_input.resize(start);
        Close();
        return 0;
    }
    m_lastReceiveTick = platform::GetTickCount();
    size_t have = static_cast<size_t>(got);
    const uint32_t shortSince = platform::GetTickCount();
    while (have < static_cast<size_t>(waiting)) {
        if (ElapsedTicks(shortSince) > kShortReadMs) {
            m_input.resize(start + have);
            Close();
            return 0;
        }
        platform::WaitForSocket(m_handle, POLLIN, kShortReadMs);
        got = platform::ReceiveSome(m_handle, m_input.data() + start + have, static_cast<size_t>(waiting) - have);
        if (got > 0) have += static_cast<size_t>(got);
    }
    return 1;
}

int CSocketZV::Receive() {
    if (!FlushOutput()) return 0;
    if (TakeFrame()) return 1;
    if (!m_connected) return 0;
    int waiting = 0;
    if (!platform::BytesWaiting(m_handle, &waiting)) {
        Close();
        return 0;
    }
    if (waiting == 0) {
        // One byte: tells a closed peer from a quiet one, and feeds the
        // silence limit.
        uint8_t byte = 0;
        const ssize_t got = platform::ReceiveSome(m_handle, &byte, 1);
        const int error = errno;
        if (got == 1) {
            m_lastReceiveTick = platform::GetTickCount();
            m_input.push_back(byte);
            return 0;
        }
        if (m_silenceLimit >= 0 && ElapsedTicks(m_lastReceiveTick) > static_cast<uint32_t>(m_silenceLimit)) {
            Close();
            return 0;
        }
        if (got < 0 && WouldBlock(error)) return 0;
        Close();
        return 0;
    }
    if (!ReadWaiting(waiting)) return 0;
    return TakeFrame();
}

int CSocketZV::ReceiveRaw(int32_t count) {
    if (!m_connected || count < 0) return 0;
    int waiting = 0;
    if (!platform::BytesWaiting(m_handle, &waiting)) {
        Close();
        return 0;
    }
    if (waiting == 0 && platform::PeerHasClosed(m_handle)) {
        Close();
        return 0;
    }
    if (waiting < std::max(count, 1)) return 0;
    const int32_t wanted = count ? count : waiting;
    if (!ReadWaiting(wanted)) return 0;
    const auto end = m_input.begin() + wanted;
    m_message.assign(m_input.begin(), end);
    m_input.erase(m_input.begin(), end);
    return 1;
}

bool CSocketZV::WaitForData(uint32_t ms) const { return m_connected && platform::WaitForSocket(m_handle, POLLIN, ms); }

void CSocketZV::Close() {
    platform::CloseSocket(m_handle);
    m_handle = -1;
    m_connected = 0;
    m_input = {};
    m_message = {};
    m_output = {};
}

int CSocketZV::TakeHandle() {
    if (!m_connected) return -1;
    const int handle = m_handle;
    m_handle = -1;
    Close();
    return handle;
}
