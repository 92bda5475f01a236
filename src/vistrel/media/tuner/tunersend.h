#pragma once
// The two requests every tuner page sends under its zones page's sink id:
// the source's status, and a source command {zone, code, argument, fourth}.
#include "vistrel/shell/audiosourcepage.h"

int RequestTunerStatus(CAudioSourcePage* page);
int SendTunerCommand(CAudioSourcePage* page, int code, int argument, int fourth);

// Codes of the source command that the tuner pages send.
enum : int {
    kSeekDownCode = 5005,
    kSeekUpCode = 5009,
    kTuneCode = 5013,
    kBandCode = 5014,
};
