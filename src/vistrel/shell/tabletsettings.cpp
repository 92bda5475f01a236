#include "vistrel/shell/tabletsettings.h"

#include "core/messages/shellmessages.h"
#include "core/zvquery.h"

namespace {

// The first of the four flags that is set picks 0, 25, 75 or 100; none picks the default.
int VolumeOf(int flags, int firstFlag) {
    static constexpr int kLevels[] = {0, 25, 75, 100};
    for (int i = 0; i < 4; ++i)
        if (flags & (firstFlag << i)) return kLevels[i];
    return CTabletSettings::kDefaultVolume;
}

}  // namespace

int CTabletSettings::Load(CZVServer& server) {
    CZVQuery query(server);
    query.SetTimeout(kLoadTimeout);
    CZVMSG request(0, ZVM_TABLET_GETPOWERSETTINGSQ);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) && Read(answer);
}

int CTabletSettings::Read(CZVMSG* message) {
    if (!message) return 0;
    message->ResetPosition();
    int32_t values[9];
    for (int32_t& value : values)
        if (!message->ReadInt(value)) return 0;
    m_saverAc = static_cast<uint32_t>(values[0]);
    m_saverBattery = static_cast<uint32_t>(values[1]);
    m_displayOffAc = static_cast<uint32_t>(values[2]);
    m_displayOffBattery = static_cast<uint32_t>(values[3]);
    m_slideTransition = values[4];
    m_slideButtons = values[6];
    m_slideInterval = static_cast<uint32_t>(values[7]);
    m_flags = values[8];
    m_loaded = 1;
    return 1;
}

uint32_t CTabletSettings::GetSaverStart(bool onAc) const { return onAc ? m_saverAc : m_saverBattery - kBatteryWarning; }

int CTabletSettings::GetClickVolume() const { return VolumeOf(m_flags, 0x800); }

int CTabletSettings::GetAlertVolume() const { return VolumeOf(m_flags, 0x8000); }
