#include "vistrel/media/tuner/tunersend.h"

#include "core/messages/mediamessages.h"
#include "widgets/window/gateway.h"

int SendTunerCommand(CAudioSourcePage* page, int code, int argument, int fourth) {
    return SendToGateway(ZVM_AUDIO_SOURCECOMMAND, {page->GetZone(), code, argument, fourth},
                         static_cast<uint16_t>(page->GetOwnerSinkId()));
}
