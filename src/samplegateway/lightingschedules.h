#pragma once
// The sample house's lighting schedules as they run: each schedule's events
// and each event's commands, which clients retime, add to and remove from.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's events, commands, keypads and switches.
void ServeLightingSchedules(Gateway& gateway, const House& house);

}  // namespace samplegateway
