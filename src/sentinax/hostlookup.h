#pragma once
// Every host name the monitor looks up (the discovery service, the relay
// service, the mail servers and their MX records) passes one guard first,
// so that a test program can refuse, and report, any lookup that would ask
// a name server.
#include <cstdint>
#include <string>

// Answers whether `name` may be looked up.
using HostLookupGuard = bool (*)(const std::string& name);
// Installs the guard; null lets every name through. Set before any thread
// looks a name up.
void SetHostLookupGuard(HostLookupGuard guard);
bool MayLookUpHost(const std::string& name);
// The first IPv4 address of a host name, when the guard lets it be looked up.
bool LookUpHost(const std::string& name, uint32_t* address_network_order);
