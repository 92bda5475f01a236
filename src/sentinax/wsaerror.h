#pragma once
// The monitor reports socket failures with fixed error numbers and texts
// ("Error #10061 in connect(): Connection refused."), the same on every
// machine, so that service staff and their notes recognise a failure by its
// number. Linux's errno values are mapped onto those numbers here.
#include <string>

// The socket library's number for an errno value; 0 for none. An errno
// without a counterpart stays as it is and reads as "Unknown.".
int WsaErrorCode(int errnoValue);
// A host name that does not resolve.
inline constexpr int kWsaHostNotFound = 11001;
// The short text of a code, ending in "."; "Unknown." for a code without one.
std::string WsaErrorText(int code);
// The text of the calling thread's last socket error (errno); its code goes
// to `code` when given.
std::string LastWsaErrorText(int* code = nullptr);
