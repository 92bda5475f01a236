#pragma once
// CVolumeWnd: a volume from 0 to 100 set with a two-arrow rocker. In the bar
// form the rocker is a gauge that fills with the highlight colour up to the
// value, under a line with the value; in the rocker form it is a plain
// rocker that can also pass each press and release of its arrows on, so
// that the gateway ramps the volume itself. An optional "Mute" button sits
// below. A tap moves the value by 1, holding an arrow ramps it faster and
// faster, the remote volume keys move it by 5; each change the user makes
// is reported to the parent as the control's command id.
#include <cstdint>
#include <vector>

#include "widgets/buttons/rockerswitch.h"

class CZVCheckButton;
class CZVLabel;

// How far a held arrow has moved the value t ms after its press (0 below
// 250 ms): a quadratic rise over the first two seconds, then 40 a second.
int VolumeRampStep(uint32_t t);

// The rocker of the bar form: its face is a gauge of the level.
class CVolumeBar : public CRockerSwitch {
public:
    CVolumeBar(CZVWindow* parent, CZVRect rect, int styleClass, int firstId, int lastId, int vertical);

    // Stores a different level and, with redraw, repaints off screen.
    void SetLevel(int level, int redraw);
    int GetLevel() const { return m_level; }
    int IsVertical() const { return m_isVertical; }
    void Paint(CZVDC* dc, int withBackground) override;

protected:
    void DecorateSegment(CRockerSwitchButton* segment, CDibDC* face, int pressed) override;

private:
    // One coverage byte a pixel of the whole face: the outline and the
    // margin band fully, the inside as the skins allow.
    void BuildMask();
    // Whether bar pixel (x, y) lies in the filled part of the gauge.
    int IsFilled(int x, int y) const;

    int m_level = -1;
    int m_isVertical;
    std::vector<uint8_t> m_mask;
};

// The bar form's panel: the value line over the gauge.
class CVolumeBarPanel : public CZVWindow {
public:
    CVolumeBarPanel(CZVWindow* parent, CZVRect rect, int styleClass, int compact);

    void SetLevel(int value, int muted, int redraw);
    CVolumeBar* GetBar() const { return m_bar; }
    CZVLabel* GetValueLabel() const { return m_valueLabel; }

private:
    CVolumeBar* m_bar = nullptr;
    CZVLabel* m_valueLabel = nullptr;
};

class CVolumeWnd : public CZVWindow {
public:
    enum : int {
        kUpPressed = 8500,
        kUpReleased = 8501,
        kDownPressed = 8502,
        kDownReleased = 8503,
        kMuteClicked = 8504,
    };
    // Remote key codes the shell passes to the focus window.
    enum : int { kRemoteVolumeUp = 1000, kRemoteVolumeDown = 1001 };
    static constexpr int kTimerMs = 20;
    static constexpr int kRemoteStep = 5;

    // A Mute strip height of 0 or less makes no Mute button.
    CVolumeWnd(CZVWindow* parent, CZVRect rect, int styleClass, int commandId, int gap, int muteHeight, int rockerForm,
               int compact);
    ~CVolumeWnd() override;

    // A value from outside; while an arrow is held it waits for the release.
    void SetValue(int value, int muted, int redraw);
    int GetValue() const { return m_value; }
    int IsMuted() const;
    void SetForwardCommands(int upPressed, int upReleased, int downPressed, int downReleased);

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnKeyDown(int code, int flags) override;
    void OnKeyUp(int code, int flags) override;
    void OnShow(int shown) override;

    int GetDirection() const { return m_direction; }
    CVolumeBarPanel* GetBarPanel() const { return m_barPanel; }
    CRockerSwitch* GetRocker() const { return m_rocker; }
    CZVCheckButton* GetMuteButton() const { return m_mute; }

private:
    void Press(int id);
    void Release();
    void Report();
    // The focus window becomes none, when it is this control.
    void ReleaseFocus();

    int m_commandId;
    int m_value = 0;
    int m_direction = -1;
    int m_pending = -1;
    int m_pendingMuted = 0;
    CVolumeBarPanel* m_barPanel = nullptr;
    CRockerSwitch* m_rocker = nullptr;
    uint32_t m_pressTick = 0;
    int m_rampStart = 0;
    int m_restart = 1;
    CZVCheckButton* m_mute = nullptr;
    int m_rockerForm;
    int m_forward[4] = {0, 0, 0, 0};
    int m_compact;
};
