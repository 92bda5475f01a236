// Intercom messages of any bytes: the first byte chooses the station list's answer (to a list)
// or the audio start, audio stop or talk state (to a Talk/Listen control), the rest is the
// payload.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/intercom/intercomlist.h"
#include "vistrel/media/intercom/talklisten.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    constexpr uint16_t kIds[] = {ZVM_INTERCOM_GETSTATIONA, ZVM_INTERCOM_AUDIOSTART, ZVM_INTERCOM_AUDIOSTOP,
                                 ZVM_INTERCOM_TALKSTATE};
    const int choice = data[0] % 4;
    CZVMSG message(0, kIds[choice]);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    if (choice == 0) {
        CIntercomButton list(nullptr, CZVRect(0, 0, 300, 200), server, 0, 0, 0);
        list.Show(0, 1);
        list.OnMessage(&message);
        return 0;
    }
    CTalkListenWnd control(nullptr, nullptr, CZVRect(0, 0, 300, 40), server, data[0] >> 4, 0, 0, 0, 0, 0, "",
                           CTalkListenWnd::kControlType);
    control.Show(0, 1);
    control.OnMessage(&message);
    return 0;
}
