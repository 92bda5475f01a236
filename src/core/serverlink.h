#pragma once
// The pool model's and the system records' road over a live connection
// manager: sends go straight to the connection, requests run as blocking
// queries on it.
#include <cstdint>
#include <memory>

#include "core/gatewaylink.h"
#include "core/statussink.h"
#include "core/zvserver.h"

class CServerLink : public CGatewayLink {
public:
    // useCache lets requests be answered from the manager's answer cache,
    // while it has one. `status`, when given, may cancel a request's wait.
    explicit CServerLink(CZVServer& server, int useCache = 0, CStatusSink* status = nullptr)
        : m_server(server), m_useCache(useCache), m_status(status) {}

    int Send(CZVMSG& message) override;
    std::unique_ptr<CZVMSG> Ask(CZVMSG& request, uint32_t timeoutMs) override;

private:
    CZVServer& m_server;
    int m_useCache;
    CStatusSink* m_status;
};
