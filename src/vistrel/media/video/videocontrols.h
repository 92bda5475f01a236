#pragma once
// The page control of a camera: a video window made from a definition of
// type 128 and started at once.
struct CPageControlArgs;
class CZVWindow;

inline constexpr int kVideoWindowType = 128;

CZVWindow* MakeVideoWindow(CPageControlArgs& args);
void RegisterVideoControls();
