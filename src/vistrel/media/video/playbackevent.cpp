#include "vistrel/media/video/playbackevent.h"

#include <utility>

bool ReadPlaybackEvent(CZVMSG& message, CPlaybackEvent* event) {
    CPlaybackEvent read;
    if (!message.ReadInt(read.kind) || !message.ReadTime(read.time) || !message.ReadString(read.text)) return false;
    *event = std::move(read);
    return true;
}
