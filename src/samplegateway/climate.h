#pragma once
// The sample house's climate zones as they run: the set points, hold, system and fan modes a
// client changes, each change pushed as the zone's status to every subscribed sink; and each
// zone's history and its summary for any range a client asks for.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's zone statuses.
void ServeClimate(Gateway& gateway, const House& house);

}  // namespace samplegateway
