#pragma once
// The discovery service knows, for each gateway name, the public address and
// port under which the gateway posts itself. CServerAddress says where the
// service is; CDiscoveryClient asks it, for one system or for many at once,
// over a plain connection in gateway framing (no opening text, no login).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/messages/monitormessages.h"
#include "core/statussink.h"
#include "core/zvtime.h"
#include "sentinax/lookupresult.h"
#include "sentinax/socketzv.h"

class CZVMSG;

// The name this program asks under.
inline constexpr char kRequesterName[] = "Zavoro Service";
// A file of this name in the program folder, "host:port", points the
// program at another discovery service.
inline constexpr char kOverrideFileName[] = "Dadidedezo.dat";

// Where the discovery service is when no override file says otherwise. The
// defaults are the product's; the settings (section "Discovery": Host,
// Address, Port) and the tests change them at start-up.
struct CDiscoveryConfig {
    std::string host = "discovery.zavoro.com";
    // Used when the host name does not resolve; empty: none is known.
    std::string fallbackAddress;
    uint16_t port = 500;
};
const CDiscoveryConfig& GetDiscoveryConfig();
void SetDiscoveryConfig(const CDiscoveryConfig& config);
void LoadDiscoveryConfig();

class CServerAddress {
public:
    // The override file when it names a host and port, else the service's
    // host name resolved.
    CServerAddress();

    int IsResolved() const { return m_resolved; }
    // Empty when nothing was found.
    std::string GetHost() const { return m_resolved ? m_addressText : std::string(); }
    uint16_t GetPort() const { return m_port; }

    // Host and port of the override file: at most its first 31 bytes, split
    // at the last ':'. False without a ':' or with a port outside 1..65535.
    static bool ReadOverrideFile(std::string& host, uint16_t& port);

private:
    int m_resolved = 0;
    std::string m_hostName;
    std::string m_addressText;
    uint16_t m_port = 0;
};

// The discovery service's address and port: the override file, else the
// resolved host name, else the configured fallback address. Always true.
bool GetDiscoveryServer(std::string& host, uint16_t& port);

class CDiscoveryClient {
public:
    // A silent service is given up after this, and so is one that has not
    // answered whole within it.
    static constexpr int32_t kSilenceLimit = 60000;

    // `status`, when given, may cancel the connection attempt.
    CDiscoveryClient(const uint8_t address[4], uint16_t port, CStatusSink* status = nullptr);
    ~CDiscoveryClient();
    CDiscoveryClient(const CDiscoveryClient&) = delete;
    CDiscoveryClient& operator=(const CDiscoveryClient&) = delete;

    int IsConnected() const { return m_connected; }

    // Asks where the named system posts itself. The status sink, when given,
    // may cancel the wait.
    int Lookup(const std::string& systemName, const std::string& requester, CStatusSink* status = nullptr);
    // Asks for many systems at once. `results` receives one entry per entry
    // of the answer, in its order, and never more than names were sent.
    int LookupMany(const std::vector<std::string>& adapterNames, std::vector<LookupResult>& results,
                   CStatusSink* status);
    // Lookup with progress lines.
    int RequestRemoteConnection(const std::string& systemName, const std::string& requester, CStatusSink* status);

    // Readers of the answers; 1 when the answer was whole. Used by the
    // lookups, and by tests and the fuzzer directly.
    int ReadLookupAnswer(CZVMSG& answer);
    int ReadLookupManyAnswer(CZVMSG& answer, size_t sent, std::vector<LookupResult>& results);

    std::string GetAddressText() const { return addressText; }
    std::string GetError() const { return m_errorText; }
    void SetError(const std::string& text) { m_errorText = text; }

    std::string addressText;
    uint16_t port = 0xFFFF;
    int32_t publicPortOpen = 0;
    int32_t relayMode = 0;
    CZVTime recordTime;

private:
    // Sends the request and waits for the service's answer; null, with the
    // error text set, when none came.
    std::unique_ptr<CZVMSG> Exchange(CZVMSG& request, CStatusSink* status);
    // Exchange, then `read` for an answer of answerId. The service's error
    // answer gives the error text; any other answer is unrecognized.
    int Ask(CZVMSG& request, uint16_t answerId, CStatusSink* status, const std::function<int(CZVMSG&)>& read);

    int m_connected = 0;
    std::string m_errorText;
    std::unique_ptr<CSocketZV> m_socket;
};
