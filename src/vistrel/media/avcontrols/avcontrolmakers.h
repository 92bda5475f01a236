#pragma once
// The page controls that steer an audio/video source: the XY pad and bar
// (162, 163) and the Low/Med/High selector (132).
struct CPageControlArgs;
class CZVWindow;

inline constexpr int kLevelSelectType = 132;

CZVWindow* MakeXYPad(CPageControlArgs& args);
CZVWindow* MakeLevelSelect(CPageControlArgs& args);
void RegisterAvControls();
