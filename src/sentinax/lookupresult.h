#pragma once
// What the discovery service answered for one adapter in a batch lookup: the
// system it names, the gateway's public address and port, and whether the
// gateway posts its address at all.
#include <cstdint>
#include <string>

struct LookupResult {
    std::string address;  // dotted quad; empty when unknown
    uint16_t port = 0;
    int32_t posting = 0;
    std::string name;     // the adapter name the entry belongs to
};
