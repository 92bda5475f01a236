#pragma once
// The connection manager: one gateway connection, the receivers registered
// on it (sinks), their ids, dispatch of incoming messages, the messages held
// back while somebody waits for one particular answer, reconnection and the
// keep-alive watch.
//
// Everything that belongs to a connection lives in its CZVServer, so several
// managers may run at once, each on its own thread. A manager, its socket,
// its sinks and its queries are used only by the thread that polls it.
#include <netinet/in.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "core/messages/coremessages.h"
#include "core/statussink.h"
#include "core/zvlogin.h"
#include "core/zvmsg.h"
#include "core/zvoblist.h"
#include "core/zvsocket.h"
#include "core/zvvariant.h"

class CZVServer;
class CQACacheList;

// A receiver of gateway messages. Its owner registers it with the manager
// once it is fully built (RegisterSink); its destructor unregisters it.
// The manager knows every sink built on it, registered or not, and detaches
// them all when it goes, so sinks and manager may be destroyed in any order.
class CSocketSink {
public:
    // A fresh id from the manager's counter.
    explicit CSocketSink(CZVServer& server);
    // The given id (the manager itself uses 0).
    CSocketSink(CZVServer& server, uint16_t id);
    CSocketSink(const CSocketSink&) = delete;
    CSocketSink& operator=(const CSocketSink&) = delete;
    virtual ~CSocketSink();

    // The message is valid only during the call; a sink that keeps it clones it.
    virtual void OnMessage(CZVMSG* message);
    virtual void OnConnect(int connected);

    uint16_t GetId() const { return m_id; }
    void SetId(uint16_t id) { m_id = id; }
    // A new id from the manager's counter.
    void RenewId();
    // Exchanges the ids of the two sinks; nothing for null.
    void SwapId(CSocketSink* other);

    // Null once the manager is gone.
    CZVServer* GetServer() const { return m_server; }
    int IsBusy() const { return m_busy; }
    // A derived sink sets this while it considers itself busy.
    void SetBusy(int busy) { m_busy = busy; }

private:
    friend class CZVServer;
    CZVServer* m_server;
    uint16_t m_id;
    int m_busy = 0;
};

class CZVServer : public CSocketSink, public CSocketOwner {
public:
    // Ids with special meaning in a message's sender field.
    static constexpr uint16_t kManagerId = 0;
    static constexpr uint16_t kEverySink = 0x7FFF;
    static constexpr uint16_t kLastSinkId = 0x7FFE;
    // At most one reconnection attempt per this many milliseconds.
    static constexpr uint32_t kReconnectInterval = 1000;
    // A silent keep-alive drops the connection only after this long without
    // bytes on the connection itself.
    static constexpr uint32_t kReceiveSilence = 2000;

    // Poll results.
    enum { kPollDown = 0, kPollIdle = 1, kPollWork = 2 };

    explicit CZVServer(ZVVariant variant);
    // Closes the connection. Every sink built on the manager, registered or
    // not, is detached from it, so that its destructor no longer reaches it.
    ~CZVServer() override;

    ZVVariant GetVariant() const { return m_variant; }

    // Sinks.
    uint16_t NextQueryId();
    // 1 when added; 0, nothing changed, for null or a sink already registered.
    int RegisterSink(CSocketSink* sink);
    void UnregisterSink(CSocketSink* sink);
    bool IsRegistered(const CSocketSink* sink) const { return m_sinks.Contains(const_cast<CSocketSink*>(sink)); }
    // The oldest registered sink holding the id, else null.
    CSocketSink* FindSink(uint16_t id) const;
    bool AnyBusy() const;
    int GetSinkCount() const { return m_sinks.GetCount(); }

    // Delivery.
    void Dispatch(CZVMSG* message);
    void Broadcast(CZVMSG* message);
    void NotifyConnect(int connected);
    void SetChanged() override { m_changed = 1; }
    int GetHeldBackCount() const { return static_cast<int>(m_heldBack.size()); }

    // Connection and traffic.
    CZVSocket* GetSocket() const { return m_socket.get(); }
    bool IsConnected() const;
    // Fire and forget: 1 when the whole message went out.
    int Send(const CZVMSG* message);
    // A poll on behalf of every sink.
    int PollAll(uint32_t waitMs = 0);
    // One step of the connection for the wanted sink id (0x7FFF or 0: every
    // sink): deliver a held-back message, reconnect, watch the keep-alive,
    // receive and handle at most one message. waitMs bounds how long the
    // socket may wait for data when nothing has arrived. Returns kPollDown,
    // kPollIdle or kPollWork.
    int Poll(CStatusSink* status, uint16_t wanted, uint32_t waitMs = 0);
    int CheckConnection();
    int Rediscover();
    void Disconnect();

    // Logging in (zvlogin.cpp). Progress lines go to the status sink, which
    // may be null and may cancel the lengthy steps. A login that fails
    // leaves no connection behind.
    //
    // A direct connection to an address (network order) and port on the
    // home network, and a challenge login as "Local Config". 1 or 0.
    int ConnectLocal(uint32_t address, uint16_t port, int clientType);
    // Asks the address server where the named system is, connects there, or
    // through the relay server when that fails, and logs in. 1 or 0.
    int ConnectRemote(const std::string& name, const std::string& password, CStatusSink* status, int clientType);
    // Where the address server says the system is: its address and port
    // into `address`, its challenge text. 1 or 0.
    static int FindSystem(CStatusSink* status, const std::string& name, int alternative, sockaddr_in* address,
                          std::string* challenge);
    // One HTTP exchange with the address server on a connected socket.
    static int QueryAddressServer(int socket, const std::string& name, int alternative, ZVSystemLocation* location,
                                  CStatusSink* status);
    // The relay handshake: the connected relay socket, which carries the
    // gateway protocol from then on, or -1.
    static int ConnectRelay(CStatusSink* status, const std::string& name, std::string* challenge);
    // Connects to the stored address, or adopts the relay socket when it is
    // not -1, asks for a challenge and logs in. 1 or 0.
    int ConnectAndLogin(const std::string& challenge, const std::string& password, int clientType,
                        const std::string& clientName, CStatusSink* status, int relaySocket);
    // The challenge login: 1 when the gateway accepted it; anything else
    // sets login refused and closes the connection.
    int Login(const std::string& challenge, const std::string& password, int clientType, const std::string& clientName);
    // The last remote login went through the relay, and so do its reconnects.
    int IsThroughRelay() const { return m_throughRelay; }

