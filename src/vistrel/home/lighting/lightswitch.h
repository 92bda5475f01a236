#pragma once
// CLightSwitchCtl: one light switch or dimmer of the home, made by the
// control factory for the types 140-145, 177 and 178. The type picks the
// face (on/off and preset segments, a level bar or slider, raise and lower
// arrows, a toggle); every operation goes to the gateway as one switch
// value, and the gateway's value comes back in the same code.
#include <cstdint>
#include <vector>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CZV3DButton;
class CZVCheckButton;
class CZVLevelBar;

// The switch value code, both ways.
enum : int32_t {
    kSwitchOn = 0,
    kSwitchOff = 1,
    kSwitchFirstPreset = 100,
    kSwitchLastPreset = 131,
    kSwitchLower = 134,
    kSwitchRaise = 135,
    kSwitchStop = 136,
    kSwitchLevelBase = 150,  // 150..250: level 0..100
    kSwitchLevelTop = 250,
    kSwitchLevelNowBase = 251,  // 251..351: level 0..100, sent at once
};

// The level 0..100 a value shows.
int SwitchLevel(int32_t value);
// The set state of each of the count segments (off, presets, on) for a
// value; a preset that the switch does not have sets only the last one.
std::vector<int> SwitchSegments(int32_t value, int count);
// The segments of a face: 2, or for the preset types the parameter's
// presets (255 counting as none, at most 32) between off and on.
int SwitchSegmentCount(int type, int parameter);

class CLightSwitchCtl : public CZVWindow, public CSocketSink {
public:
    enum : int {
        kOnId = 0,
        kOffId = 1,
        kLowerRepeatId = 1000,
        kRaiseRepeatId = 1001,
        kArrowDoneId = 1002,
        kOnDoubleTapId = 1003,
        kToggleId = 1004,
        kRaiseId = 1005,
        kLowerId = 1006,
        kArrowReleaseId = 1007,
        kSliderId = 1008,
    };
    static constexpr int32_t kSendAtOnce = 0x10000000;
    static constexpr uint32_t kSliderDelay = 250;  // ms after the last move
    static constexpr int kButtonClass = 18;
    static constexpr int kMaxPresets = 32;

    CLightSwitchCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int type, int switchId, int parameter,
                    CZVString text, int surfaceFlag);
    ~CLightSwitchCtl() override;

    int OnChildCommand(int id, int count) override;
    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int32_t GetValue() const { return m_value; }
    int32_t GetOptions() const { return m_options; }
    int GetSegmentCount() const { return static_cast<int>(m_segments.size()); }
    CZVCheckButton* GetSegment(int index) const { return m_segments[static_cast<size_t>(index)]; }
    CZVLevelBar* GetLevelControl() const { return m_level; }
    CZVCheckButton* GetToggle() const { return m_toggle; }

private:
    void BuildFace();
    void BuildSegments(CZVRect area, int count);
    void BuildArrows(CZVRect* rest, int repeat, int raiseIcon, int lowerIcon);
    CZV3DButton* Dress(CZV3DButton* button);
    void ShowValue();
    void SendValue(int32_t value);
    void Register();
    int HandleCommand(int id, int count);
    void TintLevel(COLORREF tint);

    int m_type;
    int32_t m_switchId;
    int m_parameter;
    int m_surfaceFlag;
    int32_t m_value = 0;
    int32_t m_options = 0;
    COLORREF m_dimColour;
    CZVLevelBar* m_level = nullptr;
    std::vector<CZVCheckButton*> m_segments;
    CZVCheckButton* m_toggle = nullptr;
    int m_dirty = 0;
    uint32_t m_lastChange;
};
