#include "fake_email_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstring>

#include "loopback.h"

namespace testsupport {
namespace {

constexpr uint32_t kRequestMs = 3000;
constexpr size_t kMaxRequest = 65536;
constexpr int32_t kMaxPayload = 1000000;
constexpr uint16_t kGetAlerts = 0x2684;
constexpr uint16_t kSetAlerts = 0x2686;

bool ReadableNow(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return fd >= 0 && poll(&entry, 1, 0) > 0;
}

}  // namespace

std::string FakeEmailLocator::ReplyFor(const sockaddr_in& server) {
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &server.sin_addr, address, sizeof address);
    return std::string("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n") + address + ":" +
           std::to_string(PortOf(server)) + "\r\n\r\n";
}

FakeEmailLocator::FakeEmailLocator(Options options) : m_options(std::move(options)) { Start(); }

FakeEmailLocator::~FakeEmailLocator() { Stop(); }

std::vector<std::string> FakeEmailLocator::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string FakeEmailLocator::Trailer() const {
    std::lock_guard lock(m_mutex);
    return m_trailer;
}

bool FakeEmailLocator::Owes() const { return ConnectionWaiting() || m_answering.load(); }

void FakeEmailLocator::Serve(int fd) {
    m_answering = !m_options.silent;
    HandOverDone();
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos) {
        char byte;
        if (request.size() >= kMaxRequest || !ReadExact(fd, &byte, 1, kRequestMs)) {
            m_answering = false;
            return;
        }
        request.push_back(byte);
    }
    std::string trailer;
    char byte;
    while (trailer.size() < 2 && ReadExact(fd, &byte, 1, 100))
        trailer.push_back(byte);
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        m_trailer = trailer;
    }
    if (!m_options.silent) {
        WriteAll(fd, m_options.reply.data(), m_options.reply.size());
        shutdown(fd, SHUT_WR);
    }
    m_answering = false;
    // Closed once the client has read the answer and gone, so that nothing
    // unread makes the close a reset.
    while (!Stopping()) {
        if (!Readable(fd))
            continue;
        if (recv(fd, &byte, 1, 0) <= 0)
            break;
    }
}

FakeEmailSettings::FakeEmailSettings() : FakeEmailSettings(Options{}) {}

FakeEmailSettings::FakeEmailSettings(Options options) : m_options(std::move(options)) { Start(); }

FakeEmailSettings::~FakeEmailSettings() { Stop(); }

void FakeEmailSettings::SetAlerts(const std::string& adapterName, Bytes fields) {
    std::lock_guard lock(m_mutex);
    m_alerts[adapterName] = std::move(fields);
}

Bytes FakeEmailSettings::Alerts(const std::string& adapterName) const {
    std::lock_guard lock(m_mutex);
    auto found = m_alerts.find(adapterName);
    return found == m_alerts.end() ? Bytes(PayloadWriter().Int(0)) : found->second;
}

std::vector<Frame> FakeEmailSettings::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool FakeEmailSettings::Owes() const {
    return ConnectionWaiting() || m_answering.load() || (!m_options.silent && ReadableNow(m_client.load()));
}

Bytes FakeEmailSettings::Answer(const Frame& request) {
    PayloadReader reader(request.payload);
    std::string adapter;
    reader.String(&adapter);
    if (request.id == kSetAlerts) {
        SetAlerts(adapter, Bytes(request.payload.end() - static_cast<ptrdiff_t>(reader.Left()), request.payload.end()));
        return EncodeFrame({0, kSetAlerts + 1, {}});
    }
    return EncodeFrame({0, kGetAlerts + 1, Alerts(adapter)});
}

void FakeEmailSettings::Serve(int fd) {
    m_client = fd;
    HandOverDone();
    while (!Stopping()) {
        if (!Readable(fd))
            continue;
        m_answering = !m_options.silent;
        uint8_t header[kHeaderSize];
        Frame request;
        int32_t length = 0;
        if (!ReadExact(fd, header, sizeof header, kRequestMs))
            break;
        std::memcpy(&request.sender, header, 2);
        std::memcpy(&request.id, header + 2, 2);
        std::memcpy(&length, header + 4, 4);
        if (length < 0 || length > kMaxPayload)
            break;
        request.payload.resize(static_cast<size_t>(length));
        if (length > 0 && !ReadExact(fd, request.payload.data(), request.payload.size(), kRequestMs))
            break;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        if (!m_options.silent && (m_options.answerWrites || request.id != kSetAlerts)) {
            const Bytes answer = m_options.rawAnswer ? *m_options.rawAnswer : Answer(request);
            WriteAll(fd, answer.data(), answer.size());
        }
        m_answering = false;
    }
    m_answering = false;
    m_client = -1;
}

}  // namespace testsupport
