// The audio zones' answers of any bytes: the zone list with its groups and
// sources, a zone's state with its path list, and the zones' icons.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/messages/mediamessages.h"
#include "readerfuzz.h"
#include "vistrel/media/audio/audioreaders.h"

namespace {

// As many zones as the Audio page has tabs.
constexpr int32_t kMaxZones = 100;

void ReadState(CZVMSG& message) {
    CZoneState state;
    if (!ReadZoneState(message, &state)) return;
    // Every entry that was read is there to be compared and asked for.
    state.path.IsSame(state.path);
    for (int i = 0; i < state.path.GetCount(); ++i) state.path.GetAt(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_AUDIO_GETSOURCESA,
                                     [](CZVMSG& message) {
                                         int32_t preview = 0;
                                         std::vector<std::unique_ptr<CAudioZone>> zones;
                                         ReadZoneList(message, kMaxZones, &preview, &zones);
                                         for (const auto& zone : zones)
                                             for (int i = 0; i < zone->GetSourceCount(); ++i) zone->GetSource(i);
                                     }},
                                    {ZVM_AUDIO_GETZONEA, ReadState},
                                    {ZVM_AUDIO_ZONECHANGED, ReadState},
                                    {ZVM_AUDIO_GETZONESA, [](CZVMSG& message) { ReadZoneIcons(message); }},
                                });
}
