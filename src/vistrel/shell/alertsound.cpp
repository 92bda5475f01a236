#include "vistrel/shell/alertsound.h"

#include "platform/clock.h"
#include "widgets/style/setserver.h"
#include "av/soundclip.h"

void CAlertSound::Play(const std::string& name) {
    if (CSetServer* style = CSetServer::Get())
        if (CSoundClip* clip = style->GetSound(CZVString(name.c_str()))) clip->Play(1);
}

void CAlertSound::Start(const std::string& name, int repeats, int interval) {
    m_name = name;
    m_repeats = repeats;
    m_interval = interval > 0 ? interval : 0;
    m_played = 0;
    m_tick = platform::GetTickCount();
    if (repeats > 0) Play(name);
}

void CAlertSound::Step() {
    if (m_played >= m_repeats || platform::TicksSince(m_tick) <= static_cast<uint32_t>(m_interval)) return;
    Play(m_name);
    ++m_played;
    m_tick = platform::GetTickCount();
}

void CAlertSound::Clear() {
    m_name.clear();
    m_repeats = m_played = m_interval = 0;
}
