#include "vistrel/home/irrigation/irrigationmodel.h"

#include "core/messages/irrigationmessages.h"
#include "core/zvquery.h"
#include "platform/clock.h"

int IrrigationQuery(CZVServer& server, uint16_t id, std::initializer_list<int32_t> values) {
    CZVQuery query(server, 0);
    CZVMSG request(0, id);
    for (int32_t value : values) request.WriteInt(value);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) ? 1 : 0;
}

void CIrrigationProgram::Commit() {
    if (!m_server) return;
    QACacheClear(*m_server);
    IrrigationQuery(*m_server, ZVM_IRRIGATION_SETSTARTTIMEQ, {m_id, m_timeType, m_timeValue});
}

CSeasonalAdjust::CSeasonalAdjust(CZVServer& server) : CSocketSink(server) {
    server.RegisterSink(this);
    CZVMSG request(GetId(), ZVM_IRRIGATION_GETSEASONALQ);
    server.Send(&request);
}

CSeasonalAdjust::~CSeasonalAdjust() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CSeasonalAdjust::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_IRRIGATION_GETSEASONALA) return;
    message->ResetPosition();
    if (ReadSeasonalPercents(*message, &m_percents)) m_loaded = 1;
}

int CSeasonalAdjust::WaitLoaded() {
    CZVServer* server = GetServer();
    const uint32_t start = platform::GetTickCount();
    while (!m_loaded && server && platform::TicksSince(start) < kLoadTimeout) {
        server->PollAll();
        platform::Sleep(kLoadPause);
    }
    return m_loaded;
}

int CSeasonalAdjust::GetPercent(int month) const {
    return IsMonth(month) ? m_percents[static_cast<size_t>(month - 1)] : 0;
}

int CSeasonalAdjust::SetPercent(int month, int percent) {
    CZVServer* server = GetServer();
    if (!IsMonth(month) || !server) return 0;
    if (!IrrigationQuery(*server, ZVM_IRRIGATION_SETSEASONALQ, {month, percent})) return 0;
    m_percents[static_cast<size_t>(month - 1)] = static_cast<uint8_t>(percent);
    return 1;
}
