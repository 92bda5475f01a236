#pragma once
// Bits of the configuration bytes, and dotted IPv4 addresses as the dialogs
// read them from users, command lines and server replies.
#include <cstdint>
#include <string>

// 1 when the bit (0 to 7) is set in the byte; 0 for any other bit number.
int GetBit(uint8_t byte, int bit);
// Sets or clears the bit (0 to 7); other bit numbers change nothing.
void SetBit(uint8_t& byte, int bit, int on);

// "a.b.c.d": up to four decimal numbers separated by dots, the first in the
// lowest byte, so that the value's memory order is the network order. Missing
// numbers are 0 ("10.0.7" gives 10, 0, 7, 0) and anything after a fourth dot
// is ignored. A number above 255, a sign or a stray character makes the whole
// address 0, which no caller takes for a gateway.
uint32_t ParseDottedQuad(const std::string& text);

// "a.b.c.d[:port]" with the port 80 when none is given. 1 with both outputs
// written; 0, with neither touched, when the address is 0 or the port is not
// a number from 1 to 65535.
int ParseHostPort(const std::string& text, uint32_t& address, uint16_t& port);
