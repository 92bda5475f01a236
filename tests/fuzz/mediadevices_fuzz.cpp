// Media device answers of any bytes: the device's list to the list page, the
// source information to the information panel and the device menu, and a
// zone's menu (zone 1 is current) to the zone menu.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/devices/mediabrowsectl.h"
#include "vistrel/media/devices/medialistpage.h"
#include "vistrel/media/devices/videoinfoctl.h"
#include "vistrel/media/mediapages.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kZone = 1;
constexpr int kDevice = 4;

int CurrentZone() { return kZone; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CZVServer server(ZVVariant::Tablet);
    static const bool ready = [] {
        RegisterMediaPages();
        SetAudioZoneSource(CurrentZone);
        return true;
    }();
    (void)ready;
    // Hidden: what arrives is taken in, not drawn.
    CMediaListPage list(nullptr, CZVRect(0, 0, 200, 160), server, kDevice, 0, 4);
    CVideoInfoCtl info(nullptr, CZVRect(0, 0, 200, 80), server, kDevice, 0);
    CMediaBrowseCtl deviceMenu(nullptr, CZVRect(0, 0, 200, 100), server, 0, CMediaBrowseCtl::kDeviceMenuType, kDevice);
    CMediaBrowseCtl zoneMenu(nullptr, CZVRect(0, 0, 200, 100), server, 0, CMediaBrowseCtl::kZoneMenuType, 0);
    for (CZVWindow* window : {static_cast<CZVWindow*>(&list), static_cast<CZVWindow*>(&info),
                              static_cast<CZVWindow*>(&deviceMenu), static_cast<CZVWindow*>(&zoneMenu)})
        window->Show(0, 1);
    return fuzzing::FeedReaders(data, size,
                                {{ZVM_MEDIA_GETLISTA, [&](CZVMSG& m) { list.OnMessage(&m); }},
                                 {ZVM_MEDIA_GETSOURCEINFOA, [&](CZVMSG& m) { info.OnMessage(&m); }},
                                 {ZVM_MEDIA_GETSOURCEINFOA, [&](CZVMSG& m) { deviceMenu.OnMessage(&m); }},
                                 {ZVM_AUDIO_GETMENUA, [&](CZVMSG& m) { zoneMenu.OnMessage(&m); }}});
}
