#pragma once
// The gateway's side of the broadcast search, on a loopback UDP port with its own thread.
// Every well-formed request (8 bytes: int 1, int 0) is answered with each configured reply in
// turn, one datagram per reply; a reply holds one or more 40-byte records.
#include <netinet/in.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gateway_wire.h"
#include "wait.h"

namespace testsupport {

struct GatewayRecord {
    int32_t type = 2;
    std::string address = "127.0.0.1";  // dotted quad
    uint16_t port = 80;
    uint8_t kind = 1;
    uint8_t sub_kind = 0;
    std::string name;  // up to 28 bytes go into the record, as they are
};

// The 40-byte wire form of the records, one after another.
Bytes EncodeRecords(const std::vector<GatewayRecord>& records);

class SearchResponder {
public:
    SearchResponder();
    ~SearchResponder();
    SearchResponder(const SearchResponder&) = delete;
    SearchResponder& operator=(const SearchResponder&) = delete;

    uint16_t Port() const { return m_port; }

    void AddReply(const std::vector<GatewayRecord>& records) { AddRawReply(EncodeRecords(records)); }
    void AddRawReply(Bytes datagram);

    int Requests() const;                     // well-formed requests answered so far
    std::vector<std::string> Errors() const;  // malformed requests
    bool WaitForRequests(int count, uint32_t real_ms = kWaitLimitMs) const;

private:
    void Run();

    int m_fd = -1;
    uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    std::vector<Bytes> m_replies;
    int m_requests = 0;
    std::vector<std::string> m_errors;
    std::thread m_thread;
};

// Sends keep-alive datagrams (24 bytes, int 3 first) to a UDP port, on the loopback address
// unless another (a broadcast address, say) is given.
class KeepAliveSender {
public:
    explicit KeepAliveSender(uint16_t port, const std::string& address = "127.0.0.1");
    ~KeepAliveSender();
    KeepAliveSender(const KeepAliveSender&) = delete;
    KeepAliveSender& operator=(const KeepAliveSender&) = delete;

    bool Send();                       // one valid datagram
    bool SendRaw(const Bytes& bytes);  // anything else

private:
    int m_fd;
    sockaddr_in m_to;
};

}  // namespace testsupport
