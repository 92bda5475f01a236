#pragma once
// A recorder stream's playback event: the kind of playback that runs, the
// time it has reached and the text of the recorded event that plays.
#include <cstdint>
#include <string>

#include "core/zvmsg.h"
#include "core/zvtime.h"

struct CPlaybackEvent {
    // A kind below 0 keeps the kind the page last had (a seek reports only its time).
    int32_t kind = 0;
    CZVTime time;
    std::string text;
};

// {kind, time, text} from the message's position on. false when a field is
// missing; the event is then not to be passed on.
bool ReadPlaybackEvent(CZVMSG& message, CPlaybackEvent* event);
