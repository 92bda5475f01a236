#pragma once
// The narrow road from the pool model and the system records to the gateway:
// a fire-and-forget send and a blocking request. CServerLink carries it over
// the connection manager; tests script it.
#include <cstdint>
#include <memory>

#include "core/zvmsg.h"

// Default wait of a blocking request, in milliseconds.
inline constexpr uint32_t kDefaultQueryTimeout = 5000;

class CGatewayLink {
public:
    virtual ~CGatewayLink() = default;

    // Sends without waiting; 1 when the message went to the connection, else 0.
    virtual int Send(CZVMSG& message) = 0;

    // Sends the request and waits up to timeoutMs for its answer (message id =
    // request id + 1). Returns the answer, read position at its start, or null
    // on time-out, lost connection or any other reply.
    virtual std::unique_ptr<CZVMSG> Ask(CZVMSG& request, uint32_t timeoutMs) = 0;
};
