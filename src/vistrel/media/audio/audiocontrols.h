#pragma once
// The audio controls of gateway pages: the speaker selector (type 130), the
// level control (151) and the mode selector (152).
struct CPageControlArgs;
class CZVWindow;

inline constexpr int kSpeakerControlType = 130;
inline constexpr int kVolumeControlType = 151;
inline constexpr int kModeControlType = 152;

CZVWindow* MakeSpeakerControl(CPageControlArgs& args);
CZVWindow* MakeVolumeControl(CPageControlArgs& args);
CZVWindow* MakeModeControl(CPageControlArgs& args);
void RegisterAudioControls();
