#pragma once
// The sample house's pool equipment as it runs: the salt chlorinator, whose
// outputs and super-chlorination clients set, and two variable-speed pumps,
// whose presets clients change. Each answer reports what was last written.
#include <cstdint>

namespace samplegateway {

class Gateway;
class House;

// The equipment flags that show it: the chlorinator (bit 2) and pumps 0 and 1
// (bits 4 and 5), beside the house file's heat pump (bit 1) and colour lights (bit 3).
inline constexpr int64_t kSampleEquipment = 0x3E;

void ServePoolEquipment(Gateway& gateway, const House& house);

}  // namespace samplegateway
