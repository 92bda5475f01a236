#pragma once
// Socket helpers shared by the gateway socket, the connection manager and the login code:
// IPv4 addresses, the machine's own addresses, small reads, and the product line's service
// host. Descriptors are ints, -1 for none.
#include <netinet/in.h>

#include <cstdint>
#include <string>

// Where the gateway protocol reaches out to. The defaults are the product's; the programs'
// settings and the tests change them at start-up, before any connection is made.
struct ZVNetConfig {
    uint16_t gatewayPort = 80;     // a gateway's TCP port when nothing else says
    uint16_t searchPort = 444;     // UDP port of the gateway search
    uint16_t keepAlivePort = 453;  // UDP port on which keep-alive datagrams arrive
    uint32_t broadcastAddress = 0xFFFFFFFF;  // network order; where the search goes
    std::string serviceHost = "service.zavoro.com";  // address server and relay
    uint16_t addressServerPort = 80;   // TCP port of the address server on the service host
    uint16_t relayPort = 7576;         // TCP port of the relay server on the service host
};
const ZVNetConfig& GetNetConfig();
void SetNetConfig(const ZVNetConfig& config);
// Takes what the program's settings hold in section "Network" (ServiceHost, AddressServerPort,
// RelayPort, GatewayPort, SearchPort, KeepAlivePort, BroadcastAddress as a dotted quad) over
// the defaults; a port outside 1..65535 or an unreadable address keeps its default.
void LoadNetConfig();

// A connection to the service host at the port, or -1 when its name does not resolve or no
// connection can be made within 10 s. The socket returned is blocking.
int ConnectServiceHost(uint16_t port);
// Sends the text's bytes, no terminator; 1 when all went out, 0 otherwise.
int SendText(int socket, const std::string& text);
// Readable within 1 ms; false for -1.
bool IsReadable(int socket);

// The address a.b.c.d (a first on the wire) and the port (host order) as an IPv4 endpoint.
void MakeSockAddr(sockaddr_in* address, int a, int b, int c, int d, int port);
void SplitSockAddr(const sockaddr_in& address, int* a, int* b, int* c, int* d, int* port);
// "a.b.c.d" of an address in network order.
std::string FormatDottedQuad(uint32_t address);
std::string FormatSockAddr(const sockaddr_in& address);

// Address and mask (network order) of entry index of the machine's IPv4 addresses; false
// when there is no such entry.
bool GetLocalAddress(int index, uint32_t* mask, uint32_t* address);
bool GetLocalAddressInto(int index, sockaddr_in* address);
bool GetFirstLocalAddress(sockaddr_in* address);
int GetLocalAddressCount();

bool SetNonBlocking(int socket);
bool SetBlocking(int socket);
// Shuts the socket down for receiving, then closes it.
void CloseSocket(int socket);
// Bytes waiting; false (count 0) when that cannot be asked.
bool BytesAvailable(int socket, int* count);
// One datagram without waiting: its size, or -1.
int ReceiveFrom(int socket, void* buffer, int size, sockaddr_in* from);
// One datagram of exactly size bytes.
bool ReceiveExact(int socket, void* buffer, int size, sockaddr_in* from);

// Three dots, each right after a digit.
bool IsDottedQuad(const std::string& text);
// Finds the key (when not empty) and reads the dotted address after it; with a port, also a
// colon and the port number after the address. The bytes go only where a pointer is given.
// False when the pattern is incomplete.
bool ParseDiscoveryText(const std::string& text, const std::string& key, uint8_t* a, uint8_t* b, uint8_t* c,
                        uint8_t* d, int* port);
