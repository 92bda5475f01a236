#pragma once
// The message ids the remote monitor exchanges with a gateway and with the
// discovery service, beyond those the core's own connection uses.
#include <cstdint>

#include "core/messages/coremessages.h"

// The discovery service.
inline constexpr uint16_t ZVM_DISCOVERY_ERROR = 0x4650;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPQ = 0x4653;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPA = 0x4654;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPMANYQ = 0x466F;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPMANYA = 0x4670;
