#pragma once
// CSystemRecord: what the monitor knows of one customer system, as plain
// data: what the service company entered (contact data, adapter name and
// password, recipients and which alarm categories are mailed), what the last
// refresh read, and the flags and ticks that schedule refreshes and
// discovery lookups. CSystem guards a live one; a copy (a snapshot, a
// history record) belongs to its holder alone.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvtime.h"
#include "sentinax/systemerror.h"

// A reading of the pool model that was not read.
inline constexpr int32_t kNotRead = 255;
// A pump's state runs from 1 up; kNotRead is no state at all.
inline bool IsPumpRunning(int32_t state) { return state >= 1 && state < kNotRead; }

struct CSystemRecord {
    // Scheduling and lookup.
    int32_t neverConnected = 1;
    int32_t refreshRequested = 1;
    int32_t lookupRequested = 0;
    int32_t firstPoll = 1;
    uint32_t lastRefreshTick = 0;
    std::string cachedAddress;
    uint16_t cachedPort = 0;
    int32_t slotBusy = 0;
    uint32_t lastLookupTick = 0;
    int32_t connectStatus = 0;
    int32_t status = 0;
    int32_t failureCount = 0;
    int32_t loginRejected = 0;
    std::string statusText = "Not Connected";
    int32_t statusChanged = 0;

    // Entered by the user.
    std::string name = "New System";
    std::string adapterName;
    std::string adapterVersion;
    int32_t majorVersion = 0;
    std::string password;
    std::string notes;
    std::string address;
    std::string city;
    std::string reservedText;
    std::string zip;
    std::string phone;
    std::vector<std::string> emailList;
    int32_t includeDefaultEmail = 1;
    std::string modelName = "UNKNOWN";
    std::string firmwareVersion = "UNKNOWN";
    int32_t notifySystemErrors = 1;
    int32_t notifyPumpErrors = 1;
    int32_t notifyChlorinator = 0;
    int32_t notifyChemistry = 0;
    int32_t notifyHeatPump = 0;
    int32_t notifyFreeze = 1;

    // Read by the refresh.
    int32_t freezeActive = 0;
    uint32_t freezeStartTick = 0;
    int32_t airTemperature = kNotRead;
    std::vector<CSystemError> alarms;
    std::vector<CSystemError> warnings;
    uint32_t equipmentFlags = 0;
    int32_t spaSideRemote = kNotRead;
    int32_t poolPump = kNotRead;
    int32_t poolSetPoint = kNotRead;
    int32_t poolTemperature = kNotRead;
    // Not read until the first pool status; history records of earlier
    // failed refreshes carry the not-read mark.
    int32_t poolHeatMode = kNotRead;
    std::string poolHeatModeText = "-";
    int32_t poolChlorineOutput = kNotRead;
    int32_t poolHeatStatus = 0;
    int32_t spaPump = kNotRead;
    int32_t spaSetPoint = kNotRead;
    int32_t spaTemperature = kNotRead;
    int32_t spaHeatMode = kNotRead;
    std::string spaHeatModeText = "-";
    int32_t spaChlorineOutput = kNotRead;
    int32_t spaHeatStatus = 0;
    std::string chlorinatorModel;
    int32_t chlorinatorPresent = 0;
    int32_t chlorinatorStatus = 0;  // bit 0: communicating
    int32_t chlorinatorErrors = 0;
    int32_t saltLevel = 0;          // units of 50 ppm
    int32_t lightsTotal = 0;
    int32_t lightsOn = 0;
    int32_t phValue = 0;            // pH x 100
    int32_t orpValue = 0;
    int32_t saturationIndex = 0;    // x 100
    int32_t chemistryValue4 = 0;
    int32_t acidTankLevel = 0;
    int32_t chlorineTankLevel = 0;
    CZVTime reportTime;
    // The location the gateway keeps (ten-thousandths of a degree; longitude
    // west positive), once a refresh has read it.
    int32_t locationKnown = 0;
    int32_t latitude = 0;
    int32_t longitude = 0;
};
