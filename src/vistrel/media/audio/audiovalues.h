#pragma once
// The audio values the whole program shares, whichever page is open: the
// zone the tablet is bound to, the source chosen there, the kind word of the
// source page shown and the zone tab to reopen. They outlive the audio zones
// page (the current zone does not: the page clears it). The toolkit's
// GetCurrentAudioZone reads the zone kept here.
#include <cstdint>

class CAudioZone;

// The zone record, or null when there is none; the page that owns the
// record clears it before the record goes.
const CAudioZone* GetCurrentAudioZoneRecord();
void SetCurrentAudioZone(const CAudioZone* zone);

// The source chosen in the current zone; -1 for none.
int GetSelectedAudioItem();
void SetSelectedAudioItem(int sourceId);

// The kind word: its low half is the source page type, its high half the
// library feature bits.
inline constexpr uint32_t kSourceFeatureMask = 0xFFFF0000u;
int GetSourceKindWord();
void SetSourceKindWord(int word);
int GetSourceType();
int GetSourceFeatures();

// The position of the zone tab to reopen, counted among the tabs.
int GetRememberedAudioTab();
void SetRememberedAudioTab(int position);

// Back to the values at start (for tests).
void ResetAudioValues();
