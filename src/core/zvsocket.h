#pragma once
// CZVSocket: the framed TCP connection to a gateway. It connects (bounded in time, with a
// cancel hook), announces itself with the preamble, may send the local login, reads whatever
// the gateway sent into one receive buffer and hands out the complete frames found there one
// at a time, in place. Beside it run the UDP keep-alive listener and the broadcast search for
// a gateway by name (CZVSearch). Nothing here blocks for long: reads take only what is there.
#include <netinet/in.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/messages/coremessages.h"
#include "core/statussink.h"
#include "core/zvvariant.h"

// What a program's login says of it.
int ZVClientRevision(ZVVariant variant);
const char* ZVVersionText(ZVVariant variant);

// The connection manager, as its socket sees it.
class CSocketOwner {
public:
    virtual ~CSocketOwner() = default;
    // The gateway connection came or went; the sinks are told on the next poll.
    virtual void SetChanged() = 0;
    // Connected through the address server and relay: no search, no UDP keep-alive check.
    virtual int IsRemoteMode() const = 0;
    // The tablet's local login: the client type for -1 (from the screen layout) and the
    // network adapter's address text that ends the login.
    virtual int DefaultClientType() const { return 0; }
    virtual std::string ClientId() const { return {}; }
};

// Observer of incoming frames (the download shows progress with it).
class CMessageTracker {
public:
    virtual ~CMessageTracker() = default;
    // For every frame header that Receive examines, complete or not.
    virtual void OnTraffic(uint16_t id, uint16_t sender, int32_t received, int32_t length) {
        (void)id, (void)sender, (void)received, (void)length;
    }
    virtual void OnStatus(const std::string& text) { (void)text; }
};

// The broadcast search: sends the 8-byte request and waits about a second for a gateway of
// an accepted kind with the wanted name (any name when it is empty). The monitor keeps its
// UDP socket between searches (for 5 s) and broadcasts at most every 500 ms.
class CZVSearch {
public:
    explicit CZVSearch(ZVVariant variant) : m_variant(variant) {}
    ~CZVSearch();
    CZVSearch(const CZVSearch&) = delete;
    CZVSearch& operator=(const CZVSearch&) = delete;

    // 1 when a matching gateway answered: its address and port are in `address`.
    int Run(const std::string& name, CStatusSink* status, sockaddr_in* address);

private:
    bool Open(CStatusSink* status);
    void Close();
    bool Broadcast(CStatusSink* status);
    bool Accepts(uint8_t kind, uint8_t sub_kind) const;
    bool NameMatches(const std::string& wanted, const char* name) const;
    // Walks the 40-byte records of one datagram; true on a match.
    bool Examine(const uint8_t* data, int size, const std::string& name, CStatusSink* status,
                 sockaddr_in* address) const;

    ZVVariant m_variant;
    int m_fd = -1;
    uint32_t m_opened = 0;
    uint32_t m_lastBroadcast = 0;
    bool m_broadcastSent = false;
};

// One search with a socket of its own.
int Discover(const std::string& name, CStatusSink* status, sockaddr_in* address, ZVVariant variant);

// Whether the socket is ready to read (write) within the time limit; the Now forms barely
// wait. False for a socket of -1, which is never polled.
bool IsReadable(int socket, uint32_t ms);
bool IsWritable(int socket, uint32_t ms);
bool IsReadableNow(int socket);
bool IsWritableNow(int socket);

class CZVSocket {
public:
    explicit CZVSocket(ZVVariant variant, CSocketOwner* owner = nullptr);
    virtual ~CZVSocket();
    CZVSocket(const CZVSocket&) = delete;
    CZVSocket& operator=(const CZVSocket&) = delete;

    // Adopts a connected socket handed over by another program (an open one is closed
    // first); -1 forgets the handle without closing it. 0 when no receive buffer can be had.
    int Attach(int handle);
    int IsConnected() const { return m_socket != -1; }
    int GetHandle() const { return m_socket; }
    // Connects to the address, or adopts `existing` when it is not -1, and sends the
    // preamble; with `local_login` also the login that a search is followed by. The status
    // sink, when given, may cancel a pending connect. 1 when connected.
    int Connect(const sockaddr_in& address, int local_login, int existing, int client_type, CStatusSink* status);
    // Closes an open connection, searches for the named gateway and connects to it with a
    // local login. No search in remote mode: the call then fails.
    int DiscoverAndConnect(const std::string& name, CStatusSink* status);
    void Disconnect();

