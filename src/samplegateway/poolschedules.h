#pragma once
// The sample house's pool programs and egg timers as they run: the programs
// of both schedule types, which clients add, delete and change, and the
// circuits' run times, each change of which every client sink is told.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's program lists and circuit configuration.
void ServePoolSchedules(Gateway& gateway, const House& house);

}  // namespace samplegateway
