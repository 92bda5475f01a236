#pragma once
// CArrowPad: the four arrow buttons that steer a camera beside its video
// window. A press sends the window's camera move; while the gateway still
// owes the answer to a move, that direction's button is lit.
#include "vistrel/media/video/videownd.h"
#include "widgets/window/zvwindow.h"

class CArrowPad : public CZVWindow, public CVideoListener {
public:
    enum : int { kLeftId = 1000, kRightId = 1001, kUpId = 1002, kDownId = 1003 };
    static constexpr int kStyleClass = 5;
    static constexpr int kButtonClass = 17;

    CArrowPad(CZVWindow* parent, CVideoWnd* video, CZVRect rect);

    int OnCommand(int id) override;
    void OnCameraMoves(int left, int right, int up, int down) override;

    // Left, right, up, down.
    CZV3DButton* GetButton(int index) const { return m_buttons[index]; }

private:
    CVideoWnd* m_video;
    CZV3DButton* m_buttons[4] = {};
};
