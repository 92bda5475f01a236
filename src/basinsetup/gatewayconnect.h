#pragma once
// The two connection requests of the configuration program, in one place:
// directly to an address on the local network, and remotely by system name
// and password through the address server and relay.
//
// Until the connection manager offers its own direct and remote connects,
// the direct one is made the way the manager reconnects (connect, preamble,
// local login) and the remote one reports failure.
#include <cstdint>
#include <string>

#include "core/zvserver.h"

// Drops any present connection, then connects to address (network order) at
// port (host order); 1 when connected. The manager reconnects there later.
int ConnectDirect(CZVServer& server, uint32_t address, uint16_t port);

// 1 when connected to the named system.
int ConnectByName(CZVServer& server, const std::string& systemName, const std::string& password);
