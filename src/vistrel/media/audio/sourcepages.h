#pragma once
// The source page factory of the audio zones page: the low half of a zone
// state's kind word picks the page that shows the source. The pages of
// later libraries (music, tuner, stations, soft keys) register rows; a type
// without a row, or whose page could not be made, gets the plain page.
#include <span>

#include "vistrel/media/audio/auddata.h"
#include "vistrel/shell/audiosourcepage.h"

class CAudioZonesPage;

// Page types (the kind word's low half) the factory itself knows.
enum : int {
    kSourceWaiting = 3002,
    kSourceSoftKeys = 3102,
    kSourceCustomLayout = 3103,
};
// The kind word of a zone with no source.
inline constexpr int kNoSourceKind = -1;

// What a source page is made from.
struct CSourcePageArgs {
    CZVWindow* parent;
    CAudioZonesPage* owner;
    CZVRect rect;
    int styleClass;
    int kindWord;
    int subId;  // the layout of a custom layout page
    const CAudDataList& path;
};

using SourcePageMaker = CAudioSourcePage* (*)(const CSourcePageArgs& args);

struct CSourcePageRow {
    int type;
    SourcePageMaker make;
};

// Adds rows; a row for a type already registered replaces it.
void RegisterSourcePages(std::span<const CSourcePageRow> rows);
// The page for the kind word; never null.
CAudioSourcePage* MakeSourcePage(const CSourcePageArgs& args);

// The kind word's low half: the page type.
inline int SourcePageType(int kindWord) { return kindWord & 0xFFFF; }
// Two kind words show the same page: equal, or both music (3000, 3001) with
// the same feature bits.
bool IsSameSourceType(int a, int b);
