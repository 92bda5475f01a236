#pragma once
// The configuration program's own search for a gateway on the local subnet:
// one UDP probe to every address of the subnet, each from a socket of its
// own, then up to 5 s of reading answers; only a pool gateway (kind 2,
// model 12) is taken. The subnet is that of the first interface that is up
// and not the loopback one, unless the settings name another (section
// "GatewaySearch", value "Subnet" as "a.b.c.d/bits"). The port is the
// search port of the network settings.
#include <cstdint>
#include <vector>

class CSearchProgress {
public:
    virtual ~CSearchProgress() = default;
    // Shows the percentage; the search sleeps 100 ms after each call.
    virtual void SetProgress(int percent) = 0;
};

// The addresses to probe, in host order, and the port.
struct CSearchTargets {
    uint32_t first = 0;
    uint32_t last = 0;
    uint16_t port = 444;
};

// A subnet larger than this is searched only in the block of this size that
// holds the machine's own address.
inline constexpr uint32_t kMaxSearchAddresses = 256;
inline constexpr uint32_t kSearchTime = 5000;

// False when there is no usable interface and no valid setting.
bool GetSearchTargets(CSearchTargets& targets);

// The accepted gateway's address in network order, or 0. progress may be null.
uint32_t FindLocalGateways(CSearchProgress* progress);
// Reads what is waiting on the sockets, in order; the source address (network
// order) of the first datagram that carries an accepted record, else 0.
uint32_t ReadGatewayAnswers(const std::vector<int>& sockets);
