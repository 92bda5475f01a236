// Source answers of any bytes: the first byte chooses a soft-key answer (to the soft-key
// page), an internet radio status (to its Now Playing page, shown or hidden) or a favourite
// answer (to a station page of the radio directory); the rest is the payload.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/radio/radionowplaying.h"
#include "vistrel/media/radio/radiostationlistpage.h"
#include "vistrel/media/softkeys/softkeypage.h"
#include "widgets/text/zvlabel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    const int choice = data[0] % 4;
    const uint16_t id = choice == 0   ? ZVM_AUDIO_GETSOFTKEYSA
                        : choice == 1 ? ZVM_AUDIO_GETSOURCESTATUSA
                        : choice == 2 ? ZVM_AUDIO_SOURCESTATUSCHANGED
                                      : ZVM_RADIO_GETFAVORITEA;
    CZVMSG message(0, id);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    if (choice == 3) {
        static CZVServer server(ZVVariant::Tablet);
        CRadioStationListPage stations(nullptr, CZVRect(0, 0, 560, 420), server, nullptr, nullptr, data[0] & 4, 0);
        stations.OnMessage(&message);
    } else if (choice == 0) {
        CSoftKeyPage keys(nullptr, nullptr, CZVRect(0, 0, 560, 420), 0, "Box");
        keys.Show(0, 1);
        keys.OnSourceMessage(&message, 0);
    } else {
        CRadioNowPlayingPage radio(nullptr, nullptr, CZVRect(0, 0, 560, 420), 0);
        radio.Show(choice == 1, 1);
        radio.OnSourceMessage(&message, 0);
        g_bSmoothLabels = 0;
    }
    return 0;
}
