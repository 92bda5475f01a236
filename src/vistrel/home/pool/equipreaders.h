#pragma once
// Readers of the answers the pool page's Equipment tab asks for, into plain
// values; each returns 1 when every value was there and leaves *out alone
// otherwise.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

// ZVM_POOL_GETCHLORINATORA: the salt chlorinator's state and settings.
struct CChlorinatorStatus {
    int32_t installed = 0;
    int32_t communicationsOk = 0;
    int32_t poolOutput = 0;  // percent
    int32_t spaOutput = 0;   // percent
    int32_t saltLevel = 0;   // ppm / 50
    int32_t alarms = 0;      // bits 0..5
    int32_t superHours = 0;  // super-chlorination left; 0 = off
};
int ReadChlorinatorStatus(CZVMSG& message, CChlorinatorStatus* out);

// ZVM_POOL_GETERRORSA: the controller's error list, each entry flagged when
// the error stands.
struct CPoolErrorEntry {
    int32_t flag = 0;
    std::string text;
};
int ReadPoolErrors(CZVMSG& message, std::vector<CPoolErrorEntry>* out);

// ZVM_POOL_GETPUMPA: one variable-speed pump's state and its presets.
struct CPumpPreset {
    int32_t deviceId = 0;  // the circuit's; 0 = free slot
    int32_t value = 0;     // RPM or GPM
};
struct CPumpStatus {
    static constexpr int32_t kNoFlow = 255;  // speed controlled: no flow reading
    static constexpr int kPresets = 8;
    int32_t running = 0;
    int32_t watts = 0;
    int32_t rpm = 0;
    int32_t alarms = 0;
    int32_t gpm = 0;
    int32_t filter = 0;  // percent
    std::array<CPumpPreset, kPresets> presets{};
};
int ReadPumpStatus(CZVMSG& message, CPumpStatus* out);
