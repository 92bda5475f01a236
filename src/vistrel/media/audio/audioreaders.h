#pragma once
// Readers of the gateway's answers about the audio zones (their list, a
// zone's state, the zones' icons), a zone's volume and the levels and modes
// of its audio objects. Each reads from the message's start and stops at the
// first value missing.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "vistrel/media/audio/auddata.h"

// The zone list, {preview flag, n, n x zone}: at most maxZones zones. false
// when a zone is cut or the message is too short for the count sent.
bool ReadZoneList(CZVMSG& message, int32_t maxZones, int32_t* preview, std::vector<std::unique_ptr<CAudioZone>>* zones);

// A zone's state: the source that plays, its kind word and sub id, the
// selector's detail and the source's path list.
struct CZoneState {
    int32_t source = 0;
    int32_t kind = 0;
    int32_t subId = 0;
    int32_t detail = 0;
    CAudDataList path;
};
// 0 when the four numbers ahead of the path could not be read.
int ReadZoneState(CZVMSG& message, CZoneState* state);

// One entry of the zones' icons answer.
struct CZoneIcon {
    int32_t zoneId = 0;
    std::string icon;
};
// The zones' icons, {n, n x {zone id, icon name}}: those that could be read.
std::vector<CZoneIcon> ReadZoneIcons(CZVMSG& message);

// Zone settings: the level and the mute flag. 0 when cut short.
int ReadZoneSettings(CZVMSG& message, int32_t* level, int32_t* muted);

// A control answer or change, {object id, n, n x {level index, value}}: the
// value of the first pair of that level index for that object. 0 for
// another object or without such a pair among those that could be read.
int ReadControlValue(CZVMSG& message, int32_t objectId, int32_t levelIndex, int32_t* value);

// A mode list, {object id, group, n, n x name}, for that object and group.
// 0 for another object or group; the names that could be read are kept.
int ReadModeNames(CZVMSG& message, int32_t objectId, int32_t group, std::vector<std::string>* names);
