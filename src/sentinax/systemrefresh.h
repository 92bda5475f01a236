#pragma once
// CSystemReading: the part of a system's refresh that reads a logged-in
// gateway into the system: the system information (is it the right one?),
// versions, pool configuration and status, chlorinator and error lists,
// turned into the system's readings and alarms. CSystem::Refresh connects
// and hands the link on; the reading changes the system only through its
// lock and its operations.
#include <cstdint>

class CBasinSetup;
class CGatewayLink;
class CSystem;

class CSystemReading {
public:
    explicit CSystemReading(CSystem& system) : m_system(system) {}

    // The status code the reading ends with.
    int Read(CGatewayLink& link);

private:
    // Each step answers whether its request was answered (and read whole).
    int ReadVersion(CGatewayLink& link, uint16_t& major, uint16_t& build);
    void TakeStatus(const CBasinSetup& model);
    bool ReadChlorinator(const CBasinSetup& model, CGatewayLink& link);
    void HoldFreezeAlarm(bool freezeNow);
    bool ReadErrorLists(CGatewayLink& link, int major);
    bool ReadErrorListOld(CGatewayLink& link, int major);
    bool ReadPumpErrors(CGatewayLink& link, int major);

    CSystem& m_system;
};
