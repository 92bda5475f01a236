#include "basinsetup/searchgateway.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <string>

#include "basinsetup/bitutils.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/socket.h"

namespace {

constexpr int kRecordSize = 40;
constexpr int kReceiveBuffer = 600;
constexpr uint8_t kPoolGatewayKind = 2;
constexpr uint8_t kPoolGatewayModel = 12;

CSearchTargets SubnetOf(uint32_t address, uint32_t mask, uint16_t port) {
    CSearchTargets targets;
    uint32_t block = ~mask + 1;  // 0 for a mask of 0: the whole space
    if (block == 0 || block > kMaxSearchAddresses)
        mask = ~(kMaxSearchAddresses - 1);
    targets.first = address & mask;
    targets.last = targets.first | ~mask;
    targets.port = port;
    return targets;
}

// "a.b.c.d/bits"
bool ParseSubnet(const std::string& text, uint32_t& address, uint32_t& mask) {
    size_t slash = text.find('/');
    if (slash == std::string::npos || slash + 1 >= text.size() || text.size() - slash > 3)
        return false;
    int bits = 0;
    for (size_t at = slash + 1; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
        bits = bits * 10 + (text[at] - '0');
    }
    uint32_t network = ParseDottedQuad(text.substr(0, slash));
    if (network == 0 || bits > 32)
        return false;
    address = ntohl(network);
    mask = bits == 0 ? 0 : ~uint32_t{0} << (32 - bits);
    return true;
}

bool FirstUsableInterface(uint32_t& address, uint32_t& mask) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask)
            continue;
        if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        address = ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        mask = ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
        found = true;
    }
    freeifaddrs(list);
    return found;
}

// The record's kind and model name a pool gateway.
bool IsPoolGateway(const uint8_t* record) {
    return record[10] == kPoolGatewayKind && record[11] == kPoolGatewayModel;
}

}  // namespace

bool GetSearchTargets(CSearchTargets& targets) {
    const uint16_t port = GetNetConfig().searchPort;
    uint32_t address = 0, mask = 0;
    std::string subnet;
    bool known = platform::ReadSettingString("GatewaySearch", "Subnet", subnet) ? ParseSubnet(subnet, address, mask)
                                                                                 : FirstUsableInterface(address, mask);
    if (!known)
        return false;
    targets = SubnetOf(address, mask, port);
    return true;
}

uint32_t ReadGatewayAnswers(const std::vector<int>& sockets) {
    for (int fd : sockets) {
        int pending = 0;
        if (!platform::BytesWaiting(fd, &pending) || pending <= 0)
            continue;
        uint8_t datagram[kReceiveBuffer];
        sockaddr_in from{};
        ssize_t size = platform::ReceiveDatagram(fd, datagram, sizeof datagram, &from);
        // Each datagram is read on its own: a record never joins the bytes of two.
        for (ssize_t at = 0; at + kRecordSize <= size; at += kRecordSize) {
            if (IsPoolGateway(datagram + at))
                return from.sin_addr.s_addr;
        }
    }
    return 0;
}

uint32_t FindLocalGateways(CSearchProgress* progress) {
    CSearchTargets targets;
    if (!GetSearchTargets(targets))
        return 0;
    std::vector<int> sockets;
    const uint8_t probe[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    for (uint32_t host = targets.first;; ++host) {
        int fd = platform::OpenUdpSocket();
        if (fd != platform::kNoSocket) {
            platform::SetBroadcast(fd, true);
            platform::SendDatagram(fd, probe, sizeof probe, platform::MakeAddress(htonl(host), targets.port));
            sockets.push_back(fd);
        }
        if (host == targets.last)
            break;
    }
    uint32_t found = 0;
    const uint32_t start = platform::GetTickCount();
    while (!found && platform::TicksSince(start) < kSearchTime) {
        if (progress) {
            progress->SetProgress(static_cast<int>(platform::TicksSince(start) * 100 / kSearchTime));
            platform::Sleep(100);
        }
        found = ReadGatewayAnswers(sockets);
        if (!found)
            platform::Sleep(25);
    }
    for (int fd : sockets)
        platform::CloseSocket(fd);
    return found;
}
