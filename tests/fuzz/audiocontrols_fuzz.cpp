// Feeds arbitrary payloads to the readers of the audio controls' answers: a
// zone's volume and mute, the levels of an audio object, its mode names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "readerfuzz.h"
#include "vistrel/media/audio/audioreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t level = 0, muted = 0, value = 0;
    std::vector<std::string> names;
    const auto readSettings = [&](CZVMSG& m) { ReadZoneSettings(m, &level, &muted); };
    // The first object id of the input, so that the pairs and names behind it are read too.
    const auto object = [&](CZVMSG& m) {
        int32_t id = 0;
        m.ReadInt(id);
        return id;
    };
    const auto readControl = [&](CZVMSG& m) {
        const int32_t id = object(m);
        for (int32_t index : {0, 2, 7}) ReadControlValue(m, id, index, &value);
    };
    const auto readModes = [&](CZVMSG& m) {
        const int32_t id = object(m);
        int32_t group = 0;
        m.ReadInt(group);
        ReadModeNames(m, id, group, &names);
    };
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_AUDIO_GETSETTINGSA, readSettings},
                                    {ZVM_AUDIO_SETTINGSCHANGED, readSettings},
                                    {ZVM_AUDIO_GETCONTROLA, readControl},
                                    {ZVM_AUDIO_CONTROLCHANGED, readControl},
                                    {ZVM_AUDIO_GETMODESA, readModes},
                                });
}
