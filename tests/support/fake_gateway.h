#pragma once
// The sample gateway's engine on a loopback port, for network tests, with what tests add to
// it: every request recorded and waited for, a connection dropped on a request, answers cut
// into pieces, reading paused.
//
//   testsupport::FakeGateway gateway;                 // listens on 127.0.0.1:<ephemeral>
//   gateway.Answer(0x3000, PayloadWriter().Int(7));    // request 0x3000 -> answer 0x3001
//   socket.Connect(gateway.Address(), ...);
//   gateway.WaitForClient();
//   gateway.Push(0x4000, PayloadWriter().String("x")); // notification for every sink
//   gateway.Drop();                                    // orderly close; the next client is accepted
//
// The preamble, the framing, the built-in challenge and login and the script are the engine's
// (samplegateway/gateway.h). All waits are real time and end as soon as their condition holds.
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "gateway_wire.h"
#include "samplegateway/gateway.h"
#include "wait.h"

namespace testsupport {

using samplegateway::kGetChallengeAnswer;
using samplegateway::kGetChallengeRequest;
using samplegateway::kLoginAnswer;
using samplegateway::kLoginRejected;
using samplegateway::kLoginRequest;
using samplegateway::kPreamble;
using samplegateway::LoginRecord;

class FakeGateway {
public:
    using Options = samplegateway::Gateway::Options;
    using Handler = samplegateway::Gateway::Handler;

    FakeGateway();
    explicit FakeGateway(Options options);
    FakeGateway(const FakeGateway&) = delete;
    FakeGateway& operator=(const FakeGateway&) = delete;

    // The engine, for what serves a whole installation on it.
    samplegateway::Gateway& Engine() { return m_engine; }

    sockaddr_in Address() const { return m_engine.Address(); }
    uint16_t Port() const { return m_engine.Port(); }

    // Script, keyed by request id.
    void On(uint16_t request_id, Handler handler) { m_engine.On(request_id, std::move(handler)); }
    // Answers the request with id + 1 and the payload, to the requester.
    void Answer(uint16_t request_id, Bytes payload) { m_engine.Answer(request_id, std::move(payload)); }
    // Ends the connection when a request with this id arrives (after recording it).
    void DropOn(uint16_t request_id);
    // Writes every answer in pieces of this many bytes with a pause of a few milliseconds
    // between them, so that a client that keeps reading meets each frame in parts; 0 writes
    // answers whole. A test that depends on where a frame is cut pushes the parts itself
    // with PushBytes.
    void SplitAnswers(size_t piece_size) { m_pieceSize = piece_size; }
    // While paused the gateway reads nothing from its client.
    void PauseReading(bool paused) { m_paused = paused; }

    // Writes to the connected client at once, from the caller's thread; false without one.
    bool Push(uint16_t id, Bytes payload, uint16_t sender = kEverySink) {
        return m_engine.Push(id, std::move(payload), sender);
    }
    bool PushFrames(const std::vector<Frame>& frames) { return m_engine.PushFrames(frames); }
    bool PushBytes(const Bytes& bytes) { return m_engine.PushBytes(bytes); }
    // Closes the client's connection in order and waits until it is gone.
    void Drop() { m_engine.Drop(); }

    bool WaitForClient(uint32_t real_ms = kWaitLimitMs) { return m_engine.WaitForClient(real_ms); }
    bool WaitForDisconnect(uint32_t real_ms = kWaitLimitMs) { return m_engine.WaitForDisconnect(real_ms); }
    // Takes the next request with this id that no earlier call took, waiting for it.
    bool WaitForRequest(uint16_t id, Frame* request = nullptr, uint32_t real_ms = kWaitLimitMs);

    std::vector<Frame> Requests() const;  // every frame received, in order, across connections
    // The frames of one request id received, in order, across connections.
    std::vector<Frame> RequestsOf(uint16_t id) const;
    // The payloads of those frames.
    std::vector<Bytes> PayloadsOf(uint16_t id) const;
    std::vector<LoginRecord> Logins() const { return m_engine.Logins(); }
    std::vector<std::string> Errors() const { return m_engine.Errors(); }
    int Connections() const { return m_engine.Connections(); }  // connections accepted so far
    bool Connected() const { return m_engine.Connected(); }
    // True while the client's bytes wait unread or what was read is still being answered; false
    // without a client or while reading is paused. Safe to ask from any thread at any time.
    bool Owes() const { return m_engine.Owes(); }

private:
    bool Record(const Frame& request);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<uint16_t> m_dropOn;
    std::vector<Frame> m_requests;
    std::map<uint16_t, size_t> m_taken;
    std::atomic<size_t> m_pieceSize = 0;
    std::atomic<bool> m_paused = false;

    // Last, so that its thread stops before what its hooks use is gone.
    samplegateway::Gateway m_engine;
};

}  // namespace testsupport
