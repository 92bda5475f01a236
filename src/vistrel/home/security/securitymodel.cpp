#include "vistrel/home/security/securitymodel.h"

#include <utility>

#include "core/messages/securitymessages.h"
#include "core/zvquery.h"
#include "widgets/window/zvwindow.h"

CSecurityPartition::CSecurityPartition(CZVServer& server, CSecurityRecord record)
    : CSocketSink(server), m_record(std::move(record)) {}

CSecurityPartition::~CSecurityPartition() { Unsubscribe(); }

void CSecurityPartition::Subscribe(CZVWindow* listener) {
    CZVServer* server = GetServer();
    if (m_listener || !listener || !server) return;
    m_listener = listener;
    server->RegisterSink(this);
    SendSubscription();
}

void CSecurityPartition::SendSubscription() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG subscribe(0, ZVM_SECURITY_SUBSCRIBE);
    subscribe.WriteInt(GetId());
    subscribe.WriteInt(m_record.partitionId);
    server->Send(&subscribe);
    RequestStatus();
}

int CSecurityPartition::Unsubscribe() {
    if (!m_listener) return 0;
    m_listener = nullptr;
    if (CZVServer* server = GetServer()) {
        CZVMSG unsubscribe(0, ZVM_SECURITY_UNSUBSCRIBE);
        unsubscribe.WriteInt(GetId());
        server->Send(&unsubscribe);
        server->UnregisterSink(this);
    }
    return 1;
}

void CSecurityPartition::RequestStatus() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_SECURITY_GETSTATUSQ);
    ask.WriteInt(m_record.partitionId);
    server->Send(&ask);
}

void CSecurityPartition::OnConnect(int connected) {
    if (connected && m_listener) SendSubscription();
}

void CSecurityPartition::OnMessage(CZVMSG* message) {
    if (!message) return;
    if (message->GetId() == ZVM_SECURITY_STATUSCHANGED) {
        RequestStatus();
        return;
    }
    if (message->GetId() != ZVM_SECURITY_GETSTATUSA) return;
    message->ResetPosition();
    CSecurityStatus status;
    // An answer cut short changes nothing: faulted zones never read as secure.
    if (ReadSecurityStatus(*message, &status)) Apply(std::move(status));
}

void CSecurityPartition::Apply(CSecurityStatus status) {
    m_lines = std::move(status.lines);
    for (CSecurityZone& zone : m_record.zones) zone.state = 0;
    for (const CSecurityZoneState& pair : status.zones)
        for (CSecurityZone& zone : m_record.zones)
            if (zone.zoneId == pair.zoneId) zone.state = pair.state;
    m_statusWord = status.statusWord;
    if (m_listener) m_listener->OnCommand(kSecurityStatusChanged);
}

int CSecurityPartition::GetShownModeCount() const {
    int count = 0;
    for (const CSecurityMode& mode : m_record.modes) count += mode.shown ? 1 : 0;
    return count;
}

const CSecurityMode* CSecurityPartition::GetShownMode(int index) const {
    if (index < 0) return nullptr;
    for (const CSecurityMode& mode : m_record.modes)
        if (mode.shown && index-- == 0) return &mode;
    return nullptr;
}

const CSecurityMode* CSecurityPartition::FindMode(int value) const {
    for (const CSecurityMode& mode : m_record.modes)
        if (mode.value == value) return &mode;
    return nullptr;
}

int CSecurityPartition::GetCurrentModeIndex() const {
    const int32_t value = SecurityModeValue(m_statusWord);
    int index = 0;
    for (const CSecurityMode& mode : m_record.modes) {
        if (!mode.shown) continue;
        if (mode.value == value) return index;
        ++index;
    }
    return -1;
}

CZVString CSecurityPartition::GetCurrentModeName() const {
    const CSecurityMode* mode = FindMode(SecurityModeValue(m_statusWord));
    return CZVString(mode ? mode->name.c_str() : "Unknown");
}

CZVString CSecurityPartition::GetStatusLine(int index) const {
    if (index < 0 || index >= GetStatusLineCount()) return CZVString("");
    return CZVString(m_lines[static_cast<size_t>(index)].c_str());
}

std::vector<const CSecurityZone*> CSecurityPartition::GetZonesByState(int32_t mask) const {
    std::vector<const CSecurityZone*> zones;
    for (const CSecurityZone& zone : m_record.zones)
        if (zone.state & mask) zones.push_back(&zone);
    return zones;
}

CSecurityLists::CSecurityLists(CZVServer& server, int area) {
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, ZVM_SECURITY_GETLISTSQ, area) || !answer) return;
    answer->ResetPosition();
    ReadSecurityNames(*answer, &m_names);
}

CZVString CSecurityLists::GetName(int key) const {
    for (const CSecurityName& name : m_names.zones)
        if (name.key == key) return CZVString(name.name.c_str());
    return CZVString("UNKNOWN");
}
