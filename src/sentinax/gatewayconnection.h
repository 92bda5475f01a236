#pragma once
// CGatewayConnection: the monitor's own way into a gateway whose public
// address the discovery service gave: a connection straight to it, or
// through the product line's relay server when that fails, then the
// challenge, the login and the version query, run on the monitor's own
// framed socket. After a successful login the refresh hands the socket's
// handle to a connection manager (TakeHandle).
//
// One thread owns a connection.
#include <cstdint>
#include <memory>
#include <string>

#include "core/messages/monitormessages.h"
#include "core/statussink.h"
#include "sentinax/socketzv.h"

// The texts by which the refresh tells failures apart.
inline constexpr char kLoginRejectedText[] = "Login rejected by Gateway";
inline constexpr char kGatewaySilentText[] = "Communication to Gateway failed";

class CGatewayConnection {
public:
    // Every wait for an answer ends after this, and so does a silent line.
    static constexpr int32_t kSilenceLimit = 60000;
    // How long the relay may take to put the gateway through.
    static constexpr uint32_t kRelayAnswerMs = 30000;
    static constexpr uint32_t kPassMs = 100;
    static constexpr size_t kRelayRequestSize = 38;
    static constexpr size_t kRelayNameSize = 32;

    // Connects at once: straight to the address, else through the relay
    // (asking it for `relayName` at `port`). IsConnected tells the result.
    // The status sink gets the progress lines and may cancel the waits; it
    // may be null.
    CGatewayConnection(const std::string& relayName, const std::string& addressText, uint16_t port,
                       CStatusSink* status);
    // Opens the gateway protocol on a socket connected by other means.
    CGatewayConnection(std::unique_ptr<CSocketZV> socket, CStatusSink* status);
    ~CGatewayConnection();
    CGatewayConnection(const CGatewayConnection&) = delete;
    CGatewayConnection& operator=(const CGatewayConnection&) = delete;

    int IsConnected() const { return m_connected; }

    // Login and version query with progress lines.
    int LoginSequence(const std::string& clientName, const std::string& password, int clientType, CStatusSink* status);

    int ConnectDirect(const std::string& addressText, uint16_t port, CStatusSink* status);
    int ConnectRelay(const std::string& name, uint16_t port, CStatusSink* status);
    int GetChallenge(std::string& challenge);
    int Login(const std::string& clientName, const std::string& password, int clientType);
    int GetVersion();

    // With `dispose`, closes the socket and lets it go.
    void Close(int dispose);
    // Hands the logged-in socket's handle on; the connection keeps none.
    int TakeHandle();

    std::string GetError() const { return m_errorText; }
    void SetError(const std::string& text) { m_errorText = text; }
    const std::string& GetVersionText() const { return m_versionText; }
    int32_t GetAdapterType() const { return m_adapterType; }

    // The relay's request: the name (at most 31 characters, zero-filled),
    // the port little-endian, four zero bytes.
    static std::string RelayRequest(const std::string& name, uint16_t port);

private:
    // Sends a request without payload; false, with the error text, when it
    // could not go.
    int SendRequest(uint16_t id);
    // Passes until a frame of one of the ids arrives (0 where unused);
    // other frames are dropped. 0 when the line closed or the time ran out.
    uint16_t Await(uint16_t first, uint16_t second);
    void SocketError(const char* what);
    // Sends the opening text; the connection stands only when it went out.
    void SendOpening();

    int m_connected = 0;
    std::string m_errorText;
    std::unique_ptr<CSocketZV> m_socket;
    std::string m_versionText;
    int32_t m_adapterType = -1;
    CStatusSink* m_status;
};
