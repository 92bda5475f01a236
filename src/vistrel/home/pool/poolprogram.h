#pragma once
// A program of the pool controller as the gateway sends and takes it, the
// reader of the program list, and the texts and steps of its values.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

class CBasinSetup;

struct CPoolProgram {
    static constexpr int32_t kHeatSetPointFlag = 0x02;
    static constexpr int32_t kSmartStartFlag = 0x04;
    static constexpr int32_t kDontChangeHeat = 4;
    static constexpr int32_t kEveryDay = 0x7F;

    int32_t programId = 0;
    int32_t circuitId = 0;
    int32_t start = 0;  // minute of the day
    int32_t stop = 0;
    int32_t dayMask = 0;  // bit 0 Monday ... bit 6 Sunday
    int32_t flags = 0;
    int32_t heatCommand = 0;  // heat mode 0..3, or 4: leave it
    int32_t setPoint = 0;
};

// ZVM_POOL_GETSCHEDULESA: the count, then the programs; reading stops at the
// first program that is not whole. 1 when every counted program was read.
int ReadPoolPrograms(CZVMSG& message, std::vector<CPoolProgram>* out);
void WritePoolProgram(CZVMSG& message, const CPoolProgram& program);

// The programs in the model's circuit order, each circuit's in the order
// given; programs of circuits the model lacks are dropped, and the program
// with lastId goes last.
std::vector<CPoolProgram> OrderPoolPrograms(const CBasinSetup& model, const std::vector<CPoolProgram>& programs,
                                            int32_t lastId);

// (minute +/- step) wrapped into the day.
int StepMinute(int minute, int up, int step);
// "None", "Every Day", or the short names of the days from Monday on.
std::string DaysText(int32_t mask);
// The heat column: empty unless the circuit is the pool or the spa; the heat
// mode's text, the set point's, or both as "mode:set point".
std::string HeatCommandText(const CBasinSetup& model, const CPoolProgram& program);
