#pragma once
// The G.711 mu-law codec of the intercom and the gateway's streams.
#include <cstdint>

uint8_t EncodeMuLaw(int16_t sample);
int16_t DecodeMuLaw(uint8_t code);
