#pragma once
// The product line's e-mail services on loopback ports: the locator, which
// answers one HTTP request per connection with the settings server's
// "address:port", and the settings server, which keeps the alert settings of
// each adapter and answers the gateway-framed requests that read and write
// them (0x2684 -> 0x2685, 0x2686 -> 0x2687), on one connection as long as the
// client keeps it.
//
//   testsupport::FakeEmailSettings settings;
//   testsupport::FakeEmailLocator locator({.reply = FakeEmailLocator::ReplyFor(settings.Address())});
//
// Owes() tells whether a fake still has to answer what a client sent, for a
// test clock that must not run ahead of it.
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gateway_wire.h"
#include "loopback_server.h"

namespace testsupport {

class FakeEmailLocator : public LoopbackServer {
public:
    struct Options {
        std::string reply;    // the whole answer, header and body, as it is sent
        bool silent = false;  // reads the request and never answers
    };

    // A well-formed answer naming the server.
    static std::string ReplyFor(const sockaddr_in& server);

    explicit FakeEmailLocator(Options options);
    ~FakeEmailLocator() override;

    // Each request's text, up to and with its empty line.
    std::vector<std::string> Requests() const;
    // What followed the empty line before the client waited for the answer.
    std::string Trailer() const;
    bool Owes() const;

private:
    void Serve(int fd) override;

    const Options m_options;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::string m_trailer;
    std::atomic<bool> m_answering{false};
};

class FakeEmailSettings : public LoopbackServer {
public:
    struct Options {
        bool silent = false;             // reads requests and never answers
        bool answerWrites = true;        // false: writes are kept but not answered
        std::optional<Bytes> rawAnswer;  // sent instead of every answer, as it is
    };

    FakeEmailSettings();
    explicit FakeEmailSettings(Options options);
    ~FakeEmailSettings() override;

    // The alert fields (enabled and the rest) kept for an adapter; an adapter
    // without any reads as alerts off.
    void SetAlerts(const std::string& adapterName, Bytes fields);
    Bytes Alerts(const std::string& adapterName) const;
    std::vector<Frame> Requests() const;
    bool Owes() const;

private:
    void Serve(int fd) override;
    Bytes Answer(const Frame& request);

    const Options m_options;
    mutable std::mutex m_mutex;
    std::map<std::string, Bytes> m_alerts;
    std::vector<Frame> m_requests;
    std::atomic<int> m_client{-1};
    std::atomic<bool> m_answering{false};
};

}  // namespace testsupport
