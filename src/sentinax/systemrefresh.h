#pragma once
// CSystemReading: the part of a system's refresh that reads a logged-in
// gateway into the system: the system information (is it the right one?),
// versions, pool configuration and status, chlorinator and error lists,
// turned into the system's readings and alarms. CSystem::Refresh connects
// and hands the link on; the reading changes the system only through its
// lock and its operations.
#include <cstdint>
#include <functional>

class CBasinSetup;
class CGatewayLink;
class CSystem;
class CZVMSG;

// The entries of the older error list, after its count: each an i32 flag
// (from adapter major 4 on; before, every entry is set) and a text, which
// adapters from major 5 leave out for a clear flag. onFlag(k) for each set
// flag; false when the list is cut short.
bool ReadOldErrorEntries(CZVMSG& answer, int major, const std::function<void(int32_t)>& onFlag);

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
