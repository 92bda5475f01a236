#include "sentinax/statuscode.h"

namespace {

struct StatusRow {
    int code;
    const char* text;
};

constexpr StatusRow kStatusTexts[] = {
    {kStatusNotConnected, "Not Currently Connected"},
    {kStatusConnected, "Connected OK"},
    {kStatusSynchronizing, "Connected OK (Synchronizing)"},
    {kStatusServiceMode, "Connected OK (Service Mode)"},
    {kStatusNotPosting, "Not Posting"},
    {kStatusRelayNotFound, "Relay not found"},
    {kStatusCannotConnect, "Cannot Connect"},
    {kStatusLoginRefused, "Login Refused"},
    {kStatusSystemMismatch, "Discovery System Mismatch"},
    {kStatusLoginFailed, "Login Failed"},
    {kStatusNoConfiguration, "Error getting Equipment Configuration"},
    {kStatusNoStatus, "Error getting System Status"},
    {kStatusNoChlorinator, "Error getting Chlorinator Status"},
    {kStatusNoWarnings, "Error getting System Warnings"},
};

}  // namespace

std::string GetStatusText(int code) {
    for (const StatusRow& row : kStatusTexts) {
        if (row.code == code)
            return row.text;
    }
    return "Working";
}

bool IsConnectedStatus(int code) {
    return code == kStatusConnected || code == kStatusSynchronizing || code == kStatusServiceMode;
}
