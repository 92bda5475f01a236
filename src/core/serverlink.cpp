#include "core/serverlink.h"

#include "core/zvquery.h"

int CServerLink::Send(CZVMSG& message) { return m_server.Send(&message); }

std::unique_ptr<CZVMSG> CServerLink::Ask(CZVMSG& request, uint32_t timeoutMs) {
    CZVQuery query(m_server, m_useCache);
    query.SetTimeout(timeoutMs);
    CZVMSG* answer = nullptr;
    if (!query.Send(&request) || !query.Wait(&answer, m_status))
        return nullptr;
    // The query owns its answer only while it lives; a fresh copy reads from its start.
    return answer->Clone();
}
