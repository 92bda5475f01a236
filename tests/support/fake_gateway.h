#pragma once
// A gateway on a loopback port, served by its own thread, for network tests.
//
//   testsupport::FakeGateway gateway;                 // listens on 127.0.0.1:<ephemeral>
//   gateway.Answer(0x3000, PayloadWriter().Int(7));    // request 0x3000 -> answer 0x3001
//   socket.Connect(gateway.Address(), ...);
//   gateway.WaitForClient();
//   gateway.Push(0x4000, PayloadWriter().String("x")); // notification for every sink
//   gateway.Drop();                                    // orderly close; the next client is accepted
//
// Each connection must open with the preamble "CONNECTSERVERHOST\r\n\r\n"; a wrong preamble or
// a malformed frame is noted in Errors() and ends that connection. Built in, unless a script
// entry replaces them: the challenge request (0x000E) is answered with the configured challenge
// (0x000F), and a login (0x001B) is recorded and answered with 0x001C (accepted) or 0x000D
// (refused). With a password set, a login after a challenge is accepted only with the correct
// response; a login without a challenge (the local login after a search) needs none.
// Answers go to the requester's sender id. All waits are real time and end as soon as their
// condition holds.
#include <netinet/in.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "gateway_wire.h"

namespace testsupport {

constexpr char kPreamble[] = "CONNECTSERVERHOST\r\n\r\n";
constexpr uint16_t kGetChallengeRequest = 0x000E;
constexpr uint16_t kGetChallengeAnswer = 0x000F;
constexpr uint16_t kLoginRequest = 0x001B;
constexpr uint16_t kLoginAnswer = 0x001C;
constexpr uint16_t kLoginRejected = 0x000D;

// One login request as the gateway read it.
struct LoginRecord {
    bool well_formed = false;
    int32_t revision = 0;
    int32_t client_type = 0;
    std::string client_name;
    int32_t response_length = 0;
    Bytes response;
    int32_t trailer = 0;
    std::optional<std::string> client_id;  // the tablet's extra field, when present
    bool after_challenge = false;
    bool accepted = false;
};

class FakeGateway {
public:
    struct Options {
        std::string challenge = "Kx4mQ9tRz2LpW7vB";
        std::optional<std::string> password;
        bool reject_logins = false;
        bool expect_preamble = true;
    };

    // What a script entry sends back for a request: any number of frames, written together.
    using Handler = std::function<std::vector<Frame>(const Frame& request)>;

    FakeGateway();
    explicit FakeGateway(Options options);
    ~FakeGateway();
    FakeGateway(const FakeGateway&) = delete;
    FakeGateway& operator=(const FakeGateway&) = delete;

    sockaddr_in Address() const;
    uint16_t Port() const { return port_; }

    // Script, keyed by request id.
    void On(uint16_t request_id, Handler handler);
    // Answers the request with id + 1 and the payload, to the requester.
    void Answer(uint16_t request_id, Bytes payload);
    // Ends the connection when a request with this id arrives (after recording it).
    void DropOn(uint16_t request_id);
    // Writes every answer in pieces of this many bytes with a pause of a few milliseconds
    // between them, so that a client that keeps reading meets each frame in parts; 0 writes
    // answers whole. A test that depends on where a frame is cut pushes the parts itself
    // with PushBytes.
    void SplitAnswers(size_t piece_size);
    // While paused the gateway reads nothing from its client.
    void PauseReading(bool paused);

    // Writes to the connected client at once, from the caller's thread; false without one.
    bool Push(uint16_t id, Bytes payload, uint16_t sender = kEverySink);
    bool PushFrames(const std::vector<Frame>& frames);  // all in one write
    bool PushBytes(const Bytes& bytes);                  // anything, as it is
    // Closes the client's connection in order and waits until it is gone.
    void Drop();

    bool WaitForClient(uint32_t real_ms = 5000);
    bool WaitForDisconnect(uint32_t real_ms = 5000);
    // Takes the next request with this id that no earlier call took, waiting for it.
    bool WaitForRequest(uint16_t id, Frame* request = nullptr, uint32_t real_ms = 5000);

    std::vector<Frame> Requests() const;  // every frame received, in order, across connections
    std::vector<LoginRecord> Logins() const;
    std::vector<std::string> Errors() const;
    int Connections() const;  // connections accepted so far
    bool Connected() const;

private:
    void Run();
    void Serve(int fd);
    bool HandleFrame(const Frame& request, bool* challenge_asked);
    std::vector<Frame> BuiltInAnswer(const Frame& request, bool* challenge_asked);
    bool WriteLocked(const Bytes& bytes);
    void WriteAnswer(const Bytes& bytes);
    void NoteError(const std::string& text);
    template <class Condition>
    bool WaitUntil(uint32_t real_ms, Condition condition) const;

    const Options options_;
    int listener_ = -1;
    uint16_t port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    bool paused_ = false;
    int client_ = -1;
    int connections_ = 0;
    size_t piece_size_ = 0;
    std::map<uint16_t, Handler> script_;
    std::set<uint16_t> drop_on_;
    std::vector<Frame> requests_;
    std::map<uint16_t, size_t> taken_;
    std::vector<LoginRecord> logins_;
    std::vector<std::string> errors_;

    std::thread thread_;
};

}  // namespace testsupport
