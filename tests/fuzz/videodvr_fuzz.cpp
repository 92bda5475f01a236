// Video and DVR messages of any bytes, each read as its reader reads it: the video sources, the
// recorders, a clip map (every cell it claims is asked for) and a playback event, whose time is
// turned into the DVR page's date and time texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/zvtime.h"
#include "readerfuzz.h"
#include "vistrel/media/dvr/clipmap.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "vistrel/media/dvr/dvrsources.h"
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
                                         int32_t kind = 0;
                                         CZVTime time;
                                         std::string text;
                                         message.ReadInt(kind) && message.ReadTime(time) && message.ReadString(text);
                                         FormatDvrDate(time);
                                         FormatDvrTime(time, kind);
                                     }},
                                });
}
