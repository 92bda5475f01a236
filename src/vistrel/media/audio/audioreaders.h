#pragma once
// Readers of the gateway's answers about an audio zone's volume and the
// levels and modes of its audio objects. Each reads from the message's
// start and stops at the first value missing.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

// Zone settings: the level and the mute flag. 0 when cut short.
int ReadZoneSettings(CZVMSG& message, int32_t* level, int32_t* muted);

// A control answer or change, {object id, n, n x {level index, value}}: the
// value of the first pair of that level index for that object. 0 for
// another object or without such a pair among those that could be read.
int ReadControlValue(CZVMSG& message, int32_t objectId, int32_t levelIndex, int32_t* value);

// A mode list, {object id, group, n, n x name}, for that object and group.
// 0 for another object or group; the names that could be read are kept.
int ReadModeNames(CZVMSG& message, int32_t objectId, int32_t group, std::vector<std::string>* names);
