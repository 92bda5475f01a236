#include "core/zvsock.h"

#include <arpa/inet.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/settings.h"
#include "platform/socket.h"

namespace {

// How long a connection to the service host may take to stand.
constexpr uint32_t kServiceConnectMs = 10000;
// How long a text may take to leave.
constexpr uint32_t kSendTextMs = 5000;

ZVNetConfig g_config;

// One number as atoi reads it; `end` is left after it.
long ReadNumber(const char* text, const char** end) {
    char* after = nullptr;
    long value = std::strtol(text, &after, 10);
    *end = after;
    return value;
}

void LoadPort(const char* name, uint16_t* port) {
    int32_t value = 0;
    if (platform::ReadSettingInt("Network", name, value) && value > 0 && value <= 0xFFFF)
        *port = static_cast<uint16_t>(value);
}

}  // namespace

const ZVNetConfig& GetNetConfig() { return g_config; }

void SetNetConfig(const ZVNetConfig& config) { g_config = config; }

void LoadNetConfig() {
    ZVNetConfig config = g_config;
    std::string text;
    if (platform::ReadSettingString("Network", "ServiceHost", text) && !text.empty())
        config.serviceHost = text;
    LoadPort("AddressServerPort", &config.addressServerPort);
    LoadPort("RelayPort", &config.relayPort);
    LoadPort("GatewayPort", &config.gatewayPort);
    LoadPort("SearchPort", &config.searchPort);
    LoadPort("KeepAlivePort", &config.keepAlivePort);
    in_addr address{};
    if (platform::ReadSettingString("Network", "BroadcastAddress", text) && inet_pton(AF_INET, text.c_str(), &address) == 1)
        config.broadcastAddress = address.s_addr;
    g_config = config;
}

int ConnectServiceHost(uint16_t port) {
    uint32_t address = 0;
    if (!platform::ResolveHost(g_config.serviceHost, &address))
        return -1;
    int fd = platform::OpenTcpSocket();
    if (fd < 0)
        return -1;
    if (platform::ConnectWithin(fd, platform::MakeAddress(address, port), kServiceConnectMs) !=
            platform::ConnectResult::kConnected ||
        !platform::SetNonBlocking(fd, false)) {
        platform::CloseSocket(fd);
        return -1;
    }
    return fd;
}

int SendText(int socket, const std::string& text) {
    return platform::SendAll(socket, text.data(), text.size(), kSendTextMs) ? 1 : 0;
}

bool IsReadable(int socket) { return platform::WaitForSocket(socket, POLLIN, 1); }

void MakeSockAddr(sockaddr_in* address, int a, int b, int c, int d, int port) {
    uint8_t bytes[4] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(c),
                        static_cast<uint8_t>(d)};
    uint32_t network = 0;
    static_assert(sizeof network == sizeof bytes);
    std::memcpy(&network, bytes, sizeof network);
    *address = platform::MakeAddress(network, static_cast<uint16_t>(port));
}

void SplitSockAddr(const sockaddr_in& address, int* a, int* b, int* c, int* d, int* port) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&address.sin_addr.s_addr);
    *a = bytes[0];
    *b = bytes[1];
    *c = bytes[2];
    *d = bytes[3];
    *port = ntohs(address.sin_port);
}

std::string FormatDottedQuad(uint32_t address) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&address);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::string FormatSockAddr(const sockaddr_in& address) { return FormatDottedQuad(address.sin_addr.s_addr); }

bool GetLocalAddress(int index, uint32_t* mask, uint32_t* address) {
    auto addresses = platform::ListInterfaceAddresses();
    if (index < 0 || static_cast<size_t>(index) >= addresses.size())
        return false;
    *mask = addresses[static_cast<size_t>(index)].mask;
    *address = addresses[static_cast<size_t>(index)].address;
    return true;
}

bool GetLocalAddressInto(int index, sockaddr_in* address) {
    uint32_t mask = 0;
    return GetLocalAddress(index, &mask, &address->sin_addr.s_addr);
}

bool GetFirstLocalAddress(sockaddr_in* address) { return GetLocalAddressInto(0, address); }

int GetLocalAddressCount() { return static_cast<int>(platform::ListInterfaceAddresses().size()); }

bool SetNonBlocking(int socket) { return platform::SetNonBlocking(socket, true); }

bool SetBlocking(int socket) { return platform::SetNonBlocking(socket, false); }

void CloseSocket(int socket) { platform::CloseSocket(socket); }

bool BytesAvailable(int socket, int* count) { return platform::BytesWaiting(socket, count); }

int ReceiveFrom(int socket, void* buffer, int size, sockaddr_in* from) {
    if (size < 0)
        return -1;
    return static_cast<int>(platform::ReceiveDatagram(socket, buffer, static_cast<size_t>(size), from));
}

bool ReceiveExact(int socket, void* buffer, int size, sockaddr_in* from) {
    return ReceiveFrom(socket, buffer, size, from) == size;
}

bool IsDottedQuad(const std::string& text) {
    int dots = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '.')
            continue;
        if (i == 0 || text[i - 1] < '0' || text[i - 1] > '9')
            return false;
        ++dots;
    }
    return dots == 3;
}

bool ParseDiscoveryText(const std::string& text, const std::string& key, uint8_t* a, uint8_t* b, uint8_t* c,
                        uint8_t* d, int* port) {
    size_t start = 0;
    if (!key.empty()) {
        start = text.find(key);
        if (start == std::string::npos)
            return false;
        start += key.size();
    }
    const char* next = text.c_str() + start;
    long parts[4];
    for (int i = 0; i < 4; ++i) {
        parts[i] = ReadNumber(next, &next);
        if (i < 3) {
            if (*next != '.')
                return false;
            ++next;
        }
    }
    if (port) {
        if (*next != ':')
            return false;
        *port = static_cast<int>(ReadNumber(next + 1, &next));
    }
    uint8_t* outputs[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i)
        if (outputs[i])
            *outputs[i] = static_cast<uint8_t>(parts[i]);
    return true;
}
