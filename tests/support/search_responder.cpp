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
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = PortOf(address);
    thread_ = std::thread([this] { Run(); });
}

SearchResponder::~SearchResponder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    thread_.join();
    close(fd_);
}

void SearchResponder::AddRawReply(Bytes datagram) {
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(datagram));
}

int SearchResponder::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> SearchResponder::Errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
}

bool SearchResponder::WaitForRequests(int count, uint32_t real_ms) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(real_ms), [&] { return requests_ >= count; });
}

void SearchResponder::Run() {
    static const Bytes kRequest = PayloadWriter().Int(1).Int(0);
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
        }
        pollfd entry{fd_, POLLIN, 0};
        if (poll(&entry, 1, 5) <= 0)
            continue;
        uint8_t buffer[600];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t got = recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            continue;
        if (Bytes(buffer, buffer + got) != kRequest) {
            std::lock_guard lock(mutex_);
            errors_.push_back("malformed search request of " + std::to_string(got) + " bytes");
            changed_.notify_all();
            continue;
        }
        std::vector<Bytes> replies;
        {
            std::lock_guard lock(mutex_);
            ++requests_;
            replies = replies_;
            changed_.notify_all();
        }
        for (const Bytes& reply : replies)
            sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
    }
}

KeepAliveSender::KeepAliveSender(uint16_t port)
    : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)), to_(Loopback(port)) {}

KeepAliveSender::~KeepAliveSender() { close(fd_); }

bool KeepAliveSender::Send() {
    Bytes datagram = PayloadWriter().Int(3);
    datagram.resize(24, 0);
    return SendRaw(datagram);
}

bool KeepAliveSender::SendRaw(const Bytes& bytes) {
    return sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_) ==
           static_cast<ssize_t>(bytes.size());
}

}  // namespace testsupport
