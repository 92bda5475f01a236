#include "widgets/window/gateway.h"

#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "widgets/style/setserver.h"

namespace {

AudioZoneSource g_audioZone = nullptr;

}  // namespace

AudioZoneSource SetAudioZoneSource(AudioZoneSource source) {
    AudioZoneSource previous = g_audioZone;
    g_audioZone = source;
    return previous;
}

int GetCurrentAudioZone() { return g_audioZone ? g_audioZone() : -1; }

CZVServer* GetGatewayServer() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetServer() : nullptr;
}

bool IsGatewayConnected() {
    CZVServer* server = GetGatewayServer();
    return server && server->IsConnected();
}

int SendToGateway(uint16_t id, std::initializer_list<int32_t> values, uint16_t sender) {
    CZVServer* server = GetGatewayServer();
    if (!server) return 0;
    CZVMSG message(sender, id);
    for (int32_t v : values) message.WriteInt(v);
    return server->Send(&message);
}
