#include "sentinax/hostlookup.h"

#include <atomic>

#include "platform/socket.h"

namespace {

std::atomic<HostLookupGuard> g_guard{nullptr};

}  // namespace

void SetHostLookupGuard(HostLookupGuard guard) { g_guard.store(guard); }

bool MayLookUpHost(const std::string& name) {
    const HostLookupGuard guard = g_guard.load();
    return !guard || guard(name);
}

bool LookUpHost(const std::string& name, uint32_t* address_network_order) {
    return MayLookUpHost(name) && platform::ResolveHost(name, address_network_order);
}
