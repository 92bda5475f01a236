#pragma once
// The toolkit's road to the gateway: the connection of the style object,
// sends that do not wait, and the audio zone the tablet is bound to.
#include <cstdint>
#include <initializer_list>

class CZVServer;

// The audio zone the tablet is bound to (-1 when none), which the media
// pages supply; until then there is none.
using AudioZoneSource = int (*)();
AudioZoneSource SetAudioZoneSource(AudioZoneSource source);
int GetCurrentAudioZone();

// The style object's connection manager; null while there is none.
CZVServer* GetGatewayServer();
// The gateway connection is up.
bool IsGatewayConnected();

// Sends a message with the sender id and the ints through the style
// object's connection; 0 when it could not.
int SendToGateway(uint16_t id, std::initializer_list<int32_t> values, uint16_t sender = 0);
