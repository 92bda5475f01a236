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

LoopbackServer::LoopbackServer() {
    listener_ = ListenOnLoopback(&port_);
}

LoopbackServer::~LoopbackServer() {
    Stop();
    close(listener_);
}

sockaddr_in LoopbackServer::Address() const { return Loopback(port_); }

void LoopbackServer::Start() {
    thread_ = std::thread([this] { Run(); });
}

void LoopbackServer::Stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
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
        if (Stopping() || std::chrono::steady_clock::now() > deadline)
            return false;
        if (!Readable(fd))
            continue;
        ssize_t got = recv(fd, bytes + done, size - done, 0);
        if (got <= 0)
            return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

bool LoopbackServer::WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t sent = send(fd, bytes + done, size - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

bool LoopbackServer::ConnectionWaiting() const {
    if (handingOver_.load())
        return true;
    pollfd entry{listener_, POLLIN, 0};
    return poll(&entry, 1, 0) > 0;
}

void LoopbackServer::Run() {
    while (!Stopping()) {
        if (!Readable(listener_))
            continue;
        handingOver_ = true;
        int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            handingOver_ = false;
            continue;
        }
        timeval limit{5, 0};  // a client that stops reading cannot hold the server forever
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        ++connections_;
        Serve(fd);
        handingOver_ = false;
        close(fd);
    }
}

}  // namespace testsupport
