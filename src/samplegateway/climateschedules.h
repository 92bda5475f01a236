#pragma once
// The sample house's climate programs as a client edits them: a zone's weekly programs that it
// stores, the shared schedule a zone follows or leaves (seen in the zone's next information),
// and the shared schedules' set points, each change pushed to the clients that subscribed to
// the shared schedules.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's programs and shared schedules.
void ServeClimateSchedules(Gateway& gateway, const House& house);

}  // namespace samplegateway