    // Sends all bytes, waiting a bounded time for room; a failure closes the connection.
    int SendRaw(int32_t length, const void* bytes);
    // One step of reading: 3 a complete frame waits, 2 bytes arrived, 1 nothing to do,
    // 0 not connected or the connection just failed (a peer's close included). The monitor
    // waits up to wait_ms for data; the others never wait.
    int Receive(uint32_t wait_ms = 0);
    // The frame that Receive found complete (its header, inside the receive buffer), or null;
    // the read offset moves past it. It stays valid until it is consumed, and the buffer
    // lives as long as the socket.
    uint8_t* NextMessage();
    // Removes a handled frame, header and payload, from the buffer.
    void Consume(const uint8_t* frame, int32_t frame_size);
    int HasData() const { return m_fill - m_readOffset > 0; }

    void SetNoDelay(int flag);
    int GetNoDelay() const { return m_noDelay; }
    void SetTracker(CMessageTracker* tracker) { m_tracker = tracker; }

    // The monitor's keep-alive, on the connection itself: a ping when nothing went either
    // way for a while, and 1 (the line is dead) when nothing came for the dead-line limit
    // (longer through the relay) and nothing waits to be read either.
    int KeepAlive();
    // Right after the local login: takes in what already waits, then makes sure the line
    // takes more. False, and disconnected, when the line failed.
    bool Pump();
    // 0 when the socket is not connected, else 1; nothing is ever held back to flush.
    int FlushPending() const { return IsConnected() ? 1 : 0; }

    uint32_t LastAttemptTick() const { return m_lastAttempt; }
    uint32_t LastReceiveTick() const { return m_lastReceive; }
    uint32_t LastSendTick() const { return m_lastSend; }
    int GetDisconnectCount() const { return m_disconnects; }
    // Running totals; 64 bits, so that a long-lived connection never runs them over.
    uint64_t GetBytesReceived() const { return m_bytesReceived; }
    uint64_t GetBytesSent() const { return m_bytesSent; }
    void ResetCounters();

    // Listens on the configured UDP port of every local address; a failure is reported once.
    int OpenKeepAliveListener();
    // The listener's descriptor, -1 when closed.
    int GetKeepAliveHandle() const { return m_keepAliveSocket; }
    void CloseKeepAliveListener();
    void ReadKeepAlive();
    // True when keep-alives have stopped: more than the limit since the last one.
    int CheckKeepAlive() const;
    uint32_t MsSinceKeepAlive() const;

    // The largest frame, header included, is one byte less than this.
    int32_t BufferSize() const;

private:
    bool MakeBuffer();
    // The received bytes not handed out yet.
    std::span<const uint8_t> Pending() const {
        return {m_buffer.get() + m_readOffset, static_cast<size_t>(m_fill - m_readOffset)};
    }
    int SendLocalLogin(int client_type);
    void Report(int line) const;

    ZVVariant m_variant;
    CSocketOwner* m_owner;
    int m_socket = -1;
    int m_keepAliveSocket = -1;
    int m_noDelay = 0;
    std::unique_ptr<uint8_t[]> m_buffer;
    int32_t m_readOffset = 0;
    int32_t m_fill = 0;
    uint64_t m_bytesReceived = 0;
    uint64_t m_bytesSent = 0;
    uint32_t m_lastAttempt;
    uint32_t m_lastKeepAlive;
    uint32_t m_lastReceive;
    uint32_t m_lastSend;
    int m_awaitingFirstKeepAlive = 1;
    bool m_keepAliveFailureReported = false;
    int m_disconnects = 0;
    uint32_t m_keepAliveLimit = 10000;
    CMessageTracker* m_tracker = nullptr;
    CZVSearch m_search;
};
