#pragma once
// The relay server on a loopback port: it reads the 38-byte request (system name, port,
// padding), records it, answers with 32 bytes (a zero-terminated challenge), then connects to
// the gateway it was given and forwards bytes both ways until either side closes. One
// connection at a time.
#include <netinet/in.h>

#include <mutex>
#include <string>
#include <vector>

#include "gateway_wire.h"
#include "loopback_server.h"

namespace testsupport {

struct RelayRequest {
    std::string name;  // up to the first zero of the name field
    int32_t port = 0;
    Bytes raw;         // the 38 bytes as they came
};

class FakeRelay : public LoopbackServer {
public:
    static constexpr size_t kRequestSize = 38;
    static constexpr size_t kAnswerSize = 32;

    struct Options {
        std::string challenge = "RelayChallenge";
        // Close the connection after reading the request, without answering.
        bool refuse = false;
    };

    explicit FakeRelay(sockaddr_in gateway);
    FakeRelay(sockaddr_in gateway, Options options);
    ~FakeRelay() override;

    std::vector<RelayRequest> Requests() const;

private:
    void Serve(int fd) override;
    void Forward(int client, int gateway);

    const sockaddr_in m_gateway;
    const Options m_options;
    mutable std::mutex m_mutex;
    std::vector<RelayRequest> m_requests;
};

}  // namespace testsupport
