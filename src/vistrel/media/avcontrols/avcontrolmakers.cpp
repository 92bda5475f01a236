#include "vistrel/media/avcontrols/avcontrolmakers.h"

#include "vistrel/media/avcontrols/levelselect.h"
#include "vistrel/media/avcontrols/xypadctl.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"

CZVWindow* MakeXYPad(CPageControlArgs& args) {
    return new CXYPadCtl(args.parent, args.desc.id, args.rect, args.textColor, args.bevelType, args.desc.type,
                         args.parameter);
}

CZVWindow* MakeLevelSelect(CPageControlArgs& args) { return new CLevelSelectCtl(args.parent, args.desc.id, args.rect); }

void RegisterAvControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CXYPadCtl::kPadType, MakeXYPad, kSkipCommon},
        {CXYPadCtl::kBarType, MakeXYPad, kSkipCommon},
        {kLevelSelectType, MakeLevelSelect, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
