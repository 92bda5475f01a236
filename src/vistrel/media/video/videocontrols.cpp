#include "vistrel/media/video/videocontrols.h"

#include "vistrel/media/video/pvideo.h"
#include "vistrel/media/video/videownd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kAttrAlign = 5;

}  // namespace

CZVWindow* MakeVideoWindow(CPageControlArgs& args) {
    if (!GetGatewayServer()) return nullptr;
    const int inset = CSetServer::GetBevelInset(args.bevelType);
    int w = args.rect.w - 2 * inset;
    int h = args.rect.h - 2 * inset;
    AlignVideoSize(&w, &h, static_cast<uint8_t>(args.desc.Attribute(kAttrAlign)));
    const CZVRect rect(args.rect.x, args.rect.y, w + 2 * inset, h + 2 * inset);
    const int input = args.parameter - 1;
    auto* window = new CVideoWnd(args.parent, rect, w, h, nullptr, inset, args.desc.id, input, 1);
    window->Start(args.desc.id, input);
    return window;
}

void RegisterVideoControls() {
    static constexpr CControlMakerRow kControls[] = {{kVideoWindowType, MakeVideoWindow, kSkipCommon}};
    RegisterControlMakers(kControls);
}