    // Settings the host program and the login keep on the manager.
    void SetName(const std::string& name);
    const std::string& GetName() const { return m_name; }
    const sockaddr_in& GetGatewayAddress() const { return m_gatewayAddress; }
    void SetGatewayAddress(const sockaddr_in& address) { m_gatewayAddress = address; }
    int GetReconnect() const { return m_reconnect; }
    void SetReconnect(int reconnect) { m_reconnect = reconnect; }
    int GetKeepAlive() const { return m_keepAlive; }
    void SetKeepAlive(int keepAlive) { m_keepAlive = keepAlive; }
    int IsRemoteMode() const override { return m_remoteMode; }
    void SetRemoteMode(int remote) { m_remoteMode = remote; }
    int GetLoginRefused() const { return m_loginRefused; }
    void SetLoginRefused(int refused) { m_loginRefused = refused; }
    // The last ConnectRemote needed the relay and could not get through it.
    int GetRelayFailed() const { return m_relayFailed; }
    // Credentials kept for logging in again after a reconnect.
    void SetCredentials(const std::string& password, int clientType, const std::string& clientName);
    const std::string& GetUserName() const { return m_userName; }
    void SetUserName(const std::string& name) { m_userName = name; }
    const std::string& GetLocalPassword() const { return m_localPassword; }
    void SetLocalPassword(const std::string& password) { m_localPassword = password; }
    // The tablet's machine id, sent with its logins.
    std::string ClientId() const override { return m_clientId; }
    void SetClientId(const std::string& id) { m_clientId = id; }
    // The tablet's client type from its screen layout, for a login given -1.
    int DefaultClientType() const override { return m_defaultClientType; }
    void SetDefaultClientType(int clientType) { m_defaultClientType = clientType; }
    // Set by the tablet's remote login page while it connects.
    int IsConnecting() const { return m_connecting; }
    void SetConnecting(int connecting) { m_connecting = connecting; }

    // The tablet's answer cache, owned here; null until QACacheInit.
    CQACacheList* GetAnswerCache() const { return m_cache.get(); }
    void SetAnswerCache(std::unique_ptr<CQACacheList> cache);

private:
    friend class CSocketSink;
    // Every sink built on the manager, the manager itself aside; kept by the
    // sinks' constructors and destructors.
    void Adopt(CSocketSink* sink);
    void Release(CSocketSink* sink);

    // A walk over the sinks that survives changes made from inside the calls.
    template <typename Call>
    void WalkSinks(Call call);
    int TakeHeldBack(uint16_t wanted);
    int Reconnect(CStatusSink* status);
    // After a reconnect in remote mode: a fresh challenge, then Login with
    // the stored credentials.
    int Relogin();
    // Through the relay again, with a fresh login on the stored credentials.
    int ReconnectThroughRelay(CStatusSink* status);
    int ReceiveOne(uint16_t wanted, uint32_t waitMs);
    // The connection counts as dead; the monitor checks it only on its own polls (everySink).
    bool KeepAliveLost(bool everySink);
    void Check(bool ok, int line) const;

    const ZVVariant m_variant;
    std::unique_ptr<CZVSocket> m_socket;
    CZVObList m_sinks;
    std::unordered_set<CSocketSink*> m_built;
    std::deque<std::unique_ptr<CZVMSG>> m_heldBack;  // oldest first
    int16_t m_lastSinkId = 1;
    int m_reconnect = 0;
    sockaddr_in m_gatewayAddress{};
    std::string m_name;
    std::string m_password;
    int m_clientType = 0;
    std::string m_clientName;
    int m_keepAlive = 1;
    int m_remoteMode = 0;
    std::string m_userName;
    std::string m_localPassword;
    int m_loginRefused = 0;
    int m_relayFailed = 0;
    int m_throughRelay = 0;
    int m_changed = 0;
    std::string m_clientId;
    int m_defaultClientType = 0;
    int m_connecting = 0;
    std::unique_ptr<CQACacheList> m_cache;
    // The next position of every walk in progress, innermost last; a sink
    // that unregisters moves them past its node.
    std::vector<ZVPOSITION*> m_walks;
};

// Passes failed checks and trace lines of the process to the gateway through
// one manager (ZVM_DEBUG_ASSERT, ZVM_DEBUG_TRACE), for as long as it lives.
// Only reports made on the thread that created it go out; the others go to
// standard error, since the manager belongs to that thread.
class CZVReportRelay {
public:
    explicit CZVReportRelay(CZVServer& server);
    ~CZVReportRelay();
    CZVReportRelay(const CZVReportRelay&) = delete;
    CZVReportRelay& operator=(const CZVReportRelay&) = delete;

    // False when another relay already held the process's reports.
    bool IsInstalled() const { return m_installed; }

private:
    bool m_installed;
};
