#include "loopback_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "loopback.h"

namespace testsupport {
namespace {

constexpr int kPollMs = 5;

}  // namespace

LoopbackServer::LoopbackServer() { m_listener = ListenOnLoopback(&m_port); }

LoopbackServer::~LoopbackServer() {
    Stop();
    close(m_listener);
}

sockaddr_in LoopbackServer::Address() const { return Loopback(m_port); }

void LoopbackServer::Start() {
    m_thread = std::thread([this] { Run(); });
}

void LoopbackServer::Stop() {
    m_stopping = true;
    if (m_thread.joinable()) m_thread.join();
}

bool LoopbackServer::Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, kPollMs) > 0;
}

bool LoopbackServer::ReadExact(int fd, void* buffer, size_t size, uint32_t real_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(real_ms);
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < size) {
        if (Stopping() || std::chrono::steady_clock::now() > deadline) return false;
        if (!Readable(fd)) continue;
        ssize_t got = recv(fd, bytes + done, size - done, 0);
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

bool LoopbackServer::WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t sent = send(fd, bytes + done, size - done, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

bool LoopbackServer::ConnectionWaiting() const {
    if (m_handingOver.load()) return true;
    pollfd entry{m_listener, POLLIN, 0};
    return poll(&entry, 1, 0) > 0;
}

void LoopbackServer::Run() {
    while (!Stopping()) {
        if (!Readable(m_listener)) continue;
        m_handingOver = true;
        int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            m_handingOver = false;
            continue;
        }
        timeval limit{5, 0};  // a client that stops reading cannot hold the server forever
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        ++m_connections;
        Serve(fd);
        m_handingOver = false;
        close(fd);
    }
}

}  // namespace testsupport
