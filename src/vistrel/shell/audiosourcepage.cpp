#include "vistrel/shell/audiosourcepage.h"

#include "core/messages/mediamessages.h"
#include "widgets/window/gateway.h"

CAudioSourcePage::CAudioSourcePage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass)
    : CZVWindow(parent, rect, styleClass), m_owner(owner) {}

int CAudioSourcePage::GetOwnerSinkId() const { return m_owner ? m_owner->GetSourceSinkId() : 0; }

int CAudioSourcePage::GetZone() const { return GetCurrentAudioZone(); }

int CAudioSourcePage::SendLibraryCommand(int a, int b, int c, int d) {
    if (a == kNoValue || b == kNoValue || c == kNoValue) return 0;
    return SendToGateway(ZVM_AUDIO_LIBRARYCOMMAND, {GetZone(), a, b, c, d});
}

int CAudioSourcePage::SendPlayCommand(int a, int b, int c, int d, int e) {
    const int source = m_owner ? m_owner->GetSelectedSourceId() : -1;
    return SendToGateway(ZVM_AUDIO_LIBRARYCOMMANDEX, {GetZone(), a, b, c, d, e, source});
}

int CAudioSourcePage::RequestSourceStatus() {
    return SendToGateway(ZVM_AUDIO_GETSOURCESTATUSQ, {GetZone()}, static_cast<uint16_t>(GetOwnerSinkId()));
}
