// TV answers of any bytes: the first byte chooses the channel answer (to a channel keypad), the
// groups answer (to the groups reader) or the favourites answer (to a favourites grid), the rest
// is the payload.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/tv/tvchannel.h"
#include "vistrel/media/tv/tvfavorites.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const int choice = data[0] % 3;
    const uint16_t id = choice == 0   ? ZVM_TV_GETCHANNELA
                        : choice == 1 ? ZVM_TV_GETCHANNELGROUPSA
                                      : ZVM_TV_GETFAVORITESA;
    CZVMSG message(0, id);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    switch (choice) {
    case 0: {
        CTvChannelCtl channel(nullptr, server, 1, data[0] >> 4, 0, 0, 0, CZVRect(0, 0, 200, 300), 131, 0);
        channel.OnMessage(&message);
        break;
    }
    case 1: {
        std::vector<CChannelGroup> groups;
        ReadChannelGroups(message, 101, &groups);
        break;
    }
    default: {
        // Without a gateway the control has no groups: its grid still takes any answer.
        CTvFavoritesCtl favorites(nullptr, server, CZVRect(0, 0, (data[0] >> 2) * 5, 200), 1, data[0] >> 6, 0);
        favorites.Show(0, 1);
        favorites.OnMessage(&message);
        break;
    }
    }
    return 0;
}
