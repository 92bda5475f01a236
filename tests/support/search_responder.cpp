#include "search_responder.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "loopback.h"

namespace testsupport {

Bytes EncodeRecords(const std::vector<GatewayRecord>& records) {
    Bytes out;
    for (const GatewayRecord& record : records) {
        PayloadWriter writer;
        writer.Int(record.type);
        in_addr address{};
        inet_pton(AF_INET, record.address.c_str(), &address);
        writer.Raw(&address.s_addr, 4).Short(record.port).Byte(record.kind).Byte(record.sub_kind);
        char name[28] = {};
        std::memcpy(name, record.name.data(), std::min(record.name.size(), sizeof name));
        Bytes bytes = writer.Data();
        bytes.insert(bytes.end(), name, name + sizeof name);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

SearchResponder::SearchResponder() {
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = PortOf(address);
    m_thread = std::thread([this] { Run(); });
}

SearchResponder::~SearchResponder() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_thread.join();
    close(m_fd);
}

void SearchResponder::AddRawReply(Bytes datagram) {
    std::lock_guard lock(m_mutex);
    m_replies.push_back(std::move(datagram));
}

int SearchResponder::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::string> SearchResponder::Errors() const {
    std::lock_guard lock(m_mutex);
    return m_errors;
}

bool SearchResponder::WaitForRequests(int count, uint32_t real_ms) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(real_ms), [&] { return m_requests >= count; });
}

void SearchResponder::Run() {
    static const Bytes kRequest = PayloadWriter().Int(1).Int(0);
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) return;
        }
        pollfd entry{m_fd, POLLIN, 0};
        if (poll(&entry, 1, 5) <= 0) continue;
        uint8_t buffer[600];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t got = recvfrom(m_fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0) continue;
        if (Bytes(buffer, buffer + got) != kRequest) {
            std::lock_guard lock(m_mutex);
            m_errors.push_back("malformed search request of " + std::to_string(got) + " bytes");
            m_changed.notify_all();
            continue;
        }
        std::vector<Bytes> replies;
        {
            std::lock_guard lock(m_mutex);
            ++m_requests;
            replies = m_replies;
            m_changed.notify_all();
        }
        for (const Bytes& reply : replies)
            sendto(m_fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
    }
}

KeepAliveSender::KeepAliveSender(uint16_t port, const std::string& address)
    : m_fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)), m_to(Loopback(port)) {
    inet_pton(AF_INET, address.c_str(), &m_to.sin_addr);
    int on = 1;
    setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
}

KeepAliveSender::~KeepAliveSender() { close(m_fd); }

bool KeepAliveSender::Send() {
    Bytes datagram = PayloadWriter().Int(3);
    datagram.resize(24, 0);
    return SendRaw(datagram);
}

bool KeepAliveSender::SendRaw(const Bytes& bytes) {
    return sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&m_to), sizeof m_to) ==
           static_cast<ssize_t>(bytes.size());
}

}  // namespace testsupport
