#include "vistrel/media/phone/callinprogress.h"

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/phonestatus.h"

namespace {

std::string OrUnknown(const std::string& text) { return text.empty() ? "Unknown" : text; }

// A call's audio announcement (a word, then the format): the player starts on it at its volume.
// False, and nothing played, when the message is short.
bool PlayCallAudio(CZVMSG& message) {
    int32_t unused = 0;
    platform::WaveFormat format;
    if (!message.ReadInt(unused) || !ReadWaveFormat(message, &format)) return false;
    if (g_audioplayer) g_audioplayer->Play(&format, g_audioplayer->GetVolume());
    return true;
}

}  // namespace

void CCallInProgress::Ask(CZVServer& server) {
    // A failed query reads as empty.
    CZVQuery query(server);
    m_number.clear();
    m_name.clear();
    query.QueryString(m_number, ZVM_PHONE_GETCALLERNUMBERQ);
    query.QueryString(m_name, ZVM_PHONE_GETCALLERNAMEQ);
    if (!m_number.empty() || !m_name.empty()) m_state |= m_callerShown;
}

CCallInProgress::Notice CCallInProgress::Read(CZVMSG& message, CZVWindow* page) {
    switch (message.GetId()) {
    case ZVM_PHONE_INCOMINGCALL:
        if (!InputBlocked(page)) ResubscribeMessaging(page);
        return Notice::kNothingNew;
    case ZVM_PHONE_CALLERID:
        if (!message.ReadString(m_number) || !message.ReadString(m_name)) return Notice::kNothingNew;
        m_state |= m_callerShown;
        return Notice::kCaller;
    case ZVM_PHONE_CALLAUDIO:
        if (!PlayCallAudio(message)) return Notice::kNothingNew;
        m_state |= m_callAudio;
        return Notice::kAudio;
    default: return Notice::kOther;
    }
}

std::string CCallInProgress::CallerText() const { return OrUnknown(m_name) + " (" + OrUnknown(m_number) + ")"; }
