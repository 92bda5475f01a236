#include "vistrel/home/house/housecontrols.h"

#include "vistrel/home/house/housemodecontrols.h"
#include "vistrel/home/house/remotestatuswnd.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"

namespace {

constexpr int kFirstModeButtons = 101;  // modes 0..2
constexpr int kLastFirstButtons = 103;
constexpr int kMoreModeButtons = 133;  // modes 3..9
constexpr int kLastModeButton = 139;
constexpr int kMoreModesBase = 130;
constexpr int kModeLineType = 104;
constexpr int kRemoteStatusType = 187;

CZVServer* GatewayOf() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

CZVWindow* MakeHouseModeButton(CPageControlArgs& a) {
    CZVServer* server = GatewayOf();
    if (!server) return nullptr;
    return new CHouseModeButton(a.parent, a.rect, *server, a.desc.text, a.fontSize, a.textColor, a.faceColor,
                                HouseModeOfType(a.desc.type));
}

CZVWindow* MakeHouseModeLine(CPageControlArgs& a) {
    CZVServer* server = GatewayOf();
    return server ? new CHouseModeWnd(a.parent, a.rect, *server) : nullptr;
}

CZVWindow* MakeRemoteStatus(CPageControlArgs& a) {
    CZVServer* server = GatewayOf();
    return server ? new CRemoteStatusWnd(a.parent, a.rect, *server) : nullptr;
}

constexpr int kButtonSteps = k3DButton | kFormat18;

}  // namespace

int HouseModeOfType(int type) {
    if (type >= kFirstModeButtons && type <= kLastFirstButtons) return type - kFirstModeButtons;
    if (type >= kMoreModeButtons && type <= kLastModeButton) return type - kMoreModesBase;
    return -1;
}

void RegisterHouseControls() {
    static constexpr CControlMakerRow kControls[] = {
        {101, MakeHouseModeButton, kButtonSteps},        {102, MakeHouseModeButton, kButtonSteps},
        {103, MakeHouseModeButton, kButtonSteps},        {133, MakeHouseModeButton, kButtonSteps},
        {134, MakeHouseModeButton, kButtonSteps},        {135, MakeHouseModeButton, kButtonSteps},
        {136, MakeHouseModeButton, kButtonSteps},        {137, MakeHouseModeButton, kButtonSteps},
        {138, MakeHouseModeButton, kButtonSteps},        {139, MakeHouseModeButton, kButtonSteps},
        {kModeLineType, MakeHouseModeLine, kSmoothText}, {kRemoteStatusType, MakeRemoteStatus, 0},
    };
    RegisterControlMakers(kControls);
}
