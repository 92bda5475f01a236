#include "vistrel/media/audio/audiocontrols.h"

#include <cstdint>

#include "vistrel/media/audio/amodewnd.h"
#include "vistrel/media/audio/speakerctl.h"
#include "vistrel/media/audio/volumectl.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"

namespace {

CZVServer* Server() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

int ParameterByte(const CPageControlArgs& args) { return static_cast<uint8_t>(args.desc.Attribute(kAttrParameter)); }

}  // namespace

CZVWindow* MakeSpeakerControl(CPageControlArgs& args) { return new CSpeakerCtl(args.parent, args.desc.id, args.rect); }

CZVWindow* MakeVolumeControl(CPageControlArgs& args) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CVolumeCtl(args.parent, args.rect, *server, ParameterByte(args), args.desc.text, args.fontSize,
                          args.textColor, args.faceColor, args.desc.id);
}

CZVWindow* MakeModeControl(CPageControlArgs& args) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CAModeWnd(args.parent, args.rect, *server, ParameterByte(args), args.desc.text, args.fontSize,
                         args.textColor, args.faceColor, args.desc.id);
}

void RegisterAudioControls() {
    static constexpr CControlMakerRow kControls[] = {
        {kSpeakerControlType, MakeSpeakerControl, kSkipCommon},
        {kVolumeControlType, MakeVolumeControl, kSkipCommon},
        {kModeControlType, MakeModeControl, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
