#pragma once
// CSecurityPartition: the tablet's live model of one partition of the alarm
// system: its name, arming modes and zones, and the status its listener is
// told of while it is subscribed. CSecurityLists: the zone names of the
// security history. Nothing here draws; the tablet stores no code and
// checks none.
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "vistrel/home/security/securityreaders.h"

class CZVWindow;

// Sent to the partition's listener after every status answer.
inline constexpr int kSecurityStatusChanged = 11037;
// Sent by the keypad to its parent after a successful arm or disarm.
inline constexpr int kSecurityArmedOrDisarmed = 11038;
// The status word of a partition without an answer yet.
inline constexpr int32_t kSecurityUnknownStatus = kSecurityNoPanel;

class CSecurityPartition : public CSocketSink {
public:
    // A partition from a record (the empty one: no modes, status 0x100).
    CSecurityPartition(CZVServer& server, CSecurityRecord record);
    ~CSecurityPartition() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // Registers, subscribes and asks the status; nothing while a listener is set.
    void Subscribe(CZVWindow* listener);
    // 0 when not subscribed.
    int Unsubscribe();
    void RequestStatus();
    int IsSubscribed() const { return m_listener != nullptr; }

    CZVString GetName() const { return CZVString(m_record.name.c_str()); }
    int GetPartitionId() const { return m_record.partitionId; }
    int GetArea() const { return m_record.area; }
    int IsKeypadAllowed() const { return m_record.keypadAllowed; }
    int IsBypassAllowed() const { return m_record.bypassAllowed; }
    int32_t GetStatusWord() const { return m_statusWord; }

    int GetModeCount() const { return static_cast<int>(m_record.modes.size()); }
    int GetShownModeCount() const;
    // The index-th shown mode; null past them.
    const CSecurityMode* GetShownMode(int index) const;
    // The first mode of the value, shown or not; null when none has it.
    const CSecurityMode* FindMode(int value) const;
    // The shown index of the mode the status word names; -1 when none.
    int GetCurrentModeIndex() const;
    // Its name, or "Unknown".
    CZVString GetCurrentModeName() const;

    int GetStatusLineCount() const { return static_cast<int>(m_lines.size()); }
    // Empty for a bad index.
    CZVString GetStatusLine(int index) const;
    // The zones whose state has a bit of the mask, in zone order.
    std::vector<const CSecurityZone*> GetZonesByState(int32_t mask) const;

private:
    void SendSubscription();
    // Takes a whole status answer and tells the listener.
    void Apply(CSecurityStatus status);

    CSecurityRecord m_record;
    int32_t m_statusWord = kSecurityUnknownStatus;
    std::vector<std::string> m_lines;
    CZVWindow* m_listener = nullptr;
};

class CSecurityLists {
public:
    // Asks the area's lists (a blocking query); what could not be read stays empty.
    CSecurityLists(CZVServer& server, int area);

    // The zone's name, or "UNKNOWN".
    CZVString GetName(int key) const;

private:
    CSecurityNames m_names;
};
