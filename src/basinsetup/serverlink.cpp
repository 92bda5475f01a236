#include "basinsetup/serverlink.h"

#include "core/zvquery.h"

int CServerLink::Send(CZVMSG& message) { return server_.Send(&message); }

std::unique_ptr<CZVMSG> CServerLink::Ask(CZVMSG& request, uint32_t timeoutMs) {
    CZVQuery query(server_);
    query.SetTimeout(timeoutMs);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || !answer)
        return nullptr;
    return answer->Clone();
}
