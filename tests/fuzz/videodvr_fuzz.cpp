// Video and DVR messages of any bytes, each read as its reader reads it: the video sources, the
// recorders, a clip map (every cell it claims is asked for) and a playback event, whose time,
// when the whole event could be read, is turned into the DVR page's date and time texts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/mediamessages.h"
#include "readerfuzz.h"
#include "vistrel/media/dvr/clipmap.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "vistrel/media/dvr/dvrsources.h"
#include "vistrel/media/video/playbackevent.h"
#include "vistrel/media/video/videosources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_VIDEO_GETSOURCESA,
                                     [](CZVMSG& message) {
                                         std::vector<CVideoSourceEntry> sources;
                                         ReadVideoSources(message, &sources);
                                     }},
                                    {ZVM_DVR_GETSOURCESA,
                                     [](CZVMSG& message) {
                                         std::vector<CVideoSourceEntry> sources;
                                         ReadDvrSources(message, &sources);
                                     }},
                                    {ZVM_DVR_GETCLIPSA,
                                     [](CZVMSG& message) {
                                         CClipMap map;
                                         map.Read(message);
                                         for (int i = -1; i <= map.GetCellCount() && i < 4 * map.GetByteCount() + 8;
                                              ++i)
                                             map.Get(i);
                                     }},
                                    {ZVM_VIDEO_EVENT,
                                     [](CZVMSG& message) {
                                         CPlaybackEvent event;
                                         if (!ReadPlaybackEvent(message, &event)) return;
                                         FormatDvrDate(event.time);
                                         FormatDvrTime(event.time, event.kind);
                                     }},
                                });
}
