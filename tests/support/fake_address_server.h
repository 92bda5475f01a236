#pragma once
// The product line's address server on a loopback port: it reads one HTTP/1.0 request per
// connection, records it, answers with a status line, a few headers and the body (a line of
// "|"-separated fields), then closes the connection.
//
//   testsupport::FakeAddressServer server({.body = "1|POOL1|x|127.0.0.1|4500|..."});
//   config.addressServerPort = server.Port();
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "loopback_server.h"

namespace testsupport {

struct AddressRequest {
    std::string head;  // request line and header lines, up to the empty line
    std::string body;
};

class FakeAddressServer : public LoopbackServer {
public:
    struct Options {
        std::string body;
        std::string status_line = "HTTP/1.0 200 OK";
        // Announce the body's length in a Content-Length header.
        bool content_length = true;
        // Write the headers first and the body a moment later, in a separate segment.
        bool separate_body = false;
        // Sent instead of the whole answer, as it is.
        std::optional<std::string> raw;
        // Keep the connection open after answering, until the server is destroyed.
        bool stall = false;
    };

    explicit FakeAddressServer(Options options);
    ~FakeAddressServer() override;

    std::vector<AddressRequest> Requests() const;
    // A client is connected or waiting and has not had its answer yet: a test clock holds
    // while it is, so that the client's wait does not run out at the test's pace.
    bool Owes() const;

    // Splits "Name: value" header lines; the value of the first header of that name, or empty.
    static std::string Header(const std::string& head, const std::string& name);

private:
    void Serve(int fd) override;
    bool ReadRequest(int fd, AddressRequest* request);

    const Options m_options;
    mutable std::mutex m_mutex;
    std::vector<AddressRequest> m_requests;
    std::atomic<bool> m_answering{false};
};

}  // namespace testsupport
