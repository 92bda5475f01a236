#include "fake_relay.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace testsupport {
namespace {

constexpr uint32_t kRequestMs = 3000;
constexpr int kPollMs = 5;

}  // namespace

FakeRelay::FakeRelay(sockaddr_in gateway) : FakeRelay(gateway, Options{}) {}

FakeRelay::FakeRelay(sockaddr_in gateway, Options options) : m_gateway(gateway), m_options(std::move(options)) {
    Start();
}

FakeRelay::~FakeRelay() { Stop(); }

std::vector<RelayRequest> FakeRelay::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void FakeRelay::Serve(int fd) {
    RelayRequest request;
    request.raw.resize(kRequestSize);
    if (!ReadExact(fd, request.raw.data(), kRequestSize, kRequestMs))
        return;
    const char* name = reinterpret_cast<const char*>(request.raw.data());
    request.name.assign(name, strnlen(name, 32));
    std::memcpy(&request.port, request.raw.data() + 32, sizeof request.port);
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
    }
    if (m_options.refuse)
        return;
    uint8_t answer[kAnswerSize] = {};
    std::memcpy(answer, m_options.challenge.data(), std::min(m_options.challenge.size(), kAnswerSize));
    if (!WriteAll(fd, answer, sizeof answer))
        return;
    int gateway = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(gateway, reinterpret_cast<const sockaddr*>(&m_gateway), sizeof m_gateway) == 0)
        Forward(fd, gateway);
    close(gateway);
}

void FakeRelay::Forward(int client, int gateway) {
    while (!Stopping()) {
        pollfd entries[2] = {{client, POLLIN, 0}, {gateway, POLLIN, 0}};
        if (poll(entries, 2, kPollMs) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (!(entries[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            uint8_t buffer[65536];
            ssize_t got = recv(entries[i].fd, buffer, sizeof buffer, 0);
            if (got <= 0 || !WriteAll(entries[1 - i].fd, buffer, static_cast<size_t>(got)))
                return;
        }
    }
}

}  // namespace testsupport
