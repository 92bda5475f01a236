#pragma once
// The code every refresh of a customer system ends with, and the text the
// system list shows for it.
#include <string>

enum StatusCode {
    kStatusNotConnected = 1,
    kStatusConnected = 2,
    kStatusSynchronizing = 3,
    kStatusServiceMode = 4,
    kStatusWorking = 5,
    // A lookup slot or the connection pacing said no; never stored, the
    // attempt is repeated at once.
    kStatusRetry = 6,
    kStatusNotPosting = 10,
    kStatusRelayNotFound = 11,
    kStatusCannotConnect = 12,
    kStatusLoginRefused = 13,
    kStatusSystemMismatch = 14,
    kStatusLoginFailed = 15,
    kStatusNoConfiguration = 16,
    kStatusNoStatus = 17,
    kStatusNoChlorinator = 18,
    kStatusNoWarnings = 19,
};

// "Working" for any code without a text of its own.
std::string GetStatusText(int code);

// Codes 2, 3 and 4: the refresh reached the gateway and read it.
bool IsConnectedStatus(int code);
