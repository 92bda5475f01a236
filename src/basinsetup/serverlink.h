#pragma once
// The pool model's road to the gateway over the program's connection
// manager: sends go straight out, requests run as blocking queries.
#include "core/gatewaylink.h"
#include "core/zvserver.h"

class CServerLink : public CGatewayLink {
public:
    explicit CServerLink(CZVServer& server) : server_(server) {}

    int Send(CZVMSG& message) override;
    std::unique_ptr<CZVMSG> Ask(CZVMSG& request, uint32_t timeoutMs) override;

private:
    CZVServer& server_;
};
