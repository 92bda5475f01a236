#pragma once
// The page controls of media devices: the source information panel (161),
// the zone and device menus (168, 184) and the device's list (190).
struct CPageControlArgs;
class CZVWindow;

inline constexpr int kVideoInfoType = 161;
inline constexpr int kMediaListType = 190;

CZVWindow* MakeVideoInfo(CPageControlArgs& args);
CZVWindow* MakeMediaBrowse(CPageControlArgs& args);
CZVWindow* MakeMediaList(CPageControlArgs& args);
void RegisterDeviceControls();
