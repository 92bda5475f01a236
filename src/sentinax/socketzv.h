#pragma once
// CSocketZV: the monitor's own TCP connection to a gateway (directly or
// through the relay) and to the discovery service. It connects, sends raw
// bytes (holding back what the network does not take at once), cuts the
// incoming stream into gateway frames and closes itself after a limit of
// silence. It is polled and never waits once connected; the owner paces its
// polling with WaitForData. A logged-in gateway connection is handed on to
// the core's socket with TakeHandle.
//
// One thread owns a socket.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/statussink.h"
#include "platform/clock.h"

// Milliseconds since a tick count, across the counter's wrap.
inline uint32_t ElapsedTicks(uint32_t start) { return platform::TicksSince(start); }

class CSocketZV {
public:
    // The largest payload a frame may announce.
    static constexpr int32_t kMaxPayload = 500000;
    // Output the network refuses is held up to this many bytes...
    static constexpr size_t kOutputSize = 20000;
    // ...and drained this many at a time.
    static constexpr size_t kFlushPiece = 1400;
    // The rest of a read that came short must follow within this.
    static constexpr uint32_t kShortReadMs = 250;
    // A connection attempt gives up after this.
    static constexpr uint32_t kConnectLimitMs = 10000;

    // Connect at once; IsOk tells the result, GetError the reason of a
    // failure. A negative silence limit means none. `status`, when given,
    // may cancel the connection attempt.
    CSocketZV(const uint8_t address[4], uint16_t port, int32_t silenceLimit, CStatusSink* status = nullptr);
    CSocketZV(const std::string& addressText, uint16_t port, int32_t silenceLimit, CStatusSink* status = nullptr);
    // Closes the connection unless its handle was handed on.
    virtual ~CSocketZV();
    CSocketZV(const CSocketZV&) = delete;
    CSocketZV& operator=(const CSocketZV&) = delete;

    int IsOk() const { return m_ok; }
    int IsConnected() const { return m_connected; }

    // Sends at once; what the network does not take is held for later
    // (behind anything held already). False, closing, when the held bytes
    // would pass kOutputSize or the network fails.
    int Send(int32_t count, const void* bytes);
    // 1 when a complete frame is in the message buffer.
    int Receive();
    // 1 when `count` bytes (0: all waiting, at least one) were taken into the
    // message buffer.
    int ReceiveRaw(int32_t count);
    // 1 when no output is held.
    int FlushOutput();
    void Close();
    // Waits up to `ms` for bytes to read; false without a connection.
    bool WaitForData(uint32_t ms) const;
    // Gives the connected handle to a new owner; the socket forgets it
    // without closing it. -1 when not connected.
    int TakeHandle();
    // The connected handle, still owned by the socket; -1 when there is none.
    int GetHandle() const { return m_handle; }

    // The frame of the last successful Receive (header included), or the
    // bytes of the last ReceiveRaw; empty after Close.
    std::span<uint8_t> GetMessage() { return m_message; }

    std::string GetError() const { return m_errorText; }
    void SetError(const std::string& text) { m_errorText = text; }
    void SetBlocking(int flag);
    void SetNoDelay(int flag);
    const std::string& GetPeerText() const { return m_peerText; }
    size_t GetPendingOutput() const { return m_output.size(); }
    uint32_t GetLastReceiveTick() const { return m_lastReceiveTick; }

private:
    void Connect(const uint8_t address[4], uint16_t port, CStatusSink* status);
    // A complete frame from the input into the message buffer; closes on a
    // length that no frame may have.
    int TakeFrame();
    int ReadWaiting(int32_t waiting);
    void Hold(const uint8_t* bytes, size_t count);
    void Fail(const char* call);

    int m_handle = -1;
    int m_ok = 0;
    std::string m_errorText;
    int32_t m_silenceLimit;
    std::string m_peerText;
    int m_connected = 0;
    int m_blocking = 0;
    int m_noDelay = 1;
    uint32_t m_lastReceiveTick;
    std::vector<uint8_t> m_input;
    std::vector<uint8_t> m_message;
    std::vector<uint8_t> m_output;
};
