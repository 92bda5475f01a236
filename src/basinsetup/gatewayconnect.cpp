#include "basinsetup/gatewayconnect.h"

#include "platform/socket.h"

int ConnectDirect(CZVServer& server, uint32_t address, uint16_t port) {
    server.Disconnect();
    const sockaddr_in endpoint = platform::MakeAddress(address, port);
    server.SetGatewayAddress(endpoint);
    server.SetReconnect(1);
    if (!server.GetSocket()->Connect(endpoint, 1, platform::kNoSocket, -1, nullptr))
        return 0;
    server.SetChanged();
    return 1;
}

int ConnectByName(CZVServer& server, const std::string& systemName, const std::string& password) {
    (void)systemName, (void)password;
    server.Disconnect();
    return 0;
}
