#pragma once
// The sample house's irrigation controller as it runs: plant groups and their
// watering days, programs and their start times, the zones' base and manual
// run times, the seasonal percentages, the system mode and the watering
// history. It keeps what clients write.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's groups, programs, zones, percentages and status.
void ServeIrrigation(Gateway& gateway, const House& house);

}  // namespace samplegateway
