#pragma once
// The discovery service on a loopback port: it reads gateway frames, records them, and answers
// a lookup (0x4653) and a batch lookup (0x466F) from its table of known gateways; a script entry
// replaces the answer for a request id. Several requests may come on one connection.
//
//   testsupport::FakeDiscovery discovery;
//   discovery.Know({"Brenvik: 01-23-45", "127.0.0.1", 4500});
//   config.port = discovery.Port();
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "gateway_wire.h"
#include "loopback_server.h"

namespace testsupport {

constexpr uint16_t kDiscoveryError = 0x4650;
constexpr uint16_t kDiscoveryLookup = 0x4653;
constexpr uint16_t kDiscoveryLookupAnswer = 0x4654;
constexpr uint16_t kDiscoveryLookupMany = 0x466F;
constexpr uint16_t kDiscoveryLookupManyAnswer = 0x4670;

// What the service knows of one gateway.
struct DiscoveryRecord {
    std::string name;
    std::string address;
    uint16_t port = 0;
    bool portOpen = true;
    bool relayMode = false;
    bool posting = true;
    uint16_t year = 2010;
    uint8_t month = 1, day = 2, hour = 3, minute = 4, second = 5;
};

// The payloads of the service's answers. A lookup answer of the older form ends after the
// relay-mode byte; `record` null gives the not-found answer.
Bytes DiscoveryLookupPayload(const DiscoveryRecord* record, bool stamped = true);
Bytes DiscoveryBatchPayload(const std::vector<DiscoveryRecord>& records);

class FakeDiscovery : public LoopbackServer {
public:
    // What a script entry does with a request.
    struct Reply {
        Bytes bytes;         // written as they are (wire images of frames, or anything)
        bool close = false;  // close the connection after writing
    };
    using Handler = std::function<Reply(const Frame& request)>;

    FakeDiscovery();
    ~FakeDiscovery() override;

    void Know(const DiscoveryRecord& record);
    void On(uint16_t request_id, Handler handler);
    std::vector<Frame> Requests() const;

private:
    void Serve(int fd) override;
    Reply Answer(const Frame& request);

    mutable std::mutex m_mutex;
    std::vector<DiscoveryRecord> m_known;
    std::map<uint16_t, Handler> m_script;
    std::vector<Frame> m_requests;
};

}  // namespace testsupport
