#include "vistrel/media/tuner/tunerpages.h"

#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/tuner/stationbrowse.h"
#include "vistrel/media/tuner/tunerpage.h"
#include "widgets/window/gateway.h"

namespace {

// Both pages talk to the gateway; without a connection the factory shows the plain page.
CAudioSourcePage* MakeTunerPage(const CSourcePageArgs& a) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CTunerPage(a.parent, a.owner, a.rect, a.styleClass, *server, a.kindWord);
}

CAudioSourcePage* MakeStationBrowsePage(const CSourcePageArgs& a) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CStationBrowsePage(a.parent, a.owner, a.rect, a.styleClass, *server, a.kindWord);
}

}  // namespace

void RegisterTunerPages() {
    static const CSourcePageRow kRows[] = {
        {kTunerPlain, MakeTunerPage},
        {kTunerFineStep, MakeTunerPage},
        {kTunerArtistTrack, MakeTunerPage},
        {kStationBrowse, MakeStationBrowsePage},
        {kStationBrowseCompact, MakeStationBrowsePage},
    };
    RegisterSourcePages(kRows);
}
