// Tuner answers of any bytes: the first byte chooses the reader and its variant (a tuner status
// to a tuner page of each kind, a status to a station browse page, a favourites list to a full
// or compact favourites panel, a genre or station answer to a station list); the rest is the
// payload.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/tuner/stationbrowse.h"
#include "vistrel/media/tuner/stationfavorites.h"
#include "vistrel/media/tuner/tunergenre.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "vistrel/media/tuner/tunerpage.h"

namespace {

// The kind words of every tuner variant: AM/FM, the 0x40000 layout, the European rasters,
// sub-channels, and the channel radios with full and compact favourites.
constexpr int kTunerKinds[] = {3100, 3100 | 0x40000, 3104, 3106 | 0x20000};
constexpr int kChannelKinds[] = {3101, 3105 | 0x10000};
const CZVRect kPageRect(0, 0, 680, 600);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzzing::kMaxReaderInput) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const uint8_t choice = data[0];
    const int shown = (choice >> 7) & 1;
    const uint16_t statusId = (choice >> 6) & 1 ? ZVM_AUDIO_SOURCESTATUSCHANGED : ZVM_AUDIO_GETSOURCESTATUSA;
    switch (choice % 5) {
    case 0: {
        CTunerPage tuner(nullptr, nullptr, kPageRect, 0, server, kTunerKinds[(choice >> 3) % 4]);
        tuner.Show(shown, 1);
        tuner.OnSourceMessage(fuzzing::MessageOf(statusId, data + 1, size - 1).get(), 0);
        tuner.OnSourceMessage(fuzzing::MessageOf(ZVM_AUDIO_SOURCEINFOCHANGED, data + 1, size - 1).get(), 0);
        break;
    }
    case 1: {
        CStationBrowsePage browse(nullptr, nullptr, kPageRect, 0, server, kChannelKinds[(choice >> 3) & 1]);
        browse.Show(shown, 1);
        browse.OnSourceMessage(fuzzing::MessageOf(statusId, data + 1, size - 1).get(), 0);
        browse.OnSourceMessage(fuzzing::MessageOf(ZVM_AUDIO_SOURCEINFOCHANGED, data + 1, size - 1).get(), 0);
        break;
    }
    case 2: {
        // Row heights and the panel's height both come from the input: the grid stays within bounds.
        const int height = 40 + (choice >> 3) * 20;
        CStationFavoritesPage favorites(nullptr, CZVRect(0, 0, 300, height), server, CStationFavoritesPage::kTunerList,
                                        16, 34, 60, kChannelKinds[shown]);
        favorites.Show(shown, 1);
        favorites.OnMessage(fuzzing::MessageOf(ZVM_TUNER_GETFAVORITESA, data + 1, size - 1).get());
        break;
    }
    default: {
        CTunerStationList list(nullptr, CZVRect(0, 0, 300, 400), CTunerGenrePage::kGenreSelectedId, server, 18, 34);
        std::unique_ptr<CZVMSG> answer =
            fuzzing::MessageOf(choice % 5 == 3 ? ZVM_TUNER_GETGENRESA : ZVM_TUNER_GETSTATIONSA, data + 1, size - 1);
        ReadStationEntries(*answer, &list);
        list.SelectIndex(list.GetCount() - 1, 0);
        break;
    }
    }
    return 0;
}
