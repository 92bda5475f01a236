#include "vistrel/media/devices/devicecontrolmakers.h"

#include "vistrel/media/devices/mediabrowsectl.h"
#include "vistrel/media/devices/medialistpage.h"
#include "vistrel/media/devices/videoinfoctl.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/window/gateway.h"

CZVWindow* MakeVideoInfo(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    return server ? new CVideoInfoCtl(args.parent, args.rect, *server, args.desc.id, args.fontSize) : nullptr;
}

CZVWindow* MakeMediaBrowse(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    return server ? new CMediaBrowseCtl(args.parent, args.rect, *server, args.fontSize, args.desc.type, args.desc.id)
                  : nullptr;
}

CZVWindow* MakeMediaList(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    return server ? new CMediaListPage(args.parent, args.rect, *server, args.desc.id, args.fontSize, args.parameter)
                  : nullptr;
}

void RegisterDeviceControls() {
    static constexpr CControlMakerRow kControls[] = {
        {kVideoInfoType, MakeVideoInfo, kSkipCommon},
        {CMediaBrowseCtl::kZoneMenuType, MakeMediaBrowse, kSkipCommon},
        {CMediaBrowseCtl::kDeviceMenuType, MakeMediaBrowse, kSkipCommon},
        {kMediaListType, MakeMediaList, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
