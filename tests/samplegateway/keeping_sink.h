#pragma once
// A sink of the tests' connection manager that keeps every message reaching its id.
#include <algorithm>
#include <iterator>
#include <vector>

#include "core/zvserver.h"
#include "samplegateway/wire.h"

namespace samplegatewaytest {

struct Received {
    uint16_t id;
    samplegateway::Bytes payload;
};

// Keeps every message that reaches its sink id, with its payload.
class KeepingSink : public CSocketSink {
public:
    explicit KeepingSink(CZVServer& server) : CSocketSink(server) { server.RegisterSink(this); }
    ~KeepingSink() override { GetServer()->UnregisterSink(this); }
    void OnMessage(CZVMSG* message) override {
        const uint8_t* data = message->GetData();
        received.push_back({message->GetId(), samplegateway::Bytes(data, data + message->GetLength())});
    }
    std::vector<Received> Of(uint16_t id) const {
        std::vector<Received> of;
        std::copy_if(received.begin(), received.end(), std::back_inserter(of),
                     [id](const Received& r) { return r.id == id; });
        return of;
    }
    std::vector<Received> received;
};

}  // namespace samplegatewaytest
