#pragma once
// The source command {zone, code, argument, fourth} every tuner page sends
// under its zones page's sink id.
#include "vistrel/shell/audiosourcepage.h"

int SendTunerCommand(CAudioSourcePage* page, int code, int argument, int fourth);

// Codes of the source command that the tuner pages send.
enum : int {
    kSeekDownCode = 5005,
    kSeekUpCode = 5009,
    kTuneCode = 5013,
    kBandCode = 5014,
};
