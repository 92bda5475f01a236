#pragma once
// A gateway on a loopback port, served by its own thread: the sample gateway program's engine,
// on which the tests' fake gateway builds.
//
//   samplegateway::Gateway gateway;                    // listens on 127.0.0.1:<ephemeral>
//   gateway.Answer(0x3000, PayloadWriter().Int(7));    // request 0x3000 -> answer 0x3001
//   gateway.Push(0x4000, PayloadWriter().String("x")); // notification for every sink
//
// One client is served at a time. Each connection must open with the preamble
// "CONNECTSERVERHOST\r\n\r\n"; a wrong preamble or a malformed frame is noted in Errors() and
// ends that connection. Built in, unless a script entry replaces them: the challenge request
// (0x000E) is answered with the configured challenge (0x000F), and a login (0x001B) is recorded
// and answered with 0x001C (accepted) or 0x000D (refused). With a password set, a login after a
// challenge is accepted only with the correct response; a login without a challenge (the local
// login after a search) needs none. Answers go to the requester's sender id. All waits are real
// time and end as soon as their condition holds.
#include <netinet/in.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

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

class Gateway {
public:
    struct Options {
        std::string challenge = "Kx4mQ9tRz2LpW7vB";
        std::optional<std::string> password;
        bool reject_logins = false;
        bool expect_preamble = true;
    };

    // What a test double adds to the serving. Each one that is set is called on the gateway's
    // thread; `paused` also from Owes().
    struct Hooks {
        // Sees every request before it is answered; false ends the connection instead.
        std::function<bool(const Frame& request)> on_request;
        // True while the gateway should read nothing from its client.
        std::function<bool()> paused;
        // The size of the pieces answers are written in, a few milliseconds apart; 0 writes
        // them whole.
        std::function<size_t()> piece_size;
    };

    // What a script entry sends back for a request: any number of frames, written together.
    using Handler = std::function<std::vector<Frame>(const Frame& request)>;

    Gateway();
    explicit Gateway(Options options, Hooks hooks = {});
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    // False when no loopback port could be had; such a gateway serves nothing.
    bool Listening() const { return m_listener != -1; }
    sockaddr_in Address() const;
    uint16_t Port() const { return m_port; }

    // Script, keyed by request id.
    void On(uint16_t request_id, Handler handler);
    // Adds a handler after the one the request has: both see every request, and the answers
    // of both go out, the earlier handler's first. For requests that several modules serve
    // by their fields (the zone commands).
    void AlsoOn(uint16_t request_id, Handler handler);
    // Answers the request with id + 1 and the payload, to the requester.
    void Answer(uint16_t request_id, Bytes payload);

    // Writes to the connected client at once, from the caller's thread; false without one.
    bool Push(uint16_t id, Bytes payload, uint16_t sender = kEverySink);
    bool PushFrames(const std::vector<Frame>& frames);  // all in one write
    bool PushBytes(const Bytes& bytes);                 // anything, as it is
    // Closes the client's connection in order and waits until it is gone.
    void Drop();

    bool WaitForClient(uint32_t real_ms = 5000);
    bool WaitForDisconnect(uint32_t real_ms = 5000);

    std::vector<LoginRecord> Logins() const;
    std::vector<std::string> Errors() const;
    int Connections() const;  // connections accepted so far
    bool Connected() const;
    // True while the client's bytes wait unread, what was read is still being answered, or an
    // answer written still waits in the kernel to be sent (what was sent is the client's, even
    // before the client acknowledges it); false without a client or while reading is paused. Safe to ask from any
    // thread at any time.
    bool Owes() const;

private:
    void Run();
    void Serve(int fd);
    bool ReadMore(int fd, Bytes* stream);
    bool HandleFrame(const Frame& request, bool* challenge_asked);
    std::vector<Frame> BuiltInAnswer(const Frame& request, bool* challenge_asked);
    LoginRecord ReadLogin(const Frame& request, bool after_challenge) const;
    bool Paused() const { return m_hooks.paused && m_hooks.paused(); }
    bool Stopping() const;
    void SetAnswering(bool answering);
    bool WriteLocked(const Bytes& bytes);
    void WriteAnswer(const Bytes& bytes);
    void NoteError(const std::string& text);
    template <class Condition>
    bool WaitUntil(uint32_t real_ms, Condition condition) const;

    const Options m_options;
    const Hooks m_hooks;
    int m_listener = -1;
    uint16_t m_port = 0;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    int m_client = -1;
    int m_connections = 0;
    std::map<uint16_t, Handler> m_script;
    std::vector<LoginRecord> m_logins;
    std::vector<std::string> m_errors;

    // What Owes looks at; never held during a blocking call.
    mutable std::mutex m_owingMutex;
    int m_serving = -1;
    bool m_answering = false;

    std::thread m_thread;
};

}  // namespace samplegateway
