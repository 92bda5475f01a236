#include "vistrel/media/audio/audiovalues.h"

#include "vistrel/media/audio/auddata.h"
#include "widgets/window/gateway.h"

namespace {

struct AudioValues {
    const CAudioZone* zone = nullptr;
    int sourceId = -1;
    int kindWord = 0;
    int rememberedTab = 0;
};

AudioValues g_audio;

int CurrentZoneId() { return g_audio.zone ? g_audio.zone->GetId() : -1; }

}  // namespace

const CAudioZone* GetCurrentAudioZoneRecord() { return g_audio.zone; }

void SetCurrentAudioZone(const CAudioZone* zone) {
    g_audio.zone = zone;
    SetAudioZoneSource(CurrentZoneId);
}

int GetSelectedAudioItem() { return g_audio.sourceId; }
void SetSelectedAudioItem(int sourceId) { g_audio.sourceId = sourceId; }

int GetSourceKindWord() { return g_audio.kindWord; }
void SetSourceKindWord(int word) { g_audio.kindWord = word; }
int GetSourceType() { return g_audio.kindWord & 0xFFFF; }
int GetSourceFeatures() { return static_cast<int>(static_cast<uint32_t>(g_audio.kindWord) & kSourceFeatureMask); }

int GetRememberedAudioTab() { return g_audio.rememberedTab; }
void SetRememberedAudioTab(int position) { g_audio.rememberedTab = position; }

void ResetAudioValues() {
    g_audio = AudioValues{};
    SetAudioZoneSource(CurrentZoneId);
}
